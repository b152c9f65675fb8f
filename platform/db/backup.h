#pragma once

#include <QString>
#include <functional>

struct ConnectionParams;

// The engine's own backup and restore, run by its service manager: in this process for the
// embedded engine, on the server (files on the server's side) otherwise. The database stays in use
// while it is backed up: the backup is a consistent snapshot.
namespace DbBackup {

// Called with each line the service reports, and with an empty line about once a second while it
// says nothing; returning false cancels the run. A cancelled run returns only when the engine has
// ended the action (it cannot be stopped half way), and goes on calling progress till then, its
// answers no longer heard; once it returns, nothing writes the files it named any more.
using Progress = std::function<bool(const QString& line)>;

// Writes a backup of database into file. False when cancelled; a failure is a DbError.
bool backup(const ConnectionParams& params, const QString& database, const QString& file, const Progress& progress);
// Restores file into database, a new file it refuses to overwrite. False when cancelled.
bool restore(const ConnectionParams& params, const QString& file, const QString& database, const Progress& progress);

} // namespace DbBackup
