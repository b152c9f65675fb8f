#include "production/formproizvodstvo.h"

#include "data/dmns.h"
#include "data/dmproizv.h"
#include "platform/base/clock.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"
#include "production/formiskizdelie.h"
#include "production/formparts.h"
#include "production/formsklisk.h"
#include "production/formspriskania.h"
#include "production/production.h"
#include "production/qriskane.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QStringList kAllOrChosen{u"Всичко"_s, u"По избор"_s};

int intOf(const SmpDataset& ds, const char* field)
{
    return ds.isActive() && !ds.isEmpty() ? ds.fieldByName(QString::fromLatin1(field))->asInt() : 0;
}
} // namespace

TFormProizvodstvo::TFormProizvodstvo(TDMNS& dm, TDMProizv& pr, QWidget* parent) : Form(parent), dm_(dm), pr_(pr)
{
    setObjectName(u"FormProizvodstvo"_s);
    setWindowTitle(u"Производство"_s);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(u"MainMenu1"_s);
    NSpravki = MainMenu1->addMenu(u"Справки"_s);
    NSpravki->setObjectName(u"NSpravki"_s);
    NSprIskania = NSpravki->addAction(u"Изписани материали от склад за определен период"_s);
    NSprIskania->setObjectName(u"NSprIskania"_s);
    Handlers::connect(NSprIskania, &QAction::triggered, this, &TFormProizvodstvo::NSprIskaniaClick);

    auto* workshops = new DataSource(&dm.SmpTipProizv, this);
    workshops->setObjectName(u"DtSrcTipProizv"_s);
    auto* materials = new DataSource(&dm.SmpMateriali, this);
    materials->setObjectName(u"DtSrcMateriali"_s);
    auto* stock = new DataSource(&pr.SmpProizvMatNalich, this);
    stock->setObjectName(u"DtSrcProizvMatNalich"_s);
    auto* products = new DataSource(&pr.SmpIzdPart, this);
    products->setObjectName(u"DtSrcIzdPart"_s);
    auto* toMake = new DataSource(&dm.SmpProizIzdISK, this);
    toMake->setObjectName(u"DtSrcProizIzdISK"_s);
    auto* batches = new DataSource(&pr.SmpIzdelieCehPart, this);
    batches->setObjectName(u"DtSrcIzdelieCehPart"_s);

    RdGrpIzbProizv = new RadioGroup(u"RdGrpIzbProizv"_s, QString(), kAllOrChosen);
    RdGrpIzbProizv->setItemIndex(1);
    DBLkpCmBoxIzbProizv = DbControls::makeListLookup("DBLkpCmBoxIzbProizv", workshops, "NPROIZVODSTVO", "PROIZVODSTVO", 200);
    RdGrpIzbMater = new RadioGroup(u"RdGrpIzbMater"_s, QString(), {u"Всички"_s, u"По избор"_s});
    RdGrpIzbMater->setItemIndex(0);
    DBLkpCmBoxIzbMat = DbControls::makeListLookup("DBLkpCmBoxIzbMat", materials, "NMATERIAL", "IMEMATERIAL", 260);
    DBLkpCmBoxIzbMat->setEnabled(false);

    DBGrid1 = new DBGrid;
    DBGrid1->setObjectName(u"DBGrid1"_s);
    DBGrid1->setDataSource(stock);
    DBGrid1->setColumns({{u"IMEPROIZVODSTVO"_s, {}, 130}, {u"IMESKLAD"_s, {}, 130}, {u"NUMMATERIAL"_s, {}, 55},
                         {u"IMEMATERIAL"_s, {}, 230}, {u"IMEMKA"_s, {}, 40}, {u"NALICHNOST"_s, {}, 80},
                         {u"DOSTAVENO"_s, {}, 80}, {u"VLOGENO"_s, {}, 80}, {u"ED_CENA_LV"_s, {}, 75}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    SpeedBtnIskaniaMat = Handlers::makeButton("SpeedBtnIskaniaMat", u"Искания - материали"_s, this,
                                              &TFormProizvodstvo::SpeedBtnIskaniaMatClick);
    SpdBtnMatCehExcel = Handlers::makeButton("SpdBtnMatCehExcel", u"Изход -> Excel"_s, this,
                                             &TFormProizvodstvo::SpdBtnMatCehExcelClick);
    SpdBtnDelMatCeh = Handlers::makeButton("SpdBtnDelMatCeh", u"Изтриване"_s, this, &TFormProizvodstvo::SpdBtnDelMatCehClick);
    SpdBtnDelMatCeh->setToolTip(u"Връщане на материала в склада"_s);
    SpeedBtnPrintNUMIskane = Handlers::makeButton("SpeedBtnPrintNUMIskane", u"Искане"_s, this,
                                                  &TFormProizvodstvo::SpeedBtnPrintNUMIskaneClick);
    SpeedBtnPrintNUMIskane->setToolTip(u"Последното искане на материала"_s);
    auto* stockBox = new QGroupBox(u"Постъпили материали от склад на база искания !"_s);
    auto* stockLayout = new QHBoxLayout(stockBox);
    stockLayout->addWidget(DBGrid1, 1);
    auto* stockButtons = new QVBoxLayout;
    for (QToolButton* b : {SpeedBtnIskaniaMat, SpeedBtnPrintNUMIskane, SpdBtnDelMatCeh, SpdBtnMatCehExcel}) {
        b->setMinimumWidth(150);
        stockButtons->addWidget(b);
    }
    stockButtons->addStretch(1);
    stockLayout->addLayout(stockButtons);

    RdGrpIzbIzd = new RadioGroup(u"RdGrpIzbIzd"_s, QString(), kAllOrChosen);
    RdGrpIzbIzd->setItemIndex(0);
    DBLkpCmBoxIzdelie = DbControls::makeListLookup("DBLkpCmBoxIzdelie", products, "NTIP_IZDELIE", "IMEMATIZD", 220);
    DBLkpCmBoxIzdelie->setEnabled(false);
    DateIzdelieOt = FormParts::dateEdit("DateIzdelieOt");
    DateIzdelieDo = FormParts::dateEdit("DateIzdelieDo");
    auto* period = new QGroupBox(u"Произведено по зададен период "_s);
    auto* periodRow = new QHBoxLayout(period);
    periodRow->addWidget(new QLabel(u"От дата :"_s));
    periodRow->addWidget(DateIzdelieOt);
    periodRow->addWidget(new QLabel(u"До дата :"_s));
    periodRow->addWidget(DateIzdelieDo);
    RdGrpRecProizvDa_Ne = new RadioGroup(u"RdGrpRecProizvDa_Ne"_s, u"Спрямо  произв. "_s, {u"Да"_s, u"Не"_s});
    RdGrpRecProizvDa_Ne->setItemIndex(0);
    DBLkpCBoxIzbRecepIzd = DbControls::makeListLookup("DBLkpCBoxIzbRecepIzd", toMake, "NTIP_IZDELIE", "IMEMATIZD", 220);

    DBGrid2 = new DBGrid;
    DBGrid2->setObjectName(u"DBGrid2"_s);
    DBGrid2->setDataSource(batches);
    DBGrid2->setColumns({{u"PROIZVODSTVO"_s, {}, 140}, {u"PART_NUM_IZDELIE"_s, {}, 95}, {u"IMEIZDELIE"_s, {}, 250},
                         {u"IMEMIARKA"_s, {}, 40}, {u"PROIZVEDENO"_s, {}, 80}, {u"DATEIZDELIE"_s, {}, 65},
                         {u"KOLICH_SERII"_s, {}, 60}});
    DBGrid2->setReadOnly(true);
    DBGrid2->setRowSelect(true);
    SpdBtnDelIzdelie = Handlers::makeButton("SpdBtnDelIzdelie", u"Изтриване"_s, this, &TFormProizvodstvo::SpdBtnDelIzdelieClick);
    SpeedButton4 = Handlers::makeButton("SpeedButton4", u" -> Excel"_s, this, &TFormProizvodstvo::SpeedButton4Click);
    SpeedButton3 = Handlers::makeButton("SpeedButton3", u"Изход"_s);
    connect(SpeedButton3, &QToolButton::clicked, this, &QWidget::close);
    auto* batchBox = new QGroupBox(u"Изработени изделия "_s);
    auto* batchLayout = new QHBoxLayout(batchBox);
    batchLayout->addWidget(DBGrid2, 1);
    auto* batchButtons = new QVBoxLayout;
    for (QToolButton* b : {SpdBtnDelIzdelie, SpeedButton4, SpeedButton3}) {
        b->setMinimumWidth(150);
        batchButtons->addWidget(b);
    }
    batchButtons->addStretch(1);
    batchLayout->addLayout(batchButtons);

    auto* top = new QHBoxLayout;
    top->addWidget(FormParts::row(u"Избор на цех за производство "_s, {RdGrpIzbProizv, DBLkpCmBoxIzbProizv}), 1);
    top->addWidget(FormParts::row(u"Избор на материал "_s, {RdGrpIzbMater, DBLkpCmBoxIzbMat}), 1);
    auto* middle = new QGridLayout;
    middle->addWidget(FormParts::row(u"Избор на изделие "_s, {RdGrpIzbIzd, DBLkpCmBoxIzdelie}), 0, 0);
    middle->addWidget(period, 0, 1);
    middle->addWidget(FormParts::row(u"Избор на изделие за производство "_s, {RdGrpRecProizvDa_Ne, DBLkpCBoxIzbRecepIzd}), 0, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(MainMenu1);
    layout->addLayout(top);
    layout->addWidget(stockBox, 1);
    layout->addLayout(middle);
    layout->addWidget(batchBox, 1);
    resize(1100, 720);

    Handlers::connect(RdGrpIzbProizv, &RadioGroup::clicked, this, &TFormProizvodstvo::RdGrpIzbProizvClick);
    Handlers::connect(DBLkpCmBoxIzbProizv, &DBLookupComboBox::closeUp, this, &TFormProizvodstvo::DBLkpCmBoxIzbProizvCloseUp);
    Handlers::connect(RdGrpIzbMater, &RadioGroup::clicked, this, &TFormProizvodstvo::RdGrpIzbMaterClick);
    Handlers::connect(DBLkpCmBoxIzbMat, &DBLookupComboBox::closeUp, this, &TFormProizvodstvo::DBLkpCmBoxIzbMatCloseUp);
    Handlers::connect(RdGrpIzbIzd, &RadioGroup::clicked, this, &TFormProizvodstvo::RdGrpIzbIzdClick);
    Handlers::connect(DBLkpCmBoxIzdelie, &DBLookupComboBox::closeUp, this, &TFormProizvodstvo::DBLkpCmBoxIzdelieCloseUp);
    Handlers::connect(RdGrpRecProizvDa_Ne, &RadioGroup::clicked, this, &TFormProizvodstvo::RdGrpRecProizvDa_NeClick);
    Handlers::connect(DBLkpCBoxIzbRecepIzd, &DBLookupComboBox::closeUp, this, &TFormProizvodstvo::DBLkpCBoxIzbRecepIzdCloseUp);
    for (QDateEdit* d : {DateIzdelieOt, DateIzdelieDo})
        Handlers::connect(d, &QDateEdit::editingFinished, this, &TFormProizvodstvo::ReloadBatches);
}

void TFormProizvodstvo::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

bool TFormProizvodstvo::hasWorkshop() const { return RdGrpIzbProizv->itemIndex() == 1 && workshop_ > 0; }

int TFormProizvodstvo::chosenWorkshop() const { return hasWorkshop() ? workshop_ : 0; }

void TFormProizvodstvo::enableWorkshopActions()
{
    const bool chosen = RdGrpIzbProizv->itemIndex() == 1;
    DBLkpCmBoxIzbProizv->setEnabled(chosen);
    DBLkpCBoxIzbRecepIzd->setEnabled(chosen);
    SpdBtnDelMatCeh->setEnabled(chosen);
    DBGrid1->setColumnVisible(u"IMEPROIZVODSTVO"_s, !chosen);
}

void TFormProizvodstvo::FormShow()
{
    SmpDataset& workshops = dm_.SmpTipProizv;
    workshops.close();
    workshops.open();
    // The workshop chosen before stays chosen while it exists; else the first one.
    if (workshop_ == 0 || !workshops.locate(u"NPROIZVODSTVO"_s, {workshop_})) {
        workshops.first();
        workshop_ = intOf(workshops, "NPROIZVODSTVO");
    }
    workshopName_ = workshop_ > 0 ? workshops.fieldByName(u"PROIZVODSTVO"_s)->asString() : QString();
    DBLkpCmBoxIzbProizv->setKeyValue(workshop_ > 0 ? QVariant(workshop_) : QVariant());
    if (!dm_.SmpMateriali.isActive()) dm_.SmpMateriali.open();
    dm_.SmpProizIzdISK.close();
    dm_.SmpProizIzdISK.open();
    enableWorkshopActions();
    ReloadWorkshopStock();
    DateIzdelieDo->setDate(Clock::today());
    DateIzdelieOt->setDate(Clock::today().addDays(-10));
    ReloadBatches();
    FilterWorkshopProducts();
}

void TFormProizvodstvo::ReloadWorkshopStock()
{
    SmpDataset& stock = pr_.SmpProizvMatNalich;
    stock.close();
    const bool allWorkshops = RdGrpIzbProizv->itemIndex() == 0;
    stock.setParam(u"NPROIZVODSTVOOT"_s, allWorkshops ? 1 : workshop_);
    stock.setParam(u"NPROIZVODSTVODO"_s, allWorkshops ? 1000 : workshop_);
    const bool allMaterials = RdGrpIzbMater->itemIndex() == 0;
    stock.setParam(u"NMATERIALOT"_s, allMaterials ? 1 : material_);
    stock.setParam(u"NMATERIALDO"_s, allMaterials ? 32000 : material_);
    stock.open();
}

void TFormProizvodstvo::ReloadBatches()
{
    SmpDataset& batches = pr_.SmpIzdelieCehPart;
    batches.close();
    const bool allWorkshops = RdGrpIzbProizv->itemIndex() == 0;
    batches.setParam(u"NPROIZVODSTVOOT"_s, allWorkshops ? 1 : workshop_);
    batches.setParam(u"NPROIZVODSTVODO"_s, allWorkshops ? 1000 : workshop_);
    const bool allProducts = RdGrpIzbIzd->itemIndex() == 0;
    batches.setParam(u"NTIPIZDELIEOT"_s, allProducts ? 1 : productMaterial_);
    batches.setParam(u"NTIPIZDELIEDO"_s, allProducts ? 10000 : productMaterial_);
    batches.setParam(u"DATEIZDELIEOT"_s, DateIzdelieOt->date());
    batches.setParam(u"DATEIZDELIEDO"_s, DateIzdelieDo->date());
    batches.open();
    batches.last();
}

void TFormProizvodstvo::FilterWorkshopProducts()
{
    SmpDataset& products = dm_.SmpProizIzdISK;
    const bool own = RdGrpRecProizvDa_Ne->itemIndex() == 0;
    products.setFilter(own ? u"NPROIZVODSTVO=%1"_s.arg(workshop_) : QString());
    products.setFiltered(own);
}

void TFormProizvodstvo::RdGrpIzbProizvClick()
{
    enableWorkshopActions();
    ReloadWorkshopStock();
    ReloadBatches();
}

void TFormProizvodstvo::DBLkpCmBoxIzbProizvCloseUp()
{
    SmpDataset& workshops = dm_.SmpTipProizv;
    workshop_ = intOf(workshops, "NPROIZVODSTVO");
    workshopName_ = workshop_ > 0 ? workshops.fieldByName(u"PROIZVODSTVO"_s)->asString() : QString();
    dm_.SmpProizIzdISK.close();
    dm_.SmpProizIzdISK.open();
    ReloadWorkshopStock();
    DBLkpCBoxIzbRecepIzd->setEnabled(RdGrpIzbProizv->itemIndex() == 1);
    ReloadBatches();
    FilterWorkshopProducts();
}

void TFormProizvodstvo::RdGrpIzbMaterClick()
{
    DBLkpCmBoxIzbMat->setEnabled(RdGrpIzbMater->itemIndex() == 1);
    ReloadWorkshopStock();
}

void TFormProizvodstvo::DBLkpCmBoxIzbMatCloseUp()
{
    material_ = intOf(dm_.SmpMateriali, "NMATERIAL");
    ReloadWorkshopStock();
}

void TFormProizvodstvo::RdGrpIzbIzdClick()
{
    if (!pr_.SmpIzdPart.isActive()) pr_.SmpIzdPart.open();
    DBLkpCmBoxIzdelie->setEnabled(RdGrpIzbIzd->itemIndex() == 1);
    ReloadBatches();
}

void TFormProizvodstvo::DBLkpCmBoxIzdelieCloseUp()
{
    productMaterial_ = intOf(pr_.SmpIzdPart, "NMATERIAL_IZDELIE");
    ReloadBatches();
}

void TFormProizvodstvo::RdGrpRecProizvDa_NeClick() { FilterWorkshopProducts(); }

void TFormProizvodstvo::SpeedBtnIskaniaMatClick()
{
    if (!hasWorkshop()) {
        UiService::current().showMessage(u"Не е въведено тип производство !"_s);
        return;
    }
    if (!FormSklIsk) return;
    FormSklIsk->open(workshop_, workshopName_);
    ReloadWorkshopStock();
    ReloadBatches();
    FilterWorkshopProducts();  // the requisition window filters the shared product list its own way
}

void TFormProizvodstvo::DBLkpCBoxIzbRecepIzdCloseUp()
{
    UiService& ui = UiService::current();
    if (!hasWorkshop()) {
        ui.showMessage(u"Не е въведено тип производство !"_s);
        return;
    }
    if (pr_.SmpProizvMatNalich.isEmpty()) {
        ui.showMessage(u"Липстват материали за производство !"_s);
        return;
    }
    if (dm_.SmpProizIzdISK.isEmpty()) {
        ui.showMessage(u"Не е избрано изделие !"_s);
        return;
    }
    if (!FormIskIzdelie) return;
    if (!FormIskIzdelie->readRecipe(workshop_)) {
        ui.showMessage(u"Липстват данни за рецепта !"_s);
        return;
    }
    if (FormIskIzdelie->open(TFormIskIzdelie::Mode::FromWorkshop, workshop_, workshopName_, 0, 0)) ReloadBatches();
    ReloadWorkshopStock();
}

void TFormProizvodstvo::SpdBtnDelMatCehClick()
{
    SmpDataset& stock = pr_.SmpProizvMatNalich;
    if (!hasWorkshop()) return;
    if (stock.isEmpty()) {
        UiService::current().showMessage(u"Липсват данни за изтриване !"_s);
        return;
    }
    if (!UiService::current().askYesNo(u" Изтриване и въстановяване в склад ? "_s)) return;
    Production::returnToWarehouse(dm_.SQLConnectNS, intOf(stock, "NPROIZVODSTVO"), intOf(stock, "NUMMATERIAL"));
    ReloadWorkshopStock();
}

void TFormProizvodstvo::SpeedBtnPrintNUMIskaneClick()
{
    SmpDataset& stock = pr_.SmpProizvMatNalich;
    if (stock.isEmpty()) {
        UiService::current().showMessage(u"Липсват данни за печат !"_s);
        return;
    }
    if (!QRNUMIskane) return;
    QRNUMIskane->Preview(Production::latestRequisition(dm_.SQLConnectNS, intOf(stock, "NPROIZVODSTVO"),
                                                       intOf(stock, "NUMMATERIAL")));
}

void TFormProizvodstvo::SpdBtnDelIzdelieClick()
{
    SmpDataset& batches = pr_.SmpIzdelieCehPart;
    UiService& ui = UiService::current();
    if (batches.isEmpty()) {
        ui.showMessage(u"Липсват данни за изтриване !"_s);
        return;
    }
    const QString batch = batches.fieldByName(u"PART_NUM_IZDELIE"_s)->asString();
    if (const QString why = Production::batchDeleteRefusal(dm_.SQLConnectNS, batch); !why.isEmpty()) {
        ui.showMessage(why);
        return;
    }
    if (!ui.askYesNo(u" Изтриване на изделие ? "_s)) return;
    Production::deleteBatch(dm_.SQLConnectNS, batch);
    ReloadBatches();
    ReloadWorkshopStock();
}

void TFormProizvodstvo::SpdBtnMatCehExcelClick() { FormParts::exportList(pr_.SmpProizvMatNalich, this); }

void TFormProizvodstvo::SpeedButton4Click() { FormParts::exportList(pr_.SmpIzdelieCehPart, this); }

void TFormProizvodstvo::NSprIskaniaClick()
{
    if (FormSprIskania) UiService::current().showModeless(FormSprIskania);
}
