#pragma once

#include "platform/db/migrator.h"

class SQLConnection;

namespace Schema {

// The migrations built into the program, in version order.
QVector<Migration> migrations();

// Opens the database behind the connection, creating an embedded database file that does not exist
// yet, and brings it to the newest schema version.
void openAndUpgrade(SQLConnection& connection);

} // namespace Schema
