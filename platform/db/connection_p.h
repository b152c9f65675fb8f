#pragma once

// Internals of SQLConnection shared by its translation units; never included above platform/db.

#include "platform/db/connection.h"
#include "platform/db/dberror.h"

#include <firebird/Interface.h>

#include <QHash>
#include <functional>

// A status vector for one call, disposed when the call ends.
struct Status
{
    Firebird::ThrowStatusWrapper w;
    explicit Status(Firebird::IMaster* m) : w(m->getStatus()) {}
    ~Status() { w.dispose(); }
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;
};

struct SQLConnection::Impl
{
    explicit Impl(ConnectionParams p);

    ConnectionParams params;
    Firebird::IMaster* master;
    Firebird::IUtil* util;
    Firebird::IAttachment* att = nullptr;
    // The transaction of the open TransactionScope, if any.
    Firebird::ITransaction* scopeTx = nullptr;
    int depth = 0;
    bool doomed = false;
    QHash<QString, QStringList> procInputs;

    DbError translate(const Firebird::FbException& e, const QString& sql) const;
    QByteArray dpb(bool forCreate) const;
    void attach(bool forCreate);
    void detach();
    void rollback(Firebird::ITransaction* tx);
    Firebird::ITransaction* startTransaction(Firebird::ThrowStatusWrapper* st);
    // Runs work in the scope's transaction, or in one of its own that it commits.
    void inTransaction(const QString& sql,
                       const std::function<void(Firebird::ThrowStatusWrapper*, Firebird::ITransaction*)>& work);
    void run(const QString& sql, const QString& positional, const QVariantList& values,
             const std::function<void(const DbRow&)>* onRow, QVector<DbColumn>* columns, QVariantMap* outputs,
             int* affected);
};
