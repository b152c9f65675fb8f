#include "platform/dataset/saveatonce.h"
#include "platform/dataset/smpdataset.h"
#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "support/testdb.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The cached dataset against a real database.
class TstDataset : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void fieldsExistBeforeOpenInTheirOrder();
    void columnFieldsWithDefinedLookups();
    void cursorAndLocate();
    void fieldKinds_data();
    void fieldKinds();
    void emptyValues();
    void checkedTextInput_data();
    void checkedTextInput();
    void filterAndSort_data();
    void filterAndSort();
    void masterDetail_data();
    void masterDetail();
    void statementDetail_data();
    void statementDetail();
    void insertTakesGeneratedKey();
    void whereAllRefusesRowChangedElsewhere_data();
    void whereAllRefusesRowChangedElsewhere();
    void saveAtOnceRereadsDependants();
    void rejectedApplyKeepsTheEditAndOtherData();
    void refreshKeepsCurrentRowAndPendingChanges();
    void scratchListNeverReachesItsTable();
    void readOnlySourceEditsOnlyTheCache();

private:
    int count(const QString& sql) { return db_->query(sql).rows.front()[0].toInt(); }
    std::unique_ptr<SmpDataset> kinds();
    std::unique_ptr<SmpDataset> details(SmpDataset* kindList);
    QTemporaryDir dir_;
    std::unique_ptr<SQLConnection> db_;
};

void TstDataset::initTestCase()
{
    db_ = std::make_unique<SQLConnection>(TestDb::freshCopy(dir_));
    db_->open();
    const char* ddl[] = {
        "create table D_KIND (KIND smallint not null primary key, KIND_NAME varchar(20))",
        "create table D_MASTER (ID integer not null primary key, NAME varchar(30), KIND smallint)",
        "create generator G_D_MASTER",
        "create trigger D_MASTER_BI for D_MASTER before insert as begin "
        "if (new.ID is null) then new.ID = gen_id(G_D_MASTER, 1); end",
        "create table D_DETAIL (ID integer not null primary key, MASTER_ID integer, KIND smallint, "
        "QTY double precision, PRICE double precision, NOTE varchar(20))",
        "create generator G_D_DETAIL",
        "create trigger D_DETAIL_BI for D_DETAIL before insert as begin "
        "if (new.ID is null) then new.ID = gen_id(G_D_DETAIL, 1); end",
        // No key: rows are found by all their values; two link fields.
        "create table D_PAIR (A integer, B integer, V varchar(10))",
        "create table D_SCRATCH (N integer, S varchar(10))",
    };
    for (const char* s : ddl) db_->executeImmediate(QString::fromUtf8(s));
}

void TstDataset::init()
{
    for (const char* t : {"D_KIND", "D_MASTER", "D_DETAIL", "D_PAIR", "D_SCRATCH"})
        db_->execute(QStringLiteral("delete from ") + QLatin1String(t));
    db_->execute(QStringLiteral("insert into D_KIND values (1, 'Материал')"));
    db_->execute(QStringLiteral("insert into D_KIND values (2, 'Изделие')"));
    db_->execute(QStringLiteral("insert into D_MASTER values (10, 'Алфа', 1)"));
    db_->execute(QStringLiteral("insert into D_MASTER values (20, 'Бета', 2)"));
    const char* lines[] = {"(1, 10, 1, 2, 1.5, 'а')", "(2, 10, 2, 4, 10, 'б')", "(3, 20, 1, 1, 100, 'в')",
                           "(4, 10, 1, null, 3, null)"};
    for (const char* l : lines) db_->execute(QStringLiteral("insert into D_DETAIL values ") + QString::fromUtf8(l));
    db_->execute(QStringLiteral("insert into D_PAIR values (1, 1, 'x')"));
    db_->execute(QStringLiteral("insert into D_PAIR values (1, 2, 'y')"));
    db_->execute(QStringLiteral("insert into D_PAIR values (1, 2, 'z')"));
}

std::unique_ptr<SmpDataset> TstDataset::kinds()
{
    auto ds = std::make_unique<SmpDataset>(QStringLiteral("SmpKind"), db_.get());
    ds->setTableName(QStringLiteral("D_KIND"));
    return ds;
}

// Lines with a data, lookup, calculated, internal calculated and aggregate field.
std::unique_ptr<SmpDataset> TstDataset::details(SmpDataset* kindList)
{
    auto ds = std::make_unique<SmpDataset>(QStringLiteral("SmpDetail"), db_.get());
    ds->setCommandText(QStringLiteral("select * from D_DETAIL order by ID"));
    for (const char* f : {"ID", "MASTER_ID", "KIND"}) ds->addDataField(QString::fromLatin1(f), SmpField::Type::Integer);
    ds->addDataField(QStringLiteral("QTY"), SmpField::Type::Float);
    ds->addDataField(QStringLiteral("PRICE"), SmpField::Type::Float);
    ds->addDataField(QStringLiteral("NOTE"), SmpField::Type::String, 20);
    ds->addLookupField(QStringLiteral("KindName"), kindList, QStringLiteral("KIND"), QStringLiteral("KIND"),
                       QStringLiteral("KIND_NAME"));
    ds->addCalculatedField(QStringLiteral("Amount"), SmpField::Type::Float);
    ds->addInternalCalcField(QStringLiteral("AmountVat"), SmpField::Type::Float);
    ds->addAggregateField(QStringLiteral("TotalAmount"), QStringLiteral("SUM(Amount)"));
    ds->addAggregateField(QStringLiteral("Lines"), QStringLiteral("COUNT(*)"));
    ds->onCalcFields = [](SmpDataset& d) {
        if (d.fieldByName(QStringLiteral("QTY"))->isNull()) return;  // no quantity: the amount stays empty
        const double amount = d.fieldByName(QStringLiteral("QTY"))->asFloat() * d.fieldByName(QStringLiteral("PRICE"))->asFloat();
        d.setValue(QStringLiteral("Amount"), amount);
        d.setValue(QStringLiteral("AmountVat"), amount * 1.2);
    };
    return ds;
}

void TstDataset::fieldsExistBeforeOpenInTheirOrder()
{
    auto k = kinds();
    auto ds = details(k.get());
    QStringList names;
    for (const SmpField* f : ds->fields()) names << f->fieldName();
    QCOMPARE(names, (QStringList{"ID", "MASTER_ID", "KIND", "QTY", "PRICE", "NOTE", "KindName", "Amount", "AmountVat",
                                 "TotalAmount", "Lines"}));
    QVERIFY(ds->fieldByName(QStringLiteral("qty"))->isNull());  // closed: no value, no crash
    QCOMPARE(ds->fieldByName(QStringLiteral("NOTE"))->name(), QStringLiteral("SmpDetailNOTE"));
    ds->open();
    QCOMPARE(ds->fields().size(), names.size());

    SmpDataset wrong(QStringLiteral("SmpWrong"), db_.get());
    wrong.setTableName(QStringLiteral("D_KIND"));
    wrong.addDataField(QStringLiteral("NO_SUCH"), SmpField::Type::Integer);
    QVERIFY_THROWS_EXCEPTION(DbError, wrong.open());
}

void TstDataset::columnFieldsWithDefinedLookups()
{
    auto k = kinds();
    k->open();
    SmpDataset ds(QStringLiteral("SmpMaster"), db_.get());
    ds.setTableName(QStringLiteral("D_MASTER"));
    ds.addLookupField(QStringLiteral("KindName"), k.get(), QStringLiteral("KIND"), QStringLiteral("KIND"),
                      QStringLiteral("KIND_NAME"));
    ds.setIndexFieldNames(QStringLiteral("ID"));
    ds.open();
    QStringList names;
    for (const SmpField* f : ds.fields()) names << f->fieldName();
    QCOMPARE(names, (QStringList{"ID", "NAME", "KIND", "KindName"}));  // the columns, then the defined fields
    SmpField* name = ds.fieldByName(QStringLiteral("NAME"));
    QCOMPARE(name->size(), 30);
    QCOMPARE(ds.value(QStringLiteral("KindName")).toString(), QStringLiteral("Материал"));
    ds.close();
    ds.open();
    QCOMPARE(ds.fieldByName(QStringLiteral("NAME")), name);  // bound controls keep their field across re-opens
}

void TstDataset::cursorAndLocate()
{
    auto k = kinds();
    auto ds = details(k.get());
    QSignalSpy scrolls(ds.get(), &SmpDataset::currentChanged);
    int afterScroll = 0;
    ds->afterScroll = [&afterScroll](SmpDataset&) { ++afterScroll; };
    ds->open();
    QCOMPARE(ds->recordCount(), 4);
    QList<int> ids;
    for (ds->first(); !ds->eof(); ds->next()) ids << ds->fieldByName(QStringLiteral("ID"))->asInt();
    QCOMPARE(ids, (QList<int>{1, 2, 3, 4}));
    QVERIFY(ds->locate(QStringLiteral("MASTER_ID;KIND"), {20, 1}));
    QCOMPARE(ds->value(QStringLiteral("ID")).toInt(), 3);
    QVERIFY(ds->locate(QStringLiteral("NOTE"), {QStringLiteral("б")}));
    QCOMPARE(ds->recNo(), 1);
    QVERIFY(!ds->locate(QStringLiteral("NOTE"), {QStringLiteral("няма")}));
    QCOMPARE(ds->recNo(), 1);  // no move when nothing matches
    QVERIFY(ds->locate(QStringLiteral("ID"), {QStringLiteral("4")}));  // text finds a number
    ds->last();
    QVERIFY(ds->eof());
    ds->prior();
    QCOMPARE(ds->recNo(), 2);
    QVERIFY(afterScroll >= 5);
    QVERIFY(scrolls.count() >= 5);
}

void TstDataset::fieldKinds_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QVariant>("amount");    // calculated field of the current row
    QTest::addColumn<QVariant>("amountVat"); // internal calculated
    QTest::addColumn<QString>("kindName");   // lookup
    QTest::addColumn<double>("total");       // aggregate over all rows: 3 + 40 + 100 at the start
    QTest::addColumn<int>("lines");

    QTest::newRow("as read") << "read" << QVariant(3.0) << QVariant(3.6) << "Материал" << 143.0 << 4;
    QTest::newRow("edit quantity and kind") << "edit" << QVariant(15.0) << QVariant(18.0) << "Изделие" << 155.0 << 4;
    QTest::newRow("insert") << "insert" << QVariant(14.0) << QVariant(16.8) << "Материал" << 157.0 << 5;
    QTest::newRow("delete") << "delete" << QVariant(40.0) << QVariant(48.0) << "Изделие" << 140.0 << 3;
    QTest::newRow("cancelled edit") << "cancel" << QVariant(3.0) << QVariant(3.6) << "Материал" << 143.0 << 4;
}

void TstDataset::fieldKinds()
{
    QFETCH(QString, operation);
    QFETCH(QVariant, amount);
    QFETCH(QVariant, amountVat);
    QFETCH(QString, kindName);
    QFETCH(double, total);
    QFETCH(int, lines);
    auto k = kinds();
    k->open();
    auto ds = details(k.get());
    ds->open();
    QCOMPARE(ds->value(QStringLiteral("TotalAmount")).toDouble(), 143.0);
    if (operation == QLatin1String("edit") || operation == QLatin1String("cancel")) {
        ds->edit();
        ds->setValue(QStringLiteral("QTY"), 10);
        ds->setValue(QStringLiteral("KIND"), 2);
        QCOMPARE(ds->value(QStringLiteral("Amount")).toDouble(), 15.0);  // follows the edit at once
        if (operation == QLatin1String("edit")) ds->post();
        else ds->cancel();
    } else if (operation == QLatin1String("insert")) {
        ds->append();
        ds->setValue(QStringLiteral("MASTER_ID"), 20);
        ds->setValue(QStringLiteral("KIND"), 1);
        ds->setValue(QStringLiteral("QTY"), 7);
        ds->setValue(QStringLiteral("PRICE"), 2);
        ds->post();
        QCOMPARE(ds->recNo(), 4);
    } else if (operation == QLatin1String("delete")) {
        ds->remove();
    }
    QCOMPARE(ds->value(QStringLiteral("Amount")), amount);
    QCOMPARE(ds->value(QStringLiteral("AmountVat")).toDouble(), amountVat.toDouble());
    QCOMPARE(ds->value(QStringLiteral("KindName")).toString(), kindName);
    QCOMPARE(ds->value(QStringLiteral("TotalAmount")).toDouble(), total);
    QCOMPARE(ds->value(QStringLiteral("Lines")).toInt(), lines);
    QCOMPARE(ds->changeCount(), operation == QLatin1String("read") || operation == QLatin1String("cancel") ? 0 : 1);
}

void TstDataset::emptyValues()
{
    auto k = kinds();
    k->open();
    auto ds = details(k.get());
    ds->open();
    QVERIFY(ds->locate(QStringLiteral("ID"), {4}));
    SmpField* qty = ds->fieldByName(QStringLiteral("QTY"));
    QVERIFY(qty->isNull());
    QCOMPARE(qty->asFloat(), 0.0);        // an empty number column reads as 0
    QCOMPARE(qty->displayText(), QString());
    SmpField* amount = ds->fieldByName(QStringLiteral("Amount"));
    amount->displayFormat = QStringLiteral("# ##0.00");
    QVERIFY(amount->isNull());            // an empty calculated value stays empty
    QCOMPARE(amount->displayText(), QString());
    QCOMPARE(ds->fieldByName(QStringLiteral("NOTE"))->asString(), QString());

    SmpDataset none(QStringLiteral("SmpNone"), db_.get());
    none.setCommandText(QStringLiteral("select * from D_DETAIL where ID < 0"));
    none.addDataField(QStringLiteral("QTY"), SmpField::Type::Float);
    none.addAggregateField(QStringLiteral("Total"), QStringLiteral("SUM(QTY)"));
    none.open();
    QVERIFY(none.fieldByName(QStringLiteral("Total"))->isNull());  // an aggregate over nothing stays empty
}

void TstDataset::checkedTextInput_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("number") << "QTY" << "12.5" << true << QVariant(12.5);
    QTest::newRow("comma decimal") << "QTY" << "3,25" << true << QVariant(3.25);
    QTest::newRow("letters") << "QTY" << "12a" << false << QVariant(2.0);
    QTest::newRow("two points") << "QTY" << "1.2.3" << false << QVariant(2.0);
    QTest::newRow("empty number is null") << "QTY" << "" << true << QVariant();
    QTest::newRow("integer refuses fraction") << "KIND" << "1.5" << false << QVariant(1);
    QTest::newRow("text too long") << "NOTE" << QString(21, u'ж') << false << QVariant(QStringLiteral("а"));
}

void TstDataset::checkedTextInput()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QVariant, stored);
    auto k = kinds();
    auto ds = details(k.get());
    ds->open();
    ds->edit();
    QCOMPARE(ds->fieldByName(field)->setAsText(text), accepted);
    const QVariant v = ds->value(field);
    if (!stored.isValid()) QVERIFY(!v.isValid());
    else QCOMPARE(v.toString(), stored.toString());
}

void TstDataset::filterAndSort_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QList<int>>("ids");
    QTest::newRow("all") << "" << "" << QList<int>{1, 2, 3, 4};
    QTest::newRow("equals") << "MASTER_ID=10" << "" << QList<int>{1, 2, 4};
    QTest::newRow("greater and") << "MASTER_ID=10 and PRICE>2" << "" << QList<int>{2, 4};
    QTest::newRow("text") << "NOTE='б'" << "" << QList<int>{2};
    QTest::newRow("not equal") << "KIND<>1" << "" << QList<int>{2};
    QTest::newRow("null never passes") << "QTY>=0" << "" << QList<int>{1, 2, 3};
    QTest::newRow("sort desc") << "" << "PRICE DESC" << QList<int>{3, 2, 4, 1};
    QTest::newRow("sort two fields") << "" << "KIND;PRICE DESC" << QList<int>{3, 4, 1, 2};
    QTest::newRow("sort by lookup") << "" << "KindName;ID" << QList<int>{2, 1, 3, 4};
    QTest::newRow("sort by calculated") << "MASTER_ID=10" << "Amount DESC" << QList<int>{2, 1, 4};
}

void TstDataset::filterAndSort()
{
    QFETCH(QString, filter);
    QFETCH(QString, order);
    QFETCH(QList<int>, ids);
    auto k = kinds();
    k->open();
    auto ds = details(k.get());
    ds->open();
    ds->setFilter(filter);
    ds->setFiltered(!filter.isEmpty());
    ds->setIndexFieldNames(order);
    QList<int> got;
    for (ds->first(); !ds->eof(); ds->next()) got << ds->value(QStringLiteral("ID")).toInt();
    QCOMPARE(got, ids);
    double sum = 0;
    for (int id : ids)
        sum += QHash<int, double>{{1, 3.0}, {2, 40.0}, {3, 100.0}, {4, 0.0}}.value(id);
    if (!ids.isEmpty()) QCOMPARE(ds->value(QStringLiteral("TotalAmount")).toDouble(), sum);  // over the rows shown
    QVERIFY_THROWS_EXCEPTION(DbError, ds->setFilter(QStringLiteral("QTY => 1")));
}

void TstDataset::statementDetail_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("link as a parameter") << "select * from D_DETAIL where MASTER_ID = :ID order by ID";
    QTest::newRow("no parameter: matched in the cache") << "select * from D_DETAIL order by ID";
}

// A statement detail shows the master row's lines whether or not the statement takes the link.
void TstDataset::statementDetail()
{
    QFETCH(QString, sql);
    SmpDataset master(QStringLiteral("SmpMaster"), db_.get());
    master.setCommandText(QStringLiteral("select * from D_MASTER order by ID"));
    SmpDataset detail(QStringLiteral("SmpLines"), db_.get());
    detail.setCommandText(sql);
    detail.setMaster(&master, QStringLiteral("ID"), QStringLiteral("MASTER_ID"));
    detail.open();
    QCOMPARE(detail.recordCount(), 0);  // no master row yet
    master.open();
    QCOMPARE(detail.recordCount(), 3);
    master.next();
    QCOMPARE(detail.recordCount(), 1);
    QCOMPARE(detail.value(QStringLiteral("ID")).toInt(), 3);
    QCOMPARE(detail.value(QStringLiteral("MASTER_ID")), master.value(QStringLiteral("ID")));
    master.first();
    QCOMPARE(detail.recordCount(), 3);
    for (int i = 0; i < detail.recordCount(); ++i)
        QCOMPARE(detail.valueAt(i, detail.fieldByName(QStringLiteral("MASTER_ID"))), master.value(QStringLiteral("ID")));
}

void TstDataset::masterDetail_data()
{
    QTest::addColumn<bool>("twoFields");
    QTest::newRow("one link field") << false;
    QTest::newRow("two link fields") << true;
}

void TstDataset::masterDetail()
{
    QFETCH(bool, twoFields);
    if (!twoFields) {
        SmpDataset master(QStringLiteral("SmpMaster"), db_.get());
        master.setCommandText(QStringLiteral("select * from D_MASTER order by ID"));
        master.open();
        SmpDataset detail(QStringLiteral("SmpLines"), db_.get());
        detail.setTableName(QStringLiteral("D_DETAIL"));
        detail.setMaster(&master, QStringLiteral("ID"), QStringLiteral("MASTER_ID"));
        detail.setIndexFieldNames(QStringLiteral("ID"));
        detail.open();
        QCOMPARE(detail.recordCount(), 3);
        master.next();
        QCOMPARE(detail.recordCount(), 1);
        QCOMPARE(detail.value(QStringLiteral("ID")).toInt(), 3);
        detail.append();  // a new line belongs to the master's current row
        QCOMPARE(detail.value(QStringLiteral("MASTER_ID")).toInt(), 20);
        detail.cancel();
        master.first();
        QCOMPARE(detail.recordCount(), 3);
        return;
    }
    SmpDataset master(QStringLiteral("SmpPairMaster"), db_.get());
    master.setCommandText(QStringLiteral("select distinct A, B from D_PAIR order by A, B"));
    master.open();
    SmpDataset detail(QStringLiteral("SmpPair"), db_.get());
    detail.setTableName(QStringLiteral("D_PAIR"));
    detail.setMaster(&master, QStringLiteral("A;B"), QStringLiteral("A;B"));
    detail.setIndexFieldNames(QStringLiteral("V"));
    detail.open();
    QCOMPARE(detail.recordCount(), 1);
    master.next();
    QCOMPARE(detail.recordCount(), 2);
    QCOMPARE(detail.value(QStringLiteral("V")).toString(), QStringLiteral("y"));
}

void TstDataset::insertTakesGeneratedKey()
{
    SmpDataset ds(QStringLiteral("SmpMaster"), db_.get());
    ds.setTableName(QStringLiteral("D_MASTER"));
    ds.open();
    ds.append();
    ds.setValue(QStringLiteral("NAME"), QStringLiteral("Гама"));
    ds.post();
    QVERIFY(ds.value(QStringLiteral("ID")).isNull());  // pending: not stored yet
    QCOMPARE(count(QStringLiteral("select count(*) from D_MASTER")), 2);
    ds.applyUpdates();
    const int id = ds.value(QStringLiteral("ID")).toInt();
    QVERIFY(id > 0);
    QCOMPARE(db_->query(QStringLiteral("select NAME from D_MASTER where ID = :id"), {{QStringLiteral("id"), id}})
                 .rows.front()[0].toString(),
             QStringLiteral("Гама"));
    QCOMPARE(ds.changeCount(), 0);
}

void TstDataset::whereAllRefusesRowChangedElsewhere_data()
{
    QTest::addColumn<bool>("deleting");
    QTest::newRow("update") << false;
    QTest::newRow("delete") << true;
}

void TstDataset::whereAllRefusesRowChangedElsewhere()
{
    QFETCH(bool, deleting);
    SmpDataset ds(QStringLiteral("SmpMaster"), db_.get());
    ds.setTableName(QStringLiteral("D_MASTER"));
    ds.setIndexFieldNames(QStringLiteral("ID"));
    ds.open();
    // Another workstation changes the first row meanwhile.
    SQLConnection other(db_->params());
    other.execute(QStringLiteral("update D_MASTER set KIND = 7 where ID = 10"));
    other.close();

    if (deleting) {
        ds.remove();
    } else {
        ds.edit();
        ds.setValue(QStringLiteral("NAME"), QStringLiteral("Моя промяна"));
        ds.post();
    }
    try {
        ds.applyUpdates();
        QFAIL("a row changed elsewhere was overwritten");
    } catch (const DbError& e) {
        QCOMPARE(e.sqlCode(), SmpDataset::kConflictCode);
        QVERIFY(e.message().contains(QStringLiteral("друг потребител")));
    }
    const DbResult stored = db_->query(QStringLiteral("select NAME, KIND from D_MASTER where ID = 10"));
    QCOMPARE(stored.rows.front()[0].toString(), QStringLiteral("Алфа"));
    QCOMPARE(stored.rows.front()[1].toInt(), 7);
    // The list shows what is stored now.
    QCOMPARE(ds.changeCount(), 0);
    QVERIFY(ds.locate(QStringLiteral("ID"), {10}));
    QCOMPARE(ds.value(QStringLiteral("KIND")).toInt(), 7);
    QCOMPARE(ds.value(QStringLiteral("NAME")).toString(), QStringLiteral("Алфа"));
}

void TstDataset::saveAtOnceRereadsDependants()
{
    auto k = kinds();
    k->setIndexFieldNames(QStringLiteral("KIND"));
    k->open();
    auto lines = details(k.get());
    lines->open();
    SmpDataset counter(QStringLiteral("SmpCount"), db_.get());
    counter.setCommandText(QStringLiteral("select count(*) as N from D_KIND"));
    counter.setReadOnly(true);
    counter.open();
    SaveAtOnce::install(*k, {lines.get(), &counter});

    k->append();
    k->setValue(QStringLiteral("KIND"), 3);
    k->setValue(QStringLiteral("KIND_NAME"), QStringLiteral("Услуга"));
    k->post();  // stored at once
    QCOMPARE(count(QStringLiteral("select count(*) from D_KIND where KIND = 3")), 1);
    QCOMPARE(counter.value(QStringLiteral("N")).toInt(), 3);
    QCOMPARE(k->changeCount(), 0);
    QCOMPARE(k->value(QStringLiteral("KIND")).toInt(), 3);  // still on the row just posted

    QVERIFY(k->locate(QStringLiteral("KIND"), {2}));
    k->edit();
    k->setValue(QStringLiteral("KIND_NAME"), QStringLiteral("Продукт"));
    k->post();
    QVERIFY(lines->locate(QStringLiteral("ID"), {2}));
    QCOMPARE(lines->value(QStringLiteral("KindName")).toString(), QStringLiteral("Продукт"));

    QVERIFY(k->locate(QStringLiteral("KIND"), {3}));
    k->remove();
    QCOMPARE(count(QStringLiteral("select count(*) from D_KIND")), 2);
    QCOMPARE(counter.value(QStringLiteral("N")).toInt(), 2);
}

void TstDataset::rejectedApplyKeepsTheEditAndOtherData()
{
    auto k = kinds();
    k->setIndexFieldNames(QStringLiteral("KIND"));
    k->open();
    SaveAtOnce::install(*k);
    k->append();
    k->setValue(QStringLiteral("KIND"), 1);  // the key of an existing row
    k->setValue(QStringLiteral("KIND_NAME"), QStringLiteral("Дубликат"));
    try {
        k->post();
        QFAIL("a duplicate key was accepted");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("PRIMARY")) || e.message().contains(QStringLiteral("unique")),
                 qPrintable(e.message()));
    }
    // The rejected row stays in the list as the user left it; nothing else is lost.
    QCOMPARE(k->recordCount(), 3);
    QCOMPARE(k->value(QStringLiteral("KIND_NAME")).toString(), QStringLiteral("Дубликат"));
    QCOMPARE(k->changeCount(), 1);
    QCOMPARE(count(QStringLiteral("select count(*) from D_KIND")), 2);
    QCOMPARE(db_->query(QStringLiteral("select KIND_NAME from D_KIND where KIND = 1")).rows.front()[0].toString(),
             QStringLiteral("Материал"));

    // The user mends the key and posts again: it is stored and the list is usable.
    k->edit();
    k->setValue(QStringLiteral("KIND"), 5);
    k->post();
    QCOMPARE(k->changeCount(), 0);
    QCOMPARE(count(QStringLiteral("select count(*) from D_KIND where KIND = 5 and KIND_NAME = 'Дубликат'")), 1);
    k->refresh();
    QCOMPARE(k->recordCount(), 3);

    // Rejected again, then cancelled: the change is dropped.
    k->append();
    k->setValue(QStringLiteral("KIND"), 2);
    QVERIFY_THROWS_EXCEPTION(DbError, k->post());
    k->cancel();
    QCOMPARE(k->changeCount(), 0);
    QCOMPARE(k->recordCount(), 3);
}

void TstDataset::refreshKeepsCurrentRowAndPendingChanges()
{
    SmpDataset ds(QStringLiteral("SmpMaster"), db_.get());
    ds.setTableName(QStringLiteral("D_MASTER"));
    ds.setIndexFieldNames(QStringLiteral("ID"));
    ds.open();
    QVERIFY(ds.locate(QStringLiteral("ID"), {20}));
    ds.edit();
    ds.setValue(QStringLiteral("NAME"), QStringLiteral("Непоставено"));
    ds.post();
    db_->execute(QStringLiteral("insert into D_MASTER values (5, 'Нов отвън', 1)"));
    db_->execute(QStringLiteral("update D_MASTER set NAME = 'Отвън' where ID = 10"));
    ds.refresh();
    QCOMPARE(ds.recordCount(), 3);
    QCOMPARE(ds.value(QStringLiteral("ID")).toInt(), 20);
    QCOMPARE(ds.value(QStringLiteral("NAME")).toString(), QStringLiteral("Непоставено"));
    QCOMPARE(ds.changeCount(), 1);
    QVERIFY(ds.locate(QStringLiteral("ID"), {10}));
    QCOMPARE(ds.value(QStringLiteral("NAME")).toString(), QStringLiteral("Отвън"));
    ds.applyUpdates();
    QCOMPARE(db_->query(QStringLiteral("select NAME from D_MASTER where ID = 20")).rows.front()[0].toString(),
             QStringLiteral("Непоставено"));
}

void TstDataset::scratchListNeverReachesItsTable()
{
    SmpDataset ds(QStringLiteral("SmpScratch"), db_.get());
    ds.setTableName(QStringLiteral("D_SCRATCH"));
    ds.setScratch(true);
    db_->execute(QStringLiteral("insert into D_SCRATCH values (99, 'стар')"));
    ds.open();
    QCOMPARE(ds.recordCount(), 0);  // shaped by the table, never read from it
    QCOMPARE(ds.fieldByName(QStringLiteral("S"))->size(), 10);
    for (int i = 0; i < 3; ++i) {
        ds.append();
        ds.setValue(QStringLiteral("N"), i);
        ds.post();
    }
    ds.applyUpdates();
    QCOMPARE(ds.recordCount(), 3);
    QCOMPARE(count(QStringLiteral("select count(*) from D_SCRATCH")), 1);
    ds.close();
    ds.open();
    QCOMPARE(ds.recordCount(), 0);  // close and reopen empties it
}

void TstDataset::readOnlySourceEditsOnlyTheCache()
{
    SmpDataset ds(QStringLiteral("SmpView"), db_.get());
    ds.setCommandText(QStringLiteral("select m.ID, m.NAME, k.KIND_NAME from D_MASTER m join D_KIND k on k.KIND = m.KIND"));
    ds.setReadOnly(true);
    ds.open();
    ds.edit();
    ds.setValue(QStringLiteral("NAME"), QStringLiteral("само в списъка"));
    ds.post();
    QCOMPARE(ds.value(QStringLiteral("NAME")).toString(), QStringLiteral("само в списъка"));
    QVERIFY_THROWS_EXCEPTION(DbError, ds.applyUpdates());
    QCOMPARE(count(QStringLiteral("select count(*) from D_MASTER where NAME = 'само в списъка'")), 0);
}

QTEST_GUILESS_MAIN(TstDataset)
#include "tst_dataset.moc"
