#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/transaction.h"
#include "support/dbfixture.h"
#include "warehouse/deliveries.h"
#include "warehouse/stocklines.h"

#include <QTest>

#include <thread>

// Deliveries, corrections and defective goods against a real database.
class TstWarehouseData : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { f_.stop(); }

    void deliveryStoresLinesPaymentAndReceipt();
    void paymentCoversOnlyStoredLines();
    void storedAsTheWindowShows();
    void failedSaveStoresNothing();
    void receiptNumbersOfTheYear();
    void receiptNumberTakenByAnotherWorkstation();
    void calculationPriceRange_data();
    void calculationPriceRange();
    void foreignPricedLineOffersNoCalculationPrice();
    void expiryWarning();
    void linesActedOnByKey();
    void correctionKeepsWhatLeftTheLine();
    void defectiveGoodsLeaveTheLine();

private:
    Deliveries::Header header(const QString& document = QStringLiteral("F100")) const;
    QVector<Deliveries::Line> threeLines() const;
    QVariant stockValue(int key, const QString& column);
    DbFixture f_;
};

void TstWarehouseData::init()
{
    f_.start();
    f_.exec(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"));
    f_.exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA, PRODAGNA_CENA)"
                           " values (500, 'Болт', 1, 1, 100, 3)"));
    f_.exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA) values (501, 'Шайба', 1, 1, 5)"));
    f_.exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA) values (502, 'Гайка', 1, 1, 7)"));
    f_.exec(QStringLiteral("insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (60, 2, 'Доставчик')"));
}

Deliveries::Header TstWarehouseData::header(const QString& document) const
{
    Deliveries::Header h;
    h.supplier = 60;
    h.document = document;
    h.documentDate = QDate(2026, 3, 2);
    h.received = QDate(2026, 3, 3);
    h.receiptNumber = 5;
    return h;
}

QVector<Deliveries::Line> TstWarehouseData::threeLines() const
{
    Deliveries::Line a;
    a.material = 500; a.quantity = 10; a.priceLv = 2; a.discountPct = 10; a.vatPct = 20;
    a.expiry = QDate(2027, 1, 31);
    Deliveries::Line b;
    b.material = 501; b.quantity = 4; b.priceLv = 1.5;
    Deliveries::Line c;
    c.material = 502; c.quantity = 3; c.priceEur = 4;
    return {a, b, c};
}

QVariant TstWarehouseData::stockValue(int key, const QString& column)
{
    const DbResult r = f_.db().selectProcedure(QStringLiteral("SKLADNALICH"),
        {{QStringLiteral("SKLADOT"), 1}, {QStringLiteral("SKLADDO"), 100},
         {QStringLiteral("NMATERIALOT"), 1}, {QStringLiteral("NMATERIALDO"), 100000}});
    for (std::size_t i = 0; i < r.rows.size(); ++i)
        if (r.value(i, QStringLiteral("AUTONUM")).toInt() == key)
            return r.value(i, column);
    return {};
}

void TstWarehouseData::deliveryStoresLinesPaymentAndReceipt()
{
    const auto saved = Deliveries::save(f_.db(), header(), threeLines(), {{500, 2}});
    QCOMPARE(saved.lineKeys.size(), 3);
    QVERIFY(saved.paymentKey > 0);

    // 10 x 2 less 10 % plus 20 % VAT = 21.60 BGN; 4 x 1.5 = 6; the EUR line 12 EUR.
    const DbResult pay = f_.db().query(QStringLiteral("select PLATENO_LV, PLATENO_USD, PLATENO_EUR, NKONTRAGENT, NFAKTURA"
                                                      " from DOSTAVKI_PLASTANE"));
    QCOMPARE(pay.rows.size(), std::size_t(1));
    QCOMPARE(pay.rows[0][0].toDouble(), 27.6);
    QCOMPARE(pay.rows[0][1].toDouble(), 0.0);
    QCOMPARE(pay.rows[0][2].toDouble(), 12.0);
    QCOMPARE(pay.rows[0][4].toString(), QStringLiteral("F100"));

    QCOMPARE(stockValue(saved.lineKeys[0], QStringLiteral("NALICHNOST")).toDouble(), 10.0);
    QCOMPARE(stockValue(saved.lineKeys[0], QStringLiteral("OBSTA_CENA_LV")).toDouble(), 20.0);
    QCOMPARE(stockValue(saved.lineKeys[0], QStringLiteral("OBSTA_CENA_PROD_LV")).toDouble(), 30.0);
    QCOMPARE(stockValue(saved.lineKeys[0], QStringLiteral("DATEGODNOST")).toDateTime().date(), QDate(2027, 1, 31));
    QVERIFY(stockValue(saved.lineKeys[1], QStringLiteral("DATEGODNOST")).isNull());
    QCOMPARE(stockValue(saved.lineKeys[2], QStringLiteral("OBSTA_CENA_EUR")).toDouble(), 12.0);
    QCOMPARE(stockValue(saved.lineKeys[2], QStringLiteral("IMEKONTRAGENT")).toString(), QStringLiteral("Доставчик"));
    QCOMPARE(f_.count(QStringLiteral("select count(*) from SKLAD where NSKLRAZP = 5")), 3);
    QCOMPARE(f_.count(QStringLiteral("select count(*) from SKLAD_RAZPISKI where GODINA = 2026 and NSKLRAZP = 5")), 1);
    QCOMPARE(Deliveries::storedCalculationPrice(f_.db(), 500), 2.0);
    QCOMPARE(f_.db().selectProcedure(QStringLiteral("SKLAD_MAT_NALICH_SUM"), {{QStringLiteral("NUMMATERIAL"), 500}})
                 .value(0, QStringLiteral("SUMNALICHNOST")).toDouble(), 10.0);
    QVERIFY(Deliveries::documentStored(f_.db(), 500, 60, QStringLiteral("F100"), QDate(2026, 3, 2)));
    QVERIFY(!Deliveries::documentStored(f_.db(), 500, 60, QStringLiteral("F100"), QDate(2026, 3, 3)));
}

void TstWarehouseData::paymentCoversOnlyStoredLines()
{
    QVector<Deliveries::Line> lines = threeLines();
    lines[1].quantity = 0;  // skipped at save: its 6 BGN are not paid
    Deliveries::save(f_.db(), header(), lines, {});
    QCOMPARE(f_.db().query(QStringLiteral("select PLATENO_LV from DOSTAVKI_PLASTANE")).rows.at(0)[0].toDouble(), 21.6);
    QCOMPARE(f_.count(QStringLiteral("select count(*) from SKLAD")), 2);

    // Nothing storable: no line, no payment, no receipt number used up.
    for (auto& line : lines)
        line.quantity = 0;
    const auto saved = Deliveries::save(f_.db(), header(QStringLiteral("F200")), lines, {});
    QCOMPARE(saved.paymentKey, 0);
    QCOMPARE(f_.count(QStringLiteral("select count(*) from DOSTAVKI_PLASTANE")), 1);
    QCOMPARE(f_.count(QStringLiteral("select count(*) from SKLAD_RAZPISKI")), 1);
}

void TstWarehouseData::storedAsTheWindowShows()
{
    // 3 x 0.335 and 1 x 0.335 with 20 % VAT: the window shows 1.21 + 0.40 = 1.61, the payment is the same.
    Deliveries::Line a;
    a.material = 501; a.quantity = 3; a.priceLv = 0.335; a.vatPct = 20;
    Deliveries::Line b = a;
    b.quantity = 1;
    // A calculation price agreed for a line deleted before the save (material 500) is not set.
    Deliveries::save(f_.db(), header(), {a, b}, {{500, 150}, {501, 0.3}});
    QCOMPARE(f_.db().query(QStringLiteral("select PLATENO_LV from DOSTAVKI_PLASTANE")).rows.at(0)[0].toDouble(), 1.61);
    QCOMPARE(Deliveries::storedCalculationPrice(f_.db(), 500), 100.0);
    QCOMPARE(Deliveries::storedCalculationPrice(f_.db(), 501), 0.3);

    // A receipt number held only by a stock line (stored by another path) is taken for its year alone.
    f_.exec(QStringLiteral("update SKLAD set NSKLRAZP = 7"));
    f_.exec(QStringLiteral("delete from SKLAD_RAZPISKI"));
    QVERIFY(Deliveries::receiptNumberTaken(f_.db(), 2026, 7));
    QVERIFY(!Deliveries::receiptNumberTaken(f_.db(), 2025, 7));
    QVERIFY(!Deliveries::receiptNumberTaken(f_.db(), 2026, 8));
}

void TstWarehouseData::failedSaveStoresNothing()
{
    // The server refuses the third line, after two were written in the same transaction.
    f_.db().executeImmediate(QStringLiteral("create exception T_FAULT 'injected'"));
    f_.db().executeImmediate(QStringLiteral("create trigger T_FAULT_BI for SKLAD before insert as begin"
                                            " if (new.NMATERIAL = 502) then exception T_FAULT; end"));
    QVERIFY_THROWS_EXCEPTION(DbError, Deliveries::save(f_.db(), header(), threeLines(), {{500, 2}}));
    QCOMPARE(f_.count(QStringLiteral("select count(*) from SKLAD")), 0);
    QCOMPARE(f_.count(QStringLiteral("select count(*) from DOSTAVKI_PLASTANE")), 0);
    QCOMPARE(f_.count(QStringLiteral("select count(*) from SKLAD_RAZPISKI")), 0);
    QCOMPARE(Deliveries::storedCalculationPrice(f_.db(), 500), 100.0);
}

void TstWarehouseData::receiptNumbersOfTheYear()
{
    QCOMPARE(Deliveries::proposeReceiptNumber(f_.db(), 2026), 1);
    Deliveries::save(f_.db(), header(), threeLines(), {});
    QCOMPARE(Deliveries::proposeReceiptNumber(f_.db(), 2026), 6);
    QCOMPARE(Deliveries::proposeReceiptNumber(f_.db(), 2027), 1);
    QVERIFY(Deliveries::receiptNumberTaken(f_.db(), 2026, 5));
    QVERIFY(!Deliveries::receiptNumberTaken(f_.db(), 2027, 5));

    // A second workstation that was proposed the same number: its save fails whole.
    QVERIFY_THROWS_EXCEPTION(DbError, Deliveries::save(f_.db(), header(QStringLiteral("F300")), threeLines(), {}));
    QCOMPARE(f_.count(QStringLiteral("select count(*) from SKLAD")), 3);
    QCOMPARE(f_.count(QStringLiteral("select count(*) from DOSTAVKI_PLASTANE")), 1);

    // Deleted lines do not free their number for a new proposal.
    f_.exec(QStringLiteral("delete from SKLAD"));
    QCOMPARE(Deliveries::proposeReceiptNumber(f_.db(), 2026), 6);
}

void TstWarehouseData::receiptNumberTakenByAnotherWorkstation()
{
    SQLConnection other(f_.db().params());
    other.open();
    // Both workstations are proposed number 1. The other one stores it while this one's save is
    // under way: its transaction holds the number until it commits.
    QCOMPARE(Deliveries::proposeReceiptNumber(other, 2026), 1);
    QCOMPARE(Deliveries::proposeReceiptNumber(f_.db(), 2026), 1);
    Deliveries::Header mine = header(QStringLiteral("A1"));
    mine.receiptNumber = 1;
    Deliveries::Saved saved;
    {
        TransactionScope held(other);
        Deliveries::Header theirs = header(QStringLiteral("B1"));
        theirs.receiptNumber = 1;
        Deliveries::save(other, theirs, threeLines(), {});
        std::thread here([&] { saved = Deliveries::saveRenumbering(f_.db(), mine, threeLines(), {}); });
        held.commit();
        here.join();
    }
    QCOMPARE(saved.receiptNumber, 2);
    QCOMPARE(saved.lineKeys.size(), 3);
    QCOMPARE(f_.count(QStringLiteral("select count(*) from SKLAD where NFAKTURA = 'B1' and NSKLRAZP = 1")), 3);
    QCOMPARE(f_.count(QStringLiteral("select count(*) from SKLAD where NFAKTURA = 'A1' and NSKLRAZP = 2")), 3);
    QCOMPARE(f_.count(QStringLiteral("select count(*) from DOSTAVKI_PLASTANE")), 2);
    QCOMPARE(f_.count(QStringLiteral("select count(*) from SKLAD_RAZPISKI where GODINA = 2026")), 2);
}

void TstWarehouseData::calculationPriceRange_data()
{
    QTest::addColumn<double>("stored");
    QTest::addColumn<double>("price");
    QTest::addColumn<bool>("silent");
    QTest::newRow("119.99") << 100.0 << 119.99 << true;
    QTest::newRow("120") << 100.0 << 120.0 << false;
    QTest::newRow("83.33") << 100.0 << 83.33 << false;
    QTest::newRow("83.34") << 100.0 << 83.34 << true;
    QTest::newRow("stored 0") << 0.0 << 5.0 << false;
}

void TstWarehouseData::calculationPriceRange()
{
    QFETCH(double, stored);
    QFETCH(double, price);
    QFETCH(bool, silent);
    QCOMPARE(Deliveries::calculationPriceWithinRange(stored, price), silent);
}

void TstWarehouseData::foreignPricedLineOffersNoCalculationPrice()
{
    const auto lines = threeLines();
    QVERIFY(lines[0].offersCalculationPrice());
    QVERIFY(!lines[2].offersCalculationPrice());  // EUR only
    QVERIFY(Deliveries::calculationPriceQuestion(QStringLiteral("Болт"), 120, 100)
                .contains(QStringLiteral("- 120.000 лв. се различава")));
}

void TstWarehouseData::expiryWarning()
{
    const QDate today(2026, 5, 20);
    QVERIFY(Deliveries::expiryLongPast(today.addDays(-11), today));
    QVERIFY(!Deliveries::expiryLongPast(today.addDays(-10), today));
    QVERIFY(!Deliveries::expiryLongPast(QDate(), today));
}

void TstWarehouseData::linesActedOnByKey()
{
    // One document holding the same material twice.
    QVector<Deliveries::Line> lines = threeLines();
    lines[1] = lines[0];
    lines[1].quantity = 4;
    lines[1].priceLv = 2.5;
    lines[1].expiry.reset();
    const auto saved = Deliveries::save(f_.db(), header(), lines, {});

    // The document alone names two lines: the server refuses to guess.
    QVERIFY_THROWS_EXCEPTION(DbError, f_.db().executeProcedure(QStringLiteral("DEL_DOSTAVKA"),
        {{QStringLiteral("INMATERIAL"), 500}, {QStringLiteral("INKONTRAGENT"), 60},
         {QStringLiteral("INFAKTURA"), QStringLiteral("F100")}, {QStringLiteral("IDATEFAKTURA"), QDate(2026, 3, 2)},
         {QStringLiteral("IDATEPOLUCHENO"), QDate(2026, 3, 3)}}));

    // A correction loads the line's own prices and changes that line only.
    auto second = StockLines::read(f_.db(), saved.lineKeys[1]);
    QVERIFY(second);
    QCOMPARE(second->priceLv, 2.5);
    QCOMPARE(second->quantity, 4.0);
    StockLines::Correction c;
    c.key = second->key;
    c.quantity = 6;
    c.priceLv = 2.75;
    c.writeExpiry = true;
    c.expiry = QDate(2027, 6, 1);
    StockLines::correct(f_.db(), c);
    QCOMPARE(StockLines::read(f_.db(), saved.lineKeys[0])->quantity, 10.0);
    QCOMPARE(StockLines::read(f_.db(), saved.lineKeys[0])->expiry, std::optional<QDate>(QDate(2027, 1, 31)));
    QCOMPARE(StockLines::read(f_.db(), saved.lineKeys[1])->quantity, 6.0);
    QCOMPARE(StockLines::read(f_.db(), saved.lineKeys[1])->expiry, std::optional<QDate>(QDate(2027, 6, 1)));

    // Without writeExpiry the date stays; with it and no date it is cleared.
    c.writeExpiry = false;
    c.expiry.reset();
    StockLines::correct(f_.db(), c);
    QVERIFY(StockLines::read(f_.db(), saved.lineKeys[1])->expiry);
    c.writeExpiry = true;
    StockLines::correct(f_.db(), c);
    QVERIFY(!StockLines::read(f_.db(), saved.lineKeys[1])->expiry);

    StockLines::remove(f_.db(), saved.lineKeys[1]);
    QVERIFY(!StockLines::read(f_.db(), saved.lineKeys[1]));
    QVERIFY(StockLines::read(f_.db(), saved.lineKeys[0]));
}

void TstWarehouseData::correctionKeepsWhatLeftTheLine()
{
    const auto saved = Deliveries::save(f_.db(), header(), threeLines(), {});
    const int key = saved.lineKeys[0];
    f_.exec(QStringLiteral("insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO) values (:K, 1, 2.5)"),
            {{QStringLiteral("K"), key}});
    f_.exec(QStringLiteral("insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO) values (:K, 2, 1)"),
            {{QStringLiteral("K"), key}});
    auto line = StockLines::read(f_.db(), key);
    QCOMPARE(line->sold, 2.5);
    QCOMPARE(line->drawn, 1.0);
    QCOMPARE(line->onHand(), 6.5);
    QCOMPARE(stockValue(key, QStringLiteral("SUMMAT_PRODAGBI")).toDouble(), 2.5);
    QCOMPARE(stockValue(key, QStringLiteral("NALICHNOST")).toDouble(), 6.5);

    QVERIFY(StockLines::correctionRefusal(*line, 3.5).isEmpty());
    QVERIFY(StockLines::correctionRefusal(*line, 3.501).isEmpty());
    QVERIFY(!StockLines::correctionRefusal(*line, 3.49).isEmpty());
    QVERIFY(StockLines::deleteRefusal(*line, {}).startsWith(QStringLiteral("Има изразходвани")));

    // The server keeps the same rule whoever calls it.
    StockLines::Correction c;
    c.key = key;
    c.quantity = 3;
    QVERIFY_THROWS_EXCEPTION(DbError, StockLines::correct(f_.db(), c));
    try {
        StockLines::remove(f_.db(), key);
        QFAIL("a line with outflows was deleted");
    } catch (const DbError& e) {
        QVERIFY2(userText(e).contains(QStringLiteral("ИЗТРИВАНЕТО ЗАБРАНЕНО")), qPrintable(userText(e)));
    }
    QCOMPARE(StockLines::read(f_.db(), key)->quantity, 10.0);
}

void TstWarehouseData::defectiveGoodsLeaveTheLine()
{
    const auto saved = Deliveries::save(f_.db(), header(), threeLines(), {});
    const int key = saved.lineKeys[0];
    auto line = StockLines::read(f_.db(), key);
    StockLines::DefectClaim claim;
    claim.line = key;
    claim.date = QDate(2026, 4, 1);
    claim.quantity = 10.01;
    claim.priceEur = 1;
    claim.counterparty = 60;
    claim.claimDocument = QStringLiteral("R1");
    claim.claimDocumentDate = QDate(2026, 4, 1);
    QCOMPARE(StockLines::defectRefusal(*line, claim), StockLines::defectRefusalMessage());
    QVERIFY_THROWS_EXCEPTION(DbError, StockLines::recordDefect(f_.db(), claim));  // the server checks too
    claim.quantity = 4;
    QCOMPARE(StockLines::defectRefusal(*line, claim), QString());
    claim.priceEur = 0;
    QCOMPARE(StockLines::defectRefusal(*line, claim), StockLines::defectRefusalMessage());
    claim.priceEur = 1;

    const int claimKey = StockLines::recordDefect(f_.db(), claim);
    line = StockLines::read(f_.db(), key);
    QCOMPARE(line->defective, 4.0);
    QCOMPARE(stockValue(key, QStringLiteral("SUMDOST_BRAK")).toDouble(), 4.0);
    QCOMPARE(stockValue(key, QStringLiteral("NALICHNOST")).toDouble(), 6.0);
    QVERIFY(!StockLines::deleteRefusal(*line, {}).isEmpty());
    QVERIFY_THROWS_EXCEPTION(DbError, StockLines::remove(f_.db(), key));
    const DbResult listed = f_.db().selectProcedure(QStringLiteral("SKLADDOST_BRAK"),
        {{QStringLiteral("NKONTROT"), 60}, {QStringLiteral("NKONTRDO"), 60}});
    QCOMPARE(listed.rows.size(), std::size_t(1));
    QCOMPARE(listed.value(0, QStringLiteral("OBSTO_EUR")).toDouble(), 4.0);
    QCOMPARE(listed.value(0, QStringLiteral("IMEMATERIAL")).toString(), QStringLiteral("Болт"));

    StockLines::removeDefect(f_.db(), claimKey);
    QCOMPARE(stockValue(key, QStringLiteral("NALICHNOST")).toDouble(), 10.0);
    QVERIFY(StockLines::deleteRefusal(*StockLines::read(f_.db(), key), {}).isEmpty());
    StockLines::remove(f_.db(), key);
    QVERIFY(!StockLines::read(f_.db(), key));
}

QTEST_GUILESS_MAIN(TstWarehouseData)
#include "tst_warehouse_data.moc"
