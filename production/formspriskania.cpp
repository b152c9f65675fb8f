#include "production/formspriskania.h"

#include "data/dmns.h"
#include "data/dmproizv.h"
#include "platform/base/clock.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"
#include "production/formparts.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TFormSprIskania::TFormSprIskania(TDMNS& dm, TDMProizv& pr, QWidget* parent) : Form(parent), dm_(dm), pr_(pr)
{
    setObjectName(u"FormSprIskania"_s);
    setWindowTitle(u"Справка за изписани материали за определен пероид !"_s);
    auto* workshops = new DataSource(&dm.SmpTipProizv, this);
    workshops->setObjectName(u"DtSrcTipProizv"_s);
    auto* materials = new DataSource(&dm.SmpMateriali, this);
    materials->setObjectName(u"DtSrcMateriali"_s);
    auto* inquiry = new DataSource(&pr.SmpSprIskPeriod, this);
    inquiry->setObjectName(u"DtSrcSprIskPeriod"_s);

    RdGrpIzbProizv = new RadioGroup(u"RdGrpIzbProizv"_s, QString(), {u"Всичко"_s, u"По избор"_s});
    RdGrpIzbProizv->setItemIndex(0);
    DBLkpCmBoxIzbProizv = DbControls::makeListLookup("DBLkpCmBoxIzbProizv", workshops, "NPROIZVODSTVO", "PROIZVODSTVO", 180);
    DBLkpCmBoxIzbProizv->setEnabled(false);
    RdGrpIzbMater = new RadioGroup(u"RdGrpIzbMater"_s, QString(), {u"Всички"_s, u"По избор"_s});
    RdGrpIzbMater->setItemIndex(0);
    DBLkpCmBoxIzbMat = DbControls::makeListLookup("DBLkpCmBoxIzbMat", materials, "NMATERIAL", "IMEMATERIAL", 220);
    DBLkpCmBoxIzbMat->setEnabled(false);
    DateIskOt = FormParts::dateEdit("DateIskOt");
    DateIskDo = FormParts::dateEdit("DateIskDo");
    DBGrid1 = new DBGrid;
    DBGrid1->setObjectName(u"DBGrid1"_s);
    DBGrid1->setDataSource(inquiry);
    DBGrid1->setColumns({{u"IMEPROIZVIDSTVO"_s, {}, 130}, {u"IMESKLAD"_s, {}, 120}, {u"IMEMATERIAL"_s, {}, 200},
                         {u"MIARKA_BG"_s, {}, 40}, {u"SUMMAT_ISKANE"_s, {}, 75}, {u"CENA_KALK"_s, {}, 65},
                         {u"OBSTA_CENA_LV_KALK"_s, {}, 75}, {u"SREDNA_CENA_LV"_s, {}, 65}, {u"OBSTA_CENA_LV"_s, {}, 75},
                         {u"PRODAGNA_CENA"_s, {}, 70}, {u"OBSTA_CENA_PROD_LV"_s, {}, 85},
                         {u"OBSTO_PROD_MINUS_ISK_LV"_s, {}, 75}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    SpdBtnExcel = Handlers::makeButton("SpdBtnExcel", u"Изход > Excel"_s, this, &TFormSprIskania::SpdBtnExcelClick);
    SpdBtnIzhod = Handlers::makeButton("SpdBtnIzhod", u"Изход"_s);
    connect(SpdBtnIzhod, &QToolButton::clicked, this, &QWidget::close);

    auto* dates = new QGroupBox(u"Дата на искане "_s);
    auto* dateRow = new QHBoxLayout(dates);
    dateRow->addWidget(new QLabel(u"От"_s));
    dateRow->addWidget(DateIskOt);
    dateRow->addWidget(new QLabel(u"До"_s));
    dateRow->addWidget(DateIskDo);
    auto* top = new QHBoxLayout;
    top->addWidget(FormParts::row(u"Избор на производство "_s, {RdGrpIzbProizv, DBLkpCmBoxIzbProizv}), 1);
    top->addWidget(FormParts::row(u"Избор на материал "_s, {RdGrpIzbMater, DBLkpCmBoxIzbMat}), 1);
    top->addWidget(dates);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SpdBtnExcel);
    buttons->addWidget(SpdBtnIzhod);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
    resize(1180, 560);

    Handlers::connect(RdGrpIzbProizv, &RadioGroup::clicked, this, &TFormSprIskania::RdGrpIzbProizvClick);
    Handlers::connect(DBLkpCmBoxIzbProizv, &DBLookupComboBox::closeUp, this, &TFormSprIskania::DBLkpCmBoxIzbProizvCloseUp);
    Handlers::connect(RdGrpIzbMater, &RadioGroup::clicked, this, &TFormSprIskania::RdGrpIzbMaterClick);
    Handlers::connect(DBLkpCmBoxIzbMat, &DBLookupComboBox::closeUp, this, &TFormSprIskania::DBLkpCmBoxIzbMatCloseUp);
    for (QDateEdit* d : {DateIskOt, DateIskDo})
        Handlers::connect(d, &QDateEdit::editingFinished, this, &TFormSprIskania::ReloadRequisitionInquiry);
}

void TFormSprIskania::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

void TFormSprIskania::FormShow()
{
    for (SmpDataset* ds : {&dm_.SmpTipProizv, &dm_.SmpMateriali})
        if (!ds->isActive()) ds->open();
    DateIskOt->setDate(Clock::today().addDays(-10));
    DateIskDo->setDate(Clock::today());
    ReloadRequisitionInquiry();
}

void TFormSprIskania::ReloadRequisitionInquiry()
{
    SmpDataset& inquiry = pr_.SmpSprIskPeriod;
    inquiry.close();
    const bool allWorkshops = RdGrpIzbProizv->itemIndex() == 0;
    inquiry.setParam(u"NPROIZVOT"_s, allWorkshops ? 1 : workshop_);
    inquiry.setParam(u"NPROIZVDO"_s, allWorkshops ? 1000 : workshop_);
    const bool allMaterials = RdGrpIzbMater->itemIndex() == 0;
    inquiry.setParam(u"NMATERIALOT"_s, allMaterials ? 1 : material_);
    inquiry.setParam(u"NMATERIALDO"_s, allMaterials ? 100000 : material_);
    inquiry.setParam(u"DATEISKANEOT"_s, DateIskOt->date());
    inquiry.setParam(u"DATEISKANEDO"_s, DateIskDo->date());
    inquiry.open();
}

void TFormSprIskania::RdGrpIzbProizvClick()
{
    DBLkpCmBoxIzbProizv->setEnabled(RdGrpIzbProizv->itemIndex() == 1);
    ReloadRequisitionInquiry();
}

void TFormSprIskania::DBLkpCmBoxIzbProizvCloseUp()
{
    SmpDataset& workshops = dm_.SmpTipProizv;
    workshop_ = workshops.isEmpty() ? 0 : workshops.fieldByName(u"NPROIZVODSTVO"_s)->asInt();
    dm_.SmpProizIzdISK.close();
    dm_.SmpProizIzdISK.open();
    ReloadRequisitionInquiry();
}

void TFormSprIskania::RdGrpIzbMaterClick()
{
    DBLkpCmBoxIzbMat->setEnabled(RdGrpIzbMater->itemIndex() == 1);
    ReloadRequisitionInquiry();
}

void TFormSprIskania::DBLkpCmBoxIzbMatCloseUp()
{
    SmpDataset& materials = dm_.SmpMateriali;
    material_ = materials.isEmpty() ? 0 : materials.fieldByName(u"NMATERIAL"_s)->asInt();
    ReloadRequisitionInquiry();
}

void TFormSprIskania::SpdBtnExcelClick() { FormParts::exportList(pr_.SmpSprIskPeriod, this); }
