#include "sales/saleprint.h"

#include "data/dmns.h"
#include "platform/base/formats.h"
#include "sales/salerecording.h"
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
    : form_(form), dm_(dm), lines_(lines), fakt_(dm, lines), oprost_(dm, lines), dorvex_(dm, lines), kreditno_(dm, lines),
      stock_(dm, lines, false)
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

StockDocHeading SalePrint::stockHeading() const
{
    const TFormProdagba& f = form_;
    const InvoicePrint::Heading inv = heading();
    StockDocHeading h;
    h.recipient = inv.recipient;
    const int type = f.documentType();
    h.number = f.EdNstRazp->text();
    if (type == 2) h.title = TQRStockDocument::kStockReceiptTitle;
    if (type == 3) h.title = TQRStockDocument::kConsignmentTitle, h.number = f.EdNkons->text();
    if (type == 7 || type == 9) h.number = f.EdEkspBelN->text();
    h.date = shortDate(f.DateFaktProdagba->date());
    h.time = f.EdChas->time().toString(u"hh:mm"_s);
    h.order = f.EdNporychka->text();
    h.companyMol = inv.companyMol;
    h.compiledBy = inv.compiledBy;
    h.placeOfDeal = inv.placeOfDeal;
    h.receivedBy = f.EdClient_ime->text();
    h.transport = f.EdNumTransport->text();
    h.remarks = f.EditBelegki->text();
    h.gross = f.EdEkspBelBruto->text(), h.tare = f.EdEkspBelTara->text(), h.net = f.EdEkspBelNeto->text();
    // The A5 receipt and the dispatch note name a counterparty only; a natural person is named by
    // the dispatch note alone.
    if (f.DBLkpCmBoxTipKontr->keyValue().toInt() == Sales::NaturalPersonType)
        h.recipient.name = type == 7 ? f.EdFzLiceIme->text() : (type == 8 ? QString() : h.recipient.name);
    h.requester = dm_.SmpIzbKontrSklad.isActive() && !dm_.SmpIzbKontrSklad.isEmpty()
                      ? dm_.SmpIzbKontrSklad.value(u"IMEKONTRAGENT"_s).toString() : QString();
    h.issuer = dm_.SmpMolFirma.isActive() && !dm_.SmpMolFirma.isEmpty() ? dm_.SmpMolFirma.value(u"IMEMOLFIRMA"_s).toString()
                                                                        : QString();
    const SaleTotals::DocumentInput in = f.totalsInput();
    const SaleTotals::DocumentTotals t = SaleLines::totals(lines_, in);
    using InvoicePrint::money;
    h.value = money(t.sumLv), h.valueUsd = money(t.sumUsd), h.valueEur = money(t.sumEur);
    h.discount = money(t.discountLv), h.discountUsd = money(t.discountUsd), h.discountEur = money(t.discountEur);
    h.total = money(t.toPayLv), h.totalUsd = money(t.toPayUsd), h.totalEur = money(t.toPayEur);
    h.words = t.words;
    h.oldDebt = {money(in.balanceLv), money(in.balanceUsd), money(in.balanceEur)};
    h.byDocument = {h.total, h.totalUsd, h.totalEur};
    h.remaining = {money(t.debtLv), money(t.debtUsd), money(t.debtEur)};
    // Paid now: every empty paid-now box counts 0; "Веднага" pays the amounts to pay.
    if (in.deferred) {
        const auto paid = [](QLineEdit* e) {
            if (e->text().isEmpty()) e->setText(u"0"_s);
            return money(Formats::textToNumber(e->text()).value_or(0));
        };
        h.paid = {paid(f.EdRazsrSumaLv), paid(f.EdRazsrSumaUSD), paid(f.EdRazsrSumaEUR)};
    } else {
        h.paid = h.byDocument;
    }
    return h;
}

void SalePrint::preview()
{
    if (TQRStockDocument* stock = stockLayoutFor(form_.documentType())) {
        stock->fill(stockHeading());
        Report::preview(stock->build());
        return;
    }
    if (TQRInvoice* layout = filled()) Report::preview(layout->build());
}

bool SalePrint::print(const PrintCounts& counts)
{
    if (counts.total() == 0) return true;
    if (TQRStockDocument* stock = stockLayoutFor(form_.documentType())) {
        stock->fill(stockHeading());
        return stock->print(counts.total());
    }
    // A document type without a layout is reported as not printed, never as printed.
    TQRInvoice* layout = filled();
    return layout && layout->print(counts.originals, counts.copies);
}
