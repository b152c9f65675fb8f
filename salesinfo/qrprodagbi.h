#pragma once

#include "platform/report/reportlayout.h"

#include <QDate>

class TDMNS;
class TDMNsSpravki;

// The period reports of the sales inquiry, headed on every page by the company name and the period.

// The inquiry's lines as the list stands (its bounds and filter): name, client, date, quantity, unit
// price and total in the line's currency; the totals per currency at the end. A4 landscape.
class TQRProdagbi : public Report::Layout
{
public:
    TQRProdagbi(TDMNS& dm, TDMNsSpravki& spravki) : TQRProdagbi(QStringLiteral("TQRProdagbi"), dm, spravki, true) {}
    void setPeriod(const QDate& from, const QDate& to);

protected:
    TQRProdagbi(const QString& name, TDMNS& dm, TDMNsSpravki& spravki, bool clients);
};

// The same without the client column, A4 portrait.
class TQRProdagbiStol : public TQRProdagbi
{
public:
    TQRProdagbiStol(TDMNS& dm, TDMNsSpravki& spravki) : TQRProdagbi(QStringLiteral("TQRProdagbiStol"), dm, spravki, false) {}
};

// The quantity sold of each article in the period, largest first, with an empty column for notes.
// A4 portrait.
class TQRProdagbiArtik : public Report::Layout
{
public:
    TQRProdagbiArtik(TDMNS& dm, TDMNsSpravki& spravki);
    void setPeriod(const QDate& from, const QDate& to);
};
