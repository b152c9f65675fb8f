#pragma once

#include <functional>

class DbError;
class SQLConnection;

// Warehouse-object receipt numbers: one series for transfers into objects and direct deliveries
// to them, each number registered once (SKLOB_RAZPISKI), so two workstations never share one.
namespace ObjectReceipts {

// The number shown as a proposal: one above the highest in use or ever registered, 1 for the first.
int propose(SQLConnection& db);
// Takes the next number inside the caller's open transaction scope; the register row keeps it.
int take(SQLConnection& db);
// Takes the next number in a transaction of its own, for a receipt printed before it is stored.
int reserve(SQLConnection& db);
// Whether the number is registered and no line holds it yet: a reserved number still to be used.
bool stillReserved(SQLConnection& db, int number);
// Whether the error is a unique key refusing a number another workstation has just taken.
bool takenMeanwhile(const DbError& error);
// Runs write (which opens its own transaction and takes its numbers) again while another
// workstation has taken a number between its read and its store; a failed attempt stores nothing.
template <typename Result>
Result retryWhileTaken(const std::function<Result()>& write);

} // namespace ObjectReceipts

#include "platform/db/dberror.h"

template <typename Result>
Result ObjectReceipts::retryWhileTaken(const std::function<Result()>& write)
{
    for (int attempt = 0;; ++attempt) {
        try {
            return write();
        } catch (const DbError& e) {
            if (attempt >= 20 || !takenMeanwhile(e)) throw;
        }
    }
}
