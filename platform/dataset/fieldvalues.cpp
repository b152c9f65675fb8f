#include "platform/dataset/fieldvalues.h"

#include "platform/base/formats.h"
#include "platform/db/connection.h"
#include "platform/db/dberror.h"

#include <QCollator>
#include <QStringEncoder>

#include <cmath>

namespace {

bool isNumberType(int id)
{
    switch (id) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Bool: return true;
    default: return false;
    }
}

QDateTime wallClock(const QDate& d) { return QDateTime(d, QTime(0, 0), Qt::UTC); }

// Date and time as written by the user ("dd.MM.yyyy", with an optional time) or by code (ISO).
std::optional<QDateTime> textToDateTime(const QString& text)
{
    const QString t = text.trimmed();
    if (const auto d = Formats::textToDate(t)) return wallClock(*d);
    const int blank = t.indexOf(u' ');
    if (blank > 0) {
        if (const auto d = Formats::textToDate(t.left(blank))) {
            for (const char* f : {"h:mm:ss", "h:mm", "h:mm:ss.zzz"}) {
                const QTime tm = QTime::fromString(t.mid(blank + 1).trimmed(), QLatin1String(f));
                if (tm.isValid()) return QDateTime(*d, tm, Qt::UTC);
            }
        }
    }
    const QDate iso = QDate::fromString(t, Qt::ISODate);
    if (iso.isValid()) return wallClock(iso);
    QDateTime isoTime = QDateTime::fromString(t, Qt::ISODateWithMs);
    if (isoTime.isValid()) return QDateTime(isoTime.date(), isoTime.time(), Qt::UTC);
    return std::nullopt;
}

QString describe(const QVariant& v) { return v.typeId() == QMetaType::QByteArray ? QStringLiteral("(BLOB)") : v.toString(); }

const QCollator& collator()
{
    static const QCollator c = [] {
        QCollator x(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
        x.setCaseSensitivity(Qt::CaseInsensitive);
        x.setNumericMode(false);
        return x;
    }();
    return c;
}

} // namespace

bool FieldValues::isNull(const QVariant& v) { return !v.isValid() || v.isNull(); }

bool FieldValues::fitsCharacterSet(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x80) {
            QStringEncoder enc("windows-1251", QStringConverter::Flag::Stateless);
            (void)enc.encode(text).operator QByteArray();
            return !enc.hasError();
        }
    return true;
}

QVariant FieldValues::tryToStored(const QVariant& v, SmpField::Type type, bool* ok)
{
    *ok = true;
    if (isNull(v)) return {};
    const bool isText = v.typeId() == QMetaType::QString;
    const QString text = isText ? v.toString() : QString();
    switch (type) {
    case SmpField::Type::Integer:
    case SmpField::Type::Bool:
        if (isText) {
            if (text.trimmed().isEmpty()) return {};
            if (const auto n = Formats::textToInteger(text)) return QVariant(*n);
            *ok = false;
            return {};
        }
        if (v.typeId() == QMetaType::Int) return v;
        if (v.typeId() == QMetaType::Bool) return QVariant(qint64(v.toBool()));
        if (isNumberType(v.typeId())) {
            const double d = v.toDouble();
            if (d != std::floor(d) || !std::isfinite(d) || std::abs(d) >= 9223372036854775808.0) break;
            return QVariant(v.toLongLong());
        }
        break;
    case SmpField::Type::Float:
        if (isText) {
            if (text.trimmed().isEmpty()) return {};
            if (const auto n = Formats::textToNumber(text)) return QVariant(*n);
            *ok = false;
            return {};
        }
        if (isNumberType(v.typeId())) {
            const double d = v.toDouble();
            if (std::isfinite(d)) return QVariant(d);
        }
        break;
    case SmpField::Type::String:
    case SmpField::Type::Text:
        if (v.typeId() == QMetaType::QByteArray) break;
        if (isText) return v;
        if (v.typeId() == QMetaType::Double) return Formats::numberToText(v.toDouble());
        if (v.typeId() == QMetaType::QDate) return Formats::dateToText(v.toDate());
        return QVariant(v.toString());
    case SmpField::Type::DateTime:
        if (v.typeId() == QMetaType::QDate) return v.toDate().isValid() ? QVariant(wallClock(v.toDate())) : QVariant();
        if (v.typeId() == QMetaType::QDateTime) {
            const QDateTime dt = v.toDateTime();
            if (!dt.isValid()) break;
            return dt.timeSpec() == Qt::UTC ? v : QVariant(QDateTime(dt.date(), dt.time(), Qt::UTC));
        }
        if (isText) {
            if (text.trimmed().isEmpty()) return {};
            if (const auto dt = textToDateTime(text)) return *dt;
        }
        break;
    case SmpField::Type::Bytes:
        if (v.typeId() == QMetaType::QByteArray) return v;
        break;
    }
    *ok = false;
    return {};
}

QVariant FieldValues::toStored(const QVariant& v, SmpField::Type type)
{
    bool ok = false;
    const QVariant out = tryToStored(v, type, &ok);
    if (!ok) {
        const QString expected = type == SmpField::Type::Integer || type == SmpField::Type::Bool ? QStringLiteral("цяло число")
                                 : type == SmpField::Type::Float                                 ? QStringLiteral("число")
                                 : type == SmpField::Type::DateTime ? QStringLiteral("дата (дд.мм.гггг)")
                                                                    : QStringLiteral("стойност от този вид");
        throw DbError(QStringLiteral("„%1“ не е %2.").arg(describe(v), expected));
    }
    if ((type == SmpField::Type::String || type == SmpField::Type::Text) && !fitsCharacterSet(out.toString()))
        throw DbError(QStringLiteral("Текстът „%1“ съдържа знаци, които базата данни не може да запише.").arg(out.toString()));
    return out;
}

void FieldValues::checkFits(const QVariant& stored, const DbColumn& column)
{
    if (isNull(stored) || column.relation.isEmpty()) return;
    enum : unsigned { SqlText = 452, SqlVarying = 448, SqlShort = 500, SqlLong = 496, SqlInt64 = 580 };
    if (column.sqlType == SqlText || column.sqlType == SqlVarying) {
        const QString text = stored.toString();
        if (column.kind == DbColumn::Kind::Text && column.length > 0 && text.size() > qsizetype(column.length))
            throw DbError(QStringLiteral("„%1“ е по-дълъг от %2 знака.").arg(text).arg(column.length));
        return;
    }
    const int bits = column.sqlType == SqlShort ? 16 : column.sqlType == SqlLong ? 32 : column.sqlType == SqlInt64 ? 64 : 0;
    if (bits == 0 || !isNumberType(stored.typeId())) return;
    // The column holds whole numbers of 10^scale; what it can hold is the range of its storage.
    const double unit = std::pow(10.0, -column.scale);
    const double most = bits == 64 ? 9223372036854775807.0 : std::ldexp(1.0, bits - 1) - 1;
    const double least = -most - 1;
    bool fits;
    if (column.scale == 0 && stored.typeId() != QMetaType::Double && stored.typeId() != QMetaType::Float)
        fits = bits == 64 || (stored.toLongLong() >= qint64(least) && stored.toLongLong() <= qint64(most));
    else {
        const double units = std::round(stored.toDouble() * unit);
        fits = units >= least && (bits == 64 ? units < 9223372036854775808.0 : units <= most);
    }
    if (!fits) {
        const auto bound = [&](double n) {
            return column.scale == 0 ? QString::number(qint64(n)) : QString::number(n / unit, 'f', -column.scale);
        };
        throw DbError(QStringLiteral("„%1“ е извън допустимите граници (от %2 до %3).")
                          .arg(describe(stored), bound(least), bound(most)));
    }
}

void FieldValues::appendKeyText(QString& key, const QVariant& v, SmpField::Type type)
{
    key += u'\x1f';
    if (isNull(v)) {
        key += u'\x1e';
        return;
    }
    switch (type) {
    case SmpField::Type::Integer:
    case SmpField::Type::Bool:
        if (v.typeId() == QMetaType::Double) {
            key += QString::number(v.toDouble(), 'g', 17);
            return;
        }
        key += QString::number(v.toLongLong());
        return;
    case SmpField::Type::Float: {
        const double d = v.toDouble();
        // An integral float keys like the integer, so a float column finds an integer key.
        key += d == std::floor(d) && std::abs(d) < 9e15 ? QString::number(qint64(d)) : QString::number(d, 'g', 17);
        return;
    }
    case SmpField::Type::DateTime: {
        const QDateTime dt = v.typeId() == QMetaType::QDate ? wallClock(v.toDate()) : v.toDateTime();
        key += dt.date().toString(Qt::ISODate) + u'T' + dt.time().toString(QStringLiteral("HH:mm:ss.zzz"));
        return;
    }
    case SmpField::Type::Bytes: key += QString::fromLatin1(v.toByteArray().toHex()); return;
    case SmpField::Type::String:
    case SmpField::Type::Text: key += v.toString(); return;
    }
}

QString FieldValues::keyText(const QVariant& stored, SmpField::Type type)
{
    QString k;
    appendKeyText(k, stored, type);
    return k.mid(1);
}

int FieldValues::compare(const QVariant& a, const QVariant& b, SmpField::Type type)
{
    const bool an = isNull(a), bn = isNull(b);
    if (an || bn) return an == bn ? 0 : (an ? -1 : 1);
    switch (type) {
    case SmpField::Type::Integer:
    case SmpField::Type::Bool:
    case SmpField::Type::Float: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case SmpField::Type::DateTime: {
        const QDateTime x = a.typeId() == QMetaType::QDate ? wallClock(a.toDate()) : a.toDateTime();
        const QDateTime y = b.typeId() == QMetaType::QDate ? wallClock(b.toDate()) : b.toDateTime();
        return x.date() != y.date() ? (x.date() < y.date() ? -1 : 1) : (x.time() < y.time() ? -1 : (x.time() > y.time() ? 1 : 0));
    }
    case SmpField::Type::Bytes: {
        const QByteArray x = a.toByteArray(), y = b.toByteArray();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case SmpField::Type::String:
    case SmpField::Type::Text: {
        const QString x = a.toString(), y = b.toString();
        const int c = collator().compare(x, y);
        return c != 0 ? (c < 0 ? -1 : 1) : QString::compare(x, y);
    }
    }
    return 0;
}

bool FieldValues::equal(const QVariant& a, const QVariant& b, SmpField::Type type)
{
    if (isNull(a) || isNull(b)) return isNull(a) == isNull(b);
    return keyText(a, type) == keyText(b, type);
}

QStringList FieldValues::splitFields(const QString& list)
{
    QStringList out;
    for (const QString& p : list.split(u';', Qt::SkipEmptyParts))
        if (!p.trimmed().isEmpty()) out << p.trimmed();
    return out;
}
