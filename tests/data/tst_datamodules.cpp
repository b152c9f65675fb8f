#include "app/formns.h"
#include "app/instances.h"
#include "data/dmns.h"
#include "data/dmpers.h"
#include "data/dmsklobekti.h"
#include "platform/db/dberror.h"
#include "platform/ui/application.h"
#include "payments/formrazplastania.h"
#include "payments/tabrazpl.h"
#include "warehouse/formsklad.h"
#include "support/recordingui.h"
#include "support/testdb.h"

#include <QAction>
#include <QLabel>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <climits>

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
    void warehouseObjectColumns_data();
    void warehouseObjectColumns();
    void warehouseObjectValues_data();
    void warehouseObjectValues();

private:
    int count(const QString& sql) { return db().query(sql).rows.front()[0].toInt(); }
    SQLConnection& db() { return app_->DMNS->SQLConnectNS; }
    void start(const QString& imeLogo = {}, const QString& bulstat = {});
    int addCounterparty(const QString& name);
    // An object line of 1500 received under receipt 1234 at 1234.567, 10 of it passed on to a second
    // object under 1235 and 255.5 sold: 1234.5 on hand.
    void objectLines();
    // The list opened as the windows open it with "Всички": empty bounds of objects, articles and
    // dates, the company stock over every warehouse and material number.
    SmpDataset* openObjectList(const QString& name);

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
    QCOMPARE(app_->FormRazplastania->TabSheet3->BitBtnSaldaKlienti->text(),
             special ? QStringLiteral("Салда на клиенти-Дамул") : QStringLiteral("Салда на клиенти"));
    QCOMPARE(app_->FormSklad->N7->text().endsWith(QStringLiteral(" - Дамул")), special);
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

void TstDataModules::objectLines()
{
    for (const char* sql : {"insert into TIP_SKLAD (NSKLAD, SKLAD, SKL_OBEKT_DA_NE) values (1, 'Основен', 1)",
                            "insert into TIP_SKL_OBEKT (NSKL_OBEKT, IME_SKL_OBEKT) values (1, 'Магазин Център')",
                            "insert into TIP_SKL_OBEKT (NSKL_OBEKT, IME_SKL_OBEKT) values (2, 'Магазин Изток')",
                            "insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA) "
                            "values (500, 'Болт', 1, 1, 3)"})
        db().execute(QString::fromUtf8(sql));
    db().executeProcedure(QStringLiteral("ADDDOSTAVKA"),
                          {{QStringLiteral("NMATERIAL"), 500}, {QStringLiteral("KOLICHESTVO"), 2000.0},
                           {QStringLiteral("ED_CENA_LV"), 1.5}, {QStringLiteral("DATEPOLUCHENO"), QDate(2026, 6, 1)},
                           {QStringLiteral("NKONTRAGENT"), 0}, {QStringLiteral("NFAKTURA"), QStringLiteral("F1")},
                           {QStringLiteral("DATEFAKTURA"), QDate(2026, 6, 1)}});
    const auto transfer = [this](const char* procedure, int target, int number, double quantity, int source) {
        const QString from = QString::fromLatin1(qstrcmp(procedure, "SKLAD_SKLOB_MAT_ZAPIS") == 0 ? "NSKLAD_IZTOCHNIK"
                                                                                               : "NSKL_OBEKT_IZTOCHNIK");
        db().executeProcedure(QString::fromLatin1(procedure),
                              {{QStringLiteral("NSKL_OBEKT"), target}, {QStringLiteral("NUM_SKL_RAZP"), number},
                               {QStringLiteral("NUMMATERIAL"), 500}, {QStringLiteral("BROI_MAT_ART"), quantity},
                               {QStringLiteral("DOSTCENA"), 1234.567}, {QStringLiteral("DATEPOLUCHENO"), QDate(2026, 6, 2)},
                               {from, source}, {QStringLiteral("NMOL_FIRMA"), 0}});
    };
    transfer("SKLAD_SKLOB_MAT_ZAPIS", 1, 1234, 1500, 1);
    transfer("SKLOB_SKLOB_MAT_ZAPIS", 2, 1235, 10, 1);
    db().selectProcedure(QStringLiteral("SKLOB_MAT_PROD_ZAPIS"),
                         {{QStringLiteral("NSKL_OBEKT"), 1}, {QStringLiteral("NUMPRODAGBA"), QStringLiteral("20260605001")},
                          {QStringLiteral("NUMMATERIAL"), 500}, {QStringLiteral("BROI_MAT_PROD"), 255.5},
                          {QStringLiteral("IDOK_AUTONUM"), 1}});
}

SmpDataset* TstDataModules::openObjectList(const QString& name)
{
    auto* ds = app_->DMSklObekti->findChild<SmpDataset*>(name);
    if (!ds) return nullptr;
    for (const char* p : {"NSKLOBEKT_OT", "NSKLOBEKT_DO", "NSKLOBEKT", "NMATERIALOT", "NMATERIALDO", "DATEOT", "DATEDO"})
        ds->setParam(QString::fromLatin1(p), QVariant());
    if (name == QLatin1String("SmpProdSkladNalich")) {
        ds->setParam(QStringLiteral("SKLADOT"), SHRT_MIN);
        ds->setParam(QStringLiteral("SKLADDO"), SHRT_MAX);
        ds->setParam(QStringLiteral("NMATERIALOT"), INT_MIN);
        ds->setParam(QStringLiteral("NMATERIALDO"), INT_MAX);
    }
    ds->open();
    return ds;
}

// The warehouse-object lists: their source and the columns they show, in order.
void TstDataModules::warehouseObjectColumns_data()
{
    QTest::addColumn<QString>("dataset");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("shown");
    const QString received = QStringLiteral(
        "ED_CENA_LV,OBSTA_CENA_LV,PRODAGNA_CENA,PROD_CENA_LV_DREBNO,OBSTA_CENA_PROD_LV,"
        "USD,OBSTA_CENA_USD,PRODAGNA_CENA_USD,PROD_CENA_USD_DREBNO,OBSTA_CENA_PROD_USD,"
        "EUR,OBSTA_CENA_EUR,PRODAGNA_CENA_EUR,PROD_CENA_EUR_DREBNO,OBSTA_CENA_PROD_EUR,"
        "NFAKTURA,DATEFAKTURA,IMEKONTRAGENT,IMEMOLFIRMA");
    QTest::newRow("on hand") << "SmpSklObNalich" << "SKLADOBEKTNALICH"
                             << "NUM_SKL_RAZP,IMESKL_OBEKT,SKLAD_VHOD_IME,IMEMATERIAL,MIARKA_BG,NALICHNO,POLUCHENO,"
                                "EKSPEDIRANO,PRODADENO,ED_CENA_LV,PRODAGNA_CENA,PROD_CENA_LV_DREBNO,USD,"
                                "PROD_CENA_USD_DREBNO,EUR,PROD_CENA_EUR_DREBNO,OBSTA_CENA_LV,OBSTA_CENA_USD,"
                                "OBSTA_CENA_EUR,OBSTA_CENA_PROD_LV,OBSTA_CENA_PROD_USD,OBSTA_CENA_PROD_EUR,"
                                "OBSTA_CENA_PROD_LV_DREBNO,OBSTA_CENA_PROD_USD_DREBNO,OBSTA_CENA_PROD_EUR_DREBNO,"
                                "DATEPOLUCHENO,IMEMOLFIRMA";
    QTest::newRow("received") << "SmpSklObPolucheno" << "SKLADOBEKTPOLUCHENO"
                              << "NUM_SKL_RAZP,IMESKL_OBEKT,SKLAD_VHOD_IME,IMEMATERIAL,MIARKA_BG,DATEPOLUCHENO,POLUCHENO,"
                                     + received;
    QTest::newRow("dispatched") << "SmpSklObEkspedirano" << "SKLADOBEKTEKSPEDIRANO"
                                << "NUM_SKL_RAZP,IMESKL_OBEKT,IMEMATERIAL,MIARKA_BG,DATEPOLUCHENO,POLUCHENO," + received;
    QTest::newRow("sold") << "SmpSklObProdadeno" << "SKLADOBEKTPRODADENO"
                          << "NUM_SKL_RAZP,IMESKL_OBEKT,IMEMATERIAL,MIARKA_BG,DATEPOLUCHENO,PRODADENO," + received;
    QTest::newRow("movement") << "SmpSklObDvigenie" << "SKLADOBEKTDVIGENIE"
                              << "NUM_SKL_RAZP,IMESKL_OBEKT,IMEMATERIAL,MIARKA_BG,DATEPOLUCHENO,POLUCHENO,PRODADENO,"
                                 "EKSPEDIRANO,NALICHNO,ED_CENA_LV,PRODAGNA_CENA,PROD_CENA_LV_DREBNO,USD,"
                                 "PRODAGNA_CENA_USD,PROD_CENA_USD_DREBNO,EUR,PRODAGNA_CENA_EUR,PROD_CENA_EUR_DREBNO,"
                                 "OBSTA_CENA_LV,OBSTA_CENA_USD,OBSTA_CENA_EUR,OBSTA_CENA_PROD_LV,OBSTA_CENA_PROD_EUR,"
                                 "OBSTA_CENA_PROD_USD,NFAKTURA,DATEFAKTURA,IMEKONTRAGENT,IMEMOLFIRMA";
    QTest::newRow("articles") << "SmpViewMatSklOb" << "VIEWMAT_SKLOBEKT" << "NSKLAD,NMATERIAL,IMEMATERIAL";
    QTest::newRow("company stock") << "SmpProdSkladNalich" << "SKLADNALICH"
                                   << "SKLAD,IMEMATERIAL,MIARKA_BG,NALICHNOST,KOLICHESTVO,SUMMAT_SKLOB,SUMMAT_PRODAGBI,"
                                      "ED_CENA_LV,PRODAGNA_CENA,DATEPOLUCHENO,NFAKTURA,IMEKONTRAGENT,SumNalichnost";
    QTest::newRow("transfer list") << "SmpSklObTemp" << "SKL_OBEKTI_TEMP"
                                   << "AUTONUM_UNDO,ImeMaterial,KOLICHESTVO,DOSTCENA,NALICHNO,POLUCHENO,OT_SKLAD,V_SKLAD,"
                                      "NSKL_RAZP_VHOD,PROD_EKSP,CenaObsto,SumCenaObsto";
}

void TstDataModules::warehouseObjectColumns()
{
    QFETCH(QString, dataset);
    QFETCH(QString, source);
    QFETCH(QString, shown);
    start();
    objectLines();
    SmpDataset* ds = openObjectList(dataset);
    QVERIFY(ds);
    QVERIFY(ds->tableName() == source || ds->commandText().contains(source));
    if (dataset != QLatin1String("SmpSklObTemp")) QVERIFY(ds->recordCount() > 0);
    QStringList visible;
    for (const SmpField* f : ds->fields())
        if (f->visible) visible << f->fieldName();
    QCOMPARE(visible.join(u','), shown);
}

// Labels and display formats: quantities and totals "# ### ##0.00", receipt numbers "# ###" (plain
// in the on-hand view), unit prices "# ##0.00" (delivery prices "# ### ##0.000" on hand), dates "dd.mm.yy".
void TstDataModules::warehouseObjectValues_data()
{
    QTest::addColumn<QString>("dataset");
    QTest::addColumn<int>("object");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::newRow("on hand") << "SmpSklObNalich" << 1 << "NALICHNO" << "Налично" << "1 234.50";
    QTest::newRow("on hand receipt") << "SmpSklObNalich" << 1 << "NUM_SKL_RAZP" << "№ск.р." << "1234";
    QTest::newRow("on hand delivery price") << "SmpSklObNalich" << 1 << "ED_CENA_LV" << "Дост.ц.лв." << "1 234.567";
    QTest::newRow("on hand value") << "SmpSklObNalich" << 1 << "OBSTA_CENA_PROD_LV" << "Общо едро лв." << "3 703.50";
    QTest::newRow("on hand name") << "SmpSklObNalich" << 1 << "IMEMATERIAL" << "Наименование" << "Болт";
    QTest::newRow("on hand date") << "SmpSklObNalich" << 1 << "DATEPOLUCHENO" << "Получено" << "02.06.26";
    QTest::newRow("on hand source") << "SmpSklObNalich" << 2 << "SKLAD_VHOD_IME" << "Получено от" << "Магазин Център";
    QTest::newRow("received receipt") << "SmpSklObPolucheno" << 1 << "NUM_SKL_RAZP" << "№ск.р." << "1 234";
    QTest::newRow("received price") << "SmpSklObPolucheno" << 1 << "ED_CENA_LV" << "Дост.ц.лв." << "1 234.57";
    QTest::newRow("received quantity") << "SmpSklObPolucheno" << 1 << "POLUCHENO" << "Получено" << "1 500.00";
    QTest::newRow("received name") << "SmpSklObPolucheno" << 1 << "IMEMATERIAL" << "Материал / артикул" << "Болт";
    QTest::newRow("dispatched to") << "SmpSklObEkspedirano" << 2 << "IMESKL_OBEKT" << "Експедирано на" << "Магазин Изток";
    QTest::newRow("sold") << "SmpSklObProdadeno" << 1 << "PRODADENO" << "Продадено" << "255.50";
    QTest::newRow("sold object") << "SmpSklObProdadeno" << 1 << "IMESKL_OBEKT" << "Складов обект" << "Магазин Център";
    QTest::newRow("movement dispatched") << "SmpSklObDvigenie" << 1 << "EKSPEDIRANO" << "Експедирано" << "10.00";
    QTest::newRow("movement date") << "SmpSklObDvigenie" << 2 << "DATEPOLUCHENO" << "Дата" << "02.06.26";
}

void TstDataModules::warehouseObjectValues()
{
    QFETCH(QString, dataset);
    QFETCH(int, object);
    QFETCH(QString, field);
    QFETCH(QString, label);
    QFETCH(QString, text);
    start();
    objectLines();
    SmpDataset* ds = openObjectList(dataset);
    QVERIFY(ds);
    QVERIFY(ds->locate(QStringLiteral("NSKL_OBEKT"), {object}));
    const SmpField* f = ds->fieldByName(field);
    QCOMPARE(f->displayLabel, label);
    QCOMPARE(f->displayText(), text);
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TstDataModules t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_datamodules.moc"
