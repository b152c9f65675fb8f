#include "staff/tabslugrazpl.h"

#include "common/gridexport.h"
#include "data/dmpers.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "staff/formslugavans.h"
#include "staff/formslugotchet.h"
#include "staff/staffdata.h"
#include "staff/staffwidgets.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QToolButton>

TabSlugRazpl::TabSlugRazpl(TDMPers& pers, QWidget* parent) : QWidget(parent), pers_(pers)
{
    setObjectName(QStringLiteral("TabSheet1"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Handlers::makeButton("SpdBtnAvansNov", QStringLiteral("Сума за аванс"), this, &TabSlugRazpl::SpdBtnAvansNovClick));
    buttons->addWidget(Handlers::makeButton("SpdBtnKorekc", QStringLiteral("Корекция"), this, &TabSlugRazpl::SpdBtnKorekcClick));
    buttons->addWidget(Handlers::makeButton("SpdBtnOtchetNov", QStringLiteral("Отчет - нов"), this, &TabSlugRazpl::SpdBtnOtchetNovClick));
    buttons->addWidget(
        Handlers::makeButton("SpdBtnDelAvansOtchet", QStringLiteral("Изтриване"), this, &TabSlugRazpl::SpdBtnDelAvansOtchetClick));
    buttons->addWidget(
        Handlers::makeButton("SpdBtnExcelSlugRazpl", QStringLiteral(" > Excel"), this, &TabSlugRazpl::SpdBtnExcelSlugRazplClick));
    buttons->addWidget(
        Handlers::makeButton("SpdBtnAvansDavane", QStringLiteral("Аванс - даване"), this, &TabSlugRazpl::SpdBtnAvansDavaneClick));
    buttons->addStretch(1);
    auto* exit = Handlers::makeButton("SpdBtnExit", QStringLiteral("Изход"));
    Handlers::connectClick(exit, this, [this] { window()->close(); });
    buttons->addWidget(exit);

    auto* source = new DataSource(&pers.SmpViewRazplPers, this);
    DBGrid2 = StaffWidgets::grid("DBGrid2", source, {}, true);
    StaffWidgets::colourByKind(DBGrid2, pers.SmpViewRazplPers);
    Handlers::connect(DBGrid2, &QAbstractItemView::doubleClicked, this, [this] { SpdBtnKorekcClick(); });

    auto* filter = new QGroupBox(QStringLiteral("Филтър за "));
    filter->setObjectName(QStringLiteral("GrpBoxFiltyrSlugRazpl"));
    auto* fl = new QVBoxLayout(filter);
    RdGrpFiltyrSlugRazpl = new QButtonGroup(this);
    RdGrpFiltyrSlugRazpl->setObjectName(QStringLiteral("RdGrpFiltyrSlugRazpl"));
    const char* captions[] = {"Всички", "Аванс", "Разпл.дост.", "Служ.разх."};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QRadioButton(QString::fromUtf8(captions[i]));
        b->setObjectName(QStringLiteral("RdBtnFiltyr%1").arg(i));
        b->setChecked(i == 0);
        RdGrpFiltyrSlugRazpl->addButton(b, i);
        fl->addWidget(b);
    }
    Handlers::connect(RdGrpFiltyrSlugRazpl, &QButtonGroup::idClicked, this, [this] { RdGrpFiltyrSlugRazplClick(); });

    auto* own = new DataSource(&pers.SmpRazplPersSpr, this);
    own->setObjectName(QStringLiteral("DtSrcRazplPersSpr"));
    auto* firm = new DataSource(&pers.SmpRazplPersSprObsto, this);
    firm->setObjectName(QStringLiteral("DtSrcRazplPersSprObsto"));
    auto* balances = new QHBoxLayout;
    balances->addWidget(filter);
    balances->addWidget(StaffWidgets::balance(QStringLiteral("За лицето "), own,
                                              {QStringLiteral("Получен аванс"), QStringLiteral("Разпл. доставчик"),
                                               QStringLiteral("Служебни разходи"), QStringLiteral("Разлика/наличност")}));
    balances->addWidget(StaffWidgets::balance(QStringLiteral("За фирмата "), firm,
                                              {QStringLiteral("Получени аванси"), QStringLiteral("Разпл. доставчици"),
                                               QStringLiteral("Служебни разходи"), QStringLiteral("Разлика/наличност")}));
    balances->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(DBGrid2, 1);
    layout->addLayout(balances);
}

bool TabSlugRazpl::staffPresent()
{
    if (!pers_.SmpViewPers.isEmpty()) return true;
    UiService::current().showMessage(QStringLiteral("Липства въведен персонал !"));
    return false;
}

void TabSlugRazpl::openAdvance(int mode)
{
    FormSlugAvans->setMode(mode);
    UiService::current().showModal(FormSlugAvans);
}

void TabSlugRazpl::openReport(int mode)
{
    FormSlugOtchet->setMode(mode);
    UiService::current().showModal(FormSlugOtchet);
}

void TabSlugRazpl::SpdBtnAvansNovClick()
{
    if (staffPresent()) openAdvance(1);
}

void TabSlugRazpl::SpdBtnAvansDavaneClick()
{
    if (staffPresent()) openAdvance(2);
}

void TabSlugRazpl::SpdBtnOtchetNovClick()
{
    if (staffPresent()) openReport(1);
}

void TabSlugRazpl::SpdBtnKorekcClick()
{
    if (!staffPresent() || pers_.SmpViewRazplPers.isEmpty()) return;
    const int kind = pers_.SmpViewRazplPers.fieldByName(QStringLiteral("AVANS_OTCHET_DOST"))->asInt();
    if (const QString why = Staff::correctionRefusal(kind); !why.isEmpty()) {
        UiService::current().showMessage(why);
        return;
    }
    if (kind == Staff::Advance) openAdvance(0);
    else if (kind == Staff::Report) openReport(0);
}

void TabSlugRazpl::SpdBtnDelAvansOtchetClick()
{
    SmpDataset& mv = pers_.SmpViewRazplPers;
    if (mv.isEmpty()) return;
    const int kind = mv.fieldByName(QStringLiteral("AVANS_OTCHET_DOST"))->asInt();
    if (const QString why = Staff::deletionRefusal(kind); !why.isEmpty()) {
        UiService::current().showMessage(why);
        return;
    }
    const QString question = kind == Staff::AdvanceGiven
                                 ? QStringLiteral(" ВНИМАНИЕ !  Ще бъдат изтрити всички получени и дадени аванси,") + u'\r' +
                                       QString(24, u' ') + QStringLiteral("свързани с това лице към избраната дата !")
                                 : QStringLiteral(" Изтриване на служебен аванс/отчет/ ? ");
    if (!UiService::current().askYesNo(question)) return;
    Staff::deleteMovement(pers_.connection(), kind, mv.fieldByName(QStringLiteral("NUM_ZAPIS"))->asInt(),
                          mv.fieldByName(QStringLiteral("AVANS_NA_SHIFYR"))->asInt(),
                          mv.fieldByName(QStringLiteral("RAZPL_DATE"))->asDate());
    pers_.reloadPayments();
}

void TabSlugRazpl::SpdBtnExcelSlugRazplClick()
{
    SpreadsheetExport how;
    how.parentWindow = window();
    ExportDatasetToSpreadsheet(pers_.SmpViewRazplPers, how);
}

void TabSlugRazpl::RdGrpFiltyrSlugRazplClick()
{
    static const char* filters[] = {"", "AVANS_OTCHET_DOST=1", "AVANS_OTCHET_DOST=3", "AVANS_OTCHET_DOST=2"};
    const int id = RdGrpFiltyrSlugRazpl->checkedId();
    SmpDataset& mv = pers_.SmpViewRazplPers;
    mv.setFilter(QString::fromLatin1(filters[qBound(0, id, 3)]));
    mv.setFiltered(id > 0);
}
