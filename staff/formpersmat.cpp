#include "staff/formpersmat.h"

#include "data/dmpers.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbdateedit.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "staff/staffdata.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QToolButton>

TFormPersMat::TFormPersMat(TDMPers& pers) : pers_(pers), source_(new DataSource(&pers.SmpPersMat, this))
{
    setObjectName(QStringLiteral("FormPersMat"));
    setWindowTitle(QStringLiteral("Добавяне /редакция/ на инструмент, съоръжение за зачисляване !"));
    source_->setObjectName(QStringLiteral("DtSrcPersMat"));
    auto* form = new QFormLayout;
    const auto saves = [this](QWidget* w) { Handlers::enterSaves(w, [this] { SpdBtnZapisClick(); }); };
    DBLkpCmbBoxImeMat = DbControls::makeLookup("DBLkpCmbBoxImeMat", source_, "NMATERIAL",
                                               new DataSource(&pers.SmpViewPersMatSkl, this), "NMATERIAL", "IMEMATERIAL");
    DBLkpCmbBoxImeMat->setMinimumWidth(320);
    form->addRow(QStringLiteral("Наименование :"), DBLkpCmbBoxImeMat);
    saves(DBLkpCmbBoxImeMat);
    DBEdit* qty = DbControls::makeEdit("DBEdtKolichestvo", source_, "KOLICHESTVO");
    form->addRow(QStringLiteral("Количество :"), qty);
    saves(qty);
    for (const auto& [name, caption, field] : {std::tuple{"DBDateEdtOt", "От дата :", "DATEOT"},
                                                std::tuple{"DBDateEdtDo", "До дата :", "DATEDO"}}) {
        auto* d = new DBDateEdit;
        d->setObjectName(QString::fromLatin1(name));
        d->setDataSource(source_);
        d->setDataField(QString::fromLatin1(field));
        form->addRow(QString::fromUtf8(caption), d);
        saves(d);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Handlers::makeButton("SpdBtnZapis", QStringLiteral("Запис"), this, &TFormPersMat::SpdBtnZapisClick));
    buttons->addWidget(Handlers::makeButton("SpdBtnExit", QStringLiteral("Изход"), this, &TFormPersMat::SpdBtnExitClick));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void TFormPersMat::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    DBLkpCmbBoxImeMat->setFocus();
}

void TFormPersMat::SpdBtnZapisClick()
{
    if (!Handlers::commitFocusedEdit(this)) return;
    SmpDataset& m = pers_.SmpPersMat;
    if (source_->isEditing()) {
        const SmpField* qty = m.fieldByName(QStringLiteral("KOLICHESTVO"));
        if (qty->isNull() || qty->asFloat() <= 0 || m.fieldByName(QStringLiteral("NMATERIAL"))->isNull()) {
            // What was typed stays in the dialog for the user to correct.
            UiService::current().showMessage(
                QStringLiteral("Не са въведени - наименование или количество! Запис няма да се осъществи !"));
            return;
        }
        m.setValue(QStringLiteral("SHIFYR"), pers_.SmpViewPers.value(QStringLiteral("SHIFYR")));
        if (m.fieldByName(QStringLiteral("AUTONUM"))->isNull())
            m.setValue(QStringLiteral("AUTONUM"), Staff::newToolIssueKey(pers_.connection()));
        const QVariant key = m.value(QStringLiteral("AUTONUM"));
        m.post();
        m.applyUpdates();
        pers_.SmpViewPersMat.refresh();
        pers_.SmpViewPersMat.locate(QStringLiteral("AUTONUM"), {key});
    }
    close();
}

void TFormPersMat::SpdBtnExitClick() { close(); }

void TFormPersMat::closeEvent(QCloseEvent* event)
{
    SmpDataset& m = pers_.SmpPersMat;
    if (m.isActive() && (source_->isEditing() || m.changeCount() > 0)) m.cancel();
    Form::closeEvent(event);
}
