#include "payments/formrazpldost.h"

#include "data/dmrazpl.h"
#include "payments/paymentsdata.h"
#include "platform/base/clock.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

using namespace Qt::StringLiterals;

TFormRazplDost::TFormRazplDost(TDMRazpl& dm) : dm_(dm)
{
    setObjectName(u"FormRazplDost"_s);
    setWindowTitle(u"Разплащания към доставчици !"_s);
    auto* buffer = new DataSource(&dm.SmpRazplDostTemp, this);
    auto* purchasers = new DataSource(&dm.SmpIzbZak, this);
    LbPlastDost_novo_korekc = new QLabel;
    LbPlastDost_novo_korekc->setObjectName(u"LbPlastDost_novo_korekc"_s);
    LbPlastDost_novo_korekc->setStyleSheet(u"font-weight: bold; color: navy"_s);
    LbDostavchik = new QLabel;
    LbDostavchik->setObjectName(u"LbDostavchik"_s);
    DBLookupComboBox1 = DbControls::makeLookup("DBLookupComboBox1", buffer, "SHIFYR", purchasers, "SHIFYR", "IMEFULL");
    DBEdit1 = DbControls::makeEdit("DBEdit1", buffer, "PLATENO_LV");
    DBEdit2 = DbControls::makeEdit("DBEdit2", buffer, "PLATENO_USD");
    DBEdit3 = DbControls::makeEdit("DBEdit3", buffer, "PLATENO_EUR");
    DBEdit4 = DbControls::makeEdit("DBEdit4", buffer, "ZABELEGKA");
    DatePlastaneDost = new QDateEdit;
    DatePlastaneDost->setObjectName(u"DatePlastaneDost"_s);
    DatePlastaneDost->setCalendarPopup(true);
    DatePlastaneDost->setDisplayFormat(u"dd.MM.yyyy"_s);
    for (QWidget* w : std::initializer_list<QWidget*>{DBLookupComboBox1, DBEdit1, DBEdit2, DBEdit3, DBEdit4, DatePlastaneDost})
        Handlers::enterSaves(w, [this] { SpdBtnUpdateClick(); });

    auto* form = new QFormLayout;
    form->addRow(u"Доставчик -"_s, LbDostavchik);
    form->addRow(u"Дата"_s, DatePlastaneDost);
    form->addRow(u"Закупчик"_s, DBLookupComboBox1);
    form->addRow(u"Лева"_s, DBEdit1);
    form->addRow(u"USD"_s, DBEdit2);
    form->addRow(u"EUR"_s, DBEdit3);
    form->addRow(u"Забележка"_s, DBEdit4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Handlers::makeButton("SpdBtnUpdate", u"Запис"_s, this, &TFormRazplDost::SpdBtnUpdateClick));
    auto* exit = Handlers::makeButton("SpdBtnExit", u"Изход"_s);
    Handlers::connectClick(exit, this, [this] { closeWith(0); });
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LbPlastDost_novo_korekc);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(400, 300);
}

bool TFormRazplDost::open(Mode mode, int supplier, const QString& supplierName, const Shown& payment)
{
    mode_ = mode;
    supplier_ = supplier;
    autonum_ = payment.autonum;
    LbDostavchik->setText(supplierName);
    SmpDataset& buffer = dm_.SmpRazplDostTemp;
    if (!dm_.SmpIzbZak.isActive()) dm_.SmpIzbZak.open();
    if (mode == Mode::Correction) {
        LbPlastDost_novo_korekc->setText(u"Корекция плащане към доставчик !"_s);
        if (!buffer.isActive()) buffer.open();
        if (buffer.isEmpty()) buffer.append();
        else buffer.edit();
        buffer.setValue(u"PLATENO_LV"_s, payment.lv);
        buffer.setValue(u"PLATENO_USD"_s, payment.usd);
        buffer.setValue(u"PLATENO_EUR"_s, payment.eur);
        buffer.setValue(u"SHIFYR"_s, payment.purchaser);
        buffer.setValue(u"ZABELEGKA"_s, payment.note);
        buffer.post();
        DatePlastaneDost->setDate(payment.date);
    } else {
        // A new payment starts from the stored starting values, not from the previous entry.
        LbPlastDost_novo_korekc->setText(u"Ново плащане към доставчик !"_s);
        buffer.close();
        buffer.open();
        if (buffer.isEmpty()) {
            buffer.append();
            buffer.post();
        }
        DatePlastaneDost->setDate(Clock::today());
    }
    DBEdit1->setFocus();
    return UiService::current().showModal(this) == 1;
}

void TFormRazplDost::SpdBtnUpdateClick()
{
    Handlers::commitFocusedEdit(this);
    SmpDataset& buffer = dm_.SmpRazplDostTemp;
    buffer.checkBrowseMode();
    Payments::Payment p;
    p.counterparty = supplier_;
    p.date = DatePlastaneDost->date();
    p.lv = buffer.fieldByName(u"PLATENO_LV"_s)->asFloat();
    p.usd = buffer.fieldByName(u"PLATENO_USD"_s)->asFloat();
    p.eur = buffer.fieldByName(u"PLATENO_EUR"_s)->asFloat();
    p.purchaser = buffer.fieldByName(u"SHIFYR"_s)->asInt();
    p.note = buffer.fieldByName(u"ZABELEGKA"_s)->asString();
    if (const QString why = Payments::refusal(p); !why.isEmpty()) {
        UiService::current().showMessage(why);
        return;
    }
    if (!UiService::current().askYesNo(u" Запис на плащане ?"_s)) return;
    if (mode_ == Mode::New) Payments::addSupplierPayment(dm_.connection(), p);
    else Payments::correctSupplierPayment(dm_.connection(), autonum_, p);
    // Stored: the dialog closes whatever the re-read does, so the payment is never stored twice.
    if (const QString why = dm_.reloadAfterSupplierPayment(); !why.isEmpty()) UiService::current().reportError(why);
    closeWith(1);
}
