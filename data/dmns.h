#pragma once

#include "platform/db/connection.h"

#include <QObject>

// The shared data module: it owns the one connection every dataset and statement uses.
class TDMNS : public QObject
{
    Q_OBJECT
public:
    explicit TDMNS(const ConnectionParams& params, QObject* parent = nullptr);

    SQLConnection SQLConnectNS;

    // Opens the connection on first use: a missing embedded database is created and every
    // database is brought to the program's schema version.
    void connect();
};
