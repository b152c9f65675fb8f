#include "outlets/formsklobekti.h"

#include "common/gridexport.h"
#include "data/dmns.h"
#include "data/dmsklobekti.h"
#include "outlets/formsklobtransfer.h"
#include "outlets/objectlines.h"
#include "platform/base/clock.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"
#include "warehouse/formdostavkakorekcia.h"
#include "warehouse/formnovadostavka.h"
#include "warehouse/stockinquiryform.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QStringList kAllOrChosen{u"Всички"_s, u"По избор"_s};
constexpr int kOnHand = 0;
constexpr int kDispatched = 2;

QDateEdit* makeDate(const char* name)
{
    auto* d = new QDateEdit;
    d->setObjectName(QString::fromLatin1(name));
    d->setCalendarPopup(true);
    d->setDisplayFormat(u"dd.MM.yyyy"_s);
    return d;
}

// The chosen row's key; with nothing to choose from, a key no row has, so "По избор" never lists all.
QVariant chosenKey(SmpDataset& list, const char* field)
{
    return list.isActive() && !list.isEmpty() ? list.value(QString::fromLatin1(field)) : QVariant(-1);
}
} // namespace

TFormSklObekti::TFormSklObekti(TDMNS& dm, TDMSklObekti& obekti, QWidget* parent)
    : Form(parent), dm_(dm), obekti_(obekti)
{
    setObjectName(u"FormSklObekti"_s);
    setWindowTitle(u"Складови обекти - наличности, движение на артикули/материали  !"_s);

    auto* articles = new DataSource(&obekti.SmpViewMatSklOb, this);
    articles->setObjectName(u"DtSrcViewMatSklOb"_s);
    auto* objects = new DataSource(&dm.SmpTipSklOb, this);
    objects->setObjectName(u"DtSrcTipSklOb"_s);
    DtSrcSklObekti = new DataSource(&obekti.SmpSklObNalich, this);
    DtSrcSklObekti->setObjectName(u"DtSrcSklObekti"_s);

    const auto filter = [](RadioGroup*& group, DBLookupComboBox*& box, const char* groupName, const QString& caption,
                           const char* boxName, DataSource* list, const char* key, const char* shown) {
        auto* frame = new QGroupBox(caption);
        group = new RadioGroup(QString::fromLatin1(groupName), QString(), kAllOrChosen);
        group->setItemIndex(0);
        box = DbControls::makeListLookup(boxName, list, key, shown, 220);
        box->setEnabled(false);
        auto* row = new QHBoxLayout(frame);
        row->addWidget(group);
        row->addWidget(box, 1);
        return frame;
    };
    QWidget* articleBox = filter(RdGrpSklObArtik, DBLkpCmbSklObArtik, "RdGrpSklObArtik", u"Избор на артикул/материал "_s,
                                 "DBLkpCmbSklObArtik", articles, "NMATERIAL", "IMEMATERIAL");
    QWidget* objectBox = filter(RdGrpSklOb, DBLkpCmbSklOb, "RdGrpSklOb", u"Избор складов обект "_s, "DBLkpCmbSklOb",
                                objects, "NSKL_OBEKT", "IME_SKL_OBEKT");

    RdGrpIzbViewDanni = new RadioGroup(u"RdGrpIzbViewDanni"_s, u"Данни за "_s,
                                       {u"Налично"_s, u"Получено"_s, u"Експедирано"_s, u"Продадено"_s, u"Движение"_s});
    RdGrpIzbViewDanni->setItemIndex(kOnHand);

    RdGrpDateOtDo = new RadioGroup(u"RdGrpDateOtDo"_s, QString(), {u"Всички данни"_s, u"За период"_s});
    RdGrpDateOtDo->setItemIndex(0);
    DateTimOt = makeDate("DateTimOt");
    DateTimDo = makeDate("DateTimDo");
    auto* periodBox = new QGroupBox(u"Задаване на период "_s);
    periodBox->setObjectName(u"GrpBoxPeriod"_s);
    auto* period = new QGridLayout(periodBox);
    period->addWidget(RdGrpDateOtDo, 0, 0, 2, 1);
    period->addWidget(new QLabel(u"От дата"_s), 0, 1);
    period->addWidget(DateTimOt, 0, 2);
    period->addWidget(new QLabel(u"До дата"_s), 1, 1);
    period->addWidget(DateTimDo, 1, 2);

    DBGridSklObekti = new DBGrid;
    DBGridSklObekti->setObjectName(u"DBGridSklObekti"_s);
    DBGridSklObekti->setDataSource(DtSrcSklObekti);
    DBGridSklObekti->setReadOnly(true);
    DBGridSklObekti->setRowSelect(true);
    StockInquiryGrid::fitColumns(DBGridSklObekti);

    const auto button = [this](QToolButton*& b, const char* name, const QString& caption, const QString& hint,
                               void (TFormSklObekti::*handler)()) {
        b = Handlers::makeButton(name, caption, this, handler);
        if (!hint.isEmpty()) b->setToolTip(hint);
        b->setMinimumWidth(110);
    };
    button(BitBtnNewDost, "BitBtnNewDost", u"Доставка"_s, u"Директна доставка"_s, &TFormSklObekti::BitBtnNewDostClick);
    button(BitBtnDostOtSkl, "BitBtnDostOtSkl", u"От производство"_s, u"Доставка от производство"_s,
           &TFormSklObekti::BitBtnDostOtSklClick);
    button(BitBtnDostOtSklOb, "BitBtnDostOtSklOb", u"М/у складове"_s, u"Трансфер м/у складове"_s,
           &TFormSklObekti::BitBtnDostOtSklObClick);
    button(BitBtnUndo, "BitBtnUndo", u"Произв.склад"_s, u"Връщане в произв.склад"_s, &TFormSklObekti::BitBtnUndoClick);
    button(BitBtnDostSkladSklOb, "BitBtnDostSkladSklOb", u"Фирмен.склад"_s, u"Доставка в произв.склад от складов обект"_s,
           &TFormSklObekti::BitBtnDostSkladSklObClick);
    button(BitBtnKorekc, "BitBtnKorekc", u"Корекция"_s, u"Корекция на директна доставка"_s,
           &TFormSklObekti::BitBtnKorekcClick);
    button(BitBtnKorekcCeni, "BitBtnKorekcCeni", u"Корек.цени"_s, u"Корекция на цени"_s,
           &TFormSklObekti::BitBtnKorekcCeniClick);
    button(BitBtnDel, "BitBtnDel", u"Изтриване"_s, u"Изтриване и възстановяване в предишен склад"_s,
           &TFormSklObekti::BitBtnDelClick);
    button(BitBtnExcel, "BitBtnExcel", u"> Excel"_s, QString(), &TFormSklObekti::BitBtnExcelClick);
    BitBtnIzhod = Handlers::makeButton("BitBtnIzhod", u"Изход"_s);
    BitBtnIzhod->setMinimumWidth(110);
    connect(BitBtnIzhod, &QToolButton::clicked, this, &QWidget::close);
    auto* buttons = new QVBoxLayout;
    for (QToolButton* b : {BitBtnNewDost, BitBtnDostOtSkl, BitBtnDostOtSklOb, BitBtnUndo, BitBtnDostSkladSklOb,
                           BitBtnKorekc, BitBtnKorekcCeni, BitBtnDel, BitBtnExcel})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(BitBtnIzhod);

    auto* filters = new QGridLayout;
    filters->addWidget(articleBox, 0, 0);
    filters->addWidget(objectBox, 1, 0);
    filters->addWidget(RdGrpIzbViewDanni, 0, 1, 2, 1);
    filters->addWidget(periodBox, 0, 2, 2, 1);
    filters->setColumnStretch(0, 1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(DBGridSklObekti, 1);
    middle->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addLayout(middle, 1);
    resize(1150, 680);

    Handlers::connect(RdGrpSklObArtik, &RadioGroup::clicked, this, &TFormSklObekti::RdGrpSklObArtikClick);
    Handlers::connect(DBLkpCmbSklObArtik, &DBLookupComboBox::closeUp, this, &TFormSklObekti::ReloadWarehouseObjectView);
    Handlers::connect(RdGrpSklOb, &RadioGroup::clicked, this, &TFormSklObekti::RdGrpSklObClick);
    Handlers::connect(DBLkpCmbSklOb, &DBLookupComboBox::closeUp, this, &TFormSklObekti::ReloadWarehouseObjectView);
    Handlers::connect(RdGrpIzbViewDanni, &RadioGroup::clicked, this, &TFormSklObekti::RdGrpIzbViewDanniClick);
    Handlers::connect(RdGrpDateOtDo, &RadioGroup::clicked, this, &TFormSklObekti::RdGrpDateOtDoClick);
    Handlers::connect(DateTimOt, &QDateEdit::editingFinished, this, &TFormSklObekti::ReloadWarehouseObjectView);
    Handlers::connect(DateTimDo, &QDateEdit::editingFinished, this, &TFormSklObekti::ReloadWarehouseObjectView);
    Handlers::connect(DBGridSklObekti, &QAbstractItemView::doubleClicked, this, &TFormSklObekti::BitBtnKorekcClick);
    setEditors(nullptr, nullptr, nullptr);
    RdGrpDateOtDoClick();
}

void TFormSklObekti::setEditors(TFormNovaDostavka* novaDostavka, TFormSklObTransfer* transfer,
                                TFormDostavkaKorekcia* korekcia)
{
    novaDostavka_ = novaDostavka;
    transfer_ = transfer;
    korekcia_ = korekcia;
    enableForView();
}

void TFormSklObekti::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

void TFormSklObekti::FormShow()
{
    SmpDataset& articles = obekti_.SmpViewMatSklOb;
    articles.isActive() ? articles.refresh() : articles.open();
    if (!dm_.SmpTipSklOb.isActive()) dm_.SmpTipSklOb.open();
    DateTimOt->setDate(Clock::today().addDays(-10));
    DateTimDo->setDate(Clock::today());
}

void TFormSklObekti::ReloadWarehouseObjectView()
{
    const int viewIndex = RdGrpIzbViewDanni->itemIndex();
    SmpDataset* list = obekti_.view(viewIndex);
    DtSrcSklObekti->setDataset(list);
    list->close();
    // "Всички" leaves the range open: every object, article and date.
    const QVariant object = RdGrpSklOb->itemIndex() == 1 ? chosenKey(dm_.SmpTipSklOb, "NSKL_OBEKT") : QVariant();
    const QVariant article =
        RdGrpSklObArtik->itemIndex() == 1 ? chosenKey(obekti_.SmpViewMatSklOb, "NMATERIAL") : QVariant();
    if (viewIndex == kDispatched) {
        list->setParam(u"NSKLOBEKT"_s, object);
    } else {
        list->setParam(u"NSKLOBEKT_OT"_s, object);
        list->setParam(u"NSKLOBEKT_DO"_s, object);
    }
    list->setParam(u"NMATERIALOT"_s, article);
    list->setParam(u"NMATERIALDO"_s, article);
    if (viewIndex != kOnHand) {
        const bool period = RdGrpDateOtDo->itemIndex() == 1;
        list->setParam(u"DATEOT"_s, period ? QVariant(DateTimOt->date()) : QVariant());
        list->setParam(u"DATEDO"_s, period ? QVariant(DateTimDo->date()) : QVariant());
    }
    list->open();
}

void TFormSklObekti::RdGrpSklObArtikClick()
{
    DBLkpCmbSklObArtik->setEnabled(RdGrpSklObArtik->itemIndex() == 1);
    ReloadWarehouseObjectView();
}

void TFormSklObekti::RdGrpSklObClick()
{
    DBLkpCmbSklOb->setEnabled(RdGrpSklOb->itemIndex() == 1);
    ReloadWarehouseObjectView();
}

void TFormSklObekti::RdGrpDateOtDoClick()
{
    const bool period = RdGrpDateOtDo->itemIndex() == 1;
    DateTimOt->setEnabled(period);
    DateTimDo->setEnabled(period);
}

void TFormSklObekti::enableForView()
{
    const bool onHand = RdGrpIzbViewDanni->itemIndex() == kOnHand;
    BitBtnDel->setEnabled(onHand);
    for (QToolButton* b : {BitBtnDostOtSkl, BitBtnDostOtSklOb, BitBtnUndo, BitBtnDostSkladSklOb})
        b->setEnabled(onHand && transfer_);
    BitBtnKorekc->setEnabled(onHand && korekcia_);
    BitBtnKorekcCeni->setEnabled(korekcia_ != nullptr);
    BitBtnNewDost->setEnabled(novaDostavka_ != nullptr);
    RdGrpDateOtDo->setEnabled(!onHand);
}

void TFormSklObekti::RdGrpIzbViewDanniClick()
{
    enableForView();
    if (RdGrpIzbViewDanni->itemIndex() != kOnHand) RdGrpDateOtDoClick();
    ReloadWarehouseObjectView();
}

void TFormSklObekti::BitBtnNewDostClick()
{
    if (novaDostavka_ && novaDostavka_->open(TFormNovaDostavka::Mode::WarehouseObject) && obekti_.SmpSklObNalich.isActive())
        obekti_.SmpSklObNalich.refresh();
}

void TFormSklObekti::openTransfer(int mode)
{
    if (!transfer_) return;
    transfer_->open(TFormSklObTransfer::Mode(mode));
}

void TFormSklObekti::BitBtnDostOtSklClick() { openTransfer(0); }
void TFormSklObekti::BitBtnDostOtSklObClick() { openTransfer(1); }
void TFormSklObekti::BitBtnUndoClick() { openTransfer(2); }
void TFormSklObekti::BitBtnDostSkladSklObClick() { openTransfer(3); }

int TFormSklObekti::shownOnHandLine() const
{
    const SmpDataset& onHand = obekti_.SmpSklObNalich;
    if (RdGrpIzbViewDanni->itemIndex() != kOnHand || !onHand.isActive() || onHand.isEmpty()) return 0;
    return onHand.value(u"AUTONUM"_s).toInt();
}

namespace {
TFormDostavkaKorekcia::ObjectLine shownLine(const ObjectLines::Line& l)
{
    TFormDostavkaKorekcia::ObjectLine v;
    v.key = l.key;
    v.objectName = l.objectName;
    v.materialName = l.materialName;
    v.sourceName = l.sourceName;
    v.document = l.document;
    v.molName = l.molName;
    v.received = l.receivedOn;
    v.quantity = l.received;
    v.sold = l.sold;
    v.dispatched = l.dispatched;
    v.priceLv = l.priceLv;
    v.priceUsd = l.priceUsd;
    v.priceEur = l.priceEur;
    v.quantityFixed = l.returnedSale;
    return v;
}
} // namespace

void TFormSklObekti::correct(int key, bool pricesOnly)
{
    SQLConnection& db = dm_.SQLConnectNS;
    const auto line = ObjectLines::read(db, key);
    if (!line) return;
    TFormDostavkaKorekcia::ObjectLineAccess access;
    access.read = [&db](int k) -> std::optional<TFormDostavkaKorekcia::ObjectLine> {
        const auto fresh = ObjectLines::read(db, k);
        if (!fresh) return std::nullopt;
        return shownLine(*fresh);
    };
    access.refusal = [&db](int k, double quantity) {
        const auto fresh = ObjectLines::read(db, k);
        return fresh ? ObjectLines::quantityRefusal(*fresh, quantity) : QString();
    };
    access.store = [&db](const TFormDostavkaKorekcia::ObjectCorrection& c) {
        ObjectLines::correct(db, {c.key, c.quantity, c.priceLv, c.priceUsd, c.priceEur});
    };
    using Mode = TFormDostavkaKorekcia::Mode;
    korekcia_->open(pricesOnly ? Mode::ObjectPrices : Mode::ObjectDelivery, shownLine(*line), std::move(access));
    obekti_.SmpSklObNalich.refresh();
}

void TFormSklObekti::BitBtnKorekcClick()
{
    std::optional<ObjectLines::Line> line;
    // Only the on-hand view shows the line a correction acts on.
    if (const int key = shownOnHandLine()) line = ObjectLines::read(dm_.SQLConnectNS, key);
    if (const QString why = ObjectLines::correctionRefusal(line); !why.isEmpty()) {
        UiService::current().showMessage(why);
        return;
    }
    if (korekcia_) correct(line->key, false);
}

void TFormSklObekti::BitBtnKorekcCeniClick()
{
    const int key = shownOnHandLine();
    if (!key) {
        UiService::current().showMessage(u"Липсват данни за корекция !"_s);
        return;
    }
    if (korekcia_) correct(key, true);
}

void TFormSklObekti::BitBtnDelClick()
{
    SmpDataset& onHand = obekti_.SmpSklObNalich;
    const int key = shownOnHandLine();
    if (!key) return;
    // Read afresh, so what was sold, dispatched or returned since the list was read counts too.
    const auto line = ObjectLines::read(dm_.SQLConnectNS, key);
    if (!line) {
        ReloadWarehouseObjectView();
        return;
    }
    QString why = ObjectLines::deleteRefusal(onHand.value(u"PRODADENO"_s).toDouble());
    if (why.isEmpty()) why = ObjectLines::deleteRefusal(*line);
    if (!why.isEmpty()) {
        UiService::current().showMessage(why);
        return;
    }
    if (!UiService::current().askYesNo(ObjectLines::deleteQuestion())) return;
    if (const auto now = ObjectLines::read(dm_.SQLConnectNS, key)) ObjectLines::remove(dm_.SQLConnectNS, *now);
    ReloadWarehouseObjectView();
}

void TFormSklObekti::BitBtnExcelClick()
{
    SpreadsheetExport how;
    how.emptyList = SpreadsheetExport::EmptyList::Nothing;
    how.parentWindow = this;
    ExportDatasetToSpreadsheet(*obekti_.view(RdGrpIzbViewDanni->itemIndex()), how);
}
