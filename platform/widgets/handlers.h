#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QToolButton;
class QWidget;

// Every handler of a window is connected through here. An error that escapes a handler goes to
// the default error report and ends that handler; it never unwinds through Qt's signal emission.
// A window catches an error itself only where it must keep its state (an editor that stays open
// after a refused save).
namespace Handlers {

// Runs a handler; false when an error ended it (the error has been reported).
bool run(const std::function<void()>& handler);

// A member handler; the signal's arguments it takes are handed on.
template <class Sender, class Signal, class Owner, class... Args>
QMetaObject::Connection connect(Sender* sender, Signal signal, Owner* owner, void (Owner::*handler)(Args...))
{
    return QObject::connect(sender, signal, owner, [owner, handler](Args... args) { run([&] { (owner->*handler)(args...); }); });
}

// Any other handler, taking no arguments.
template <class Sender, class Signal, class Fn>
QMetaObject::Connection connect(Sender* sender, Signal signal, QObject* context, Fn handler)
{
    return QObject::connect(sender, signal, context, [handler] { run(handler); });
}

// A tool button named after its component, as wide as its caption, its click connected to the
// handler (none: the caller connects it).
QToolButton* makeButton(const char* name, const QString& text);
void connectClick(QToolButton* button, QObject* context, std::function<void()> handler);
template <class Owner>
QToolButton* makeButton(const char* name, const QString& text, Owner* owner, void (Owner::*handler)())
{
    QToolButton* b = makeButton(name, text);
    connectClick(b, owner, [owner, handler] { (owner->*handler)(); });
    return b;
}

// What an editor does before it saves: the bound edit box that has the focus writes its text into
// the record. False when the box refused the text (it has told the user); nothing is to be saved.
bool commitFocusedEdit(QWidget* window);

// Enter or Return in the control runs the save handler (through run()) instead of reaching the
// control.
void enterSaves(QWidget* control, std::function<void()> save);

} // namespace Handlers
