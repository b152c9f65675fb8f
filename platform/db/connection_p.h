#pragma once

// Internals of SQLConnection shared by its translation units; never included above platform/db.

#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/rawrow.h"

#include <firebird/Interface.h>

#include <QHash>
#include <functional>
#include <list>
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

// Where a result column lies in the fetch buffer and how it is read.
struct OutColumn
{
    unsigned offset, nullOffset, type, length;
    int scale;
    int chars;  // CHAR columns: characters wide (the buffer holds up to four bytes for each)
    DbColumn::Kind kind;
    DbRawRow::Type raw;
};

// A prepared statement and what every call of it needs, kept by its text for reuse.
struct PreparedStatement
{
    QString text;
    Firebird::IStatement* stmt = nullptr;
    Firebird::IMessageMetadata* inMeta = nullptr;
    Firebird::IMessageMetadata* outMeta = nullptr;
    unsigned type = 0;
    unsigned messageLength = 0;
    QVector<DbColumn> columns;
    QVector<OutColumn> layout;
};

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
    // Rows go to onRow, or undecoded to onRaw; the outputs of a non-select to outputs.
    void run(const QString& sql, const QString& positional, const QVariantList& values,
             const std::function<void(const DbRow&)>* onRow, const std::function<void(const DbRawRow&)>* onRaw,
             QVector<DbColumn>* columns, QVariantMap* outputs, int* affected);

    // The statement cache: the one used last first. A statement in use is taken out of it, so a
    // call made while another runs the same text prepares its own; emptying the cache (before DDL,
    // on detach) moves on the generation, and a statement taken out before that is not put back.
    static constexpr int kCachedStatements = 64;
    std::list<PreparedStatement> statements;
    QHash<QString, std::list<PreparedStatement>::iterator> statementByText;
    quint64 statementGeneration = 0;
    quint64 prepared = 0;
    quint64 reused = 0;
    std::list<PreparedStatement> takeStatement(Firebird::ThrowStatusWrapper* st, Firebird::ITransaction* tx,
                                               const QString& text);
    void putStatementBack(std::list<PreparedStatement>& taken, quint64 generation);
    void freeStatement(PreparedStatement& s);
    void clearStatements();
};
