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

// The amounts to pay of all the client's sales less all his payments, per currency; the currencies
// are never converted into each other. A sale's amount to pay follows the totals of its lines: line
// values after the line discount, less the document discount, with the sale's VAT; invoice types
// carry BGN only.
Balance outstandingBalance(SQLConnection& db, int counterparty);

// The positions of the lines for which what the client ordered of the material is less than what
// he has been sold of it so far plus the line's quantity.
QVector<int> linesBeyondOrders(SQLConnection& db, int counterparty, const QVector<SaleLine>& lines);

} // namespace Sales
