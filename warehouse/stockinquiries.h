#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <QVector>

#include <optional>

class SQLConnection;

// What the stock inquiries compute beside their lists: typed date bounds for the procedures,
// the minimum and maximum rule, the lines of one stored warehouse
// receipt and the packaging account of a counterparty.
namespace StockInquiries {

// A period of days; a bound left empty is open.
struct Period
{
    std::optional<QDate> from, to;
};
// The bounds as the procedures take them: the start of the first day and the last moment of the
// last one (so a "to" day is included whole); null for an open bound.
QVariant periodStart(const Period& period);
QVariant periodEnd(const Period& period);

// Which date a movement or receipts inquiry picks its lines by; the other date stays open.
enum class DateBasis { Received, Document, All };
struct DateBounds
{
    QVariant receivedFrom, receivedTo, documentFrom, documentTo;
};
DateBounds dateBounds(DateBasis basis, const Period& received, const Period& document);

// A material's stock against its minimum and maximum quantities.
enum class Level { Within, BelowMinimum, AboveMaximum };
Level level(double onHand, double minimum, double maximum);
// The choice "Всички материали", "Под критичния минимум", "Над критичния максимум" (0, 1, 2).
bool listedUnder(int choice, double onHand, double minimum, double maximum);

// One line of a stored supplier document, as its warehouse receipt prints it.
struct ReceiptLine
{
    int material = 0;
    double quantity = 0;
    double discountPct = 0, vatPct = 0;
    double priceLv = 0, priceUsd = 0, priceEur = 0;
};
struct Receipt
{
    QString supplierName;
    int receiptNumber = 0;
    QDate received;
    QVector<ReceiptLine> lines;
};
// The lines of the supplier's document number of that date, in the order they were stored;
// the heading from its last line. No lines when there is no such document.
Receipt storedReceipt(SQLConnection& db, int supplier, const QString& document, const QDate& documentDate);

// Packaging exchanged with a counterparty, per kind.
struct PackagingBalance
{
    QString kind;
    int received = 0, returned = 0, held = 0;
};
QVector<PackagingBalance> packaging(SQLConnection& db, int counterparty);
// Why a kind of packaging cannot be deleted: a counterparty's account holds rows of it, which would
// lose their kind. Empty when it can.
QString packagingKindDeleteRefusal(SQLConnection& db, const QVariant& kind);

} // namespace StockInquiries
