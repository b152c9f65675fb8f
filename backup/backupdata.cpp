#include "backup/backupdata.h"

#include "platform/base/clock.h"
#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/dbfile.h"
#include "platform/db/migrator.h"
#include "schema/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QString kUntouched = QStringLiteral("Текущата база данни не е променена.");

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

bool isPath(const QString& database)
{
    return database.startsWith(u'/') || (database.size() > 2 && database[1] == u':');
}

void syncFolder(const QString& path)
{
    const int dir = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// The engine's text beneath ours, for whoever looks after the machine.
DbError told(const DbError& e, const QString& text)
{
    return DbError(e, QStringLiteral("%1\r\rСъобщение на сървъра:\r%2").arg(text, e.message()));
}

} // namespace

bool Backup::Meter::take(const QString& line)
{
    if (!line.contains(QLatin1String(" data for table "))) return false;
    ++done;
    if (done > tables) tables = done;
    return true;
}

int Backup::tableCount(SQLConnection& connection)
{
    return connection
        .query(QStringLiteral("select count(*) from rdb$relations where coalesce(rdb$system_flag, 0) = 0 "
                              "and rdb$view_blr is null"))
        .rows.front()[0]
        .toInt();
}

QString Backup::fileName(const QString& database, const QDateTime& at)
{
    return QStringLiteral("%1-%2.fbk").arg(QFileInfo(database).completeBaseName(), at.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

Backup::Outcome Backup::backup(const ConnectionParams& params, const QString& folder, const DbBackup::Progress& progress)
{
    Outcome out;
    if (!params.embedded()) {
        // The server writes the file on its own disk, beside the database.
        if (!isPath(params.database))
            throw DbError(QStringLiteral("Базата данни е посочена на сървъра с псевдоним (%1), затова програмата не "
                                         "знае папка на сървъра за архива. Посочете във файла с настройки пълния път "
                                         "до базата на сървъра.")
                              .arg(params.database));
        out.onServer = true;
        out.path = QFileInfo(params.database).path() + u'/' + fileName(params.database, Clock::now());
        try {
            out.done = DbBackup::backup(params, params.database, out.path, progress);
        } catch (const DbError& e) {
            throw told(e, QStringLiteral("Архивът не може да бъде записан на сървъра в %1.").arg(out.path));
        }
        return out;
    }
    const QFileInfo dir(folder);
    if (!dir.isDir())
        throw DbError(QStringLiteral("Папката %1 не съществува.").arg(native(folder))).setProblem(DbProblem::FileMissing);
    if (::access(QFile::encodeName(dir.absoluteFilePath()).constData(), W_OK) != 0)
        throw DbError(QStringLiteral("В папката %1 не може да се пише. Изберете друга папка.").arg(native(folder)))
            .setProblem(DbProblem::NoAccess);
    out.path = QDir(dir.absoluteFilePath()).filePath(fileName(params.database, Clock::now()));
    // Named only when whole, so a file by that name is always a complete backup.
    const QString partial = out.path + QStringLiteral(".partial");
    QFile::remove(partial);
    try {
        out.done = DbBackup::backup(params, params.database, partial, progress);
    } catch (const DbError& e) {
        QFile::remove(partial);
        const QString why = classify(e) == DbProblem::NoSpace
                                ? QStringLiteral("Няма достатъчно място в папката %1.").arg(native(folder))
                                : QStringLiteral("Архивът не може да бъде записан в папката %1.").arg(native(folder));
        throw told(e, why);
    }
    if (!out.done) {
        QFile::remove(partial);
        return out;
    }
    QFile::remove(out.path);
    if (!QFile::rename(partial, out.path)) {
        QFile::remove(partial);
        throw DbError(QStringLiteral("Архивът не може да бъде записан като %1.").arg(native(out.path)));
    }
    syncFolder(out.path);
    return out;
}

Backup::Outcome Backup::restore(const ConnectionParams& params, const QString& file, const DbBackup::Progress& progress)
{
    Outcome out;
    out.onServer = !params.embedded();
    if (params.embedded()) {
        const QFileInfo info(file);
        if (!info.isFile() || !info.isReadable())
            throw DbError(QStringLiteral("Файлът %1 не съществува или не може да бъде прочетен. %2").arg(native(file), kUntouched));
        // What a restore cut short by a crash or a kill left beside the database.
        DbFile::removeAbandonedPartials(params.database);
        out.path = DbFile::partialPath(params.database);
    } else {
        if (!isPath(params.database))
            throw DbError(QStringLiteral("Базата данни е посочена на сървъра с псевдоним (%1), затова програмата не "
                                         "знае папка на сървъра за възстановяването. %2")
                              .arg(params.database, kUntouched));
        out.path = QStringLiteral("%1/%2.restored-%3.fdb")
                       .arg(QFileInfo(params.database).path(), QFileInfo(params.database).completeBaseName(),
                            Clock::now().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    }
    ConnectionParams restored = params;
    restored.database = out.path;
    auto drop = [&] {
        if (params.embedded()) QFile::remove(out.path);
    };
    try {
        out.done = DbBackup::restore(params, file, out.path, progress);
    } catch (const DbError& e) {
        drop();
        QString why;
        if (classify(e) == DbProblem::NoSpace)
            why = QStringLiteral("Няма достатъчно място за възстановената база данни. %1").arg(kUntouched);
        else if (classify(e) == DbProblem::FileMissing || classify(e) == DbProblem::NoAccess)
            why = QStringLiteral("Файлът %1 или папката на базата данни не са достъпни. %2").arg(native(file), kUntouched);
        else
            why = QStringLiteral("Файлът %1 не е архив на база данни или е повреден. %2").arg(native(file), kUntouched);
        throw told(e, why);
    }
    if (!out.done) {
        drop();
        return out;
    }
    try {
        SQLConnection check(restored);
        check.open();
        // A restore brings its database online as its very last step. One cut short by a damaged
        // or incomplete backup may still be reported as done by the service: its database stays
        // shut down, and that tells it.
        if (check.query(QStringLiteral("select MON$SHUTDOWN_MODE from MON$DATABASE")).rows.front()[0].toInt() != 0)
            throw DbError(QStringLiteral("Файлът %1 не е архив на база данни или е повреден: възстановяването не "
                                         "завърши. %2")
                              .arg(native(file), kUntouched));
        Migrator m(check, Schema::migrations());
        const int version = m.currentVersion();
        if (version > m.latestVersion())
            throw DbError(QStringLiteral("Архивът е направен от по-нова версия на програмата (версия %1 на базата "
                                         "данни, а програмата работи с версия %2). %3")
                              .arg(version)
                              .arg(m.latestVersion())
                              .arg(kUntouched));
        if (version == 0)
            throw DbError(QStringLiteral("Архивът не е на база данни на тази програма. %1").arg(kUntouched));
        m.upgrade();
    } catch (const DbError&) {
        drop();
        throw;
    }
    return out;
}

QString Backup::bakPath(const QString& database)
{
    const QFileInfo info(database);
    return QDir(info.absolutePath()).filePath(info.completeBaseName() + QStringLiteral(".bak"));
}

void Backup::replace(SQLConnection& connection, const QString& restored, const std::function<void()>& beforeSwap)
{
    const ConnectionParams& p = connection.params();
    const QString database = QFileInfo(p.database).absoluteFilePath();
    const QString bak = bakPath(database);
    const QString bakPartial = bak + QStringLiteral(".partial");
    connection.close();
    auto reopen = [&] { connection.openChecked(); };
    try {
        if (DbFile::inUse(database))
            throw DbError(QStringLiteral("Базата данни %1 е отворена от друга програма и не може да бъде заменена. %2")
                              .arg(native(database), kUntouched))
                .setProblem(DbProblem::InUse);
        // The old database gets its second name first; its own name never stops naming it until the
        // restored one replaces it in a single rename.
        QFile::remove(bakPartial);
        if (::link(QFile::encodeName(database).constData(), QFile::encodeName(bakPartial).constData()) != 0 ||
            ::rename(QFile::encodeName(bakPartial).constData(), QFile::encodeName(bak).constData()) != 0)
            throw DbError(QStringLiteral("Копието %1 на текущата база данни не може да бъде направено (%2). %3")
                              .arg(native(bak), QString::fromLocal8Bit(::strerror(errno)), kUntouched));
        if (beforeSwap) beforeSwap();
        if (::rename(QFile::encodeName(restored).constData(), QFile::encodeName(database).constData()) != 0)
            throw DbError(QStringLiteral("Възстановената база данни не може да бъде поставена на мястото на %1 (%2). %3")
                              .arg(native(database), QString::fromLocal8Bit(::strerror(errno)), kUntouched));
        syncFolder(database);
    } catch (...) {
        QFile::remove(bakPartial);
        QFile::remove(restored);
        reopen();
        throw;
    }
    reopen();
}

Backup::Record::Record(QString statePath) : path_(std::move(statePath)) {}

QString Backup::Record::folder() const
{
    return QSettings(path_, QSettings::IniFormat).value(QStringLiteral("backup/folder")).toString();
}

void Backup::Record::setFolder(const QString& folder)
{
    QSettings(path_, QSettings::IniFormat).setValue(QStringLiteral("backup/folder"), folder);
}

QDate Backup::Record::last() const
{
    return QDate::fromString(QSettings(path_, QSettings::IniFormat).value(QStringLiteral("backup/last")).toString(), Qt::ISODate);
}

void Backup::Record::noteBackup(const QDate& day)
{
    QSettings(path_, QSettings::IniFormat).setValue(QStringLiteral("backup/last"), day.toString(Qt::ISODate));
}

QString Backup::Record::reminder(const QDate& today)
{
    constexpr int kDays = 7;
    const QDate made = last();
    if (made.isValid())
        return made.daysTo(today) > kDays
                   ? QStringLiteral("Последният архив е от %1. Архивирайте базата данни.").arg(made.toString(QStringLiteral("dd.MM.yyyy")))
                   : QString();
    QSettings s(path_, QSettings::IniFormat);
    QDate since = QDate::fromString(s.value(QStringLiteral("backup/since")).toString(), Qt::ISODate);
    if (!since.isValid()) {
        s.setValue(QStringLiteral("backup/since"), today.toString(Qt::ISODate));
        since = today;
    }
    return since.daysTo(today) > kDays ? QStringLiteral("Базата данни още не е архивирана. Архивирайте базата данни.") : QString();
}
