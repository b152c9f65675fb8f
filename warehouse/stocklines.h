#pragma once

#include <QDate>
#include <QString>

#include <optional>

class SQLConnection;

// One delivery line of the stock, by its key SKLAD.AUTONUM: what the correction, delete and
// defective-goods windows read and write. Server faults propagate as DbError.
namespace StockLines {

struct Line
{
    int key = 0;
    int material = 0;
    int supplier = 0;
    QString document;
    QDate documentDate;
    QDate received;
    double quantity = 0;
    double priceLv = 0, priceUsd = 0, priceEur = 0;
    double discountPct = 0, vatPct = 0, commission = 0;
    int purchaser = 0;
    std::optional<QDate> expiry;
    // What has left the line, by kind, and what remains.
    double defective = 0, drawn = 0, sold = 0, dispatched = 0;
    double outflow() const { return defective + drawn + sold + dispatched; }
    // The line holds the product of a production batch.
    bool fromBatch = false;
    double onHand() const { return quantity - outflow(); }
    // What the windows show beside the numbers.
    QString warehouseName, materialName, supplierName, purchaserName;
};

// The line with its outflows; nullopt when there is no such line.
std::optional<Line> read(SQLConnection& db, int key);

// The company alias (FIRMA.PSEVDONIM_FIRMA) that production's document numbers start with.
QString companyAlias(SQLConnection& db);
// A line stored by production: the product of a batch, or a line whose document number without
// the last three characters is the company alias (never with an empty alias).
bool ownProduction(const Line& line, const QString& companyAlias);
// Why the line cannot be deleted; empty when it can.
QString deleteRefusal(const Line& line, const QString& companyAlias);
void remove(SQLConnection& db, int key);

struct Correction
{
    int key = 0;
    double quantity = 0;
    double priceLv = 0, priceUsd = 0, priceEur = 0;
    double discountPct = 0, vatPct = 0, commission = 0;
    int purchaser = 0;
    bool writeExpiry = false;  // with false the stored expiry date stays
    std::optional<QDate> expiry;
};
// Why the quantity cannot be corrected: below what has left the line, compared in hundredths.
QString correctionRefusal(const Line& line, double quantity);
void correct(SQLConnection& db, const Correction& correction);
// The three delivery prices of a line, nothing else.
void setPrices(SQLConnection& db, int key, double priceLv, double priceUsd, double priceEur);

struct DefectClaim
{
    int line = 0;  // the delivery line the quantity leaves
    QDate date;
    double quantity = 0;
    double priceLv = 0, priceUsd = 0, priceEur = 0;
    int counterparty = 0;  // whom the claim is made against
    QString claimDocument;
    std::optional<QDate> claimDocumentDate;
};
// The single message of a claim that may not be recorded (on hand of the line read fresh).
QString defectRefusal(const Line& line, const DefectClaim& claim);
QString defectRefusalMessage();
int recordDefect(SQLConnection& db, const DefectClaim& claim);
void removeDefect(SQLConnection& db, int claimKey);

} // namespace StockLines
