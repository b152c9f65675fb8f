#pragma once

#include "platform/db/backup.h"

#include <QDate>
#include <QString>
#include <functional>

class SQLConnection;
struct ConnectionParams;

// Backup and restore of the program's database, without a window: the dated backup file, the
// restored copy checked against the program's schema, the swap that puts it in place, and the
// record of the last backup that the reminder reads.
namespace Backup {

// How far a run got: the service's verbose output names each table as it starts on it.
struct Meter
{
    int tables = 0;  // user tables of the database being backed up (an estimate for a restore)
    int done = 0;
    // Counts the line; true when it started a table.
    bool take(const QString& line);
};
int tableCount(SQLConnection& connection);

// "TRXBASE-yyyyMMdd-HHmmss.fbk" for the database file at path.
QString fileName(const QString& database, const QDateTime& at);

struct Outcome
{
    bool done = false;  // false: cancelled, nothing left behind
    QString path;       // the backup, or the restored database
    bool onServer = false;
};

// Writes a dated backup of the connection's database: into folder for the embedded engine (under
// a temporary name until it is whole), beside the database on the server's side otherwise.
Outcome backup(const ConnectionParams& params, const QString& folder, const DbBackup::Progress& progress);

// Restores file into a new database beside the current one and brings it to the program's schema
// version; refuses (a DbError, the new file removed) a file that is no backup or is damaged, and a
// backup of a newer version or of another application. The current database is never touched.
Outcome restore(const ConnectionParams& params, const QString& file, const DbBackup::Progress& progress);

// Puts the restored embedded database in place of the connection's own, the old one kept beside it
// as NAME.bak, and opens the connection again. At every moment the database's name holds a whole
// database: the old one until the restored one takes the name in one step. beforeSwap is the last
// point before that step (tests inject their faults there); a failure up to it leaves the old
// database in use.
void replace(SQLConnection& connection, const QString& restored, const std::function<void()>& beforeSwap = {});
QString bakPath(const QString& database);

// The record of backups made on this machine, kept in a small state file beside the database.
class Record
{
public:
    explicit Record(QString statePath);
    QString folder() const;
    void setFolder(const QString& folder);
    QDate last() const;
    void noteBackup(const QDate& day);
    // The reminder due today, or nothing. Without any backup the first day seen counts from when
    // this machine first started the program.
    QString reminder(const QDate& today);

private:
    QString path_;
};

} // namespace Backup
