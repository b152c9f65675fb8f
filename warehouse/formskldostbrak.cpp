#include "warehouse/formskldostbrak.h"

#include "data/dmns.h"
#include "data/dmsklad.h"
#include "platform/base/clock.h"
#include "platform/base/formats.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "warehouse/stocklines.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
QLabel* valueLabel(const char* name)
{
    auto* l = new QLabel;
    l->setObjectName(QString::fromLatin1(name));
    l->setFrameShape(QFrame::StyledPanel);
    l->setMinimumWidth(80);
    return l;
}

QLineEdit* edit(const char* name, int maxLength = 15)
{
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    e->setMaximumWidth(130);
    return e;
}

// A typed amount; 0 for an empty or unreadable text, which the claim's check then refuses.
double amount(const QLineEdit* e) { return Formats::textToNumber(e->text()).value_or(0); }
} // namespace

TFormSklDostBrak::TFormSklDostBrak(TDMNS& dm, TDMSklad& sklad, QWidget* parent) : Form(parent), dm_(dm), sklad_(sklad)
{
    setObjectName(u"FormSklDostBrak"_s);
    setWindowTitle(u"Брак на доставка"_s);

    auto* title = new QLabel(u"Бракуване на количество доставен материал !"_s);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    title->setFont(bold);

    LbMaterial = valueLabel("LbMaterial");
    LbDostavchik = valueLabel("LbDostavchik");
    LbNFaktura = valueLabel("LbNFaktura");
    LbDateFaktura = valueLabel("LbDateFaktura");
    LbNalichnost = valueLabel("LbNalichnost");
    LbKolichestvo = valueLabel("LbKolichestvo");
    LbSumIsk = valueLabel("LbSumIsk");
    LbProdadeno = valueLabel("LbProdadeno");
    LbEkspedirano = valueLabel("LbEkspedirano");
    LbEdCenaLv = valueLabel("LbEdCenaLv");
    LbUSD = valueLabel("LbUSD");
    LbEUR = valueLabel("LbEUR");
    for (QLabel* l : {LbNalichnost, LbKolichestvo, LbSumIsk, LbProdadeno, LbEkspedirano, LbEdCenaLv, LbUSD, LbEUR})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* stock = new QGroupBox(u"Данни за наличност на материал в склад от доставчик "_s);
    auto* stockGrid = new QGridLayout(stock);
    stockGrid->addWidget(new QLabel(u"Материал"_s), 0, 0);
    stockGrid->addWidget(LbMaterial, 0, 1, 1, 5);
    stockGrid->addWidget(new QLabel(u"Доставчик"_s), 1, 0);
    stockGrid->addWidget(LbDostavchik, 1, 1, 1, 3);
    stockGrid->addWidget(new QLabel(u"№ факт."_s), 2, 0);
    stockGrid->addWidget(LbNFaktura, 2, 1);
    stockGrid->addWidget(new QLabel(u"Дата"_s), 2, 2);
    stockGrid->addWidget(LbDateFaktura, 2, 3);
    const QList<QPair<QString, QLabel*>> numbers{
        {u"Наличност"_s, LbNalichnost}, {u"Доставено"_s, LbKolichestvo}, {u"Вложено"_s, LbSumIsk},
        {u"Продадено"_s, LbProdadeno},  {u"Експедирано"_s, LbEkspedirano}, {u"Ед.ц.ЛВ"_s, LbEdCenaLv},
        {u"Ед.ц.USD"_s, LbUSD},         {u"Ед.ц.EUR"_s, LbEUR}};
    for (int i = 0; i < numbers.size(); ++i) {
        const int row = 3 + i / 3, col = (i % 3) * 2;
        stockGrid->addWidget(new QLabel(numbers[i].first), row, col);
        stockGrid->addWidget(numbers[i].second, row, col + 1);
    }

    DBLkpCmbKontr = new DBLookupComboBox;
    DBLkpCmbKontr->setObjectName(u"DBLkpCmbKontr"_s);
    auto* counterparties = new DataSource(&sklad.SmpKontrSklPunkt, this);
    counterparties->setObjectName(u"DtSrcKontrSklPunkt"_s);
    DBLkpCmbKontr->setListSource(counterparties);
    DBLkpCmbKontr->setKeyField(u"NKONTRAGENT"_s);
    DBLkpCmbKontr->setListField(u"IMEKONTRAGENT"_s);
    DBLkpCmbKontr->setMinimumWidth(280);
    DateSklDostBrak = new QDateEdit;
    DateSklDostBrak->setObjectName(u"DateSklDostBrak"_s);
    DateSklDostBrak->setCalendarPopup(true);
    DateSklDostBrak->setDisplayFormat(u"dd.MM.yyyy"_s);
    EditKolichBrak = edit("EditKolichBrak");
    EditNFakturaBrak = edit("EditNFakturaBrak", 10);
    EditDateFakturaBrak = edit("EditDateFakturaBrak", 10);
    EditDateFakturaBrak->setPlaceholderText(u"дд.мм.гггг"_s);
    EditEdCenaLV = edit("EditEdCenaLV");
    EditUSD = edit("EditUSD");
    EditEUR = edit("EditEUR");
    for (QLineEdit* e : {EditKolichBrak, EditEdCenaLV, EditUSD, EditEUR}) e->setAlignment(Qt::AlignRight);

    auto* claim = new QGroupBox(u"Данни на доставчика и документа за който се извършва бракуването "_s);
    auto* claimGrid = new QGridLayout(claim);
    claimGrid->addWidget(new QLabel(u"Име на контрагент за брак"_s), 0, 0);
    claimGrid->addWidget(DBLkpCmbKontr, 0, 1, 1, 3);
    claimGrid->addWidget(new QLabel(u"Дата брак"_s), 1, 0);
    claimGrid->addWidget(DateSklDostBrak, 1, 1);
    claimGrid->addWidget(new QLabel(u"Количество за брак"_s), 1, 2);
    claimGrid->addWidget(EditKolichBrak, 1, 3);
    claimGrid->addWidget(new QLabel(u"№ факт. брак"_s), 2, 0);
    claimGrid->addWidget(EditNFakturaBrak, 2, 1);
    claimGrid->addWidget(new QLabel(u"Дата факт. брак"_s), 2, 2);
    claimGrid->addWidget(EditDateFakturaBrak, 2, 3);
    claimGrid->addWidget(new QLabel(u"Ед.ц. ЛВ"_s), 3, 0);
    claimGrid->addWidget(EditEdCenaLV, 3, 1);
    claimGrid->addWidget(new QLabel(u"Ед.ц. USD"_s), 3, 2);
    claimGrid->addWidget(EditUSD, 3, 3);
    claimGrid->addWidget(new QLabel(u"Ед.ц. EUR"_s), 4, 0);
    claimGrid->addWidget(EditEUR, 4, 1);

    BitBtnZapSklDostBrak = Handlers::makeButton("BitBtnZapSklDostBrak", u"Запис брак"_s, this,
                                                &TFormSklDostBrak::BitBtnZapSklDostBrakClick);
    BitBtnIzhod = Handlers::makeButton("BitBtnIzhod", u"Изход"_s);
    connect(BitBtnIzhod, &QToolButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtnZapSklDostBrak);
    buttons->addWidget(BitBtnIzhod);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(stock);
    layout->addWidget(claim);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(640, 460);
}

bool TFormSklDostBrak::open(const StockLines::Line& line)
{
    key_ = line.key;
    saved_ = false;
    const auto qty = [](double v) { return Formats::formatNumber(v, u"# ### ##0.000"_s); };
    const auto price = [](double v) { return Formats::formatNumber(v, u"#0.000"_s); };
    LbMaterial->setText(line.materialName);
    LbDostavchik->setText(line.supplierName);
    LbNFaktura->setText(line.document);
    LbDateFaktura->setText(Formats::dateToText(line.documentDate));
    LbNalichnost->setText(qty(line.onHand()));
    LbKolichestvo->setText(qty(line.quantity));
    LbSumIsk->setText(qty(line.drawn));
    LbProdadeno->setText(qty(line.sold));
    LbEkspedirano->setText(qty(line.dispatched));
    LbEdCenaLv->setText(price(line.priceLv));
    LbUSD->setText(price(line.priceUsd));
    LbEUR->setText(price(line.priceEur));

    // The claim is proposed against the line's supplier, document and prices.
    for (SmpDataset* ds : {&sklad_.SmpTipKontrSklPunkt, &sklad_.SmpKontrSklPunkt})
        if (!ds->isActive()) ds->open();
    DBLkpCmbKontr->setKeyValue(line.supplier);
    DateSklDostBrak->setDate(Clock::today());
    EditKolichBrak->clear();
    EditNFakturaBrak->setText(line.document);
    EditDateFakturaBrak->setText(Formats::dateToText(line.documentDate));
    EditEdCenaLV->setText(price(line.priceLv));
    EditUSD->setText(price(line.priceUsd));
    EditEUR->setText(price(line.priceEur));
    EditKolichBrak->setFocus();
    UiService::current().showModal(this);
    return saved_;
}

void TFormSklDostBrak::BitBtnZapSklDostBrakClick()
{
    StockLines::DefectClaim claim;
    claim.line = key_;
    claim.date = DateSklDostBrak->date();
    claim.quantity = amount(EditKolichBrak);
    claim.priceLv = amount(EditEdCenaLV);
    claim.priceUsd = amount(EditUSD);
    claim.priceEur = amount(EditEUR);
    // Only a counterparty the list shows counts.
    const QVariant chosen = DBLkpCmbKontr->keyValue();
    claim.counterparty = DBLkpCmbKontr->currentIndex() >= 0 && chosen.isValid() ? chosen.toInt() : 0;
    claim.claimDocument = EditNFakturaBrak->text().trimmed();
    claim.claimDocumentDate = Formats::textToDate(EditDateFakturaBrak->text());
    // What is on hand is read afresh, so outflows recorded since the window opened count too.
    const auto line = StockLines::read(dm_.SQLConnectNS, key_);
    if (!line) {
        UiService::current().showMessage(u"Редът от доставката вече е изтрит !"_s);
        sklad_.SmpSklNalich.refresh();
        closeWith(0);
        return;
    }
    if (const QString why = StockLines::defectRefusal(*line, claim); !why.isEmpty()) {
        UiService::current().showMessage(why);
        return;
    }
    // A refusal of the server escapes to the error report and the window stays as typed.
    StockLines::recordDefect(dm_.SQLConnectNS, claim);
    saved_ = true;
    if (sklad_.SmpSklDostBrak.isActive()) sklad_.SmpSklDostBrak.refresh();
    sklad_.SmpSklNalich.refresh();
    closeWith(1);
}
