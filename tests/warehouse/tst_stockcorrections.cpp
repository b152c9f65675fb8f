#include "data/dmsklad.h"
#include "platform/base/clock.h"
#include "platform/dataset/smpdataset.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/radiogroup.h"
#include "support/appfixture.h"
#include "support/typing.h"
#include "warehouse/deliveries.h"
#include "warehouse/formdostavkakorekcia.h"
#include "warehouse/formsklad.h"
#include "warehouse/formskldostbrak.h"
#include "warehouse/formupddostcena.h"
#include "warehouse/stocklines.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

// The correction, delivery price and defective-goods windows opened from the stock window and
// driven by their controls over a real database.
class TstStockCorrections : public QObject, protected AppFixture
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void correctsOneOfTwoLinesOfAMaterial();
    void correctionKeepsWhatLeftTheLine_data();
    void correctionKeepsWhatLeftTheLine();
    void correctionOfOwnProduction();
    void correctionExpiryDate();
    void deliveryPricesOnly();
    void defectClaimLeavesTheLineUntilDeleted();
    void defectClaimRules_data();
    void defectClaimRules();
    void serverFailureKeepsWhatWasTyped();

private:
    TFormSklad* sklad() { return app_->FormSklad; }
    TFormDostavkaKorekcia* korekcia() { return app_->FormDostavkaKorekcia; }
    TFormSklDostBrak* brak() { return app_->FormSklDostBrak; }
    SmpDataset& stock() { return app_->DMSklad->SmpSklNalich; }
    QVector<int> deliver(const QString& document, const QVector<Deliveries::Line>& lines);
    static Deliveries::Line line(double quantity, double priceLv, double priceEur = 0);
    void showAll();
    void pick(int key) { stock().moveTo(stock().find(QStringLiteral("AUTONUM"), {key})); }
    QVariant column(int key, const char* name)
    {
        return db().query(QStringLiteral("select %1 from SKLAD where AUTONUM = :K").arg(QLatin1String(name)),
                          {{QStringLiteral("K"), key}}).rows.front()[0];
    }
    void outflow(int key, int kind, double quantity)
    {
        db().execute(QStringLiteral("insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO) values (:K, :V, :Q)"),
                     {{QStringLiteral("K"), key}, {QStringLiteral("V"), kind}, {QStringLiteral("Q"), quantity}});
    }
    // The claim dialog for the current stock row, the supplier chosen in the stock window.
    void openClaim();
};

void TstStockCorrections::init()
{
    start();
    Clock::setFixed(QDateTime(QDate(2026, 6, 10), QTime(9, 0)));
    exec(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"));
    exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA) values (500, 'Болт', 1, 1, 2)"));
    exec(QStringLiteral("insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (60, 2, 'Доставчик А')"));
}

void TstStockCorrections::cleanup()
{
    Clock::reset();
    stop();
}

Deliveries::Line TstStockCorrections::line(double quantity, double priceLv, double priceEur)
{
    Deliveries::Line l;
    l.material = 500;
    l.quantity = quantity;
    l.priceLv = priceLv;
    l.priceEur = priceEur;
    return l;
}

QVector<int> TstStockCorrections::deliver(const QString& document, const QVector<Deliveries::Line>& lines)
{
    Deliveries::Header h;
    h.supplier = 60;
    h.document = document;
    h.documentDate = QDate(2026, 6, 1);
    h.received = QDate(2026, 6, 2);
    return Deliveries::save(db(), h, lines, {}).lineKeys;
}

void TstStockCorrections::showAll()
{
    sklad()->show();
    sklad()->RdGrpIzbSklad->click(0);
    sklad()->RdGrpIzbMaterial->click(0);
}

void TstStockCorrections::openClaim()
{
    sklad()->RdGrpKontrDaNeDostav->click(1);
    chooseInList(sklad()->DBLkpCmBoxTipKontrDost, QStringLiteral("Доставчици"));
    chooseInList(sklad()->DBLkpCmBoxKontrDostav, QStringLiteral("Доставчик А"));
    QVERIFY(sklad()->BitBtnNewDostBrak->isEnabled());
    clickButton(sklad(), QStringLiteral("BitBtnNewDostBrak"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList{QStringLiteral("FormSklDostBrak")});
}

void TstStockCorrections::correctsOneOfTwoLinesOfAMaterial()
{
    const QVector<int> keys = deliver(QStringLiteral("F1"), {line(10, 2), line(4, 2.5)});
    // First showing: no material chosen, nothing listed, nothing to correct.
    sklad()->show();
    clickButton(sklad(), QStringLiteral("SpdBtnRedakcia"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{QStringLiteral("Липстват данни за КОРЕКЦИЯ !  ")});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList());
    ui_->clear();
    showAll();
    pick(keys[1]);
    clickButton(sklad(), QStringLiteral("SpdBtnRedakcia"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList{QStringLiteral("FormDostavkaKorekcia")});
    QCOMPARE(korekcia()->mode(), TFormDostavkaKorekcia::Mode::Delivery);
    // The line's own values, not zeros nor those of the other line of the material.
    QCOMPARE(korekcia()->EditKolichestvo->text(), QStringLiteral("4.000"));
    QCOMPARE(korekcia()->EditEdCenaLV->text(), QStringLiteral("2.500"));
    QCOMPARE(korekcia()->EditEdCenaEUR->text(), QStringLiteral("0.000"));
    QCOMPARE(korekcia()->LbMat->text(), QStringLiteral("Болт"));
    QCOMPARE(korekcia()->LbDostav->text(), QStringLiteral("Доставчик А"));
    QVERIFY(korekcia()->EditKolichestvo->isEnabled());
    QVERIFY(!korekcia()->EditKomis->isEnabled());

    // Letters are not taken.
    korekcia()->EditKolichestvo->clear();
    typeText(korekcia()->EditKolichestvo, QStringLiteral("6x"));
    QCOMPARE(korekcia()->EditKolichestvo->text(), QStringLiteral("6"));
    korekcia()->EditEdCenaLV->setText(QStringLiteral("2.75"));
    korekcia()->EditEdCenaUSD->clear();  // an empty price is 0
    ui_->answers = {true};
    clickButton(korekcia(), QStringLiteral("BitBtnZapis"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList{QStringLiteral(" Запис корекция на доставка ?")});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QVERIFY(!korekcia()->isVisible());

    QCOMPARE(column(keys[1], "KOLICHESTVO").toDouble(), 6.0);
    QCOMPARE(column(keys[1], "ED_CENA_LV").toDouble(), 2.75);
    QCOMPARE(column(keys[1], "USD").toDouble(), 0.0);
    QCOMPARE(column(keys[0], "KOLICHESTVO").toDouble(), 10.0);
    QCOMPARE(column(keys[0], "ED_CENA_LV").toDouble(), 2.0);
    // The stock list shows the correction.
    pick(keys[1]);
    QCOMPARE(stock().value(QStringLiteral("NALICHNOST")).toDouble(), 6.0);
    QCOMPARE(stock().value(QStringLiteral("OBSTA_CENA_LV")).toDouble(), 16.5);
}

void TstStockCorrections::correctionKeepsWhatLeftTheLine_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("stored");
    // 2.5 sold and 1 returned as defective have left the line: 3.5.
    QTest::newRow("equal to what left") << QStringLiteral("3.5") << true;
    QTest::newRow("a hundredth less") << QStringLiteral("3.49") << false;
    QTest::newRow("below half a hundredth less") << QStringLiteral("3.496") << true;
    QTest::newRow("defective counts too") << QStringLiteral("2.5") << false;
}

void TstStockCorrections::correctionKeepsWhatLeftTheLine()
{
    QFETCH(QString, typed);
    QFETCH(bool, stored);
    const int key = deliver(QStringLiteral("F2"), {line(10, 2)}).front();
    outflow(key, 1, 2.5);
    showAll();
    pick(key);
    clickButton(sklad(), QStringLiteral("SpdBtnRedakcia"));
    QCOMPARE(korekcia()->LbProdad->text(), QStringLiteral("2.50"));
    QCOMPARE(korekcia()->LbNalich->text(), QStringLiteral("7.50"));
    // A claim recorded while the window is open counts as well.
    outflow(key, 4, 1);

    korekcia()->EditKolichestvo->setText(typed);
    ui_->answers = {true};
    clickButton(korekcia(), QStringLiteral("BitBtnZapis"));
    QCOMPARE(column(key, "KOLICHESTVO").toDouble(), stored ? typed.toDouble() : 10.0);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question).size(), stored ? 1 : 0);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             stored ? QStringList()
                    : QStringList{QStringLiteral("Въведеното количество е по-малко от изписаното+продаденото+експедираното !")});
    // A refused correction leaves the window open with what was typed.
    QCOMPARE(korekcia()->isVisible(), !stored);
    QCOMPARE(korekcia()->EditKolichestvo->text(), typed);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstStockCorrections::correctionOfOwnProduction()
{
    exec(QStringLiteral("update FIRMA set PSEVDONIM_FIRMA = 'TRX'"));
    dm().SmpFirma.refresh();
    Deliveries::Line made = line(1.23456, 2);
    const int own = deliver(QStringLiteral("TRX001"), {made}).front();
    showAll();
    pick(own);
    clickButton(sklad(), QStringLiteral("SpdBtnRedakcia"));
    QCOMPARE(korekcia()->mode(), TFormDostavkaKorekcia::Mode::OwnProduction);
    QVERIFY(!korekcia()->EditKolichestvo->isEnabled());
    QCOMPARE(korekcia()->EditKolichestvo->text(), QStringLiteral("1.235"));

    korekcia()->EditEdCenaLV->setText(QStringLiteral("3"));
    ui_->answers = {true};
    clickButton(korekcia(), QStringLiteral("BitBtnZapis"));
    QCOMPARE(column(own, "ED_CENA_LV").toDouble(), 3.0);
    // The quantity the window shows rounded is stored as it was.
    QCOMPARE(column(own, "KOLICHESTVO").toDouble(), 1.23456);
}

void TstStockCorrections::correctionExpiryDate()
{
    Deliveries::Line l = line(10, 2);
    l.expiry = QDate(2027, 1, 31);
    const int key = deliver(QStringLiteral("F3"), {l}).front();
    showAll();
    pick(key);
    clickButton(sklad(), QStringLiteral("SpdBtnRedakcia"));
    QCOMPARE(korekcia()->EditDateGodnost->text(), QStringLiteral("31.01.2027"));

    korekcia()->EditDateGodnost->setText(QStringLiteral("31.13.2027"));
    clickButton(korekcia(), QStringLiteral("BitBtnZapis"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{QStringLiteral("'31.13.2027' не е валидна дата !")});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList());

    ui_->clear();
    korekcia()->EditDateGodnost->clear();
    ui_->answers = {true};
    clickButton(korekcia(), QStringLiteral("BitBtnZapis"));
    QVERIFY(column(key, "DATEGODNOST").isNull());
    QCOMPARE(column(key, "KOLICHESTVO").toDouble(), 10.0);
}

void TstStockCorrections::deliveryPricesOnly()
{
    const QVector<int> keys = deliver(QStringLiteral("F4"), {line(10, 2), line(4, 2.12345, 1.25)});
    showAll();
    pick(keys[1]);
    clickButton(sklad(), QStringLiteral("SpdBtnDostCena"));
    TFormUpdDostCena* prices = app_->FormUpdDostCena;
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList{QStringLiteral("FormUpdDostCena")});
    QCOMPARE(prices->DBEdit1->text(), QStringLiteral("2.123"));
    QCOMPARE(prices->DBEdit3->text(), QStringLiteral("1.250"));
    QCOMPARE(prices->LbFaktura->text(), QStringLiteral("F4 / 01.06.2026"));
    prices->DBEdit2->setText(QStringLiteral("1.4"));
    prices->DBEdit3->setText(QStringLiteral("1.3"));
    clickButton(prices, QStringLiteral("BitBtnUpdDostCena"));
    QVERIFY(!prices->isVisible());
    QCOMPARE(column(keys[1], "USD").toDouble(), 1.4);
    QCOMPARE(column(keys[1], "EUR").toDouble(), 1.3);
    QCOMPARE(column(keys[1], "ED_CENA_LV").toDouble(), 2.12345);  // untouched, not rounded to what was shown
    QCOMPARE(column(keys[1], "KOLICHESTVO").toDouble(), 4.0);
    QCOMPARE(column(keys[0], "USD").toDouble(), 0.0);
    pick(keys[1]);
    QCOMPARE(stock().value(QStringLiteral("OBSTA_CENA_EUR")).toDouble(), 5.2);
}

void TstStockCorrections::defectClaimLeavesTheLineUntilDeleted()
{
    const int key = deliver(QStringLiteral("F5"), {line(10, 2)}).front();
    showAll();
    pick(key);
    openClaim();
    // Proposed against the line's supplier, document and prices.
    QCOMPARE(brak()->DBLkpCmbKontr->currentText(), QStringLiteral("Доставчик А"));
    QCOMPARE(brak()->EditNFakturaBrak->text(), QStringLiteral("F5"));
    QCOMPARE(brak()->EditDateFakturaBrak->text(), QStringLiteral("01.06.2026"));
    QCOMPARE(brak()->EditEdCenaLV->text(), QStringLiteral("2.000"));
    QCOMPARE(brak()->DateSklDostBrak->date(), QDate(2026, 6, 10));
    QCOMPARE(brak()->LbNalichnost->text(), QStringLiteral("10.000"));

    brak()->EditKolichBrak->setText(QStringLiteral("4"));
    clickButton(brak(), QStringLiteral("BitBtnZapSklDostBrak"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QVERIFY(!brak()->isVisible());
    QCOMPARE(count(QStringLiteral("select count(*) from SKLAD_DOST_BRAK where KOLICH_BRAK = 4 and NKONTR_BRAK = 60"
                                  " and NFAKTURA_BRAK = 'F5' and DATE_BRAK = '2026-06-10'")), 1);
    QCOMPARE(app_->DMSklad->SmpSklDostBrak.recordCount(), 1);
    pick(key);
    QCOMPARE(stock().value(QStringLiteral("SUMDOST_BRAK")).toDouble(), 4.0);
    QCOMPARE(stock().value(QStringLiteral("NALICHNOST")).toDouble(), 6.0);

    // The line can no longer be deleted.
    ui_->clear();
    clickButton(sklad(), QStringLiteral("SpdBtnDelKontragent"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             QStringList{QStringLiteral("Има изразходвани количества от доставката - ИЗТРИВАНЕТО ЗАБРАНЕНО !  ")});
    QCOMPARE(count(QStringLiteral("select count(*) from SKLAD")), 1);

    // Deleting the claim gives the quantity back, and then the line goes.
    ui_->clear();
    ui_->answers = {true};
    clickButton(sklad(), QStringLiteral("BitBtnDelDostBrak"));
    pick(key);
    QCOMPARE(stock().value(QStringLiteral("NALICHNOST")).toDouble(), 10.0);
    ui_->answers = {true};
    clickButton(sklad(), QStringLiteral("SpdBtnDelKontragent"));
    QCOMPARE(count(QStringLiteral("select count(*) from SKLAD")), 0);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstStockCorrections::defectClaimRules_data()
{
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("priceLv");
    QTest::addColumn<QString>("priceEur");
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("documentDate");
    QTest::addColumn<bool>("stored");
    // 10 delivered, 2 sold: 8 on hand.
    const auto row = [](const char* name, const char* q, const char* lv, const char* eur, const char* doc,
                        const char* date, bool stored) {
        QTest::newRow(name) << QString::fromUtf8(q) << QString::fromUtf8(lv) << QString::fromUtf8(eur)
                            << QString::fromUtf8(doc) << QString::fromUtf8(date) << stored;
    };
    row("all on hand", "8", "2", "0", "R1", "01.06.2026", true);
    row("above on hand", "8.01", "2", "0", "R1", "01.06.2026", false);
    row("EUR price only", "1", "0", "1.5", "R1", "01.06.2026", true);
    row("no price", "1", "0", "0", "R1", "01.06.2026", false);
    row("no quantity", "", "2", "0", "R1", "01.06.2026", false);
    row("no claim document", "1", "2", "0", " ", "01.06.2026", false);
    row("no claim date", "1", "2", "0", "R1", "", false);
    row("unreadable quantity", "1..2", "2", "0", "R1", "01.06.2026", false);
}

void TstStockCorrections::defectClaimRules()
{
    QFETCH(QString, quantity);
    QFETCH(QString, priceLv);
    QFETCH(QString, priceEur);
    QFETCH(QString, document);
    QFETCH(QString, documentDate);
    QFETCH(bool, stored);
    const int key = deliver(QStringLiteral("F6"), {line(10, 2)}).front();
    outflow(key, 1, 2);
    showAll();
    pick(key);
    openClaim();
    brak()->EditKolichBrak->setText(quantity);
    brak()->EditEdCenaLV->setText(priceLv);
    brak()->EditEUR->setText(priceEur);
    brak()->EditNFakturaBrak->setText(document);
    brak()->EditDateFakturaBrak->setText(documentDate);
    clickButton(brak(), QStringLiteral("BitBtnZapSklDostBrak"));
    QCOMPARE(count(QStringLiteral("select count(*) from SKLAD_DOST_BRAK")), stored ? 1 : 0);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             stored ? QStringList() : QStringList{StockLines::defectRefusalMessage()});
    QCOMPARE(brak()->isVisible(), !stored);
    QCOMPARE(brak()->EditKolichBrak->text(), quantity);  // what was typed stays
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstStockCorrections::serverFailureKeepsWhatWasTyped()
{
    const int key = deliver(QStringLiteral("F7"), {line(10, 2)}).front();
    db().executeImmediate(QStringLiteral("create exception T_FAULT 'injected'"));
    db().executeImmediate(QStringLiteral("create trigger T_FAULT_BU for SKLAD before update as begin exception T_FAULT; end"));
    db().executeImmediate(QStringLiteral("create trigger T_FAULT_BI for SKLAD_DOST_BRAK before insert as begin exception T_FAULT; end"));
    showAll();
    pick(key);
    clickButton(sklad(), QStringLiteral("SpdBtnRedakcia"));
    korekcia()->EditEdCenaLV->setText(QStringLiteral("3.1"));
    ui_->answers = {true};
    clickButton(korekcia(), QStringLiteral("BitBtnZapis"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error).size(), 1);
    QVERIFY(korekcia()->isVisible());
    QCOMPARE(korekcia()->EditEdCenaLV->text(), QStringLiteral("3.1"));
    QCOMPARE(column(key, "ED_CENA_LV").toDouble(), 2.0);
    korekcia()->close();

    ui_->clear();
    openClaim();
    brak()->EditKolichBrak->setText(QStringLiteral("2"));
    clickButton(brak(), QStringLiteral("BitBtnZapSklDostBrak"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error).size(), 1);
    QVERIFY(brak()->isVisible());
    QCOMPARE(brak()->EditKolichBrak->text(), QStringLiteral("2"));
    QCOMPARE(count(QStringLiteral("select count(*) from SKLAD_DVIGENIE")), 0);
}

QTEST_MAIN(TstStockCorrections)
#include "tst_stockcorrections.moc"
