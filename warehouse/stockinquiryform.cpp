#include "warehouse/stockinquiryform.h"

#include "common/gridexport.h"
#include "data/dmns.h"
#include "platform/base/clock.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/filterdateedit.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QStringList kAllOrChosen{QStringLiteral("Всички"), QStringLiteral("По избор")};
// Rows a column's width is measured over: enough for a screenful and more, cheap for a long list.
constexpr int kRowsMeasured = 300;
constexpr int kWidestColumn = 320;
} // namespace

void StockInquiryGrid::fitColumns(DBGrid* grid)
{
    grid->horizontalHeader()->setResizeContentsPrecision(kRowsMeasured);
    const auto fit = [grid] {
        QHeaderView* header = grid->horizontalHeader();
        const QAbstractItemView* view = grid;  // the table's own measure of its cells, public here
        for (int c = 0; c < grid->model()->columnCount(); ++c) {
            const int fits = std::max(header->sectionSizeHint(c), view->sizeHintForColumn(c));
            grid->setColumnWidth(c, std::min(fits, kWidestColumn));
        }
    };
    // After the grid's own layout of the columns, which the reset of its rows runs first.
    QObject::connect(grid->model(), &QAbstractItemModel::modelReset, grid, fit);
    fit();
}

TFormStockInquiry::TFormStockInquiry(TDMNS& dm, SmpDataset& list, SmpDataset* materials, const QString& name,
                                     const QString& caption, const QString& excelCaption, QWidget* parent)
    : Form(parent), dm_(dm), list_(list), materials_(materials), filters_(new QHBoxLayout),
      footer_(new QVBoxLayout), buttons_(new QVBoxLayout), listSource_(new DataSource(&list, this))
{
    setObjectName(name);
    setWindowTitle(caption);
    listSource_->setObjectName(QStringLiteral("DtSrc") + list.objectName().mid(3));

    auto* warehouses = new DataSource(&dm.SmpTipSklad, this);
    warehouses->setObjectName(QStringLiteral("DtSrcTipSklad"));
    RdGrpIzbSklad = new RadioGroup(QStringLiteral("RdGrpIzbSklad"), QString(), kAllOrChosen);
    RdGrpIzbSklad->setItemIndex(0);
    DBLkpCmbIzbSklad = DbControls::makeListLookup("DBLkpCmbIzbSklad", warehouses, "NSKLAD", "SKLAD", 180);
    DBLkpCmbIzbSklad->setEnabled(false);
    auto* skladBox = new QGroupBox(QStringLiteral("Избор на склад "));
    auto* skladRow = new QHBoxLayout(skladBox);
    skladRow->addWidget(RdGrpIzbSklad);
    skladRow->addWidget(DBLkpCmbIzbSklad, 1);
    filters_->addWidget(skladBox, 1);
    Handlers::connect(RdGrpIzbSklad, &RadioGroup::clicked, this, &TFormStockInquiry::RdGrpIzbSkladClick);
    Handlers::connect(DBLkpCmbIzbSklad, &DBLookupComboBox::closeUp, this, &TFormStockInquiry::DBLkpCmbIzbSkladCloseUp);

    if (materials) {
        auto* matSource = new DataSource(materials, this);
        matSource->setObjectName(QStringLiteral("DtSrc") + materials->objectName().mid(3));
        RdGrpIzbMaterial = new RadioGroup(QStringLiteral("RdGrpIzbMaterial"), QString(), kAllOrChosen);
        RdGrpIzbMaterial->setItemIndex(0);
        DBLkpCmBoxMat = DbControls::makeListLookup("DBLkpCmBoxMat", matSource, "NMATERIAL", "IMEMATERIAL", 260);
        DBLkpCmBoxMat->setEnabled(false);
        auto* matBox = new QGroupBox(QStringLiteral("Избор на материал "));
        auto* matRow = new QHBoxLayout(matBox);
        matRow->addWidget(RdGrpIzbMaterial);
        matRow->addWidget(DBLkpCmBoxMat, 1);
        filters_->addWidget(matBox, 1);
        Handlers::connect(RdGrpIzbMaterial, &RadioGroup::clicked, this, &TFormStockInquiry::RdGrpIzbMaterialClick);
        Handlers::connect(DBLkpCmBoxMat, &DBLookupComboBox::closeUp, this, &TFormStockInquiry::DBLkpCmBoxMatCloseUp);
    }

    DBGrid1 = new DBGrid;
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSource(listSource_);
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    StockInquiryGrid::fitColumns(DBGrid1);

    SpeedBtnExcel = Handlers::makeButton("SpeedBtnExcel", excelCaption, this, &TFormStockInquiry::SpeedBtnExcelClick);
    SpdBtnExit = Handlers::makeButton("SpdBtnExit", QStringLiteral("Изход"));
    connect(SpdBtnExit, &QToolButton::clicked, this, &QWidget::close);
    buttons_->addStretch(1);
    for (QToolButton* b : {SpeedBtnExcel, SpdBtnExit}) {
        b->setMinimumWidth(110);
        buttons_->addWidget(b);
    }
    auto* middle = new QHBoxLayout;
    middle->addWidget(DBGrid1, 1);
    middle->addLayout(buttons_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters_);
    layout->addLayout(middle, 1);
    layout->addLayout(footer_);
    resize(1100, 650);
}

QDateEdit* TFormStockInquiry::dateEdit(const char* name, const QDate& date)
{
    auto* d = new FilterDateEdit(date);
    d->setObjectName(QString::fromLatin1(name));
    Handlers::connect(d, &FilterDateEdit::committed, this, &TFormStockInquiry::Reload);
    return d;
}

void TFormStockInquiry::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

bool TFormStockInquiry::allWarehouses() const { return RdGrpIzbSklad->itemIndex() == 0; }
bool TFormStockInquiry::allMaterials() const { return !RdGrpIzbMaterial || RdGrpIzbMaterial->itemIndex() == 0; }

void TFormStockInquiry::FormShow()
{
    SmpDataset& warehouses = dm_.SmpTipSklad;
    warehouses.close();
    warehouses.open();
    warehouses.first();
    nsklad_ = warehouses.isEmpty() ? 0 : warehouses.fieldByName(QStringLiteral("NSKLAD"))->asInt();
    if (materials_) {
        materials_->close();
        materials_->open();
        filterMaterials(true);
    }
    warehouseChoiceChanged();
    Reload();
}

void TFormStockInquiry::filterMaterials(bool on)
{
    if (!materials_) return;
    // The number comes from the warehouse list, never from typed text.
    materials_->setFilter(on ? QStringLiteral("nsklad=%1").arg(nsklad_) : QString());
    materials_->setFiltered(on);
}

void TFormStockInquiry::load(bool everyWarehouse)
{
    list_.close();
    list_.setParam(QStringLiteral("SKLADOT"), everyWarehouse ? 0 : nsklad_);
    list_.setParam(QStringLiteral("SKLADDO"), everyWarehouse ? kAllWarehousesTo : nsklad_);
    if (materials_) {
        list_.setParam(QStringLiteral("NMATERIALOT"), allMaterials() ? 0 : nmaterial_);
        list_.setParam(QStringLiteral("NMATERIALDO"), allMaterials() ? kAllMaterialsTo : nmaterial_);
    }
    setInputs(list_);
    list_.open();
}

void TFormStockInquiry::RdGrpIzbSkladClick()
{
    const bool chosen = !allWarehouses();
    DBLkpCmbIzbSklad->setEnabled(chosen);
    if (chosen) {
        SmpDataset& warehouses = dm_.SmpTipSklad;
        if (warehouses.isActive() && !warehouses.isEmpty())
            nsklad_ = warehouses.fieldByName(QStringLiteral("NSKLAD"))->asInt();
    }
    filterMaterials(chosen);
    warehouseChoiceChanged();
    Reload();
}

void TFormStockInquiry::DBLkpCmbIzbSkladCloseUp()
{
    SmpDataset& warehouses = dm_.SmpTipSklad;
    if (warehouses.isEmpty()) return;
    nsklad_ = warehouses.fieldByName(QStringLiteral("NSKLAD"))->asInt();
    filterMaterials(true);
    Reload();
}

void TFormStockInquiry::RdGrpIzbMaterialClick()
{
    DBLkpCmBoxMat->setEnabled(!allMaterials());
    Reload();
}

void TFormStockInquiry::DBLkpCmBoxMatCloseUp()
{
    if (materials_->isEmpty()) return;
    nmaterial_ = materials_->fieldByName(QStringLiteral("NMATERIAL"))->asInt();
    Reload();
}

bool TFormStockInquiry::showsChoice(const DBLookupComboBox* box)
{
    const DataSource* source = box->listSource();
    const SmpDataset* list = source ? source->boundDataset() : nullptr;
    return list && list->isActive() && box->currentIndex() >= 0;
}

QString TFormStockInquiry::supplierFilter(const DBLookupComboBox* box)
{
    // The key is a number read from the list, never typed text.
    return showsChoice(box) ? QStringLiteral("NKONTRAGENT=%1").arg(box->keyValue().toInt()) : QString();
}

void TFormStockInquiry::SpeedBtnExcelClick()
{
    SpreadsheetExport how;
    how.emptyList = SpreadsheetExport::EmptyList::HeaderOnly;
    how.parentWindow = this;
    how.hiddenFields = DBGrid1->hiddenFields();
    ExportDatasetToSpreadsheet(list_, how);
}
