#include "warehouse/formsklad.h"

#include "common/gridexport.h"
#include "data/dmns.h"
#include "data/dmsklad.h"
#include "platform/base/clock.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbimage.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"
#include "warehouse/formnovadostavka.h"
#include "warehouse/formdostavkakorekcia.h"
#include "warehouse/formskldostbrak.h"
#include "warehouse/formupddostcena.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QStringList kAllOrChosen{QStringLiteral("Всички"), QStringLiteral("По избор")};

} // namespace

TFormSklad::TFormSklad(TDMNS& dm, TDMSklad& sklad, QWidget* parent) : Form(parent), dm_(dm), sklad_(sklad)
{
    setObjectName(QStringLiteral("FormSklad"));
    setWindowTitle(QStringLiteral("СКЛАД - НАЛИЧНОСТИ !"));

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    N1 = MainMenu1->addMenu(QStringLiteral("Справки - склад"));
    N1->setObjectName(QStringLiteral("N1"));
    // Disabled until setInquiries() gives the item its window.
    const auto item = [this](const char* name, const char* caption) {
        QAction* a = N1->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        a->setEnabled(false);
        return a;
    };
    N2 = item("N2", "Склад - материали движение");
    N3 = item("N3", "Склад - материали наличности");
    N6 = item("N6", "Склад - материали наличности към дата");
    N5 = item("N5", "Склад - материали ЦЕНИ");
    N4 = item("N4", "Склад - материали обобщена справка");
    N7 = item("N7", "Склад - складови разписки");

    auto* tipSklad = new DataSource(&dm.SmpTipSklad, this);
    tipSklad->setObjectName(QStringLiteral("DtSrcTipSklad"));
    auto* skladMat = new DataSource(&dm.SmpSkladMat, this);
    skladMat->setObjectName(QStringLiteral("DtSrcSkladMat"));
    auto* tipKontr = new DataSource(&sklad.SmpTipKontrSklPunkt, this);
    tipKontr->setObjectName(QStringLiteral("DtSrcTipKontrSklPunkt"));
    auto* kontr = new DataSource(&sklad.SmpKontrSklPunkt, this);
    kontr->setObjectName(QStringLiteral("DtSrcKontrSklPunkt"));
    dtSrcSklNalich_ = new DataSource(&sklad.SmpSklNalich, this);
    dtSrcSklNalich_->setObjectName(QStringLiteral("DtSrcSklNalich"));
    auto* dostBrak = new DataSource(&sklad.SmpSklDostBrak, this);
    dostBrak->setObjectName(QStringLiteral("DtSrcSklDostBrak"));

    RdGrpIzbSklad = new RadioGroup(QStringLiteral("RdGrpIzbSklad"), QString(), kAllOrChosen);
    RdGrpIzbSklad->setItemIndex(1);
    DBLkpCmbIzbSklad = DbControls::makeListLookup("DBLkpCmbIzbSklad", tipSklad, "NSKLAD", "SKLAD", 200);
    auto* skladBox = new QGroupBox(QStringLiteral("Избор на склад "));
    auto* skladRow = new QHBoxLayout(skladBox);
    skladRow->addWidget(RdGrpIzbSklad);
    skladRow->addWidget(DBLkpCmbIzbSklad, 1);

    RdGrpIzbMaterial = new RadioGroup(QStringLiteral("RdGrpIzbMaterial"), QString(), kAllOrChosen);
    RdGrpIzbMaterial->setItemIndex(1);
    DBLkpCmBoxMat = DbControls::makeListLookup("DBLkpCmBoxMat", skladMat, "NMATERIAL", "IMEMATERIAL", 200);
    DBLkpCmBoxMat->setMinimumWidth(300);
    auto* matBox = new QGroupBox(QStringLiteral("Избор на материал "));
    auto* matRow = new QHBoxLayout(matBox);
    matRow->addWidget(RdGrpIzbMaterial);
    matRow->addWidget(DBLkpCmBoxMat, 1);

    RdGrpKontrDaNeDostav = new RadioGroup(QStringLiteral("RdGrpKontrDaNeDostav"), QStringLiteral("Доставчици "),
                                          {QStringLiteral("Всички"), QStringLiteral("Избор")});
    RdGrpKontrDaNeDostav->setItemIndex(0);
    GrpBoxIzbKontrDostav = new QGroupBox(QStringLiteral("Избор "));
    GrpBoxIzbKontrDostav->setObjectName(QStringLiteral("GrpBoxIzbKontrDostav"));
    DBLkpCmBoxTipKontrDost = DbControls::makeListLookup("DBLkpCmBoxTipKontrDost", tipKontr, "NTIP_KONTRAGENT", "KONTRAGENT", 200);
    DBLkpCmBoxKontrDostav = DbControls::makeListLookup("DBLkpCmBoxKontrDostav", kontr, "NKONTRAGENT", "IMEKONTRAGENT", 200);
    auto* kontrRow = new QHBoxLayout(GrpBoxIzbKontrDostav);
    kontrRow->addWidget(new QLabel(QStringLiteral("Тип контрагент -")));
    kontrRow->addWidget(DBLkpCmBoxTipKontrDost);
    kontrRow->addWidget(DBLkpCmBoxKontrDostav, 1);
    GrpBoxIzbKontrDostav->setVisible(false);

    DBGrid1 = new DBGrid;
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSource(dtSrcSklNalich_);
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    DBGrid1->setRowTextColor([this](int position) {
        const SmpField* f = sklad_.SmpSklNalich.findField(QStringLiteral("DATEGODNOST"));
        return f && expiresSoon(sklad_.SmpSklNalich.valueAt(position, f)) ? QColor(Qt::red) : QColor();
    });
    auto* gridBox = new QGroupBox(QStringLiteral("Склад наличности ! "));
    auto* gridLayout = new QVBoxLayout(gridBox);
    gridLayout->addWidget(DBGrid1);

    DBText1 = DbControls::makeShownNumber("DBText1", dtSrcSklNalich_, "SumObCenaLv", 110);
    DBText2 = DbControls::makeShownNumber("DBText2", dtSrcSklNalich_, "SumObCenaUSD", 110);
    DBText3 = DbControls::makeShownNumber("DBText3", dtSrcSklNalich_, "SumObCenaEUR", 110);
    auto* totals = new QHBoxLayout;
    totals->addWidget(new QLabel(QStringLiteral("Наличности - ЛВ:")));
    totals->addWidget(DBText1);
    totals->addWidget(new QLabel(QStringLiteral("USD:")));
    totals->addWidget(DBText2);
    totals->addWidget(new QLabel(QStringLiteral("EUR:")));
    totals->addWidget(DBText3);
    totals->addStretch(1);

    DBImage1 = new DBImage;
    DBImage1->setObjectName(QStringLiteral("DBImage1"));
    DBImage1->setDataSource(dtSrcSklNalich_);
    DBImage1->setDataField(QStringLiteral("SNIMKA"));
    DBImage1->setStretch(true);
    DBImage1->setFixedSize(120, 90);
    auto* imageBox = new QVBoxLayout;
    imageBox->addWidget(new QLabel(QStringLiteral("Снимка на изделие, материал:")));
    imageBox->addWidget(DBImage1);

    SpeedBtnNDostavka = Handlers::makeButton("SpeedBtnNDostavka", QStringLiteral("Нова доставка"), this,
                                             &TFormSklad::SpeedBtnNDostavkaClick);
    SpeedBtnExcel = Handlers::makeButton("SpeedBtnExcel", QStringLiteral(" > Excel"), this, &TFormSklad::SpeedBtnExcelClick);
    SpdBtnRedakcia = Handlers::makeButton("SpdBtnRedakcia", QStringLiteral("Редакция"), this, &TFormSklad::SpdBtnRedakciaClick);
    SpdBtnDostCena = Handlers::makeButton("SpdBtnDostCena", QStringLiteral("Доставна цена"), this,
                                          &TFormSklad::SpdBtnDostCenaClick);
    SpdBtnDostCena->setToolTip(QStringLiteral("Корекция на доставна цена"));
    SpdBtnDelKontragent = Handlers::makeButton("SpdBtnDelKontragent", QStringLiteral("Изтриване"), this,
                                               &TFormSklad::SpdBtnDelKontragentClick);
    SpdBtnExit = Handlers::makeButton("SpdBtnExit", QStringLiteral("Изход"));
    connect(SpdBtnExit, &QToolButton::clicked, this, &QWidget::close);
    auto* buttons = new QVBoxLayout;
    for (QToolButton* b : {SpeedBtnNDostavka, SpdBtnRedakcia, SpdBtnDostCena, SpdBtnDelKontragent, SpeedBtnExcel, SpdBtnExit}) {
        b->setMinimumWidth(110);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    buttons->addLayout(imageBox);

    GrpBoxDostBrak = new QGroupBox(QStringLiteral("Рекламирана доставка "));
    GrpBoxDostBrak->setObjectName(QStringLiteral("GrpBoxDostBrak"));
    DBGrid2 = new DBGrid;
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setDataSource(dostBrak);
    DBGrid2->setReadOnly(true);
    DBGrid2->setRowSelect(true);
    RdGrpDostBrak = new RadioGroup(QStringLiteral("RdGrpDostBrak"), QStringLiteral("Рекламация за: "),
                                   {QStringLiteral("Избран доставчик"), QStringLiteral("Всички")});
    RdGrpDostBrak->setItemIndex(0);
    BitBtnNewDostBrak = Handlers::makeButton("BitBtnNewDostBrak", QStringLiteral("Нова рекламация"), this,
                                             &TFormSklad::BitBtnNewDostBrakClick);
    BitBtnNewDostBrak->setToolTip(QStringLiteral("Нова рекламация на доставка"));
    BitBtnDelDostBrak = Handlers::makeButton("BitBtnDelDostBrak", QStringLiteral("Изтриване"), this,
                                             &TFormSklad::BitBtnDelDostBrakClick);
    BitBtnDelDostBrak->setToolTip(QStringLiteral("Изтриване на рекламация"));
    auto* brakSide = new QVBoxLayout;
    brakSide->addWidget(RdGrpDostBrak);
    brakSide->addWidget(BitBtnNewDostBrak);
    brakSide->addWidget(BitBtnDelDostBrak);
    brakSide->addStretch(1);
    auto* brakLayout = new QHBoxLayout(GrpBoxDostBrak);
    brakLayout->addWidget(DBGrid2, 1);
    brakLayout->addLayout(brakSide);
    GrpBoxDostBrak->setVisible(false);

    auto* filters = new QGridLayout;
    filters->addWidget(skladBox, 0, 0);
    filters->addWidget(matBox, 0, 1);
    filters->addWidget(RdGrpKontrDaNeDostav, 0, 2);
    filters->addWidget(GrpBoxIzbKontrDostav, 1, 0, 1, 3);
    auto* middle = new QHBoxLayout;
    middle->addWidget(gridBox, 1);
    middle->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(MainMenu1);
    layout->addLayout(filters);
    layout->addLayout(middle, 1);
    layout->addLayout(totals);
    layout->addWidget(GrpBoxDostBrak);
    resize(1100, 700);

    Handlers::connect(RdGrpIzbSklad, &RadioGroup::clicked, this, &TFormSklad::RdGrpIzbSkladClick);
    Handlers::connect(DBLkpCmbIzbSklad, &DBLookupComboBox::closeUp, this, &TFormSklad::DBLkpCmbIzbSkladCloseUp);
    Handlers::connect(RdGrpIzbMaterial, &RadioGroup::clicked, this, &TFormSklad::RdGrpIzbMaterialClick);
    Handlers::connect(DBLkpCmBoxMat, &DBLookupComboBox::closeUp, this, &TFormSklad::DBLkpCmBoxMatCloseUp);
    Handlers::connect(RdGrpKontrDaNeDostav, &RadioGroup::clicked, this, &TFormSklad::RdGrpKontrDaNeDostavClick);
    Handlers::connect(DBLkpCmBoxTipKontrDost, &DBLookupComboBox::closeUp, this,
                      &TFormSklad::DBLkpCmBoxTipKontrDostCloseUp);
    Handlers::connect(DBLkpCmBoxKontrDostav, &DBLookupComboBox::closeUp, this, &TFormSklad::DBLkpCmBoxKontrDostavCloseUp);
    Handlers::connect(RdGrpDostBrak, &RadioGroup::clicked, this, &TFormSklad::DtSrcSklNalichDataChange);
    Handlers::connect(dtSrcSklNalich_, &DataSource::dataChange, this, &TFormSklad::DtSrcSklNalichDataChange);
    Handlers::connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TFormSklad::SpdBtnRedakciaClick);
    setEditors(nullptr, nullptr, nullptr);
    setPriceEditor(nullptr);
}

void TFormSklad::setEditors(TFormNovaDostavka* novaDostavka, TFormDostavkaKorekcia* korekcia, TFormSklDostBrak* dostBrak)
{
    FormNovaDostavka = novaDostavka;
    FormDostavkaKorekcia = korekcia;
    FormSklDostBrak = dostBrak;
    SpeedBtnNDostavka->setEnabled(novaDostavka != nullptr);
    SpdBtnRedakcia->setEnabled(korekcia != nullptr);
    DtSrcSklNalichDataChange();
}

void TFormSklad::setPriceEditor(TFormUpdDostCena* updDostCena)
{
    FormUpdDostCena = updDostCena;
    SpdBtnDostCena->setEnabled(updDostCena != nullptr);
    if (updDostCena)
        Handlers::connect(updDostCena, &TFormUpdDostCena::pricesSaved, this, [this] { sklad_.SmpSklNalich.refresh(); });
}

void TFormSklad::setInquiries(const QList<Form*>& windows)
{
    const QList<QAction*> items{N2, N3, N6, N5, N4, N7};
    for (int i = 0; i < items.size() && i < windows.size(); ++i) {
        Form* window = windows[i];
        items[i]->setEnabled(window != nullptr);
        if (window)
            Handlers::connect(items[i], &QAction::triggered, this, [window] { UiService::current().showModeless(window); });
    }
}

bool TFormSklad::expiresSoon(const QVariant& expiry)
{
    if (expiry.isNull()) return false;
    const QDate date = expiry.typeId() == QMetaType::QDateTime ? expiry.toDateTime().date() : expiry.toDate();
    return date.isValid() && Clock::today().addDays(3) > date;
}

void TFormSklad::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

void TFormSklad::FormShow()
{
    SmpDataset& warehouses = dm_.SmpTipSklad;
    warehouses.close();
    warehouses.open();
    warehouses.first();
    nsklad_ = warehouses.isEmpty() ? 0 : warehouses.fieldByName(QStringLiteral("NSKLAD"))->asInt();
    filterMaterials(nsklad_);
    dm_.SmpSkladMat.close();
    dm_.SmpSkladMat.open();
    DBLkpCmbIzbSklad->setEnabled(RdGrpIzbSklad->itemIndex() == 1);
    DBLkpCmBoxMat->setEnabled(RdGrpIzbMaterial->itemIndex() == 1);
    ReloadStockWindowList();
}

void TFormSklad::filterMaterials(int nsklad)
{
    dm_.SmpSkladMat.setFilter(QStringLiteral("nsklad=%1").arg(nsklad));
    dm_.SmpSkladMat.setFiltered(true);
}

void TFormSklad::ReloadStockWindowList()
{
    SmpDataset& stock = sklad_.SmpSklNalich;
    stock.close();
    const bool allWarehouses = RdGrpIzbSklad->itemIndex() == 0;
    stock.setParam(QStringLiteral("SKLADOT"), allWarehouses ? 1 : nsklad_);
    stock.setParam(QStringLiteral("SKLADDO"), allWarehouses ? 100 : nsklad_);
    const bool allMaterials = RdGrpIzbMaterial->itemIndex() == 0;
    stock.setParam(QStringLiteral("NMATERIALOT"), allMaterials ? 1 : nmaterial_);
    stock.setParam(QStringLiteral("NMATERIALDO"), allMaterials ? 100000 : nmaterial_);
    stock.open();
}

void TFormSklad::RdGrpIzbSkladClick()
{
    const bool chosen = RdGrpIzbSklad->itemIndex() == 1;
    DBLkpCmbIzbSklad->setEnabled(chosen);
    if (chosen) {
        SmpDataset& warehouses = dm_.SmpTipSklad;
        filterMaterials(warehouses.isActive() && !warehouses.isEmpty()
                            ? warehouses.fieldByName(QStringLiteral("NSKLAD"))->asInt() : 0);
    } else {
        dm_.SmpSkladMat.setFilter(QString());
        dm_.SmpSkladMat.setFiltered(false);
    }
    ReloadStockWindowList();
}

void TFormSklad::DBLkpCmbIzbSkladCloseUp()
{
    nsklad_ = dm_.SmpTipSklad.fieldByName(QStringLiteral("NSKLAD"))->asInt();
    filterMaterials(nsklad_);
    ReloadStockWindowList();
}

void TFormSklad::RdGrpIzbMaterialClick()
{
    DBLkpCmBoxMat->setEnabled(RdGrpIzbMaterial->itemIndex() == 1);
    ReloadStockWindowList();
}

void TFormSklad::DBLkpCmBoxMatCloseUp()
{
    SmpDataset& materials = dm_.SmpSkladMat;
    nmaterial_ = materials.isEmpty() ? 0 : materials.fieldByName(QStringLiteral("NMATERIAL"))->asInt();
    ReloadStockWindowList();
}

void TFormSklad::RdGrpKontrDaNeDostavClick()
{
    for (SmpDataset* ds : {&sklad_.SmpTipKontrSklPunkt, &sklad_.SmpKontrSklPunkt})
        if (!ds->isActive()) ds->open();
    const bool chosen = RdGrpKontrDaNeDostav->itemIndex() == 1;
    GrpBoxIzbKontrDostav->setVisible(chosen);
    GrpBoxDostBrak->setVisible(chosen);
    DBGrid1->setColumnVisible(QStringLiteral("IMEKONTRAGENT"), !chosen);
    sklad_.SmpSklNalich.setFiltered(chosen);
    DtSrcSklNalichDataChange();
}

void TFormSklad::applySupplierFilter()
{
    SmpDataset& suppliers = sklad_.SmpKontrSklPunkt;
    // The key is a number read from the list, never typed text.
    sklad_.SmpSklNalich.setFilter(suppliers.isActive() && !suppliers.isEmpty()
        ? QStringLiteral("NKONTRAGENT=%1").arg(suppliers.fieldByName(QStringLiteral("NKONTRAGENT"))->asInt())
        : QString());
}

void TFormSklad::DBLkpCmBoxTipKontrDostCloseUp()
{
    sklad_.SmpKontrSklPunkt.close();
    sklad_.SmpKontrSklPunkt.open();
    applySupplierFilter();
}

void TFormSklad::DBLkpCmBoxKontrDostavCloseUp() { applySupplierFilter(); }

void TFormSklad::DtSrcSklNalichDataChange()
{
    SmpDataset& stock = sklad_.SmpSklNalich;
    const bool row = stock.isActive() && !stock.isEmpty();
    if (RdGrpKontrDaNeDostav->itemIndex() == 1) {
        SmpDataset& brak = sklad_.SmpSklDostBrak;
        SmpDataset& suppliers = sklad_.SmpKontrSklPunkt;
        const int supplier = suppliers.isActive() && !suppliers.isEmpty()
                                 ? suppliers.fieldByName(QStringLiteral("NKONTRAGENT"))->asInt() : 0;
        const bool chosenSupplier = RdGrpDostBrak->itemIndex() == 0;
        brak.close();
        brak.setParam(QStringLiteral("NKONTROT"), chosenSupplier ? supplier : 0);
        brak.setParam(QStringLiteral("NKONTRDO"), chosenSupplier ? supplier : 32000);
        brak.open();
    }
    BitBtnNewDostBrak->setEnabled(FormSklDostBrak && row
                                  && stock.fieldByName(QStringLiteral("NKONTRAGENT"))->asInt() > 0);
}

QString TFormSklad::companyAlias() const { return StockLines::companyAlias(dm_.SQLConnectNS); }

void TFormSklad::SpeedBtnNDostavkaClick()
{
    RdGrpIzbSklad->setItemIndex(1);
    RdGrpIzbMaterial->setItemIndex(1);
    ReloadStockWindowList();
    if (FormNovaDostavka && FormNovaDostavka->open(TFormNovaDostavka::Mode::Warehouse)) ReloadStockWindowList();
}

void TFormSklad::SpeedBtnExcelClick()
{
    SpreadsheetExport how;
    how.emptyList = SpreadsheetExport::EmptyList::HeaderOnly;
    how.parentWindow = this;
    ExportDatasetToSpreadsheet(sklad_.SmpSklNalich, how);
}

std::optional<StockLines::Line> TFormSklad::currentLine()
{
    SmpDataset& stock = sklad_.SmpSklNalich;
    if (!stock.isActive() || stock.isEmpty()) return std::nullopt;
    // Read afresh by its key, so what was recorded since the list was read counts too.
    auto line = StockLines::read(dm_.SQLConnectNS, stock.fieldByName(QStringLiteral("AUTONUM"))->asInt());
    if (!line) ReloadStockWindowList();
    return line;
}

std::optional<StockLines::Line> TFormSklad::lineToCorrect()
{
    SmpDataset& stock = sklad_.SmpSklNalich;
    if (!stock.isActive() || stock.isEmpty()) {
        UiService::current().showMessage(QStringLiteral("Липстват данни за КОРЕКЦИЯ !  "));
        return std::nullopt;
    }
    return currentLine();
}

void TFormSklad::SpdBtnRedakciaClick()
{
    if (!FormDostavkaKorekcia) return;
    const auto line = lineToCorrect();
    if (!line) return;
    FormDostavkaKorekcia->open(StockLines::ownProduction(*line, companyAlias())
                                   ? TFormDostavkaKorekcia::Mode::OwnProduction
                                   : TFormDostavkaKorekcia::Mode::Delivery,
                               *line);
}

void TFormSklad::SpdBtnDostCenaClick()
{
    if (!FormUpdDostCena) return;
    if (const auto line = lineToCorrect()) FormUpdDostCena->open(*line);
}

void TFormSklad::SpdBtnDelKontragentClick()
{
    const auto line = currentLine();
    if (!line) return;
    SmpDataset& stock = sklad_.SmpSklNalich;
    if (const QString why = StockLines::deleteRefusal(*line, companyAlias()); !why.isEmpty()) {
        UiService::current().showMessage(why);
        return;
    }
    if (!UiService::current().askYesNo(QStringLiteral("          Изтриване на ред от доставка ?\nСлед изтриване е "
                                                      "необходимо да направите\n   корекция в разплащания с доставчици !")))
        return;
    StockLines::remove(dm_.SQLConnectNS, line->key);
    stock.refresh();
}

void TFormSklad::BitBtnNewDostBrakClick()
{
    if (!FormSklDostBrak) return;
    if (const auto line = currentLine(); line && line->supplier > 0) FormSklDostBrak->open(*line);
}

void TFormSklad::BitBtnDelDostBrakClick()
{
    SmpDataset& brak = sklad_.SmpSklDostBrak;
    if (!brak.isActive() || brak.isEmpty()) return;
    if (!UiService::current().askYesNo(QStringLiteral("Изтриване на бракувано количество ?"))) return;
    StockLines::removeDefect(dm_.SQLConnectNS, brak.fieldByName(QStringLiteral("AUTONUM"))->asInt());
    brak.refresh();
    sklad_.SmpSklNalich.refresh();
}
