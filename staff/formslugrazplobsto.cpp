#include "staff/formslugrazplobsto.h"

#include "common/gridexport.h"
#include "data/dmpers.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "staff/staffwidgets.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QToolButton>

TFormSlugRazplObsto::TFormSlugRazplObsto(TDMPers& pers) : pers_(pers)
{
    setObjectName(QStringLiteral("FormSlugRazplObsto"));
    setWindowTitle(QStringLiteral("Служебни разплащания общо !"));
    resize(900, 560);
    auto* source = new DataSource(&pers.SmpSlugRazplObsto, this);
    DBGrid1 = StaffWidgets::grid("DBGrid1", source, {}, true);
    StaffWidgets::colourByKind(DBGrid1, pers.SmpSlugRazplObsto);

    auto* radio = new QGroupBox(QStringLiteral("Основания  "));
    radio->setObjectName(QStringLiteral("RdGrpDaNeVidOsnovanie"));
    auto* rl = new QHBoxLayout(radio);
    RdBtnVsichki = new QRadioButton(QStringLiteral("Всички"));
    RdBtnVsichki->setObjectName(QStringLiteral("RdBtnVsichki"));
    RdBtnPoIzbor = new QRadioButton(QStringLiteral("По избор"));
    RdBtnPoIzbor->setObjectName(QStringLiteral("RdBtnPoIzbor"));
    RdBtnVsichki->setChecked(true);
    rl->addWidget(RdBtnVsichki);
    rl->addWidget(RdBtnPoIzbor);
    Handlers::connect(RdBtnVsichki, &QRadioButton::clicked, this, &TFormSlugRazplObsto::RdGrpDaNeVidOsnovanieClick);
    Handlers::connect(RdBtnPoIzbor, &QRadioButton::clicked, this, &TFormSlugRazplObsto::RdGrpDaNeVidOsnovanieClick);

    GrpBoxOsnovanie = new QGroupBox(QStringLiteral("Избор на основание "));
    GrpBoxOsnovanie->setObjectName(QStringLiteral("GrpBoxOsnovanie"));
    auto* gl = new QHBoxLayout(GrpBoxOsnovanie);
    DBLkpCmBoxVidOsnovanie = new DBLookupComboBox;
    DBLkpCmBoxVidOsnovanie->setObjectName(QStringLiteral("DBLkpCmBoxVidOsnovanie"));
    DBLkpCmBoxVidOsnovanie->setListSource(new DataSource(&pers.SmpTipSlugOtchet, this));
    DBLkpCmBoxVidOsnovanie->setKeyField(QStringLiteral("NTIP_SLUG_OTCHET"));
    DBLkpCmBoxVidOsnovanie->setListField(QStringLiteral("IME_SLUG_OTCHET"));
    DBLkpCmBoxVidOsnovanie->setMinimumWidth(200);
    gl->addWidget(DBLkpCmBoxVidOsnovanie);
    Handlers::connect(DBLkpCmBoxVidOsnovanie, &DBLookupComboBox::closeUp, this,
                      &TFormSlugRazplObsto::DBLkpCmBoxVidOsnovanieCloseUp);
    GrpBoxOsnovanie->setVisible(false);

    auto* top = new QHBoxLayout;
    top->addWidget(radio);
    top->addWidget(GrpBoxOsnovanie);
    top->addStretch(1);
    top->addWidget(Handlers::makeButton("SpdBtnPlastKlientExcel", QStringLiteral(" > Excel"), this,
                                        &TFormSlugRazplObsto::SpdBtnPlastKlientExcelClick));
    auto* exit = Handlers::makeButton("SpdBtnExit", QStringLiteral("Изход"));
    Handlers::connectClick(exit, this, [this] { close(); });
    top->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
}

void TFormSlugRazplObsto::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    Handlers::run([this] {
        if (pers_.SmpSlugRazplObsto.isActive()) pers_.SmpSlugRazplObsto.refresh();
        else pers_.SmpSlugRazplObsto.open();
        pers_.SmpTipSlugOtchet.close();
        pers_.SmpTipSlugOtchet.open();
    });
}

void TFormSlugRazplObsto::RdGrpDaNeVidOsnovanieClick()
{
    const bool chosen = RdBtnPoIzbor->isChecked();
    GrpBoxOsnovanie->setVisible(chosen);
    pers_.SmpSlugRazplObsto.setFiltered(chosen);
}

void TFormSlugRazplObsto::DBLkpCmBoxVidOsnovanieCloseUp()
{
    if (pers_.SmpTipSlugOtchet.isEmpty()) return;
    pers_.SmpSlugRazplObsto.setFilter(QStringLiteral("NTIP_SLUG_OTCHET=") +
                                      QString::number(DBLkpCmBoxVidOsnovanie->keyValue().toInt()));
}

void TFormSlugRazplObsto::SpdBtnPlastKlientExcelClick()
{
    SpreadsheetExport how;
    how.parentWindow = this;
    ExportDatasetToSpreadsheet(pers_.SmpSlugRazplObsto, how);
}
