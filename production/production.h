#pragma once

#include <QDate>
#include <QString>
#include <QVector>

#include <optional>

class SQLConnection;

// Requisitions draw materials from the warehouses into a workshop; batches consume what the
// workshop holds and store their product as a delivery line. Each is written in one transaction,
// numbered inside it; server refusals and faults propagate as DbError.
namespace Production {

// The material's stock on hand in all warehouses.
double warehouseStockOf(SQLConnection& db, int material);

// One line of a series recipe as the pairs are counted from it.
struct PairLine
{
    bool counted = false;      // its quantity is a number of pairs
    bool receivesSum = false;  // it takes the number of pairs as its quantity
    double quantity = 0;
};
// The pairs of a series: the whole quantities of the counted lines after the first (the first
// line is the series itself and never counted).
int seriesPairs(const QVector<PairLine>& lines);
// The line that takes the number of pairs as its quantity; -1 when there is none.
int pairsLine(const QVector<PairLine>& lines);

// The requisition whose line of the material reached the workshop last; empty when none did.
QString latestRequisition(SQLConnection& db, int workshop, int material);

// "yyyymmdd": the day part of requisition and batch numbers.
QString dateStamp(const QDate& day);

// The document mark a batch's product is stored under: the workshop alias, followed from
// 02.02.2005 on by the batch's daily sequence. Saving and deleting a batch both use this rule.
QString storeMark(const QString& workshopAlias, const QDate& produced, const QString& batchNumber);

struct RequisitionLine
{
    int warehouse = 0;
    int material = 0;
    QString materialName;
    double quantity = 0;
};

// The product a recipe requisition is for; a free requisition has none.
struct RequestedProduct
{
    int product = 0;  // TIP_IZDELIE.NTIP_IZDELIE
    int count = 0;    // number of recipes
    int pairs = 0;
};

struct Requisition
{
    QDate date;
    int workshop = 0;
    QVector<RequisitionLine> lines;
    std::optional<RequestedProduct> product;
};

// Why the requisition cannot be written as it is; empty when it can. Stock is checked by the server.
QString requisitionRefusal(const Requisition& requisition);
// Writes every line and, for a recipe requisition, its product, under a new number of the day
// `today`; all or nothing. Returns the number.
QString saveRequisition(SQLConnection& db, const Requisition& requisition, const QDate& today);

struct BatchMaterial
{
    int material = 0;
    double quantity = 0;   // consumed by the whole batch
    double unitPrice = 0;  // the workshop's unit price
};

struct Batch
{
    int workshop = 0;
    int productMaterial = 0;  // the product as a material (NMATERIAL_IZDELIE)
    bool series = false;
    int count = 0;  // products, or series for a series product
    int pairs = 0;  // pairs of a series product
    QDate produced;
    QVector<BatchMaterial> materials;

    double cost() const;
    // Stored quantity: the pairs of a series product, else the count.
    int storedQuantity() const { return series ? pairs : count; }
    // Cost of one stored unit: the batch cost over the stored quantity.
    double unitPrice() const;
};

// The most series one batch records: the batch and its delivery line hold the count as a smallint.
constexpr int kMaxSeries = 32767;
// The most products of one batch the dialog offers.
constexpr int kMaxProducts = 100000;

QString batchRefusal(const Batch& batch);

struct SavedBatch
{
    QString number;
    QString mark;
    int stockLine = 0;  // SKLAD.AUTONUM of the product
};

// Stores what the batch consumed, each material at the price of the requisition lines it took (oldest
// first), the product as a delivery line at the sum of those over the stored quantity, and the batch,
// under a new batch number of the day `today`; all or nothing.
SavedBatch saveBatch(SQLConnection& db, const Batch& batch, const QDate& today);

// Why the stored batch cannot be deleted (part of it drawn, sold or dispatched); empty when it can.
QString batchDeleteRefusal(SQLConnection& db, const QString& batchNumber);
// Removes the batch, its product line and what it consumed, after the same checks.
void deleteBatch(SQLConnection& db, const QString& batchNumber);

// The unit price a batch pays for `quantity` of the workshop's material: the unused parts of its
// requisition lines taken oldest first.
double workshopPrice(SQLConnection& db, int workshop, int material, double quantity);

// Gives the workshop's material back to the warehouse through its newest requisition line that has
// an unused part: the whole line when none of it was used, else the line is reduced to what was used.
// Returns false when no line of the material has anything left.
bool returnToWarehouse(SQLConnection& db, int workshop, int material);

} // namespace Production
