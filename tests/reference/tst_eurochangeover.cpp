#include "platform/db/dberror.h"
#include "reference/eurochangeover.h"
#include "support/dbfixture.h"

#include <QElapsedTimer>

using namespace Qt::Literals::StringLiterals;
using BaseCurrency::Currency;
using Outcome = EuroChangeover::PriceConversion::Outcome;

Q_DECLARE_METATYPE(Currency)

namespace {

QDateTime day(int y, int m, int d) { return QDateTime(QDate(y, m, d), QTime(0, 0)); }
// A timestamp read back is a wall-clock value: its date and time are what was stored.
QDateTime wallClock(const QDateTime& t) { return QDateTime(t.date(), t.time()); }

} // namespace

// The guard on the company's base-currency setting and the one-off price conversion, without a window.
class TstEuroChangeover : public QObject
{
    Q_OBJECT
private slots:
    void init() { f_.start(); }
    void cleanup() { f_.stop(); }
    void everyDocumentTableCounts_data();
    void everyDocumentTableCounts();
    void settingRefusal_data();
    void settingRefusal();
    void thousandMaterialsConvertedOnceWithHistory();
    void nothingConvertedWithoutTheEuro();
    void aFaultMidwayStoresNothing();

private:
    void makeEuroCompany() { f_.exec(u"update FIRMA set EVRO_DA_NE = 1, EVRO_OT_DATA = '01.01.2026'"_s); }
    QList<QVariantList> rows(const QString& sql)
    {
        QList<QVariantList> out;
        for (const DbRow& r : f_.db().query(sql).rows) out << QVariantList(r.begin(), r.end());
        return out;
    }
    DbFixture f_;
};

void TstEuroChangeover::everyDocumentTableCounts_data()
{
    QTest::addColumn<QString>("setup");   // rows the document needs, dated :OTHER
    QTest::addColumn<QString>("insert");  // one document dated :D (:N and :KEY tell the two apart)
    QTest::newRow("sale") << "" << "insert into PRODAGBI (NUMPRODAGBA, DATEFAKTURA) values (:KEY, :D)";
    QTest::newRow("delivery") << ""
                              << "insert into SKLAD (NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA, KOLICHESTVO) "
                                 "values (1, 1, :N, :D, 5)";
    QTest::newRow("defective goods")
        << "insert into SKLAD (AUTONUM, NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA, KOLICHESTVO) "
           "values (900, 1, 1, 'Д1', :OTHER, 10)"
        << "insert into SKLAD_DOST_BRAK (AUTONUM_SKLAD, NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA, DATE_BRAK, "
           "KOLICH_BRAK) values (900, 1, 1, 'Д1', :OTHER, :D, 1)";
    QTest::newRow("transfer to a warehouse object")
        << "" << "insert into SKL_OBEKTI_MATERIALI (NSKL_OBEKT, NMATERIAL, POLUCHENO, DATEPOLUCHENO) "
                 "values (1, 1, 1, :D)";
    QTest::newRow("client payment") << ""
                                    << "insert into PRODAGBI_PLASTANE (NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA) "
                                       "values (1, :D, 10)";
    QTest::newRow("supplier payment") << ""
                                      << "insert into DOSTAVKI_PLASTANE (NKONTRAGENT, PLATENO_DATE, PLATENO_LV) "
                                         "values (1, :D, 10)";
    QTest::newRow("cash order") << ""
                                << "insert into KASA (NPKO, NRKO, DATEKO, SUMA_PKO, NVALUTA) values (:N, 0, :D, 10, 1)";
    QTest::newRow("requisition") << ""
                                 << "insert into ISKANIA (NISKANE, DATEISKANE, NMATERIAL, KOLICHESTVO) "
                                    "values (:KEY, :D, 1, 1)";
    QTest::newRow("batch") << "" << "insert into IZDELIE (PART_NUM_IZDELIE, DATEIZDELIE) values (:KEY, :D)";
    QTest::newRow("staff advance") << ""
                                   << "insert into SLUG_AVANS (SHIFYR, SUMA_DATE, SUMA_LV) values (1, :D, 10)";
    QTest::newRow("expense report") << ""
                                    << "insert into SLUG_OTCHET (SHIFYR, SUMA_DATE, SUMA_LV) values (1, :D, 10)";
}

// One sale on 25.12.2025 stands in the middle; the document of each kind is dated on either side
// of it, so each comparison of that kind's date column is what finds the other side.
void TstEuroChangeover::everyDocumentTableCounts()
{
    QFETCH(QString, setup);
    QFETCH(QString, insert);
    SQLConnection& db = f_.db();
    const QDateTime middle = day(2025, 12, 25);
    if (!setup.isEmpty()) f_.exec(setup, {{u"OTHER"_s, middle}});
    f_.exec(u"insert into PRODAGBI (NUMPRODAGBA, DATEFAKTURA) values ('20251225001', :D)"_s, {{u"D"_s, middle}});
    QVERIFY(!EuroChangeover::documentsOnBothSides(db, QDate(2025, 12, 22)));
    QVERIFY(!EuroChangeover::documentsOnBothSides(db, QDate(2025, 12, 30)));

    f_.exec(insert, {{u"D"_s, day(2025, 12, 20)}, {u"OTHER"_s, middle}, {u"N"_s, 1}, {u"KEY"_s, u"20251220001"_s}});
    f_.exec(insert, {{u"D"_s, day(2025, 12, 30)}, {u"OTHER"_s, middle}, {u"N"_s, 2}, {u"KEY"_s, u"20251230001"_s}});
    QVERIFY(EuroChangeover::documentsOnBothSides(db, QDate(2025, 12, 22)));  // only this kind is before
    QVERIFY(EuroChangeover::documentsOnBothSides(db, QDate(2025, 12, 30)));  // only this kind is on the day
    QVERIFY(!EuroChangeover::documentsOnBothSides(db, QDate(2025, 12, 31)));
    QVERIFY(!EuroChangeover::documentsOnBothSides(db, QDate(2025, 12, 20)));
}

void TstEuroChangeover::settingRefusal_data()
{
    QTest::addColumn<bool>("storedEuro");          // stored: euro from 01.01.2026, else leva
    QTest::addColumn<QStringList>("saleDates");
    QTest::addColumn<bool>("pricesConverted");
    QTest::addColumn<Currency>("wanted");
    QTest::addColumn<QDate>("wantedFrom");
    QTest::addColumn<QString>("refusal");
    const QStringList both = {"20.12.2025", "05.01.2026"};
    const QString split = u"Има документи и преди, и след датата на преминаване към евро 01.01.2026 !\r"_s;
    const QDate jan = QDate(2026, 1, 1), feb = QDate(2026, 2, 1);
    const auto L = Currency::Leva, E = Currency::Euro;
    QTest::newRow("leva with documents everywhere, to euro") << false << both << false << E << jan << "";
    QTest::newRow("euro, documents only before, back to leva") << true << QStringList{"20.12.2025"} << false << L
                                                               << QDate() << "";
    QTest::newRow("euro, documents only after, date moved") << true << QStringList{"05.01.2026"} << false << E << feb
                                                            << "";
    QTest::newRow("euro, the same setting again") << true << both << true << E << jan << "";
    QTest::newRow("euro, documents on both sides, back to leva")
        << true << both << false << L << QDate() << split + u"Връщането към лева е невъзможно !"_s;
    QTest::newRow("euro, documents on both sides, date moved later")
        << true << both << false << E << feb << split + u"Промяната на датата е невъзможна !"_s;
    QTest::newRow("euro, documents on both sides, date moved earlier")
        << true << both << false << E << QDate(2025, 12, 1) << split + u"Промяната на датата е невъзможна !"_s;
    QTest::newRow("euro, a document on the cut-over day counts as after")
        << true << QStringList{"31.12.2025", "01.01.2026"} << false << L << QDate()
        << split + u"Връщането към лева е невъзможно !"_s;
    QTest::newRow("euro, prices converted, back to leva")
        << true << QStringList{} << true << L << QDate()
        << u"Цените вече са преизчислени в евро !\rВръщането към лева е невъзможно !"_s;
    QTest::newRow("euro, prices converted, date moved") << true << QStringList{} << true << E << feb << "";
}

void TstEuroChangeover::settingRefusal()
{
    QFETCH(bool, storedEuro);
    QFETCH(QStringList, saleDates);
    QFETCH(bool, pricesConverted);
    QFETCH(Currency, wanted);
    QFETCH(QDate, wantedFrom);
    QFETCH(QString, refusal);
    if (storedEuro) makeEuroCompany();
    for (const QString& d : saleDates)
        f_.exec(u"insert into PRODAGBI (NUMPRODAGBA, DATEFAKTURA) values ('1', :D)"_s, {{u"D"_s, d}});
    if (pricesConverted)
        f_.exec(u"insert into PRESMETANE_CENI_EVRO (NPRESMETANE, DATA_PRESMETANE) values (1, '02.01.2026')"_s);
    QCOMPARE(EuroChangeover::settingRefusal(f_.db(), BaseCurrency::Settings{wanted, wantedFrom}), refusal);
}

void TstEuroChangeover::thousandMaterialsConvertedOnceWithHistory()
{
    SQLConnection& db = f_.db();
    makeEuroCompany();
    // Prices of many shapes; every fifth material has no retail price, and its USD/EUR prices stay.
    db.executeImmediate(uR"(execute block as
        declare i integer = 1;
        begin
          while (i <= 1000) do begin
            insert into MATERIALI (NMATERIAL, IMEMATERIAL, ED_CENA, PRODAGNA_CENA, PROD_CENA_LV_DREBNO,
                                   PRODAGNA_CENA_USD, PRODAGNA_CENA_EUR)
            values (:i, 'М' || :i, :i * 0.37, :i * 1.13 + 0.005,
                    case when mod(:i, 5) = 0 then null else :i * 1.47 end, 2.5, 1.25);
            i = i + 1;
          end
        end)"_s);
    f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL) values (1001, 'Без цени')"_s);
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (60, 1, 'Клиент')"_s);
    for (int m = 1; m <= 40; ++m)
        f_.exec(u"insert into KONTR_MAT_CENI (NKONTRAGENT, NMATERIAL, SPEC_CENA) values (60, :M, :P)"_s,
                {{u"M"_s, m}, {u"P"_s, m * 0.99}});
    f_.exec(u"update MATERIALI set ED_CENA = 1, PRODAGNA_CENA = 100, PROD_CENA_LV_DREBNO = 1.95583 "
            u"where NMATERIAL = 7"_s);
    const QString materialPrices = u"select NMATERIAL, ED_CENA, PRODAGNA_CENA, PROD_CENA_LV_DREBNO from MATERIALI "
                                   u"where NMATERIAL <= 1000 order by NMATERIAL"_s;
    const QString specialPrices =
        u"select AUTONUM, NKONTRAGENT, NMATERIAL, SPEC_CENA from KONTR_MAT_CENI order by AUTONUM"_s;
    const QList<QVariantList> leva = rows(materialPrices);
    const QList<QVariantList> levaSpecial = rows(specialPrices);
    QCOMPARE(leva.size(), 1000);

    const QDateTime at(QDate(2026, 1, 2), QTime(8, 30));
    QElapsedTimer timer;
    timer.start();
    const EuroChangeover::PriceConversion first = EuroChangeover::convertPrices(db, at);
    qInfo("1,000 materials and 40 special prices converted in %lld ms", timer.elapsed());
    QCOMPARE(first.outcome, Outcome::Converted);
    QCOMPARE(first.materials, 1000);
    QCOMPARE(first.specialPrices, 40);
    QCOMPARE(wallClock(EuroChangeover::pricesConvertedAt(db)), at);

    // Every price converted by the legal rule, an empty one left empty; the old values kept whole.
    const auto euro = [](const QVariant& v) {
        return v.isNull() ? QVariant() : QVariant(BaseCurrency::levaToEuro(v.toDouble()));
    };
    const QList<QVariantList> converted = rows(materialPrices);
    for (int i = 0; i < leva.size(); ++i)
        for (int c = 1; c <= 3; ++c)
            QCOMPARE(converted[i][c], euro(leva[i][c]));
    QCOMPARE(rows(u"select ED_CENA, PRODAGNA_CENA, PROD_CENA_LV_DREBNO from MATERIALI where NMATERIAL = 7"_s).front(),
             (QVariantList{0.51, 51.13, 1.0}));
    QVERIFY(converted[4][3].isNull());
    QCOMPARE(f_.count(u"select count(*) from MATERIALI where PRODAGNA_CENA_USD = 2.5 and PRODAGNA_CENA_EUR = 1.25"_s),
             1000);
    QCOMPARE(rows(u"select NMATERIAL, ED_CENA, PRODAGNA_CENA, PROD_CENA_LV_DREBNO from MATERIALI_CENI_LV "
                  u"order by NMATERIAL"_s),
             leva);
    QCOMPARE(f_.count(u"select count(*) from MATERIALI_CENI_LV where DATA_PRESMETANE = '02.01.2026 08:30'"_s), 1000);
    QCOMPARE(rows(u"select AUTONUM, NKONTRAGENT, NMATERIAL, SPEC_CENA from KONTR_MAT_CENI_LV order by AUTONUM"_s),
             levaSpecial);
    const QList<QVariantList> special = rows(specialPrices);
    for (int i = 0; i < special.size(); ++i) QCOMPARE(special[i][3], euro(levaSpecial[i][3]));
    QCOMPARE(f_.count(u"select count(*) from PRESMETANE_CENI_EVRO "
                      u"where BROI_MATERIALI = 1000 and BROI_SPEC_CENI = 40"_s),
             1);

    // The second run converts nothing and says when the first one did.
    const EuroChangeover::PriceConversion second = EuroChangeover::convertPrices(db, at.addDays(1));
    QCOMPARE(second.outcome, Outcome::AlreadyConverted);
    QCOMPARE(wallClock(second.at), at);
    QCOMPARE(second.materials + second.specialPrices, 0);
    QCOMPARE(rows(materialPrices), converted);
    QCOMPARE(rows(specialPrices), special);
    QCOMPARE(f_.count(u"select count(*) from MATERIALI_CENI_LV"_s), 1000);
    QCOMPARE(f_.count(u"select count(*) from KONTR_MAT_CENI_LV"_s), 40);
}

void TstEuroChangeover::nothingConvertedWithoutTheEuro()
{
    f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, PRODAGNA_CENA) values (1, 'Болт', 10)"_s);
    const EuroChangeover::PriceConversion r = EuroChangeover::convertPrices(f_.db(), day(2026, 1, 2));
    QCOMPARE(r.outcome, Outcome::NotEuro);
    QCOMPARE(f_.count(u"select count(*) from MATERIALI where PRODAGNA_CENA = 10"_s), 1);
    QCOMPARE(f_.count(u"select count(*) from MATERIALI_CENI_LV"_s), 0);
    QVERIFY(!EuroChangeover::pricesConvertedAt(f_.db()).isValid());
}

void TstEuroChangeover::aFaultMidwayStoresNothing()
{
    makeEuroCompany();
    f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, PRODAGNA_CENA) values (1, 'Болт', 10)"_s);
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (60, 1, 'Клиент')"_s);
    f_.exec(u"insert into KONTR_MAT_CENI (NKONTRAGENT, NMATERIAL, SPEC_CENA) values (60, 1, 9)"_s);
    // The special prices are converted after the materials: a refusal there undoes all of it.
    f_.db().executeImmediate(u"create exception TST_OTKAZ 'отказ'"_s);
    f_.db().executeImmediate(u"create trigger TST_KONTR_MAT_CENI_BU for KONTR_MAT_CENI active before update as "
                             u"begin exception TST_OTKAZ; end"_s);
    QVERIFY_THROWS_EXCEPTION(DbError, EuroChangeover::convertPrices(f_.db(), day(2026, 1, 2)));
    QCOMPARE(f_.count(u"select count(*) from MATERIALI where PRODAGNA_CENA = 10"_s), 1);
    QCOMPARE(f_.count(u"select count(*) from MATERIALI_CENI_LV"_s), 0);
    QCOMPARE(f_.count(u"select count(*) from KONTR_MAT_CENI_LV"_s), 0);
    QVERIFY(!EuroChangeover::pricesConvertedAt(f_.db()).isValid());
}

QTEST_GUILESS_MAIN(TstEuroChangeover)
#include "tst_eurochangeover.moc"
