#include "cash/formkasovorder.h"

#include "cash/cashbook.h"
#include "cash/qrkasovorder.h"
#include "data/dmns.h"
#include "platform/base/clock.h"
#include "platform/base/formats.h"
#include "platform/report/reportpreview.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/handlers.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString kReceiptColor = u"background-color: #c8f0c8;"_s;
const QString kPaymentColor = u"background-color: #d0d0d0;"_s;

QLineEdit* edit(const char* name, int maxLength)
{
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    return e;
}

QLabel* label(const char* name, const QString& text = {})
{
    auto* l = new QLabel(text);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

} // namespace

TFormKasovOrder::TFormKasovOrder(TDMNS& dm, QWidget* parent)
    : Form(parent), dm_(dm), qrPrihKO_(std::make_unique<TQRPrihKO>(dm)), qrRazhKO_(std::make_unique<TQRRazhKO>(dm)),
      qrPrihKOvaluta_(std::make_unique<TQRPrihKOvaluta>(dm)), qrRazhKOvaluta_(std::make_unique<TQRRazhKOvaluta>(dm))
{
    setObjectName(u"FormKasovOrder"_s);
    setWindowTitle(u"Касов ордер"_s);
    LbTipKO = label("LbTipKO");
    LbTipKO->setAlignment(Qt::AlignCenter);
    QFont big = LbTipKO->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    LbTipKO->setFont(big);
    LbTipKO->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    LbTipKO->setMinimumHeight(36);
    LbNumKO = label("LbNumKO");
    LbNumKO->setFont(big);
    DateKO = new QDateEdit;
    DateKO->setObjectName(u"DateKO"_s);
    DateKO->setCalendarPopup(true);
    DateKO->setDisplayFormat(u"dd.MM.yyyy"_s);
    LbImePrezFamKO = label("LbImePrezFamKO");
    EditImePrezFam = edit("EditImePrezFam", 45);
    EditGrad = edit("EditGrad", 15);
    EditAdres = edit("EditAdres", 40);
    EditOsnovanie = edit("EditOsnovanie", 40);
    LbKO = label("LbKO");
    EditSumaKO = edit("EditSumaKO", 15);
    EditKursValuta = edit("EditKursValuta", 12);
    // Digits and one point only; an amount to the stotinka and a rate to the five decimals the
    // book shows, so a correction shows exactly what is stored and writes it back unchanged.
    EditSumaKO->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*\\.?[0-9]{0,2}"_s), EditSumaKO));
    EditKursValuta->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]*\\.?[0-9]{0,5}"_s), EditKursValuta));
    for (QLineEdit* e : {EditSumaKO, EditKursValuta}) {
        e->setAlignment(Qt::AlignRight);
        Handlers::connect(e, &QLineEdit::editingFinished, this, [this] { computeBaseAmount(); });
    }
    for (QWidget* w : std::initializer_list<QWidget*>{DateKO, EditImePrezFam, EditGrad, EditAdres, EditOsnovanie,
                                                      EditSumaKO, EditKursValuta})
        Handlers::enterSaves(w, [this] { BitBtnZapKOClick(); });
    // A new order is numbered in the series of the year of its date.
    Handlers::connect(DateKO, &QDateEdit::dateChanged, this, [this] { proposeNumber(); });
    DBText1 = label("DBText1");
    LbBaza = label("LbBaza");
    LbOpisanie = label("LbOpisanie");
    LbSumaLV = label("LbSumaLV");
    LbSumaLV->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LbSumaLV->setFont(big);
    BitBtnZapKO = Handlers::makeButton("BitBtnZapKO", u"Запис КО"_s, this, &TFormKasovOrder::BitBtnZapKOClick);
    BitBtnPrnKO = Handlers::makeButton("BitBtnPrnKO", u"Касов ордер"_s, this, &TFormKasovOrder::BitBtnPrnKOClick);
    BitBtnIzhod = Handlers::makeButton("BitBtnIzhod", u"Изход"_s);
    connect(BitBtnIzhod, &QToolButton::clicked, this, &QWidget::close);

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel(u"№"_s), row, 0);
    grid->addWidget(LbNumKO, row, 1);
    grid->addWidget(new QLabel(u"Дата"_s), row, 2);
    grid->addWidget(DateKO, row++, 3);
    grid->addWidget(LbImePrezFamKO, row, 0);
    grid->addWidget(EditImePrezFam, row++, 1, 1, 3);
    grid->addWidget(new QLabel(u"Град"_s), row, 0);
    grid->addWidget(EditGrad, row++, 1);
    grid->addWidget(new QLabel(u"Адрес/ул.№/"_s), row, 0);
    grid->addWidget(EditAdres, row++, 1, 1, 3);
    grid->addWidget(new QLabel(u"Основание :"_s), row, 0);
    grid->addWidget(EditOsnovanie, row++, 1, 1, 3);
    grid->addWidget(LbKO, row, 0);
    grid->addWidget(EditSumaKO, row++, 1);
    grid->addWidget(new QLabel(u"Вид валута"_s), row, 0);
    grid->addWidget(DBText1, row, 1);
    grid->addWidget(new QLabel(u"База"_s), row, 2);
    grid->addWidget(LbBaza, row++, 3);
    grid->addWidget(new QLabel(u"Описание"_s), row, 0);
    grid->addWidget(LbOpisanie, row++, 1, 1, 3);
    grid->addWidget(new QLabel(u"Курс"_s), row, 0);
    grid->addWidget(EditKursValuta, row++, 1);
    grid->addWidget(new QLabel(u"Лева - сума"_s), row, 0);
    grid->addWidget(LbSumaLV, row++, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QToolButton* b : {BitBtnZapKO, BitBtnPrnKO, BitBtnIzhod}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LbTipKO);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(560, 400);
}

TFormKasovOrder::~TFormKasovOrder() = default;

void TFormKasovOrder::prepare(int mode, int currency)
{
    mode_ = mode;
    SmpDataset& book = dm_.SmpViewKasa;
    const bool r = receipt();
    LbTipKO->setStyleSheet(r ? kReceiptColor : kPaymentColor);
    LbKO->setStyleSheet(r ? kReceiptColor : kPaymentColor);
    LbKO->setText(r ? u"Сума приход"_s : u"Сума разход"_s);
    LbImePrezFamKO->setText(r ? u"Да се приеме от/трите имена/"_s
                              : (correction() ? u"Да се брои на/трите имена/"_s : u"Да се брои на /трите имена/"_s));
    if (!correction()) {
        currency_ = currency;
        base_ = dm_.SmpTipValuta.lookup(u"NVALUTA"_s, {currency}, u"VALUTA_BAZA"_s).toInt();
        autonum_ = 0;
        LbTipKO->setText(r ? u"Приходен касов ордер"_s : u"Разходен касов ордер"_s);
        for (QLineEdit* e : {EditImePrezFam, EditGrad, EditAdres, EditOsnovanie, EditSumaKO, EditKursValuta}) e->clear();
        {
            const QSignalBlocker quiet(DateKO);
            DateKO->setDate(Clock::today());
        }
        proposeNumber();
        baseAmount_ = 0;
    } else {
        // The order keeps its own currency and base, whatever the cash book shows now.
        currency_ = book.value(u"NVALUTA"_s).toInt();
        base_ = book.value(u"VALUTA_BAZA"_s).toInt();
        autonum_ = book.value(u"AUTONUM"_s).toInt();
        number_ = book.value(r ? u"NPKO"_s : u"NRKO"_s).toInt();
        LbTipKO->setText(r ? u"Корекция - приходен касов ордер"_s : u"Корекция - разходен касов ордер"_s);
        EditImePrezFam->setText(book.value(u"IMEPREZFAM"_s).toString());
        EditGrad->setText(book.value(u"GRAD"_s).toString());
        EditAdres->setText(book.value(u"ADRES"_s).toString());
        EditOsnovanie->setText(book.value(u"OSNOVANIE_KO"_s).toString());
        const QSignalBlocker quiet(DateKO);
        DateKO->setDate(book.fieldByName(u"DATEKO"_s)->asDate());
        EditSumaKO->setText(Formats::formatNumber(book.fieldByName(r ? u"SUMA_PKO"_s : u"SUMA_RKO"_s)->asFloat(), u"0.00"_s));
        EditKursValuta->setText(Formats::formatNumber(book.fieldByName(u"VALUTA_KURS"_s)->asFloat(), u"0.00000"_s));
        baseAmount_ = book.fieldByName(r ? u"SUMA_PKO_LV"_s : u"SUMA_RKO_LV"_s)->asFloat();
    }
    if (base_ < 1 && currency_ == Cash::BaseCurrency) base_ = 1;
    if (correction()) LbNumKO->setText(QString::number(number_));
    LbSumaLV->setText(Formats::formatNumber(baseAmount_, u"0.00"_s));
    showCurrency();
}

void TFormKasovOrder::proposeNumber()
{
    if (mode_ != NewReceipt && mode_ != NewPayment) return;
    number_ = Cash::proposeNumber(dm_.SQLConnectNS, receipt() ? Cash::OrderKind::Receipt : Cash::OrderKind::Payment,
                                  currency_, DateKO->date());
    LbNumKO->setText(QString::number(number_));
}

void TFormKasovOrder::showCurrency()
{
    const auto v = [this](const char* f) { return dm_.SmpTipValuta.lookup(u"NVALUTA"_s, {currency_}, QString::fromLatin1(f)); };
    DBText1->setText(v("VALUTA_IME").toString());
    LbBaza->setText(QString::number(base_));
    LbOpisanie->setText(v("VALUTA_OPISANIE").toString());
    EditKursValuta->setEnabled(currency_ != Cash::BaseCurrency);
}

bool TFormKasovOrder::readNumbers(double& amount, double& rate)
{
    const std::optional<double> a = Formats::textToNumber(EditSumaKO->text());
    if (!a) {
        UiService::current().showMessage(u"'%1' не е валидно число !"_s.arg(EditSumaKO->text()));
        return false;
    }
    amount = *a;
    rate = 1;
    if (currency_ == Cash::BaseCurrency) return true;
    // A foreign currency has no rate until one is typed: 0, which no order is written with.
    rate = 0;
    if (EditKursValuta->text().isEmpty()) return true;
    const std::optional<double> k = Formats::textToNumber(EditKursValuta->text());
    if (!k) {
        UiService::current().showMessage(u"'%1' не е валидно число !"_s.arg(EditKursValuta->text()));
        return false;
    }
    rate = *k;
    return true;
}

void TFormKasovOrder::computeBaseAmount()
{
    if (EditSumaKO->text().isEmpty()) return;
    // Always from the numbers as they stand, so the equivalent shown and printed is never one of
    // an earlier amount or rate.
    double amount = 0, rate = 1;
    if (!readNumbers(amount, rate)) return;
    baseAmount_ = Cash::baseValue(amount, rate, base_);
    LbSumaLV->setText(Formats::formatNumber(baseAmount_, u"# ##0.00"_s));
}

void TFormKasovOrder::BitBtnZapKOClick()
{
    if (EditSumaKO->text().isEmpty()) return;
    Cash::CashOrder o;
    if (!readNumbers(o.amount, o.rate)) return;
    o.kind = receipt() ? Cash::OrderKind::Receipt : Cash::OrderKind::Payment;
    o.date = DateKO->date();
    o.name = EditImePrezFam->text();
    o.town = EditGrad->text();
    o.address = EditAdres->text();
    o.basis = EditOsnovanie->text();
    o.currency = currency_;
    o.base = base_;
    if (const QString why = Cash::refusal(o); !why.isEmpty()) {
        UiService::current().showMessage(why);
        return;
    }
    if (!UiService::current().askYesNo(u" Запис на касов ордер ?"_s)) return;
    if (correction()) {
        if (const QString why = Cash::updateOrder(dm_.SQLConnectNS, autonum_, number_, o); !why.isEmpty()) {
            UiService::current().showMessage(why);
            return;
        }
    } else {
        const Cash::Written w = Cash::insertOrder(dm_.SQLConnectNS, o);
        autonum_ = w.autonum;
        // Another workstation took the number shown meanwhile: the order has the next one.
        if (w.number != number_)
            UiService::current().showMessage(u"Касовият ордер е записан с № %1 !"_s.arg(w.number));
        number_ = w.number;
        LbNumKO->setText(QString::number(number_));
    }
    computeBaseAmount();
    emit orderSaved(autonum_);
    closeWith(1);
}

TQRKasovOrder* TFormKasovOrder::filledLayout()
{
    if (EditSumaKO->text().isEmpty()) EditSumaKO->setText(u"0"_s);
    double amount = 0, rate = 1;
    if (!readNumbers(amount, rate)) return nullptr;
    computeBaseAmount();
    const bool foreign = currency_ != Cash::BaseCurrency;
    TQRKasovOrder& layout = foreign ? (receipt() ? static_cast<TQRKasovOrder&>(*qrPrihKOvaluta_) : *qrRazhKOvaluta_)
                                    : (receipt() ? static_cast<TQRKasovOrder&>(*qrPrihKO_) : *qrRazhKO_);
    CashOrderPrint p;
    p.number = LbNumKO->text();
    p.date = Formats::dateToText(DateKO->date());
    p.name = EditImePrezFam->text();
    p.town = EditGrad->text();
    p.address = EditAdres->text();
    p.basis = EditOsnovanie->text();
    p.amount = EditSumaKO->text();
    p.rate = EditKursValuta->text();
    p.baseAmount = LbSumaLV->text();
    p.currencyName = DBText1->text();
    p.currencyDescription = LbOpisanie->text();
    // The words are for the number itself, never for a text read back from a label.
    p.words = Cash::amountInWords(foreign ? baseAmount_ : amount);
    layout.fill(p);
    return &layout;
}

void TFormKasovOrder::BitBtnPrnKOClick()
{
    if (TQRKasovOrder* layout = filledLayout()) Report::preview(layout->build());
}
