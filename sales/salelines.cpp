#include "sales/salelines.h"

#include "platform/dataset/smpdataset.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace SaleLines {

namespace {

QVariant opt(const std::optional<double>& v) { return v ? QVariant(*v) : QVariant(); }

double number(const SmpDataset& ds, const QString& field) { return ds.fieldByName(field)->asFloat(); }

double sumOf(SmpDataset& ds, const QString& field)
{
    const SmpField* f = ds.fieldByName(field);
    return f->isNull() ? 0 : f->asFloat();
}

struct Sums
{
    double lv = 0, usd = 0, eur = 0;
};

// The sums of the line values. The list's own sums follow a line when it is posted; while one is
// being edited they are taken over every line as it stands, the edited one with what was written
// into it, so that the totals follow a value as soon as its cell is left.
Sums lineSums(SmpDataset& d, const SaleTotals::DocumentInput& in)
{
    if (d.state() != SmpDataset::State::Edit && d.state() != SmpDataset::State::Insert)
        return {sumOf(d, u"CenaMatIzdBroiObstoSum"_s), sumOf(d, u"CenaMatIzdBroiObstoSumUSD"_s),
                sumOf(d, u"CenaMatIzdBroiObstoSumEUR"_s)};
    const auto f = [&d](const char* name) { return d.fieldByName(QString::fromLatin1(name)); };
    const SmpField *qty = f("BROI_MATERIAL_IZDELIE"), *lv = f("CENA_MATERIAL_IZDELIE"), *usd = f("CENA_MAT_IZD_USD"),
                   *eur = f("CENA_MAT_IZD_EUR"), *pct = f("OTST_IZDELIE");
    Sums s;
    const int rows = d.recordCount() + (d.state() == SmpDataset::State::Insert ? 1 : 0);
    for (int i = 0; i < rows; ++i) {
        const auto v = [&](const SmpField* field) { return d.valueAt(i, field).toDouble(); };
        const SaleTotals::LineValues line =
            SaleTotals::computeLine(in.documentType, in.vatPct, {v(qty), v(lv), v(usd), v(eur), v(pct)});
        s.lv += line.lv.value.value_or(0);
        s.usd += line.usd.value.value_or(0);
        s.eur += line.eur.value.value_or(0);
    }
    return s;
}

void setTotals(SmpDataset& d, const SaleTotals::DocumentTotals& t)
{
    d.setValue(u"CenaMatIzdBroiObstoSumAgg"_s, t.sumLv);
    d.setValue(u"CenaMatIzdBroiObstoSumUSDAgg"_s, t.sumUsd);
    d.setValue(u"CenaMatIzdBroiObstoSumEURAgg"_s, t.sumEur);
    d.setValue(u"Otst_Obsta_Procent"_s, t.discountPct);
    d.setValue(u"Otst_Obsta_Stoinost"_s, t.discountLv);
    d.setValue(u"Otst_Obsta_StoinostUSD"_s, t.discountUsd);
    d.setValue(u"Otst_Obsta_StoinostEUR"_s, t.discountEur);
    d.setValue(u"OblagaemaSt"_s, t.taxable);
    d.setValue(u"DDS_Stoinost"_s, opt(t.vat));
    d.setValue(u"Plastane_Stoinost"_s, t.toPayLv);
    d.setValue(u"Plastane_StoinostUSD"_s, t.toPayUsd);
    d.setValue(u"Plastane_StoinostEUR"_s, t.toPayEur);
    d.setValue(u"Plastane_StoinostText"_s, t.words);
    d.setValue(u"ZadylgeniaObstoLV"_s, t.debtLv);
    d.setValue(u"ZadylgeniaObstoUSD"_s, t.debtUsd);
    d.setValue(u"ZadylgeniaObstoEUR"_s, t.debtEur);
}

// Without a VAT rate the figures it decides stay empty: an invoice's VAT, amount to pay, words and
// debt; every figure of a document that adds VAT to its unit prices.
void clearRateFigures(SmpDataset& d, bool invoice)
{
    QStringList names{u"DDS_Stoinost"_s, u"Plastane_Stoinost"_s, u"Plastane_StoinostUSD"_s, u"Plastane_StoinostEUR"_s,
                      u"Plastane_StoinostText"_s, u"ZadylgeniaObstoLV"_s, u"ZadylgeniaObstoUSD"_s, u"ZadylgeniaObstoEUR"_s};
    if (!invoice)
        names << u"CenaMatIzdBroiObstoSumAgg"_s << u"CenaMatIzdBroiObstoSumUSDAgg"_s << u"CenaMatIzdBroiObstoSumEURAgg"_s
              << u"Otst_Obsta_Stoinost"_s << u"Otst_Obsta_StoinostUSD"_s << u"Otst_Obsta_StoinostEUR"_s << u"OblagaemaSt"_s;
    for (const QString& n : std::as_const(names)) d.setValue(n, QVariant());
}

} // namespace

void attachValues(SmpDataset& lines, Context context)
{
    lines.onCalcFields = [context = std::move(context)](SmpDataset& d) {
        const SaleTotals::DocumentInput in = context();
        const bool invoice = SaleTotals::isInvoiceType(in.documentType);
        // An invoice's line values are net, whatever the rate; other documents' carry it.
        const SaleTotals::LineValues v = !in.vatKnown && !invoice
            ? SaleTotals::LineValues{}
            : SaleTotals::computeLine(
                  in.documentType, in.vatPct,
                  {number(d, u"BROI_MATERIAL_IZDELIE"_s), number(d, u"CENA_MATERIAL_IZDELIE"_s),
                   number(d, u"CENA_MAT_IZD_USD"_s), number(d, u"CENA_MAT_IZD_EUR"_s), number(d, u"OTST_IZDELIE"_s)});
        d.setValue(u"CenaMatIzdCalc"_s, opt(v.lv.unit));
        d.setValue(u"CenaMatIzdCalcUSD"_s, opt(v.usd.unit));
        d.setValue(u"CenaMatIzdCalcEUR"_s, opt(v.eur.unit));
        d.setValue(u"CenaMatIzdBroiObsto"_s, opt(v.lv.value));
        d.setValue(u"CenaMatIzdBroiObstoUSD"_s, opt(v.usd.value));
        d.setValue(u"CenaMatIzdBroiObstoEUR"_s, opt(v.eur.value));
        d.setValue(u"CenaMatIzdCalc_Otst"_s, opt(v.lv.unitNet));
        d.setValue(u"CenaMatIzdCalcUSD_Otst"_s, opt(v.usd.unitNet));
        d.setValue(u"CenaMatIzdCalcEUR_Otst"_s, opt(v.eur.unitNet));
        d.setValue(u"Cena"_s, opt(v.cena));
        d.setValue(u"Cena_Otst"_s, opt(v.cenaOtst));
        d.setValue(u"Valuta"_s, v.valuta);
        const Sums sums = lineSums(d, in);
        setTotals(d, SaleTotals::computeTotals(in, sums.lv, sums.usd, sums.eur));
        if (!in.vatKnown) clearRateFigures(d, invoice);
    };
}

bool specialPriceAt(const SmpDataset& lines, int position)
{
    const SmpField* f = lines.findField(u"FLAG_SPEC_CENA"_s);
    return f && lines.valueAt(position, f).toInt() == 1;
}

QVector<Sales::SaleLine> read(SmpDataset& lines)
{
    QVector<Sales::SaleLine> out;
    const auto f = [&lines](const char* name) { return lines.fieldByName(QString::fromLatin1(name)); };
    for (int i = 0; i < lines.recordCount(); ++i) {
        const auto v = [&](const char* name) { return lines.valueAt(i, f(name)); };
        Sales::SaleLine l;
        l.material = v("NMATERIAL").toInt();
        l.quantity = v("BROI_MATERIAL_IZDELIE").toDouble();
        l.priceLv = v("CENA_MATERIAL_IZDELIE").toDouble();
        l.priceUsd = v("CENA_MAT_IZD_USD").toDouble();
        l.priceEur = v("CENA_MAT_IZD_EUR").toDouble();
        l.discountPct = v("OTST_IZDELIE").toDouble();
        l.warehouseObject = v("NSKL_OBEKT").toInt();
        l.objectReceipt = v("NSKL_RAZP").toInt();
        l.stockLine = v("AUTONUM_SKLAD").toInt();
        l.articleRecipient = v("ARTN_POLUCH").toString();
        l.articleSupplier = v("ARTN_DOSTAV").toString();
        l.barcode = v("BARKOD").toString();
        l.specialPrice = v("FLAG_SPEC_CENA").toInt() == 1;
        out.append(l);
    }
    return out;
}

SaleTotals::DocumentTotals totals(SmpDataset& lines, const SaleTotals::DocumentInput& input)
{
    return SaleTotals::computeTotals(input, Sales::totalsInput(read(lines)));
}

LinePrices chooseLinePrices(const StockPrices& stock, PriceKind kind, double specialPrice, int documentType,
                            Currency currency, double rate, bool returned)
{
    if (returned && kind == PriceKind::Delivery) kind = PriceKind::Retail;
    const double* prices = kind == PriceKind::Wholesale ? stock.wholesale
                           : kind == PriceKind::Retail  ? stock.retail
                                                        : stock.delivery;
    LinePrices p;
    p.special = specialPrice > 0;
    p.lv = p.special ? specialPrice : prices[0];
    p.usd = prices[1];
    p.eur = prices[2];
    if (!returned && documentType == 0) {
        if (currency != Currency::BGN) {
            p.lv = prices[int(currency)] * rate;
            p.special = false;
        }
        p.usd = p.eur = 0;
    }
    return p;
}

} // namespace SaleLines
