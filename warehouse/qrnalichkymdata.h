#pragma once

#include "platform/report/reportlayout.h"

class TDMNS;
class TDMSklSpravki;

// The stock list at a date (A4 portrait): per material its quantity, average price, value at it
// and currency, and the totals per currency. Printed even when empty.
class TQRNalichKymDataSrCena : public Report::Layout
{
public:
    TQRNalichKymDataSrCena(TDMNS& dm, TDMSklSpravki& spravki);
    // The date the heading names, as the picker shows it.
    void setDate(const QString& date) { setCaption(QStringLiteral("QRLbDate"), date); }
};
