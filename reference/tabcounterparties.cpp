#include "reference/tabcounterparties.h"

#include "data/dmns.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbmemo.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/fielddatalink.h"
#include "reference/counterparties.h"
#include "reference/formkontragent.h"
#include "reference/formspecceni.h"
#include "platform/widgets/radiogroup.h"
#include "platform/widgets/handlers.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

TabCounterparties::TabCounterparties(TDMNS& dm, QWidget* parent)
    : QWidget(parent), dm_(dm), lists_(*this, dm.SQLConnectNS)
{
    setObjectName(QStringLiteral("TabSheet2"));
    SmpDataset& view = dm_.SmpViewKontr;

    DBGrid6 = lists_.grid("DBGrid6", view,
                       {{"KONTRAGENT", "Тип контрагент"}, {"IMEKONTRAGENT", "Име на контрагент - кирилица"},
                        {"IMEKONTRAGENT_LAT", "Име на контрагент - латиница"}, {"IMEMOL", "М О Л"},
                        {"IMEFILIAL", "Филиал"}},
                       true);
    Handlers::connect(DBGrid6, &QAbstractItemView::doubleClicked, this, &TabCounterparties::SpdBtnRedakciaClick);
    Handlers::connect(DBGrid6, &QAbstractItemView::clicked, this, &TabCounterparties::DBGrid6CellClick);
    Handlers::connect(DBGrid6, &DBGrid::keyPressed, this, &TabCounterparties::DBGrid6KeyUp);
    Handlers::connect(DBGrid6, &DBGrid::keyReleased, this, &TabCounterparties::DBGrid6KeyUp);

    auto* details = new QFormLayout;
    details->setVerticalSpacing(1);
    details->setHorizontalSpacing(4);
    const struct { const char* name; const char* caption; const char* field; } shown[] = {
        {"DBTextCountry", "Държава -", "COUNTRY"},      {"DBTextGrad", "Населено място -", "GRAD"},
        {"DBTextAdres", "Ул. № -", "ADRES"},             {"DBTextDanNo", "Идентификац. №", "DAN_NO"},
        {"DBTextBulstat", "Идентификац. № ДДС", "BULSTAT"}, {"DBTextBank", "Банка -", "BANK"},
        {"DBTextBankKlon", "Банков клон -", "BANK_KLON"}, {"DBTextBankCode", "Swift BIC код -", "BANK_CODE"},
        {"DBTextBankSmetka", "IBAN с/ка -", "BANK_SMETKA"}, {"DBTextEGN", "ЕГН -", "EGN"},
        {"DBTextTel", "Телефон -", "TEL"},               {"DBTextEmail", "E-mail -", "EMAIL"},
        {"DBTextProcentOtst", "% отстъпка -", "PROCENT_OTST_KONTR"},
    };
    for (const auto& s : shown) {
        DBText* t = lists_.text(s.name, view, s.field);
        t->setMinimumWidth(120);
        details->addRow(QString::fromUtf8(s.caption), t);
    }
    auto* memo = new DBMemo;
    memo->setObjectName(QStringLiteral("DBMemoBelegki"));
    memo->setDataSource(lists_.sourceFor(view));
    memo->setDataField(QStringLiteral("BELEGKI"));
    memo->setReadOnly(true);
    memo->setFixedHeight(40);
    details->addRow(QStringLiteral("Бележки :"), memo);

    RdGrpIzbKontragent = new RadioGroup(QStringLiteral("RdGrpIzbKontragent"), QStringLiteral("Избор на контрагент "),
                                        {QStringLiteral("Всички"), QStringLiteral("По избор")});
    RdGrpIzbKontragent->setItemIndex(0);
    Handlers::connect(RdGrpIzbKontragent, &RadioGroup::clicked, this, &TabCounterparties::RdGrpIzbKontragentClick);
    DBLkpCmBoxTipKontragert = new DBLookupComboBox;
    DBLkpCmBoxTipKontragert->setObjectName(QStringLiteral("DBLkpCmBoxTipKontragert"));
    DBLkpCmBoxTipKontragert->setListSource(lists_.sourceFor(dm_.SmpTipKontragent));
    DBLkpCmBoxTipKontragert->setKeyField(QStringLiteral("NTIP_KONTRAGENT"));
    DBLkpCmBoxTipKontragert->setListField(QStringLiteral("KONTRAGENT"));
    DBLkpCmBoxTipKontragert->setEnabled(false);
    DBLkpCmBoxTipKontragert->setMinimumWidth(140);
    Handlers::connect(DBLkpCmBoxTipKontragert, &DBLookupComboBox::closeUp, this, &TabCounterparties::DBLkpCmBoxTipKontragertCloseUp);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(makeButton("SpdBtnRedakcia", QStringLiteral("Редакция"), &TabCounterparties::SpdBtnRedakciaClick));
    buttons->addWidget(makeButton("SpdBtnNewKontrag", QStringLiteral("Нов контрагент"), &TabCounterparties::SpdBtnNewKontragClick));
    buttons->addWidget(
        makeButton("SpdBtnDelKontragent", QStringLiteral("Изтриване"), &TabCounterparties::SpdBtnDelKontragentClick));
    buttons->addStretch(1);
    buttons->addWidget(RdGrpIzbKontragent);
    buttons->addWidget(DBLkpCmBoxTipKontragert);
    auto* exit = lists_.exitButton("SpdBtnIzhodKontr");
    buttons->addWidget(exit);

    auto* top = new QHBoxLayout;
    top->addWidget(DBGrid6, 1);
    top->addLayout(details);

    const auto group = [](const QString& caption, QWidget* head, QWidget* grid, QWidget* button) {
        auto* box = new QGroupBox(caption);
        auto* l = new QVBoxLayout(box);
        l->setContentsMargins(4, 4, 4, 4);
        // The navigator and the button on rows of their own keep the three groups within the window.
        for (QWidget* w : {head, button}) {
            if (!w) continue;
            auto* row = new QHBoxLayout;
            row->addWidget(w);
            row->addStretch(1);
            l->addLayout(row);
        }
        l->addWidget(grid, 1);
        return box;
    };
    DBGrid13 = lists_.grid("DBGrid13", dm_.SmpMOLKontr,
                        {{"IMEMOL", "МОЛ"}, {"EGN", "ЕГН"}, {"LK_DATE", "ЛК дата"}, {"LK_NUM", "ЛК №"}, {"ADRES", "Адрес"}},
                        false);
    DBGrid12 = lists_.grid("DBGrid12", dm_.SmpKontrFilial, {{"IMEFILIAL", "Име на филиал"}, {"ADRES", "Адрес"}}, false);
    DBGrid10 = lists_.grid("DBGrid10", dm_.SmpViewKontrMatCeni,
                        {{"IMEMATERIAL", "Материал/изделие/"}, {"PRODAGNACENA", "Цена"}, {"SPEC_CENA", "Сп.цена"}}, true);
    // Its whole current row is highlighted: without the row marker its three captions fit the group.
    DBGrid10->verticalHeader()->hide();
    Handlers::connect(DBGrid10, &QAbstractItemView::doubleClicked, this, &TabCounterparties::SpdBtnSpCMatUpdClick);
    auto* priceButtons = new QWidget;
    auto* pb = new QHBoxLayout(priceButtons);
    pb->setContentsMargins(0, 0, 0, 0);
    pb->addWidget(makeButton("SpdBtnSpCMatAdd", QStringLiteral("Добавяне"), &TabCounterparties::SpdBtnSpCMatAddClick));
    pb->addWidget(makeButton("SpdBtnSpCMatUpd", QStringLiteral("Редакция"), &TabCounterparties::SpdBtnSpCMatUpdClick));
    pb->addWidget(makeButton("SpdBtnSpCMatDel", QStringLiteral("Изтриване"), &TabCounterparties::SpdBtnSpCMatDelClick));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(group(QStringLiteral("М О Л към контрагента "), lists_.navigator("DBNavigator13", dm_.SmpMOLKontr),
                            DBGrid13,
                            makeButton("SpdBtnZapisMol", QStringLiteral("Запис МОЛ - титуляр"),
                                       &TabCounterparties::SpdBtnZapisMolClick)),
                      6);
    bottom->addWidget(group(QStringLiteral("Филиали към контрагента "), lists_.navigator("DBNavigator12", dm_.SmpKontrFilial),
                            DBGrid12,
                            makeButton("SpBtnZapisFilial", QStringLiteral("Запис филиал - титуляр"),
                                       &TabCounterparties::SpBtnZapisFilialClick)),
                      4);
    bottom->addWidget(group(QStringLiteral("Специални цени - дефиниране "), nullptr, DBGrid10, priceButtons), 5);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top, 3);
    layout->addLayout(buttons);
    layout->addLayout(bottom, 2);
}

QToolButton* TabCounterparties::makeButton(const char* name, const QString& text,
                                           void (TabCounterparties::*handler)())
{
    return Handlers::makeButton(name, text, this, handler);
}

void TabCounterparties::RefreshKontragentiLists(int kontragent)
{
    const bool all = RdGrpIzbKontragent->itemIndex() != 1;
    dm_.RefreshKontragenti(all ? 1 : izbTipKontrKey_, all ? 100 : izbTipKontrKey_, kontragent);
}

void TabCounterparties::RdGrpIzbKontragentClick()
{
    const bool all = RdGrpIzbKontragent->itemIndex() != 1;
    DBGrid6->setColumnVisible(QStringLiteral("KONTRAGENT"), all);
    DBLkpCmBoxTipKontragert->setEnabled(!all);
    RefreshKontragentiLists(0);
    reopenSpecCeni();
}

void TabCounterparties::DBLkpCmBoxTipKontragertCloseUp()
{
    SmpDataset& list = dm_.SmpTipKontragent;
    if (list.isActive() && !list.isEmpty())
        izbTipKontrKey_ = list.fieldByName(QStringLiteral("NTIP_KONTRAGENT"))->asInt();
    RefreshKontragentiLists(0);
    reopenSpecCeni();
}

void TabCounterparties::FormShow()
{
    if (!dm_.SmpViewKontr.isActive()) RefreshKontragentiLists(0);
    for (SmpDataset* ds : {&dm_.SmpMOLKontr, &dm_.SmpKontrFilial}) ds->open();
    reopenSpecCeni();
}

void TabCounterparties::reopenSpecCeni()
{
    SmpDataset& view = dm_.SmpViewKontr;
    SmpDataset& prices = dm_.SmpViewKontrMatCeni;
    prices.close();
    prices.setParam(QStringLiteral("NumKontragent"),
                    view.isActive() && !view.isEmpty() ? view.value(QStringLiteral("NKONTRAGENT")) : QVariant(0));
    prices.open();
}

void TabCounterparties::DBGrid6CellClick()
{
    SmpDataset& view = dm_.SmpViewKontr;
    if (view.isActive() && !view.isEmpty())
        dm_.SmpKontragenti.locate(QStringLiteral("NKONTRAGENT"), {view.value(QStringLiteral("NKONTRAGENT"))});
    reopenSpecCeni();
}

void TabCounterparties::DBGrid6KeyUp(int key)
{
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Up || key == Qt::Key_Down)
        DBGrid6CellClick();
}

void TabCounterparties::SpdBtnRedakciaClick()
{
    SmpDataset& view = dm_.SmpViewKontr;
    if (!FormKontragent || !view.isActive() || view.isEmpty()) return;
    dm_.SmpKontragenti.locate(QStringLiteral("NKONTRAGENT"), {view.value(QStringLiteral("NKONTRAGENT"))});
    UiService::current().showModal(FormKontragent);
}

void TabCounterparties::SpdBtnNewKontragClick()
{
    if (!FormKontragent) return;
    if (!Handlers::run([this] { dm_.SmpKontragenti.append(); })) return;
    UiService::current().showModal(FormKontragent);
}

void TabCounterparties::SpdBtnDelKontragentClick()
{
    const QVariant key = lists_.keyToDelete(dm_.SmpViewKontr, QStringLiteral("NKONTRAGENT"),
                                            Counterparties::deleteRefusal, QStringLiteral("Липстват контрагенти !"),
                                            QStringLiteral(" Изтриване на контрагент ? "));
    if (key.isNull()) return;
    SmpDataset& ds = dm_.SmpKontragenti;
    if (ds.locate(QStringLiteral("NKONTRAGENT"), {key})) ds.remove();  // its people and branches go with it
    reopenSpecCeni();
}

void TabCounterparties::SpdBtnZapisMolClick()
{
    SmpDataset& ds = dm_.SmpKontragenti;
    SmpDataset& people = dm_.SmpMOLKontr;
    if (!ds.isActive() || ds.isEmpty()) return;
    ds.edit();
    ds.setValue(QStringLiteral("NMOL"), people.isActive() && !people.isEmpty() ? people.value(QStringLiteral("NMOL"))
                                                                              : QVariant(0));
    ds.post();
    dm_.SmpViewKontr.refresh();
}

void TabCounterparties::SpBtnZapisFilialClick()
{
    SmpDataset& ds = dm_.SmpKontragenti;
    SmpDataset& branches = dm_.SmpKontrFilial;
    if (!ds.isActive() || ds.isEmpty()) return;
    ds.edit();
    ds.setValue(QStringLiteral("NFILIAL"), branches.isActive() && !branches.isEmpty()
                                               ? branches.value(QStringLiteral("NFILIAL"))
                                               : QVariant(0));
    ds.post();
    dm_.SmpViewKontr.refresh();
}

void TabCounterparties::showAllOn(int kontragent)
{
    RdGrpIzbKontragent->setItemIndex(0);
    DBGrid6->setColumnVisible(QStringLiteral("KONTRAGENT"), true);
    DBLkpCmBoxTipKontragert->setEnabled(false);
    RefreshKontragentiLists(kontragent);
}

void TabCounterparties::SpdBtnSpCMatAddClick()
{
    if (!FormSpecCeni) return;
    FormSpecCeni->openNew(dm_.SmpViewKontr.fieldByName(QStringLiteral("IMEKONTRAGENT"))->asString());
}

void TabCounterparties::SpdBtnSpCMatUpdClick()
{
    SmpDataset& prices = dm_.SmpViewKontrMatCeni;
    if (!FormSpecCeni) return;
    if (!prices.isActive() || prices.isEmpty()) {
        UiService::current().showMessage(QStringLiteral("Липстват записи за корекция !"));
        return;
    }
    FormSpecCeni->openChange(dm_.SmpViewKontr.fieldByName(QStringLiteral("IMEKONTRAGENT"))->asString(),
                             prices.fieldByName(QStringLiteral("PRODAGNACENA"))->asFloat(),
                             prices.fieldByName(QStringLiteral("SPEC_CENA"))->asFloat());
}

void TabCounterparties::SpdBtnSpCMatDelClick()
{
    SmpDataset& prices = dm_.SmpViewKontrMatCeni;
    if (!prices.isActive() || prices.isEmpty()) {
        UiService::current().showMessage(QStringLiteral("Липстват записи за изтриване !"));
        return;
    }
    if (!UiService::current().askYesNo(QStringLiteral(" Потвърдете изтриване на запис ? "))) return;
    Counterparties::removeSpecialPrice(dm_.SQLConnectNS, prices.value(QStringLiteral("AUTONUM")));
    prices.refresh();
}
