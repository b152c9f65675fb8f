#include "sales/formprodagbaelementi.h"

#include "data/dmns.h"
#include "data/dmprodagba.h"
#include "platform/base/clock.h"
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
#include "platform/widgets/keyfilter.h"
#include "sales/formprodagbamateriali.h"
#include "sales/formrealizaciaprint.h"
#include "sales/salebrowser.h"
#include "sales/qrstokrazpiska.h"

#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLineEdit* textBox(const char* name, int maxLength, int width = 0)
{
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0) e->setMaxLength(maxLength);
    if (width > 0) e->setFixedWidth(width);
    return e;
}

QDateEdit* dateBox(const char* name)
{
    auto* d = new QDateEdit;
    d->setObjectName(QString::fromLatin1(name));
    d->setDisplayFormat(u"dd.MM.yyyy"_s);
    d->setCalendarPopup(true);
    // A date the sale does not have shows empty and is saved as none.
    d->setMinimumDate(QDate(1900, 1, 1));
    d->setSpecialValueText(u" "_s);
    return d;
}

void showDate(QDateEdit* box, const QDate& date) { box->setDate(date.isValid() ? date : box->minimumDate()); }
QDate dateOf(const QDateEdit* box) { return box->date() == box->minimumDate() ? QDate() : box->date(); }

DBText* shown(const char* name, DataSource* source, const char* field)
{
    auto* t = new DBText;
    t->setObjectName(QString::fromLatin1(name));
    t->setDataSource(source);
    t->setDataField(QString::fromLatin1(field));
    return t;
}

QLabel* caption(const QString& text, const char* name = nullptr)
{
    auto* l = new QLabel(text);
    if (name) l->setObjectName(QString::fromLatin1(name));
    return l;
}

const QStringList kLineColumns = {
    u"NFAKT_INT"_s, u"NFAKTURA"_s, u"DATEFAKTURA"_s, u"ARTN_POLUCH"_s, u"ARTN_DOSTAV"_s, u"IME_MATERIAL_IZDELIE"_s,
    u"BARKOD"_s, u"IMEMKA"_s, u"BROI_MATERIAL_IZDELIE"_s, u"CENA_MATERIAL_IZDELIE"_s, u"CENA_MAT_IZD_DDS"_s,
    u"CENA_MAT_IZD_USD"_s, u"CENA_MAT_IZD_USD_DDS"_s, u"CENA_MAT_IZD_EUR"_s, u"CENA_MAT_IZD_EUR_DDS"_s,
    u"OTST_IZDELIE"_s, u"CENA_OBSTO_MATERIAL_IZDELIE"_s, u"CENA_OBSTO_MAT_IZD_DDS"_s, u"CENA_OBSTO_MAT_IZD_USD"_s,
    u"CENA_OBSTO_MAT_IZD_USD_DDS"_s, u"CENA_OBSTO_MAT_IZD_EUR"_s, u"CENA_OBSTO_MAT_IZD_EUR_DDS"_s,
    u"SUM_BROI_MAT_IZD_PLATENO"_s, u"SUM_BROI_MAT_IZD_VYRNATO"_s, u"OstatykBroiMatIzd"_s};

} // namespace

TFormProdagbaElementi::TFormProdagbaElementi(TDMNS& dm, TDMProdagba& lists, SmpDataset& sales,
                                             SmpDataset& clientBalances, TFormRealizaciaPrint& print,
                                             TFormProdagbaMateriali* lineEditor, QWidget* parent)
    : Form(parent), dm_(dm), lists_(lists), sales_(sales), clientBalances_(clientBalances), print_(print),
      lineEditor_(lineEditor)
{
    setObjectName(u"FormProdagbaElementi"_s);
    setWindowTitle(u"Продажба по фактура !  Печат на фактура / стокова разписка / !"_s);
    SaleBrowser::attachValues(lists.SmpRealizaciaProdagba, lists.SmpPlastProd, lists.SmpProdagbaPlastane);
    buildControls();
    print_.setStockSource(lists.SmpRealizaciaProdagba, [this] { return stockHeading(); }, [this] { return currentType_; });
}

StockDocHeading TFormProdagbaElementi::stockHeading() const
{
    const SmpDataset& l = lists_.SmpRealizaciaProdagba;
    const auto text = [&l](const char* f) { return l.value(QString::fromLatin1(f)).toString(); };
    const auto money = [&l](const char* f) { return InvoicePrint::money(l.value(QString::fromLatin1(f)).toDouble()); };
    StockDocHeading h;
    h.recipient = l.value(u"NKONTRAGENT"_s).toInt() != 0
                      ? InvoicePrint::counterpartyRecipient(text("IMEKONTRAGENT"), text("KONTR_GRAG"), text("KONTR_ADRES"),
                                                            text("KONTR_DAN_NO"), text("KONTR_BULSTAT"), text("KONTR_MOL"))
                      : InvoicePrint::naturalPersonRecipient(text("FZLICE_IME"), text("FZLICE_ADRES"), text("FZLICE_EGN"));
    // The number is the stock receipt's unless the recorded type names another.
    h.number = text("NSTOK_RAZP");
    switch (l.value(u"TIP_DOCUMENT"_s).toInt()) {
    case 2: h.title = TQRStockDocument::kStockReceiptTitle; break;
    case 3: h.title = TQRStockDocument::kConsignmentTitle, h.number = text("NKONSIGNACIA"); break;
    default: break;
    }
    if (currentType_ == 7 || currentType_ == 9) h.number = text("NEKSP_BEL");
    h.date = InvoicePrint::shortDate(dateOf(DateDocProdagba1));
    h.time = EdChas->text();
    h.order = text("NPORYCHKA");
    h.companyMol = text("IME_MOL_FIRMA");
    h.compiledBy = text("IME_MOL_FIRMA_SYSTAVIL");
    h.placeOfDeal = text("IME_OFIS_GRAD");
    h.receivedBy = text("CLIENT_IME");
    h.transport = text("NUM_TRANSPORT");
    h.remarks = EditBelegki->text();
    h.value = money("SUMA_FAKTURA_DDS"), h.discount = money("SUMA_OTST_DDS"), h.total = money("SUMA_PLASTANE");
    h.valueUsd = money("CENA_OBSTO_MAT_IZD_USD_SUM"), h.valueEur = money("CENA_OBSTO_MAT_IZD_EUR_SUM");
    h.discountUsd = money("SUMA_OTST_USD_DDS"), h.discountEur = money("SUMA_OTST_EUR_DDS");
    h.totalUsd = money("SUMA_PLASTANE_USD"), h.totalEur = money("SUMA_PLASTANE_EUR");
    h.words = text("SumaPlastaneTxt");
    h.byDocument = {h.total, h.totalUsd, h.totalEur};
    const SmpDataset& pay = lists_.SmpProdagbaPlastane;
    const auto paid = [&pay](const char* f) {
        return InvoicePrint::money(pay.isActive() ? pay.value(QString::fromLatin1(f)).toDouble() : 0);
    };
    h.paid = {paid("ObstoPlatenaSuma"), paid("ObstoPlatenaSumaUSD"), paid("ObstoPlatenaSumaEUR")};
    const auto balance = [this](const char* f) {
        const SmpDataset& b = clientBalances_;
        const SmpField* field = b.findField(QString::fromLatin1(f));
        return InvoicePrint::money(b.isActive() && !b.isEmpty() && field ? b.value(QString::fromLatin1(f)).toDouble() : 0);
    };
    h.remaining = {balance("OstatykSumLV"), balance("OstatykSumUSD"), balance("OstatykSumEUR")};
    h.gross = EdEkspBelBruto->text(), h.tare = EdEkspBelTara->text(), h.net = EdEkspBelNeto->text();
    h.materialName = text("IME_MATERIAL_IZDELIE");
    h.quantity = Formats::formatNumber(l.value(u"BROI_MATERIAL_IZDELIE"_s).toDouble(), u"# ### ##0.00"_s) + u" "_s + text("IMEMKA");
    h.requester = dm_.SmpIzbKontrSklad.isActive() && !dm_.SmpIzbKontrSklad.isEmpty()
                      ? dm_.SmpIzbKontrSklad.value(u"IMEKONTRAGENT"_s).toString() : QString();
    h.issuer = dm_.SmpMolFirma.isActive() && !dm_.SmpMolFirma.isEmpty() ? dm_.SmpMolFirma.value(u"IMEMOLFIRMA"_s).toString()
                                                                        : QString();
    return h;
}

void TFormProdagbaElementi::buildControls()
{
    const auto source = [this](SmpDataset& ds) {
        auto* s = new DataSource(&ds, this);
        s->setObjectName(u"DtSrc"_s + ds.objectName().mid(3));
        return s;
    };
    DataSource* lines = source(lists_.SmpRealizaciaProdagba);
    DataSource* payments = source(lists_.SmpProdagbaPlastane);
    DataSource* due = source(lists_.SmpPlastProd);

    DBText2 = shown("DBText2", lines, "NUMPRODAGBA");
    DBText1 = shown("DBText1", lines, "IMEKONTRAGENT");
    DBText11 = shown("DBText11", lines, "IMEFILIAL");
    DBText13 = shown("DBText13", lines, "IME_MATERIAL_IZDELIE");
    DBText8 = shown("DBText8", lines, "IME_DOKUMENT");
    DBText14 = new DBText;
    DBText14->setObjectName(u"DBText14"_s);
    DBLkpCmBIzborTipDok = DbControls::makeListLookup("DBLkpCmBIzborTipDok", source(dm_.SmpTipDok), "NTIP_DOKUMENT",
                                                     "IME_DOKUMENT", 220);
    Handlers::connect(DBLkpCmBIzborTipDok, &DBLookupComboBox::closeUp, this,
                      &TFormProdagbaElementi::DBLkpCmBIzborTipDokCloseUp);
    DateDocProdagba1 = dateBox("DateDocProdagba1");
    DateDocProdagba1->setEnabled(false);
    EdChas = textBox("EdChas", 8, 60);
    EdNfakt = textBox("EdNfakt", 12, 110);
    EdNfakt->setEnabled(false);
    SpdBtnNewNumFakt = Handlers::makeButton("SpdBtnNewNumFakt", u"Нов № факт."_s, this,
                                            &TFormProdagbaElementi::SpdBtnNewNumFaktClick);
    EdNStokRazp = textBox("EdNStokRazp", 10, 80);
    EdNKons = textBox("EdNKons", 10, 80);
    EdNPorych = textBox("EdNPorych", 10, 80);
    EdNEksBel = textBox("EdNEksBel", 10, 80);
    EdEkspBelBruto = textBox("EdEkspBelBruto", 12, 70);
    EdEkspBelTara = textBox("EdEkspBelTara", 12, 70);
    EdEkspBelNeto = textBox("EdEkspBelNeto", 12, 70);
    for (QLineEdit* e : {EdNStokRazp, EdNKons, EdNPorych, EdNEksBel, EdEkspBelBruto, EdEkspBelTara, EdEkspBelNeto})
        KeyFilter::amountsOnly(e, true);
    for (QLineEdit* e : {EdEkspBelBruto, EdEkspBelTara}) e->installEventFilter(this);
    EditBelegki = textBox("EditBelegki", 80);
    DateFaktPoluchena = dateBox("DateFaktPoluchena");
    EdClient_ime = textBox("EdClient_ime", 45);
    EdClient_EGN = textBox("EdClient_EGN", 10, 100);
    EdClient_LK = textBox("EdClient_LK", 10, 100);
    DateSybitie = dateBox("DateSybitie");
    DBLkpCmbVidPlastane = DbControls::makeListLookup("DBLkpCmbVidPlastane", source(dm_.SmpVidPlastane), "NVIDPLASTANE",
                                                     "VIDPLASTANE", 140);
    DBLkpCmbSystavil = DbControls::makeListLookup("DBLkpCmbSystavil", source(dm_.SmpMolFirma), "NMOL_FIRMA",
                                                  "IMEMOLFIRMA", 180);
    EdNumTransport = textBox("EdNumTransport", 15, 110);

    LbNfakt = caption(u"№ фактура"_s, "LbNfakt");
    LbNStokRazp = caption(u"№ст.разп."_s, "LbNStokRazp");
    LbNKons = caption(u"№ конс."_s, "LbNKons");
    LbNPorych = caption(u"№ поръч."_s, "LbNPorych");
    LbNEksBel = caption(u"№ Експ.бел."_s, "LbNEksBel");

    // Header.
    auto* head = new QGridLayout;
    head->addWidget(caption(u"Продажба -"_s), 0, 0);
    head->addWidget(DBText2, 0, 1);
    head->addWidget(caption(u"Клиент - "_s), 0, 2);
    head->addWidget(DBText1, 0, 3, 1, 3);
    head->addWidget(caption(u"Филиал -"_s), 0, 6);
    head->addWidget(DBText11, 0, 7, 1, 3);
    head->addWidget(DBText8, 1, 0, 1, 2);
    head->addWidget(DBLkpCmBIzborTipDok, 1, 2, 1, 2);
    head->addWidget(caption(u"Дата:"_s), 1, 4);
    head->addWidget(DateDocProdagba1, 1, 5);
    head->addWidget(caption(u"Час:"_s), 1, 6);
    head->addWidget(EdChas, 1, 7);
    auto* numbers = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{LbNfakt, EdNfakt, SpdBtnNewNumFakt, LbNStokRazp, EdNStokRazp, LbNKons,
                                                      EdNKons, LbNPorych, EdNPorych, LbNEksBel, EdNEksBel,
                                                      caption(u"Бруто"_s), EdEkspBelBruto, caption(u"Тара"_s),
                                                      EdEkspBelTara, caption(u"Нето"_s), EdEkspBelNeto})
        numbers->addWidget(w);
    numbers->addStretch(1);
    head->addLayout(numbers, 2, 0, 1, 10);
    head->addWidget(caption(u"Наименование на стоката -"_s), 3, 0, 1, 2);
    head->addWidget(DBText13, 3, 2, 1, 8);

    DBGrid1 = new DBGrid;
    DBGrid1->setObjectName(u"DBGrid1"_s);
    DBGrid1->setMinimumHeight(150);
    DBGrid1->setDataSource(lines);
    for (const QString& f : kLineColumns) DBGrid1->addColumn(f);
    DBGrid1->setColumnVisible(u"NFAKT_INT"_s, false);
    Handlers::connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TFormProdagbaElementi::SpdBtnIzgledClick);

    // Recipient of the goods and the remaining header boxes.
    auto* details = new QGridLayout;
    details->addWidget(caption(u"Обстоятелства /бележки :"_s), 0, 0);
    details->addWidget(EditBelegki, 0, 1, 1, 5);
    details->addWidget(caption(u"Стоката/услугата е получена на :"_s), 1, 0);
    details->addWidget(DateFaktPoluchena, 1, 1);
    details->addWidget(caption(u"От :"_s), 1, 2);
    details->addWidget(EdClient_ime, 1, 3, 1, 3);
    details->addWidget(caption(u"ЕГН :"_s), 2, 0);
    details->addWidget(EdClient_EGN, 2, 1);
    details->addWidget(caption(u"ЛК №"_s), 2, 2);
    details->addWidget(EdClient_LK, 2, 3);
    details->addWidget(caption(u"Възн.дан.събитие:"_s), 2, 4);
    details->addWidget(DateSybitie, 2, 5);
    details->addWidget(caption(u"Вид плащане :"_s), 3, 0);
    details->addWidget(DBLkpCmbVidPlastane, 3, 1);
    details->addWidget(caption(u"Съставил :"_s), 3, 2);
    details->addWidget(DBLkpCmbSystavil, 3, 3);
    details->addWidget(caption(u"№ на трансп. средство :"_s), 3, 4);
    details->addWidget(EdNumTransport, 3, 5);
    details->addWidget(caption(u"Основание за прилагане -"_s), 4, 0);
    details->addWidget(DBText14, 4, 1, 1, 5);

    // Totals and their words.
    GrpBoxDanFakt = DbControls::makeTotalsGroup("GrpBoxDanFakt", u"Фактура "_s, lines, "DBText",
                                                {{"Сума без ДДС :", "SUMA_FAKTURA"}, {"Отстъпка :", "SUMA_OTST"},
                                                 {"Данъчна основа :", "OBLAGAEMA_ST"}, {"Дан.ставка", "PROCENT_DDS"},
                                                 {"% Размер :", "DDS_FAKTURA"}, {"Сума за плащане :", "SUMA_DDS_FAKTURA"}});
    GrpBoxPlastane = DbControls::makeTotalsGroup("GrpBoxPlastane", u"Сток.разп., консигн. "_s, lines, "DBText",
                                                 {{"Стойност :", "SUMA_FAKTURA_DDS"}, {"Отстъпка :", "SUMA_OTST_DDS"},
                                                  {"Сума за плащане :", "SUMA_PLASTANE"}});
    auto* words = new QGroupBox(u"Словом "_s);
    words->setObjectName(u"GrpBoxSlovom"_s);
    DBTextDanFakt = shown("DBTextDanFakt", lines, "SumaDDSfakturaTXT");
    DBTextPlastane = shown("DBTextPlastane", lines, "SumaPlastaneTxt");
    for (DBText* t : {DBTextDanFakt, DBTextPlastane}) t->setWordWrap(true);
    auto* wl = new QVBoxLayout(words);
    wl->addWidget(DBTextDanFakt);
    wl->addWidget(DBTextPlastane);

    const auto rowOf = [](QGridLayout* g, int r, const QString& text, QWidget* value, const QString& unit) {
        g->addWidget(new QLabel(text), r, 0);
        g->addWidget(value, r, 1);
        g->addWidget(new QLabel(unit), r, 2);
    };
    GrpBoxDanniProd = new QGroupBox(u"Данни за продажбата "_s);
    GrpBoxDanniProd->setObjectName(u"GrpBoxDanniProd"_s);
    {
        auto* g = new QGridLayout(GrpBoxDanniProd);
        rowOf(g, 0, u"Фактура -"_s, DbControls::makeShownNumber("DBTextProdFaktura", due, "SUMA_DDS_FAKTURA", 90), u"лв."_s);
        rowOf(g, 1, u"Платено -"_s, DbControls::makeShownNumber("DBTextPlateno", payments, "ObstoPlatenaSuma", 90), u"лв."_s);
        rowOf(g, 2, u"За плащане -"_s, DbControls::makeShownNumber("DBTextZaPlastane", due, "PlastOstatyk", 90), u"лв."_s);
    }
    GrpBoxDanniKonsign = new QGroupBox(u"Данни за консигнацията "_s);
    GrpBoxDanniKonsign->setObjectName(u"GrpBoxDanniKonsign"_s);
    {
        auto* g = new QGridLayout(GrpBoxDanniKonsign);
        rowOf(g, 0, u"По документ -"_s, DbControls::makeShownNumber("DBTextKonsDok", lines, "BROI_MATERIAL_IZDELIE", 70), u"бр."_s);
        rowOf(g, 1, u"Платени -"_s, DbControls::makeShownNumber("DBTextKonsPlateni", lines, "SUM_BROI_MAT_IZD_PLATENO", 70), u"бр."_s);
        rowOf(g, 2, u"Върнати -"_s, DbControls::makeShownNumber("DBTextKonsVyrnati", lines, "SUM_BROI_MAT_IZD_VYRNATO", 70), u"бр."_s);
        rowOf(g, 3, u"Остатък -"_s, DbControls::makeShownNumber("DBTextKonsOstatyk", lines, "OstatykBroiMatIzd", 70), u"бр."_s);
    }
    PanelDanni = new QWidget;
    PanelDanni->setObjectName(u"PanelDanni"_s);
    {
        auto* l = new QHBoxLayout(PanelDanni);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(GrpBoxDanniProd);
        l->addWidget(GrpBoxDanniKonsign);
    }

    // Deferred payments and consignment settlements.
    const auto panel = [](const char* name, const QString& title) {
        auto* p = new QGroupBox(title);
        p->setObjectName(QString::fromLatin1(name));
        return p;
    };
    auto* plast = panel("PanelPlastRazsr", u"Плащания - фактури/сток.разп./ "_s);
    PanelPlastRazsr = plast;
    DBGridPlastRazsr = new DBGrid;
    DBGridPlastRazsr->setObjectName(u"DBGridPlastRazsr"_s);
    DBGridPlastRazsr->setMaximumHeight(130);
    DBGridPlastRazsr->setDataSource(payments);
    DBGridPlastRazsr->addColumn(u"PLASTANE_DATE"_s, {}, 80);
    DBGridPlastRazsr->addColumn(u"PLASTANE_SUMA"_s, {}, 90);
    Handlers::connect(DBGridPlastRazsr, &QAbstractItemView::clicked, this, &TFormProdagbaElementi::DBGridPlastRazsrCellClick);
    Handlers::connect(DBGridPlastRazsr, &DBGrid::keyPressed, this, &TFormProdagbaElementi::DBGridPlastRazsrCellClick);
    Handlers::connect(DBGridPlastRazsr, &DBGrid::keyReleased, this, &TFormProdagbaElementi::DBGridPlastRazsrCellClick);
    DateVnoska = dateBox("DateVnoska");
    DBEdPlastSuma = textBox("DBEdPlastSuma", 12, 90);
    KeyFilter::amountsOnly(DBEdPlastSuma, true);
    SpdBtnNovZapis = Handlers::makeButton("SpdBtnNovZapis", u"Нов запис"_s, this, &TFormProdagbaElementi::SpdBtnNovZapisClick);
    SpdBtnZapis = Handlers::makeButton("SpdBtnZapis", u"Запис"_s, this, &TFormProdagbaElementi::SpdBtnZapisClick);
    {
        auto* l = new QGridLayout(plast);
        l->addWidget(DBGridPlastRazsr, 0, 0, 1, 4);
        l->addWidget(DateVnoska, 1, 0);
        l->addWidget(DBEdPlastSuma, 1, 1);
        l->addWidget(SpdBtnNovZapis, 1, 2);
        l->addWidget(SpdBtnZapis, 1, 3);
    }
    const auto settlement = [&](const char* panelName, const QString& title, const char* gridName, const char* navName,
                                SmpDataset& ds, const char* dateField, const char* qtyField, DBGrid*& grid,
                                DBNavigator*& nav) {
        auto* p = panel(panelName, title);
        grid = new DBGrid;
        grid->setObjectName(QString::fromLatin1(gridName));
        grid->setMaximumHeight(130);
        grid->setDataSource(source(ds));
        grid->addColumn(QString::fromLatin1(dateField), {}, 80);
        grid->addColumn(QString::fromLatin1(qtyField), {}, 80);
        nav = new DBNavigator;
        nav->setObjectName(QString::fromLatin1(navName));
        nav->setDataSource(grid->dataSource());
        nav->setButtons(DBNavigator::AllButtons);
        auto* l = new QVBoxLayout(p);
        l->addWidget(grid, 1);
        l->addWidget(nav);
        return p;
    };
    PanelKonsPlast = settlement("PanelKonsPlast", u"Консигнация - плащания"_s, "DBGridKonsPlast", "DBNavigatorKonsPlast",
                                lists_.SmpRealizKons, "DATE_PLATENO", "BROI_MAT_IZD_PLATENO", DBGridKonsPlast,
                                DBNavigatorKonsPlast);
    PanelKonsVyrn = settlement("PanelKonsVyrn", u"Консигнация - върната стока "_s, "DBGridKonsVyrn",
                               "DBNavigatorKonsVyrn", lists_.SmpRealizKonsVyr, "DATE_VYRNATO", "BROI_MAT_IZD_VYRNATO",
                               DBGridKonsVyrn, DBNavigatorKonsVyrn);

    SpdBtnIztrivane = Handlers::makeButton("SpdBtnIztrivane", u"Изтриване"_s, this, &TFormProdagbaElementi::SpdBtnIztrivaneClick);
    SpdBtnIztrivane->setToolTip(u"Изтриване на продажба"_s);
    SpdBtnPechat = Handlers::makeButton("SpdBtnPechat", u"Печат"_s, this, &TFormProdagbaElementi::SpdBtnPechatClick);
    SpdBtnIzgled = Handlers::makeButton("SpdBtnIzgled", u"Изглед"_s, this, &TFormProdagbaElementi::SpdBtnIzgledClick);
    SpdBtnKorekcia = Handlers::makeButton("SpdBtnKorekcia", u"Корекция"_s, this, &TFormProdagbaElementi::SpdBtnKorekciaClick);
    SpdBtnZapKorekcia = Handlers::makeButton("SpdBtnZapKorekcia", u"Зап.корекция"_s, this,
                                             &TFormProdagbaElementi::SpdBtnZapKorekciaClick);
    SpdBtnIzhod = Handlers::makeButton("SpdBtnIzhod", u"Изход"_s);
    Handlers::connectClick(SpdBtnIzhod, this, [this] { close(); });

    auto* totals = new QHBoxLayout;
    totals->addWidget(GrpBoxDanFakt);
    totals->addWidget(GrpBoxPlastane);
    totals->addWidget(words, 1);
    auto* lower = new QHBoxLayout;
    lower->addWidget(PanelPlastRazsr, 2);
    lower->addWidget(PanelKonsPlast, 1);
    lower->addWidget(PanelKonsVyrn, 1);
    auto* buttons = new QHBoxLayout;
    for (QToolButton* b : {SpdBtnIztrivane, SpdBtnPechat, SpdBtnIzgled, SpdBtnKorekcia, SpdBtnZapKorekcia}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(SpdBtnIzhod);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(details);
    layout->addLayout(totals);
    layout->addWidget(PanelDanni);
    layout->addLayout(lower, 0);
    layout->addLayout(buttons);
    resize(1100, 820);
}

QString TFormProdagbaElementi::saleNumber() const { return saleNumber_; }

void TFormProdagbaElementi::reloadLines()
{
    for (SmpDataset* ds : {&lists_.SmpRealizaciaProdagba, &lists_.SmpPlastProd}) {
        ds->close();
        ds->setParam(u"Num_izbor"_s, int(mode_));
        ds->setParam(u"NumFaktura"_s, invoiceText_);
        ds->setParam(u"NumFakt_int"_s, invoiceInt_);
        ds->setParam(u"Nprodagba"_s, saleNumber_);
        ds->open();
    }
    // Lines of a summary invoice: stand on the chosen sale's first line.
    lists_.SmpRealizaciaProdagba.locate(u"NUMPRODAGBA"_s, {saleNumber_});
}

int TFormProdagbaElementi::open(Mode mode, const QString& saleNumber, const QString& invoiceText, int invoiceInt)
{
    mode_ = mode;
    saleNumber_ = saleNumber, invoiceText_ = invoiceText, invoiceInt_ = invoiceInt;
    reloadLines();
    return UiService::current().showModal(this);
}

void TFormProdagbaElementi::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    Handlers::run([this] { FormShow(); });
}

void TFormProdagbaElementi::FormShow()
{
    SmpDataset& l = lists_.SmpRealizaciaProdagba;
    if (!l.isActive()) return;
    const bool full = mode_ == BySale;
    for (QWidget* w : {PanelPlastRazsr, PanelDanni, PanelKonsPlast, PanelKonsVyrn}) w->setVisible(full);
    SpdBtnIztrivane->setEnabled(full);
    SpdBtnZapKorekcia->setEnabled(full);

    const int numbering = dm_.SmpFirma.isActive() ? dm_.SmpFirma.value(u"NFAKT_TXT_INT"_s).toInt() : 0;
    const QString symbol = dm_.SmpFirma.isActive() ? dm_.SmpFirma.value(u"NFAKT_SIMVOL"_s).toString().trimmed() : QString();
    EdNfakt->setText(SaleBrowser::invoiceNumberText(numbering, l.value(u"NFAKTURA"_s), l.value(u"NFAKT_INT"_s), symbol));
    const auto number = [&l](const char* f) { return l.value(QString::fromLatin1(f)).toString(); };
    EdNStokRazp->setText(number("NSTOK_RAZP"));
    EdNKons->setText(number("NKONSIGNACIA"));
    EdNPorych->setText(number("NPORYCHKA"));
    EdNEksBel->setText(number("NEKSP_BEL"));
    EditBelegki->setText(number("BELEGKA").left(80));
    const auto date = [&l](const char* f) { return l.value(QString::fromLatin1(f)).toDate(); };
    showDate(DateFaktPoluchena, date("CLIENT_STOKA_POLUCHENA_DATE"));
    EdClient_ime->setText(number("CLIENT_IME"));
    EdClient_EGN->setText(number("CLIENT_EGN"));
    EdClient_LK->setText(number("CLIENT_LK"));
    showDate(DateSybitie, date("CLIENT_LK_IZD"));
    EdNumTransport->setText(number("NUM_TRANSPORT"));
    showDate(DateDocProdagba1, date("DATEFAKTURA"));
    EdChas->setText(Clock::now().time().toString(u"hh:mm:ss"_s));
    DBText14->setText(dm_.SmpOsnovDDS.isActive()
                          ? dm_.SmpOsnovDDS.lookup(u"NUM_OSNOVANIE"_s, {l.value(u"NUM_OSNOVANIE"_s)}, u"IME_OSNOVANIE"_s).toString()
                          : QString());

    SmpDataset& pay = lists_.SmpProdagbaPlastane;
    pay.close();
    pay.open();
    pay.last();
    const QDate last = pay.isEmpty() ? QDate() : pay.value(u"PLASTANE_DATE"_s).toDate();
    DateVnoska->setDate(last.isValid() ? last : Clock::today());
    for (SmpDataset* ds : {&lists_.SmpRealizKons, &lists_.SmpRealizKonsVyr})
        if (!ds->isActive()) ds->open();
    lists_.SmpPlastProd.refresh();

    // The recorded type is the window's current one: "Зап.корекция" then keeps it unless the user
    // chooses another.
    currentType_ = l.value(u"TIP_DOCUMENT"_s).toInt();
    DBLkpCmBIzborTipDok->setKeyValue(currentType_);
    ApplyBrowserDocumentTypeMode(currentType_);

    const int counterparty = l.value(u"NKONTRAGENT"_s).toInt();
    clientBalances_.close();
    clientBalances_.setParam(u"NTIPKontr_Ot"_s, 1);
    clientBalances_.setParam(u"NTIPKontr_Do"_s, 100);
    clientBalances_.setParam(u"NKontragent_Ot"_s, counterparty);
    clientBalances_.setParam(u"NKontragent_Do"_s, counterparty);
    clientBalances_.setParam(u"DateFaktura_Ot"_s, QDate(2000, 1, 1));
    clientBalances_.setParam(u"DateFaktura_Do"_s, QDate(2020, 1, 1));
    clientBalances_.open();

    SpdBtnKorekcia->setEnabled(counterparty != 0);
    SpdBtnKorekcia->setToolTip(u"Корекцията на продажба !"_s);
}

void TFormProdagbaElementi::ApplyBrowserDocumentTypeMode(int d)
{
    enum { Invoice = 1, NonInvoice = 2, None = 0 };
    struct Row
    {
        bool konsign, bgn, docBgn, net, currencies, articles, invoiceNo;
        int totals;
        bool enInvoice, enStock, enKons, enOrder, enDispatch;
    };
    Row r{};
    switch (d) {
    case 0: case 1: r = {false, true, false, true, false, false, true, Invoice, true, false, false, false, false}; break;
    case 2: r = {false, true, true, false, false, false, false, NonInvoice, false, true, false, false, false}; break;
    case 3: r = {true, true, true, false, false, false, false, NonInvoice, false, false, true, false, false}; break;
    case 4: r = {false, false, false, false, false, true, false, None, false, true, false, true, false}; break;
    case 5: r = {false, true, false, true, false, true, true, Invoice, true, false, false, true, false}; break;
    case 6: case 8: r = {false, true, true, false, true, false, false, NonInvoice, false, true, false, false, false}; break;
    case 7: r = {false, true, true, false, false, false, false, NonInvoice, false, false, false, false, true}; break;
    case 100: r = {false, true, true, false, false, false, true, NonInvoice, true, false, false, false, false}; break;
    default: return;  // other types keep the previous type's settings
    }
    const auto show = [this](std::initializer_list<const char*> fields, bool on) {
        for (const char* f : fields) DBGrid1->setColumnVisible(QString::fromLatin1(f), on);
    };
    show({"SUM_BROI_MAT_IZD_PLATENO", "SUM_BROI_MAT_IZD_VYRNATO", "OstatykBroiMatIzd"}, r.konsign);
    show({"CENA_MATERIAL_IZDELIE"}, r.bgn);
    show({"CENA_MAT_IZD_DDS", "CENA_OBSTO_MAT_IZD_DDS"}, r.docBgn);
    show({"CENA_OBSTO_MATERIAL_IZDELIE"}, r.net);
    show({"CENA_MAT_IZD_USD", "CENA_MAT_IZD_EUR", "CENA_OBSTO_MAT_IZD_USD", "CENA_OBSTO_MAT_IZD_EUR", "CENA_MAT_IZD_USD_DDS",
          "CENA_MAT_IZD_EUR_DDS", "CENA_OBSTO_MAT_IZD_USD_DDS", "CENA_OBSTO_MAT_IZD_EUR_DDS"},
         r.currencies);
    show({"ARTN_POLUCH", "ARTN_DOSTAV", "BARKOD"}, r.articles);
    const bool integer = dm_.SmpFirma.isActive() && dm_.SmpFirma.value(u"NFAKT_TXT_INT"_s).toInt() == 1;
    DBGrid1->setColumnVisible(u"NFAKTURA"_s, r.invoiceNo && !integer);
    DBGrid1->setColumnVisible(u"NFAKT_INT"_s, r.invoiceNo && integer);
    GrpBoxDanFakt->setVisible(r.totals == Invoice);
    DBTextDanFakt->setVisible(r.totals == Invoice);
    GrpBoxPlastane->setVisible(r.totals == NonInvoice);
    DBTextPlastane->setVisible(r.totals == NonInvoice);
    for (QWidget* w : std::initializer_list<QWidget*>{LbNfakt, SpdBtnNewNumFakt}) w->setEnabled(r.enInvoice);
    for (QWidget* w : std::initializer_list<QWidget*>{LbNStokRazp, EdNStokRazp}) w->setEnabled(r.enStock);
    for (QWidget* w : std::initializer_list<QWidget*>{LbNKons, EdNKons}) w->setEnabled(r.enKons);
    for (QWidget* w : std::initializer_list<QWidget*>{LbNPorych, EdNPorych}) w->setEnabled(r.enOrder);
    for (QWidget* w : std::initializer_list<QWidget*>{LbNEksBel, EdNEksBel, EdEkspBelBruto, EdEkspBelTara, EdEkspBelNeto})
        w->setEnabled(r.enDispatch);
}

void TFormProdagbaElementi::DBLkpCmBIzborTipDokCloseUp()
{
    const QVariant key = DBLkpCmBIzborTipDok->keyValue();
    if (key.isNull()) return;
    currentType_ = key.toInt();
    ApplyBrowserDocumentTypeMode(currentType_);
}

void TFormProdagbaElementi::SpdBtnNewNumFaktClick()
{
    const int numbering = dm_.SmpFirma.isActive() ? dm_.SmpFirma.value(u"NFAKT_TXT_INT"_s).toInt() : 0;
    const int office = lists_.SmpRealizaciaProdagba.value(u"NFIRMA_OFIS"_s).toInt();
    if (const std::optional<QString> n = SaleBrowser::proposeInvoiceNumber(dm_.SQLConnectNS, numbering, office))
        EdNfakt->setText(*n);
}

void TFormProdagbaElementi::SaveSaleCorrections()
{
    SmpDataset& l = lists_.SmpRealizaciaProdagba;
    l.checkBrowseMode();
    for (QLineEdit* e : {EdNStokRazp, EdNKons, EdNEksBel})
        if (e->text().isEmpty()) e->setText(u"0"_s);
    SaleBrowser::HeaderCorrection h;
    for (const auto& [box, target] : {std::pair{EdNStokRazp, &h.stockReceipt}, {EdNKons, &h.consignment},
                                      {EdNEksBel, &h.dispatchNote}}) {
        const std::optional<int> n = SaleBrowser::numberBox(box->text());
        if (!n) {
            UiService::current().showMessage(u"'%1' не е цяло число !"_s.arg(box->text()));
            return;
        }
        *target = *n;
    }
    const auto chosen = [](DBLookupComboBox* box) {
        const QVariant k = box->keyValue();
        return k.isNull() || box->currentText().isEmpty() ? std::optional<int>() : std::optional<int>(k.toInt());
    };
    h.saleNumber = saleNumber_;
    h.paymentType = SaleBrowser::keyOrRecorded(
        chosen(DBLkpCmbVidPlastane),
        SaleBrowser::paymentTypeByName(dm_.SQLConnectNS, l.value(u"IMEVIDPLASTANE"_s).toString()),
        l.value(u"NUMVIDPLASTANE"_s).toInt());
    h.compiledBy = SaleBrowser::keyOrRecorded(
        chosen(DBLkpCmbSystavil),
        SaleBrowser::employeeByName(dm_.SQLConnectNS, l.value(u"IME_MOL_FIRMA_SYSTAVIL"_s).toString()),
        l.value(u"NUMMOL_FIRMA_SYSTAVIL"_s).toInt());
    h.order = EdNPorych->text();
    h.transport = EdNumTransport->text();
    h.documentType = currentType_;
    h.remarks = EditBelegki->text();
    h.goodsReceived = dateOf(DateFaktPoluchena);
    h.taxEvent = dateOf(DateSybitie);
    h.clientName = EdClient_ime->text();
    h.clientEgn = EdClient_EGN->text();
    h.clientLk = EdClient_LK->text();
    QVector<SaleBrowser::PriceCorrection> prices;
    const auto at = [&l](int i, const char* f) { return l.valueAt(i, l.fieldByName(QString::fromLatin1(f))); };
    for (int i = 0; i < l.recordCount(); ++i) {
        SaleBrowser::PriceCorrection c;
        c.key = at(i, "AUTONUM").toInt();
        c.saleNumber = at(i, "NUMPRODAGBA").toString();
        c.invoiceText = at(i, "NFAKTURA").toString().isEmpty() ? QVariant() : at(i, "NFAKTURA");
        c.invoiceInt = at(i, "NFAKT_INT").toInt();
        c.date = at(i, "DATEFAKTURA").toDate();
        c.material = at(i, "NUMMATERIAL").toInt();
        c.priceLv = at(i, "CENA_MATERIAL_IZDELIE").toDouble();
        c.priceUsd = at(i, "CENA_MAT_IZD_USD").toDouble();
        c.priceEur = at(i, "CENA_MAT_IZD_EUR").toDouble();
        c.discountPct = at(i, "OTST_IZDELIE").toDouble();
        prices << c;
    }
    SaleBrowser::saveCorrections(dm_.SQLConnectNS, h, prices);
    if (sales_.isActive()) sales_.refresh();
    reloadLines();
}

void TFormProdagbaElementi::SpdBtnZapKorekciaClick()
{
    if (!UiService::current().askYesNo(u" Запис корекция на документ ?"_s)) return;
    SaveSaleCorrections();
}

void TFormProdagbaElementi::SpdBtnIztrivaneClick()
{
    if (mode_ != BySale) return;
    if (!UiService::current().askYesNo(u" Потвърдете изтриване на продажба ? "_s)) return;
    SaleBrowser::deleteSale(dm_.SQLConnectNS, saleNumber_);
    if (sales_.isActive()) sales_.refresh();
    close();
}

void TFormProdagbaElementi::SpdBtnNovZapisClick()
{
    lists_.SmpProdagbaPlastane.append();
    DateVnoska->setDate(Clock::today());
    DBEdPlastSuma->clear();
}

void TFormProdagbaElementi::SpdBtnZapisClick()
{
    SmpDataset& pay = lists_.SmpProdagbaPlastane;
    if (pay.state() == SmpDataset::State::Browse) {
        if (pay.isEmpty()) return;
        pay.edit();
    }
    pay.setValue(u"PLASTANE_DATE"_s, DateVnoska->date());
    pay.setValue(u"NKONTRAGENT"_s, lists_.SmpRealizaciaProdagba.value(u"NKONTRAGENT"_s));
    if (!DBEdPlastSuma->text().isEmpty())
        pay.setValue(u"PLASTANE_SUMA"_s, Formats::textToNumber(DBEdPlastSuma->text()).value_or(0));
    pay.post();
    pay.refresh();
    lists_.SmpPlastProd.refresh();
}

void TFormProdagbaElementi::DBGridPlastRazsrCellClick()
{
    const SmpDataset& pay = lists_.SmpProdagbaPlastane;
    const QDate d = pay.isActive() && !pay.isEmpty() ? pay.value(u"PLASTANE_DATE"_s).toDate() : QDate();
    DateVnoska->setDate(d.isValid() ? d : Clock::today());
    if (pay.isActive() && !pay.isEmpty()) DBEdPlastSuma->setText(Formats::numberToText(pay.value(u"PLASTANE_SUMA"_s).toDouble()));
}

void TFormProdagbaElementi::EdEkspBelBrutoExit()
{
    for (QLineEdit* e : {EdEkspBelBruto, EdEkspBelTara})
        if (e->text().isEmpty()) e->setText(u"0"_s);
    EdEkspBelNeto->setText(SaleBrowser::netWeight(EdEkspBelBruto->text(), EdEkspBelTara->text()));
}

bool TFormProdagbaElementi::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && (watched == EdEkspBelBruto || watched == EdEkspBelTara))
        Handlers::run([this] { EdEkspBelBrutoExit(); });
    return Form::eventFilter(watched, event);
}

void TFormProdagbaElementi::SpdBtnKorekciaClick()
{
    QStringList sales;
    const SmpDataset& l = lists_.SmpRealizaciaProdagba;
    for (int i = 0; i < l.recordCount(); ++i) sales << l.valueAt(i, l.fieldByName(u"NUMPRODAGBA"_s)).toString();
    if (const QString why = SaleBrowser::lineCorrectionRefusal(sales); !why.isEmpty()) {
        UiService::current().showMessage(why);
        return;
    }
    if (!lineEditor_ || l.isEmpty()) return;
    lineEditor_->openCorrection(sales.value(0, saleNumber_));
    if (sales_.isActive()) sales_.refresh();
    reloadLines();
    FormShow();
}

void TFormProdagbaElementi::SpdBtnIzgledClick()
{
    lists_.SmpRealizaciaProdagba.checkBrowseMode();
    print_.preview(saleNumber_);
}

void TFormProdagbaElementi::SpdBtnPechatClick()
{
    lists_.SmpRealizaciaProdagba.checkBrowseMode();
    print_.open(saleNumber_);
    SaveSaleCorrections();
}
