#pragma once

#include "sales/documentprintdialog.h"
#include "sales/invoiceprint.h"
#include "sales/qrfaktura.h"
#include "sales/qrstokrazpiska.h"

#include <functional>
#include <memory>

class TDMNS;

// The print dialog of a recorded sale: it prints the sale's own layout as the sale was recorded,
// and writes nothing back to it.
class TFormRealizaciaPrint : public DocumentPrintDialog
{
    Q_OBJECT
public:
    explicit TFormRealizaciaPrint(TDMNS& dm, QWidget* parent = nullptr);

    // Shows the dialog for the recorded sale and prints what it asks for.
    void open(const QString& saleNumber);
    // Shows the recorded sale in the print preview.
    void preview(const QString& saleNumber);

    // The sales documents browser's lines, the texts of its boxes and its current document type:
    // the stock receipt-like documents of a recorded sale are printed from them.
    void setStockSource(SmpDataset& lines, std::function<StockDocHeading()> heading, std::function<int()> documentType);
    TQRStockDocument* stockLayoutFor(int documentType) { return stock_ ? stock_->layoutFor(documentType) : nullptr; }

private:
    // The recorded sale's heading with its lines opened; a message when there is no such sale.
    std::optional<InvoicePrint::Heading> load(const QString& saleNumber);
    // The recorded-sale layout of a document type; nullptr when the type has none here.
    TQRInvoice* layoutFor(int documentType);

    InvoicePrint::RecordedSale recorded_;
    TQRFaktElementi fakt_;
    TQRFaktOprostElementi oprost_;
    TQRpFaktDorvexElementi dorvex_;
    TDMNS& dm_;
    std::unique_ptr<StockLayouts> stock_;
    std::function<StockDocHeading()> stockHeading_;
    std::function<int()> currentType_;
    // The stock layout of the browser's current type, filled; nullptr when it has none.
    TQRStockDocument* filledStockLayout();
};
