#include "app/formns.h"
#include "app/instances.h"
#include "data/dmns.h"
#include "platform/ui/application.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dbimage.h"
#include "platform/widgets/dblookupcombobox.h"
#include "reference/formcountry.h"
#include "reference/formgrad.h"
#include "reference/formmateriali.h"
#include "reference/formmiarki.h"
#include "reference/formnomenklaturi.h"
#include "reference/tabitems.h"
#include "reference/formtipkontr.h"
#include "reference/formtipsklad.h"
#include "platform/widgets/radiogroup.h"
#include "support/recordingui.h"
#include "support/appfixture.h"
#include "support/testdb.h"
#include "support/typing.h"

#include <QAbstractItemView>
#include <QDir>
#include <QStandardPaths>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

// The item tab with its item editor, and the small lookup editors of the item and places tabs.
class TstReferenceItems : public QObject, protected AppFixture
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();
    void warehouseChoice();
    void itemListToSpreadsheet();
    void newItemIsStoredAndPositioned();
    void itemSaveRefusals_data();
    void itemSaveRefusals();
    void correctionMayRepeatAName();
    void pictureFromAFile();
    void smallEditors_data();
    void smallEditors();
    void enterInTheTownNameDoesNotSave();
    void refusedByTheServerStaysOpen();
    void exitRestoresTheRow();

private:
    void click(QWidget* root, const QString& button) { clickButton(root, button); }
    static void typeInto(QWidget* root, const QString& name, const QString& text)
    {
        auto* e = root->findChild<DBEdit*>(name);
        QVERIFY2(e, qPrintable(name));
        e->setFocus();
        e->selectAll();
        if (text.isEmpty()) QTest::keyClick(e, Qt::Key_Delete);
        typeText(e, text);
    }
    // Fills the item editor: name, unit and warehouse (empty: left as they are), price.
    void fillItem(const QString& name, const QString& unit, const QString& sklad, const QString& price)
    {
        TFormMateriali* e = app_->FormMateriali;
        if (!name.isNull()) typeInto(e, QStringLiteral("DBEditMat"), name);
        if (!unit.isEmpty()) chooseInList(e->DBLkpCmBMka, unit);
        if (!sklad.isEmpty()) chooseInList(e->DBLkpCmbSklad, sklad);
        if (!price.isEmpty()) typeInto(e, QStringLiteral("DBEdtProdCena"), price);
    }

};

void TstReferenceItems::init()
{
    start();
    db().execute(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"));
    db().execute(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (2, 'Резервен')"));
    db().execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA) "
                                "values (500, 'Лак O''Brien', 1, 1, 12.5)"));
    db().execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (501, 'Боя', 2, 2)"));
    form()->show();
    form()->TabSheet1->RdGrpIzbSklMat->click(0);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstReferenceItems::cleanup() { stop(); }

void TstReferenceItems::warehouseChoice()
{
    SmpDataset& items = dm().SmpViewMateriali;
    QCOMPARE(items.recordCount(), 2);  // "Всички": warehouses 1 to 1000
    QVERIFY(!form()->TabSheet1->DBLkpCmbIzbSklad->isEnabled());
    form()->TabSheet1->RdGrpIzbSklMat->click(1);  // "По избор", nothing picked yet: warehouse 0
    QVERIFY(form()->TabSheet1->DBLkpCmbIzbSklad->isEnabled());
    QCOMPARE(items.recordCount(), 0);
    chooseInList(form()->TabSheet1->DBLkpCmbIzbSklad, QStringLiteral("Резервен"));
    QCOMPARE(form()->TabSheet1->izbSkladKey(), 2);
    QCOMPARE(items.recordCount(), 1);
    QCOMPARE(items.value(QStringLiteral("IMEMATERIAL")).toString(), QStringLiteral("Боя"));
    QCOMPARE(items.fieldByName(QStringLiteral("Mka"))->asString(), QStringLiteral("кг"));
    form()->close();
    form()->show();  // kept between openings
    QCOMPARE(form()->TabSheet1->RdGrpIzbSklMat->itemIndex(), 1);
    QCOMPARE(items.recordCount(), 1);
}

void TstReferenceItems::itemListToSpreadsheet()
{
    QDir docs(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const auto workbooks = [&] { return docs.entryList({QStringLiteral("*.xlsx")}, QDir::Files).size(); };
    const int before = workbooks();
    click(form(), QStringLiteral("SpdBtnMatEXEL"));
    QCOMPARE(workbooks(), before + 1);
    form()->TabSheet1->RdGrpIzbSklMat->click(1);  // warehouse 0: an empty list writes nothing
    QCOMPARE(dm().SmpViewMateriali.recordCount(), 0);
    click(form(), QStringLiteral("SpdBtnMatEXEL"));
    QCOMPARE(workbooks(), before + 1);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstReferenceItems::newItemIsStoredAndPositioned()
{
    const QString name = QStringLiteral("Грунд \"Б\" O'Hara");
    ui_->onModal = [&](Form* f) {
        if (f != app_->FormMateriali) return 0;
        fillItem(name, QStringLiteral("л"), QStringLiteral("Резервен"), QStringLiteral("4.5"));
        QTest::mouseClick(app_->FormMateriali->BitBtnZapMat, Qt::LeftButton);
        return 0;
    };
    click(form(), QStringLiteral("SpdBtnNewMat"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QVERIFY(app_->FormMateriali->saved());
    QVERIFY(!app_->FormMateriali->isVisible());
    const DbResult r = db().query(
        QStringLiteral("select NMATERIAL, NMIARKA, NSKLAD, PRODAGNA_CENA, ED_CENA from MATERIALI where IMEMATERIAL = :N"),
        {{QStringLiteral("N"), name}});
    QCOMPARE(int(r.rows.size()), 1);
    QCOMPARE(r.rows.front()[1].toInt(), 7);
    QCOMPARE(r.rows.front()[2].toInt(), 2);
    QCOMPARE(r.rows.front()[3].toDouble(), 4.5);
    QVERIFY(r.rows.front()[4].isNull());  // an empty price stays empty
    SmpDataset& items = dm().SmpViewMateriali;
    QCOMPARE(items.changeCount(), 0);
    QCOMPARE(items.state(), SmpDataset::State::Browse);
    QCOMPARE(items.recordCount(), 3);
    QCOMPARE(items.value(QStringLiteral("NMATERIAL")), r.rows.front()[0]);  // positioned on it
    QVERIFY(dm().SmpMateriali.locate(QStringLiteral("NMATERIAL"), {r.rows.front()[0]}));
}

void TstReferenceItems::itemSaveRefusals_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("name");  // null: not typed
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("sklad");
    QTest::addColumn<QString>("message");
    QTest::newRow("new: name in use") << 1 << "Лак O'Brien" << "бр." << "Основен"
                                      << "Този материал вече съществува в номенклатурата !";
    QTest::newRow("new: no unit") << 1 << "Нов" << "" << "Основен"
                                  << "Задължителни полета за въвеждане - име на материал,мярка,склад !";
    QTest::newRow("new: no warehouse") << 1 << "Нов" << "бр." << ""
                                       << "Задължителни полета за въвеждане - име на материал,мярка,склад !";
    QTest::newRow("correction: name erased") << 0 << "" << "" << ""
                                             << "Задължителни полета за въвеждане - име на материал,мярка,склад !";
    QTest::newRow("correction: nothing changed") << 0 << QString() << "" << "" << "";
}

void TstReferenceItems::itemSaveRefusals()
{
    QFETCH(int, mode);
    QFETCH(QString, name);
    QFETCH(QString, unit);
    QFETCH(QString, sklad);
    QFETCH(QString, message);
    QVERIFY(dm().SmpViewMateriali.locate(QStringLiteral("NMATERIAL"), {500}));
    const DbResult before = db().query(QStringLiteral("select * from MATERIALI order by NMATERIAL"));
    bool open = false;
    ui_->onModal = [&](Form* f) {
        if (f != app_->FormMateriali) return 0;
        fillItem(name, unit, sklad, {});
        QTest::mouseClick(app_->FormMateriali->BitBtnZapMat, Qt::LeftButton);
        open = app_->FormMateriali->isVisible();
        QTest::mouseClick(app_->FormMateriali->SpdBtnExit, Qt::LeftButton);
        return 0;
    };
    click(form(), mode == 1 ? QStringLiteral("SpdBtnNewMat") : QStringLiteral("SpdBtnRedakciaMat"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), message.isEmpty() ? QStringList() : QStringList{message});
    QVERIFY(open);  // the editor stays open for a correction
    QVERIFY(!app_->FormMateriali->saved());
    QCOMPARE(app_->FormMateriali->mode(), mode == 1 ? TFormMateriali::Mode::New : TFormMateriali::Mode::Edit);
    const DbResult after = db().query(QStringLiteral("select * from MATERIALI order by NMATERIAL"));
    QCOMPARE(after.rows, before.rows);
    SmpDataset& items = dm().SmpViewMateriali;
    QCOMPARE(items.changeCount(), 0);
    QCOMPARE(items.state(), SmpDataset::State::Browse);
    QCOMPARE(items.recordCount(), 2);
}

void TstReferenceItems::correctionMayRepeatAName()
{
    QVERIFY(dm().SmpViewMateriali.locate(QStringLiteral("NMATERIAL"), {501}));
    ui_->onModal = [&](Form* f) {
        if (f != app_->FormMateriali) return 0;
        fillItem(QStringLiteral("Лак O'Brien"), {}, {}, QStringLiteral("2"));
        QTest::keyClick(app_->FormMateriali->findChild<DBEdit*>(QStringLiteral("DBEdtProdCena")), Qt::Key_Return);
        return 0;
    };
    click(form(), QStringLiteral("SpdBtnRedakciaMat"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
    QVERIFY(app_->FormMateriali->saved());
    QCOMPARE(count(QStringLiteral("select count(*) from MATERIALI where IMEMATERIAL = 'Лак O''Brien'")), 2);
    QCOMPARE(count(QStringLiteral("select count(*) from MATERIALI where NMATERIAL = 501 and PRODAGNA_CENA = 2 and NSKLAD = 2")), 1);
}

void TstReferenceItems::pictureFromAFile()
{
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    const QString file = dir_->filePath(QStringLiteral("item.png"));
    QVERIFY(picture.save(file));
    QVERIFY(dm().SmpViewMateriali.locate(QStringLiteral("NMATERIAL"), {500}));
    app_->FormMateriali->choosePictureFile = [&] { return file; };
    ui_->onModal = [&](Form* f) {
        if (f != app_->FormMateriali) return 0;
        QTest::mouseDClick(app_->FormMateriali->DBImgSnimka, Qt::LeftButton);
        QTest::mouseClick(app_->FormMateriali->BitBtnZapMat, Qt::LeftButton);
        return 0;
    };
    click(form(), QStringLiteral("SpdBtnRedakciaMat"));
    const QVariant stored = db().query(QStringLiteral("select SNIMKA from MATERIALI where NMATERIAL = 500")).rows.front()[0];
    QCOMPARE(QImage::fromData(stored.toByteArray()).size(), picture.size());
}

void TstReferenceItems::smallEditors_data()
{
    QTest::addColumn<QString>("button");      // the window's button that opens the editor
    QTest::addColumn<QStringList>("typing");  // edit name, text, ...
    QTest::addColumn<QString>("enterIn");     // the edit that gets Enter; empty: "Запис" is clicked
    QTest::addColumn<QString>("message");     // empty: saved and closed
    QTest::addColumn<QString>("stored");      // counts the saved row
    const QString tail = QStringLiteral("\r") + QString(19, u' ') + QStringLiteral("Запис няма да се осъществи !");
    QTest::newRow("warehouse") << "SpdBtnNewSklad" << QStringList{"DBEdtSklad", "Склад 'Юг'"} << ""
                               << "" << "select count(*) from TIP_SKLAD where SKLAD = 'Склад ''Юг'''";
    QTest::newRow("warehouse by Enter") << "SpdBtnNewSklad" << QStringList{"DBEdtSklad", "Трети"} << "DBEdtSklad" << ""
                                        << "select count(*) from TIP_SKLAD where SKLAD = 'Трети'";
    QTest::newRow("warehouse without name") << "SpdBtnNewSklad" << QStringList() << ""
                                            << "Задължително за въвеждане - ИМЕ НА СКЛАД !" + tail
                                            << "select count(*) - 2 from TIP_SKLAD";
    QTest::newRow("unit of blanks") << "SpdBtnNewMka" << QStringList{"DBEdtMiarka", "  "} << "" << ""
                                    << "select count(*) from MIARKA where MIARKA_BG = '  '";
    QTest::newRow("town") << "SpdBtnNewGrad" << QStringList{"DBEdtPostKod", "2000", "DBEdtGrad", "Самоков"} << "" << ""
                          << "select count(*) from GRADOVE where POSTKOD = 2000 and GRAD = 'Самоков'";
    QTest::newRow("town by Enter in the code") << "SpdBtnNewGrad" << QStringList{"DBEdtGrad", "Самоков", "DBEdtPostKod", "2000"}
                                               << "DBEdtPostKod" << ""
                                               << "select count(*) from GRADOVE where POSTKOD = 2000";
    QTest::newRow("town without name") << "SpdBtnNewGrad" << QStringList{"DBEdtPostKod", "2000"} << ""
                                       << "Задължително за въвеждане - ПОЩЕНСКИ КОД и НАСЕЛЕНО МЯСТО !" + tail
                                       << "select count(*) from GRADOVE where POSTKOD = 2000";
    QTest::newRow("country") << "SpdBtnNewCountry" << QStringList{"DBEdtCountry", "Сърбия"} << "DBEdtCountry" << ""
                             << "select count(*) from COUNTRY where COUNTRY = 'Сърбия'";
    QTest::newRow("counterparty type") << "SpdBtnNewTipKontr" << QStringList{"DBEdtTipKontr", "Вносители"} << "" << ""
                                       << "select count(*) from TIP_KONTRAGENT where KONTRAGENT = 'Вносители'";
}

void TstReferenceItems::smallEditors()
{
    QFETCH(QString, button);
    QFETCH(QStringList, typing);
    QFETCH(QString, enterIn);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    bool open = false;
    Form* shown = nullptr;
    ui_->onModal = [&](Form* f) {
        shown = f;
        auto* editor = qobject_cast<TFormLookupEditor*>(f);
        if (!editor) return 0;
        for (int i = 0; i + 1 < typing.size(); i += 2) typeInto(editor, typing[i], typing[i + 1]);
        if (enterIn.isEmpty()) QTest::mouseClick(editor->saveButton(), Qt::LeftButton);
        else QTest::keyClick(editor->findChild<DBEdit*>(enterIn), Qt::Key_Return);
        open = editor->isVisible();
        editor->close();
        return 0;
    };
    click(form(), button);
    QVERIFY(shown);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(open, !message.isEmpty());  // a refusal keeps the editor open with what was typed
    QCOMPARE(count(stored), message.isEmpty() ? 1 : 0);
    auto* editor = qobject_cast<TFormLookupEditor*>(shown);
    QCOMPARE(editor->dataset().state(), SmpDataset::State::Browse);
    QCOMPARE(editor->dataset().changeCount(), 0);
    if (button == QLatin1String("SpdBtnNewSklad") && message.isEmpty())
        QVERIFY(dm().SmpIzbSklad.locate(QStringLiteral("SKLAD"), {typing[1]}));  // the choice lists see it
}

void TstReferenceItems::enterInTheTownNameDoesNotSave()
{
    bool open = false;
    ui_->onModal = [&](Form* f) {
        auto* editor = qobject_cast<TFormGrad*>(f);
        if (!editor) return 0;
        typeInto(editor, QStringLiteral("DBEdtPostKod"), QStringLiteral("2000"));
        typeInto(editor, QStringLiteral("DBEdtGrad"), QStringLiteral("Самоков"));
        QTest::keyClick(editor->findChild<DBEdit*>(QStringLiteral("DBEdtGrad")), Qt::Key_Return);
        open = editor->isVisible();
        QTest::mouseClick(editor->exitButton(), Qt::LeftButton);
        return 0;
    };
    click(form(), QStringLiteral("SpdBtnNewGrad"));
    QVERIFY(open);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
    QCOMPARE(count(QStringLiteral("select count(*) from GRADOVE where POSTKOD = 2000")), 0);
    QCOMPARE(dm().SmpGrad.state(), SmpDataset::State::Browse);
}

void TstReferenceItems::refusedByTheServerStaysOpen()
{
    // 1000 is a town's key already: the server refuses the second one.
    bool open = false;
    ui_->onModal = [&](Form* f) {
        auto* editor = qobject_cast<TFormGrad*>(f);
        if (!editor) return 0;
        typeInto(editor, QStringLiteral("DBEdtPostKod"), QStringLiteral("1000"));
        typeInto(editor, QStringLiteral("DBEdtGrad"), QStringLiteral("Втора"));
        QTest::mouseClick(editor->saveButton(), Qt::LeftButton);
        open = editor->isVisible();
        editor->close();
        return 0;
    };
    click(form(), QStringLiteral("SpdBtnNewGrad"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error).size(), 1);
    QVERIFY(open);
    QCOMPARE(count(QStringLiteral("select count(*) from GRADOVE where GRAD = 'Втора'")), 0);
    QCOMPARE(dm().SmpGrad.changeCount(), 0);  // closing settled the refused row
    QVERIFY(!dm().SmpGrad.locate(QStringLiteral("GRAD"), {QStringLiteral("Втора")}));
}

void TstReferenceItems::exitRestoresTheRow()
{
    QVERIFY(dm().SmpCountry.locate(QStringLiteral("KOD_COUNTRY"), {1}));
    ui_->onModal = [&](Form* f) {
        auto* editor = qobject_cast<TFormCountry*>(f);
        if (!editor) return 0;
        typeInto(editor, QStringLiteral("DBEdtCountry"), QStringLiteral("Друга"));
        QTest::mouseClick(editor->exitButton(), Qt::LeftButton);
        return 0;
    };
    click(form(), QStringLiteral("SpdBtnRedCountry"));
    QCOMPARE(dm().SmpCountry.value(QStringLiteral("COUNTRY")).toString(), QStringLiteral("България"));
    QCOMPARE(count(QStringLiteral("select count(*) from COUNTRY where COUNTRY = 'България'")), 1);
    // An unchanged row is closed over without a message.
    ui_->onModal = [&](Form* f) {
        if (auto* editor = qobject_cast<TFormCountry*>(f)) QTest::mouseClick(editor->saveButton(), Qt::LeftButton);
        return 0;
    };
    click(form(), QStringLiteral("SpdBtnRedCountry"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
    QVERIFY(!app_->FormCountry->isVisible());
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TstReferenceItems t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_reference_items.moc"
