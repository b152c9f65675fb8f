#include "data/dmnsspravki.h"
#include "platform/base/clock.h"
#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "sales/salerecording.h"
#include "sales/saletotals.h"
#include "salesinfo/salesinfodata.h"
#include "support/dbfixture.h"

#include <QHash>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
struct Money
{
    double qty = 0, lv = 0, usd = 0, eur = 0;
    Money& operator+=(const Money& o)
    {
        qty += o.qty, lv += o.lv, usd += o.usd, eur += o.eur;
        return *this;
    }
};
const char* const kRoman[] = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"};
} // namespace

// The sales information procedures over a year of sales recorded the way the sale window records
// them: every inquiry adds up to what the sales themselves leave to pay, per client, month and
// article; open bounds; the summary invoice written onto exactly the lines given, all or nothing.
class TstSalesInfoData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(10, 0))); }
    void cleanupTestCase() { Clock::reset(); }
    void init();
    void cleanup();

    void turnoverAgreesWithTheSales();
    void monthlySalesAgreeWithTheSales();
    void inquiryAgreesWithTheSalesAndItsBoundsAreOpen();
    void articlesOfAPeriod();
    void materialCostAndConsignmentRemainder();
    void salesListByKind();
    void batchesMadeWithAMaterial();
    void summaryInvoiceOverThreeStockReceipts();
    void summaryInvoiceIsAllOrNothing();
    void summaryInvoiceTextNumbers();
    void proposedNumber_data();
    void proposedNumber();
    void markRefusal_data();
    void markRefusal();

private:
    void prepareYear();
    Sales::Recorded sell(int type, int client, const QDate& date, const QVector<Sales::SaleLine>& lines,
                         double discount = 0, double vat = 20);
    static Sales::SaleLine item(int material, double qty, double lv, double usd = 0, double eur = 0, double discount = 0);
    void openInquiry(SalesInfo::Choice client, const QDate& from, const QDate& to, SalesInfo::Choice material);

    DbFixture f_;
    std::unique_ptr<TDMNsSpravki> dm_;
    int number_ = 100;
    // What the year's sales leave to pay: per client and month, per article and month.
    QHash<int, Money> byClientMonth_, byArticleMonth_;
    QHash<int, double> qtyByArticle_;
    Money year_;
    int lines_ = 0;
};

void TstSalesInfoData::init()
{
    f_.start();
    dm_ = std::make_unique<TDMNsSpravki>(f_.db());
    number_ = 100;
    byClientMonth_.clear();
    byArticleMonth_.clear();
    qtyByArticle_.clear();
    year_ = {};
    lines_ = 0;
    f_.exec(u"insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Готова продукция')"_s);
    f_.exec(u"insert into TIP_SKLAD (NSKLAD, SKLAD) values (2, 'Материали')"_s);
    for (const auto& [n, name, sklad] : {std::tuple{9201, "Маса дъбова", 1}, {9202, "Стол тапициран", 1},
                                         {15000, "Лак мат", 2}})
        f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (:N, :I, :S, 1)"_s,
                {{u"N"_s, n}, {u"I"_s, QString::fromUtf8(name)}, {u"S"_s, sklad}});
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, POSTKOD) values (10, 1, 'Алфа ООД', 1000)"_s);
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, POSTKOD) values (11, 1, 'Бета ЕООД', 4000)"_s);
    // A key above the old "all" bound of 10000.
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (20000, 1, 'Гама АД')"_s);
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (12, 1, 'Без оборот')"_s);
    // Stock for every sale: 1000 of each at 4 lv less 10 %.
    for (int m : {9201, 9202, 15000})
        f_.db().executeProcedure(u"ADDDOSTAVKA"_s,
            {{u"NMATERIAL"_s, m}, {u"KOLICHESTVO"_s, 1000.0}, {u"ED_CENA_LV"_s, 4.0}, {u"PROCENT_OTST"_s, 10.0},
             {u"PROCENT_DDS"_s, 20.0}, {u"DATEPOLUCHENO"_s, QDate(2024, 1, 1)}, {u"NKONTRAGENT"_s, 10},
             {u"NFAKTURA"_s, u"D%1"_s.arg(m)}, {u"DATEFAKTURA"_s, QDate(2024, 1, 1)}});
}

void TstSalesInfoData::cleanup()
{
    dm_.reset();
    f_.stop();
}

Sales::SaleLine TstSalesInfoData::item(int material, double qty, double lv, double usd, double eur, double discount)
{
    Sales::SaleLine l;
    l.material = material;
    l.quantity = qty;
    l.priceLv = lv, l.priceUsd = usd, l.priceEur = eur;
    l.discountPct = discount;
    return l;
}

// Records the sale and adds what each of its lines leaves to pay (the sale's own totals) to the
// expected sums of its year 2025.
Sales::Recorded TstSalesInfoData::sell(int type, int client, const QDate& date, const QVector<Sales::SaleLine>& lines,
                                       double discount, double vat)
{
    Sales::SaleHeader h;
    h.documentType = type;
    h.counterparty = client;
    h.recipientName = u"Получател"_s;
    h.paymentType = 1;
    h.invoiceNumbering = 1;
    ++number_;
    h.invoiceNumber = u"0%1"_s.arg(number_, 9, 10, QLatin1Char('0'));
    h.stockReceiptNumber = h.consignmentNumber = h.dispatchNoteNumber = QString::number(number_);
    h.vatPct = vat;
    h.companyDiscountPct = discount;
    h.date = date;
    const Sales::Recorded r = Sales::recordSale(f_.db(), h, lines);
    if (date.year() != 2025) return r;
    SaleTotals::DocumentInput in;
    in.documentType = type;
    in.vatPct = vat;
    in.companyDiscountPct = discount;
    for (const Sales::SaleLine& l : lines) {
        const SaleTotals::DocumentTotals t = SaleTotals::computeTotals(in, Sales::totalsInput({l}));
        const Money m{l.quantity, t.toPayLv, t.toPayUsd, t.toPayEur};
        byClientMonth_[client * 100 + date.month()] += m;
        byArticleMonth_[l.material * 100 + date.month()] += m;
        qtyByArticle_[l.material] += l.quantity;
        year_ += m;
        ++lines_;
    }
    return r;
}

// 2025: every month each client buys on a tax invoice (with discounts), on a stock receipt in
// three currencies and, every third month, gets a credit note; sales in 2024 and 2026 lie outside.
void TstSalesInfoData::prepareYear()
{
    for (int month = 1; month <= 12; ++month) {
        const QDate d(2025, month, 3 + month);
        sell(0, 10, d, {item(9201, month, 120.5, 0, 0, 5), item(9202, 2, 45)}, 3);
        sell(2, 11, d, {item(9202, 1 + month % 4, 40, 22.5, 20.25), item(15000, 3, 7.8)});
        sell(0, 20000, d.addDays(10), {item(15000, 10, 6.4)}, 0, 9);
        if (month % 3 == 0) sell(10, 10, d.addDays(1), {item(9201, 1, -120.5)});
    }
    sell(0, 10, QDate(2024, 12, 31), {item(9201, 7, 100)});
    sell(0, 11, QDate(2026, 1, 1), {item(9201, 5, 100)});
}

void TstSalesInfoData::openInquiry(SalesInfo::Choice client, const QDate& from, const QDate& to, SalesInfo::Choice material)
{
    SmpDataset& ds = dm_->SmpSprRealizacia;
    ds.close();
    const QVariantMap p = SalesInfo::inquiryParams(client, std::nullopt, from, to, material);
    for (auto it = p.begin(); it != p.end(); ++it) ds.setParam(it.key(), it.value());
    ds.open();
}

void TstSalesInfoData::turnoverAgreesWithTheSales()
{
    prepareYear();
    SmpDataset& ds = dm_->ClnDtStKlientiOborot;
    ds.setParam(u"godina"_s, 2025);
    ds.open();
    // Only clients with a quantity; every counterparty without the filter.
    QCOMPARE(ds.recordCount(), 3);
    ds.setFiltered(false);
    QCOMPARE(ds.recordCount(), f_.count(u"select count(*) from KONTRAGENTI"_s));
    QVERIFY(ds.locate(u"NKONTRAGENT"_s, {12}));
    QCOMPARE(ds.value(u"OBSTO_KOL"_s).toInt(), 0);
    QVERIFY(ds.locate(u"NKONTRAGENT"_s, {10}));
    QCOMPARE(ds.value(u"GRAD"_s).toString(), u"София"_s);
    for (int client : {10, 11, 20000}) {
        QVERIFY(ds.locate(u"NKONTRAGENT"_s, {client}));
        Money total;
        for (int m = 1; m <= 12; ++m) {
            const Money e = byClientMonth_.value(client * 100 + m);
            total += e;
            const QString r = QString::fromLatin1(kRoman[m - 1]);
            // Whole units, each rounded from its own sum.
            QCOMPARE(ds.value(r + u"_KOL"_s).toInt(), qRound(e.qty));
            QVERIFY2(qAbs(ds.value(r + u"_ST_LV"_s).toDouble() - e.lv) <= 0.5,
                     qPrintable(u"%1 %2: %3 against %4"_s.arg(client).arg(r).arg(ds.value(r + u"_ST_LV"_s).toDouble()).arg(e.lv)));
            QVERIFY(qAbs(ds.value(r + u"_ST_USD"_s).toDouble() - e.usd) <= 0.5);
            QVERIFY(qAbs(ds.value(r + u"_ST_EUR"_s).toDouble() - e.eur) <= 0.5);
        }
        QCOMPARE(ds.value(u"OBSTO_KOL"_s).toInt(), qRound(total.qty));
        QVERIFY(qAbs(ds.value(u"OBSTO_ST_LV"_s).toDouble() - total.lv) <= 0.5);
        QVERIFY(qAbs(ds.value(u"OBSTO_ST_USD"_s).toDouble() - total.usd) <= 0.5);
        QVERIFY(qAbs(ds.value(u"OBSTO_ST_EUR"_s).toDouble() - total.eur) <= 0.5);
    }
    // The client with USD and EUR prices has them; the others only BGN.
    QVERIFY(ds.locate(u"NKONTRAGENT"_s, {11}));
    QVERIFY(ds.value(u"OBSTO_ST_USD"_s).toInt() > 0);
}

void TstSalesInfoData::monthlySalesAgreeWithTheSales()
{
    prepareYear();
    SmpDataset& ds = dm_->SmpProdPoMes;
    const auto load = [&ds](const QVariant& warehouse) {
        ds.close();
        ds.setParam(u"NUMSKLAD"_s, warehouse);
        ds.setParam(u"GODINA"_s, 2025);
        ds.open();
    };
    load(1);
    // The articles of the warehouse, numbered in name order.
    QCOMPARE(ds.recordCount(), 2);
    QCOMPARE(ds.value(u"NUMRED"_s).toInt(), 1);
    QCOMPARE(ds.value(u"IME_MATERIAL_IZDELIE"_s).toString(), u"Маса дъбова"_s);
    load(QVariant());
    QCOMPARE(ds.recordCount(), 3);
    double all = 0;
    for (ds.first(); !ds.eof(); ds.next()) {
        const int material = ds.value(u"NMATERIAL"_s).toInt();
        double year = 0;
        for (int m = 1; m <= 12; ++m) {
            const double e = byArticleMonth_.value(material * 100 + m).lv;
            QVERIFY2(qAbs(ds.value(QString::fromLatin1(kRoman[m - 1]) + u"_LV"_s).toDouble() - e) < 1e-6,
                     qPrintable(u"%1 month %2"_s.arg(material).arg(m)));
            year += e;
        }
        QVERIFY(qAbs(ds.value(u"OBSTO_LV"_s).toDouble() - year) < 1e-6);
        all += year;
    }
    QVERIFY(qAbs(all - year_.lv) < 1e-6);
    // A warehouse nobody sold from, and warehouse 0 before one is chosen: nothing.
    load(0);
    QCOMPARE(ds.recordCount(), 0);
}

void TstSalesInfoData::inquiryAgreesWithTheSalesAndItsBoundsAreOpen()
{
    prepareYear();
    SmpDataset& ds = dm_->SmpSprRealizacia;
    openInquiry(std::nullopt, QDate(2025, 1, 1), QDate(2025, 12, 31), std::nullopt);
    QCOMPARE(ds.recordCount(), lines_);
    QVERIFY(qAbs(ds.fieldByName(u"SumCenaObstoMatIzdLV"_s)->asFloat() - year_.lv) < 1e-6);
    QVERIFY(qAbs(ds.fieldByName(u"SumCenaObstoMatIzdUSD"_s)->asFloat() - year_.usd) < 1e-6);
    QVERIFY(qAbs(ds.fieldByName(u"SumCenaObstoMatIzdEUR"_s)->asFloat() - year_.eur) < 1e-6);
    QVERIFY(qAbs(ds.fieldByName(u"SumBroiMatIzd"_s)->asFloat() - year_.qty) < 1e-9);
    // The totals the reports print: empty when not above 0.
    QVERIFY(qAbs(ds.value(u"SumLV"_s).toDouble() - year_.lv) < 1e-6);
    // All dates and keys: every line, also the client and material above 10000 and the other years.
    openInquiry(std::nullopt, QDate(), QDate(), std::nullopt);
    QCOMPARE(ds.recordCount(), f_.count(u"select count(*) from PRODAGBI"_s));
    openInquiry(20000, QDate(2025, 1, 1), QDate(2025, 12, 31), 15000);
    QCOMPARE(ds.recordCount(), 12);
    // The last day of the period counts whole.
    openInquiry(std::nullopt, QDate(2025, 1, 14), QDate(2025, 1, 14), std::nullopt);
    QCOMPARE(ds.recordCount(), 1);
    QCOMPARE(ds.value(u"IMEKONTRAGENT"_s).toString(), u"Гама АД"_s);
    // A line's currency: the stock receipt's EUR price wins; its VAT and totals.
    openInquiry(11, QDate(2025, 3, 1), QDate(2025, 3, 31), 9202);
    QCOMPARE(ds.recordCount(), 1);
    QCOMPARE(ds.value(u"Valuta"_s).toString(), u"EUR"_s);
    QVERIFY(qAbs(ds.value(u"Cena"_s).toDouble() - 20.25 * 1.2) < 1e-9);
    QVERIFY(qAbs(ds.value(u"CenaObsto"_s).toDouble() - 4 * 20.25 * 1.2) < 1e-9);
    QVERIFY(qAbs(ds.value(u"DDS_ST_LV"_s).toDouble() - 4 * 40 * 0.2) < 1e-9);
    QVERIFY(ds.value(u"SumUSD"_s).toDouble() > 0);
    // The VAT filter.
    openInquiry(std::nullopt, QDate(2025, 1, 1), QDate(2025, 12, 31), std::nullopt);
    ds.setFilter(u"PROCENT_DDS=9"_s);
    QCOMPARE(ds.recordCount(), 12);
}

void TstSalesInfoData::articlesOfAPeriod()
{
    prepareYear();
    SmpDataset& ds = dm_->SmpSprRealizaciaArtik;
    const QVariantMap p = SalesInfo::articleParams(QDate(2025, 1, 1), QDate(2025, 12, 31));
    for (auto it = p.begin(); it != p.end(); ++it) ds.setParam(it.key(), it.value());
    ds.open();
    QCOMPARE(ds.recordCount(), 3);
    double previous = 1e18;
    for (ds.first(); !ds.eof(); ds.next()) {
        const double q = ds.value(u"KOLICHESTVO"_s).toDouble();
        QVERIFY(q <= previous);  // largest first
        previous = q;
        QCOMPARE(q, qtyByArticle_.value(ds.value(u"NMATERIAL"_s).toInt()));
        QCOMPARE(ds.value(u"IMEMKA"_s).toString(), u"бр."_s);
    }
}

void TstSalesInfoData::materialCostAndConsignmentRemainder()
{
    const Sales::Recorded r = sell(3, 10, QDate(2025, 6, 1), {item(9201, 10, 50)}, 10);
    const QString sale = r.saleNumber;
    f_.exec(u"insert into PRODAGBI_KONSIGN (NUMPRODAGBA, NMATERIAL, DATE_PLATENO, BROI_MAT_IZD_PLATENO) values (:S, 9201, '2025-06-10', 3)"_s,
            {{u"S"_s, sale}});
    f_.exec(u"insert into PRODAGBI_KONSIGN_VYRNATO (NUMPRODAGBA, NMATERIAL, DATE_VYRNATO, BROI_MAT_IZD_VYRNATO) values (:S, 9201, '2025-06-12', 2)"_s,
            {{u"S"_s, sale}});
    sell(0, 10, QDate(2025, 6, 2), {item(9202, 4, 30)});
    SmpDataset& ds = dm_->SmpSprRealizacia;
    openInquiry(10, QDate(2025, 6, 1), QDate(2025, 6, 30), std::nullopt);
    QCOMPARE(ds.recordCount(), 2);
    QVERIFY(ds.locate(u"NUMMATERIAL"_s, {9201}));
    QCOMPARE(ds.value(u"SUM_BROI_MAT_IZD_PLATENO"_s).toDouble(), 3.0);
    QCOMPARE(ds.value(u"SUM_BROI_MAT_IZD_VYRNATO"_s).toDouble(), 2.0);
    QCOMPARE(ds.value(u"SUM_BROI_MAT_IZD_OSTATYK"_s).toDouble(), 5.0);
    QVERIFY(qAbs(ds.value(u"SUMA_OSTATYK"_s).toDouble() - 5 * 50 * 1.2 * 0.9) < 1e-9);
    // Drawn from the delivery at 4 lv less 10 %; the difference is the net sale value less that cost.
    QVERIFY(qAbs(ds.value(u"CENA_MATERIALI"_s).toDouble() - 10 * 3.6) < 1e-9);
    QVERIFY(qAbs(ds.value(u"PECHALBA"_s).toDouble() - (10 * 50 * 0.9 - 36)) < 1e-9);
    QCOMPARE(ds.value(u"IMESKLOB"_s).toString(), u"Готова продукция"_s);
    // The remainder filter: only the consignment line is left.
    ds.setFilter(u"SUMA_OSTATYK>0"_s);
    QCOMPARE(ds.recordCount(), 1);
    QCOMPARE(ds.fieldByName(u"SumBrOstatyk"_s)->asFloat(), 5.0);
    // The other line has no remainder.
    ds.setFilter(QString());
    QVERIFY(ds.locate(u"NUMMATERIAL"_s, {9202}));
    QCOMPARE(ds.value(u"SUM_BROI_MAT_IZD_OSTATYK"_s).toDouble(), 0.0);

    // A sale through a warehouse object costs what it drew from the object's lines, at their
    // transfer prices: 3 from the line at 54 and 1 from the one at 60.
    f_.exec(u"insert into TIP_SKL_OBEKT (NSKL_OBEKT, IME_SKL_OBEKT) values (5, 'Магазин Център')"_s);
    f_.exec(u"insert into SKL_OBEKTI_MATERIALI (NUM_SKL_RAZP, NSKL_OBEKT, NMATERIAL, POLUCHENO, DATEPOLUCHENO, ED_CENA_LV)"
            " values (1, 5, 9201, 3, '2025-05-01', 54)"_s);
    f_.exec(u"insert into SKL_OBEKTI_MATERIALI (NUM_SKL_RAZP, NSKL_OBEKT, NMATERIAL, POLUCHENO, DATEPOLUCHENO, ED_CENA_LV)"
            " values (2, 5, 9201, 5, '2025-05-02', 60)"_s);
    Sales::SaleLine fromObject = item(9201, 4, 100);
    fromObject.warehouseObject = 5;
    sell(3, 11, QDate(2025, 6, 3), {fromObject});
    openInquiry(11, QDate(2025, 6, 3), QDate(2025, 6, 3), std::nullopt);
    QCOMPARE(ds.recordCount(), 1);
    QCOMPARE(ds.value(u"IMESKLOB"_s).toString(), u"Магазин Център"_s);
    QVERIFY2(qAbs(ds.value(u"CENA_MATERIALI"_s).toDouble() - (3 * 54 + 60)) < 1e-9,
             qPrintable(ds.value(u"CENA_MATERIALI"_s).toString()));
    QVERIFY(qAbs(ds.value(u"PECHALBA"_s).toDouble() - (400 - 222)) < 1e-9);
}

void TstSalesInfoData::salesListByKind()
{
    sell(3, 10, QDate(2025, 6, 1), {item(9201, 10, 50)});
    sell(2, 11, QDate(2025, 6, 2), {item(9202, 1, 30), item(9201, 1, 30)});
    sell(0, 11, QDate(2025, 6, 3), {item(9202, 1, 30)});
    SmpDataset& ds = dm_->SmpRealizacia;
    const auto load = [&ds](SalesInfo::SaleKind kind, const QDate& from, const QDate& to) {
        ds.close();
        const QVariantMap p = SalesInfo::salesListParams(kind, from, to);
        for (auto it = p.begin(); it != p.end(); ++it) ds.setParam(it.key(), it.value());
        ds.open();
    };
    load(SalesInfo::SaleKind::Invoice, QDate(2025, 6, 1), QDate(2025, 6, 3));
    QCOMPARE(ds.recordCount(), 4);
    load(SalesInfo::SaleKind::StockReceipt, QDate(2025, 6, 1), QDate(2025, 6, 3));
    QCOMPARE(ds.recordCount(), 4);
    load(SalesInfo::SaleKind::Consignment, QDate(2025, 6, 1), QDate(2025, 6, 3));
    QCOMPARE(ds.recordCount(), 1);
    QVERIFY(ds.value(u"NKONSIGNACIA"_s).toInt() > 0);
    load(SalesInfo::SaleKind::Invoice, QDate(2025, 6, 2), QDate(2025, 6, 2));
    QCOMPARE(ds.recordCount(), 2);
}

void TstSalesInfoData::batchesMadeWithAMaterial()
{
    f_.exec(u"insert into TIP_PROIZVODSTVO (NPROIZVODSTVO, PROIZVODSTVO) values (1, 'Мебели')"_s);
    f_.exec(u"insert into IZDELIE (PART_NUM_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE, KOLICH_SERII, KOLICH_IZDELIE, DATEIZDELIE)"
            u" values ('20250301001', 1, 9201, 1, 12, '2025-03-01')"_s);
    f_.exec(u"insert into IZDELIE (PART_NUM_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE, KOLICH_SERII, KOLICH_IZDELIE, DATEIZDELIE)"
            u" values ('20250201001', 1, 9202, 2, 30, '2025-02-01')"_s);
    f_.exec(u"insert into IZDELIE (PART_NUM_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE, KOLICH_SERII, KOLICH_IZDELIE, DATEIZDELIE)"
            u" values ('20250401001', 1, 9202, 1, 5, '2025-04-01')"_s);
    for (const char* batch : {"20250301001", "20250201001"})
        f_.exec(u"insert into IZDELIE_MATERIALI (PART_NUM_IZDELIE, NPROIZVODSTVO, NMATERIAL, KOLICHESTVO) values (:B, 1, 15000, 2)"_s,
                {{u"B"_s, QString::fromLatin1(batch)}});
    SmpDataset& ds = dm_->SmpVlMatIzd;
    ds.setParam(u"num_material"_s, 15000);
    ds.open();
    QCOMPARE(ds.recordCount(), 2);
    QCOMPARE(ds.value(u"PART_NUM_IZDELIE"_s).toString(), u"20250201001"_s);  // oldest first
    QCOMPARE(ds.value(u"IMEIZDELIE"_s).toString(), u"Стол тапициран"_s);
    QCOMPARE(ds.value(u"PROIZVODSTVO"_s).toString(), u"Мебели"_s);
    QCOMPARE(ds.fieldByName(u"SumKolich"_s)->asFloat(), 42.0);
}

void TstSalesInfoData::summaryInvoiceOverThreeStockReceipts()
{
    // Three stock receipts of one client at 20 % and one more; the company's rate is 9 % by now.
    QList<int> receipts;
    for (int i = 0; i < 3; ++i) receipts << sell(2, 10, QDate(2026, 12, 1 + i), {item(9201, 1 + i, 50)}).lineKeys.front();
    const int other = sell(2, 10, QDate(2026, 12, 4), {item(9202, 1, 40)}).lineKeys.front();
    f_.exec(u"update FIRMA set DDS_PROCENT = 9"_s);
    const QString number = SalesInfo::proposedNumber(f_.db(), SalesInfo::Numbering::Integer, 1);
    QCOMPARE(SalesInfo::numberRefusal(f_.db(), SalesInfo::Numbering::Integer, number), QString());
    SalesInfo::writeSummaryInvoice(f_.db(), SalesInfo::Numbering::Integer, number, QDate(2026, 12, 9), receipts);
    const DbResult r = f_.db().query(u"select AUTONUM, NFAKT_INT, DATEFAKTURA, PROCENT_DDS, TIP_DOCUMENT from PRODAGBI "
                                     u"where NFAKT_INT = :N order by AUTONUM"_s, {{u"N"_s, number.toInt()}});
    QCOMPARE(int(r.rows.size()), 3);
    for (std::size_t i = 0; i < 3; ++i) {
        QCOMPARE(r.rows[i][0].toInt(), receipts[int(i)]);
        QCOMPARE(r.rows[i][2].toDate(), QDate(2026, 12, 9));
        QCOMPARE(r.rows[i][3].toDouble(), 20.0);  // the line's own rate
        QCOMPARE(r.rows[i][4].toInt(), 2);
    }
    QCOMPARE(f_.count(u"select coalesce(NFAKT_INT, 0) from PRODAGBI where AUTONUM = :K"_s, {{u"K"_s, other}}), 0);
    // The number is now in use.
    QCOMPARE(SalesInfo::numberRefusal(f_.db(), SalesInfo::Numbering::Integer, number),
             u"Фактура с № %1 вече съществува !"_s.arg(number));
    QCOMPARE(SalesInfo::proposedNumber(f_.db(), SalesInfo::Numbering::Integer, 1), QString::number(number.toInt() + 1));
}

void TstSalesInfoData::summaryInvoiceIsAllOrNothing()
{
    const int a = sell(2, 10, QDate(2026, 12, 1), {item(9201, 1, 50)}).lineKeys.front();
    const int b = sell(2, 10, QDate(2026, 12, 2), {item(9201, 2, 50)}).lineKeys.front();
    const int invoiced = sell(0, 10, QDate(2026, 12, 3), {item(9201, 3, 50)}).lineKeys.front();
    const int taken = f_.count(u"select NFAKT_INT from PRODAGBI where AUTONUM = :K"_s, {{u"K"_s, invoiced}});
    const auto numbered = [this] { return f_.count(u"select count(*) from PRODAGBI where NFAKT_INT = 777"_s); };
    // A line that carries an invoice already: nothing is written, also not the lines before it.
    QVERIFY_THROWS_EXCEPTION(DbError, SalesInfo::writeSummaryInvoice(f_.db(), SalesInfo::Numbering::Integer, u"777"_s,
                                                                     QDate(2026, 12, 9), {a, invoiced, b}));
    QCOMPARE(numbered(), 0);
    // A number in use, an empty one, one that is no number: refused, nothing written.
    for (const QString& n : {QString::number(taken), QString(), u"12a"_s}) {
        QVERIFY(!SalesInfo::numberRefusal(f_.db(), SalesInfo::Numbering::Integer, n).isEmpty());
        QVERIFY_THROWS_EXCEPTION(DbError, SalesInfo::writeSummaryInvoice(f_.db(), SalesInfo::Numbering::Integer, n,
                                                                         QDate(2026, 12, 9), {a, b}));
    }
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI where coalesce(NFAKT_INT, 0) > 0"_s), 1);
    SalesInfo::writeSummaryInvoice(f_.db(), SalesInfo::Numbering::Integer, u"777"_s, QDate(2026, 12, 9), {a, b});
    QCOMPARE(numbered(), 2);
}

void TstSalesInfoData::summaryInvoiceTextNumbers()
{
    const int a = sell(2, 10, QDate(2026, 12, 1), {item(9201, 1, 50)}).lineKeys.front();
    QCOMPARE(f_.db().query(u"select NFAKTURA from PRODAGBI where AUTONUM = :K"_s, {{u"K"_s, a}}).rows[0][0].toString(), u"0"_s);
    SalesInfo::writeSummaryInvoice(f_.db(), SalesInfo::Numbering::Text, u"1000000007"_s, QDate(2026, 12, 9), {a});
    const DbResult r = f_.db().query(u"select NFAKTURA, NFAKT_INT from PRODAGBI where AUTONUM = :K"_s, {{u"K"_s, a}});
    QCOMPARE(r.rows[0][0].toString(), u"1000000007"_s);
    QVERIFY(r.rows[0][1].toInt() <= 0);
    QCOMPARE(SalesInfo::numberRefusal(f_.db(), SalesInfo::Numbering::Text, u"1000000007"_s),
             u"Фактура с № 1000000007 вече съществува !"_s);
    // The sale window stores small text numbers with leading zeros: "5" and "05" are that invoice.
    f_.exec(u"update PRODAGBI set NFAKTURA = '0000000005' where AUTONUM = :K"_s, {{u"K"_s, a}});
    for (const QString& n : {u"5"_s, u"05"_s, u"0000000005"_s})
        QCOMPARE(SalesInfo::numberRefusal(f_.db(), SalesInfo::Numbering::Text, n), u"Фактура с № %1 вече съществува !"_s.arg(n));
    QCOMPARE(SalesInfo::numberRefusal(f_.db(), SalesInfo::Numbering::Text, u"50"_s), QString());
}

void TstSalesInfoData::proposedNumber_data()
{
    QTest::addColumn<QString>("stored");  // an insert, or none
    QTest::addColumn<int>("numbering");
    QTest::addColumn<int>("office");
    QTest::addColumn<QString>("expected");
    QTest::newRow("integer, none") << QString() << 1 << 1 << u"1"_s;
    QTest::newRow("integer") << u"NFAKT_INT = 41"_s << 1 << 1 << u"42"_s;
    QTest::newRow("office 1, none") << QString() << 0 << 1 << u"1000000001"_s;
    QTest::newRow("office 1") << u"NFAKTURA = '1000000041'"_s << 0 << 1 << u"1000000042"_s;
    QTest::newRow("office 2, none") << u"NFAKTURA = '1000000041'"_s << 0 << 2 << u"2000000001"_s;
    QTest::newRow("office 2") << u"NFAKTURA = '2000000009'"_s << 0 << 2 << u"2000000010"_s;
    QTest::newRow("other office, none") << QString() << 0 << 3 << u"1"_s;
    QTest::newRow("small, no zeros") << u"NFAKTURA = '15'"_s << 0 << 3 << u"16"_s;
}

void TstSalesInfoData::proposedNumber()
{
    QFETCH(QString, stored);
    QFETCH(int, numbering);
    QFETCH(int, office);
    QFETCH(QString, expected);
    if (!stored.isEmpty())
        f_.exec(u"insert into PRODAGBI (AUTONUM, NUMPRODAGBA, NMATERIAL) values (1, '20250101001', 9201)"_s),
            f_.exec(u"update PRODAGBI set "_s + stored);
    QCOMPARE(SalesInfo::proposedNumber(f_.db(), SalesInfo::Numbering(numbering), office), expected);
}

void TstSalesInfoData::markRefusal_data()
{
    QTest::addColumn<bool>("client");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("nfaktura");
    QTest::addColumn<int>("nfaktInt");
    QTest::addColumn<bool>("marked");
    QTest::addColumn<double>("invoiceVat");  // < 0: none yet
    QTest::addColumn<QString>("expected");
    const QString noClient = u"Не е избран контрагент ! "_s, issued = u"Има вече издадена фактура за този артикул ! "_s;
    QTest::newRow("all clients") << false << false << u"5"_s << QString() << 0 << false << -1.0 << noClient;
    QTest::newRow("empty list") << true << true << u"5"_s << QString() << 0 << false << -1.0 << noClient;
    QTest::newRow("text 0 accepted") << true << false << u"5"_s << u"0"_s << 0 << false << -1.0 << QString();
    QTest::newRow("no number accepted") << true << false << u"5"_s << QString() << 0 << false << 20.0 << QString();
    QTest::newRow("integer invoice") << true << false << u"5"_s << QString() << 5 << false << -1.0 << issued;
    QTest::newRow("text invoice") << true << false << u"5"_s << u"1000000003"_s << 0 << false << -1.0 << issued;
    QTest::newRow("marked twice") << true << false << u"5"_s << QString() << 0 << true << 20.0 << issued;
    QTest::newRow("no invoice number") << true << false << u" "_s << QString() << 0 << false << -1.0
                                       << u"Не е въведен № на фактура !"_s;
    QTest::newRow("other VAT") << true << false << u"5"_s << QString() << 0 << false << 9.0
                               << u"Редът е с друга ставка на ДДС от тази на фактурата !"_s;
}

void TstSalesInfoData::markRefusal()
{
    QFETCH(bool, client);
    QFETCH(bool, empty);
    QFETCH(QString, number);
    QFETCH(QString, nfaktura);
    QFETCH(int, nfaktInt);
    QFETCH(bool, marked);
    QFETCH(double, invoiceVat);
    QFETCH(QString, expected);
    const SalesInfo::Row row{nfaktura, nfaktInt, 20, marked};
    QCOMPARE(SalesInfo::markRefusal(client, empty, number, row, invoiceVat < 0 ? std::nullopt : std::optional(invoiceVat)),
             expected);
}

QTEST_MAIN(TstSalesInfoData)
#include "tst_salesinfo_data.moc"
