#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

class SQLConnection;

// Transfers into, between and out of warehouse objects. A transfer is written whole in one
// transaction: every line reaches its target and leaves its source, or nothing is stored. Server
// faults (short stock, a line changed meanwhile) propagate as DbError.
namespace ObjectTransfers {

enum class Mode {
    FromWarehouse = 0,      // company warehouse -> object
    BetweenObjects = 1,     // object -> another object
    ToSourceWarehouse = 2,  // object line back to the company warehouse it came from
    ToCompanyWarehouse = 3, // directly delivered object line booked into its material's warehouse
};

struct Line
{
    // The source line the user picked: the delivery line drawn from first (mode 0), the object line
    // drawn from first (mode 1) or given back (modes 2 and 3); 0 in modes 0 and 1 draws oldest first.
    int sourceLine = 0;
    int material = 0;
    double quantity = 0;
    double price = 0;
};

struct Transfer
{
    Mode mode = Mode::FromWarehouse;
    int target = 0;           // target object (modes 0 and 1)
    int sourceWarehouse = 0;  // mode 0
    int sourceObject = 0;     // modes 1 to 3
    QString targetName, sourceObjectName;
    QDate date;               // receipt date
    QDate today;              // received date of goods booked into a company warehouse (mode 3)
    int mol = 0;              // the company's person who receives; 0 for none
    int reservedNumber = 0;   // a receipt number already printed (ObjectReceipts::reserve); 0 for none
    QVector<Line> lines;
};

struct Saved
{
    int receiptNumber = 0;  // modes 0 and 1
    QVector<int> keys;      // the new object lines (modes 0, 1) or warehouse lines (mode 3)
    QStringList documents;  // mode 3: the document numbers the lines were booked under
};

QString emptyMessage();
QString saveQuestion();
// Why the transfer may not be stored; empty when it may. The window shows it and keeps its lines.
QString saveRefusal(const Transfer& transfer);
// Stores the transfer in one transaction; the receipt number (modes 0 and 1: the reserved one while
// no line holds it) and the return document numbers (mode 3) are taken inside it. The source lines
// are locked as they are drawn from; when another workstation took a number or held a source line
// meanwhile, the whole transfer is written again with the stock as that one left it.
Saved save(SQLConnection& db, const Transfer& transfer);

// Whether the object line holds goods a sale brought back, which are never booked into a warehouse.
bool returnedSale(SQLConnection& db, int objectLine);
QString returnedSaleRefusal();

// The warehouse receipt number of a delivery line, shown as the source of a line drawn from it.
int deliveryReceipt(SQLConnection& db, int deliveryLine);

// Quantity on hand of a material in the company warehouses, and in one object.
double warehouseOnHand(SQLConnection& db, int material);
double objectOnHand(SQLConnection& db, int material, int object);

// The document number of goods of object line `line` booked from `object` into a company
// warehouse: the object in two characters, "_" and the line ("07_345"). A repeated booking of the
// line gets "/2", "/3", ...; a line key too long for the ten characters is written in base 36.
// Empty when no form fits.
QString returnDocument(int object, int line, int repeat);

} // namespace ObjectTransfers
