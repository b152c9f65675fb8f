#include "platform/widgets/filterdateedit.h"

#include <QCalendarWidget>
#include <QKeyEvent>

FilterDateEdit::FilterDateEdit(const QDate& date, QWidget* parent) : QDateEdit(date, parent)
{
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    setCalendarPopup(true);
    connect(this, &QDateEdit::dateChanged, this, [this] {
        if (typing_) pending_ = true;
        else emit committed();
    });
    connect(this, &QAbstractSpinBox::editingFinished, this, &FilterDateEdit::finish);
    // A day picked in the calendar ends whatever was being typed.
    connect(calendarWidget(), &QCalendarWidget::clicked, this, &FilterDateEdit::finish);
    connect(calendarWidget(), &QCalendarWidget::activated, this, &FilterDateEdit::finish);
}

void FilterDateEdit::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter) typing_ = true;
    QDateEdit::keyPressEvent(event);
}

void FilterDateEdit::finish()
{
    typing_ = false;
    if (!pending_) return;
    pending_ = false;
    emit committed();
}
