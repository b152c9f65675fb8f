#include "platform/db/transaction.h"

#include "platform/db/connection_p.h"

#include <QHash>
#include <QList>

namespace {

using Settled = std::function<void(bool)>;

QHash<SQLConnection*, QList<Settled>>& settledHandlers()
{
    static QHash<SQLConnection*, QList<Settled>> handlers;
    return handlers;
}

void settle(SQLConnection* connection, bool committed)
{
    const QList<Settled> handlers = settledHandlers().take(connection);
    for (const Settled& h : handlers) h(committed);
}

} // namespace

bool TransactionScope::isOpen(SQLConnection& connection) { return connection.d->depth > 0; }

void TransactionScope::whenSettled(SQLConnection& connection, std::function<void(bool committed)> settled)
{
    if (connection.d->depth == 0 || !connection.d->scopeTx) {
        settled(false);
        return;
    }
    settledHandlers()[&connection] << std::move(settled);
}

TransactionScope::TransactionScope(SQLConnection& connection) : connection_(connection)
{
    SQLConnection::Impl& d = *connection_.d;
    d.ensureOpen();
    if (d.depth == 0) {
        Status st(d.master);
        try {
            d.scopeTx = d.startTransaction(&st.w);
        } catch (const Firebird::FbException& e) {
            throw d.translate(e, {});
        }
        d.doomed = false;
    }
    ++d.depth;
}

TransactionScope::~TransactionScope()
{
    SQLConnection::Impl& d = *connection_.d;
    if (!finished_ && d.scopeTx) {
        d.rollback(d.scopeTx);
        d.scopeTx = nullptr;
        d.doomed = true;
        settle(&connection_, false);
    }
    if (--d.depth == 0) {
        d.doomed = false;
        settle(&connection_, false);  // nothing left to store (e.g. the connection was closed meanwhile)
    }
}

void TransactionScope::commit()
{
    SQLConnection::Impl& d = *connection_.d;
    if (finished_) return;
    if (d.doomed || !d.scopeTx) throw DbError(QStringLiteral("Транзакцията вече е отменена."));
    finished_ = true;
    if (d.depth > 1) return;  // the outermost scope stores the work
    Status st(d.master);
    try {
        d.scopeTx->commit(&st.w);
        d.scopeTx = nullptr;
        settle(&connection_, true);
    } catch (const Firebird::FbException& e) {
        finished_ = false;  // the destructor rolls back
        throw d.translate(e, {});
    }
}
