#pragma once

#include <QString>

#include <optional>

class SQLConnection;

// One line of a warehouse object (SKL_OBEKTI_MATERIALI) by its key, read fresh: what the objects
// window's delete and correction act on. Server faults propagate as DbError.
namespace ObjectLines {

struct Line
{
    int key = 0;
    int object = 0;
    int material = 0;
    QString materialName;
    int sourceWarehouse = 0;  // 0 when it did not come from a company warehouse
    int sourceObject = 0;     // 0 when it did not come from another object
    double received = 0;
    double dispatched = 0, sold = 0;  // what has left it, by kind
    double outflow = 0;               // everything that has left it
    bool hasOutflow = false;          // any movement recorded against it, even of 0
    double onHand() const { return received - outflow; }
    bool directDelivery() const { return sourceWarehouse == 0 && sourceObject == 0; }
};

std::optional<Line> read(SQLConnection& db, int key);

// The sold quantity of a row as the list shows it blocks a delete when, rounded half to even,
// it is negative (a returned sale).
QString deleteRefusal(double shownSold);
QString deleteQuestion();
// Removes the line when nothing has left it, else leaves it holding only what has left it; what
// it gave up goes back to where it came from. One transaction.
void remove(SQLConnection& db, const Line& line);

// Why the line is no direct delivery that may be corrected; empty when it may.
QString correctionRefusal(const std::optional<Line>& line);

} // namespace ObjectLines
