#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/migrator.h"
#include "schema/schema.h"
#include "support/testdb.h"

#include <QTemporaryDir>
#include <QTest>

// Schema versions on real, freshly created databases.
class TstMigrator : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void upgradeKeepsDataAndAppliesInOrder();
    void failingMigrationIsRolledBack();
    void newerDatabaseIsRefusedUntouched();
    void builtInSchemaCreatesAndReopens();

private:
    QVector<Migration> base() const;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SQLConnection> db_;
};

QVector<Migration> TstMigrator::base() const
{
    const QVector<Migration> builtIn = Schema::migrations();
    return {builtIn.first(),
            {2, QStringLiteral("0002_items"), QStringLiteral("create table ITEMS (N integer, IME varchar(20));")}};
}

void TstMigrator::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    db_ = std::make_unique<SQLConnection>(TestDb::paramsFor(dir_->filePath(QStringLiteral("m.fdb"))));
    db_->create();
}

void TstMigrator::cleanup()
{
    db_.reset();
    dir_.reset();
}

void TstMigrator::upgradeKeepsDataAndAppliesInOrder()
{
    Migrator(*db_, base()).upgrade();
    db_->execute(QStringLiteral("insert into ITEMS values (1, 'стар ред')"));
    QVector<Migration> next = base();
    // Given out of order on purpose: versions decide the order.
    next << Migration{4, QStringLiteral("0004_fill"), QStringLiteral("update ITEMS set KOD = N * 10;")}
         << Migration{3, QStringLiteral("0003_kod"), QStringLiteral("alter table ITEMS add KOD integer;")};
    Migrator m(*db_, next);
    QCOMPARE(m.currentVersion(), 2);
    m.upgrade();
    QCOMPARE(m.currentVersion(), 4);
    const DbResult r = db_->query(QStringLiteral("select N, IME, KOD from ITEMS"));
    QCOMPARE(r.rows.size(), std::size_t(1));
    QCOMPARE(r.rows.front()[1].toString(), QStringLiteral("стар ред"));
    QCOMPARE(r.rows.front()[2].toInt(), 10);
    m.upgrade();  // nothing left to do
    QCOMPARE(db_->query(QStringLiteral("select count(*) from SCHEMA_VERSION")).rows.front()[0].toInt(), 4);
}

void TstMigrator::failingMigrationIsRolledBack()
{
    Migrator(*db_, base()).upgrade();
    QVector<Migration> next = base();
    next << Migration{3, QStringLiteral("0003_broken"),
                      QStringLiteral("create table OTHER (X integer);\ncreate index BAD on NO_SUCH_TABLE (X);")};
    try {
        Migrator(*db_, next).upgrade();
        QFAIL("a broken migration was applied");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("0003_broken")), qPrintable(e.message()));
    }
    QCOMPARE(Migrator(*db_, next).currentVersion(), 2);
    const DbResult other = db_->query(QStringLiteral("select 1 from rdb$relations where rdb$relation_name = 'OTHER'"));
    QVERIFY(other.isEmpty());
}

void TstMigrator::newerDatabaseIsRefusedUntouched()
{
    QVector<Migration> newer = base();
    newer << Migration{3, QStringLiteral("0003_more"), QStringLiteral("create table MORE (X integer);")};
    Migrator(*db_, newer).upgrade();
    Migrator older(*db_, base());
    QVERIFY_THROWS_EXCEPTION(DbError, older.upgrade());
    QCOMPARE(older.currentVersion(), 3);
}

void TstMigrator::builtInSchemaCreatesAndReopens()
{
    db_.reset();
    SQLConnection c(TestDb::paramsFor(dir_->filePath(QStringLiteral("fresh/TRXBASE.fdb"))));
    if (TestDb::serverMode()) QDir().mkpath(dir_->filePath(QStringLiteral("fresh")));
    if (TestDb::serverMode()) c.create();
    Schema::openAndUpgrade(c);
    const int latest = Schema::migrations().last().version;
    QCOMPARE(Migrator(c, Schema::migrations()).currentVersion(), latest);
    const DbResult dialect = c.query(QStringLiteral("select MON$SQL_DIALECT from MON$DATABASE"));
    QCOMPARE(dialect.rows.front()[0].toInt(), 1);
    const DbResult cs = c.query(QStringLiteral("select RDB$CHARACTER_SET_NAME from RDB$DATABASE"));
    QCOMPARE(cs.rows.front()[0].toString().trimmed(), QStringLiteral("WIN1251"));
    c.close();
    Schema::openAndUpgrade(c);  // a second start changes nothing
    QCOMPARE(c.query(QStringLiteral("select count(*) from SCHEMA_VERSION")).rows.front()[0].toInt(),
             Schema::migrations().size());
}

QTEST_GUILESS_MAIN(TstMigrator)
#include "tst_migrator.moc"
