#include "platform/dataset/smpfield.h"

#include "platform/base/formats.h"
#include "platform/dataset/smpdataset.h"

#include <QTimeZone>

SmpField::SmpField(SmpDataset* dataset, const QString& fieldName, Kind kind, Type type, int size)
    : dataset_(dataset), fieldName_(fieldName), kind_(kind),
      type_(type), size_(size)
{
}

void SmpField::setDisplayLabel(const QString& label)
{
    displayLabel = label;
    dataset_->announceFieldChange();
}

void SmpField::setDisplayFormat(const QString& format)
{
    displayFormat = format;
    dataset_->announceFieldChange();
}

void SmpField::setVisible(bool on)
{
    visible = on;
    dataset_->announceFieldChange();
}

QString SmpField::name() const { return dataset_->objectName() + fieldName_; }

QVariant SmpField::value() const { return dataset_->fieldValue(this); }

void SmpField::setValue(const QVariant& v) { dataset_->setFieldValue(this, v); }

bool SmpField::isNull() const
{
    const QVariant v = value();
    return !v.isValid() || v.isNull();
}

double SmpField::asFloat() const { return value().toDouble(); }

qint64 SmpField::asInteger() const
{
    const QVariant v = value();
    return v.typeId() == QMetaType::Double ? qint64(qRound64(v.toDouble())) : v.toLongLong();
}

QString SmpField::asString() const
{
    const QVariant v = value();
    if (!v.isValid() || v.isNull()) return {};
    if (type_ == Type::Float) return Formats::numberToText(v.toDouble());
    if (type_ == Type::DateTime) return Formats::dateToText(v.toDateTime().date());
    return v.toString();
}

QDateTime SmpField::asDateTime() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QDate) return QDateTime(v.toDate(), QTime(0, 0), Qt::UTC);
    return v.toDateTime();
}

bool SmpField::setAsText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() && type_ != Type::String && type_ != Type::Text) {
        setValue(QVariant());
        return true;
    }
    switch (type_) {
    case Type::Integer:
    case Type::Bool: {
        const auto n = Formats::textToInteger(t);
        if (!n) return false;
        setValue(*n);
        return true;
    }
    case Type::Float: {
        const auto n = Formats::textToNumber(t);
        if (!n) return false;
        setValue(*n);
        return true;
    }
    case Type::DateTime: {
        const auto d = Formats::textToDate(t);
        if (!d) return false;
        setValue(QDateTime(*d, QTime(0, 0), Qt::UTC));
        return true;
    }
    case Type::Bytes: return false;
    case Type::String:
    case Type::Text:
        if (size_ > 0 && text.size() > size_) return false;
        setValue(text.isEmpty() ? QVariant() : QVariant(text));
        return true;
    }
    return false;
}

QString SmpField::formatValue(const QVariant& v, Type type, const QString& format)
{
    if (!v.isValid() || v.isNull()) return {};
    switch (type) {
    case Type::Integer:
    case Type::Float:
        if (!format.isEmpty()) return Formats::formatNumber(v.toDouble(), format);
        return type == Type::Integer ? QString::number(v.toLongLong()) : Formats::numberToText(v.toDouble());
    case Type::DateTime: {
        const QDateTime dt = v.typeId() == QMetaType::QDate ? QDateTime(v.toDate(), QTime(0, 0), Qt::UTC) : v.toDateTime();
        if (!format.isEmpty()) return Formats::formatDateTime(dt, format);
        return dt.time() == QTime(0, 0) ? Formats::dateToText(dt.date()) : Formats::dateTimeToText(dt);
    }
    case Type::Bytes: return QStringLiteral("(BLOB)");
    case Type::Bool:
    case Type::String:
    case Type::Text: return v.toString();
    }
    return v.toString();
}

QString SmpField::displayText() const { return formatValue(value(), type_, displayFormat); }

QString SmpField::editText() const { return formatValue(value(), type_, QString()); }
