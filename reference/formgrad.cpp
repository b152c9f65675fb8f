#include "reference/formgrad.h"

#include "data/dmns.h"
#include "platform/widgets/dtsource.h"

TFormGrad::TFormGrad(TDMNS& dm)
    : TFormLookupEditor(QStringLiteral("FormGrad"), QStringLiteral("Дефиниране на населено място !"), dm.SmpGrad, QStringLiteral("DtSrcGrad"),
                        QStringLiteral("SpdBtnZapisGrad"), QStringLiteral("SpdBtnDelGrad"),
                        QStringLiteral("Задължително за въвеждане - ПОЩЕНСКИ КОД и НАСЕЛЕНО МЯСТО !\r") + QString(19, u' ') +
                            QStringLiteral("Запис няма да се осъществи !"))
{
    addEdit(QStringLiteral("DBEdtPostKod"), QStringLiteral("Пощенски код"), QStringLiteral("POSTKOD"), 6, true, true);
    addEdit(QStringLiteral("DBEdtGrad"), QStringLiteral("Населено място"), QStringLiteral("GRAD"), 15, true, false);
    addEdit(QStringLiteral("DBEdtNumOblast"), QStringLiteral("№ на област"), QStringLiteral("NUMOBLAST"), 6, false, false);
    addEdit(QStringLiteral("DBEdtTelKod"), QStringLiteral("Тел. код"), QStringLiteral("TELKOD"), 6, false, false);
    addLookup(QStringLiteral("DBLkpCmBoxCountry"), QStringLiteral("Държава"), QStringLiteral("KOD_COUNTRY"),
              new DataSource(&dm.SmpCountry, this), QStringLiteral("KOD_COUNTRY"), QStringLiteral("COUNTRY"));
}
