#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class SQLConnection;

// Delete guards of the reference data: count queries that keep a row from being deleted.
namespace Refusals {

// One count query (its count column named BROI) and the message shown when it counts rows.
struct Guard
{
    QString sql;
    QString message;
};

// The message of the first guard that counts rows for the key (given as the parameter named
// param); empty when none does.
QString firstRefusal(SQLConnection& db, const QList<Guard>& guards, const QString& param, const QVariant& key);

// The refusal of the places tab's guarded deletes: the cause, then on a line of its own (a lone
// carriage return and 12 blanks) that the delete cannot be done.
QString onItsOwnLine(const QString& cause);

} // namespace Refusals
