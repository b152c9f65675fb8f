#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/transaction.h"
#include "production/production.h"
#include "support/dbfixture.h"

#include <QTest>
#include <QThread>

#include <future>

using namespace Qt::StringLiterals;

// Requisitions and batches against a real database: materials leave the warehouse lines through
// the ledger into a workshop, batches consume them and store their product as a delivery line.
class TstProductionData : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { f_.stop(); }

    void recipeRequisitionMovesMaterialsToWorkshop();
    void batchStoresProductAtCostAndDeleteRestoresAll();
    void givingBackReducesLineWhenPartUsed();
    void givingBackConservesValue_data();
    void givingBackConservesValue();
    void severalLinesOfOneMaterialKeepTheirPrices();
    void giveBackWhileABatchTakesTheSameLine();
    void inquiryKeepsMaterialsOfOneNameApart();
    void requisitionRefusals();
    void batchRefusals();
    void seriesCountFitsItsColumn();
    void seriesBatchPricedPerPair();
    void batchDeleteRefused_data();
    void batchDeleteRefused();
    void storeMark_data();
    void storeMark();
    void batchesSharingMarkAndDateCheckedApart();
    void concurrentRequisitionsGetDifferentNumbers();
    void concurrentBatches_data();
    void concurrentBatches();

private:
    const QDate today_{2026, 12, 10};
    void deliver(int material, double quantity, double price, const QDate& received);
    double warehouseStock(int material);
    double scalar(const QString& sql);
    QString valueLost(int material);
    void requisition(int material, double quantity);
    QString batchOf(int material, double quantity);
    DbResult workshopStock();
    Production::Requisition fromRecipe(int count);
    Production::Batch batchFromWorkshop(int count);
    DbFixture f_;
};

void TstProductionData::init()
{
    f_.start();
    f_.exec(u"insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"_s);
    f_.exec(u"insert into TIP_PROIZVODSTVO (NPROIZVODSTVO, PROIZVODSTVO, PSEVDONIM_CEH) values (1, 'Шивашки цех', 'ШЦ')"_s);
    f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA, IZCH_DA_NE, SUM_DA_NE)"
            u" values (600, 'Кожа', 1, 1, 2.5, 0, 0)"_s);
    f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA, IZCH_DA_NE, SUM_DA_NE)"
            u" values (601, 'Подметка', 1, 1, 4, 0, 0)"_s);
    f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, SERIA_DA_NE) values (700, 'Обувка', 1, 1, 0)"_s);
    f_.exec(u"insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (1, 1, 700)"_s);
    f_.exec(u"insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (1, 600, 2)"_s);
    f_.exec(u"insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (1, 601, 1)"_s);
    // Leather in two lines: the older one is drawn first.
    deliver(600, 10, 3, QDate(2026, 11, 20));
    deliver(600, 10, 2, QDate(2026, 11, 1));
    deliver(601, 10, 4, QDate(2026, 11, 1));
}

void TstProductionData::deliver(int material, double quantity, double price, const QDate& received)
{
    f_.db().executeProcedure(u"ADDDOSTAVKA"_s, {{u"NMATERIAL"_s, material}, {u"KOLICHESTVO"_s, quantity},
                                                {u"ED_CENA_LV"_s, price}, {u"DATEPOLUCHENO"_s, received},
                                                {u"DATEFAKTURA"_s, received}, {u"NKONTRAGENT"_s, 5},
                                                {u"NFAKTURA"_s, u"F1"_s}});
}

double TstProductionData::warehouseStock(int material)
{
    return f_.db().selectProcedure(u"SKLAD_MAT_NALICH_SUM"_s, {{u"NUMMATERIAL"_s, material}})
        .value(0, u"SUMNALICHNOST"_s).toDouble();
}

DbResult TstProductionData::workshopStock()
{
    return f_.db().query(u"select NUMMATERIAL, NALICHNOST, DOSTAVENO, VLOGENO, ED_CENA_LV, IMESKLAD "
                         u"from CEHMATNALICH(1, 1000, 1, 32000) order by NUMMATERIAL"_s);
}

Production::Requisition TstProductionData::fromRecipe(int count)
{
    Production::Requisition r;
    r.date = today_;
    r.workshop = 1;
    r.product = Production::RequestedProduct{1, count, 0};
    const DbResult recipe = f_.db().query(u"select * from RECEPTA_MAT_SUM_SKLAD(1) order by IMEMATERIAL"_s);
    for (std::size_t i = 0; i < recipe.rows.size(); ++i)
        r.lines.append({recipe.value(i, u"NSKLAD"_s).toInt(), recipe.value(i, u"NMATERIAL"_s).toInt(),
                        recipe.value(i, u"IMEMATERIAL"_s).toString(),
                        count * recipe.value(i, u"KOLICHESTVO_MAT"_s).toDouble()});
    return r;
}

Production::Batch TstProductionData::batchFromWorkshop(int count)
{
    Production::Batch b;
    b.workshop = 1;
    b.productMaterial = 700;
    b.count = count;
    b.produced = today_;
    const DbResult recipe = f_.db().query(u"select * from RECEPTA_MAT_SUM_CEH(1, 1) order by IMEMATERIAL"_s);
    for (std::size_t i = 0; i < recipe.rows.size(); ++i)
        b.materials.append({recipe.value(i, u"NMATERIAL"_s).toInt(),
                            count * recipe.value(i, u"KOLICHESTVO_MAT"_s).toDouble(),
                            recipe.value(i, u"ED_CENA_CEH_MAT"_s).toDouble()});
    return b;
}

void TstProductionData::recipeRequisitionMovesMaterialsToWorkshop()
{
    QCOMPARE(Production::saveRequisition(f_.db(), fromRecipe(6), today_), u"20261210001"_s);
    QCOMPARE(warehouseStock(600), 8.0);
    QCOMPARE(warehouseStock(601), 4.0);
    // The older leather line (price 2) is emptied first, then 2 of the newer one (price 3).
    const DbResult ledger = f_.db().query(u"select s.ED_CENA_LV, d.KOLICHESTVO from SKLAD_DVIGENIE d "
                                          u"join SKLAD s on s.AUTONUM = d.AUTONUM_SKLAD "
                                          u"where s.NMATERIAL = 600 and d.VID_DVIGENIE = 2 order by s.ED_CENA_LV"_s);
    QCOMPARE(ledger.rows.size(), std::size_t(2));
    QCOMPARE(ledger.rows[0][1].toDouble(), 10.0);
    QCOMPARE(ledger.rows[1][1].toDouble(), 2.0);

    const DbResult held = workshopStock();
    QCOMPARE(held.rows.size(), std::size_t(2));
    QCOMPARE(held.value(0, u"NALICHNOST"_s).toDouble(), 12.0);
    QVERIFY(qAbs(held.value(0, u"ED_CENA_LV"_s).toDouble() - 26.0 / 12) < 1e-9);
    QCOMPARE(held.value(0, u"IMESKLAD"_s).toString(), u"Основен"_s);
    QCOMPARE(held.value(1, u"NALICHNOST"_s).toDouble(), 6.0);
    QCOMPARE(f_.count(u"select KOLICH_IZDELIE from ISKANIA_IZDELIA where NISKANE = '20261210001'"_s), 6);

    // The next requisition of the day takes the next number.
    QCOMPARE(Production::saveRequisition(f_.db(), fromRecipe(1), today_), u"20261210002"_s);
    QCOMPARE(warehouseStock(600), 6.0);
}

void TstProductionData::batchStoresProductAtCostAndDeleteRestoresAll()
{
    Production::saveRequisition(f_.db(), fromRecipe(6), today_);
    const Production::SavedBatch saved = Production::saveBatch(f_.db(), batchFromWorkshop(6), today_);
    QCOMPARE(saved.number, u"20261210001"_s);
    QCOMPARE(saved.mark, u"ШЦ001"_s);

    // Cost: 12 leather at 26/12 and 6 soles at 4 = 50, over 6 products.
    const DbResult line = f_.db().query(u"select NMATERIAL, KOLICHESTVO, ED_CENA_LV, NFAKTURA, NKONTRAGENT, KOLICH_SERII "
                                        u"from SKLAD where AUTONUM = :A"_s, {{u"A"_s, saved.stockLine}});
    QCOMPARE(line.value(0, u"NMATERIAL"_s).toInt(), 700);
    QCOMPARE(line.value(0, u"KOLICHESTVO"_s).toDouble(), 6.0);
    QVERIFY(qAbs(line.value(0, u"ED_CENA_LV"_s).toDouble() - 50.0 / 6) < 1e-9);
    QCOMPARE(line.value(0, u"NFAKTURA"_s).toString(), u"ШЦ001"_s);
    QCOMPARE(line.value(0, u"NKONTRAGENT"_s).toInt(), 0);
    QCOMPARE(line.value(0, u"KOLICH_SERII"_s).toInt(), 0);
    QCOMPARE(warehouseStock(700), 6.0);
    QVERIFY(workshopStock().isEmpty());
    const DbResult batches = f_.db().query(u"select PART_NUM_IZDELIE, PROIZVEDENO, NUMTIPIZDELIE, IMEIZDELIE "
                                           u"from IZDELIECEHPARTIDA(1, 1000, 1, 10000, :OT, :DO)"_s,
                                           {{u"OT"_s, today_.addDays(-10)}, {u"DO"_s, today_}});
    QCOMPARE(batches.rows.size(), std::size_t(1));
    QCOMPARE(batches.value(0, u"PROIZVEDENO"_s).toDouble(), 6.0);
    QCOMPARE(batches.value(0, u"NUMTIPIZDELIE"_s).toInt(), 700);

    // Deleting the batch gives its materials back to the workshop and removes the product.
    QCOMPARE(Production::batchDeleteRefusal(f_.db(), saved.number), QString());
    Production::deleteBatch(f_.db(), saved.number);
    QCOMPARE(f_.count(u"select count(*) from SKLAD where NMATERIAL = 700"_s), 0);
    QCOMPARE(f_.count(u"select count(*) from IZDELIE"_s), 0);
    QCOMPARE(workshopStock().value(0, u"NALICHNOST"_s).toDouble(), 12.0);

    // Giving everything back to the warehouse restores its stock exactly.
    QVERIFY(Production::returnToWarehouse(f_.db(), 1, 600));
    QVERIFY(Production::returnToWarehouse(f_.db(), 1, 601));
    QCOMPARE(warehouseStock(600), 20.0);
    QCOMPARE(warehouseStock(601), 10.0);
    QCOMPARE(f_.count(u"select count(*) from SKLAD_DVIGENIE"_s), 0);
    QCOMPARE(f_.count(u"select count(*) from ISKANIA"_s), 0);
    QVERIFY(!Production::returnToWarehouse(f_.db(), 1, 600));
}

void TstProductionData::givingBackReducesLineWhenPartUsed()
{
    Production::saveRequisition(f_.db(), fromRecipe(6), today_);  // 12 leather, 6 soles
    Production::saveBatch(f_.db(), batchFromWorkshop(2), today_);  // uses 4 leather, 2 soles
    QVERIFY(Production::returnToWarehouse(f_.db(), 1, 600));
    // The line is cut to what the batch used; the 8 held go back, newest ledger rows first.
    QCOMPARE(f_.count(u"select KOLICHESTVO from ISKANIA where NMATERIAL = 600"_s), 4);
    QCOMPARE(warehouseStock(600), 16.0);
    // The line drew 10 at 2 and 2 at 3; each ledger row keeps its share of the 4 used.
    const DbResult kept = f_.db().query(u"select d.KOLICHESTVO from SKLAD_DVIGENIE d join SKLAD s on s.AUTONUM = d.AUTONUM_SKLAD "
                                        u"where s.NMATERIAL = 600 order by s.ED_CENA_LV"_s);
    QCOMPARE(kept.rows.size(), std::size_t(2));
    QVERIFY(qAbs(kept.rows[0][0].toDouble() - 10.0 / 3) < 1e-9);
    QVERIFY(qAbs(kept.rows[1][0].toDouble() - 2.0 / 3) < 1e-9);
    QVERIFY(workshopStock().rows.size() == 1);  // only the soles are still held
    // The server refuses to give back more than the workshop holds.
    const int soles = f_.count(u"select AUTONUM from ISKANIA where NMATERIAL = 601"_s);
    QVERIFY_THROWS_EXCEPTION(DbError, f_.db().executeProcedure(u"DEL_UPDATE_ISKANIA"_s,
        {{u"DEL_UPDATE"_s, 0}, {u"NUM_ZAPIS"_s, soles}, {u"KOLICHESTVO"_s, 0}}));
}

double TstProductionData::scalar(const QString& sql)
{
    return f_.db().query(sql).rows.front()[0].toDouble();
}

void TstProductionData::givingBackConservesValue_data()
{
    QTest::addColumn<double>("used");
    QTest::addColumn<double>("backQuantity");
    QTest::addColumn<double>("backValue");
    QTest::addColumn<double>("lineLeft");
    // 4 used at the line's 2.00: the 6 left go back 3 at 1.00 and 3 at 3.00, the line keeps 4 at 2.00.
    QTest::newRow("line reduced") << 4.0 << 6.0 << 12.0 << 4.0;
    // Nothing used: the whole line is cancelled.
    QTest::newRow("line cancelled") << 0.0 << 10.0 << 20.0 << 0.0;
}

// Lots of 5 at 1.00 and 5 at 3.00 drawn as one line of 10 (2.00), a batch charged at that price, the
// rest given back: warehouse, batches and workshop together stay worth the 20 delivered.
void TstProductionData::givingBackConservesValue()
{
    QFETCH(double, used);
    QFETCH(double, backQuantity);
    QFETCH(double, backValue);
    QFETCH(double, lineLeft);
    f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (602, 'Конец', 1, 1)"_s);
    deliver(602, 5, 1, QDate(2026, 11, 1));
    deliver(602, 5, 3, QDate(2026, 11, 20));
    Production::Requisition r;
    r.date = today_;
    r.workshop = 1;
    r.lines = {{1, 602, u"Конец"_s, 10}};
    Production::saveRequisition(f_.db(), r, today_);
    QCOMPARE(f_.count(u"select ED_CENA_LV from ISKANIA where NMATERIAL = 602"_s), 2);
    if (used > 0) {
        Production::Batch b;
        b.workshop = 1;
        b.productMaterial = 700;
        b.count = 1;
        b.produced = today_;
        b.materials = {{602, used, 2.0}};
        Production::saveBatch(f_.db(), b, today_);
    }

    QVERIFY(Production::returnToWarehouse(f_.db(), 1, 602));
    const DbResult line = f_.db().query(u"select KOLICHESTVO, ED_CENA_LV from ISKANIA where NMATERIAL = 602"_s);
    QCOMPARE(line.rows.size(), std::size_t(lineLeft > 0 ? 1 : 0));
    if (lineLeft > 0) {
        QCOMPARE(line.value(0, u"KOLICHESTVO"_s).toDouble(), lineLeft);
        QVERIFY(qAbs(line.value(0, u"ED_CENA_LV"_s).toDouble() - 2.0) < 1e-9);
    }
    QVERIFY(qAbs(warehouseStock(602) - backQuantity) < 1e-9);
    QCOMPARE(valueLost(602), QString());
    const double warehouseValue =
        scalar(u"select sum((s.KOLICHESTVO - coalesce((select sum(d.KOLICHESTVO) from SKLAD_DVIGENIE d "
               u"where d.AUTONUM_SKLAD = s.AUTONUM), 0)) * s.ED_CENA_LV) from SKLAD s where s.NMATERIAL = 602"_s);
    QVERIFY2(qAbs(warehouseValue - backValue) < 1e-9, qPrintable(QString::number(warehouseValue)));
}

// Warehouse, batches and workshop together against what was delivered; empty when they agree.
QString TstProductionData::valueLost(int material)
{
    const SqlParams m{{u"M"_s, material}};
    const auto value = [&](const QString& sql) { return f_.db().query(sql, m).rows.front()[0].toDouble(); };
    const double warehouse =
        value(u"select coalesce(sum((s.KOLICHESTVO - coalesce((select sum(d.KOLICHESTVO) from SKLAD_DVIGENIE d "
              u"where d.AUTONUM_SKLAD = s.AUTONUM), 0)) * s.ED_CENA_LV), 0) from SKLAD s where s.NMATERIAL = :M"_s);
    const double batches =
        value(u"select coalesce(sum(KOLICHESTVO * ED_CENA_LV), 0) from IZDELIE_MATERIALI where NMATERIAL = :M"_s);
    const double workshop = value(u"select NALICHNOST * ED_CENA_LV from CEH_MAT_SALDO(1, :M)"_s);
    const double delivered =
        value(u"select sum(s.KOLICHESTVO * s.ED_CENA_LV) from SKLAD s where s.NMATERIAL = :M"_s);
    if (qAbs(warehouse + batches + workshop - delivered) < 1e-9) return {};
    return u"%1 + %2 + %3 vs %4"_s.arg(warehouse).arg(batches).arg(workshop).arg(delivered);
}

void TstProductionData::requisition(int material, double quantity)
{
    Production::Requisition r;
    r.date = today_;
    r.workshop = 1;
    r.lines = {{1, material, u"Конец"_s, quantity}};
    Production::saveRequisition(f_.db(), r, today_);
}

QString TstProductionData::batchOf(int material, double quantity)
{
    Production::Batch b;
    b.workshop = 1;
    b.productMaterial = 700;
    b.count = 1;
    b.produced = today_;
    b.materials = {{material, quantity, Production::workshopPrice(f_.db(), 1, material, quantity)}};
    return Production::saveBatch(f_.db(), b, today_).number;
}

// One material reached the workshop in two requisitions at 1.00 and 3.00. Batches take the older
// line first and are stored at what they took; giving back takes the newer line's unused part at
// its price; deleting a batch gives each line back its own part. Nothing is gained or lost.
void TstProductionData::severalLinesOfOneMaterialKeepTheirPrices()
{
    f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (602, 'Конец', 1, 1)"_s);
    deliver(602, 5, 1, QDate(2026, 11, 1));
    deliver(602, 5, 3, QDate(2026, 11, 20));
    requisition(602, 5);
    requisition(602, 5);
    QVERIFY(qAbs(Production::workshopPrice(f_.db(), 1, 602, 0) - 1.0) < 1e-9);
    QVERIFY(qAbs(Production::workshopPrice(f_.db(), 1, 602, 7) - 11.0 / 7) < 1e-9);
    QVERIFY(qAbs(scalar(u"select ED_CENA_LV from CEH_MAT_SALDO(1, 602)"_s) - 2.0) < 1e-9);

    // 5 at 1.00 and 2 at 3.00: the product is stored at 11.00.
    const QString seven = batchOf(602, 7);
    QVERIFY(qAbs(scalar(u"select ED_CENA_LV from SKLAD where NMATERIAL = 700"_s) - 11.0) < 1e-9);
    QVERIFY(qAbs(scalar(u"select ED_CENA_LV from CEH_MAT_SALDO(1, 602)"_s) - 3.0) < 1e-9);
    QCOMPARE(valueLost(602), QString());
    // The 3 left go back at 3.00; the newer line keeps the 2 used.
    QVERIFY(Production::returnToWarehouse(f_.db(), 1, 602));
    QCOMPARE(warehouseStock(602), 3.0);
    QCOMPARE(valueLost(602), QString());
    QVERIFY(!Production::returnToWarehouse(f_.db(), 1, 602));

    // Deleting the batch gives 5 back to the older line and 2 to the newer one.
    Production::deleteBatch(f_.db(), seven);
    QCOMPARE(f_.count(u"select count(*) from ISKANIA_VLOGENO"_s), 0);
    QCOMPARE(valueLost(602), QString());
    // A batch of 4 takes from the older line; the newer one's 2 go back first, then the rest.
    batchOf(602, 4);
    QVERIFY(qAbs(scalar(u"select ED_CENA_LV from IZDELIE_MATERIALI where NMATERIAL = 602"_s) - 1.0) < 1e-9);
    QVERIFY(Production::returnToWarehouse(f_.db(), 1, 602));
    QCOMPARE(warehouseStock(602), 5.0);
    QCOMPARE(valueLost(602), QString());
    QVERIFY(Production::returnToWarehouse(f_.db(), 1, 602));
    QCOMPARE(warehouseStock(602), 6.0);
    QCOMPARE(valueLost(602), QString());
    QCOMPARE(f_.count(u"select KOLICHESTVO from ISKANIA where NMATERIAL = 602"_s), 4);
    // A line's used part cannot be given back, not even by the server directly.
    const int line = f_.count(u"select AUTONUM from ISKANIA where NMATERIAL = 602"_s);
    QVERIFY_THROWS_EXCEPTION(DbError, f_.db().executeProcedure(u"DEL_UPDATE_ISKANIA"_s,
        {{u"DEL_UPDATE"_s, 1}, {u"NUM_ZAPIS"_s, line}, {u"KOLICHESTVO"_s, 3}}));
}

// A second workstation gives back while a batch, not yet committed, takes from the same line: it
// waits for the batch and then refuses or gives back only what is left; nothing is gained or lost.
void TstProductionData::giveBackWhileABatchTakesTheSameLine()
{
    f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (602, 'Конец', 1, 1)"_s);
    deliver(602, 5, 1, QDate(2026, 11, 1));
    deliver(602, 5, 3, QDate(2026, 11, 20));
    requisition(602, 5);
    requisition(602, 5);
    batchOf(602, 6);
    SQLConnection other(f_.db().params()), watcher(f_.db().params());
    other.open();
    watcher.open();
    std::future<bool> back;
    {
        TransactionScope tx(f_.db());
        batchOf(602, 2);
        back = std::async(std::launch::async, [&other] {
            try {
                return Production::returnToWarehouse(other, 1, 602);
            } catch (const DbError&) {
                return false;
            }
        });
        const QString waiting = u"select count(*) from MON$STATEMENTS where MON$STATE = 1 "
                                u"and MON$ATTACHMENT_ID <> current_connection and MON$SQL_TEXT containing 'DEL_UPDATE_ISKANIA'"_s;
        while (back.wait_for(std::chrono::seconds(0)) != std::future_status::ready &&
               watcher.query(waiting).rows.front()[0].toInt() == 0)
            QThread::yieldCurrentThread();
        tx.commit();
    }
    back.get();
    QCOMPARE(valueLost(602), QString());
    QVERIFY(scalar(u"select min(OSTATYK) from CEH_MAT_REDOVE(1, 602)"_s) > -1e-9);
}

// Two materials of one name drawn together are listed apart, each with its own quantity and value.
void TstProductionData::inquiryKeepsMaterialsOfOneNameApart()
{
    f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (603, 'Игла', 1, 1)"_s);
    f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (604, 'Игла', 1, 1)"_s);
    deliver(603, 10, 1, QDate(2026, 11, 1));
    deliver(604, 10, 5, QDate(2026, 11, 1));
    Production::Requisition r;
    r.date = today_;
    r.workshop = 1;
    r.lines = {{1, 603, u"Игла"_s, 2}, {1, 604, u"Игла"_s, 3}};
    Production::saveRequisition(f_.db(), r, today_);
    const DbResult rows = f_.db().query(u"select IMEMATERIAL, SUMMAT_ISKANE, OBSTA_CENA_LV from "
                                        u"ISKANIA_MAT_SPRAVKA(1, 1000, 603, 604, :OT, :DO) order by SUMMAT_ISKANE"_s,
                                        {{u"OT"_s, today_}, {u"DO"_s, today_}});
    QCOMPARE(rows.rows.size(), std::size_t(2));
    QCOMPARE(rows.value(0, u"IMEMATERIAL"_s).toString(), u"Игла"_s);
    QCOMPARE(rows.value(0, u"SUMMAT_ISKANE"_s).toDouble(), 2.0);
    QCOMPARE(rows.value(0, u"OBSTA_CENA_LV"_s).toDouble(), 2.0);
    QCOMPARE(rows.value(1, u"SUMMAT_ISKANE"_s).toDouble(), 3.0);
    QCOMPARE(rows.value(1, u"OBSTA_CENA_LV"_s).toDouble(), 15.0);
}

void TstProductionData::requisitionRefusals()
{
    Production::Requisition free;
    free.date = today_;
    free.workshop = 1;
    QCOMPARE(Production::requisitionRefusal(free), u"Липстват данни за изписване !"_s);
    free.lines = {{1, 601, u"Подметка"_s, 0}};
    QVERIFY(Production::requisitionRefusal(free).startsWith(u"Количеството за изписване"_s));
    QVERIFY_THROWS_EXCEPTION(DbError, Production::saveRequisition(f_.db(), free, today_));
    // The server refuses a quantity of 0 as well.
    QVERIFY_THROWS_EXCEPTION(DbError, f_.db().selectProcedure(u"SKLAD_MAT_ISK_ZAPIS"_s,
        {{u"INISKANE"_s, u"X"_s}, {u"INPROIZVODSTVO"_s, 1}, {u"INUMSKLAD"_s, 1}, {u"INUMMATERIAL"_s, 601},
         {u"IKOLICH_MAT_ISK"_s, 0}}));

    // Two lines of one material, each within the stock of 10 but 12 together: nothing is written.
    free.lines = {{1, 601, u"Подметка"_s, 6}, {1, 601, u"Подметка"_s, 6}};
    QCOMPARE(Production::requisitionRefusal(free), QString());
    try {
        Production::saveRequisition(f_.db(), free, today_);
        QFAIL("a short stock was accepted");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(u"Недостатъчно количество на - Подметка"_s), qPrintable(e.message()));
    }
    QCOMPARE(f_.count(u"select count(*) from ISKANIA"_s), 0);
    QCOMPARE(f_.count(u"select count(*) from SKLAD_DVIGENIE"_s), 0);
    QCOMPARE(warehouseStock(601), 10.0);

    // A free requisition records its lines and no product requisition.
    free.lines = {{1, 601, u"Подметка"_s, 6}};
    QCOMPARE(Production::saveRequisition(f_.db(), free, today_), u"20261210001"_s);
    QCOMPARE(f_.count(u"select count(*) from ISKANIA"_s), 1);
    QCOMPARE(f_.count(u"select count(*) from ISKANIA_IZDELIA"_s), 0);
}

void TstProductionData::batchRefusals()
{
    Production::saveRequisition(f_.db(), fromRecipe(2), today_);  // 4 leather, 2 soles
    Production::Batch b = batchFromWorkshop(0);
    QCOMPARE(Production::batchRefusal(b), u"Не е зададено количество !  "_s);
    b = batchFromWorkshop(3);  // needs 6 leather: more than the workshop holds
    QCOMPARE(Production::batchRefusal(b), QString());
    try {
        Production::saveBatch(f_.db(), b, today_);
        QFAIL("a shortage was accepted");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(u"Недостиг на материали !"_s), qPrintable(e.message()));
    }
    QCOMPARE(f_.count(u"select count(*) from SKLAD where NMATERIAL = 700"_s), 0);
    QCOMPARE(f_.count(u"select count(*) from IZDELIE"_s), 0);
    QCOMPARE(f_.count(u"select count(*) from IZDELIE_MATERIALI"_s), 0);
    b = batchFromWorkshop(1);
    b.materials.front().quantity = -1;
    QVERIFY(!Production::batchRefusal(b).isEmpty());
    b = batchFromWorkshop(1);
    b.series = true;
    b.pairs = 0;
    QVERIFY(!Production::batchRefusal(b).isEmpty());
    QVERIFY_THROWS_EXCEPTION(DbError, Production::saveBatch(f_.db(), b, today_));
}

// The batch and its delivery line hold the number of series as a smallint: its largest value is
// stored whole, one more is refused before anything is written.
void TstProductionData::seriesCountFitsItsColumn()
{
    Production::saveRequisition(f_.db(), fromRecipe(1), today_);
    Production::Batch b = batchFromWorkshop(1);
    b.series = true;
    b.pairs = 1;
    b.count = Production::kMaxSeries + 1;
    QCOMPARE(Production::batchRefusal(b), u"Броят серии не може да е повече от 32767 !"_s);
    QVERIFY_THROWS_EXCEPTION(DbError, Production::saveBatch(f_.db(), b, today_));
    QCOMPARE(f_.count(u"select count(*) from IZDELIE"_s), 0);
    QCOMPARE(f_.count(u"select count(*) from SKLAD where NMATERIAL = 700"_s), 0);

    b.count = Production::kMaxSeries;
    QCOMPARE(Production::batchRefusal(b), QString());
    const Production::SavedBatch saved = Production::saveBatch(f_.db(), b, today_);
    QCOMPARE(f_.count(u"select KOLICH_SERII from IZDELIE"_s), 32767);
    QCOMPARE(f_.count(u"select KOLICH_SERII from SKLAD where AUTONUM = :A"_s, {{u"A"_s, saved.stockLine}}), 32767);
    const DbResult listed = f_.db().query(u"select KOLICH_SERII from IZDELIECEHPARTIDA(1, 1000, 1, 10000, :OT, :DO)"_s,
                                          {{u"OT"_s, today_}, {u"DO"_s, today_}});
    QCOMPARE(listed.value(0, u"KOLICH_SERII"_s).toInt(), 32767);
}

void TstProductionData::seriesBatchPricedPerPair()
{
    Production::saveRequisition(f_.db(), fromRecipe(2), today_);
    Production::Batch b = batchFromWorkshop(2);  // 2 series: cost 4 * 2 + 2 * 4 = 16
    b.series = true;
    b.pairs = 8;
    const Production::SavedBatch saved = Production::saveBatch(f_.db(), b, today_);
    const DbResult line = f_.db().query(u"select KOLICHESTVO, ED_CENA_LV, KOLICH_SERII from SKLAD where AUTONUM = :A"_s,
                                        {{u"A"_s, saved.stockLine}});
    QCOMPARE(line.value(0, u"KOLICHESTVO"_s).toDouble(), 8.0);
    QCOMPARE(line.value(0, u"ED_CENA_LV"_s).toDouble(), 2.0);
    QCOMPARE(line.value(0, u"KOLICH_SERII"_s).toInt(), 2);
    QCOMPARE(f_.count(u"select KOLICH_IZDELIE from IZDELIE"_s), 8);
    QCOMPARE(f_.count(u"select KOLICH_SERII from IZDELIE"_s), 2);
}

void TstProductionData::batchDeleteRefused_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("drawn") << 2 << u"Има вложено в производство от това изделие !"_s;
    QTest::newRow("sold") << 1 << u"Има продадено от това изделие !"_s;
    QTest::newRow("dispatched") << 3 << u"Има експедирано от това изделие !"_s;
}

void TstProductionData::batchDeleteRefused()
{
    QFETCH(int, kind);
    QFETCH(QString, message);
    Production::saveRequisition(f_.db(), fromRecipe(2), today_);
    const Production::SavedBatch saved = Production::saveBatch(f_.db(), batchFromWorkshop(2), today_);
    f_.exec(u"insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO) values (:A, :K, 1)"_s,
            {{u"A"_s, saved.stockLine}, {u"K"_s, kind}});
    QVERIFY(Production::batchDeleteRefusal(f_.db(), saved.number).startsWith(message));
    QVERIFY_THROWS_EXCEPTION(DbError, Production::deleteBatch(f_.db(), saved.number));
    QCOMPARE(f_.count(u"select count(*) from IZDELIE"_s), 1);
    QCOMPARE(f_.count(u"select count(*) from IZDELIE_MATERIALI"_s), 2);
}

void TstProductionData::storeMark_data()
{
    QTest::addColumn<QDate>("produced");
    QTest::addColumn<QString>("mark");
    QTest::newRow("before 02.02.2005") << QDate(2005, 2, 1) << u"ШЦ"_s;
    QTest::newRow("from 02.02.2005") << QDate(2005, 2, 2) << u"ШЦ007"_s;
}

void TstProductionData::storeMark()
{
    QFETCH(QDate, produced);
    QFETCH(QString, mark);
    QCOMPARE(Production::storeMark(u"ШЦ"_s, produced, u"20261210007"_s), mark);
    // A back-dated batch is found and deleted by the same rule it was stored with.
    Production::saveRequisition(f_.db(), fromRecipe(1), today_);
    Production::Batch b = batchFromWorkshop(1);
    b.produced = produced;
    const Production::SavedBatch saved = Production::saveBatch(f_.db(), b, today_);
    f_.exec(u"insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO) values (:A, 1, 1)"_s,
            {{u"A"_s, saved.stockLine}});
    QVERIFY(!Production::batchDeleteRefusal(f_.db(), saved.number).isEmpty());
}

// Two back-dated batches of one product stored under the same mark and date: what was sold from
// one does not hold the other.
void TstProductionData::batchesSharingMarkAndDateCheckedApart()
{
    Production::saveRequisition(f_.db(), fromRecipe(2), today_);
    Production::Batch b = batchFromWorkshop(1);
    b.produced = QDate(2005, 1, 15);
    const Production::SavedBatch sold = Production::saveBatch(f_.db(), b, today_);
    const Production::SavedBatch kept = Production::saveBatch(f_.db(), b, today_);
    QCOMPARE(sold.mark, kept.mark);
    QVERIFY(sold.stockLine != kept.stockLine);
    f_.exec(u"insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO) values (:A, 1, 1)"_s,
            {{u"A"_s, sold.stockLine}});

    QCOMPARE(Production::batchDeleteRefusal(f_.db(), kept.number), QString());
    Production::deleteBatch(f_.db(), kept.number);
    QCOMPARE(f_.count(u"select count(*) from SKLAD where AUTONUM = :A"_s, {{u"A"_s, kept.stockLine}}), 0);
    QVERIFY(Production::batchDeleteRefusal(f_.db(), sold.number).startsWith(u"Има продадено от това изделие !"_s));
    QVERIFY_THROWS_EXCEPTION(DbError, Production::deleteBatch(f_.db(), sold.number));
    QCOMPARE(f_.count(u"select count(*) from IZDELIE"_s), 1);
}

// Two workstations save a requisition at the same moment: the second waits for the first's number
// and takes the next one.
void TstProductionData::concurrentRequisitionsGetDifferentNumbers()
{
    SQLConnection other(f_.db().params()), watcher(f_.db().params());
    other.open();
    watcher.open();
    std::future<QString> second;
    QString first;
    {
        TransactionScope tx(f_.db());
        first = Production::saveRequisition(f_.db(), fromRecipe(1), today_);
        const Production::Requisition next = fromRecipe(2);
        second = std::async(std::launch::async, [&other, next, this] {
            return Production::saveRequisition(other, next, today_);
        });
        const QString waiting = u"select count(*) from MON$STATEMENTS where MON$STATE = 1 "
                                u"and MON$ATTACHMENT_ID <> current_connection and MON$SQL_TEXT containing 'NUMBER_SERIES'"_s;
        while (second.wait_for(std::chrono::seconds(0)) != std::future_status::ready &&
               watcher.query(waiting).rows.front()[0].toInt() == 0)
            QThread::yieldCurrentThread();
        tx.commit();
    }
    QCOMPARE(first, u"20261210001"_s);
    QCOMPARE(second.get(), u"20261210002"_s);
    QCOMPARE(warehouseStock(600), 14.0);
    QCOMPARE(f_.count(u"select count(*) from ISKANIA_IZDELIA"_s), 2);
}

void TstProductionData::concurrentBatches_data()
{
    QTest::addColumn<int>("drawn");
    QTest::addColumn<QString>("secondRefusal");
    // Enough for both batches: each gets its own number.
    QTest::newRow("enough for both") << 4 << QString();
    // Enough for one: the second sees what the first consumed and stores nothing.
    QTest::newRow("enough for one") << 2 << u"Недостиг на материали !"_s;
}

// Two workstations store a batch at the same moment: the second waits for the first's number, then
// takes the next one with the first's consumption in sight.
void TstProductionData::concurrentBatches()
{
    QFETCH(int, drawn);
    QFETCH(QString, secondRefusal);
    Production::saveRequisition(f_.db(), fromRecipe(drawn), today_);
    const Production::Batch batch = batchFromWorkshop(2);
    SQLConnection other(f_.db().params()), watcher(f_.db().params());
    other.open();
    watcher.open();
    std::future<QString> second;
    QString first;
    {
        TransactionScope tx(f_.db());
        first = Production::saveBatch(f_.db(), batch, today_).number;
        second = std::async(std::launch::async, [&other, batch, this] {
            try {
                return Production::saveBatch(other, batch, today_).number;
            } catch (const DbError& e) {
                return e.message();
            }
        });
        const QString waiting = u"select count(*) from MON$STATEMENTS where MON$STATE = 1 "
                                u"and MON$ATTACHMENT_ID <> current_connection and MON$SQL_TEXT containing 'NUMBER_SERIES'"_s;
        while (second.wait_for(std::chrono::seconds(0)) != std::future_status::ready &&
               watcher.query(waiting).rows.front()[0].toInt() == 0)
            QThread::yieldCurrentThread();
        tx.commit();
    }
    QCOMPARE(first, u"20261210001"_s);
    const QString result = second.get();
    if (secondRefusal.isEmpty()) {
        QCOMPARE(result, u"20261210002"_s);
        QCOMPARE(f_.count(u"select count(*) from IZDELIE"_s), 2);
        QCOMPARE(warehouseStock(700), 4.0);
    } else {
        QVERIFY2(result.contains(secondRefusal), qPrintable(result));
        QCOMPARE(f_.count(u"select count(*) from IZDELIE"_s), 1);
        QCOMPARE(f_.count(u"select count(*) from IZDELIE_MATERIALI"_s), 2);
        QCOMPARE(warehouseStock(700), 2.0);
    }
    QVERIFY(workshopStock().isEmpty());
}

QTEST_GUILESS_MAIN(TstProductionData)
#include "tst_production_data.moc"

