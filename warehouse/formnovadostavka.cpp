#include "warehouse/formnovadostavka.h"

#include "common/gridexport.h"
#include "data/dmns.h"
#include "data/dmpers.h"
#include "data/dmsklad.h"
#include "platform/base/clock.h"
#include "platform/base/formats.h"
#include "platform/report/reportpreview.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/keyfilter.h"
#include "platform/widgets/radiogroup.h"
#include "warehouse/formmaterialdostavka.h"
#include "warehouse/qrsklrazp.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

DBLookupComboBox* listBox(const char* name, DataSource* list, const char* key, const char* shown, int width = 200)
{
    auto* box = new DBLookupComboBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setListSource(list);
    box->setKeyField(QString::fromLatin1(key));
    box->setListField(QString::fromLatin1(shown));
    box->setMinimumWidth(width);
    return box;
}

QLineEdit* amountEdit(const char* name, const QString& text, int width = 80)
{
    auto* e = new QLineEdit(text);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaximumWidth(width);
    KeyFilter::amountsOnly(e);
    return e;
}

QDateEdit* dateEdit(const char* name)
{
    auto* d = new QDateEdit(Clock::today());
    d->setObjectName(QString::fromLatin1(name));
    d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    d->setCalendarPopup(true);
    return d;
}

// A typed amount: empty is 0; nullopt (after telling the user) when it is not a number.
std::optional<double> typedAmount(QLineEdit* edit)
{
    if (edit->text().trimmed().isEmpty()) edit->setText(QStringLiteral("0"));
    const auto v = Formats::textToNumber(edit->text());
    if (!v) UiService::current().showMessage(QStringLiteral("Невалидно число: ") + edit->text());
    return v;
}

} // namespace

TFormNovaDostavka::TFormNovaDostavka(TDMNS& dm, TDMSklad& sklad, TDMPers& pers, TFormMaterialDostavka& lineDialog,
                                     const QString& exemptVatNumber, QWidget* parent)
    : Form(parent), dm_(dm), sklad_(sklad), pers_(pers), lineDialog_(lineDialog), exemptVatNumber_(exemptVatNumber),
      lines_(new DataSource(&sklad.SmpDostavka, this)), qrSklRazp_(std::make_unique<TQRSklRazp>(dm, sklad)),
      qrSklRazpA4_(std::make_unique<TQRSklRazpA4>(dm, sklad))
{
    setObjectName(QStringLiteral("FormNovaDostavka"));
    setWindowTitle(QStringLiteral("Нова доставка"));

    DBLkpCmBoxIzbTipKontr = listBox("DBLkpCmBoxIzbTipKontr", new DataSource(&dm.SmpIzbTipKontr, this),
                                    "NTIP_KONTRAGENT", "KONTRAGENT", 160);
    DBLkpCmBoxIzbKontr = listBox("DBLkpCmBoxIzbKontr", new DataSource(&dm.SmpIzbKontr, this), "NKONTRAGENT",
                                 "IMEKONTRAGENT", 280);
    DBLookupComboBox1 = listBox("DBLookupComboBox1", new DataSource(&dm.SmpIzbMOL, this), "NMOL", "IMEMOL", 200);
    DatePoluchDostavka = dateEdit("DatePoluchDostavka");
    DateFaktura = dateEdit("DateFaktura");
    EditFakturaNum = new QLineEdit;
    EditFakturaNum->setObjectName(QStringLiteral("EditFakturaNum"));
    EditFakturaNum->setMaxLength(10);
    EditFakturaNum->setMaximumWidth(110);
    EdSklRazpNUM = amountEdit("EdSklRazpNUM", QString());
    EdDDS = amountEdit("EdDDS", QStringLiteral("0"), 60);
    EdKomis = amountEdit("EdKomis", QString());
    DBLkpCmbVsklOb = listBox("DBLkpCmbVsklOb", new DataSource(&dm.SmpTipSklOb, this), "NSKL_OBEKT", "IME_SKL_OBEKT");

    auto* head = new QGridLayout;
    head->addWidget(new QLabel(QStringLiteral("Вид контрагент :")), 0, 0);
    head->addWidget(DBLkpCmBoxIzbTipKontr, 0, 1);
    head->addWidget(new QLabel(QStringLiteral("Контрагент :")), 0, 2);
    head->addWidget(DBLkpCmBoxIzbKontr, 0, 3);
    head->addWidget(new QLabel(QStringLiteral("М О Л :")), 0, 4);
    head->addWidget(DBLookupComboBox1, 0, 5);
    head->addWidget(new QLabel(QStringLiteral("Дата на въвеждане :")), 1, 0);
    head->addWidget(DatePoluchDostavka, 1, 1);
    head->addWidget(new QLabel(QStringLiteral("Факт/ст.р. № ")), 1, 2);
    head->addWidget(EditFakturaNum, 1, 3, Qt::AlignLeft);
    head->addWidget(new QLabel(QStringLiteral("Факт./ст.р. дата :")), 1, 4);
    head->addWidget(DateFaktura, 1, 5);
    head->addWidget(new QLabel(QStringLiteral("Скл.разп. №")), 2, 0);
    head->addWidget(EdSklRazpNUM, 2, 1);
    head->addWidget(new QLabel(QStringLiteral("% ДДС")), 2, 2);
    head->addWidget(EdDDS, 2, 3, Qt::AlignLeft);
    head->addWidget(new QLabel(QStringLiteral("Комисионна на 1бр./1кг/")), 2, 4);
    head->addWidget(EdKomis, 2, 5);
    head->addWidget(DBLkpCmbVsklOb, 3, 5);

    RdGrpVidPlastane = new RadioGroup(QStringLiteral("RdGrpVidPlastane"), QStringLiteral("Вид плащане "),
                                      {QStringLiteral("Веднага"), QStringLiteral("Разсроч.")});
    auto* paid = new QGroupBox;
    auto* paidRow = new QHBoxLayout(paid);
    const auto paidEdit = [paidRow](QLabel*& label, QLineEdit*& edit, const char* name, const char* caption) {
        label = new QLabel(QString::fromUtf8(caption));
        label->setObjectName(QStringLiteral("Lb") + QString::fromLatin1(name).mid(2));
        edit = amountEdit(name, QStringLiteral("0"));
        paidRow->addWidget(label);
        paidRow->addWidget(edit);
    };
    paidEdit(LbRazsrSumaLv, EdRazsrSumaLv, "EdRazsrSumaLv", "Лв.");
    paidEdit(LbRazsrSumaUSD, EdRazsrSumaUSD, "EdRazsrSumaUSD", "USD");
    paidEdit(LbRazsrSumaEUR, EdRazsrSumaEUR, "EdRazsrSumaEUR", "EUR");
    ChBoxZakupchik = new QCheckBox(QStringLiteral("Чрез закупчик"));
    ChBoxZakupchik->setObjectName(QStringLiteral("ChBoxZakupchik"));
    LbZakupchik = new QLabel(QStringLiteral("Закупчик :"));
    DBLkpCmBoxShifyrZakup = listBox("DBLkpCmBoxShifyrZakup", new DataSource(&pers.SmpViewPers, this), "SHIFYR",
                                    "IMEFULL", 240);
    auto* payment = new QHBoxLayout;
    payment->addWidget(RdGrpVidPlastane);
    payment->addWidget(paid);
    payment->addWidget(ChBoxZakupchik);
    payment->addWidget(LbZakupchik);
    payment->addWidget(DBLkpCmBoxShifyrZakup);
    payment->addStretch(1);

    DBGrid1 = new DBGrid;
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSource(lines_);
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    DBGrid1->addColumn(QStringLiteral("ImeMaterial"), QStringLiteral("Наименование"), 220);
    DBGrid1->addColumn(QStringLiteral("KOLICHESTVO"), {}, 75);
    DBGrid1->addColumn(QStringLiteral("ED_CENA_LV"), {}, 75);
    DBGrid1->addColumn(QStringLiteral("PROCENT_OTST"), QStringLiteral("% то"), 55);
    for (const char* f : {"LvOtst", "PROCENT_DDS", "LvOtstDDS", "ObstoLV", "USD", "UsdOtst", "UsdOtstDDS", "ObstoUSD",
                          "EUR", "EurOtst", "EurOtstDDS", "ObstoEUR", "DATEGODNOST"})
        DBGrid1->addColumn(QString::fromLatin1(f), {}, 85);

    DBText1 = DbControls::makeShownNumber("DBText1", lines_, "SumObCenaLv", 100);
    DBText2 = DbControls::makeShownNumber("DBText2", lines_, "SumObCenaUSD", 100);
    DBText3 = DbControls::makeShownNumber("DBText3", lines_, "SumObCenaEUR", 100);
    auto* totals = new QHBoxLayout;
    for (const auto& [caption, text] : {std::pair{"Сума ЛВ:", DBText1}, {"Сума USD:", DBText2}, {"Сума EUR:", DBText3}}) {
        totals->addWidget(new QLabel(QString::fromUtf8(caption)));
        totals->addWidget(text);
    }
    totals->addStretch(1);

    SpdBtnNewMat = Handlers::makeButton("SpdBtnNewMat", QStringLiteral("Добавяне на материал"), this,
                                        &TFormNovaDostavka::SpdBtnNewMatClick);
    SpdBtnRedakciaMat = Handlers::makeButton("SpdBtnRedakciaMat", QStringLiteral("Редакция"), this,
                                             &TFormNovaDostavka::SpdBtnRedakciaMatClick);
    SpdBtnDelMat = Handlers::makeButton("SpdBtnDelMat", QStringLiteral("Изтриване"), this, &TFormNovaDostavka::SpdBtnDelMatClick);
    SpdBtnZapisDost = Handlers::makeButton("SpdBtnZapisDost", QStringLiteral("запис в склад"), this,
                                           &TFormNovaDostavka::SpdBtnZapisDostClick);
    SpeedButton2 = Handlers::makeButton("SpeedButton2", QStringLiteral("-> Excel"), this, &TFormNovaDostavka::SpeedButton2Click);
    BitBtnSklRazpA5 = Handlers::makeButton("BitBtnSklRazpA5", QStringLiteral("Скл. разп. А5"), this,
                                           &TFormNovaDostavka::BitBtnSklRazpA5Click);
    BitBtnSklRazpA5->setToolTip(QStringLiteral("Печат на доставка А5"));
    BitBtnSklRazpA4 = Handlers::makeButton("BitBtnSklRazpA4", QStringLiteral("Скл. разп. А4"), this,
                                           &TFormNovaDostavka::BitBtnSklRazpA4Click);
    BitBtnSklRazpA4->setToolTip(QStringLiteral("Печат на доставка А4"));
    SpdBtnNomekl = Handlers::makeButton("SpdBtnNomekl", QStringLiteral("Номенклатури"), this,
                                        &TFormNovaDostavka::SpdBtnNomeklClick);
    SpdBtnNomekl->setEnabled(false);
    SpdBtnExit = Handlers::makeButton("SpdBtnExit", QStringLiteral("Изход"));
    connect(SpdBtnExit, &QToolButton::clicked, this, &QWidget::close);
    auto* buttons = new QVBoxLayout;
    for (QToolButton* b : {SpdBtnNewMat, SpdBtnRedakciaMat, SpdBtnDelMat, SpdBtnZapisDost, SpeedButton2, BitBtnSklRazpA5,
                           BitBtnSklRazpA4, SpdBtnNomekl, SpdBtnExit}) {
        b->setMinimumWidth(170);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(DBGrid1, 1);
    middle->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addLayout(payment);
    layout->addLayout(middle, 1);
    layout->addLayout(totals);
    resize(1100, 640);

    Handlers::connect(DBLkpCmBoxIzbTipKontr, &DBLookupComboBox::closeUp, this,
                      &TFormNovaDostavka::DBLkpCmBoxIzbTipKontrCloseUp);
    Handlers::connect(DBLkpCmBoxIzbKontr, &DBLookupComboBox::closeUp, this, &TFormNovaDostavka::DBLkpCmBoxIzbKontrCloseUp);
    Handlers::connect(DBLkpCmbVsklOb, &DBLookupComboBox::closeUp, this, &TFormNovaDostavka::DBLkpCmbVsklObCloseUp);
    Handlers::connect(RdGrpVidPlastane, &RadioGroup::clicked, this, &TFormNovaDostavka::RdGrpVidPlastaneClick);
    Handlers::connect(ChBoxZakupchik, &QCheckBox::clicked, this, &TFormNovaDostavka::ChBoxZakupchikClick);
    Handlers::connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TFormNovaDostavka::SpdBtnRedakciaMatClick);
}

TFormNovaDostavka::~TFormNovaDostavka() = default;

bool TFormNovaDostavka::open(Mode mode)
{
    mode_ = mode;
    saved_ = false;
    UiService::current().showModal(this);
    return saved_;
}

void TFormNovaDostavka::setCounterpartyWindow(std::function<void(int supplier)> open)
{
    openCounterparties_ = std::move(open);
    SpdBtnNomekl->setEnabled(bool(openCounterparties_));
}

void TFormNovaDostavka::SpdBtnNomeklClick()
{
    if (!openCounterparties_) return;
    const QVariant supplier = DBLkpCmBoxIzbKontr->keyValue();
    openCounterparties_(chosenSupplier());
    // A supplier added or renamed there is offered here at once; the choice stays.
    SmpDataset& kontr = dm_.SmpIzbKontr;
    kontr.close();
    kontr.open();
    DBLkpCmBoxIzbKontr->setKeyValue(supplier);
}

void TFormNovaDostavka::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

void TFormNovaDostavka::FormShow()
{
    const bool object = mode_ == Mode::WarehouseObject;
    DBLkpCmbVsklOb->setEnabled(object);
    for (QWidget* w : std::initializer_list<QWidget*>{DBLookupComboBox1, RdGrpVidPlastane, DBLkpCmBoxShifyrZakup,
                                                      ChBoxZakupchik, EdRazsrSumaLv, EdRazsrSumaUSD, EdRazsrSumaEUR, EdKomis})
        w->setEnabled(!object);
    for (QLineEdit* e : {EdRazsrSumaLv, EdRazsrSumaUSD, EdRazsrSumaEUR})
        e->setText(QStringLiteral("0"));
    dm_.SmpIzbTipKontr.close();
    dm_.SmpIzbTipKontr.open();
    sklad_.SmpDostavka.close();
    sklad_.SmpDostavka.open();
    agreed_.clear();
    if (!dm_.SmpMateriali.isActive()) dm_.SmpMateriali.open();
    if (!dm_.SmpTipSklad.isActive()) dm_.SmpTipSklad.open();
    if (!dm_.SmpTipSklOb.isActive()) dm_.SmpTipSklOb.open();
    DateFaktura->setDate(Clock::today());
    dm_.SmpIzbKontr.close();
    dm_.SmpIzbKontr.setParam(QStringLiteral("InTipKontr"), 0);
    dm_.SmpIzbKontr.open();
    DBLkpCmBoxIzbKontr->setKeyValue(QVariant());
    DBLookupComboBox1->setKeyValue(QVariant());

    SmpDataset& firma = dm_.SmpFirma;
    if (!firma.isActive()) firma.open();
    const auto company = [&firma](const char* f) {
        return firma.isEmpty() ? 0 : firma.fieldByName(QString::fromLatin1(f))->asInt();
    };
    RdGrpVidPlastane->setItemIndex(company("VID_RAZPL_DOST") == 1 ? 1 : 0);
    RdGrpVidPlastaneClick();
    if (!pers_.SmpViewPers.isActive()) pers_.SmpViewPers.open();
    ChBoxZakupchik->setChecked(company("CHREZ_DOSTAVCHIK") == 1);
    ChBoxZakupchikClick();
    EdSklRazpNUM->setText(QString::number(Deliveries::proposeReceiptNumber(dm_.SQLConnectNS, Clock::today().year())));
    DBLkpCmBoxIzbTipKontr->setFocus();
}

void TFormNovaDostavka::DBLkpCmBoxIzbTipKontrCloseUp()
{
    SmpDataset& kontr = dm_.SmpIzbKontr;
    kontr.close();
    kontr.setParam(QStringLiteral("InTipKontr"), DBLkpCmBoxIzbTipKontr->keyValue().toInt());
    kontr.open();
    DBLkpCmBoxIzbKontr->setKeyValue(QVariant());
    DBLookupComboBox1->setKeyValue(QVariant());
}

void TFormNovaDostavka::DBLkpCmBoxIzbKontrCloseUp()
{
    // The supplier's own responsible person, which the user may change for this delivery.
    SmpDataset& kontr = dm_.SmpIzbKontr;
    DBLookupComboBox1->setKeyValue(kontr.isEmpty() ? QVariant() : kontr.value(QStringLiteral("NMOL")));
}

void TFormNovaDostavka::DBLkpCmbVsklObCloseUp()
{
    SmpDataset& objects = dm_.SmpTipSklOb;
    warehouseObject_ = objects.isEmpty() ? 0 : objects.fieldByName(QStringLiteral("NSKL_OBEKT"))->asInt();
}

void TFormNovaDostavka::RdGrpVidPlastaneClick()
{
    if (mode_ == Mode::WarehouseObject) return;
    const bool instalments = RdGrpVidPlastane->itemIndex() == 1;
    for (QWidget* w : std::initializer_list<QWidget*>{EdRazsrSumaLv, EdRazsrSumaUSD, EdRazsrSumaEUR, LbRazsrSumaLv,
                                                      LbRazsrSumaUSD, LbRazsrSumaEUR})
        w->setEnabled(instalments);
}

void TFormNovaDostavka::ChBoxZakupchikClick()
{
    LbZakupchik->setEnabled(ChBoxZakupchik->isChecked());
    DBLkpCmBoxShifyrZakup->setEnabled(ChBoxZakupchik->isChecked() && mode_ != Mode::WarehouseObject);
}

int TFormNovaDostavka::chosenSupplier() const
{
    const QVariant key = DBLkpCmBoxIzbKontr->keyValue();
    return key.isNull() || DBLkpCmBoxIzbKontr->currentText().isEmpty() ? 0 : key.toInt();
}

void TFormNovaDostavka::SpdBtnNewMatClick()
{
    if (chosenSupplier() == 0 || EditFakturaNum->text().isEmpty()) {
        UiService::current().showMessage(QStringLiteral("Не въведен контрагент или  № на фактура!"));
        return;
    }
    SmpDataset& lines = sklad_.SmpDostavka;
    lines.append();
    lines.setValue(QStringLiteral("PROCENT_DDS"), Formats::textToNumber(EdDDS->text()).value_or(0));
    editLine();
}

void TFormNovaDostavka::SpdBtnRedakciaMatClick()
{
    SmpDataset& lines = sklad_.SmpDostavka;
    if (lines.isEmpty()) {
        UiService::current().showMessage(QStringLiteral("Няма въведени материали!"));
        return;
    }
    dm_.SmpMateriali.locate(QStringLiteral("NMATERIAL"), {lines.value(QStringLiteral("NMATERIAL"))});
    editLine();
}

void TFormNovaDostavka::editLine()
{
    DeliveryLineContext context;
    context.warehouseObject = mode_ == Mode::WarehouseObject;
    context.supplier = chosenSupplier();
    context.document = EditFakturaNum->text();
    context.documentDate = DateFaktura->date();
    context.priceCheckExempt = Deliveries::calculationPriceExempt(dm_.SQLConnectNS, exemptVatNumber_);
    context.agreed = &agreed_;
    lineDialog_.open(context);
}

void TFormNovaDostavka::SpdBtnDelMatClick()
{
    SmpDataset& lines = sklad_.SmpDostavka;
    if (lines.isEmpty() || !UiService::current().askYesNo(QStringLiteral(" Изтриване на материал ?"))) return;
    lines.remove();  // the current line only: two lines of one material stay apart
}

Deliveries::Header TFormNovaDostavka::header() const
{
    Deliveries::Header h;
    h.supplier = chosenSupplier();
    h.supplierMol = DBLookupComboBox1->keyValue().toInt();
    h.document = EditFakturaNum->text();
    h.documentDate = DateFaktura->date();
    h.received = DatePoluchDostavka->date();
    if (ChBoxZakupchik->isChecked()) h.purchaser = DBLkpCmBoxShifyrZakup->keyValue().toInt();
    return h;
}

QVector<Deliveries::Line> TFormNovaDostavka::storableLines()
{
    SmpDataset& lines = sklad_.SmpDostavka;
    QVector<Deliveries::Line> out;
    for (int i = 0; i < lines.recordCount(); ++i) {
        const auto value = [&lines, i](const char* f) { return lines.valueAt(i, lines.fieldByName(QString::fromLatin1(f))); };
        Deliveries::Line line;
        line.material = value("NMATERIAL").toInt();
        line.materialName = value("ImeMaterial").toString();
        line.quantity = value("KOLICHESTVO").toDouble();
        line.priceLv = value("ED_CENA_LV").toDouble();
        line.priceUsd = value("USD").toDouble();
        line.priceEur = value("EUR").toDouble();
        line.discountPct = value("PROCENT_OTST").toDouble();
        line.vatPct = value("PROCENT_DDS").toDouble();
        if (const QVariant expiry = value("DATEGODNOST"); !expiry.isNull()) line.expiry = expiry.toDateTime().date();
        if (!line.storable()) {
            UiService::current().showMessage(Deliveries::skippedLineMessage(line.materialName));
            continue;
        }
        out.append(line);
    }
    return out;
}

void TFormNovaDostavka::SpdBtnZapisDostClick()
{
    if (mode_ == Mode::WarehouseObject) {
        if (warehouseObject_ <= 0) {
            UiService::current().showMessage(QStringLiteral("Не е избран складов обект!"));
            return;
        }
        SaveDeliveryToWarehouseObject();
    } else {
        SaveDeliveryToWarehouse();
    }
}

void TFormNovaDostavka::SaveDeliveryToWarehouse()
{
    UiService& ui = UiService::current();
    sklad_.SmpDostavka.checkBrowseMode();
    if (!ui.askYesNo(QStringLiteral(" Запис на доставка ?"))) return;
    Deliveries::Header h = header();
    if (h.supplier == 0) {
        ui.showMessage(QStringLiteral("Не въведен контрагент !"));
        return;
    }
    // Every number, question and message is settled here; the write that follows asks nothing.
    if (EdSklRazpNUM->text().trimmed().isEmpty()) EdSklRazpNUM->setText(QStringLiteral("0"));
    bool whole = false;
    h.receiptNumber = EdSklRazpNUM->text().toInt(&whole);
    if (!whole || h.receiptNumber < 0) {
        ui.showMessage(QStringLiteral("Невалиден номер на складова разписка: ") + EdSklRazpNUM->text());
        return;
    }
    const int year = h.documentDate.year();
    if (h.receiptNumber > 0 && Deliveries::receiptNumberTaken(dm_.SQLConnectNS, year, h.receiptNumber)) {
        ui.showMessage(Deliveries::receiptNumberTakenMessage(year, h.receiptNumber));
        return;
    }
    if (EdKomis->text().trimmed().isEmpty()) EdKomis->setText(QStringLiteral("0"));
    const auto commission = typedAmount(EdKomis);
    if (!commission) return;
    h.commission = *commission;
    h.payAtOnce = RdGrpVidPlastane->itemIndex() == 0;
    if (!h.payAtOnce) {
        const auto lv = typedAmount(EdRazsrSumaLv), usd = typedAmount(EdRazsrSumaUSD), eur = typedAmount(EdRazsrSumaEUR);
        if (!lv || !usd || !eur) return;
        h.paidLv = *lv, h.paidUsd = *usd, h.paidEur = *eur;
    }
    const QVector<Deliveries::Line> lines = storableLines();
    if (lines.isEmpty()) {
        ui.showMessage(QStringLiteral("Няма въведени материали!"));
        return;
    }
    // The document may have been retyped after its lines were added: each line is checked again.
    for (const Deliveries::Line& line : lines)
        if (Deliveries::documentStored(dm_.SQLConnectNS, line.material, h.supplier, h.document, h.documentDate)) {
            ui.showMessage(Deliveries::duplicateDocumentMessage());
            return;
        }
    Deliveries::AgreedPrices prices = agreed_;
    if (!Deliveries::calculationPriceExempt(dm_.SQLConnectNS, exemptVatNumber_))
        for (const Deliveries::Line& line : lines)
            if (line.offersCalculationPrice())
                Deliveries::offerCalculationPrice(dm_.SQLConnectNS, prices, line.material, line.materialName, line.priceLv,
                                                  [&ui](const QString& question) { return ui.askYesNo(question); });
    // A failed write has stored nothing; its error is reported and the lines stay for another try.
    const Deliveries::Saved saved =
        Deliveries::saveRenumbering(dm_.SQLConnectNS, h, lines, Deliveries::toCalculationPrices(prices));
    EditFakturaNum->clear();
    if (saved.receiptNumber != h.receiptNumber && !saved.lineKeys.isEmpty())
        ui.showMessage(QStringLiteral("Складова разписка № %1 беше записана междувременно от друго работно място.\n"
                                      "Доставката е записана със складова разписка № %2 !")
                           .arg(h.receiptNumber)
                           .arg(saved.receiptNumber));
    saved_ = !saved.lineKeys.isEmpty();
    close();
}

void TFormNovaDostavka::SaveDeliveryToWarehouseObject()
{
    UiService& ui = UiService::current();
    sklad_.SmpDostavka.checkBrowseMode();
    if (!ui.askYesNo(QStringLiteral(" Запис на доставка ?"))) return;
    const Deliveries::Header h = header();
    if (h.supplier == 0) {
        ui.showMessage(QStringLiteral("Не въведен контрагент !"));
        EditFakturaNum->clear();
        return;
    }
    const int number = Deliveries::saveToWarehouseObject(dm_.SQLConnectNS, h, warehouseObject_, storableLines());
    EditFakturaNum->clear();
    saved_ = number > 0;
    close();
}

void TFormNovaDostavka::SpeedButton2Click()
{
    SmpDataset& lines = sklad_.SmpDostavka;
    lines.checkBrowseMode();
    if (lines.isEmpty()) return;
    SpreadsheetExport how;
    how.parentWindow = this;
    ExportDatasetToSpreadsheet(lines, how);
}

TQRSklRazpBase& TFormNovaDostavka::filledReceipt(bool a4)
{
    TQRSklRazpBase& layout = a4 ? static_cast<TQRSklRazpBase&>(*qrSklRazpA4_) : *qrSklRazp_;
    ReceiptHeading heading;
    heading.document = EditFakturaNum->text();
    heading.documentDate = DateFaktura->date().toString(QStringLiteral("dd.MM.yyyy"));
    heading.receiptNumber = EdSklRazpNUM->text();
    heading.receivedDate = DatePoluchDostavka->date().toString(QStringLiteral("dd.MM.yyyy"));
    if (chosenSupplier() > 0) heading.supplier = dm_.SmpIzbKontr.value(QStringLiteral("IMEKONTRAGENT")).toString();
    layout.fill(heading);
    return layout;
}

void TFormNovaDostavka::BitBtnSklRazpA5Click()
{
    sklad_.SmpDostavka.checkBrowseMode();
    Report::preview(filledReceipt(false).build());
}

void TFormNovaDostavka::BitBtnSklRazpA4Click()
{
    sklad_.SmpDostavka.checkBrowseMode();
    Report::preview(filledReceipt(true).build());
}
