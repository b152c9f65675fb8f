#include "app/formns.h"
#include "app/instances.h"
#include "data/dmns.h"
#include "platform/ui/application.h"
#include "reference/formnomenklaturi.h"
#include "reference/tabcounterparties.h"
#include "reference/tabitems.h"
#include "platform/widgets/radiogroup.h"
#include "support/recordingui.h"
#include "support/appfixture.h"
#include "support/testdb.h"

#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

// The guarded deletes of the reference data window: for each list, the first guard that finds a
// dependent row blocks the delete with its message; otherwise the question decides.
class TstReferenceGuards : public QObject, protected AppFixture
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void guardedDelete_data();
    void guardedDelete();
    void emptyListsAreTold_data();
    void emptyListsAreTold();

private:
    void click(const QString& button)
    {
        auto* b = form()->findChild<QToolButton*>(button);
        QVERIFY2(b, qPrintable(button));
        QTest::mouseClick(b, Qt::LeftButton);
    }

};

namespace {
const QString kKontrName = QStringLiteral("\"Фирма\" ООД O'Brien");
const QString kMatName = QStringLiteral("Лак O'Brien \"Б\"");
QString blocked(const QString& cause) { return cause + QStringLiteral("\r") + QString(12, u' ') + QStringLiteral("Изтриването е невъзможно !"); }
} // namespace

void TstReferenceGuards::init()
{
    start();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    // The rows each case tries to delete; names with quotes travel as parameters.
    SQLConnection& db = app_->DMNS->SQLConnectNS;
    exec(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"));
    exec(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (2, 'Резервен')"));
    db.execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (500, :N, 1, 1)"),
               {{QStringLiteral("N"), kMatName}});
    exec(QStringLiteral("insert into COUNTRY (KOD_COUNTRY, COUNTRY) values (5, 'Гърция')"));
    exec(QStringLiteral("insert into GRADOVE (POSTKOD, GRAD, KOD_COUNTRY) values (1234, 'Нов град', 1)"));
    exec(QStringLiteral("insert into TIP_KONTRAGENT (NTIP_KONTRAGENT, KONTRAGENT) values (50, 'Нов тип')"));
    db.execute(QStringLiteral("insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (60, 1, :N)"),
               {{QStringLiteral("N"), kKontrName}});
    exec(QStringLiteral("insert into MOL (NKONTRAGENT, IMEMOL) values (60, 'Иван')"));
    exec(QStringLiteral("insert into KONTRAGENTI_FILIALI (NKONTRAGENT, IMEFILIAL) values (60, 'Клон')"));
}

void TstReferenceGuards::cleanup() { stop(); }

void TstReferenceGuards::guardedDelete_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("locate");       // the list and the row to put the cursor on
    QTest::addColumn<QStringList>("fixture");  // dependent rows
    QTest::addColumn<QString>("message");      // the blocking message; empty: the question decides
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("remains");      // counts the row (and what goes with it)

    const QString mat = QStringLiteral("item");
    const QString matLeft = QStringLiteral("select count(*) from MATERIALI where NMATERIAL = 500");
    const QString matEnd = QStringLiteral(", изтриването - НЕВЪЗМОЖНО !");
    const QString matQ = QStringLiteral(" Изтриване на материал ? ");
    QTest::newRow("item: free") << "SpdBtnDelMat" << mat << QStringList() << "" << matQ << matLeft;
    QTest::newRow("item: delivery") << "SpdBtnDelMat" << mat
                                    << QStringList{"insert into SKLAD (NMATERIAL, NKONTRAGENT, KOLICHESTVO) values (500, 60, 1)"}
                                    << "Има доставка от този материал" + matEnd << matQ << matLeft;
    QTest::newRow("item: delivery before recipe")
        << "SpdBtnDelMat" << mat
        << QStringList{"insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (1, 500, 2)",
                       "insert into SKLAD (NMATERIAL, NKONTRAGENT, KOLICHESTVO) values (500, 60, 1)"}
        << "Има доставка от този материал" + matEnd << matQ << matLeft;
    QTest::newRow("item: recipe only")
        << "SpdBtnDelMat" << mat
        << QStringList{"insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (1, 500, 2)"}
        << "Има рецепта с този материал" + matEnd << matQ << matLeft;
    QTest::newRow("item: sold") << "SpdBtnDelMat" << mat
                                << QStringList{"insert into PRODAGBI (NUMPRODAGBA, NKONTRAGENT, NMATERIAL) values ('20260101001', 60, 500)"}
                                << "Има продажба на този материал" + matEnd << matQ << matLeft;
    QTest::newRow("item: special price") << "SpdBtnDelMat" << mat
                                         << QStringList{"insert into KONTR_MAT_CENI (NKONTRAGENT, NMATERIAL, SPEC_CENA) values (0, 500, 1)"}
                                         << "Има специална цена за този материал" + matEnd << matQ << matLeft;
    QTest::newRow("item: workshop product")
        << "SpdBtnDelMat" << mat << QStringList{"insert into TIP_IZDELIE (NPROIZVODSTVO, NMATERIAL_IZDELIE) values (1, 500)"}
        << "Има изделие на цех от този материал" + matEnd << matQ << matLeft;
    QTest::newRow("item: requisition") << "SpdBtnDelMat" << mat
                                       << QStringList{"insert into ISKANIA (NISKANE, NMATERIAL, KOLICHESTVO) values ('20260101001', 500, 1)"}
                                       << "Има искане за този материал" + matEnd << matQ << matLeft;
    QTest::newRow("item: warehouse object")
        << "SpdBtnDelMat" << mat << QStringList{"insert into SKL_OBEKTI_MATERIALI (NSKL_OBEKT, NMATERIAL, POLUCHENO) values (1, 500, 1)"}
        << "Има този материал в складов обект" + matEnd << matQ << matLeft;

    const QString k = QStringLiteral("kontr");
    const QString kLeft = QStringLiteral("select (select count(*) from KONTRAGENTI where NKONTRAGENT = 60) + "
                                         "(select count(*) from MOL where NKONTRAGENT = 60) + "
                                         "(select count(*) from KONTRAGENTI_FILIALI where NKONTRAGENT = 60) from rdb$database");
    const QString kEnd = QStringLiteral(" този контрагент, изтриването - НЕВЪЗМОЖНО !");
    const QString kQ = QStringLiteral(" Изтриване на контрагент ? ");
    const QString sale = QStringLiteral("insert into PRODAGBI (NUMPRODAGBA, NKONTRAGENT, NMATERIAL) values ('20260101001', 60, 500)");
    const QString delivery = QStringLiteral("insert into SKLAD (NMATERIAL, NKONTRAGENT, KOLICHESTVO) values (500, 60, 1)");
    QTest::newRow("kontr: free, people and branches go too") << "SpdBtnDelKontragent" << k << QStringList() << "" << kQ << kLeft;
    QTest::newRow("kontr: sale") << "SpdBtnDelKontragent" << k << QStringList{sale} << "Има продажба на" + kEnd << kQ << kLeft;
    QTest::newRow("kontr: sale before delivery")
        << "SpdBtnDelKontragent" << k << QStringList{delivery, sale} << "Има продажба на" + kEnd << kQ << kLeft;
    QTest::newRow("kontr: sale payment")
        << "SpdBtnDelKontragent" << k << QStringList{"insert into PRODAGBI_PLASTANE (NKONTRAGENT, PLASTANE_SUMA) values (60, 1)"}
        << "Има плащане от" + kEnd << kQ << kLeft;
    QTest::newRow("kontr: delivery") << "SpdBtnDelKontragent" << k << QStringList{delivery} << "Има доставка от" + kEnd << kQ << kLeft;
    QTest::newRow("kontr: delivery payment")
        << "SpdBtnDelKontragent" << k << QStringList{"insert into DOSTAVKI_PLASTANE (NKONTRAGENT, PLATENO_LV) values (60, 1)"}
        << "Има плащане към" + kEnd << kQ << kLeft;
    QTest::newRow("kontr: special price")
        << "SpdBtnDelKontragent" << k << QStringList{"insert into KONTR_MAT_CENI (NKONTRAGENT, NMATERIAL, SPEC_CENA) values (60, 500, 1)"}
        << "Има специални цени на" + kEnd << kQ << kLeft;
    QTest::newRow("kontr: packaging returned")
        << "SpdBtnDelKontragent" << k << QStringList{"insert into AMB_DOST_FIRMA (NKONTRAGENT, NAMBALAG, BROI_AMB) values (60, 1, 1)"}
        << "Има амбалаж на" + kEnd << kQ << kLeft;
    QTest::newRow("kontr: defective goods claim")
        << "SpdBtnDelKontragent" << k << QStringList{"insert into SKLAD (AUTONUM, NMATERIAL, NKONTRAGENT, KOLICHESTVO) values (900, 500, 0, 5)",
                                                     "insert into SKLAD_DOST_BRAK (AUTONUM_SKLAD, NMATERIAL, NKONTRAGENT, NKONTR_BRAK, KOLICH_BRAK) values (900, 500, 0, 60, 1)"}
        << "Има брак към" + kEnd << kQ << kLeft;
    QTest::newRow("kontr: order")
        << "SpdBtnDelKontragent" << k << QStringList{"insert into PORYCHKI (AUTONUM_NPORYCHKA, NKONTRAGENT) values (1, 60)"}
        << "Има поръчка на" + kEnd << kQ << kLeft;

    const QString town = QStringLiteral("town");
    const QString townLeft = QStringLiteral("select count(*) from GRADOVE where POSTKOD = 1234");
    const QString placeQ = QStringLiteral(" Потвърдете за изтриване ! ");
    QTest::newRow("town: free") << "SpdBtnDelGrad" << town << QStringList() << "" << placeQ << townLeft;
    QTest::newRow("town: counterparty") << "SpdBtnDelGrad" << town
                                        << QStringList{"update KONTRAGENTI set POSTKOD = 1234 where NKONTRAGENT = 60"}
                                        << blocked("Има контрагенти свързани с това населено място!") << placeQ << townLeft;
    QTest::newRow("town: company") << "SpdBtnDelGrad" << town << QStringList{"update FIRMA set POSTKOD = 1234"}
                                   << blocked("Има фирмени данни свързани с това населено място!") << placeQ << townLeft;
    QTest::newRow("town: office") << "SpdBtnDelGrad" << town << QStringList{"update FIRMA_OFISI set POSTKOD = 1234"}
                                  << blocked("Има офиси на фирмата свързани с това населено място!") << placeQ << townLeft;
    QTest::newRow("town: staff") << "SpdBtnDelGrad" << town
                                 << QStringList{"insert into PERSONAL (IME, POST_KOD_RPU) values ('Мария', 1234)"}
                                 << blocked("Има персонал свързан с това населено място!") << placeQ << townLeft;

    const QString country = QStringLiteral("country");
    const QString countryLeft = QStringLiteral("select count(*) from COUNTRY where KOD_COUNTRY = 5");
    QTest::newRow("country: free") << "SpdBtnDelCountry" << country << QStringList() << "" << placeQ << countryLeft;
    QTest::newRow("country: counterparty") << "SpdBtnDelCountry" << country
                                           << QStringList{"update KONTRAGENTI set KOD_COUNTRY = 5 where NKONTRAGENT = 60"}
                                           << blocked("Има контрагенти свързани с тази държава!") << placeQ << countryLeft;
    QTest::newRow("country: town") << "SpdBtnDelCountry" << country
                                   << QStringList{"update GRADOVE set KOD_COUNTRY = 5 where POSTKOD = 1234"}
                                   << blocked("Има населени места свързани с тази държава!") << placeQ << countryLeft;

    const QString type = QStringLiteral("type");
    const QString typeLeft = QStringLiteral("select count(*) from TIP_KONTRAGENT where NTIP_KONTRAGENT = 50");
    QTest::newRow("type: free") << "SpdBtnDelTipKontr" << type << QStringList() << "" << placeQ << typeLeft;
    QTest::newRow("type: counterparty") << "SpdBtnDelTipKontr" << type
                                        << QStringList{"update KONTRAGENTI set NTIP_KONTRAGENT = 50 where NKONTRAGENT = 60"}
                                        << blocked("Има контрагенти свързани с тази тип!") << placeQ << typeLeft;

    const QString sklad = QStringLiteral("warehouse");
    const QString skladLeft = QStringLiteral("select count(*) from TIP_SKLAD where NSKLAD = 2");
    const QString skladQ = QStringLiteral(" Изтриване на Склад ? ");
    QTest::newRow("warehouse: free") << "SpdBtnDelSklad" << sklad << QStringList() << "" << skladQ << skladLeft;
    QTest::newRow("warehouse: items") << "SpdBtnDelSklad" << sklad
                                      << QStringList{"update MATERIALI set NSKLAD = 2 where NMATERIAL = 500"}
                                      << "Има материали в този склад! Изтриването е невъзможно !" << skladQ << skladLeft;

    const QString unit = QStringLiteral("unit");
    const QString unitLeft = QStringLiteral("select count(*) from MIARKA where NMIARKA = 9");
    const QString unitQ = QStringLiteral(" Изтриване на Мярка ? ");
    QTest::newRow("unit: free") << "SpdBtnDelMka" << unit << QStringList() << "" << unitQ << unitLeft;
    QTest::newRow("unit: items") << "SpdBtnDelMka" << unit << QStringList{"update MATERIALI set NMIARKA = 9 where NMATERIAL = 500"}
                                 << "Има материали с тази мярка ! Изтриването е невъзможно !" << unitQ << unitLeft;
}

void TstReferenceGuards::guardedDelete()
{
    QFETCH(QString, button);
    QFETCH(QString, locate);
    QFETCH(QStringList, fixture);
    QFETCH(QString, message);
    QFETCH(QString, question);
    QFETCH(QString, remains);
    for (const QString& sql : fixture) exec(sql);
    TDMNS& dm = *app_->DMNS;
    form()->show();
    form()->TabSheet1->RdGrpIzbSklMat->click(0);  // every warehouse
    for (SmpDataset* ds : {&dm.SmpGrad, &dm.SmpCountry, &dm.SmpTipKontragent, &dm.SmpTipSklad, &dm.SmpMiarka}) ds->refresh();
    form()->TabSheet2->RefreshKontragentiLists(60);
    struct Target { SmpDataset* ds; const char* field; QVariant key; };
    const QMap<QString, Target> targets = {
        {"item", {&dm.SmpViewMateriali, "NMATERIAL", 500}}, {"kontr", {&dm.SmpViewKontr, "NKONTRAGENT", 60}},
        {"town", {&dm.SmpGrad, "POSTKOD", 1234}},           {"country", {&dm.SmpCountry, "KOD_COUNTRY", 5}},
        {"type", {&dm.SmpTipKontragent, "NTIP_KONTRAGENT", 50}}, {"warehouse", {&dm.SmpTipSklad, "NSKLAD", 2}},
        {"unit", {&dm.SmpMiarka, "NMIARKA", 9}}};
    const Target t = targets.value(locate);
    QVERIFY(t.ds->locate(QString::fromLatin1(t.field), {t.key}));
    const int before = count(remains);
    QVERIFY(before > 0);

    if (!message.isEmpty()) {
        click(button);
        QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{message});
        QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList());
        QCOMPARE(count(remains), before);
        return;
    }
    ui_->answers = {false};
    click(button);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList{question});
    QCOMPARE(count(remains), before);  // nothing after No
    QVERIFY(t.ds->locate(QString::fromLatin1(t.field), {t.key}));
    ui_->answers = {true};
    click(button);
    QCOMPARE(count(remains), 0);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QVERIFY(!t.ds->locate(QString::fromLatin1(t.field), {t.key}));  // the list no longer shows it
}

void TstReferenceGuards::emptyListsAreTold_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("delete item") << "SpdBtnDelMat" << "Липстват материали !";
    QTest::newRow("edit item") << "SpdBtnRedakciaMat" << "Липсват данни за корекция !";
    QTest::newRow("edit price") << "SpdBtnSpCMatUpd" << "Липстват записи за корекция !";
    QTest::newRow("delete price") << "SpdBtnSpCMatDel" << "Липстват записи за изтриване !";
}

void TstReferenceGuards::emptyListsAreTold()
{
    QFETCH(QString, button);
    QFETCH(QString, message);
    form()->show();  // "По избор" with no warehouse picked: warehouse 0, no items
    QCOMPARE(app_->DMNS->SmpViewMateriali.recordCount(), 0);
    click(button);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{message});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList());
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList());
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TstReferenceGuards t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_reference_guards.moc"
