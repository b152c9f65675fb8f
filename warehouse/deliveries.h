#pragma once

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

class SQLConnection;

// Deliveries into the company warehouses: receipt numbers, the checks settled before a delivery
// is written, and the write itself. Server faults propagate as DbError.
namespace Deliveries {

// One line of a delivery as the user entered it. Prices are per unit before discount and VAT.
struct Line
{
    int material = 0;
    QString materialName;
    double quantity = 0;
    double priceLv = 0, priceUsd = 0, priceEur = 0;
    double discountPct = 0, vatPct = 0;
    std::optional<QDate> expiry;

    bool storable() const { return material > 0 && quantity > 0; }
    // Only a BGN price may become the material's calculation price: a line priced in USD or EUR
    // alone would otherwise offer 0.
    bool offersCalculationPrice() const { return storable() && priceLv > 0; }
    // Unit price after discount and VAT, and the line total, per currency.
    static double net(double price, double discountPct, double vatPct);
    double totalLv() const { return quantity * net(priceLv, discountPct, vatPct); }
    double totalUsd() const { return quantity * net(priceUsd, discountPct, vatPct); }
    double totalEur() const { return quantity * net(priceEur, discountPct, vatPct); }
};

struct Header
{
    int supplier = 0;
    int supplierMol = 0;
    QString document;       // supplier document number
    QDate documentDate;
    QDate received;
    int purchaser = 0;      // staff number, 0 without purchaser
    int receiptNumber = 0;  // warehouse receipt number of the document date's year; 0 for none
    double commission = 0;
    bool payAtOnce = true;  // "Веднага": the paid amounts are the totals of the stored lines
    double paidLv = 0, paidUsd = 0, paidEur = 0;  // "Разсроч.": what is paid now
};

// A calculation price the user has agreed to, written with the delivery.
struct CalculationPrice
{
    int material = 0;
    double price = 0;
};

struct Saved
{
    QVector<int> lineKeys;  // SKLAD.AUTONUM of the stored lines, in order
    int paymentKey = 0;     // DOSTAVKI_PLASTANE.AUTONUM; 0 when no line was stored
    int receiptNumber = 0;  // the receipt number the lines were stored under
};

// The calculation prices agreed while a delivery is entered, by material; written with it.
using AgreedPrices = QMap<int, double>;

// The receipt number proposed for a year: one above the highest used in it, 1 for the first.
int proposeReceiptNumber(SQLConnection& db, int year);
// Whether the number is already a receipt of that year.
bool receiptNumberTaken(SQLConnection& db, int year, int number);
QString receiptNumberTakenMessage(int year, int number);

// Whether a stored delivery line has this material, supplier, document number and date.
bool documentStored(SQLConnection& db, int material, int supplier, const QString& document, const QDate& date);
QString duplicateDocumentMessage();

// The stored calculation price of a material (MATERIALI.ED_CENA), 0 when empty.
double storedCalculationPrice(SQLConnection& db, int material);
// Whether price x may replace stored price c without asking: c/1.2 < x < c*1.2.
bool calculationPriceWithinRange(double stored, double price);
QString calculationPriceQuestion(const QString& materialName, double price, double stored);
void setCalculationPrice(SQLConnection& db, int material, double price);
// Whether the company's VAT number is the installation's one whose calculation prices are never
// checked (an empty number exempts no company).
bool calculationPriceExempt(SQLConnection& db, const QString& exemptVatNumber);
// Offers price x as the material's calculation price, against the price in force (one agreed
// earlier in this delivery, else the stored one): within 20 % it is taken silently, otherwise
// only when ask(question) agrees. Nothing is written; the agreed prices go with the delivery.
void offerCalculationPrice(SQLConnection& db, AgreedPrices& agreed, int material, const QString& materialName,
                           double price, const std::function<bool(const QString&)>& ask);
QVector<CalculationPrice> toCalculationPrices(const AgreedPrices& agreed);

// A typed expiry date more than ten days in the past: the user is warned, the date stays.
bool expiryLongPast(const QDate& expiry, const QDate& today);
QString expiryLongPastMessage(const QString& materialName, const QDate& expiry);
QString skippedLineMessage(const QString& materialName);

// Writes the storable lines (with their expiry dates), the receipt number, the agreed calculation
// prices and the supplier payment in one transaction: all of it or none. The payment is written
// only when a line was stored.
Saved save(SQLConnection& db, const Header& header, const QVector<Line>& lines,
           const QVector<CalculationPrice>& calculationPrices);
// save(), and when another workstation has stored the receipt number since it was proposed, the
// same save again under the next free number of the year (Saved::receiptNumber tells which).
Saved saveRenumbering(SQLConnection& db, Header header, const QVector<Line>& lines,
                      const QVector<CalculationPrice>& calculationPrices);

// Deliveries straight into a warehouse object (SKL_OBEKTI_MATERIALI).
bool objectDocumentStored(SQLConnection& db, int material, int supplier, const QString& document, const QDate& date);
QString objectDuplicateDocumentMessage();
// Stores the storable lines into the object under one new receipt number, numbered 1, 2, ... in
// order, in one transaction; the receipt number, 0 when no line was storable.
// The number is taken in that transaction; when another workstation took it meanwhile, the store
// is made again under the next one.
int saveToWarehouseObject(SQLConnection& db, const Header& header, int warehouseObject, const QVector<Line>& lines);
// One attempt of saveToWarehouseObject.
int storeInWarehouseObject(SQLConnection& db, const Header& header, int warehouseObject, const QVector<Line>& lines);

} // namespace Deliveries
