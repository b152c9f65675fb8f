#include "reference/formtipproizv.h"

#include "data/dmns.h"

TFormTipProizv::TFormTipProizv(TDMNS& dm)
    : TFormLookupEditor(QStringLiteral("FormTipProizv"), QStringLiteral("Производствен цех - нов / редакция / !"),
                        dm.SmpTipProizvN, QStringLiteral("DtSrcTipProizvN"), QStringLiteral("SpeedButton1"),
                        QStringLiteral("SpeedButton5"),
                        QStringLiteral("Задължително за въвеждане - ИМЕ НА ЦЕХ и ПСЕВДОНИМ !\r") + QString(19, u' ') +
                            QStringLiteral("Запис няма да се осъществи !"))
{
    addEdit(QStringLiteral("DBEdtProizvodstvo"), QStringLiteral("Име на цех :"), QStringLiteral("PROIZVODSTVO"), 35, true,
            true);
    addEdit(QStringLiteral("DBEdtPsevdonim"), QStringLiteral("Псевдоним"), QStringLiteral("PSEVDONIM_CEH"), 7, true, true);
}
