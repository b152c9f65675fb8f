#include "data/dmpers.h"

#include "platform/dataset/saveatonce.h"

TDMPers::TDMPers(SQLConnection& connection, QObject* parent)
    : QObject(parent), connection_(connection)
{
    setObjectName(QStringLiteral("DMPers"));
    SmpTipSlugOtchet.setTableName(QStringLiteral("TIP_SLUG_OTCHET"));
    SmpTipSlugOtchet.setIndexFieldNames(QStringLiteral("IME_SLUG_OTCHET"));
    SmpTipManip.setTableName(QStringLiteral("TIP_MANIPULACII"));
    SmpTipManip.setIndexFieldNames(QStringLiteral("IME_MANIPULACIA"));
    SmpDlygnosti.setTableName(QStringLiteral("DLYGNOSTI"));
    SmpDlygnosti.setIndexFieldNames(QStringLiteral("IME_DLYGNOST"));
    for (SmpDataset* ds : {&SmpTipSlugOtchet, &SmpTipManip, &SmpDlygnosti}) SaveAtOnce::install(*ds);
}
