#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/migrator.h"
#include "schema/schema.h"
#include "support/testdb.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
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
    void interruptedFirstStartLeavesNoDatabase_data();
    void interruptedFirstStartLeavesNoDatabase();
    void upgradeKeepsCopyBesideDatabase();
    void foreignDatabaseRefusedUntouched();

private:
    QVector<Migration> base() const;
    QString readableCopy(const QString& copy) const;
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

void TstMigrator::interruptedFirstStartLeavesNoDatabase_data()
{
    QTest::addColumn<int>("failAt");    // the migration after whose commit the start fails; 0: none
    QTest::addColumn<bool>("signal");   // stopped between statements instead
    for (const Migration& m : Schema::migrations())
        QTest::addRow("after %s", qPrintable(m.name)) << m.version << false;
    QTest::addRow("stopped by a signal") << 0 << true;
}

// A first start cut short at any point leaves no database file, only what the next start removes.
void TstMigrator::interruptedFirstStartLeavesNoDatabase()
{
    if (TestDb::serverMode()) QSKIP("making the file is the embedded database's behaviour");
    QFETCH(int, failAt);
    QFETCH(bool, signal);
    db_.reset();
    const QString path = dir_->filePath(QStringLiteral("first/TRXBASE.fdb"));
    const QString partial = path + QStringLiteral(".partial");
    SQLConnection c(TestDb::paramsFor(path));
    Schema::OpenOptions cut;
    int statements = 0;
    if (signal) cut.hooks.interrupted = [&] { return ++statements > 40; };
    cut.hooks.afterEach = [&](const Migration& m) {
        if (m.version == failAt) throw DbError(QStringLiteral("injected"));
    };
    QVERIFY_THROWS_EXCEPTION(DbError, Schema::openAndUpgrade(c, cut));
    QVERIFY(!c.isOpen());
    QVERIFY(!QFile::exists(path));
    QVERIFY(!QFile::exists(partial));
    // What a kill at that moment leaves: a half-made file under the temporary name.
    QFile left(partial);
    QVERIFY(left.open(QIODevice::WriteOnly));
    left.write(QByteArray(8192, '\x5a'));
    left.close();
    const Schema::OpenResult r = Schema::openAndUpgrade(c);
    QVERIFY(r.created);
    QVERIFY(r.backupPath.isEmpty());
    QVERIFY(!QFile::exists(partial));
    QCOMPARE(Migrator(c, Schema::migrations()).currentVersion(), Schema::migrations().last().version);
    QCOMPARE(c.query(QStringLiteral("select count(*) from SCHEMA_VERSION")).rows.front()[0].toInt(),
             Schema::migrations().size());
}

// Through a server the copy is a backup; it is restored here to be read.
QString TstMigrator::readableCopy(const QString& copy) const
{
    if (!TestDb::serverMode()) return copy;
    const QString restored = dir_->filePath(QStringLiteral("restored.fdb"));
    QProcess gbak;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ISC_USER"), QStringLiteral("SYSDBA"));
    env.insert(QStringLiteral("ISC_PASSWORD"), qEnvironmentVariable("TRX_TEST_PASSWORD"));
    gbak.setProcessEnvironment(env);
    gbak.start(QStringLiteral("gbak"), {QStringLiteral("-c"), QStringLiteral("-se"),
                                        qEnvironmentVariable("TRX_TEST_SERVER") + QStringLiteral(":service_mgr"), copy,
                                        restored});
    gbak.waitForFinished(-1);
    return gbak.exitCode() == 0 ? restored : QString();
}

void TstMigrator::upgradeKeepsCopyBesideDatabase()
{
    QVector<Migration> older = Schema::migrations();
    older.resize(older.size() - 1);
    Migrator(*db_, older).upgrade();
    db_->execute(QStringLiteral("insert into MIARKA (MIARKA_BG) values ('кгр')"));
    db_->close();
    const int olderVersion = older.last().version;
    const int latest = Schema::migrations().last().version;
    // The missing migration fails (and is rolled back): the error says where the copy is.
    Schema::OpenOptions failing;
    failing.hooks.interrupted = [] { return true; };
    QString copy;
    try {
        Schema::openAndUpgrade(*db_, failing);
        QFAIL("the upgrade did not fail");
    } catch (const DbError& e) {
        static const QRegularExpression re(QStringLiteral("Копие на базата данни отпреди обновяването: (\\S+)"));
        const auto m = re.match(e.message());
        QVERIFY2(m.hasMatch(), qPrintable(e.message()));
        copy = m.captured(1);
    }
    QVERIFY(!db_->isOpen());
    QCOMPARE(Migrator(*db_, Schema::migrations()).currentVersion(), olderVersion);
    db_->close();
    QCOMPARE(QFileInfo(copy).absolutePath(), QFileInfo(db_->params().database).absolutePath());
    // The copy is the database as it was before the upgrade, whole.
    {
        const QString readable = readableCopy(copy);
        QVERIFY(!readable.isEmpty());
        SQLConnection before(TestDb::paramsFor(readable));
        QCOMPARE(Migrator(before, Schema::migrations()).currentVersion(), olderVersion);
        QCOMPARE(before.query(QStringLiteral("select count(*) from MIARKA where MIARKA_BG = 'кгр'")).rows.front()[0].toInt(),
                 1);
    }
    // A successful upgrade names its copy.
    const Schema::OpenResult r = Schema::openAndUpgrade(*db_);
    QCOMPARE(r.fromVersion, olderVersion);
    QCOMPARE(r.toVersion, latest);
    QVERIFY(QFile::exists(r.backupPath));
    QCOMPARE(Migrator(*db_, Schema::migrations()).currentVersion(), latest);
}

void TstMigrator::foreignDatabaseRefusedUntouched()
{
    db_->executeImmediate(QStringLiteral("create table CUSTOMERS (ID integer, NAME varchar(40))"));
    db_->execute(QStringLiteral("insert into CUSTOMERS values (1, 'Acme')"));
    auto tables = [this] {
        QStringList out;
        for (const DbRow& r : db_->query(QStringLiteral("select rdb$relation_name from rdb$relations "
                                                        "where coalesce(rdb$system_flag, 0) = 0 order by 1"))
                                  .rows)
            out << r[0].toString().trimmed();
        return out;
    };
    const QStringList before = tables();
    db_->close();
    try {
        Schema::openAndUpgrade(*db_);
        QFAIL("another application's database was taken");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("друго приложение")), qPrintable(e.message()));
    }
    QVERIFY(!db_->isOpen());
    QCOMPARE(tables(), before);
    QCOMPARE(db_->query(QStringLiteral("select NAME from CUSTOMERS")).rows.front()[0].toString(), QStringLiteral("Acme"));
    // No copy was made of a database that was not to be upgraded.
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{QStringLiteral("m.fdb")});
}

QTEST_GUILESS_MAIN(TstMigrator)
#include "tst_migrator.moc"
