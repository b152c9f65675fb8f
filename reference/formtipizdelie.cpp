#include "reference/formtipizdelie.h"

#include "data/dmns.h"
#include "platform/db/dberror.h"
#include "platform/db/transaction.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/radiogroup.h"
#include "platform/widgets/handlers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

DataSource* source(QObject* owner, SmpDataset& ds)
{
    auto* src = new DataSource(&ds, owner);
    src->setObjectName(QStringLiteral("DtSrc") + ds.objectName().mid(3));
    return src;
}

QToolButton* button(const char* name, const QString& text)
{
    auto* b = new QToolButton;
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setMinimumWidth(90);
    return b;
}

} // namespace

TFormTipIzdelie::TFormTipIzdelie(TDMNS& dm, QWidget* parent) : Form(parent), dm_(dm)
{
    setObjectName(QStringLiteral("FormTipIzdelie"));
    DataSource* materiali = source(this, dm.SmpMateriali);
    DataSource* tipIzdelieN = source(this, dm.SmpTipIzdelieN);
    DataSource* tipProizv = source(this, dm.SmpTipProizv);

    // Mode 0: the item that becomes a product, and where its recipe comes from.
    GrpBoxIzdelie = new QGroupBox(QStringLiteral("Избор на изделие /комплект/ за формиране на рецепта"));
    GrpBoxIzdelie->setObjectName(QStringLiteral("GrpBoxIzdelie"));
    DBLkpCmbIzdelie = new DBLookupComboBox;
    DBLkpCmbIzdelie->setObjectName(QStringLiteral("DBLkpCmbIzdelie"));
    // Not bound to the product row: that row belongs to the product shown, which must not change.
    DBLkpCmbIzdelie->setListSource(materiali);
    DBLkpCmbIzdelie->setKeyField(QStringLiteral("NMATERIAL"));
    DBLkpCmbIzdelie->setListField(QStringLiteral("IMEMATERIAL"));
    (new QVBoxLayout(GrpBoxIzdelie))->addWidget(DBLkpCmbIzdelie);

    RdGrpRecepta = new RadioGroup(QStringLiteral("RdGrpRecepta"), QStringLiteral("Избор на данни от готова рецепта "),
                                  {QStringLiteral("Празна рецепта"), QStringLiteral("Избор от рецепта")});
    RdGrpRecepta->setItemIndex(0);
    Handlers::connect(RdGrpRecepta, &RadioGroup::clicked, this, [this] { RdGrpReceptaClick(); });

    GrpBoxDubl = new QGroupBox(QStringLiteral("Избор рецепта на изделие за дублиране "));
    GrpBoxDubl->setObjectName(QStringLiteral("GrpBoxDubl"));
    DBGrdViewIzd = new DBGrid;
    DBGrdViewIzd->setObjectName(QStringLiteral("DBGrdViewIzd"));
    DBGrdViewIzd->setDataSource(source(this, dm.SmpViewIzd));
    DBGrdViewIzd->setReadOnly(true);
    DBGrdViewIzd->setRowSelect(true);
    DBGrdViewIzd->setColumns({{QStringLiteral("IMEPROIZVODSTVO"), {}, 105}, {QStringLiteral("IMEMATIZD"), {}, 165},
                              {QStringLiteral("ED_CENA"), {}, 62}});
    DBGrdViewIzdRec = new DBGrid;
    DBGrdViewIzdRec->setObjectName(QStringLiteral("DBGrdViewIzdRec"));
    DBGrdViewIzdRec->setDataSource(source(this, dm.SmpViewIzdRec));
    DBGrdViewIzdRec->setReadOnly(true);
    DBGrdViewIzdRec->setRowSelect(true);
    DBGrdViewIzdRec->setColumns({{QStringLiteral("IMEMATERIAL"), {}, 150}, {QStringLiteral("Mka"), {}, 38},
                                 {QStringLiteral("ED_CENA"), {}, 62}, {QStringLiteral("KOLICHESTVO"), {}, 74}});
    auto* dubl = new QHBoxLayout(GrpBoxDubl);
    dubl->addWidget(DBGrdViewIzd, 1);
    dubl->addWidget(DBGrdViewIzdRec, 1);
    GrpBoxDubl->setVisible(false);
    SpdBtnZapIzd = button("SpdBtnZapIzd", QStringLiteral("Запис"));
    Handlers::connect(SpdBtnZapIzd, &QToolButton::clicked, this, &TFormTipIzdelie::SpdBtnZapIzdClick);

    // Mode 1: the product and its new workshop.
    GrpBoxPrehvyrliane = new QGroupBox;
    GrpBoxPrehvyrliane->setObjectName(QStringLiteral("GrpBoxPrehvyrliane"));
    DBTextIzdelie = new DBText;
    DBTextIzdelie->setObjectName(QStringLiteral("DBTextIzdelie"));
    DBTextIzdelie->setDataSource(tipIzdelieN);
    DBTextIzdelie->setDataField(QStringLiteral("ImeMaterial_Izdelie"));
    DBTextIzdelie->setFrameShape(QFrame::StyledPanel);
    DBTextIzdelie->setFixedHeight(26);
    DBLkpCmbProizv = new DBLookupComboBox;
    DBLkpCmbProizv->setObjectName(QStringLiteral("DBLkpCmbProizv"));
    DBLkpCmbProizv->setDataSource(tipIzdelieN);
    DBLkpCmbProizv->setDataField(QStringLiteral("NPROIZVODSTVO"));
    DBLkpCmbProizv->setListSource(tipProizv);
    DBLkpCmbProizv->setKeyField(QStringLiteral("NPROIZVODSTVO"));
    DBLkpCmbProizv->setListField(QStringLiteral("PROIZVODSTVO"));
    auto* move = new QVBoxLayout(GrpBoxPrehvyrliane);
    move->addWidget(new QLabel(QStringLiteral("Изделие/комплект/за прехвърляне")));
    move->addWidget(DBTextIzdelie);
    move->addWidget(new QLabel(QStringLiteral("Избор на нов цех")));
    move->addWidget(DBLkpCmbProizv);
    BitBtnZapSklOb = button("BitBtnZapSklOb", QStringLiteral("Запис "));
    Handlers::connect(BitBtnZapSklOb, &QToolButton::clicked, this, &TFormTipIzdelie::BitBtnZapSklObClick);

    SpdBtnIzhod = button("SpdBtnIzhod", QStringLiteral("Изход"));
    Handlers::connect(SpdBtnIzhod, &QToolButton::clicked, this, &TFormTipIzdelie::SpdBtnIzhodClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SpdBtnZapIzd);
    buttons->addWidget(BitBtnZapSklOb);
    buttons->addWidget(SpdBtnIzhod);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GrpBoxIzdelie);
    layout->addWidget(RdGrpRecepta);
    layout->addWidget(GrpBoxDubl, 1);
    layout->addWidget(GrpBoxPrehvyrliane);
    layout->addStretch(0);
    layout->addLayout(buttons);
}

int TFormTipIzdelie::receptaIndex() const { return RdGrpRecepta->itemIndex(); }

int TFormTipIzdelie::open(Mode mode)
{
    mode_ = mode;
    return UiService::current().showModal(this);
}

void TFormTipIzdelie::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    FormShow();
}

void TFormTipIzdelie::FormShow()
{
    const bool create = mode_ == Mode::New;
    setWindowTitle(create ? QStringLiteral("Избор на ново изделие, комплект ... за производство!")
                          : QStringLiteral("Прехвърляне на рецепта от едно производство в друго !"));
    for (QWidget* w : {static_cast<QWidget*>(GrpBoxIzdelie), static_cast<QWidget*>(RdGrpRecepta),
                       static_cast<QWidget*>(SpdBtnZapIzd)})
        w->setVisible(create);
    GrpBoxPrehvyrliane->setVisible(!create);
    BitBtnZapSklOb->setVisible(!create);
    if (create) {
        dm_.SmpMateriali.open();
        for (SmpDataset* ds : {&dm_.SmpViewIzd, &dm_.SmpViewIzdRec}) {
            if (ds->isActive()) ds->refresh();
            else ds->open();
        }
        RdGrpReceptaClick();
        resize(760, receptaIndex() == 1 ? 470 : 200);
    } else {
        dm_.SmpTipProizv.open();
        GrpBoxDubl->setVisible(false);
        layout()->activate();
        resize(460, minimumSizeHint().height());
    }
}

void TFormTipIzdelie::RdGrpReceptaClick()
{
    const bool copy = receptaIndex() == 1;
    GrpBoxDubl->setVisible(copy && mode_ == Mode::New);
    if (copy && height() < 400) resize(width(), 470);
}

void TFormTipIzdelie::SpdBtnZapIzdClick()
{
    UiService& ui = UiService::current();
    const QVariant item = DBLkpCmbIzdelie->keyValue();
    if (item.isNull() || item.toInt() <= 0) {  // no item chosen: there is nothing to make
        ui.showMessage(QStringLiteral("Липстват данни за въвеждане !"));
        return;
    }
    try {
        SqlQuery& q = dm_.SQLQObsto;
        q.setSql(QStringLiteral("select imeproizvodstvo,NMATERIAL_IZDELIE from ViewTipIzdelie where NMATERIAL_IZDELIE=:NumMatIzd"));
        q.setParam(QStringLiteral("NumMatIzd"), item);
        q.open();
        if (!q.eof() && q.fieldByName(QStringLiteral("NMATERIAL_IZDELIE")).toInt() > 0) {
            ui.showMessage(QStringLiteral("Съществува изделие с това име в ") +
                           q.fieldByName(QStringLiteral("IMEPROIZVODSTVO")).toString().toUpper() + QChar(13) +
                           QString(39, QChar(' ')) + QStringLiteral("ЗАПИСА НЕВЪЗМОЖЕН !"));
            return;
        }
        const bool copy = receptaIndex() == 1;
        {
            // The product and its copied recipe are stored together or not at all.
            TransactionScope tx(dm_.SQLConnectNS);
            StoredProc& p = dm_.SQLZapisDanni;
            p.setProcName(QStringLiteral("ADDTIP_IZDELIE"));
            p.setParam(QStringLiteral("NMATERIAL_IZDELIE"), item);
            p.setParam(QStringLiteral("NPROIZVODSTVO"), dm_.SmpTipProizvN.value(QStringLiteral("NPROIZVODSTVO")));
            p.execProc();
            const QVariant product = p.output(QStringLiteral("NTIP_IZDELIE"));
            SmpDataset& rec = dm_.SmpViewIzdRec;
            if (copy && rec.isActive()) {
                const SmpField* material = rec.fieldByName(QStringLiteral("NMATERIAL"));
                const SmpField* qty = rec.fieldByName(QStringLiteral("KOLICHESTVO"));
                for (int i = 0; i < rec.recordCount(); ++i) {
                    p.setProcName(QStringLiteral("ADDIZDELIE_RECEPTA"));
                    p.setParam(QStringLiteral("NTIP_IZDELIE"), product);
                    p.setParam(QStringLiteral("NMATERIAL"), rec.valueAt(i, material));
                    p.setParam(QStringLiteral("KOLICHESTVO"), rec.valueAt(i, qty));
                    p.execProc();
                }
            }
            tx.commit();
        }
        dm_.SmpTipIzdelieN.close();
        dm_.SmpTipIzdelieN.open();
        dm_.SmpTipIzdVIEW.refresh();
        dm_.SmpTipIzdVIEW.locate(QStringLiteral("NMATERIAL_IZDELIE"), {item});
        if (copy) dm_.SmpRecepIzdVIEW.refresh();
    } catch (const DbError& e) {
        ui.reportError(e.message());
        return;
    }
    closeWith(1);
}

void TFormTipIzdelie::BitBtnZapSklObClick()
{
    SmpDataset& ds = dm_.SmpTipIzdelieN;
    if (ds.state() != SmpDataset::State::Edit || !ds.isModified()) return;
    if (!UiService::current().askYesNo(QStringLiteral(" Потвърдете прехвърляне на рецепта в друг цех ! "))) return;
    try {
        ds.post();
        ds.applyUpdates();
        ds.refresh();
        dm_.SmpTipIzdVIEW.refresh();
    } catch (const DbError& e) {
        UiService::current().reportError(e.message());
        return;
    }
    closeWith(1);
}

void TFormTipIzdelie::SpdBtnIzhodClick()
{
    SmpDataset& ds = dm_.SmpTipIzdelieN;
    if (ds.isActive() && ds.state() != SmpDataset::State::Browse) ds.cancel();
    if (ds.isActive() && ds.changeCount() > 0) ds.cancelUpdates();
    closeWith(2);
}
