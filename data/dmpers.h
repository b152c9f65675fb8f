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

    StoredProc SQLZapisPers;
    SmpDataset SmpTipSlugOtchet;  // kinds of expense report
    SmpDataset SmpTipManip;       // piece-work operations and their rates
    SmpDataset SmpDlygnosti;      // staff positions
};
