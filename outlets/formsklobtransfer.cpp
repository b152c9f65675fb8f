#include "outlets/formsklobtransfer.h"

#include "data/dmns.h"
#include "data/dmsklobekti.h"
#include "outlets/objecttransfers.h"
#include "outlets/qrpsklrazp.h"
#include "platform/base/clock.h"
#include "platform/base/formats.h"
#include "platform/report/reportpreview.h"
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
#include "warehouse/objectreceipts.h"
#include "warehouse/stockinquiryform.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <climits>

using namespace Qt::StringLiterals;

namespace {
const QStringList kAllOrChosen{u"Всички"_s, u"По избор"_s};
constexpr double kAbove = 0.000000001;  // a quantity equal to the stock passes

struct ModeText { const char* caption; const char* save; };
const ModeText kModes[] = {
    {"Прехвърляне на материали от централен склад към складов обект !", "Запис в скл.обект"},
    {"Прехвърляне на материали между складови обекти !", "Запис в скл.обект"},
    {"Връщане на материали от складов обект във фирмен склад !", "Връщане в склад"},
    {"Връщане/заприхождаване/ на материали от складов обект във фирмен склад !", "Дост.в склад"},
};

QWidget* filterBox(RadioGroup*& group, DBLookupComboBox*& box, const char* groupName, const QString& caption,
                   const char* boxName, DataSource* list, const char* key, const char* shown)
{
    auto* frame = new QGroupBox(caption);
    group = new RadioGroup(QString::fromLatin1(groupName), QString(), kAllOrChosen);
    group->setItemIndex(0);
    box = DbControls::makeListLookup(boxName, list, key, shown, 200);
    auto* row = new QHBoxLayout(frame);
    row->addWidget(group);
    row->addWidget(box, 1);
    return frame;
}

// The transfer list grows a line at a time, so its columns are set as wide as their usual texts
// (names, warehouse names, amounts of thousands), not as its first lines.
void keepLineWidths(DBGrid* grid)
{
    const auto apply = [grid] {
        const QFontMetrics fm(grid->font());
        const int chars = fm.averageCharWidth();
        const std::pair<const char*, int> widths[] = {
            {"AUTONUM_UNDO", 8 * chars}, {"ImeMaterial", 30 * chars}, {"KOLICHESTVO", 10 * chars},
            {"DOSTCENA", 10 * chars},    {"NALICHNO", 10 * chars},    {"POLUCHENO", 10 * chars},
            {"OT_SKLAD", 20 * chars},    {"V_SKLAD", 20 * chars},     {"ImeFirmenSklad", 20 * chars},
            {"NSKL_RAZP_VHOD", 12 * chars}, {"PROD_EKSP", 6 * chars}, {"CenaObsto", 11 * chars}};
        for (const auto& [field, width] : widths) {
            const int c = grid->columnOfField(QString::fromLatin1(field));
            if (c < 0) continue;
            const QString title = grid->model()->headerData(c, Qt::Horizontal).toString();
            grid->setColumnWidth(c, std::max(width, fm.horizontalAdvance(title) + 2 * chars + 6));
        }
    };
    QObject::connect(grid->model(), &QAbstractItemModel::modelReset, grid, apply);
    apply();
}

double typedNumber(const QLineEdit* edit) { return Formats::textToNumber(edit->text()).value_or(0); }

int keyOf(SmpDataset& list, const char* field)
{
    return list.isActive() && !list.isEmpty() ? list.value(QString::fromLatin1(field)).toInt() : 0;
}

void dropFilter(SmpDataset& ds)
{
    ds.setFilter(QString());
    ds.setFiltered(false);
}
} // namespace

TFormSklObTransfer::TFormSklObTransfer(TDMNS& dm, TDMSklObekti& obekti, TQRpSklRazp& report, QWidget* parent)
    : Form(parent), dm_(dm), obekti_(obekti), report_(report)
{
    setObjectName(u"FormSklObTransfer"_s);

    auto* warehouses = new DataSource(&dm.SmpTipSklad, this);
    warehouses->setObjectName(u"DtSrcTipSklad"_s);
    auto* articles = new DataSource(&obekti.SmpViewMatSklOb, this);
    articles->setObjectName(u"DtSrcViewMatSklOb"_s);
    auto* objects = new DataSource(&dm.SmpTipSklOb, this);
    objects->setObjectName(u"DtSrcTipSklOb"_s);
    auto* mols = new DataSource(&dm.SmpMolFirma, this);
    mols->setObjectName(u"DtSrcMolFirma"_s);
    auto* companyStock = new DataSource(&obekti.SmpProdSkladNalich, this);
    companyStock->setObjectName(u"DtSrcProdSkladNalich"_s);
    dtSrcSource_ = new DataSource(&obekti.SmpSklObNalich, this);
    dtSrcSource_->setObjectName(u"DtSrcSklObekti"_s);
    auto* transfer = new DataSource(&obekti.SmpSklObTemp, this);
    transfer->setObjectName(u"DtSrcSklObTemp"_s);

    PnlTransferSklad_SklOb = new QWidget;
    PnlTransferSklad_SklOb->setObjectName(u"PnlTransferSklad_SklOb"_s);
    auto* warehousePanel = new QHBoxLayout(PnlTransferSklad_SklOb);
    warehousePanel->setContentsMargins(0, 0, 0, 0);
    warehousePanel->addWidget(filterBox(RdGrpIzbSklad, DBLkpCmbIzbSklad, "RdGrpIzbSklad", u"Основен склад - източник "_s,
                                        "DBLkpCmbIzbSklad", warehouses, "NSKLAD", "SKLAD"));
    warehousePanel->addWidget(filterBox(RdGrpIzbMaterial, DBLkpCmBoxMat, "RdGrpIzbMaterial",
                                        u"Избор на материал от основен склад "_s, "DBLkpCmBoxMat", articles, "NMATERIAL",
                                        "IMEMATERIAL"), 1);
    DBTextNalich = DbControls::makeShownNumber("DBTextNalich", companyStock, "SumNalichnost", 90);
    auto* nalichLabel = new QLabel(u"Налично :"_s);
    nalichLabel->setObjectName(u"LbNalich"_s);
    warehousePanel->addWidget(nalichLabel);
    warehousePanel->addWidget(DBTextNalich);

    PnlTransferSklOb_SklOb = new QWidget;
    PnlTransferSklOb_SklOb->setObjectName(u"PnlTransferSklOb_SklOb"_s);
    auto* objectPanel = new QHBoxLayout(PnlTransferSklOb_SklOb);
    objectPanel->setContentsMargins(0, 0, 0, 0);
    objectPanel->addWidget(filterBox(RdGrpSklOb, DBLkpCmbSklOb, "RdGrpSklOb", u"Складов обект - източник "_s,
                                     "DBLkpCmbSklOb", objects, "NSKL_OBEKT", "IME_SKL_OBEKT"));
    objectPanel->addWidget(filterBox(RdGrpSklObArtik, DBLkpCmbSklObArtik, "RdGrpSklObArtik",
                                     u"Избор на материал от складов обект "_s, "DBLkpCmbSklObArtik", articles,
                                     "NMATERIAL", "IMEMATERIAL"), 1);

    DBGridSklIztochnik = new DBGrid;
    DBGridSklIztochnik->setObjectName(u"DBGridSklIztochnik"_s);
    DBGridSklIztochnik->setDataSource(dtSrcSource_);
    DBGridSklIztochnik->setReadOnly(true);
    DBGridSklIztochnik->setRowSelect(true);
    StockInquiryGrid::fitColumns(DBGridSklIztochnik);

    DBLkpCmbVsklOb = DbControls::makeListLookup("DBLkpCmbVsklOb", objects, "NSKL_OBEKT", "IME_SKL_OBEKT", 200);
    EditKolich = new QLineEdit(u"0"_s);
    EditKolich->setObjectName(u"EditKolich"_s);
    EditDostCena = new QLineEdit(u"0"_s);
    EditDostCena->setObjectName(u"EditDostCena"_s);
    for (QLineEdit* e : {EditKolich, EditDostCena}) {
        KeyFilter::amountsOnly(e);
        e->setMaximumWidth(90);
        Handlers::enterSaves(e, [this] { BitBtnZapisNewSklClick(); });
    }
    DateTimSklRazp = new QDateEdit;
    DateTimSklRazp->setObjectName(u"DateTimSklRazp"_s);
    DateTimSklRazp->setCalendarPopup(true);
    DateTimSklRazp->setDisplayFormat(u"dd.MM.yyyy"_s);
    LbNumSklRazp = new QLabel;
    LbNumSklRazp->setObjectName(u"LbNumSklRazp"_s);
    BitBtnZapisNewSkl = Handlers::makeButton("BitBtnZapisNewSkl", u"Прехвърляне"_s, this,
                                             &TFormSklObTransfer::BitBtnZapisNewSklClick);
    auto* entry = new QHBoxLayout;
    for (auto [caption, w] : {std::pair<QString, QWidget*>{u"Прехвърляне в склад -"_s, DBLkpCmbVsklOb},
                              {u"Кол.:"_s, EditKolich}, {u"Дост.ц."_s, EditDostCena},
                              {u"Дата скл.р.:"_s, DateTimSklRazp}, {u"№"_s, LbNumSklRazp}}) {
        entry->addWidget(new QLabel(caption));
        entry->addWidget(w);
    }
    entry->addWidget(BitBtnZapisNewSkl);
    entry->addStretch(1);

    DBGrid2 = new DBGrid;
    DBGrid2->setObjectName(u"DBGrid2"_s);
    DBGrid2->setDataSource(transfer);
    DBGrid2->setReadOnly(true);
    DBGrid2->setRowSelect(true);
    keepLineWidths(DBGrid2);
    DBNavigator3 = new DBNavigator;
    DBNavigator3->setObjectName(u"DBNavigator3"_s);
    DBNavigator3->setDataSource(transfer);
    DBLkpCmbMol = DbControls::makeListLookup("DBLkpCmbMol", mols, "NMOL_FIRMA", "IMEMOLFIRMA", 200);
    BitBtnPrintSklRazp = Handlers::makeButton("BitBtnPrintSklRazp", u"Скл.разп."_s, this,
                                              &TFormSklObTransfer::BitBtnPrintSklRazpClick);
    BitBtnZapSklOb = Handlers::makeButton("BitBtnZapSklOb", QString(), this, &TFormSklObTransfer::BitBtnZapSklObClick);
    BitBtnIzhod = Handlers::makeButton("BitBtnIzhod", u"Изход"_s);
    connect(BitBtnIzhod, &QToolButton::clicked, this, &QWidget::close);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(DBNavigator3);
    bottom->addStretch(1);
    bottom->addWidget(new QLabel(u"М О Л"_s));
    bottom->addWidget(DBLkpCmbMol);
    for (QToolButton* b : {BitBtnPrintSklRazp, BitBtnZapSklOb, BitBtnIzhod}) {
        b->setMinimumWidth(110);
        bottom->addWidget(b);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PnlTransferSklad_SklOb);
    layout->addWidget(PnlTransferSklOb_SklOb);
    layout->addWidget(DBGridSklIztochnik, 3);
    layout->addLayout(entry);
    layout->addWidget(DBGrid2, 2);
    layout->addLayout(bottom);
    resize(1050, 680);

    Handlers::connect(RdGrpIzbSklad, &RadioGroup::clicked, this, &TFormSklObTransfer::RdGrpIzbSkladClick);
    Handlers::connect(DBLkpCmbIzbSklad, &DBLookupComboBox::closeUp, this, &TFormSklObTransfer::DBLkpCmbIzbSkladCloseUp);
    Handlers::connect(RdGrpIzbMaterial, &RadioGroup::clicked, this, &TFormSklObTransfer::ReloadTransferCompanyStock);
    Handlers::connect(DBLkpCmBoxMat, &DBLookupComboBox::closeUp, this, &TFormSklObTransfer::DBLkpCmBoxMatCloseUp);
    Handlers::connect(RdGrpSklOb, &RadioGroup::clicked, this, &TFormSklObTransfer::ReloadTransferObjectStock);
    Handlers::connect(DBLkpCmbSklOb, &DBLookupComboBox::closeUp, this, &TFormSklObTransfer::DBLkpCmbSklObCloseUp);
    Handlers::connect(RdGrpSklObArtik, &RadioGroup::clicked, this, &TFormSklObTransfer::ReloadTransferObjectStock);
    Handlers::connect(DBLkpCmbSklObArtik, &DBLookupComboBox::closeUp, this,
                      &TFormSklObTransfer::DBLkpCmbSklObArtikCloseUp);
    Handlers::connect(DBLkpCmbVsklOb, &DBLookupComboBox::closeUp, this, &TFormSklObTransfer::DBLkpCmbVsklObCloseUp);
}

SmpDataset& TFormSklObTransfer::lines() { return obekti_.SmpSklObTemp; }

bool TFormSklObTransfer::open(Mode mode)
{
    mode_ = mode;
    saved_ = false;
    UiService::current().showModal(this);
    return saved_;
}

void TFormSklObTransfer::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

void TFormSklObTransfer::FormShow()
{
    const int m = int(mode_);
    setWindowTitle(QString::fromUtf8(kModes[m].caption));
    BitBtnZapSklOb->setText(QString::fromUtf8(kModes[m].save));
    const bool fromWarehouse = mode_ == Mode::FromWarehouse;
    PnlTransferSklad_SklOb->setVisible(fromWarehouse);
    PnlTransferSklOb_SklOb->setVisible(!fromWarehouse);
    if (!dm_.SmpMateriali.isActive()) dm_.SmpMateriali.open();
    // Warehouses, objects, people and articles added since the lists were read are offered too.
    for (SmpDataset* ds : {&dm_.SmpTipSklad, &dm_.SmpTipSklOb, &dm_.SmpMolFirma, &obekti_.SmpViewMatSklOb})
        ds->isActive() ? ds->refresh() : ds->open();
    if (fromWarehouse) {
        dtSrcSource_->setDataset(&obekti_.SmpProdSkladNalich);
        for (SmpDataset* ds : {&dm_.SmpTipSklad, &obekti_.SmpProdSkladNalich}) {
            ds->setFilter(u"SKL_OBEKT_DA_NE=1"_s);
            ds->setFiltered(true);
        }
        obekti_.SmpViewMatSklOb.setFilter(u"NSKLAD=%1"_s.arg(nsklad_));
        obekti_.SmpViewMatSklOb.setFiltered(true);
        ReloadTransferCompanyStock();
    } else {
        dtSrcSource_->setDataset(&obekti_.SmpSklObNalich);
        SmpDataset& onHand = obekti_.SmpSklObNalich;
        onHand.setFilter(mode_ == Mode::ToSourceWarehouse    ? u"NSKLAD_VHOD>0"_s
                         : mode_ == Mode::ToCompanyWarehouse ? u"NSKLAD_VHOD=0 and NSKL_OBEKT_VHOD=0"_s
                                                             : QString());
        onHand.setFiltered(mode_ == Mode::ToSourceWarehouse || mode_ == Mode::ToCompanyWarehouse);
        ReloadTransferObjectStock();
    }
    DBLkpCmbVsklOb->setEnabled(fromWarehouse || mode_ == Mode::BetweenObjects);
    DBLkpCmbSklOb->setEnabled(true);
    const bool intoCompany = mode_ == Mode::ToCompanyWarehouse;
    DBGrid2->setColumnVisible(u"V_SKLAD"_s, !intoCompany);
    DBGrid2->setColumnVisible(u"ImeFirmenSklad"_s, intoCompany);
    DateTimSklRazp->setDate(Clock::today());
    emptyLines();
    reserved_ = 0;
    LbNumSklRazp->setText(QString::number(ObjectReceipts::propose(dm_.SQLConnectNS)));
}

void TFormSklObTransfer::closeEvent(QCloseEvent* event)
{
    for (SmpDataset* ds : {&dm_.SmpTipSklad, &obekti_.SmpViewMatSklOb, &obekti_.SmpSklObNalich,
                           &obekti_.SmpProdSkladNalich})
        dropFilter(*ds);
    Form::closeEvent(event);
}

void TFormSklObTransfer::emptyLines()
{
    lines().close();
    lines().open();
}

void TFormSklObTransfer::ReloadTransferCompanyStock()
{
    SmpDataset& stock = obekti_.SmpProdSkladNalich;
    stock.close();
    // "Всички" covers every warehouse and material number there can be.
    const bool allWarehouses = RdGrpIzbSklad->itemIndex() == 0;
    stock.setParam(u"SKLADOT"_s, allWarehouses ? SHRT_MIN : nsklad_);
    stock.setParam(u"SKLADDO"_s, allWarehouses ? SHRT_MAX : nsklad_);
    const bool allMaterials = RdGrpIzbMaterial->itemIndex() == 0;
    stock.setParam(u"NMATERIALOT"_s, allMaterials ? INT_MIN : nmaterial_);
    stock.setParam(u"NMATERIALDO"_s, allMaterials ? INT_MAX : nmaterial_);
    stock.open();
    DBLkpCmbIzbSklad->setEnabled(!allWarehouses);
    DBLkpCmBoxMat->setEnabled(!allMaterials);
    DBTextNalich->setVisible(!allMaterials);
    findChild<QLabel*>(u"LbNalich"_s)->setVisible(!allMaterials);
}

void TFormSklObTransfer::ReloadTransferObjectStock()
{
    SmpDataset& onHand = obekti_.SmpSklObNalich;
    onHand.close();
    // The kept choices: the target box moves the same object list's current row.
    const QVariant object = RdGrpSklOb->itemIndex() == 1 ? QVariant(nsklOb_) : QVariant();
    const QVariant article = RdGrpSklObArtik->itemIndex() == 1 ? QVariant(nmaterialOb_) : QVariant();
    onHand.setParam(u"NSKLOBEKT_OT"_s, object);
    onHand.setParam(u"NSKLOBEKT_DO"_s, object);
    onHand.setParam(u"NMATERIALOT"_s, article);
    onHand.setParam(u"NMATERIALDO"_s, article);
    onHand.open();
    DBLkpCmbSklOb->setEnabled(RdGrpSklOb->itemIndex() == 1);
    DBLkpCmbSklObArtik->setEnabled(RdGrpSklObArtik->itemIndex() == 1);
}

void TFormSklObTransfer::RdGrpIzbSkladClick()
{
    emptyLines();
    ReloadTransferCompanyStock();
}

void TFormSklObTransfer::DBLkpCmbIzbSkladCloseUp()
{
    nsklad_ = keyOf(dm_.SmpTipSklad, "NSKLAD");
    obekti_.SmpViewMatSklOb.setFilter(u"NSKLAD=%1"_s.arg(nsklad_));
    obekti_.SmpViewMatSklOb.setFiltered(true);
    emptyLines();
    ReloadTransferCompanyStock();
}

void TFormSklObTransfer::DBLkpCmBoxMatCloseUp()
{
    nmaterial_ = keyOf(obekti_.SmpViewMatSklOb, "NMATERIAL");
    ReloadTransferCompanyStock();
}

void TFormSklObTransfer::DBLkpCmbSklObCloseUp()
{
    const int chosen = keyOf(dm_.SmpTipSklOb, "NSKL_OBEKT");
    // Every line of a transfer leaves one source object: lines of another one would be stored
    // against the wrong object.
    if (chosen != nsklOb_ && !lines().isEmpty()) emptyLines();
    nsklOb_ = chosen;
    ReloadTransferObjectStock();
}

void TFormSklObTransfer::DBLkpCmbSklObArtikCloseUp()
{
    nmaterialOb_ = keyOf(obekti_.SmpViewMatSklOb, "NMATERIAL");
    ReloadTransferObjectStock();
}

void TFormSklObTransfer::DBLkpCmbVsklObCloseUp()
{
    nsklObTarget_ = keyOf(dm_.SmpTipSklOb, "NSKL_OBEKT");
    if (mode_ != Mode::FromWarehouse && mode_ != Mode::BetweenObjects) return;
    // The lines, and the receipt printed from them, name the target the transfer is stored into.
    SmpDataset& ds = lines();
    const QString target = objectName(nsklObTarget_);
    for (int i = 0; i < ds.recordCount(); ++i) {
        ds.moveTo(i);
        ds.edit();
        ds.setValue(u"V_SKLAD"_s, target);
        ds.post();
    }
}

QString TFormSklObTransfer::objectName(int object) const
{
    return dm_.SmpTipSklOb.lookup(u"NSKL_OBEKT"_s, {object}, u"IME_SKL_OBEKT"_s).toString();
}

int TFormSklObTransfer::chosenMol() const { return DBLkpCmbMol->keyValue().toInt(); }

int TFormSklObTransfer::lineOfMaterial(int material, int sourceLine) const
{
    SmpDataset& ds = obekti_.SmpSklObTemp;
    return sourceLine < 0 ? ds.find(u"NMATERIAL"_s, {material})
                          : ds.find(u"NMATERIAL;AUTONUM_UNDO"_s, {material, sourceLine});
}

void TFormSklObTransfer::appendLine(int material, double quantity, const QVariantMap& values, int replaces)
{
    SmpDataset& ds = lines();
    SmpField* kolichestvo = ds.fieldByName(u"KOLICHESTVO"_s);
    ds.append();
    ds.setValue(u"NMATERIAL"_s, material);
    kolichestvo->readOnly = false;
    ds.setValue(u"KOLICHESTVO"_s, quantity);
    kolichestvo->readOnly = true;
    ds.setValue(u"DOSTCENA"_s, typedNumber(EditDostCena));
    ds.setValue(u"NUM_SKL_RAZP"_s, LbNumSklRazp->text().toInt());
    ds.setValue(u"DATEPOLUCHENO"_s, DateTimSklRazp->date());
    for (auto it = values.begin(); it != values.end(); ++it) ds.setValue(it.key(), it.value());
    ds.post();
    if (replaces >= 0) {
        ds.moveTo(replaces);
        ds.remove();
        ds.last();
    }
}

void TFormSklObTransfer::BitBtnZapisNewSklClick()
{
    switch (mode_) {
    case Mode::FromWarehouse: addFromWarehouse(); break;
    case Mode::BetweenObjects: addBetweenObjects(); break;
    default: addReturn(); break;
    }
}

namespace {
QString mergeMessage(double earlier)
{
    return u"Съществува ред с това изделие - "_s + Formats::formatNumber(earlier, u"0.00"_s)
           + u" \n             Количествата ще се сумират  !"_s;
}
QString shortMessage(const QString& name) { return u"Недостатъчно количество на  "_s + name + u"  !"_s; }
const QString kNoRow = u"Не е избран ред от складовия обект !"_s;
} // namespace

void TFormSklObTransfer::addFromWarehouse()
{
    UiService& ui = UiService::current();
    if (nsklObTarget_ <= 0 || nsklad_ <= 0) {
        ui.showMessage(u"Не е избран склад източник или склад за прехвърляне  !"_s);
        return;
    }
    // The chosen material, or with "Всички" the one of the stock row the user stands on.
    SmpDataset& stock = obekti_.SmpProdSkladNalich;
    const int material = RdGrpIzbMaterial->itemIndex() == 1 ? nmaterial_ : keyOf(stock, "NMATERIAL");
    if (material <= 0) {
        ui.showMessage(u"Не е избран материал за прехвърляне !"_s);
        return;
    }
    double quantity = typedNumber(EditKolich);
    const int earlier = lineOfMaterial(material);
    double earlierQuantity = 0;
    if (earlier >= 0) {
        earlierQuantity = lines().valueAt(earlier, lines().fieldByName(u"KOLICHESTVO"_s)).toDouble();
        ui.showMessage(mergeMessage(earlierQuantity));
        quantity += earlierQuantity;
    }
    if (quantity <= 0 || typedNumber(EditDostCena) <= 0) {
        ui.showMessage(u"Не е въведено количество или дост.цена за прехвърляне  !"_s);
        return;
    }
    const double onHand = ObjectTransfers::warehouseOnHand(dm_.SQLConnectNS, material);
    if (quantity > onHand + kAbove) {
        ui.showMessage(shortMessage(dm_.SmpMateriali.lookup(u"NMATERIAL"_s, {material}, u"IMEMATERIAL"_s).toString()));
        // What may still be added beside the line already there, to the last digit.
        EditKolich->setText(Formats::numberToText(std::max(0.0, onHand - earlierQuantity)));
        return;
    }
    // The stock row the user stands on is drawn from first, when it is of this material and warehouse.
    const bool onLine = keyOf(stock, "NMATERIAL") == material && keyOf(stock, "NSKLAD") == nsklad_;
    const int picked = onLine ? keyOf(stock, "AUTONUM") : 0;
    appendLine(material, quantity,
               {{u"OT_SKLAD"_s, dm_.SmpTipSklad.lookup(u"NSKLAD"_s, {nsklad_}, u"SKLAD"_s)},
                {u"NSKL_RAZP_VHOD"_s, picked ? ObjectTransfers::deliveryReceipt(dm_.SQLConnectNS, picked) : 0},
                {u"AUTONUM_IZTOCHNIK"_s, picked ? QVariant(picked) : QVariant()},
                {u"V_SKLAD"_s, objectName(nsklObTarget_)}},
               earlier);
}

void TFormSklObTransfer::addBetweenObjects()
{
    UiService& ui = UiService::current();
    if (nsklObTarget_ <= 0 || RdGrpSklOb->itemIndex() != 1 || nsklOb_ <= 0) {
        ui.showMessage(u"Не е избран склад източник или склад за прехвърляне  !"_s);
        return;
    }
    SmpDataset& onHand = obekti_.SmpSklObNalich;
    // The row the user stands on is the source line: it must be one of the source object.
    if (!onHand.isActive() || onHand.isEmpty() || keyOf(onHand, "NSKL_OBEKT") != nsklOb_) {
        ui.showMessage(kNoRow);
        return;
    }
    const int material = onHand.value(u"NMATERIAL"_s).toInt();
    double quantity = typedNumber(EditKolich);
    const int earlier = lineOfMaterial(material);
    double earlierQuantity = 0;
    if (earlier >= 0) {
        earlierQuantity = lines().valueAt(earlier, lines().fieldByName(u"KOLICHESTVO"_s)).toDouble();
        ui.showMessage(mergeMessage(earlierQuantity));
        quantity += earlierQuantity;
    }
    if (quantity <= 0) return;
    const double available = ObjectTransfers::objectOnHand(dm_.SQLConnectNS, material, nsklOb_);
    if (quantity > available + kAbove) {
        ui.showMessage(shortMessage(onHand.value(u"IMEMATERIAL"_s).toString()));
        EditKolich->setText(Formats::numberToText(std::max(0.0, available - earlierQuantity)));
        return;
    }
    appendLine(material, quantity,
               {{u"OT_SKLAD"_s, objectName(nsklOb_)},
                {u"NSKL_RAZP_VHOD"_s, onHand.value(u"NUM_SKL_RAZP"_s)},
                {u"AUTONUM_IZTOCHNIK"_s, onHand.value(u"AUTONUM"_s)},
                {u"V_SKLAD"_s, objectName(nsklObTarget_)}},
               earlier);
}

void TFormSklObTransfer::addReturn()
{
    UiService& ui = UiService::current();
    if (RdGrpSklOb->itemIndex() != 1 || nsklOb_ <= 0) {
        ui.showMessage(mode_ == Mode::ToSourceWarehouse
                           ? u"Не е избран склад източник или склад за възстановяване  !"_s
                           : u"Не е избран склад източник за възстановяване във фирмен склад !"_s);
        return;
    }
    SmpDataset& onHand = obekti_.SmpSklObNalich;
    if (!onHand.isActive() || onHand.isEmpty() || keyOf(onHand, "NSKL_OBEKT") != nsklOb_) {
        ui.showMessage(kNoRow);
        return;
    }
    const int material = onHand.value(u"NMATERIAL"_s).toInt();
    const int key = onHand.value(u"AUTONUM"_s).toInt();
    const double quantity = typedNumber(EditKolich);
    if (quantity <= 0) return;
    if (mode_ == Mode::ToCompanyWarehouse && ObjectTransfers::returnedSale(dm_.SQLConnectNS, key)) {
        ui.showMessage(ObjectTransfers::returnedSaleRefusal());
        return;
    }
    const double nalichno = onHand.value(u"NALICHNO"_s).toDouble();
    if (nalichno < quantity) {
        ui.showMessage(shortMessage(onHand.value(u"IMEMATERIAL"_s).toString()));
        EditKolich->setText(Formats::numberToText(nalichno));
        return;
    }
    const bool untouched = onHand.value(u"PRODADENO"_s).toDouble() == 0 && onHand.value(u"EKSPEDIRANO"_s).toDouble() == 0
                           && quantity == nalichno;
    // The same object line again replaces its earlier line, without summing.
    appendLine(material, quantity,
               {{u"AUTONUM_UNDO"_s, key},
                {u"OT_SKLAD"_s, onHand.value(u"IMESKL_OBEKT"_s)},
                {u"NSKL_RAZP_VHOD"_s, onHand.value(u"NUM_SKL_RAZP"_s)},
                {u"V_SKLAD"_s, mode_ == Mode::ToSourceWarehouse ? onHand.value(u"SKLAD_VHOD_IME"_s) : QVariant()},
                {u"POLUCHENO"_s, onHand.value(u"POLUCHENO"_s)},
                {u"NALICHNO"_s, nalichno},
                {u"PROD_EKSP"_s, untouched ? 1 : 0}},
               lineOfMaterial(material, key));
}

void TFormSklObTransfer::BitBtnPrintSklRazpClick()
{
    SmpDataset& ds = lines();
    const bool into = mode_ == Mode::FromWarehouse || mode_ == Mode::BetweenObjects;
    // The number printed is the number stored: it is taken now and kept for the save.
    if (into && !ds.isEmpty() && reserved_ == 0) {
        reserved_ = ObjectReceipts::reserve(dm_.SQLConnectNS);
        LbNumSklRazp->setText(QString::number(reserved_));
    }
    for (int i = 0; i < ds.recordCount(); ++i) {
        ds.moveTo(i);
        ds.edit();
        ds.setValue(u"DATEPOLUCHENO"_s, DateTimSklRazp->date());
        ds.setValue(u"NUMMOL"_s, chosenMol());
        if (into) ds.setValue(u"NUM_SKL_RAZP"_s, LbNumSklRazp->text().toInt());
        ds.post();
    }
    ds.first();
    report_.setIntoObject(into);
    Report::preview(report_);
}

void TFormSklObTransfer::BitBtnZapSklObClick()
{
    UiService& ui = UiService::current();
    SmpDataset& ds = lines();
    if (ds.isEmpty()) {
        ui.showMessage(ObjectTransfers::emptyMessage());
        return;
    }
    if (!ui.askYesNo(ObjectTransfers::saveQuestion())) return;
    ObjectTransfers::Transfer t;
    t.mode = ObjectTransfers::Mode(int(mode_));
    t.target = nsklObTarget_;
    t.sourceWarehouse = nsklad_;
    t.sourceObject = RdGrpSklOb->itemIndex() == 1 || mode_ == Mode::BetweenObjects ? nsklOb_ : 0;
    t.targetName = objectName(nsklObTarget_);
    t.sourceObjectName = objectName(nsklOb_);
    t.date = DateTimSklRazp->date();
    t.today = Clock::today();
    t.mol = chosenMol();
    t.reservedNumber = reserved_;
    for (int i = 0; i < ds.recordCount(); ++i) {
        const auto at = [&ds, i](const QString& field) { return ds.valueAt(i, ds.fieldByName(field)); };
        ObjectTransfers::Line line;
        line.sourceLine = (mode_ == Mode::FromWarehouse || mode_ == Mode::BetweenObjects ? at(u"AUTONUM_IZTOCHNIK"_s)
                                                                                        : at(u"AUTONUM_UNDO"_s))
                              .toInt();
        line.material = at(u"NMATERIAL"_s).toInt();
        line.quantity = at(u"KOLICHESTVO"_s).toDouble();
        line.price = at(u"DOSTCENA"_s).toDouble();
        t.lines.append(line);
    }
    // A refused save keeps the window and its lines for the user to mend.
    if (const QString why = ObjectTransfers::saveRefusal(t); !why.isEmpty()) {
        ui.showMessage(why);
        return;
    }
    ObjectTransfers::save(dm_.SQLConnectNS, t);
    saved_ = true;
    for (SmpDataset* list : {&obekti_.SmpSklObNalich, &obekti_.SmpProdSkladNalich})
        if (list->isActive()) list->refresh();
    close();
}
