#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <QVariantMap>

class SQLConnection;

// Payments of clients and to suppliers entered after their sale or delivery, and the bounds and
// balance rules of the payment inquiries. Server faults propagate as DbError.
namespace Payments {

// The texts by which the inquiries mark the payments entered here: the only rows that are
// corrected or deleted here (a payment taken with a sale or a delivery belongs to that document).
QString clientPaymentText();
QString supplierPaymentText();

struct Payment
{
    int counterparty = 0;
    QDate date;
    double lv = 0, usd = 0, eur = 0;
    QString note;
    int purchaser = 0;  // suppliers only: the staff number, 0 none
};

// Why the payment is not stored; empty when it is.
QString refusal(const Payment& p);

// One transaction each; add returns the payment's AUTONUM. Correcting or deleting a payment that is
// not one entered here (or no longer exists) is refused by the server and changes nothing.
int addClientPayment(SQLConnection& db, const Payment& p);
void correctClientPayment(SQLConnection& db, int autonum, const Payment& p);
void deleteClientPayment(SQLConnection& db, int autonum);
int addSupplierPayment(SQLConnection& db, const Payment& p);
void correctSupplierPayment(SQLConnection& db, int autonum, const Payment& p);
void deleteSupplierPayment(SQLConnection& db, int autonum);

// An inclusive range of keys or dates; a null end leaves that side open, so "all" covers every key.
struct Range
{
    QVariant from, to;
    static Range all() { return {}; }
    static Range only(int key) { return {key, key}; }
};

// The parameters of the client, supplier and purchaser lists.
QVariantMap clientParams(const Range& types, const Range& clients, const Range& dates);
QVariantMap supplierParams(const Range& suppliers, const Range& dates);
QVariantMap purchaserParams(const Range& purchasers, const Range& dates);

struct Amounts
{
    double lv = 0, usd = 0, eur = 0;
};

// What is left: due - paid (for suppliers due - claims - paid), an empty amount counting 0, so a
// negative payment raises the remainder.
double remainder(const QVariant& due, const QVariant& paid);
double remainder(const QVariant& due, const QVariant& claims, const QVariant& paid);

// A client's balance over all dates: what is due less what is paid, per currency.
Amounts clientBalance(SQLConnection& db, int client);

} // namespace Payments
