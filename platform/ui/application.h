#pragma once

#include <QApplication>

// The application object: it fixes the process formats and turns an exception that escapes an
// event handler into the default error report, after which the program goes on.
class Application : public QApplication
{
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
