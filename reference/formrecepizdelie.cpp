#include "reference/formrecepizdelie.h"

#include "data/dmns.h"
#include "platform/db/dberror.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

TFormRecepIzdelie::TFormRecepIzdelie(TDMNS& dm, QWidget* parent) : Form(parent), dm_(dm)
{
    setObjectName(QStringLiteral("FormRecepIzdelie"));
    setWindowTitle(QStringLiteral("Материал за изготвяне на изделие - ново /корекция/ !"));
    DtSrcRecep_izdN = new DataSource(&dm.SmpRecep_izdN, this);
    DtSrcRecep_izdN->setObjectName(QStringLiteral("DtSrcRecep_izdN"));
    DtSrcTipIzdVIEW = new DataSource(&dm.SmpTipIzdVIEW, this);
    DtSrcTipIzdVIEW->setObjectName(QStringLiteral("DtSrcTipIzdVIEW"));
    DtSrcMateriali = new DataSource(&dm.SmpMateriali, this);
    DtSrcMateriali->setObjectName(QStringLiteral("DtSrcMateriali"));

    DBTextIzdelie = new DBText;
    DBTextIzdelie->setObjectName(QStringLiteral("DBTextIzdelie"));
    DBTextIzdelie->setDataSource(DtSrcTipIzdVIEW);
    DBTextIzdelie->setDataField(QStringLiteral("IMEMATIZD"));
    DBTextIzdelie->setFrameShape(QFrame::StyledPanel);
    DBLkpCmbMaterial = new DBLookupComboBox;
    DBLkpCmbMaterial->setObjectName(QStringLiteral("DBLkpCmbMaterial"));
    DBLkpCmbMaterial->setDataSource(DtSrcRecep_izdN);
    DBLkpCmbMaterial->setDataField(QStringLiteral("NMATERIAL"));
    DBLkpCmbMaterial->setListSource(DtSrcMateriali);
    DBLkpCmbMaterial->setKeyField(QStringLiteral("NMATERIAL"));
    DBLkpCmbMaterial->setListField(QStringLiteral("IMEMATERIAL"));
    DBLkpCmbMaterial->setMinimumWidth(380);
    DBEdtKolichestvo = new DBEdit;
    DBEdtKolichestvo->setObjectName(QStringLiteral("DBEdtKolichestvo"));
    DBEdtKolichestvo->setDataSource(DtSrcRecep_izdN);
    DBEdtKolichestvo->setDataField(QStringLiteral("KOLICHESTVO"));
    DBEdtKolichestvo->setMaximumWidth(140);
    // Enter in either field saves.
    for (QWidget* w : {static_cast<QWidget*>(DBLkpCmbMaterial), static_cast<QWidget*>(DBEdtKolichestvo)})
        Handlers::enterSaves(w, [this] { SpdBtnZapisClick(); });

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Изделие")), 0, 0);
    grid->addWidget(DBTextIzdelie, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Материал")), 1, 0);
    grid->addWidget(DBLkpCmbMaterial, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Количество")), 2, 0);
    grid->addWidget(DBEdtKolichestvo, 2, 1, Qt::AlignLeft);

    const auto button = [this](const char* name, const QString& text) {
        auto* b = new QToolButton;
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setMinimumWidth(90);
        return b;
    };
    SpdBtnZapis = button("SpdBtnZapis", QStringLiteral("Запис"));
    SpdBtnIzhod = button("SpdBtnIzhod", QStringLiteral("Изход"));
    Handlers::connect(SpdBtnZapis, &QToolButton::clicked, this, &TFormRecepIzdelie::SpdBtnZapisClick);
    Handlers::connect(SpdBtnIzhod, &QToolButton::clicked, this, &TFormRecepIzdelie::SpdBtnIzhodClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SpdBtnZapis);
    buttons->addWidget(SpdBtnIzhod);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(520, 150);
}

void TFormRecepIzdelie::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    FormShow();
}

void TFormRecepIzdelie::FormShow()
{
    dm_.SmpMateriali.open();
    DBLkpCmbMaterial->setFocus();
}

void TFormRecepIzdelie::SpdBtnZapisClick()
{
    SmpDataset& line = dm_.SmpRecep_izdN;
    if (!DBEdtKolichestvo->commit()) return;  // a refused text was told; the user corrects it
    const bool editing = line.state() == SmpDataset::State::Edit || line.state() == SmpDataset::State::Insert;
    const SmpField* qty = line.findField(QStringLiteral("KOLICHESTVO"));
    // A line without a material has no meaning, so it is refused like a missing quantity.
    if (!editing || !qty || qty->isNull() || qty->asFloat() <= 0 || line.fieldByName(QStringLiteral("NMATERIAL"))->isNull()) {
        UiService::current().showMessage(QStringLiteral("Липстват данни за въвеждане !"));
        return;
    }
    const QString material = line.value(QStringLiteral("ImeMaterial")).toString().left(65);
    try {
        line.setValue(QStringLiteral("NTIP_IZDELIE"), dm_.SmpTipIzdVIEW.value(QStringLiteral("NTIP_IZDELIE")));
        line.post();
        line.applyUpdates();
        line.refresh();
        dm_.SmpRecepIzdVIEW.refresh();
        dm_.SmpRecepIzdVIEW.locate(QStringLiteral("IMEMATERIAL"), {material});
        dm_.SmpTipIzdelie.close();
        dm_.SmpTipIzdelie.open();
        dm_.StoreRecipeValue();
    } catch (const DbError& e) {
        // The refused line stays pending as the user left it; a cancel drops it.
        UiService::current().reportError(e.message());
        return;
    }
    closeWith(1);
}

void TFormRecepIzdelie::cancelPending()
{
    SmpDataset& line = dm_.SmpRecep_izdN;
    if (line.isActive() && line.state() != SmpDataset::State::Browse) line.cancel();
    if (line.isActive() && line.changeCount() > 0) line.cancelUpdates();
}

void TFormRecepIzdelie::SpdBtnIzhodClick()
{
    cancelPending();
    closeWith(2);
}

void TFormRecepIzdelie::closeEvent(QCloseEvent* event)
{
    // Closed by any means, the editor leaves no half-made line behind.
    cancelPending();
    Form::closeEvent(event);
}
