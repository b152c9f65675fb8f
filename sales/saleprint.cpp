#include "sales/saleprint.h"

#include "data/dmns.h"
#include "platform/report/reportpreview.h"
#include "platform/widgets/dblookupcombobox.h"
#include "sales/documentprintdialog.h"
#include "sales/formprodagba.h"
#include "sales/salelines.h"

#include <QDateEdit>
#include <QLineEdit>

using namespace Qt::StringLiterals;
using InvoicePrint::shortDate;

SalePrint::SalePrint(const TFormProdagba& form, TDMNS& dm, SmpDataset& lines)
    : form_(form), dm_(dm), lines_(lines), fakt_(dm, lines), oprost_(dm, lines), dorvex_(dm, lines), kreditno_(dm, lines)
{
}

TQRInvoice* SalePrint::layoutFor(int documentType)
{
    switch (documentType) {
    case 0: return &fakt_;
    case 1: return &oprost_;
    case 5: return &dorvex_;
    case 10: return &kreditno_;
    default: return nullptr;
    }
}

InvoicePrint::Heading SalePrint::heading() const
{
    const TFormProdagba& f = form_;
    InvoicePrint::Heading h;
    h.documentType = f.documentType();
    if (f.DBLkpCmBoxTipKontr->keyValue().toInt() == Sales::NaturalPersonType) {
        h.recipient = InvoicePrint::naturalPersonRecipient(f.EdFzLiceIme->text(), f.EdFzLiceAdres->text(),
                                                           f.EdFzLiceEGN->text());
    } else if (const SmpDataset& r = dm_.SmpIzbKontrSklad;
               !f.DBLkpCmBoxImeKontr->currentText().isEmpty() && r.isActive() && !r.isEmpty()) {
        // Without a recipient in its box the block stays empty rather than show the list's current row.
        const QString town = dm_.SmpGrad.lookup(u"POSTKOD"_s, {r.value(u"POSTKOD"_s)}, u"GRAD"_s).toString();
        h.recipient = InvoicePrint::counterpartyRecipient(
            r.value(u"IMEKONTRAGENT"_s).toString(), town, r.value(u"ADRES"_s).toString(),
            r.value(u"DAN_NO"_s).toString(), r.value(u"BULSTAT"_s).toString(), f.DBLkpCmBoxMOLKontr->currentText());
    }
    h.number = f.EditNFakt->text();
    h.date = shortDate(f.DateFaktProdagba->date());
    h.taxEventDate = shortDate(f.DateVyznSyb->date());
    h.creditedInvoice = f.EditNfaktKred->text();
    h.order = f.EdNporychka->text();
    h.stockReceipt = f.EdNstRazp->text();
    if (const SmpDataset& o = dm_.SmpFirmaOfisi; o.isActive() && !o.isEmpty()) h.placeOfDeal = o.value(u"ImeGrad"_s).toString();
    h.companyMol = f.DBLookupComboBox2->currentText();
    h.compiledBy = f.DBLookupComboBox4->currentText();
    h.paymentType = f.DBLookupComboBox3->currentText();
    h.vatBasis = f.DBLookupComboBox5->currentText();
    h.remarks = f.EditBelegki->text();
    h.receivedOn = shortDate(f.DateFaktPoluchena->date());
    h.receivedBy = f.EdClient_ime->text();
    h.receiverEgn = f.EdClient_EGN->text();
    h.receiverLk = f.EdClient_LK->text();
    const SaleTotals::DocumentInput in = f.totalsInput();
    InvoicePrint::fillTotals(h, in.vatPct, SaleLines::totals(lines_, in));
    return h;
}

TQRInvoice* SalePrint::filled()
{
    TQRInvoice* layout = layoutFor(form_.documentType());
    if (layout) layout->fill(heading());
    return layout;
}

void SalePrint::preview()
{
    if (TQRInvoice* layout = filled()) Report::preview(layout->build());
}

bool SalePrint::print(const PrintCounts& counts)
{
    if (counts.total() == 0) return true;
    // A document type without a layout yet is reported as not printed, never as printed.
    TQRInvoice* layout = filled();
    return layout && layout->print(counts.originals, counts.copies);
}
