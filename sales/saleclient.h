#pragma once

#include "sales/salerecording.h"

#include <QVector>

class SQLConnection;

// What the sale entry window reads of its recipient: the balance he still owes and his orders.
namespace Sales {

struct Balance
{
    double lv = 0, usd = 0, eur = 0;
};

// What the client owes over all dates, per currency, as the payments monitoring counts it (see the
// balance rules in schema/README.md); the currencies are never converted into each other.
Balance outstandingBalance(SQLConnection& db, int counterparty);

// The positions of the lines for which what the client ordered of the material is less than what
// he has been sold of it so far plus the line's quantity.
QVector<int> linesBeyondOrders(SQLConnection& db, int counterparty, const QVector<SaleLine>& lines);

} // namespace Sales
