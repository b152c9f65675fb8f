#include "common/basecurrency.h"
#include "platform/base/clock.h"
#include "support/dbfixture.h"

#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;
using BaseCurrency::Currency;

Q_DECLARE_METATYPE(Currency)

// The base currency of a document, the names it prints and the legal conversion of leva.
class TstBaseCurrency : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Clock::reset(); }
    void levaToEuro_data();
    void levaToEuro();
    void currencyOfADocument_data();
    void currencyOfADocument();
    void names_data();
    void names();
    void readFromTheCompanyRecord();
};

void TstBaseCurrency::levaToEuro_data()
{
    QTest::addColumn<double>("leva");
    QTest::addColumn<double>("euro");
    QTest::newRow("one lev") << 1.0 << 0.51;
    QTest::newRow("the rate itself") << 1.95583 << 1.0;
    QTest::newRow("ten leva") << 10.0 << 5.11;
    QTest::newRow("a hundred leva") << 100.0 << 51.13;
    QTest::newRow("a million leva") << 1000000.0 << 511291.88;
    QTest::newRow("a stotinka") << 0.01 << 0.01;          // 0.0051 rounds up
    QTest::newRow("just under half a cent") << 0.0097 << 0.0;  // 0.00496
    QTest::newRow("exactly half a cent") << 0.00977915 << 0.01;
    QTest::newRow("half a cent below zero") << -0.00977915 << -0.01;
    QTest::newRow("a negative amount") << -100.0 << -51.13;
    QTest::newRow("zero") << 0.0 << 0.0;
    QTest::newRow("a price of 12.35") << 12.35 << 6.31;   // 6.3144
    QTest::newRow("a price of 2.49") << 2.49 << 1.27;     // 1.27311
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("not a number") << nan << nan;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << std::numeric_limits<double>::infinity();
}

void TstBaseCurrency::levaToEuro()
{
    QFETCH(double, leva);
    QFETCH(double, euro);
    QCOMPARE(BaseCurrency::levaToEuro(leva), euro);
}

void TstBaseCurrency::currencyOfADocument_data()
{
    QTest::addColumn<QVariant>("flag");  // FIRMA.EVRO_DA_NE
    QTest::addColumn<QVariant>("from");  // FIRMA.EVRO_OT_DATA
    QTest::addColumn<QDate>("document");
    QTest::addColumn<Currency>("currency");
    const QVariant none;
    const QVariant euro = 1;
    const QVariant march = QDateTime(QDate(2026, 3, 1), QTime(0, 0));
    QTest::newRow("default record, a document of 2030") << none << none << QDate(2030, 1, 1) << Currency::Leva;
    QTest::newRow("flag 0") << QVariant(0) << march << QDate(2026, 6, 1) << Currency::Leva;
    QTest::newRow("flag of another value") << QVariant(2) << march << QDate(2026, 6, 1) << Currency::Leva;
    QTest::newRow("euro, default cut-over, the day before") << euro << none << QDate(2025, 12, 31) << Currency::Leva;
    QTest::newRow("euro, default cut-over, the day itself") << euro << none << QDate(2026, 1, 1) << Currency::Euro;
    QTest::newRow("euro from March, in February") << euro << march << QDate(2026, 2, 28) << Currency::Leva;
    QTest::newRow("euro from March, on the day") << euro << march << QDate(2026, 3, 1) << Currency::Euro;
    QTest::newRow("euro, a document without a date is of today") << euro << march << QDate() << Currency::Euro;
}

void TstBaseCurrency::currencyOfADocument()
{
    QFETCH(QVariant, flag);
    QFETCH(QVariant, from);
    QFETCH(QDate, document);
    QFETCH(Currency, currency);
    Clock::setFixed(QDateTime(QDate(2026, 4, 10), QTime(9, 0)));
    const auto settings = BaseCurrency::Settings::fromRecord(flag, from);
    QCOMPARE(settings.currencyOn(document), currency);
    QCOMPARE(settings.forDate(document).currency, currency);
    QCOMPARE(settings.cutover.isValid(), settings.currency == Currency::Euro);
}

void TstBaseCurrency::names_data()
{
    QTest::addColumn<Currency>("currency");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("fraction");
    QTest::newRow("leva 1") << Currency::Leva << 1 << u"ст."_s;
    QTest::newRow("leva 21") << Currency::Leva << 21 << u"ст."_s;
    QTest::newRow("euro 1") << Currency::Euro << 1 << u"цент"_s;
    QTest::newRow("euro 2") << Currency::Euro << 2 << u"цента"_s;
    QTest::newRow("euro 11") << Currency::Euro << 11 << u"цента"_s;
    QTest::newRow("euro 21") << Currency::Euro << 21 << u"цент"_s;
    QTest::newRow("euro 50") << Currency::Euro << 50 << u"цента"_s;
    QTest::newRow("euro 91") << Currency::Euro << 91 << u"цент"_s;
    QTest::newRow("euro 99") << Currency::Euro << 99 << u"цента"_s;
}

void TstBaseCurrency::names()
{
    QFETCH(Currency, currency);
    QFETCH(int, count);
    QFETCH(QString, fraction);
    const BaseCurrency::Names& n = BaseCurrency::names(currency);
    QCOMPARE(n.currency, currency);
    QCOMPARE(n.fraction(count), fraction);
    if (currency == Currency::Leva) {
        // The leva names are those the leva-only callers print.
        QCOMPARE(QStringList({n.code, n.symbol, n.singular, n.plural, n.fractionSymbol}),
                 QStringList({u"BGN"_s, BaseCurrency::symbol(), BaseCurrency::singular(), BaseCurrency::plural(),
                              BaseCurrency::fractionSymbol()}));
    } else {
        QCOMPARE(QStringList({n.code, n.symbol, n.singular, n.plural, n.fractionSymbol}),
                 QStringList({u"EUR"_s, u"€"_s, u"евро"_s, u"евро"_s, u"цента"_s}));
    }
}

void TstBaseCurrency::readFromTheCompanyRecord()
{
    DbFixture f;
    f.start();
    QCOMPARE(BaseCurrency::Settings::read(f.db()), BaseCurrency::Settings{});  // a new installation: leva
    f.exec(u"update FIRMA set EVRO_DA_NE = 1"_s);
    QCOMPARE(BaseCurrency::Settings::read(f.db()),
             (BaseCurrency::Settings{Currency::Euro, BaseCurrency::Settings::defaultCutover()}));
    f.exec(u"update FIRMA set EVRO_OT_DATA = :D"_s, {{u"D"_s, QDateTime(QDate(2026, 2, 1), QTime(0, 0))}});
    QCOMPARE(BaseCurrency::Settings::read(f.db()), (BaseCurrency::Settings{Currency::Euro, QDate(2026, 2, 1)}));
    f.stop();
}

QTEST_GUILESS_MAIN(TstBaseCurrency)
#include "tst_basecurrency.moc"
