#include "app/formns.h"
#include "app/instances.h"
#include "platform/ui/application.h"

int main(int argc, char** argv)
{
    Application app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("TRX"));
    AppInstances instances(AppInstances::configuredParams());
    instances.FormNS->show();
    return app.exec();
}
