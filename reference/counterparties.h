#pragma once

#include <QString>
#include <QVariant>

class SQLConnection;

// The counterparties as the reference data window removes them and their special prices.
// Server faults propagate as DbError.
namespace Counterparties {

// Why the counterparty cannot be deleted (a sale, payment, delivery, price, packaging, reject or
// order keeps it); empty when it can.
QString deleteRefusal(SQLConnection& db, const QVariant& key);

// Removes one special price (its AUTONUM).
void removeSpecialPrice(SQLConnection& db, const QVariant& autonum);

} // namespace Counterparties
