#include "sales/formprodagba.h"

#include "data/dmns.h"
#include "data/dmprodagba.h"
#include "platform/base/clock.h"
#include "platform/base/formats.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"
#include "sales/documentprintdialog.h"
#include "sales/documenttype.h"
#include "sales/formprodagbamateriali.h"
#include "sales/linecolumns.h"
#include "sales/numbering.h"
#include "sales/saleprint.h"
#include "sales/salelines.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// A box that takes digits and "." only (and "/" where asked), up to a length.
QLineEdit* numberBox(const char* name, int maxLength = 0, const QString& extra = {})
{
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9."_s + extra + u"]*"_s), e));
    if (maxLength > 0) e->setMaxLength(maxLength);
    return e;
}

QLineEdit* textBox(const char* name, int maxLength)
{
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    return e;
}

QDateEdit* dateBox(const char* name)
{
    auto* d = new QDateEdit;
    d->setObjectName(QString::fromLatin1(name));
    d->setDisplayFormat(u"dd.MM.yyyy"_s);
    d->setCalendarPopup(true);
    return d;
}

QLabel* label(const char* name, const QString& caption)
{
    auto* l = new QLabel(caption);
    if (name) l->setObjectName(QString::fromLatin1(name));
    return l;
}

// The typed number of a box: empty counts as 0; text that is not a number is reported.
double typedNumber(const QLineEdit* box, const QString& what, QStringList* bad)
{
    const QString text = box->text().trimmed();
    if (text.isEmpty()) return 0;
    if (const std::optional<double> n = Formats::textToNumber(text)) return *n;
    if (bad) *bad << u"Невалидно число в \"%1\": \"%2\" !"_s.arg(what, text);
    return 0;
}

} // namespace

TFormProdagba::TFormProdagba(TDMNS& dm, TDMProdagba& sale, TFormProdagbaMateriali& items, TFormOKBottomDlg& printDialog,
                             QWidget* parent)
    : Form(parent), dm_(dm), sale_(sale), items_(items), printDialog_(printDialog),
      print_(std::make_unique<SalePrint>(*this, dm, sale.SmpProdagbaTempNew))
{
    setObjectName(u"FormProdagba"_s);
    setWindowTitle(u"Продажба на изделия, комплекти, материали - Фактура / Стокова разписка / !"_s);

    const auto source = [this](SmpDataset& ds) { return new DataSource(&ds, this); };
    lines_ = source(sale.SmpProdagbaTempNew);
    lines_->setObjectName(u"DtSrcProdagbaTempNew"_s);
    DataSource* firma = source(dm.SmpFirma);

    // Recipient.
    DBLkpCmBoxTipKontr = DbControls::makeListLookup("DBLkpCmBoxTipKontr", source(dm.SmpIzbTipKontr), "NTIP_KONTRAGENT", "KONTRAGENT", 200);
    DBLkpCmBoxImeKontr = DbControls::makeListLookup("DBLkpCmBoxImeKontr", source(dm.SmpIzbKontrSklad), "NKONTRAGENT", "IMEKONTRAGENT", 280);
    DBLkpCmBoxMOLKontr = DbControls::makeListLookup("DBLkpCmBoxMOLKontr", source(dm.SmpIzbKontrMOLSklad), "NMOL", "IMEMOL", 200);
    DBLkpCmBoxFilial = DbControls::makeListLookup("DBLkpCmBoxFilial", source(dm.SmpIzbKontrFilialSklad), "NFILIAL", "IMEFILIAL", 200);
    EdFzLiceIme = textBox("EdFzLiceIme", 45);
    EdFzLiceAdres = textBox("EdFzLiceAdres", 40);
    EdFzLiceEGN = numberBox("EdFzLiceEGN", 10);
    SpdBtnNomenkl = Handlers::makeButton("SpdBtnNomenkl", u"Номенклатури"_s, this, &TFormProdagba::SpdBtnNomenklClick);
    auto* recipient = new QGroupBox(u"Получател "_s);
    {
        auto* g = new QGridLayout(recipient);
        g->addWidget(label("LbTipKontr", u"Тип контргент :"_s), 0, 0);
        g->addWidget(DBLkpCmBoxTipKontr, 0, 1);
        g->addWidget(SpdBtnNomenkl, 0, 2);
        g->addWidget(label("LbImeKontr", u"Име :"_s), 1, 0);
        g->addWidget(DBLkpCmBoxImeKontr, 1, 1, 1, 2);
        g->addWidget(label("LbMOLKontr", u"МОЛ :"_s), 2, 0);
        g->addWidget(DBLkpCmBoxMOLKontr, 2, 1, 1, 2);
        g->addWidget(label("LbFilial", u"Филиал :"_s), 3, 0);
        g->addWidget(DBLkpCmBoxFilial, 3, 1, 1, 2);
        g->addWidget(label("LbFzLiceIme", u"ФЛ име :"_s), 4, 0);
        g->addWidget(EdFzLiceIme, 4, 1, 1, 2);
        g->addWidget(label("LbFzLiceAdres", u"ФЛ адрес :"_s), 5, 0);
        g->addWidget(EdFzLiceAdres, 5, 1, 1, 2);
        g->addWidget(label("LbFzLiceEGN", u"ФЛ ЕГН :"_s), 6, 0);
        g->addWidget(EdFzLiceEGN, 6, 1, 1, 2);
    }

    // Supplier: the company.
    DBText7 = DbControls::makeShownNumber("DBText7", firma, "IMEFIRMA", 100);
    DBText7->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    DBLookupComboBox2 = DbControls::makeListLookup("DBLookupComboBox2", source(dm.SmpMolFirma), "NMOL_FIRMA", "IMEMOLFIRMA", 200);
    DBLookupComboBox1 = DbControls::makeListLookup("DBLookupComboBox1", source(dm.SmpFirmaOfisi), "POSTKOD", "ImeGrad", 200);
    DBLookupComboBox5 = DbControls::makeListLookup("DBLookupComboBox5", source(dm.SmpOsnovDDS), "NUM_OSNOVANIE", "IME_OSNOVANIE", 200);
    DBText5 = DbControls::makeShownNumber("DBText5", firma, "DDS_PROCENT", 100);
    Edit_DDS = numberBox("Edit_DDS");
    Edit_DDS->setMaximumWidth(60);
    RdGrpSklObDaNe = new RadioGroup(u"RdGrpSklObDaNe"_s, u"Чрез складов обект "_s, {u"Да"_s, u"Не"_s});
    LbNfaktKred = label("LbNfaktKred", u"Кредитно известие към факт.№/дата"_s);
    EditNfaktKred = textBox("EditNfaktKred", 40);
    auto* supplier = new QGroupBox(u"Доставчик "_s);
    {
        auto* g = new QGridLayout(supplier);
        g->addWidget(DBText7, 0, 0, 1, 4);
        g->addWidget(label(nullptr, u"МОЛ :"_s), 1, 0);
        g->addWidget(DBLookupComboBox2, 1, 1, 1, 3);
        g->addWidget(label(nullptr, u"Място на сделката :"_s), 2, 0);
        g->addWidget(DBLookupComboBox1, 2, 1, 1, 3);
        g->addWidget(label(nullptr, u"Основание за прилагане"_s), 3, 0);
        g->addWidget(DBLookupComboBox5, 3, 1, 1, 3);
        g->addWidget(label(nullptr, u"Данъчна ставка"_s), 4, 0);
        auto* rate = new QHBoxLayout;
        rate->addWidget(DBText5);
        rate->addWidget(label(nullptr, u"%"_s));
        rate->addWidget(label(nullptr, u"Заложено ДДС"_s));
        rate->addWidget(Edit_DDS);
        rate->addStretch(1);
        g->addLayout(rate, 4, 1, 1, 3);
        g->addWidget(RdGrpSklObDaNe, 5, 0, 1, 2);
        g->addWidget(LbNfaktKred, 6, 0);
        g->addWidget(EditNfaktKred, 6, 1, 1, 3);
    }

    // Document strip.
    DBLkpCmBIzborTipDok = DbControls::makeListLookup("DBLkpCmBIzborTipDok", source(dm.SmpTipDok), "NTIP_DOKUMENT", "IME_DOKUMENT", 220);
    LbNfakt = label("LbNfakt", u"№фактура"_s);
    EditNFakt = textBox("EditNFakt", 10);
    // Integer invoice numbers start with the company's one-character symbol; digits follow it.
    EditNFakt->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[^0-9.]?[0-9.]*"_s), EditNFakt));
    DateFaktProdagba = dateBox("DateFaktProdagba");
    EdChas = new QTimeEdit;
    EdChas->setObjectName(u"EdChas"_s);
    EdChas->setDisplayFormat(u"hh:mm"_s);
    LbNstRAzp = label("LbNstRAzp", u"№ст.разп."_s);
    EdNstRazp = numberBox("EdNstRazp", 10);
    LbNkons = label("LbNkons", u"№ конс."_s);
    EdNkons = numberBox("EdNkons", 10);
    LbNporychka = label("LbNporychka", u"№поръч."_s);
    EdNporychka = numberBox("EdNporychka", 10, u"/"_s);
    LbNEkspBel = label("LbNEkspBel", u"№ бел./Иск."_s);
    EdEkspBelN = numberBox("EdEkspBelN", 10);
    EdEkspBelTara = numberBox("EdEkspBelTara", 12);
    EdEkspBelBruto = numberBox("EdEkspBelBruto", 12);
    EdEkspBelNeto = numberBox("EdEkspBelNeto", 12);
    auto* strip = new QGridLayout;
    {
        int c = 0;
        const auto add = [&](QWidget* caption, QWidget* box) {
            strip->addWidget(caption, 0, c);
            strip->addWidget(box, 1, c++);
        };
        add(label(nullptr, u"Тип документ"_s), DBLkpCmBIzborTipDok);
        add(LbNfakt, EditNFakt);
        add(label(nullptr, u"Дата :"_s), DateFaktProdagba);
        add(label(nullptr, u"Час:"_s), EdChas);
        add(LbNstRAzp, EdNstRazp);
        add(LbNkons, EdNkons);
        add(LbNporychka, EdNporychka);
        add(LbNEkspBel, EdEkspBelN);
        add(label("LbEkspBelTara", u"Тара"_s), EdEkspBelTara);
        add(label("LbEkspBelBruto", u"Бруто"_s), EdEkspBelBruto);
        add(label("LbEkspBelNeto", u"Нето"_s), EdEkspBelNeto);
    }

    // Lines and totals.
    DBGrid1 = new DBGrid;
    DBGrid1->setObjectName(u"DBGrid1"_s);
    DBGrid1->setDataSource(lines_);
    // Coloured from this window's own lines: the item selection may be showing a correction's.
    DBGrid1->setRowTextColor([this](int position) {
        return SaleLines::specialPriceAt(sale_.SmpProdagbaTempNew, position) ? QColor(Qt::blue) : QColor();
    });
    DBNavigator3 = new DBNavigator;
    DBNavigator3->setObjectName(u"DBNavigator3"_s);
    DBNavigator3->setDataSource(lines_);
    // The sum of the line values is shown through its calculated copy, which follows a line while it
    // is being edited; the sum itself follows when the line is posted.
    GrpBoxDanFakt = DbControls::makeTotalsGroup("GrpBoxDanFakt", u"Фактура "_s, lines_, "GrpBoxDanFakt",
                                {{"Ст-ст :", "CenaMatIzdBroiObstoSumAgg"}, {"Отстъпка :", "Otst_Obsta_Stoinost"},
                                 {"Дан. основа :", "OblagaemaSt"}, {"ДДС :", "DDS_Stoinost"},
                                 {"За плащане :", "Plastane_Stoinost"}});
    GrpBoxOprFaktStRazp = DbControls::makeTotalsGroup("GrpBoxOprFaktStRazp", u"Сток.разп.,консигн. "_s, lines_, "GrpBoxOprFaktStRazp",
                                      {{"Стойност :", "CenaMatIzdBroiObstoSumAgg"}, {"Отстъпка :", "Otst_Obsta_Stoinost"},
                                       {"Сума за плащане :", "OblagaemaSt"}});
    DBTextSlovom = DbControls::makeShownNumber("DBTextSlovom", lines_, "Plastane_StoinostText", 100);
    DBTextSlovom->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* words = new QGroupBox(u"Словом "_s);
    (new QHBoxLayout(words))->addWidget(DBTextSlovom);
    auto* debts = new QGroupBox(u"Задължения след продажбата"_s);
    {
        auto* g = new QGridLayout(debts);
        g->addWidget(label(nullptr, u"Лева"_s), 0, 0);
        g->addWidget(label(nullptr, u"USD"_s), 0, 1);
        g->addWidget(label(nullptr, u"EUR"_s), 0, 2);
        g->addWidget(DbControls::makeShownNumber("DBTextZadylgLV", lines_, "ZadylgeniaObstoLV", 100), 1, 0);
        g->addWidget(DbControls::makeShownNumber("DBTextZadylgUSD", lines_, "ZadylgeniaObstoUSD", 100), 1, 1);
        g->addWidget(DbControls::makeShownNumber("DBTextZadylgEUR", lines_, "ZadylgeniaObstoEUR", 100), 1, 2);
    }
    GrpBoxStariZad = new QGroupBox(u"Стари задължения:"_s);
    GrpBoxStariZad->setObjectName(u"GrpBoxStariZad"_s);
    {
        auto* g = new QGridLayout(GrpBoxStariZad);
        int c = 0;
        for (auto [caption, name, box] : {std::tuple{"Лева", "LbDylgLv", &LbDylgLv}, {"USD", "LbDylgUSD", &LbDylgUSD},
                                          {"EUR", "LbDylgEUR", &LbDylgEUR}}) {
            g->addWidget(label(nullptr, QString::fromUtf8(caption)), 0, c);
            *box = label(name, QString());
            (*box)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            (*box)->setMinimumWidth(70);
            g->addWidget(*box, 1, c++);
        }
    }
    auto* totalsRow = new QHBoxLayout;
    totalsRow->addWidget(GrpBoxDanFakt);
    totalsRow->addWidget(GrpBoxOprFaktStRazp);
    totalsRow->addWidget(words, 1);
    totalsRow->addWidget(GrpBoxStariZad);
    totalsRow->addWidget(debts);

    // Bottom strip.
    EditBelegki = textBox("EditBelegki", 160);
    DateFaktPoluchena = dateBox("DateFaktPoluchena");
    EdClient_ime = textBox("EdClient_ime", 45);
    EdClient_EGN = numberBox("EdClient_EGN", 10);
    EdClient_LK = textBox("EdClient_LK", 10);
    DateVyznSyb = dateBox("DateVyznSyb");
    DBLookupComboBox3 = DbControls::makeListLookup("DBLookupComboBox3", source(dm.SmpVidPlastane), "NVIDPLASTANE", "VIDPLASTANE", 150);
    EdNumTransport = textBox("EdNumTransport", 15);
    DBLookupComboBox4 = DbControls::makeListLookup("DBLookupComboBox4", source(dm.SmpMolFirma), "NMOL_FIRMA", "IMEMOLFIRMA", 150);
    RdGrpVidPlastane = new RadioGroup(u"RdGrpVidPlastane"_s, u"Вид плащане "_s, {u"Веднага"_s, u"Разср."_s});
    EdRazsrSumaLv = numberBox("EdRazsrSumaLv");
    EdRazsrSumaUSD = numberBox("EdRazsrSumaUSD");
    EdRazsrSumaEUR = numberBox("EdRazsrSumaEUR");
    SpdBtnIzbIzdProdagba = Handlers::makeButton("SpdBtnIzbIzdProdagba", u"Изб. изделие"_s, this,
                                                &TFormProdagba::SpdBtnIzbIzdProdagbaClick);
    SpBtnPrintDocument = Handlers::makeButton("SpBtnPrintDocument", u"Изглед"_s, this, &TFormProdagba::SpBtnPrintDocumentClick);
    SpeedButton3 = Handlers::makeButton("SpeedButton3", u"Печат"_s, this, &TFormProdagba::SpeedButton3Click);
    SpdBtnZapisDoc = Handlers::makeButton("SpdBtnZapisDoc", u"Запис продажба"_s, this, &TFormProdagba::SpdBtnZapisDocClick);
    SpdBtnExit = Handlers::makeButton("SpdBtnExit", u"Изход"_s, this, &TFormProdagba::SpdBtnExitClick);
    auto* bottom = new QGridLayout;
    {
        bottom->addWidget(label(nullptr, u"Обстоятелства /бележки :"_s), 0, 0);
        bottom->addWidget(EditBelegki, 0, 1, 1, 5);
        bottom->addWidget(label(nullptr, u"Стоката/услугата е получена на :"_s), 1, 0);
        bottom->addWidget(DateFaktPoluchena, 1, 1);
        bottom->addWidget(label(nullptr, u"От:"_s), 1, 2);
        bottom->addWidget(EdClient_ime, 1, 3);
        bottom->addWidget(label(nullptr, u"ЕГН :"_s), 1, 4);
        bottom->addWidget(EdClient_EGN, 1, 5);
        bottom->addWidget(label(nullptr, u"ЛК №"_s), 2, 0);
        bottom->addWidget(EdClient_LK, 2, 1);
        bottom->addWidget(label(nullptr, u"Възн.дан.събитие:"_s), 2, 2);
        bottom->addWidget(DateVyznSyb, 2, 3);
        bottom->addWidget(label(nullptr, u"№ на трансп. средство :"_s), 2, 4);
        bottom->addWidget(EdNumTransport, 2, 5);
        bottom->addWidget(label(nullptr, u"Вид плащане :"_s), 3, 0);
        bottom->addWidget(DBLookupComboBox3, 3, 1);
        bottom->addWidget(label(nullptr, u"Съставил :"_s), 3, 2);
        bottom->addWidget(DBLookupComboBox4, 3, 3);
        auto* paid = new QHBoxLayout;
        paid->addWidget(RdGrpVidPlastane);
        for (auto [name, caption, box] : {std::tuple{"LbRazsrSumaLv", "Лв.", EdRazsrSumaLv},
                                          {"LbRazsrSumaUSD", "USD", EdRazsrSumaUSD},
                                          {"LbRazsrSumaEUR", "EUR", EdRazsrSumaEUR}}) {
            paid->addWidget(label(name, QString::fromUtf8(caption)));
            paid->addWidget(box);
        }
        bottom->addLayout(paid, 4, 0, 1, 6);
    }
    auto* buttons = new QVBoxLayout;
    for (QToolButton* b : {SpdBtnIzbIzdProdagba, SpBtnPrintDocument, SpeedButton3, SpdBtnZapisDoc, SpdBtnExit}) {
        b->setMinimumWidth(120);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(recipient, 1);
    top->addWidget(supplier, 1);
    auto* bottomRow = new QHBoxLayout;
    bottomRow->addLayout(bottom, 1);
    bottomRow->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(strip);
    layout->addWidget(DBNavigator3);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(totalsRow);
    layout->addLayout(bottomRow);
    resize(1200, 820);

    SaleLines::attachValues(sale.SmpProdagbaTempNew, [this] { return totalsInput(); });

    Handlers::connect(DBLkpCmBoxTipKontr, &DBLookupComboBox::closeUp, this, &TFormProdagba::DBLkpCmBoxTipKontrCloseUp);
    Handlers::connect(DBLkpCmBoxImeKontr, &DBLookupComboBox::closeUp, this, &TFormProdagba::DBLkpCmBoxImeKontrCloseUp);
    Handlers::connect(DBLkpCmBIzborTipDok, &DBLookupComboBox::closeUp, this, &TFormProdagba::DBLkpCmBIzborTipDokCloseUp);
    Handlers::connect(DBLookupComboBox5, &DBLookupComboBox::closeUp, this, &TFormProdagba::DBLookupComboBox5CloseUp);
    Handlers::connect(RdGrpSklObDaNe, &RadioGroup::clicked, this, &TFormProdagba::RdGrpSklObDaNeClick);
    Handlers::connect(RdGrpVidPlastane, &RadioGroup::clicked, this, &TFormProdagba::RdGrpVidPlastaneClick);
    Handlers::connect(EdEkspBelBruto, &QLineEdit::editingFinished, this, &TFormProdagba::EdEkspBelWeightExit);
    Handlers::connect(EdEkspBelTara, &QLineEdit::editingFinished, this, &TFormProdagba::EdEkspBelWeightExit);
    Handlers::connect(Edit_DDS, &QLineEdit::editingFinished, this, &TFormProdagba::Edit_DDSExit);
    for (QLineEdit* e : {EdRazsrSumaLv, EdRazsrSumaUSD, EdRazsrSumaEUR})
        Handlers::connect(e, &QLineEdit::editingFinished, this, &TFormProdagba::refreshTotals);
    Handlers::connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TFormProdagba::SpdBtnIzbIzdProdagbaClick);
}

TFormProdagba::~TFormProdagba() = default;

void TFormProdagba::companySettingsSaved()
{
    const QVariant rate = dm_.SmpFirma.value(u"DDS_PROCENT"_s);
    const QString vat = rate.isNull() ? u"0"_s : Formats::numberToText(rate.toDouble());
    if (Edit_DDS->text() == companyVat_) Edit_DDS->setText(vat);
    companyVat_ = vat;
    refreshTotals();
}

void TFormProdagba::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

void TFormProdagba::FormShow()
{
    for (SmpDataset* ds : {&dm_.SmpFirma, &dm_.SmpFirmaOfisi, &dm_.SmpMolFirma, &dm_.SmpTipDok, &dm_.SmpVidPlastane,
                           &dm_.SmpOsnovDDS, &dm_.SmpIzbTipKontr})
        if (!ds->isActive()) ds->open();
    // The lines show names of items and warehouse objects that may be new since the last sale.
    for (SmpDataset* ds : {&dm_.SmpMateriali, &dm_.SmpTipSklOb}) ds->isActive() ? ds->refresh() : ds->open();
    SmpDataset& firma = dm_.SmpFirma;
    const auto company = [&firma](const char* field) { return firma.value(QString::fromLatin1(field)); };
    if (!DBLookupComboBox1->keyValue().isValid() && !dm_.SmpFirmaOfisi.isEmpty()) {
        dm_.SmpFirmaOfisi.first();
        DBLookupComboBox1->setKeyValue(dm_.SmpFirmaOfisi.value(u"POSTKOD"_s));
    }
    DBLookupComboBox2->setKeyValue(company("NMOL_FIRMA"));
    const QDate today = Clock::today();
    DateFaktProdagba->setDate(today);
    DateFaktPoluchena->setDate(today);
    DateVyznSyb->setDate(today);
    EdChas->setTime(Clock::now().time());

    emptyLines();
    SmpDataset& recipients = dm_.SmpIzbKontrSklad;
    recipients.close();
    recipients.setParam(u"INTipKontr"_s, 1);
    recipients.open();
    if (!DBLkpCmBoxTipKontr->keyValue().isValid()) DBLkpCmBoxTipKontr->setKeyValue(1);
    DBLkpCmBoxImeKontr->setKeyValue(QVariant());
    DBLkpCmBoxMOLKontr->setKeyValue(QVariant());
    DBLkpCmBoxFilial->setKeyValue(QVariant());

    documentType_ = company("NTIP_DOKUMENT").toInt();
    DBLkpCmBIzborTipDok->setKeyValue(documentType_);
    ApplyDocumentTypeMode(documentType_);
    LbNfaktKred->setEnabled(documentType_ == 10);
    EditNfaktKred->setEnabled(documentType_ == 10);

    EditBelegki->setText(company("BELEGKA").toString());
    for (QLineEdit* e : {EdClient_ime, EdClient_EGN, EdClient_LK, EdNumTransport, EdRazsrSumaLv, EdRazsrSumaUSD,
                         EdRazsrSumaEUR, EdFzLiceIme, EdFzLiceAdres, EdFzLiceEGN})
        e->clear();
    const QString vat = company("DDS_PROCENT").isNull() ? QString() : Formats::numberToText(company("DDS_PROCENT").toDouble());
    companyVat_ = vat.isEmpty() ? u"0"_s : vat;
    Edit_DDS->setText(companyVat_);
    RdGrpSklObDaNe->setItemIndex(company("SKLOB_DA_NE").toInt() == 1 ? 0 : 1);
    showSourceColumn();
    items_.RdGrpCena_Edro_drebno->setItemIndex(company("CENA_EDRO_DREBNO").toInt() == 1 ? 0 : 1);
    RdGrpVidPlastane->setItemIndex(company("VID_RAZPL_KLIENT").toInt() == 1 ? 1 : 0);
    RdGrpVidPlastaneClick();
    oldDebts_ = {};
    DBLkpCmBoxTipKontrCloseUp();
    DBLkpCmBoxTipKontr->setFocus();
}

void TFormProdagba::showSourceColumn()
{
    // Lines from warehouse objects name the object they leave; warehouse lines have none.
    DBGrid1->setColumnVisible(u"ImeSklOb"_s, RdGrpSklObDaNe->itemIndex() == 0);
    SaleGrids::fitColumns(*DBGrid1, u"ImeMaterial"_s);
}

void TFormProdagba::showOldDebts()
{
    const bool shown = recipientShown();
    oldDebts_ = shown ? Sales::outstandingBalance(dm_.SQLConnectNS, dm_.SmpIzbKontrSklad.value(u"NKONTRAGENT"_s).toInt())
                      : Sales::Balance{};
    LbDylgLv->setText(Formats::formatNumber(oldDebts_.lv, u"# ### ##0.00"_s));
    LbDylgUSD->setText(Formats::formatNumber(oldDebts_.usd, u"# ### ##0.00"_s));
    LbDylgEUR->setText(Formats::formatNumber(oldDebts_.eur, u"# ### ##0.00"_s));
    for (QLabel* l : {LbDylgLv, LbDylgUSD, LbDylgEUR}) l->setVisible(shown);
}

void TFormProdagba::SpdBtnNomenklClick()
{
    commitLineEdit();
    if (!openReference_) return;
    const QVariant recipient = DBLkpCmBoxImeKontr->keyValue();
    openReference_(recipient.toInt());
    // Numbers and counterparties may have changed meanwhile.
    ApplyDocumentTypeMode(documentType_);
    SmpDataset& recipients = dm_.SmpIzbKontrSklad;
    recipients.close();
    recipients.open();
    SmpDataset& people = dm_.SmpIzbKontrMOLSklad;
    if (people.isActive()) people.refresh();
    if (recipient.isValid() && recipients.locate(u"NKONTRAGENT"_s, {recipient}))
        DBLkpCmBoxImeKontr->setKeyValue(recipient);
    else
        DBLkpCmBoxImeKontr->setKeyValue(QVariant());
    showOldDebts();
    refreshTotals();
}

bool TFormProdagba::naturalPerson() const { return DBLkpCmBoxTipKontr->keyValue().toInt() == Sales::NaturalPersonType; }

bool TFormProdagba::recipientShown() const
{
    return DBLkpCmBoxImeKontr->isEnabled() && !DBLkpCmBoxImeKontr->currentText().isEmpty();
}

void TFormProdagba::emptyLines()
{
    SmpDataset& lines = sale_.SmpProdagbaTempNew;
    lines.close();
    lines.open();
}

void TFormProdagba::commitLineEdit()
{
    // The buttons take no focus: a cell editor still open has not written its text yet.
    DBGrid1->commitEdit();
    sale_.SmpProdagbaTempNew.checkBrowseMode();
}

std::optional<double> TFormProdagba::vatRate() const
{
    // An emptied box reads 0; a text that is no number gives no rate.
    const QString text = Edit_DDS->text().trimmed();
    return text.isEmpty() ? std::optional<double>(0) : Formats::textToNumber(text);
}

QString TFormProdagba::badVatMessage() const
{
    return u"Невалидно число в \"Заложено ДДС\": \"%1\" !"_s.arg(Edit_DDS->text().trimmed());
}

void TFormProdagba::Edit_DDSExit()
{
    refreshTotals();
    if (!vatRate()) UiService::current().showMessage(badVatMessage());
}

void TFormProdagba::refreshTotals()
{
    // Posting every line again recomputes its values under the current type, VAT and recipient.
    // An empty VAT box counts as 0, and a requisition carries no VAT: the box says so.
    if (Edit_DDS->text().trimmed().isEmpty() || documentType_ == 9) Edit_DDS->setText(u"0"_s);
    SmpDataset& lines = sale_.SmpProdagbaTempNew;
    lines.checkBrowseMode();
    if (lines.isEmpty()) return;
    const int at = lines.recNo();
    lines.disableControls();
    for (int i = 0; i < lines.recordCount(); ++i) {
        lines.moveTo(i);
        lines.edit();
        lines.post();
    }
    lines.moveTo(at);
    lines.enableControls();
}

void TFormProdagba::ApplyDocumentTypeMode(int type)
{
    SQLConnection& db = dm_.SQLConnectNS;
    const Numbering::InvoiceNumbering numbering = Numbering::InvoiceNumbering::fromCompany(db);
    const int office = dm_.SmpFirmaOfisi.isEmpty() ? 0 : dm_.SmpFirmaOfisi.value(u"NUMOFIS"_s).toInt();
    const Numbering::DocumentTypeProposals p = Numbering::proposeForDocumentType(db, numbering, office, type);
    const auto place = [](QLineEdit* box, const Numbering::NumberProposal& n) {
        if (n.hasText()) box->setText(n.value());
        else if (n.failed()) UiService::current().showMessage(n.message());
    };
    place(EditNFakt, p.invoice);
    switch (p.other) {
    case ProposedNumber::StockReceipt: place(EdNstRazp, p.otherNumber); break;
    case ProposedNumber::Consignment: place(EdNkons, p.otherNumber); break;
    case ProposedNumber::DispatchNote:
    case ProposedNumber::Requisition: place(EdEkspBelN, p.otherNumber); break;
    case ProposedNumber::None: break;
    }
    // A credit note is computed as an invoice, so it gets the invoice's totals and mode.
    const bool invoiceTotals = totalsGroupForCode(type) == TotalsGroup::Invoice || type == 10;
    GrpBoxDanFakt->setVisible(invoiceTotals);
    GrpBoxOprFaktStRazp->setVisible(!invoiceTotals);
    const std::optional<SaleEntryMode> mode = saleWindowModeForCode(type);
    if (mode) {
        SaleLineColumns::show(*DBGrid1, *mode);
        for (QWidget* w : {static_cast<QWidget*>(LbNfakt), static_cast<QWidget*>(EditNFakt)}) w->setEnabled(mode->invoiceBox);
        for (QWidget* w : {static_cast<QWidget*>(LbNstRAzp), static_cast<QWidget*>(EdNstRazp)}) w->setEnabled(mode->stockReceiptBox);
        for (QWidget* w : {static_cast<QWidget*>(LbNkons), static_cast<QWidget*>(EdNkons)}) w->setEnabled(mode->consignmentBox);
        for (QWidget* w : {static_cast<QWidget*>(LbNEkspBel), static_cast<QWidget*>(EdEkspBelN)}) w->setEnabled(mode->dispatchNoteBox);
        for (QWidget* w : {EdEkspBelBruto, EdEkspBelTara, EdEkspBelNeto}) w->setEnabled(mode->weightBoxes);
    }
    LbNporychka->setEnabled(false);
    EdNporychka->setEnabled(false);
    SaleGrids::fitColumns(*DBGrid1, u"ImeMaterial"_s);
}

void TFormProdagba::DBLkpCmBoxTipKontrCloseUp()
{
    SmpDataset& recipients = dm_.SmpIzbKontrSklad;
    recipients.close();
    recipients.setParam(u"INTipKontr"_s, DBLkpCmBoxTipKontr->keyValue().toInt());
    recipients.open();
    DBLkpCmBoxImeKontr->setKeyValue(QVariant());
    const bool person = naturalPerson();
    for (QWidget* w : {static_cast<QWidget*>(DBLkpCmBoxImeKontr), static_cast<QWidget*>(DBLkpCmBoxMOLKontr),
                       static_cast<QWidget*>(DBLkpCmBoxFilial), static_cast<QWidget*>(findChild<QLabel*>(u"LbImeKontr"_s)),
                       static_cast<QWidget*>(findChild<QLabel*>(u"LbMOLKontr"_s)),
                       static_cast<QWidget*>(findChild<QLabel*>(u"LbFilial"_s))})
        w->setEnabled(!person);
    for (QWidget* w : {static_cast<QWidget*>(EdFzLiceIme), static_cast<QWidget*>(EdFzLiceAdres),
                       static_cast<QWidget*>(EdFzLiceEGN), static_cast<QWidget*>(findChild<QLabel*>(u"LbFzLiceIme"_s)),
                       static_cast<QWidget*>(findChild<QLabel*>(u"LbFzLiceAdres"_s)),
                       static_cast<QWidget*>(findChild<QLabel*>(u"LbFzLiceEGN"_s))})
        w->setEnabled(person);
    SpdBtnNomenkl->setEnabled(!person);
    showOldDebts();
    refreshTotals();
}

void TFormProdagba::DBLkpCmBoxImeKontrCloseUp()
{
    DBLkpCmBoxMOLKontr->setKeyValue(QVariant());
    DBLkpCmBoxFilial->setKeyValue(QVariant());
    showOldDebts();
    refreshTotals();
}

void TFormProdagba::DBLkpCmBIzborTipDokCloseUp()
{
    documentType_ = DBLkpCmBIzborTipDok->keyValue().toInt();
    ApplyDocumentTypeMode(documentType_);
    refreshTotals();
    LbNfaktKred->setEnabled(documentType_ == 10);
    EditNfaktKred->setEnabled(documentType_ == 10);
}

void TFormProdagba::DBLookupComboBox5CloseUp()
{
    emptyLines();
    const bool standard = DBLookupComboBox5->keyValue().toInt() == 1;
    if (standard) Edit_DDS->setText(Formats::numberToText(dm_.SmpFirma.value(u"DDS_PROCENT"_s).toDouble()));
    Edit_DDS->setEnabled(!standard);
}

void TFormProdagba::RdGrpSklObDaNeClick()
{
    emptyLines();
    showSourceColumn();
}

void TFormProdagba::RdGrpVidPlastaneClick()
{
    const bool deferred = RdGrpVidPlastane->itemIndex() == 1;
    for (QLineEdit* e : {EdRazsrSumaLv, EdRazsrSumaUSD, EdRazsrSumaEUR}) e->setEnabled(deferred);
    for (const char* name : {"LbRazsrSumaLv", "LbRazsrSumaUSD", "LbRazsrSumaEUR"})
        if (auto* l = findChild<QLabel*>(QString::fromLatin1(name))) l->setEnabled(deferred);
    refreshTotals();
}

void TFormProdagba::EdEkspBelWeightExit()
{
    for (QLineEdit* e : {EdEkspBelBruto, EdEkspBelTara})
        if (e->text().trimmed().isEmpty()) e->setText(u"0"_s);
    const std::optional<double> gross = Formats::textToNumber(EdEkspBelBruto->text());
    const std::optional<double> tare = Formats::textToNumber(EdEkspBelTara->text());
    if (!gross || !tare) {
        UiService::current().showMessage(u"Невалидно тегло !"_s);
        return;
    }
    EdEkspBelNeto->setText(Formats::numberToText(*gross - *tare));
}

SaleTotals::DocumentInput TFormProdagba::totalsInput() const
{
    SaleTotals::DocumentInput in;
    in.documentType = documentType_;
    const std::optional<double> vat = vatRate();
    in.vatPct = vat.value_or(0);
    in.vatKnown = vat.has_value();
    in.companyDiscountPct = dm_.SmpFirma.isActive() && !dm_.SmpFirma.isEmpty()
                                ? dm_.SmpFirma.value(u"OTST_PROCENT"_s).toDouble() : 0;
    const SmpDataset& recipients = dm_.SmpIzbKontrSklad;
    if (recipientShown() && recipients.isActive() && !recipients.isEmpty())
        in.recipientDiscountPct = recipients.value(u"PROCENT_OTST_KONTR"_s).toDouble();
    in.deferred = RdGrpVidPlastane->itemIndex() == 1;
    in.paidNowLv = Formats::textToNumber(EdRazsrSumaLv->text()).value_or(0);
    in.paidNowUsd = Formats::textToNumber(EdRazsrSumaUSD->text()).value_or(0);
    in.paidNowEur = Formats::textToNumber(EdRazsrSumaEUR->text()).value_or(0);
    if (recipientShown()) {
        in.balanceLv = oldDebts_.lv;
        in.balanceUsd = oldDebts_.usd;
        in.balanceEur = oldDebts_.eur;
    }
    return in;
}

Sales::SaleHeader TFormProdagba::header(QStringList* badNumbers) const
{
    Sales::SaleHeader h;
    h.documentType = documentType_;
    h.counterpartyType = DBLkpCmBoxTipKontr->keyValue().toInt();
    h.person = {EdFzLiceIme->text(), EdFzLiceAdres->text(), EdFzLiceEGN->text()};
    const SmpDataset& recipients = dm_.SmpIzbKontrSklad;
    if (recipientShown() && recipients.isActive() && !recipients.isEmpty()) {
        h.counterparty = recipients.value(u"NKONTRAGENT"_s).toInt();
        h.recipientName = DBLkpCmBoxImeKontr->currentText();
        h.recipientDiscountPct = recipients.value(u"PROCENT_OTST_KONTR"_s).toDouble();
    }
    h.branch = DBLkpCmBoxFilial->keyValue().toInt();
    h.paymentType = DBLookupComboBox3->keyValue().toInt();
    const Numbering::InvoiceNumbering numbering = Numbering::InvoiceNumbering::fromCompany(dm_.SQLConnectNS);
    h.invoiceNumbering = numbering.mode;
    h.invoiceSymbol = numbering.symbol.trimmed();
    h.invoiceNumber = EditNFakt->text();
    h.stockReceiptNumber = EdNstRazp->text();
    h.consignmentNumber = EdNkons->text();
    h.dispatchNoteNumber = EdEkspBelN->text();
    h.order = EdNporychka->text();
    h.vatPct = typedNumber(Edit_DDS, u"Заложено ДДС"_s, badNumbers);
    h.companyDiscountPct = dm_.SmpFirma.value(u"OTST_PROCENT"_s).toDouble();
    h.date = DateFaktProdagba->date();
    h.companyMol = DBLookupComboBox2->keyValue().toInt();
    h.compiledBy = DBLookupComboBox4->keyValue().toInt();
    h.office = dm_.SmpFirmaOfisi.isEmpty() ? 0 : dm_.SmpFirmaOfisi.value(u"NUMOFIS"_s).toInt();
    h.vatBasis = DBLookupComboBox5->keyValue().toInt();
    h.remarks = EditBelegki->text();
    h.goodsReceived = DateFaktPoluchena->date();
    h.taxEvent = DateVyznSyb->date();
    h.clientName = EdClient_ime->text();
    h.clientEgn = EdClient_EGN->text();
    h.clientLk = EdClient_LK->text();
    h.transport = EdNumTransport->text();
    h.payAtOnce = RdGrpVidPlastane->itemIndex() == 0;
    h.paidNowLv = typedNumber(EdRazsrSumaLv, u"Лв."_s, badNumbers);
    h.paidNowUsd = typedNumber(EdRazsrSumaUSD, u"USD"_s, badNumbers);
    h.paidNowEur = typedNumber(EdRazsrSumaEUR, u"EUR"_s, badNumbers);
    return h;
}

void TFormProdagba::SpdBtnIzbIzdProdagbaClick()
{
    commitLineEdit();
    TFormProdagbaMateriali::Sale s;
    s.documentType = documentType_;
    s.recipientNamed = recipientShown();
    if (s.recipientNamed) s.recipient = dm_.SmpIzbKontrSklad.value(u"NKONTRAGENT"_s).toInt();
    items_.open(RdGrpSklObDaNe->itemIndex() == 0 ? TFormProdagbaMateriali::Mode::WarehouseObjects
                                                 : TFormProdagbaMateriali::Mode::Warehouses,
                s);
}

bool TFormProdagba::RecordSale(bool checkOrders, const std::function<void()>& afterRecording)
{
    QStringList why;
    const Sales::SaleHeader h = header(&why);
    const QVector<Sales::SaleLine> lines = SaleLines::read(sale_.SmpProdagbaTempNew);
    why << Sales::refusals(h, lines);
    if (!why.isEmpty()) {
        for (const QString& m : why) UiService::current().showMessage(m);
        return false;
    }
    QVector<int> orderMaterials;
    if (checkOrders && dm_.SmpFirma.value(u"AUTO_GEN_PORYCHKA"_s).toInt() == 1 && !h.naturalPerson())
        orderMaterials = CheckClientOrders(h, lines);
    try {
        Sales::recordSale(dm_.SQLConnectNS, h, lines, orderMaterials);
    } catch (const Sales::SaleRefused& e) {
        for (const QString& m : e.messages()) UiService::current().showMessage(m);
        return false;
    }
    if (afterRecording) afterRecording();
    emptyLines();
    return true;
}

QVector<int> TFormProdagba::CheckClientOrders(const Sales::SaleHeader& header, const QVector<Sales::SaleLine>& lines)
{
    // Yes orders the line's material; the order is written with the sale, so a sale that is not
    // recorded leaves no order behind.
    QVector<int> materials;
    for (const int i : Sales::linesBeyondOrders(dm_.SQLConnectNS, header.counterparty, lines))
        if (UiService::current().askYesNo(u" Автоматично създаване на поръчка ?"_s) && !materials.contains(lines[i].material))
            materials.append(lines[i].material);
    return materials;
}

void TFormProdagba::SpdBtnZapisDocClick()
{
    commitLineEdit();
    if (!UiService::current().askYesNo(u" Запис на продажба ?"_s)) return;
    if (RecordSale(true)) close();
}

void TFormProdagba::SpBtnPrintDocumentClick()
{
    commitLineEdit();
    // The document shows the totals, and they need a rate.
    if (!vatRate()) {
        UiService::current().showMessage(badVatMessage());
        return;
    }
    print_->preview();
}

void TFormProdagba::SpeedButton3Click()
{
    commitLineEdit();
    if (!printDialog_.ask(documentType_)) return;
    const PrintCounts counts = printDialog_.counts(documentType_);
    // Printed only once recorded: a refused or failed recording prints nothing.
    const bool recorded = RecordSale(true, [&] {
        if (!print_->print(counts)) UiService::current().showMessage(u"Документът не е отпечатан !"_s);
    });
    if (recorded) close();
}

void TFormProdagba::SpdBtnExitClick()
{
    commitLineEdit();
    if (!sale_.SmpProdagbaTempNew.isEmpty() && UiService::current().askYesNo(u" Запис на продажба ?"_s)
        && !RecordSale(false))
        return;
    close();
}
