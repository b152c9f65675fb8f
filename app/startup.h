#pragma once

#include "platform/db/connectionparams.h"

#include <QStringList>
#include <functional>
#include <optional>

class SQLConnection;

// The program's way from its configuration file to a checked, open database. Everything the user
// must know is said through the ui service (and so also on stderr); a failure ends the program.
namespace Startup {

struct Config
{
    ConnectionParams params;
    QString iniPath;
    bool databaseNamed = false;  // the file names the embedded database explicitly
};

// What is wrong with the configuration file, one text per line at fault, naming the line. A file
// that does not exist is sound (the defaults apply).
QStringList checkConfigFile(const QString& iniPath);
// The configuration, or nothing after its problems were reported once.
std::optional<Config> readConfig(const QString& iniPath, const QString& dataDir);

// Opens the database through the checked way and makes that way the connection's only way in, so
// a connection lost later is opened again with the same checks. Says what was done (a new database,
// an upgrade and where its copy is). On failure says why and what to do, refuses the connection so
// nothing can use it, and returns false: the program is to end. interrupted stops a running upgrade.
bool openDatabase(SQLConnection& connection, const Config& config, std::function<bool()> interrupted = {});

} // namespace Startup
