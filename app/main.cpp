#include "app/formns.h"
#include "app/instances.h"
#include "app/startup.h"
#include "app/termination.h"
#include "backup/backupui.h"
#include "data/dmns.h"
#include "platform/ui/application.h"

#include <cstdlib>

int main(int argc, char** argv)
{
    Application app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("TRX"));
    // Before the first attach, so the database client's own signal handling is refused. Windows
    // (a message box too) close, the loops end, and the instances go as main returns, the connection
    // last.
    Termination termination;
    QObject::connect(&termination, &Termination::signalled, &app, [] {
        QApplication::closeAllWindows();
        QCoreApplication::exit(0);
    });
    const std::optional<Startup::Config> config =
        Startup::readConfig(AppInstances::iniPath(), AppInstances::dataDir());
    if (!config) return Termination::requested() ? 0 : EXIT_FAILURE;
    AppInstances instances(config->params);
    if (!Startup::openDatabase(instances.DMNS->SQLConnectNS, *config, &Termination::requested))
        return Termination::requested() ? 0 : EXIT_FAILURE;
    if (Termination::requested()) return 0;
    Termination::startupDone();
    instances.FormNS->show();
    BackupUi::remindAtStart(AppInstances::backupStatePath());
    return app.exec();
}
