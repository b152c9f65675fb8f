#include "reference/tabplaces.h"

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

TabPlaces::TabPlaces(TDMNS& dm, TDMPers& pers, QWidget* parent)
    : QWidget(parent), dm_(dm), lists_(*this, dm.SQLConnectNS)
{
    setObjectName(QStringLiteral("TabSheet3"));
    const auto group = [this](const QString& caption, DBGrid* grid, const char* newName, const char* newText,
                              void (TabPlaces::*onNew)(), const char* editName,
                              void (TabPlaces::*onEdit)(), const char* delName,
                              void (TabPlaces::*onDel)()) {
        auto* box = new QGroupBox(caption);
        auto* l = new QVBoxLayout(box);
        l->setContentsMargins(4, 4, 4, 4);
        auto* row = new QHBoxLayout;
        row->addWidget(Handlers::makeButton(newName, QString::fromUtf8(newText), this, onNew));
        row->addWidget(Handlers::makeButton(editName, QStringLiteral("Редакция"), this, onEdit));
        row->addWidget(Handlers::makeButton(delName, QStringLiteral("Изтриване"), this, onDel));
        row->addStretch(1);
        l->addLayout(row);
        l->addWidget(grid, 1);
        Handlers::connect(grid, &QAbstractItemView::doubleClicked, this, onEdit);
        return box;
    };
    DBGrid7 = lists_.grid("DBGrid7", dm_.SmpGrad,
                       {{"POSTKOD", "Пощ.код"}, {"GRAD", "Населено място"}, {"NUMOBLAST", "№ обл."},
                        {"TELKOD", "Тел.код"}, {"ImeCountry", "Държава"}},
                       true);
    DBGrid5 = lists_.grid("DBGrid5", dm_.SmpCountry, {{"KOD_COUNTRY", "№"}, {"COUNTRY", "Държава"}}, true);
    DBGrid4 = lists_.grid("DBGrid4", dm_.SmpTipKontragent, {{"NTIP_KONTRAGENT", "№ "}, {"KONTRAGENT", "Контрагенти"}}, true);
    DBGrid8 = lists_.grid("DBGrid8", pers.SmpDlygnosti, {{"IME_DLYGNOST", "Име на длъжност"}, {"KOD_NKP", "Код НКП"}}, false);

    auto* positions = new QGroupBox(QStringLiteral("Длъжности - персонал "));
    auto* pl = new QVBoxLayout(positions);
    pl->setContentsMargins(4, 4, 4, 4);
    auto* navRow = new QHBoxLayout;
    navRow->addWidget(lists_.navigator("DBNavigator8", pers.SmpDlygnosti));
    navRow->addStretch(1);
    pl->addLayout(navRow);
    pl->addWidget(DBGrid8, 1);

    auto* grid = new QGridLayout;
    grid->addWidget(group(QStringLiteral("Дефиниране на населени места "), DBGrid7, "SpdBtnNewGrad", "Нов запис",
                          &TabPlaces::SpdBtnNewGradClick, "SpdBtnRedGrad", &TabPlaces::SpdBtnRedGradClick,
                          "SpdBtnDelGrad", &TabPlaces::SpdBtnDelGradClick),
                    0, 0);
    grid->addWidget(group(QStringLiteral("Дефиниране на държава "), DBGrid5, "SpdBtnNewCountry", "Нов запис",
                          &TabPlaces::SpdBtnNewCountryClick, "SpdBtnRedCountry",
                          &TabPlaces::SpdBtnRedCountryClick, "SpdBtnDelCountry",
                          &TabPlaces::SpdBtnDelCountryClick),
                    0, 1);
    grid->addWidget(group(QStringLiteral("Дефиниране на контрагент "), DBGrid4, "SpdBtnNewTipKontr", "Нов запис",
                          &TabPlaces::SpdBtnNewTipKontrClick, "SpdBtnRedTipKontr",
                          &TabPlaces::SpdBtnRedTipKontrClick, "SpdBtnDelTipKontr",
                          &TabPlaces::SpdBtnDelTipKontrClick),
                    1, 0);
    grid->addWidget(positions, 1, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);

    auto* exitRow = new QHBoxLayout;
    exitRow->addStretch(1);
    exitRow->addWidget(lists_.exitButton("SpdBtnIzhodGrad"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(grid, 1);
    layout->addLayout(exitRow);
}

void TabPlaces::SpdBtnNewGradClick() { ListControls::openEditor(FormGrad, dm_.SmpGrad, true, {}); }

void TabPlaces::SpdBtnRedGradClick()
{
    ListControls::openEditor(FormGrad, dm_.SmpGrad, false, QStringLiteral("Няма въведени населени места !"));
}

void TabPlaces::SpdBtnDelGradClick()
{
    lists_.deleteRow(dm_.SmpGrad, ReferenceLists::townDeleteRefusal, QStringLiteral("POSTKOD"),
                  QStringLiteral(" Потвърдете за изтриване ! "));
}

void TabPlaces::SpdBtnNewCountryClick() { ListControls::openEditor(FormCountry, dm_.SmpCountry, true, {}); }

void TabPlaces::SpdBtnRedCountryClick()
{
    ListControls::openEditor(FormCountry, dm_.SmpCountry, false, QStringLiteral("Няма въведени държави !"));
}

void TabPlaces::SpdBtnDelCountryClick()
{
    lists_.deleteRow(dm_.SmpCountry, ReferenceLists::countryDeleteRefusal, QStringLiteral("KOD_COUNTRY"),
                  QStringLiteral(" Потвърдете за изтриване ! "));
}

void TabPlaces::SpdBtnNewTipKontrClick() { ListControls::openEditor(FormTipKontr, dm_.SmpTipKontragent, true, {}); }

void TabPlaces::SpdBtnRedTipKontrClick()
{
    ListControls::openEditor(FormTipKontr, dm_.SmpTipKontragent, false, QStringLiteral("Няма типове контрагенти !"));
}

void TabPlaces::SpdBtnDelTipKontrClick()
{
    lists_.deleteRow(dm_.SmpTipKontragent, ReferenceLists::counterpartyTypeDeleteRefusal, QStringLiteral("NTIP_KONTRAGENT"),
                  QStringLiteral(" Потвърдете за изтриване ! "));
}
