#include "staff/tabzarab.h"

#include "common/gridexport.h"
#include "data/dmpers.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "staff/staffwidgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

TabZarab::TabZarab(TDMPers& pers, QWidget* parent) : QWidget(parent), pers_(pers)
{
    setObjectName(QStringLiteral("TabSheet3"));
    auto* lines = new DataSource(&pers.SmpVedManip, this);
    GrpBoxZarab = new QGroupBox;
    GrpBoxZarab->setObjectName(QStringLiteral("GrpBoxZarab"));
    DBGrid3 = StaffWidgets::grid("DBGrid3", lines,
                                 {{"GGGGMM", ""}, {"GGGGMM_DEN", ""}, {"ImeManip", ""}, {"BROI_MANIPULACII", ""},
                                  {"RAZCENKA", ""}, {"STOINOST_MANIPULACII", ""}},
                                 false);
    DBNavigator3 = new DBNavigator;
    DBNavigator3->setObjectName(QStringLiteral("DBNavigator3"));
    DBNavigator3->setDataSource(lines);
    DBNavigator3->setButtons(DBNavigator::Prior | DBNavigator::Next | DBNavigator::Insert | DBNavigator::Delete |
                             DBNavigator::Edit | DBNavigator::Post | DBNavigator::Cancel | DBNavigator::Refresh);
    auto* sums = new QHBoxLayout;
    sums->addWidget(DBNavigator3);
    sums->addStretch(1);
    sums->addWidget(new QLabel(QStringLiteral("Сума общо -")));
    sums->addWidget(StaffWidgets::text("DBTextSumStoinost", lines, "SumStoinost"));
    sums->addWidget(new QLabel(QStringLiteral("Брой манип.-")));
    sums->addWidget(StaffWidgets::text("DBTextSumBroiManip", lines, "SumBroiManip"));
    sums->addWidget(Handlers::makeButton("BitBtn1", QStringLiteral("-> Excel"), this, &TabZarab::BitBtn1Click));
    auto* gl = new QVBoxLayout(GrpBoxZarab);
    gl->addWidget(DBGrid3, 1);
    gl->addLayout(sums);

    auto* byMonth = new DataSource(&pers.SmpViewVedZarab, this);
    auto* info = new QGroupBox(QStringLiteral("Информация по месеци "));
    DBLkpCmbGodMesIme = new DBLookupComboBox;
    DBLkpCmbGodMesIme->setObjectName(QStringLiteral("DBLkpCmbGodMesIme"));
    DBLkpCmbGodMesIme->setListSource(new DataSource(&pers.SmpGodMes, this));
    DBLkpCmbGodMesIme->setKeyField(QStringLiteral("GGGGMM"));
    DBLkpCmbGodMesIme->setListField(QStringLiteral("GODMESIME"));
    Handlers::connect(DBLkpCmbGodMesIme, &DBLookupComboBox::closeUp, this, &TabZarab::DBLkpCmbGodMesImeCloseUp);
    DBGrid22 = StaffWidgets::grid("DBGrid22", byMonth,
                                  {{"GODMESIME", ""}, {"MANIPULACII_MESEC", ""}, {"ZARABOTKA_MESEC", ""}}, true);
    auto* il = new QGridLayout(info);
    il->addWidget(new QLabel(QStringLiteral("Изберете месец/година :")), 0, 0);
    il->addWidget(DBLkpCmbGodMesIme, 0, 1);
    il->addWidget(DBGrid22, 1, 0, 1, 2);
    il->addWidget(new QLabel(QStringLiteral("Сума за година -")), 2, 0);
    il->addWidget(StaffWidgets::text("DBTextSumZarab_god", byMonth, "SumZarab_god"), 2, 1);
    il->addWidget(new QLabel(QStringLiteral("Брой манипулации -")), 3, 0);
    il->addWidget(StaffWidgets::text("DBTextSumManip_god", byMonth, "SumManip_god"), 3, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(GrpBoxZarab, 3);
    layout->addWidget(info, 2);
}

void TabZarab::showMonth()
{
    pers_.reloadEarnings();
    pers_.filterWorkLines();
    DBLkpCmbGodMesIme->setKeyValue(pers_.SmpGodMes.value(QStringLiteral("GGGGMM")));
    GrpBoxZarab->setTitle(QStringLiteral("Въвеждане на заработки за - ") +
                          pers_.SmpGodMes.value(QStringLiteral("GODMESIME")).toString() + QStringLiteral(" г. "));
}

void TabZarab::DBLkpCmbGodMesImeCloseUp()
{
    pers_.SmpGodMes.locate(QStringLiteral("GGGGMM"), {DBLkpCmbGodMesIme->keyValue()});
    showMonth();
}

void TabZarab::BitBtn1Click()
{
    SpreadsheetExport how;
    how.parentWindow = window();
    ExportDatasetToSpreadsheet(pers_.SmpVedManip, how);
}
