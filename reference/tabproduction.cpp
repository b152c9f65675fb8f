#include "reference/tabproduction.h"

#include "common/gridexport.h"

#include "data/dmns.h"
#include "platform/db/dberror.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/fielddatalink.h"
#include "platform/widgets/dtsource.h"
#include "reference/formizdmatiso.h"
#include "reference/formrecepizdelie.h"
#include "reference/formtipizdelie.h"
#include "reports/reference/qrrecepta.h"
#include "platform/widgets/handlers.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

TabProduction::TabProduction(TDMNS& dm, QWidget* parent) : QWidget(parent), dm_(dm), lists_(*this, dm.SQLConnectNS)
{
    setObjectName(QStringLiteral("TabSheet4"));

    // Workshops.
    auto* cehBox = new QGroupBox(QStringLiteral("Производствени цехове "));
    cehBox->setObjectName(QStringLiteral("GrpBoxCeh"));
    DBGrdCeh = lists_.grid("DBGrdCeh", dm_.SmpTipProizvN, {}, true);
    DBGrdCeh->setColumns({{QStringLiteral("PROIZVODSTVO"), QStringLiteral("Име на цех за :"), 180},
                          {QStringLiteral("PSEVDONIM_CEH"), QStringLiteral("Псевдоним"), 70}});
    Handlers::connect(DBGrdCeh, &QAbstractItemView::doubleClicked, this, [this] { SpdBtnCehRedClick(); });
    auto* cehButtons = new QHBoxLayout;
    cehButtons->addWidget(Handlers::makeButton("SpdBtnCehNew", QStringLiteral("Нов цех"), this, &TabProduction::SpdBtnCehNewClick));
    cehButtons->addWidget(Handlers::makeButton("SpdBtnCehRed", QStringLiteral("Редакция"), this, &TabProduction::SpdBtnCehRedClick));
    cehButtons->addWidget(Handlers::makeButton("SpdBtnCehDel", QStringLiteral("Изтриване"), this, &TabProduction::SpdBtnCehDelClick));
    auto* cehLayout = new QVBoxLayout(cehBox);
    cehLayout->addWidget(DBGrdCeh, 1);
    cehLayout->addLayout(cehButtons);

    // The workshop's products, with a finder.
    auto* izdBox = new QGroupBox(QStringLiteral("Изделия, комплекти на цеха "));
    izdBox->setObjectName(QStringLiteral("GrpBoxIzdelia"));
    DataSource* DtSrcTipIzdVIEW = lists_.sourceFor(dm_.SmpTipIzdVIEW);
    Handlers::connect(DtSrcTipIzdVIEW, &DataSource::dataChange, this, &TabProduction::DtSrcTipIzdVIEWDataChange);
    DBLkpCmbIzdelie = new DBLookupComboBox;
    DBLkpCmbIzdelie->setObjectName(QStringLiteral("DBLkpCmbIzdelie"));
    DBLkpCmbIzdelie->setListSource(DtSrcTipIzdVIEW);  // a choice moves the product list to it
    DBLkpCmbIzdelie->setKeyField(QStringLiteral("NTIP_IZDELIE"));
    DBLkpCmbIzdelie->setListField(QStringLiteral("IMEMATIZD"));
    auto* finder = new QGridLayout;
    finder->addWidget(new QLabel(QStringLiteral("Цех за :")), 0, 0);
    finder->addWidget(lists_.text("DBTextCeh", dm_.SmpTipProizvN, "PROIZVODSTVO"), 0, 1);
    finder->addWidget(new QLabel(QStringLiteral("Изделие :")), 1, 0);
    finder->addWidget(DBLkpCmbIzdelie, 1, 1);
    finder->setColumnStretch(1, 1);
    DBGrdIzdelia = lists_.grid("DBGrdIzdelia", dm_.SmpTipIzdVIEW, {}, true);
    DBGrdIzdelia->setColumns({{QStringLiteral("IMEMATIZD"), QStringLiteral("Полуфабрикат, изделие, комплект . . ."), 330},
                              {QStringLiteral("ED_CENA"), QStringLiteral("Ц.калк."), 70}});
    auto* izdButtons = new QHBoxLayout;
    izdButtons->addWidget(Handlers::makeButton("SpdBtnIzdNew", QStringLiteral("Създаване"), this, &TabProduction::SpdBtnIzdNewClick));
    izdButtons->addWidget(Handlers::makeButton("SpdBtnIzdDel", QStringLiteral("Изтриване"), this, &TabProduction::SpdBtnIzdDelClick));
    izdButtons->addWidget(Handlers::makeButton("BitBtnMoveRec", QStringLiteral("М/у цехове"), this, &TabProduction::BitBtnMoveRecClick));
    izdButtons->addStretch(1);
    auto* izdLayout = new QVBoxLayout(izdBox);
    izdLayout->addLayout(finder);
    izdLayout->addWidget(DBGrdIzdelia, 1);
    izdLayout->addLayout(izdButtons);

    // The recipe of the current product, N times.
    GrpBoxRecepta = new QGroupBox(QStringLiteral("Рецепта за полуфабрикат, изделие, комплект ..... "));
    GrpBoxRecepta->setObjectName(QStringLiteral("GrpBoxRecepta"));
    auto* heading = new QHBoxLayout;
    heading->addWidget(new QLabel(QStringLiteral("Материали за изготвяне на :")));
    DBText* product = lists_.text("DBTextIzdelie", dm_.SmpTipIzdVIEW, "IMEMATIZD");
    heading->addWidget(product, 1);
    heading->addWidget(new QLabel(QStringLiteral("За брой :")));
    heading->addWidget(lists_.text("DBTextKolichBroi", dm_.SmpRecepIzdVIEW, "KolichBroi"));
    heading->addWidget(new QLabel(QStringLiteral("Сума - ")));
    DBText* sum = lists_.text("DBTextCenaObstoSum", dm_.SmpRecepIzdVIEW, "CenaObstoSum");
    sum->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    heading->addWidget(sum);

    SpnEdtBrIzdeliaN = new QSpinBox;
    SpnEdtBrIzdeliaN->setObjectName(QStringLiteral("SpnEdtBrIzdeliaN"));
    SpnEdtBrIzdeliaN->setRange(0, 1000000);
    SpnEdtBrIzdeliaN->setValue(1);
    Handlers::connect(SpnEdtBrIzdeliaN, &QSpinBox::valueChanged, this, &TabProduction::SpnEdtBrIzdeliaNChange);
    // The buttons stand beside the grid, so the tab keeps within the window's width.
    auto* recButtons = new QVBoxLayout;
    recButtons->addWidget(Handlers::makeButton("SpdBtnMatNew", QStringLiteral("Нов материал"), this, &TabProduction::SpdBtnMatNewClick));
    recButtons->addWidget(Handlers::makeButton("SpdBtnMatUpdate", QStringLiteral("Редакция"), this, &TabProduction::SpdBtnMatUpdateClick));
    recButtons->addWidget(Handlers::makeButton("SpdBtnMatDel", QStringLiteral("Изтриване"), this, &TabProduction::SpdBtnMatDelClick));
    recButtons->addWidget(
        Handlers::makeButton("SpdBtnReceptaExcel", QStringLiteral(" -> Excel"), this, &TabProduction::SpdBtnReceptaExcelClick));
    recButtons->addWidget(Handlers::makeButton("SpdBtnPrint", QStringLiteral("Калкулация"), this, &TabProduction::SpdBtnPrintClick));
    recButtons->addSpacing(6);
    recButtons->addWidget(new QLabel(QStringLiteral("Брой рецепти :")));
    recButtons->addWidget(SpnEdtBrIzdeliaN);
    recButtons->addWidget(Handlers::makeButton("BitBtnIso", QStringLiteral("Натрупване"), this, &TabProduction::BitBtnIsoClick));
    recButtons->addStretch(1);
    QToolButton* exit = lists_.exitButton("SpdBtnIzhodRecepta");
    recButtons->addWidget(exit);
    for (int i = 0; i < recButtons->count(); ++i)
        if (QWidget* w = recButtons->itemAt(i)->widget(); w && !qobject_cast<QLabel*>(w))
            w->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    DBGrdRecepta = lists_.grid("DBGrdRecepta", dm_.SmpRecepIzdVIEW, {}, true);
    DBGrdRecepta->setColumns({{QStringLiteral("IMEMATERIAL"), {}, 178},
                              {QStringLiteral("Mka"), {}, 38},
                              {QStringLiteral("Ed_CENA"), {}, 62},
                              {QStringLiteral("KOLICHESTVO"), {}, 66},
                              {QStringLiteral("KolichObsto"), {}, 80},
                              {QStringLiteral("CenaObsto"), {}, 78},
                              {QStringLiteral("IzchDaNe"), {}, 52},
                              {QStringLiteral("SumDaNe"), {}, 38}});
    Handlers::connect(DBGrdRecepta, &QAbstractItemView::doubleClicked, this, [this] { SpdBtnMatUpdateClick(); });
    auto* recLayout = new QVBoxLayout(GrpBoxRecepta);
    recLayout->addLayout(heading);
    auto* body = new QHBoxLayout;
    body->addWidget(DBGrdRecepta, 1);
    body->addLayout(recButtons);
    recLayout->addLayout(body, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(cehBox, 2);
    top->addWidget(izdBox, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top, 4);
    layout->addWidget(GrpBoxRecepta, 5);
}

// Another product: its recipe is read and N starts again at 1. The same product re-read (after a
// price was stored) keeps N and the recipe line shown.
void TabProduction::FormShow()
{
    for (SmpDataset* ds : {&dm_.SmpTipProizvN, &dm_.SmpTipIzdelieN, &dm_.SmpRecep_izdN, &dm_.SmpTipIzdVIEW}) ds->open();
}

void TabProduction::DtSrcTipIzdVIEWDataChange()
{
    SmpDataset& products = dm_.SmpTipIzdVIEW;
    SmpDataset& recipe = dm_.SmpRecepIzdVIEW;
    const QVariant key =
        products.isActive() && !products.isEmpty() ? products.value(QStringLiteral("NTIP_IZDELIE")) : QVariant();
    Handlers::run([&] {
        if (recipe.isActive() && key == shownProduct_ && key.isNull() == shownProduct_.isNull()) {
            recipe.refresh();
            return;
        }
        shownProduct_ = key;
        recipe.close();
        recipe.setParam(QStringLiteral("NTIP_IZDELIE"), key);
        if (SpnEdtBrIzdeliaN->value() != 1) {
            settingN_ = true;
            SpnEdtBrIzdeliaN->setValue(1);
            settingN_ = false;
        }
        dm_.BrIzdeliaN = 1;
        recipe.open();
    });
}

void TabProduction::SpnEdtBrIzdeliaNChange()
{
    dm_.BrIzdeliaN = SpnEdtBrIzdeliaN->value();
    if (settingN_) return;
    // The calculated values are worked out as the rows are read.
    Handlers::run([this] {
        for (SmpDataset* ds : {&dm_.SmpRecepIzdVIEW, &dm_.SmpRecep_izdN})
            if (ds->isActive()) ds->refresh();
    });
}

void TabProduction::SpdBtnCehNewClick() { ListControls::openEditor(FormTipProizv, dm_.SmpTipProizvN, true, {}); }

void TabProduction::SpdBtnCehRedClick()
{
    ListControls::openEditor(FormTipProizv, dm_.SmpTipProizvN, false, QStringLiteral("Няма въведено производство !"));
}

void TabProduction::SpdBtnCehDelClick()
{
    SmpDataset& ceh = dm_.SmpTipProizvN;
    if (!ceh.isActive() || ceh.isEmpty()) return;
    UiService& ui = UiService::current();
    if (dm_.SmpTipIzdVIEW.isActive() && !dm_.SmpTipIzdVIEW.isEmpty()) {
        ui.showMessage(QStringLiteral("Има изделия свързани с това производство - ИЗТРИВАНЕТО НЕВЪЗМОЖНО !"));
        return;
    }
    if (!ui.askYesNo(QStringLiteral(" Потвърдете изтриване на производствен цех  ? "))) return;
    ceh.remove();  // stored at once
}

void TabProduction::SpdBtnIzdNewClick()
{
    if (!FormTipIzdelie) return;
    FormTipIzdelie->open(TFormTipIzdelie::Mode::New);
}

void TabProduction::SpdBtnIzdDelClick()
{
    UiService& ui = UiService::current();
    if (dm_.SmpRecepIzdVIEW.isActive() && !dm_.SmpRecepIzdVIEW.isEmpty()) {
        ui.showMessage(QStringLiteral("Има рецепта свързана с това изделие - ИЗТРИВАНЕТО НЕВЪЗМОЖНО !"));
        return;
    }
    if (!ui.askYesNo(QStringLiteral(" Потвърдете изтриване на изделие  ? "))) return;
    SmpDataset& row = dm_.SmpTipIzdelieN;
    if (!row.isActive() || row.isEmpty()) {
        ui.showMessage(QStringLiteral("Няма изделие !"));
        return;
    }
    Handlers::run([&] {
        row.remove();
        row.applyUpdates();
        row.refresh();
        dm_.SmpTipIzdVIEW.refresh();
        dm_.SmpTipIzdVIEW.first();
    });
}

void TabProduction::BitBtnMoveRecClick()
{
    if (!FormTipIzdelie) return;
    // There must be a product to move: an empty row would otherwise become a new one.
    if (!dm_.SmpTipIzdelieN.isActive() || dm_.SmpTipIzdelieN.isEmpty()) {
        UiService::current().showMessage(QStringLiteral("Няма изделие !"));
        return;
    }
    if (!Handlers::run([this] {
            dm_.SmpTipProizv.close();
            dm_.SmpTipProizv.open();
        }))
        return;
    FormTipIzdelie->open(TFormTipIzdelie::Mode::Move);
}

void TabProduction::SpdBtnMatNewClick()
{
    if (!FormRecepIzdelie) return;
    if (!dm_.SmpTipIzdVIEW.isActive() || dm_.SmpTipIzdVIEW.isEmpty()) {
        UiService::current().showMessage(QStringLiteral("Не е въведено изделие !"));
        return;
    }
    if (!Handlers::run([this] { dm_.SmpRecep_izdN.append(); })) return;
    UiService::current().showModal(FormRecepIzdelie);
}

void TabProduction::SpdBtnMatUpdateClick()
{
    if (!FormRecepIzdelie) return;
    if (!dm_.SmpTipIzdVIEW.isActive() || dm_.SmpTipIzdVIEW.isEmpty()) {
        UiService::current().showMessage(QStringLiteral("Не е въведено изделие !"));
        return;
    }
    if (dm_.SmpRecep_izdN.isEmpty() && !Handlers::run([this] { dm_.SmpRecep_izdN.append(); })) return;
    UiService::current().showModal(FormRecepIzdelie);
}

void TabProduction::SpdBtnMatDelClick()
{
    UiService& ui = UiService::current();
    if (!dm_.SmpRecepIzdVIEW.isActive() || dm_.SmpRecepIzdVIEW.isEmpty() || dm_.SmpRecep_izdN.isEmpty()) {
        ui.showMessage(QStringLiteral("Липства въведен материал !"));
        return;
    }
    if (!ui.askYesNo(QStringLiteral(" Потвърдете изтриване на материал  ? "))) return;
    Handlers::run([this] {
        SmpDataset& line = dm_.SmpRecep_izdN;
        line.remove();
        line.applyUpdates();
        line.refresh();
        dm_.SmpRecepIzdVIEW.refresh();
        dm_.SmpTipIzdelie.close();
        dm_.SmpTipIzdelie.open();
        dm_.StoreRecipeValue();
    });
}

void TabProduction::SpdBtnPrintClick()
{
    if (QRRecepta) Handlers::run([this] { QRRecepta->Preview(); });
}

// Appends the current recipe, N times, to the accumulated list as one block: the product's title
// row, one row per material and an empty separator row.
void TabProduction::BitBtnIsoClick()
{
    if (!FormIzdMatISO) return;
    UiService::current().showModeless(FormIzdMatISO);
    Handlers::run([this] {
        SmpDataset& iso = dm_.SmpIzdMatISO;
        SmpDataset& recipe = dm_.SmpRecepIzdVIEW;
        iso.open();
        const int n = SpnEdtBrIzdeliaN->value();
        const QString product = dm_.SmpTipIzdVIEW.isActive() && !dm_.SmpTipIzdVIEW.isEmpty()
                                    ? dm_.SmpTipIzdVIEW.value(QStringLiteral("IMEMATIZD")).toString()
                                    : QString();
        iso.append();
        iso.setValue(QStringLiteral("IMEMATERIAL"), (product + QStringLiteral(" - ") + QString::number(n) +
                                                     QStringLiteral(" бр.")).left(45));
        iso.post();
        if (recipe.isActive()) {
            const auto field = [&recipe](const char* name) { return recipe.fieldByName(QString::fromLatin1(name)); };
            const SmpField *material = field("NMATERIAL"), *name = field("IMEMATERIAL"), *unit = field("Mka"),
                           *qty = field("KOLICHESTVO");
            for (int i = 0; i < recipe.recordCount(); ++i) {
                iso.append();
                iso.setValue(QStringLiteral("NMATERIAL"), recipe.valueAt(i, material));
                iso.setValue(QStringLiteral("IMEMATERIAL"), recipe.valueAt(i, name));
                iso.setValue(QStringLiteral("MIARKA_BG"), recipe.valueAt(i, unit));
                iso.setValue(QStringLiteral("KOLICHESTVO"), recipe.valueAt(i, qty));
                iso.setValue(QStringLiteral("KOLICHOBSTO"), n * recipe.valueAt(i, qty).toDouble());
                iso.post();
            }
        }
        iso.append();
        iso.post();
    });
}

void TabProduction::SpdBtnReceptaExcelClick()
{
    SpreadsheetExport how;
    how.parentWindow = window();
    ExportDatasetToSpreadsheet(dm_.SmpRecepIzdVIEW, how);
}
