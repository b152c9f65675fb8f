#include "reference/formcountry.h"

#include "data/dmns.h"
#include "platform/widgets/dtsource.h"

TFormCountry::TFormCountry(TDMNS& dm)
    : TFormLookupEditor(QStringLiteral("FormCountry"), QStringLiteral("Дефиниране на държава !"), dm.SmpCountry, QStringLiteral("DtSrcCountry"),
                        QStringLiteral("SpdBtnZapisCountry"), QStringLiteral("SpdBtnExitCountry"),
                        QStringLiteral("Задължително за въвеждане - ИМЕ НА ДЪРЖАВА !\r") + QString(19, u' ') +
                            QStringLiteral("Запис няма да се осъществи !"))
{
    addEdit(QStringLiteral("DBEdtCountry"), QStringLiteral("Име на държава :"), QStringLiteral("COUNTRY"), 15, true, true);
}
