#include "reference/counterparties.h"
#include "reference/materials.h"
#include "reference/places.h"
#include "support/dbfixture.h"

#include <QCoreApplication>

// The reference data's stores, checks and delete guards, without a window.
class TstReferenceData : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { f_.stop(); }
    void itemStoredNewThenCorrected();
    void deleteRefusals_data();
    void deleteRefusals();
    void itemAndSpecialPriceRemoved();

private:
    DbFixture f_;
};

void TstReferenceData::init()
{
    f_.start();
    f_.exec(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"));
    f_.exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (500, 'Болт', 1, 1)"));
    f_.exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (501, 'Шайба', 1, 2)"));
    f_.exec(QStringLiteral("insert into COUNTRY (KOD_COUNTRY, COUNTRY) values (5, 'Гърция')"));
    f_.exec(QStringLiteral("insert into GRADOVE (POSTKOD, GRAD, KOD_COUNTRY) values (1234, 'Нов град', 5)"));
    f_.exec(QStringLiteral("insert into TIP_KONTRAGENT (NTIP_KONTRAGENT, KONTRAGENT) values (50, 'Нов тип')"));
    f_.exec(QStringLiteral("insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (60, 50, 'Фирма')"));
}

void TstReferenceData::itemStoredNewThenCorrected()
{
    SQLConnection& db = f_.db();
    QVERIFY(Materials::nameInUse(db, QStringLiteral("Болт")));
    QVERIFY(!Materials::nameInUse(db, QStringLiteral("Винт 4x40")));
    QVariantMap item = {{"IMEMATERIAL", "Винт 4x40"}, {"NMIARKA", 1}, {"NSKLAD", 1}, {"ED_CENA", "0.07"},
                        {"PRODAGNACENA", QVariant()}, {"SNIMKA", QByteArray("\x89PNG", 4)}};
    Materials::store(db, item);
    QVERIFY(Materials::nameInUse(db, QStringLiteral("Винт 4x40")));
    const int key = f_.count(QStringLiteral("select NMATERIAL from MATERIALI where IMEMATERIAL = 'Винт 4x40'"));
    QVERIFY(key > 0);
    // Values as typed: the price a number, the empty price empty, the picture its bytes.
    DbResult r = db.query(QStringLiteral("select ED_CENA, PRODAGNA_CENA, SNIMKA from MATERIALI where NMATERIAL = :K"),
                          {{QStringLiteral("K"), key}});
    QCOMPARE(r.rows.front()[0].toDouble(), 0.07);
    QVERIFY(r.rows.front()[1].isNull());
    QCOMPARE(r.rows.front()[2].toByteArray(), QByteArray("\x89PNG", 4));

    item[QStringLiteral("IMEMATERIAL")] = QStringLiteral("Винт 4x45");
    item[QStringLiteral("PRODAGNACENA")] = 0.12;
    Materials::store(db, item, key);
    QCOMPARE(f_.count(QStringLiteral("select count(*) from MATERIALI where IMEMATERIAL starting 'Винт'")), 1);
    r = db.query(QStringLiteral("select IMEMATERIAL, PRODAGNA_CENA from MATERIALI where NMATERIAL = :K"),
                 {{QStringLiteral("K"), key}});
    QCOMPARE(r.rows.front()[0].toString(), QStringLiteral("Винт 4x45"));
    QCOMPARE(r.rows.front()[1].toDouble(), 0.12);
}

void TstReferenceData::deleteRefusals_data()
{
    QTest::addColumn<QString>("setup");  // a statement that makes a row keep the deleted one; empty: none
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("refusal");
    const QString line = QStringLiteral("\r") + QString(12, u' ') + QStringLiteral("Изтриването е невъзможно !");
    QTest::newRow("free item") << "" << "item" << 501 << "";
    QTest::newRow("item in a recipe")
        << "insert into IZDELIE_RECEPTA (AUTONUM, NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (1, 1, 500, 2)" << "item"
        << 500 << "Има рецепта с този материал, изтриването - НЕВЪЗМОЖНО !";
    QTest::newRow("item with a special price")
        << "insert into KONTR_MAT_CENI (AUTONUM, NKONTRAGENT, NMATERIAL, SPEC_CENA) values (1, 60, 500, 1.5)" << "item"
        << 500 << "Има специална цена за този материал, изтриването - НЕВЪЗМОЖНО !";
    QTest::newRow("counterparty with a special price")
        << "insert into KONTR_MAT_CENI (AUTONUM, NKONTRAGENT, NMATERIAL, SPEC_CENA) values (1, 60, 500, 1.5)"
        << "counterparty" << 60 << "Има специални цени на този контрагент, изтриването - НЕВЪЗМОЖНО !";
    QTest::newRow("free counterparty") << "" << "counterparty" << 60 << "";
    QTest::newRow("warehouse with items") << "" << "warehouse" << 1 << "Има материали в този склад! Изтриването е невъзможно !";
    QTest::newRow("unit of an item") << "" << "unit" << 2 << "Има материали с тази мярка ! Изтриването е невъзможно !";
    QTest::newRow("unit of none") << "" << "unit" << 7 << "";
    QTest::newRow("country of a town") << "" << "country" << 5
                                       << QStringLiteral("Има населени места свързани с тази държава!") + line;
    QTest::newRow("town of a counterparty") << "update KONTRAGENTI set POSTKOD = 1234 where NKONTRAGENT = 60" << "town"
                                            << 1234 << QStringLiteral("Има контрагенти свързани с това населено място!") + line;
    QTest::newRow("free town") << "" << "town" << 1234 << "";
    QTest::newRow("type of a counterparty") << "" << "type" << 50
                                            << QStringLiteral("Има контрагенти свързани с тази тип!") + line;
}

void TstReferenceData::deleteRefusals()
{
    QFETCH(QString, setup);
    QFETCH(QString, what);
    QFETCH(int, key);
    QFETCH(QString, refusal);
    if (!setup.isEmpty()) f_.exec(setup);
    using Refusal = QString (*)(SQLConnection&, const QVariant&);
    const QHash<QString, Refusal> guards = {
        {"item", Materials::deleteRefusal},
        {"counterparty", Counterparties::deleteRefusal},
        {"warehouse", ReferenceLists::warehouseDeleteRefusal},
        {"unit", ReferenceLists::unitDeleteRefusal},
        {"country", ReferenceLists::countryDeleteRefusal},
        {"town", ReferenceLists::townDeleteRefusal},
        {"type", ReferenceLists::counterpartyTypeDeleteRefusal},
    };
    QCOMPARE(guards.value(what)(f_.db(), key), refusal);
}

void TstReferenceData::itemAndSpecialPriceRemoved()
{
    f_.exec(QStringLiteral("insert into KONTR_MAT_CENI (AUTONUM, NKONTRAGENT, NMATERIAL, SPEC_CENA) values (7, 60, 500, 1.5)"));
    Counterparties::removeSpecialPrice(f_.db(), 7);
    QCOMPARE(f_.count(QStringLiteral("select count(*) from KONTR_MAT_CENI")), 0);
    QCOMPARE(Materials::deleteRefusal(f_.db(), 500), QString());
    Materials::remove(f_.db(), 500);
    QCOMPARE(f_.count(QStringLiteral("select count(*) from MATERIALI where NMATERIAL in (500, 501)")), 1);
}

QTEST_GUILESS_MAIN(TstReferenceData)
#include "tst_reference_data.moc"
