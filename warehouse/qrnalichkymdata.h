#pragma once

#include "platform/report/reportlayout.h"

#include <initializer_list>

class SmpDataset;
class TDMNS;
class TDMSklSpravki;

// The stock list at a date (A4 portrait), quantities only: per material its running number, name,
// unit and quantity. Printed even when empty.
class TQRNalichKymData : public Report::Layout
{
public:
    TQRNalichKymData(TDMNS& dm, TDMSklSpravki& spravki);
    // The date the heading names, as the picker shows it.
    void setDate(const QString& date);

protected:
    struct Column
    {
        const char* title;
        const char* field;  // nullptr: the running number
        double width;       // mm
        bool right;         // numbers
    };
    // The heading and one detail row over the stock-at-date list with these columns.
    TQRNalichKymData(const QString& name, TDMNS& dm, TDMSklSpravki& spravki, std::initializer_list<Column> columns);

    SmpDataset& stock_;
};

// The same list with the average price, the value at it and its currency, and the totals of the
// printed values per currency.
class TQRNalichKymDataSrCena : public TQRNalichKymData
{
public:
    TQRNalichKymDataSrCena(TDMNS& dm, TDMSklSpravki& spravki);
};
