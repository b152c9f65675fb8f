#include "data/dmporychki.h"
#include "orders/ordersdata.h"
#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "production/production.h"
#include "sales/salerecording.h"
#include "support/dbfixture.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Client orders against a real database: orders and their lines through the order procedures, the
// progress of an ordered product through requisition, batch and sale, and the materials the orders
// need against the warehouses' stock.
class TstOrdersData : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { f_.stop(); }

    void ordersAndTheirLines();
    void linesRefused_data();
    void linesRefused();
    void progressFromOrderToSale();
    void progressByClient();
    void materialNeedsAgainstStock();

private:
    const QDate today_{2026, 12, 10};
    void deliver(int material, double quantity, double price);
    int order(int client, QList<std::pair<int, double>> lines);
    // Product 1 ordered 10 by Алфа and 5 by Бета, product 2 ordered 2 by Бета; 5 of product 1
    // requisitioned, 4 made; Алфа bought 2 of them and Гама, who ordered nothing, 1.
    void orderRequisitionBatchSale();
    void sell(int client, int material, double quantity, const QString& invoice);
    DbResult progress();
    DbFixture f_;
};

void TstOrdersData::init()
{
    f_.start();
    f_.exec(u"insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"_s);
    f_.exec(u"insert into TIP_PROIZVODSTVO (NPROIZVODSTVO, PROIZVODSTVO, PSEVDONIM_CEH) values (1, 'Дърводелски цех', 'ДЦ')"_s);
    for (const auto& [n, name, price] : {std::tuple{9901, "Стол Виена", 0.0}, {9902, "Маса Орех", 0.0},
                                         {9911, "Бук дъска", 2.5}, {9912, "Лепило", 4.0}, {9913, "Винт", 0.1}})
        f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA, PRODAGNA_CENA, IZCH_DA_NE, SUM_DA_NE)"
                u" values (:N, :I, 1, 1, :P, 50, 0, 0)"_s,
                {{u"N"_s, n}, {u"I"_s, QString::fromUtf8(name)}, {u"P"_s, price}});
    f_.exec(u"insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (1, 1, 9901)"_s);
    f_.exec(u"insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (2, 1, 9902)"_s);
    for (const auto& [product, material, qty] : {std::tuple{1, 9911, 3.0}, {1, 9912, 0.5}, {2, 9911, 6.0}, {2, 9913, 4.0}})
        f_.exec(u"insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (:T, :M, :Q)"_s,
                {{u"T"_s, product}, {u"M"_s, material}, {u"Q"_s, qty}});
    for (const auto& [n, name] : {std::pair{10, "Алфа ООД"}, {11, "Бета ЕООД"}, {12, "Гама АД"}, {20, "Дървен материал АД"}})
        f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (:N, 1, :I)"_s,
                {{u"N"_s, n}, {u"I"_s, QString::fromUtf8(name)}});
    f_.exec(u"insert into MOL (NMOL, NKONTRAGENT, IMEMOL) values (3, 10, 'Иван Петров')"_s);
    deliver(9911, 40, 2.5);
    deliver(9912, 3, 4);
    deliver(9913, 100, 0.1);
}

void TstOrdersData::deliver(int material, double quantity, double price)
{
    f_.db().executeProcedure(u"ADDDOSTAVKA"_s, {{u"NMATERIAL"_s, material}, {u"KOLICHESTVO"_s, quantity},
                                                {u"ED_CENA_LV"_s, price}, {u"DATEPOLUCHENO"_s, QDate(2026, 11, 1)},
                                                {u"DATEFAKTURA"_s, QDate(2026, 11, 1)}, {u"NKONTRAGENT"_s, 20},
                                                {u"NFAKTURA"_s, u"F1"_s}});
}

int TstOrdersData::order(int client, QList<std::pair<int, double>> lines)
{
    const int number = Orders::addOrder(f_.db(), {QDate(2026, 12, 1), QDate(2026, 12, 20), client, 0});
    for (const auto& [product, quantity] : lines)
        Orders::saveLine(f_.db(), {number, client, product, quantity, QDate(2026, 12, 5), 3, 0, u"лак"_s});
    return number;
}

void TstOrdersData::sell(int client, int material, double quantity, const QString& invoice)
{
    Sales::SaleHeader h;
    h.counterparty = client;
    h.recipientName = u"Клиент"_s;
    h.paymentType = 1;
    h.invoiceNumber = invoice;
    h.date = today_;
    Sales::SaleLine l;
    l.material = material;
    l.quantity = quantity;
    l.priceLv = 50;
    Sales::recordSale(f_.db(), h, {l});
}

void TstOrdersData::orderRequisitionBatchSale()
{
    order(10, {{1, 10}});
    order(11, {{1, 5}, {2, 2}});
    Production::Requisition r;
    r.date = today_;
    r.workshop = 1;
    r.product = Production::RequestedProduct{1, 5, 0};
    r.lines = {{1, 9911, {}, 15}, {1, 9912, {}, 2.5}};
    Production::saveRequisition(f_.db(), r, today_);
    Production::Batch b;
    b.workshop = 1;
    b.productMaterial = 9901;
    b.count = 4;
    b.produced = today_;
    b.materials = {{9911, 12, 2.5}, {9912, 2, 4}};
    Production::saveBatch(f_.db(), b, today_);
    sell(10, 9901, 2, u"0000000001"_s);
    sell(12, 9901, 1, u"0000000002"_s);
}

DbResult TstOrdersData::progress()
{
    return f_.db().query(u"select * from PORYCHKI_DVIGENIE order by NTIP_IZDELIE"_s);
}

// Numbers grow; the person is optional; the same product added again adds to its line (a negative
// quantity reduces it); an order with lines is refused deletion until its lines go.
void TstOrdersData::ordersAndTheirLines()
{
    const int first = Orders::addOrder(f_.db(), {QDate(2026, 12, 1), QDate(2026, 12, 20), 10, 3});
    const int second = Orders::addOrder(f_.db(), {QDate(2026, 12, 2), QDate(2026, 12, 22), 11, 0});
    QVERIFY(second > first);
    const DbResult arh = f_.db().query(u"select * from PORYCHKI_ARHIV order by AUTONUM_NPORYCHKA"_s);
    QCOMPARE(arh.value(0, u"IMEMOL"_s).toString(), u"Иван Петров"_s);
    QVERIFY(arh.value(1, u"IMEMOL"_s).isNull());
    QCOMPARE(arh.value(1, u"IMEKONTRAGENT"_s).toString(), u"Бета ЕООД"_s);

    Orders::saveLine(f_.db(), {first, 10, 1, 8, QDate(2026, 12, 5), 3, 0, u"орех"_s});
    Orders::saveLine(f_.db(), {first, 10, 1, -5, QDate(2026, 12, 6), 2, 20, u"бук"_s});
    Orders::saveLine(f_.db(), {first, 10, 2, -2, QDate(2026, 12, 6), 0, 0, QString()});
    const DbResult lines = f_.db().query(
        u"select NTIP_IZDELIE, IMEMATERIAL, BROI_IZDELIE, DATESROK_IZD, NKONTR_IZD, OPISANIE from VIEWIZDELIE_PORYCHKA "
        u"where NPORYCHKA = :N order by NTIP_IZDELIE"_s, {{u"N"_s, first}});
    QCOMPARE(lines.rows.size(), std::size_t(2));
    QCOMPARE(lines.value(0, u"IMEMATERIAL"_s).toString(), u"Стол Виена"_s);
    QCOMPARE(lines.value(0, u"BROI_IZDELIE"_s).toDouble(), 3.0);
    QCOMPARE(lines.value(0, u"DATESROK_IZD"_s).toDate(), QDate(2026, 12, 6));
    QCOMPARE(lines.value(0, u"NKONTR_IZD"_s).toInt(), 20);
    QCOMPARE(lines.value(0, u"OPISANIE"_s).toString(), u"бук"_s);
    QCOMPARE(lines.value(1, u"BROI_IZDELIE"_s).toDouble(), -2.0);
    QCOMPARE(lines.value(1, u"NKONTR_IZD"_s).toInt(), 0);

    Orders::updateOrder(f_.db(), first, QDate(2026, 12, 3), QDate(2027, 1, 15), u"Спешно"_s);
    const DbResult changed = f_.db().query(u"select * from PORYCHKI_ARHIV where AUTONUM_NPORYCHKA = :N"_s, {{u"N"_s, first}});
    QCOMPARE(changed.value(0, u"DATESROK"_s).toDate(), QDate(2027, 1, 15));
    QCOMPARE(changed.value(0, u"INFO_PORYCHKA"_s).toString(), u"Спешно"_s);
    QCOMPARE(changed.value(0, u"NUMKONTRAGENT"_s).toInt(), 10);

    QCOMPARE(Orders::deleteRefusal(f_.db(), first),
             u" Има заявени изделия към тази поръчка  !\n     Изтрийте най-напред изделията !"_s);
    QVERIFY_THROWS_EXCEPTION(DbError, Orders::deleteOrder(f_.db(), first));
    Orders::deleteLine(f_.db(), first, 1);
    Orders::deleteLine(f_.db(), first, 2);
    QCOMPARE(Orders::deleteRefusal(f_.db(), first), QString());
    Orders::deleteOrder(f_.db(), first);
    QCOMPARE(f_.count(u"select count(*) from PORYCHKI"_s), 1);
}

void TstOrdersData::linesRefused_data()
{
    QTest::addColumn<int>("client");
    QTest::addColumn<int>("product");
    QTest::addColumn<double>("quantity");
    QTest::addColumn<int>("supplier");
    QTest::newRow("another client's order") << 11 << 1 << 2.0 << 0;
    QTest::newRow("no such product") << 10 << 77 << 2.0 << 0;
    QTest::newRow("quantity 0") << 10 << 1 << 0.0 << 0;
    QTest::newRow("no such supplier") << 10 << 1 << 2.0 << 99;
}

void TstOrdersData::linesRefused()
{
    QFETCH(int, client);
    QFETCH(int, product);
    QFETCH(double, quantity);
    QFETCH(int, supplier);
    const int number = order(10, {});
    QVERIFY_THROWS_EXCEPTION(DbError, Orders::saveLine(f_.db(), {number, client, product, quantity, today_, 0, supplier, {}}));
    QCOMPARE(f_.count(u"select count(*) from PORYCHKI_IZDELIA"_s), 0);
    QVERIFY_THROWS_EXCEPTION(DbError, Orders::addOrder(f_.db(), {today_, today_, 99, 0}));
}

// Every progress column after an order, a requisition and a batch for part of it and a sale of part.
void TstOrdersData::progressFromOrderToSale()
{
    orderRequisitionBatchSale();
    const DbResult p = progress();
    QCOMPARE(p.rows.size(), std::size_t(2));
    const QList<std::pair<const char*, int>> chair = {
        {"BROI_IZDELIA_PORYCHKA", 15},      {"BROI_IZDELIA_ISKANIA", 5},      {"BROI_IZDELIA_PROIZVEDENI", 4},
        {"BROI_IZDELIA_VPROCES", 1},        {"BROI_IZDELIA_NASKLAD", 1},      {"BROI_IZD_PRODADENI_PORYCHKA", 2},
        {"BROI_IZD_PRODADENI_SVOBODNO", 1}, {"BROI_IZDELIA_PRODADENI", 3},
        // 15 ordered - 2 sold to order - 1 in stock - 1 in process
        {"BROI_IZDELIA_PREDSTOIASTI", 11}};
    QCOMPARE(p.value(0, u"IME_IZDELIE"_s).toString(), u"Стол Виена"_s);
    for (const auto& [column, expected] : chair)
        QVERIFY2(p.value(0, QString::fromLatin1(column)).toInt() == expected, column);
    QCOMPARE(p.value(1, u"BROI_IZDELIA_PORYCHKA"_s).toInt(), 2);
    QCOMPARE(p.value(1, u"BROI_IZDELIA_PREDSTOIASTI"_s).toInt(), 2);
    QCOMPARE(p.value(1, u"BROI_IZDELIA_PRODADENI"_s).toInt(), 0);

    // Алфа buys 9 more: 8 of them complete his order of 10, the ninth is free; nothing is left to
    // make for him and the stock covers part of Бета's.
    deliver(9901, 10, 30);
    sell(10, 9901, 9, u"0000000003"_s);
    const DbResult after = progress();
    QCOMPARE(after.value(0, u"BROI_IZD_PRODADENI_PORYCHKA"_s).toInt(), 10);
    QCOMPARE(after.value(0, u"BROI_IZD_PRODADENI_SVOBODNO"_s).toInt(), 2);
    QCOMPARE(after.value(0, u"BROI_IZDELIA_NASKLAD"_s).toInt(), 2);
    // 15 - 10 - 2 in stock - 1 in process
    QCOMPARE(after.value(0, u"BROI_IZDELIA_PREDSTOIASTI"_s).toInt(), 2);
}

// The same counts per client, per order line and per free sale, as the progress window lists them.
void TstOrdersData::progressByClient()
{
    orderRequisitionBatchSale();
    TDMPorychki dm(f_.db());
    for (SmpDataset* ds : {&dm.SmpPorychDvigKontrSum, &dm.SmpPorychDvigKontrFull, &dm.SmpPorychProdSvobodno})
        TDMPorychki::reopen(*ds, u"Ntip_Izdelie"_s, 1);
    SmpDataset& sum = dm.SmpPorychDvigKontrSum;
    QCOMPARE(sum.recordCount(), 2);
    QCOMPARE(sum.value(u"IMEKONTRAGENT"_s).toString(), u"Алфа ООД"_s);
    QCOMPARE(sum.value(u"BROI_IZDELIA_PORYCHKA"_s).toDouble(), 10.0);
    QCOMPARE(sum.value(u"BROI_IZDELIA_OSTATYK"_s).toDouble(), 8.0);
    QCOMPARE(sum.value(u"BROI_IZDELIA_PRODADENI"_s).toDouble(), 2.0);
    sum.next();
    QCOMPARE(sum.value(u"BROI_IZDELIA_OSTATYK"_s).toDouble(), 5.0);
    QCOMPARE(dm.SmpPorychDvigKontrFull.recordCount(), 2);
    QCOMPARE(dm.SmpPorychDvigKontrFull.value(u"BROI_IZDELIA_PRODADENI"_s).toDouble(), 2.0);
    SmpDataset& free = dm.SmpPorychProdSvobodno;
    QCOMPARE(free.recordCount(), 1);
    QCOMPARE(free.value(u"IMEKONTRAGENT"_s).toString(), u"Гама АД"_s);
    QCOMPARE(free.value(u"BROI_IZD_PRODADENI_SVOBODNO"_s).toDouble(), 1.0);
    QCOMPARE(free.value(u"DATEFAKTURA"_s).toDate(), today_);
}

// Recipe times quantities at the calculation price beside the stock; the shortage is empty where
// the stock suffices, and the total value is the sum of the lines.
void TstOrdersData::materialNeedsAgainstStock()
{
    orderRequisitionBatchSale();
    TDMPorychki dm(f_.db());
    SmpDataset& one = dm.SmpPorychka_Materiali;
    TDMPorychki::reopen(one, u"Numporychka"_s, 1);  // Алфа: 10 chairs
    QCOMPARE(one.recordCount(), 2);
    QCOMPARE(one.value(u"IMEMATERIAL"_s).toString(), u"Бук дъска"_s);
    QCOMPARE(one.value(u"NEOBHODIMO"_s).toDouble(), 30.0);
    QCOMPARE(one.value(u"NALICHNO"_s).toDouble(), 25.0);  // 40 less 15 requisitioned
    QCOMPARE(one.value(u"Nedostig"_s).toDouble(), 5.0);
    QCOMPARE(one.value(u"STOINOST"_s).toDouble(), 75.0);
    one.next();
    QCOMPARE(one.value(u"NEOBHODIMO"_s).toDouble(), 5.0);
    QCOMPARE(one.value(u"Nedostig"_s).toDouble(), 4.5);
    QCOMPARE(one.value(u"ObstaStoinost"_s).toDouble(), 95.0);
    QCOMPARE(one.value(u"AggObstaStoinost"_s).toDouble(), 95.0);

    SmpDataset& open = dm.SmpPorychDvigMat;
    open.close();
    open.setParam(u"NtipIzdelieOt"_s, 1);
    open.setParam(u"NtipIzdelieDo"_s, 10000);
    open.open();
    // 11 chairs and 2 tables still to make.
    QCOMPARE(open.recordCount(), 3);
    QVERIFY(open.locate(u"NMATERIAL"_s, {9911}));
    QCOMPARE(open.value(u"NEOBHODIMO"_s).toDouble(), 11 * 3.0 + 2 * 6.0);
    QCOMPARE(open.value(u"Nedostig"_s).toDouble(), 45.0 - 25.0);
    QVERIFY(open.locate(u"NMATERIAL"_s, {9913}));
    QCOMPARE(open.value(u"NEOBHODIMO"_s).toDouble(), 8.0);
    QVERIFY(open.value(u"Nedostig"_s).isNull());

    // One product only: the tables.
    open.close();
    open.setParam(u"NtipIzdelieOt"_s, 2);
    open.setParam(u"NtipIzdelieDo"_s, 2);
    open.open();
    QCOMPARE(open.recordCount(), 2);
    QVERIFY(open.locate(u"NMATERIAL"_s, {9911}));
    QCOMPARE(open.value(u"NEOBHODIMO"_s).toDouble(), 12.0);
    QVERIFY(open.value(u"Nedostig"_s).isNull());
}

QTEST_GUILESS_MAIN(TstOrdersData)
#include "tst_orders_data.moc"
