#pragma once

#include "platform/dataset/smpdataset.h"
#include "platform/db/components.h"

#include <QObject>

// The personnel data module, on the shared connection.
class TDMPers : public QObject
{
    Q_OBJECT
public:
    explicit TDMPers(SQLConnection& connection, QObject* parent = nullptr);

private:
    SQLConnection& connection_;

public:
    StoredProc SQLZapisPers{connection_};
    // kinds of expense report
    SmpDataset SmpTipSlugOtchet{QStringLiteral("SmpTipSlugOtchet"), &connection_, this};
    // piece-work operations and their rates
    SmpDataset SmpTipManip{QStringLiteral("SmpTipManip"), &connection_, this};
    // staff positions
    SmpDataset SmpDlygnosti{QStringLiteral("SmpDlygnosti"), &connection_, this};
};
