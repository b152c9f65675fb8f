#include "cash/cashbook.h"
#include "platform/base/clock.h"
#include "platform/db/dberror.h"
#include "platform/db/transaction.h"
#include "support/dbfixture.h"

#include <QThread>

#include <future>

using namespace Qt::StringLiterals;
using Cash::CashOrder;
using Cash::OrderKind;

// The cash book's functions over a real database, without a GUI.
class TstCashData : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void proposedNumbers_data();
    void proposedNumbers();
    void writtenNumbersAreTakenInTheTransaction();
    void concurrentWritersGetDifferentNumbers();
    void numbersUniqueAcrossConnections_data();
    void numbersUniqueAcrossConnections();
    void correctionKeepsNumberCurrencyAndBase();
    void correctionIntoAnotherYear_data();
    void correctionIntoAnotherYear();
    void openingBalance();
    void baseValuesToTheStotinka();
    void viewkasaRowsAndBaseValues();
    void refusals_data();
    void refusals();
    void words_data();
    void words();

private:
    static CashOrder order(OrderKind kind, const QDate& date, double amount, int currency = 1, double rate = 1,
                           int base = 1)
    {
        CashOrder o;
        o.kind = kind;
        o.date = date;
        o.name = u"Иван Петров Иванов"_s;
        o.town = u"София"_s;
        o.address = u"ул. Витоша 12"_s;
        o.basis = u"Аванс"_s;
        o.amount = amount;
        o.currency = currency;
        o.rate = rate;
        o.base = base;
        return o;
    }
    void addRow(int npko, int nrko, const QDate& date, int currency, double pko, double rko, double rate = 1, int base = 1)
    {
        f_.exec(u"insert into KASA (NPKO, NRKO, DATEKO, NVALUTA, SUMA_PKO, SUMA_RKO, VALUTA_KURS, VALUTA_BAZA) "
                u"values (:P, :R, :D, :V, :SP, :SR, :K, :B)"_s,
                {{u"P"_s, npko}, {u"R"_s, nrko}, {u"D"_s, QDateTime(date, QTime(0, 0))}, {u"V"_s, currency},
                 {u"SP"_s, pko}, {u"SR"_s, rko}, {u"K"_s, rate}, {u"B"_s, base}});
    }
    // Waits until the other connection's statement is finished or stands waiting on a lock.
    template <class T>
    static void untilDoneOrWaiting(SQLConnection& watcher, const std::future<T>& other, const char* table)
    {
        const QString waiting = u"select count(*) from MON$STATEMENTS where MON$STATE = 1 "
                                u"and MON$ATTACHMENT_ID <> current_connection and MON$SQL_TEXT containing '%1'"_s
                                    .arg(QString::fromLatin1(table));
        while (other.wait_for(std::chrono::seconds(0)) != std::future_status::ready &&
               watcher.query(waiting).rows.front()[0].toInt() == 0)
            QThread::yieldCurrentThread();
    }
    DbFixture f_;
};

void TstCashData::init()
{
    Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    f_.start();
}

void TstCashData::cleanup()
{
    f_.stop();
    Clock::reset();
}

void TstCashData::proposedNumbers_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("currency");
    QTest::addColumn<int>("expected");
    // Rows: last year's receipt 40 in BGN; this year receipts 1..3 in BGN, payment 7 in BGN, receipt 5 in USD.
    QTest::newRow("receipt BGN continues this year's series") << 1 << 1 << 4;
    QTest::newRow("payment BGN has its own series") << 2 << 1 << 8;
    QTest::newRow("receipt USD has its own series") << 1 << 2 << 6;
    QTest::newRow("first payment in EUR of the year is 1") << 2 << 3 << 1;
}

void TstCashData::proposedNumbers()
{
    QFETCH(int, kind);
    QFETCH(int, currency);
    QFETCH(int, expected);
    addRow(40, 0, {2025, 12, 31}, 1, 10, 0);
    for (int n = 1; n <= 3; ++n) addRow(n, 0, {2026, 1, n}, 1, 10, 0);
    addRow(0, 7, {2026, 12, 31}, 1, 0, 5);
    addRow(5, 0, {2026, 6, 1}, 2, 10, 0, 1.7, 1);
    addRow(0, 30, {2027, 1, 1}, 3, 0, 5);  // next year's orders do not count
    QCOMPARE(Cash::proposeNumber(f_.db(), OrderKind(kind), currency), expected);
}

// A new order takes the next number when it is written, whatever was proposed, and the year is
// the year of its date.
void TstCashData::writtenNumbersAreTakenInTheTransaction()
{
    addRow(40, 0, {2025, 3, 1}, 1, 10, 0);
    const Cash::Written a = Cash::insertOrder(f_.db(), order(OrderKind::Receipt, {2026, 12, 10}, 100));
    QCOMPARE(a.number, 1);
    const Cash::Written b = Cash::insertOrder(f_.db(), order(OrderKind::Receipt, {2026, 12, 10}, 50));
    QCOMPARE(b.number, 2);
    const Cash::Written lastYear = Cash::insertOrder(f_.db(), order(OrderKind::Receipt, {2025, 12, 30}, 5));
    QCOMPARE(lastYear.number, 41);
    const Cash::Written pay = Cash::insertOrder(f_.db(), order(OrderKind::Payment, {2026, 12, 10}, 20));
    QCOMPARE(pay.number, 1);
    const DbResult r = f_.db().query(u"select NPKO, NRKO, SUMA_PKO, SUMA_RKO, VALUTA_KURS, VALUTA_BAZA, IMEPREZFAM, "
                                     u"GRAD, ADRES, OSNOVANIE_KO from KASA where AUTONUM = :A"_s,
                                     {{u"A"_s, pay.autonum}});
    QCOMPARE(r.rows.front()[0].toInt(), 0);
    QCOMPARE(r.rows.front()[1].toInt(), 1);
    QCOMPARE(r.rows.front()[2].toDouble(), 0.0);
    QCOMPARE(r.rows.front()[3].toDouble(), 20.0);
    QCOMPARE(r.rows.front()[6].toString(), u"Иван Петров Иванов"_s);
    QCOMPARE(r.rows.front()[9].toString(), u"Аванс"_s);
    // A typed rate is ignored for the base currency.
    const Cash::Written bgn = Cash::insertOrder(f_.db(), order(OrderKind::Receipt, {2026, 12, 10}, 1, 1, 3.5));
    QCOMPARE(f_.count(u"select VALUTA_KURS from KASA where AUTONUM = :A"_s, {{u"A"_s, bgn.autonum}}), 1);
}

// Two workstations write receipts of one currency and year at the same moment: the second waits
// for the first's counter and then takes the next number.
void TstCashData::concurrentWritersGetDifferentNumbers()
{
    SQLConnection other(f_.db().params()), watcher(f_.db().params());
    other.open();
    watcher.open();
    std::future<Cash::Written> second;
    Cash::Written first;
    {
        TransactionScope tx(f_.db());
        first = Cash::insertOrder(f_.db(), order(OrderKind::Receipt, {2026, 12, 10}, 100));
        second = std::async(std::launch::async, [&other] {
            return Cash::insertOrder(other, order(OrderKind::Receipt, {2026, 12, 10}, 200));
        });
        // Go on once the second writer has finished or stands at the first one's counter.
        untilDoneOrWaiting(watcher, second, "KASA_NOMERA");
        tx.commit();
    }
    const Cash::Written w = second.get();
    QCOMPARE(first.number, 1);
    QCOMPARE(w.number, 2);
}

void TstCashData::numbersUniqueAcrossConnections_data()
{
    QTest::addColumn<QString>("first");  // the first workstation's receipt 5 of 2026 in USD: committed,
                                         // or still open when the second writes, then kept or undone
    QTest::addColumn<int>("npko");
    QTest::addColumn<int>("nrko");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("currency");
    QTest::addColumn<bool>("stored");
    const QDate day(2026, 6, 2);
    QTest::newRow("same receipt number") << "committed" << 5 << 0 << day << 2 << false;
    QTest::newRow("same number while the first is still writing") << "pending, kept" << 5 << 0 << day << 2 << false;
    QTest::newRow("same number, the first undone") << "pending, undone" << 5 << 0 << day << 2 << true;
    QTest::newRow("payment with the receipt's number") << "committed" << 0 << 5 << day << 2 << true;
    QTest::newRow("same number last year") << "committed" << 5 << 0 << QDate(2025, 6, 2) << 2 << true;
    QTest::newRow("same number in another currency") << "committed" << 5 << 0 << day << 3 << true;
    QTest::newRow("next number") << "committed" << 6 << 0 << day << 2 << true;
}

// The database itself refuses a second order of a kind with a number its currency's year already
// has, whichever connection writes it and whether or not the first one is committed yet.
void TstCashData::numbersUniqueAcrossConnections()
{
    QFETCH(QString, first);
    QFETCH(int, npko);
    QFETCH(int, nrko);
    QFETCH(QDate, date);
    QFETCH(int, currency);
    QFETCH(bool, stored);
    SQLConnection other(f_.db().params()), watcher(f_.db().params());
    other.open();
    watcher.open();
    const auto second = [&] {
        other.execute(u"insert into KASA (NPKO, NRKO, DATEKO, NVALUTA, SUMA_PKO, SUMA_RKO, VALUTA_KURS, VALUTA_BAZA) "
                      u"values (:P, :R, :D, :V, 1, 1, 1, 1)"_s,
                      {{u"P"_s, npko}, {u"R"_s, nrko}, {u"D"_s, QDateTime(date, QTime(0, 0))}, {u"V"_s, currency}});
    };
    std::future<void> written;
    {
        TransactionScope tx(f_.db());
        addRow(5, 0, {2026, 3, 1}, 2, 10, 0, 1.8);
        if (first == u"committed"_s) {
            tx.commit();
        } else {
            written = std::async(std::launch::async, second);
            untilDoneOrWaiting(watcher, written, "KASA");
            if (first == u"pending, kept"_s) tx.commit();
        }
    }
    bool refused = false;
    try {
        if (written.valid()) written.get();
        else second();
    } catch (const DbError& e) {
        refused = e.sqlCode() == -803;
        QVERIFY2(refused, qPrintable(e.message()));
    }
    QCOMPARE(!refused, stored);
    QCOMPARE(f_.count(u"select count(*) from KASA"_s), first == u"pending, undone"_s ? 1 : stored ? 2 : 1);
}

// A correction writes what it is given: the number, and the order's own currency and base, even
// when the date moves to another year; a correction of a deleted order is refused.
void TstCashData::correctionKeepsNumberCurrencyAndBase()
{
    const Cash::Written w = Cash::insertOrder(f_.db(), order(OrderKind::Payment, {2026, 5, 5}, 100, 2, 1.8, 100));
    QCOMPARE(Cash::updateOrder(f_.db(), w.autonum, w.number, order(OrderKind::Payment, {2027, 1, 2}, 80, 2, 1.9, 100)),
             QString());
    const DbResult r = f_.db().query(u"select NRKO, NVALUTA, VALUTA_BAZA, VALUTA_KURS, SUMA_RKO, DATEKO from KASA"_s);
    QCOMPARE(r.rows.size(), std::size_t(1));
    QCOMPARE(r.rows.front()[0].toInt(), w.number);
    QCOMPARE(r.rows.front()[1].toInt(), 2);
    QCOMPARE(r.rows.front()[2].toInt(), 100);
    QCOMPARE(r.rows.front()[3].toDouble(), 1.9);
    QCOMPARE(r.rows.front()[4].toDouble(), 80.0);
    QCOMPARE(r.rows.front()[5].toDateTime().date(), QDate(2027, 1, 2));
    Cash::deleteOrder(f_.db(), w.autonum);
    QCOMPARE(f_.count(u"select count(*) from KASA"_s), 0);
    // Deleted meanwhile on another workstation: the correction is told, not taken as saved.
    QCOMPARE(Cash::updateOrder(f_.db(), w.autonum, w.number, order(OrderKind::Payment, {2026, 5, 5}, 1, 2, 1.9, 100)),
             u"Касовият ордер вече не съществува !"_s);
    QCOMPARE(f_.count(u"select count(*) from KASA"_s), 0);
}

void TstCashData::correctionIntoAnotherYear_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("number");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("refusal");
    // Rows: BGN receipts 1 and 2 of 2025, receipts 1 to 3 and payment 2 of 2026, USD receipt 3 of 2025.
    QTest::newRow("receipt 2 to 2025, where 2 is taken") << 1 << 2 << QDate(2025, 12, 31)
                                                          << u"Вече има ПКО № 2 от 2025 г. в тази валута !"_s;
    QTest::newRow("receipt 3 to 2025, free there (USD has 3)") << 1 << 3 << QDate(2025, 12, 31) << QString();
    QTest::newRow("receipt 2 within 2026") << 1 << 2 << QDate(2026, 1, 20) << QString();
    QTest::newRow("payment 2 to 2025, receipts do not count") << 2 << 2 << QDate(2025, 12, 31) << QString();
}

// A correction keeps the order's number; moved to another year it may not take a number that
// year's series of its kind and currency already has.
void TstCashData::correctionIntoAnotherYear()
{
    QFETCH(int, kind);
    QFETCH(int, number);
    QFETCH(QDate, date);
    QFETCH(QString, refusal);
    addRow(1, 0, {2025, 2, 1}, 1, 10, 0);
    addRow(2, 0, {2025, 2, 2}, 1, 10, 0);
    addRow(3, 0, {2025, 2, 3}, 2, 10, 0, 1.8);
    for (int n = 1; n <= 3; ++n) addRow(n, 0, {2026, 1, n}, 1, 10, 0);
    addRow(0, 2, {2026, 1, 9}, 1, 0, 10);
    const QString column = kind == 1 ? u"NPKO"_s : u"NRKO"_s;
    const QString find = u"select AUTONUM from KASA where %1 = :N and DATEKO > '01.01.2026'"_s.arg(column);
    const int autonum = f_.db().query(find, {{u"N"_s, number}}).rows.front()[0].toInt();
    QCOMPARE(Cash::updateOrder(f_.db(), autonum, number, order(OrderKind(kind), date, 77)), refusal);
    const DbResult r = f_.db().query(u"select DATEKO, %1 from KASA where AUTONUM = :A"_s.arg(column), {{u"A"_s, autonum}});
    QCOMPARE(r.rows.front()[0].toDateTime().date(), refusal.isEmpty() ? date : QDate(2026, 1, kind == 1 ? number : 9));
    QCOMPARE(r.rows.front()[1].toInt(), number);
}

void TstCashData::openingBalance()
{
    // Nothing before: zero.
    Cash::Balance b = Cash::openingBalance(f_.db(), 2, {2026, 3, 1});
    QCOMPARE(b.amount, 0.0);
    QCOMPARE(b.base, 0.0);
    addRow(1, 0, {2026, 1, 5}, 2, 100, 0, 1.80, 1);
    addRow(0, 1, {2026, 2, 5}, 2, 0, 30, 1.90, 1);
    addRow(2, 0, {2026, 3, 1}, 2, 1000, 0, 1.80, 1);  // dated on the from-date: in the period
    addRow(3, 0, {2026, 1, 5}, 1, 500, 0);             // another currency
    addRow(4, 0, {2026, 1, 6}, 2, 200, 0, 180, 100);   // rate per 100 units
    b = Cash::openingBalance(f_.db(), 2, {2026, 3, 1});
    QCOMPARE(b.amount, 270.0);
    QVERIFY(qAbs(b.base - (180.0 - 57.0 + 360.0)) < 1e-9);
}

// Each order's base-currency value is rounded to stotinki, as printed on the order, so the totals
// and balances are the sums of what the rows show: three receipts of 19.5583 are 58.68, not 58.67.
void TstCashData::baseValuesToTheStotinka()
{
    QCOMPARE(Cash::baseValue(10, 1.95583, 1), 19.56);
    QCOMPARE(Cash::baseValue(1.005, 1, 1), 1.01);
    QCOMPARE(Cash::baseValue(300, 195.583, 100), 586.75);
    for (int day : {1, 2, 3, 11, 12, 13}) addRow(day, 0, {2026, 1, day}, 2, 10, 0, 1.95583);
    addRow(0, 1, {2026, 1, 4}, 2, 0, 1.005, 1);
    const Cash::Balance b = Cash::openingBalance(f_.db(), 2, {2026, 1, 10});
    QVERIFY2(qAbs(b.base - (58.68 - 1.01)) < 1e-9, qPrintable(QString::number(b.base, 'f', 6)));
    const DbResult r = f_.db().query(u"select sum(SUMA_PKO_LV), min(SUMA_PKO_LV) from VIEWKASA(2, '10.01.2026', '31.01.2026')"_s);
    QVERIFY2(qAbs(r.rows.front()[0].toDouble() - 58.68) < 1e-9, qPrintable(r.rows.front()[0].toString()));
    QCOMPARE(r.rows.front()[1].toDouble(), 19.56);
}

void TstCashData::viewkasaRowsAndBaseValues()
{
    addRow(1, 0, {2026, 3, 1}, 2, 100, 0, 180, 100);
    addRow(0, 1, {2026, 3, 31}, 2, 0, 10, 1.9, 1);
    addRow(2, 0, {2026, 4, 1}, 2, 5, 0, 1.9, 1);
    f_.exec(u"update KASA set DATEKO = DATEKO + 0.75 where NRKO = 1"_s);  // an order written with a time of day
    const DbResult r = f_.db().query(u"select NPKO, NRKO, SUMA_PKO_LV, SUMA_RKO_LV from VIEWKASA(:V, :OT, :DO)"_s,
                                     {{u"V"_s, 2}, {u"OT"_s, QDateTime(QDate(2026, 3, 1), QTime())},
                                      {u"DO"_s, QDateTime(QDate(2026, 3, 31), QTime())}});
    QCOMPARE(r.rows.size(), std::size_t(2));
    QCOMPARE(r.rows[0][2].toDouble(), 180.0);
    QCOMPARE(r.rows[1][1].toInt(), 1);
    QVERIFY(qAbs(r.rows[1][3].toDouble() - 19.0) < 1e-9);
}

void TstCashData::refusals_data()
{
    QTest::addColumn<int>("currency");
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("base");
    QTest::addColumn<QString>("startsWith");
    QTest::newRow("BGN with no rate") << 1 << 0.0 << 1 << QString();
    QTest::newRow("USD with a rate") << 2 << 1.75 << 1 << QString();
    QTest::newRow("USD with rate 0") << 2 << 0.0 << 1 << u"Курсът"_s;
    QTest::newRow("USD with a negative rate") << 2 << -1.0 << 1 << u"Курсът"_s;
    QTest::newRow("USD with base 0") << 2 << 1.75 << 0 << u"Базата"_s;
}

void TstCashData::refusals()
{
    QFETCH(int, currency);
    QFETCH(double, rate);
    QFETCH(int, base);
    QFETCH(QString, startsWith);
    const QString why = Cash::refusal(order(OrderKind::Receipt, {2026, 12, 10}, 10, currency, rate, base));
    if (startsWith.isEmpty()) QCOMPARE(why, QString());
    else QVERIFY2(why.startsWith(startsWith), qPrintable(why));
}

void TstCashData::words_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero has no words") << 0.0 << QString();
    QTest::newRow("100.00") << 100.0 << u" сто лева"_s;
    QTest::newRow("100.10") << 100.10 << u" сто лева и 10 ст."_s;
    QTest::newRow("12.05") << 12.05 << u" дванадесет лева и 5 ст."_s;
    // A BGN equivalent of many decimals is rounded to stotinki first.
    QTest::newRow("12.996 is 13.00") << 12.996 << u" тринадесет лева"_s;
    QTest::newRow("1.005 is 1.01") << 1.005 << u" един лев и 1 ст."_s;
    QTest::newRow("0.3741 is 37 stotinki, not 38") << 0.3741 << u" и 37 ст."_s;
}

void TstCashData::words()
{
    QFETCH(double, amount);
    QFETCH(QString, expected);
    QCOMPARE(Cash::amountInWords(amount), expected);
}

QTEST_GUILESS_MAIN(TstCashData)
#include "tst_cash_data.moc"
