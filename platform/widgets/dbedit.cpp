#include "platform/widgets/dbedit.h"

#include "platform/dataset/smpdataset.h"
#include "platform/ui/uiservice.h"

#include <QApplication>
#include <QKeyEvent>

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent), FieldBound(this)
{
    connect(&link_, &FieldDataLink::changed, this, &DBEdit::onChanged);
    connect(&link_, &FieldDataLink::aboutToPost, this, [this] { commit(); });
    // textChanged rather than textEdited: a text set by code counts as the user's.
    connect(this, &QLineEdit::textChanged, this, &DBEdit::onTextChanged);
    connect(this, &QLineEdit::editingFinished, this, [this] { commit(); });
    onChanged(FieldDataLink::Change::Record);
}

void DBEdit::setDigitsOnly(bool on)
{
    digitsOnly_ = on;
    configured_ = false;
    configure();
}

void DBEdit::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    QLineEdit::setReadOnly(readOnly_ || !link_.canModify());
}

void DBEdit::configure()
{
    const SmpField* f = link_.field();
    QLineEdit::setReadOnly(readOnly_ || !link_.canModify());
    if (configured_ && f == configuredFor_) return;
    configured_ = true;
    configuredFor_ = f;
    if (QValidator* old = const_cast<QValidator*>(validator())) {
        setValidator(nullptr);
        delete old;
    }
    loading_ = true;
    if (QValidator* v = FieldValidator::forField(f, digitsOnly_, this)) setValidator(v);
    setMaxLength(f && f->type() == SmpField::Type::String && f->size() > 0 ? f->size() : 32767);
    loading_ = false;
}

void DBEdit::showValue(bool forEditing)
{
    const SmpField* f = link_.field();
    QString text;
    if (f && link_.hasValue()) text = forEditing ? f->editText() : f->displayText();
    loading_ = true;
    if (text != QLineEdit::text()) setText(text);
    loading_ = false;
}

void DBEdit::onChanged(FieldDataLink::Change change)
{
    configure();
    // A pending text survives changes of the row's values and the switch into edit mode (both
    // come from its own typing or from code beside it); anything else shows the row again.
    if (change == FieldDataLink::Change::Record || !link_.isEditing()) modified_ = false;
    if (modified_) return;
    showValue(hasFocus() && link_.canModify());
}

void DBEdit::onTextChanged(const QString& text)
{
    if (loading_ || !link_.dataSource()) return;
    if (!link_.canModify() || readOnly_) {
        showValue(false);
        return;
    }
    modified_ = true;
    if (!link_.edit()) {
        modified_ = false;
        showValue(hasFocus());
        return;
    }
    link_.writeText(text);  // a text the field refuses waits for commit()
}

bool DBEdit::commit()
{
    if (!modified_) return true;
    modified_ = false;
    bool ok = true;
    if (link_.field() && link_.isEditing()) {
        const QString typed = text();
        ok = link_.writeText(typed);
        if (!ok) UiService::current().showMessage(DbControls::invalidValueMessage(link_.field(), typed));
    }
    showValue(hasFocus() && link_.canModify());
    return ok;
}

void DBEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (!modified_ && link_.canModify()) showValue(true);
}

void DBEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (modified_) commit();
    else showValue(false);
}

void DBEdit::keyPressEvent(QKeyEvent* event)
{
    const QString before = text();
    // What the key would make of the text: the selection, or nothing, replaced by its character.
    QString wanted = before;
    if (hasSelectedText()) wanted.replace(selectionStart(), selectedText().size(), event->text());
    else wanted.insert(cursorPosition(), event->text());
    QLineEdit::keyPressEvent(event);
    // A printable key that left the text as it was was refused by the validator.
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && text() == before && wanted != before &&
        !QLineEdit::isReadOnly() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        // A number box says why it takes no letters; a digits-only box just beeps.
        const SmpField* f = link_.field();
        if (f && f->isNumeric() && !digitsOnly_)
            UiService::current().showMessage(DbControls::invalidValueMessage(f, wanted));
        else QApplication::beep();
    }
}
