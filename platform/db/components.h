#pragma once

#include "platform/db/connection.h"

// The ad-hoc query component: set the text and parameters by name, then open it (a select; rows
// are read by field name from the current row) or execute it.
class SqlQuery
{
public:
    explicit SqlQuery(SQLConnection& connection) : connection_(connection) {}

    void close() { result_ = {}, row_ = 0, open_ = false; }
    void setSql(const QString& sql) { close(), sql_ = sql, params_.clear(); }
    const QString& sql() const { return sql_; }
    void setParam(const QString& name, const QVariant& value) { params_.insert(name, value); }
    void open();
    int execSql();
    bool isOpen() const { return open_; }
    bool eof() const { return row_ >= result_.rows.size(); }
    void next() { ++row_; }
    int recordCount() const { return int(result_.rows.size()); }
    // The field of the current row; null when there is no row.
    QVariant fieldByName(const QString& name) const;

private:
    SQLConnection& connection_;
    QString sql_;
    SqlParams params_;
    DbResult result_;
    std::size_t row_ = 0;
    bool open_ = false;
};

// The stored-procedure component: set the name, set inputs by name, execute; outputs by name.
class StoredProc
{
public:
    explicit StoredProc(SQLConnection& connection) : connection_(connection) {}

    void setProcName(const QString& name) { name_ = name, params_.clear(), outputs_.clear(); }
    const QString& procName() const { return name_; }
    void setParam(const QString& name, const QVariant& value) { params_.insert(name, value); }
    void execProc() { outputs_ = connection_.executeProcedure(name_, params_); }
    QVariant output(const QString& name) const;

private:
    SQLConnection& connection_;
    QString name_;
    SqlParams params_;
    QVariantMap outputs_;
};
