#pragma once

#include <QDate>
#include <QString>

class SQLConnection;

// Client orders and their product lines, written through the order procedures; each call commits
// on its own. Server refusals and faults propagate as DbError.
namespace Orders {

struct NewOrder
{
    QDate date, deadline;
    int client = 0;
    int person = 0;  // the client's responsible person (NMOL), 0 for none
};
// Creates the order; its number, the highest so far.
int addOrder(SQLConnection& db, const NewOrder& order);

// Replaces the date, deadline and free text of the order; its client stays.
void updateOrder(SQLConnection& db, int order, const QDate& date, const QDate& deadline, const QString& info);

// Why the order cannot be deleted; empty when it can.
QString deleteRefusal(SQLConnection& db, int order);
void deleteOrder(SQLConnection& db, int order);

struct Line
{
    int order = 0;
    int client = 0;     // the order's client
    int product = 0;    // NTIP_IZDELIE
    double quantity = 0;  // negative reduces what was ordered
    QDate materialsDue;
    int noticeDays = 0;
    int supplier = 0;   // of the materials, 0 for none
    QString description;
};
// Adds the product to the order, or adds the quantity to the order's line of that product.
void saveLine(SQLConnection& db, const Line& line);
void deleteLine(SQLConnection& db, int order, int product);

} // namespace Orders
