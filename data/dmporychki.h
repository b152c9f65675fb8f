#pragma once

#include "platform/db/components.h"

#include <QObject>

// The client-orders data module, on the shared connection; the order lists join it with their windows.
class TDMPorychki : public QObject
{
    Q_OBJECT
public:
    explicit TDMPorychki(SQLConnection& connection, QObject* parent = nullptr)
        : QObject(parent), SQLZapisPorychki(connection)
    {
        setObjectName(QStringLiteral("DMPorychki"));
    }

    StoredProc SQLZapisPorychki;
};
