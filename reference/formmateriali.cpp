#include "reference/formmateriali.h"

#include "data/dmns.h"
#include "platform/db/dberror.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbimage.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/fielddatalink.h"
#include "reference/materials.h"
#include "platform/widgets/handlers.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

TFormMateriali::TFormMateriali(TDMNS& dm) : dm_(dm), DtSrcViewMateriali(new DataSource(&dm.SmpViewMateriali, this))
{
    setObjectName(QStringLiteral("FormMateriali"));
    setWindowTitle(QStringLiteral("Материали, изделия, комплекти - редакция /нови/ !"));
    DtSrcViewMateriali->setObjectName(QStringLiteral("DtSrcViewMateriali"));
    choosePictureFile = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Снимка на изделието"), QString(),
                                            QStringLiteral("Картини (*.png *.jpg *.jpeg *.bmp *.gif)"));
    };

    LbMat = new QLabel;
    LbMat->setObjectName(QStringLiteral("LbMat"));
    QFont f = LbMat->font();
    f.setBold(true);
    LbMat->setFont(f);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    int row = 0;
    const auto place = [&](const QString& caption, QWidget* w, int col = 0) {
        grid->addWidget(new QLabel(caption), row, col);
        grid->addWidget(w, row, col + 1);
    };
    const auto edit = [&](const char* name, const char* field, const QString& caption, int col = 0) {
        auto* e = DbControls::makeEdit(name, DtSrcViewMateriali, field);
        Handlers::enterSaves(e, [this] { BitBtnZapMatClick(); });
        place(caption, e, col);
        return e;
    };
    const auto lookup = [&](const char* name, const char* field, SmpDataset& list, const char* key, const char* shown,
                            const QString& caption, int col = 0) {
        auto* c = DbControls::makeLookup(name, DtSrcViewMateriali, field, new DataSource(&list, this), key, shown);
        if (qstrcmp(name, "DBLkpCmBoxIzch") != 0) Handlers::enterSaves(c, [this] { BitBtnZapMatClick(); });  // Enter there does not save
        place(caption, c, col);
        return c;
    };

    DBEditMat = edit("DBEditMat", "IMEMATERIAL", QStringLiteral("Материал, изделие, комплект"));
    grid->addWidget(DBEditMat, row, 1, 1, 3);
    ++row;
    DBLkpCmBMka = lookup("DBLkpCmBMka", "NMIARKA", dm.SmpMiarka, "NMIARKA", "MIARKA_BG", QStringLiteral("Мярка"));
    DBLkpCmbSklad = lookup("DBLkpCmbSklad", "NSKLAD", dm.SmpTipSklad, "NSKLAD", "SKLAD", QStringLiteral("Склад"), 2);
    ++row;
    edit("DBEdtEdCena", "ED_CENA", QStringLiteral("Ед. цена за форм. на калкулация :"));
    ++row;
    edit("DBEdtProdCena", "PRODAGNACENA", QStringLiteral("Цена на едро лв:"));
    edit("DBEdtProdCenaLvDrebno", "PROD_CENA_LV_DREBNO", QStringLiteral("Цена на дребно ЛВ :"), 2);
    ++row;
    edit("DBEdtProdCenaUsd", "PRODAGNACENA_USD", QStringLiteral("Цена на едро USD:"));
    edit("DBEdtProdCenaUsdDrebno", "PROD_CENA_USD_DREBNO", QStringLiteral("Цена на дребно USD :"), 2);
    ++row;
    edit("DBEdtProdCenaEur", "PRODAGNACENA_EUR", QStringLiteral("Цена на едро EUR:"));
    edit("DBEdtProdCenaEurDrebno", "PROD_CENA_EUR_DREBNO", QStringLiteral("Цена на дребно EUR :"), 2);
    ++row;
    edit("DBEdtMinKol", "MIN_KOL", QStringLiteral("Миним. налично количество :"));
    edit("DBEdtMaxKol", "MAX_KOL", QStringLiteral("Максим. налично количество :"), 2);
    ++row;
    lookup("DBLkpCmBoxSeria", "SERIA_DA_NE", dm.SmpDaNe, "NUM_DA_NE", "TEXT_DA_NE", QStringLiteral("Серия да/не"));
    lookup("DBLkpCmBoxIzch", "IZCH_DA_NE", dm.SmpDaNe, "NUM_DA_NE", "TEXT_DA_NE",
           QStringLiteral("За сумиране"), 2);
    ++row;
    lookup("DBLkpCmBoxSum", "SUM_DA_NE", dm.SmpDaNe, "NUM_DA_NE", "TEXT_DA_NE", QStringLiteral("Сумарно"));
    ++row;
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* pictureBox = new QGroupBox(QStringLiteral("Снимка на изделието"));
    auto* pictureLayout = new QVBoxLayout(pictureBox);
    DBImgSnimka = new DBImage;
    DBImgSnimka->setObjectName(QStringLiteral("DBImgSnimka"));
    DBImgSnimka->setDataSource(DtSrcViewMateriali);
    DBImgSnimka->setDataField(QStringLiteral("SNIMKA"));
    DBImgSnimka->setFixedSize(150, 110);
    DBImgSnimka->setFrameShape(QFrame::StyledPanel);
    DBImgSnimka->setStretch(true);
    DBImgSnimka->setToolTip(QStringLiteral("Двоен клик - избор на картина от файл"));
    DBImgSnimka->installEventFilter(this);
    pictureLayout->addWidget(DBImgSnimka);

    BitBtnZapMat = new QToolButton;
    BitBtnZapMat->setObjectName(QStringLiteral("BitBtnZapMat"));
    BitBtnZapMat->setText(QStringLiteral("Запис"));
    BitBtnZapMat->setMinimumWidth(90);
    Handlers::connect(BitBtnZapMat, &QToolButton::clicked, this, &TFormMateriali::BitBtnZapMatClick);
    SpdBtnExit = new QToolButton;
    SpdBtnExit->setObjectName(QStringLiteral("SpdBtnExit"));
    SpdBtnExit->setText(QStringLiteral("Изход"));
    SpdBtnExit->setMinimumWidth(90);
    Handlers::connect(SpdBtnExit, &QToolButton::clicked, this, &TFormMateriali::SpdBtnExitClick);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(pictureBox);
    bottom->addStretch(1);
    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtnZapMat);
    buttons->addWidget(SpdBtnExit);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LbMat);
    layout->addLayout(grid);
    layout->addLayout(bottom);
    resize(720, 470);
}

bool TFormMateriali::open(Mode mode)
{
    mode_ = mode;
    saved_ = false;
    UiService::current().showModal(this);
    return saved_;
}

void TFormMateriali::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TFormMateriali::FormShow()
{
    SmpDataset& ds = dm_.SmpViewMateriali;
    if (mode_ == Mode::New) {
        Handlers::run([&ds] { ds.insert(); });
        LbMat->setText(QStringLiteral("Дефиниране на нов материал !"));
        LbMat->setStyleSheet(QStringLiteral("color: green;"));
    } else {
        LbMat->setText(QStringLiteral("Корекция на материал !"));
        LbMat->setStyleSheet(QStringLiteral("color: darkred;"));
    }
    DBEditMat->setFocus();
}

bool TFormMateriali::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick && watched == DBImgSnimka) {
        DBImgSnimkaDblClick();
        return true;
    }
    return Form::eventFilter(watched, event);
}

void TFormMateriali::DBImgSnimkaDblClick()
{
    const QString file = choosePictureFile ? choosePictureFile() : QString();
    if (!file.isEmpty() && !loadPicture(file))
        UiService::current().showMessage(QStringLiteral("Файлът не е картина !"));
}

bool TFormMateriali::loadPicture(const QString& file)
{
    const QImage image(file);
    return !image.isNull() && DBImgSnimka->setImage(image);
}

void TFormMateriali::BitBtnZapMatClick()
{
    if (!Handlers::commitFocusedEdit(this)) return;
    BitBtnZapMat->setFocus();
    if (saved_) return;
    SmpDataset& ds = dm_.SmpViewMateriali;
    const QString name = DBEditMat->text();
    try {
        if (mode_ == Mode::New && Materials::nameInUse(dm_.SQLConnectNS, name)) {
            UiService::current().showMessage(QStringLiteral("Този материал вече съществува в номенклатурата !"));
            return;
        }
        if (name.isEmpty() || DBLkpCmBMka->currentText().isEmpty() || DBLkpCmbSklad->currentText().isEmpty()) {
            UiService::current().showMessage(
                QStringLiteral("Задължителни полета за въвеждане - име на материал,мярка,склад !"));
            return;
        }
        if (ds.state() == SmpDataset::State::Browse || !ds.isModified()) return;  // nothing was corrected

        QVariantMap values;
        for (const SmpField* f : ds.fields())
            if (f->kind() == SmpField::Kind::Data) values.insert(f->fieldName(), f->value());
        Materials::store(dm_.SQLConnectNS, values, mode_ == Mode::Edit ? ds.value(QStringLiteral("NMATERIAL")) : QVariant());

        const QString saved = values.value(QStringLiteral("IMEMATERIAL")).toString().left(65);
        discardRow();
        ds.refresh();
        ds.locate(QStringLiteral("IMEMATERIAL"), {saved});
    } catch (const DbError& e) {
        // The save stops; the editor stays open with the row still pending.
        UiService::current().reportError(e.message());
        return;
    }
    saved_ = true;
    close();
}

void TFormMateriali::SpdBtnExitClick() { close(); }

void TFormMateriali::discardRow()
{
    SmpDataset& ds = dm_.SmpViewMateriali;
    if (ds.state() != SmpDataset::State::Browse) ds.cancel();
    if (ds.isActive() && ds.changeCount() > 0) ds.cancelUpdates();
}

void TFormMateriali::closeEvent(QCloseEvent* event)
{
    discardRow();
    Form::closeEvent(event);
}
