#pragma once

#include "sales/invoiceprint.h"
#include "sales/qrfaktura.h"
#include "sales/qrstokrazpiska.h"

class SmpDataset;
class TDMNS;
class TFormProdagba;
struct PrintCounts;

// The layouts of the sale being entered, filled from the sale entry window and its lines.
class SalePrint
{
public:
    SalePrint(const TFormProdagba& form, TDMNS& dm, SmpDataset& lines);

    // The new-sale layout of a document type; nullptr when the type has none here.
    TQRInvoice* layoutFor(int documentType);
    // The stock receipt-like layout of a document type; nullptr for the invoice types.
    TQRStockDocument* stockLayoutFor(int documentType) { return stock_.layoutFor(documentType); }
    // What the window shows, as the layouts print it.
    InvoicePrint::Heading heading() const;
    StockDocHeading stockHeading() const;

    // "Изглед": the layout of the window's document type in the print preview.
    void preview();
    // Prints the counts of the window's document type; false when they could not be printed.
    bool print(const PrintCounts& counts);

private:
    TQRInvoice* filled();

    const TFormProdagba& form_;
    TDMNS& dm_;
    SmpDataset& lines_;
    TQRFaktura fakt_;
    TQRFakturaOprostena oprost_;
    TQRpFaktDorvex dorvex_;
    TQRKreditnoIzv kreditno_;
    StockLayouts stock_;
};
