// Writes a PNG of every built window into the folder given as the only argument, over a fresh
// embedded database in a temporary folder. Run it with QT_QPA_PLATFORM=offscreen.
#include "app/formns.h"
#include "app/instances.h"
#include "reference/formnomenklaturi.h"
#include "platform/ui/application.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char** argv)
{
    Application app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: trx-screenshots OUTPUT_DIR\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    QTemporaryDir data;
    ConnectionParams params;
    params.database = QDir(data.path()).filePath(params.database);
    AppInstances instances(params);

    const QList<QWidget*> windows = {instances.FormNS, instances.FormNomenklaturi};
    int failures = 0;
    for (QWidget* w : windows) {
        w->show();
        QCoreApplication::processEvents();
        const QString file = out.filePath(w->objectName() + QStringLiteral(".png"));
        if (!w->grab().save(file)) ++failures;
        QTextStream(stdout) << file << '\n';
    }
    return failures == 0 ? 0 : 1;
}
