#include "platform/base/formats.h"

#include <QByteArray>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <QTime>

#include <clocale>
#include <cmath>

namespace {

// A non-negative value rounded to a fixed number of decimals, as digit text.
struct Rounded {
    QString intDigits;  // without leading zeros; empty when the integer part is 0
    QString fracDigits; // exactly as many digits as requested
    bool zero = true;
};

// Rounds half away from zero on the value's 15-significant-digit decimal form,
// the precision a double reliably carries. Rounding the binary value directly
// would turn 2.675 into 2.67 and 1.005 into 1.00, because their nearest
// doubles lie just below the tie.
Rounded roundDecimal(double absValue, int decimals)
{
    const QByteArray sci = QByteArray::number(absValue, 'e', 14); // d.(14 digits)e±XX
    const QByteArray digits = sci.left(1) + sci.mid(2, 14);
    const int exponent = sci.mid(sci.indexOf('e') + 1).toInt();
    const qsizetype keep = qsizetype(exponent) + 1 + decimals;

    // absValue * 10^decimals, rounded, as an integer digit string.
    QByteArray scaled;
    if (keep >= 0) {
        scaled = digits.left(keep);
        if (keep > digits.size()) {
            scaled.append(QByteArray(keep - digits.size(), '0'));
        } else if (keep < digits.size() && digits.at(keep) >= '5') {
            qsizetype i = scaled.size() - 1;
            while (i >= 0 && scaled.at(i) == '9')
                scaled[i--] = '0';
            if (i < 0)
                scaled.prepend('1');
            else
                scaled[i] = char(scaled.at(i) + 1);
        }
    }
    if (scaled.size() < decimals)
        scaled.prepend(QByteArray(decimals - scaled.size(), '0'));

    Rounded r;
    const qsizetype intLen = scaled.size() - decimals;
    qsizetype first = 0;
    while (first < intLen && scaled.at(first) == '0')
        ++first;
    r.intDigits = QString::fromLatin1(scaled.mid(first, intLen - first));
    r.fracDigits = QString::fromLatin1(scaled.mid(intLen));
    r.zero = scaled.count('0') == scaled.size();
    return r;
}

struct NumberSection {
    QString prefix;
    QString suffix;
    bool hasDigits = false;
    bool group = false;
    int minInt = 0;
    int maxDec = 0;
    int minDec = 0;
};

bool isPlaceholder(QChar c)
{
    return c == QLatin1Char('#') || c == QLatin1Char('0');
}

bool isQuote(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

// Reads a quoted literal starting at pattern[i]; leaves i on the closing quote.
QString takeQuoted(const QString& pattern, qsizetype& i)
{
    const qsizetype end = pattern.indexOf(pattern.at(i), i + 1);
    const QString text = pattern.mid(i + 1, end < 0 ? -1 : end - i - 1);
    i = end < 0 ? pattern.size() : end;
    return text;
}

QStringList splitSections(const QString& pattern)
{
    QStringList sections;
    QString current;
    QChar quote;
    for (const QChar c : pattern) {
        if (quote.isNull()) {
            if (c == QLatin1Char(';')) {
                sections << current;
                current.clear();
                continue;
            }
            if (isQuote(c))
                quote = c;
        } else if (c == quote) {
            quote = QChar();
        }
        current += c;
    }
    sections << current;
    return sections;
}

NumberSection parseSection(const QString& s)
{
    enum class State { Prefix, Integer, Fraction, Suffix } state = State::Prefix;
    NumberSection sec;
    QString pendingSeparators; // blanks/commas whose role depends on what follows
    int intCount = 0;
    int firstZero = -1;

    auto toSuffix = [&] {
        sec.suffix += pendingSeparators;
        pendingSeparators.clear();
        state = State::Suffix;
    };

    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (isQuote(c)) {
            const QString text = takeQuoted(s, i);
            if (state == State::Prefix) {
                sec.prefix += text;
            } else {
                if (state != State::Suffix)
                    toSuffix();
                sec.suffix += text;
            }
            continue;
        }
        switch (state) {
        case State::Prefix:
            if (isPlaceholder(c)) {
                state = State::Integer;
                if (c == QLatin1Char('0'))
                    firstZero = 0;
                intCount = 1;
            } else if (c == QLatin1Char('.') && i + 1 < s.size() && isPlaceholder(s.at(i + 1))) {
                state = State::Fraction;
            } else {
                sec.prefix += c;
            }
            break;
        case State::Integer:
            if (isPlaceholder(c)) {
                if (!pendingSeparators.isEmpty()) {
                    sec.group = true;
                    pendingSeparators.clear();
                }
                if (c == QLatin1Char('0') && firstZero < 0)
                    firstZero = intCount;
                ++intCount;
            } else if (c == QLatin1Char(' ') || c == QLatin1Char(',')) {
                pendingSeparators += c;
            } else if (c == QLatin1Char('.')) {
                pendingSeparators.clear();
                state = State::Fraction;
            } else {
                toSuffix();
                sec.suffix += c;
            }
            break;
        case State::Fraction:
            if (isPlaceholder(c)) {
                ++sec.maxDec;
                if (c == QLatin1Char('0'))
                    sec.minDec = sec.maxDec;
            } else {
                state = State::Suffix;
                sec.suffix += c;
            }
            break;
        case State::Suffix:
            sec.suffix += c;
            break;
        }
    }
    if (state == State::Integer)
        sec.suffix += pendingSeparators;
    sec.hasDigits = state != State::Prefix;
    sec.minInt = firstZero < 0 ? 0 : intCount - firstZero;
    return sec;
}

QString render(const NumberSection& sec, const Rounded& r, bool minus)
{
    if (!sec.hasDigits)
        return sec.prefix;

    QString intPart = r.intDigits;
    if (intPart.size() < sec.minInt)
        intPart.prepend(QString(sec.minInt - intPart.size(), QLatin1Char('0')));
    if (sec.group) {
        for (qsizetype i = intPart.size() - 3; i > 0; i -= 3)
            intPart.insert(i, QLatin1Char(' '));
    }

    QString frac = r.fracDigits;
    qsizetype len = frac.size();
    while (len > sec.minDec && frac.at(len - 1) == QLatin1Char('0'))
        --len;
    frac.truncate(len);

    QString out;
    if (minus)
        out += QLatin1Char('-');
    out += sec.prefix;
    out += intPart;
    if (!frac.isEmpty()) {
        out += QLatin1Char('.');
        out += frac;
    }
    out += sec.suffix;
    return out;
}

QString pad(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

const QLocale& namesLocale()
{
    static const QLocale bulgarian(QLocale::Bulgarian, QLocale::Bulgaria);
    return bulgarian;
}

QString formatMoment(const QDate& d, const QTime& t, const QString& pattern)
{
    QString out;
    char last = 0; // previous letter token, for the hour-then-minutes rule
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (isQuote(c)) {
            out += takeQuoted(pattern, i);
            continue;
        }
        const char letter = c.isLetter() && c.unicode() < 128 ? char(c.toLower().unicode()) : 0;
        if (!letter) {
            out += c;
            continue;
        }
        qsizetype n = 1;
        while (i + n < pattern.size() && pattern.at(i + n).toLower() == c.toLower())
            ++n;
        const QString run = pattern.mid(i, n);
        i += n - 1;

        char token = letter;
        if (letter == 'm' && last == 'h' && n <= 2)
            token = 'n';
        switch (token) {
        case 'd':
            out += n == 1 ? QString::number(d.day())
                 : n == 2 ? pad(d.day(), 2)
                          : namesLocale().dayName(d.dayOfWeek(), n == 3 ? QLocale::ShortFormat
                                                                        : QLocale::LongFormat);
            break;
        case 'm':
            out += n == 1 ? QString::number(d.month())
                 : n == 2 ? pad(d.month(), 2)
                          : namesLocale().monthName(d.month(), n == 3 ? QLocale::ShortFormat
                                                                      : QLocale::LongFormat);
            break;
        case 'y':
            out += n <= 2 ? pad(std::abs(d.year()) % 100, 2) : pad(d.year(), 4);
            break;
        case 'h':
            out += n == 1 ? QString::number(t.hour()) : pad(t.hour(), 2);
            break;
        case 'n':
            out += n == 1 ? QString::number(t.minute()) : pad(t.minute(), 2);
            break;
        case 's':
            out += n == 1 ? QString::number(t.second()) : pad(t.second(), 2);
            break;
        case 'z':
            out += n < 3 ? QString::number(t.msec()) : pad(t.msec(), 3);
            break;
        default:
            out += run;
            break;
        }
        last = token;
    }
    return out;
}

// Blank characters accepted as thousands separators in typed numbers.
const QString blankClass = QStringLiteral("[ \\x{00A0}\\x{202F}]");
const QString integerDigits =
    QStringLiteral("(?:[0-9]{1,3}(?:%1[0-9]{3})+|[0-9]+)").arg(blankClass);

QString stripBlanks(QString s)
{
    static const QRegularExpression blank(blankClass);
    s.remove(blank);
    return s;
}

} // namespace

QString Formats::formatNumber(double v, const QString& pattern)
{
    if (!std::isfinite(v))
        return {};
    if (pattern.isEmpty())
        return numberToText(v);

    const QStringList parts = splitSections(pattern);
    auto optionalSection = [&](int index) -> std::optional<NumberSection> {
        if (parts.size() <= index || parts.at(index).isEmpty())
            return std::nullopt;
        return parseSection(parts.at(index));
    };
    const NumberSection positive = parseSection(parts.at(0));
    const std::optional<NumberSection> negative = optionalSection(1);
    const std::optional<NumberSection> zero = optionalSection(2);

    const bool useNegative = v < 0 && negative;
    const NumberSection& sec = useNegative ? *negative : positive;
    const Rounded r = roundDecimal(std::fabs(v), sec.maxDec);
    if (r.zero) {
        const NumberSection& z = zero ? *zero : positive;
        return render(z, roundDecimal(0.0, z.maxDec), false);
    }
    return render(sec, r, v < 0 && !useNegative);
}

QString Formats::formatDate(const QDate& date, const QString& pattern)
{
    if (!date.isValid())
        return {};
    return formatMoment(date, QTime(0, 0), pattern);
}

QString Formats::formatDateTime(const QDateTime& dateTime, const QString& pattern)
{
    if (!dateTime.isValid())
        return {};
    return formatMoment(dateTime.date(), dateTime.time(), pattern);
}

QString Formats::dateToText(const QDate& date)
{
    if (!date.isValid())
        return {};
    return pad(date.day(), 2) + QLatin1Char('.') + pad(date.month(), 2) + QLatin1Char('.')
           + pad(date.year(), 4);
}

QString Formats::dateTimeToText(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return {};
    const QTime t = dateTime.time();
    return dateToText(dateTime.date()) + QLatin1Char(' ') + pad(t.hour(), 2) + QLatin1Char(':')
           + pad(t.minute(), 2) + QLatin1Char(':') + pad(t.second(), 2);
}

std::optional<QDate> Formats::textToDate(const QString& text)
{
    // [0-9] rather than \d: \d would also match non-ASCII digits.
    static const QRegularExpression re(
        QStringLiteral("^([0-9]{1,2})\\.([0-9]{1,2})\\.([0-9]{4}|[0-9]{2})$"));
    const QRegularExpressionMatch m = re.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    int year = m.captured(3).toInt();
    if (m.capturedLength(3) == 2)
        year += year < 50 ? 2000 : 1900;
    const QDate date(year, m.captured(2).toInt(), m.captured(1).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString Formats::numberToText(double v, int decimals)
{
    if (!std::isfinite(v))
        return {};
    if (decimals < 0) {
        if (v == 0.0)
            v = 0.0; // drops the sign of -0.0
        return QString::number(v, 'f', QLocale::FloatingPointShortest);
    }
    const Rounded r = roundDecimal(std::fabs(v), decimals);
    QString out;
    if (v < 0 && !r.zero)
        out += QLatin1Char('-');
    out += r.intDigits.isEmpty() ? QStringLiteral("0") : r.intDigits;
    if (decimals > 0) {
        out += QLatin1Char('.');
        out += r.fracDigits;
    }
    return out;
}

std::optional<double> Formats::textToNumber(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral("^[+-]?(?:%1(?:[.,][0-9]*)?|[.,][0-9]+)$").arg(integerDigits));
    const QString trimmed = text.trimmed();
    if (!re.match(trimmed).hasMatch())
        return std::nullopt;
    bool ok = false;
    // QString::toDouble always reads the C locale form.
    const double v = stripBlanks(trimmed).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<qint64> Formats::textToInteger(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^[+-]?%1$").arg(integerDigits));
    const QString trimmed = text.trimmed();
    if (!re.match(trimmed).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint64 v = stripBlanks(trimmed).toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

void Formats::installProcessFormats()
{
    // No locale pairs '.' decimals with "dd.MM.yyyy" dates, so the default
    // only needs to get numbers right; dates are always formatted here.
    QLocale::setDefault(QLocale::c());
    // QCoreApplication adopts the user's locale for the C library at start-up.
    std::setlocale(LC_NUMERIC, "C");
}
