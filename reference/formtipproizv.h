#pragma once

#include "reference/formlookupeditor.h"

class TDMNS;

// The editor of one workshop row.
class TFormTipProizv : public TFormLookupEditor
{
    Q_OBJECT
public:
    explicit TFormTipProizv(TDMNS& dm);
};
