#include "platform/db/namedparams.h"
#include "platform/db/sqlscript.h"

#include <QTest>

class TstSqlText : public QObject
{
    Q_OBJECT
private slots:
    void namedParameters_data();
    void namedParameters();
    void scriptSplitting_data();
    void scriptSplitting();
};

void TstSqlText::namedParameters_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("positional");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("plain") << "select * from T where A = :a and B = :Bb" << "select * from T where A = ? and B = ?"
                           << QStringList{"A", "BB"};
    QTest::newRow("repeat and case") << "update T set X = :val where Y = :VAL or Z = :Val"
                                     << "update T set X = ? where Y = ? or Z = ?" << QStringList{"VAL", "VAL", "VAL"};
    QTest::newRow("single quotes") << "select ':no' from T where A = :yes" << "select ':no' from T where A = ?"
                                   << QStringList{"YES"};
    QTest::newRow("doubled quote inside") << "select 'it''s :no' , :p from T" << "select 'it''s :no' , ? from T"
                                          << QStringList{"P"};
    QTest::newRow("double quotes are text") << "select \":no\" from T where A=:p" << "select \":no\" from T where A=?"
                                            << QStringList{"P"};
    QTest::newRow("comments") << "select 1 -- :no\nfrom T /* :no */ where A = :p_1"
                              << "select 1 -- :no\nfrom T /* :no */ where A = ?" << QStringList{"P_1"};
    QTest::newRow("cyrillic text kept") << "select 'Дата: :x' from T where N=:N$2" << "select 'Дата: :x' from T where N=?"
                                        << QStringList{"N$2"};
    QTest::newRow("no name after colon") << "select a from T where b = ': ' or c = :" << "select a from T where b = ': ' or c = :"
                                         << QStringList{};
    QTest::newRow("unterminated quote") << "select ':x" << "select ':x" << QStringList{};
}

void TstSqlText::namedParameters()
{
    QFETCH(QString, sql);
    QFETCH(QString, positional);
    QFETCH(QStringList, names);
    const NamedSql p = parseNamedParameters(sql);
    QCOMPARE(p.sql, positional);
    QCOMPARE(p.names, names);
}

void TstSqlText::scriptSplitting_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("statements");

    QTest::newRow("two statements") << "create table A (X integer);\n  insert into A values (1) ;\n"
                                    << QStringList{"create table A (X integer)", "insert into A values (1)"};
    QTest::newRow("terminator in text and comments")
        << "insert into A values ('a;b'); -- c;d\n/* e;f */ insert into A values (\"g;h\");"
        << QStringList{"insert into A values ('a;b')", "insert into A values (\"g;h\")"};
    QTest::newRow("set term")
        << "set term ^ ;\ncreate procedure P as begin x = 1; end^\nset term ; ^\nselect 1 from rdb$database;"
        << QStringList{"create procedure P as begin x = 1; end", "select 1 from rdb$database"};
    QTest::newRow("empty statements dropped") << ";;  \n -- only a comment\n" << QStringList{};
}

void TstSqlText::scriptSplitting()
{
    QFETCH(QString, script);
    QFETCH(QStringList, statements);
    QCOMPARE(splitSqlScript(script), statements);
}

QTEST_GUILESS_MAIN(TstSqlText)
#include "tst_sqltext.moc"
