#include "production/formsklisk.h"

#include "data/dmns.h"
#include "data/dmproizv.h"
#include "data/dmsklad.h"
#include "platform/base/clock.h"
#include "platform/base/formats.h"
#include "platform/db/dberror.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/keyfilter.h"
#include "platform/widgets/radiogroup.h"
#include "production/formiskizdelie.h"
#include "production/formparts.h"
#include "production/formrecepizdisk.h"
#include "production/production.h"
#include "production/qriskane.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QStringList kAllOrChosen{u"Всички"_s, u"По избор"_s};
constexpr double kStockTolerance = 0.0000000001;

bool overStock(const SmpDataset& lines, int position)
{
    return lines.valueAt(position, lines.findField(u"KOLICHOBSTO"_s)).toDouble()
           > lines.valueAt(position, lines.findField(u"SKL_NALICH"_s)).toDouble() + kStockTolerance;
}
} // namespace

TFormSklIsk::TFormSklIsk(TDMNS& dm, TDMSklad& sklad, TDMProizv& pr, TFormRecepIzdISK& recipe, TQRSpecif& specif,
                         QWidget* parent)
    : Form(parent), dm_(dm), sklad_(sklad), pr_(pr), recipe_(recipe), specif_(specif)
{
    setObjectName(u"FormSklIsk"_s);
    setWindowTitle(u"Формиране на искания от склад - материали !"_s);
    const auto source = [this](SmpDataset& ds, const char* name) {
        auto* s = new DataSource(&ds, this);
        s->setObjectName(QString::fromLatin1(name));
        return s;
    };
    DataSource* warehouses = source(dm.SmpTipSklad, "DtSrcTipSklad");
    DataSource* materials = source(pr.SmpMatIskane, "DtSrcMatIskane");
    DataSource* stock = source(sklad.SmpSklNalich, "DtSrcSklNalich");
    DataSource* products = source(dm.SmpProizIzdISK, "DtSrcProizIzdISK");
    DataSource* lines = source(pr.SmpSklIskTEMP, "DtSrcSklIskTEMP");
    DataSource* seria = source(pr.SmpSeria, "DtSrcSeria");
    DataSource* clients = source(dm.SmpIzbKontr, "DtSrcIzbKontr");

    LbProizvodstvo = new QLabel;
    LbProizvodstvo->setObjectName(u"LbProizvodstvo"_s);
    QFont bold = LbProizvodstvo->font();
    bold.setBold(true);
    LbProizvodstvo->setFont(bold);
    DateIskane = FormParts::dateEdit("DateIskane");

    RdGrpIzbSklad = new RadioGroup(u"RdGrpIzbSklad"_s, QString(), kAllOrChosen);
    RdGrpIzbSklad->setItemIndex(0);
    DBLkpCmbIzbSklad = DbControls::makeListLookup("DBLkpCmbIzbSklad", warehouses, "NSKLAD", "SKLAD", 160);
    RdGrpIzbMaterial = new RadioGroup(u"RdGrpIzbMaterial"_s, QString(), kAllOrChosen);
    RdGrpIzbMaterial->setItemIndex(0);
    DBLkpCmBoxMat = DbControls::makeListLookup("DBLkpCmBoxMat", materials, "NMATERIAL", "IMEMATERIAL", 220);

    DBGrid1 = new DBGrid;
    DBGrid1->setObjectName(u"DBGrid1"_s);
    DBGrid1->setDataSource(stock);
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    DBGrid1->setColumns({{u"SKLAD"_s, {}, 110}, {u"IMEMATERIAL"_s, {}, 220}, {u"MIARKA_BG"_s, {}, 40},
                         {u"NALICHNOST"_s, {}, 80}, {u"ED_CENA_LV"_s, {}, 80}, {u"DATEPOLUCHENO"_s, {}, 70},
                         {u"NFAKTURA"_s, {}, 80}});
    auto* stockBox = new QGroupBox(u"Складови наличности "_s);
    (new QVBoxLayout(stockBox))->addWidget(DBGrid1);

    RdGrpIzpisvRec_Mat = new RadioGroup(u"RdGrpIzpisvRec_Mat"_s, u"Изписв. на мат. по "_s, {u"Рецепта"_s, u"Свободно"_s});
    RdGrpIzpisvRec_Mat->setItemIndex(0);
    DBLkpCmBoxIzdISK = DbControls::makeListLookup("DBLkpCmBoxIzdISK", products, "NTIP_IZDELIE", "IMEMATIZD", 220);
    DBTextSerDaNe = new DBText;
    DBTextSerDaNe->setObjectName(u"DBTextSerDaNe"_s);
    DBTextSerDaNe->setDataSource(products);
    DBTextSerDaNe->setDataField(u"SerDaNeText"_s);
    LbBrChift = new QLabel(u"0"_s);
    LbBrChift->setObjectName(u"LbBrChift"_s);
    RdGrpRecProizvDa_Ne = new RadioGroup(u"RdGrpRecProizvDa_Ne"_s, u"Рецепта спрямо  производство "_s, {u"Да"_s, u"Не"_s});
    RdGrpRecProizvDa_Ne->setItemIndex(0);
    EditKolichestvoMat = new QLineEdit;
    EditKolichestvoMat->setObjectName(u"EditKolichestvoMat"_s);
    KeyFilter::amountsOnly(EditKolichestvoMat, false);
    SpdBtnZapMatIsk = Handlers::makeButton("SpdBtnZapMatIsk", u"Запис материал"_s, this, &TFormSklIsk::SpdBtnZapMatIskClick);
    GrpBoxMatKolich = FormParts::row(u"Материал-количество "_s, {EditKolichestvoMat, SpdBtnZapMatIsk});
    GrpBoxMatKolich->setObjectName(u"GrpBoxMatKolich"_s);
    auto* recipeRow = new QGridLayout;
    recipeRow->addWidget(new QLabel(u"Избор на изделие:"_s), 0, 0);
    recipeRow->addWidget(DBLkpCmBoxIzdISK, 0, 1, 1, 3);
    recipeRow->addWidget(DBTextSerDaNe, 1, 1);
    recipeRow->addWidget(new QLabel(u"С-я / бр.чфт"_s), 1, 2);
    recipeRow->addWidget(LbBrChift, 1, 3);
    recipeRow->setColumnStretch(1, 1);
    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(RdGrpIzpisvRec_Mat);
    modeRow->addLayout(recipeRow, 1);
    modeRow->addWidget(RdGrpRecProizvDa_Ne);
    modeRow->addWidget(GrpBoxMatKolich);

    DBGrid2 = new DBGrid;
    DBGrid2->setObjectName(u"DBGrid2"_s);
    DBGrid2->setDataSource(lines);
    DBGrid2->setColumns({{u"IMESKLAD"_s, {}, 100, true}, {u"IMEMATERIAL"_s, {}, 210, true},
                         {u"IMEMIARKA"_s, {}, 40, true}, {u"KOLICHOBSTO"_s, {}, 85}, {u"CENA_KALK"_s, {}, 70},
                         {u"ObstoLV"_s, {}, 80, true}, {u"SKL_NALICH"_s, {}, 90, true}, {u"IzchDaNe"_s, {}, 40, true}});
    DBGrid2->setRowTextColor([this](int position) {
        return overStock(pr_.SmpSklIskTEMP, position) ? QColor(Qt::red) : QColor();
    });
    DBNavIskane = new DBNavigator;
    DBNavIskane->setObjectName(u"DBNavIskane"_s);
    DBNavIskane->setDataSource(lines);
    DBNavIskane->setButtons(DBNavigator::First | DBNavigator::Prior | DBNavigator::Next | DBNavigator::Last
                            | DBNavigator::Delete);
    auto* linesBox = new QGroupBox(u"Формиране на искане "_s);
    auto* linesLayout = new QVBoxLayout(linesBox);
    linesLayout->addWidget(DBGrid2, 1);
    linesLayout->addWidget(DBNavIskane, 0, Qt::AlignLeft);
    DBGrid2->setMinimumHeight(140);

    DBGrid3 = new DBGrid;
    DBGrid3->setObjectName(u"DBGrid3"_s);
    DBGrid3->setDataSource(seria);
    QList<DatasetColumn> sizes;
    for (int size = 35; size <= 45; ++size) sizes.append({u"N_%1"_s.arg(size), {}, 34});
    DBGrid3->setColumns(sizes);
    DBGrid3->setFixedHeight(58);
    DBTextObsto = DbControls::makeShownNumber("DBTextObsto", seria, "Obsto", 50);
    DBLkpCmBoxIzbKontr = DbControls::makeListLookup("DBLkpCmBoxIzbKontr", clients, "NKONTRAGENT", "IMEKONTRAGENT", 200);
    auto* seriaBox = new QGroupBox(u"Серия - чифтове "_s);
    auto* seriaLayout = new QGridLayout(seriaBox);
    seriaLayout->addWidget(DBGrid3, 0, 0, 1, 4);
    seriaLayout->addWidget(new QLabel(u"Общо:"_s), 1, 0);
    seriaLayout->addWidget(DBTextObsto, 1, 1);
    seriaLayout->addWidget(new QLabel(u"Клиент:"_s), 1, 2);
    seriaLayout->addWidget(DBLkpCmBoxIzbKontr, 1, 3);

    SpdBtnZapIskane = Handlers::makeButton("SpdBtnZapIskane", u"Запис на искане"_s, this, &TFormSklIsk::SpdBtnZapIskaneClick);
    SpdBtnZapIsk_Proizv = Handlers::makeButton("SpdBtnZapIsk_Proizv", u"Запис на искане+производство"_s, this,
                                               &TFormSklIsk::SpdBtnZapIsk_ProizvClick);
    SpdBtnSer = Handlers::makeButton("SpdBtnSer", u"Брой чфт."_s, this, &TFormSklIsk::CountSeriesPairs);
    SpdBtnSer->setEnabled(false);
    BitBtnSpecif = Handlers::makeButton("BitBtnSpecif", u"Спецификация"_s, this, &TFormSklIsk::BitBtnSpecifClick);
    SpeedBtnExcel = Handlers::makeButton("SpeedBtnExcel", u"Excel"_s, this, &TFormSklIsk::SpeedBtnExcelClick);
    SpdBtnIzhod = Handlers::makeButton("SpdBtnIzhod", u"Изход"_s);
    connect(SpdBtnIzhod, &QToolButton::clicked, this, [this] { closeWith(2); });
    auto* buttons = new QVBoxLayout;
    for (QToolButton* b : {SpdBtnZapIskane, SpdBtnZapIsk_Proizv, SpdBtnSer, BitBtnSpecif, SpeedBtnExcel, SpdBtnIzhod}) {
        b->setMinimumWidth(220);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);

    auto* head = new QHBoxLayout;
    head->addWidget(LbProizvodstvo, 1);
    head->addWidget(new QLabel(u"Дата на искане :"_s));
    head->addWidget(DateIskane);
    auto* filters = new QHBoxLayout;
    filters->addWidget(FormParts::row(u"Избор на склад "_s, {RdGrpIzbSklad, DBLkpCmbIzbSklad}), 1);
    filters->addWidget(FormParts::row(u"Избор на материал "_s, {RdGrpIzbMaterial, DBLkpCmBoxMat}), 1);
    auto* lower = new QHBoxLayout;
    auto* lowerLeft = new QVBoxLayout;
    lowerLeft->addWidget(linesBox, 1);
    lowerLeft->addWidget(seriaBox);
    lower->addLayout(lowerLeft, 1);
    lower->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addLayout(filters);
    layout->addWidget(stockBox, 1);
    layout->addLayout(modeRow);
    layout->addLayout(lower, 1);
    resize(1100, 840);

    Handlers::connect(RdGrpIzbSklad, &RadioGroup::clicked, this, &TFormSklIsk::RdGrpIzbSkladClick);
    Handlers::connect(DBLkpCmbIzbSklad, &DBLookupComboBox::closeUp, this, &TFormSklIsk::DBLkpCmbIzbSkladCloseUp);
    Handlers::connect(RdGrpIzbMaterial, &RadioGroup::clicked, this, &TFormSklIsk::RdGrpIzbMaterialClick);
    Handlers::connect(DBLkpCmBoxMat, &DBLookupComboBox::closeUp, this, &TFormSklIsk::DBLkpCmBoxMatCloseUp);
    Handlers::connect(RdGrpIzpisvRec_Mat, &RadioGroup::clicked, this, &TFormSklIsk::RdGrpIzpisvRec_MatClick);
    Handlers::connect(RdGrpRecProizvDa_Ne, &RadioGroup::clicked, this, &TFormSklIsk::RdGrpRecProizvDa_NeClick);
    Handlers::connect(DBLkpCmBoxIzdISK, &DBLookupComboBox::closeUp, this, &TFormSklIsk::DBLkpCmBoxIzdISKCloseUp);
    Handlers::enterSaves(EditKolichestvoMat, [this] { SpdBtnZapMatIskClick(); });
    setBatchDialog(nullptr);
}

void TFormSklIsk::setBatchDialog(TFormIskIzdelie* batchDialog)
{
    batchDialog_ = batchDialog;
    RdGrpIzpisvRec_MatClick();
}

bool TFormSklIsk::open(int workshop, const QString& workshopName)
{
    workshop_ = workshop;
    workshopName_ = workshopName;
    LbProizvodstvo->setText(workshopName);
    LbBrChift->setText(u"0"_s);
    saved_ = false;
    FormShow();
    UiService::current().showModal(this);
    return saved_;
}

void TFormSklIsk::FormShow()
{
    if (!dm_.SmpTipSklad.isActive()) dm_.SmpTipSklad.open();
    if (!pr_.SmpMatIskane.isActive()) pr_.SmpMatIskane.open();
    ReloadRequisitionStock();
    DateIskane->setDate(Clock::today());
    pr_.SmpSklIskTEMP.close();
    pr_.SmpSklIskTEMP.open();
    product_ = 0;
    series_ = false;
    RdGrpIzpisvRec_MatClick();
    RdGrpRecProizvDa_NeClick();
    SmpDataset& seria = pr_.SmpSeria;
    seria.close();
    seria.open();
    if (seria.isEmpty()) {
        // One row of sizes to fill in; stored by "Спецификация".
        seria.append();
        seria.post();
    }
    if (!dm_.SmpIzbKontr.isActive()) dm_.SmpIzbKontr.open();
}

void TFormSklIsk::ReloadRequisitionStock()
{
    SmpDataset& stock = sklad_.SmpSklNalich;
    stock.close();
    // The stock window may have left its supplier filter on the shared list.
    stock.setFiltered(false);
    const bool allWarehouses = RdGrpIzbSklad->itemIndex() == 0;
    stock.setParam(u"SKLADOT"_s, allWarehouses ? 1 : warehouse_);
    stock.setParam(u"SKLADDO"_s, allWarehouses ? 100 : warehouse_);
    const bool allMaterials = RdGrpIzbMaterial->itemIndex() == 0;
    stock.setParam(u"NMATERIALOT"_s, allMaterials ? 1 : material_);
    stock.setParam(u"NMATERIALDO"_s, allMaterials ? 1000000 : material_);
    stock.open();
    DBLkpCmbIzbSklad->setEnabled(!allWarehouses);
    DBLkpCmBoxMat->setEnabled(!allMaterials);
}

void TFormSklIsk::RdGrpIzbSkladClick() { ReloadRequisitionStock(); }

void TFormSklIsk::DBLkpCmbIzbSkladCloseUp()
{
    SmpDataset& warehouses = dm_.SmpTipSklad;
    warehouse_ = warehouses.isEmpty() ? 0 : warehouses.fieldByName(u"NSKLAD"_s)->asInt();
    pr_.SmpMatIskane.close();
    pr_.SmpMatIskane.open();
    ReloadRequisitionStock();
}

void TFormSklIsk::RdGrpIzbMaterialClick() { ReloadRequisitionStock(); }

void TFormSklIsk::DBLkpCmBoxMatCloseUp()
{
    SmpDataset& materials = pr_.SmpMatIskane;
    material_ = materials.isEmpty() ? 0 : materials.fieldByName(u"NMATERIAL"_s)->asInt();
    ReloadRequisitionStock();
}

bool TFormSklIsk::recipeMode() const { return RdGrpIzpisvRec_Mat->itemIndex() == 0; }

int TFormSklIsk::pairs() const { return LbBrChift->text().toInt(); }

void TFormSklIsk::RdGrpIzpisvRec_MatClick()
{
    const bool recipe = recipeMode();
    EditKolichestvoMat->setEnabled(!recipe);
    SpdBtnZapMatIsk->setEnabled(!recipe);
    DBNavIskane->setEnabled(!recipe);
    DBLkpCmBoxIzdISK->setEnabled(recipe);
    SpdBtnZapIsk_Proizv->setEnabled(recipe && batchDialog_);
    RdGrpRecProizvDa_Ne->setEnabled(recipe);
}

void TFormSklIsk::RdGrpRecProizvDa_NeClick()
{
    SmpDataset& products = dm_.SmpProizIzdISK;
    if (!products.isActive()) products.open();
    const bool own = RdGrpRecProizvDa_Ne->itemIndex() == 0;
    products.setFilter(own ? u"NPROIZVODSTVO=%1"_s.arg(workshop_) : QString());
    products.setFiltered(own);
}

void TFormSklIsk::DBLkpCmBoxIzdISKCloseUp()
{
    SmpDataset& products = dm_.SmpProizIzdISK;
    if (products.isEmpty()) return;
    product_ = products.fieldByName(u"NTIP_IZDELIE"_s)->asInt();
    series_ = products.fieldByName(u"SERIA_DA_NE"_s)->asInt() == 1;
    SmpDataset& recipe = pr_.SmpRecepIzdISK;
    recipe.setFiltered(false);
    recipe.close();
    recipe.setParam(u"INUMIzdelie"_s, product_);
    recipe.open();
    recipe_.open();
    CountSeriesPairs();
}

void TFormSklIsk::CountSeriesPairs()
{
    SmpDataset& lines = pr_.SmpSklIskTEMP;
    SpdBtnSer->setEnabled(series_);
    int pairs = 0;
    if (series_ && !lines.isEmpty()) {
        QVector<Production::PairLine> counted;
        const SmpField* izch = lines.fieldByName(u"IZCH_DA_NE"_s);
        const SmpField* sum = lines.fieldByName(u"SUM_DA_NE"_s);
        const SmpField* qty = lines.fieldByName(u"KOLICHOBSTO"_s);
        for (int i = 0; i < lines.recordCount(); ++i)
            counted.append({lines.valueAt(i, izch).toInt() == 1, lines.valueAt(i, sum).toInt() == 1,
                            lines.valueAt(i, qty).toDouble()});
        // A counted first line means the lines do not describe a series.
        if (!counted.front().counted) {
            pairs = Production::seriesPairs(counted);
            if (const int row = Production::pairsLine(counted); row >= 0) {
                lines.moveTo(row);
                lines.edit();
                lines.setValue(u"KOLICHOBSTO"_s, pairs);
                lines.post();
            }
        }
        lines.first();
    }
    LbBrChift->setText(QString::number(pairs));
}

void TFormSklIsk::SpdBtnZapMatIskClick()
{
    UiService& ui = UiService::current();
    const QString typed = EditKolichestvoMat->text().trimmed();
    bool number = false;
    const double quantity = typed.toDouble(&number);
    if (typed.isEmpty() || !number || !(quantity > 0)) {
        ui.showMessage(u"Не е въведено количество !"_s);
        return;
    }
    SmpDataset& stock = sklad_.SmpSklNalich;
    if (stock.isEmpty()) {
        ui.showMessage(u"Липстват данни за изписване !"_s);
        return;
    }
    const int material = stock.fieldByName(u"NMATERIAL"_s)->asInt();
    const double available = Production::warehouseStockOf(dm_.SQLConnectNS, material);
    if (quantity > available) {
        ui.showMessage(u"Въведеното количество е по-голямо от наличното !"_s);
        EditKolichestvoMat->setText(Formats::formatNumber(available, u"0.00"_s));
        return;
    }
    SmpDataset& lines = pr_.SmpSklIskTEMP;
    if (lines.locate(u"NMATERIAL"_s, {material})) lines.remove();
    lines.append();
    lines.setValue(u"NMATERIAL"_s, material);
    lines.setValue(u"NSKLAD"_s, stock.value(u"NSKLAD"_s));
    lines.setValue(u"IMESKLAD"_s, stock.value(u"SKLAD"_s));
    lines.setValue(u"IMEMATERIAL"_s, stock.value(u"IMEMATERIAL"_s));
    lines.setValue(u"IMEMIARKA"_s, stock.value(u"MIARKA_BG"_s));
    lines.setValue(u"KOLICHOBSTO"_s, quantity);
    lines.setValue(u"SKL_NALICH"_s, stock.value(u"NALICHNOST"_s));
    lines.post();
}

bool TFormSklIsk::AllWithinStock() const
{
    const SmpDataset& lines = pr_.SmpSklIskTEMP;
    for (int i = 0; i < lines.recordCount(); ++i)
        if (overStock(lines, i)) return false;
    return true;
}

bool TFormSklIsk::SaveRequisition()
{
    SmpDataset& lines = pr_.SmpSklIskTEMP;
    Production::Requisition r;
    r.date = DateIskane->date();
    r.workshop = workshop_;
    for (int i = 0; i < lines.recordCount(); ++i) {
        const auto at = [&](const char* f) { return lines.valueAt(i, lines.findField(QString::fromLatin1(f))); };
        r.lines.append({at("NSKLAD").toInt(), at("NMATERIAL").toInt(), at("IMEMATERIAL").toString(),
                        at("KOLICHOBSTO").toDouble()});
    }
    // A free requisition is for no product.
    if (recipeMode() && product_ > 0) r.product = Production::RequestedProduct{product_, pr_.RequisitionCount, pairs()};
    UiService& ui = UiService::current();
    if (const QString why = Production::requisitionRefusal(r); !why.isEmpty()) {
        ui.showMessage(why);
        return false;
    }
    try {
        Production::saveRequisition(dm_.SQLConnectNS, r, Clock::today());
    } catch (const DbError& e) {
        // Nothing was stored; the lines stay for the user to correct.
        ui.reportError(userText(e));
        return false;
    }
    saved_ = true;
    lines.close();
    lines.open();
    return true;
}

void TFormSklIsk::askSaveAndClose()
{
    if (!UiService::current().askYesNo(u" Потвърдете запис на искане ?"_s)) return;
    if (SaveRequisition()) closeWith(1);
}

void TFormSklIsk::SpdBtnZapIskaneClick()
{
    UiService& ui = UiService::current();
    if (!Handlers::commitFocusedEdit(this)) return;
    if (!AllWithinStock()) {
        ui.showMessage(u"Има количество за изписване по-голямо от наличното в склада !"_s);
        return;
    }
    const bool anyLine = !pr_.SmpSklIskTEMP.isEmpty();
    if (recipeMode() && series_) CountSeriesPairs();
    const bool ready = recipeMode() && series_ ? anyLine && pairs() > 0 : anyLine;
    if (!ready) {
        ui.showMessage(u"Липстват данни за изписване !"_s);
        return;
    }
    askSaveAndClose();
}

void TFormSklIsk::SpdBtnZapIsk_ProizvClick()
{
    UiService& ui = UiService::current();
    if (!Handlers::commitFocusedEdit(this)) return;
    if (!AllWithinStock()) {
        ui.showMessage(u"Има количество за изписване по-голямо от наличното в склада !"_s);
        return;
    }
    if (pr_.SmpSklIskTEMP.isEmpty()) {
        ui.showMessage(u"Липсват данни за изписване !"_s);
        return;
    }
    if (ui.askYesNo(u" Потвърдете запис на искане ?"_s)) {
        if (series_) CountSeriesPairs();
        if (!SaveRequisition()) return;
        closeWith(1);
    }
    if (!batchDialog_ || !dm_.SmpProizIzdISK.locate(u"NTIP_IZDELIE"_s, {product_})) return;
    if (!batchDialog_->readRecipe(workshop_)) {
        ui.showMessage(u"Липсват данни за рецепта !"_s);
        return;
    }
    batchDialog_->open(TFormIskIzdelie::Mode::FromRequisition, workshop_, workshopName_, pr_.RequisitionCount, pairs());
}

void TFormSklIsk::BitBtnSpecifClick()
{
    SmpDataset& seria = pr_.SmpSeria;
    if (!Handlers::commitFocusedEdit(this)) return;
    if (seria.state() != SmpDataset::State::Browse) seria.post();
    seria.applyUpdates();
    seria.refresh();
    specif_.setCount(pairs() > 0 ? pairs() : pr_.RequisitionCount);
    if (!AllWithinStock()) {
        UiService::current().showMessage(u"Има количество за изписване по-голямо от наличното в склада !"_s);
        return;
    }
    specif_.Preview();
}

void TFormSklIsk::SpeedBtnExcelClick() { FormParts::exportList(pr_.SmpSklIskTEMP, this); }
