#include "platform/widgets/dbcheckbox.h"

#include "platform/dataset/smpdataset.h"

namespace {

bool matches(const QString& values, const QString& text)
{
    for (const QString& v : values.split(u';'))
        if (v.trimmed().compare(text, Qt::CaseInsensitive) == 0) return true;
    return false;
}

QString firstOf(const QString& values) { return values.section(u';', 0, 0).trimmed(); }

} // namespace

DBCheckBox::DBCheckBox(QWidget* parent) : DBCheckBox(QString(), parent) {}

DBCheckBox::DBCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent), FieldBound(this)
{
    connect(&link_, &FieldDataLink::changed, this, &DBCheckBox::showValue);
    showValue();
}

void DBCheckBox::setValueChecked(const QString& value)
{
    valueChecked_ = value;
    showValue();
}

void DBCheckBox::setValueUnchecked(const QString& value)
{
    valueUnchecked_ = value;
    showValue();
}

void DBCheckBox::showValue()
{
    const SmpField* f = link_.field();
    Qt::CheckState state = Qt::Unchecked;
    if (f && link_.hasValue()) {
        const QString text = f->isNull() ? QString() : f->editText();
        if (!f->isNull() && matches(valueChecked_, text)) state = Qt::Checked;
        else if (!f->isNull() && matches(valueUnchecked_, text)) state = Qt::Unchecked;
        else state = Qt::PartiallyChecked;
    }
    setCheckState(state);
}

void DBCheckBox::nextCheckState()
{
    // Only the two values are ever chosen; the greyed state is shown, never picked.
    if (readOnly_ || !link_.edit()) return;
    const bool check = checkState() != Qt::Checked;
    if (link_.writeText(firstOf(check ? valueChecked_ : valueUnchecked_)))
        setCheckState(check ? Qt::Checked : Qt::Unchecked);
    else
        showValue();
}
