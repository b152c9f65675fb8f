#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>

namespace {

// Each folder and the folders its sources may include besides its own. Lower layers never
// include higher ones; subsystems do not include one another, only the program's shell does.
const QList<QPair<QString, QStringList>>& allowed()
{
    static const QStringList platformBelowWidgets = {"platform/base", "platform/db", "platform/dataset", "platform/ui"};
    static const QStringList platform = platformBelowWidgets + QStringList{"platform/widgets", "platform/report",
                                                                           "platform/spreadsheet"};
    static const QList<QPair<QString, QStringList>> table = {
        {"platform/base", {}},
        {"platform/db", {"platform/base"}},
        {"platform/dataset", {"platform/base", "platform/db"}},
        {"platform/ui", {"platform/base", "platform/db"}},
        {"platform/widgets", platformBelowWidgets},
        {"platform/report", platformBelowWidgets},
        {"platform/spreadsheet", {"platform/base"}},
        {"common", platform},
        {"schema", {"platform/base", "platform/db"}},
        {"data", platform + QStringList{"common", "schema"}},
        {"reports", platform + QStringList{"common", "schema", "data"}},
        {"reference", platform + QStringList{"common", "schema", "data", "reports"}},
        {"sales", platform + QStringList{"common", "schema", "data", "reports"}},
        {"backup", platform + QStringList{"schema"}},
        {"staff", platform + QStringList{"common", "schema", "data", "reports"}},
        {"app", platform + QStringList{"common", "schema", "data", "reports", "reference", "sales", "staff", "cash", "warehouse", "backup", "production", "outlets", "payments", "orders", "salesinfo"}},
        {"cash", platform + QStringList{"common", "schema", "data", "reports"}},
        {"warehouse", platform + QStringList{"common", "schema", "data", "reports"}},
        {"production", platform + QStringList{"common", "schema", "data", "reports"}},
        {"outlets", platform + QStringList{"common", "schema", "data", "reports", "warehouse"}},
        {"payments", platform + QStringList{"common", "schema", "data", "reports"}},
        {"orders", platform + QStringList{"common", "schema", "data", "reports"}},
        {"salesinfo", platform + QStringList{"common", "schema", "data", "reports", "sales"}},
    };
    return table;
}

// The folder of a project path: "platform/x" below the platform, the top folder elsewhere.
QString folderOf(const QString& path)
{
    const QStringList parts = path.split(u'/');
    if (parts.size() < 2) return {};
    return parts[0] == QLatin1String("platform") ? parts[0] + u'/' + parts[1] : parts[0];
}

} // namespace

// The folders' includes against the table of allowed dependencies.
class TstLayers : public QObject
{
    Q_OBJECT
private slots:
    void includesFollowTheLayers_data();
    void includesFollowTheLayers();
    void everyFolderIsInTheTable();
};

void TstLayers::includesFollowTheLayers_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("may");
    for (const auto& [folder, may] : allowed()) QTest::newRow(qPrintable(folder)) << folder << may;
}

void TstLayers::includesFollowTheLayers()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, may);
    const QString root = QStringLiteral(TRX_SOURCE_DIR);
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*\"([^\"]+)\""),
                                            QRegularExpression::MultilineOption);
    QStringList wrong;
    int files = 0;
    QDirIterator it(root + u'/' + folder, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString own = path.mid(root.size() + 1);
        if (folderOf(own) != folder) continue;  // platform/x below "platform" is a folder of its own
        QFile f(path);
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(path));
        ++files;
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = include.globalMatch(text); m.hasNext();) {
            const QString included = m.next().captured(1);
            const QString target = folderOf(included);
            if (!target.isEmpty() && target != folder && !may.contains(target))
                wrong << QStringLiteral("%1 includes %2").arg(own, included);
        }
    }
    QVERIFY2(files > 0, qPrintable(folder));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
}

void TstLayers::everyFolderIsInTheTable()
{
    // A new folder of sources takes its place in the table before it is built.
    const QString root = QStringLiteral(TRX_SOURCE_DIR);
    const QStringList outside = {"tests", "bench", "tools", "docs", "build"};
    QStringList missing;
    QDirIterator it(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString own = it.next().mid(root.size() + 1);
        const QString folder = folderOf(own);
        if (folder.isEmpty() || outside.contains(own.section(u'/', 0, 0)) || own.section(u'/', 0, 0).startsWith(u'.'))
            continue;
        const bool known = std::any_of(allowed().cbegin(), allowed().cend(), [&](const auto& row) { return row.first == folder; });
        if (!known && !missing.contains(folder)) missing << folder;
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u' ')));
}

QTEST_GUILESS_MAIN(TstLayers)
#include "tst_layers.moc"
