#include "platform/db/transaction.h"

#include "platform/db/connection_p.h"

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
    }
    if (--d.depth == 0) d.doomed = false;
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
    } catch (const Firebird::FbException& e) {
        finished_ = false;  // the destructor rolls back
        throw d.translate(e, {});
    }
}
