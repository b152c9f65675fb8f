#pragma once

#include "platform/report/reportdocument.h"
#include "platform/report/reportlayout.h"
#include "sales/invoiceprint.h"
#include "sales/layoutblocks.h"

#include <array>
#include <memory>

class SmpDataset;
class TDMNS;

// What the stock receipt-like layouts print besides their lines, as texts.
struct StockDocHeading
{
    InvoicePrint::Recipient recipient;
    QString title;  // stock receipt or consignment protocol; empty keeps the last one
    QString number, date, time, order;
    QString companyMol, compiledBy, placeOfDeal, receivedBy, transport, remarks;
    QString value, discount, total, words;     // BGN
    QString valueUsd, valueEur, discountUsd, discountEur, totalUsd, totalEur;
    std::array<QString, 3> oldDebt, byDocument, paid, remaining;  // BGN, USD, EUR
    QString requester, issuer;                 // requisition
    QString gross, tare, net;                  // dispatch note
    QString materialName, quantity;            // recorded dispatch note: the browser's current line
};

// The stock receipt and consignment protocol, the retail-chain stock receipt, the receipt in BGN,
// USD and EUR, the A5 receipt, the dispatch note and the requisition. Each exists for the sale
// being entered (lines from SmpProdagbaTempNew) and, ending in "Elementi", for a recorded sale
// (lines from the browser's SmpRealizaciaProdagba).
class TQRStockDocument : public Report::Layout
{
public:
    enum class Kind { StockReceipt, Chain, ThreeCurrency, A5, DispatchNote, Requisition };

    void fill(const StockDocHeading& heading);
    Report::Document build() const { return Report::build(*this); }
    // copies page sets; false when they could not be printed.
    bool print(int copies);

    Kind kind() const { return kind_; }
    bool recorded() const { return recorded_; }

    static const QString kStockReceiptTitle;
    static const QString kConsignmentTitle;

protected:
    TQRStockDocument(const QString& name, Kind kind, bool recorded, TDMNS& dm, SmpDataset& lines);

private:
    using Column = LayoutBlocks::Column;
    QList<Column> columns() const;
    void header();
    void dispatchHeader(Report::Band& band);
    void detail();
    void summary();
    void signatures(Report::Band& band, double y);

    Kind kind_;
    bool recorded_;
    TDMNS& dm_;
    SmpDataset& lines_;
};

class TQRStokRaspiska : public TQRStockDocument
{
public:
    TQRStokRaspiska(TDMNS& dm, SmpDataset& lines) : TQRStockDocument(QStringLiteral("TQRStokRaspiska"), Kind::StockReceipt, false, dm, lines) {}
};
class TQRStokRazpElementi : public TQRStockDocument
{
public:
    TQRStokRazpElementi(TDMNS& dm, SmpDataset& lines) : TQRStockDocument(QStringLiteral("TQRStokRazpElementi"), Kind::StockReceipt, true, dm, lines) {}
};
class TQRpStRazpDorvex : public TQRStockDocument
{
public:
    TQRpStRazpDorvex(TDMNS& dm, SmpDataset& lines) : TQRStockDocument(QStringLiteral("TQRpStRazpDorvex"), Kind::Chain, false, dm, lines) {}
};
class TQRpStRazpDorvexElementi : public TQRStockDocument
{
public:
    TQRpStRazpDorvexElementi(TDMNS& dm, SmpDataset& lines) : TQRStockDocument(QStringLiteral("TQRpStRazpDorvexElementi"), Kind::Chain, true, dm, lines) {}
};
class TQRStokRazpLvUsdEur : public TQRStockDocument
{
public:
    TQRStokRazpLvUsdEur(TDMNS& dm, SmpDataset& lines) : TQRStockDocument(QStringLiteral("TQRStokRazpLvUsdEur"), Kind::ThreeCurrency, false, dm, lines) {}
};
class TQRStokRazpLvUsdEurElementi : public TQRStockDocument
{
public:
    TQRStokRazpLvUsdEurElementi(TDMNS& dm, SmpDataset& lines) : TQRStockDocument(QStringLiteral("TQRStokRazpLvUsdEurElementi"), Kind::ThreeCurrency, true, dm, lines) {}
};
class TQRStokRazpA5 : public TQRStockDocument
{
public:
    TQRStokRazpA5(TDMNS& dm, SmpDataset& lines) : TQRStockDocument(QStringLiteral("TQRStokRazpA5"), Kind::A5, false, dm, lines) {}
};
class TQRStokRazpElementiA5 : public TQRStockDocument
{
public:
    TQRStokRazpElementiA5(TDMNS& dm, SmpDataset& lines) : TQRStockDocument(QStringLiteral("TQRStokRazpElementiA5"), Kind::A5, true, dm, lines) {}
};
class TQREkspBel : public TQRStockDocument
{
public:
    TQREkspBel(TDMNS& dm, SmpDataset& lines) : TQRStockDocument(QStringLiteral("TQREkspBel"), Kind::DispatchNote, false, dm, lines) {}
};
class TQREkspBelElementi : public TQRStockDocument
{
public:
    TQREkspBelElementi(TDMNS& dm, SmpDataset& lines) : TQRStockDocument(QStringLiteral("TQREkspBelElementi"), Kind::DispatchNote, true, dm, lines) {}
};
class TQRProdIskane : public TQRStockDocument
{
public:
    TQRProdIskane(TDMNS& dm, SmpDataset& lines) : TQRStockDocument(QStringLiteral("TQRProdIskane"), Kind::Requisition, false, dm, lines) {}
};
class TQRProdIskaneElementi : public TQRStockDocument
{
public:
    TQRProdIskaneElementi(TDMNS& dm, SmpDataset& lines) : TQRStockDocument(QStringLiteral("TQRProdIskaneElementi"), Kind::Requisition, true, dm, lines) {}
};

// The layouts of both kinds of sale, one of each, and which one prints a document type.
class StockLayouts
{
public:
    StockLayouts(TDMNS& dm, SmpDataset& lines, bool recorded);
    // nullptr for a type without such a layout (the invoice types).
    TQRStockDocument* layoutFor(int documentType);

private:
    std::unique_ptr<TQRStockDocument> receipt_, chain_, currencies_, a5_, dispatch_, requisition_;
};
