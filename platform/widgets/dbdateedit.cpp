#include "platform/widgets/dbdateedit.h"

#include "platform/dataset/smpdataset.h"

namespace {

// The lowest value of each control stands for an empty field and is shown blank.
const QDate kNoDate(1900, 1, 1);
constexpr double kNoNumber = -1e12;

} // namespace

DBDateEdit::DBDateEdit(QWidget* parent) : QDateEdit(parent), FieldBound(this)
{
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    setCalendarPopup(true);
    setMinimumDate(kNoDate);
    setSpecialValueText(QStringLiteral(" "));
    connect(&link_, &FieldDataLink::changed, this, &DBDateEdit::showValue);
    connect(this, &QDateEdit::dateChanged, this, &DBDateEdit::write);
    showValue();
}

void DBDateEdit::showValue()
{
    const SmpField* f = link_.field();
    syncing_ = true;
    setDate(f && link_.hasValue() && !f->isNull() ? f->asDate() : kNoDate);
    setReadOnly(!link_.canModify());
    syncing_ = false;
}

void DBDateEdit::write(const QDate& date)
{
    if (syncing_) return;
    const QVariant value = date == kNoDate ? QVariant() : QVariant(QDateTime(date, QTime(0, 0), Qt::UTC));
    if (!link_.edit() || !link_.writeValue(value)) showValue();
}

DBSpinBox::DBSpinBox(QWidget* parent) : QDoubleSpinBox(parent), FieldBound(this)
{
    setRange(kNoNumber, 1e12);
    setSpecialValueText(QStringLiteral(" "));
    setGroupSeparatorShown(false);
    connect(&link_, &FieldDataLink::changed, this, &DBSpinBox::showValue);
    connect(this, &QDoubleSpinBox::valueChanged, this, &DBSpinBox::write);
    showValue();
}

void DBSpinBox::showValue()
{
    const SmpField* f = link_.field();
    syncing_ = true;
    setDecimals(f && f->type() == SmpField::Type::Integer ? 0 : 3);
    setValue(f && link_.hasValue() && !f->isNull() ? f->asFloat() : kNoNumber);
    setReadOnly(!link_.canModify());
    syncing_ = false;
}

void DBSpinBox::write(double value)
{
    if (syncing_) return;
    const SmpField* f = link_.field();
    QVariant v;
    if (value > kNoNumber) v = f && f->type() == SmpField::Type::Integer ? QVariant(qRound64(value)) : QVariant(value);
    if (!link_.edit() || !link_.writeValue(v)) showValue();
}
