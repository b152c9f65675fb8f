#include "platform/db/dbfile.h"

#include "platform/base/clock.h"
#include "platform/db/connectionparams.h"
#include "platform/db/dberror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// An exclusive lock on the file for as long as it lives; taken only when nobody else holds one.
class FileLock
{
public:
    explicit FileLock(const QString& path) : fd_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC))
    {
        if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0) locked_ = true;
    }
    ~FileLock()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool opened() const { return fd_ >= 0; }
    bool locked() const { return locked_; }

private:
    int fd_;
    bool locked_ = false;
};

} // namespace

bool DbFile::inUse(const QString& path)
{
    FileLock lock(path);
    return lock.opened() && !lock.locked();
}

QString DbFile::partialPath(const QString& path)
{
    return QStringLiteral("%1.partial-%2-%3")
        .arg(path)
        .arg(QCoreApplication::applicationPid())
        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

QStringList DbFile::leftoverPartials(const QString& path)
{
    const QFileInfo info(path);
    QStringList out;
    const QDir dir = info.absoluteDir();
    for (const QString& name : dir.entryList({info.fileName() + QStringLiteral(".partial*")}, QDir::Files | QDir::Hidden))
        out << dir.filePath(name);
    return out;
}

void DbFile::removeAbandonedPartials(const QString& path)
{
    const qint64 self = QCoreApplication::applicationPid();
    const QString prefix = QFileInfo(path).fileName() + QStringLiteral(".partial-");
    for (const QString& left : leftoverPartials(path)) {
        // NAME.partial-PID-RANDOM, as partialPath names it
        const QString name = QFileInfo(left).fileName();
        bool known = false;
        const qint64 maker = name.startsWith(prefix) ? name.mid(prefix.size()).section(u'-', 0, 0).toLongLong(&known) : 0;
        const bool abandoned =
            known && maker > 0 && (maker == self || (::kill(pid_t(maker), 0) != 0 && errno == ESRCH));
        if (abandoned && !inUse(left)) QFile::remove(left);
    }
}

QString DbFile::firstStartLockPath(const QString& path) { return path + QStringLiteral(".lock"); }

bool DbFile::firstStartRunning(const QString& path)
{
    QLockFile lock(firstStartLockPath(path));
    lock.setStaleLockTime(0);
    return !lock.tryLock(0) && lock.error() == QLockFile::LockFailedError;
}

namespace {
QString besideName(const QString& path, int version, const QString& suffix)
{
    const QFileInfo info(path);
    const QString name = QStringLiteral("%1.v%2-%3.%4")
                             .arg(info.completeBaseName())
                             .arg(version)
                             .arg(Clock::now().toString(QStringLiteral("yyyyMMdd-HHmmss")), suffix);
    return QDir::cleanPath(info.path() + u'/' + name);
}
} // namespace

QString DbFile::copyBeside(const QString& path, int version)
{
    const QString target = besideName(path, version, QFileInfo(path).suffix());
    // Held while copying, so no engine opens the database half way through the copy.
    FileLock lock(path);
    if (!lock.locked())
        throw DbError(QStringLiteral("Копие на базата данни %1 не може да бъде направено: базата е отворена от "
                                     "друга програма.")
                          .arg(QDir::toNativeSeparators(path)));
    QFile in(path);
    QSaveFile out(target);
    auto fail = [&](const QString& why) {
        return DbError(QStringLiteral("Копие на базата данни не може да бъде записано в %1 (%2). Базата не е "
                                      "обновена.")
                           .arg(QDir::toNativeSeparators(target), why));
    };
    if (!in.open(QIODevice::ReadOnly)) throw fail(in.errorString());
    if (!out.open(QIODevice::WriteOnly)) throw fail(out.errorString());
    QByteArray chunk;
    while (!(chunk = in.read(1 << 20)).isEmpty())
        if (out.write(chunk) != chunk.size()) throw fail(out.errorString());
    if (in.error() != QFile::NoError) throw fail(in.errorString());
    if (!out.commit()) throw fail(out.errorString());
    return target;
}

QString DbFile::backupOnServer(const ConnectionParams& params, int version)
{
    const QString& db = params.database;
    const bool hasFolder = db.startsWith(u'/') || (db.size() > 2 && db[1] == u':');  // not an alias
    if (!hasFolder) return {};
    const QString target = besideName(db, version, QStringLiteral("fbk"));
    QString gbak = QStandardPaths::findExecutable(QStringLiteral("gbak"));
    if (gbak.isEmpty()) gbak = QStringLiteral("/usr/lib/x86_64-linux-gnu/firebird/3.0/bin/gbak");
    QString manager = params.server;
    if (params.port > 0) manager += u'/' + QString::number(params.port);
    manager += QStringLiteral(":service_mgr");
    QProcess run;
    // The password travels in the environment, never on a command line others can read.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ISC_USER"), params.user);
    env.insert(QStringLiteral("ISC_PASSWORD"), params.password);
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(gbak, {QStringLiteral("-b"), QStringLiteral("-se"), manager, db, target});
    const bool done = run.waitForFinished(-1) && run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0;
    if (!done)
        throw DbError(QStringLiteral("Архивно копие на базата данни не може да бъде направено в %1. Базата не е "
                                     "обновена.\r\r%2")
                          .arg(target, QString::fromLocal8Bit(run.readAll()).trimmed() + run.errorString()));
    return target;
}

void DbFile::moveIntoPlace(const QString& from, const QString& to)
{
    if (!QFile::rename(from, to))  // never replaces an existing file
        throw DbError(QStringLiteral("Новата база данни не може да бъде преместена в %1.").arg(QDir::toNativeSeparators(to)));
    // The new name reaches the disk before anyone relies on it.
    const int dir = ::open(QFile::encodeName(QFileInfo(to).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}
