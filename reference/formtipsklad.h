#pragma once

#include "reference/formlookupeditor.h"

class TDMNS;

// The editor of one row of a warehouse.
class TFormTipSklad : public TFormLookupEditor
{
    Q_OBJECT
public:
    explicit TFormTipSklad(TDMNS& dm);
};
