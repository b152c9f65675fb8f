#include "schema/schema.h"

#include "platform/base/criticalwrite.h"
#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/dbfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>

QVector<Migration> Schema::migrations()
{
    static const QRegularExpression re(QStringLiteral("^(\\d{4})_\\w+\\.sql$"));
    QVector<Migration> out;
    const QDir dir(QStringLiteral(":/schema/migrations"));
    for (const QString& file : dir.entryList(QDir::Files, QDir::Name)) {
        const auto m = re.match(file);
        if (!m.hasMatch()) continue;
        QFile f(dir.filePath(file));
        if (!f.open(QIODevice::ReadOnly)) continue;
        out << Migration{m.captured(1).toInt(), QFileInfo(file).completeBaseName(), QString::fromUtf8(f.readAll())};
    }
    return out;
}

namespace {

DbError inUse(const QString& path)
{
    return DbError(QStringLiteral("Базата данни %1 е отворена от друга програма.").arg(QDir::toNativeSeparators(path)))
        .setProblem(DbProblem::InUse);
}

// Makes the whole new database under the temporary name, then moves it into place.
void createWhole(const ConnectionParams& params, const Schema::OpenOptions& options)
{
    const QString partial = DbFile::partialPath(params.database);
    ConnectionParams tmp = params;
    tmp.database = partial;
    try {
        SQLConnection c(tmp);
        c.create();
        Migrator(c, Schema::migrations()).upgrade(options.hooks);
        c.close();
        DbFile::moveIntoPlace(partial, params.database);
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
}

} // namespace

Schema::OpenResult Schema::openAndUpgrade(SQLConnection& connection, const OpenOptions& options)
{
    OpenResult result;
    const ConnectionParams& p = connection.params();
    const QVector<Migration> all = migrations();
    try {
        if (p.embedded() && !QFileInfo::exists(p.database)) {
            const QString path = QDir::toNativeSeparators(p.database);
            if (!options.mayCreate)
                throw DbError(QStringLiteral("Базата данни %1 не съществува.").arg(path)).setProblem(DbProblem::FileMissing);
            if (options.confirmCreate && !options.confirmCreate(p.database))
                throw DbError(QStringLiteral("Базата данни %1 не съществува и не беше създадена.").arg(path));
            QDir().mkpath(QFileInfo(p.database).absolutePath());
            // Held until the new database is in place: a second start never touches one being made.
            QLockFile lock(DbFile::firstStartLockPath(p.database));
            lock.setStaleLockTime(0);  // a live holder is never stale, however slow; a dead one is
            if (!lock.tryLock(0)) {
                if (lock.error() == QLockFile::LockFailedError) throw inUse(p.database);
                throw DbError(QStringLiteral("В папката на базата данни %1 не може да се пише.").arg(path))
                    .setProblem(DbProblem::NoAccess);
            }
            // What interrupted first starts left behind; with the lock held none is being made.
            for (const QString& left : DbFile::leftoverPartials(p.database)) QFile::remove(left);
            if (!QFileInfo::exists(p.database)) {  // else made meanwhile by a start that held the lock
                createWhole(p, options);
                result.created = true;
            }
        }
        // A first start or a restore cut short leaves its file under a temporary name: never opened, removed here.
        if (p.embedded()) DbFile::removeAbandonedPartials(p.database);
        connection.open();
        {
            Migrator m(connection, all);
            result.fromVersion = m.currentVersion();
            result.toVersion = m.latestVersion();
            if (result.fromVersion > result.toVersion || (result.fromVersion == 0 && m.hasForeignTables()))
                m.upgrade();  // refuses it untouched
        }
        if (result.fromVersion < result.toVersion && p.embedded()) {
            // Copied while nobody holds it: the engine lets go of the file when we detach.
            connection.close();
            result.backupPath = DbFile::copyBeside(p.database, result.fromVersion);
            connection.open();
        } else if (result.fromVersion < result.toVersion) {
            result.backupPath = DbFile::backupOnServer(p, result.fromVersion);
        }
        try {
            const CriticalWrite inPlace;
            Migrator(connection, all).upgrade(options.hooks);
        } catch (const DbError& e) {
            if (result.backupPath.isEmpty()) throw;
            throw DbError(e, QStringLiteral("%1\r\rКопие на базата данни отпреди обновяването: %2")
                                 .arg(e.message(), QDir::toNativeSeparators(result.backupPath)));
        }
    } catch (...) {
        connection.close();
        throw;
    }
    return result;
}
