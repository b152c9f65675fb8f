#include "platform/widgets/dbtext.h"

#include "platform/dataset/smpdataset.h"

DBText::DBText(QWidget* parent) : QLabel(parent), FieldBound(this)
{
    setTextFormat(Qt::PlainText);
    connect(&link_, &FieldDataLink::changed, this, &DBText::showValue);
}

void DBText::showValue()
{
    const SmpField* f = link_.field();
    setText(f && link_.hasValue() ? f->displayText() : QString());
}
