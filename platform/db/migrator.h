#pragma once

#include <QString>
#include <QVector>
#include <functional>

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
    // Tables of someone else's application in a database without the version table.
    bool hasForeignTables();

    struct Hooks
    {
        // Asked between statements; true stops the upgrade, rolling back the running migration.
        std::function<bool()> interrupted;
        // Called after each migration is committed (tests inject their faults here).
        std::function<void(const Migration&)> afterEach;
    };
    // Applies what is missing. Refuses without touching it a database newer than the program, and
    // one that holds tables but no schema version (another application's database).
    void upgrade(const Hooks& hooks = {});

private:
    SQLConnection& connection_;
    QVector<Migration> migrations_;
};
