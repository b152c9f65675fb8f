#include "orders/formporychkaizdelia.h"

#include "data/dmporychki.h"
#include "orders/ordersdata.h"
#include "platform/base/clock.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/keyfilter.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
bool showsName(const DBLookupComboBox* box) { return !box->currentText().trimmed().isEmpty(); }
} // namespace

TFormPorychkaIzdelia::TFormPorychkaIzdelia(TDMPorychki& po) : po_(po)
{
    setObjectName(u"FormPorychkaIzdelia"_s);
    setWindowTitle(u"Избор на изделие за формиране на поръчка към избрания клиент !"_s);
    DBTextKlient = DbControls::makeShownNumber("DBTextKlient", new DataSource(&po.SmpPorychkiArh, this), "IMEKONTRAGENT", 250);
    DBTextKlient->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    DBLkpCmBIzbProizv = DbControls::makeListLookup("DBLkpCmBIzbProizv", new DataSource(&po.SmpPorychkaProizv, this),
                                                   "NPROIZVODSTVO", "PROIZVODSTVO", 250);
    DBLkpCmBIzbIzdelie = DbControls::makeListLookup("DBLkpCmBIzbIzdelie", new DataSource(&po.SmpPorychkaIzdelie, this),
                                                    "NTIP_IZDELIE", "IMEMATERIAL", 300);
    EdOpisanie = new QLineEdit;
    EdOpisanie->setObjectName(u"EdOpisanie"_s);
    EdOpisanie->setMaxLength(30);
    SpnEdtBrIzdelia = new QSpinBox;
    SpnEdtBrIzdelia->setObjectName(u"SpnEdtBrIzdelia"_s);
    SpnEdtBrIzdelia->setRange(-10000, 10000);
    SpnEdtBrIzdelia->setValue(0);
    DBLkpCmBoxTipKontr = DbControls::makeListLookup("DBLkpCmBoxTipKontr", new DataSource(&po.SmpPorychTipKontDost, this),
                                                    "NTIP_KONTRAGENT", "KONTRAGENT", 150);
    DBLkpCmBoxImeKontr = DbControls::makeListLookup("DBLkpCmBoxImeKontr", new DataSource(&po.SmpPorychKontrDost, this),
                                                    "NKONTRAGENT", "IMEKONTRAGENT", 250);
    DateDostMat = new QDateEdit;
    DateDostMat->setObjectName(u"DateDostMat"_s);
    DateDostMat->setCalendarPopup(true);
    DateDostMat->setDisplayFormat(u"dd.MM.yyyy"_s);
    Edit1 = new QLineEdit;
    Edit1->setObjectName(u"Edit1"_s);
    Edit1->setMaxLength(4);
    KeyFilter::digitsOnly(Edit1);
    SpdBtnZapPorychkaIzd = Handlers::makeButton("SpdBtnZapPorychkaIzd", u"Запис"_s, this,
                                                &TFormPorychkaIzdelia::SpdBtnZapPorychkaIzdClick);
    SpdBtnIzhod = Handlers::makeButton("SpdBtnIzhod", u"Изход"_s);
    Handlers::connectClick(SpdBtnIzhod, this, [this] { closeWith(0); });

    auto* form = new QFormLayout;
    form->addRow(u"Клиент -"_s, DBTextKlient);
    form->addRow(u"Избор на производство :"_s, DBLkpCmBIzbProizv);
    form->addRow(u"Избор на изделие :"_s, DBLkpCmBIzbIzdelie);
    form->addRow(u"Описание на изделието :"_s, EdOpisanie);
    form->addRow(u"Брой изделия :"_s, SpnEdtBrIzdelia);
    auto* supplier = new QHBoxLayout;
    supplier->addWidget(DBLkpCmBoxTipKontr);
    supplier->addWidget(DBLkpCmBoxImeKontr, 1);
    form->addRow(u"Избор на доставчик за материали :"_s, supplier);
    form->addRow(u"Избор на дата за доставка на материали за изделието :"_s, DateDostMat);
    form->addRow(u"Избор на дни за предизвестие към датата за доставка :"_s, Edit1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SpdBtnZapPorychkaIzd);
    buttons->addWidget(SpdBtnIzhod);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(720, 330);

    Handlers::connect(DBLkpCmBIzbProizv, &DBLookupComboBox::closeUp, this, &TFormPorychkaIzdelia::DBLkpCmBIzbProizvCloseUp);
    Handlers::connect(DBLkpCmBoxTipKontr, &DBLookupComboBox::closeUp, this, &TFormPorychkaIzdelia::DBLkpCmBoxTipKontrCloseUp);
}

bool TFormPorychkaIzdelia::open()
{
    if (!po_.SmpPorychTipKontDost.isActive()) po_.SmpPorychTipKontDost.open();
    if (!po_.SmpPorychkaProizv.isActive()) po_.SmpPorychkaProizv.open();
    DateDostMat->setDate(Clock::today());
    DBLkpCmBIzbProizv->setFocus();
    return UiService::current().showModal(this) == 1;
}

void TFormPorychkaIzdelia::DBLkpCmBIzbProizvCloseUp()
{
    TDMPorychki::reopen(po_.SmpPorychkaIzdelie, u"NPROIZVODSTVO"_s, DBLkpCmBIzbProizv->keyValue().toInt());
    DBLkpCmBIzbIzdelie->setKeyValue({});
}

void TFormPorychkaIzdelia::DBLkpCmBoxTipKontrCloseUp()
{
    TDMPorychki::reopen(po_.SmpPorychKontrDost, u"NTIP_KONTRAGENT"_s, DBLkpCmBoxTipKontr->keyValue().toInt());
    DBLkpCmBoxImeKontr->setKeyValue({});
}

void TFormPorychkaIzdelia::SpdBtnZapPorychkaIzdClick()
{
    const SmpDataset& order = po_.SmpPorychkiArh;
    if (SpnEdtBrIzdelia->value() == 0 || !order.isActive() || order.isEmpty() || !showsName(DBLkpCmBIzbProizv)
        || !showsName(DBLkpCmBIzbIzdelie))
        return;
    if (Edit1->text().trimmed().isEmpty()) Edit1->setText(u"0"_s);
    Orders::Line l;
    l.order = order.value(u"AUTONUM_NPORYCHKA"_s).toInt();
    l.client = order.value(u"NUMKONTRAGENT"_s).toInt();
    l.product = DBLkpCmBIzbIzdelie->keyValue().toInt();
    l.quantity = SpnEdtBrIzdelia->value();
    l.materialsDue = DateDostMat->date();
    l.noticeDays = Edit1->text().toInt();
    // The supplier the user chose and the box shows; none otherwise.
    l.supplier = showsName(DBLkpCmBoxImeKontr) ? DBLkpCmBoxImeKontr->keyValue().toInt() : 0;
    l.description = EdOpisanie->text();
    Orders::saveLine(po_.connection(), l);
    for (SmpDataset* ds : {&po_.SmpViewIzdPorych, &po_.SmpPorychki_Dvigenie}) {
        ds->close();
        ds->open();
    }
    closeWith(1);
}
