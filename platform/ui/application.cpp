#include "platform/ui/application.h"

#include "platform/db/dberror.h"
#include "platform/ui/uiservice.h"

#include <QLibraryInfo>
#include <QLocale>

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    // Whatever the user's locale, the program is Bulgarian.
    qtTranslated_ = qtTranslator_.load(QLocale(QLocale::Bulgarian, QLocale::Bulgaria), QStringLiteral("qtbase"),
                                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
                    && installTranslator(&qtTranslator_);
}

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
