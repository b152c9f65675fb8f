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
    void soldToOrderFromTheOrdersDay_data();
    void soldToOrderFromTheOrdersDay();
    void saleOrdersOnlyWhatItSoldFreely();
    void reducingLineOnlyItsClients_data();
    void reducingLineOnlyItsClients();
    void requisitionedAndInProcess_data();
    void requisitionedAndInProcess();
    void seriesNeedsPerSeries();

private:
    const QDate today_{2026, 12, 10};
    void deliver(int material, double quantity, double price);
    int order(int client, QList<std::pair<int, double>> lines, const QDate& date = QDate(2026, 12, 1));
    // Product 1 ordered 10 by Алфа and 5 by Бета, product 2 ordered 2 by Бета; 5 of product 1
    // requisitioned, 4 made; Алфа bought 2 of them and Гама, who ordered nothing, 1.
    void orderRequisitionBatchSale();
    void sell(int client, int material, double quantity, const QDate& date = {}, const QVector<int>& orderMaterials = {});
    void requisition(std::optional<Production::RequestedProduct> product, QVector<Production::RequisitionLine> lines);
    DbResult progress();
    // The row of PORYCHKI_DVIGENIE of the product.
    DbResult progressOf(int product);
    double sum(const QString& sql, int product);
    int invoices_ = 0;
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

int TstOrdersData::order(int client, QList<std::pair<int, double>> lines, const QDate& date)
{
    const int number = Orders::addOrder(f_.db(), {date, date.addDays(19), client, 0});
    for (const auto& [product, quantity] : lines)
        Orders::saveLine(f_.db(), {number, client, product, quantity, date.addDays(4), 3, 0, u"лак"_s});
    return number;
}

void TstOrdersData::sell(int client, int material, double quantity, const QDate& date, const QVector<int>& orderMaterials)
{
    Sales::SaleHeader h;
    h.counterparty = client;
    h.recipientName = u"Клиент"_s;
    h.paymentType = 1;
    h.invoiceNumber = QString::number(++invoices_).rightJustified(10, u'0');
    h.date = date.isValid() ? date : today_;
    Sales::SaleLine l;
    l.material = material;
    l.quantity = quantity;
    l.priceLv = 50;
    Sales::recordSale(f_.db(), h, {l}, orderMaterials);
}

void TstOrdersData::requisition(std::optional<Production::RequestedProduct> product,
                                QVector<Production::RequisitionLine> lines)
{
    Production::Requisition r;
    r.date = today_;
    r.workshop = 1;
    r.product = product;
    r.lines = std::move(lines);
    Production::saveRequisition(f_.db(), r, today_);
}

void TstOrdersData::orderRequisitionBatchSale()
{
    order(10, {{1, 10}});
    order(11, {{1, 5}, {2, 2}});
    requisition(Production::RequestedProduct{1, 5, 0}, {{1, 9911, {}, 15}, {1, 9912, {}, 2.5}});
    Production::Batch b;
    b.workshop = 1;
    b.productMaterial = 9901;
    b.count = 4;
    b.produced = today_;
    b.materials = {{9911, 12, 2.5}, {9912, 2, 4}};
    Production::saveBatch(f_.db(), b, today_);
    sell(10, 9901, 2);
    sell(12, 9901, 1);
}

DbResult TstOrdersData::progress()
{
    return f_.db().query(u"select * from PORYCHKI_DVIGENIE order by NTIP_IZDELIE"_s);
}

DbResult TstOrdersData::progressOf(int product)
{
    return f_.db().query(u"select * from PORYCHKI_DVIGENIE where NTIP_IZDELIE = :T"_s, {{u"T"_s, product}});
}

double TstOrdersData::sum(const QString& sql, int product)
{
    return f_.db().query(sql, {{u"T"_s, product}}).rows.front()[0].toDouble();
}

// Numbers grow; the person is optional, the client is not; the same product added again adds to its
// line (a negative quantity reduces it); an order with lines is refused deletion until its lines go.
void TstOrdersData::ordersAndTheirLines()
{
    const int first = Orders::addOrder(f_.db(), {QDate(2026, 12, 1), QDate(2026, 12, 20), 10, 3});
    const int second = Orders::addOrder(f_.db(), {QDate(2026, 12, 2), QDate(2026, 12, 22), 11, 0});
    QVERIFY(second > first);
    QVERIFY_THROWS_EXCEPTION(DbError, Orders::addOrder(f_.db(), {today_, today_, 99, 0}));
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
             u" Има заявени изделия към тази поръчка  !\r     Изтрийте най-напред изделията !"_s);
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
    sell(10, 9901, 9);
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

// A sale delivers what its client had ordered by the sale's day and not yet received. Events of Бета
// on chairs, in date order: "o" an order, "s" a sale (a negative one a return), day.month of 2026.
void TstOrdersData::soldToOrderFromTheOrdersDay_data()
{
    QTest::addColumn<QString>("events");
    QTest::addColumn<double>("toOrder");
    QTest::addColumn<double>("free");
    QTest::addColumn<double>("open");
    QTest::newRow("bought before ordering") << u"s 15.11 5, o 12.12 5"_s << 0.0 << 5.0 << 5.0;
    QTest::newRow("bought on the order's day") << u"o 12.12 5, s 12.12 3"_s << 3.0 << 0.0 << 2.0;
    QTest::newRow("bought beyond the order") << u"o 01.12 5, s 10.12 8"_s << 5.0 << 3.0 << 0.0;
    // Once an order is delivered, the next sale is free, and a later order does not take it over.
    QTest::newRow("between two orders") << u"o 01.11 5, s 02.11 5, s 15.11 5, o 12.12 5"_s << 5.0 << 5.0 << 5.0;
    QTest::newRow("a return takes the free sale back first") << u"o 01.12 5, s 03.12 7, s 05.12 -3"_s << 4.0 << 0.0 << 1.0;
    QTest::newRow("what went back to order is owed again") << u"o 01.12 5, s 03.12 5, s 05.12 -2, s 08.12 2"_s
                                                           << 5.0 << 0.0 << 0.0;
    QTest::newRow("a reduction takes the newest order") << u"o 01.12 5, s 02.12 5, o 05.12 4, o 06.12 -4"_s
                                                        << 5.0 << 0.0 << 0.0;
}

void TstOrdersData::soldToOrderFromTheOrdersDay()
{
    QFETCH(QString, events);
    QFETCH(double, toOrder);
    QFETCH(double, free);
    QFETCH(double, open);
    deliver(9901, 30, 30);
    for (const QString& e : events.split(u", "_s)) {
        const QStringList p = e.split(u' ');
        const QDate day = QDate::fromString(p[1] + u".2026"_s, u"dd.MM.yyyy"_s);
        if (p[0] == u"o"_s)
            order(11, {{1, p[2].toDouble()}}, day);
        else
            sell(11, 9901, p[2].toDouble(), day);
    }
    const DbResult p = progressOf(1);
    QCOMPARE(p.value(0, u"BROI_IZD_PRODADENI_PORYCHKA"_s).toDouble(), toOrder);
    QCOMPARE(p.value(0, u"BROI_IZD_PRODADENI_SVOBODNO"_s).toDouble(), free);
    QCOMPARE(p.value(0, u"BROI_IZDELIA_PREDSTOIASTI"_s).toDouble(),
             std::max(0.0, open - p.value(0, u"BROI_IZDELIA_NASKLAD"_s).toDouble()));
    // The lists by client say the same.
    const DbResult client = f_.db().query(u"select * from PORYCHKI_DVIGENIE_KONTR_SUM(1)"_s);
    QCOMPARE(client.value(0, u"BROI_IZDELIA_OSTATYK"_s).toDouble(), open);
    QCOMPARE(sum(u"select sum(BROI_IZDELIA_PRODADENI) from PORYCHKI_DVIGENIE_KONTR_FULL(:T)"_s, 1), toOrder);
    QCOMPARE(sum(u"select coalesce(sum(BROI_IZD_PRODADENI_SVOBODNO), 0) from PRODAGBI_SVOBODNO(:T)"_s, 1), free);
}

// A sale the user chose to order beyond the client's orders orders what it sold freely, not what
// the client bought freely before ever ordering.
void TstOrdersData::saleOrdersOnlyWhatItSoldFreely()
{
    deliver(9901, 30, 30);
    sell(11, 9901, 5, QDate(2026, 11, 15));
    order(11, {{1, 5}}, QDate(2026, 12, 12));
    sell(11, 9901, 8, QDate(2026, 12, 20), {9901});
    const DbResult made = f_.db().query(u"select BROI_IZDELIE, DATESROK_IZD from PORYCHKI_IZDELIA where OPISANIE starting with 'Продажба'"_s);
    QCOMPARE(made.rows.size(), std::size_t(1));
    QCOMPARE(made.value(0, u"BROI_IZDELIE"_s).toDouble(), 3.0);
    const DbResult p = progressOf(1);
    QCOMPARE(p.value(0, u"BROI_IZDELIA_PORYCHKA"_s).toInt(), 8);
    QCOMPARE(p.value(0, u"BROI_IZD_PRODADENI_PORYCHKA"_s).toInt(), 8);
    QCOMPARE(p.value(0, u"BROI_IZD_PRODADENI_SVOBODNO"_s).toInt(), 5);
    QCOMPARE(f_.db().query(u"select BROI_IZDELIA_OSTATYK from PORYCHKI_DVIGENIE_KONTR_SUM(1)"_s).value(0, u"BROI_IZDELIA_OSTATYK"_s).toDouble(),
             0.0);
}

// Order lines of tables as "client quantity": a reducing line takes only from its own client's
// order, and a client's order never counts below 0.
void TstOrdersData::reducingLineOnlyItsClients_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<int>("ordered");
    QTest::addColumn<int>("clients");  // listed as having ordered
    QTest::newRow("another client's reduction") << u"10 10, 12 -2"_s << 10 << 1;
    QTest::newRow("his own reduction") << u"10 10, 10 -3"_s << 7 << 1;
    QTest::newRow("more taken off than ordered") << u"10 10, 11 3, 11 -5"_s << 10 << 1;
    QTest::newRow("two clients") << u"10 10, 11 3"_s << 13 << 2;
}

void TstOrdersData::reducingLineOnlyItsClients()
{
    QFETCH(QString, lines);
    QFETCH(int, ordered);
    QFETCH(int, clients);
    for (const QString& l : lines.split(u", "_s)) {
        const QStringList p = l.split(u' ');
        order(p[0].toInt(), {{2, p[1].toDouble()}});
    }
    const DbResult p = progressOf(2);
    QCOMPARE(p.value(0, u"BROI_IZDELIA_PORYCHKA"_s).toInt(), ordered);
    // No table in stock, none in the works: all of it is still to make, and its materials are needed.
    QCOMPARE(p.value(0, u"BROI_IZDELIA_PREDSTOIASTI"_s).toInt(), ordered);
    QCOMPARE(f_.db().query(u"select NEOBHODIMO from PORYCHKA_DVIGENIE_MAT_SUM(2, 2) where NMATERIAL = 9913"_s)
                 .value(0, u"NEOBHODIMO"_s).toDouble(),
             4.0 * ordered);
    QCOMPARE(f_.count(u"select count(*) from PORYCHKI_DVIGENIE_KONTR_SUM(2)"_s), clients);
}

// Steps after 5 chairs requisitioned by recipe and 4 made: "recipe" requisitions 2 chairs by recipe,
// "free" draws 2 chairs' material freely, "glue" a free top-up of glue only, "back M" gives the
// workshop's latest line of material M back, "batch" makes 2 chairs.
void TstOrdersData::requisitionedAndInProcess_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("requisitioned");
    QTest::addColumn<int>("made");
    QTest::addColumn<int>("inProcess");
    QTest::addColumn<int>("toMake");  // 15 ordered - 2 sold to order - in stock - in process
    QTest::newRow("as they stand") << QString() << 5 << 4 << 1 << 11;
    QTest::newRow("recipe requisition") << u"recipe"_s << 7 << 4 << 3 << 9;
    QTest::newRow("recipe requisition given back") << u"recipe, back 9911, back 9912"_s << 5 << 4 << 1 << 11;
    // The first requisition keeps a line, so its chairs stay requisitioned, but nothing is left to make them.
    QTest::newRow("and what the workshop holds") << u"recipe, back 9911, back 9912, back 9911"_s << 5 << 4 << 0 << 12;
    QTest::newRow("free requisition") << u"free"_s << 7 << 4 << 3 << 9;
    QTest::newRow("batch from the free requisition") << u"free, batch"_s << 7 << 6 << 1 << 9;
    QTest::newRow("free top-up") << u"glue"_s << 5 << 4 << 1 << 11;
}

void TstOrdersData::requisitionedAndInProcess()
{
    QFETCH(QString, steps);
    QFETCH(int, requisitioned);
    QFETCH(int, made);
    QFETCH(int, inProcess);
    QFETCH(int, toMake);
    orderRequisitionBatchSale();
    deliver(9912, 5, 4);
    const QVector<Production::RequisitionLine> twoChairs{{1, 9911, {}, 6}, {1, 9912, {}, 1}};
    for (const QString& step : steps.split(u", "_s, Qt::SkipEmptyParts)) {
        if (step == u"recipe"_s) {
            requisition(Production::RequestedProduct{1, 2, 0}, twoChairs);
        } else if (step == u"free"_s) {
            requisition(std::nullopt, twoChairs);
        } else if (step == u"glue"_s) {
            requisition(std::nullopt, {{1, 9912, {}, 1}});
        } else if (step.startsWith(u"back "_s)) {
            QVERIFY(Production::returnToWarehouse(f_.db(), 1, step.mid(5).toInt()));
        } else {
            Production::Batch b;
            b.workshop = 1;
            b.productMaterial = 9901;
            b.count = 2;
            b.produced = today_;
            b.materials = {{9911, 6, 2.5}, {9912, 1, 4}};
            Production::saveBatch(f_.db(), b, today_);
        }
    }
    const DbResult p = progressOf(1);
    QCOMPARE(p.value(0, u"BROI_IZDELIA_ISKANIA"_s).toInt(), requisitioned);
    QCOMPARE(p.value(0, u"BROI_IZDELIA_PROIZVEDENI"_s).toInt(), made);
    QCOMPARE(p.value(0, u"BROI_IZDELIA_VPROCES"_s).toInt(), inProcess);
    QCOMPARE(p.value(0, u"BROI_IZDELIA_PREDSTOIASTI"_s).toInt(), toMake);
}

// A series product: its recipe is per series, its orders, requisitions and batches count pairs. The
// recipe's first row is the series itself and never counts pairs; the sizes 38 and 39 make 2 + 4 = 6
// pairs a series; the label row takes one per pair.
void TstOrdersData::seriesNeedsPerSeries()
{
    f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA, SERIA_DA_NE) values (9903, 'Обувки Есен', 1, 1, 0, 1)"_s);
    for (const auto& [n, name, counted, perPair] : {std::tuple{9931, "Серия", 1, 0}, {9932, "Кожа", 0, 0},
                                                    {9933, "Калъп 38", 1, 0}, {9934, "Калъп 39", 1, 0},
                                                    {9935, "Етикет", 0, 1}})
        f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA, IZCH_DA_NE, SUM_DA_NE)"
                u" values (:N, :I, 1, 1, 1, :C, :S)"_s,
                {{u"N"_s, n}, {u"I"_s, QString::fromUtf8(name)}, {u"C"_s, counted}, {u"S"_s, perPair}});
    f_.exec(u"insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (3, 1, 9903)"_s);
    for (const auto& [material, qty] : {std::pair{9931, 1.0}, {9932, 2.5}, {9933, 2.0}, {9934, 4.0}, {9935, 1.0}})
        f_.exec(u"insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (3, :M, :Q)"_s,
                {{u"M"_s, material}, {u"Q"_s, qty}});
    const int number = order(10, {{3, 12}});  // 12 pairs: 2 series
    const QMap<int, double> needs{{9931, 2}, {9932, 5}, {9933, 4}, {9934, 8}, {9935, 12}};
    TDMPorychki dm(f_.db());
    TDMPorychki::reopen(dm.SmpPorychka_Materiali, u"Numporychka"_s, number);
    SmpDataset& open = dm.SmpPorychDvigMat;
    open.close();
    open.setParam(u"NtipIzdelieOt"_s, 3);
    open.setParam(u"NtipIzdelieDo"_s, 3);
    open.open();
    for (SmpDataset* list : {&dm.SmpPorychka_Materiali, &open}) {
        QCOMPARE(list->recordCount(), int(needs.size()));
        for (auto [material, need] : needs.asKeyValueRange()) {
            QVERIFY(list->locate(u"NMATERIAL"_s, {material}));
            QCOMPARE(list->value(u"NEOBHODIMO"_s).toDouble(), need);
        }
    }

    // The two series requisitioned: their 12 pairs are in process and nothing is left to make.
    for (auto [material, need] : needs.asKeyValueRange()) deliver(material, need, 1);
    QVector<Production::RequisitionLine> lines;
    for (auto [material, need] : needs.asKeyValueRange()) lines.append({1, material, {}, need});
    requisition(Production::RequestedProduct{3, 2, 12}, lines);
    const DbResult p = progressOf(3);
    QCOMPARE(p.value(0, u"BROI_IZDELIA_ISKANIA"_s).toInt(), 12);
    QCOMPARE(p.value(0, u"BROI_IZDELIA_VPROCES"_s).toInt(), 12);
    QCOMPARE(p.value(0, u"BROI_IZDELIA_PREDSTOIASTI"_s).toInt(), 0);
}

QTEST_GUILESS_MAIN(TstOrdersData)
#include "tst_orders_data.moc"
