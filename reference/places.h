#pragma once

#include <QString>
#include <QVariant>

class SQLConnection;

// Why a row of a small reference list cannot be deleted; empty when it can. Server faults
// propagate as DbError.
namespace ReferenceLists {

QString warehouseDeleteRefusal(SQLConnection& db, const QVariant& warehouse);
QString unitDeleteRefusal(SQLConnection& db, const QVariant& unit);
QString townDeleteRefusal(SQLConnection& db, const QVariant& postCode);
QString countryDeleteRefusal(SQLConnection& db, const QVariant& country);
QString counterpartyTypeDeleteRefusal(SQLConnection& db, const QVariant& type);

} // namespace ReferenceLists
