#pragma once

#include "platform/db/components.h"

#include <QObject>

// The inquiry data module, on the shared connection; the inquiry lists join it with their windows.
class TDMNsSpravki : public QObject
{
    Q_OBJECT
public:
    explicit TDMNsSpravki(SQLConnection& connection, QObject* parent = nullptr)
        : QObject(parent), SQLZapisSpravki(connection)
    {
        setObjectName(QStringLiteral("DMNsSpravki"));
    }

    StoredProc SQLZapisSpravki;
};
