#pragma once

#include "sales/invoiceprint.h"
#include "sales/qrfaktura.h"

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
    // What the window shows, as the layouts print it.
    InvoicePrint::Heading heading() const;

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
};
