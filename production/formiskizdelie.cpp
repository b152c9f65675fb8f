#include "production/formiskizdelie.h"

#include "data/dmns.h"
#include "data/dmproizv.h"
#include "platform/base/clock.h"
#include "platform/base/formats.h"
#include "platform/db/dberror.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "production/formparts.h"
#include "production/production.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
DBText* shown(const char* name, DataSource* source, const char* field)
{
    auto* t = new DBText;
    t->setObjectName(QString::fromLatin1(name));
    t->setDataSource(source);
    t->setDataField(QString::fromLatin1(field));
    return t;
}

QLabel* label(const char* name, const QString& text = {})
{
    auto* l = new QLabel(text);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QString money(double v) { return Formats::formatNumber(v, u"# ### ##0.00"_s); }
} // namespace

TFormIskIzdelie::TFormIskIzdelie(TDMNS& dm, TDMProizv& pr, QWidget* parent) : Form(parent), dm_(dm), pr_(pr)
{
    setObjectName(u"FormIskIzdelie"_s);
    setWindowTitle(u"Изделия - производство / създаване на нови партиди, серии / !"_s);
    auto* product = new DataSource(&dm.SmpProizIzdISK, this);
    product->setObjectName(u"DtSrcProizIzdISK"_s);
    auto* recipe = new DataSource(&pr.SmpIzbRecepIzd, this);
    recipe->setObjectName(u"DtSrcIzbRecepIzd"_s);

    LbProizvodstvo = label("LbProizvodstvo");
    LbPsevdonimCeh = label("LbPsevdonimCeh");
    DBTextIzdelie = shown("DBTextIzdelie", product, "IMEMATIZD");
    DBTextSerDaNe = shown("DBTextSerDaNe", product, "SerDaNeText");
    LbBrChift = label("LbBrChift", u"0"_s);
    for (QLabel* l : {LbProizvodstvo, static_cast<QLabel*>(DBTextIzdelie)}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    auto* heading = new QGroupBox;
    auto* headingGrid = new QGridLayout(heading);
    headingGrid->addWidget(LbProizvodstvo, 0, 0, 1, 2);
    headingGrid->addWidget(new QLabel(u"Псевдоним:"_s), 0, 2);
    headingGrid->addWidget(LbPsevdonimCeh, 0, 3);
    headingGrid->addWidget(new QLabel(u"Матер. за изготвяне на :"_s), 1, 0);
    headingGrid->addWidget(DBTextIzdelie, 1, 1, 1, 3);
    headingGrid->addWidget(new QLabel(u"Серия да/не -"_s), 2, 0);
    headingGrid->addWidget(DBTextSerDaNe, 2, 1);
    headingGrid->addWidget(new QLabel(u"Брой чифтове"_s), 2, 2);
    headingGrid->addWidget(LbBrChift, 2, 3);
    headingGrid->setColumnStretch(1, 1);

    DBGrid10 = new DBGrid;
    DBGrid10->setObjectName(u"DBGrid10"_s);
    DBGrid10->setDataSource(recipe);
    DBGrid10->setColumns({{u"NMATERIAL"_s, u"№мат."_s, 50, true},
                          {u"IMEMATERIAL"_s, {}, 200, true},
                          {u"IMEMIARKA"_s, {}, 40, true},
                          {u"KOLICHESTVO_MAT"_s, u"Колич."_s, 70, true},
                          {u"SumKolichMatRecep"_s, u"Об.колич."_s, 80},
                          {u"CenaMatKolich"_s, {}, 80, true},
                          {u"NALICH_CEH_MAT"_s, u"Налич. колич."_s, 80, true},
                          {u"ED_CENA_CEH_MAT"_s, {}, 70, true},
                          {u"EdCenaIzd"_s, {}, 80},
                          {u"IzchDaNe"_s, {}, 40, true},
                          {u"SumDaNe"_s, {}, 60}});
    DBGrid10->setRowTextColor([this](int position) {
        SmpDataset& r = pr_.SmpIzbRecepIzd;
        const double batch = r.valueAt(position, r.findField(u"SumKolichMatRecep"_s)).toDouble();
        const double held = r.valueAt(position, r.findField(u"NALICH_CEH_MAT"_s)).toDouble();
        return batch > held + 0.0000000001 ? QColor(Qt::red) : QColor();
    });

    SpnEdtBrIzdelie = new QSpinBox;
    SpnEdtBrIzdelie->setObjectName(u"SpnEdtBrIzdelie"_s);
    SpnEdtBrIzdelie->setRange(0, Production::kMaxProducts);
    DateProizvIzd = FormParts::dateEdit("DateProizvIzd");
    LbSumEdCenaIzdelie = label("LbSumEdCenaIzdelie");
    LbEdCenaSer = label("LbEdCenaSer", u"Ед.цена изделие"_s);
    LbEdCenIZD_Ser = label("LbEdCenIZD_Ser");
    LbEdCenaIzd = label("LbEdCenaIzd", u"Ед.цена изделие"_s);
    LbEdCenaIzdelie = label("LbEdCenaIzdelie");
    SpdBtnZapisPart_Mat_Izdelie = Handlers::makeButton("SpdBtnZapisPart_Mat_Izdelie", u"Запис на партида"_s, this,
                                                       &TFormIskIzdelie::SpdBtnZapisPart_Mat_IzdelieClick);
    SpdBtnSer = Handlers::makeButton("SpdBtnSer", u"Брой чфт."_s, this, &TFormIskIzdelie::CountBatchPairs);
    SpdBtnSer->setEnabled(false);
    SpeedButton1 = Handlers::makeButton("SpeedButton1", u"Изход"_s);
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { closeWith(2); });

    auto* bottom = new QGridLayout;
    bottom->addWidget(new QLabel(u"Бр. изделия/серии"_s), 0, 0);
    bottom->addWidget(SpnEdtBrIzdelie, 0, 1);
    bottom->addWidget(new QLabel(u"Произведено на :"_s), 1, 0);
    bottom->addWidget(DateProizvIzd, 1, 1);
    bottom->addWidget(new QLabel(u"Общо лв."_s), 0, 2);
    bottom->addWidget(LbSumEdCenaIzdelie, 0, 3);
    bottom->addWidget(LbEdCenaSer, 1, 2);
    bottom->addWidget(LbEdCenIZD_Ser, 1, 3);
    bottom->addWidget(LbEdCenaIzd, 2, 2);
    bottom->addWidget(LbEdCenaIzdelie, 2, 3);
    bottom->setColumnStretch(4, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QToolButton* b : {SpdBtnZapisPart_Mat_Izdelie, SpdBtnSer, SpeedButton1}) {
        b->setMinimumWidth(120);
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(DBGrid10, 1);
    layout->addLayout(bottom);
    layout->addLayout(buttons);
    resize(980, 520);

    Handlers::connect(SpnEdtBrIzdelie, &QSpinBox::valueChanged, this, &TFormIskIzdelie::SpnEdtBrIzdelieChange);
    Handlers::enterSaves(SpnEdtBrIzdelie, [this] { SpdBtnZapisPart_Mat_IzdelieClick(); });
    // A quantity typed into a row re-prices the rows (a price depends on how much is taken) and
    // changes the batch's cost.
    Handlers::connect(&pr.SmpIzbRecepIzd, &SmpDataset::rowChanged, this, [this] {
        priceRows();
        showPrices();
    });
}

bool TFormIskIzdelie::readRecipe(int workshop)
{
    SmpDataset& recipe = pr_.SmpIzbRecepIzd;
    recipe.close();
    recipe.setParam(u"INumIzdelie"_s, dm_.SmpProizIzdISK.value(u"NTIP_IZDELIE"_s));
    recipe.setParam(u"Num_Proizvodstvo"_s, workshop);
    recipe.open();
    return !recipe.isEmpty();
}

bool TFormIskIzdelie::open(Mode mode, int workshop, const QString& workshopName, int count, int pairs)
{
    mode_ = mode;
    workshop_ = workshop;
    SmpDataset& product = dm_.SmpProizIzdISK;
    productMaterial_ = product.fieldByName(u"NMATERIAL_IZDELIE"_s)->asInt();
    series_ = product.fieldByName(u"SERIA_DA_NE"_s)->asInt() == 1;
    LbProizvodstvo->setText(workshopName);
    LbPsevdonimCeh->setText(dm_.SmpTipProizv.lookup(u"NPROIZVODSTVO"_s, {workshop}, u"PSEVDONIM_CEH"_s).toString());
    pairs_ = pairs;
    LbBrChift->setText(QString::number(pairs));
    {
        const QSignalBlocker quiet(SpnEdtBrIzdelie);
        SpnEdtBrIzdelie->setMaximum(series_ ? Production::kMaxSeries : Production::kMaxProducts);
        SpnEdtBrIzdelie->setValue(mode == Mode::FromWorkshop ? 0 : count);
    }
    saved_ = false;
    FormShow();
    UiService::current().showModal(this);
    return saved_;
}

void TFormIskIzdelie::FormShow()
{
    SpdBtnSer->setEnabled(series_);
    LbEdCenaSer->setText(series_ ? u"Ед.цена серия"_s : u"Ед.цена изделие"_s);
    LbEdCenaIzd->setVisible(series_);
    LbEdCenaIzdelie->setVisible(series_);
    DateProizvIzd->setDate(Clock::today());
    SpnEdtBrIzdelieChange();
    SpnEdtBrIzdelie->setFocus();
}

void TFormIskIzdelie::SpnEdtBrIzdelieChange()
{
    const int n = SpnEdtBrIzdelie->value();
    pr_.BatchCount = n;
    SmpDataset& recipe = pr_.SmpIzbRecepIzd;
    recipe.disableControls();
    for (int i = 0; i < recipe.recordCount(); ++i) {
        recipe.moveTo(i);
        recipe.edit();
        recipe.setValue(u"SumKolichMatRecep"_s, n * recipe.fieldByName(u"KOLICHESTVO_MAT"_s)->asFloat());
        recipe.post();
    }
    recipe.first();
    recipe.enableControls();
    CountBatchPairs();
}

void TFormIskIzdelie::CountBatchPairs()
{
    SmpDataset& recipe = pr_.SmpIzbRecepIzd;
    if (recipe.state() != SmpDataset::State::Browse && recipe.isActive()) recipe.post();
    SpdBtnSer->setEnabled(series_);
    pairs_ = 0;
    if (series_) {
        QVector<Production::PairLine> lines;
        const SmpField* counted = recipe.fieldByName(u"IZCH_DA_NE"_s);
        const SmpField* receives = recipe.fieldByName(u"SUM_DA_NE"_s);
        const SmpField* qty = recipe.fieldByName(u"SumKolichMatRecep"_s);
        for (int i = 0; i < recipe.recordCount(); ++i)
            lines.append({recipe.valueAt(i, counted).toInt() == 1, recipe.valueAt(i, receives).toInt() == 1,
                          recipe.valueAt(i, qty).toDouble()});
        pairs_ = Production::seriesPairs(lines);
        if (const int row = Production::pairsLine(lines); row >= 0) {
            const QVariantList key = recipe.keyAt(recipe.recNo());
            recipe.moveTo(row);
            recipe.edit();
            recipe.setValue(u"SumKolichMatRecep"_s, pairs_);
            recipe.post();
            recipe.locateKey(key);
        }
    }
    LbBrChift->setText(QString::number(pairs_));
    priceRows();
    showPrices();
}

// Each row at what its quantity costs from the workshop's requisition lines, oldest first: the
// price the batch is stored at. A material on two rows takes the second row's part after the first's.
void TFormIskIzdelie::priceRows()
{
    SmpDataset& recipe = pr_.SmpIzbRecepIzd;
    if (!recipe.isActive() || recipe.isEmpty()) return;
    const QVariantList key = recipe.keyAt(recipe.recNo());
    const SmpField* material = recipe.fieldByName(u"NMATERIAL"_s);
    const SmpField* qty = recipe.fieldByName(u"SumKolichMatRecep"_s);
    QHash<int, double> taken;
    const auto cost = [this](int m, double q) {
        return q > 0 ? q * Production::workshopPrice(dm_.SQLConnectNS, workshop_, m, q) : 0.0;
    };
    recipe.disableControls();
    for (int i = 0; i < recipe.recordCount(); ++i) {
        const int m = recipe.valueAt(i, material).toInt();
        const double q = recipe.valueAt(i, qty).toDouble();
        const double before = taken.value(m);
        const double price = q > 0 ? (cost(m, before + q) - cost(m, before)) / q
                                   : Production::workshopPrice(dm_.SQLConnectNS, workshop_, m, before);
        taken[m] = before + std::max(q, 0.0);
        recipe.moveTo(i);
        recipe.edit();
        recipe.setValue(u"ED_CENA_CEH_MAT"_s, price);
        recipe.post();
    }
    recipe.locateKey(key);
    recipe.enableControls();
}

Production::Batch TFormIskIzdelie::batch() const
{
    Production::Batch b;
    b.workshop = workshop_;
    b.productMaterial = productMaterial_;
    b.series = series_;
    b.count = SpnEdtBrIzdelie->value();
    b.pairs = pairs_;
    b.produced = DateProizvIzd->date();
    const SmpDataset& recipe = pr_.SmpIzbRecepIzd;
    if (!recipe.isActive()) return b;
    const SmpField* material = recipe.fieldByName(u"NMATERIAL"_s);
    const SmpField* qty = recipe.fieldByName(u"SumKolichMatRecep"_s);
    const SmpField* price = recipe.fieldByName(u"ED_CENA_CEH_MAT"_s);
    for (int i = 0; i < recipe.recordCount(); ++i)
        b.materials.append({recipe.valueAt(i, material).toInt(), recipe.valueAt(i, qty).toDouble(),
                            recipe.valueAt(i, price).toDouble()});
    return b;
}

// The prices shown are the ones the batch is stored at: the cost of the batch, of one product or
// series, and for a series of one pair.
void TFormIskIzdelie::showPrices()
{
    const Production::Batch b = batch();
    LbSumEdCenaIzdelie->setText(money(b.cost()));
    LbEdCenIZD_Ser->setText(money(b.count > 0 ? b.cost() / b.count : 0));
    LbEdCenaIzdelie->setText(money(b.unitPrice()));
}

void TFormIskIzdelie::SpdBtnZapisPart_Mat_IzdelieClick()
{
    if (!Handlers::commitFocusedEdit(this)) return;
    CountBatchPairs();
    UiService& ui = UiService::current();
    SmpDataset& recipe = pr_.SmpIzbRecepIzd;
    const SmpField* qty = recipe.fieldByName(u"SumKolichMatRecep"_s);
    const SmpField* held = recipe.fieldByName(u"NALICH_CEH_MAT"_s);
    for (int i = 0; i < recipe.recordCount(); ++i)
        if (recipe.valueAt(i, qty).toDouble() > recipe.valueAt(i, held).toDouble() + 0.00000001) {
            ui.showMessage(u"Недостиг на материали !"_s);
            return;
        }
    const Production::Batch b = batch();
    if (const QString why = Production::batchRefusal(b); !why.isEmpty()) {
        ui.showMessage(why);
        return;
    }
    if (!ui.askYesNo(u" Запис производство на изделие ?"_s)) return;
    try {
        Production::saveBatch(dm_.SQLConnectNS, b, Clock::today());
    } catch (const DbError& e) {
        // Nothing was stored; the dialog stays as the user left it.
        ui.reportError(userText(e));
        return;
    }
    saved_ = true;
    closeWith(1);
}
