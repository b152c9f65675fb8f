#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/migrator.h"
#include "sales/salerecording.h"
#include "schema/schema.h"
#include "support/dbfixture.h"
#include "support/testdb.h"
#include "warehouse/deliveries.h"
#include "common/stockprices.h"
#include "warehouse/stockinquiries.h"

#include <QTemporaryDir>
#include <QTest>

using namespace StockInquiries;
using namespace StockPrices;

// The stock inquiries' procedures and computations against a real database.
class TstStockInquiriesData : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { f_.stop(); }

    void stockAtDateIsOnHandLessWhatMovedSince_data();
    void stockAtDateIsOnHandLessWhatMovedSince();
    void averagePriceOverNoQuantityIsEmpty();
    void stockAtDateValuedAsTheStockList();
    void stockAtDateAveragesEachCurrencyOverItsLines_data();
    void stockAtDateAveragesEachCurrencyOverItsLines();
    void saleLeavesStockAtItsDocumentDate_data();
    void saleLeavesStockAtItsDocumentDate();
    void movementDatesAreOpenAndTakeWholeDays();
    void summaryAndMinMaxPerMaterial();
    void levels_data();
    void levels();
    void shownPrices();
    void storedReceiptOfOneDocument();
    void warehousePointLines();
    void pointsAndReceiptsApplyTheDiscount();
    void packagingAccount();
    void packagingKindHeldByAnAccountStays();

private:
    // The warehouses, materials and suppliers every test starts from.
    static void prepare(SQLConnection& db);
    int line(int material, const QDate& document, double quantity, double lv, double eur = 0, int supplier = 60,
             const QString& number = QStringLiteral("F1"));
    void out(int line, int kind, double quantity, const QDate& date);
    // Per material: the columns of a selectable procedure's rows, by name.
    QHash<int, QVariantMap> perMaterial(const QString& sql, const SqlParams& params);
    DbFixture f_;
    int receipt_ = 1;
    // The first schema version that dates a sale's write-off by its document date.
    static constexpr int kSalesDatedVersion = 119;
};

void TstStockInquiriesData::prepare(SQLConnection& db)
{
    for (const char* sql : {
             "insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')",
             "insert into TIP_SKLAD (NSKLAD, SKLAD) values (2, 'Резервен')",
             "insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA, MIN_KOL, MAX_KOL)"
             " values (500, 'Болт', 1, 1, 10, 10, 20)",
             "insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA_EUR, MIN_KOL, MAX_KOL)"
             " values (501, 'Шайба', 1, 1, 3, 0, 0)",
             "insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (502, 'Гайка', 2, 1)",
             "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (60, 2, 'Доставчик А')",
             "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (61, 2, 'Доставчик Б')"})
        db.execute(QString::fromUtf8(sql));
}

void TstStockInquiriesData::init()
{
    f_.start();
    receipt_ = 1;
    prepare(f_.db());
}

int TstStockInquiriesData::line(int material, const QDate& document, double quantity, double lv, double eur,
                                int supplier, const QString& number)
{
    return f_.db().executeReturning(
        QStringLiteral("insert into SKLAD (NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA, DATEPOLUCHENO, NSKLRAZP,"
                       " KOLICHESTVO, ED_CENA_LV, USD, EUR, PROCENT_OTST, PROCENT_DDS, KOMIS, NUMSHIFYR, KOLICH_SERII)"
                       " values (:M, :K, :F, :D, :D, :R, :Q, :L, 0, :E, 0, 20, 0.5, 0, 0) returning AUTONUM"),
        {{QStringLiteral("M"), material}, {QStringLiteral("K"), supplier}, {QStringLiteral("F"), number},
         {QStringLiteral("D"), QDateTime(document, QTime(10, 0))}, {QStringLiteral("R"), receipt_++},
         {QStringLiteral("Q"), quantity}, {QStringLiteral("L"), lv}, {QStringLiteral("E"), eur}})
        .value(QStringLiteral("AUTONUM")).toInt();
}

void TstStockInquiriesData::out(int line, int kind, double quantity, const QDate& date)
{
    f_.exec(QStringLiteral("insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO, DATE_DVIGENIE)"
                           " values (:L, :V, :Q, :D)"),
            {{QStringLiteral("L"), line}, {QStringLiteral("V"), kind}, {QStringLiteral("Q"), quantity},
             {QStringLiteral("D"), QDateTime(date, QTime(15, 30))}});
}

QHash<int, QVariantMap> TstStockInquiriesData::perMaterial(const QString& sql, const SqlParams& params)
{
    QHash<int, QVariantMap> out;
    const DbResult r = f_.db().query(sql, params);
    for (const DbRow& row : r.rows) {
        QVariantMap m;
        for (int i = 0; i < r.columns.size(); ++i) m.insert(r.columns[i].name, row[i]);
        out.insert(m.value(QStringLiteral("NMATERIAL")).toInt(), m);
    }
    return out;
}

void TstStockInquiriesData::stockAtDateIsOnHandLessWhatMovedSince_data()
{
    QTest::addColumn<QDate>("at");
    QTest::newRow("before any delivery") << QDate(2026, 1, 5);
    QTest::newRow("the day of a delivery and of outflows") << QDate(2026, 3, 1);
    QTest::newRow("mid-year") << QDate(2026, 6, 30);
    QTest::newRow("after everything") << QDate(2026, 12, 31);
}

// A prepared history: three lines of one material received through the year, each drawn, sold,
// dispatched and claimed defective at dates before and after the chosen day.
void TstStockInquiriesData::stockAtDateIsOnHandLessWhatMovedSince()
{
    QFETCH(QDate, at);
    const int a = line(500, QDate(2026, 2, 1), 100, 2);
    const int b = line(500, QDate(2026, 3, 1), 50, 4);
    const int c = line(500, QDate(2026, 9, 15), 30, 3);
    line(501, QDate(2026, 4, 1), 20, 0, 1.5);
    out(a, 1, 10, QDate(2026, 2, 10));
    out(a, 2, 5, QDate(2026, 3, 1));
    out(b, 3, 7, QDate(2026, 3, 1));
    out(b, 1, 8, QDate(2026, 7, 1));
    out(a, 4, 2, QDate(2026, 11, 2));
    out(c, 1, 4, QDate(2026, 10, 1));

    const auto now = perMaterial(QStringLiteral("select NMATERIAL, sum(NALICHNOST) as NALICHNOST from SKLADNALICH(1, 100, 1, 1000000)"
                                                " group by NMATERIAL"), {});
    const QDateTime next(at.addDays(1), QTime(0, 0));
    const auto deliveredSince = perMaterial(QStringLiteral("select NMATERIAL, sum(KOLICHESTVO) as Q from SKLAD"
                                                           " where DATEFAKTURA >= :N group by NMATERIAL"),
                                            {{QStringLiteral("N"), next}});
    const auto leftSince = perMaterial(QStringLiteral("select s.NMATERIAL, sum(d.KOLICHESTVO) as Q from SKLAD_DVIGENIE d"
                                                      " join SKLAD s on s.AUTONUM = d.AUTONUM_SKLAD"
                                                      " where d.DATE_DVIGENIE >= :N group by s.NMATERIAL"),
                                       {{QStringLiteral("N"), next}});
    const auto then = perMaterial(QStringLiteral("select * from SKLADNALICH_KYMDATA(1, 100, 1, 1000000, :D)"),
                                  {{QStringLiteral("D"), QDateTime(at, QTime(0, 0))}});
    for (const int material : {500, 501}) {
        const double expected = now[material].value(QStringLiteral("NALICHNOST")).toDouble()
                                - deliveredSince.value(material).value(QStringLiteral("Q")).toDouble()
                                + leftSince.value(material).value(QStringLiteral("Q")).toDouble();
        QCOMPARE(then.value(material).value(QStringLiteral("NALICHNOST")).toDouble(), expected);
    }
    // The history written out by hand for the mid-year day: 150 received, 10 + 5 + 7 + 8 gone.
    if (at == QDate(2026, 6, 30)) {
        const QVariantMap row = then.value(500);
        QCOMPARE(row.value(QStringLiteral("NALICHNOST")).toDouble(), 128.0);
        QCOMPARE(row.value(QStringLiteral("SUMMAT_DOSTAVKA")).toDouble(), 150.0);
        QCOMPARE(row.value(QStringLiteral("SUMMAT_PRODAGBI")).toDouble(), 10.0);
        QCOMPARE(row.value(QStringLiteral("SUMISK")).toDouble(), 5.0);
        QCOMPARE(row.value(QStringLiteral("SUMMAT_SKLOB")).toDouble(), 7.0);
        QCOMPARE(row.value(QStringLiteral("SUMDOST_BRAK")).toDouble(), 0.0);
        // Each line's quantity left at its own price: 85 * 2 + 43 * 4, averaged over the 128 on hand.
        QCOMPARE(row.value(QStringLiteral("OBSTA_CENA_LV")).toDouble(), 342.0);
        QCOMPARE(row.value(QStringLiteral("SREDNA_CENA_LV")).toDouble(), 342.0 / 128);
        QCOMPARE(row.value(QStringLiteral("OBSTA_CENA_PROD_LV")).toDouble(), 1280.0);
        // The selling price with the company's 20 % VAT; its value without.
        QCOMPARE(row.value(QStringLiteral("PRODAGNA_CENA")).toDouble(), 12.0);
    }
    if (at == QDate(2026, 1, 5)) QVERIFY(then.isEmpty());
}

void TstStockInquiriesData::averagePriceOverNoQuantityIsEmpty()
{
    QVERIFY(averagePrice(12.5, 0).isNull());
    QCOMPARE(averagePrice(12.5, 5).toDouble(), 2.5);
    // A material priced only in EUR has no BGN average; one delivered 0 has no average at all.
    line(501, QDate(2026, 4, 1), 20, 0, 1.5);
    line(502, QDate(2026, 4, 1), 0, 3);
    const auto rows = perMaterial(QStringLiteral("select * from SKLADNALICH_KYMDATA(1, 100, 1, 1000000, :D)"),
                                  {{QStringLiteral("D"), QDateTime(QDate(2026, 5, 1), QTime(0, 0))}});
    QVERIFY(rows.value(501).value(QStringLiteral("SREDNA_CENA_LV")).isNull());
    QVERIFY(rows.value(501).value(QStringLiteral("OBSTA_CENA_LV")).isNull());
    QCOMPARE(rows.value(501).value(QStringLiteral("SREDNA_CENA_EUR")).toDouble(), 1.5);
    QVERIFY(rows.value(502).value(QStringLiteral("SREDNA_CENA_LV")).isNull());
    QCOMPARE(rows.value(502).value(QStringLiteral("NALICHNOST")).toDouble(), 0.0);
}

// A material bought in two currencies, part of it gone: today's stock at the date is valued exactly
// as the stock list values the same lines, currency by currency.
void TstStockInquiriesData::stockAtDateValuedAsTheStockList()
{
    const int lv = line(500, QDate(2026, 2, 1), 50, 2);
    line(500, QDate(2026, 3, 1), 50, 0, 1);
    const int both = line(500, QDate(2026, 4, 1), 20, 3, 1.5);
    line(502, QDate(2026, 4, 1), 10, 0);  // not priced at all
    out(lv, 1, 10, QDate(2026, 4, 2));
    out(both, 3, 5, QDate(2026, 4, 3));
    const auto stock = perMaterial(QStringLiteral("select NMATERIAL, sum(NALICHNOST) as NALICHNOST,"
                                                  " sum(OBSTA_CENA_LV) as LV, sum(OBSTA_CENA_USD) as USD,"
                                                  " sum(OBSTA_CENA_EUR) as EUR from SKLADNALICH(1, 100, 1, 1000000)"
                                                  " group by NMATERIAL"), {});
    const auto at = perMaterial(QStringLiteral("select * from SKLADNALICH_KYMDATA(1, 100, 1, 1000000, :D)"),
                                {{QStringLiteral("D"), QDateTime(QDate(2026, 12, 31), QTime(0, 0))}});
    const QVariantMap s = stock.value(500), a = at.value(500);
    QCOMPARE(a.value(QStringLiteral("NALICHNOST")).toDouble(), s.value(QStringLiteral("NALICHNOST")).toDouble());
    QCOMPARE(a.value(QStringLiteral("OBSTA_CENA_LV")).toDouble(), s.value(QStringLiteral("LV")).toDouble());
    QCOMPARE(a.value(QStringLiteral("OBSTA_CENA_EUR")).toDouble(), s.value(QStringLiteral("EUR")).toDouble());
    QCOMPARE(a.value(QStringLiteral("OBSTA_CENA_LV")).toDouble(), 40 * 2 + 15 * 3.0);
    QCOMPARE(a.value(QStringLiteral("OBSTA_CENA_EUR")).toDouble(), 50 * 1 + 15 * 1.5);
    QVERIFY(a.value(QStringLiteral("OBSTA_CENA_USD")).isNull());
    // Each currency's value is what its own lines hold at its average: 50 + 15 priced in EUR, 40 + 15 in BGN.
    QCOMPARE(65 * a.value(QStringLiteral("SREDNA_CENA_EUR")).toDouble(), a.value(QStringLiteral("OBSTA_CENA_EUR")).toDouble());
    QCOMPARE(55 * a.value(QStringLiteral("SREDNA_CENA_LV")).toDouble(), a.value(QStringLiteral("OBSTA_CENA_LV")).toDouble());
    QCOMPARE(a.value(QStringLiteral("OBSTO_PROD_MINUS_DOST_LV")).toDouble(), 105 * 10.0 - 125);
    QVERIFY(at.value(502).value(QStringLiteral("SREDNA_CENA_LV")).isNull());
    QCOMPARE(at.value(502).value(QStringLiteral("NALICHNOST")).toDouble(), 10.0);
}

void TstStockInquiriesData::stockAtDateAveragesEachCurrencyOverItsLines_data()
{
    QTest::addColumn<double>("eurGone");
    QTest::addColumn<QVariant>("averageEur");
    QTest::addColumn<double>("valueEur");
    QTest::newRow("an EUR line beside BGN lines") << 0.0 << QVariant(2.0) << 60.0;
    QTest::newRow("part of the EUR line gone") << 10.0 << QVariant(2.0) << 40.0;
    QTest::newRow("the EUR line gone") << 30.0 << QVariant() << 0.0;
}

// 100 bought in BGN only (20 of them sold), 30 in EUR only: each average is its own lines' value over
// what those lines hold, never over the BGN lines' quantity too.
void TstStockInquiriesData::stockAtDateAveragesEachCurrencyOverItsLines()
{
    QFETCH(double, eurGone);
    QFETCH(QVariant, averageEur);
    QFETCH(double, valueEur);
    const int lv = line(500, QDate(2026, 2, 1), 100, 1.5);
    const int eur = line(500, QDate(2026, 2, 2), 30, 0, 2);
    out(lv, 1, 20, QDate(2026, 3, 1));
    if (eurGone > 0) out(eur, 2, eurGone, QDate(2026, 3, 1));
    const QVariantMap a = perMaterial(QStringLiteral("select * from SKLADNALICH_KYMDATA(1, 100, 1, 1000000, :D)"),
                                      {{QStringLiteral("D"), QDateTime(QDate(2026, 6, 30), QTime(0, 0))}}).value(500);
    QCOMPARE(a.value(QStringLiteral("NALICHNOST")).toDouble(), 110 - eurGone);
    QCOMPARE(a.value(QStringLiteral("SREDNA_CENA_LV")).toDouble(), 1.5);
    QCOMPARE(a.value(QStringLiteral("OBSTA_CENA_LV")).toDouble(), 120.0);
    QCOMPARE(a.value(QStringLiteral("SREDNA_CENA_EUR")).isNull(), averageEur.isNull());
    if (!averageEur.isNull()) QCOMPARE(a.value(QStringLiteral("SREDNA_CENA_EUR")).toDouble(), averageEur.toDouble());
    QCOMPARE(a.value(QStringLiteral("OBSTA_CENA_EUR")).toDouble(), valueEur);
}

void TstStockInquiriesData::saleLeavesStockAtItsDocumentDate_data()
{
    QTest::addColumn<int>("object");
    QTest::addColumn<bool>("recordedBeforeUpgrade");
    QTest::newRow("from a warehouse") << 0 << false;
    QTest::newRow("from a warehouse object") << 1 << false;
    QTest::newRow("from a warehouse, stored before the upgrade") << 0 << true;
    QTest::newRow("from a warehouse object, stored before the upgrade") << 1 << true;
}

// A sale dated 15.06 and recorded later (today) leaves the stock on 15.06, not on the day it was
// recorded; write-offs stored before the upgrade that dates them are dated so by the upgrade. A
// corrected document date takes the write-off with it.
void TstStockInquiriesData::saleLeavesStockAtItsDocumentDate()
{
    QFETCH(int, object);
    QFETCH(bool, recordedBeforeUpgrade);
    const QDate saleDate(2026, 6, 15);
    QTemporaryDir oldDir;
    std::unique_ptr<SQLConnection> old;
    if (recordedBeforeUpgrade) {
        QVector<Migration> before;
        for (const Migration& m : Schema::migrations())
            if (m.version < kSalesDatedVersion) before << m;
        old = std::make_unique<SQLConnection>(TestDb::paramsFor(oldDir.filePath(QStringLiteral("old.fdb"))));
        old->create();
        Migrator(*old, before).upgrade();
        prepare(*old);
    }
    SQLConnection& db = recordedBeforeUpgrade ? *old : f_.db();
    db.execute(QStringLiteral("insert into SKLAD (NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA, DATEPOLUCHENO, KOLICHESTVO,"
                              " ED_CENA_LV, USD, EUR) values (500, 60, 'F1', '10.01.2026', '10.01.2026', 100, 2, 0, 0)"));
    db.execute(QStringLiteral("insert into SKL_OBEKTI_MATERIALI (NSKL_OBEKT, NMATERIAL, POLUCHENO, DATEPOLUCHENO, ED_CENA_LV)"
                              " values (1, 500, 40, '10.01.2026', 2)"));
    Sales::SaleHeader h;
    h.documentType = 2;
    h.counterparty = 60;
    h.recipientName = QStringLiteral("Доставчик А");
    h.paymentType = 1;
    h.stockReceiptNumber = QStringLiteral("7");
    h.vatPct = 20;
    h.date = saleDate;
    Sales::SaleLine l;
    l.material = 500;
    l.quantity = 30;
    l.priceLv = 5;
    l.warehouseObject = object;
    const Sales::Recorded sale = Sales::recordSale(db, h, {l});
    if (recordedBeforeUpgrade) Migrator(db, Schema::migrations()).upgrade();

    // The first and the last date of the sale's write-offs, and how many there are.
    const auto dated = [&db] {
        const DbRow r = db.query(QStringLiteral("select min(DATE_DVIGENIE), max(DATE_DVIGENIE), count(*) from SKLAD_DVIGENIE"
                                                " where VID_DVIGENIE = 1")).rows.front();
        return std::tuple{r[0].toDateTime().date(), r[1].toDateTime().date(), r[2].toInt()};
    };
    QCOMPARE(dated(), (std::tuple{saleDate, saleDate, 1}));
    if (object == 0) {
        const auto onHand = [&db](const QDate& at) {
            const DbResult r = db.query(QStringLiteral("select NALICHNOST, SUMMAT_PRODAGBI from SKLADNALICH_KYMDATA(1, 100, 1, 1000000, :D)"),
                                        {{QStringLiteral("D"), QDateTime(at, QTime(0, 0))}});
            return std::pair{r.rows.front()[0].toDouble(), r.rows.front()[1].toDouble()};
        };
        QCOMPARE(onHand(saleDate.addDays(-1)), (std::pair{100.0, 0.0}));
        QCOMPARE(onHand(saleDate), (std::pair{70.0, 30.0}));
        QCOMPARE(onHand(QDate(2026, 6, 30)), (std::pair{70.0, 30.0}));
    }
    // The document date corrected: its write-off follows.
    db.execute(QStringLiteral("update PRODAGBI set DATEFAKTURA = '20.06.2026' where AUTONUM = :K"),
               {{QStringLiteral("K"), sale.lineKeys.front()}});
    QCOMPARE(dated(), (std::tuple{QDate(2026, 6, 20), QDate(2026, 6, 20), 1}));
}

void TstStockInquiriesData::movementDatesAreOpenAndTakeWholeDays()
{
    line(500, QDate(2001, 5, 1), 1, 1);   // before the old fixed span
    line(500, QDate(2026, 6, 10), 2, 1);  // 10:00 on the last day picked
    line(500, QDate(2031, 1, 1), 3, 1);   // after it
    const auto count = [this](const DateBounds& b) {
        return f_.db().query(QStringLiteral("select count(*), coalesce(sum(KOLICHESTVO), 0) from SKLAD_SPRAVKA_DVIGENIE(1, 100, 1, 1000000, :PO, :PD, :FO, :FD)"),
                             {{QStringLiteral("PO"), b.receivedFrom}, {QStringLiteral("PD"), b.receivedTo},
                              {QStringLiteral("FO"), b.documentFrom}, {QStringLiteral("FD"), b.documentTo}})
            .rows.front()[1].toDouble();
    };
    const Period june{QDate(2026, 6, 1), QDate(2026, 6, 10)};
    QCOMPARE(count(dateBounds(DateBasis::All, june, june)), 6.0);
    QCOMPARE(count(dateBounds(DateBasis::Received, june, {})), 2.0);
    QCOMPARE(count(dateBounds(DateBasis::Document, {}, june)), 2.0);
    QCOMPARE(count(dateBounds(DateBasis::Document, {}, Period{QDate(2026, 6, 11), std::nullopt})), 3.0);
    QCOMPARE(count(dateBounds(DateBasis::Received, Period{std::nullopt, QDate(2026, 6, 9)}, {})), 1.0);
    // The receipts inquiry takes the same bounds.
    const DateBounds all = dateBounds(DateBasis::All, {}, {});
    QCOMPARE(f_.count(QStringLiteral("select count(*) from SKLAD_SPRAVKA_SKLRAZP(:PO, :PD, :FO, :FD)"),
                      {{QStringLiteral("PO"), all.receivedFrom}, {QStringLiteral("PD"), all.receivedTo},
                       {QStringLiteral("FO"), all.documentFrom}, {QStringLiteral("FD"), all.documentTo}}),
             3);
}

void TstStockInquiriesData::summaryAndMinMaxPerMaterial()
{
    const int a = line(500, QDate(2026, 2, 1), 10, 2);
    const int b = line(500, QDate(2026, 3, 1), 5, 2);
    out(a, 1, 3, QDate(2026, 3, 1));
    out(b, 2, 1, QDate(2026, 3, 2));
    out(b, 3, 1, QDate(2026, 3, 2));
    out(a, 4, 2, QDate(2026, 3, 2));
    const auto summary = perMaterial(QStringLiteral("select * from SKLAD_SPRAVKA_MATERIALI(1, 100, 1, 1000000)"), {});
    QCOMPARE(summary.size(), 1);
    const QVariantMap s = summary.value(500);
    QCOMPARE(s.value(QStringLiteral("SUMADOSTAVKA")).toDouble(), 15.0);
    QCOMPARE(s.value(QStringLiteral("SUMAPRODAGBI")).toDouble(), 3.0);
    QCOMPARE(s.value(QStringLiteral("SUMAISKANIA")).toDouble(), 1.0);
    QCOMPARE(s.value(QStringLiteral("SUMAEKSPEDIRANO")).toDouble(), 1.0);
    QCOMPARE(s.value(QStringLiteral("SUMDOST_BRAK")).toDouble(), 2.0);
    QCOMPARE(s.value(QStringLiteral("SUMANALICHNOST")).toDouble(), 8.0);
    QCOMPARE(s.value(QStringLiteral("MIN_KOL")).toDouble(), 10.0);
    // Every material of the warehouses, delivered or not.
    const auto minMax = perMaterial(QStringLiteral("select * from MATERIALI_SPRAVKA(1, 1)"), {});
    QCOMPARE(minMax.size(), 2);
    QCOMPARE(minMax.value(500).value(QStringLiteral("NALICHNOST")).toDouble(), 8.0);
    QCOMPARE(minMax.value(501).value(QStringLiteral("NALICHNOST")).toDouble(), 0.0);
    QCOMPARE(minMax.value(501).value(QStringLiteral("PRODAGNACENA_EUR")).toDouble(), 3.0);
}

void TstStockInquiriesData::levels_data()
{
    QTest::addColumn<double>("onHand");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("underMinimum");
    QTest::addColumn<bool>("overMaximum");
    // Minimum 10 throughout.
    QTest::newRow("5 of 10..20: red") << 5.0 << 20.0 << int(Level::BelowMinimum) << true << false;
    QTest::newRow("10 of 10..20: within") << 10.0 << 20.0 << int(Level::Within) << false << false;
    QTest::newRow("20 of 10..20: within, at the maximum") << 20.0 << 20.0 << int(Level::Within) << false << true;
    QTest::newRow("25 of 10..20: blue") << 25.0 << 20.0 << int(Level::AboveMaximum) << false << true;
    QTest::newRow("25 with maximum 0: black") << 25.0 << 0.0 << int(Level::Within) << false << false;
    QTest::newRow("5 with maximum 0: red") << 5.0 << 0.0 << int(Level::BelowMinimum) << true << false;
}

void TstStockInquiriesData::levels()
{
    QFETCH(double, onHand);
    QFETCH(double, maximum);
    QFETCH(int, expected);
    QFETCH(bool, underMinimum);
    QFETCH(bool, overMaximum);
    QCOMPARE(int(level(onHand, 10, maximum)), expected);
    QVERIFY(listedUnder(0, onHand, 10, maximum));
    QCOMPARE(listedUnder(1, onHand, 10, maximum), underMinimum);
    QCOMPARE(listedUnder(2, onHand, 10, maximum), overMaximum);
}

void TstStockInquiriesData::shownPrices()
{
    QCOMPARE(withVat(10, 20), 12.0);
    QCOMPARE(withVat(10, 0), 10.0);
    const Shown eurOnly = lastPriced(0, 0, 1.5, QStringLiteral("BGN"));
    QCOMPARE(eurOnly.price.toDouble(), 1.5);
    QCOMPARE(eurOnly.currency, QStringLiteral("EUR"));
    const Shown later = lastPriced(2, 3, 0);
    QCOMPARE(later.currency, QStringLiteral("USD"));
    const Shown none = lastPriced(0, 0, 0, QStringLiteral("BGN"));
    QVERIFY(none.price.isNull());
    QCOMPARE(none.currency, QStringLiteral("BGN"));
}

void TstStockInquiriesData::storedReceiptOfOneDocument()
{
    // A document number with a quote is a value, never part of an expression.
    const QString number = QStringLiteral("F'1 or 1=1");
    for (const int m : {500, 501, 502}) line(m, QDate(2026, 4, 2), m - 490, 2, 0, 60, number);
    line(500, QDate(2026, 4, 2), 99, 2, 0, 61, number);                  // another supplier
    line(500, QDate(2026, 4, 3), 99, 2, 0, 60, number);                  // another date
    line(500, QDate(2026, 4, 2), 99, 2, 0, 60, QStringLiteral("F'1"));   // another number
    const Receipt r = storedReceipt(f_.db(), 60, number, QDate(2026, 4, 2));
    QCOMPARE(r.lines.size(), 3);
    QCOMPARE(r.lines[2].material, 502);
    QCOMPARE(r.lines[2].quantity, 12.0);
    QCOMPARE(r.lines[0].vatPct, 20.0);
    QCOMPARE(r.supplierName, QStringLiteral("Доставчик А"));
    QCOMPARE(r.receiptNumber, 3);
    QCOMPARE(r.received, QDate(2026, 4, 2));
    QVERIFY(storedReceipt(f_.db(), 60, QStringLiteral("none"), QDate(2026, 4, 2)).lines.isEmpty());
}

void TstStockInquiriesData::warehousePointLines()
{
    const int a = line(500, QDate(2026, 2, 1), 10, 2);
    line(502, QDate(2026, 2, 1), 4, 5);
    out(a, 1, 3, QDate(2026, 3, 1));
    out(a, 4, 1, QDate(2026, 3, 1));
    const auto rows = perMaterial(QStringLiteral("select * from SKLAD_KONTR_NALICH(1, 1, 1, 100000)"), {});
    QCOMPARE(rows.size(), 1);
    const QVariantMap r = rows.value(500);
    QCOMPARE(r.value(QStringLiteral("AUTONUM")).toInt(), a);
    QCOMPARE(r.value(QStringLiteral("OBSTO_LV")).toDouble(), 20.0);
    QCOMPARE(r.value(QStringLiteral("STOINOST_DDS")).toDouble(), 4.0);
    QCOMPARE(r.value(QStringLiteral("KOMIS_OBSTO")).toDouble(), 5.0);
    QCOMPARE(r.value(QStringLiteral("SUMMAT_PRODAGBI")).toDouble(), 3.0);
    QCOMPARE(r.value(QStringLiteral("SUMDOST_BRAK")).toDouble(), 1.0);
    QCOMPARE(r.value(QStringLiteral("NALICHNOST")).toDouble(), 6.0);
    QCOMPARE(r.value(QStringLiteral("OBSTA_CENA_PROD_LV")).toDouble(), 100.0);
}

// 50 at 2 BGN less 10 %, 20 % VAT: the points list and the receipts give the same VAT and value.
void TstStockInquiriesData::pointsAndReceiptsApplyTheDiscount()
{
    const int a = line(500, QDate(2026, 2, 1), 50, 2);
    f_.exec(QStringLiteral("update SKLAD set PROCENT_OTST = 10 where AUTONUM = :A"), {{QStringLiteral("A"), a}});
    const QVariantMap points = perMaterial(QStringLiteral("select * from SKLAD_KONTR_NALICH(1, 100, 1, 100000)"), {}).value(500);
    const QVariantMap receipt = perMaterial(QStringLiteral("select * from SKLAD_SPRAVKA_SKLRAZP(null, null, null, null)"), {}).value(500);
    QCOMPARE(receipt.value(QStringLiteral("STOINOST_DDS")).toDouble(), 18.0);
    QCOMPARE(points.value(QStringLiteral("STOINOST_DDS")).toDouble(), 18.0);
    QCOMPARE(points.value(QStringLiteral("OBSTO_LV")).toDouble(), 90.0);
    QCOMPARE(points.value(QStringLiteral("OBSTO_LV")).toDouble() + points.value(QStringLiteral("STOINOST_DDS")).toDouble(),
             receipt.value(QStringLiteral("OBSTO_LV")).toDouble());
    QCOMPARE(points.value(QStringLiteral("OBSTO_PROD_MINUS_DOST_LV")).toDouble(), 500.0 - 90);
}

void TstStockInquiriesData::packagingAccount()
{
    f_.exec(QStringLiteral("insert into TIP_AMBALAG (IME_AMBALAG) values ('Палет')"));
    f_.exec(QStringLiteral("insert into TIP_AMBALAG (IME_AMBALAG) values ('Каса')"));
    f_.exec(QStringLiteral("insert into TIP_AMBALAG (IME_AMBALAG) values ('Бидон')"));
    const auto add = [this](const char* table, int supplier, const char* kind, int count) {
        f_.exec(QStringLiteral("insert into %1 (NKONTRAGENT, NAMBALAG, BROI_AMB, DATE_AMB)"
                               " select :K, NAMBALAG, :B, current_timestamp from TIP_AMBALAG where IME_AMBALAG = :N")
                    .arg(QString::fromLatin1(table)),
                {{QStringLiteral("K"), supplier}, {QStringLiteral("B"), count}, {QStringLiteral("N"), QString::fromUtf8(kind)}});
    };
    add("AMB_FIRMA_DOST", 60, "Палет", 10);
    add("AMB_FIRMA_DOST", 60, "Палет", 5);
    add("AMB_DOST_FIRMA", 60, "Палет", 12);
    add("AMB_DOST_FIRMA", 60, "Каса", 2);
    add("AMB_FIRMA_DOST", 61, "Бидон", 7);
    const QVector<PackagingBalance> account = packaging(f_.db(), 60);
    QCOMPARE(account.size(), 2);
    QCOMPARE(account[0].kind, QStringLiteral("Каса"));
    QCOMPARE(account[0].held, -2);
    QCOMPARE(account[1].kind, QStringLiteral("Палет"));
    QCOMPARE(account[1].received, 15);
    QCOMPARE(account[1].returned, 12);
    QCOMPARE(account[1].held, 3);
    QVERIFY(packaging(f_.db(), 62).isEmpty());
}

// A kind of packaging some account holds is refused by the window's check and by the server; an
// unused one goes.
void TstStockInquiriesData::packagingKindHeldByAnAccountStays()
{
    f_.exec(QStringLiteral("insert into TIP_AMBALAG (NAMBALAG, IME_AMBALAG) values (1, 'Палет')"));
    f_.exec(QStringLiteral("insert into TIP_AMBALAG (NAMBALAG, IME_AMBALAG) values (2, 'Каса')"));
    f_.exec(QStringLiteral("insert into TIP_AMBALAG (NAMBALAG, IME_AMBALAG) values (3, 'Бидон')"));
    f_.exec(QStringLiteral("insert into AMB_FIRMA_DOST (NKONTRAGENT, NAMBALAG, BROI_AMB, DATE_AMB) values (60, 1, 4, '01.05.2026')"));
    f_.exec(QStringLiteral("insert into AMB_DOST_FIRMA (NKONTRAGENT, NAMBALAG, BROI_AMB, DATE_AMB) values (61, 2, 1, '02.05.2026')"));
    const QString refused = QStringLiteral("Има движение на амбалаж от този вид - ИЗТРИВАНЕТО ЗАБРАНЕНО !");
    for (const int used : {1, 2}) {
        QCOMPARE(packagingKindDeleteRefusal(f_.db(), used), refused);
        try {
            f_.exec(QStringLiteral("delete from TIP_AMBALAG where NAMBALAG = :K"), {{QStringLiteral("K"), used}});
            QFAIL("the server deleted a kind of packaging in use");
        } catch (const DbError& e) {
            QVERIFY2(e.message().contains(refused), qPrintable(e.message()));
        }
        QVERIFY_THROWS_EXCEPTION(DbError, f_.exec(QStringLiteral("update TIP_AMBALAG set NAMBALAG = 9 where NAMBALAG = :K"),
                                                  {{QStringLiteral("K"), used}}));
    }
    f_.exec(QStringLiteral("update TIP_AMBALAG set IME_AMBALAG = 'Европалет' where NAMBALAG = 1"));  // renaming keeps the rows
    QCOMPARE(packagingKindDeleteRefusal(f_.db(), 3), QString());
    f_.exec(QStringLiteral("delete from TIP_AMBALAG where NAMBALAG = 3"));
    QCOMPARE(f_.count(QStringLiteral("select count(*) from TIP_AMBALAG")), 2);
}

QTEST_MAIN(TstStockInquiriesData)
#include "tst_stockinquiries_data.moc"
