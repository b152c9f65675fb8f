#pragma once

#include "platform/report/reportdocument.h"
#include "platform/report/reportlayout.h"

class TDMNS;
class TDMSklad;

// What the heading of a printed warehouse receipt shows, as the delivery window has it.
struct ReceiptHeading
{
    QString document, documentDate;       // supplier document number and date
    QString receiptNumber, receivedDate;  // the receipt's own number and date
    QString supplier;                     // printed by the A4 layout
};

// The warehouse receipt of the delivery lines being entered (SmpDostavka): a title with the receipt
// number and the supplier document, one row per line, the totals per currency. Printed even with
// no lines.
class TQRSklRazpBase : public Report::Layout
{
public:
    void fill(const ReceiptHeading& heading);
    Report::Document build() const;

protected:
    struct Column
    {
        const char* heading;
        const char* field;  // nullptr: the running line number
        double width;
    };
    TQRSklRazpBase(const QString& name, TDMSklad& sklad, Report::Paper paper, Report::Orientation orientation);
    // The title and the supplier document lines at y; below them the column headings.
    void heading(Report::Band& header, double y, const QList<Column>& columns);
    // The totals in BGN, USD and EUR under the total column, from y; the bottom of the last.
    double totals(Report::Band& summary, double y);
    void footer(Report::Band& summary, double y);

    TDMSklad& sklad_;
    double totalX_ = 0, totalWidth_ = 0;
};

// A5 landscape; the supplier is the one chosen in the delivery window.
class TQRSklRazp : public TQRSklRazpBase
{
public:
    TQRSklRazp(TDMNS& dm, TDMSklad& sklad);
};

// A4 portrait, with the company, discount and VAT columns and the signature lines.
class TQRSklRazpA4 : public TQRSklRazpBase
{
public:
    TQRSklRazpA4(TDMNS& dm, TDMSklad& sklad);
};
