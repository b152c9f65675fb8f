#pragma once

#include <QString>
#include <QVector>

class SQLConnection;

struct Migration
{
    int version = 0;
    QString name;    // e.g. "0003_document_tables"
    QString script;  // statements in the command-line tool's syntax
};

// Brings a database to the newest schema version. Each migration runs in one transaction and is
// recorded in SCHEMA_VERSION with it, so a failing one leaves the database at the version before.
// Version 1 is the version table itself.
class Migrator
{
public:
    Migrator(SQLConnection& connection, QVector<Migration> migrations);

    int currentVersion();  // 0 for a database without the version table
    int latestVersion() const;
    // Applies what is missing; refuses a database newer than the program without touching it.
    void upgrade();

private:
    SQLConnection& connection_;
    QVector<Migration> migrations_;
};
