#include "sales/invoiceprint.h"

#include "common/amountinwords.h"
#include "platform/base/formats.h"
#include "platform/db/connection.h"
#include "sales/saletotals.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace InvoicePrint {

Recipient counterpartyRecipient(const QString& name, const QString& town, const QString& street, const QString& id,
                                const QString& vat, const QString& mol)
{
    return {name, town, street, u"Идентификационен № :"_s, id, u"Идентификационен № ДДС :"_s, vat, mol};
}

Recipient naturalPersonRecipient(const QString& name, const QString& address, const QString& egn)
{
    return {name, address, QString(), QString(), QString(), u"ЕГН :"_s, egn, name};
}

QString money(double amount) { return Formats::formatNumber(amount, u"# ### ##0.00"_s); }
QString percent(double pct) { return Formats::formatNumber(pct, u"0.00"_s); }
QString shortDate(const QDate& d) { return Formats::dateToText(d); }

QString taxInvoiceNumber(const QString& symbol, qint64 number)
{
    return symbol + u"%1"_s.arg(number, 9, 10, QChar(u'0'));
}

QString simplifiedInvoiceNumber(qint64 number) { return u"%1"_s.arg(number, 10, 10, QChar(u'0')); }

namespace {

const QString kLines = uR"(select p.AUTONUM, p.NMATERIAL, m.IMEMATERIAL as IME_MATERIAL_IZDELIE, mk.MIARKA_BG as IMEMKA,
 p.BROI_MATERIAL_IZDELIE, p.CENA_MATERIAL_IZDELIE, p.CENA_MAT_IZD_USD, p.CENA_MAT_IZD_EUR, p.OTST_IZDELIE,
 p.ARTN_POLUCH, p.ARTN_DOSTAV, p.BARKOD, p.TIP_DOCUMENT, p.PROCENT_DDS
 from PRODAGBI p left join MATERIALI m on m.NMATERIAL = p.NMATERIAL left join MIARKA mk on mk.NMIARKA = m.NMIARKA
 where p.NUMPRODAGBA = :NUMPRODAGBA order by p.AUTONUM)"_s;

const QString kHeading = uR"(select first 1 p.TIP_DOCUMENT, p.NFAKTURA, p.NFAKT_INT, p.NSTOK_RAZP, p.DATEFAKTURA,
 p.NKONTRAGENT, p.PROCENT_DDS, p.PROCENT_OTST, p.BELEGKA, p.CLIENT_STOKA_POLUCHENA_DATE, p.CLIENT_IME, p.CLIENT_EGN,
 p.CLIENT_LK, p.CLIENT_LK_IZD, p.NPORYCHKA,
 k.IMEKONTRAGENT, kg.GRAD as KONTR_GRAD, k.ADRES as KONTR_ADRES, k.DAN_NO as KONTR_DAN_NO, k.BULSTAT as KONTR_BULSTAT,
 km.IMEMOL as KONTR_MOL, fl.IME as FZLICE_IME, fl.ADRES as FZLICE_ADRES, fl.EGN as FZLICE_EGN,
 vp.VIDPLASTANE as IMEVIDPLASTANE, sy.IMEMOLFIRMA as IME_MOL_FIRMA_SYSTAVIL, mf.IMEMOLFIRMA as IME_MOL_FIRMA,
 og.GRAD as IME_OFIS_GRAD, os.IME_OSNOVANIE as ImeOsnovanie, f.NFAKT_SIMVOL
 from PRODAGBI p
 left join KONTRAGENTI k on k.NKONTRAGENT = p.NKONTRAGENT
 left join GRADOVE kg on kg.POSTKOD = k.POSTKOD
 left join MOL km on km.NMOL = k.NMOL
 left join PRODAGBI_FLICA fl on fl.NUMPRODAGBA = p.NUMPRODAGBA
 left join VIDPLASTANE vp on vp.NVIDPLASTANE = p.NVIDPLASTANE
 left join MOL_FIRMA sy on sy.NMOL_FIRMA = p.NMOL_FIRMA_SYSTAVIL
 left join MOL_FIRMA mf on mf.NMOL_FIRMA = p.NMOL_FIRMA
 left join FIRMA_OFISI fo on fo.NUMOFIS = p.NFIRMA_OFIS
 left join GRADOVE og on og.POSTKOD = fo.POSTKOD
 left join OSNOVANIE_DDS os on os.NUM_OSNOVANIE = p.NUM_OSNOVANIE
 left join FIRMA f on 1 = 1
 where p.NUMPRODAGBA = :N order by p.AUTONUM)"_s;

SaleTotals::LineInput lineInput(const SmpDataset& d)
{
    SaleTotals::LineInput in;
    in.quantity = d.value(u"BROI_MATERIAL_IZDELIE"_s).toDouble();
    in.priceLv = d.value(u"CENA_MATERIAL_IZDELIE"_s).toDouble();
    in.priceUsd = d.value(u"CENA_MAT_IZD_USD"_s).toDouble();
    in.priceEur = d.value(u"CENA_MAT_IZD_EUR"_s).toDouble();
    in.discountPct = d.value(u"OTST_IZDELIE"_s).toDouble();
    return in;
}

QVariant optionalValue(const std::optional<double>& v) { return v ? QVariant(*v) : QVariant(); }

} // namespace

SaleTotals::LineValues recordedLineValues(const SmpDataset& line)
{
    return SaleTotals::computeLine(line.value(u"TIP_DOCUMENT"_s).toInt(), line.value(u"PROCENT_DDS"_s).toDouble(),
                                   lineInput(line));
}

RecordedSale::RecordedSale(SQLConnection& db) : SmpRealizaciaProdagba(u"SmpRealizaciaProdagba"_s, &db), db_(db)
{
    using T = SmpField::Type;
    SmpDataset& ds = SmpRealizaciaProdagba;
    ds.setCommandText(kLines);
    ds.setReadOnly(true);
    for (const auto& [name, type, size] : {std::tuple{"AUTONUM", T::Integer, 0}, {"NMATERIAL", T::Integer, 0},
                                           {"IME_MATERIAL_IZDELIE", T::String, 65}, {"IMEMKA", T::String, 5},
                                           {"BROI_MATERIAL_IZDELIE", T::Float, 0}, {"CENA_MATERIAL_IZDELIE", T::Float, 0},
                                           {"CENA_MAT_IZD_USD", T::Float, 0}, {"CENA_MAT_IZD_EUR", T::Float, 0},
                                           {"OTST_IZDELIE", T::Float, 0}, {"ARTN_POLUCH", T::String, 10},
                                           {"ARTN_DOSTAV", T::String, 10}, {"BARKOD", T::String, 13},
                                           {"TIP_DOCUMENT", T::Integer, 0}, {"PROCENT_DDS", T::Float, 0}})
        ds.addDataField(QString::fromLatin1(name), type, size);
    for (const char* name : {"CENA_OBSTO_MATERIAL_IZDELIE", "CENA_MAT_IZD_DDS", "CENA_OBSTO_MAT_IZD_DDS"})
        ds.addCalculatedField(QString::fromLatin1(name), T::Float);
    for (const auto& [name, format] : {std::pair{"BROI_MATERIAL_IZDELIE", "# ### ##0.00"},
                                       {"CENA_MATERIAL_IZDELIE", "# ### ##0.000"}, {"OTST_IZDELIE", "0.00"},
                                       {"CENA_OBSTO_MATERIAL_IZDELIE", "# ### ##0.00"},
                                       {"CENA_MAT_IZD_DDS", "# ### ##0.000"}, {"CENA_OBSTO_MAT_IZD_DDS", "# ### ##0.00"}})
        ds.fieldByName(QString::fromLatin1(name))->displayFormat = QString::fromLatin1(format);
    ds.onCalcFields = [](SmpDataset& d) {
        const SaleTotals::LineValues v = recordedLineValues(d);
        d.setValue(u"CENA_OBSTO_MATERIAL_IZDELIE"_s, optionalValue(v.lv.value));
        d.setValue(u"CENA_MAT_IZD_DDS"_s, optionalValue(v.lv.unit));
        d.setValue(u"CENA_OBSTO_MAT_IZD_DDS"_s, optionalValue(v.lv.value));
    };
}

std::optional<Heading> RecordedSale::load(const QString& saleNumber)
{
    SmpRealizaciaProdagba.close();
    SmpRealizaciaProdagba.setParam(u"NUMPRODAGBA"_s, saleNumber);
    SmpRealizaciaProdagba.open();
    const DbResult r = db_.query(kHeading, {{u"N"_s, saleNumber}});
    if (r.isEmpty()) return std::nullopt;
    const auto v = [&r](const char* column) { return r.value(0, QString::fromLatin1(column)); };
    const auto text = [&v](const char* column) { return v(column).toString(); };
    const auto date = [&v](const char* column) { return shortDate(v(column).toDate()); };

    Heading h;
    h.documentType = documentType_ = v("TIP_DOCUMENT").toInt();
    h.recipient = v("NKONTRAGENT").toInt() == 0
                      ? naturalPersonRecipient(text("FZLICE_IME"), text("FZLICE_ADRES"), text("FZLICE_EGN"))
                      : counterpartyRecipient(text("IMEKONTRAGENT"), text("KONTR_GRAD"), text("KONTR_ADRES"),
                                              text("KONTR_DAN_NO"), text("KONTR_BULSTAT"), text("KONTR_MOL"));
    // A sale recorded with an integer invoice number has no text number.
    const qint64 integer = v("NFAKT_INT").toLongLong();
    if (v("NFAKTURA").isNull() && integer > 0)
        h.number = h.documentType == 1 ? simplifiedInvoiceNumber(integer)
                                       : taxInvoiceNumber(text("NFAKT_SIMVOL").trimmed(), integer);
    else
        h.number = text("NFAKTURA");
    h.date = date("DATEFAKTURA");
    h.taxEventDate = date("CLIENT_LK_IZD");
    h.order = text("NPORYCHKA");
    const int stockReceipt = v("NSTOK_RAZP").toInt();
    h.stockReceipt = stockReceipt > 0 ? QString::number(stockReceipt) : QString();
    h.placeOfDeal = text("IME_OFIS_GRAD");
    h.companyMol = text("IME_MOL_FIRMA");
    h.compiledBy = text("IME_MOL_FIRMA_SYSTAVIL");
    h.paymentType = text("IMEVIDPLASTANE");
    h.vatBasis = text("IMEOSNOVANIE");
    h.remarks = text("BELEGKA");
    h.receivedOn = date("CLIENT_STOKA_POLUCHENA_DATE");
    h.receivedBy = text("CLIENT_IME");
    h.receiverEgn = text("CLIENT_EGN");
    h.receiverLk = text("CLIENT_LK");

    SaleTotals::DocumentInput in;
    in.documentType = h.documentType;
    in.vatPct = v("PROCENT_DDS").toDouble();
    in.companyDiscountPct = v("PROCENT_OTST").toDouble();  // recorded as the company's and the recipient's together
    QVector<SaleTotals::LineInput> lines;
    for (int i = 0; i < SmpRealizaciaProdagba.recordCount(); ++i) {
        SaleTotals::LineInput l;
        const auto at = [&](const char* f) {
            return SmpRealizaciaProdagba.valueAt(i, SmpRealizaciaProdagba.fieldByName(QString::fromLatin1(f))).toDouble();
        };
        l.quantity = at("BROI_MATERIAL_IZDELIE");
        l.priceLv = at("CENA_MATERIAL_IZDELIE");
        l.priceUsd = at("CENA_MAT_IZD_USD");
        l.priceEur = at("CENA_MAT_IZD_EUR");
        l.discountPct = at("OTST_IZDELIE");
        lines << l;
    }
    fillTotals(h, in.vatPct, SaleTotals::computeTotals(in, lines));
    return h;
}

void fillTotals(Heading& h, double vatPct, const SaleTotals::DocumentTotals& t)
{
    h.sumWithoutVat = money(t.sumLv);
    h.discountPct = percent(t.discountPct);
    h.discountAmount = money(t.discountLv);
    h.taxable = money(t.taxable);
    h.vatPct = Formats::numberToText(vatPct);
    h.vat = money(t.vat.value_or(0));
    h.total = money(t.toPayLv);
    // A credit note's amount is normally negative: its words state the amount credited.
    h.words = t.toPayLv < 0 && h.documentType == 10 ? AmountInWordsWithStotinki(-t.toPayLv) : t.words;
}

} // namespace InvoicePrint
