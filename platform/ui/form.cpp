#include "platform/ui/form.h"

#include <QCloseEvent>

Form::Form(QWidget* parent) : QWidget(parent, Qt::Window) {}

void Form::closeWith(int result)
{
    modalResult_ = result;
    close();
}

void Form::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted()) emit closed();
}
