#include "reference/formspecceni.h"

#include "data/dmns.h"
#include "platform/db/dberror.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/fielddatalink.h"
#include "platform/widgets/radiogroup.h"
#include "platform/widgets/handlers.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

TFormSpecCeni::TFormSpecCeni(TDMNS& dm) : dm_(dm)
{
    setObjectName(QStringLiteral("FormSpecCeni"));
    setWindowTitle(QStringLiteral("Формиране на специални продажни цени !"));
    const auto label = [](const char* name, const QString& text = {}) {
        auto* l = new QLabel(text);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    LbImeKontr = label("LbImeKontr");
    LbAddUpd = label("LbAddUpd");
    QFont bold = LbAddUpd->font();
    bold.setBold(true);
    LbAddUpd->setFont(bold);
    LbImeKontr->setFont(bold);
    LbNaimenovanie = label("LbNaimenovanie", QStringLiteral("Наименование -"));
    LbImeMatIzd = label("LbImeMatIzd");
    LbProdCena = label("LbProdCena");
    EdSpecCena = new QLineEdit;
    EdSpecCena->setObjectName(QStringLiteral("EdSpecCena"));
    EdSpecCena->setMaximumWidth(120);
    EdSpecCena->installEventFilter(this);  // digits and "." only
    Handlers::enterSaves(EdSpecCena, [this] { SpeedBtnZapFirmaClick(); });

    GrpBoxIzbSklad = new QGroupBox(QStringLiteral("Избор на склад "));
    GrpBoxIzbSklad->setObjectName(QStringLiteral("GrpBoxIzbSklad"));
    RdGrpIzbSklad = new RadioGroup(QStringLiteral("RdGrpIzbSklad"), QString(),
                                   {QStringLiteral("Всички"), QStringLiteral("По избор")});
    RdGrpIzbSklad->setItemIndex(0);
    Handlers::connect(RdGrpIzbSklad, &RadioGroup::clicked, this, &TFormSpecCeni::RdGrpIzbSkladClick);
    DBLkpCmbIzbSklad = new DBLookupComboBox;
    DBLkpCmbIzbSklad->setObjectName(QStringLiteral("DBLkpCmbIzbSklad"));
    auto* skladSrc = new DataSource(&dm.SmpTipSklad, this);
    skladSrc->setObjectName(QStringLiteral("DtSrcTipSklad"));
    DBLkpCmbIzbSklad->setListSource(skladSrc);
    DBLkpCmbIzbSklad->setKeyField(QStringLiteral("NSKLAD"));
    DBLkpCmbIzbSklad->setListField(QStringLiteral("SKLAD"));
    DBLkpCmbIzbSklad->setEnabled(false);
    DBLkpCmbIzbSklad->setMinimumWidth(180);
    Handlers::connect(DBLkpCmbIzbSklad, &DBLookupComboBox::closeUp, this, &TFormSpecCeni::DBLkpCmbIzbSkladCloseUp);
    auto* skladLayout = new QHBoxLayout(GrpBoxIzbSklad);
    skladLayout->addWidget(RdGrpIzbSklad);
    skladLayout->addWidget(DBLkpCmbIzbSklad, 1);

    GrpBoxIzbMat = new QGroupBox(QStringLiteral("Избор на материал "));
    GrpBoxIzbMat->setObjectName(QStringLiteral("GrpBoxIzbMat"));
    DBLkpCmBoxMat = new DBLookupComboBox;
    DBLkpCmBoxMat->setObjectName(QStringLiteral("DBLkpCmBoxMat"));
    auto* matSrc = new DataSource(&dm.SmpSkladMat, this);
    matSrc->setObjectName(QStringLiteral("DtSrcSkladMat"));
    DBLkpCmBoxMat->setListSource(matSrc);
    DBLkpCmBoxMat->setKeyField(QStringLiteral("NMATERIAL"));
    DBLkpCmBoxMat->setListField(QStringLiteral("IMEMATERIAL"));
    DBLkpCmBoxMat->view()->setMinimumWidth(300);
    DBLkpCmBoxMat->installEventFilter(this);
    Handlers::connect(DBLkpCmBoxMat, &DBLookupComboBox::closeUp, this, &TFormSpecCeni::DBLkpCmBoxMatCloseUp);
    auto* matLayout = new QHBoxLayout(GrpBoxIzbMat);
    matLayout->addWidget(DBLkpCmBoxMat);

    SpeedBtnZapFirma = new QToolButton;
    SpeedBtnZapFirma->setObjectName(QStringLiteral("SpeedBtnZapFirma"));
    SpeedBtnZapFirma->setText(QStringLiteral("Запис"));
    SpeedBtnZapFirma->setMinimumWidth(90);
    Handlers::connect(SpeedBtnZapFirma, &QToolButton::clicked, this, &TFormSpecCeni::SpeedBtnZapFirmaClick);
    SpdBtnExit = new QToolButton;
    SpdBtnExit->setObjectName(QStringLiteral("SpdBtnExit"));
    SpdBtnExit->setText(QStringLiteral("Изход"));
    SpdBtnExit->setMinimumWidth(90);
    connect(SpdBtnExit, &QToolButton::clicked, this, &QWidget::close);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Име на контрагент -")), 0, 0);
    grid->addWidget(LbImeKontr, 0, 1);
    grid->addWidget(LbAddUpd, 1, 0, 1, 2);
    grid->addWidget(LbNaimenovanie, 2, 0);
    grid->addWidget(LbImeMatIzd, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Продажна цена -")), 3, 0);
    grid->addWidget(LbProdCena, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Специална цена -")), 4, 0);
    grid->addWidget(EdSpecCena, 4, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SpeedBtnZapFirma);
    buttons->addWidget(SpdBtnExit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(GrpBoxIzbSklad);
    layout->addWidget(GrpBoxIzbMat);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(480, 330);
}

void TFormSpecCeni::openNew(const QString& counterparty)
{
    change_ = false;
    LbProdCena->setText(QStringLiteral("0.00"));
    EdSpecCena->setText(QStringLiteral("0.00"));
    LbImeKontr->setText(counterparty);
    UiService::current().showModal(this);
}

void TFormSpecCeni::openChange(const QString& counterparty, double sellingPrice, double specialPrice)
{
    change_ = true;
    LbProdCena->setText(priceText(sellingPrice));
    EdSpecCena->setText(priceText(specialPrice));
    LbImeKontr->setText(counterparty);
    UiService::current().showModal(this);
}

QString TFormSpecCeni::priceText(double value) { return QString::number(value, 'f', 2); }

void TFormSpecCeni::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TFormSpecCeni::FormShow()
{
    const bool edit = change_;
    GrpBoxIzbSklad->setVisible(!edit);
    GrpBoxIzbMat->setVisible(!edit);
    LbNaimenovanie->setVisible(edit);
    LbImeMatIzd->setVisible(edit);
    if (edit) {
        LbAddUpd->setText(QStringLiteral("Промяна на дефинирана спец. цена !"));
        LbImeMatIzd->setText(dm_.SmpViewKontrMatCeni.fieldByName(QStringLiteral("IMEMATERIAL"))->asString());
    } else {
        LbAddUpd->setText(QStringLiteral("Дефиниране на нова специална цена !"));
    }
    // Re-read the item list; neither its filter nor the warehouse choice is reset.
    Handlers::run([this] {
        dm_.SmpSkladMat.close();
        dm_.SmpSkladMat.open();
        dm_.SmpTipSklad.open();
    });
    EdSpecCena->setFocus();
}

void TFormSpecCeni::setFilterSklad(const QVariant& nsklad)
{
    // The key is a number read from the list, never typed text.
    dm_.SmpSkladMat.setFilter(nsklad.isNull() ? QString() : QStringLiteral("nsklad=%1").arg(nsklad.toInt()));
}

void TFormSpecCeni::RdGrpIzbSkladClick()
{
    const bool chosen = RdGrpIzbSklad->itemIndex() == 1;
    DBLkpCmbIzbSklad->setEnabled(chosen);
    if (!chosen) {
        dm_.SmpSkladMat.setFilter(QString());
        return;
    }
    SmpDataset& sklad = dm_.SmpTipSklad;
    setFilterSklad(sklad.isActive() && !sklad.isEmpty() ? sklad.value(QStringLiteral("NSKLAD")) : QVariant(0));
}

void TFormSpecCeni::DBLkpCmbIzbSkladCloseUp()
{
    setFilterSklad(DBLkpCmbIzbSklad->keyValue());
    Handlers::run([this] {
        dm_.SmpSkladMat.close();
        dm_.SmpSkladMat.open();
    });
}

void TFormSpecCeni::DBLkpCmBoxMatCloseUp()
{
    SmpDataset& mat = dm_.SmpSkladMat;
    if (mat.isActive() && !mat.isEmpty())
        LbProdCena->setText(priceText(mat.fieldByName(QStringLiteral("PRODAGNA_CENA"))->asFloat()));
}

bool TFormSpecCeni::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == EdSpecCena && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint()) {
            const QChar c = text.at(0);
            if (c != u'.' && !(c >= u'0' && c <= u'9')) {
                QApplication::beep();
                return true;
            }
        }
    }
    if (watched == DBLkpCmBoxMat && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            if (event->type() == QEvent::KeyPress) {
                const bool handled = Form::eventFilter(watched, event);
                DBLkpCmBoxMatCloseUp();
                return handled;
            }
            DBLkpCmBoxMatCloseUp();
        }
    }
    return Form::eventFilter(watched, event);
}

void TFormSpecCeni::SpeedBtnZapFirmaClick()
{
    if (EdSpecCena->text().isEmpty()) EdSpecCena->setText(QStringLiteral("0"));
    bool ok = false;
    const double price = EdSpecCena->text().toDouble(&ok);
    if (!ok) {
        UiService::current().reportError(
            QStringLiteral("'%1' не е валидно число !").arg(EdSpecCena->text()));
        return;
    }
    if (price == 0) {
        UiService::current().showMessage(QStringLiteral("Не е въведена сума за спец. цена !"));
        return;
    }
    if (!UiService::current().askYesNo(QStringLiteral(" Запис на спец. цена ?"))) return;

    SmpDataset& prices = dm_.SmpViewKontrMatCeni;
    StoredProc& proc = dm_.SQLZapisDanni;
    proc.setProcName(QStringLiteral("ADD_UPDATE_KONTR_MAT_CENI"));
    const auto change = [&](const QVariant& autonum) {
        proc.setParam(QStringLiteral("ADD_UPDATE"), 0);
        proc.setParam(QStringLiteral("Num_Zapis"), autonum);
        proc.setParam(QStringLiteral("NKONTRAGENT"), 0);
        proc.setParam(QStringLiteral("NMATERIAL"), 0);
    };
    if (change_) {
        change(prices.value(QStringLiteral("AUTONUM")));
    } else {
        SmpDataset& mat = dm_.SmpSkladMat;
        if (!mat.isActive() || mat.isEmpty()) return;
        const QVariant nmaterial = mat.value(QStringLiteral("NMATERIAL"));
        if (prices.isActive() && prices.locate(QStringLiteral("NMATERIAL"), {nmaterial})) {
            change(prices.value(QStringLiteral("AUTONUM")));  // the item has a price: it is changed
        } else {
            proc.setParam(QStringLiteral("ADD_UPDATE"), 1);
            proc.setParam(QStringLiteral("Num_Zapis"), 0);
            proc.setParam(QStringLiteral("NKONTRAGENT"), dm_.SmpViewKontr.value(QStringLiteral("NKONTRAGENT")));
            proc.setParam(QStringLiteral("NMATERIAL"), nmaterial);
        }
    }
    proc.setParam(QStringLiteral("SPEC_CENA"), price);
    // A refused call is reported; the list is not re-read and the window stays open.
    if (!Handlers::run([&] {
            proc.execProc();
            prices.refresh();
        }))
        return;
    close();
}
