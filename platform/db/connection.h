#pragma once

#include "platform/db/connectionparams.h"

#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

// Parameters by name; names are case-insensitive.
using SqlParams = QVariantMap;
using DbRow = QVector<QVariant>;
class DbRawRow;

// One column of a result, as the server describes it.
struct DbColumn
{
    enum class Kind { Integer, Float, Text, Bytes, DateTime, Date, Time, Bool, Null };

    QString name;      // the name the statement gives the column
    QString relation;  // the table it is read from; empty for expressions
    QString field;     // the column of that table
    unsigned sqlType = 0;
    int subType = 0;
    unsigned length = 0;  // characters for text, bytes otherwise
    int scale = 0;
    bool nullable = true;
    Kind kind = Kind::Null;
};

// Rows fetched whole: values are typed (integers, doubles, QString, QByteArray, QDate, QDateTime);
// a null is an invalid QVariant. Timestamps are wall-clock values and carry no time zone.
struct DbResult
{
    QVector<DbColumn> columns;
    std::vector<DbRow> rows;

    int columnIndex(const QString& name) const;  // case-insensitive; -1 when absent
    QVariant value(std::size_t row, const QString& column) const;
    bool isEmpty() const { return rows.empty(); }
};

// The connection every dataset, statement and procedure call goes through. Each call commits on
// its own unless a TransactionScope is open on the connection. Every failure is a DbError.
class SQLConnection
{
public:
    explicit SQLConnection(ConnectionParams params = {});
    ~SQLConnection();
    SQLConnection(const SQLConnection&) = delete;
    SQLConnection& operator=(const SQLConnection&) = delete;

    const ConnectionParams& params() const;
    void setParams(const ConnectionParams& params);  // closes an open connection

    // Attaches plainly; the opener below uses it. Refused after refuse().
    void open();
    void create();  // makes a new, empty database (dialect 1, WIN1251) and stays attached to it
    void close();
    bool isOpen() const;

    // The checked way in: a call that finds the connection closed (never opened, or let go after
    // the connection was lost) opens it through the opener, which checks the database before
    // anything uses it. Without an opener the connection attaches plainly (tools, tests).
    void setOpener(std::function<void(SQLConnection&)> opener);
    void openChecked();
    // After a refused start nothing may use the database: every later call fails with this reason
    // and nothing attaches, until other parameters are set.
    void refuse(const QString& reason);

    DbResult query(const QString& sql, const SqlParams& params = {});
    // The plain fetch loop: each row is handed over and not kept.
    void forEachRow(const QString& sql, const SqlParams& params, const std::function<void(const DbRow&)>& onRow,
                    QVector<DbColumn>* columns = nullptr);
    // The same loop without a QVariant per value, for a reader that keeps rows in a form of its
    // own (see rawrow.h).
    void forEachRawRow(const QString& sql, const SqlParams& params, const std::function<void(const DbRawRow&)>& onRow,
                       QVector<DbColumn>* columns = nullptr);
    // Runs a statement that returns no rows; the number of rows it touched.
    int execute(const QString& sql, const SqlParams& params = {});
    // Runs an insert/update with a RETURNING clause; the returned columns by name.
    QVariantMap executeReturning(const QString& sql, const SqlParams& params = {});
    // DDL and PSQL text, run as written (no parameter markers are looked for).
    void executeImmediate(const QString& sql);

    // Stored procedures by name, inputs by name in any order; inputs not given are null.
    QVariantMap executeProcedure(const QString& name, const SqlParams& inputs = {});
    DbResult selectProcedure(const QString& name, const SqlParams& inputs = {}, const QString& orderBy = {});
    QStringList procedureInputs(const QString& name);

    // Statements are prepared once and kept by their text for the next call (the 64 used last).
    // The cache is emptied before DDL runs on this connection, and when it closes.
    struct StatementCacheStats
    {
        int cached = 0;
        quint64 prepared = 0;
        quint64 reused = 0;
    };
    StatementCacheStats statementCacheStats() const;
    void clearStatementCache();

    struct Impl;

private:
    friend class TransactionScope;
    std::unique_ptr<Impl> d;
};
