#include "reference/tabcompany.h"

#include "common/basecurrency.h"
#include "data/dmns.h"
#include "data/dmpers.h"
#include "platform/base/clock.h"
#include "platform/base/formats.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbdateedit.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbimage.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/wrappingtabwidget.h"
#include "platform/widgets/handlers.h"
#include "reference/eurochangeover.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kSavedCaption = QStringLiteral("Ravlon - ПРОИЗВОДСТВО !");
const QString kEuroFlag = QStringLiteral("EVRO_DA_NE");
const QString kEuroFrom = QStringLiteral("EVRO_OT_DATA");
}

TabCompany::TabCompany(TDMNS& dm, TDMPers& pers, QWidget* parent)
    : QWidget(parent), dm_(dm), pers_(pers), lists_(*this, dm.SQLConnectNS)
{
    setObjectName(QStringLiteral("TabSheet6"));
    DataSource* DtSrcFirma = lists_.sourceFor(dm_.SmpFirma);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    int row[2] = {0, 0};
    const auto place = [&](int col, const QString& caption, QWidget* control) {
        auto* label = new QLabel(caption);
        if (caption.size() > 28) {  // the long captions take two lines rather than widen the window
            label->setWordWrap(true);
            label->setMinimumWidth(200);
        }
        label->setBuddy(control);
        grid->addWidget(label, row[col], col * 2);
        grid->addWidget(control, row[col], col * 2 + 1);
        ++row[col];
    };
    const auto edit = [&](int col, const char* name, const char* field, const QString& caption) {
        auto* e = DbControls::makeEdit(name, DtSrcFirma, field);
        place(col, caption, e);
        return e;
    };
    const auto choice = [&](int col, const char* name, const char* field, SmpDataset& list, const char* key,
                            const char* shown, const QString& caption) {
        auto* c = DbControls::makeLookup(name, DtSrcFirma, field, lists_.sourceFor(list), key, shown);
        place(col, caption, c);
        return c;
    };

    edit(0, "DBEdtImeFirma", "IMEFIRMA", QStringLiteral("Име на фирмата"));
    edit(0, "DBEdtAdres", "ADRES", QStringLiteral("Адрес"));
    choice(0, "DBLkpCmBoxGrad", "POSTKOD", dm_.SmpGrad, "POSTKOD", "GRAD", QStringLiteral("Град"));
    edit(0, "DBEdtTel", "TEL", QStringLiteral("Телефон"));
    edit(0, "DBEdtEmail", "EMAIL", QStringLiteral("E-MAIL"));
    edit(0, "DBEdtDanNo", "DAN_NO", QStringLiteral("Идентификационен №"));
    edit(0, "DBEdtBulstat", "BULSTAT", QStringLiteral("Идентификационен № ДДС"));
    edit(0, "DBEdtBank", "BANK", QStringLiteral("Банка"));
    edit(0, "DBEdtBankKlon", "BANK_KLON", QStringLiteral("Банков клон"));
    edit(0, "DBEdtBankCode", "BANK_CODE", QStringLiteral("B I C"));
    edit(0, "DBEdtBankSmetka", "BANK_SMETKA", QStringLiteral("IBAN на сметка"));
    edit(0, "DBEdtDDSBankCode", "DDS_BANK_CODE", QStringLiteral("ДДС код"));
    edit(0, "DBEdtDDSBankSmetka", "DDS_BANK_SMETKA", QStringLiteral("IBAN на ДДС сметка"));

    DBLkpCmBoxMolFirma = choice(1, "DBLkpCmBoxMolFirma", "NMOL_FIRMA", dm_.SmpMolFirma, "NMOL_FIRMA", "IMEMOLFIRMA",
                                QStringLiteral("МОЛ"));
    Handlers::connect(DBLkpCmBoxMolFirma, &DBLookupComboBox::closeUp, this, &TabCompany::DBLkpCmBoxMolFirmaCloseUp);
    edit(1, "DBEdtDDSProcent", "DDS_PROCENT", QStringLiteral("% ДДС"));
    edit(1, "DBEdtOtstProcent", "OTST_PROCENT", QStringLiteral("% Отстъпка за клиенти"));
    edit(1, "DBEdtPsevdonim", "PSEVDONIM_FIRMA", QStringLiteral("Псевдоним за производство"))->setEnabled(false);
    edit(1, "DBEdtImeLogo", "IMELOGO", QStringLiteral("Име на заглавна форма :"));
    edit(1, "DBEdtImeSklInstr", "IMESKL_INSTR", QStringLiteral("Име на склад за инструменти и съоръжения :"));
    choice(1, "DBLkpCmBoxAutoPorychka", "AUTO_GEN_PORYCHKA", dm_.SmpDaNe, "NUM_DA_NE", "TEXT_DA_NE",
           QStringLiteral("Автоматично създаване на поръчка от продажба"))
        ->setEnabled(false);
    choice(1, "DBLkpCmBoxVidRazplDost", "VID_RAZPL_DOST", dm_.SmpTipPlast, "NTIP_PLASTANE", "TIP_PLASTANE_TEXT",
           QStringLiteral("Разпл. към доставчици"));
    choice(1, "DBLkpCmBoxVidRazplKlient", "VID_RAZPL_KLIENT", dm_.SmpTipPlast, "NTIP_PLASTANE", "TIP_PLASTANE_TEXT",
           QStringLiteral("Разплащане с клиенти"));
    choice(1, "DBLkpCmBoxTipDok", "NTIP_DOKUMENT", dm_.SmpTipDok, "NTIP_DOKUMENT", "IME_DOKUMENT",
           QStringLiteral("Тип документ за работа"));
    choice(1, "DBLkpCmBoxNfaktTip", "NFAKT_TXT_INT", dm_.SmpDaNe, "NUM_DA_NE", "FAKT_TXT_INT",
           QStringLiteral("Избор на тип поле за № на фактура "))
        ->setEnabled(false);
    edit(1, "DBEdtNfaktSimvol", "NFAKT_SIMVOL", QStringLiteral("Число пред № на фактурата"))->setDigitsOnly(true);
    edit(1, "DBEdtBelegka", "BELEGKA", QStringLiteral("Бележки към продажба"));
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* checks = new QGridLayout;
    const auto check = [&](QCheckBox*& box, const char* name, const QString& caption, const QString& column, int r,
                           int c) {
        box = new QCheckBox(caption);
        box->setObjectName(QString::fromLatin1(name));
        checks->addWidget(box, r, c);
        QCheckBox* b = box;
        Handlers::connect(box, &QCheckBox::clicked, this, [this, b, column] { ChBoxFirmaClick(b, column); });
    };
    check(ChBoxChrezDostavchik, "ChBoxChrezDostavchik", QStringLiteral("Доставка на материали чрез закупчик"),
          QStringLiteral("CHREZ_DOSTAVCHIK"), 0, 0);
    check(ChBoxDDSKomis, "ChBoxDDSKomis", QStringLiteral("Доставка отчитане ДДС, комис. и амбалаж"),
          QStringLiteral("DDS_KOMIS"), 1, 0);
    check(ChBoxSklobDaNe, "ChBoxSklobDaNe", QStringLiteral("Продажба чрез складов обект"), QStringLiteral("SKLOB_DA_NE"),
          2, 0);
    check(ChBoxCenaEdroDrebno, "ChBoxCenaEdroDrebno", QStringLiteral("Продажба по цени на едро"),
          QStringLiteral("CENA_EDRO_DREBNO"), 3, 0);
    checks->setVerticalSpacing(2);

    auto* logoBox = new QGroupBox(QStringLiteral("Лого"));
    auto* logoLayout = new QHBoxLayout(logoBox);
    DBImgLogo = new DBImage;
    DBImgLogo->setObjectName(QStringLiteral("DBImgLogo"));
    DBImgLogo->setDataSource(DtSrcFirma);
    DBImgLogo->setDataField(QStringLiteral("LOGO_FIRMA"));
    DBImgLogo->setFixedSize(120, 56);
    DBImgLogo->setFrameShape(QFrame::StyledPanel);
    DBImgLogo->setStretch(true);
    auto* paste = new QToolButton;
    paste->setObjectName(QStringLiteral("SpdBtnLogoPaste"));
    paste->setText(QStringLiteral("Вмъкни"));
    paste->setToolTip(QStringLiteral("Поставяне на картина от клипборда"));
    Handlers::connect(paste, &QToolButton::clicked, this, &TabCompany::SpdBtnLogoPasteClick);
    logoLayout->addWidget(DBImgLogo);
    logoLayout->addWidget(paste);

    SpeedBtnZapFirma = new QToolButton;
    SpeedBtnZapFirma->setObjectName(QStringLiteral("SpeedBtnZapFirma"));
    SpeedBtnZapFirma->setText(QStringLiteral("Запис"));
    SpeedBtnZapFirma->setMinimumWidth(90);
    Handlers::connect(SpeedBtnZapFirma, &QToolButton::clicked, this, &TabCompany::SpeedBtnZapFirmaClick);
    auto* exit = new QToolButton;
    exit->setObjectName(QStringLiteral("SpdBtnIzhodFirma"));
    exit->setText(QStringLiteral("Изход"));
    exit->setMinimumWidth(90);
    connect(exit, &QToolButton::clicked, this, [this] { window()->close(); });

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(2);  // the widest button of the row still leaves the window its width
    bottom->addLayout(checks, 1);
    bottom->addWidget(logoBox);
    // The base currency sits with the buttons: the rows above have no room left in the window's height.
    auto* buttons = new QVBoxLayout;
    auto* saveExit = new QHBoxLayout;
    saveExit->addWidget(SpeedBtnZapFirma);
    saveExit->addWidget(exit);
    buttons->addLayout(saveExit);
    buttons->addWidget(buildBaseCurrency(DtSrcFirma));
    SpdBtnCeniEvro = Handlers::makeButton("SpdBtnCeniEvro", QStringLiteral("Преизчисляване на цените в евро"), this,
                                          &TabCompany::SpdBtnCeniEvroClick);
    SpdBtnCeniEvro->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    buttons->addWidget(SpdBtnCeniEvro);
    bottom->addLayout(buttons);

    // The company's small lists, edited in place and stored at once.
    auto* lists = new WrappingTabWidget(3);
    lists->setObjectName(QStringLiteral("PageControlFirmaSpisyci"));
    lists->addTab(buildList(QStringLiteral("MolFirma"), dm_.SmpMolFirma, {{"IMEMOLFIRMA", "МОЛ"}}),
                  QStringLiteral("МОЛ на фирмата "));
    lists->addTab(buildList(QStringLiteral("VidPlastane"), dm_.SmpVidPlastane, {{"VIDPLASTANE", "Вид плащане"}}),
                  QStringLiteral("Вид плащания "));
    lists->addTab(buildList(QStringLiteral("FirmaOfisi"), dm_.SmpFirmaOfisi,
                            {{"NUMOFIS", "№"}, {"ImeGrad", "Град"}, {"ADRES", "Адрес"}, {"TEL", "Телефон"},
                             {"EMAIL", "E-MAIL"}}),
                  QStringLiteral("Офиси на фирмата "));
    lists->addTab(buildList(QStringLiteral("TipSlugOtchet"), pers_.SmpTipSlugOtchet,
                            {{"IME_SLUG_OTCHET", "Вид служебен отчет"}}),
                  QStringLiteral("Видове служебни отчети "));
    lists->addTab(buildList(QStringLiteral("TipManip"), pers_.SmpTipManip,
                            {{"NUM_MANIPULACIA", "№"}, {"IME_MANIPULACIA", "Име на манипулация"}, {"RAZCENKA", "Разценка"}}),
                  QStringLiteral("Манипулации/разценки "));
    lists->addTab(buildList(QStringLiteral("OsnovDDS"), dm_.SmpOsnovDDS,
                            {{"NUM_OSNOVANIE", "№"}, {"IME_OSNOVANIE", "Основание"}}),
                  QStringLiteral("Основание за прилагане на ДДС ставка "));
    lists->addTab(buildList(QStringLiteral("TipValuta"), dm_.SmpTipValuta,
                            {{"VALUTA_IME", "Валута"}, {"VALUTA_OPISANIE", "Описание"}, {"VALUTA_BAZA", "База"}}),
                  QStringLiteral("Валути "));

    auto* data = new QWidget;
    data->setObjectName(QStringLiteral("TabSheetFirmaDanni"));
    auto* dataLayout = new QVBoxLayout(data);
    dataLayout->setContentsMargins(6, 6, 6, 6);
    dataLayout->addLayout(grid);
    dataLayout->addLayout(bottom);
    dataLayout->addStretch(1);
    lists->insertTab(0, data, QStringLiteral("Данни на фирмата"));
    lists->setCurrentIndex(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(lists);
}

void TabCompany::FormShow()
{
    for (SmpDataset* ds : {&dm_.SmpFirma, &dm_.SmpFirmaOfisi, &dm_.SmpMolFirma, &dm_.SmpVidPlastane, &dm_.SmpOsnovDDS,
                           &dm_.SmpTipValuta, &pers_.SmpTipSlugOtchet, &pers_.SmpTipManip})
        ds->open();
    // Ticked for 1, cleared for 0; any other value leaves the box as it was.
    for (const auto& [box, column] : checkBoxes()) {
        const QVariant v = dm_.SmpFirma.value(column);
        if (v.isNull()) continue;
        if (v.toInt() == 1) box->setChecked(true);
        else if (v.toInt() == 0) box->setChecked(false);
    }
    showBaseCurrency();
}

QWidget* TabCompany::buildBaseCurrency(DataSource* firma)
{
    auto* box = new QWidget;
    box->setObjectName(QStringLiteral("PnlOsnValuta"));
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    CmbBoxOsnValuta = new QComboBox;
    CmbBoxOsnValuta->setObjectName(QStringLiteral("CmbBoxOsnValuta"));
    // The item's index is the value of EVRO_DA_NE.
    CmbBoxOsnValuta->addItems({QStringLiteral("в лева"), QStringLiteral("в евро от")});
    CmbBoxOsnValuta->setToolTip(QStringLiteral("Основна валута: лева, или евро от датата до нея"));
    Handlers::connect(CmbBoxOsnValuta, &QComboBox::activated, this, &TabCompany::CmbBoxOsnValutaChange);
    DBDateEvroOt = new DBDateEdit;
    DBDateEvroOt->setObjectName(QStringLiteral("DBDateEvroOt"));
    DBDateEvroOt->setDataSource(firma);
    DBDateEvroOt->setDataField(kEuroFrom);
    DBDateEvroOt->setToolTip(QStringLiteral("Първият ден на документите в евро"));
    auto* caption = new QLabel(QStringLiteral("Валута"));
    caption->setBuddy(CmbBoxOsnValuta);
    layout->addWidget(caption);
    layout->addWidget(CmbBoxOsnValuta, 1);
    layout->addWidget(DBDateEvroOt, 1);
    return box;
}

void TabCompany::showBaseCurrency()
{
    SmpDataset& firma = dm_.SmpFirma;
    const bool euro = firma.isActive() && !firma.isEmpty() &&
                      BaseCurrency::Settings::fromRecord(firma.value(kEuroFlag), {}).currency ==
                          BaseCurrency::Currency::Euro;
    CmbBoxOsnValuta->setCurrentIndex(euro ? 1 : 0);
    DBDateEvroOt->setEnabled(euro);
}

void TabCompany::CmbBoxOsnValutaChange(int index)
{
    SmpDataset& firma = dm_.SmpFirma;
    if (firma.state() != SmpDataset::State::Edit) firma.edit();
    firma.setValue(kEuroFlag, index);
    if (index == 1 && firma.value(kEuroFrom).isNull())
        firma.setValue(kEuroFrom, QDateTime(BaseCurrency::Settings::defaultCutover(), QTime(0, 0)));
    showBaseCurrency();
}

void TabCompany::SpdBtnCeniEvroClick()
{
    using Outcome = EuroChangeover::PriceConversion::Outcome;
    SQLConnection& db = dm_.SQLConnectNS;
    UiService& ui = UiService::current();
    const QString notEuro = QStringLiteral("Основната валута на фирмата не е евро !\r"
                                           "Цените се преизчисляват, след като евро е записано като основна валута.");
    const auto done = [&](const QDateTime& at) {
        ui.showMessage(QStringLiteral("Цените вече са преизчислени в евро на %1 !\rНищо не е преизчислено.")
                           .arg(Formats::dateToText(at.date())));
    };
    if (BaseCurrency::Settings::read(db).currency != BaseCurrency::Currency::Euro) {
        ui.showMessage(notEuro);
        return;
    }
    if (const QDateTime at = EuroChangeover::pricesConvertedAt(db); at.isValid()) {
        done(at);
        return;
    }
    if (!ui.askYesNo(QStringLiteral("Цените на материалите (за калкулация, на едро и на дребно) и специалните цени "
                                    "ще бъдат преизчислени от лева в евро по курс %1 лв. за 1 евро, закръглени до "
                                    "цент. Старите цени се пазят.\r\rЖЕЛАЕТЕ ЛИ ПРЕИЗЧИСЛЯВАНЕ ?")
                         .arg(Formats::numberToText(BaseCurrency::kLevaPerEuro))))
        return;
    const EuroChangeover::PriceConversion result = EuroChangeover::convertPrices(db, Clock::now());
    switch (result.outcome) {
    case Outcome::NotEuro: ui.showMessage(notEuro); return;
    case Outcome::AlreadyConverted: done(result.at); return;
    case Outcome::Converted: break;
    }
    // The lists that show prices read them again.
    for (SmpDataset* ds : {&dm_.SmpMateriali, &dm_.SmpViewMateriali, &dm_.SmpViewKontrMatCeni})
        if (ds->isActive()) ds->refresh();
    ui.showMessage(QStringLiteral("Цените са преизчислени в евро !\rМатериали: %1\rСпециални цени: %2")
                       .arg(result.materials)
                       .arg(result.specialPrices));
}

QWidget* TabCompany::buildList(const QString& name, SmpDataset& dataset,
                                      const QList<QPair<QString, QString>>& columns)
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet") + name);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* nav = new DBNavigator;
    nav->setObjectName(QStringLiteral("DBNavigator") + name);
    nav->setDataSource(lists_.sourceFor(dataset));
    nav->setButtons(DBNavigator::Buttons(DBNavigator::AllButtons));
    auto* grid = new DBGrid;
    grid->setObjectName(QStringLiteral("DBGrid") + name);
    grid->setDataSource(lists_.sourceFor(dataset));
    for (const auto& [field, title] : columns) grid->addColumn(field, title);
    layout->addWidget(nav);
    layout->addWidget(grid, 1);
    return page;
}

QList<QPair<QCheckBox*, QString>> TabCompany::checkBoxes() const
{
    return {{ChBoxChrezDostavchik, QStringLiteral("CHREZ_DOSTAVCHIK")},
            {ChBoxDDSKomis, QStringLiteral("DDS_KOMIS")},
            {ChBoxSklobDaNe, QStringLiteral("SKLOB_DA_NE")},
            {ChBoxCenaEdroDrebno, QStringLiteral("CENA_EDRO_DREBNO")}};
}

void TabCompany::ChBoxFirmaClick(QCheckBox* box, const QString& column)
{
    SmpDataset& firma = dm_.SmpFirma;
    if (firma.state() != SmpDataset::State::Edit) firma.edit();
    firma.setValue(column, box->isChecked() ? 1 : 0);
}

bool TabCompany::firmaValid()
{
    const QVariant vat = dm_.SmpFirma.value(QStringLiteral("DDS_PROCENT"));
    if (!vat.isNull() && (vat.toDouble() < 0 || vat.toDouble() > 100)) {
        UiService::current().showMessage(QStringLiteral("Ставката на ДДС трябва да е между 0 и 100 % !"));
        return false;
    }
    const auto wanted =
        BaseCurrency::Settings::fromRecord(dm_.SmpFirma.value(kEuroFlag), dm_.SmpFirma.value(kEuroFrom));
    if (const QString refusal = EuroChangeover::settingRefusal(dm_.SQLConnectNS, wanted); !refusal.isEmpty()) {
        UiService::current().showMessage(refusal);
        return false;
    }
    return true;
}

void TabCompany::storeFirma()
{
    SmpDataset& firma = dm_.SmpFirma;
    firma.post();
    firma.applyUpdates();
    firma.refresh();
}

void TabCompany::SpeedBtnZapFirmaClick()
{
    // Text typed into a box still being edited belongs to the record; a refused one stops the save.
    if (!Handlers::commitFocusedEdit(this)) return;
    if (!firmaValid()) return;
    storeFirma();
    const QString title = dm_.SmpFirma.fieldByName(QStringLiteral("IMELOGO"))->asString();
    emit mainCaptionChanged(title.isEmpty() ? kSavedCaption : title);
    // The staff's tools list follows the tools warehouse named here.
    pers_.reopenIssuableTools(dm_.SmpFirma.fieldByName(QStringLiteral("IMESKL_INSTR"))->asString());
}

void TabCompany::DBLkpCmBoxMolFirmaCloseUp()
{
    // The responsible person is stored at once, with whatever else of the record is pending.
    if (!firmaValid()) return;
    storeFirma();
}

void TabCompany::SpdBtnLogoPasteClick()
{
    if (!DBImgLogo->pasteFromClipboard()) UiService::current().showMessage(QStringLiteral("В клипборда няма картина !"));
}
