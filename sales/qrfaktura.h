#pragma once

#include "platform/report/reportdocument.h"
#include "platform/report/reportlayout.h"
#include "platform/report/reportpainter.h"
#include "sales/invoiceprint.h"
#include "sales/layoutblocks.h"

class SmpDataset;
class TDMNS;

// The invoice layouts: A4 portrait, framed bands with ruled line columns, the supplier block from
// the company record. Each exists for the sale being entered (lines from SmpProdagbaTempNew) and,
// ending in "Elementi", for a recorded sale (lines from SmpRealizaciaProdagba); the texts that do
// not come from a dataset are filled from an InvoicePrint::Heading.
class TQRInvoice : public Report::Layout
{
public:
    enum class Kind { Tax, Simplified, Chain, CreditNote };

    void fill(const InvoicePrint::Heading& heading);
    Report::Document build() const { return Report::build(*this); }
    // originals page sets marked "ОРИГИНАЛ", then copies unmarked; the mark is restored afterwards.
    // A layout without the mark prints originals + copies alike.
    Report::Document buildCopies(int originals, int copies);
    // Prints those page sets on the print destination; false when they could not be printed.
    bool print(int originals, int copies) { return Report::printDocument(buildCopies(originals, copies)); }

    Kind kind() const { return kind_; }
    bool recorded() const { return recorded_; }

protected:
    TQRInvoice(const QString& name, Kind kind, bool recorded, TDMNS& dm, SmpDataset& lines);

private:
    using Column = LayoutBlocks::Column;
    QList<Column> columns() const;
    void recipientAndSupplier(Report::Band& band, double y);
    double title(Report::Band& band, double y);
    void detail();
    void summary();
    void footer();
    Report::Item& label(Report::Band& band, const QString& name, const QRectF& rect, const QString& text = {},
                        double size = 9, bool bold = false);

    Kind kind_;
    bool recorded_;
    TDMNS& dm_;
    SmpDataset& lines_;
};

class TQRFaktura : public TQRInvoice
{
public:
    TQRFaktura(TDMNS& dm, SmpDataset& lines) : TQRInvoice(QStringLiteral("TQRFaktura"), Kind::Tax, false, dm, lines) {}
};
class TQRFaktElementi : public TQRInvoice
{
public:
    TQRFaktElementi(TDMNS& dm, SmpDataset& lines)
        : TQRInvoice(QStringLiteral("TQRFaktElementi"), Kind::Tax, true, dm, lines) {}
};
class TQRFakturaOprostena : public TQRInvoice
{
public:
    TQRFakturaOprostena(TDMNS& dm, SmpDataset& lines)
        : TQRInvoice(QStringLiteral("TQRFakturaOprostena"), Kind::Simplified, false, dm, lines) {}
};
class TQRFaktOprostElementi : public TQRInvoice
{
public:
    TQRFaktOprostElementi(TDMNS& dm, SmpDataset& lines)
        : TQRInvoice(QStringLiteral("TQRFaktOprostElementi"), Kind::Simplified, true, dm, lines) {}
};
class TQRpFaktDorvex : public TQRInvoice
{
public:
    TQRpFaktDorvex(TDMNS& dm, SmpDataset& lines)
        : TQRInvoice(QStringLiteral("TQRpFaktDorvex"), Kind::Chain, false, dm, lines) {}
};
class TQRpFaktDorvexElementi : public TQRInvoice
{
public:
    TQRpFaktDorvexElementi(TDMNS& dm, SmpDataset& lines)
        : TQRInvoice(QStringLiteral("TQRpFaktDorvexElementi"), Kind::Chain, true, dm, lines) {}
};
class TQRKreditnoIzv : public TQRInvoice
{
public:
    TQRKreditnoIzv(TDMNS& dm, SmpDataset& lines)
        : TQRInvoice(QStringLiteral("TQRKreditnoIzv"), Kind::CreditNote, false, dm, lines) {}
};
