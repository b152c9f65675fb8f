#include "platform/db/dbfile.h"

#include "platform/base/clock.h"
#include "platform/db/dberror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

QString DbFile::partialPath(const QString& path) { return path + QStringLiteral(".partial"); }

QString DbFile::copyBeside(const QString& path, int version)
{
    const QFileInfo info(path);
    const QString name = QStringLiteral("%1.v%2-%3.%4")
                             .arg(info.completeBaseName())
                             .arg(version)
                             .arg(Clock::now().toString(QStringLiteral("yyyyMMdd-HHmmss")), info.suffix());
    const QString target = info.dir().filePath(name);
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
