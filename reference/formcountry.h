#pragma once

#include "reference/formlookupeditor.h"

class TDMNS;

// The editor of one row of a country.
class TFormCountry : public TFormLookupEditor
{
    Q_OBJECT
public:
    explicit TFormCountry(TDMNS& dm);
};
