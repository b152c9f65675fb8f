#include "payments/tabrazpl.h"

#include "common/gridexport.h"
#include "data/dmrazpl.h"
#include "payments/formrazpldost.h"
#include "payments/formrazplklient.h"
#include "payments/paymentsdata.h"
#include "payments/qrrazpl.h"
#include "platform/report/reportpreview.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const char* const kCurrencies[] = {"LV", "USD", "EUR"};

QDateEdit* picker(const char* name)
{
    auto* d = new QDateEdit;
    d->setObjectName(QString::fromLatin1(name));
    d->setCalendarPopup(true);
    d->setDisplayFormat(u"dd.MM.yyyy"_s);
    return d;
}

DBGrid* grid(const char* name, SmpDataset& ds, QObject* owner)
{
    auto* g = new DBGrid;
    g->setObjectName(QString::fromLatin1(name));
    g->setDataSource(new DataSource(&ds, owner));
    g->setReadOnly(true);
    g->setRowSelect(true);
    return g;
}

QGroupBox* group(const char* name, const QString& caption)
{
    auto* g = new QGroupBox(caption);
    g->setObjectName(QString::fromLatin1(name));
    return g;
}

// A table of currencies: "Валута" / "Лева" / "USD" / "EUR" over rows of a caption and a field
// pattern (%1 for LV, USD, EUR; the BGN field may be spelt differently, as "Lv").
QGroupBox* currencyTable(const QString& caption, SmpDataset& ds, QObject* owner,
                         const QList<QPair<QString, QStringList>>& rows)
{
    auto* box = new QGroupBox(caption);
    auto* l = new QGridLayout(box);
    auto* source = new DataSource(&ds, owner);
    const QStringList heads = {u"Валута"_s, u"Лева"_s, u"USD"_s, u"EUR"_s};
    for (int c = 0; c < heads.size(); ++c) l->addWidget(new QLabel(u"<b>%1</b>"_s.arg(heads[c])), 0, c);
    for (int r = 0; r < rows.size(); ++r) {
        l->addWidget(new QLabel(rows[r].first), r + 1, 0);
        for (int c = 0; c < rows[r].second.size(); ++c) {
            auto* t = DbControls::makeShownNumber("", source, rows[r].second[c].toLatin1().constData(), 90);
            t->setObjectName(u"DBText"_s + rows[r].second[c]);
            l->addWidget(t, r + 1, c + 1);
        }
    }
    return box;
}

QStringList perCurrency(const char* pattern)
{
    QStringList out;
    for (const char* c : kCurrencies) out << QString::fromLatin1(pattern).arg(QLatin1String(c));
    return out;
}

// What the grid shows: the columns the window hid stay out of the workbook.
void exportList(SmpDataset& ds, const DBGrid* grid)
{
    SpreadsheetExport how;
    how.parentWindow = grid->window();
    how.hiddenFields = grid->hiddenFields();
    ExportDatasetToSpreadsheet(ds, how);
}

// The key of a list's current row; null when the list is empty or closed.
QVariant currentKey(const SmpDataset& list, const QString& field)
{
    return list.isActive() && !list.isEmpty() ? list.value(field) : QVariant();
}

void setParams(SmpDataset& ds, const QVariantMap& params)
{
    for (auto it = params.begin(); it != params.end(); ++it) ds.setParam(it.key(), it.value());
}

Payments::Range dates(const RadioGroup* period, const QDateEdit* from, const QDateEdit* to)
{
    if (period->itemIndex() == 0) return Payments::Range::all();
    return {from->date(), to->date()};
}

// The key a list lookup shows; null when it shows nothing.
QVariant shownKey(const DBLookupComboBox* lookup)
{
    return lookup->currentText().trimmed().isEmpty() ? QVariant() : lookup->keyValue();
}

bool isPayment(const SmpDataset& ds, const QString& text)
{
    return !ds.isEmpty() && ds.value(u"IME_MATERIAL_IZDELIE"_s).toString() == text;
}

QColor paymentColour() { return QColor(Qt::blue); }

// A row with a claim is green, a payment row blue; the claim wins.
std::function<QColor(int)> claimOrPaymentColour(const SmpDataset& list)
{
    return [&list](int position) {
        const auto v = [&](const char* f) { return list.valueAt(position, list.fieldByName(QString::fromLatin1(f))); };
        for (const char* f : {"DOST_BRAK_LV", "DOST_BRAK_USD", "DOST_BRAK_EUR"})
            if (v(f).toDouble() > 0) return QColor(Qt::darkGreen);
        return v("IME_MATERIAL_IZDELIE").toString() == Payments::supplierPaymentText() ? paymentColour() : QColor();
    };
}

// The name of the counterparty a list row belongs to: the row's own, else the one the lookup shows.
QString rowName(const SmpDataset& ds, const DBLookupComboBox* lookup)
{
    const QString name = ds.fieldByName(u"IMEKONTRAGENT"_s) ? ds.value(u"IMEKONTRAGENT"_s).toString() : QString();
    return name.isEmpty() ? lookup->currentText() : name;
}

} // namespace

// ---- Продажби -------------------------------------------------------------------------------

TabRazplKlienti::TabRazplKlienti(TDMRazpl& dm, TQRRazplProdagbi& statement) : dm_(dm), statement_(statement)
{
    setObjectName(u"TabSheet1"_s);
    RdGrpKontragentDaNeKlienti = new RadioGroup(u"RdGrpKontragentDaNeKlienti"_s, u"Клиенти "_s, {u"Всички"_s, u"Избор"_s});
    RdGrpKontragentDaNeKlienti->setItemIndex(1);
    GrpBoxIzbKontrKlienti = group("GrpBoxIzbKontrKlienti", u"Избор "_s);
    DBLkpCmBoxTipKontrProd = DbControls::makeListLookup("DBLkpCmBoxTipKontrProd", new DataSource(&dm.SmpRazplKontrTipProd, this),
                                                        "NTIP_KONTRAGENT", "KONTRAGENT", 150);
    RdGrpTipKontr = new RadioGroup(u"RdGrpTipKontr"_s, QString(), {u"Всички"_s, u"По контрагент"_s});
    RdGrpTipKontr->setItemIndex(0);
    DBLkpCmBoxKontrKlienti = DbControls::makeListLookup("DBLkpCmBoxKontrKlienti", new DataSource(&dm.SmpRazplKontrProd, this),
                                                        "NKONTRAGENT", "IMEKONTRAGENT", 220);
    DBLkpCmBoxKontrKlienti->setEnabled(false);
    auto* gl = new QHBoxLayout(GrpBoxIzbKontrKlienti);
    gl->addWidget(new QLabel(u"Тип контрагент -"_s));
    gl->addWidget(DBLkpCmBoxTipKontrProd);
    gl->addWidget(RdGrpTipKontr);
    gl->addWidget(DBLkpCmBoxKontrKlienti, 1);

    RdGrpPeriodDaNeKlienti = new RadioGroup(u"RdGrpPeriodDaNeKlienti"_s, u"Период "_s, {u"Без дефиниране"_s, u"Дефиниране"_s});
    RdGrpPeriodDaNeKlienti->setItemIndex(1);
    GrpBoxIzbPeriodKlienti = group("GrpBoxIzbPeriodKlienti", u"Дефиниране "_s);
    DateOtKlienti = picker("DateOtKlienti");
    DateDoKlienti = picker("DateDoKlienti");
    auto* pl = new QHBoxLayout(GrpBoxIzbPeriodKlienti);
    pl->addWidget(new QLabel(u"От"_s));
    pl->addWidget(DateOtKlienti);
    pl->addWidget(new QLabel(u"До"_s));
    pl->addWidget(DateDoKlienti);

    SmpDataset& list = dm.SmpSprRazpl_Klienti;
    DBGrid1 = grid("DBGrid1", list, this);
    DBGrid1->setRowTextColor([&list](int position) {
        return list.valueAt(position, list.fieldByName(u"IME_MATERIAL_IZDELIE"_s)).toString() == Payments::clientPaymentText()
                   ? paymentColour() : QColor();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Handlers::makeButton("SpdBtnPlastKlientExcel", u"Изход > Excel"_s, this,
                                            &TabRazplKlienti::SpdBtnPlastKlientExcelClick));
    SpdBtnPlastKlientNovo = Handlers::makeButton("SpdBtnPlastKlientNovo", u"Ново плащане"_s, this,
                                                 &TabRazplKlienti::SpdBtnPlastKlientNovoClick);
    SpdBtnDelProdPlast = Handlers::makeButton("SpdBtnDelProdPlast", u"Изтриване плащане"_s, this,
                                              &TabRazplKlienti::SpdBtnDelProdPlastClick);
    SpdBtnPlastKlientKorekc = Handlers::makeButton("SpdBtnPlastKlientKorekc", u"Корекция плащане"_s, this,
                                                   &TabRazplKlienti::SpdBtnPlastKlientKorekcClick);
    SpdBtnRazplProd = Handlers::makeButton("SpdBtnRazplProd", u"Разпл. продажби"_s, this, &TabRazplKlienti::SpdBtnRazplProdClick);
    for (QToolButton* b : {SpdBtnPlastKlientNovo, SpdBtnDelProdPlast, SpdBtnPlastKlientKorekc, SpdBtnRazplProd}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(new QLabel(u"Бой реда -"_s));
    buttons->addWidget(DbControls::makeShownNumber("BroiReda", new DataSource(&list, this), "BroiReda", 60));

    auto* top = new QHBoxLayout;
    top->addWidget(RdGrpKontragentDaNeKlienti);
    top->addWidget(GrpBoxIzbKontrKlienti, 1);
    top->addWidget(RdGrpPeriodDaNeKlienti);
    top->addWidget(GrpBoxIzbPeriodKlienti);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(buttons, 1);
    bottom->addWidget(currencyTable(QString(), list, this,
                                    {{u"Дължимо"_s, perCurrency("PoluchenoSum%1")},
                                     {u"Платено"_s, perCurrency("PlatenoSum%1")},
                                     {u"За получаване"_s, perCurrency("OstatykSum%1")}}));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bottom);

    Handlers::connect(RdGrpKontragentDaNeKlienti, &RadioGroup::clicked, this, [this] { RdGrpKontragentDaNeKlientiClick(); });
    Handlers::connect(RdGrpTipKontr, &RadioGroup::clicked, this, [this] { RdGrpTipKontrClick(); });
    Handlers::connect(RdGrpPeriodDaNeKlienti, &RadioGroup::clicked, this, [this] { RdGrpPeriodDaNeKlientiClick(); });
    Handlers::connect(DBLkpCmBoxTipKontrProd, &DBLookupComboBox::chosen, this, &TabRazplKlienti::DBLkpCmBoxTipKontrProdCloseUp);
    Handlers::connect(DBLkpCmBoxKontrKlienti, &DBLookupComboBox::chosen, this, &TabRazplKlienti::DBLkpCmBoxKontrKlientiCloseUp);
    for (QDateEdit* d : {DateOtKlienti, DateDoKlienti})
        Handlers::connect(d, &QDateEdit::editingFinished, this, [this] { ReloadClientPayments(); });
    Handlers::connect(DBGrid1, &QAbstractItemView::doubleClicked, this, [this] { SpdBtnPlastKlientKorekcClick(); });
}

void TabRazplKlienti::FormShow(const QDate& today)
{
    const QSignalBlocker a(DateOtKlienti), b(DateDoKlienti);
    DateDoKlienti->setDate(today);
    DateOtKlienti->setDate(today.addDays(-30));
    DBLkpCmBoxTipKontrProd->setKeyValue(currentKey(dm_.SmpRazplKontrTipProd, u"NTIP_KONTRAGENT"_s));
    ReloadClientPayments();
}

bool TabRazplKlienti::clientShown() const { return !shownKey(DBLkpCmBoxKontrKlienti).isNull(); }

void TabRazplKlienti::setColumnsShown(bool shown)
{
    DBGrid1->setColumnVisible(u"TIPKONTRAGENT"_s, shown);
    DBGrid1->setColumnVisible(u"IMEKONTRAGENT"_s, shown);
}

void TabRazplKlienti::ReloadClientPayments()
{
    SmpDataset& ds = dm_.SmpSprRazpl_Klienti;
    ds.close();
    using Payments::Range;
    Range types = Range::all(), clients = Range::all();
    if (RdGrpKontragentDaNeKlienti->itemIndex() == 1) {
        // The type list's current row: the lookup's choice moves it, and on opening it is the first type.
        const QVariant type = currentKey(dm_.SmpRazplKontrTipProd, u"NTIP_KONTRAGENT"_s);
        types = {type.isNull() ? QVariant(0) : type, type.isNull() ? QVariant(0) : type};
        if (RdGrpTipKontr->itemIndex() == 1) clients = Range::only(client_);
    }
    setParams(ds, Payments::clientParams(types, clients, dates(RdGrpPeriodDaNeKlienti, DateOtKlienti, DateDoKlienti)));
    ds.open();
    ds.last();
}

void TabRazplKlienti::RdGrpKontragentDaNeKlientiClick()
{
    const bool chosen = RdGrpKontragentDaNeKlienti->itemIndex() == 1;
    GrpBoxIzbKontrKlienti->setVisible(chosen);
    for (QToolButton* b : {SpdBtnPlastKlientNovo, SpdBtnPlastKlientKorekc, SpdBtnDelProdPlast, SpdBtnRazplProd})
        b->setEnabled(chosen);
    const bool byClient = chosen && RdGrpTipKontr->itemIndex() == 1;
    DBLkpCmBoxKontrKlienti->setEnabled(byClient);
    setColumnsShown(!byClient);
    ReloadClientPayments();
}

void TabRazplKlienti::RdGrpTipKontrClick()
{
    const bool byClient = RdGrpTipKontr->itemIndex() == 1;
    DBLkpCmBoxKontrKlienti->setEnabled(byClient);
    setColumnsShown(!byClient);
    ReloadClientPayments();
}

void TabRazplKlienti::DBLkpCmBoxTipKontrProdCloseUp()
{
    // The client list follows the type the lookup shows.
    const QVariant type = DBLkpCmBoxTipKontrProd->keyValue();
    if (!type.isNull()) dm_.SmpRazplKontrTipProd.locate(u"NTIP_KONTRAGENT"_s, {type});
    dm_.SmpRazplKontrProd.close();
    dm_.SmpRazplKontrProd.open();
    DBLkpCmBoxKontrKlienti->setKeyValue(DBLkpCmBoxKontrKlienti->keyValue());
    const QVariant client = shownKey(DBLkpCmBoxKontrKlienti);
    client_ = client.isNull() ? -1 : client.toInt();
    ReloadClientPayments();
    DBGrid1->setColumnVisible(u"IMEKONTRAGENT"_s, type.toInt() == 7);
}

void TabRazplKlienti::DBLkpCmBoxKontrKlientiCloseUp()
{
    // The client the lookup shows, never the row the list's cursor happens to be on.
    const QVariant client = shownKey(DBLkpCmBoxKontrKlienti);
    client_ = client.isNull() ? -1 : client.toInt();
    ReloadClientPayments();
}

void TabRazplKlienti::RdGrpPeriodDaNeKlientiClick()
{
    GrpBoxIzbPeriodKlienti->setVisible(RdGrpPeriodDaNeKlienti->itemIndex() == 1);
    ReloadClientPayments();
}

void TabRazplKlienti::SpdBtnPlastKlientNovoClick()
{
    if (!clientShown() || client_ < 0) {
        UiService::current().showMessage(u"Не е избран клиент за разплащане !"_s);
        return;
    }
    FormRazplKlient->open(TFormRazplKlient::Mode::New, client_, DBLkpCmBoxKontrKlienti->currentText());
}

void TabRazplKlienti::SpdBtnPlastKlientKorekcClick()
{
    if (!clientShown() || RdGrpKontragentDaNeKlienti->itemIndex() != 1) {
        UiService::current().showMessage(u"Не е избран клиент за разплащане !"_s);
        return;
    }
    const SmpDataset& ds = dm_.SmpSprRazpl_Klienti;
    if (!isPayment(ds, Payments::clientPaymentText())) {
        UiService::current().showMessage(u"За корекция по продажба - от меню Информация продажби !"_s);
        return;
    }
    TFormRazplKlient::Shown p;
    p.autonum = ds.value(u"AUTONUM"_s).toInt();
    p.date = ds.fieldByName(u"DATE_FAKTURA_PLASTANE"_s)->asDate();
    p.lv = ds.fieldByName(u"PLATENO_LV"_s)->asFloat();
    p.usd = ds.fieldByName(u"PLATENO_USD"_s)->asFloat();
    p.eur = ds.fieldByName(u"PLATENO_EUR"_s)->asFloat();
    p.note = ds.fieldByName(u"ZABELEGKA"_s)->asString();
    // A correction keeps the payment with the client it belongs to.
    FormRazplKlient->open(TFormRazplKlient::Mode::Correction, ds.value(u"NUMKONTRAGENT"_s).toInt(), rowName(ds, DBLkpCmBoxKontrKlienti), p);
}

void TabRazplKlienti::SpdBtnDelProdPlastClick()
{
    const SmpDataset& ds = dm_.SmpSprRazpl_Klienti;
    if (!isPayment(ds, Payments::clientPaymentText())) {
        UiService::current().showMessage(u"Не сте позиционирали върху плащане за изтриване !"_s);
        return;
    }
    if (!UiService::current().askYesNo(u" Изтриване на плащане ? "_s)) return;
    Payments::deleteClientPayment(dm_.connection(), ds.value(u"AUTONUM"_s).toInt());
    if (const QString why = dm_.reloadAfterClientPayment(); !why.isEmpty()) UiService::current().reportError(why);
}

void TabRazplKlienti::SpdBtnRazplProdClick()
{
    if (!clientShown() || RdGrpKontragentDaNeKlienti->itemIndex() != 1) {
        UiService::current().showMessage(u"Не е избран клиент за разплащане !"_s);
        return;
    }
    statement_.setPeriod(RdGrpPeriodDaNeKlienti->itemIndex() == 1, DateOtKlienti->date(), DateDoKlienti->date());
    Report::preview(statement_.build());
}

void TabRazplKlienti::SpdBtnPlastKlientExcelClick() { exportList(dm_.SmpSprRazpl_Klienti, DBGrid1); }

// ---- Доставки ------------------------------------------------------------------------------

TabRazplDost::TabRazplDost(TDMRazpl& dm, TQRRazplDostavki& statement) : dm_(dm), statement_(statement)
{
    setObjectName(u"TabSheet2"_s);
    RdGrpKontragentDaNeDostav = new RadioGroup(u"RdGrpKontragentDaNeDostav"_s, u"Доставчици "_s, {u"Всички"_s, u"Избор"_s});
    RdGrpKontragentDaNeDostav->setItemIndex(1);
    GrpBoxIzbKontrDostav = group("GrpBoxIzbKontrDostav", u"Избор "_s);
    DBLkpCmBoxTipKontrDost = DbControls::makeListLookup("DBLkpCmBoxTipKontrDost", new DataSource(&dm.SmpRazplKontrTipDost, this),
                                                        "NTIP_KONTRAGENT", "KONTRAGENT", 150);
    DBLkpCmBoxKontrDostav = DbControls::makeListLookup("DBLkpCmBoxKontrDostav", new DataSource(&dm.SmpRazplKontrDost, this),
                                                       "NKONTRAGENT", "IMEKONTRAGENT", 220);
    auto* gl = new QHBoxLayout(GrpBoxIzbKontrDostav);
    gl->addWidget(new QLabel(u"Тип контрагент -"_s));
    gl->addWidget(DBLkpCmBoxTipKontrDost);
    gl->addWidget(DBLkpCmBoxKontrDostav, 1);
    RdGrpPeriodDaNeDostav = new RadioGroup(u"RdGrpPeriodDaNeDostav"_s, u"Период "_s, {u"Без дефиниране"_s, u"Дефиниране"_s});
    RdGrpPeriodDaNeDostav->setItemIndex(1);
    GrpBoxIzbPeriodDostav = group("GrpBoxIzbPeriodDostav", u"Дефиниране "_s);
    DateOtDostav = picker("DateOtDostav");
    DateDoDostav = picker("DateDoDostav");
    auto* pl = new QHBoxLayout(GrpBoxIzbPeriodDostav);
    pl->addWidget(new QLabel(u"От"_s));
    pl->addWidget(DateOtDostav);
    pl->addWidget(new QLabel(u"До"_s));
    pl->addWidget(DateDoDostav);

    SmpDataset& list = dm.SmpSprRazpl_Dost;
    DBGrid2 = grid("DBGrid2", list, this);
    DBGrid2->setRowTextColor(claimOrPaymentColour(list));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Handlers::makeButton("SpdBtnPlastDostExcel", u"Изход > Excel"_s, this, &TabRazplDost::SpdBtnPlastDostExcelClick));
    SpdBtnPastDostNovo = Handlers::makeButton("SpdBtnPastDostNovo", u"Ново плащане"_s, this, &TabRazplDost::SpdBtnPastDostNovoClick);
    SpdBtnPastDostKorekc = Handlers::makeButton("SpdBtnPastDostKorekc", u"Корекция плащане"_s, this,
                                                &TabRazplDost::SpdBtnPastDostKorekcClick);
    SpdBtnDelDostPlast = Handlers::makeButton("SpdBtnDelDostPlast", u"Изтриване плащане"_s, this,
                                              &TabRazplDost::SpdBtnDelDostPlastClick);
    SpdBtnRazplDost = Handlers::makeButton("SpdBtnRazplDost", u"Разпл. доставки"_s, this, &TabRazplDost::SpdBtnRazplDostClick);
    for (QToolButton* b : {SpdBtnPastDostNovo, SpdBtnPastDostKorekc, SpdBtnDelDostPlast, SpdBtnRazplDost}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(DbControls::makeShownNumber("DBTextSumDostBrakLV", new DataSource(&list, this), "SumDostBrakLV", 90));

    auto* top = new QHBoxLayout;
    top->addWidget(RdGrpKontragentDaNeDostav);
    top->addWidget(GrpBoxIzbKontrDostav, 1);
    top->addWidget(RdGrpPeriodDaNeDostav);
    top->addWidget(GrpBoxIzbPeriodDostav);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(buttons, 1);
    // Due is shown net of claims in every currency, so due - paid is what is left to pay.
    bottom->addWidget(currencyTable(QString(), list, this,
                                    {{u"Дължимо"_s, perCurrency("ZaPlastaneSum%1Agg")},
                                     {u"Платено"_s, perCurrency("PlatenoSum%1")},
                                     {u"За плащане"_s, perCurrency("OstatykSum%1")}}));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid2, 1);
    layout->addLayout(bottom);

    Handlers::connect(RdGrpKontragentDaNeDostav, &RadioGroup::clicked, this, [this] { RdGrpKontragentDaNeDostavClick(); });
    Handlers::connect(RdGrpPeriodDaNeDostav, &RadioGroup::clicked, this, [this] { RdGrpPeriodDaNeDostavClick(); });
    Handlers::connect(DBLkpCmBoxTipKontrDost, &DBLookupComboBox::chosen, this, &TabRazplDost::DBLkpCmBoxTipKontrDostCloseUp);
    Handlers::connect(DBLkpCmBoxKontrDostav, &DBLookupComboBox::chosen, this, &TabRazplDost::DBLkpCmBoxKontrDostavCloseUp);
    for (QDateEdit* d : {DateOtDostav, DateDoDostav})
        Handlers::connect(d, &QDateEdit::editingFinished, this, [this] { ReloadSupplierPayments(); });
    Handlers::connect(DBGrid2, &QAbstractItemView::doubleClicked, this, [this] { SpdBtnPastDostKorekcClick(); });
}

void TabRazplDost::FormShow(const QDate& today)
{
    const QSignalBlocker a(DateOtDostav), b(DateDoDostav);
    DateDoDostav->setDate(today);
    DateOtDostav->setDate(today.addDays(-30));
    DBLkpCmBoxTipKontrDost->setKeyValue(currentKey(dm_.SmpRazplKontrTipDost, u"NTIP_KONTRAGENT"_s));
    ReloadSupplierPayments();
}

bool TabRazplDost::supplierShown() const { return !shownKey(DBLkpCmBoxKontrDostav).isNull(); }

void TabRazplDost::ReloadSupplierPayments()
{
    SmpDataset& ds = dm_.SmpSprRazpl_Dost;
    ds.close();
    const Payments::Range suppliers =
        RdGrpKontragentDaNeDostav->itemIndex() == 1 ? Payments::Range::only(supplier_) : Payments::Range::all();
    setParams(ds, Payments::supplierParams(suppliers, dates(RdGrpPeriodDaNeDostav, DateOtDostav, DateDoDostav)));
    ds.open();
    ds.last();
}

void TabRazplDost::RdGrpKontragentDaNeDostavClick()
{
    const bool chosen = RdGrpKontragentDaNeDostav->itemIndex() == 1;
    GrpBoxIzbKontrDostav->setVisible(chosen);
    for (QToolButton* b : {SpdBtnPastDostNovo, SpdBtnPastDostKorekc, SpdBtnDelDostPlast, SpdBtnRazplDost}) b->setEnabled(chosen);
    DBGrid2->setColumnVisible(u"TIPKONTRAGENT"_s, !chosen);
    DBGrid2->setColumnVisible(u"IMEKONTRAGENT"_s, !chosen);
    ReloadSupplierPayments();
}

void TabRazplDost::DBLkpCmBoxTipKontrDostCloseUp()
{
    const QVariant type = DBLkpCmBoxTipKontrDost->keyValue();
    if (!type.isNull()) dm_.SmpRazplKontrTipDost.locate(u"NTIP_KONTRAGENT"_s, {type});
    dm_.SmpRazplKontrDost.close();
    dm_.SmpRazplKontrDost.open();
    DBLkpCmBoxKontrDostav->setKeyValue(DBLkpCmBoxKontrDostav->keyValue());
    const QVariant supplier = shownKey(DBLkpCmBoxKontrDostav);
    supplier_ = supplier.isNull() ? -1 : supplier.toInt();
    ReloadSupplierPayments();
}

void TabRazplDost::DBLkpCmBoxKontrDostavCloseUp()
{
    const QVariant supplier = shownKey(DBLkpCmBoxKontrDostav);
    supplier_ = supplier.isNull() ? -1 : supplier.toInt();
    ReloadSupplierPayments();
}

void TabRazplDost::RdGrpPeriodDaNeDostavClick()
{
    GrpBoxIzbPeriodDostav->setVisible(RdGrpPeriodDaNeDostav->itemIndex() == 1);
    ReloadSupplierPayments();
}

void TabRazplDost::SpdBtnPastDostNovoClick()
{
    if (!supplierShown() || supplier_ < 0) {
        UiService::current().showMessage(u"Не е избран доставчик за разплащане !"_s);
        return;
    }
    FormRazplDost->open(TFormRazplDost::Mode::New, supplier_, DBLkpCmBoxKontrDostav->currentText());
}

void TabRazplDost::SpdBtnPastDostKorekcClick()
{
    if (!supplierShown() || RdGrpKontragentDaNeDostav->itemIndex() != 1) {
        UiService::current().showMessage(u"Не е избран доставчик за разплащане !"_s);
        return;
    }
    const SmpDataset& ds = dm_.SmpSprRazpl_Dost;
    if (!isPayment(ds, Payments::supplierPaymentText())) {
        UiService::current().showMessage(u"За корекция доставки - от меню Складове - доставка !"_s);
        return;
    }
    TFormRazplDost::Shown p;
    p.autonum = ds.value(u"AUTONUM"_s).toInt();
    p.date = ds.fieldByName(u"DATE_FAKTURA_PLASTANE"_s)->asDate();
    p.lv = ds.fieldByName(u"PLATENO_LV"_s)->asFloat();
    p.usd = ds.fieldByName(u"PLATENO_USD"_s)->asFloat();
    p.eur = ds.fieldByName(u"PLATENO_EUR"_s)->asFloat();
    p.purchaser = ds.fieldByName(u"SHIFYR"_s)->asInt();
    p.note = ds.fieldByName(u"ZABELEGKA"_s)->asString();
    FormRazplDost->open(TFormRazplDost::Mode::Correction, ds.value(u"NUMKONTRAGENT"_s).toInt(), rowName(ds, DBLkpCmBoxKontrDostav), p);
}

void TabRazplDost::SpdBtnDelDostPlastClick()
{
    const SmpDataset& ds = dm_.SmpSprRazpl_Dost;
    if (!isPayment(ds, Payments::supplierPaymentText())) {
        UiService::current().showMessage(u"Не сте позиционирали върху плащане за изтриване !"_s);
        return;
    }
    if (!UiService::current().askYesNo(u" Изтриване на плащане ? "_s)) return;
    Payments::deleteSupplierPayment(dm_.connection(), ds.value(u"AUTONUM"_s).toInt());
    if (const QString why = dm_.reloadAfterSupplierPayment(); !why.isEmpty()) UiService::current().reportError(why);
}

void TabRazplDost::SpdBtnRazplDostClick()
{
    if (!supplierShown() || RdGrpKontragentDaNeDostav->itemIndex() != 1) {
        UiService::current().showMessage(u"Не е избран доставчик за разплащане !"_s);
        return;
    }
    statement_.setPeriod(RdGrpPeriodDaNeDostav->itemIndex() == 1, DateOtDostav->date(), DateDoDostav->date());
    Report::preview(statement_.build());
}

void TabRazplDost::SpdBtnPlastDostExcelClick() { exportList(dm_.SmpSprRazpl_Dost, DBGrid2); }

// ---- Продажби - обобщени -------------------------------------------------------------------

namespace {
QWidget* heading(const QString& text)
{
    auto* l = new QLabel(text);
    l->setStyleSheet(u"font-weight: bold; font-size: 12pt; color: navy"_s);
    return l;
}

QGroupBox* balanceTotals(SmpDataset& ds, QObject* owner)
{
    return currencyTable(QString(), ds, owner,
                         {{u"Общо оборот"_s, {u"OborotLvSum"_s, u"OborotUSDSum"_s, u"OborotEURSum"_s}},
                          {u"Общо дължимо"_s, {u"DylgimoLvSum"_s, u"DylgimoUSDSum"_s, u"DylgimoEURSum"_s}}});
}

void setDebtorsOnly(SmpDataset& ds, bool on)
{
    ds.setFiltered(on);
    if (ds.isActive()) ds.refresh();
    else ds.open();
}
} // namespace

TabRazplKlientiObsto::TabRazplKlientiObsto(TDMRazpl& dm, TQRSaldaKlienti& balances) : dm_(dm), balances_(balances)
{
    setObjectName(u"TabSheet3"_s);
    DBGrid3 = grid("DBGrid3", dm.SmpSprRazplKlientiObsto, this);
    RdGrpFiltyrKlienti = new RadioGroup(u"RdGrpFiltyrKlienti"_s, QString(), {u"Всички клиенти"_s, u"Само длъжници"_s});
    RdGrpFiltyrKlienti->setItemIndex(0);
    BitBtnSaldaKlienti = Handlers::makeButton("BitBtnSaldaKlienti", u"Салда на клиенти"_s, this,
                                              &TabRazplKlientiObsto::BitBtnSaldaKlientiClick);
    auto* top = new QHBoxLayout;
    top->addWidget(heading(u"Разплащания продажби - обобщени !"_s));
    top->addStretch(1);
    top->addWidget(RdGrpFiltyrKlienti);
    top->addWidget(BitBtnSaldaKlienti);
    top->addWidget(Handlers::makeButton("SpdBtnExcelProdObsti", u"Изход > Excel"_s, this,
                                        &TabRazplKlientiObsto::SpdBtnExcelProdObstiClick));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid3, 1);
    layout->addWidget(balanceTotals(dm.SmpSprRazplKlientiObsto, this), 0, Qt::AlignRight);
    Handlers::connect(RdGrpFiltyrKlienti, &RadioGroup::clicked, this, [this] { RdGrpFiltyrKlientiClick(); });
}

void TabRazplKlientiObsto::RdGrpFiltyrKlientiClick()
{
    setDebtorsOnly(dm_.SmpSprRazplKlientiObsto, RdGrpFiltyrKlienti->itemIndex() == 1);
}

void TabRazplKlientiObsto::BitBtnSaldaKlientiClick() { Report::preview(balances_.build()); }

void TabRazplKlientiObsto::SpdBtnExcelProdObstiClick() { exportList(dm_.SmpSprRazplKlientiObsto, DBGrid3); }

// ---- Доставки - обобщени -------------------------------------------------------------------

TabRazplDostObsto::TabRazplDostObsto(TDMRazpl& dm) : dm_(dm)
{
    setObjectName(u"TabSheet4"_s);
    DBGrid4 = grid("DBGrid4", dm.SmpSprRazplDostObsto, this);
    RdGrpFiltyrDost = new RadioGroup(u"RdGrpFiltyrDost"_s, QString(), {u"Всички доставки"_s, u"Само задълженията ни"_s});
    RdGrpFiltyrDost->setItemIndex(0);
    auto* print = Handlers::makeButton("SpdBtnPrintDostObsti", u"Разпл. - доставки"_s);
    print->setEnabled(false);
    auto* top = new QHBoxLayout;
    top->addWidget(heading(u"Разплащания доставки - обобщени !"_s));
    top->addStretch(1);
    top->addWidget(RdGrpFiltyrDost);
    top->addWidget(print);
    top->addWidget(Handlers::makeButton("SpdBtnExcelDostObsti", u"Изход > Excel"_s, this,
                                        &TabRazplDostObsto::SpdBtnExcelDostObstiClick));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid4, 1);
    layout->addWidget(balanceTotals(dm.SmpSprRazplDostObsto, this), 0, Qt::AlignRight);
    Handlers::connect(RdGrpFiltyrDost, &RadioGroup::clicked, this, [this] { RdGrpFiltyrDostClick(); });
}

void TabRazplDostObsto::RdGrpFiltyrDostClick()
{
    setDebtorsOnly(dm_.SmpSprRazplDostObsto, RdGrpFiltyrDost->itemIndex() == 1);
}

void TabRazplDostObsto::SpdBtnExcelDostObstiClick() { exportList(dm_.SmpSprRazplDostObsto, DBGrid4); }

// ---- Доставки чрез закупчици ---------------------------------------------------------------

TabRazplZak::TabRazplZak(TDMRazpl& dm) : dm_(dm)
{
    setObjectName(u"TabSheet5"_s);
    SmpDataset& list = dm.SmpSprRazpl_DostZak;
    DBGrid5 = grid("DBGrid5", list, this);
    DBGrid5->setRowTextColor(claimOrPaymentColour(list));
    RdGrpDaNeDostZak = new RadioGroup(u"RdGrpDaNeDostZak"_s, u"Закупчици "_s, {u"Всички"_s, u"Избор"_s});
    RdGrpDaNeDostZak->setItemIndex(0);
    GrpBoxIzbDostZak = group("GrpBoxIzbDostZak", u"Избор на закупчик "_s);
    DBLkpCmBoxDosZak = DbControls::makeListLookup("DBLkpCmBoxDosZak", new DataSource(&dm.SmpIzbZak, this), "SHIFYR", "IMEFULL", 200);
    (new QHBoxLayout(GrpBoxIzbDostZak))->addWidget(DBLkpCmBoxDosZak);
    GrpBoxIzbDostZak->setVisible(false);
    RdGrpPeriodDaNeDostZak = new RadioGroup(u"RdGrpPeriodDaNeDostZak"_s, u"Период "_s, {u"Без дефиниране"_s, u"Дефиниране"_s});
    RdGrpPeriodDaNeDostZak->setItemIndex(1);
    GrpBoxIzbPeriodDostZak = group("GrpBoxIzbPeriodDostZak", u"Дефиниране "_s);
    DateOtDostZak = picker("DateOtDostZak");
    DateDoDostZak = picker("DateDoDostZak");
    auto* pl = new QHBoxLayout(GrpBoxIzbPeriodDostZak);
    pl->addWidget(new QLabel(u"От"_s));
    pl->addWidget(DateOtDostZak);
    pl->addWidget(new QLabel(u"До"_s));
    pl->addWidget(DateDoDostZak);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Handlers::makeButton("SpeedButton1", u"Изход > Excel"_s, this, &TabRazplZak::SpeedButton1Click));
    int n = 2;
    for (const QString& caption : {u"Ново плащане"_s, u"Корекция плащане"_s, u"Изтриване плащане"_s, u"Разпл. доставки"_s}) {
        QToolButton* b = Handlers::makeButton(QStringLiteral("SpeedButton%1").arg(n++).toLatin1().constData(), caption);
        b->setEnabled(false);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(RdGrpDaNeDostZak);
    top->addWidget(GrpBoxIzbDostZak, 1);
    top->addStretch(1);
    top->addWidget(RdGrpPeriodDaNeDostZak);
    top->addWidget(GrpBoxIzbPeriodDostZak);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(buttons, 1);
    bottom->addWidget(currencyTable(QString(), list, this,
                                    {{u"Дължимо"_s, perCurrency("ZaPlastaneSum%1Agg")},
                                     {u"Платено"_s, perCurrency("PlatenoSum%1")},
                                     {u"За плащане"_s, perCurrency("OstatykSum%1")}}));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid5, 1);
    layout->addLayout(bottom);
    Handlers::connect(RdGrpDaNeDostZak, &RadioGroup::clicked, this, [this] { RdGrpDaNeDostZakClick(); });
    Handlers::connect(RdGrpPeriodDaNeDostZak, &RadioGroup::clicked, this, [this] { RdGrpPeriodDaNeDostZakClick(); });
    Handlers::connect(DBLkpCmBoxDosZak, &DBLookupComboBox::chosen, this, &TabRazplZak::DBLkpCmBoxDosZakCloseUp);
    for (QDateEdit* d : {DateOtDostZak, DateDoDostZak})
        Handlers::connect(d, &QDateEdit::editingFinished, this, [this] { ReloadPurchaserPayments(); });
}

void TabRazplZak::FormShow(const QDate& today)
{
    const QSignalBlocker a(DateOtDostZak), b(DateDoDostZak);
    DateDoDostZak->setDate(today);
    DateOtDostZak->setDate(today.addDays(-30));
    ReloadPurchaserPayments();
}

void TabRazplZak::ReloadPurchaserPayments()
{
    SmpDataset& ds = dm_.SmpSprRazpl_DostZak;
    ds.close();
    const Payments::Range purchasers =
        RdGrpDaNeDostZak->itemIndex() == 1 ? Payments::Range::only(purchaser_) : Payments::Range{1, 10000};
    setParams(ds, Payments::purchaserParams(purchasers, dates(RdGrpPeriodDaNeDostZak, DateOtDostZak, DateDoDostZak)));
    ds.open();
}

void TabRazplZak::RdGrpDaNeDostZakClick()
{
    const bool chosen = RdGrpDaNeDostZak->itemIndex() == 1;
    GrpBoxIzbDostZak->setVisible(chosen);
    DBGrid5->setColumnVisible(u"IMEZAKUPCHIK"_s, !chosen);
    ReloadPurchaserPayments();
}

void TabRazplZak::DBLkpCmBoxDosZakCloseUp()
{
    const QVariant purchaser = shownKey(DBLkpCmBoxDosZak);
    purchaser_ = purchaser.isNull() ? -1 : purchaser.toInt();
    ReloadPurchaserPayments();
}

void TabRazplZak::RdGrpPeriodDaNeDostZakClick()
{
    GrpBoxIzbPeriodDostZak->setVisible(RdGrpPeriodDaNeDostZak->itemIndex() == 1);
    ReloadPurchaserPayments();
}

void TabRazplZak::SpeedButton1Click() { exportList(dm_.SmpSprRazpl_DostZak, DBGrid5); }

// ---- Разплащания - обобщени, Разплащания с контрагенти --------------------------------------

TabRazplTipove::TabRazplTipove(TDMRazpl& dm)
{
    setObjectName(u"TabSheet6"_s);
    DBGrid6 = grid("DBGrid6", dm.SmpRazplKlientiObsto, this);
    DBGrid7 = grid("DBGrid7", dm.SmpRazplDostObsto, this);
    auto* clients = new QGroupBox(u"Продажби - разплащания "_s);
    (new QVBoxLayout(clients))->addWidget(DBGrid6);
    auto* suppliers = new QGroupBox(u"Доставки - разплащания "_s);
    (new QVBoxLayout(suppliers))->addWidget(DBGrid7);
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(clients);
    splitter->addWidget(suppliers);
    (new QVBoxLayout(this))->addWidget(splitter);
}

TabRazplKontr::TabRazplKontr(TDMRazpl& dm)
{
    setObjectName(u"TabSheet7"_s);
    DBGrid8 = grid("DBGrid8", dm.SmpRazplKontr, this);
    auto* box = new QGroupBox(u"Разплащания с контрагенти - доставчици / клиенти  ЗАДЪЛЖЕНИЯ ! "_s);
    (new QVBoxLayout(box))->addWidget(DBGrid8);
    (new QVBoxLayout(this))->addWidget(box);
}
