#include "sales/salebrowser.h"

#include "common/amountinwords.h"
#include "platform/base/formats.h"
#include "platform/dataset/smpdataset.h"
#include "platform/db/connection.h"
#include "platform/db/transaction.h"
#include "sales/invoiceprint.h"
#include "sales/salerecording.h"
#include "sales/saletotals.h"

using namespace Qt::StringLiterals;

namespace SaleBrowser {

QString invoiceNumberText(int numbering, const QVariant& text, const QVariant& integer, const QString& symbol)
{
    if (numbering != 1) {
        const QString t = text.toString();
        return t.isEmpty() ? u"0"_s : t;
    }
    const qint64 n = integer.toLongLong();
    if (n >= 1 && n < 10000000) return symbol + u"%1"_s.arg(n, 9, 10, QChar(u'0'));
    return symbol + QString::number(n);
}

int keyOrRecorded(std::optional<int> chosen, std::optional<int> byName, int recorded)
{
    if (chosen) return *chosen;
    if (byName) return *byName;
    return recorded;
}

namespace {
std::optional<int> keyByName(SQLConnection& db, const QString& sql, const QString& name)
{
    if (name.isEmpty()) return std::nullopt;
    const DbResult r = db.query(sql, {{u"N"_s, name}});
    if (r.isEmpty() || r.rows[0][0].isNull()) return std::nullopt;
    return r.rows[0][0].toInt();
}
} // namespace

std::optional<int> paymentTypeByName(SQLConnection& db, const QString& name)
{
    return keyByName(db, u"select first 1 NVIDPLASTANE from VIDPLASTANE where VIDPLASTANE = :N order by NVIDPLASTANE"_s, name);
}

std::optional<int> employeeByName(SQLConnection& db, const QString& name)
{
    return keyByName(db, u"select first 1 NMOL_FIRMA from MOL_FIRMA where IMEMOLFIRMA = :N order by NMOL_FIRMA"_s, name);
}

std::optional<int> numberBox(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return 0;
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok) return std::nullopt;
    return n;
}

void saveCorrections(SQLConnection& db, const HeaderCorrection& h, const QVector<PriceCorrection>& lines)
{
    const auto date = [](const QDate& d) { return d.isValid() ? QVariant(d) : QVariant(); };
    TransactionScope tx(db);
    db.executeProcedure(u"UPDATEPRODAGBI"_s,
                        {{u"INUMPRODAGBA"_s, h.saleNumber}, {u"INVIDPLASTANE"_s, h.paymentType},
                         {u"INSTOK_RAZP"_s, h.stockReceipt}, {u"INKONSIGNACIA"_s, h.consignment},
                         {u"INPORYCHKA"_s, h.order}, {u"INEKSP_BEL"_s, h.dispatchNote},
                         {u"INUM_TRANSPORT"_s, h.transport}, {u"IN_MOL_FIRMA_SYSTAVIL"_s, h.compiledBy},
                         {u"ITIP_DOCUMENT"_s, h.documentType}, {u"IBELEGKA"_s, h.remarks},
                         {u"ICLIENT_STOKA_POLUCHENA_DATE"_s, date(h.goodsReceived)}, {u"ICLIENT_IME"_s, h.clientName},
                         {u"ICLIENT_EGN"_s, h.clientEgn}, {u"ICLIENT_LK"_s, h.clientLk},
                         {u"ICLIENT_LK_IZD"_s, date(h.taxEvent)}, {u"ICLIENT_OTG_ST_OP"_s, QString()}});
    for (const PriceCorrection& l : lines)
        db.executeProcedure(u"UPDATEPRODAGBI_CENA"_s,
                            {{u"NUMPRODAGBA"_s, l.saleNumber}, {u"NFAKTURA"_s, l.invoiceText},
                             {u"NFAKT_INT"_s, l.invoiceInt}, {u"DATEFAKTURA"_s, date(l.date)},
                             {u"NMATERIAL"_s, l.material}, {u"CENA_MATERIAL_IZDELIE"_s, l.priceLv},
                             {u"CENA_MAT_IZD_USD"_s, l.priceUsd}, {u"CENA_MAT_IZD_EUR"_s, l.priceEur},
                             {u"OTST_IZDELIE"_s, l.discountPct}, {u"AUTONUM"_s, l.key}});
    tx.commit();
}

QString lineCorrectionRefusal(const QStringList& saleNumbersOfLines)
{
    QStringList sales = saleNumbersOfLines;
    sales.removeDuplicates();
    if (sales.size() <= 1) return {};
    return u"Редовете са от %1 продажби - корекцията е възможна само за една продажба !"_s.arg(sales.size());
}

void deleteSale(SQLConnection& db, const QString& saleNumber)
{
    TransactionScope tx(db);
    const DbResult lines = db.query(u"select NSKL_OBEKT, NMATERIAL, DATEFAKTURA from PRODAGBI where NUMPRODAGBA = :N "
                                    u"order by AUTONUM"_s,
                                    {{u"N"_s, saleNumber}});
    const QString returnDocument = Sales::returnDocumentNumber(saleNumber);
    for (std::size_t i = 0; i < lines.rows.size(); ++i)
        db.executeProcedure(u"DEL_VYRN_SKLOB_SKLAD"_s,
                            {{u"SKLOB_SKLAD"_s, lines.rows[i][0].toInt() < 1 ? 1 : 0}, {u"NUMMAT"_s, lines.rows[i][1]},
                             {u"NFAKT"_s, returnDocument}, {u"DATEFAKT"_s, lines.rows[i][2]},
                             {u"DATEPOLUCH"_s, lines.rows[i][2]}});
    // The consignment settlements belong to the sale's lines and go with them.
    for (const QString& table : {u"PRODAGBI_KONSIGN"_s, u"PRODAGBI_KONSIGN_VYRNATO"_s})
        db.execute(u"delete from "_s + table + u" where NUMPRODAGBA = :N"_s, {{u"N"_s, saleNumber}});
    db.executeProcedure(u"DEL_PRODAGBA"_s, {{u"INPRODAGBA"_s, saleNumber}});
    tx.commit();
}

std::optional<QString> proposeInvoiceNumber(SQLConnection& db, int numbering, int office)
{
    const auto next = [&db](const QString& sql) { return db.query(sql).rows.front()[0]; };
    if (numbering == 1) {
        const QVariant v = next(u"select max(NFAKT_INT) + 1 from PRODAGBI"_s);
        return v.isNull() ? u"1"_s : QString::number(v.toLongLong());
    }
    // Text numbers of ten digits: office 1 below 2000000000, office 2 above it.
    QString sql, first;
    if (office == 1)
        sql = u"select max(cast(NFAKTURA as double precision)) + 1 from PRODAGBI where NFAKTURA < '2000000000'"_s,
        first = u"1000000001"_s;
    else if (office == 2)
        sql = u"select max(cast(NFAKTURA as double precision)) + 1 from PRODAGBI where NFAKTURA > '2000000000'"_s,
        first = u"2000000001"_s;
    else
        return std::nullopt;
    const QVariant v = next(sql);
    return v.isNull() ? first : QString::number(qint64(v.toDouble()));
}

QString netWeight(const QString& gross, const QString& tare)
{
    const double g = Formats::textToNumber(gross.isEmpty() ? u"0"_s : gross).value_or(0);
    const double t = Formats::textToNumber(tare.isEmpty() ? u"0"_s : tare).value_or(0);
    return Formats::numberToText(g - t);
}

void attachValues(SmpDataset& lines, SmpDataset& due, SmpDataset& payments)
{
    lines.onCalcFields = [](SmpDataset& d) {
        d.setValue(u"OstatykBroiMatIzd"_s, d.value(u"BROI_MATERIAL_IZDELIE"_s).toDouble()
                                               - d.value(u"SUM_BROI_MAT_IZD_PLATENO"_s).toDouble()
                                               - d.value(u"SUM_BROI_MAT_IZD_VYRNATO"_s).toDouble());
        d.setValue(u"SumaDDSfakturaTXT"_s, AmountInWordsWithStotinki(d.value(u"SUMA_DDS_FAKTURA"_s).toDouble()));
        d.setValue(u"SumaPlastaneTxt"_s, AmountInWordsWithStotinki(d.value(u"SUMA_PLASTANE"_s).toDouble()));
        const SaleTotals::LineValues v = InvoicePrint::recordedLineValues(d);
        d.setValue(u"Cena"_s, v.cena ? QVariant(*v.cena) : QVariant());
        d.setValue(u"Cena_otst"_s, v.cenaOtst ? QVariant(*v.cenaOtst) : QVariant());
        d.setValue(u"Valuta"_s, v.valuta);
    };
    payments.onCalcFields = [](SmpDataset& p) {
        p.setValue(u"ObstoPlatenaSumaAGG"_s, p.value(u"ObstoPlatenaSuma"_s));
        p.setValue(u"ObstoPlatenaSumaUSDAGG"_s, p.value(u"ObstoPlatenaSumaUSD"_s));
        p.setValue(u"ObstoPlatenaSumaEURAGG"_s, p.value(u"ObstoPlatenaSumaEUR"_s));
    };
    due.onCalcFields = [&payments](SmpDataset& d) {
        const double paid = payments.isActive() ? payments.value(u"ObstoPlatenaSuma"_s).toDouble() : 0;
        d.setValue(u"PlastOstatyk"_s, d.value(u"SUMA_DDS_FAKTURA"_s).toDouble() - paid);
    };
}

} // namespace SaleBrowser
