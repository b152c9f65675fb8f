#include "platform/db/dberror.h"
#include "staff/staffdata.h"
#include "support/dbfixture.h"

// The staff's data functions and procedures over a fresh database, without a GUI.
class TstStaffData : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void deleteRefusedWithAnyDependentRecord_data();
    void deleteRefusedWithAnyDependentRecord();
    void givenAdvanceIsTwoLinkedRecordsAndBalances();
    void givenAdvanceIsWrittenWholeOrNotAtAll();
    void deletingGivenAdvanceTakesOnlyThatPair();
    void correctionToZeroAndOfAMissingRecord();
    void workLineDayMustExistInItsMonth_data();
    void workLineDayMustExistInItsMonth();
    void workLineValueAndEarningsSums();
    void workLineNeedsEmployeeAndOperation_data();
    void workLineNeedsEmployeeAndOperation();

private:
    int person(const QString& ime, const QString& fam);
    QList<QList<QVariant>> movements(int shifyr);
    DbFixture f_;
    const QDate d_{2026, 12, 9};
};

void TstStaffData::init() { f_.start(); }
void TstStaffData::cleanup() { f_.stop(); }

int TstStaffData::person(const QString& ime, const QString& fam)
{
    return f_.db()
        .executeReturning(QStringLiteral("insert into PERSONAL (IME, PREZ, FAM) values (:I, 'П', :F) returning SHIFYR"),
                          {{QStringLiteral("I"), ime}, {QStringLiteral("F"), fam}})
        .value(QStringLiteral("SHIFYR"))
        .toInt();
}

// Kind, leva, giver's and receiver's staff numbers of one employee's movements, by date and number.
QList<QList<QVariant>> TstStaffData::movements(int shifyr)
{
    QList<QList<QVariant>> out;
    for (const auto& r : f_.db().query(QStringLiteral("select AVANS_OTCHET_DOST, RAZPL_LV, AVANS_OT_SHIFYR, AVANS_NA_SHIFYR "
                                                      "from RAZPL_PERSONAL(:S) order by RAZPL_DATE, NUM_ZAPIS"),
                                       {{QStringLiteral("S"), shifyr}}).rows)
        out << QList<QVariant>{r[0].toInt(), r[1].toDouble(), r[2].toInt(), r[3].toInt()};
    return out;
}

void TstStaffData::deleteRefusedWithAnyDependentRecord_data()
{
    QTest::addColumn<QString>("insert");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("tool") << "insert into MATERIAL_PERSONAL (NMATERIAL, SHIFYR, KOLICHESTVO) values (1, :S, 1)"
                          << "Има зачислени инструменти";
    QTest::newRow("advance") << "insert into SLUG_AVANS (SHIFYR, SUMA_LV) values (:S, 10)" << "Има служебни аванси";
    QTest::newRow("advance given by him") << "insert into SLUG_AVANS (SHIFYR, AVANS_OT_SHIFYR, SUMA_LV) values (:O, :S, 10)"
                                          << "Има служебни аванси";
    QTest::newRow("report") << "insert into SLUG_OTCHET (SHIFYR, SUMA_LV) values (:S, 10)" << "Има служебни аванси";
    QTest::newRow("advance given to him") << "insert into SLUG_OTCHET (SHIFYR, AVANS_NA_SHIFYR, SUMA_LV) values (:O, :S, 10)"
                                          << "Има служебни аванси";
    QTest::newRow("earnings") << "insert into VEDOMOST_MANIPULACII (GGGGMM, GGGGMM_DEN, SHIFYR, NUM_MANIPULACIA) values ('202612', 1, :S, 1)"
                              << "Има заработки";
    QTest::newRow("supplier payment") << "insert into DOSTAVKI_PLASTANE (SHIFYR, PLATENO_LV) values (:S, 5)"
                                      << "Лицето е закупчик";
    QTest::newRow("delivery purchaser") << "insert into SKLAD (NMATERIAL, NUMSHIFYR, KOLICHESTVO) values (1, :S, 1)"
                                        << "Лицето е закупчик";
}

void TstStaffData::deleteRefusedWithAnyDependentRecord()
{
    QFETCH(QString, insert);
    QFETCH(QString, refusal);
    const int s = person(QStringLiteral("Иван"), QStringLiteral("Иванов"));
    const int other = person(QStringLiteral("Мария"), QStringLiteral("Петрова"));
    QCOMPARE(Staff::deleteRefusal(f_.db(), s), QString());
    SqlParams p{{QStringLiteral("S"), s}};
    if (insert.contains(QStringLiteral(":O"))) p.insert(QStringLiteral("O"), other);
    f_.exec(insert, p);
    QVERIFY2(Staff::deleteRefusal(f_.db(), s).startsWith(refusal), qPrintable(Staff::deleteRefusal(f_.db(), s)));
    // The server keeps him too, for a record added after the window's check.
    QVERIFY_THROWS_EXCEPTION(DbError, f_.exec(QStringLiteral("delete from PERSONAL where SHIFYR = :S"), p));
    QCOMPARE(f_.count(QStringLiteral("select count(*) from PERSONAL")), 2);
}

void TstStaffData::givenAdvanceIsTwoLinkedRecordsAndBalances()
{
    const int a = person(QStringLiteral("Иван"), QStringLiteral("Иванов"));
    const int b = person(QStringLiteral("Мария"), QStringLiteral("Петрова"));
    Staff::addAdvance(f_.db(), a, {d_, 300, 50, 0, QStringLiteral("командировка")});
    Staff::giveAdvance(f_.db(), a, b, {d_.addDays(1), 100, 0, 20, {}});
    f_.exec(QStringLiteral("insert into TIP_SLUG_OTCHET (NTIP_SLUG_OTCHET, IME_SLUG_OTCHET) values (7, 'Гориво')"));
    Staff::addReport(f_.db(), b, 7, {d_.addDays(2), 40, 0, 0, {}});

    using L = QList<QVariant>;
    QCOMPARE(movements(a), (QList<L>{L{1, 300.0, 0, 0}, L{5, 100.0, 0, b}}));
    QCOMPARE(movements(b), (QList<L>{L{4, 100.0, a, 0}, L{2, 40.0, 0, 0}}));

    // The filter "Аванс" of the window is kind 1: a colleague's advance is kind 4, not 1.
    const auto balance = [&](int from, int to) {
        return f_.db().query(QStringLiteral("select AVANS_LV, OTCHET_LV, DOST_LV, RAZLIKA_LV, RAZLIKA_USD, RAZLIKA_EUR "
                                            "from RAZPL_PERSONAL_SPRAVKA(:F, :T)"),
                             {{QStringLiteral("F"), from}, {QStringLiteral("T"), to}}).rows.front();
    };
    f_.exec(QStringLiteral("insert into DOSTAVKI_PLASTANE (SHIFYR, PLATENO_LV, PLATENO_DATE) values (:S, 25, '10.12.2026')"),
            {{QStringLiteral("S"), a}});
    QCOMPARE(balance(a, a), (DbRow{300.0, 100.0, 25.0, 175.0, 50.0, -20.0}));
    QCOMPARE(balance(b, b), (DbRow{100.0, 40.0, 0.0, 60.0, 0.0, 20.0}));
    // Passing an advance on moves money between people, not out of the company.
    QCOMPARE(balance(1, 10000), (DbRow{400.0, 140.0, 25.0, 235.0, 50.0, 0.0}));
    QCOMPARE(f_.count(QStringLiteral("select count(*) from VIEWRAZPLPERS")), 5);
}

void TstStaffData::givenAdvanceIsWrittenWholeOrNotAtAll()
{
    const int a = person(QStringLiteral("Иван"), QStringLiteral("Иванов"));
    const int b = person(QStringLiteral("Мария"), QStringLiteral("Петрова"));
    // The receiver's record is refused after the giver's was written.
    f_.db().executeImmediate(QStringLiteral("create exception T_REFUSED 'refused'"));
    f_.db().executeImmediate(QStringLiteral(
        "create trigger T_REFUSE for SLUG_AVANS before insert as begin exception T_REFUSED; end"));
    QVERIFY_THROWS_EXCEPTION(DbError, Staff::giveAdvance(f_.db(), a, b, {d_, 100, 0, 0, {}}));
    QCOMPARE(f_.count(QStringLiteral("select count(*) from SLUG_OTCHET")), 0);
    QCOMPARE(f_.count(QStringLiteral("select count(*) from SLUG_AVANS")), 0);
}

void TstStaffData::deletingGivenAdvanceTakesOnlyThatPair()
{
    const int a = person(QStringLiteral("Иван"), QStringLiteral("Иванов"));
    const int b = person(QStringLiteral("Мария"), QStringLiteral("Петрова"));
    const int c = person(QStringLiteral("Георги"), QStringLiteral("Стоянов"));
    Staff::giveAdvance(f_.db(), a, b, {d_, 100, 0, 0, {}});
    Staff::giveAdvance(f_.db(), a, b, {d_, 10, 0, 0, {}});
    Staff::giveAdvance(f_.db(), c, b, {d_, 50, 0, 0, {}});
    Staff::giveAdvance(f_.db(), b, a, {d_, 30, 0, 0, {}});
    Staff::giveAdvance(f_.db(), a, b, {d_.addDays(1), 7, 0, 0, {}});
    const int given = f_.db().query(QStringLiteral("select min(NUM_ZAPIS) from SLUG_OTCHET where SHIFYR = :A"),
                                    {{QStringLiteral("A"), a}}).rows.front()[0].toInt();

    Staff::deleteMovement(f_.db(), Staff::AdvanceGiven, given, b, d_);

    using L = QList<QVariant>;
    QCOMPARE(movements(a), (QList<L>{L{4, 30.0, b, 0}, L{5, 7.0, 0, b}}));
    QCOMPARE(movements(b), (QList<L>{L{4, 50.0, c, 0}, L{5, 30.0, 0, a}, L{4, 7.0, a, 0}}));
    QCOMPARE(movements(c), (QList<L>{L{5, 50.0, 0, b}}));
    // A second delete of the same record finds nothing and says so.
    QVERIFY_THROWS_EXCEPTION(DbError, Staff::deleteMovement(f_.db(), Staff::AdvanceGiven, given, b, d_));
}

void TstStaffData::correctionToZeroAndOfAMissingRecord()
{
    const int a = person(QStringLiteral("Иван"), QStringLiteral("Иванов"));
    Staff::addAdvance(f_.db(), a, {d_, 300, 0, 0, {}});
    const int n = f_.count(QStringLiteral("select max(NUM_ZAPIS) from SLUG_AVANS"));
    Staff::correctAdvance(f_.db(), n, a, 0, {d_.addDays(3), 0, 0, 0, QStringLiteral("върнат")});
    const DbRow row = f_.db().query(QStringLiteral("select SUMA_LV, SUMA_DATE, ZABELEGKA from SLUG_AVANS")).rows.front();
    QCOMPARE(row[0].toDouble(), 0.0);
    QCOMPARE(row[1].toDateTime().date(), d_.addDays(3));
    QCOMPARE(row[2].toString(), QStringLiteral("върнат"));
    QVERIFY_THROWS_EXCEPTION(DbError, Staff::correctAdvance(f_.db(), n + 100, a, 0, {d_, 1, 0, 0, {}}));
    QVERIFY_THROWS_EXCEPTION(DbError, Staff::correctReport(f_.db(), n, a, 1, {d_, 1, 0, 0, {}}));
    Staff::deleteMovement(f_.db(), Staff::Advance, n, 0, {});
    QCOMPARE(f_.count(QStringLiteral("select count(*) from SLUG_AVANS")), 0);
}

void TstStaffData::workLineDayMustExistInItsMonth_data()
{
    QTest::addColumn<QString>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<bool>("stored");
    QTest::newRow("9 November") << "202611" << 9 << true;
    QTest::newRow("30 November") << "202611" << 30 << true;
    QTest::newRow("31 November") << "202611" << 31 << false;
    QTest::newRow("29 February leap") << "202402" << 29 << true;
    QTest::newRow("29 February") << "202602" << 29 << false;
    QTest::newRow("29 February 2100") << "210002" << 29 << false;
    QTest::newRow("day 0") << "202612" << 0 << false;
    QTest::newRow("month 13") << "202613" << 1 << false;
    QTest::newRow("not a month") << "2026ab" << 1 << false;
}

void TstStaffData::workLineDayMustExistInItsMonth()
{
    QFETCH(QString, month);
    QFETCH(int, day);
    QFETCH(bool, stored);
    const SqlParams p{{QStringLiteral("M"), month}, {QStringLiteral("D"), day}};
    const QString sql = QStringLiteral("insert into VEDOMOST_MANIPULACII (GGGGMM, GGGGMM_DEN, SHIFYR, NUM_MANIPULACIA) values (:M, :D, 1, 1)");
    if (stored) f_.exec(sql, p);
    else QVERIFY_THROWS_EXCEPTION(DbError, f_.exec(sql, p));
    QCOMPARE(f_.count(QStringLiteral("select count(*) from VEDOMOST_MANIPULACII")), stored ? 1 : 0);
    // A correction of a stored line is checked too.
    if (stored)
        QVERIFY_THROWS_EXCEPTION(DbError, f_.exec(QStringLiteral("update VEDOMOST_MANIPULACII set GGGGMM_DEN = 32")));
}

void TstStaffData::workLineValueAndEarningsSums()
{
    const int a = person(QStringLiteral("Иван"), QStringLiteral("Иванов"));
    const int b = person(QStringLiteral("Мария"), QStringLiteral("Петрова"));
    const auto line = [&](int s, const char* month, int day, int count, double rate) {
        f_.exec(QStringLiteral("insert into VEDOMOST_MANIPULACII (GGGGMM, GGGGMM_DEN, SHIFYR, NUM_MANIPULACIA, BROI_MANIPULACII, "
                               "RAZCENKA) values (:M, :D, :S, 1, :N, :R)"),
                {{QStringLiteral("M"), QString::fromLatin1(month)}, {QStringLiteral("D"), day}, {QStringLiteral("S"), s},
                 {QStringLiteral("N"), count}, {QStringLiteral("R"), rate}});
    };
    line(a, "202611", 9, 120, 0.25);
    line(a, "202611", 20, 10, 1.5);
    line(a, "202612", 3, 4, 2.0);
    line(a, "202512", 3, 1000, 1.0);
    line(b, "202611", 25, 3, 0.5);
    QCOMPARE(f_.db().query(QStringLiteral("select STOINOST_MANIPULACII from VEDOMOST_MANIPULACII order by AUTONUM")).rows.front()[0].toDouble(), 30.0);
    // A later correction of the count is valued again by the server.
    f_.exec(QStringLiteral("update VEDOMOST_MANIPULACII set BROI_MANIPULACII = 12 where GGGGMM = '202612'"));

    const auto rows = f_.db().query(QStringLiteral("select GGGGMM, GODMESIME, MANIPULACII_MESEC, ZARABOTKA_MESEC "
                                                   "from VIEWVEDOMOST_ZARABOTKA_SHIFYR(:S, '202601', '202612', 1, 31)"),
                                    {{QStringLiteral("S"), a}}).rows;
    QCOMPARE(int(rows.size()), 2);
    QCOMPARE(rows[0], (DbRow{QStringLiteral("202611"), QStringLiteral("Ноември 2026"), 130, 45.0}));
    QCOMPARE(rows[1], (DbRow{QStringLiteral("202612"), QStringLiteral("Декември 2026"), 12, 24.0}));

    // The company list over days 1 to 10 of November and December: only the lines of those days.
    const auto firm = f_.db().query(QStringLiteral("select GGGGMM, IMEPREZFAM, MANIPULACII_MESEC, ZARABOTKA_MESEC "
                                                   "from VIEWVEDOMOST_ZARABOTKA_FIRMA(202611, 202612, 1, 10) "
                                                   "order by GGGGMM, IMEPREZFAM")).rows;
    QCOMPARE(int(firm.size()), 2);
    QCOMPARE(firm[0], (DbRow{QStringLiteral("202611"), QStringLiteral("Иван П Иванов"), 120, 30.0}));
    QCOMPARE(firm[1], (DbRow{QStringLiteral("202612"), QStringLiteral("Иван П Иванов"), 12, 24.0}));
}

void TstStaffData::workLineNeedsEmployeeAndOperation_data()
{
    QTest::addColumn<QString>("values");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("no operation") << ":S, null" << "Не е избрана манипулация";
    QTest::newRow("no employee") << "null, 3" << "Не е избрано лице";
}

// A line without its employee or its operation would be stored and then shown nowhere.
void TstStaffData::workLineNeedsEmployeeAndOperation()
{
    QFETCH(QString, values);
    QFETCH(QString, refusal);
    const int s = person(QStringLiteral("Иван"), QStringLiteral("Иванов"));
    const QString insert = QStringLiteral("insert into VEDOMOST_MANIPULACII (GGGGMM, GGGGMM_DEN, SHIFYR, NUM_MANIPULACIA, "
                                          "BROI_MANIPULACII) values ('202612', 3, %1, 5)");
    try {
        f_.exec(insert.arg(values), {{QStringLiteral("S"), s}});
        QFAIL("the line was stored");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(refusal), qPrintable(e.message()));
    }
    QCOMPARE(f_.count(QStringLiteral("select count(*) from VEDOMOST_MANIPULACII")), 0);
    f_.exec(insert.arg(QStringLiteral(":S, 3")), {{QStringLiteral("S"), s}});
    // A correction that drops the operation is refused too.
    QVERIFY_THROWS_EXCEPTION(DbError, f_.exec(QStringLiteral("update VEDOMOST_MANIPULACII set NUM_MANIPULACIA = null")));
    QCOMPARE(f_.count(QStringLiteral("select count(*) from VEDOMOST_MANIPULACII where NUM_MANIPULACIA = 3")), 1);
}

QTEST_GUILESS_MAIN(TstStaffData)
#include "tst_staff_data.moc"
