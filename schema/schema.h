#pragma once

#include "platform/db/migrator.h"

#include <functional>

class SQLConnection;

namespace Schema {

// The migrations built into the program, in version order.
QVector<Migration> migrations();

struct OpenOptions
{
    // A missing embedded database file may be made; asked first when confirmCreate is set.
    bool mayCreate = true;
    std::function<bool(const QString& path)> confirmCreate;
    Migrator::Hooks hooks;
};

struct OpenResult
{
    bool created = false;
    int fromVersion = 0;
    int toVersion = 0;
    QString backupPath;  // the copy made before an upgrade; empty when none was needed
};

// Opens the database behind the connection and brings it to the newest schema version.
// A new embedded database is made and migrated under a temporary name and moved into place only
// when the last migration has committed, so an interrupted first start leaves no database behind;
// a temporary file left by one is removed. An existing database is copied before it is upgraded:
// the embedded file beside itself, a server's database as a backup the server writes beside it. A database newer than the program, or another application's, is refused
// untouched. On any failure the connection is left closed.
OpenResult openAndUpgrade(SQLConnection& connection, const OpenOptions& options = {});

} // namespace Schema
