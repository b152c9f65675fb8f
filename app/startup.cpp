#include "app/startup.h"

#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/dbfile.h"
#include "platform/ui/uiservice.h"
#include "schema/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QTextStream>

#include <algorithm>

namespace {

// The groups and keys the program reads; anything else is a mistake worth telling.
const QHash<QString, QStringList>& knownKeys()
{
    static const QHash<QString, QStringList> keys = {
        {QStringLiteral("database"),
         {QStringLiteral("server"), QStringLiteral("port"), QStringLiteral("database"), QStringLiteral("user"),
          QStringLiteral("password"), QStringLiteral("role"), QStringLiteral("connect_timeout")}},
        {QStringLiteral("installation"), {QStringLiteral("special_vat")}},
    };
    return keys;
}

QString checkValue(const QString& group, const QString& key, const QString& value)
{
    auto integer = [&](int low, int high) -> QString {
        bool ok = false;
        const int v = value.toInt(&ok);
        if (ok && v >= low && v <= high) return {};
        return QStringLiteral("стойността \"%1\" на %2 не е цяло число от %3 до %4").arg(value, key).arg(low).arg(high);
    };
    if (group == QLatin1String("database") && key == QLatin1String("port")) return integer(1, 65535);
    if (group == QLatin1String("database") && key == QLatin1String("connect_timeout")) return integer(1, 3600);
    if (group == QLatin1String("database") && key == QLatin1String("database") && value.isEmpty())
        return QStringLiteral("празно име на базата данни");
    // Unquoted, a comma makes a list of the value and the program would read it as empty.
    if (!value.startsWith(u'"') && value.contains(u','))
        return QStringLiteral("стойността на %1 съдържа запетая: оградете я в кавички").arg(key);
    return {};
}

QString groupProblem(const QString& group)
{
    for (auto it = knownKeys().cbegin(); it != knownKeys().cend(); ++it)
        if (it.key().compare(group, Qt::CaseInsensitive) == 0)
            return QStringLiteral("група [%1] не е позната (пише се [%2], с малки букви)").arg(group, it.key());
    return QStringLiteral("група [%1] не е позната").arg(group);
}

} // namespace

QStringList Startup::checkConfigFile(const QString& iniPath)
{
    QStringList problems;
    const QFileInfo info(iniPath);
    if (!info.exists()) return problems;
    QFile file(iniPath);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return {QStringLiteral("файлът не може да бъде прочетен (%1)").arg(info.isDir() ? QStringLiteral("папка е")
                                                                                       : file.errorString())};
    QString group;  // empty: before any group
    bool groupKnown = false;
    int lineNo = 0;
    constexpr qint64 kMaxLine = 4096;
    while (!file.atEnd()) {
        ++lineNo;
        QByteArray raw = file.readLine(kMaxLine);
        const bool whole = raw.endsWith('\n') || file.atEnd();
        if (!whole) {
            problems << QStringLiteral("ред %1: редът е прекалено дълъг").arg(lineNo);
            while (!file.atEnd() && !file.readLine(kMaxLine).endsWith('\n')) {
            }
            continue;
        }
        const QString line = QString::fromUtf8(raw).trimmed();
        auto at = [&](const QString& what) { problems << QStringLiteral("ред %1: %2").arg(lineNo).arg(what); };
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) continue;
        const bool unreadable = std::any_of(line.cbegin(), line.cend(), [](QChar c) {
            return c == QChar::ReplacementCharacter || (c.category() == QChar::Other_Control && c != u'\t');
        });
        if (unreadable) {
            at(QStringLiteral("неразбираем текст"));
            continue;
        }
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']')) {
                at(QStringLiteral("незатворена група \"%1\"").arg(line));
                continue;
            }
            group = line.mid(1, line.size() - 2).trimmed();
            groupKnown = knownKeys().contains(group);
            if (!groupKnown) at(groupProblem(group));
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) {
            at(QStringLiteral("\"%1\" не е нито група, нито ключ=стойност").arg(line.left(40)));
            continue;
        }
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (group.isEmpty()) {
            at(QStringLiteral("ключ %1 е извън група").arg(key));
            continue;
        }
        if (!groupKnown) continue;  // its group is reported already
        if (!knownKeys().value(group).contains(key)) {
            at(QStringLiteral("ключ %1 не е познат в група [%2]").arg(key, group));
            continue;
        }
        if (const QString why = checkValue(group, key, value); !why.isEmpty()) at(why);
    }
    return problems;
}

std::optional<Startup::Config> Startup::readConfig(const QString& iniPath, const QString& dataDir)
{
    const QStringList problems = checkConfigFile(iniPath);
    if (!problems.isEmpty()) {
        UiService::current().reportError(
            QStringLiteral("Файлът с настройки %1 съдържа грешки:\r- %2\rПоправете го и стартирайте програмата "
                           "отново.")
                .arg(QDir::toNativeSeparators(iniPath), problems.join(QStringLiteral("\r- "))));
        return std::nullopt;
    }
    Config c;
    c.iniPath = iniPath;
    c.params = ConnectionParams::fromIni(iniPath, dataDir);
    c.databaseNamed = QFileInfo::exists(iniPath) &&
                      QSettings(iniPath, QSettings::IniFormat).contains(QStringLiteral("database/database"));
    return c;
}

namespace {

QString where(const ConnectionParams& p)
{
    if (p.embedded()) return QDir::toNativeSeparators(p.database);
    return QStringLiteral("%1:%2").arg(p.server).arg(p.port > 0 ? p.port : 3050);
}

// Why the database could not be opened, and what to do.
QString failureText(const DbError& e, const Startup::Config& config)
{
    const ConnectionParams& p = config.params;
    const DbProblem problem = classify(e);
    QString text;
    // The engine's lock error, confirmed by the file's lock: another process has the database.
    const bool held = p.embedded() && problem == DbProblem::InUse &&
                      (DbFile::inUse(p.database) || DbFile::firstStartRunning(p.database));
    if (held) {
        text = QStringLiteral("Програмата вече работи с базата данни %1 (или друга програма я използва). Втори "
                              "екземпляр на същата база не може да бъде стартиран.\r\rЗа работа от няколко "
                              "работни места базата трябва да е на сървър Firebird: във файла %2 посочете в група "
                              "[database] server, port и database на сървъра.")
                   .arg(where(p), QDir::toNativeSeparators(config.iniPath));
        if (e.problem() == DbProblem::Other) text += QStringLiteral("\r\rСъобщение на сървъра:\r") + e.message();
    } else if (!p.embedded() && problem == DbProblem::Network) {
        text = QStringLiteral("Сървърът на базата данни %1 не отговаря. Проверете дали сървърът работи, дали "
                              "адресът и портът във файла %2 са верни и дали мрежата е наред.\r\rСъобщение на "
                              "сървъра:\r%3")
                   .arg(where(p), QDir::toNativeSeparators(config.iniPath), e.message());
    } else {
        text = userText(e, where(p));
    }
    return text + QStringLiteral("\r\rПрограмата ще бъде затворена.");
}

} // namespace

bool Startup::openDatabase(SQLConnection& connection, const Config& config, std::function<bool()> interrupted)
{
    Schema::OpenOptions options;
    options.hooks.interrupted = std::move(interrupted);
    bool declined = false;
    if (config.databaseNamed)
        options.confirmCreate = [&](const QString& path) {
            declined = !UiService::current().askYesNo(
                QStringLiteral("Базата данни %1, посочена във файла с настройки %2, не съществува.\rДа бъде ли "
                               "създадена нова, празна база данни?")
                    .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(config.iniPath)));
            return !declined;
        };
    try {
        const Schema::OpenResult r = Schema::openAndUpgrade(connection, options);
        if (r.fromVersion < r.toVersion && !r.created) {
            const QString copy = QDir::toNativeSeparators(r.backupPath);
            const QString copyNote =
                r.backupPath.isEmpty()
                    ? QStringLiteral("Копие не е направено: базата е посочена с псевдоним на сървъра.")
                : config.params.embedded()
                    ? QStringLiteral("Копие на базата отпреди обновяването: %1").arg(copy)
                    : QStringLiteral("Архивно копие на базата отпреди обновяването, на сървъра (възстановява се с "
                                     "gbak -c): %1")
                          .arg(copy);
            UiService::current().showMessage(QStringLiteral("Базата данни беше обновена от версия %1 до версия %2.\r%3")
                                                 .arg(r.fromVersion)
                                                 .arg(r.toVersion)
                                                 .arg(copyNote));
        }
        // One line on stderr: a run without a screen shows how far it got.
        QTextStream(stderr) << "TRX: " << (r.created ? "created " : "opened ") << where(config.params) << '\n';
    } catch (const DbError& e) {
        const QString reason = failureText(e, config);
        connection.refuse(reason);
        if (!declined && !(options.hooks.interrupted && options.hooks.interrupted()))
            UiService::current().reportError(reason);
        return false;
    }
    // Opened again later only through the same checks; a vanished database is not made anew.
    connection.setOpener([](SQLConnection& c) {
        Schema::OpenOptions again;
        again.mayCreate = false;
        Schema::openAndUpgrade(c, again);
    });
    return true;
}
