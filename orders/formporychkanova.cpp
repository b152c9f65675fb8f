#include "orders/formporychkanova.h"

#include "data/dmporychki.h"
#include "orders/ordersdata.h"
#include "platform/base/clock.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
QDateEdit* dateEdit(const char* name)
{
    auto* d = new QDateEdit;
    d->setObjectName(QString::fromLatin1(name));
    d->setCalendarPopup(true);
    d->setDisplayFormat(u"dd.MM.yyyy"_s);
    return d;
}

// The key of the row the lookup shows; 0 when it shows none.
int shownKey(const DBLookupComboBox* box)
{
    return box->currentText().trimmed().isEmpty() ? 0 : box->keyValue().toInt();
}
} // namespace

TFormPorychkaNova::TFormPorychkaNova(TDMPorychki& po) : po_(po)
{
    setObjectName(u"FormPorychkaNova"_s);
    setWindowTitle(u"Нова поръчка - избор на клиент и срок за изпълнение !"_s);
    DBLkpCmBoxTipKontr = DbControls::makeListLookup("DBLkpCmBoxTipKontr", new DataSource(&po.SmpPorychkaTipKontr, this),
                                                    "NTIP_KONTRAGENT", "KONTRAGENT", 200);
    DBLkpCmBoxImeKontr = DbControls::makeListLookup("DBLkpCmBoxImeKontr", new DataSource(&po.SmpPorychkaKontr, this),
                                                    "NKONTRAGENT", "IMEKONTRAGENT", 300);
    DBLkpCmBoxMol = DbControls::makeListLookup("DBLkpCmBoxMol", new DataSource(&po.SmpPorychkaKontrMOL, this), "NMOL",
                                               "IMEMOL", 300);
    DatePorychka = dateEdit("DatePorychka");
    DatePorychkaSrok = dateEdit("DatePorychkaSrok");
    SpdBtnZapisPorychkaNEW = Handlers::makeButton("SpdBtnZapisPorychkaNEW", u"Запис нова поръчка"_s, this,
                                                  &TFormPorychkaNova::SpdBtnZapisPorychkaNEWClick);
    SpdBtnPorychkaKontr = Handlers::makeButton("SpdBtnPorychkaKontr", u"Контрагенти"_s, this,
                                               &TFormPorychkaNova::SpdBtnPorychkaKontrClick);
    SpdBtnExit = Handlers::makeButton("SpdBtnExit", u"Изход"_s);
    Handlers::connectClick(SpdBtnExit, this, [this] { closeWith(0); });

    auto* form = new QFormLayout;
    auto* type = new QHBoxLayout;
    type->addWidget(DBLkpCmBoxTipKontr, 1);
    type->addWidget(SpdBtnPorychkaKontr);
    form->addRow(u"Тип :"_s, type);
    form->addRow(u"Име:"_s, DBLkpCmBoxImeKontr);
    form->addRow(u"МОЛ"_s, DBLkpCmBoxMol);
    form->addRow(u"Дата на поръчката -"_s, DatePorychka);
    form->addRow(u"Срок за изпълнение -"_s, DatePorychkaSrok);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SpdBtnZapisPorychkaNEW);
    buttons->addWidget(SpdBtnExit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(520, 240);

    Handlers::connect(DBLkpCmBoxTipKontr, &DBLookupComboBox::closeUp, this, &TFormPorychkaNova::DBLkpCmBoxTipKontrCloseUp);
    Handlers::connect(DBLkpCmBoxImeKontr, &DBLookupComboBox::closeUp, this, &TFormPorychkaNova::DBLkpCmBoxImeKontrCloseUp);
}

bool TFormPorychkaNova::open()
{
    DatePorychka->setDate(Clock::today());
    DatePorychkaSrok->setDate(Clock::today());
    if (!po_.SmpPorychkaTipKontr.isActive()) po_.SmpPorychkaTipKontr.open();
    DBLkpCmBoxTipKontr->setFocus();
    return UiService::current().showModal(this) == 1;
}

void TFormPorychkaNova::DBLkpCmBoxTipKontrCloseUp()
{
    TDMPorychki::reopen(po_.SmpPorychkaKontr, u"NTIP_KONTRAGENT"_s, DBLkpCmBoxTipKontr->keyValue().toInt());
    DBLkpCmBoxImeKontr->setKeyValue({});
    DBLkpCmBoxMol->setKeyValue({});
}

void TFormPorychkaNova::DBLkpCmBoxImeKontrCloseUp()
{
    TDMPorychki::reopen(po_.SmpPorychkaKontrMOL, u"NKONTRAGENT"_s, DBLkpCmBoxImeKontr->keyValue().toInt());
    DBLkpCmBoxMol->setKeyValue({});
}

void TFormPorychkaNova::SpdBtnPorychkaKontrClick()
{
    if (!openReference_) return;
    const QVariant client = DBLkpCmBoxImeKontr->keyValue();
    if (!po_.SmpPorychkaKontr.isActive()) po_.SmpPorychkaKontr.open();
    openReference_(client.toInt());
    // Counterparties and products may have changed meanwhile.
    for (SmpDataset* ds : {&po_.SmpPorychkaKontr, &po_.SmpPorychkaKontrMOL, &po_.SmpPorychkaIzdelie})
        if (ds->isActive()) {
            ds->close();
            ds->open();
        }
    DBLkpCmBoxImeKontr->setKeyValue(client);
}

void TFormPorychkaNova::SpdBtnZapisPorychkaNEWClick()
{
    if (!po_.SmpPorychkaKontr.isActive()) return;
    const int client = shownKey(DBLkpCmBoxImeKontr);
    if (client == 0) {
        UiService::current().showMessage(u"Не е въведен клиент !"_s);
        return;
    }
    Orders::addOrder(po_.connection(), {DatePorychka->date(), DatePorychkaSrok->date(), client, shownKey(DBLkpCmBoxMol)});
    SmpDataset& orders = po_.SmpPorychkiArh;
    orders.close();
    orders.open();
    orders.last();
    closeWith(1);
}
