#include "app/formns.h"
#include "app/instances.h"
#include "data/dmns.h"
#include "data/dmpers.h"
#include "platform/db/dberror.h"
#include "platform/ui/application.h"
#include "support/recordingui.h"
#include "support/testdb.h"

#include <QLabel>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The shared data modules over a fresh database, prepared by the main window's first show.
class TstDataModules : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void firstShowOpensTheSharedListsInOrder();
    void sharedDatasets_data();
    void sharedDatasets();
    void titleAndSpecialVatNumber_data();
    void titleAndSpecialVatNumber();
    void counterpartyDeleteTakesPeopleAndBranches();
    void refusedCounterpartyDeleteKeepsThem();
    void listsStoreEveryEditAtOnce();
    void columnsAsShown_data();
    void columnsAsShown();
    void itemListColumnOrder();

private:
    int count(const QString& sql) { return db().query(sql).rows.front()[0].toInt(); }
    SQLConnection& db() { return app_->DMNS->SQLConnectNS; }
    void start(const QString& imeLogo = {}, const QString& bulstat = {});
    int addCounterparty(const QString& name);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<RecordingUi> ui_;
    std::unique_ptr<AppInstances> app_;
};

void TstDataModules::initTestCase() { QStandardPaths::setTestModeEnabled(true); }

void TstDataModules::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    ui_ = std::make_unique<RecordingUi>();
    QFile::remove(AppInstances::iniPath());
}

void TstDataModules::cleanup()
{
    app_.reset();
    ui_.reset();
    dir_.reset();
    QFile::remove(AppInstances::iniPath());
}

void TstDataModules::start(const QString& imeLogo, const QString& bulstat)
{
    const ConnectionParams p = TestDb::freshCopy(*dir_);
    {
        SQLConnection c(p);
        c.execute(QStringLiteral("update FIRMA set IMELOGO = :t, BULSTAT = :b"),
                  {{QStringLiteral("t"), imeLogo.isEmpty() ? QVariant() : QVariant(imeLogo)},
                   {QStringLiteral("b"), bulstat.isEmpty() ? QVariant() : QVariant(bulstat)}});
    }
    app_ = std::make_unique<AppInstances>(p);
    app_->FormNS->show();
    QVERIFY(app_->FormNS->firstShowDone());
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

int TstDataModules::addCounterparty(const QString& name)
{
    db().execute(QStringLiteral("insert into KONTRAGENTI (NTIP_KONTRAGENT, IMEKONTRAGENT) values (1, :n)"),
                 {{QStringLiteral("n"), name}});
    const int key = db().query(QStringLiteral("select NKONTRAGENT from KONTRAGENTI where IMEKONTRAGENT = :n"),
                               {{QStringLiteral("n"), name}})
                        .rows.front()[0]
                        .toInt();
    db().execute(QStringLiteral("insert into MOL (NKONTRAGENT, IMEMOL) values (:k, 'Иван Иванов')"), {{QStringLiteral("k"), key}});
    db().execute(QStringLiteral("insert into KONTRAGENTI_FILIALI (NKONTRAGENT, IMEFILIAL) values (:k, 'Клон')"),
                 {{QStringLiteral("k"), key}});
    return key;
}

void TstDataModules::firstShowOpensTheSharedListsInOrder()
{
    const ConnectionParams p = TestDb::freshCopy(*dir_);
    app_ = std::make_unique<AppInstances>(p);
    QStringList opened;
    for (SmpDataset* ds : app_->DMNS->findChildren<SmpDataset*>(QString(), Qt::FindDirectChildrenOnly))
        ds->afterOpen.add([&opened](SmpDataset& d) { opened << d.objectName(); });
    QVERIFY(opened.isEmpty());
    app_->FormNS->show();
    // The company's responsible persons come after the settings lists, unless a lookup of the
    // company record needed them first, as here: lists a lookup reads open just before their reader.
    const QStringList order = {"SmpTipProizvN", "SmpTipIzdelieN", "SmpRecep_izdN", "SmpDaNe",      "SmpMOLKontr",
                               "SmpKontrFilial", "SmpFirma",      "SmpOsnovDDS",   "SmpTipSklOb",  "SmpTipValuta",
                               "SmpVidPlastane", "SmpKontragenti", "SmpViewKontr"};
    QVERIFY(opened.indexOf(QStringLiteral("SmpMolFirma")) >= 0);
    QVERIFY(opened.indexOf(QStringLiteral("SmpMolFirma")) < opened.indexOf(QStringLiteral("SmpFirma")));
    int at = -1;
    for (const QString& name : order) {
        const int i = opened.indexOf(name, at + 1);
        QVERIFY2(i > at, qPrintable(name + QStringLiteral(" out of order in ") + opened.join(u' ')));
        at = i;
    }
    QCOMPARE(app_->FormNS->DBText1->text(), QStringLiteral("1.0"));
    QCOMPARE(app_->FormNS->windowTitle(), QStringLiteral("ИНФОРМАЦИОННА  СИСТЕМА  ЗА  УПРАВЛЕНИЕ  НА  БИЗНЕСА  !"));
}

void TstDataModules::sharedDatasets_data()
{
    QTest::addColumn<QString>("dataset");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("locateField");
    QTest::addColumn<QVariant>("locateValue");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("company town") << "SmpFirma" << "FIRMA" << "" << QVariant() << "GradFirma" << "София";
    QTest::newRow("company person") << "SmpFirma" << "FIRMA" << "" << QVariant() << "ImeMOLFirma" << "Управител";
    QTest::newRow("company document type") << "SmpFirma" << "FIRMA" << "" << QVariant() << "ImeTipDok"
                                           << "Данъчна фактура";
    QTest::newRow("company numbering kind") << "SmpFirma" << "FIRMA" << "" << QVariant() << "NfaktTip" << "Цифрово поле";
    QTest::newRow("company client settlement") << "SmpFirma" << "FIRMA" << "" << QVariant() << "VidRAzplKlientText"
                                               << "Веднага";
    QTest::newRow("company automatic order") << "SmpFirma" << "FIRMA" << "" << QVariant() << "AutoPorychkaDaNe" << "Не";
    QTest::newRow("towns by name") << "SmpGrad" << "GRADOVE" << "" << QVariant() << "GRAD" << "Бургас";
    QTest::newRow("town country") << "SmpGrad" << "GRADOVE" << "POSTKOD" << QVariant(4000) << "ImeCountry" << "България";
    QTest::newRow("office town") << "SmpFirmaOfisi" << "FIRMA_OFISI" << "" << QVariant() << "ImeGrad" << "София";
    QTest::newRow("counterparty type") << "SmpKontragenti" << "KONTRAGENTI" << "NKONTRAGENT" << QVariant(0)
                                       << "ImeTipKontragent" << "Физически лица";
    QTest::newRow("counterparty view") << "SmpViewKontr" << "KONTRAGENTI" << "NKONTRAGENT" << QVariant(0) << "KONTRAGENT"
                                       << "Физически лица";
    QTest::newRow("warehouse object flag") << "SmpTipSklad" << "TIP_SKLAD" << "" << QVariant() << "SklObDaNe" << "";
    QTest::newRow("currencies") << "SmpTipValuta" << "TIP_VALUTA" << "NVALUTA" << QVariant(1) << "VALUTA_BAZA" << "1";
    QTest::newRow("workshops above 0") << "SmpTipProizvN" << "TIP_PROIZVODSTVO" << "" << QVariant() << "" << "";
}

void TstDataModules::sharedDatasets()
{
    QFETCH(QString, dataset);
    QFETCH(QString, source);
    QFETCH(QString, locateField);
    QFETCH(QVariant, locateValue);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    start();
    auto* ds = app_->DMNS->findChild<SmpDataset*>(dataset);
    QVERIFY(ds);
    ds->open();
    QVERIFY(ds->tableName() == source || ds->commandText().contains(source));
    if (!locateField.isEmpty()) QVERIFY(ds->locate(locateField, {locateValue}));
    if (!field.isEmpty()) QCOMPARE(ds->fieldByName(field)->asString(), expected);
    if (dataset == QLatin1String("SmpTipProizvN"))
        for (ds->first(); !ds->eof(); ds->next()) QVERIFY(ds->value(QStringLiteral("NPROIZVODSTVO")).toInt() > 0);
}

void TstDataModules::titleAndSpecialVatNumber_data()
{
    QTest::addColumn<QString>("imeLogo");
    QTest::addColumn<QString>("bulstat");
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("special");
    const QString fixed = QStringLiteral("ИНФОРМАЦИОННА  СИСТЕМА  ЗА  УПРАВЛЕНИЕ  НА  БИЗНЕСА  !");
    QTest::newRow("no title, no special number") << "" << "BG123" << "" << fixed << false;
    QTest::newRow("own title") << "Моята фирма" << "BG123" << "" << "Моята фирма" << false;
    QTest::newRow("special number") << "" << "BG123" << "BG123" << fixed << true;
    QTest::newRow("differs by letter case") << "" << "bg123" << "BG123" << fixed << false;
}

void TstDataModules::titleAndSpecialVatNumber()
{
    QFETCH(QString, imeLogo);
    QFETCH(QString, bulstat);
    QFETCH(QString, configured);
    QFETCH(QString, caption);
    QFETCH(bool, special);
    if (!configured.isEmpty()) {
        QSettings ini(AppInstances::iniPath(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("installation/special_vat"), configured);
    }
    start(imeLogo, bulstat);
    QCOMPARE(app_->FormNS->windowTitle(), caption);
    QCOMPARE(app_->FormNS->SpecialVatCompany, special);
}

void TstDataModules::counterpartyDeleteTakesPeopleAndBranches()
{
    start();
    const int key = addCounterparty(QStringLiteral("За изтриване"));
    const int other = addCounterparty(QStringLiteral("Остава"));
    TDMNS& dm = *app_->DMNS;
    dm.RefreshKontragenti(1, 100, key);
    QCOMPARE(dm.SmpKontragenti.value(QStringLiteral("NKONTRAGENT")).toInt(), key);
    QCOMPARE(dm.SmpMOLKontr.recordCount(), 1);  // the people of the current counterparty
    dm.SmpKontragenti.remove();
    QCOMPARE(count(QStringLiteral("select count(*) from KONTRAGENTI where NKONTRAGENT = %1").arg(key)), 0);
    QCOMPARE(count(QStringLiteral("select count(*) from MOL where NKONTRAGENT = %1").arg(key)), 0);
    QCOMPARE(count(QStringLiteral("select count(*) from KONTRAGENTI_FILIALI where NKONTRAGENT = %1").arg(key)), 0);
    QCOMPARE(count(QStringLiteral("select count(*) from MOL where NKONTRAGENT = %1").arg(other)), 1);
    QVERIFY(!dm.SmpViewKontr.locate(QStringLiteral("NKONTRAGENT"), {key}));
}

void TstDataModules::refusedCounterpartyDeleteKeepsThem()
{
    start();
    db().executeImmediate(QStringLiteral("create exception E_KEEP 'Контрагентът е защитен'"));
    db().executeImmediate(QStringLiteral("create trigger KONTRAGENTI_KEEP for KONTRAGENTI before delete as begin "
                                         "if (old.IMEKONTRAGENT = 'Защитен') then exception E_KEEP; end"));
    const int key = addCounterparty(QStringLiteral("Защитен"));
    TDMNS& dm = *app_->DMNS;
    dm.RefreshKontragenti(1, 100, key);
    try {
        dm.SmpKontragenti.remove();
        QFAIL("the delete was not refused");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("защитен")), qPrintable(e.message()));
    }
    QCOMPARE(count(QStringLiteral("select count(*) from KONTRAGENTI where NKONTRAGENT = %1").arg(key)), 1);
    QCOMPARE(count(QStringLiteral("select count(*) from MOL where NKONTRAGENT = %1").arg(key)), 1);
    QCOMPARE(count(QStringLiteral("select count(*) from KONTRAGENTI_FILIALI where NKONTRAGENT = %1").arg(key)), 1);
    dm.SmpKontragenti.cancel();  // the refused delete is dropped; the counterparty is listed again
    QVERIFY(dm.SmpKontragenti.locate(QStringLiteral("NKONTRAGENT"), {key}));
}

void TstDataModules::listsStoreEveryEditAtOnce()
{
    start();
    TDMNS& dm = *app_->DMNS;
    dm.SmpVidPlastane.append();
    dm.SmpVidPlastane.setValue(QStringLiteral("VIDPLASTANE"), QStringLiteral("Ваучер"));
    dm.SmpVidPlastane.post();
    QCOMPARE(count(QStringLiteral("select count(*) from VIDPLASTANE where VIDPLASTANE = 'Ваучер'")), 1);
    SmpDataset& positions = app_->DMPers->SmpDlygnosti;
    positions.open();
    positions.append();
    positions.setValue(QStringLiteral("IME_DLYGNOST"), QStringLiteral("Шлосер"));
    positions.post();
    QCOMPARE(count(QStringLiteral("select count(*) from DLYGNOSTI where IME_DLYGNOST = 'Шлосер'")), 1);
    QVERIFY(positions.value(QStringLiteral("KOD_DLYGNOST")).toInt() > 0);  // re-read with its key
}

void TstDataModules::columnsAsShown_data()
{
    QTest::addColumn<QString>("dataset");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::newRow("counterparty discount") << "SmpKontragenti" << "PROCENT_OTST_KONTR" << "% Отст" << "1 012.50";
    QTest::newRow("listed counterparty discount") << "SmpViewKontr" << "PROCENT_OTST_KONTR" << "% Отст" << "1 012.50";
    QTest::newRow("identity card date") << "SmpMOLKontr" << "LK_DATE" << "ЛК дата" << "05.03.24";
    QTest::newRow("identity card number") << "SmpMOLKontr" << "LK_NUM" << "ЛК №" << "АБ123";
}

void TstDataModules::columnsAsShown()
{
    QFETCH(QString, dataset);
    QFETCH(QString, field);
    QFETCH(QString, label);
    QFETCH(QString, text);
    start();
    db().execute(QStringLiteral("update KONTRAGENTI set PROCENT_OTST_KONTR = 1012.5 where NKONTRAGENT = 0"));
    db().execute(QStringLiteral("insert into MOL (NMOL, NKONTRAGENT, IMEMOL, LK_DATE, LK_NUM) "
                                "values (901, 0, 'Иван Петров', '2024-03-05', 'АБ123')"));
    app_->DMNS->RefreshKontragenti(1, 100, 0);
    app_->DMNS->SmpMOLKontr.close();
    app_->DMNS->SmpMOLKontr.open();
    auto* ds = app_->DMNS->findChild<SmpDataset*>(dataset);
    QVERIFY(ds);
    if (dataset == QLatin1String("SmpMOLKontr")) QVERIFY(ds->locate(QStringLiteral("NMOL"), {901}));
    else QVERIFY(ds->locate(QStringLiteral("NKONTRAGENT"), {0}));
    const SmpField* f = ds->fieldByName(field);
    QCOMPARE(f->displayLabel, label);
    QCOMPARE(f->displayText(), text);
}

void TstDataModules::itemListColumnOrder()
{
    // Warehouse and unit beside the number and the name they belong to, the prices after them.
    start();
    SmpDataset& items = app_->DMNS->SmpViewMateriali;
    items.setParam(QStringLiteral("NSKLADOT"), 1);
    items.setParam(QStringLiteral("NSKLADDO"), 1000);
    items.open();
    QStringList shown, hidden;
    for (const SmpField* f : items.fields()) (f->visible ? shown : hidden) << f->displayLabel;
    QCOMPARE(shown, (QStringList{"№ склад", "Склад", "№мат", "Материали, изделия, комплекти", "Мярка", "Ед.цена калк.",
                                 "На едро ЛВ", "На дребно ЛВ", "Прод.ц.USD", "На дребно USD", "Прод.ц.EUR",
                                 "На дребно EUR", "Мин.колич.", "Мак.колич.", "Серия", "Сумарно", "За сумиране"}));
    // The settings tab lists the hidden ones by name too: none by its column name.
    QCOMPARE(hidden, (QStringList{"№ мярка", "Снимка", "Серия (код)", "Сумарно (код)", "За сумиране (код)"}));
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TstDataModules t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_datamodules.moc"
