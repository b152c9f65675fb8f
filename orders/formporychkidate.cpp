#include "orders/formporychkidate.h"

#include "data/dmporychki.h"
#include "orders/ordersdata.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TFormPorychkiDate::TFormPorychkiDate(TDMPorychki& po) : po_(po)
{
    setObjectName(u"FormPorychkiDate"_s);
    setWindowTitle(u"Корекция на поръчка !"_s);
    auto* order = new DataSource(&po.SmpPorychkiArh, this);
    DBTextNum = DbControls::makeShownNumber("DBTextNum", order, "AUTONUM_NPORYCHKA", 60);
    DBTextNum->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    DBTextKlient = DbControls::makeShownNumber("DBTextKlient", order, "IMEKONTRAGENT", 250);
    DBTextKlient->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (QDateEdit** d : {&DatePorychka, &DateSrok}) {
        *d = new QDateEdit;
        (*d)->setCalendarPopup(true);
        (*d)->setDisplayFormat(u"dd.MM.yyyy"_s);
    }
    DatePorychka->setObjectName(u"DatePorychka"_s);
    DateSrok->setObjectName(u"DateSrok"_s);
    Memo1 = new QPlainTextEdit;
    Memo1->setObjectName(u"Memo1"_s);
    OKBtn = Handlers::makeButton("OKBtn", u"Запис"_s, this, &TFormPorychkiDate::OKBtnClick);
    CancelBtn = Handlers::makeButton("CancelBtn", u"Отказ"_s);
    Handlers::connectClick(CancelBtn, this, [this] { closeWith(0); });

    auto* form = new QFormLayout;
    form->addRow(u"Поредна поръчка №"_s, DBTextNum);
    form->addRow(u"Клиент -"_s, DBTextKlient);
    form->addRow(u"Поръчка дата -"_s, DatePorychka);
    form->addRow(u"Поръчка срок -"_s, DateSrok);
    form->addRow(u"Обща информация :"_s, Memo1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(480, 320);
}

bool TFormPorychkiDate::open()
{
    const SmpDataset& order = po_.SmpPorychkiArh;
    DatePorychka->setDate(order.value(u"DATEPORYCHKA"_s).toDate());
    DateSrok->setDate(order.value(u"DATESROK"_s).toDate());
    Memo1->setPlainText(order.value(u"INFO_PORYCHKA"_s).toString());
    DatePorychka->setFocus();
    return UiService::current().showModal(this) == 1;
}

void TFormPorychkiDate::OKBtnClick()
{
    Orders::updateOrder(po_.connection(), po_.SmpPorychkiArh.value(u"AUTONUM_NPORYCHKA"_s).toInt(), DatePorychka->date(),
                        DateSrok->date(), Memo1->toPlainText());
    for (SmpDataset* ds : {&po_.SmpPorychkiArh, &po_.SmpViewIzdPorych, &po_.SmpPorychki_Dvigenie})
        if (ds->isActive()) ds->refresh();
    closeWith(1);
}
