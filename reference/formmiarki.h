#pragma once

#include "reference/formlookupeditor.h"

class TDMNS;

// The editor of one row of a unit of measure.
class TFormMiarki : public TFormLookupEditor
{
    Q_OBJECT
public:
    explicit TFormMiarki(TDMNS& dm);
};
