#include "app/formns.h"
#include "app/instances.h"
#include "data/dmns.h"
#include "platform/ui/application.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "reference/formkontragent.h"
#include "reference/formnomenklaturi.h"
#include "reference/tabcounterparties.h"
#include "reference/formspecceni.h"
#include "platform/widgets/radiogroup.h"
#include "support/recordingui.h"
#include "support/appfixture.h"
#include "support/testdb.h"
#include "support/typing.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

// Counterparties on the reference data window: the editor, the type choice, the main person and
// branch, the list keys that move the special prices along, and the special-price editor.
class TstReferenceKontragenti : public QObject, protected AppFixture
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void newCounterpartyIsStoredAndListedByChoice_data();
    void newCounterpartyIsStoredAndListedByChoice();
    void refusedSaveKeepsTheEditorAndInput_data();
    void refusedSaveKeepsTheEditorAndInput();
    void exitDiscardsTheChange();
    void allTypesMeansOneToHundred();
    void mainPersonAndBranch_data();
    void mainPersonAndBranch();
    void onlyPagingAndArrowKeysFollowTheList_data();
    void onlyPagingAndArrowKeysFollowTheList();
    void openedOnACounterparty();
    void choiceListsOfOtherWindows();
    void specialPriceOnePerItem();
    void specialPriceRefusals();
    void specialPriceChangeAndDelete();

private:
    void click(QWidget* root, const QString& button) { clickButton(root, button); }
    static void typeInto(QWidget* root, const char* name, const QString& text)
    {
        auto* e = root->findChild<QLineEdit*>(QString::fromLatin1(name));
        QVERIFY(e);
        e->setFocus();
        e->selectAll();
        typeText(e, text);
    }
    void addKontragent(int key, int type, const QString& name)
    {
        db().execute(QStringLiteral("insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (:K, :T, :N)"),
                     {{QStringLiteral("K"), key}, {QStringLiteral("T"), type}, {QStringLiteral("N"), name}});
    }

};

void TstReferenceKontragenti::init()
{
    start();
    db().execute(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"));
    db().execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA) "
                                "values (500, 'Лак', 1, 1, 12.5)"));
    db().execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA) "
                                "values (501, 'Боя', 1, 1, 3)"));
    addKontragent(60, 1, QStringLiteral("\"Фирма\" ООД O'Brien"));
    addKontragent(61, 2, QStringLiteral("Доставчик"));
    dm().RefreshKontragenti(1, 100, 0);
    form()->show();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstReferenceKontragenti::cleanup() { stop(); }

void TstReferenceKontragenti::newCounterpartyIsStoredAndListedByChoice_data()
{
    QTest::addColumn<int>("choice");     // 0 all, 1 one type
    QTest::addColumn<QString>("chosen"); // the type picked in the window's lookup
    QTest::addColumn<bool>("listed");
    QTest::newRow("all types") << 0 << "" << true;
    QTest::newRow("its own type") << 1 << "Клиенти" << true;
    QTest::newRow("another type") << 1 << "Доставчици" << false;
}

void TstReferenceKontragenti::newCounterpartyIsStoredAndListedByChoice()
{
    QFETCH(int, choice);
    QFETCH(QString, chosen);
    QFETCH(bool, listed);
    form()->TabSheet2->RdGrpIzbKontragent->click(choice);
    if (!chosen.isEmpty()) chooseInList(form()->TabSheet2->DBLkpCmBoxTipKontragert, chosen);
    QCOMPARE(form()->TabSheet2->DBGrid6->isColumnVisible(QStringLiteral("KONTRAGENT")), choice == 0);
    const QString name = QStringLiteral("Нов O'Neil");
    ui_->onModal = [&](Form* f) {
        auto* editor = qobject_cast<TFormKontragent*>(f);
        if (!editor) return 0;
        chooseInList(editor->DBLookupComboBox1, QStringLiteral("Клиенти"));
        typeInto(editor, "DBEdtImeKontragent", name);
        QTest::mouseClick(editor->SpdBtnZapisKontragent, Qt::LeftButton);
        return 0;
    };
    click(form(), QStringLiteral("SpdBtnNewKontrag"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
    QVERIFY(!app_->FormKontragent->isVisible());
    const DbResult stored = db().query(QStringLiteral("select NKONTRAGENT, NTIP_KONTRAGENT from KONTRAGENTI where IMEKONTRAGENT = :N"),
                                       {{QStringLiteral("N"), name}});
    QCOMPARE(int(stored.rows.size()), 1);
    const int key = stored.rows.front()[0].toInt();
    QVERIFY(key > 61);
    QCOMPARE(stored.rows.front()[1].toInt(), 1);
    SmpDataset& view = dm().SmpViewKontr;
    if (listed) {
        QCOMPARE(view.value(QStringLiteral("NKONTRAGENT")).toInt(), key);  // positioned on it
        QCOMPARE(view.value(QStringLiteral("IMEKONTRAGENT")).toString(), name);
    } else {
        QVERIFY(!view.locate(QStringLiteral("NKONTRAGENT"), {key}));
    }
}

void TstReferenceKontragenti::refusedSaveKeepsTheEditorAndInput_data()
{
    QTest::addColumn<bool>("withType");
    QTest::addColumn<QString>("name");
    QTest::newRow("no name") << true << "";
    QTest::newRow("no type") << false << "Без тип";
}

void TstReferenceKontragenti::refusedSaveKeepsTheEditorAndInput()
{
    QFETCH(bool, withType);
    QFETCH(QString, name);
    const int before = count(QStringLiteral("select count(*) from KONTRAGENTI"));
    bool stillOpen = false;
    QString keptLat;
    ui_->onModal = [&](Form* f) {
        auto* editor = qobject_cast<TFormKontragent*>(f);
        if (!editor) return 0;
        if (withType) chooseInList(editor->DBLookupComboBox1, QStringLiteral("Клиенти"));
        if (!name.isEmpty()) typeInto(editor, "DBEdtImeKontragent", name);
        typeInto(editor, "DBEdtImeKontragentLat", QStringLiteral("Latin"));
        QTest::mouseClick(editor->SpdBtnZapisKontragent, Qt::LeftButton);
        stillOpen = editor->isVisible();
        keptLat = editor->findChild<QLineEdit*>(QStringLiteral("DBEdtImeKontragentLat"))->text();
        editor->close();
        return 0;
    };
    click(form(), QStringLiteral("SpdBtnNewKontrag"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             QStringList{QStringLiteral("Не е въведен контрагент. Запис няма да се осъществи !")});
    QVERIFY(stillOpen);
    QCOMPARE(keptLat, QStringLiteral("Latin"));
    QCOMPARE(count(QStringLiteral("select count(*) from KONTRAGENTI")), before);
    QCOMPARE(dm().SmpKontragenti.state(), SmpDataset::State::Browse);  // closing dropped it
}

void TstReferenceKontragenti::exitDiscardsTheChange()
{
    QVERIFY(dm().SmpViewKontr.locate(QStringLiteral("NKONTRAGENT"), {61}));
    ui_->onModal = [&](Form* f) {
        auto* editor = qobject_cast<TFormKontragent*>(f);
        if (!editor) return 0;
        typeInto(editor, "DBEdtImeKontragent", QStringLiteral("Друго име"));
        QTest::mouseClick(editor->SpdBtnIzhod, Qt::LeftButton);
        return 0;
    };
    click(form(), QStringLiteral("SpdBtnRedakcia"));
    QCOMPARE(dm().SmpKontragenti.value(QStringLiteral("IMEKONTRAGENT")).toString(), QStringLiteral("Доставчик"));
    QCOMPARE(count(QStringLiteral("select count(*) from KONTRAGENTI where IMEKONTRAGENT = 'Доставчик'")), 1);
}

void TstReferenceKontragenti::allTypesMeansOneToHundred()
{
    db().execute(QStringLiteral("insert into TIP_KONTRAGENT (NTIP_KONTRAGENT, KONTRAGENT) values (100, 'Сто')"));
    db().execute(QStringLiteral("insert into TIP_KONTRAGENT (NTIP_KONTRAGENT, KONTRAGENT) values (101, 'Сто и едно')"));
    addKontragent(70, 100, QStringLiteral("На границата"));
    addKontragent(71, 101, QStringLiteral("Отвъд"));
    form()->TabSheet2->RdGrpIzbKontragent->click(1);
    form()->TabSheet2->RdGrpIzbKontragent->click(0);
    SmpDataset& view = dm().SmpViewKontr;
    QVERIFY(view.locate(QStringLiteral("NKONTRAGENT"), {70}));
    QVERIFY(!view.locate(QStringLiteral("NKONTRAGENT"), {71}));
    QVERIFY(view.locate(QStringLiteral("NKONTRAGENT"), {0}));  // type 7 among them
    QVERIFY(!form()->TabSheet2->DBLkpCmBoxTipKontragert->isEnabled());
}

void TstReferenceKontragenti::mainPersonAndBranch_data()
{
    QTest::addColumn<int>("rows");  // people and branches of the counterparty
    QTest::newRow("none: 0") << 0;
    QTest::newRow("two: the current one") << 2;
}

void TstReferenceKontragenti::mainPersonAndBranch()
{
    QFETCH(int, rows);
    for (int i = 0; i < rows; ++i) {
        db().execute(QStringLiteral("insert into MOL (NKONTRAGENT, IMEMOL) values (60, :N)"),
                     {{QStringLiteral("N"), QStringLiteral("Човек %1").arg(i)}});
        db().execute(QStringLiteral("insert into KONTRAGENTI_FILIALI (NKONTRAGENT, IMEFILIAL) values (60, :N)"),
                     {{QStringLiteral("N"), QStringLiteral("Клон %1").arg(i)}});
    }
    db().execute(QStringLiteral("update KONTRAGENTI set NMOL = 99, NFILIAL = 99 where NKONTRAGENT = 60"));
    form()->TabSheet2->RefreshKontragentiLists(60);
    form()->TabSheet2->DBGrid6CellClick();
    QCOMPARE(dm().SmpMOLKontr.recordCount(), rows);
    int mol = 0, filial = 0;
    if (rows) {
        dm().SmpMOLKontr.last();
        mol = dm().SmpMOLKontr.value(QStringLiteral("NMOL")).toInt();
        QVERIFY(mol > 0);
    }
    click(form(), QStringLiteral("SpdBtnZapisMol"));
    // The stored counterparty is re-read, and its lists with it: the user picks the branch then.
    if (rows) {
        dm().SmpKontrFilial.last();
        filial = dm().SmpKontrFilial.value(QStringLiteral("NFILIAL")).toInt();
        QVERIFY(filial > 0);
    }
    click(form(), QStringLiteral("SpBtnZapisFilial"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    const DbResult r = db().query(QStringLiteral("select NMOL, NFILIAL from KONTRAGENTI where NKONTRAGENT = 60"));
    QCOMPARE(r.rows.front()[0].toInt(), mol);
    QCOMPARE(r.rows.front()[1].toInt(), filial);
    SmpDataset& view = dm().SmpViewKontr;
    QCOMPARE(view.value(QStringLiteral("NKONTRAGENT")).toInt(), 60);
    QCOMPARE(view.value(QStringLiteral("IMEMOL")).toString(), rows ? QStringLiteral("Човек 1") : QString());
}

void TstReferenceKontragenti::onlyPagingAndArrowKeysFollowTheList_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("follows");
    QTest::newRow("down") << int(Qt::Key_Down) << true;
    QTest::newRow("page down") << int(Qt::Key_PageDown) << true;
    QTest::newRow("end") << int(Qt::Key_End) << false;
    QTest::newRow("letter") << int(Qt::Key_D) << false;
}

void TstReferenceKontragenti::onlyPagingAndArrowKeysFollowTheList()
{
    QFETCH(int, key);
    QFETCH(bool, follows);
    db().execute(QStringLiteral("insert into KONTR_MAT_CENI (NKONTRAGENT, NMATERIAL, SPEC_CENA) values (61, 500, 9)"));
    // The list holds 0 "Физически лица", 61 "Доставчик", 60 "\"Фирма\"…" in name order; 61 is second.
    form()->TabSheet2->RefreshKontragentiLists(0);
    SmpDataset& view = dm().SmpViewKontr;
    view.first();
    form()->TabSheet2->DBGrid6CellClick();
    QCOMPARE(dm().SmpViewKontrMatCeni.recordCount(), 0);
    form()->TabSheet2->DBGrid6->setFocus();
    view.moveTo(1);  // the grid moved, as a key would
    QCOMPARE(view.value(QStringLiteral("NKONTRAGENT")).toInt(), 61);
    form()->TabSheet2->DBGrid6KeyUp(key);
    QCOMPARE(dm().SmpViewKontrMatCeni.recordCount(), follows ? 1 : 0);
    QCOMPARE(dm().SmpKontragenti.value(QStringLiteral("NKONTRAGENT")).toInt() == 61, follows);
}

void TstReferenceKontragenti::openedOnACounterparty()
{
    form()->TabSheet2->RdGrpIzbKontragent->click(1);  // a type choice that hides the counterparty
    form()->close();
    ui_->clear();
    form()->OpenOnKontragent(61);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList{QStringLiteral("FormNomenklaturi")});
    QCOMPARE(form()->TabSheet2->RdGrpIzbKontragent->itemIndex(), 0);
    QCOMPARE(dm().SmpViewKontr.value(QStringLiteral("NKONTRAGENT")).toInt(), 61);
    QCOMPARE(dm().SmpKontragenti.value(QStringLiteral("NKONTRAGENT")).toInt(), 61);
}

void TstReferenceKontragenti::choiceListsOfOtherWindows()
{
    db().execute(QStringLiteral("insert into MOL (NKONTRAGENT, IMEMOL) values (60, 'Петър')"));
    db().execute(QStringLiteral("insert into KONTRAGENTI_FILIALI (NKONTRAGENT, IMEFILIAL) values (60, 'Клон Юг')"));
    db().execute(QStringLiteral("update KONTRAGENTI set POSTKOD = 1000, NMOL = (select max(NMOL) from MOL), "
                                "NFILIAL = (select max(NFILIAL) from KONTRAGENTI_FILIALI) where NKONTRAGENT = 60"));
    for (SmpDataset* ds : {&dm().SmpIzbKontr, &dm().SmpIzbKontrSklad}) {
        ds->close();
        ds->setParam(QStringLiteral("InTipKontr"), 1);
        ds->open();
        QCOMPARE(ds->recordCount(), 1);  // type 1 only
        QCOMPARE(ds->value(QStringLiteral("NKONTRAGENT")).toInt(), 60);
    }
    QCOMPARE(dm().SmpIzbMOL.recordCount(), 1);
    QCOMPARE(dm().SmpIzbKontr.fieldByName(QStringLiteral("ImeMolKontr"))->asString(), QStringLiteral("Петър"));
    SmpDataset& sklad = dm().SmpIzbKontrSklad;
    QCOMPARE(sklad.fieldByName(QStringLiteral("ImeMolKontr"))->asString(), QStringLiteral("Петър"));
    QCOMPARE(sklad.fieldByName(QStringLiteral("ImeFilial"))->asString(), QStringLiteral("Клон Юг"));
    QCOMPARE(sklad.fieldByName(QStringLiteral("ImeGrad"))->asString(), QStringLiteral("София"));
    sklad.close();
    sklad.setParam(QStringLiteral("InTipKontr"), 2);
    sklad.open();
    QCOMPARE(sklad.value(QStringLiteral("NKONTRAGENT")).toInt(), 61);
    QCOMPARE(dm().SmpIzbKontrMOLSklad.recordCount(), 0);  // the people follow the chosen counterparty
}

void TstReferenceKontragenti::specialPriceOnePerItem()
{
    form()->TabSheet2->RefreshKontragentiLists(60);
    form()->TabSheet2->DBGrid6CellClick();
    TFormSpecCeni* editor = app_->FormSpecCeni;
    for (const QString& price : {QStringLiteral("4.5"), QStringLiteral("7.25")}) {
        ui_->answers = {true};
        ui_->onModal = [&](Form* f) {
            if (f != editor) return 0;
            [&] {
                QVERIFY(editor->GrpBoxIzbMat->isVisible());
                QCOMPARE(editor->LbImeKontr->text(), QStringLiteral("\"Фирма\" ООД O'Brien"));
                chooseInList(editor->DBLkpCmBoxMat, QStringLiteral("Лак"));
                QCOMPARE(editor->LbProdCena->text(), QStringLiteral("12.50"));
                editor->EdSpecCena->setFocus();
                editor->EdSpecCena->selectAll();
                typeText(editor->EdSpecCena, price);
                QTest::keyClick(editor->EdSpecCena, Qt::Key_Return);  // Enter saves
            }();
            return 0;
        };
        click(form(), QStringLiteral("SpdBtnSpCMatAdd"));
        QVERIFY(!editor->isVisible());
    }
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question).size(), 2);
    const DbResult r = db().query(QStringLiteral("select SPEC_CENA from KONTR_MAT_CENI where NKONTRAGENT = 60 and NMATERIAL = 500"));
    QCOMPARE(int(r.rows.size()), 1);
    QCOMPARE(r.rows.front()[0].toDouble(), 7.25);
    QCOMPARE(dm().SmpViewKontrMatCeni.recordCount(), 1);
    QCOMPARE(dm().SmpViewKontrMatCeni.value(QStringLiteral("SPEC_CENA")).toDouble(), 7.25);
    // Another counterparty does not see it.
    QVERIFY(dm().SmpViewKontr.locate(QStringLiteral("NKONTRAGENT"), {61}));
    form()->TabSheet2->DBGrid6CellClick();
    QCOMPARE(dm().SmpViewKontrMatCeni.recordCount(), 0);
}

void TstReferenceKontragenti::specialPriceRefusals()
{
    form()->TabSheet2->RefreshKontragentiLists(60);
    form()->TabSheet2->DBGrid6CellClick();
    TFormSpecCeni* editor = app_->FormSpecCeni;
    QString typed;
    bool open = false;
    const auto body = [&] {
        QCOMPARE(editor->EdSpecCena->text(), QStringLiteral("0.00"));
        QTest::mouseClick(editor->SpeedBtnZapFirma, Qt::LeftButton);  // the preset zero
        editor->EdSpecCena->clear();
        editor->EdSpecCena->setFocus();
        typeText(editor->EdSpecCena, QStringLiteral("-1,a2.5"));
        typed = editor->EdSpecCena->text();
        editor->EdSpecCena->setText(QStringLiteral(".."));
        QTest::mouseClick(editor->SpeedBtnZapFirma, Qt::LeftButton);  // not a number
        open = editor->isVisible();
        editor->close();
    };
    ui_->onModal = [&](Form* f) {
        if (f == editor) body();
        return 0;
    };
    click(form(), QStringLiteral("SpdBtnSpCMatAdd"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{QStringLiteral("Не е въведена сума за спец. цена !")});
    QCOMPARE(typed, QStringLiteral("12.5"));  // minus, comma and letter dropped
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error).size(), 1);
    QVERIFY(open);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList());
    QCOMPARE(count(QStringLiteral("select count(*) from KONTR_MAT_CENI")), 0);
}

void TstReferenceKontragenti::specialPriceChangeAndDelete()
{
    db().execute(QStringLiteral("insert into KONTR_MAT_CENI (NKONTRAGENT, NMATERIAL, SPEC_CENA) values (60, 501, 2)"));
    db().execute(QStringLiteral("insert into KONTR_MAT_CENI (NKONTRAGENT, NMATERIAL, SPEC_CENA) values (60, 500, 10)"));
    form()->TabSheet2->RefreshKontragentiLists(60);
    form()->TabSheet2->DBGrid6CellClick();
    SmpDataset& prices = dm().SmpViewKontrMatCeni;
    QVERIFY(prices.locate(QStringLiteral("NMATERIAL"), {500}));
    TFormSpecCeni* editor = app_->FormSpecCeni;
    ui_->answers = {true};
    const auto body = [&] {
        QVERIFY(!editor->GrpBoxIzbMat->isVisible());
        QCOMPARE(editor->LbImeMatIzd->text(), QStringLiteral("Лак"));
        QCOMPARE(editor->LbProdCena->text(), QStringLiteral("12.50"));
        QCOMPARE(editor->EdSpecCena->text(), QStringLiteral("10.00"));
        editor->EdSpecCena->setText(QStringLiteral("11"));
        QTest::mouseClick(editor->SpeedBtnZapFirma, Qt::LeftButton);
    };
    ui_->onModal = [&](Form* f) {
        if (f == editor) body();
        return 0;
    };
    click(form(), QStringLiteral("SpdBtnSpCMatUpd"));
    QCOMPARE(count(QStringLiteral("select count(*) from KONTR_MAT_CENI where NMATERIAL = 500 and SPEC_CENA = 11")), 1);
    QCOMPARE(count(QStringLiteral("select count(*) from KONTR_MAT_CENI where NMATERIAL = 501 and SPEC_CENA = 2")), 1);

    QVERIFY(prices.locate(QStringLiteral("NMATERIAL"), {501}));
    ui_->answers = {false};
    click(form(), QStringLiteral("SpdBtnSpCMatDel"));
    QCOMPARE(count(QStringLiteral("select count(*) from KONTR_MAT_CENI")), 2);
    ui_->answers = {true};
    click(form(), QStringLiteral("SpdBtnSpCMatDel"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question).last(), QStringLiteral(" Потвърдете изтриване на запис ? "));
    QCOMPARE(count(QStringLiteral("select count(*) from KONTR_MAT_CENI where NMATERIAL = 501")), 0);
    QCOMPARE(prices.recordCount(), 1);
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TstReferenceKontragenti t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_reference_kontragenti.moc"
