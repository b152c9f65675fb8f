#include "staff/formpers.h"

#include "data/dmpers.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbdateedit.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbimage.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "staff/staffdata.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

TFormPers::TFormPers(TDMPers& pers) : pers_(pers), source_(new DataSource(&pers.SmpPers, this))
{
    setObjectName(QStringLiteral("FormPers"));
    setWindowTitle(QStringLiteral("Персонал - добавяне /редакция/ !"));
    source_->setObjectName(QStringLiteral("DtSrcPers"));
    auto* gradList = new DataSource(&pers.SmpGradRpu, this);
    auto* form = new QFormLayout;
    const auto edit = [&](const char* name, const char* caption, const char* field) {
        DBEdit* e = DbControls::makeEdit(name, source_, field);
        form->addRow(QString::fromUtf8(caption), e);
        Handlers::enterSaves(e, [this] { SpdBtnZapisPersClick(); });
        return e;
    };
    const auto lookup = [&](const char* name, const char* caption, const char* field, DataSource* list, const char* key,
                            const char* shown) {
        auto* c = DbControls::makeLookup(name, source_, field, list, key, shown);
        form->addRow(QString::fromUtf8(caption), c);
        Handlers::enterSaves(c, [this] { SpdBtnZapisPersClick(); });
    };
    DBEdtIme = edit("DBEdtIme", "Име", "IME");
    edit("DBEdtPrez", "Презиме", "PREZ");
    edit("DBEdtFam", "Фамилия", "FAM");
    edit("DBEdtEGN", "ЕГН", "EGN")->setDigitsOnly(true);
    lookup("DBLkpCmbBoxGrad", "Адрес: гр./с./", "POST_KOD", gradList, "POSTKOD", "GRAD");
    edit("DBEdtAdres", "ул. №", "ADRES_UL_N");
    edit("DBEdtLK", "ЛК", "LK");
    auto* lkDate = new DBDateEdit;
    lkDate->setObjectName(QStringLiteral("DBDateEdtLK"));
    lkDate->setDataSource(source_);
    lkDate->setDataField(QStringLiteral("LK_DATE"));
    form->addRow(QStringLiteral("Изд."), lkDate);
    lookup("DBLkpCmbBoxRpu", "РПУ", "POST_KOD_RPU", gradList, "POSTKOD", "GRAD");
    edit("DBEdtTel", "Тел.", "TEL");
    lookup("DBLkpCmbBoxDlygnost", "Длъжност", "KOD_DLYGNOST", new DataSource(&pers.SmpDlygnosti, this), "KOD_DLYGNOST",
           "IME_DLYGNOST");

    auto* photo = new DBImage;
    photo->setObjectName(QStringLiteral("DBImgSnimka"));
    photo->setDataSource(source_);
    photo->setDataField(QStringLiteral("SNIMKA"));
    photo->setStretch(true);
    photo->setFixedSize(120, 150);
    photo->setFrameShape(QFrame::Box);

    auto* top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addWidget(photo, 0, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Handlers::makeButton("SpdBtnZapisPers", QStringLiteral("Запис"), this, &TFormPers::SpdBtnZapisPersClick));
    buttons->addWidget(Handlers::makeButton("SpdBtnExitPers", QStringLiteral("Изход"), this, &TFormPers::SpdBtnExitPersClick));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

void TFormPers::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    DBEdtIme->setFocus();
}

void TFormPers::SpdBtnZapisPersClick()
{
    if (!Handlers::commitFocusedEdit(this)) return;
    SmpDataset& p = pers_.SmpPers;
    if (source_->isEditing()) {
        for (const char* name : {"IME", "PREZ", "FAM"})
            if (p.fieldByName(QString::fromLatin1(name))->asString().trimmed().isEmpty()) {
                // What was typed stays in the dialog for the user to complete.
                UiService::current().showMessage(
                    QStringLiteral("Не са въведени - име,презиме,фамилия! Запис няма да се осъществи !"));
                return;
            }
        if (p.state() == SmpDataset::State::Insert && p.fieldByName(QStringLiteral("SHIFYR"))->isNull())
            p.setValue(QStringLiteral("SHIFYR"), Staff::newStaffNumber(pers_.connection()));
        const QVariant shifyr = p.value(QStringLiteral("SHIFYR"));
        p.post();
        p.applyUpdates();
        pers_.SmpViewPers.refresh();
        pers_.SmpViewPers.locate(QStringLiteral("SHIFYR"), {shifyr});
    }
    close();
}

void TFormPers::SpdBtnExitPersClick() { close(); }

void TFormPers::closeEvent(QCloseEvent* event)
{
    SmpDataset& p = pers_.SmpPers;
    if (p.isActive() && (source_->isEditing() || p.changeCount() > 0)) p.cancel();
    Form::closeEvent(event);
}
