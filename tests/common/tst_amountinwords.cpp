#include "common/amountinwords.h"

#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(WordScale)

namespace {

// The group word of a value by its range, the way the thousands and leva groups choose it.
QString groupWord(int value, WordScale scale)
{
    if (value < 10) return DigitWord(value, scale);
    if (value < 100) return TwoDigitWord(value, scale);
    return ThreeDigitWord(value, scale);
}

const char* scaleName(WordScale s)
{
    switch (s) {
    case WordScale::Millions: return "millions";
    case WordScale::Thousands: return "thousands";
    case WordScale::Leva: return "leva";
    case WordScale::Euro: return "euro";
    }
    return "?";
}

} // namespace

class TstAmountInWords : public QObject
{
    Q_OBJECT

private slots:
    void groupWords_data();
    void groupWords();
    void everyGroupValueInEveryPosition();
    void amountInWords_data();
    void amountInWords();
    void withStotinki_data();
    void withStotinki();
    void euroFollowsTheLevaForm();
    void withCents_data();
    void withCents();
};

void TstAmountInWords::groupWords_data()
{
    QTest::addColumn<int>("digits");  // which function: 1 DigitWord, 2 TwoDigitWord, 3 ThreeDigitWord
    QTest::addColumn<int>("value");
    QTest::addColumn<WordScale>("scale");
    QTest::addColumn<QString>("expected");

    const auto M = WordScale::Millions, T = WordScale::Thousands, L = WordScale::Leva;

    QTest::newRow("digit 0") << 1 << 0 << L << u""_s;
    QTest::newRow("digit 1 millions") << 1 << 1 << M << u"един милион"_s;
    QTest::newRow("digit 1 thousands") << 1 << 1 << T << u"хиляда"_s;
    QTest::newRow("digit 1 leva") << 1 << 1 << L << u"един лев"_s;
    QTest::newRow("digit 2 millions") << 1 << 2 << M << u"два милиона"_s;
    QTest::newRow("digit 2 thousands") << 1 << 2 << T << u"две хиляди"_s;
    QTest::newRow("digit 2 leva") << 1 << 2 << L << u"два лева"_s;
    QTest::newRow("digit 4 thousands") << 1 << 4 << T << u"четири хиляди"_s;
    QTest::newRow("digit 9 leva") << 1 << 9 << L << u"девет лева"_s;
    QTest::newRow("digit 10 out of range") << 1 << 10 << L << u""_s;
    QTest::newRow("digit -1 out of range") << 1 << -1 << L << u""_s;

    QTest::newRow("two 9 out of range") << 2 << 9 << L << u""_s;
    QTest::newRow("two 10 leva") << 2 << 10 << L << u"десет лева"_s;
    QTest::newRow("two 11 millions") << 2 << 11 << M << u"единадесет милиона"_s;
    QTest::newRow("two 14 thousands") << 2 << 14 << T << u"четиринадесет хиляди"_s;
    QTest::newRow("two 19 leva") << 2 << 19 << L << u"деветнадесет лева"_s;
    QTest::newRow("two 20 thousands") << 2 << 20 << T << u"двадесет хиляди"_s;
    QTest::newRow("two 21 millions") << 2 << 21 << M << u"двадесет и един милион"_s;
    QTest::newRow("two 21 thousands") << 2 << 21 << T << u"двадесет и една хиляди"_s;
    QTest::newRow("two 21 leva") << 2 << 21 << L << u"двадесет и един лев"_s;
    QTest::newRow("two 22 millions") << 2 << 22 << M << u"двадесет и два милиона"_s;
    QTest::newRow("two 22 thousands") << 2 << 22 << T << u"двадесет и две хиляди"_s;
    QTest::newRow("two 30 leva") << 2 << 30 << L << u"тридесет лева"_s;
    QTest::newRow("two 34 thousands") << 2 << 34 << T << u"тридесет и четири хиляди"_s;
    QTest::newRow("two 51 thousands") << 2 << 51 << T << u"петдесет и една хиляди"_s;
    QTest::newRow("two 67 leva") << 2 << 67 << L << u"шестдесет и седем лева"_s;
    QTest::newRow("two 70 millions") << 2 << 70 << M << u"седемдесет милиона"_s;
    QTest::newRow("two 81 leva") << 2 << 81 << L << u"осемдесет и един лев"_s;
    QTest::newRow("two 91 thousands") << 2 << 91 << T << u"деветдесет и една хиляди"_s;
    QTest::newRow("two 99 leva") << 2 << 99 << L << u"деветдесет и девет лева"_s;
    QTest::newRow("two 100 out of range") << 2 << 100 << L << u""_s;

    QTest::newRow("three 99 out of range") << 3 << 99 << L << u""_s;
    QTest::newRow("three 100 millions") << 3 << 100 << M << u"сто милиона"_s;
    QTest::newRow("three 200 thousands") << 3 << 200 << T << u"двеста хиляди"_s;
    QTest::newRow("three 300 leva") << 3 << 300 << L << u"триста лева"_s;
    QTest::newRow("three 101 millions") << 3 << 101 << M << u"сто и един милион"_s;
    QTest::newRow("three 101 thousands") << 3 << 101 << T << u"сто и една хиляди"_s;
    QTest::newRow("three 901 thousands") << 3 << 901 << T << u"деветстотин и една хиляди"_s;
    QTest::newRow("three 101 leva") << 3 << 101 << L << u"сто и един лев"_s;
    QTest::newRow("three 202 thousands") << 3 << 202 << T << u"двеста и две хиляди"_s;
    QTest::newRow("three 409 leva") << 3 << 409 << L << u"четиристотин и девет лева"_s;
    QTest::newRow("three 110 leva") << 3 << 110 << L << u"сто и десет лева"_s;
    QTest::newRow("three 515 thousands") << 3 << 515 << T << u"петстотин и петнадесет хиляди"_s;
    QTest::newRow("three 620 millions") << 3 << 620 << M << u"шестстотин и двадесет милиона"_s;
    QTest::newRow("three 790 leva") << 3 << 790 << L << u"седемстотин и деветдесет лева"_s;
    QTest::newRow("three 121 leva") << 3 << 121 << L << u"сто  двадесет и един лев"_s;
    QTest::newRow("three 121 thousands") << 3 << 121 << T << u"сто  двадесет и една хиляди"_s;
    QTest::newRow("three 234 thousands") << 3 << 234 << T << u"двеста  тридесет и четири хиляди"_s;
    QTest::newRow("three 567 leva") << 3 << 567 << L << u"петстотин  шестдесет и седем лева"_s;
    QTest::newRow("three 822 millions") << 3 << 822 << M << u"осемстотин  двадесет и два милиона"_s;
    QTest::newRow("three 999 leva") << 3 << 999 << L << u"деветстотин  деветдесет и девет лева"_s;
    QTest::newRow("three 1000 out of range") << 3 << 1000 << L << u""_s;

    // The euro's units group is neuter and has no plural; the other scales are those of leva.
    const auto E = WordScale::Euro;
    QTest::newRow("digit 1 euro") << 1 << 1 << E << u"едно евро"_s;
    QTest::newRow("digit 2 euro") << 1 << 2 << E << u"две евро"_s;
    QTest::newRow("digit 3 euro") << 1 << 3 << E << u"три евро"_s;
    QTest::newRow("digit 0 euro") << 1 << 0 << E << u""_s;
    QTest::newRow("two 10 euro") << 2 << 10 << E << u"десет евро"_s;
    QTest::newRow("two 12 euro") << 2 << 12 << E << u"дванадесет евро"_s;
    QTest::newRow("two 21 euro") << 2 << 21 << E << u"двадесет и едно евро"_s;
    QTest::newRow("two 22 euro") << 2 << 22 << E << u"двадесет и две евро"_s;
    QTest::newRow("two 40 euro") << 2 << 40 << E << u"четиридесет евро"_s;
    QTest::newRow("three 100 euro") << 3 << 100 << E << u"сто евро"_s;
    QTest::newRow("three 101 euro") << 3 << 101 << E << u"сто и едно евро"_s;
    QTest::newRow("three 102 euro") << 3 << 102 << E << u"сто и две евро"_s;
    QTest::newRow("three 121 euro") << 3 << 121 << E << u"сто  двадесет и едно евро"_s;
    QTest::newRow("three 999 euro") << 3 << 999 << E << u"деветстотин  деветдесет и девет евро"_s;
}

void TstAmountInWords::groupWords()
{
    QFETCH(int, digits);
    QFETCH(int, value);
    QFETCH(WordScale, scale);
    QFETCH(QString, expected);
    const QString got = digits == 1 ? DigitWord(value, scale)
                        : digits == 2 ? TwoDigitWord(value, scale)
                                      : ThreeDigitWord(value, scale);
    QCOMPARE(got, expected);
}

// Every value 1 to 999 as the leva (or euro), thousands and millions group of an amount: the
// amount is the group's word joined exactly as the format says, and each word is well formed for
// its scale.
void TstAmountInWords::everyGroupValueInEveryPosition()
{
    const QStringList endings[] = {
        {u"милион"_s, u"милиона"_s},
        {u"хиляда"_s, u"хиляди"_s},
        {u"лев"_s, u"лева"_s},
        {u"евро"_s},
    };
    for (const WordScale scale : {WordScale::Millions, WordScale::Thousands, WordScale::Leva, WordScale::Euro}) {
        for (int n = 1; n <= 999; ++n) {
            const QString word = groupWord(n, scale);
            const QString ctx = QStringLiteral("%1 at %2: \"%3\"").arg(n).arg(QString::fromLatin1(scaleName(scale)), word);
            QVERIFY2(!word.isEmpty(), qPrintable(ctx));
            QVERIFY2(!word.startsWith(u' ') && !word.endsWith(u' '), qPrintable(ctx));
            QVERIFY2(!word.contains(u"   "_s), qPrintable(ctx));
            const QString last = word.section(u' ', -1);
            QVERIFY2(endings[int(scale)].contains(last), qPrintable(ctx));
            // Two blanks only after a plain hundreds stem (121, 234, ... but not 110 or 101).
            const int rest = n % 100;
            const bool plainHundreds = n >= 100 && rest > 20 && rest % 10 != 0;
            QVERIFY2(word.contains(u"  "_s) == plainHundreds, qPrintable(ctx));

            QString amount;
            QString expected;
            switch (scale) {
            case WordScale::Leva:
            case WordScale::Euro:
                amount = QString::number(n);
                expected = u' ' + word;
                break;
            case WordScale::Thousands:
                amount = QString::number(n) + u"000"_s;
                expected = u' ' + word + u" лева"_s;
                break;
            case WordScale::Millions:
                amount = QString::number(n) + u"000000"_s;
                expected = word + u" лева"_s;
                break;
            }
            const QString got = scale == WordScale::Euro ? AmountInWordsEuro(amount) : AmountInWords(amount);
            QVERIFY2(got == expected, qPrintable(ctx + u" amount "_s + amount + u" gives \""_s + got + u'"'));
        }
    }
}

void TstAmountInWords::amountInWords_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("expected");

    // The worked values, blanks included.
    QTest::newRow("5") << u"5"_s << u" пет лева"_s;
    QTest::newRow("21") << u"21"_s << u" двадесет и един лев"_s;
    QTest::newRow("121") << u"121"_s << u" сто  двадесет и един лев"_s;
    QTest::newRow("101") << u"101"_s << u" сто и един лев"_s;
    QTest::newRow("1000") << u"1000"_s << u" хиляда лева"_s;
    QTest::newRow("1001") << u"1001"_s << u" хиляда и  един лев"_s;
    QTest::newRow("1500") << u"1500"_s << u" хиляда и  петстотин лева"_s;
    QTest::newRow("2021") << u"2021"_s << u" две хиляди двадесет и един лев"_s;
    QTest::newRow("21000") << u"21000"_s << u" двадесет и една хиляди лева"_s;
    QTest::newRow("101000") << u"101000"_s << u" сто и една хиляди лева"_s;
    QTest::newRow("1000000") << u"1000000"_s << u"един милион лева"_s;
    QTest::newRow("1000005") << u"1000005"_s << u"един милион и  пет лева"_s;
    QTest::newRow("1234567") << u"1234567"_s
                             << u"един милион двеста  тридесет и четири хиляди петстотин  шестдесет и седем лева"_s;

    // Joining: " и " before a last group whose value is in the set, none otherwise.
    QTest::newRow("1 lev") << u"1"_s << u" един лев"_s;
    QTest::newRow("1020 joined") << u"1020"_s << u" хиляда и  двадесет лева"_s;
    QTest::newRow("1021 not joined") << u"1021"_s << u" хиляда двадесет и един лев"_s;
    QTest::newRow("2100 joined") << u"2100"_s << u" две хиляди и  сто лева"_s;
    QTest::newRow("2101 not joined") << u"2101"_s << u" две хиляди сто и един лев"_s;
    QTest::newRow("3015 joined") << u"3015"_s << u" три хиляди и  петнадесет лева"_s;
    QTest::newRow("3090 joined") << u"3090"_s << u" три хиляди и  деветдесет лева"_s;
    QTest::newRow("3099 not joined") << u"3099"_s << u" три хиляди деветдесет и девет лева"_s;
    QTest::newRow("21001 una hilyadi") << u"21001"_s << u" двадесет и една хиляди и  един лев"_s;
    QTest::newRow("31200") << u"31200"_s << u" тридесет и една хиляди и  двеста лева"_s;
    QTest::newRow("901999") << u"901999"_s << u" деветстотин и една хиляди деветстотин  деветдесет и девет лева"_s;
    QTest::newRow("121121") << u"121121"_s << u" сто  двадесет и една хиляди сто  двадесет и един лев"_s;
    QTest::newRow("millions join thousands") << u"5100000"_s << u"пет милиона и  сто хиляди лева"_s;
    QTest::newRow("millions then thousands plain") << u"5121000"_s << u"пет милиона сто  двадесет и една хиляди лева"_s;
    QTest::newRow("millions skip zero thousands, joined") << u"2000300"_s << u"два милиона и  триста лева"_s;
    QTest::newRow("millions skip zero thousands, plain") << u"2000021"_s << u"два милиона двадесет и един лев"_s;
    QTest::newRow("millions and thousands, joined leva") << u"7020020"_s
                                                         << u"седем милиона и  двадесет хиляди и  двадесет лева"_s;
    QTest::newRow("21 millions") << u"21000000"_s << u"двадесет и един милион лева"_s;
    QTest::newRow("101 millions 1 thousand") << u"101001000"_s << u"сто и един милион и  хиляда лева"_s;
    QTest::newRow("9 digits") << u"999999999"_s
                              << u"деветстотин  деветдесет и девет милиона деветстотин  деветдесет и девет хиляди "
                                 u"деветстотин  деветдесет и девет лева"_s;

    // No words.
    QTest::newRow("0") << u"0"_s << u""_s;
    QTest::newRow("empty") << u""_s << u""_s;
    QTest::newRow("10 digits") << u"1000000000"_s << u""_s;
    QTest::newRow("12 digits") << u"123456789012"_s << u""_s;
    QTest::newRow("sign") << u"-5"_s << u""_s;
    QTest::newRow("decimal point") << u"12.5"_s << u""_s;
}

void TstAmountInWords::amountInWords()
{
    QFETCH(QString, digits);
    QFETCH(QString, expected);
    QCOMPARE(AmountInWords(digits), expected);
}

void TstAmountInWords::withStotinki_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("expected");

    QTest::newRow("12.50") << 12.50 << u" дванадесет лева и 50 ст."_s;
    QTest::newRow("0.40") << 0.40 << u" и 40 ст."_s;
    QTest::newRow("12.00") << 12.00 << u" дванадесет лева"_s;
    QTest::newRow("2.005 rounds up a stotinka") << 2.005 << u" два лева и 1 ст."_s;
    QTest::newRow("5 stotinki without zero") << 3.05 << u" три лева и 5 ст."_s;
    QTest::newRow("99 stotinki") << 1.99 << u" един лев и 99 ст."_s;
    QTest::newRow("below half a stotinka") << 0.004 << u""_s;
    QTest::newRow("half to even, down") << 0.1241 << u" и 12 ст."_s;
    QTest::newRow("half to even, up") << 0.3741 << u" и 38 ст."_s;
    QTest::newRow("12.996 carries") << 12.996 << u" тринадесет лева"_s;
    QTest::newRow("0.996 carries") << 0.996 << u" един лев"_s;
    QTest::newRow("999.996 carries to a thousand") << 999.996 << u" хиляда лева"_s;
    QTest::newRow("millions with stotinki") << 1234567.89
                                            << u"един милион двеста  тридесет и четири хиляди петстотин  "
                                               u"шестдесет и седем лева и 89 ст."_s;
    QTest::newRow("9 digits") << 999999999.25
                              << u"деветстотин  деветдесет и девет милиона деветстотин  деветдесет и девет хиляди "
                                 u"деветстотин  деветдесет и девет лева и 25 ст."_s;
    QTest::newRow("10 digits: stotinki only") << 1000000000.40 << u" и 40 ст."_s;
    QTest::newRow("10 digits whole") << 1234567890.0 << u""_s;
    QTest::newRow("carry into 10 digits") << 999999999.996 << u""_s;
    QTest::newRow("zero") << 0.0 << u""_s;
    QTest::newRow("negative") << -12.5 << u""_s;
    QTest::newRow("negative zero") << -0.0 << u""_s;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << u""_s;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << u""_s;
}

void TstAmountInWords::withStotinki()
{
    QFETCH(double, amount);
    QFETCH(QString, expected);
    QCOMPARE(AmountInWordsWithStotinki(amount), expected);
}

// The euro text is the leva text with the units group's gender and the currency word changed,
// and nothing else: the same groups, joins and blanks, for every group value in every position
// and for amounts across the whole range.
void TstAmountInWords::euroFollowsTheLevaForm()
{
    const auto inEuro = [](QString leva) {
        for (const auto& [from, to] : {std::pair{u" един лев"_s, u" едно евро"_s},
                                       std::pair{u" два лева"_s, u" две евро"_s}, std::pair{u" лева"_s, u" евро"_s}})
            if (leva.endsWith(from)) return leva.chopped(from.size()) + to;
        return leva;
    };
    QStringList amounts;
    for (int n = 1; n <= 999; ++n)
        amounts << QString::number(n) << QString::number(n) + u"000"_s << QString::number(n) + u"000000"_s
                << QString::number(n) + u"001"_s << QString::number(n) + u"000002"_s;
    for (qint64 n = 7; n < 1000000000; n += 99991) amounts << QString::number(n);
    for (const QString& a : amounts) {
        const QString euro = AmountInWordsEuro(a);
        QVERIFY2(euro == inEuro(AmountInWords(a)), qPrintable(a + u": \""_s + euro + u'"'));
        QVERIFY2(euro.endsWith(u" евро"_s) && !euro.contains(u"лев"_s), qPrintable(a + u": \""_s + euro + u'"'));
    }
    for (const QString& none : {u"0"_s, u""_s, u"1000000000"_s, u"-5"_s, u"12.5"_s})
        QCOMPARE(AmountInWordsEuro(none), QString());
}

void TstAmountInWords::withCents_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("expected");

    QTest::newRow("1") << 1.0 << u" едно евро"_s;
    QTest::newRow("2") << 2.0 << u" две евро"_s;
    QTest::newRow("21") << 21.0 << u" двадесет и едно евро"_s;
    QTest::newRow("22") << 22.0 << u" двадесет и две евро"_s;
    QTest::newRow("100") << 100.0 << u" сто евро"_s;
    QTest::newRow("101") << 101.0 << u" сто и едно евро"_s;
    QTest::newRow("1,000") << 1000.0 << u" хиляда евро"_s;
    QTest::newRow("2,001") << 2001.0 << u" две хиляди и  едно евро"_s;
    QTest::newRow("2,002") << 2002.0 << u" две хиляди и  две евро"_s;
    QTest::newRow("21,021") << 21021.0 << u" двадесет и една хиляди двадесет и едно евро"_s;
    QTest::newRow("1,000,000") << 1000000.0 << u"един милион евро"_s;
    QTest::newRow("2,000,001") << 2000001.0 << u"два милиона и  едно евро"_s;
    QTest::newRow("22,222,222") << 22222222.0
                                << u"двадесет и два милиона двеста  двадесет и две хиляди "
                                   u"двеста  двадесет и две евро"_s;
    QTest::newRow("1 cent") << 5.01 << u" пет евро и 1 цент"_s;
    QTest::newRow("50 cents") << 12.50 << u" дванадесет евро и 50 цента"_s;
    QTest::newRow("99 cents") << 1.99 << u" едно евро и 99 цента"_s;
    QTest::newRow("11 cents") << 3.11 << u" три евро и 11 цента"_s;
    QTest::newRow("21 cents") << 3.21 << u" три евро и 21 цент"_s;
    QTest::newRow("cents only") << 0.40 << u" и 40 цента"_s;
    QTest::newRow("2.005 rounds up a cent") << 2.005 << u" две евро и 1 цент"_s;
    QTest::newRow("12.996 carries") << 12.996 << u" тринадесет евро"_s;
    QTest::newRow("0.996 carries to one euro") << 0.996 << u" едно евро"_s;
    QTest::newRow("999.996 carries to a thousand") << 999.996 << u" хиляда евро"_s;
    QTest::newRow("10 digits: cents only") << 1000000000.40 << u" и 40 цента"_s;
    QTest::newRow("zero") << 0.0 << u""_s;
    QTest::newRow("negative") << -12.5 << u""_s;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << u""_s;
}

void TstAmountInWords::withCents()
{
    QFETCH(double, amount);
    QFETCH(QString, expected);
    QCOMPARE(AmountInWordsWithCents(amount), expected);
    QCOMPARE(AmountInWordsIn(BaseCurrency::Currency::Euro, amount), expected);
    QCOMPARE(AmountInWordsIn(BaseCurrency::Currency::Leva, amount), AmountInWordsWithStotinki(amount));
}

QTEST_GUILESS_MAIN(TstAmountInWords)
#include "tst_amountinwords.moc"
