#include "platform/base/formats.h"
#include "data/dmns.h"
#include "platform/ui/application.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "reference/formizdmatiso.h"
#include "reference/formnomenklaturi.h"
#include "reference/tabproduction.h"
#include "reference/formrecepizdelie.h"
#include "reference/formtipizdelie.h"
#include "platform/widgets/radiogroup.h"
#include "recipedata.h"
#include "reference/formtipproizv.h"
#include "reports/reference/qrrecepta.h"
#include "support/referencefixture.h"
#include "support/typing.h"

#include <QGroupBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QStandardPaths>
#include <QDir>
#include <QAbstractButton>
#include <QTest>
#include <QToolButton>

#include <algorithm>

using RecipeData::Line;

// The production tab of the reference data window with its product and recipe line editors,
// driven through their controls over a real database.
class TstRecipes : public QObject, protected ReferenceFixture
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void recipeShowsNTimes_data();
    void recipeShowsNTimes();
    void newLineByEnterKeyStoresTheUnitValue();
    void newProduct_data();
    void newProduct();
    void productOfAWorkshopIsRefused_data();
    void productOfAWorkshopIsRefused();
    void failedCopyStoresNoProduct();
    void deletingLinesDownToEmpty();
    void moveToAnotherWorkshop_data();
    void moveToAnotherWorkshop();
    void accumulateTwiceListsTheBlockTwice();
    void refusals();
    void newWorkshop();
    void finderMovesToAnotherProductAndResetsN();
    void firstLineOfAnEmptyRecipe();
    void recipeAndAccumulationToSpreadsheet();

private:
    QVariant scalar(const QString& sql, const SqlParams& params = {})
    {
        const DbResult r = dm().SQLConnectNS.query(sql, params);
        return r.rows.empty() ? QVariant() : r.rows.front()[0];
    }
    QVariant storedPrice(int material)
    {
        return scalar(QStringLiteral("select ED_CENA from MATERIALI where NMATERIAL = :M"), {{QStringLiteral("M"), material}});
    }
    // The recipe rows of a product link as (material, quantity), by material.
    QList<QPair<int, double>> storedRecipe(int product)
    {
        QList<QPair<int, double>> out;
        const DbResult r = dm().SQLConnectNS.query(
            QStringLiteral("select NMATERIAL, KOLICHESTVO from IZDELIE_RECEPTA where NTIP_IZDELIE = :T order by NMATERIAL"),
            {{QStringLiteral("T"), product}});
        for (const DbRow& row : r.rows) out << qMakePair(row[0].toInt(), row[1].toDouble());
        return out;
    }
    void toWorkshop(int key) { QVERIFY(dm().SmpTipProizvN.locate(QStringLiteral("NPROIZVODSTVO"), {key})); }
    void click(const char* name)
    {
        auto* b = form()->findChild<QToolButton*>(QString::fromLatin1(name));
        QVERIFY2(b, name);
        b->click();
    }
    static void typeInto(DBEdit* e, const QString& text)
    {
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        typeText(e, text);
    }
    QString gridText(DBGrid* grid, int row, const QString& field)
    {
        return grid->model()->index(row, grid->columnOfField(field)).data().toString();
    }

    // The production tab's windows and layout.
    TFormTipIzdelie* formTipIzdelie_ = nullptr;
    TFormRecepIzdelie* formRecepIzdelie_ = nullptr;
    TFormIzdMatISO* formIzdMatISO_ = nullptr;
};

void TstRecipes::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);  // exports go to a test documents folder
    qputenv("TZ", "Europe/Sofia");
}

void TstRecipes::init()
{
    start();
    RecipeData::seed(dm().SQLConnectNS);
    TabProduction* tab = form()->TabSheet4;
    tab->FormTipProizv = own<TFormTipProizv>();
    tab->FormTipIzdelie = formTipIzdelie_ = own<TFormTipIzdelie>();
    tab->FormRecepIzdelie = formRecepIzdelie_ = own<TFormRecepIzdelie>();
    tab->FormIzdMatISO = formIzdMatISO_ = own<TFormIzdMatISO>();
    tab->QRRecepta = own<TQRRecepta>();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    form()->show();
    form()->PageControl1->setCurrentWidget(form()->TabSheet4);
    QVERIFY(QTest::qWaitForWindowExposed(form()));
    QCOMPARE(form()->PageControl1->tabText(form()->PageControl1->indexOf(form()->TabSheet4)),
             QStringLiteral("Производства, изделия/комплекти/, рецепти "));
    toWorkshop(1);
}

void TstRecipes::cleanup() { stop(); }

void TstRecipes::recipeShowsNTimes_data()
{
    QTest::addColumn<int>("n");
    QTest::newRow("one recipe") << 1;
    QTest::newRow("three recipes") << 3;
    QTest::newRow("none") << 0;
}

// N multiplies what the grid and "Сума - " show; a saved line stores the value of one unit.
void TstRecipes::recipeShowsNTimes()
{
    QFETCH(int, n);
    SmpDataset& products = dm().SmpTipIzdVIEW;
    QCOMPARE(products.recordCount(), 1);  // only the workshop's own product
    QCOMPARE(products.value(QStringLiteral("NMATERIAL_IZDELIE")).toInt(), 201);
    form()->TabSheet4->SpnEdtBrIzdeliaN->setValue(n);

    SmpDataset& recipe = dm().SmpRecepIzdVIEW;
    QCOMPARE(recipe.recordCount(), 3);
    for (int row = 0; row < recipe.recordCount(); ++row) {
        const int material = recipe.valueAt(row, recipe.fieldByName(QStringLiteral("NMATERIAL"))).toInt();
        const auto line = std::find_if(RecipeData::lines().cbegin(), RecipeData::lines().cend(),
                                       [&](const Line& l) { return l.product == 1 && l.material == material; });
        QVERIFY(line != RecipeData::lines().cend());
        QCOMPARE(gridText(form()->TabSheet4->DBGrdRecepta, row, QStringLiteral("KOLICHESTVO")),
                 Formats::formatNumber(line->qty, QStringLiteral("# ##0.0000")));
        QCOMPARE(gridText(form()->TabSheet4->DBGrdRecepta, row, QStringLiteral("KolichObsto")),
                 Formats::formatNumber(n * line->qty, QStringLiteral("# ### ##0.000")));
        QCOMPARE(gridText(form()->TabSheet4->DBGrdRecepta, row, QStringLiteral("CenaObsto")),
                 Formats::formatNumber(n * RecipeData::price(material) * line->qty, QStringLiteral("# ### ##0.000")));
    }
    auto* sum = form()->findChild<DBText*>(QStringLiteral("DBTextCenaObstoSum"));
    QCOMPARE(sum->text(), Formats::formatNumber(n * RecipeData::unitValue(1), QStringLiteral("# ### ##0.00")));
    QCOMPARE(form()->findChild<DBText*>(QStringLiteral("DBTextKolichBroi"))->text(), QString::number(n));

    // Change the glue's quantity through the line editor.
    QVERIFY(recipe.locate(QStringLiteral("NMATERIAL"), {102}));
    ui_->onModal = [](Form* f) {
        auto* ed = qobject_cast<TFormRecepIzdelie*>(f);
        if (!ed) return -1;
        typeInto(ed->DBEdtKolichestvo, QStringLiteral("0.5"));
        ed->SpdBtnZapis->click();
        return ed->modalResult();
    };
    click("SpdBtnMatUpdate");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList{QStringLiteral("FormRecepIzdelie")});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QVERIFY(!formRecepIzdelie_->isVisible());
    const double unit = RecipeData::unitValue(1) + (0.5 - 0.3) * RecipeData::price(102);
    QVERIFY(qAbs(storedPrice(201).toDouble() - unit) < 1e-9);  // one unit, whatever N shows
    // The same product keeps its N; the list shows the new price and the recipe the new quantity.
    QCOMPARE(form()->TabSheet4->SpnEdtBrIzdeliaN->value(), n);
    QCOMPARE(gridText(form()->TabSheet4->DBGrdIzdelia, 0, QStringLiteral("ED_CENA")), Formats::formatNumber(unit, QStringLiteral("# ##0.00")));
    QCOMPARE(recipe.value(QStringLiteral("NMATERIAL")).toInt(), 102);
    QCOMPARE(sum->text(), Formats::formatNumber(n * unit, QStringLiteral("# ### ##0.00")));
}

void TstRecipes::newLineByEnterKeyStoresTheUnitValue()
{
    form()->TabSheet4->SpnEdtBrIzdeliaN->setValue(4);
    QString title;
    ui_->onModal = [&title](Form* f) {
        auto* ed = qobject_cast<TFormRecepIzdelie*>(f);
        if (!ed) return -1;
        title = ed->windowTitle();
        ed->DBLkpCmbMaterial->setKeyValue(104);
        typeInto(ed->DBEdtKolichestvo, QStringLiteral("0.2"));
        QTest::keyClick(ed->DBEdtKolichestvo, Qt::Key_Return);
        return ed->modalResult();
    };
    click("SpdBtnMatNew");
    QCOMPARE(title, QStringLiteral("Материал за изготвяне на изделие - ново /корекция/ !"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QCOMPARE(storedRecipe(1).size(), 4);
    QVERIFY(storedRecipe(1).contains(qMakePair(104, 0.2)));
    const double unit = RecipeData::unitValue(1) + 0.2 * RecipeData::price(104);
    QVERIFY(qAbs(storedPrice(201).toDouble() - unit) < 1e-9);
    // The recipe list stands on the new material.
    QCOMPARE(dm().SmpRecepIzdVIEW.value(QStringLiteral("NMATERIAL")).toInt(), 104);
    QCOMPARE(dm().SmpRecep_izdN.value(QStringLiteral("NMATERIAL")).toInt(), 104);
}

void TstRecipes::newProduct_data()
{
    QTest::addColumn<int>("workshop");
    QTest::addColumn<int>("choice");   // 0 empty recipe, 1 copy
    QTest::addColumn<int>("source");   // the product link whose recipe is copied
    QTest::newRow("empty recipe, empty workshop") << 3 << 0 << 0;
    QTest::newRow("copy of a three-line recipe") << 3 << 1 << 1;
    QTest::newRow("copy of an empty recipe") << 1 << 1 << 2;
}

void TstRecipes::newProduct()
{
    QFETCH(int, workshop);
    QFETCH(int, choice);
    QFETCH(int, source);
    toWorkshop(workshop);
    QString title;
    bool copyGridsShown = false;
    ui_->onModal = [&](Form* f) {
        auto* ed = qobject_cast<TFormTipIzdelie*>(f);
        if (!ed) return -1;
        title = ed->windowTitle();
        ed->DBLkpCmbIzdelie->setKeyValue(203);
        ed->RdGrpRecepta->click(choice);
        copyGridsShown = ed->GrpBoxDubl->isVisible();
        if (choice == 1 && !dm().SmpViewIzd.locate(QStringLiteral("NTIP_IZDELIE"), {source})) return -2;
        ed->SpdBtnZapIzd->click();
        return ed->modalResult();
    };
    click("SpdBtnIzdNew");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
    QCOMPARE(title, QStringLiteral("Избор на ново изделие, комплект ... за производство!"));
    QCOMPARE(copyGridsShown, choice == 1);
    QVERIFY(!formTipIzdelie_->isVisible());

    const DbResult made = dm().SQLConnectNS.query(
        QStringLiteral("select NTIP_IZDELIE, NPROIZVODSTVO from TIP_IZDELIE where NMATERIAL_IZDELIE = 203"));
    QCOMPARE(int(made.rows.size()), 1);
    QCOMPARE(made.rows.front()[1].toInt(), workshop);
    const int product = made.rows.front()[0].toInt();
    using Recipe = QList<QPair<int, double>>;
    QCOMPARE(storedRecipe(product), choice == 1 ? storedRecipe(source) : Recipe());
    // The lists stand on the new product and show its recipe; its price is left as it was.
    QCOMPARE(dm().SmpTipIzdVIEW.value(QStringLiteral("NMATERIAL_IZDELIE")).toInt(), 203);
    QCOMPARE(dm().SmpTipIzdelieN.value(QStringLiteral("NTIP_IZDELIE")).toInt(), product);
    QCOMPARE(dm().SmpRecepIzdVIEW.recordCount(), int(storedRecipe(product).size()));
    QCOMPARE(storedPrice(203).toDouble(), 0.0);
}

void TstRecipes::productOfAWorkshopIsRefused_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("workshopName");
    QTest::newRow("made by another workshop") << 202 << QStringLiteral("Тапицерски цех");
    QTest::newRow("made by this workshop") << 201 << QStringLiteral("Дърводелски цех");
}

void TstRecipes::productOfAWorkshopIsRefused()
{
    QFETCH(int, item);
    QFETCH(QString, workshopName);
    bool stayedOpen = false;
    ui_->onModal = [&](Form* f) {
        auto* ed = qobject_cast<TFormTipIzdelie*>(f);
        if (!ed) return -1;
        ed->DBLkpCmbIzdelie->setKeyValue(item);
        ed->SpdBtnZapIzd->click();
        stayedOpen = ed->isVisible();
        ed->SpdBtnIzhod->click();
        return ed->modalResult();
    };
    click("SpdBtnIzdNew");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             QStringList{QStringLiteral("Съществува изделие с това име в ") + workshopName.toUpper() + QChar(13) +
                         QString(39, QChar(' ')) + QStringLiteral("ЗАПИСА НЕВЪЗМОЖЕН !")});
    QVERIFY(stayedOpen);
    QCOMPARE(scalar(QStringLiteral("select count(*) from TIP_IZDELIE")).toInt(), 2);
}

// A recipe line the server refuses half-way through a copy leaves neither the product nor any line.
void TstRecipes::failedCopyStoresNoProduct()
{
    dm().SQLConnectNS.executeImmediate(QStringLiteral("create exception E_TEST_RECEPTA 'Материалът е спрян'"));
    dm().SQLConnectNS.executeImmediate(QStringLiteral(
        "create trigger T_TEST_RECEPTA for IZDELIE_RECEPTA before insert as begin "
        "if (new.NMATERIAL = 102 and new.NTIP_IZDELIE > 2) then exception E_TEST_RECEPTA; end"));
    // The copy walks the lines by name: Винт, Дъска, Лепило - the last one is refused.
    toWorkshop(3);
    bool stayedOpen = false;
    ui_->onModal = [&](Form* f) {
        auto* ed = qobject_cast<TFormTipIzdelie*>(f);
        if (!ed) return -1;
        ed->DBLkpCmbIzdelie->setKeyValue(203);
        ed->RdGrpRecepta->click(1);
        dm().SmpViewIzd.locate(QStringLiteral("NTIP_IZDELIE"), {1});
        ed->SpdBtnZapIzd->click();
        stayedOpen = ed->isVisible();
        ed->SpdBtnIzhod->click();
        return 0;
    };
    click("SpdBtnIzdNew");
    const QStringList errors = ui_->texts(RecordingUi::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.front().contains(QStringLiteral("Материалът е спрян")), qPrintable(errors.front()));
    QVERIFY(stayedOpen);
    QCOMPARE(scalar(QStringLiteral("select count(*) from TIP_IZDELIE where NMATERIAL_IZDELIE = 203")).toInt(), 0);
    QCOMPARE(scalar(QStringLiteral("select count(*) from IZDELIE_RECEPTA where NTIP_IZDELIE > 2")).toInt(), 0);
    QVERIFY(dm().SmpTipIzdVIEW.isEmpty());  // the empty workshop shows no product
}

// Each deleted line stores the value of one unit of what is left; the last leaves the price empty.
// Only then may the product go.
void TstRecipes::deletingLinesDownToEmpty()
{
    form()->TabSheet4->SpnEdtBrIzdeliaN->setValue(3);
    ui_->answers = {true};
    click("SpdBtnIzdDel");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             QStringList{QStringLiteral("Има рецепта свързана с това изделие - ИЗТРИВАНЕТО НЕВЪЗМОЖНО !")});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList());
    ui_->clear();

    ui_->answers = {false};
    click("SpdBtnMatDel");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList{QStringLiteral(" Потвърдете изтриване на материал  ? ")});
    QCOMPARE(storedRecipe(1).size(), 3);  // No stores nothing

    QList<Line> left;
    for (const Line& l : RecipeData::lines())
        if (l.product == 1) left << l;
    while (!left.isEmpty()) {
        const int material = dm().SmpRecepIzdVIEW.value(QStringLiteral("NMATERIAL")).toInt();
        ui_->answers = {true};
        click("SpdBtnMatDel");
        QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
        left.erase(std::remove_if(left.begin(), left.end(), [&](const Line& l) { return l.material == material; }),
                   left.end());
        QCOMPARE(storedRecipe(1).size(), left.size());
        QCOMPARE(dm().SmpRecepIzdVIEW.recordCount(), int(left.size()));
        double unit = 0;
        for (const Line& l : std::as_const(left)) unit += RecipeData::price(l.material) * l.qty;
        const QVariant price = storedPrice(201);
        if (left.isEmpty()) QVERIFY2(price.isNull(), qPrintable(price.toString()));
        else QVERIFY(qAbs(price.toDouble() - unit) < 1e-9);
    }
    QCOMPARE(form()->findChild<DBText*>(QStringLiteral("DBTextCenaObstoSum"))->text(), QString());
    ui_->clear();
    click("SpdBtnMatDel");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{QStringLiteral("Липства въведен материал !")});

    ui_->clear();
    ui_->answers = {true};
    click("SpdBtnIzdDel");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList{QStringLiteral(" Потвърдете изтриване на изделие  ? ")});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QCOMPARE(scalar(QStringLiteral("select count(*) from TIP_IZDELIE where NTIP_IZDELIE = 1")).toInt(), 0);
    QVERIFY(dm().SmpTipIzdVIEW.isEmpty());
}

void TstRecipes::moveToAnotherWorkshop_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("confirmed") << true;
    QTest::newRow("refused") << false;
}

void TstRecipes::moveToAnotherWorkshop()
{
    QFETCH(bool, confirm);
    QString title, shownWorkshop;
    ui_->answers = {confirm};
    ui_->onModal = [&](Form* f) {
        auto* ed = qobject_cast<TFormTipIzdelie*>(f);
        if (!ed) return -1;
        title = ed->windowTitle();
        shownWorkshop = ed->DBLkpCmbProizv->currentText();
        ed->DBLkpCmbProizv->setKeyValue(2);
        ed->BitBtnZapSklOb->click();
        if (ed->isVisible()) ed->SpdBtnIzhod->click();
        return ed->modalResult();
    };
    click("BitBtnMoveRec");
    QCOMPARE(title, QStringLiteral("Прехвърляне на рецепта от едно производство в друго !"));
    QCOMPARE(shownWorkshop, QStringLiteral("Дърводелски цех"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question),
             QStringList{QStringLiteral(" Потвърдете прехвърляне на рецепта в друг цех ! ")});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QCOMPARE(scalar(QStringLiteral("select NPROIZVODSTVO from TIP_IZDELIE where NTIP_IZDELIE = 1")).toInt(), confirm ? 2 : 1);
    QCOMPARE(dm().SmpTipIzdVIEW.recordCount(), confirm ? 0 : 1);
    QCOMPARE(dm().SmpTipIzdelieN.state(), SmpDataset::State::Browse);
    toWorkshop(2);
    QCOMPARE(dm().SmpTipIzdVIEW.recordCount(), confirm ? 2 : 1);
    QCOMPARE(storedRecipe(1).size(), 3);  // the recipe follows its product
}

void TstRecipes::accumulateTwiceListsTheBlockTwice()
{
    form()->TabSheet4->SpnEdtBrIzdeliaN->setValue(2);
    click("BitBtnIso");
    click("BitBtnIso");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modeless),
             QStringList({QStringLiteral("FormIzdMatISO"), QStringLiteral("FormIzdMatISO")}));
    QCOMPARE(formIzdMatISO_->windowTitle(), QStringLiteral("Изделия и необходимите материали за изработването им !"));
    SmpDataset& iso = dm().SmpIzdMatISO;
    SmpDataset& recipe = dm().SmpRecepIzdVIEW;
    const int block = recipe.recordCount() + 2;
    QCOMPARE(iso.recordCount(), 2 * block);
    const auto at = [&iso](int row, const char* field) { return iso.valueAt(row, iso.fieldByName(QString::fromLatin1(field))); };
    for (int b = 0; b < 2; ++b) {
        const int start = b * block;
        QCOMPARE(at(start, "IMEMATERIAL").toString(), QStringLiteral("Маса трапезна, бук - 2 бр."));
        for (int i = 0; i < recipe.recordCount(); ++i) {
            const auto rv = [&](const char* f) { return recipe.valueAt(i, recipe.fieldByName(QString::fromLatin1(f))); };
            QCOMPARE(at(start + 1 + i, "NMATERIAL"), rv("NMATERIAL"));
            QCOMPARE(at(start + 1 + i, "MIARKA_BG").toString(), rv("Mka").toString());
            QCOMPARE(at(start + 1 + i, "KOLICHESTVO").toDouble(), rv("KOLICHESTVO").toDouble());
            QCOMPARE(at(start + 1 + i, "KOLICHOBSTO").toDouble(), 2 * rv("KOLICHESTVO").toDouble());
        }
        QVERIFY(at(start + block - 1, "IMEMATERIAL").isNull());  // the separator
    }
    QCOMPARE(at(1, "MIARKA_BG").toString(), QStringLiteral("бр."));  // Винт, counted in pieces
    QCOMPARE(scalar(QStringLiteral("select count(*) from IZDMATISO")).toInt(), 0);
    formIzdMatISO_->BitBtnDel->click();
    QCOMPARE(iso.recordCount(), 0);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstRecipes::refusals()
{
    // A recipe line without a quantity is refused and the editor stays; "Изход" drops the line.
    bool stayedOpen = false;
    ui_->onModal = [&](Form* f) {
        auto* ed = qobject_cast<TFormRecepIzdelie*>(f);
        if (!ed) return -1;
        ed->DBLkpCmbMaterial->setKeyValue(104);
        ed->SpdBtnZapis->click();
        stayedOpen = ed->isVisible();
        ed->SpdBtnIzhod->click();
        return ed->modalResult();
    };
    click("SpdBtnMatNew");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{QStringLiteral("Липстват данни за въвеждане !")});
    QVERIFY(stayedOpen);
    QCOMPARE(dm().SmpRecep_izdN.state(), SmpDataset::State::Browse);
    QCOMPARE(dm().SmpRecep_izdN.changeCount(), 0);
    QCOMPARE(storedRecipe(1).size(), 3);

    // A workshop with products cannot go.
    ui_->clear();
    click("SpdBtnCehDel");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             QStringList{QStringLiteral("Има изделия свързани с това производство - ИЗТРИВАНЕТО НЕВЪЗМОЖНО !")});

    // A workshop without products has no recipe to edit, and may be deleted.
    toWorkshop(3);
    for (const char* button : {"SpdBtnMatNew", "SpdBtnMatUpdate"}) {
        ui_->clear();
        click(button);
        QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{QStringLiteral("Не е въведено изделие !")});
        QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList());
    }
    ui_->clear();
    click("BitBtnMoveRec");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{QStringLiteral("Няма изделие !")});
    ui_->clear();
    ui_->answers = {true};
    click("SpdBtnCehDel");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question),
             QStringList{QStringLiteral(" Потвърдете изтриване на производствен цех  ? ")});
    QCOMPARE(scalar(QStringLiteral("select count(*) from TIP_PROIZVODSTVO where NPROIZVODSTVO = 3")).toInt(), 0);

    // A product editor "Запис" without a chosen item stores nothing.
    ui_->clear();
    ui_->onModal = [](Form* f) {
        auto* ed = qobject_cast<TFormTipIzdelie*>(f);
        if (!ed) return -1;
        ed->DBLkpCmbIzdelie->setKeyValue(QVariant());
        ed->SpdBtnZapIzd->click();
        ed->SpdBtnIzhod->click();
        return 0;
    };
    click("SpdBtnIzdNew");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{QStringLiteral("Липстват данни за въвеждане !")});
    QCOMPARE(scalar(QStringLiteral("select count(*) from TIP_IZDELIE")).toInt(), 2);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

// "Нов цех" appends a workshop row and its editor stores it; the new workshop has no products.
void TstRecipes::newWorkshop()
{
    QString title;
    ui_->onModal = [&title](Form* f) {
        title = f->windowTitle();
        auto* name = f->findChild<DBEdit*>(QStringLiteral("DBEdtProizvodstvo"));
        auto* alias = f->findChild<DBEdit*>(QStringLiteral("DBEdtPsevdonim"));
        if (!name || !alias) return -1;
        typeInto(name, QStringLiteral("Шивашки цех"));
        typeInto(alias, QStringLiteral("ШЦ"));
        QTest::keyClick(alias, Qt::Key_Return);
        return 1;
    };
    click("SpdBtnCehNew");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList{QStringLiteral("FormTipProizv")});
    QCOMPARE(title, QStringLiteral("Производствен цех - нов / редакция / !"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QCOMPARE(scalar(QStringLiteral("select count(*) from TIP_PROIZVODSTVO where PROIZVODSTVO = :N and PSEVDONIM_CEH = :P"),
                    {{QStringLiteral("N"), QStringLiteral("Шивашки цех")}, {QStringLiteral("P"), QStringLiteral("ШЦ")}})
                 .toInt(),
             1);
    QVERIFY(dm().SmpTipProizvN.locate(QStringLiteral("PROIZVODSTVO"), {QStringLiteral("Шивашки цех")}));
    QVERIFY(dm().SmpTipIzdVIEW.isEmpty());
}

// Choosing a product in the finder moves the list to it; another product reads its own recipe with N = 1.
void TstRecipes::finderMovesToAnotherProductAndResetsN()
{
    dm().SQLConnectNS.execute(QStringLiteral("insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (3, 1, 203)"));
    dm().SQLConnectNS.execute(QStringLiteral("insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (3, 104, 0.5)"));
    dm().SmpTipIzdVIEW.refresh();
    QCOMPARE(dm().SmpTipIzdVIEW.recordCount(), 2);
    form()->TabSheet4->SpnEdtBrIzdeliaN->setValue(5);
    QCOMPARE(dm().SmpRecepIzdVIEW.recordCount(), 3);
    DBLookupComboBox* finder = form()->TabSheet4->DBLkpCmbIzdelie;
    const int position = finder->findText(QStringLiteral("Табуретка"));
    QVERIFY(position >= 0);
    emit finder->activated(position);
    QCOMPARE(dm().SmpTipIzdVIEW.value(QStringLiteral("NMATERIAL_IZDELIE")).toInt(), 203);
    QCOMPARE(form()->TabSheet4->SpnEdtBrIzdeliaN->value(), 1);
    QCOMPARE(dm().SmpRecepIzdVIEW.recordCount(), 1);
    QCOMPARE(gridText(form()->TabSheet4->DBGrdRecepta, 0, QStringLiteral("KolichObsto")),
             Formats::formatNumber(0.5, QStringLiteral("# ### ##0.000")));
    QCOMPARE(dm().SmpTipIzdelieN.value(QStringLiteral("NTIP_IZDELIE")).toInt(), 3);
    QCOMPARE(dm().SmpRecep_izdN.value(QStringLiteral("NMATERIAL")).toInt(), 104);
}

// The first line of a product without a recipe becomes the current line, so it can be deleted again.
void TstRecipes::firstLineOfAnEmptyRecipe()
{
    toWorkshop(2);
    QVERIFY(dm().SmpRecepIzdVIEW.isEmpty());
    ui_->onModal = [](Form* f) {
        auto* ed = qobject_cast<TFormRecepIzdelie*>(f);
        if (!ed) return -1;
        ed->DBLkpCmbMaterial->setKeyValue(104);
        typeInto(ed->DBEdtKolichestvo, QStringLiteral("2"));
        ed->SpdBtnZapis->click();
        return ed->modalResult();
    };
    click("SpdBtnMatNew");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QCOMPARE(storedRecipe(2), (QList<QPair<int, double>>{{104, 2.0}}));
    QVERIFY(qAbs(storedPrice(202).toDouble() - 2 * RecipeData::price(104)) < 1e-9);
    QCOMPARE(dm().SmpRecepIzdVIEW.recordCount(), 1);
    QCOMPARE(dm().SmpRecep_izdN.value(QStringLiteral("NMATERIAL")).toInt(), 104);
    ui_->answers = {true};
    click("SpdBtnMatDel");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
    QCOMPARE(storedRecipe(2), (QList<QPair<int, double>>()));
    QVERIFY(storedPrice(202).isNull());
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TstRecipes t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_recipes.moc"

void TstRecipes::recipeAndAccumulationToSpreadsheet()
{
    QDir docs(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const auto workbooks = [&] { return docs.entryList({QStringLiteral("*.xlsx")}, QDir::Files).size(); };
    const int before = workbooks();
    QVERIFY(dm().SmpRecepIzdVIEW.recordCount() > 0);
    click("SpdBtnReceptaExcel");
    QCOMPARE(workbooks(), before + 1);
    click("BitBtnIso");
    formIzdMatISO_->findChild<QAbstractButton*>(QStringLiteral("BitBtnExcel"))->click();
    QCOMPARE(workbooks(), before + 2);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}
