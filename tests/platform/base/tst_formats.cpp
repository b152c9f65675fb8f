#include "platform/base/clock.h"
#include "platform/base/formats.h"

#include <QLocale>
#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;

class TstFormats : public QObject
{
    Q_OBJECT

private slots:
    // Every test runs under a locale with ',' decimals and its own date format,
    // so any accidental dependence on the default locale shows up.
    void init() { QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria)); }
    void cleanupTestCase() { Clock::reset(); }

    void formatNumber_data();
    void formatNumber();
    void formatDateTime_data();
    void formatDateTime();
    void fixedDateText();
    void textToDate_data();
    void textToDate();
    void numberToText_data();
    void numberToText();
    void textToNumber_data();
    void textToNumber();
    void textToInteger_data();
    void textToInteger();
    void clock();
    void installProcessFormats();
};

void TstFormats::formatNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");

    // Grouping and fixed decimals
    QTest::newRow("grouped millions") << 1234567.891 << u"# ##0.00"_s << u"1 234 567.89"_s;
    QTest::newRow("grouped zero") << 0.0 << u"# ##0.00"_s << u"0.00"_s;
    QTest::newRow("grouped below 1000") << 999.0 << u"# ##0.00"_s << u"999.00"_s;
    QTest::newRow("grouped negative") << -1234.5 << u"# ##0.00"_s << u"-1 234.50"_s;
    QTest::newRow("three decimals tie") << 1234567.8915 << u"# ### ##0.000"_s << u"1 234 567.892"_s;
    QTest::newRow("comma grouping") << 1234567.5 << u"#,##0.00"_s << u"1 234 567.50"_s;
    QTest::newRow("huge grouped") << 1e20 << u"# ##0"_s << u"100 000 000 000 000 000 000"_s;
    QTest::newRow("carry into new group") << 999999.996 << u"# ##0.00"_s << u"1 000 000.00"_s;

    // '#'-only integer part
    QTest::newRow("hash grouping") << 1234567.0 << u"# ###"_s << u"1 234 567"_s;
    QTest::newRow("hash zero is empty") << 0.0 << u"# ###"_s << u""_s;
    QTest::newRow("hash rounds to zero") << 0.4 << u"# ###"_s << u""_s;
    QTest::newRow("hash negative rounds to zero") << -0.4 << u"# ###"_s << u""_s;
    QTest::newRow("hash rounds up to group") << 999.5 << u"# ###"_s << u"1 000"_s;
    QTest::newRow("hash groups stay three") << 12345678.0 << u"# ### ####"_s << u"12 345 678"_s;
    QTest::newRow("hash fraction only") << 0.5 << u"#.00"_s << u".50"_s;

    // Minimum integer digits and zero
    QTest::newRow("#0.00 zero") << 0.0 << u"#0.00"_s << u"0.00"_s;
    QTest::newRow("0.00 zero") << 0.0 << u"0.00"_s << u"0.00"_s;
    QTest::newRow("no negative zero") << -0.004 << u"#0.00"_s << u"0.00"_s;
    QTest::newRow("no negative zero integer") << -0.4 << u"0"_s << u"0"_s;
    QTest::newRow("two integer digits") << 7.0 << u"00"_s << u"07"_s;
    QTest::newRow("#0 rounds up") << 0.5 << u"#0"_s << u"1"_s;
    QTest::newRow("#0 rounds down") << 0.49 << u"#0"_s << u"0"_s;

    // Half away from zero on the decimal value
    QTest::newRow("2.675") << 2.675 << u"0.00"_s << u"2.68"_s;
    QTest::newRow("1.005") << 1.005 << u"0.00"_s << u"1.01"_s;
    QTest::newRow("-2.675") << -2.675 << u"0.00"_s << u"-2.68"_s;
    QTest::newRow("1.0005") << 1.0005 << u"0.000"_s << u"1.001"_s;
    QTest::newRow("just below tie") << 2.6749 << u"0.00"_s << u"2.67"_s;
    QTest::newRow("2.5 to integer") << 2.5 << u"0"_s << u"3"_s;
    QTest::newRow("-2.5 to integer") << -2.5 << u"0"_s << u"-3"_s;
    QTest::newRow("computed 0.1+0.2") << 0.1 + 0.2 << u"0.0000"_s << u"0.3000"_s;
    QTest::newRow("four decimals") << 3.14159265 << u"0.0000"_s << u"3.1416"_s;

    // Optional decimals
    QTest::newRow("optional decimal shown") << 1.5 << u"0.##"_s << u"1.5"_s;
    QTest::newRow("optional decimals dropped") << 2.0 << u"0.##"_s << u"2"_s;
    QTest::newRow("required then optional") << 2.001 << u"0.0#"_s << u"2.0"_s;

    // Literals
    QTest::newRow("suffix") << 1234.5 << u"# ##0.00 лв."_s << u"1 234.50 лв."_s;
    QTest::newRow("negative with suffix") << -5.0 << u"0.00 лв."_s << u"-5.00 лв."_s;
    QTest::newRow("quoted prefix") << 5.0 << u"'№ '0"_s << u"№ 5"_s;
    QTest::newRow("quoted suffix with digits") << 5.0 << u"0\" x 10\""_s << u"5 x 10"_s;

    // Sections: positive;negative;zero
    QTest::newRow("sections positive") << 5.0 << u"0.00;(0.00)"_s << u"5.00"_s;
    QTest::newRow("sections negative") << -5.0 << u"0.00;(0.00)"_s << u"(5.00)"_s;
    QTest::newRow("sections negative rounds to zero") << -0.001 << u"0.00;(0.00)"_s << u"0.00"_s;
    QTest::newRow("sections zero literal") << 0.0 << u"# ##0.00;-# ##0.00;\"-\""_s << u"-"_s;
    QTest::newRow("sections zero after rounding") << 0.001 << u"0.00;(0.00);\"нула\""_s << u"нула"_s;
    QTest::newRow("sections negative grouped") << -1234.5 << u"# ##0.00;-# ##0.00;\"-\""_s << u"-1 234.50"_s;
    QTest::newRow("empty negative section") << -5.0 << u"0.00;;нула"_s << u"-5.00"_s;
    QTest::newRow("empty negative section zero") << 0.0 << u"0.00;;нула"_s << u"нула"_s;
    QTest::newRow("quoted semicolon") << 5.0 << u"0' ; '"_s << u"5 ; "_s;

    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << u"0.00"_s << u""_s;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << u"0.00"_s << u""_s;
}

void TstFormats::formatNumber()
{
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(Formats::formatNumber(value, pattern), expected);
}

void TstFormats::formatDateTime_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");

    const QDateTime m(QDate(2026, 3, 7), QTime(9, 5, 3, 42));
    const QDateTime midnight(QDate(2005, 11, 23), QTime(0, 0));

    QTest::newRow("dd.mm.yy") << m << u"dd.mm.yy"_s << u"07.03.26"_s;
    QTest::newRow("dd.mm.yyyy") << m << u"dd.mm.yyyy"_s << u"07.03.2026"_s;
    QTest::newRow("dd.MM.yyyy") << m << u"dd.MM.yyyy"_s << u"07.03.2026"_s;
    QTest::newRow("upper case") << m << u"DD.MM.YYYY"_s << u"07.03.2026"_s;
    QTest::newRow("mm.yyyy") << m << u"mm.yyyy"_s << u"03.2026"_s;
    QTest::newRow("yyyy") << m << u"yyyy"_s << u"2026"_s;
    QTest::newRow("slashes") << m << u"dd/mm/yyyy"_s << u"07/03/2026"_s;
    QTest::newRow("unpadded") << m << u"d.m.yy"_s << u"7.3.26"_s;
    QTest::newRow("hh:nn") << m << u"hh:nn"_s << u"09:05"_s;
    QTest::newRow("mm after hh is minutes") << m << u"hh:mm"_s << u"09:05"_s;
    QTest::newRow("month again after minutes") << m << u"hh:mm dd.mm"_s << u"09:05 07.03"_s;
    QTest::newRow("full with nn") << m << u"dd.mm.yyyy hh:nn:ss"_s << u"07.03.2026 09:05:03"_s;
    QTest::newRow("full with mm") << m << u"dd.mm.yyyy hh:mm:ss"_s << u"07.03.2026 09:05:03"_s;
    QTest::newRow("milliseconds") << m << u"ss.zzz"_s << u"03.042"_s;
    QTest::newRow("month name and literal") << m << u"d mmmm yyyy 'г.'"_s << u"7 март 2026 г."_s;
    QTest::newRow("two-digit year padded") << midnight << u"dd.mm.yy"_s << u"23.11.05"_s;
    QTest::newRow("midnight time") << midnight << u"dd.mm.yyyy hh:nn"_s << u"23.11.2005 00:00"_s;
    QTest::newRow("null") << QDateTime() << u"dd.mm.yyyy"_s << u""_s;
}

void TstFormats::formatDateTime()
{
    QFETCH(QDateTime, moment);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(Formats::formatDateTime(moment, pattern), expected);
    // The date overload behaves as the same day at midnight.
    if (!moment.isValid() || moment.time() == QTime(0, 0))
        QCOMPARE(Formats::formatDate(moment.date(), pattern), expected);
}

void TstFormats::fixedDateText()
{
    QCOMPARE(Formats::dateToText(QDate(2026, 3, 7)), u"07.03.2026"_s);
    QCOMPARE(Formats::dateToText(QDate(987, 1, 2)), u"02.01.0987"_s);
    QCOMPARE(Formats::dateToText(QDate()), QString());
    QCOMPARE(Formats::dateTimeToText(QDateTime(QDate(2026, 3, 7), QTime(9, 5, 3))),
             u"07.03.2026 09:05:03"_s);
    QCOMPARE(Formats::dateTimeToText(QDateTime()), QString());
}

void TstFormats::textToDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected"); // null: must be rejected

    QTest::newRow("short") << u"7.3.2026"_s << QDate(2026, 3, 7);
    QTest::newRow("padded") << u"07.03.2026"_s << QDate(2026, 3, 7);
    QTest::newRow("two-digit 26") << u"07.03.26"_s << QDate(2026, 3, 7);
    QTest::newRow("two-digit 49") << u"01.01.49"_s << QDate(2049, 1, 1);
    QTest::newRow("two-digit 50") << u"01.01.50"_s << QDate(1950, 1, 1);
    QTest::newRow("two-digit 00") << u"31.12.00"_s << QDate(2000, 12, 31);
    QTest::newRow("blanks around") << u"  07.03.2026 "_s << QDate(2026, 3, 7);
    QTest::newRow("leap day") << u"29.02.2024"_s << QDate(2024, 2, 29);

    QTest::newRow("empty") << u""_s << QDate();
    QTest::newRow("31 February") << u"31.02.2026"_s << QDate();
    QTest::newRow("29 February non-leap") << u"29.02.2025"_s << QDate();
    QTest::newRow("day 0") << u"00.03.2026"_s << QDate();
    QTest::newRow("month 13") << u"07.13.2026"_s << QDate();
    QTest::newRow("slashes") << u"07/03/2026"_s << QDate();
    QTest::newRow("dashes") << u"07-03-2026"_s << QDate();
    QTest::newRow("ISO order") << u"2026.03.07"_s << QDate();
    QTest::newRow("no year") << u"7.3"_s << QDate();
    QTest::newRow("three-digit year") << u"07.03.026"_s << QDate();
    QTest::newRow("trailing text") << u"07.03.2026x"_s << QDate();
    QTest::newRow("trailing time") << u"07.03.2026 10:00"_s << QDate();
    QTest::newRow("inner blank") << u"07. 03.2026"_s << QDate();
    QTest::newRow("non-ASCII digits") << u"٠٧.٠٣.٢٠٢٦"_s << QDate();
}

void TstFormats::textToDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    const std::optional<QDate> parsed = Formats::textToDate(text);
    QCOMPARE(parsed.has_value(), expected.isValid());
    if (parsed) {
        QCOMPARE(*parsed, expected);
        QCOMPARE(Formats::textToDate(Formats::dateToText(*parsed)), parsed);
    }
}

void TstFormats::numberToText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");

    QTest::newRow("shortest fraction") << 12.5 << -1 << u"12.5"_s;
    QTest::newRow("shortest integer") << 3.0 << -1 << u"3"_s;
    QTest::newRow("shortest negative") << -0.25 << -1 << u"-0.25"_s;
    QTest::newRow("shortest negative zero") << -0.0 << -1 << u"0"_s;
    QTest::newRow("shortest exact sum") << 0.1 + 0.2 << -1 << u"0.30000000000000004"_s;
    QTest::newRow("shortest large, no exponent") << 1e20 << -1 << u"100000000000000000000"_s;
    QTest::newRow("shortest small, no exponent") << 1e-7 << -1 << u"0.0000001"_s;
    QTest::newRow("fixed tie") << 2.675 << 2 << u"2.68"_s;
    QTest::newRow("fixed padded") << 1.5 << 3 << u"1.500"_s;
    QTest::newRow("fixed integer") << 1234567.5 << 0 << u"1234568"_s;
    QTest::newRow("fixed negative") << -1234.565 << 2 << u"-1234.57"_s;
    QTest::newRow("fixed no negative zero") << -0.004 << 2 << u"0.00"_s;
    QTest::newRow("fixed below one") << 0.006 << 2 << u"0.01"_s;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << -1 << u""_s;
}

void TstFormats::numberToText()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    const QString text = Formats::numberToText(value, decimals);
    QCOMPARE(text, expected);
    // The shortest form must read back as exactly the same double.
    if (decimals < 0 && std::isfinite(value))
        QCOMPARE(Formats::textToNumber(text), std::optional<double>(value));
}

void TstFormats::textToNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("expected");

    QTest::newRow("point") << u"12.5"_s << true << 12.5;
    QTest::newRow("comma") << u"12,5"_s << true << 12.5;
    QTest::newRow("integer") << u"42"_s << true << 42.0;
    QTest::newRow("minus") << u"-3"_s << true << -3.0;
    QTest::newRow("plus") << u"+4.25"_s << true << 4.25;
    QTest::newRow("grouped") << u"1 234.50"_s << true << 1234.5;
    QTest::newRow("grouped millions, comma") << u"-1 234 567,5"_s << true << -1234567.5;
    QTest::newRow("no-break space group") << u"1\u00A0234"_s << true << 1234.0;
    QTest::newRow("blanks around") << u"  42  "_s << true << 42.0;
    QTest::newRow("leading point") << u",5"_s << true << 0.5;
    QTest::newRow("trailing point") << u"5."_s << true << 5.0;

    QTest::newRow("empty") << u""_s << false << 0.0;
    QTest::newRow("blank") << u"   "_s << false << 0.0;
    QTest::newRow("two points") << u"1.2.3"_s << false << 0.0;
    QTest::newRow("trailing letter") << u"12a"_s << false << 0.0;
    QTest::newRow("comma and point") << u"1,2.3"_s << false << 0.0;
    QTest::newRow("comma grouping") << u"1,234.5"_s << false << 0.0;
    QTest::newRow("point only") << u"."_s << false << 0.0;
    QTest::newRow("sign only") << u"-"_s << false << 0.0;
    QTest::newRow("sign then blank") << u"- 5"_s << false << 0.0;
    QTest::newRow("exponent") << u"1e5"_s << false << 0.0;
    QTest::newRow("nan") << u"nan"_s << false << 0.0;
    QTest::newRow("inf") << u"inf"_s << false << 0.0;
    QTest::newRow("hex") << u"0x10"_s << false << 0.0;
    QTest::newRow("short group") << u"1 23"_s << false << 0.0;
    QTest::newRow("double blank") << u"1  234"_s << false << 0.0;
    QTest::newRow("blank in fraction") << u"1.234 5"_s << false << 0.0;
    QTest::newRow("overflow") << (u"1"_s + QString(400, u'0')) << false << 0.0;
}

void TstFormats::textToNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, expected);
    const std::optional<double> parsed = Formats::textToNumber(text);
    QCOMPARE(parsed.has_value(), valid);
    if (parsed)
        QCOMPARE(*parsed, expected);
}

void TstFormats::textToInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("plain") << u"42"_s << true << qint64(42);
    QTest::newRow("negative") << u"-7"_s << true << qint64(-7);
    QTest::newRow("plus and blanks") << u" +3 "_s << true << qint64(3);
    QTest::newRow("grouped") << u"1 000 000"_s << true << qint64(1000000);
    QTest::newRow("max") << u"9223372036854775807"_s << true << std::numeric_limits<qint64>::max();
    QTest::newRow("min") << u"-9223372036854775808"_s << true << std::numeric_limits<qint64>::min();

    QTest::newRow("fraction") << u"1.5"_s << false << qint64(0);
    QTest::newRow("comma fraction") << u"1,5"_s << false << qint64(0);
    QTest::newRow("whole with point") << u"1.0"_s << false << qint64(0);
    QTest::newRow("empty") << u""_s << false << qint64(0);
    QTest::newRow("letters") << u"abc"_s << false << qint64(0);
    QTest::newRow("short group") << u"12 34"_s << false << qint64(0);
    QTest::newRow("exponent") << u"1e3"_s << false << qint64(0);
    QTest::newRow("overflow") << u"9223372036854775808"_s << false << qint64(0);
}

void TstFormats::textToInteger()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint64, expected);
    const std::optional<qint64> parsed = Formats::textToInteger(text);
    QCOMPARE(parsed.has_value(), valid);
    if (parsed)
        QCOMPARE(*parsed, expected);
}

void TstFormats::clock()
{
    const QDateTime fixed(QDate(2001, 2, 3), QTime(4, 5, 6));
    Clock::setFixed(fixed);
    QCOMPARE(Clock::now(), fixed);
    QCOMPARE(Clock::today(), QDate(2001, 2, 3));

    Clock::reset();
    const QDate before = QDate::currentDate();
    const QDate today = Clock::today();
    const QDate after = QDate::currentDate();
    QVERIFY2(today == before || today == after, qPrintable(today.toString(Qt::ISODate)));

    Clock::setFixed(fixed);
    Clock::setFixed(QDateTime()); // an invalid moment releases the clock
    QVERIFY(Clock::today() != fixed.date());
}

void TstFormats::installProcessFormats()
{
    // init() installed a ',' locale; make sure it is really in effect.
    QCOMPARE(QLocale().toString(1.5), u"1,5"_s);

    Formats::installProcessFormats();
    QCOMPARE(QLocale().toString(1.5), u"1.5"_s);
    QCOMPARE(QLocale().toString(1234567.25, 'f', 2), u"1234567.25"_s);
    QCOMPARE(QLocale().toDouble(u"2.5"_s), 2.5);

    Formats::installProcessFormats();
    QCOMPARE(QLocale().toString(1.5), u"1.5"_s);
}

QTEST_GUILESS_MAIN(TstFormats)
#include "tst_formats.moc"
