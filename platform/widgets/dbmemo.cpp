#include "platform/widgets/dbmemo.h"

#include "platform/dataset/smpdataset.h"

#include <QApplication>
#include <QTextCursor>

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent), FieldBound(this)
{
    connect(&link_, &FieldDataLink::changed, this, &DBMemo::onChanged);
    connect(this, &QPlainTextEdit::textChanged, this, &DBMemo::onTextChanged);
    onChanged(FieldDataLink::Change::Record);
}

void DBMemo::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    QPlainTextEdit::setReadOnly(readOnly_ || !link_.canModify());
}

void DBMemo::showValue()
{
    const SmpField* f = link_.field();
    const QString text = f && link_.hasValue() ? f->asString() : QString();
    if (text == toPlainText()) return;
    loading_ = true;
    setPlainText(text);
    loading_ = false;
}

void DBMemo::onChanged(FieldDataLink::Change change)
{
    QPlainTextEdit::setReadOnly(readOnly_ || !link_.canModify());
    if (change == FieldDataLink::Change::Record || !link_.isEditing()) modified_ = false;
    if (!modified_) showValue();
}

void DBMemo::onTextChanged()
{
    if (loading_ || !link_.dataSource()) return;
    if (!link_.canModify() || readOnly_) {
        showValue();
        return;
    }
    QString text = toPlainText();
    const SmpField* f = link_.field();
    if (f->type() == SmpField::Type::String && f->size() > 0 && text.size() > f->size()) {
        QApplication::beep();
        text.truncate(f->size());
        loading_ = true;
        setPlainText(text);
        moveCursor(QTextCursor::End);
        loading_ = false;
    }
    modified_ = true;
    if (!link_.edit()) {
        modified_ = false;
        showValue();
        return;
    }
    link_.writeText(text);
}
