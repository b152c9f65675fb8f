#include "payments/formrazplklient.h"

#include "data/dmrazpl.h"
#include "payments/paymentsdata.h"
#include "payments/qrrazpl.h"
#include "platform/base/clock.h"
#include "platform/base/formats.h"
#include "platform/db/dberror.h"
#include "platform/report/reportpreview.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/keyfilter.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
QLineEdit* box(const char* name)
{
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    return e;
}
} // namespace

TFormRazplKlient::TFormRazplKlient(TDMRazpl& dm, TQRRazplProdObobst& acknowledgement)
    : dm_(dm), acknowledgement_(acknowledgement)
{
    setObjectName(u"FormRazplKlient"_s);
    setWindowTitle(u"Разплащания с клиенти !"_s);
    LbPlastKlient_novo_korekc = new QLabel;
    LbPlastKlient_novo_korekc->setObjectName(u"LbPlastKlient_novo_korekc"_s);
    LbPlastKlient_novo_korekc->setStyleSheet(u"font-weight: bold; color: navy"_s);
    LbKlient = new QLabel;
    LbKlient->setObjectName(u"LbKlient"_s);
    Edit1 = box("Edit1");
    Edit2 = box("Edit2");
    Edit3 = box("Edit3");
    Edit4 = box("Edit4");
    Edit4->setMaxLength(30);
    for (QLineEdit* e : {Edit1, Edit2, Edit3}) KeyFilter::amountsOnly(e);
    DatePlastaneKlient = new QDateEdit;
    DatePlastaneKlient->setObjectName(u"DatePlastaneKlient"_s);
    DatePlastaneKlient->setCalendarPopup(true);
    DatePlastaneKlient->setDisplayFormat(u"dd.MM.yyyy"_s);
    for (QWidget* w : std::initializer_list<QWidget*>{Edit1, Edit2, Edit3, Edit4, DatePlastaneKlient})
        Handlers::enterSaves(w, [this] { SpdBtnUpdateClick(); });

    auto* form = new QFormLayout;
    form->addRow(u"Клиент -"_s, LbKlient);
    form->addRow(u"Дата на плащане"_s, DatePlastaneKlient);
    form->addRow(u"Лева"_s, Edit1);
    form->addRow(u"USD"_s, Edit2);
    form->addRow(u"EUR"_s, Edit3);
    form->addRow(u"Забележка"_s, Edit4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Handlers::makeButton("SpdBtnUpdate", u"Запис"_s, this, &TFormRazplKlient::SpdBtnUpdateClick));
    auto* exit = Handlers::makeButton("SpdBtnExit", u"Изход"_s);
    Handlers::connectClick(exit, this, [this] { closeWith(0); });
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LbPlastKlient_novo_korekc);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(380, 260);
}

bool TFormRazplKlient::open(Mode mode, int client, const QString& clientName, const Shown& payment)
{
    mode_ = mode;
    client_ = client;
    autonum_ = payment.autonum;
    LbKlient->setText(clientName);
    const bool correction = mode == Mode::Correction;
    LbPlastKlient_novo_korekc->setText(correction ? u"Корекция плащане !"_s : u"Ново плащане !"_s);
    const auto amount = [correction](double v) { return correction ? Formats::formatNumber(v, u"#0.00"_s) : QString(); };
    Edit1->setText(amount(payment.lv));
    Edit2->setText(amount(payment.usd));
    Edit3->setText(amount(payment.eur));
    Edit4->setText(correction ? payment.note : QString());
    DatePlastaneKlient->setDate(correction ? payment.date : Clock::today());
    Edit1->setFocus();
    return UiService::current().showModal(this) == 1;
}

void TFormRazplKlient::SpdBtnUpdateClick()
{
    Handlers::commitFocusedEdit(this);
    Payments::Payment p;
    p.counterparty = client_;
    p.date = DatePlastaneKlient->date();
    p.note = Edit4->text();
    double* amounts[] = {&p.lv, &p.usd, &p.eur};
    QLineEdit* edits[] = {Edit1, Edit2, Edit3};
    for (int i = 0; i < 3; ++i) {
        if (edits[i]->text().trimmed().isEmpty()) edits[i]->setText(u"0"_s);
        const std::optional<double> v = Formats::textToNumber(edits[i]->text());
        if (!v) {
            UiService::current().showMessage(u"'%1' не е валидна сума !"_s.arg(edits[i]->text()));
            edits[i]->setFocus();
            return;
        }
        *amounts[i] = *v;
    }
    if (const QString why = Payments::refusal(p); !why.isEmpty()) {
        UiService::current().showMessage(why);
        return;
    }
    if (!UiService::current().askYesNo(u" Запис на плащане ?"_s)) return;
    if (mode_ == Mode::New) Payments::addClientPayment(dm_.connection(), p);
    else Payments::correctClientPayment(dm_.connection(), autonum_, p);
    // Stored: from here on nothing may leave the dialog open for the same payment to be stored again.
    if (const QString why = dm_.reloadAfterClientPayment(); !why.isEmpty()) UiService::current().reportError(why);
    // The acknowledgement is printed from what is stored: the client's balance over all dates.
    if (mode_ == Mode::New && UiService::current().askYesNo(u" Ордер за плащане печат ?"_s)) {
        try {
            const Payments::Amounts after = Payments::clientBalance(dm_.connection(), client_);
            acknowledgement_.fill({LbKlient->text(), p.date, {after.lv + p.lv, after.usd + p.usd, after.eur + p.eur},
                                   {p.lv, p.usd, p.eur}, {after.lv, after.usd, after.eur}});
            Report::preview(acknowledgement_.build());
        } catch (const DbError& e) {
            UiService::current().reportError(userText(e));
        }
    }
    closeWith(1);
}
