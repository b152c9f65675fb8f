#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

class SQLConnection;

// The items (materials, semi-finished goods, products, sets) as the reference data window stores
// and removes them. Server faults propagate as DbError.
namespace Materials {

// True when an item of this name is stored.
bool nameInUse(SQLConnection& db, const QString& name);

// Stores an item from the item list's values (by its field names: IMEMATERIAL, NMIARKA, NSKLAD,
// the prices, quantities, flags and SNIMKA): a new item when key is null (the database gives the
// key), else over the item with that key. An empty value is stored empty.
void store(SQLConnection& db, const QVariantMap& values, const QVariant& key = {});

// Why the item cannot be deleted (a document, recipe, price or stock row keeps it); empty when
// it can.
QString deleteRefusal(SQLConnection& db, const QVariant& key);
void remove(SQLConnection& db, const QVariant& key);

} // namespace Materials
