#include "sales/saletotals.h"

#include "common/amountinwords.h"

namespace SaleTotals {

bool isInvoiceType(int t) { return t == 0 || t == 1 || t == 5 || t == 10; }

double effectiveVat(int documentType, double vatPct) { return documentType == 9 ? 0.0 : vatPct; }

namespace {

bool knownType(int t) { return t >= 0 && t <= 10; }

// A non-invoice currency: VAT on the unit price, then the line discount; nothing for a price of 0.
CurrencyValues grossValues(double price, double vat, double discountPct, double quantity)
{
    CurrencyValues v;
    if (price == 0) return v;
    const double unit = price + price * vat / 100;
    v.unit = unit;
    v.unitNet = unit - unit * discountPct / 100;
    v.value = quantity * *v.unitNet;
    return v;
}

} // namespace

LineValues computeLine(int documentType, double vatPct, const LineInput& line)
{
    LineValues out;
    if (!knownType(documentType)) return out;
    const double vat = effectiveVat(documentType, vatPct);
    if (isInvoiceType(documentType)) {
        const double unit = line.priceLv;
        out.lv.unit = unit;
        out.lv.unitNet = unit - unit * line.discountPct / 100;
        out.lv.value = line.quantity * *out.lv.unitNet;
    } else {
        out.lv = grossValues(line.priceLv, vat, line.discountPct, line.quantity);
        out.usd = grossValues(line.priceUsd, vat, line.discountPct, line.quantity);
        out.eur = grossValues(line.priceEur, vat, line.discountPct, line.quantity);
    }
    const auto display = [&out](const CurrencyValues& c, const char* name) {
        if (c.unit && *c.unit > 0) {
            out.cena = c.unit;
            out.cenaOtst = c.unitNet;
            out.valuta = QString::fromLatin1(name);
        }
    };
    display(out.lv, "BGN");
    display(out.usd, "USD");
    display(out.eur, "EUR");
    return out;
}

DocumentTotals computeTotals(const DocumentInput& in, double sumLv, double sumUsd, double sumEur)
{
    DocumentTotals t;
    t.sumLv = sumLv;
    t.sumUsd = sumUsd;
    t.sumEur = sumEur;
    t.discountPct = in.companyDiscountPct + in.recipientDiscountPct;
    t.discountLv = sumLv * t.discountPct / 100;
    t.discountUsd = sumUsd * t.discountPct / 100;
    t.discountEur = sumEur * t.discountPct / 100;
    t.taxable = sumLv - t.discountLv;
    t.toPayUsd = sumUsd - t.discountUsd;
    t.toPayEur = sumEur - t.discountEur;
    if (knownType(in.documentType)) {
        if (isInvoiceType(in.documentType)) {
            t.vat = t.taxable * effectiveVat(in.documentType, in.vatPct) / 100;
            t.toPayLv = t.taxable + *t.vat;
        } else {
            t.toPayLv = t.taxable;
        }
    }
    t.words = AmountInWordsWithStotinki(t.toPayLv);
    t.debtLv = in.balanceLv;
    t.debtUsd = in.balanceUsd;
    t.debtEur = in.balanceEur;
    if (in.deferred) {
        const auto debt = [](double balance, double toPay, double paid) {
            return toPay > 0 || paid > 0 ? balance + toPay - paid : balance;
        };
        t.debtLv = debt(in.balanceLv, t.toPayLv, in.paidNowLv);
        t.debtUsd = debt(in.balanceUsd, t.toPayUsd, in.paidNowUsd);
        t.debtEur = debt(in.balanceEur, t.toPayEur, in.paidNowEur);
    }
    return t;
}

DocumentTotals computeTotals(const DocumentInput& input, const QVector<LineInput>& lines)
{
    double lv = 0, usd = 0, eur = 0;
    for (const LineInput& l : lines) {
        const LineValues v = computeLine(input.documentType, input.vatPct, l);
        lv += v.lv.value.value_or(0);
        usd += v.usd.value.value_or(0);
        eur += v.eur.value.value_or(0);
    }
    return computeTotals(input, lv, usd, eur);
}

Payment paidAtOnce(const DocumentTotals& totals) { return {totals.toPayLv, totals.toPayUsd, totals.toPayEur}; }

} // namespace SaleTotals
