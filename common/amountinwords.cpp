#include "common/amountinwords.h"

#include "common/basecurrency.h"

#include <array>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

int scaleIndex(WordScale scale) { return static_cast<int>(scale); }

// Indexed by scale, then by digit.
const std::array<std::array<QString, 10>, 4>& digitWords()
{
    static const std::array<std::array<QString, 10>, 4> words{{
        {u""_s, u"един милион"_s, u"два милиона"_s, u"три милиона"_s, u"четири милиона"_s, u"пет милиона"_s,
         u"шест милиона"_s, u"седем милиона"_s, u"осем милиона"_s, u"девет милиона"_s},
        {u""_s, u"хиляда"_s, u"две хиляди"_s, u"три хиляди"_s, u"четири хиляди"_s, u"пет хиляди"_s,
         u"шест хиляди"_s, u"седем хиляди"_s, u"осем хиляди"_s, u"девет хиляди"_s},
        {u""_s, u"един "_s + BaseCurrency::singular(), u"два "_s + BaseCurrency::plural(),
         u"три "_s + BaseCurrency::plural(), u"четири "_s + BaseCurrency::plural(), u"пет "_s + BaseCurrency::plural(),
         u"шест "_s + BaseCurrency::plural(), u"седем "_s + BaseCurrency::plural(),
         u"осем "_s + BaseCurrency::plural(), u"девет "_s + BaseCurrency::plural()},
        {u""_s, u"едно евро"_s, u"две евро"_s, u"три евро"_s, u"четири евро"_s, u"пет евро"_s, u"шест евро"_s,
         u"седем евро"_s, u"осем евро"_s, u"девет евро"_s},
    }};
    return words;
}

QString scaleWord(WordScale scale)
{
    switch (scale) {
    case WordScale::Millions: return u"милиона"_s;
    case WordScale::Thousands: return u"хиляди"_s;
    case WordScale::Leva: return BaseCurrency::plural();
    case WordScale::Euro: return BaseCurrency::names(BaseCurrency::Currency::Euro).plural;
    }
    return {};
}

// 10 to 20.
const std::array<QString, 11>& teenStems()
{
    static const std::array<QString, 11> stems{
        u"десет"_s,        u"единадесет"_s,  u"дванадесет"_s,   u"тринадесет"_s,
        u"четиринадесет"_s, u"петнадесет"_s,  u"шестнадесет"_s,  u"седемнадесет"_s,
        u"осемнадесет"_s,  u"деветнадесет"_s, u"двадесет"_s,
    };
    return stems;
}

// Indexed by the tens digit, 2 to 9.
const std::array<QString, 10>& tensStems()
{
    static const std::array<QString, 10> stems{
        u""_s,          u""_s,         u"двадесет"_s,  u"тридесет"_s,  u"четиридесет"_s,
        u"петдесет"_s,  u"шестдесет"_s, u"седемдесет"_s, u"осемдесет"_s, u"деветдесет"_s,
    };
    return stems;
}

// Indexed by the hundreds digit, 1 to 9.
const std::array<QString, 10>& hundredsStems()
{
    static const std::array<QString, 10> stems{
        u""_s,           u"сто"_s,         u"двеста"_s,      u"триста"_s,     u"четиристотин"_s,
        u"петстотин"_s,  u"шестстотин"_s,  u"седемстотин"_s, u"осемстотин"_s, u"деветстотин"_s,
    };
    return stems;
}

bool isWholeTen(int n) { return n % 10 == 0; }

// The group values after which a preceding group is joined with " и ".
bool inJoinSet(int v)
{
    return (v >= 1 && v <= 20) || (v >= 30 && v <= 90 && v % 10 == 0) || (v >= 100 && v <= 900 && v % 100 == 0);
}

// The word of a group by its value, as the thousands and leva groups pick it.
QString groupWordByValue(int v, WordScale scale)
{
    if (v >= 1 && v <= 9) return DigitWord(v, scale);
    if (v >= 10 && v <= 99) return TwoDigitWord(v, scale);
    if (v >= 100 && v <= 999) return ThreeDigitWord(v, scale);
    return {};
}

// The millions group picks its word by the length of its text.
QString groupWordByLength(const QString& group, WordScale scale)
{
    const int v = group.toInt();
    switch (group.size()) {
    case 1: return DigitWord(v, scale);
    case 2: return TwoDigitWord(v, scale);
    case 3: return ThreeDigitWord(v, scale);
    default: return {};
    }
}

bool plainDigits(const QString& s)
{
    for (const QChar c : s)
        if (c < u'0' || c > u'9') return false;
    return true;
}

double roundHalfToEven(double v)
{
    const double down = std::floor(v);
    const double diff = v - down;
    if (diff > 0.5) return down + 1;
    if (diff < 0.5) return down;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1;
}

} // namespace

QString DigitWord(int digit, WordScale scale)
{
    if (digit < 1 || digit > 9) return {};
    return digitWords()[std::size_t(scaleIndex(scale))][std::size_t(digit)];
}

QString TwoDigitWord(int value, WordScale scale)
{
    if (value < 10 || value > 99) return {};
    const int tens = value / 10;
    if (value <= 20) return teenStems()[std::size_t(value - 10)] + u' ' + scaleWord(scale);
    if (isWholeTen(value)) return tensStems()[std::size_t(tens)] + u' ' + scaleWord(scale);
    if (scale == WordScale::Thousands && value % 10 == 1) return tensStems()[std::size_t(tens)] + u" и една хиляди"_s;
    return tensStems()[std::size_t(tens)] + u" и "_s + DigitWord(value % 10, scale);
}

QString ThreeDigitWord(int value, WordScale scale)
{
    if (value < 100 || value > 999) return {};
    const QString& stem = hundredsStems()[std::size_t(value / 100)];
    const int rest = value % 100;
    if (rest == 0) return stem + u' ' + scaleWord(scale);
    if (scale == WordScale::Thousands && rest == 1) return stem + u" и една хиляди"_s;
    if (rest <= 9) return stem + u" и "_s + DigitWord(rest, scale);
    if (rest <= 20 || isWholeTen(rest)) return stem + u" и "_s + TwoDigitWord(rest, scale);
    return stem + u"  "_s + TwoDigitWord(rest, scale);
}

namespace {

// An amount's words with the given scale for its units group.
QString amountInWordsAt(const QString& digits, WordScale unitsScale)
{
    const qsizetype len = digits.size();
    if (len < 1 || len > 9 || !plainDigits(digits)) return {};

    // Groups are text: a group that does not exist is empty, which differs from a group of zeros.
    QString millions, thousands, units;
    if (len <= 3) {
        units = digits;
    } else if (len <= 6) {
        thousands = digits.left(len - 3);
        units = digits.right(3);
    } else {
        millions = digits.left(len - 6);
        thousands = digits.mid(len - 6, 3);
        units = digits.right(3);
    }
    const int m = millions.toInt();
    const int t = thousands.toInt();
    const int u = units.toInt();

    QString result;
    if (!millions.isEmpty()) {
        result = groupWordByLength(millions, WordScale::Millions);
        if (m > 0 && inJoinSet(t)) result += u" и "_s;
    }
    if (!thousands.isEmpty()) {
        if (t > 0) result += u' ' + groupWordByValue(t, WordScale::Thousands);
        if ((t > 0 || m > 0) && inJoinSet(u)) result += u" и "_s;
    }
    if (u > 0) result += u' ' + groupWordByValue(u, unitsScale);
    // The currency word belongs to the last non-zero group; a bare thousands or millions group needs it.
    if ((!millions.isEmpty() || !thousands.isEmpty()) && u == 0) result += u' ' + scaleWord(unitsScale);
    return result;
}

// The whole part in words and the hundredths in digits, followed by their word.
QString withHundredths(double amount, BaseCurrency::Currency currency)
{
    if (!(amount > 0) || !std::isfinite(amount)) return {};
    const double shifted = amount + 0.0009;
    double whole = std::floor(shifted);
    double stotinki = roundHalfToEven((shifted - whole) * 100.0);
    // A fraction above .995 would otherwise print as "100 ст." next to the unchanged whole part.
    if (stotinki >= 100) {
        stotinki = 0;
        whole += 1;
    }
    const bool euro = currency == BaseCurrency::Currency::Euro;
    const QString words = amountInWordsAt(QString::number(whole, 'f', 0), euro ? WordScale::Euro : WordScale::Leva);
    if (stotinki == 0) return words;
    const int hundredths = int(stotinki);
    return words + u" и "_s + QString::number(hundredths) + u' ' + BaseCurrency::names(currency).fraction(hundredths);
}

} // namespace

QString AmountInWords(const QString& digits) { return amountInWordsAt(digits, WordScale::Leva); }

QString AmountInWordsEuro(const QString& digits) { return amountInWordsAt(digits, WordScale::Euro); }

QString AmountInWordsWithStotinki(double amount) { return withHundredths(amount, BaseCurrency::Currency::Leva); }

QString AmountInWordsWithCents(double amount) { return withHundredths(amount, BaseCurrency::Currency::Euro); }

QString AmountInWordsIn(BaseCurrency::Currency currency, double amount) { return withHundredths(amount, currency); }
