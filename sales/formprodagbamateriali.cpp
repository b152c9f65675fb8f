#include "sales/formprodagbamateriali.h"

#include "data/dmns.h"
#include "data/dmprodagba.h"
#include "platform/base/formats.h"
#include "platform/dataset/smpdataset.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"
#include "sales/documenttype.h"
#include "sales/linecolumns.h"
#include "sales/salelines.h"
#include "sales/salerecording.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QStringList kAllOrChosen{u"Всички"_s, u"По избор"_s};

// Refits a grid's columns when its viewport is resized or its rows are read anew (which resets the
// widths).
class ColumnFitter : public QObject
{
public:
    ColumnFitter(DBGrid& grid, const QString& stretchField) : QObject(&grid), grid_(grid), stretch_(stretchField)
    {
        setObjectName(u"SaleGridColumnFitter"_s);
        grid.viewport()->installEventFilter(this);
        connect(grid.model(), &QAbstractItemModel::modelReset, this, &ColumnFitter::fit);
    }

    void fit()
    {
        if (busy_) return;
        busy_ = true;
        const QFontMetrics cells = grid_.fontMetrics();
        const QFontMetrics headings = grid_.horizontalHeader()->fontMetrics();
        const QList<DatasetColumn> columns = grid_.columns();
        const SmpDataset* ds = grid_.dataset();
        int used = 0, stretchColumn = -1, stretchWidth = 0;
        for (int c = 0; c < columns.size(); ++c) {
            if (grid_.isColumnHidden(c)) continue;
            const SmpField* f = ds ? ds->findField(columns.at(c).fieldName) : nullptr;
            const QString heading = grid_.model()->headerData(c, Qt::Horizontal).toString();
            int content = 0;
            if (f && f->isNumeric())
                content = cells.horizontalAdvance(
                    f->displayFormat.isEmpty() ? u"9999999"_s : Formats::formatNumber(9999999.999, f->displayFormat));
            else if (f && f->type() == SmpField::Type::DateTime)
                content = cells.horizontalAdvance(u"00.00.0000"_s);
            else
                content = cells.averageCharWidth() * qBound(3, f && f->size() > 0 ? f->size() : 24, 24);
            const int width = qMax(headings.horizontalAdvance(heading), content) + 16;
            if (columns.at(c).fieldName.compare(stretch_, Qt::CaseInsensitive) == 0) {
                stretchColumn = c;
                stretchWidth = qMax(width, cells.averageCharWidth() * 30);
                continue;
            }
            grid_.setColumnWidth(c, width);
            used += width;
        }
        if (stretchColumn >= 0) grid_.setColumnWidth(stretchColumn, qMax(stretchWidth, grid_.viewport()->width() - used));
        busy_ = false;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize) fit();
        return QObject::eventFilter(watched, event);
    }

private:
    DBGrid& grid_;
    QString stretch_;
    bool busy_ = false;
};

SaleLines::StockPrices pricesOf(const SmpDataset& stock)
{
    const auto v = [&stock](const char* field) { return stock.value(QString::fromLatin1(field)).toDouble(); };
    SaleLines::StockPrices p;
    p.wholesale[0] = v("PRODAGNA_CENA");
    p.wholesale[1] = v("PRODAGNA_CENA_USD");
    p.wholesale[2] = v("PRODAGNA_CENA_EUR");
    p.retail[0] = v("PROD_CENA_LV_DREBNO");
    p.retail[1] = v("PROD_CENA_USD_DREBNO");
    p.retail[2] = v("PROD_CENA_EUR_DREBNO");
    p.delivery[0] = v("ED_CENA_LV");
    p.delivery[1] = v("USD");
    p.delivery[2] = v("EUR");
    return p;
}
} // namespace

void SaleGrids::fitColumns(DBGrid& grid, const QString& stretchField)
{
    auto* fitter = static_cast<ColumnFitter*>(
        grid.findChild<QObject*>(u"SaleGridColumnFitter"_s, Qt::FindDirectChildrenOnly));
    if (!fitter) fitter = new ColumnFitter(grid, stretchField);
    fitter->fit();
}

TFormProdagbaMateriali::TFormProdagbaMateriali(TDMNS& dm, TDMProdagba& sale, QWidget* parent)
    : Form(parent), dm_(dm), sale_(sale)
{
    setObjectName(u"FormProdagbaMateriali"_s);
    setWindowTitle(u"Избор на материал, изделие, комплект за продажба !"_s);

    auto* tipSklad = new DataSource(&sale.SmpProdTipSklad, this);
    auto* skladMat = new DataSource(&sale.SmpProdSkladMat, this);
    auto* tipSklOb = new DataSource(&dm.SmpTipSklOb, this);
    auto* matSklOb = new DataSource(&sale.SmpViewMatSklOb, this);
    auto* skladNalich = new DataSource(&sale.SmpProdSkladNalich, this);
    skladNalich->setObjectName(u"DtSrcProdSkladNalich"_s);
    auto* lines = linesSource_ = new DataSource(&sale.SmpProdagbaTempNew, this);
    lines->setObjectName(u"DtSrcProdagbaTempNew"_s);

    PnlProdSklad = new QWidget;
    PnlProdSklad->setObjectName(u"PnlProdSklad"_s);
    RdGrpIzbSklad = new RadioGroup(u"RdGrpIzbSklad"_s, QString(), kAllOrChosen);
    RdGrpIzbSklad->setItemIndex(1);
    DBLkpCmbIzbSklad = DbControls::makeListLookup("DBLkpCmbIzbSklad", tipSklad, "NSKLAD", "SKLAD", 220);
    RdGrpIzbMaterial = new RadioGroup(u"RdGrpIzbMaterial"_s, QString(), kAllOrChosen);
    RdGrpIzbMaterial->setItemIndex(0);
    DBLkpCmBoxMat = DbControls::makeListLookup("DBLkpCmBoxMat", skladMat, "NMATERIAL", "IMEMATERIAL", 220);
    DBLkpCmBoxMat->setEnabled(false);
    DBTextNalich = DbControls::makeShownNumber("DBTextNalich", skladNalich, "SumNalichnost", 100);
    {
        auto* skladBox = new QGroupBox(u"Избор на склад "_s);
        auto* row = new QHBoxLayout(skladBox);
        row->addWidget(RdGrpIzbSklad);
        row->addWidget(DBLkpCmbIzbSklad, 1);
        auto* matBox = new QGroupBox(u"Избор на материал "_s);
        auto* matRow = new QHBoxLayout(matBox);
        matRow->addWidget(RdGrpIzbMaterial);
        matRow->addWidget(DBLkpCmBoxMat, 1);
        matRow->addWidget(new QLabel(u"Налично :"_s));
        matRow->addWidget(DBTextNalich);
        auto* l = new QHBoxLayout(PnlProdSklad);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(skladBox);
        l->addWidget(matBox, 1);
    }

    PnlProdSklOb = new QWidget;
    PnlProdSklOb->setObjectName(u"PnlProdSklOb"_s);
    RdGrpSklOb = new RadioGroup(u"RdGrpSklOb"_s, QString(), kAllOrChosen);
    RdGrpSklOb->setItemIndex(1);
    DBLkpCmbSklOb = DbControls::makeListLookup("DBLkpCmbSklOb", tipSklOb, "NSKL_OBEKT", "IME_SKL_OBEKT", 220);
    RdGrpSklObArtik = new RadioGroup(u"RdGrpSklObArtik"_s, QString(), kAllOrChosen);
    RdGrpSklObArtik->setItemIndex(0);
    DBLkpCmbSklObArtik = DbControls::makeListLookup("DBLkpCmbSklObArtik", matSklOb, "NMATERIAL", "IMEMATERIAL", 220);
    DBLkpCmbSklObArtik->setEnabled(false);
    {
        auto* obBox = new QGroupBox(u"Избор на складов обект "_s);
        auto* row = new QHBoxLayout(obBox);
        row->addWidget(RdGrpSklOb);
        row->addWidget(DBLkpCmbSklOb, 1);
        auto* artBox = new QGroupBox(u"Избор на материал от складов обект "_s);
        auto* artRow = new QHBoxLayout(artBox);
        artRow->addWidget(RdGrpSklObArtik);
        artRow->addWidget(DBLkpCmbSklObArtik, 1);
        auto* l = new QHBoxLayout(PnlProdSklOb);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(obBox);
        l->addWidget(artBox, 1);
    }

    DBGridSklad_SklOb = new DBGrid;
    DBGridSklad_SklOb->setObjectName(u"DBGridSklad_SklOb"_s);
    DBGridSklad_SklOb->setReadOnly(true);
    DBGridSklad_SklOb->setRowSelect(true);
    DBGridSklad_SklOb->setDataSource(skladNalich);

    EditKolich = new QLineEdit(u"0"_s);
    EditKolich->setObjectName(u"EditKolich"_s);
    EditKolich->setValidator(new QRegularExpressionValidator(QRegularExpression(u"-?[0-9]*\\.?[0-9]*"_s), EditKolich));
    EditKolich->setMaximumWidth(100);
    SpeedBtnZapMaterial = Handlers::makeButton("SpeedBtnZapMaterial", u"Запис"_s, this,
                                               &TFormProdagbaMateriali::SpeedBtnZapMaterialClick);
    Handlers::connect(EditKolich, &QLineEdit::returnPressed, this, &TFormProdagbaMateriali::SpeedBtnZapMaterialClick);
    RdGrpCena_Edro_drebno = new RadioGroup(u"RdGrpCena_Edro_drebno"_s, u"Продажба по цени на "_s,
                                           {u"Едро"_s, u"Дребно"_s, u"Дост.цена"_s});
    RdGrpCena_Edro_drebno->setItemIndex(0);
    RdGrpValuta = new RadioGroup(u"RdGrpValuta"_s, u"Валута "_s, {u"BGN"_s, u"USD"_s, u"EUR"_s});
    RdGrpValuta->setItemIndex(0);
    LbValuta = new QLabel(u"Курс/лв."_s);
    LbValuta->setObjectName(u"LbValuta"_s);
    EdValuta = new QLineEdit(u"1.9558"_s);
    EdValuta->setObjectName(u"EdValuta"_s);
    EdValuta->setValidator(new QRegularExpressionValidator(QRegularExpression(u"-?[0-9]*\\.?[0-9]*"_s), EdValuta));
    EdValuta->setMaximumWidth(80);
    auto* strip = new QHBoxLayout;
    strip->addWidget(new QLabel(u"Колич.:"_s));
    strip->addWidget(EditKolich);
    strip->addWidget(SpeedBtnZapMaterial);
    strip->addWidget(RdGrpCena_Edro_drebno);
    strip->addWidget(RdGrpValuta);
    strip->addWidget(LbValuta);
    strip->addWidget(EdValuta);
    strip->addStretch(1);

    DBGrid4 = new DBGrid;
    DBGrid4->setObjectName(u"DBGrid4"_s);
    DBGrid4->setDataSource(lines);
    DBGrid4->setRowTextColor([this](int position) { return specialPriceLine(position) ? QColor(Qt::blue) : QColor(); });
    DBNavigator1 = new DBNavigator;
    DBNavigator1->setObjectName(u"DBNavigator1"_s);
    DBNavigator1->setDataSource(lines);
    auto* linesBox = new QGroupBox(u"Данни за продажба "_s);
    auto* linesLayout = new QVBoxLayout(linesBox);
    linesLayout->addWidget(DBNavigator1);
    linesLayout->addWidget(DBGrid4);

    GrpBoxDanFakt = DbControls::makeTotalsGroup("GrpBoxDanFakt", u"Фактура "_s, lines, "DBText",
                                {{"Ст-ст :", "CenaMatIzdBroiObstoSumAgg"}, {"Отстъпка :", "Otst_Obsta_Stoinost"},
                                 {"Дан. основа :", "OblagaemaSt"}, {"ДДС :", "DDS_Stoinost"},
                                 {"За плащане :", "Plastane_Stoinost"}});
    GrpBoxOprFaktStRazp = DbControls::makeTotalsGroup("GrpBoxOprFaktStRazp", u"Сток.разп.,консигн. "_s, lines, "DBText",
                                      {{"Стойност :", "CenaMatIzdBroiObstoSumAgg"}, {"Отстъпка :", "Otst_Obsta_Stoinost"},
                                       {"Сума за плащане :", "OblagaemaSt"}});
    DBText6 = DbControls::makeShownNumber("DBText6", lines, "Plastane_StoinostText", 100);
    DBText6->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* words = new QGroupBox(u"Словом "_s);
    (new QHBoxLayout(words))->addWidget(DBText6);
    SpeedBtnClose = Handlers::makeButton("SpeedBtnClose", u"към фактура"_s, this,
                                         &TFormProdagbaMateriali::SpeedBtnCloseClick);
    DBText3 = new QLabel;
    DBText3->setObjectName(u"DBText3"_s);
    RdGrpVidPlastane = new RadioGroup(u"RdGrpVidPlastane"_s, u"Вид плащане "_s, {u"Веднага"_s, u"Разср."_s});
    const auto amount = [](const char* name) {
        auto* e = new QLineEdit;
        e->setObjectName(QString::fromLatin1(name));
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*\\.?[0-9]*"_s), e));
        e->setMaximumWidth(90);
        return e;
    };
    EdRazsrSumaLv = amount("EdRazsrSumaLv");
    EdRazsrSumaUSD = amount("EdRazsrSumaUSD");
    EdRazsrSumaEUR = amount("EdRazsrSumaEUR");
    BitBtnZapProdKorek = Handlers::makeButton("BitBtnZapProdKorek", u"корекция"_s, this,
                                              &TFormProdagbaMateriali::BitBtnZapProdKorekClick);
    auto* correction = new QVBoxLayout;
    {
        auto* number = new QHBoxLayout;
        number->addWidget(new QLabel(u"Продажба -"_s));
        number->addWidget(DBText3, 1);
        correction->addLayout(number);
        correction->addWidget(RdGrpVidPlastane);
        auto* paid = new QGridLayout;
        int r = 0;
        for (auto [caption, box] : {std::pair{"Лв.", EdRazsrSumaLv}, {"USD", EdRazsrSumaUSD}, {"EUR", EdRazsrSumaEUR}}) {
            paid->addWidget(new QLabel(QString::fromUtf8(caption)), r, 0);
            paid->addWidget(box, r++, 1);
        }
        correction->addLayout(paid);
        correction->addWidget(BitBtnZapProdKorek);
    }
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(correction);
    bottom->addWidget(GrpBoxDanFakt);
    bottom->addWidget(GrpBoxOprFaktStRazp);
    bottom->addWidget(words, 1);
    bottom->addWidget(SpeedBtnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PnlProdSklad);
    layout->addWidget(PnlProdSklOb);
    layout->addWidget(DBGridSklad_SklOb, 2);
    layout->addLayout(strip);
    layout->addWidget(linesBox, 3);
    layout->addLayout(bottom);
    resize(1150, 880);

    Handlers::connect(RdGrpIzbSklad, &RadioGroup::clicked, this, &TFormProdagbaMateriali::RdGrpIzbSkladClick);
    Handlers::connect(DBLkpCmbIzbSklad, &DBLookupComboBox::closeUp, this, &TFormProdagbaMateriali::DBLkpCmbIzbSkladCloseUp);
    Handlers::connect(RdGrpIzbMaterial, &RadioGroup::clicked, this, &TFormProdagbaMateriali::RdGrpIzbMaterialClick);
    Handlers::connect(DBLkpCmBoxMat, &DBLookupComboBox::closeUp, this, &TFormProdagbaMateriali::DBLkpCmBoxMatCloseUp);
    Handlers::connect(RdGrpSklOb, &RadioGroup::clicked, this, &TFormProdagbaMateriali::RdGrpSklObClick);
    Handlers::connect(RdGrpSklObArtik, &RadioGroup::clicked, this, &TFormProdagbaMateriali::RdGrpSklObClick);
    Handlers::connect(DBLkpCmbSklOb, &DBLookupComboBox::closeUp, this, &TFormProdagbaMateriali::ReloadWarehouseObjectStock);
    Handlers::connect(DBLkpCmbSklObArtik, &DBLookupComboBox::closeUp, this,
                      &TFormProdagbaMateriali::ReloadWarehouseObjectStock);
    Handlers::connect(RdGrpValuta, &RadioGroup::clicked, this, &TFormProdagbaMateriali::RdGrpValutaClick);
    Handlers::connect(RdGrpVidPlastane, &RadioGroup::clicked, this, &TFormProdagbaMateriali::RdGrpVidPlastaneClick);
    // The corrected sale's values follow its own type, VAT and discount and this window's payment.
    SaleLines::attachValues(sale.SmpProdagbaKorekcia, [this] {
        SaleTotals::DocumentInput in;
        in.documentType = corrected_.documentType;
        in.vatPct = corrected_.vatPct;
        in.companyDiscountPct = corrected_.discountPct;
        in.deferred = RdGrpVidPlastane->itemIndex() == 1;
        return in;
    });
}

SmpDataset& TFormProdagbaMateriali::lines() const
{
    return mode_ == Mode::Correction ? sale_.SmpProdagbaKorekcia : sale_.SmpProdagbaTempNew;
}

bool TFormProdagbaMateriali::fromObjects() const
{
    if (mode_ == Mode::Correction)
        return !corrected_.lines.isEmpty() && corrected_.lines.last().warehouseObject >= 1
               && corrected_.lines.last().warehouseObject <= 10000;
    return mode_ == Mode::WarehouseObjects;
}

double TFormProdagbaMateriali::available(int material, double onHand) const
{
    if (mode_ != Mode::Correction) return onHand;
    double sold = 0;
    for (const Sales::SaleLine& l : corrected_.lines)
        if (l.material == material) sold += l.quantity;
    return onHand + sold;
}

int TFormProdagbaMateriali::openCorrection(const QString& saleNumber)
{
    const std::optional<Sales::RecordedSale> sale = Sales::loadSale(dm_.SQLConnectNS, saleNumber);
    if (!sale) return 0;
    corrected_ = *sale;
    mode_ = Mode::Correction;
    current_ = Sale{sale->documentType, sale->counterparty, sale->counterparty > 0};
    DBText3->setText(saleNumber);
    RdGrpVidPlastane->setItemIndex(dm_.SmpFirma.isActive() && dm_.SmpFirma.value(u"VID_RAZPL_KLIENT"_s).toInt() == 1 ? 1 : 0);
    SmpDataset& list = sale_.SmpProdagbaKorekcia;
    list.close();
    list.open();
    SmpDataset& old = sale_.SmpProdTemp;
    old.close();
    old.open();
    SmpField* qty = list.fieldByName(u"BROI_MATERIAL_IZDELIE"_s);
    qty->readOnly = false;
    for (const Sales::SaleLine& l : sale->lines) {
        list.append();
        list.setValue(u"NMATERIAL"_s, l.material);
        list.setValue(u"CENA_MATERIAL_IZDELIE"_s, l.priceLv);
        list.setValue(u"OTST_IZDELIE"_s, l.discountPct);
        list.setValue(u"CENA_MAT_IZD_USD"_s, l.priceUsd);
        list.setValue(u"CENA_MAT_IZD_EUR"_s, l.priceEur);
        list.setValue(u"BROI_MATERIAL_IZDELIE"_s, l.quantity);
        list.setValue(u"NSKL_OBEKT"_s, l.warehouseObject);
        list.setValue(u"NSKL_RAZP"_s, 1);
        list.setValue(u"PROD_VYRN"_s, l.returned() ? 1 : 0);
        list.setValue(u"FLAG_SPEC_CENA"_s, l.specialPrice ? 1 : 0);
        // The correction draws from the line the sale drew from, not from the oldest.
        if (l.stockLine > 0) list.setValue(u"AUTONUM_SKLAD"_s, l.stockLine);
        list.post();
        old.append();
        old.setValue(u"NUMMAT"_s, l.material);
        old.setValue(u"KOLICH"_s, l.quantity);
        old.setValue(u"NSKLOB"_s, l.warehouseObject);
        old.post();
    }
    qty->readOnly = true;
    FormShow();
    return UiService::current().showModal(this);
}

void TFormProdagbaMateriali::RdGrpVidPlastaneClick()
{
    const bool deferred = RdGrpVidPlastane->itemIndex() == 1 && mode_ == Mode::Correction;
    for (QLineEdit* e : {EdRazsrSumaLv, EdRazsrSumaUSD, EdRazsrSumaEUR}) e->setEnabled(deferred);
}

void TFormProdagbaMateriali::BitBtnZapProdKorekClick()
{
    SmpDataset& list = sale_.SmpProdagbaKorekcia;
    DBGrid4->commitEdit();
    list.checkBrowseMode();
    Sales::CorrectionPayment payment;
    payment.atOnce = RdGrpVidPlastane->itemIndex() == 0;
    if (!payment.atOnce) {
        double* paid[] = {&payment.paidNowLv, &payment.paidNowUsd, &payment.paidNowEur};
        int i = 0;
        for (QLineEdit* e : {EdRazsrSumaLv, EdRazsrSumaUSD, EdRazsrSumaEUR}) {
            const QString text = e->text().trimmed();
            const std::optional<double> n = text.isEmpty() ? std::optional<double>(0) : Formats::textToNumber(text);
            if (!n) {
                UiService::current().showMessage(u"Невалидна сума: \"%1\" !"_s.arg(text));
                return;
            }
            *paid[i++] = *n;
        }
    }
    if (!UiService::current().askYesNo(u" Потвърдете корекция на продажба ? "_s)) return;
    try {
        Sales::correctSale(dm_.SQLConnectNS, corrected_.saleNumber, SaleLines::read(list), payment);
    } catch (const Sales::SaleRefused& e) {
        for (const QString& m : e.messages()) UiService::current().showMessage(m);
        return;
    }
    closeWith(1);
}

int TFormProdagbaMateriali::open(Mode mode, const Sale& sale)
{
    mode_ = mode;
    current_ = sale;
    FormShow();
    return UiService::current().showModal(this);
}

bool TFormProdagbaMateriali::specialPriceLine(int position) const { return SaleLines::specialPriceAt(lines(), position); }

void TFormProdagbaMateriali::FormShow()
{
    const bool correction = mode_ == Mode::Correction;
    linesSource_->setDataset(&lines());
    BitBtnZapProdKorek->setEnabled(correction);
    RdGrpVidPlastane->setEnabled(correction);
    RdGrpVidPlastaneClick();
    if (!correction) DBText3->clear();
    const bool objects = fromObjects();
    PnlProdSklad->setVisible(!objects);
    PnlProdSklOb->setVisible(objects);
    DBGrid4->setColumnVisible(u"ImeSklOb"_s, objects);
    if (correction)
        SaleLineColumns::showForCorrection(*DBGrid4);
    else if (const std::optional<SaleEntryMode> m = saleWindowModeForCode(current_.documentType))
        SaleLineColumns::show(*DBGrid4, *m);
    if (objects) {
        SmpDataset& list = sale_.SmpViewMatSklOb;
        list.isActive() ? list.refresh() : list.open();
        // Warehouse objects added since the list was read are offered too.
        dm_.SmpTipSklOb.isActive() ? dm_.SmpTipSklOb.refresh() : dm_.SmpTipSklOb.open();
        DBGridSklad_SklOb->dataSource()->setDataset(&sale_.SmpSklObNalich);
        ReloadWarehouseObjectStock();
    } else {
        DBGridSklad_SklOb->dataSource()->setDataset(&sale_.SmpProdSkladNalich);
        SmpDataset& warehouses = sale_.SmpProdTipSklad;
        warehouses.close();
        warehouses.open();
        warehouses.first();
        nsklad_ = warehouses.isEmpty() ? 0 : warehouses.value(u"NSKLAD"_s).toInt();
        DBLkpCmbIzbSklad->setKeyValue(nsklad_);
        filterMaterials(nsklad_);
        sale_.SmpProdSkladMat.close();
        sale_.SmpProdSkladMat.open();
        ReloadWarehouseStock();
    }
    SaleGrids::fitColumns(*DBGridSklad_SklOb, u"IMEMATERIAL"_s);
    SaleGrids::fitColumns(*DBGrid4, u"ImeMaterial"_s);
    const bool invoice = current_.documentType == 0;
    RdGrpValuta->setEnabled(invoice);
    const bool rate = invoice && RdGrpValuta->itemIndex() != 0;
    LbValuta->setEnabled(rate);
    EdValuta->setEnabled(rate);
    EditKolich->setText(u"0"_s);
    EditKolich->setFocus();
}

void TFormProdagbaMateriali::filterMaterials(int nsklad)
{
    sale_.SmpProdSkladMat.setFilter(u"nsklad=%1"_s.arg(nsklad));
    sale_.SmpProdSkladMat.setFiltered(true);
}

void TFormProdagbaMateriali::ReloadWarehouseStock()
{
    SmpDataset& stock = sale_.SmpProdSkladNalich;
    stock.close();
    const bool allWarehouses = RdGrpIzbSklad->itemIndex() == 0;
    const bool oneMaterial = RdGrpIzbMaterial->itemIndex() == 1;
    stock.setParam(u"SKLADOT"_s, allWarehouses ? 1 : nsklad_);
    stock.setParam(u"SKLADDO"_s, allWarehouses ? 100 : nsklad_);
    stock.setParam(u"NMATERIALOT"_s, oneMaterial ? nmaterial_ : 1);
    stock.setParam(u"NMATERIALDO"_s, oneMaterial ? nmaterial_ : 1000000);
    DBTextNalich->setVisible(oneMaterial);
    stock.open();
}

void TFormProdagbaMateriali::ReloadWarehouseObjectStock()
{
    SmpDataset& stock = sale_.SmpSklObNalich;
    stock.close();
    const bool oneObject = RdGrpSklOb->itemIndex() == 1;
    const bool oneMaterial = RdGrpSklObArtik->itemIndex() == 1;
    const int object = DBLkpCmbSklOb->keyValue().toInt();
    const int material = DBLkpCmbSklObArtik->keyValue().toInt();
    stock.setParam(u"NSKLOBEKT_OT"_s, oneObject ? object : 1);
    stock.setParam(u"NSKLOBEKT_DO"_s, oneObject ? object : 10000);
    stock.setParam(u"NMATERIALOT"_s, oneMaterial ? material : 1);
    // Material numbers run far beyond 10000; every one of them is offered.
    stock.setParam(u"NMATERIALDO"_s, oneMaterial ? material : 1000000);
    DBLkpCmbSklOb->setEnabled(oneObject);
    DBLkpCmbSklObArtik->setEnabled(oneMaterial);
    stock.open();
}

void TFormProdagbaMateriali::RdGrpIzbSkladClick()
{
    const bool chosen = RdGrpIzbSklad->itemIndex() == 1;
    DBLkpCmbIzbSklad->setEnabled(chosen);
    if (chosen) {
        filterMaterials(nsklad_);
    } else {
        sale_.SmpProdSkladMat.setFiltered(false);
    }
    ReloadWarehouseStock();
}

void TFormProdagbaMateriali::DBLkpCmbIzbSkladCloseUp()
{
    nsklad_ = DBLkpCmbIzbSklad->keyValue().toInt();
    filterMaterials(nsklad_);
    ReloadWarehouseStock();
}

void TFormProdagbaMateriali::RdGrpIzbMaterialClick()
{
    DBLkpCmBoxMat->setEnabled(RdGrpIzbMaterial->itemIndex() == 1);
    ReloadWarehouseStock();
}

void TFormProdagbaMateriali::DBLkpCmBoxMatCloseUp()
{
    nmaterial_ = DBLkpCmBoxMat->keyValue().toInt();
    ReloadWarehouseStock();
}

void TFormProdagbaMateriali::RdGrpSklObClick() { ReloadWarehouseObjectStock(); }

void TFormProdagbaMateriali::RdGrpValutaClick()
{
    const bool rate = RdGrpValuta->itemIndex() != 0;
    LbValuta->setEnabled(rate);
    EdValuta->setEnabled(rate);
}

double TFormProdagbaMateriali::alreadyTaken(int material) const
{
    // A correction checks the typed quantity alone against what is available to it.
    if (mode_ == Mode::Correction) return 0;
    double sum = 0;
    const SmpDataset& list = lines();
    const SmpField* m = list.fieldByName(u"NMATERIAL"_s);
    const SmpField* q = list.fieldByName(u"BROI_MATERIAL_IZDELIE"_s);
    for (int i = 0; i < list.recordCount(); ++i)
        if (list.valueAt(i, m).toInt() == material) sum += list.valueAt(i, q).toDouble();
    return sum;
}

void TFormProdagbaMateriali::SpeedBtnZapMaterialClick()
{
    const std::optional<double> quantity = Formats::textToNumber(EditKolich->text());
    if (!quantity) {
        UiService::current().showMessage(u"Невалидно количество: \"%1\" !"_s.arg(EditKolich->text()));
        return;
    }
    if (*quantity == 0) return;
    if (fromObjects()) {
        if (mode_ == Mode::Correction && RdGrpSklOb->itemIndex() != 1) {
            UiService::current().showMessage(u"Не е избран складов обект ?"_s);
            return;
        }
        *quantity < 0 ? AddReturnLineToWarehouseObject(*quantity) : AddLineFromWarehouseObject(*quantity);
    } else {
        *quantity < 0 ? AddReturnLineToWarehouse(*quantity) : AddLineFromWarehouse(*quantity);
    }
}

void TFormProdagbaMateriali::AddLineFromWarehouse(double quantity)
{
    const SmpDataset& stock = sale_.SmpProdSkladNalich;
    if (stock.isEmpty()) return;
    const int material = stock.value(u"NMATERIAL"_s).toInt();
    const double limit = available(material, Sales::warehouseStockOf(dm_.SQLConnectNS, material)) + 0.000000001;
    if (quantity + alreadyTaken(material) > limit) {
        UiService::current().showMessage(u"Недостатъчно количество на  "_s + stock.value(u"IMEMATERIAL"_s).toString() + u"  !"_s);
        if (mode_ == Mode::Correction) EditKolich->setText(Formats::numberToText(limit - 0.000000001));
        return;
    }
    appendLine(material, quantity, stock, false, 0, 0, stock.value(u"AUTONUM"_s).toInt());
}

void TFormProdagbaMateriali::AddLineFromWarehouseObject(double quantity)
{
    const SmpDataset& stock = sale_.SmpSklObNalich;
    if (stock.isEmpty()) return;
    const int material = stock.value(u"NMATERIAL"_s).toInt();
    const int object = stock.value(u"NSKL_OBEKT"_s).toInt();
    const double limit = available(material, Sales::warehouseObjectStockOf(dm_.SQLConnectNS, object, material));
    if (quantity + alreadyTaken(material) > limit) {
        UiService::current().showMessage(u"Недостатъчно количество на  "_s + stock.value(u"IMEMATERIAL"_s).toString() + u"  !"_s);
        if (mode_ == Mode::Correction) EditKolich->setText(Formats::numberToText(limit));
        return;
    }
    appendLine(material, quantity, stock, false, object, stock.value(u"NUM_SKL_RAZP"_s).toInt(),
               stock.value(u"AUTONUM"_s).toInt());
}

void TFormProdagbaMateriali::AddReturnLineToWarehouse(double quantity)
{
    if (RdGrpIzbMaterial->itemIndex() != 1 || DBLkpCmBoxMat->currentText().isEmpty()) {
        UiService::current().showMessage(u"Не е избран материал за връщане !!!"_s);
        return;
    }
    appendLine(DBLkpCmBoxMat->keyValue().toInt(), quantity, sale_.SmpProdSkladNalich, true, 0, 0, 0);
}

void TFormProdagbaMateriali::AddReturnLineToWarehouseObject(double quantity)
{
    if (RdGrpSklOb->itemIndex() != 1 || DBLkpCmbSklOb->currentText().isEmpty() || RdGrpSklObArtik->itemIndex() != 1
        || DBLkpCmbSklObArtik->currentText().isEmpty()) {
        UiService::current().showMessage(u"Не е избран складов обект или материал за връщане !!!"_s);
        return;
    }
    const SmpDataset& stock = sale_.SmpSklObNalich;
    appendLine(DBLkpCmbSklObArtik->keyValue().toInt(), quantity, stock, true, DBLkpCmbSklOb->keyValue().toInt(),
               stock.isEmpty() ? 0 : stock.value(u"NUM_SKL_RAZP"_s).toInt(), 0);
}

void TFormProdagbaMateriali::appendLine(int material, double quantity, const SmpDataset& stock, bool returned,
                                        int warehouseObject, int objectReceipt, int stockLine)
{
    double special = 0;
    if (current_.recipientNamed) special = Sales::specialPrice(dm_.SQLConnectNS, current_.recipient, material);
    double rate = 0;
    if (current_.documentType == 0 && RdGrpValuta->itemIndex() != 0) {
        const std::optional<double> typed = Formats::textToNumber(EdValuta->text());
        if (!typed || *typed <= 0) {
            UiService::current().showMessage(u"Невалиден курс: \"%1\" !"_s.arg(EdValuta->text()));
            return;
        }
        rate = *typed;
    }
    const SaleLines::LinePrices p = SaleLines::chooseLinePrices(
        stock.isEmpty() ? SaleLines::StockPrices{} : pricesOf(stock), SaleLines::PriceKind(RdGrpCena_Edro_drebno->itemIndex()),
        special, current_.documentType, SaleLines::Currency(RdGrpValuta->itemIndex()), rate, returned);
    SmpDataset& list = lines();
    SmpField* qty = list.fieldByName(u"BROI_MATERIAL_IZDELIE"_s);
    qty->readOnly = false;
    list.append();
    list.setValue(u"PROD_VYRN"_s, returned ? 1 : 0);
    list.setValue(u"NMATERIAL"_s, material);
    list.setValue(u"CENA_MATERIAL_IZDELIE"_s, p.lv);
    list.setValue(u"FLAG_SPEC_CENA"_s, p.special ? 1 : 0);
    list.setValue(u"CENA_MAT_IZD_USD"_s, p.usd == 0 ? QVariant() : QVariant(p.usd));
    list.setValue(u"CENA_MAT_IZD_EUR"_s, p.eur == 0 ? QVariant() : QVariant(p.eur));
    list.setValue(u"BROI_MATERIAL_IZDELIE"_s, quantity);
    list.setValue(u"NSKL_OBEKT"_s, warehouseObject);
    list.setValue(u"NSKL_RAZP"_s, objectReceipt);
    if (stockLine > 0) list.setValue(u"AUTONUM_SKLAD"_s, stockLine);
    list.post();
    qty->readOnly = true;
    EditKolich->setText(u"0"_s);
}

void TFormProdagbaMateriali::SpeedBtnCloseClick()
{
    DBGrid4->commitEdit();
    lines().checkBrowseMode();
    closeWith(1);
}
