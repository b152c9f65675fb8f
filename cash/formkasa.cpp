#include "cash/formkasa.h"

#include "cash/cashbook.h"
#include "cash/formkasovorder.h"
#include "cash/qrkasa.h"
#include "data/dmns.h"
#include "platform/base/clock.h"
#include "platform/base/formats.h"
#include "platform/report/reportpreview.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString kMoney = u"# ### ##0.00"_s;

QLabel* amount(const char* name)
{
    auto* l = new QLabel;
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(110);
    l->setFrameShape(QFrame::StyledPanel);
    return l;
}

QDateEdit* picker(const char* name)
{
    auto* d = new QDateEdit;
    d->setObjectName(QString::fromLatin1(name));
    d->setCalendarPopup(true);
    d->setDisplayFormat(u"dd.MM.yyyy"_s);
    return d;
}

} // namespace

TFormKasa::TFormKasa(TDMNS& dm, TFormKasovOrder& order, QWidget* parent)
    : Form(parent), dm_(dm), order_(order), qrKasa_(std::make_unique<TQRKasa>(dm)),
      qrKasaValuta_(std::make_unique<TQRKasaValuta>(dm))
{
    setObjectName(u"FormKasa"_s);
    setWindowTitle(u"Каса"_s);
    auto* currencies = new DataSource(&dm.SmpTipValuta, this);
    auto* book = new DataSource(&dm.SmpViewKasa, this);

    DBLookupComboBox1 = new DBLookupComboBox;
    DBLookupComboBox1->setObjectName(u"DBLookupComboBox1"_s);
    DBLookupComboBox1->setListSource(currencies);
    DBLookupComboBox1->setKeyField(u"NVALUTA"_s);
    DBLookupComboBox1->setListField(u"VALUTA_IME"_s);
    DBLookupComboBox1->setMinimumWidth(90);
    const auto chosen = [this] { chooseCurrency(DBLookupComboBox1->keyValue().toInt()); };
    Handlers::connect(DBLookupComboBox1, &DBLookupComboBox::closeUp, this, chosen);
    Handlers::connect(DBLookupComboBox1, &QComboBox::activated, this, chosen);
    LbBaza = new QLabel;
    LbBaza->setObjectName(u"LbBaza"_s);
    LbOpisanie = new QLabel;
    LbOpisanie->setObjectName(u"LbOpisanie"_s);

    DateKasaOT = picker("DateKasaOT");
    DateKasaDO = picker("DateKasaDO");
    for (QDateEdit* d : {DateKasaOT, DateKasaDO})
        Handlers::connect(d, &QDateEdit::dateChanged, this, [this] { ReloadCashBook(); });
    NachSaldo = amount("NachSaldo");
    NachSaldoLV = amount("NachSaldoLV");

    DBGrid1 = new DBGrid;
    DBGrid1->setObjectName(u"DBGrid1"_s);
    DBGrid1->setDataSource(book);
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    DBGrid1->setColumns({{u"DATEKO"_s, {}, 70}, {u"NPKO"_s, {}, 55}, {u"NRKO"_s, {}, 55},
                         {u"IMEPREZFAM"_s, {}, 190}, {u"OSNOVANIE_KO"_s, {}, 170}, {u"Valuta"_s, {}, 50},
                         {u"SUMA_PKO"_s, {}, 95}, {u"SUMA_RKO"_s, {}, 95}, {u"VALUTA_KURS"_s, {}, 75},
                         {u"SUMA_PKO_LV"_s, {}, 105}, {u"SUMA_RKO_LV"_s, {}, 105}});
    Handlers::connect(DBGrid1, &QAbstractItemView::doubleClicked, this, [this] { BitBtnKorekciaKOClick(); });

    SumSumaPKO = amount("SumSumaPKO");
    SumSumaRKO = amount("SumSumaRKO");
    KrainoSaldo = amount("KrainoSaldo");
    SumSumaPKOLV = amount("SumSumaPKOLV");
    SumSumaRKOLV = amount("SumSumaRKOLV");
    KrainoSaldoLV = amount("KrainoSaldoLV");
    DBNavigator1 = new DBNavigator;
    DBNavigator1->setObjectName(u"DBNavigator1"_s);
    DBNavigator1->setDataSource(book);
    DBNavigator1->setButtons(DBNavigator::First | DBNavigator::Prior | DBNavigator::Next | DBNavigator::Last);

    BitBtnNewPKO = Handlers::makeButton("BitBtnNewPKO", u"Нов ПКО"_s, this, &TFormKasa::BitBtnNewPKOClick);
    BitBtnNewRKO = Handlers::makeButton("BitBtnNewRKO", u"Нов РКО"_s, this, &TFormKasa::BitBtnNewRKOClick);
    BitBtnKorekciaKO = Handlers::makeButton("BitBtnKorekciaKO", u"Корекция"_s, this, &TFormKasa::BitBtnKorekciaKOClick);
    BitBtnDel = Handlers::makeButton("BitBtnDel", u"Изтриване КО"_s, this, &TFormKasa::BitBtnDelClick);
    BitBtnPrnKasa = Handlers::makeButton("BitBtnPrnKasa", u"Касова книга"_s, this, &TFormKasa::BitBtnPrnKasaClick);
    BitBtnIzhod = Handlers::makeButton("BitBtnIzhod", u"Изход"_s);
    connect(BitBtnIzhod, &QToolButton::clicked, this, &QWidget::close);
    QObject::connect(&order_, &TFormKasovOrder::orderSaved, this, [this](int autonum) {
        Handlers::run([this, autonum] {
            ReloadCashBook();
            dm_.SmpViewKasa.locate(u"AUTONUM"_s, {autonum});
        });
    });

    auto* currencyBox = new QGroupBox(u"Валута"_s);
    auto* cl = new QHBoxLayout(currencyBox);
    cl->addWidget(DBLookupComboBox1);
    cl->addWidget(new QLabel(u"База"_s));
    cl->addWidget(LbBaza);
    cl->addWidget(new QLabel(u"Описание"_s));
    cl->addWidget(LbOpisanie, 1);
    auto* periodBox = new QGroupBox(u"Касова книга "_s);
    auto* pl = new QGridLayout(periodBox);
    pl->addWidget(new QLabel(u"От дата :"_s), 0, 0);
    pl->addWidget(DateKasaOT, 0, 1);
    pl->addWidget(new QLabel(u"Начално салдо :"_s), 0, 2);
    pl->addWidget(NachSaldo, 0, 3);
    pl->addWidget(new QLabel(u"До дата :"_s), 1, 0);
    pl->addWidget(DateKasaDO, 1, 1);
    pl->addWidget(new QLabel(u"Начално салдо ЛВ:"_s), 1, 2);
    pl->addWidget(NachSaldoLV, 1, 3);
    pl->setColumnStretch(4, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(currencyBox, 1);
    top->addWidget(periodBox, 1);
    auto* totals = new QGridLayout;
    totals->setColumnStretch(0, 1);
    totals->addWidget(new QLabel(u"Общо :"_s), 0, 1, Qt::AlignRight);
    totals->addWidget(SumSumaPKO, 0, 2);
    totals->addWidget(SumSumaRKO, 0, 3);
    totals->addWidget(new QLabel(u"Крайно салдо :"_s), 0, 4, Qt::AlignRight);
    totals->addWidget(KrainoSaldo, 0, 5);
    totals->addWidget(new QLabel(u"Крайно салдо ЛВ:"_s), 1, 1, Qt::AlignRight);
    totals->addWidget(SumSumaPKOLV, 1, 2);
    totals->addWidget(SumSumaRKOLV, 1, 3);
    totals->addWidget(KrainoSaldoLV, 1, 5);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(DBNavigator1);
    buttons->addStretch(1);
    for (QToolButton* b : {BitBtnNewPKO, BitBtnNewRKO, BitBtnKorekciaKO, BitBtnDel, BitBtnPrnKasa, BitBtnIzhod})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(totals);
    layout->addLayout(buttons);
    resize(1120, 560);
}

TFormKasa::~TFormKasa() = default;

void TFormKasa::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    {
        // Showing again resets the pickers without reloading the list.
        const QSignalBlocker a(DateKasaOT), b(DateKasaDO);
        DateKasaOT->setDate(Clock::today());
        DateKasaDO->setDate(Clock::today());
    }
    if (!dm_.SmpViewKasa.isActive()) Handlers::run([this] { chooseCurrency(currency_); });
}

void TFormKasa::chooseCurrency(int currency)
{
    if (dm_.SmpTipValuta.find(u"NVALUTA"_s, {currency}) < 0) return;
    currency_ = currency;
    DBLookupComboBox1->setKeyValue(currency);
    ReloadCashBook();
}

void TFormKasa::ReloadCashBook()
{
    SmpDataset& book = dm_.SmpViewKasa;
    book.close();
    const QDate from = DateKasaOT->date(), to = DateKasaDO->date();
    book.setParam(u"NUMVALUTA"_s, currency_);
    book.setParam(u"DATEKO_OT"_s, QDateTime(from, QTime(0, 0)));
    book.setParam(u"DATEKO_DO"_s, QDateTime(to, QTime(0, 0)));
    // Once per reload, for every row and for an empty period alike.
    const Cash::Balance opening = Cash::openingBalance(dm_.SQLConnectNS, currency_, from);
    dm_.KasaNachSaldo = opening.amount;
    dm_.KasaNachSaldoLV = opening.base;
    book.open();
    loadedFrom_ = from;
    loadedTo_ = to;
    const bool foreign = currency_ != Cash::BaseCurrency;
    for (const char* f : {"VALUTA_KURS", "SUMA_PKO_LV", "SUMA_RKO_LV"}) DBGrid1->setColumnVisible(QString::fromLatin1(f), foreign);
    const auto v = [this](const char* f) { return dm_.SmpTipValuta.lookup(u"NVALUTA"_s, {currency_}, QString::fromLatin1(f)).toString(); };
    LbBaza->setText(v("VALUTA_BAZA"));
    LbOpisanie->setText(v("VALUTA_OPISANIE"));
    setWindowTitle(u"Kasa   "_s + v("VALUTA_IME") + u"   -   "_s + v("VALUTA_OPISANIE") + u" !"_s);
    showTotals();
}

void TFormKasa::showTotals()
{
    const SmpDataset& book = dm_.SmpViewKasa;
    const auto sum = [&book](const char* f) { return book.fieldByName(QString::fromLatin1(f))->asFloat(); };
    const auto show = [](QLabel* l, double v) { l->setText(Formats::formatNumber(v, kMoney)); };
    show(NachSaldo, dm_.KasaNachSaldo);
    show(NachSaldoLV, dm_.KasaNachSaldoLV);
    show(SumSumaPKO, sum("SumSumaPKO"));
    show(SumSumaRKO, sum("SumSumaRKO"));
    show(KrainoSaldo, dm_.KasaNachSaldo + sum("SumSumaPKO") - sum("SumSumaRKO"));
    show(SumSumaPKOLV, sum("SumSumaPKOLV"));
    show(SumSumaRKOLV, sum("SumSumaRKOLV"));
    show(KrainoSaldoLV, dm_.KasaNachSaldoLV + sum("SumSumaPKOLV") - sum("SumSumaRKOLV"));
}

void TFormKasa::openOrder(int mode)
{
    order_.prepare(mode, currency_);
    UiService::current().showModal(&order_);
}

void TFormKasa::BitBtnNewPKOClick() { openOrder(TFormKasovOrder::NewReceipt); }
void TFormKasa::BitBtnNewRKOClick() { openOrder(TFormKasovOrder::NewPayment); }

void TFormKasa::BitBtnKorekciaKOClick()
{
    SmpDataset& book = dm_.SmpViewKasa;
    if (!book.isActive() || book.isEmpty()) {
        UiService::current().showMessage(u"Липсват данни за корекция !"_s);
        return;
    }
    if (book.fieldByName(u"NPKO"_s)->asInt() > 0) openOrder(TFormKasovOrder::CorrectReceipt);
    else if (book.fieldByName(u"NRKO"_s)->asInt() > 0) openOrder(TFormKasovOrder::CorrectPayment);
}

void TFormKasa::BitBtnDelClick()
{
    SmpDataset& book = dm_.SmpViewKasa;
    if (!book.isActive() || book.isEmpty()) return;
    if (!UiService::current().askYesNo(u" Изтриване на касов ордер ?"_s)) return;
    Cash::deleteOrder(dm_.SQLConnectNS, book.fieldByName(u"AUTONUM"_s)->asInt());
    ReloadCashBook();
}

Report::Layout& TFormKasa::filledCashBook()
{
    // The period of the rows shown, which the pickers may no longer show.
    const QString from = Formats::dateToText(loadedFrom_), to = Formats::dateToText(loadedTo_);
    if (currency_ == Cash::BaseCurrency) {
        qrKasa_->setPeriod(from, to);
        return *qrKasa_;
    }
    qrKasaValuta_->setPeriod(from, to);
    qrKasaValuta_->setCurrency(dm_.SmpTipValuta.lookup(u"NVALUTA"_s, {currency_}, u"VALUTA_IME"_s).toString(),
                               dm_.SmpTipValuta.lookup(u"NVALUTA"_s, {currency_}, u"VALUTA_OPISANIE"_s).toString());
    return *qrKasaValuta_;
}

void TFormKasa::BitBtnPrnKasaClick() { Report::preview(filledCashBook()); }
