#include "reference/formtipkontr.h"

#include "data/dmns.h"
#include "platform/widgets/dtsource.h"

TFormTipKontr::TFormTipKontr(TDMNS& dm)
    : TFormLookupEditor(QStringLiteral("FormTipKontr"), QStringLiteral("Дефиниране на тип контрагент !"), dm.SmpTipKontragent, QStringLiteral("DtSrcTipKontragenti"),
                        QStringLiteral("SpdBtnZapisTipKontr"), QStringLiteral("SpdBtnExitTipKontr"),
                        QStringLiteral("Задължително за въвеждане - ИМЕ НА ТИП КОНТРАГЕНТ !\r") + QString(19, u' ') +
                            QStringLiteral("Запис няма да се осъществи !"))
{
    addEdit(QStringLiteral("DBEdtTipKontr"), QStringLiteral("Име на тип контрагент :"), QStringLiteral("KONTRAGENT"), 20,
            true, true);
}
