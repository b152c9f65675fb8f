#include "warehouse/objectreceipts.h"

#include "platform/db/connection.h"
#include "platform/db/transaction.h"

namespace ObjectReceipts {

namespace {
constexpr long kUniqueKeyViolation = 335544665;  // isc_unique_key_violation
constexpr long kNoDuplicate = 335544349;         // isc_no_dup
} // namespace

int propose(SQLConnection& db)
{
    const DbResult r = db.query(QStringLiteral(
        "select max(N) from (select max(NUM_SKL_RAZP) as N from SKL_OBEKTI_MATERIALI"
        " union all select max(NUM_SKL_RAZP) from SKLOB_RAZPISKI)"));
    const QVariant max = r.rows.front()[0];
    return max.isNull() ? 1 : max.toInt() + 1;
}

int take(SQLConnection& db)
{
    const int number = propose(db);
    db.execute(QStringLiteral("insert into SKLOB_RAZPISKI (NUM_SKL_RAZP) values (:N)"), {{QStringLiteral("N"), number}});
    return number;
}

int reserve(SQLConnection& db)
{
    return retryWhileTaken<int>([&db] {
        TransactionScope tx(db);
        const int number = take(db);
        tx.commit();
        return number;
    });
}

bool stillReserved(SQLConnection& db, int number)
{
    const DbResult r = db.query(
        QStringLiteral("select (select count(*) from SKLOB_RAZPISKI where NUM_SKL_RAZP = :N),"
                       " (select count(*) from SKL_OBEKTI_MATERIALI where NUM_SKL_RAZP = :N) from RDB$DATABASE"),
        {{QStringLiteral("N"), number}});
    return r.rows.front()[0].toInt() == 1 && r.rows.front()[1].toInt() == 0;
}

bool takenMeanwhile(const DbError& error)
{
    return error.hasCode(kUniqueKeyViolation) || error.hasCode(kNoDuplicate);
}

} // namespace ObjectReceipts
