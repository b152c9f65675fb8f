#include "reference/formkontragent.h"

#include "data/dmns.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbmemo.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/fielddatalink.h"
#include "platform/widgets/handlers.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

TFormKontragent::TFormKontragent(TDMNS& dm) : dm_(dm), DtSrcKontragenti(new DataSource(&dm.SmpKontragenti, this))
{
    setObjectName(QStringLiteral("FormKontragent"));
    setWindowTitle(QStringLiteral("Контрагент - нов / редакция / ! "));
    DtSrcKontragenti->setObjectName(QStringLiteral("DtSrcKontragenti"));

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    int row[2] = {0, 0};
    const auto place = [&](int col, const QString& caption, QWidget* w) {
        grid->addWidget(new QLabel(caption), row[col], col * 2);
        grid->addWidget(w, row[col], col * 2 + 1);
        ++row[col];
    };
    const auto edit = [&](int col, const char* name, const char* field, const QString& caption) {
        auto* e = DbControls::makeEdit(name, DtSrcKontragenti, field);
        place(col, caption, e);
        return e;
    };
    const auto lookup = [&](int col, const char* name, const char* field, SmpDataset& list, const char* key,
                            const char* shown, const QString& caption) {
        auto* c = DbControls::makeLookup(name, DtSrcKontragenti, field, new DataSource(&list, this), key, shown);
        place(col, caption, c);
        return c;
    };

    DBLookupComboBox1 = lookup(0, "DBLookupComboBox1", "NTIP_KONTRAGENT", dm.SmpTipKontragent, "NTIP_KONTRAGENT",
                               "KONTRAGENT", QStringLiteral("Вид контрагент "));
    DBEdtImeKontragent = edit(0, "DBEdtImeKontragent", "IMEKONTRAGENT", QStringLiteral("Име  /  Фирма - кирилица"));
    edit(0, "DBEdtImeKontragentLat", "IMEKONTRAGENT_LAT", QStringLiteral("Име  /  Фирма - латиница"));
    edit(0, "DBEdtDanNo", "DAN_NO", QStringLiteral("Идентификац.№"));
    edit(0, "DBEdtBulstat", "BULSTAT", QStringLiteral("Идентификац.№ ДДС"));
    edit(0, "DBEdtBank", "BANK", QStringLiteral("Банка"));
    edit(0, "DBEdtBankKlon", "BANK_KLON", QStringLiteral("Баков клон "));
    edit(0, "DBEdtBankCode", "BANK_CODE", QStringLiteral("Swift BIC код"));
    edit(0, "DBEdtBankSmetka", "BANK_SMETKA", QStringLiteral("Банкова сметка IBAN"));
    lookup(1, "DBLkpCmBoxCountry", "KOD_COUNTRY", dm.SmpCountry, "KOD_COUNTRY", "COUNTRY", QStringLiteral("Държава :"));
    lookup(1, "DBLkpCmBoxGrad", "POSTKOD", dm.SmpGrad, "POSTKOD", "GRAD", QStringLiteral("Населено място"));
    edit(1, "DBEdtAdres", "ADRES", QStringLiteral("Улица, №  "));
    edit(1, "DBEdtEGN", "EGN", QStringLiteral("Е Г Н"));
    edit(1, "DBEdtProcentOtst", "PROCENT_OTST_KONTR", QStringLiteral("% Отст."));
    edit(1, "DBEdtTel", "TEL", QStringLiteral("Телефон"));
    edit(1, "DBEdtEmail", "EMAIL", QStringLiteral("E-MAIL"));
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* memo = new DBMemo;
    memo->setObjectName(QStringLiteral("DBMemoBelegki"));
    memo->setDataSource(DtSrcKontragenti);
    memo->setDataField(QStringLiteral("BELEGKI"));
    memo->setFixedHeight(70);

    SpdBtnZapisKontragent = new QToolButton;
    SpdBtnZapisKontragent->setObjectName(QStringLiteral("SpdBtnZapisKontragent"));
    SpdBtnZapisKontragent->setText(QStringLiteral("Запис"));
    SpdBtnZapisKontragent->setMinimumWidth(90);
    Handlers::connect(SpdBtnZapisKontragent, &QToolButton::clicked, this, &TFormKontragent::SpdBtnZapisKontragentClick);
    SpdBtnIzhod = new QToolButton;
    SpdBtnIzhod->setObjectName(QStringLiteral("SpdBtnIzhod"));
    SpdBtnIzhod->setText(QStringLiteral("Изход"));
    SpdBtnIzhod->setMinimumWidth(90);
    Handlers::connect(SpdBtnIzhod, &QToolButton::clicked, this, &TFormKontragent::SpdBtnIzhodClick);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(QStringLiteral("Бележки :")));
    layout->addWidget(memo);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SpdBtnZapisKontragent);
    buttons->addWidget(SpdBtnIzhod);
    layout->addLayout(buttons);
    resize(700, 380);
}

void TFormKontragent::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    DBLookupComboBox1->setFocus();
}

void TFormKontragent::SpdBtnZapisKontragentClick()
{
    SmpDataset& ds = dm_.SmpKontragenti;
    if (!Handlers::commitFocusedEdit(this)) return;
    const bool editing = ds.state() == SmpDataset::State::Edit || ds.state() == SmpDataset::State::Insert;
    if (editing) {
        if (DBEdtImeKontragent->text().isEmpty() || DBLookupComboBox1->currentText().isEmpty()) {
            // Refused: the editor stays open with everything typed, for the user to complete.
            UiService::current().showMessage(QStringLiteral("Не е въведен контрагент. Запис няма да се осъществи !"));
            return;
        }
        // Stored at once and both lists re-read; a change the server refuses is reported and stays
        // pending, with the editor open.
        if (!Handlers::run([&ds] { ds.post(); })) return;
        const QVariant key = ds.isEmpty() ? QVariant() : ds.value(QStringLiteral("NKONTRAGENT"));
        if (key.isValid()) dm_.SmpViewKontr.locate(QStringLiteral("NKONTRAGENT"), {key});
    }
    for (SmpDataset* d : {&dm_.SmpMOLKontr, &dm_.SmpKontrFilial})
        if (d->state() == SmpDataset::State::Edit || d->state() == SmpDataset::State::Insert) d->cancel();
    close();
}

void TFormKontragent::SpdBtnIzhodClick() { close(); }

void TFormKontragent::dropPending()
{
    SmpDataset& ds = dm_.SmpKontragenti;
    if (ds.state() == SmpDataset::State::Edit || ds.state() == SmpDataset::State::Insert) ds.cancel();
    if (ds.isActive() && ds.changeCount() > 0) ds.cancelUpdates();
}

void TFormKontragent::closeEvent(QCloseEvent* event)
{
    dropPending();
    Form::closeEvent(event);
}
