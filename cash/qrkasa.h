#pragma once

#include "platform/report/reportdocument.h"
#include "platform/report/reportlayout.h"

class TDMNS;

// The printed cash book over the cash book list as it is loaded: its period (QRLbDateOt,
// QRLbDateDo), the opening balance, one line per order, the totals and the closing balance.
// Printed for an empty period as well.
class TQRKasaBase : public Report::Layout
{
public:
    void setPeriod(const QString& from, const QString& to);
    Report::Document build() const;

protected:
    struct Column
    {
        const char* heading;
        const char* field;  // nullptr: the running line number
        double width;
    };
    // totals: under which field each total goes, and the total's field.
    TQRKasaBase(const QString& name, TDMNS& dm, const QString& title, const QList<Column>& columns,
                const QList<std::pair<QString, QString>>& totals, const QList<std::pair<QString, QString>>& closing);
    TDMNS& dm_;
};

class TQRKasa : public TQRKasaBase
{
public:
    explicit TQRKasa(TDMNS& dm);
};

class TQRKasaValuta : public TQRKasaBase
{
public:
    explicit TQRKasaValuta(TDMNS& dm);
    // "К А С О В А К Н И Г А В" followed by the currency's code and description.
    void setCurrency(const QString& name, const QString& description);
};
