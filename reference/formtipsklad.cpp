#include "reference/formtipsklad.h"

#include "data/dmns.h"
#include "platform/widgets/dtsource.h"

TFormTipSklad::TFormTipSklad(TDMNS& dm)
    : TFormLookupEditor(QStringLiteral("FormTipSklad"), QStringLiteral("Дефиниране на склад !"), dm.SmpTipSklad, QStringLiteral("DtSrcTipSklad"),
                        QStringLiteral("SpdBtnZapisSklad"), QStringLiteral("SpeedButton5"),
                        QStringLiteral("Задължително за въвеждане - ИМЕ НА СКЛАД !\r") + QString(19, u' ') +
                            QStringLiteral("Запис няма да се осъществи !"))
{
    addEdit(QStringLiteral("DBEdtSklad"), QStringLiteral("Име на склад :"), QStringLiteral("SKLAD"), 35, true, true);
    addLookup(QStringLiteral("DBLkpCmBoxSklObDaNe"), QStringLiteral("Връзка с външни складови обекти"),
              QStringLiteral("SKL_OBEKT_DA_NE"), new DataSource(&dm.SmpDaNe, this), QStringLiteral("NUM_DA_NE"),
              QStringLiteral("TEXT_DA_NE"));
    // The warehouse choice lists of other windows show a new warehouse or a changed name.
    afterSave = [&dm] {
        dm.SmpIzbSklad.close();
        dm.SmpIzbSklad.open();
    };
}
