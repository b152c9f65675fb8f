#pragma once

#include "sales/saletotals.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <optional>
#include <stdexcept>

class SQLConnection;

// Recording and correcting a sale: its lines, payment, natural person, returned goods and stock
// write-offs, written whole in one transaction with the sale number taken inside it. Server
// faults propagate as DbError; a sale the program refuses raises SaleRefused before anything is
// written.
namespace Sales {

inline constexpr int NaturalPersonType = 7;  // counterparty type of a sale to a natural person

struct NaturalPerson
{
    QString name, address, egn;
};

// One line of the sale as composed. A negative quantity takes goods back (returned goods).
struct SaleLine
{
    int material = 0;
    double quantity = 0;
    double priceLv = 0, priceUsd = 0, priceEur = 0;
    double discountPct = 0;    // OTST_IZDELIE
    int warehouseObject = 0;   // NSKL_OBEKT: 0 a company warehouse, 1 to 10000 a warehouse object
    int objectReceipt = 0;     // NSKL_RAZP of the warehouse-object line
    int stockLine = 0;         // the stock line picked (SKLAD or SKL_OBEKTI_MATERIALI AUTONUM); 0 none
    QString articleRecipient, articleSupplier, barcode;
    bool specialPrice = false;  // FLAG_SPEC_CENA: the BGN price is the recipient's special price

    bool returned() const { return quantity < 0; }
};

// The values the totals take from the lines.
QVector<SaleTotals::LineInput> totalsInput(const QVector<SaleLine>& lines);

// The header of a new sale as the sale entry window holds it. Number boxes are the typed texts.
struct SaleHeader
{
    int documentType = 0;
    int counterpartyType = 1;
    NaturalPerson person;        // counterparty type 7
    int counterparty = 0;        // the recipient's NKONTRAGENT, 0 when none
    QString recipientName;       // what the recipient box shows
    int branch = 0;
    int paymentType = 0;         // NVIDPLASTANE
    int invoiceNumbering = 0;    // FIRMA.NFAKT_TXT_INT: 0 text, 1 integer (the box starts with the symbol)
    QString invoiceNumber, stockReceiptNumber, consignmentNumber, dispatchNoteNumber, order;
    // FIRMA.NFAKT_SIMVOL when the caller knows it: an integer invoice number must then begin with it
    // (with no symbol the whole text is the number). Unknown: the first character is taken as the symbol.
    std::optional<QString> invoiceSymbol;
    double vatPct = 0;
    double companyDiscountPct = 0, recipientDiscountPct = 0;
    QDate date;
    int companyMol = 0, compiledBy = 0, office = 0, vatBasis = 0;
    QString remarks;
    QDate goodsReceived, taxEvent;
    QString clientName, clientEgn, clientLk, transport;
    bool payAtOnce = true;       // "Веднага": the amounts to pay; "Разср.": the paid-now amounts
    double paidNowLv = 0, paidNowUsd = 0, paidNowEur = 0;

    bool naturalPerson() const { return counterpartyType == NaturalPersonType; }
};

// The document numbers a sale stores, by its type. A document without an invoice number stores
// a null NFAKTURA.
struct DocumentNumbers
{
    QVariant invoiceText;   // NFAKTURA
    int invoiceInt = 0;     // NFAKT_INT
    int stockReceipt = 0;   // NSTOK_RAZP
    int consignment = 0;    // NKONSIGNACIA
    int dispatchNote = 0;   // NEKSP_BEL (dispatch note or requisition)
};

class SaleRefused : public std::runtime_error
{
public:
    explicit SaleRefused(QStringList messages);
    const QStringList& messages() const { return messages_; }

private:
    QStringList messages_;
};

// Every reason the sale cannot be recorded, each its own message; empty when it can. The number
// required is the one of the type's own series.
QStringList refusals(const SaleHeader& header, const QVector<SaleLine>& lines);
// The numbers of a header that has no refusals.
DocumentNumbers documentNumbers(const SaleHeader& header);

struct Recorded
{
    QString saleNumber;
    QVector<int> lineKeys;  // PRODAGBI.AUTONUM, in line order
};

// Records a new sale. Two workstations recording at once get different sale numbers; a document
// number of the type's series already stored by another sale is refused. For each material of
// orderMaterials that is a product, what the client was sold of it beyond his orders becomes a
// line of one client order made in the same transaction.
Recorded recordSale(SQLConnection& db, const SaleHeader& header, const QVector<SaleLine>& lines,
                    const QVector<int>& orderMaterials = {});

// A recorded sale as a correction starts from: the header values its totals use, and its lines,
// each with the stock line it drew from first (a correction draws from it again).
struct RecordedSale
{
    QString saleNumber;
    int documentType = 0;
    int counterparty = 0;
    double vatPct = 0, discountPct = 0;
    QVector<SaleLine> lines;
};
// nullopt when no sale has the number.
std::optional<RecordedSale> loadSale(SQLConnection& db, const QString& saleNumber);

// The payment of a correction.
struct CorrectionPayment
{
    bool atOnce = true;
    double paidNowLv = 0, paidNowUsd = 0, paidNowEur = 0;
};

// Replaces the lines and the payment of a recorded sale, keeping its number, document numbers,
// header and natural person: the old write-offs, then the lines its returned goods came back as,
// go (refused when goods have left those lines since), and the new ones are written, all in one
// transaction.
Recorded correctSale(SQLConnection& db, const QString& saleNumber, const QVector<SaleLine>& lines,
                     const CorrectionPayment& payment);

// Stock on hand of a material in the warehouses, and in one warehouse object.
double warehouseStockOf(SQLConnection& db, int material);
double warehouseObjectStockOf(SQLConnection& db, int warehouseObject, int material);
// The recipient's special price of a material; 0 when it has none.
double specialPrice(SQLConnection& db, int counterparty, int material);

// "Vyrn" and the daily sequence of the sale number: the document of returned-goods deliveries.
QString returnDocumentNumber(const QString& saleNumber);

} // namespace Sales
