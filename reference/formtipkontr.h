#pragma once

#include "reference/formlookupeditor.h"

class TDMNS;

// The editor of one row of a counterparty type.
class TFormTipKontr : public TFormLookupEditor
{
    Q_OBJECT
public:
    explicit TFormTipKontr(TDMNS& dm);
};
