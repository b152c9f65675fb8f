// Start-up time from process start to the main window shown with its first-show preparation done,
// on the embedded database: the first start (which creates the database) against later starts.
// The child runs the same start-up as the program and reports when the window is up.
#include "app/formns.h"
#include "app/instances.h"
#include "platform/ui/application.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <algorithm>

namespace {

int child(int argc, char** argv)
{
    Application app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("TRX"));
    AppInstances instances(AppInstances::configuredParams());
    instances.FormNS->show();
    if (!QTest::qWaitForWindowExposed(instances.FormNS) || !instances.FormNS->firstShowDone()) return 1;
    QTextStream(stdout) << "shown" << Qt::endl;
    return 0;
}

double runOnce(const QString& self, const QString& dataHome)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dataHome);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(self, {QStringLiteral("--child")});
    while (p.waitForReadyRead(30000))
        if (p.readAll().contains("shown")) break;
    const double ms = double(t.nsecsElapsed()) / 1e6;
    p.waitForFinished();
    return p.exitCode() == 0 ? ms : -1;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "--child") return child(argc, argv);
    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    QList<double> first, later;
    for (int i = 0; i < 5; ++i) {
        QTemporaryDir home;
        first << runOnce(self, home.path());
        later << runOnce(self, home.path());
    }
    QTextStream out(stdout);
    out << "start-up to main window shown, embedded database, 5 runs each (ms)\n";
    out << "first start (creates the database): median " << median(first) << "\n";
    out << "later start (opens it):              median " << median(later) << "\n";
    if (first.contains(-1) || later.contains(-1)) {
        out << "a start failed\n";
        return 1;
    }
    out << "ratio: " << median(first) / median(later) << "\n";
    return 0;
}
