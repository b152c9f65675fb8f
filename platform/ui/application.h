#pragma once

#include <QApplication>
#include <QTranslator>

// The application object: it speaks Bulgarian in Qt's own dialogs (the buttons of message boxes,
// file and print dialogs) and turns an exception that escapes an event handler into the default
// error report, after which the program goes on.
class Application : public QApplication
{
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // False when Qt's Bulgarian translation (Debian's qt6-translations-l10n) is not installed.
    bool qtTranslated() const { return qtTranslated_; }

private:
    QTranslator qtTranslator_;
    bool qtTranslated_ = false;
};
