#include "reference/formmiarki.h"

#include "data/dmns.h"
#include "platform/widgets/dtsource.h"

TFormMiarki::TFormMiarki(TDMNS& dm)
    : TFormLookupEditor(QStringLiteral("FormMiarki"), QStringLiteral("Дефиниране на мерни единици !"), dm.SmpMiarka, QStringLiteral("DtSrcMiarka"),
                        QStringLiteral("SpdBtnZapisSklad"), QStringLiteral("SpeedButton5"),
                        QStringLiteral("Задължително за въвеждане - ИМЕ НА МЯРКА !\r") + QString(19, u' ') +
                            QStringLiteral("Запис няма да се осъществи !"))
{
    addEdit(QStringLiteral("DBEdtMiarka"), QStringLiteral("Име на мярка :"), QStringLiteral("MIARKA_BG"), 5, true, true);
}
