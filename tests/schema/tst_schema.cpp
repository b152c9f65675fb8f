#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/migrator.h"
#include "schema/schema.h"
#include "support/testdb.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The business schema as the server holds it, read back from its system tables.
class TstSchema : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void columns_data();
    void columns();
    void databaseKeysFillThemselves_data();
    void databaseKeysFillThemselves();
    void cyrillicAtFullLengthAndBeyond();
    void userKeyDuplicateRefused();
    void seedRows();
    void upgradeFromOlderVersionKeepsRows();
    void secondStartChangesNothing();

private:
    int count(const QString& sql) { return db_->query(sql).rows.front()[0].toInt(); }
    QTemporaryDir dir_;
    std::unique_ptr<SQLConnection> db_;
};

void TstSchema::initTestCase()
{
    db_ = std::make_unique<SQLConnection>(TestDb::freshCopy(dir_));
    db_->open();
}

void TstSchema::columns_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("length");
    QFile f(QStringLiteral(TRX_SOURCE_DIR "/tests/schema/expected_columns.tsv"));
    QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
    while (!f.atEnd()) {
        const QStringList parts = QString::fromUtf8(f.readLine()).trimmed().split(u'\t');
        if (parts.size() != 4) continue;
        QTest::newRow(qPrintable(parts[0] + u'.' + parts[1])) << parts[0] << parts[1] << parts[2] << parts[3].toInt();
    }
}

void TstSchema::columns()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, type);
    QFETCH(int, length);
    const DbResult r = db_->query(
        QStringLiteral("select f.RDB$FIELD_TYPE, f.RDB$FIELD_SUB_TYPE, f.RDB$CHARACTER_LENGTH, f.RDB$CHARACTER_SET_ID "
                       "from RDB$RELATION_FIELDS rf join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                       "where rf.RDB$RELATION_NAME = :T and rf.RDB$FIELD_NAME = :C"),
        {{QStringLiteral("T"), table}, {QStringLiteral("C"), column}});
    QVERIFY2(!r.isEmpty(), "no such column");
    const int t = r.rows.front()[0].toInt();
    // Server type codes: 7 smallint, 8 integer, 10 float, 27 double, 14 char, 37 varchar, 35 timestamp, 261 blob.
    const QHash<QString, QList<int>> fitting = {{"smallint", {7, 8}}, {"integer", {8}}, {"float", {27, 10}},
                                                 {"string", {37, 14}}, {"timestamp", {35}}, {"blob", {261}}};
    QVERIFY2(fitting.contains(type), qPrintable(type));
    QVERIFY2(fitting[type].contains(t), qPrintable(QStringLiteral("server type %1").arg(t)));
    if (type == QLatin1String("string")) {
        QCOMPARE(r.rows.front()[2].toInt(), length);
        QCOMPARE(r.rows.front()[3].toInt(), 52);  // WIN1251
    }
}

void TstSchema::databaseKeysFillThemselves_data()
{
    QTest::addColumn<QString>("insert");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("table");
    QTest::newRow("counterparty") << "insert into KONTRAGENTI (NTIP_KONTRAGENT, IMEKONTRAGENT) values (1, 'Нов')"
                                  << "NKONTRAGENT" << "KONTRAGENTI";
    QTest::newRow("material") << "insert into MATERIALI (IMEMATERIAL) values ('Болт')" << "NMATERIAL" << "MATERIALI";
    QTest::newRow("unit") << "insert into MIARKA (MIARKA_BG) values ('кг')" << "NMIARKA" << "MIARKA";
}

void TstSchema::databaseKeysFillThemselves()
{
    QFETCH(QString, insert);
    QFETCH(QString, key);
    QFETCH(QString, table);
    const int before = count(QStringLiteral("select coalesce(max(%1), 0) from %2").arg(key, table));
    db_->execute(insert);
    db_->execute(insert);
    const DbResult r = db_->query(QStringLiteral("select %1 from %2 where %1 > :b order by 1").arg(key, table),
                                  {{QStringLiteral("b"), before}});
    QCOMPARE(r.rows.size(), std::size_t(2));
    QVERIFY(r.rows[0][0].toInt() > before);
    QVERIFY(r.rows[1][0].toInt() > r.rows[0][0].toInt());
}

void TstSchema::cyrillicAtFullLengthAndBeyond()
{
    const QString name = QString(QStringLiteral("Ъ")).repeated(60) + QStringLiteral("абвгд");
    db_->execute(QStringLiteral("insert into MATERIALI (IMEMATERIAL) values (:n)"), {{QStringLiteral("n"), name}});
    QCOMPARE(count(QStringLiteral("select count(*) from MATERIALI where IMEMATERIAL = '%1'").arg(name)), 1);
    const int rows = count(QStringLiteral("select count(*) from MATERIALI"));
    QVERIFY_THROWS_EXCEPTION(DbError, db_->execute(QStringLiteral("insert into MATERIALI (IMEMATERIAL) values (:n)"),
                                                   {{QStringLiteral("n"), name + u'е'}}));
    QCOMPARE(count(QStringLiteral("select count(*) from MATERIALI")), rows);
}

void TstSchema::userKeyDuplicateRefused()
{
    db_->execute(QStringLiteral("insert into GRADOVE (POSTKOD, GRAD) values (9999, 'Тест')"));
    try {
        db_->execute(QStringLiteral("insert into GRADOVE (POSTKOD, GRAD) values (9999, 'Друг')"));
        QFAIL("a duplicate postal code was stored");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("PRIMARY")) || e.message().contains(QStringLiteral("unique")),
                 qPrintable(e.message()));
    }
}

void TstSchema::seedRows()
{
    QCOMPARE(count(QStringLiteral("select count(*) from DA_NE where NUM_DA_NE in (0, 1)")), 2);
    QCOMPARE(count(QStringLiteral("select count(*) from TIP_DOKUMENT where NTIP_DOKUMENT between 0 and 10")), 11);
    QCOMPARE(db_->query(QStringLiteral("select IME_DOKUMENT from TIP_DOKUMENT where NTIP_DOKUMENT = 10")).rows.front()[0]
                 .toString(),
             QStringLiteral("Кредитно известие"));
    const DbResult bgn = db_->query(QStringLiteral("select VALUTA_BAZA from TIP_VALUTA where NVALUTA = 1"));
    QCOMPARE(bgn.rows.front()[0].toInt(), 1);
    QCOMPARE(count(QStringLiteral("select count(*) from TIP_VALUTA")), 3);
    QCOMPARE(count(QStringLiteral("select count(*) from FIRMA")), 1);
    QCOMPARE(db_->query(QStringLiteral("select DDS_PROCENT from FIRMA")).rows.front()[0].toDouble(), 20.0);
    QCOMPARE(count(QStringLiteral("select count(*) from TIP_KONTRAGENT where NTIP_KONTRAGENT = 7")), 1);
    QVERIFY_THROWS_EXCEPTION(DbError, db_->execute(QStringLiteral("insert into FIRMA (IMEFIRMA) values ('Втора')")));
}

void TstSchema::upgradeFromOlderVersionKeepsRows()
{
    // A database made by a build that knew only the tables, before the seed rows came.
    QVector<Migration> older;
    for (const Migration& m : Schema::migrations())
        if (m.version <= 5) older << m;
    QVERIFY(older.size() < Schema::migrations().size());
    SQLConnection c(TestDb::paramsFor(dir_.filePath(QStringLiteral("old.fdb"))));
    c.create();
    Migrator(c, older).upgrade();
    c.execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL) values (500, 'Стар материал')"));
    Migrator m(c, Schema::migrations());
    QCOMPARE(m.currentVersion(), 5);
    m.upgrade();
    QCOMPARE(m.currentVersion(), Schema::migrations().last().version);
    QCOMPARE(c.query(QStringLiteral("select IMEMATERIAL from MATERIALI where NMATERIAL = 500")).rows.front()[0].toString(),
             QStringLiteral("Стар материал"));
    QCOMPARE(c.query(QStringLiteral("select count(*) from FIRMA")).rows.front()[0].toInt(), 1);
}

void TstSchema::secondStartChangesNothing()
{
    if (TestDb::serverMode()) QSKIP("the first start creates embedded databases only");
    const QString path = dir_.filePath(QStringLiteral("first/TRXBASE.fdb"));
    auto counts = [](SQLConnection& c) {
        QStringList out;
        const DbResult tables = c.query(QStringLiteral("select trim(RDB$RELATION_NAME) from RDB$RELATIONS "
                                                       "where RDB$SYSTEM_FLAG = 0 and RDB$VIEW_BLR is null order by 1"));
        for (const DbRow& t : tables.rows)
            out << t[0].toString() + u'=' +
                       c.query(QStringLiteral("select count(*) from ") + t[0].toString()).rows.front()[0].toString();
        return out;
    };
    SQLConnection c(TestDb::paramsFor(path));
    Schema::openAndUpgrade(c);  // the first start creates the file with its seed rows
    const QStringList first = counts(c);
    QVERIFY(first.contains(QStringLiteral("FIRMA=1")));
    c.close();
    Schema::openAndUpgrade(c);
    QCOMPARE(counts(c), first);
}

QTEST_GUILESS_MAIN(TstSchema)
#include "tst_schema.moc"
