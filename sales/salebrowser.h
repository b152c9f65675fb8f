#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <optional>

class SQLConnection;
class SmpDataset;

// The recorded sale as the sales documents browser corrects it: the header, the line prices, the
// removal of the whole sale, and the proposals and texts its boxes show. Server faults propagate
// as DbError; a multi-call write is stored whole or not at all.
namespace SaleBrowser {

// How the browser selects its lines: by the text invoice number, the integer one, or the sale.
enum class Selection { InvoiceText = 0, InvoiceInt = 1, Sale = 2 };

// The invoice number box: a text number as stored ("0" when empty); an integer one with the
// symbol and leading zeros to nine digits (0 and numbers of eight digits or more unchanged).
QString invoiceNumberText(int numbering, const QVariant& text, const QVariant& integer, const QString& symbol);

// A key the user chose, else the one whose name is the recorded name, else the recorded key: a
// correction never empties the payment type or the compiling employee of a sale.
int keyOrRecorded(std::optional<int> chosen, std::optional<int> byName, int recorded);
std::optional<int> paymentTypeByName(SQLConnection& db, const QString& name);
std::optional<int> employeeByName(SQLConnection& db, const QString& name);

struct HeaderCorrection
{
    QString saleNumber;
    int paymentType = 0, compiledBy = 0, documentType = 0;
    int stockReceipt = 0, consignment = 0, dispatchNote = 0;
    QString order, transport, remarks;
    QDate goodsReceived, taxEvent;
    QString clientName, clientEgn, clientLk;
};

// One sale line as the grid holds it, identified by its key.
struct PriceCorrection
{
    int key = 0;
    QString saleNumber;
    QVariant invoiceText;  // NFAKTURA, null when the sale has none
    int invoiceInt = 0;
    QDate date;
    int material = 0;
    double priceLv = 0, priceUsd = 0, priceEur = 0, discountPct = 0;
};

// The integer of a number box; an empty box counts as 0, anything but digits is refused.
std::optional<int> numberBox(const QString& text);

// The header once for the sale, then every line's invoice numbers, date, prices and discount, in
// one transaction.
void saveCorrections(SQLConnection& db, const HeaderCorrection& header, const QVector<PriceCorrection>& lines);

// Why the lines cannot be corrected as one sale; empty when they all belong to one.
QString lineCorrectionRefusal(const QStringList& saleNumbersOfLines);

// Removes a sale in one transaction: the returned-goods deliveries of its lines, its lines with
// their stock movements (the goods are on hand again), payments, natural person, returned goods
// and consignment settlements. Nothing is removed when any step fails.
void deleteSale(SQLConnection& db, const QString& saleNumber);

// "Нов № факт.": the next text invoice number of the office (1 or 2; nullopt for another office),
// or the next integer number.
std::optional<QString> proposeInvoiceNumber(SQLConnection& db, int numbering, int office);

// The dispatch note's net weight: gross less tare, as a plain decimal number.
QString netWeight(const QString& gross, const QString& tare);

// The browser's computed values: a line's consignment quantity still out and the words of the two
// totals; the payments' sums copied to their fields; what is still to pay of the amount due.
void attachValues(SmpDataset& lines, SmpDataset& due, SmpDataset& payments);

} // namespace SaleBrowser
