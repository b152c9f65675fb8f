#include "platform/base/clock.h"
#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/transaction.h"
#include "sales/numbering.h"
#include "sales/salebrowser.h"
#include "sales/saleclient.h"
#include "sales/salerecording.h"
#include "sales/saletotals.h"
#include "support/dbfixture.h"

#include <QTest>

#include <barrier>
#include <future>
#include <optional>

using namespace Qt::StringLiterals;
using Sales::SaleHeader;
using Sales::SaleLine;

// Recording and correcting sales against a real database: what is stored, what leaves stock, and
// that a sale is stored whole or not at all.
class TstSalesData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(10, 0))); }
    void cleanupTestCase() { Clock::reset(); }
    void init();
    void cleanup() { f_.stop(); }

    void taxInvoicePaidAtOnce();
    void failureStoresNothing_data();
    void failureStoresNothing();
    void concurrentRecordingsGetDifferentNumbers();
    void sameDocumentNumberOnTwoWorkstations();
    void concurrentWriteOffsNeverOverdraw();
    void duplicateDocumentNumberRefused();
    void correctionKeepsNumbersAndNetsStock();
    void naturalPersonSale();
    void returnedGoodsComeBackAndCorrectionTakesThemOut();
    void returnsOfAnotherSaleStay_data();
    void returnsOfAnotherSaleStay();
    void saleOfItsOwnReturnedGoods_data();
    void saleOfItsOwnReturnedGoods();
    void correctionDrawsFromTheLinesTheSaleDrewFrom_data();
    void correctionDrawsFromTheLinesTheSaleDrewFrom();
    void creditNote();
    void storedDocumentNumbers_data();
    void storedDocumentNumbers();
    void invoiceNumberBehindTheSymbol_data();
    void invoiceNumberBehindTheSymbol();
    void textInvoiceNumbersAreDigits_data();
    void textInvoiceNumbersAreDigits();
    void ownSeriesNumberRequired_data();
    void ownSeriesNumberRequired();
    void objectStockWrittenOff();

    void lineAndDocumentTotals_data();
    void lineAndDocumentTotals();
    void debtAfterTheSale();
    void paidAtOnceInEveryCurrencyAfterTheDiscount();
    void clientBalanceOverSalesAndPayments();
    void linesBeyondTheClientsOrders();
    void saleBeyondOrdersWritesItsOrder();

private:
    SaleHeader invoiceHeader(const QString& number = u"0000000123"_s) const;
    static SaleLine line(int material, double quantity, double price);
    double onHand(int material) { return Sales::warehouseStockOf(f_.db(), material); }
    int rowsOfAnySale();
    DbFixture f_;
};

void TstSalesData::init()
{
    Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    f_.start();
    f_.exec(u"insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"_s);
    f_.exec(u"insert into TIP_SKL_OBEKT (NSKL_OBEKT, IME_SKL_OBEKT) values (3, 'Магазин')"_s);
    for (const auto& [n, name] : {std::pair{500, "Болт"}, {501, "Шайба"}, {502, "Гайка"}})
        f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA) values (:N, :I, 1, 1, 10)"_s,
                {{u"N"_s, n}, {u"I"_s, QString::fromUtf8(name)}});
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (60, 1, 'Клиент')"_s);
    // Two deliveries of each material: 10 then 5, the older first.
    for (int m : {500, 501, 502})
        for (const auto& [qty, day] : {std::pair{10.0, 1}, {5.0, 2}})
            f_.db().executeProcedure(u"ADDDOSTAVKA"_s,
                                     {{u"NMATERIAL"_s, m}, {u"KOLICHESTVO"_s, qty}, {u"ED_CENA_LV"_s, 4.0},
                                      {u"DATEPOLUCHENO"_s, QDate(2026, 11, day)}, {u"NKONTRAGENT"_s, 61},
                                      {u"NFAKTURA"_s, u"D1"_s}, {u"DATEFAKTURA"_s, QDate(2026, 11, day)}});
}

SaleHeader TstSalesData::invoiceHeader(const QString& number) const
{
    SaleHeader h;
    h.documentType = 0;
    h.counterparty = 60;
    h.recipientName = u"Клиент"_s;
    h.paymentType = 1;
    h.invoiceNumbering = 1;
    h.invoiceNumber = u"0"_s + number.right(9);
    h.vatPct = 20;
    h.recipientDiscountPct = 5;
    h.date = QDate(2026, 12, 9);
    h.companyMol = 1;
    h.compiledBy = 1;
    h.office = 1;
    h.vatBasis = 1;
    h.remarks = u"Бележка"_s;
    return h;
}

SaleLine TstSalesData::line(int material, double quantity, double price)
{
    SaleLine l;
    l.material = material;
    l.quantity = quantity;
    l.priceLv = price;
    return l;
}

int TstSalesData::rowsOfAnySale()
{
    return f_.count(u"select (select count(*) from PRODAGBI) + (select count(*) from PRODAGBI_PLASTANE)"
                    u" + (select count(*) from PRODAGBI_DOKUMENT) + (select count(*) from PRODAGBI_FLICA)"
                    u" + (select count(*) from PRODAGBI_MATERIALI) + (select count(*) from SKLAD_DVIGENIE) from rdb$database"_s);
}

void TstSalesData::taxInvoicePaidAtOnce()
{
    SaleLine a = line(500, 12, 10);  // more than the older delivery line holds
    a.discountPct = 10;
    const Sales::Recorded r = Sales::recordSale(f_.db(), invoiceHeader(), {a, line(501, 2, 7.5)});
    QCOMPARE(r.saleNumber, u"20261210001"_s);
    QCOMPARE(r.lineKeys.size(), 2);
    const DbResult rows = f_.db().query(
        u"select NUMPRODAGBA, NFAKTURA, NFAKT_INT, NKONTRAGENT, TIP_DOCUMENT, NVIDPLASTANE, PROCENT_DDS, PROCENT_OTST, "
        u"DATEFAKTURA, BELEGKA, NMATERIAL, BROI_MATERIAL_IZDELIE, OTST_IZDELIE from PRODAGBI order by AUTONUM"_s);
    QCOMPARE(rows.rows.size(), std::size_t(2));
    for (std::size_t i = 0; i < 2; ++i) {
        QCOMPARE(rows.value(i, u"NUMPRODAGBA"_s).toString(), r.saleNumber);
        QVERIFY(rows.value(i, u"NFAKTURA"_s).isNull());
        QCOMPARE(rows.value(i, u"NFAKT_INT"_s).toInt(), 123);
        QCOMPARE(rows.value(i, u"NKONTRAGENT"_s).toInt(), 60);
        QCOMPARE(rows.value(i, u"PROCENT_DDS"_s).toDouble(), 20.0);
        QCOMPARE(rows.value(i, u"PROCENT_OTST"_s).toDouble(), 5.0);
        QCOMPARE(rows.value(i, u"DATEFAKTURA"_s).toDateTime().date(), QDate(2026, 12, 9));
        QCOMPARE(rows.value(i, u"BELEGKA"_s).toString(), u"Бележка"_s);
    }
    QCOMPARE(rows.value(1, u"NMATERIAL"_s).toInt(), 501);
    // One payment: (12 * 9 + 2 * 7.5) = 123 less 5 % = 116.85, plus 20 % VAT = 140.22.
    const DbResult pay = f_.db().query(u"select NUMPRODAGBA, NKONTRAGENT, PLASTANE_SUMA, PLASTANE_DATE from PRODAGBI_PLASTANE"_s);
    QCOMPARE(pay.rows.size(), std::size_t(1));
    QCOMPARE(pay.rows[0][0].toString(), r.saleNumber);
    QCOMPARE(pay.rows[0][1].toInt(), 60);
    QVERIFY(qAbs(pay.rows[0][2].toDouble() - 140.22) < 1e-9);
    // Stock leaves oldest first: 10 from the first line, 2 from the second.
    QCOMPARE(onHand(500), 3.0);
    QCOMPARE(onHand(501), 13.0);
    QCOMPARE(f_.count(u"select count(*) from SKLAD_DVIGENIE where VID_DVIGENIE = 1 and DOK_NOMER = :N"_s,
                      {{u"N"_s, r.saleNumber}}),
             3);
    QCOMPARE(f_.count(u"select count(*) from SKLAD_DVIGENIE where DOK_AUTONUM = :K"_s, {{u"K"_s, r.lineKeys[0]}}), 2);
    // The next sale of the day takes the next number.
    QCOMPARE(Sales::recordSale(f_.db(), invoiceHeader(u"124"_s), {line(502, 1, 1)}).saleNumber, u"20261210002"_s);
}

void TstSalesData::failureStoresNothing_data()
{
    QTest::addColumn<bool>("injected");
    QTest::newRow("server fault on the second line") << true;
    QTest::newRow("short stock on the third line") << false;
}

// A failure after the first line of three leaves no row of the sale anywhere and the stock as it was.
void TstSalesData::failureStoresNothing()
{
    QFETCH(bool, injected);
    if (injected) {
        f_.db().executeImmediate(u"create exception T_FAULT 'injected'"_s);
        f_.db().executeImmediate(u"create trigger T_FAULT_BI for PRODAGBI before insert as begin"
                                 u" if (new.NMATERIAL = 501) then exception T_FAULT; end"_s);
    }
    SaleHeader h = invoiceHeader();
    h.counterpartyType = Sales::NaturalPersonType;
    h.person = {u"Иван"_s, u"София"_s, u"1234567890"_s};
    try {
        Sales::recordSale(f_.db(), h, {line(500, 4, 10), line(501, 1, 10), line(502, injected ? 1 : 16, 10)});
        QFAIL("the sale was recorded");
    } catch (const DbError& e) {
        QVERIFY2(injected ? e.message().contains(u"injected"_s) : e.message().contains(u"Недостатъчно количество на  Гайка"_s),
                 qPrintable(e.message()));
    }
    QCOMPARE(rowsOfAnySale(), 0);
    QCOMPARE(onHand(500), 15.0);
    QCOMPARE(onHand(501), 15.0);
    QCOMPARE(onHand(502), 15.0);
}

// Two workstations record at the same moment: both sales are stored, under different numbers.
void TstSalesData::concurrentRecordingsGetDifferentNumbers()
{
    std::barrier start(2);
    const auto record = [&](const QString& invoice) {
        SQLConnection db(f_.db().params());
        db.open();
        start.arrive_and_wait();
        return Sales::recordSale(db, invoiceHeader(invoice), {line(500, 1, 10), line(501, 1, 10)}).saleNumber;
    };
    auto first = std::async(std::launch::async, record, u"201"_s);
    auto second = std::async(std::launch::async, record, u"202"_s);
    const QString a = first.get(), b = second.get();
    QVERIFY(a != b);
    QCOMPARE(QSet<QString>({a, b}), QSet<QString>({u"20261210001"_s, u"20261210002"_s}));
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI_DOKUMENT"_s), 2);
    QCOMPARE(f_.count(u"select count(distinct NUMPRODAGBA) from PRODAGBI"_s), 2);
    QCOMPARE(onHand(500), 13.0);
}

// Two workstations record a sale with the same proposed invoice number at the same moment: one is
// stored, the other is refused and leaves nothing behind.
void TstSalesData::sameDocumentNumberOnTwoWorkstations()
{
    std::barrier start(2);
    const auto record = [&]() -> QString {
        SQLConnection db(f_.db().params());
        db.open();
        start.arrive_and_wait();
        try {
            Sales::recordSale(db, invoiceHeader(u"301"_s), {line(500, 1, 10), line(501, 1, 10)});
            return {};
        } catch (const Sales::SaleRefused& e) {
            return e.messages().join(u'|');
        }
    };
    auto first = std::async(std::launch::async, record);
    auto second = std::async(std::launch::async, record);
    QStringList refusals{first.get(), second.get()};
    refusals.removeAll(QString());
    QCOMPARE(refusals,
             QStringList{u"Документ № 301 от този вид вече е записан с друга продажба - въведете друг номер !"_s});
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI_DOKUMENT"_s), 1);
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI where NFAKT_INT = 301"_s), 2);
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI_PLASTANE"_s), 1);
    QCOMPARE(onHand(500), 14.0);
    QCOMPARE(onHand(501), 14.0);
}

// A workstation has drawn 12 of the 15 screws and not yet committed when a second one sells 5:
// the second waits for the stock lines, then finds 3 and is refused; stock never goes below 0.
void TstSalesData::concurrentWriteOffsNeverOverdraw()
{
    SQLConnection first(f_.db().params());
    first.open();
    std::optional<TransactionScope> tx(std::in_place, first);
    first.selectProcedure(u"SKLAD_MAT_PROD_ZAPIS"_s, {{u"INUMPRODAGBA"_s, u"20261210099"_s}, {u"INUMMATERIAL"_s, 500},
                                                     {u"IBROI_MAT_PROD"_s, 12.0}, {u"IAUTONUM_SKLAD"_s, QVariant()},
                                                     {u"IDOK_AUTONUM"_s, QVariant()}});
    std::promise<void> started;
    auto second = std::async(std::launch::async, [&]() -> QString {
        SQLConnection db(f_.db().params());
        db.open();
        started.set_value();
        try {
            Sales::recordSale(db, invoiceHeader(u"401"_s), {line(500, 5, 10)});
            return {};
        } catch (const Sales::SaleRefused& e) {
            return e.messages().join(u'|');
        } catch (const DbError& e) {
            return e.message();
        }
    });
    started.get_future().wait();
    // Gives the second workstation time to reach the stock lines; it is refused either way once
    // the first has committed, but only the lock keeps it from drawing before.
    QTest::qWait(1500);
    tx->commit();
    tx.reset();
    const QString refusal = second.get();
    QVERIFY2(refusal.contains(u"Недостатъчно количество на  Болт"_s), qPrintable(refusal));
    QCOMPARE(onHand(500), 3.0);
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI"_s), 0);
}

void TstSalesData::duplicateDocumentNumberRefused()
{
    Sales::recordSale(f_.db(), invoiceHeader(u"300"_s), {line(500, 1, 10)});
    try {
        Sales::recordSale(f_.db(), invoiceHeader(u"300"_s), {line(501, 1, 10)});
        QFAIL("a second invoice 300 was recorded");
    } catch (const Sales::SaleRefused& e) {
        QVERIFY(e.messages().front().startsWith(u"Документ № 300"_s));
    }
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI"_s), 1);
    QCOMPARE(onHand(501), 15.0);
    // Another series may carry the same number.
    SaleHeader receipt = invoiceHeader();
    receipt.documentType = 2;
    receipt.stockReceiptNumber = u"300"_s;
    Sales::recordSale(f_.db(), receipt, {line(501, 1, 10)});
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI where NSTOK_RAZP = 300"_s), 1);
}

void TstSalesData::correctionKeepsNumbersAndNetsStock()
{
    const Sales::Recorded r = Sales::recordSale(f_.db(), invoiceHeader(), {line(500, 3, 10), line(501, 2, 10)});
    QCOMPARE(onHand(500), 12.0);
    Sales::CorrectionPayment pay;
    pay.atOnce = false;
    pay.paidNowLv = 5;
    const Sales::Recorded c = Sales::correctSale(f_.db(), r.saleNumber, {line(500, 1, 11), line(501, 14, 10)}, pay);
    QCOMPARE(c.saleNumber, r.saleNumber);
    QCOMPARE(onHand(500), 14.0);
    QCOMPARE(onHand(501), 1.0);
    const DbResult rows = f_.db().query(u"select NUMPRODAGBA, NFAKT_INT, NKONTRAGENT, PROCENT_OTST, BROI_MATERIAL_IZDELIE, "
                                        u"CENA_MATERIAL_IZDELIE from PRODAGBI order by AUTONUM"_s);
    QCOMPARE(rows.rows.size(), std::size_t(2));
    QCOMPARE(rows.value(0, u"NUMPRODAGBA"_s).toString(), r.saleNumber);
    QCOMPARE(rows.value(0, u"NFAKT_INT"_s).toInt(), 123);
    QCOMPARE(rows.value(0, u"NKONTRAGENT"_s).toInt(), 60);
    QCOMPARE(rows.value(0, u"PROCENT_OTST"_s).toDouble(), 5.0);
    QCOMPARE(rows.value(0, u"CENA_MATERIAL_IZDELIE"_s).toDouble(), 11.0);
    QCOMPARE(rows.value(1, u"BROI_MATERIAL_IZDELIE"_s).toDouble(), 14.0);
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI_PLASTANE"_s), 1);
    QCOMPARE(f_.count(u"select PLASTANE_SUMA from PRODAGBI_PLASTANE"_s), 5);
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI_DOKUMENT"_s), 1);
    // A correction the stock cannot cover changes nothing.
    QVERIFY_THROWS_EXCEPTION(DbError, Sales::correctSale(f_.db(), r.saleNumber, {line(500, 40, 1)}, pay));
    QCOMPARE(onHand(500), 14.0);
    QCOMPARE(onHand(501), 1.0);
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI"_s), 2);
}

void TstSalesData::naturalPersonSale()
{
    SaleHeader h = invoiceHeader();
    h.counterpartyType = Sales::NaturalPersonType;
    h.counterparty = 60;  // whatever the recipient list shows, a natural person records 0
    h.branch = 4;
    h.recipientName.clear();
    h.person = {u"Иван Петров"_s, u"София, ул. 1"_s, u"8001011234"_s};
    const Sales::Recorded r = Sales::recordSale(f_.db(), h, {line(500, 1, 10)});
    const DbResult p = f_.db().query(u"select IME, ADRES, EGN from PRODAGBI_FLICA where NUMPRODAGBA = :N"_s, {{u"N"_s, r.saleNumber}});
    QCOMPARE(p.rows.size(), std::size_t(1));
    QCOMPARE(p.rows[0][0].toString(), u"Иван Петров"_s);
    QCOMPARE(p.rows[0][2].toString(), u"8001011234"_s);
    QCOMPARE(f_.count(u"select NKONTRAGENT + NFILIAL from PRODAGBI"_s), 0);
    QCOMPARE(f_.count(u"select NKONTRAGENT from PRODAGBI_PLASTANE"_s), 0);
    // A correction keeps the natural person.
    Sales::correctSale(f_.db(), r.saleNumber, {line(500, 2, 10)}, {});
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI_FLICA"_s), 1);
}

void TstSalesData::returnedGoodsComeBackAndCorrectionTakesThemOut()
{
    SaleHeader h = invoiceHeader();
    h.documentType = 2;
    h.stockReceiptNumber = u"7"_s;
    const Sales::Recorded r = Sales::recordSale(f_.db(), h, {line(500, 2, 10), line(501, -3, 10)});
    QCOMPARE(onHand(500), 13.0);
    QCOMPARE(onHand(501), 18.0);
    const DbResult back = f_.db().query(u"select KOLICHESTVO, NFAKTURA, NKONTRAGENT from SKLAD where NFAKTURA starting with 'Vyrn'"_s);
    QCOMPARE(back.rows.size(), std::size_t(1));
    QCOMPARE(back.rows[0][0].toDouble(), 3.0);
    QCOMPARE(back.rows[0][1].toString(), u"Vyrn001"_s);
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI_MATERIALI where NFAKTURA = 'Vyrn001' and BROI_MAT_PROD = -3"_s), 1);
    Sales::correctSale(f_.db(), r.saleNumber, {line(500, 2, 10)}, {});
    QCOMPARE(onHand(501), 15.0);
    QCOMPARE(f_.count(u"select count(*) from SKLAD where NFAKTURA starting with 'Vyrn'"_s), 0);
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI_MATERIALI"_s), 0);
}

void TstSalesData::returnsOfAnotherSaleStay_data()
{
    QTest::addColumn<int>("otherClient");
    QTest::addColumn<bool>("recordedBeforeTheLink");
    QTest::addColumn<bool>("deleted");  // the first sale is deleted, not corrected
    for (const bool before : {false, true})
        for (const bool deleted : {false, true}) {
            const QByteArray how = QByteArray(deleted ? "deleted" : "corrected") + (before ? ", recorded before the link" : "");
            QTest::newRow(("another client, " + how).constData()) << 70 << before << deleted;
            QTest::newRow(("the same client, " + how).constData()) << 60 << before << deleted;
        }
}

// Two sales of different days with the same daily sequence and the same document date: the goods
// both took back are "Vyrn001" of 10.12. Correcting or deleting the first takes out its own only;
// rows recorded before a sale named its returned goods' line are told apart by client and quantity.
void TstSalesData::returnsOfAnotherSaleStay()
{
    QFETCH(int, otherClient);
    QFETCH(bool, recordedBeforeTheLink);
    QFETCH(bool, deleted);
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (70, 1, 'Друг клиент')"_s);
    SaleHeader h = invoiceHeader();
    h.documentType = 2;
    h.stockReceiptNumber = u"7"_s;
    h.date = QDate(2026, 12, 10);
    const QString first = Sales::recordSale(f_.db(), h, {line(500, 1, 10), line(501, -2, 10)}).saleNumber;
    Clock::setFixed(QDateTime(QDate(2026, 12, 11), QTime(10, 0)));
    h.counterparty = otherClient;
    h.stockReceiptNumber = u"8"_s;
    const QString second = Sales::recordSale(f_.db(), h, {line(501, -3, 10)}).saleNumber;
    QCOMPARE(second, u"20261211001"_s);
    QCOMPARE(f_.count(u"select count(*) from SKLAD where NFAKTURA = 'Vyrn001' and DATEFAKTURA = '10.12.2026'"_s), 2);
    QCOMPARE(onHand(501), 20.0);
    if (recordedBeforeTheLink) f_.exec(u"update PRODAGBI_MATERIALI set AUTONUM_SKLAD = null"_s);

    if (deleted)
        SaleBrowser::deleteSale(f_.db(), first);
    else
        Sales::correctSale(f_.db(), first, {line(500, 1, 10)}, {});
    const DbResult left = f_.db().query(u"select NKONTRAGENT, KOLICHESTVO from SKLAD where NFAKTURA = 'Vyrn001'"_s);
    QCOMPARE(left.rows.size(), std::size_t(1));
    QCOMPARE(left.rows[0][0].toInt(), otherClient);
    QCOMPARE(left.rows[0][1].toDouble(), 3.0);
    QCOMPARE(onHand(501), 18.0);
    // The second sale's own goods go with its correction.
    Sales::correctSale(f_.db(), second, {line(502, 1, 10)}, {});
    QCOMPARE(f_.count(u"select count(*) from SKLAD where NFAKTURA starting with 'Vyrn'"_s), 0);
    QCOMPARE(onHand(501), 15.0);
}

void TstSalesData::saleOfItsOwnReturnedGoods_data()
{
    QTest::addColumn<bool>("returnFirst");
    QTest::newRow("the return before the sale line") << true;
    QTest::newRow("the sale line before the return") << false;
}

// Of a material the warehouses do not hold, a sale takes back 2 and sells them again: it is recorded
// whatever the order of its lines, and corrected and deleted. Once another sale took goods off its
// returned goods, its correction is refused and changes nothing.
void TstSalesData::saleOfItsOwnReturnedGoods()
{
    QFETCH(bool, returnFirst);
    f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (503, 'Винт', 1, 1)"_s);
    SaleHeader h = invoiceHeader();
    h.documentType = 2;
    h.stockReceiptNumber = u"7"_s;
    const QVector<SaleLine> lines = returnFirst ? QVector<SaleLine>{line(503, -2, 10), line(503, 2, 10)}
                                                : QVector<SaleLine>{line(503, 2, 10), line(503, -2, 10)};
    QString sale;
    try {
        sale = Sales::recordSale(f_.db(), h, lines).saleNumber;
        QCOMPARE(onHand(503), 0.0);
        Sales::correctSale(f_.db(), sale, {line(503, 1, 10), line(503, -3, 10)}, {});
    } catch (const DbError& e) {
        QFAIL(qPrintable(QString(e.message()).replace(u'\n', u" | "_s)));
    }
    QCOMPARE(onHand(503), 2.0);
    QCOMPARE(f_.count(u"select count(*) from SKLAD where NMATERIAL = 503"_s), 1);

    h.stockReceiptNumber = u"8"_s;
    const QString other = Sales::recordSale(f_.db(), h, {line(503, 1, 10)}).saleNumber;
    try {
        Sales::correctSale(f_.db(), sale, {line(503, 1, 10)}, {});
        QFAIL("goods another sale took were taken out");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(u"Върнатата стока вече е изписана - корекцията е забранена !"_s), qPrintable(e.message()));
    }
    QCOMPARE(onHand(503), 1.0);
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI where NUMPRODAGBA = :N"_s, {{u"N"_s, sale}}), 2);

    SaleBrowser::deleteSale(f_.db(), other);
    SaleBrowser::deleteSale(f_.db(), sale);
    QCOMPARE(onHand(503), 0.0);
    QCOMPARE(f_.count(u"select count(*) from SKLAD where NMATERIAL = 503"_s), 0);
    QCOMPARE(rowsOfAnySale(), 0);
}

void TstSalesData::correctionDrawsFromTheLinesTheSaleDrewFrom_data()
{
    QTest::addColumn<int>("object");  // 0: the warehouses
    QTest::newRow("warehouse") << 0;
    QTest::newRow("warehouse object") << 3;
}

// The user picked the newer of the material's two lines: the sale loaded for a correction names
// that line, and the correction draws from it again, not from the older.
void TstSalesData::correctionDrawsFromTheLinesTheSaleDrewFrom()
{
    QFETCH(int, object);
    if (object)
        for (const int day : {3, 4})
            f_.db().executeProcedure(u"ADDDOSTAVKA_SKLOB"_s,
                                     {{u"ADD_UPD"_s, 1}, {u"NUM_SKL_RAZP"_s, day}, {u"NSKL_OBEKT"_s, object},
                                      {u"NMATERIAL"_s, 500}, {u"KOLICHESTVO"_s, 6.0},
                                      {u"DATEPOLUCHENO"_s, QDate(2026, 11, day)}});
    const QString lines = object ? u"SKL_OBEKTI_MATERIALI"_s : u"SKLAD"_s;
    const QString drawn = object ? u"AUTONUM_SKLOB"_s : u"AUTONUM_SKLAD"_s;
    const int newer = f_.db()
                          .query(u"select first 1 AUTONUM from %1 where NMATERIAL = 500 order by DATEPOLUCHENO desc"_s.arg(lines))
                          .rows.front()[0]
                          .toInt();
    SaleLine l = line(500, 3, 10);
    l.warehouseObject = object;
    l.stockLine = newer;
    const QString sale = Sales::recordSale(f_.db(), invoiceHeader(), {l}).saleNumber;
    const auto drawnFrom = [&] {
        const DbResult r = f_.db().query(u"select %1, sum(KOLICHESTVO) from SKLAD_DVIGENIE where DOK_NOMER = :N "
                                         u"group by %1"_s.arg(drawn),
                                         {{u"N"_s, sale}});
        QList<QPair<int, double>> out;
        for (const DbRow& row : r.rows) out << qMakePair(row[0].toInt(), row[1].toDouble());
        return out;
    };
    QCOMPARE(drawnFrom(), (QList<QPair<int, double>>{{newer, 3.0}}));
    const std::optional<Sales::RecordedSale> loaded = Sales::loadSale(f_.db(), sale);
    QVERIFY(loaded);
    QCOMPARE(loaded->lines.size(), 1);
    QCOMPARE(loaded->lines[0].stockLine, newer);
    Sales::correctSale(f_.db(), sale, loaded->lines, {});
    QCOMPARE(drawnFrom(), (QList<QPair<int, double>>{{newer, 3.0}}));
}

// A credit note: returned goods come back into stock, amount corrections take nothing out, and
// the payment is the (negative) amount to pay.
void TstSalesData::creditNote()
{
    SaleHeader h = invoiceHeader();
    h.documentType = 10;
    h.recipientDiscountPct = 0;
    Sales::recordSale(f_.db(), h, {line(500, -2, 10), line(501, 1, -5)});
    QCOMPARE(onHand(500), 17.0);
    QCOMPARE(onHand(501), 15.0);
    const double paid = f_.db().query(u"select PLASTANE_SUMA from PRODAGBI_PLASTANE"_s).rows.front()[0].toDouble();
    QVERIFY(qAbs(paid - (-25 * 1.2)) < 1e-9);
}

void TstSalesData::storedDocumentNumbers_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("invoice");
    QTest::addColumn<QVariant>("nfaktura");
    QTest::addColumn<int>("nfaktInt");
    QTest::addColumn<int>("nstokRazp");
    QTest::addColumn<int>("neksBel");
    QTest::newRow("tax invoice, integer numbers") << 0 << 1 << u"0000000123"_s << QVariant() << 123 << 0 << 0;
    QTest::newRow("tax invoice, text numbers") << 0 << 0 << u"0000000123"_s << QVariant(u"0000000123"_s) << 0 << 0 << 0;
    QTest::newRow("chain invoice, symbol left out") << 5 << 1 << u"A000000077"_s << QVariant() << 77 << 9 << 0;
    QTest::newRow("chain stock receipt") << 4 << 1 << u"0000000078"_s << QVariant() << 78 << 9 << 0;
    QTest::newRow("stock receipt") << 2 << 1 << u"0000000123"_s << QVariant(u"0"_s) << 0 << 9 << 0;
    QTest::newRow("dispatch note: no invoice number") << 7 << 0 << u"123"_s << QVariant() << 0 << 0 << 9;
    QTest::newRow("requisition: no invoice number") << 9 << 1 << u"0000000123"_s << QVariant() << 0 << 0 << 9;
}

void TstSalesData::storedDocumentNumbers()
{
    QFETCH(int, type);
    QFETCH(int, mode);
    QFETCH(QString, invoice);
    SaleHeader h = invoiceHeader();
    h.documentType = type;
    h.invoiceNumbering = mode;
    h.invoiceNumber = invoice;
    h.stockReceiptNumber = h.dispatchNoteNumber = u"9"_s;
    Sales::recordSale(f_.db(), h, {line(500, 1, 10)});
    const DbResult r = f_.db().query(u"select NFAKTURA, NFAKT_INT, NSTOK_RAZP, NEKSP_BEL, PROCENT_DDS from PRODAGBI"_s);
    QTEST(r.rows[0][0], "nfaktura");
    QTEST(r.rows[0][1].toInt(), "nfaktInt");
    QTEST(r.rows[0][2].toInt(), "nstokRazp");
    QTEST(r.rows[0][3].toInt(), "neksBel");
    QCOMPARE(r.rows[0][4].toDouble(), type == 9 ? 0.0 : 20.0);
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI where NFAKTURA = ''"_s), 0);
}

void TstSalesData::invoiceNumberBehindTheSymbol_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");  // NFAKT_INT; 0 when the number is refused
    QTest::newRow("symbol then digits") << u"0"_s << u"0000000058"_s << 58;
    QTest::newRow("letter symbol") << u"A"_s << u"A000000077"_s << 77;
    QTest::newRow("digits without the symbol") << u"0"_s << u"58"_s << 0;
    QTest::newRow("another symbol") << u"A"_s << u"B000000077"_s << 0;
    QTest::newRow("no symbol: the whole text") << QString() << u"58"_s << 58;
}

void TstSalesData::invoiceNumberBehindTheSymbol()
{
    QFETCH(QString, symbol);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    SaleHeader h = invoiceHeader();
    h.invoiceNumbering = 1;
    h.invoiceSymbol = symbol;
    h.invoiceNumber = typed;
    const QStringList why = Sales::refusals(h, {line(500, 1, 10)});
    if (stored == 0) {
        QCOMPARE(why, QStringList{u"Невалиден номер на фактура: \"%1\" !"_s.arg(typed)});
        QVERIFY_THROWS_EXCEPTION(Sales::SaleRefused, Sales::recordSale(f_.db(), h, {line(500, 1, 10)}));
        QCOMPARE(f_.count(u"select count(*) from PRODAGBI"_s), 0);
        return;
    }
    QVERIFY2(why.isEmpty(), qPrintable(why.join(u'|')));
    Sales::recordSale(f_.db(), h, {line(500, 1, 10)});
    QCOMPARE(f_.count(u"select NFAKT_INT from PRODAGBI"_s), stored);
}

void TstSalesData::textInvoiceNumbersAreDigits_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("proposedNext");  // empty: refused
    QTest::newRow("ten digits") << u"0000000124"_s << u"0000000125"_s;
    QTest::newRow("fewer digits") << u"124"_s << u"0000000125"_s;
    QTest::newRow("a fraction") << u"12.5"_s << QString();
    QTest::newRow("a letter in front") << u"A123"_s << QString();
    QTest::newRow("a dot at the end") << u"123."_s << QString();
    QTest::newRow("zero") << u"0000000000"_s << QString();
}

// With text invoice numbers an invoice number is digits only, refused before anything is written:
// the proposals add 1 to the highest stored one.
void TstSalesData::textInvoiceNumbersAreDigits()
{
    QFETCH(QString, typed);
    QFETCH(QString, proposedNext);
    SaleHeader h = invoiceHeader();
    h.invoiceNumbering = Numbering::InvoiceNumbering::TextNumbers;
    h.invoiceNumber = typed;
    const QStringList why = Sales::refusals(h, {line(500, 1, 10)});
    if (proposedNext.isEmpty()) {
        QCOMPARE(why, QStringList{u"Невалиден номер на фактура: \"%1\" !"_s.arg(typed)});
        QVERIFY_THROWS_EXCEPTION(Sales::SaleRefused, Sales::recordSale(f_.db(), h, {line(500, 1, 10)}));
        QCOMPARE(rowsOfAnySale(), 0);
        return;
    }
    QVERIFY2(why.isEmpty(), qPrintable(why.join(u'|')));
    Sales::recordSale(f_.db(), h, {line(500, 1, 10)});
    const Numbering::NumberProposal next =
        Numbering::proposeInvoiceNumber(f_.db(), {Numbering::InvoiceNumbering::TextNumbers, {}}, 3);
    QVERIFY(next.hasText());
    QCOMPARE(next.value(), proposedNext);
}

void TstSalesData::ownSeriesNumberRequired_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("invoice");
    QTest::addColumn<QString>("receipt");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("stock receipt without its number") << 2 << u"0000000001"_s << u""_s << u"Не е въведен номер на стокова разписка   !"_s;
    QTest::newRow("stock receipt needs no invoice number") << 2 << u""_s << u"5"_s << u""_s;
    QTest::newRow("invoice without its number") << 0 << u""_s << u"5"_s << u"Не е въведен номер на фактура   !"_s;
    QTest::newRow("invoice number beyond nine digits") << 0 << u"09999999999"_s << u""_s
                                                      << u"Невалиден номер на фактура: \"09999999999\" !"_s;
    QTest::newRow("stock receipt number not a number") << 2 << u""_s << u"1.5"_s
                                                       << u"Невалиден номер на стокова разписка: \"1.5\" !"_s;
}

// The check asks for the number of the type's own series, and parses it before anything is written.
void TstSalesData::ownSeriesNumberRequired()
{
    QFETCH(int, type);
    QFETCH(QString, invoice);
    QFETCH(QString, receipt);
    QFETCH(QString, refusal);
    SaleHeader h = invoiceHeader();
    h.documentType = type;
    h.invoiceNumber = invoice;
    h.stockReceiptNumber = receipt;
    const QStringList why = Sales::refusals(h, {line(500, 1, 10)});
    QCOMPARE(why, refusal.isEmpty() ? QStringList() : QStringList{refusal});
    // Every failed check is reported at once.
    h.counterparty = 0;
    h.recipientName.clear();
    h.paymentType = 0;
    QCOMPARE(Sales::refusals(h, {}).size(), why.size() + 4);
    if (!refusal.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(Sales::SaleRefused, Sales::recordSale(f_.db(), h, {line(500, 1, 10)}));
        QCOMPARE(rowsOfAnySale(), 0);
    }
}

void TstSalesData::objectStockWrittenOff()
{
    f_.db().executeProcedure(u"ADDDOSTAVKA_SKLOB"_s,
                             {{u"ADD_UPD"_s, 1}, {u"NUM_SKL_RAZP"_s, 4}, {u"NSKL_OBEKT"_s, 3}, {u"NMATERIAL"_s, 500},
                              {u"KOLICHESTVO"_s, 6.0}, {u"DATEPOLUCHENO"_s, QDate(2026, 11, 5)}});
    SaleLine l = line(500, 4, 10);
    l.warehouseObject = 3;
    Sales::recordSale(f_.db(), invoiceHeader(), {l});
    QCOMPARE(Sales::warehouseObjectStockOf(f_.db(), 3, 500), 2.0);
    QCOMPARE(onHand(500), 15.0);
    const DbResult list = f_.db().selectProcedure(u"SKLADOBEKTNALICH"_s, {{u"NSKLOBEKT_OT"_s, 1}, {u"NSKLOBEKT_DO"_s, 10000},
                                                                          {u"NMATERIALOT"_s, 1}, {u"NMATERIALDO"_s, 10000}});
    QCOMPARE(list.rows.size(), std::size_t(1));
    QCOMPARE(list.value(0, u"NALICHNO"_s).toDouble(), 2.0);
    QCOMPARE(list.value(0, u"PRODADENO"_s).toDouble(), 4.0);
    QCOMPARE(list.value(0, u"IMESKL_OBEKT"_s).toString(), u"Магазин"_s);
}

void TstSalesData::lineAndDocumentTotals_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("unit");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("discount");
    QTest::addColumn<double>("taxable");
    QTest::addColumn<QVariant>("vat");
    QTest::addColumn<double>("toPay");
    QTest::addColumn<QString>("words");
    const QString words = u" тридесет лева и 78 ст."_s;
    QTest::newRow("tax invoice") << 0 << 10.0 << 27.0 << 1.35 << 25.65 << QVariant(5.13) << 30.78 << words;
    QTest::newRow("stock receipt") << 2 << 12.0 << 32.4 << 1.62 << 30.78 << QVariant() << 30.78 << words;
    QTest::newRow("requisition: VAT 0") << 9 << 10.0 << 27.0 << 1.35 << 25.65 << QVariant() << 25.65
                                        << u" двадесет и пет лева и 65 ст."_s;
}

// Quantity 3 at 10.00 with a line discount of 10 %, recipient discount 5 %, VAT 20 %.
void TstSalesData::lineAndDocumentTotals()
{
    QFETCH(int, type);
    const SaleTotals::LineValues v = SaleTotals::computeLine(type, 20, {3, 10, 0, 0, 10});
    QTEST(*v.lv.unit, "unit");
    QTEST(*v.lv.value, "value");
    QCOMPARE(v.valuta, u"BGN"_s);
    QVERIFY(!v.usd.value);
    SaleTotals::DocumentInput in;
    in.documentType = type;
    in.vatPct = 20;
    in.recipientDiscountPct = 5;
    const SaleTotals::DocumentTotals t = SaleTotals::computeTotals(in, *v.lv.value, 0, 0);
    const auto cents = [](double x) { return qRound64(x * 100); };
    QFETCH(double, discount);
    QFETCH(double, taxable);
    QFETCH(QVariant, vat);
    QFETCH(double, toPay);
    QCOMPARE(cents(t.discountLv), cents(discount));
    QCOMPARE(cents(t.taxable), cents(taxable));
    QCOMPARE(t.vat.has_value(), vat.isValid());
    if (t.vat) QCOMPARE(cents(*t.vat), cents(vat.toDouble()));
    QCOMPARE(cents(t.toPayLv), cents(toPay));
    QTEST(t.words, "words");
}

void TstSalesData::debtAfterTheSale()
{
    SaleTotals::DocumentInput in;
    in.documentType = 2;
    in.balanceLv = 100;
    in.balanceUsd = 7;
    in.deferred = true;
    in.paidNowLv = 20;
    SaleTotals::DocumentTotals t = SaleTotals::computeTotals(in, 50, 0, 0);
    QCOMPARE(t.debtLv, 130.0);
    QCOMPARE(t.debtUsd, 7.0);
    in.deferred = false;
    t = SaleTotals::computeTotals(in, 50, 0, 0);
    QCOMPARE(t.debtLv, 100.0);
    // A stock receipt line priced only in USD shows USD and has no BGN values.
    const SaleTotals::LineValues v = SaleTotals::computeLine(2, 20, {2, 0, 5, 0, 0});
    QVERIFY(!v.lv.value);
    QCOMPARE(v.valuta, u"USD"_s);
    QCOMPARE(*v.usd.value, 12.0);
}

// Paid at once, every currency records its amount to pay, after the document discount.
void TstSalesData::paidAtOnceInEveryCurrencyAfterTheDiscount()
{
    SaleHeader h = invoiceHeader();
    h.documentType = 6;
    h.stockReceiptNumber = u"7"_s;
    SaleLine l = line(500, 2, 10);
    l.priceUsd = 5;
    l.priceEur = 3;
    Sales::recordSale(f_.db(), h, {l});
    const DbResult pay = f_.db().query(u"select PLASTANE_SUMA, PLASTANE_SUMA_USD, PLASTANE_SUMA_EUR from PRODAGBI_PLASTANE"_s);
    QCOMPARE(pay.rows.size(), std::size_t(1));
    // 2 at 10, 5 and 3 with 20 % VAT: 24.00, 12.00 and 7.20, each less 5 %.
    const auto cents = [&](int column) { return qRound64(pay.rows[0][column].toDouble() * 100); };
    QCOMPARE(cents(0), 2280);
    QCOMPARE(cents(1), 1140);
    QCOMPARE(cents(2), 684);
}

// The old debt a sale starts from: every sale's amount to pay, as its totals compute it, less every
// payment of the client, per currency.
void TstSalesData::clientBalanceOverSalesAndPayments()
{
    SaleHeader deferred = invoiceHeader(u"0000000001"_s);
    deferred.payAtOnce = false;
    deferred.paidNowLv = 10;
    SaleLine discounted = line(500, 2, 10);
    discounted.discountPct = 10;
    Sales::recordSale(f_.db(), deferred, {discounted});
    SaleTotals::DocumentInput in;
    in.vatPct = 20;
    in.companyDiscountPct = 5;
    const double invoiceToPay = SaleTotals::computeTotals(in, Sales::totalsInput({discounted})).toPayLv;
    QVERIFY(qAbs(invoiceToPay - 20.52) < 1e-9);

    SaleHeader receipt = invoiceHeader();
    receipt.documentType = 2;
    receipt.stockReceiptNumber = u"7"_s;
    receipt.payAtOnce = false;
    SaleLine twoCurrencies = line(501, 1, 10);
    twoCurrencies.priceUsd = 5;
    Sales::recordSale(f_.db(), receipt, {twoCurrencies});
    // Paid at once: nothing is owed for it.
    Sales::recordSale(f_.db(), invoiceHeader(u"0000000002"_s), {line(502, 1, 10)});
    // A payment the client made later, tied to no sale.
    f_.db().executeProcedure(u"ADDPRODAGBI_PLASTANE"_s, {{u"NKONTRAGENT"_s, 60}, {u"PLASTANE_SUMA"_s, 3.0},
                                                          {u"PLASTANE_DATE"_s, QDate(2026, 12, 10)}});

    const Sales::Balance b = Sales::outstandingBalance(f_.db(), 60);
    // 20.52 - 10 paid; 10 with VAT less 5 % = 11.40 and 5 USD likewise 5.70; less the later 3.
    QVERIFY2(qAbs(b.lv - 18.92) < 1e-9, qPrintable(QString::number(b.lv, 'f', 12)));
    QVERIFY2(qAbs(b.usd - 5.7) < 1e-9, qPrintable(QString::number(b.usd, 'f', 12)));
    QCOMPARE(b.eur, 0.0);
    const Sales::Balance none = Sales::outstandingBalance(f_.db(), 61);
    QCOMPARE(none.lv, 0.0);
}

// A line is beyond the client's orders when what he ordered of the product is less than what he was
// sold of it so far plus the line.
void TstSalesData::linesBeyondTheClientsOrders()
{
    f_.exec(u"insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (7, 1, 500)"_s);
    f_.exec(u"insert into PORYCHKI (AUTONUM_NPORYCHKA, NKONTRAGENT) values (1, 60)"_s);
    f_.exec(u"insert into PORYCHKI_IZDELIA (AUTONUM, NPORYCHKA, NKONTRAGENT, NTIP_IZDELIE, BROI_IZDELIE) "
            u"values (1, 1, 60, 7, 4)"_s);
    f_.exec(u"insert into PORYCHKI_IZDELIA (AUTONUM, NPORYCHKA, NKONTRAGENT, NTIP_IZDELIE, BROI_IZDELIE) "
            u"values (2, 1, 60, 7, 1)"_s);
    // Another client's order does not count.
    f_.exec(u"insert into PORYCHKI (AUTONUM_NPORYCHKA, NKONTRAGENT) values (2, 61)"_s);
    f_.exec(u"insert into PORYCHKI_IZDELIA (AUTONUM, NPORYCHKA, NKONTRAGENT, NTIP_IZDELIE, BROI_IZDELIE) "
            u"values (3, 2, 61, 7, 100)"_s);
    Sales::recordSale(f_.db(), invoiceHeader(), {line(500, 3, 10)});
    const DbResult r = f_.db().query(u"select BROI_IZD_PORYCHKA,BROI_IZD_PRODAGBA from PROV_PORYCH_PROD_KONTR(500, 60)"_s);
    QCOMPARE(r.rows.front()[0].toDouble(), 5.0);
    QCOMPARE(r.rows.front()[1].toDouble(), 3.0);
    // 3 sold + 2 = 5 ordered: fine; 3 + 3 is beyond; a material never ordered is beyond.
    QCOMPARE(Sales::linesBeyondOrders(f_.db(), 60, {line(500, 2, 10), line(500, 3, 10), line(501, 1, 10)}),
             (QVector<int>{1, 2}));
}

// The materials the user chose to order: what the client was sold of a product beyond his orders
// becomes a line of one new order, dated as the sale; a material that is no product orders
// nothing. The order is written in the sale's transaction: when it fails, no sale is left either.
void TstSalesData::saleBeyondOrdersWritesItsOrder()
{
    f_.exec(u"insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (7, 1, 500)"_s);
    f_.exec(u"insert into PORYCHKI (AUTONUM_NPORYCHKA, NKONTRAGENT) values (1, 60)"_s);
    f_.exec(u"insert into PORYCHKI_IZDELIA (AUTONUM, NPORYCHKA, NKONTRAGENT, NTIP_IZDELIE, BROI_IZDELIE) "
            u"values (1, 1, 60, 7, 4)"_s);
    const SaleHeader h = invoiceHeader();
    const Sales::Recorded r = Sales::recordSale(f_.db(), h, {line(500, 6, 10), line(501, 1, 10)}, {500, 501});
    const DbResult order = f_.db().query(
        u"select p.AUTONUM_NPORYCHKA, p.NKONTRAGENT, p.DATEPORYCHKA, i.NTIP_IZDELIE, i.BROI_IZDELIE, i.OPISANIE "
        u"from PORYCHKI p join PORYCHKI_IZDELIA i on i.NPORYCHKA = p.AUTONUM_NPORYCHKA where p.AUTONUM_NPORYCHKA > 1"_s);
    QCOMPARE(order.rows.size(), std::size_t(1));
    QCOMPARE(order.value(0, u"NKONTRAGENT"_s).toInt(), 60);
    QCOMPARE(order.value(0, u"DATEPORYCHKA"_s).toDate(), h.date);
    QCOMPARE(order.value(0, u"NTIP_IZDELIE"_s).toInt(), 7);
    QCOMPARE(order.value(0, u"BROI_IZDELIE"_s).toDouble(), 2.0);
    QCOMPARE(order.value(0, u"OPISANIE"_s).toString(), u"Продажба "_s + r.saleNumber);
    // Now ordered as sold.
    const DbResult check = f_.db().query(u"select BROI_IZD_PORYCHKA,BROI_IZD_PRODAGBA from PROV_PORYCH_PROD_KONTR(500, 60)"_s);
    QCOMPARE(check.rows.front()[0].toDouble(), 6.0);
    QCOMPARE(check.rows.front()[1].toDouble(), 6.0);

    SaleHeader unknown = invoiceHeader(u"0000000009"_s);
    unknown.counterparty = 99;  // no such counterparty: the order is refused
    const int sales = f_.count(u"select count(*) from PRODAGBI"_s);
    QVERIFY_THROWS_EXCEPTION(DbError, Sales::recordSale(f_.db(), unknown, {line(500, 1, 10)}, {500}));
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI"_s), sales);
    QCOMPARE(f_.count(u"select count(*) from PORYCHKI"_s), 2);
}

QTEST_GUILESS_MAIN(TstSalesData)
#include "tst_sales_data.moc"
