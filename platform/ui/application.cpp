#include "platform/ui/application.h"

#include "platform/db/dberror.h"
#include "platform/ui/uiservice.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const DbError& e) {
        UiService::current().reportError(userText(e));
    } catch (const std::exception& e) {
        UiService::current().reportError(QString::fromUtf8(e.what()));
    }
    return false;
}
