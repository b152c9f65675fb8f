#pragma once

#include <QDate>
#include <QString>

#include <optional>

class SQLConnection;

// One line of a warehouse object (SKL_OBEKTI_MATERIALI) by its key, read fresh: what the objects
// window's delete and corrections act on. Server faults propagate as DbError.
namespace ObjectLines {

struct Line
{
    int key = 0;
    int object = 0;
    int material = 0;
    QString materialName;
    int sourceWarehouse = 0;  // 0 when it did not come from a company warehouse
    int sourceObject = 0;     // 0 when it did not come from another object
    bool returnedSale = false;  // goods a sale brought back into the object
    double received = 0;
    double dispatched = 0, sold = 0;  // what has left it, by kind
    double outflow = 0;               // everything that has left it
    bool hasOutflow = false;          // any movement recorded against it, even of 0
    double priceLv = 0, priceUsd = 0, priceEur = 0;
    QDate receivedOn;
    // What the correction window shows beside the numbers.
    QString objectName, sourceName, document, molName;
    double onHand() const { return received - outflow; }
    bool transferred() const { return sourceWarehouse > 0 || sourceObject > 0; }
    bool directDelivery() const { return !transferred() && !returnedSale; }
};

std::optional<Line> read(SQLConnection& db, int key);

// The sold quantity of a row as the list shows it blocks a delete when, rounded half to even,
// it is negative (a returned sale).
QString deleteRefusal(double shownSold);
// The line as read fresh: a line of a sale's returned goods is never deleted.
QString deleteRefusal(const Line& line);
QString deleteQuestion();
// Removes the line when nothing has left it, else leaves it holding only what has left it; what
// it gave up goes back to where it came from. One transaction.
void remove(SQLConnection& db, const Line& line);

// Why the line is no direct delivery that may be corrected; empty when it may.
QString correctionRefusal(const std::optional<Line>& line);

struct Correction
{
    int key = 0;
    double quantity = 0;
    double priceLv = 0, priceUsd = 0, priceEur = 0;
};
// Why the corrected quantity may not be stored: below what has left the line, compared in
// hundredths; a transferred line above what it received; a sale's returned goods changed at all.
QString quantityRefusal(const Line& line, double quantity);
// Rewrites quantity and prices. What a transferred line is lowered by goes back to its source.
void correct(SQLConnection& db, const Correction& correction);

} // namespace ObjectLines
