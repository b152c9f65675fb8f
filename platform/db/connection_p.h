#pragma once

// Internals of SQLConnection shared by its translation units; never included above platform/db.

#include "platform/db/connection.h"
#include "platform/db/dberror.h"

#include <firebird/Interface.h>

#include <QHash>
#include <functional>
#include <type_traits>

// Owns one reference of a Firebird interface.
template <class T>
struct Ref
{
    T* p = nullptr;
    Ref() = default;
    explicit Ref(T* ptr) : p(ptr) {}
    ~Ref()
    {
        if (!p) return;
        if constexpr (std::is_same_v<T, Firebird::IXpbBuilder>) p->dispose();  // builders are disposable, not counted
        else p->release();
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    T* operator->() const { return p; }
    T* release()
    {
        T* r = p;
        p = nullptr;
        return r;
    }
};

// A status vector for one call, disposed when the call ends.
struct Status
{
    Firebird::ThrowStatusWrapper w;
    explicit Status(Firebird::IMaster* m) : w(m->getStatus()) {}
    ~Status() { w.dispose(); }
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;
};

// The engine's status as the data layer's error: its formatted text and every code.
DbError translateStatus(Firebird::IUtil* util, const Firebird::FbException& e, const QString& sql);

struct SQLConnection::Impl
{
    Impl(SQLConnection* self, ConnectionParams p);

    SQLConnection* self;
    ConnectionParams params;
    Firebird::IMaster* master;
    Firebird::IUtil* util;
    Firebird::IAttachment* att = nullptr;
    // The transaction of the open TransactionScope, if any.
    Firebird::ITransaction* scopeTx = nullptr;
    int depth = 0;
    bool doomed = false;
    QHash<QString, QStringList> procInputs;
    // The checked way in (see SQLConnection::setOpener), and why the connection was refused.
    std::function<void(SQLConnection&)> opener;
    bool opening = false;
    QString refusal;

    DbError translate(const Firebird::FbException& e, const QString& sql) const;
    QByteArray dpb(bool forCreate) const;
    void attach(bool forCreate);
    // Attaches through the opener when one is set; never after a refusal.
    void ensureOpen();
    // A call failed: a connection that cannot be used any more is let go, so the next call opens
    // it again through the checked way.
    void dropIfLost(const DbError& e);
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
