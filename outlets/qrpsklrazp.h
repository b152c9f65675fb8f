#pragma once

#include "platform/report/reportlayout.h"

class TDMNS;
class TDMSklObekti;

// The warehouse receipt of a transfer list (SmpSklObTemp), A4 portrait, printed even when empty.
// A receipt into an object shows its number; a return shows only its date.
class TQRpSklRazp : public Report::Layout
{
public:
    TQRpSklRazp(TDMNS& dm, TDMSklObekti& obekti);
    // The headings of a receipt into an object (true) or of a return (false).
    void setIntoObject(bool into);

private:
    bool into_ = true;
};
