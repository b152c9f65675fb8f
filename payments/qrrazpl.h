#pragma once

#include "platform/report/reportdocument.h"
#include "platform/report/reportlayout.h"

#include <QDate>

class TDMNS;
class TDMRazpl;
class SmpDataset;

// The payment printouts, A4 portrait, headed by the company's address block.

// The statement of one client's (or supplier's) rows and payments over the period the window shows.
class TQRRazplStatement : public Report::Layout
{
public:
    // The period line is printed only for a defined period.
    void setPeriod(bool defined, const QDate& from, const QDate& to);
    // Dated today by the program's clock.
    Report::Document build();

protected:
    struct Columns
    {
        const char* quantity;
        const char* due;  // pattern with %1 for LV, USD, EUR
        const char* dueSum;
    };
    TQRRazplStatement(const QString& name, TDMNS& dm, SmpDataset& rows, const QString& title, const Columns& columns);
};

class TQRRazplProdagbi : public TQRRazplStatement
{
public:
    TQRRazplProdagbi(TDMNS& dm, TDMRazpl& razpl);
};

class TQRRazplDostavki : public TQRRazplStatement
{
public:
    TQRRazplDostavki(TDMNS& dm, TDMRazpl& razpl);
};

// The acknowledgement of a client payment: the balance before it, the payment and the balance after,
// per currency; a currency not paid now prints no payment and no new balance.
class TQRRazplProdObobst : public Report::Layout
{
public:
    explicit TQRRazplProdObobst(TDMNS& dm);
    struct Amounts
    {
        double lv = 0, usd = 0, eur = 0;
    };
    struct Filled
    {
        QString client;
        QDate date;
        Amounts before, paid, after;
    };
    void fill(const Filled& f);
    // Dated today by the program's clock.
    Report::Document build();
};

// The clients' balances, as the balance list is filtered, with their Latin names.
class TQRSaldaKlienti : public Report::Layout
{
public:
    TQRSaldaKlienti(TDMNS& dm, TDMRazpl& razpl);
    // Dated today by the program's clock.
    Report::Document build();
};
