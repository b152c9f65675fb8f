#include "sales/salelines.h"

#include "platform/dataset/smpdataset.h"

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

} // namespace

void attachValues(SmpDataset& lines, Context context)
{
    lines.onCalcFields = [context = std::move(context)](SmpDataset& d) {
        const SaleTotals::DocumentInput in = context();
        const SaleTotals::LineValues v = SaleTotals::computeLine(
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
        setTotals(d, SaleTotals::computeTotals(in, sumOf(d, u"CenaMatIzdBroiObstoSum"_s),
                                               sumOf(d, u"CenaMatIzdBroiObstoSumUSD"_s),
                                               sumOf(d, u"CenaMatIzdBroiObstoSumEUR"_s)));
    };
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
