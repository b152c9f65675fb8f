#include "staff/formslugotchet.h"

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

TFormSlugOtchet::TFormSlugOtchet(TDMPers& pers) : pers_(pers), source_(new DataSource(&pers.SmpSlugOtchetTemp, this))
{
    setObjectName(QStringLiteral("FormSlugOtchet"));
    setWindowTitle(QStringLiteral("Служебен отчет - нов /корекция/ !"));
    const auto saves = [this](QWidget* w) { Handlers::enterSaves(w, [this] { SpdBtnZapisClick(); }); };
    LbSlugAvans = new QLabel;
    LbSlugAvans->setObjectName(QStringLiteral("LbSlugAvans"));
    auto* form = new QFormLayout;
    DateSlugOtchet = new QDateEdit;
    DateSlugOtchet->setObjectName(QStringLiteral("DateSlugOtchet"));
    DateSlugOtchet->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DateSlugOtchet->setCalendarPopup(true);
    saves(DateSlugOtchet);
    form->addRow(QStringLiteral("Дата"), DateSlugOtchet);
    for (const auto& [name, caption, field] : {std::tuple{"DBEdtSumaLv", "Лева", "SUMA_LV"},
                                                std::tuple{"DBEdtSumaUsd", "USD", "SUMA_USD"},
                                                std::tuple{"DBEdtSumaEur", "EUR", "SUMA_EUR"}}) {
        DBEdit* e = DbControls::makeEdit(name, source_, field);
        saves(e);
        form->addRow(QString::fromUtf8(caption), e);
    }
    DBLkpCmbBoxOsnov = DbControls::makeLookup("DBLkpCmbBoxOsnov", source_, "NTIP_SLUG_OTCHET",
                                              new DataSource(&pers.SmpTipSlugOtchet, this), "NTIP_SLUG_OTCHET",
                                              "IME_SLUG_OTCHET");
    DBLkpCmbBoxOsnov->setMinimumWidth(220);
    saves(DBLkpCmbBoxOsnov);
    form->addRow(QStringLiteral("Основание"), DBLkpCmbBoxOsnov);
    DBEdit* note = DbControls::makeEdit("DBEdtZabelegka", source_, "ZABELEGKA");
    saves(note);
    form->addRow(QStringLiteral("Забележка"), note);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Handlers::makeButton("SpdBtnZapis", QStringLiteral("Запис"), this, &TFormSlugOtchet::SpdBtnZapisClick));
    buttons->addWidget(Handlers::makeButton("SpdBtnExit", QStringLiteral("Изход"), this, &TFormSlugOtchet::SpdBtnExitClick));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LbSlugAvans);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void TFormSlugOtchet::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    SmpDataset& buf = pers_.SmpSlugOtchetTemp;
    if (!pers_.SmpTipSlugOtchet.isActive()) pers_.SmpTipSlugOtchet.open();
    LbSlugAvans->setText((mode_ == 0 ? QStringLiteral("Корекция служебен отчет на") : QStringLiteral("Нов служебен отчет на")) +
                         u' ' + pers_.SmpViewPers.value(QStringLiteral("IMEFULL")).toString());
    DateSlugOtchet->setDate(StaffWidgets::startBuffer(buf, pers_.SmpViewRazplPers, mode_ == 0, QStringLiteral("NTIP_SLUG_OTCHET")));
}

void TFormSlugOtchet::SpdBtnZapisClick()
{
    if (!Handlers::commitFocusedEdit(this)) return;
    SmpDataset& buf = pers_.SmpSlugOtchetTemp;
    if (source_->isEditing()) buf.post();
    const Staff::Amounts a = StaffWidgets::typedAmounts(buf, DateSlugOtchet->date());
    const int reason = buf.fieldByName(QStringLiteral("NTIP_SLUG_OTCHET"))->asInt();
    if (a.lv <= 0 || DBLkpCmbBoxOsnov->currentText().isEmpty()) {
        UiService::current().showMessage(
            QStringLiteral("Не е въведена сума/лв./ или основание за служебен отчет !"));
        return;
    }
    if (!UiService::current().askYesNo(QStringLiteral(" Запис на служебен отчет ?"))) return;
    const int shifyr = pers_.SmpViewPers.fieldByName(QStringLiteral("SHIFYR"))->asInt();
    if (mode_ == 0)
        Staff::correctReport(pers_.connection(), buf.fieldByName(QStringLiteral("NUM_ZAPIS"))->asInt(), shifyr, reason, a);
    else
        Staff::addReport(pers_.connection(), shifyr, reason, a);
    pers_.reloadPayments();
    close();
}

void TFormSlugOtchet::SpdBtnExitClick()
{
    if (pers_.SmpSlugOtchetTemp.isActive()) pers_.SmpSlugOtchetTemp.cancel();
    close();
}
