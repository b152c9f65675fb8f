#include "staff/formslugavans.h"

#include "data/dmpers.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "staff/staffdata.h"
#include "staff/staffwidgets.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

TFormSlugAvans::TFormSlugAvans(TDMPers& pers) : pers_(pers), source_(new DataSource(&pers.SmpSlugAvansTemp, this))
{
    setObjectName(QStringLiteral("FormSlugAvans"));
    setWindowTitle(QStringLiteral("Сума за служебни аванси - нова /корекция/ !"));
    const auto saves = [this](QWidget* w) { Handlers::enterSaves(w, [this] { SpdBtnZapisClick(); }); };
    LbSlugAvans = new QLabel;
    LbSlugAvans->setObjectName(QStringLiteral("LbSlugAvans"));
    auto* form = new QFormLayout;
    DateSlugAvans = new QDateEdit;
    DateSlugAvans->setObjectName(QStringLiteral("DateSlugAvans"));
    DateSlugAvans->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DateSlugAvans->setCalendarPopup(true);
    saves(DateSlugAvans);
    form->addRow(QStringLiteral("Дата"), DateSlugAvans);
    for (const auto& [name, caption, field] : {std::tuple{"DBEdtSumaLv", "Лева", "SUMA_LV"},
                                                std::tuple{"DBEdtSumaUsd", "USD", "SUMA_USD"},
                                                std::tuple{"DBEdtSumaEur", "EUR", "SUMA_EUR"},
                                                std::tuple{"DBEdtZabelegka", "Забележка", "ZABELEGKA"}}) {
        DBEdit* e = DbControls::makeEdit(name, source_, field);
        saves(e);
        form->addRow(QString::fromUtf8(caption), e);
    }
    LbAvansNa = new QLabel(QStringLiteral("Аванс на"));
    LbAvansNa->setObjectName(QStringLiteral("LbAvansNa"));
    DBLkpCmbBoxAvansNa = DbControls::makeLookup("DBLkpCmbBoxAvansNa", source_, "AVANS_OT_SHIFYR",
                                                new DataSource(&pers.SmpAvansOtShifPers, this), "SHIFYR", "IMEFULL");
    DBLkpCmbBoxAvansNa->setMinimumWidth(260);
    saves(DBLkpCmbBoxAvansNa);
    form->addRow(LbAvansNa, DBLkpCmbBoxAvansNa);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Handlers::makeButton("SpdBtnZapis", QStringLiteral("Запис"), this, &TFormSlugAvans::SpdBtnZapisClick));
    buttons->addWidget(Handlers::makeButton("SpdBtnExit", QStringLiteral("Изход"), this, &TFormSlugAvans::SpdBtnExitClick));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LbSlugAvans);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void TFormSlugAvans::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    SmpDataset& buf = pers_.SmpSlugAvansTemp;
    if (pers_.SmpAvansOtShifPers.isActive()) pers_.SmpAvansOtShifPers.refresh();
    else pers_.SmpAvansOtShifPers.open();
    const QString name = pers_.SmpViewPers.value(QStringLiteral("IMEFULL")).toString();
    static const char* headings[] = {"Корекция на сумата за служебни аванси на", "Нова сума за служебни аванси на",
                                     "Даване на служебен аванс от"};
    LbSlugAvans->setText(QString::fromUtf8(headings[qBound(0, mode_, 2)]) + u' ' + name);
    LbAvansNa->setVisible(mode_ == 2);
    DBLkpCmbBoxAvansNa->setVisible(mode_ == 2);
    DateSlugAvans->setDate(StaffWidgets::startBuffer(buf, pers_.SmpViewRazplPers, mode_ == 0, QStringLiteral("AVANS_OT_SHIFYR")));
}

void TFormSlugAvans::SpdBtnZapisClick()
{
    if (!Handlers::commitFocusedEdit(this)) return;
    SmpDataset& buf = pers_.SmpSlugAvansTemp;
    if (source_->isEditing()) buf.post();
    const Staff::Amounts a = StaffWidgets::typedAmounts(buf, DateSlugAvans->date());
    const int receiver = buf.fieldByName(QStringLiteral("AVANS_OT_SHIFYR"))->asInt();
    // The amount is checked before the question: a refused entry asks nothing.
    if (mode_ == 1 && a.lv <= 0) {
        UiService::current().showMessage(QStringLiteral("Не е въведена сума/лв./за аванс !"));
        return;
    }
    if (mode_ == 2 && (a.lv <= 0 || receiver == 0)) {
        UiService::current().showMessage(
            QStringLiteral("Не е въведена сума/лв./ или избрано лице за получаване на аванс !"));
        return;
    }
    if (!UiService::current().askYesNo(QStringLiteral(" Запис на служебен аванс ?"))) return;
    const int shifyr = pers_.SmpViewPers.fieldByName(QStringLiteral("SHIFYR"))->asInt();
    if (mode_ == 0)
        Staff::correctAdvance(pers_.connection(), buf.fieldByName(QStringLiteral("NUM_ZAPIS"))->asInt(), shifyr,
                              receiver, a);
    else if (mode_ == 1)
        Staff::addAdvance(pers_.connection(), shifyr, a);
    else
        Staff::giveAdvance(pers_.connection(), shifyr, receiver, a);
    pers_.reloadPayments();
    close();
}

void TFormSlugAvans::SpdBtnExitClick() { close(); }
