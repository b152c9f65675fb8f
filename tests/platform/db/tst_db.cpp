#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/transaction.h"
#include "support/testdb.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <memory>

// The data layer against a real database (embedded, or a server when TRX_TEST_SERVER is set).
class TstDb : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void reachedEmbeddedOrThroughServer();
    void roundTrip_data();
    void roundTrip();
    void textAtFullLengthAndBeyond();
    void textBlobStoredInDatabaseCodePage();
    void valuesNeverBecomeSqlText();
    void missingParameterRunsNothing();
    void affectedRows();
    void procedureInputsByNameInAnyOrder();
    void selectableProcedure();
    void unknownProcedureOrInput();
    void transactionScopes();
    void serverErrorCarriesServerText();
    void openFailureIsReported();
    void statementsPreparedOnceAndReused();
    void statementCacheKeepsTheLastUsed();
    void sameStatementWhileItRuns();
    void metadataChangesAfterCachedStatements_data();
    void metadataChangesAfterCachedStatements();

private:
    qint64 insertRow(const QString& column, const QVariant& value);
    QTemporaryDir dir_;
    std::unique_ptr<SQLConnection> db_;
};

void TstDb::initTestCase()
{
    QVERIFY(dir_.isValid());
    db_ = std::make_unique<SQLConnection>(TestDb::freshCopy(dir_));
    db_->open();
    const char* ddl[] = {
        "create table T_TYPES (ID integer not null primary key, S smallint, I integer, D double precision, "
        "V varchar(65), TS timestamp, TB blob sub_type text, BB blob sub_type 0)",
        "create generator GEN_T_TYPES",
        "create trigger T_TYPES_BI for T_TYPES before insert as begin "
        "if (new.ID is null) then new.ID = gen_id(GEN_T_TYPES, 1); end",
        "create procedure P_JOIN (A integer, B varchar(20), C double precision) returns (R varchar(80), D double precision) "
        "as begin R = coalesce(B, '<null>') || '|' || coalesce(A, -1); D = C * 2; end",
        "create procedure P_RANGE (N_FROM integer, N_TO integer) returns (N integer, SQUARE integer) as begin "
        "N = N_FROM; while (N <= N_TO) do begin SQUARE = N * N; suspend; N = N + 1; end end",
    };
    for (const char* s : ddl) db_->executeImmediate(QString::fromUtf8(s));
}

void TstDb::init() { db_->execute(QStringLiteral("delete from T_TYPES")); }

qint64 TstDb::insertRow(const QString& column, const QVariant& value)
{
    db_->execute(QStringLiteral("insert into T_TYPES (%1) values (:v)").arg(column), {{QStringLiteral("v"), value}});
    const DbResult r = db_->query(QStringLiteral("select max(ID) from T_TYPES"));
    return r.rows.front()[0].toLongLong();
}

void TstDb::reachedEmbeddedOrThroughServer()
{
    const DbResult r = db_->query(QStringLiteral("select MON$REMOTE_PROTOCOL from MON$ATTACHMENTS "
                                                 "where MON$ATTACHMENT_ID = current_connection"));
    const QString protocol = r.rows.front()[0].toString().trimmed();
    if (TestDb::serverMode()) QVERIFY2(protocol.startsWith(QStringLiteral("TCP")), qPrintable(protocol));
    else QVERIFY2(protocol.isEmpty(), qPrintable(protocol));
}

void TstDb::roundTrip_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected");

    QByteArray binary;
    for (int i = 0; i < 200000; ++i) binary.append(char(i * 7 % 256));
    const QString longText = QString(QStringLiteral("Ж")).repeated(70000);

    QTest::newRow("smallint") << "S" << QVariant(-32768) << QVariant(-32768);
    QTest::newRow("smallint from text") << "S" << QVariant(QStringLiteral("12")) << QVariant(12);
    QTest::newRow("integer") << "I" << QVariant(2147483647) << QVariant(2147483647);
    QTest::newRow("double") << "D" << QVariant(-1234567.125) << QVariant(-1234567.125);
    QTest::newRow("double from integer") << "D" << QVariant(3) << QVariant(3.0);
    const QString text = QStringLiteral("Фактура № 12 \"А\" 'Б'");
    QTest::newRow("text") << "V" << QVariant(text) << QVariant(text);
    QTest::newRow("null") << "V" << QVariant() << QVariant();
    QTest::newRow("timestamp") << "TS" << QVariant(QDateTime(QDate(2026, 3, 29), QTime(3, 30, 15), Qt::UTC))
                               << QVariant(QDateTime(QDate(2026, 3, 29), QTime(3, 30, 15), Qt::UTC));
    QTest::newRow("date to timestamp") << "TS" << QVariant(QDate(2026, 12, 31))
                                       << QVariant(QDateTime(QDate(2026, 12, 31), QTime(0, 0), Qt::UTC));
    QTest::newRow("text blob") << "TB" << QVariant(longText) << QVariant(longText);
    QTest::newRow("empty text blob") << "TB" << QVariant(QString(QLatin1String(""))) << QVariant(QString());
    QTest::newRow("binary blob") << "BB" << QVariant(binary) << QVariant(binary);
}

void TstDb::roundTrip()
{
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    const qint64 id = insertRow(column, value);
    const DbResult r =
        db_->query(QStringLiteral("select %1 from T_TYPES where ID = :id").arg(column), {{QStringLiteral("ID"), id}});
    QCOMPARE(r.rows.size(), std::size_t(1));
    const QVariant got = r.rows.front()[0];
    if (!expected.isValid()) {
        QVERIFY(got.isNull());
        return;
    }
    if (expected.typeId() == QMetaType::QString && expected.toString().isEmpty()) {
        QCOMPARE(got.toString(), QString());
        return;
    }
    QCOMPARE(got, expected);
}

void TstDb::textAtFullLengthAndBeyond()
{
    const QString full = QString(QStringLiteral("Щ")).repeated(64) + QStringLiteral("я");
    insertRow(QStringLiteral("V"), full);
    const DbResult r = db_->query(QStringLiteral("select V, char_length(V), octet_length(V) from T_TYPES"));
    QCOMPARE(r.rows.front()[0].toString(), full);
    QCOMPARE(r.rows.front()[1].toInt(), 65);
    QCOMPARE(r.rows.front()[2].toInt(), 65);  // one byte a letter: stored in the Cyrillic code page
    QCOMPARE(r.columns.front().length, 65u);

    try {
        db_->execute(QStringLiteral("insert into T_TYPES (V) values (:v)"), {{QStringLiteral("v"), full + u'x'}});
        QFAIL("a text longer than its column was stored");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("truncation")), qPrintable(e.message()));
    }
    QCOMPARE(db_->query(QStringLiteral("select count(*) from T_TYPES")).rows.front()[0].toInt(), 1);
}

void TstDb::textBlobStoredInDatabaseCodePage()
{
    const QString text = QStringLiteral("Бележка\r\nред две");
    insertRow(QStringLiteral("TB"), text);
    const DbResult r = db_->query(QStringLiteral("select TB, octet_length(TB) from T_TYPES"));
    QCOMPARE(r.rows.front()[0].toString(), text);
    QCOMPARE(r.rows.front()[1].toInt(), int(text.size()));
}

void TstDb::valuesNeverBecomeSqlText()
{
    const QString hostile = QStringLiteral("x'); delete from T_TYPES; --");
    insertRow(QStringLiteral("V"), QStringLiteral("keep"));
    insertRow(QStringLiteral("V"), hostile);
    const DbResult r = db_->query(QStringLiteral("select V from T_TYPES where V = :v"), {{QStringLiteral("v"), hostile}});
    QCOMPARE(r.rows.size(), std::size_t(1));
    QCOMPARE(db_->query(QStringLiteral("select count(*) from T_TYPES")).rows.front()[0].toInt(), 2);
}

void TstDb::missingParameterRunsNothing()
{
    QVERIFY_THROWS_EXCEPTION(DbError, db_->execute(QStringLiteral("insert into T_TYPES (I, S) values (:i, :s)"),
                                                   {{QStringLiteral("i"), 1}}));
    QCOMPARE(db_->query(QStringLiteral("select count(*) from T_TYPES")).rows.front()[0].toInt(), 0);
}

void TstDb::affectedRows()
{
    for (int i = 0; i < 3; ++i) insertRow(QStringLiteral("I"), i);
    QCOMPARE(db_->execute(QStringLiteral("update T_TYPES set S = 1 where I >= :from"), {{QStringLiteral("FROM"), 1}}), 2);
    QCOMPARE(db_->execute(QStringLiteral("delete from T_TYPES where I = 99")), 0);
}

void TstDb::procedureInputsByNameInAnyOrder()
{
    QCOMPARE(db_->procedureInputs(QStringLiteral("p_join")), (QStringList{"A", "B", "C"}));
    QVariantMap out = db_->executeProcedure(
        QStringLiteral("P_JOIN"), {{QStringLiteral("c"), 2.5}, {QStringLiteral("B"), QStringLiteral("бб")}, {QStringLiteral("a"), 7}});
    QCOMPARE(out.value(QStringLiteral("R")).toString(), QStringLiteral("бб|7"));
    QCOMPARE(out.value(QStringLiteral("D")).toDouble(), 5.0);
    out = db_->executeProcedure(QStringLiteral("P_JOIN"), {{QStringLiteral("A"), 1}});  // B and C left null
    QCOMPARE(out.value(QStringLiteral("R")).toString(), QStringLiteral("<null>|1"));
    QVERIFY(out.value(QStringLiteral("D")).isNull());
}

void TstDb::selectableProcedure()
{
    const DbResult r = db_->selectProcedure(QStringLiteral("P_RANGE"),
                                            {{QStringLiteral("N_TO"), 4}, {QStringLiteral("N_FROM"), 2}},
                                            QStringLiteral("N desc"));
    QCOMPARE(r.rows.size(), std::size_t(3));
    QCOMPARE(r.value(0, QStringLiteral("square")).toInt(), 16);
    QCOMPARE(r.value(2, QStringLiteral("N")).toInt(), 2);
}

void TstDb::unknownProcedureOrInput()
{
    QVERIFY_THROWS_EXCEPTION(DbError, db_->executeProcedure(QStringLiteral("NO_SUCH_PROC")));
    QVERIFY_THROWS_EXCEPTION(DbError, db_->executeProcedure(QStringLiteral("P_JOIN"), {{QStringLiteral("Z"), 1}}));
    QVERIFY_THROWS_EXCEPTION(DbError, db_->executeProcedure(QStringLiteral("P_JOIN; drop table T_TYPES")));
}

void TstDb::transactionScopes()
{
    auto count = [this] { return db_->query(QStringLiteral("select count(*) from T_TYPES")).rows.front()[0].toInt(); };
    // Left by an exception: nothing of it is stored.
    try {
        TransactionScope tx(*db_);
        insertRow(QStringLiteral("I"), 1);
        insertRow(QStringLiteral("I"), 2);
        QCOMPARE(count(), 2);  // the scope sees its own work
        throw std::runtime_error("stop");
    } catch (const std::runtime_error&) {
    }
    QCOMPARE(count(), 0);

    {
        TransactionScope tx(*db_);
        insertRow(QStringLiteral("I"), 1);
        {
            TransactionScope inner(*db_);
            insertRow(QStringLiteral("I"), 2);
            inner.commit();
        }
        tx.commit();
    }
    QCOMPARE(count(), 2);

    // A nested scope left without commit dooms the outer one.
    {
        TransactionScope tx(*db_);
        insertRow(QStringLiteral("I"), 3);
        { TransactionScope inner(*db_); }
        QVERIFY_THROWS_EXCEPTION(DbError, tx.commit());
    }
    QCOMPARE(count(), 2);
    insertRow(QStringLiteral("I"), 4);  // the connection is usable afterwards
    QCOMPARE(count(), 3);
}

void TstDb::serverErrorCarriesServerText()
{
    try {
        db_->query(QStringLiteral("select * from NO_SUCH_TABLE"));
        QFAIL("no error");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("Table unknown")), qPrintable(e.message()));
        QVERIFY(e.message().contains(QStringLiteral("NO_SUCH_TABLE")));
        QCOMPARE(e.sqlCode(), -204);
        QCOMPARE(e.sql(), QStringLiteral("select * from NO_SUCH_TABLE"));
    }
    QCOMPARE(db_->query(QStringLiteral("select 1 from rdb$database")).rows.size(), std::size_t(1));
}

void TstDb::openFailureIsReported()
{
    SQLConnection c(TestDb::paramsFor(QDir(dir_.path()).filePath(QStringLiteral("missing/none.fdb"))));
    try {
        c.open();
        QFAIL("opened a missing database");
    } catch (const DbError& e) {
        QVERIFY(!e.message().isEmpty());
    }
    QVERIFY(!c.isOpen());
}

// A statement is prepared once per connection and its later calls, with other values, reuse it;
// closing the connection lets every kept statement go.
void TstDb::statementsPreparedOnceAndReused()
{
    db_->clearStatementCache();
    const auto before = db_->statementCacheStats();
    QCOMPARE(before.cached, 0);
    for (int i = 1; i <= 3; ++i)
        db_->execute(QStringLiteral("insert into T_TYPES (I, V) values (:I, :V)"),
                     {{QStringLiteral("I"), i}, {QStringLiteral("V"), QStringLiteral("ред %1").arg(i)}});
    for (int i = 1; i <= 3; ++i) {
        const DbResult r = db_->query(QStringLiteral("select V from T_TYPES where I = :I"), {{QStringLiteral("I"), i}});
        QCOMPARE(r.rows.size(), std::size_t(1));
        QCOMPARE(r.rows.front()[0].toString(), QStringLiteral("ред %1").arg(i));
    }
    for (int i = 0; i < 2; ++i)
        QCOMPARE(db_->executeProcedure(QStringLiteral("P_JOIN"), {{QStringLiteral("A"), i}}).value(QStringLiteral("R")),
                 QVariant(QStringLiteral("<null>|%1").arg(i)));
    const auto after = db_->statementCacheStats();
    // The insert, the select, the two reading the procedure's inputs (once) and its call.
    QCOMPARE(after.prepared - before.prepared, quint64(5));
    QCOMPARE(after.reused - before.reused, quint64(2 + 2 + 1));
    QCOMPARE(after.cached, 5);

    db_->close();
    QCOMPARE(db_->statementCacheStats().cached, 0);
    db_->open();
    QCOMPARE(db_->query(QStringLiteral("select count(*) from T_TYPES")).rows.front()[0].toInt(), 3);
}

// The cache holds the 64 statements used last: the oldest is prepared again, the newest is reused.
void TstDb::statementCacheKeepsTheLastUsed()
{
    db_->clearStatementCache();
    auto text = [](int i) { return QStringLiteral("select %1 from rdb$database").arg(i); };
    for (int i = 0; i < 70; ++i) QCOMPARE(db_->query(text(i)).rows.front()[0].toInt(), i);
    auto stats = db_->statementCacheStats();
    QCOMPARE(stats.cached, 64);
    db_->query(text(69));
    QCOMPARE(db_->statementCacheStats().reused, stats.reused + 1);
    stats = db_->statementCacheStats();
    db_->query(text(0));
    QCOMPARE(db_->statementCacheStats().prepared, stats.prepared + 1);
    QCOMPARE(db_->statementCacheStats().cached, 64);
}

// A call made while the same statement is fetching (a row handler asking again) runs on its own.
void TstDb::sameStatementWhileItRuns()
{
    for (int i = 1; i <= 3; ++i) insertRow(QStringLiteral("I"), i);
    const QString sql = QStringLiteral("select I from T_TYPES where I >= :LOW order by I");
    QList<int> outer, inner;
    db_->forEachRow(sql, {{QStringLiteral("LOW"), 1}}, [&](const DbRow& row) {
        outer << row[0].toInt();
        inner << int(db_->query(sql, {{QStringLiteral("LOW"), row[0]}}).rows.size());
    });
    QCOMPARE(outer, QList<int>({1, 2, 3}));
    QCOMPARE(inner, QList<int>({3, 2, 1}));
    const DbResult again = db_->query(sql, {{QStringLiteral("LOW"), 2}});
    QCOMPARE(again.rows.size(), std::size_t(2));
}

void TstDb::metadataChangesAfterCachedStatements_data()
{
    QTest::addColumn<bool>("immediate");
    QTest::addColumn<bool>("inScope");
    QTest::newRow("run as written") << true << false;
    QTest::newRow("run as a statement") << false << false;
    QTest::newRow("in a transaction, as a schema upgrade runs") << true << true;
}

// Statements kept for reuse never stand in the way of DDL on the same connection: a table and a
// procedure they use are dropped and made again with other columns and inputs, and the same texts
// then see the new ones.
void TstDb::metadataChangesAfterCachedStatements()
{
    QFETCH(bool, immediate);
    QFETCH(bool, inScope);
    auto ddl = [&](const char* sql) {
        const QString text = QString::fromUtf8(sql);
        if (immediate) db_->executeImmediate(text);
        else db_->execute(text);
    };
    ddl("create table T_DDL (A integer)");
    ddl("create procedure P_DDL (X integer) returns (Y integer) as begin Y = X; end");
    const QString select = QStringLiteral("select * from T_DDL");
    for (int i = 0; i < 2; ++i) {
        db_->execute(QStringLiteral("insert into T_DDL (A) values (:A)"), {{QStringLiteral("A"), i}});
        QCOMPARE(db_->query(select).rows.size(), std::size_t(i + 1));
        QCOMPARE(db_->executeProcedure(QStringLiteral("P_DDL"), {{QStringLiteral("X"), i}}).value(QStringLiteral("Y")), QVariant(i));
    }
    QVERIFY(db_->statementCacheStats().cached >= 3);
    {
        std::unique_ptr<TransactionScope> tx(inScope ? new TransactionScope(*db_) : nullptr);
        ddl("drop procedure P_DDL");
        ddl("drop table T_DDL");
        if (tx) tx->commit();
    }
    ddl("create table T_DDL (A integer, B varchar(10))");
    ddl("create procedure P_DDL (X integer, Z integer) returns (Y integer) as begin Y = X + Z; end");
    db_->execute(QStringLiteral("insert into T_DDL (A, B) values (1, 'нов')"));
    const DbResult r = db_->query(select);
    QCOMPARE(r.columns.size(), 2);
    QCOMPARE(r.value(0, QStringLiteral("B")), QVariant(QStringLiteral("нов")));
    QCOMPARE(db_->executeProcedure(QStringLiteral("P_DDL"), {{QStringLiteral("X"), 1}, {QStringLiteral("Z"), 2}})
                 .value(QStringLiteral("Y")),
             QVariant(3));
    ddl("drop procedure P_DDL");
    ddl("drop table T_DDL");
}

QTEST_GUILESS_MAIN(TstDb)
#include "tst_db.moc"
