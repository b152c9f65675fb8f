#include "reference/formnomenklaturi.h"

#include "data/dmns.h"
#include "data/dmpers.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/handlers.h"
#include "reference/formcountry.h"
#include "reference/formgrad.h"
#include "reference/formtipkontr.h"
#include "reference/places.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

// The places tab: towns, countries, counterparty types and staff positions.


QWidget* TFormNomenklaturi::buildPlacesTab()
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabSheet3"));
    const auto group = [this](const QString& caption, DBGrid* grid, const char* newName, const char* newText,
                              void (TFormNomenklaturi::*onNew)(), const char* editName,
                              void (TFormNomenklaturi::*onEdit)(), const char* delName,
                              void (TFormNomenklaturi::*onDel)()) {
        auto* box = new QGroupBox(caption);
        auto* l = new QVBoxLayout(box);
        l->setContentsMargins(4, 4, 4, 4);
        auto* row = new QHBoxLayout;
        row->addWidget(makeButton(newName, QString::fromUtf8(newText), onNew));
        row->addWidget(makeButton(editName, QStringLiteral("Редакция"), onEdit));
        row->addWidget(makeButton(delName, QStringLiteral("Изтриване"), onDel));
        row->addStretch(1);
        l->addLayout(row);
        l->addWidget(grid, 1);
        Handlers::connect(grid, &QAbstractItemView::doubleClicked, this, onEdit);
        return box;
    };
    DBGrid7 = makeGrid("DBGrid7", dm_.SmpGrad,
                       {{"POSTKOD", "Пощ.код"}, {"GRAD", "Населено място"}, {"NUMOBLAST", "№ обл."},
                        {"TELKOD", "Тел.код"}, {"ImeCountry", "Държава"}},
                       true);
    DBGrid5 = makeGrid("DBGrid5", dm_.SmpCountry, {{"KOD_COUNTRY", "№"}, {"COUNTRY", "Държава"}}, true);
    DBGrid4 = makeGrid("DBGrid4", dm_.SmpTipKontragent, {{"NTIP_KONTRAGENT", "№ "}, {"KONTRAGENT", "Контрагенти"}}, true);
    DBGrid8 = makeGrid("DBGrid8", pers_.SmpDlygnosti, {{"IME_DLYGNOST", "Име на длъжност"}, {"KOD_NKP", "Код НКП"}}, false);

    auto* positions = new QGroupBox(QStringLiteral("Длъжности - персонал "));
    auto* pl = new QVBoxLayout(positions);
    pl->setContentsMargins(4, 4, 4, 4);
    auto* navRow = new QHBoxLayout;
    navRow->addWidget(makeNavigator("DBNavigator8", pers_.SmpDlygnosti));
    navRow->addStretch(1);
    pl->addLayout(navRow);
    pl->addWidget(DBGrid8, 1);

    auto* grid = new QGridLayout;
    grid->addWidget(group(QStringLiteral("Дефиниране на населени места "), DBGrid7, "SpdBtnNewGrad", "Нов запис",
                          &TFormNomenklaturi::SpdBtnNewGradClick, "SpdBtnRedGrad", &TFormNomenklaturi::SpdBtnRedGradClick,
                          "SpdBtnDelGrad", &TFormNomenklaturi::SpdBtnDelGradClick),
                    0, 0);
    grid->addWidget(group(QStringLiteral("Дефиниране на държава "), DBGrid5, "SpdBtnNewCountry", "Нов запис",
                          &TFormNomenklaturi::SpdBtnNewCountryClick, "SpdBtnRedCountry",
                          &TFormNomenklaturi::SpdBtnRedCountryClick, "SpdBtnDelCountry",
                          &TFormNomenklaturi::SpdBtnDelCountryClick),
                    0, 1);
    grid->addWidget(group(QStringLiteral("Дефиниране на контрагент "), DBGrid4, "SpdBtnNewTipKontr", "Нов запис",
                          &TFormNomenklaturi::SpdBtnNewTipKontrClick, "SpdBtnRedTipKontr",
                          &TFormNomenklaturi::SpdBtnRedTipKontrClick, "SpdBtnDelTipKontr",
                          &TFormNomenklaturi::SpdBtnDelTipKontrClick),
                    1, 0);
    grid->addWidget(positions, 1, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);

    auto* exitRow = new QHBoxLayout;
    exitRow->addStretch(1);
    auto* exit = makeButton("SpdBtnIzhodGrad", QStringLiteral("Изход"), nullptr);
    connect(exit, &QToolButton::clicked, this, &QWidget::close);
    exitRow->addWidget(exit);

    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(grid, 1);
    layout->addLayout(exitRow);
    return tab;
}

void TFormNomenklaturi::SpdBtnNewGradClick() { openListEditor(FormGrad, dm_.SmpGrad, true, {}); }

void TFormNomenklaturi::SpdBtnRedGradClick()
{
    openListEditor(FormGrad, dm_.SmpGrad, false, QStringLiteral("Няма въведени населени места !"));
}

void TFormNomenklaturi::SpdBtnDelGradClick()
{
    deleteListRow(dm_.SmpGrad, ReferenceLists::townDeleteRefusal, QStringLiteral("POSTKOD"),
                  QStringLiteral(" Потвърдете за изтриване ! "));
}

void TFormNomenklaturi::SpdBtnNewCountryClick() { openListEditor(FormCountry, dm_.SmpCountry, true, {}); }

void TFormNomenklaturi::SpdBtnRedCountryClick()
{
    openListEditor(FormCountry, dm_.SmpCountry, false, QStringLiteral("Няма въведени държави !"));
}

void TFormNomenklaturi::SpdBtnDelCountryClick()
{
    deleteListRow(dm_.SmpCountry, ReferenceLists::countryDeleteRefusal, QStringLiteral("KOD_COUNTRY"),
                  QStringLiteral(" Потвърдете за изтриване ! "));
}

void TFormNomenklaturi::SpdBtnNewTipKontrClick() { openListEditor(FormTipKontr, dm_.SmpTipKontragent, true, {}); }

void TFormNomenklaturi::SpdBtnRedTipKontrClick()
{
    openListEditor(FormTipKontr, dm_.SmpTipKontragent, false, QStringLiteral("Няма типове контрагенти !"));
}

void TFormNomenklaturi::SpdBtnDelTipKontrClick()
{
    deleteListRow(dm_.SmpTipKontragent, ReferenceLists::counterpartyTypeDeleteRefusal, QStringLiteral("NTIP_KONTRAGENT"),
                  QStringLiteral(" Потвърдете за изтриване ! "));
}
