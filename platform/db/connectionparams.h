#pragma once

#include <QString>

// How the program reaches its database. The defaults are the program's fixed parameters; with no
// server named the database file is opened through the embedded engine (no server, no password).
struct ConnectionParams
{
    QString connectionName = QStringLiteral("TarvixDemo");
    QString database = QStringLiteral("TRXBASE.fdb");
    QString server;  // empty: embedded
    int port = 0;    // 0: the server's default port
    QString user = QStringLiteral("sysdba");
    QString password = QStringLiteral("plumbgate");
    QString role = QStringLiteral("RoleName");
    int dialect = 1;
    int connectTimeout = 10;  // seconds a server may take to answer the attach; 0: the client's default

    bool embedded() const { return server.isEmpty(); }
    // The string handed to the client library: a path for embedded access, "host/port:path" otherwise.
    QString attachString() const;

    // Reads the optional [database] group of an INI file over the defaults. A relative embedded
    // database name is resolved inside dataDir.
    static ConnectionParams fromIni(const QString& iniPath, const QString& dataDir);
};
