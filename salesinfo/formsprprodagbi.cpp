#include "salesinfo/formsprprodagbi.h"

#include "data/dmns.h"
#include "data/dmnsspravki.h"
#include "platform/base/clock.h"
#include "platform/db/dberror.h"
#include "platform/report/reportpreview.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/filterdateedit.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"
#include "sales/invoiceprint.h"
#include "sales/qrfaktura.h"
#include "sales/salelines.h"
#include "salesinfo/infocontrols.h"
#include "salesinfo/qrprodagbi.h"
#include "salesinfo/salesinfodata.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <QShowEvent>

using namespace Qt::StringLiterals;

namespace {

QGroupBox* group(const char* name, const QString& caption)
{
    auto* g = new QGroupBox(caption);
    g->setObjectName(QString::fromLatin1(name));
    return g;
}

QString firmaText(const TDMNS& dm, const char* field)
{
    const SmpDataset& f = dm.SmpFirma;
    return f.isActive() && !f.isEmpty() ? f.value(QString::fromLatin1(field)).toString() : QString();
}


} // namespace

TFormSprProdagbi::TFormSprProdagbi(TDMNS& dm, TDMNsSpravki& spravki, SmpDataset& invoiceLines, const QString& specialId)
    : dm_(dm), spravki_(spravki), lines_(invoiceLines), specialId_(specialId),
      qrProdagbi_(std::make_unique<TQRProdagbi>(dm, spravki)),
      qrProdagbiStol_(std::make_unique<TQRProdagbiStol>(dm, spravki)),
      qrProdagbiArtik_(std::make_unique<TQRProdagbiArtik>(dm, spravki)),
      qrFaktura_(std::make_unique<TQRFaktura>(dm, invoiceLines))
{
    setObjectName(u"FormSprProdagbi"_s);
    setWindowTitle(u"Справка за продажби с цени на вложени материали !"_s);
    resize(1260, 780);
    // The invoice's values: a tax invoice at the rate of its lines (the company's while it is empty).
    SaleLines::attachValues(lines_, [this] {
        SaleTotals::DocumentInput in;
        in.documentType = 0;
        in.vatPct = invoiceVat_.value_or(companyVat());
        return in;
    });
    auto* layout = new QVBoxLayout(this);
    buildChoices(layout);

    SmpDataset& list = spravki.SmpSprRealizacia;
    auto* sales = group("GroupBox4", u"Данни от продажби "_s);
    DBGridDanniOtProdagbi = InfoControls::grid("DBGridDanniOtProdagbi", list, this);
    InfoControls::keepWidths(DBGridDanniOtProdagbi, 80,
               {{"NUMPRODAGBA", 100}, {"NSTOK_RAZP", 60}, {"NKONSIGNACIA", 50}, {"NEKSP_BEL", 80}, {"NFAKT_INT", 75},
                {"NFAKTURA", 85}, {"DATEFAKTURA", 65}, {"IMEKONTRAGENT", 180}, {"IMEFILIAL", 110},
                {"IME_MATERIAL_IZDELIE", 230}, {"IMEMKA", 40}, {"BROI_MATERIAL_IZDELIE", 70}, {"CENA_MAT_IZD_DDS", 90},
                {"PROCENT_DDS", 50}, {"IMEVIDPLASTANE", 100}, {"IMESKLOB", 160}, {"BELEGKA", 200}});
    DBGridDanniOtProdagbi->setRowTextColor([this](int position) { return rowColour(position); });
    auto* source = new DataSource(&list, this);
    auto* totals = new QHBoxLayout;
    const QList<std::pair<QString, const char*>> sums = {
        {u"Общо лв.-"_s, "SumCenaObstoMatIzdLV"}, {u"Общо USD -"_s, "SumCenaObstoMatIzdUSD"},
        {u"Общо EUR -"_s, "SumCenaObstoMatIzdEUR"}, {u"Сума ДДС"_s, "SumaDDS_St_Lv"},
        {u"Брой остатък"_s, "SumBrOstatyk"}, {u"Сума остатък"_s, "SumLvOstatyk"}};
    for (const auto& [caption, field] : sums) {
        totals->addWidget(new QLabel(caption));
        totals->addWidget(DbControls::makeShownNumber(field, source, field, 90));
    }
    LbKolichestvo = new QLabel(u"Количество "_s);
    LbKolichestvo->setObjectName(u"LbKolichestvo"_s);
    SumBroiMatIzd = DbControls::makeShownNumber("SumBroiMatIzd", source, "SumBroiMatIzd", 80);
    totals->addWidget(LbKolichestvo);
    totals->addWidget(SumBroiMatIzd);
    totals->addStretch(1);
    RdGrpKons = new RadioGroup(u"RdGrpKons"_s, u"Консигнации "_s, {u"Всички"_s, u"Остатък"_s});
    RdGrpKons->setItemIndex(0);
    totals->addWidget(RdGrpKons);
    totals->addWidget(Handlers::makeButton("SpeedBtnZapMaterial", u"> фактура"_s, this,
                                           &TFormSprProdagbi::SpeedBtnZapMaterialClick));
    auto* sl = new QVBoxLayout(sales);
    sl->addWidget(DBGridDanniOtProdagbi, 1);
    sl->addLayout(totals);
    layout->addWidget(sales, 3);
    buildInvoiceArea(layout);

    Handlers::connect(RdGrpKons, &RadioGroup::clicked, this, [this] { RdGrpKonsClick(); });
    Handlers::connect(DBGridDanniOtProdagbi, &QAbstractItemView::doubleClicked, this,
                      [this] { SpeedBtnZapMaterialClick(); });
    Handlers::connect(EdNFaktNew, &QLineEdit::textChanged, this, [this] { DBGridDanniOtProdagbi->viewport()->update(); });
}

TFormSprProdagbi::~TFormSprProdagbi() = default;

void TFormSprProdagbi::buildChoices(QLayout* into)
{
    auto* who = group("GroupBox1", u"Избор на контрагент/филиал/ "_s);
    RdGrpIzbKontragent = new RadioGroup(u"RdGrpIzbKontragent"_s, QString(), {u"Всички"_s, u"По избор"_s});
    RdGrpIzbKontragent->setItemIndex(0);
    DBLkpCmBoxTipKontragert = DbControls::makeListLookup(
        "DBLkpCmBoxTipKontragert", new DataSource(&spravki_.SmpSprTipKontr, this), "NTIP_KONTRAGENT", "KONTRAGENT", 130);
    DBLkpCmBoxKontr = DbControls::makeListLookup("DBLkpCmBoxKontr", new DataSource(&spravki_.SmpSprKontr, this),
                                                 "NKONTRAGENT", "IMEKONTRAGENT", 220);
    RdGrpIzbFilial = new RadioGroup(u"RdGrpIzbFilial"_s, QString(), {u"Всички"_s, u"По избор"_s});
    RdGrpIzbFilial->setItemIndex(0);
    DBLkpCmBoxKontrFilial = DbControls::makeListLookup(
        "DBLkpCmBoxKontrFilial", new DataSource(&spravki_.SmpSprKontrFilial, this), "NFILIAL", "IMEFILIAL", 160);
    auto* wl = new QGridLayout(who);
    wl->addWidget(RdGrpIzbKontragent, 0, 0, 2, 1);
    wl->addWidget(new QLabel(u"Тип :"_s), 0, 1);
    wl->addWidget(DBLkpCmBoxTipKontragert, 0, 2);
    wl->addWidget(DBLkpCmBoxKontr, 0, 3);
    wl->addWidget(new QLabel(u"Филиал :"_s), 1, 1);
    wl->addWidget(RdGrpIzbFilial, 1, 2);
    wl->addWidget(DBLkpCmBoxKontrFilial, 1, 3);

    auto* period = group("GroupBox2", u"Период "_s);
    // A day picked in the calendar reloads at once, a typed date when it is committed.
    auto* from = InfoControls::periodDate("DateOt");
    auto* to = InfoControls::periodDate("DateDo");
    DateOt = from;
    DateDo = to;
    auto* pl = new QGridLayout(period);
    pl->addWidget(new QLabel(u"От дата"_s), 0, 0);
    pl->addWidget(DateOt, 0, 1);
    pl->addWidget(new QLabel(u"До дата"_s), 1, 0);
    pl->addWidget(DateDo, 1, 1);

    auto* what = group("GroupBox3", u"Избор на изделие /материал/ "_s);
    RdGrpIzbMaterial = new RadioGroup(u"RdGrpIzbMaterial"_s, QString(), {u"Всички"_s, u"По избор"_s});
    RdGrpIzbMaterial->setItemIndex(0);
    DBLkpCmBoxMaterial = DbControls::makeListLookup(
        "DBLkpCmBoxMaterial", new DataSource(&spravki_.SmpSprMaterial, this), "NMATERIAL", "IMEMATERIAL", 220);
    auto* ml = new QVBoxLayout(what);
    ml->addWidget(RdGrpIzbMaterial);
    ml->addWidget(DBLkpCmBoxMaterial);

    RdGrpDDS = new RadioGroup(u"RdGrpDDS"_s, u"Филтър ДДС "_s, {u"Всички"_s, u"20 % ДДС"_s, u"10 % ДДС"_s});
    RdGrpDDS->setItemIndex(0);
    BitBtnProdagbi = Handlers::makeButton("BitBtnProdagbi", u"Продажби"_s, this, &TFormSprProdagbi::BitBtnProdagbiClick);
    BitBtnProdagbi->setToolTip(u"Печат на продажби за период"_s);
    BitBtnProdArtik = Handlers::makeButton("BitBtnProdArtik", u"Прод.по артик."_s, this, &TFormSprProdagbi::BitBtnProdArtikClick);
    BitBtnProdArtik->setToolTip(u"Продажби по артикули за период"_s);
    auto* excel = Handlers::makeButton("SpeedBtnExcel", u" > Excel"_s);
    Handlers::connectClick(excel, this, [this] { InfoControls::exportList(spravki_.SmpSprRealizacia, this); });
    auto* buttons = new QVBoxLayout;
    for (QToolButton* b : {BitBtnProdagbi, BitBtnProdArtik, excel}) {
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setMinimumWidth(120);
        buttons->addWidget(b);
    }

    auto* top = new QHBoxLayout;
    top->addWidget(who, 3);
    top->addWidget(period);
    top->addWidget(what, 2);
    top->addWidget(RdGrpDDS);
    top->addLayout(buttons);
    static_cast<QBoxLayout*>(into)->addLayout(top);

    Handlers::connect(RdGrpIzbKontragent, &RadioGroup::clicked, this, [this] { RdGrpIzbKontragentClick(); });
    Handlers::connect(RdGrpIzbFilial, &RadioGroup::clicked, this, [this] { RdGrpIzbFilialClick(); });
    Handlers::connect(RdGrpIzbMaterial, &RadioGroup::clicked, this, [this] { RdGrpIzbMaterialClick(); });
    Handlers::connect(RdGrpDDS, &RadioGroup::clicked, this, [this] { RdGrpDDSClick(); });
    Handlers::connect(DBLkpCmBoxTipKontragert, &DBLookupComboBox::closeUp, this, &TFormSprProdagbi::DBLkpCmBoxTipKontragertCloseUp);
    Handlers::connect(DBLkpCmBoxKontr, &DBLookupComboBox::closeUp, this, &TFormSprProdagbi::DBLkpCmBoxKontrCloseUp);
    Handlers::connect(DBLkpCmBoxKontrFilial, &DBLookupComboBox::closeUp, this, &TFormSprProdagbi::DBLkpCmBoxKontrFilialCloseUp);
    Handlers::connect(DBLkpCmBoxMaterial, &DBLookupComboBox::closeUp, this, &TFormSprProdagbi::DBLkpCmBoxMaterialCloseUp);
    for (FilterDateEdit* d : {from, to}) Handlers::connect(d, &FilterDateEdit::committed, this, &TFormSprProdagbi::DateCloseUp);
}

void TFormSprProdagbi::buildInvoiceArea(QLayout* into)
{
    EdNFaktNew = InfoControls::digitsBox("EdNFaktNew", 120);
    DateFaktNew = InfoControls::datePicker("DateFaktNew");
    auto* invoice = group("GroupBox5", u"Подготвяне на данни за фактура "_s);
    DBGridDanniZaFaktura = InfoControls::grid("DBGridDanniZaFaktura", lines_, this);
    DBGridDanniZaFaktura->setColumns({});
    for (const auto& [f, width] : {std::pair{"ImeMaterial", 280}, {"ImeMkaMat", 45}, {"BROI_MATERIAL_IZDELIE", 80},
                                   {"CENA_MATERIAL_IZDELIE", 90}, {"CenaMatIzdBroiObsto", 100}})
        DBGridDanniZaFaktura->addColumn(QString::fromLatin1(f), {}, width);
    auto* source = new DataSource(&lines_, this);
    auto* totals = new QGridLayout;
    const QList<std::pair<QString, const char*>> sums = {{u"Ст-ст :"_s, "CenaMatIzdBroiObstoSum"},
                                                         {u"Отстъпка :"_s, "Otst_Obsta_Stoinost"},
                                                         {u"Облаг. ст-ст :"_s, "OblagaemaSt"},
                                                         {u"ДДС :"_s, "DDS_Stoinost"},
                                                         {u"За плащане :"_s, "Plastane_Stoinost"}};
    for (int i = 0; i < sums.size(); ++i) {
        totals->addWidget(new QLabel(sums[i].first), i, 0);
        totals->addWidget(DbControls::makeShownNumber(sums[i].second, source, sums[i].second, 100), i, 1);
    }
    auto* il = new QHBoxLayout(invoice);
    il->addWidget(DBGridDanniZaFaktura, 1);
    il->addLayout(totals);

    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(u"№ на фактура"_s));
    side->addWidget(EdNFaktNew);
    side->addWidget(new QLabel(u"Дата на фактура"_s));
    side->addWidget(DateFaktNew);
    side->addStretch(1);
    for (auto [name, caption, handler] :
         {std::tuple{"SpBtnPrintFaktObobstena", u"Изглед на фактура"_s, &TFormSprProdagbi::SpBtnPrintFaktObobstenaClick},
          std::tuple{"SpdBtnZapisDoc", u"Запис на фактура"_s, &TFormSprProdagbi::SpdBtnZapisDocClick}}) {
        QToolButton* b = Handlers::makeButton(name, caption, this, handler);
        b->setMinimumWidth(130);
        side->addWidget(b);
    }
    auto* exit = Handlers::makeButton("SpeedButton1", u"Изход"_s);
    exit->setMinimumWidth(130);
    Handlers::connectClick(exit, this, [this] { close(); });
    side->addWidget(exit);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(side);
    bottom->addWidget(invoice, 1);
    static_cast<QBoxLayout*>(into)->addLayout(bottom, 1);
}

void TFormSprProdagbi::setSpecialCaptions(bool special)
{
    BitBtnProdagbi->setText(special ? u"Продажби-Дамул"_s : u"Продажби"_s);
    BitBtnProdArtik->setText(special ? u"Прод.арт.-Дамул"_s : u"Прод.по артик."_s);
}

void TFormSprProdagbi::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    // Restoring from minimised is a spontaneous show: it keeps what the user set.
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

void TFormSprProdagbi::closeEvent(QCloseEvent* event)
{
    Form::closeEvent(event);
    if (event->isAccepted()) spravki_.SmpSprRealizacia.setFilter(QString());
}

bool TFormSprProdagbi::textNumbers() const
{
    return SalesInfo::numberingOf(dm_.SmpFirma.isEmpty() ? QVariant() : dm_.SmpFirma.value(u"NFAKT_TXT_INT"_s))
           == SalesInfo::Numbering::Text;
}

double TFormSprProdagbi::companyVat() const
{
    return dm_.SmpFirma.isActive() && !dm_.SmpFirma.isEmpty() ? dm_.SmpFirma.value(u"DDS_PROCENT"_s).toDouble() : 0.0;
}

void TFormSprProdagbi::FormShow()
{
    for (SmpDataset* ds : {&dm_.SmpFirma, &dm_.SmpFirmaOfisi, &dm_.SmpMateriali, &spravki_.SmpSprTipKontr,
                           &spravki_.SmpSprMaterial})
        if (!ds->isActive()) ds->open();
    const QDate today = Clock::today();
    {
        const QSignalBlocker a(DateOt), b(DateDo), c(DateFaktNew);
        DateDo->setDate(today);
        DateOt->setDate(today.addDays(-10));
        DateFaktNew->setDate(today);
    }
    // The boxes follow their choices as they stand.
    const bool byClient = RdGrpIzbKontragent->itemIndex() == 1;
    DBLkpCmBoxTipKontragert->setEnabled(byClient);
    DBLkpCmBoxKontr->setEnabled(byClient);
    RdGrpIzbFilial->setEnabled(byClient);
    applyBranchBox();
    const SmpDataset& offices = dm_.SmpFirmaOfisi;
    const int office = offices.isEmpty() ? 0 : offices.value(u"NUMOFIS"_s).toInt();
    EdNFaktNew->setText(SalesInfo::proposedNumber(
        dm_.SQLConnectNS, textNumbers() ? SalesInfo::Numbering::Text : SalesInfo::Numbering::Integer, office));
    ReloadSalesInquiry();
    emptyInvoice();
}

void TFormSprProdagbi::ReloadSalesInquiry()
{
    SmpDataset& ds = spravki_.SmpSprRealizacia;
    ds.close();
    const bool byClient = RdGrpIzbKontragent->itemIndex() == 1;
    const SalesInfo::Choice client = byClient ? SalesInfo::Choice(client_) : std::nullopt;
    const SalesInfo::Choice branch = byClient && RdGrpIzbFilial->itemIndex() == 1 ? SalesInfo::Choice(branch_) : std::nullopt;
    const bool oneMaterial = RdGrpIzbMaterial->itemIndex() == 1;
    DBLkpCmBoxMaterial->setEnabled(oneMaterial);
    LbKolichestvo->setVisible(oneMaterial);
    SumBroiMatIzd->setVisible(oneMaterial);
    const QVariantMap params = SalesInfo::inquiryParams(client, branch, DateOt->date(), DateDo->date(),
                                                        oneMaterial ? SalesInfo::Choice(material_) : std::nullopt);
    for (auto it = params.begin(); it != params.end(); ++it) ds.setParam(it.key(), it.value());
    ds.open();
}

void TFormSprProdagbi::applyBranchBox()
{
    DBLkpCmBoxKontrFilial->setEnabled(RdGrpIzbKontragent->itemIndex() == 1 && RdGrpIzbFilial->itemIndex() == 1);
}

void TFormSprProdagbi::RdGrpIzbKontragentClick()
{
    const bool byClient = RdGrpIzbKontragent->itemIndex() == 1;
    DBLkpCmBoxTipKontragert->setEnabled(byClient);
    DBLkpCmBoxKontr->setEnabled(byClient);
    RdGrpIzbFilial->setEnabled(byClient);
    applyBranchBox();
    ReloadSalesInquiry();
}

void TFormSprProdagbi::DBLkpCmBoxTipKontragertCloseUp()
{
    const QVariant type = DBLkpCmBoxTipKontragert->keyValue();
    if (!type.isNull()) spravki_.SmpSprTipKontr.locate(u"NTIP_KONTRAGENT"_s, {type});
    spravki_.SmpSprKontr.close();
    spravki_.SmpSprKontr.open();
    DBLkpCmBoxKontr->setKeyValue(QVariant());
    DBLkpCmBoxKontrFilial->setKeyValue(QVariant());
    client_ = 0;
    branch_ = 0;
    applyBranchBox();
    ReloadSalesInquiry();
}

void TFormSprProdagbi::DBLkpCmBoxKontrCloseUp()
{
    const QVariant chosen = DBLkpCmBoxKontr->keyValue();
    if (!chosen.isNull()) spravki_.SmpSprKontr.locate(u"NKONTRAGENT"_s, {chosen});
    applyBranchBox();
    client_ = chosen.toInt();
    // The invoice being assembled belongs to one client.
    emptyInvoice();
    ReloadSalesInquiry();
}

void TFormSprProdagbi::RdGrpIzbFilialClick()
{
    applyBranchBox();
    ReloadSalesInquiry();
}

void TFormSprProdagbi::DBLkpCmBoxKontrFilialCloseUp()
{
    branch_ = DBLkpCmBoxKontrFilial->keyValue().toInt();
    ReloadSalesInquiry();
}

void TFormSprProdagbi::RdGrpIzbMaterialClick() { ReloadSalesInquiry(); }

void TFormSprProdagbi::DBLkpCmBoxMaterialCloseUp()
{
    material_ = DBLkpCmBoxMaterial->keyValue().toInt();
    ReloadSalesInquiry();
}

void TFormSprProdagbi::DateCloseUp()
{
    ReloadSalesInquiry();
    emptyInvoice();
}

void TFormSprProdagbi::RdGrpDDSClick()
{
    static const QString filters[] = {QString(), u"PROCENT_DDS=20"_s, u"PROCENT_DDS=10"_s};
    spravki_.SmpSprRealizacia.setFilter(filters[qBound(0, RdGrpDDS->itemIndex(), 2)]);
}

void TFormSprProdagbi::RdGrpKonsClick()
{
    // The remainder filter shares the list's one filter text with the VAT filter; "Всички" switches
    // filtering off altogether.
    SmpDataset& ds = spravki_.SmpSprRealizacia;
    if (RdGrpKons->itemIndex() == 1) {
        ds.setFiltered(true);
        ds.setFilter(u"SUMA_OSTATYK>0"_s);
    } else {
        ds.setFiltered(false);
    }
}

void TFormSprProdagbi::emptyInvoice()
{
    lines_.close();
    lines_.open();
    marked_.clear();
    invoiceVat_.reset();
    DBGridDanniOtProdagbi->viewport()->update();
}

QColor TFormSprProdagbi::rowColour(int position) const
{
    const SmpDataset& list = spravki_.SmpSprRealizacia;
    if (marked_.contains(list.valueAt(position, list.fieldByName(u"NUM_ZAPIS"_s)).toInt())) return QColor(Qt::blue);
    const QString number = EdNFaktNew->text().trimmed();
    if (number.isEmpty()) return {};
    const QVariant text = list.valueAt(position, list.fieldByName(u"NFAKTURA"_s));
    const QVariant integer = list.valueAt(position, list.fieldByName(u"NFAKT_INT"_s));
    if (text.toString() == number || (!integer.isNull() && integer.toString() == number)) return QColor(Qt::blue);
    return {};
}

void TFormSprProdagbi::SpeedBtnZapMaterialClick()
{
    SmpDataset& list = spravki_.SmpSprRealizacia;
    const bool clientChosen = RdGrpIzbKontragent->itemIndex() == 1 && !DBLkpCmBoxKontr->currentText().trimmed().isEmpty();
    SalesInfo::Row row;
    if (!list.isEmpty()) {
        row.nfaktura = list.value(u"NFAKTURA"_s).toString();
        row.nfaktInt = list.value(u"NFAKT_INT"_s).toInt();
        row.vat = list.value(u"PROCENT_DDS"_s).toDouble();
        row.marked = marked_.contains(list.value(u"NUM_ZAPIS"_s).toInt());
    }
    if (const QString why = SalesInfo::markRefusal(clientChosen, list.isEmpty(), EdNFaktNew->text(), row, invoiceVat_);
        !why.isEmpty()) {
        UiService::current().showMessage(why);
        return;
    }
    lines_.append();
    lines_.setValue(u"NMATERIAL"_s, list.value(u"NUMMATERIAL"_s));
    lines_.setValue(u"CENA_MATERIAL_IZDELIE"_s, list.value(u"CENA_MATERIAL_IZDELIE"_s));
    lines_.setValue(u"BROI_MATERIAL_IZDELIE"_s, list.value(u"BROI_MATERIAL_IZDELIE"_s));
    lines_.setValue(u"OTST_IZDELIE"_s, SalesInfo::invoiceLineDiscount(list.value(u"OTST_IZDELIE"_s).toDouble(),
                                                                      list.value(u"PROCENT_OTST"_s).toDouble()));
    invoiceVat_ = row.vat;
    lines_.post();
    marked_.append(list.value(u"NUM_ZAPIS"_s).toInt());
    DBGridDanniOtProdagbi->viewport()->update();
}

void TFormSprProdagbi::SpBtnPrintFaktObobstenaClick()
{
    InvoicePrint::Heading h;
    h.documentType = 0;
    if (const SmpDataset& k = spravki_.SmpSprKontr; client_ > 0 && k.isActive() && !k.isEmpty()) {
        const auto v = [&k](const char* f) { return k.value(QString::fromLatin1(f)).toString(); };
        h.recipient = InvoicePrint::counterpartyRecipient(v("IMEKONTRAGENT"), v("IMEGRAD"), v("ADRES"), v("DAN_NO"),
                                                          v("BULSTAT"), v("IMEMOLKONTR"));
        h.receivedBy = v("IMEMOLKONTR");
    }
    h.number = EdNFaktNew->text();
    h.date = h.taxEventDate = h.receivedOn = InvoicePrint::shortDate(DateFaktNew->date());
    SaleTotals::DocumentInput in;
    in.documentType = 0;
    in.vatPct = invoiceVat_.value_or(companyVat());
    InvoicePrint::fillTotals(h, in.vatPct, SaleLines::totals(lines_, in));
    qrFaktura_->fill(h);
    Report::preview(qrFaktura_->build());
}

void TFormSprProdagbi::SpdBtnZapisDocClick()
{
    if (!UiService::current().askYesNo(u" Запис на Фактура ?"_s)) return;
    if (!marked_.isEmpty()) {
        const SalesInfo::Numbering numbering = textNumbers() ? SalesInfo::Numbering::Text : SalesInfo::Numbering::Integer;
        try {
            SalesInfo::writeSummaryInvoice(dm_.SQLConnectNS, numbering, EdNFaktNew->text(), DateFaktNew->date(), marked_);
        } catch (const DbError& e) {
            // Nothing was written; the invoice stays as assembled.
            UiService::current().showMessage(userText(e));
            return;
        }
        emptyInvoice();
        ReloadSalesInquiry();
    }
    if (afterInvoice_) afterInvoice_();
    close();
}

void TFormSprProdagbi::BitBtnProdagbiClick()
{
    for (TQRProdagbi* r : {static_cast<TQRProdagbi*>(qrProdagbi_.get()), static_cast<TQRProdagbi*>(qrProdagbiStol_.get())})
        r->setPeriod(DateOt->date(), DateDo->date());
    const Report::ScopedDisplayFormat quantity(spravki_.SmpSprRealizacia.fieldByName(u"BROI_MATERIAL_IZDELIE"_s),
                                               u"# ### ####"_s);
    const bool withoutClients = !specialId_.isEmpty() && firmaText(dm_, "DAN_NO") == specialId_;
    if (withoutClients) Report::preview(*qrProdagbiStol_);
    else Report::preview(*qrProdagbi_);
}

void TFormSprProdagbi::BitBtnProdArtikClick()
{
    SmpDataset& ds = spravki_.SmpSprRealizaciaArtik;
    ds.close();
    const QVariantMap params = SalesInfo::articleParams(DateOt->date(), DateDo->date());
    for (auto it = params.begin(); it != params.end(); ++it) ds.setParam(it.key(), it.value());
    ds.open();
    qrProdagbiArtik_->setPeriod(DateOt->date(), DateDo->date());
    if (ds.isEmpty()) {
        UiService::current().showMessage(u"Липсват данни за извеждане !"_s);
        return;
    }
    Report::preview(*qrProdagbiArtik_);
}
