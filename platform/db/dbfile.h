#pragma once

#include <QStringList>

struct ConnectionParams;

// The embedded database as a file: who holds it, the temporary name a new database is made under,
// and the copy kept before an upgrade.
namespace DbFile {

// True when another process has the file open through the engine (the engine locks the whole file
// while a database is attached). A missing file is not in use.
bool inUse(const QString& path);
// A name, new at each call, that a new database is created and migrated under before it is moved
// into place; a fresh name, so the engine never meets a file it knew from a killed run.
QString partialPath(const QString& path);
// What interrupted first starts left beside the database: files under its temporary names.
QStringList leftoverPartials(const QString& path);
// Removes those whose maker is gone (a killed first start or restore) or is this very process,
// which calls it only between its own runs; keeps any a live process may still be writing.
void removeAbandonedPartials(const QString& path);
// The lock file held for the whole making of a new database, so a second start waits its turn
// instead of touching a database being made.
QString firstStartLockPath(const QString& path);
// True when another live process holds that lock.
bool firstStartRunning(const QString& path);
// Copies the database beside itself while nobody holds it: "NAME.vN-yyyyMMdd-HHmmss.fdb" next to
// "NAME.fdb"; written under a temporary name first, so a copy that exists is whole. The copy's path,
// or an error (DbError) when it cannot be made.
QString copyBeside(const QString& path, int version);
// The same for a database on a server, as a backup (gbak through the server's service manager)
// written by the server beside the database: "NAME.vN-yyyyMMdd-HHmmss.fbk". Empty when the
// database is named by an alias, which gives no folder to write into.
QString backupOnServer(const ConnectionParams& params, int version);
// Moves the finished new database into place; refuses to replace a file that appeared meanwhile.
void moveIntoPlace(const QString& from, const QString& to);

} // namespace DbFile
