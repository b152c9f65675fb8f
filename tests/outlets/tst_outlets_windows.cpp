#include "data/dmsklobekti.h"
#include "outlets/formsklobekti.h"
#include "outlets/formsklobtransfer.h"
#include "outlets/objectlines.h"
#include "outlets/objecttransfers.h"
#include "platform/base/clock.h"
#include "platform/dataset/smpdataset.h"
#include "platform/report/reportpreview.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/radiogroup.h"
#include "sales/salerecording.h"
#include "support/appfixture.h"
#include "support/pdftext.h"
#include "support/typing.h"
#include "support/workbookreader.h"
#include "warehouse/deliveries.h"
#include "warehouse/formdostavkakorekcia.h"

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

// The warehouse objects window and the transfer window driven by their controls over a real
// database: views and their ranges, the guards of every action, collecting, printing and storing
// a transfer.
class TstOutletsWindows : public QObject, protected AppFixture
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();
    void opensFromMainMenuWithOpenRanges();
    void viewsSetTheButtons();
    void transferFromWarehouseCollectsPrintsAndStores();
    void refusedSaveKeepsWindowAndLines();
    void returnsFromTheWindow();
    void deleteAndCorrectionGuards();
    void correctionsOfTheShownLine_data();
    void correctionsOfTheShownLine();
    void returnedSaleLineStays();
    void pickedSourceLineIsShownPrintedAndStored_data();
    void pickedSourceLineIsShownPrintedAndStored();
    void everyViewExportsToAWorkbook();

private:
    TFormSklObekti* obekti() { return app_->FormSklObekti; }
    TFormSklObTransfer* transfer() { return app_->FormSklObTransfer; }
    SmpDataset& onHand() { return app_->DMSklObekti->SmpSklObNalich; }
    SmpDataset& lines() { return app_->DMSklObekti->SmpSklObTemp; }
    void deliver(int material, double quantity);
    int toObject(int object, int material, double quantity);
    void showObjects();
    // Opens the transfer window from its button; script runs while it is up.
    void openTransfer(const char* button, std::function<void()> script);
    void add(const QString& quantity, const QString& price = u"2.5"_s);
    // A sale of quantity of material from object line `line` of `object`; a negative quantity takes
    // goods back into the object.
    void sell(int object, int material, double quantity, int line = 0);
    // Clicks the objects window's button; script runs in the correction window it opens.
    void openCorrection(const char* button, std::function<void(TFormDostavkaKorekcia*)> script);
    QStringList workbooks();
    QStringList messages() { return ui_->texts(RecordingUi::Kind::Message); }
    double warehouseStock(int material) { return ObjectTransfers::warehouseOnHand(db(), material); }
    double objectStock(int material, int object) { return ObjectTransfers::objectOnHand(db(), material, object); }
    QList<Report::Document> previews_;
};

void TstOutletsWindows::init()
{
    start();
    Clock::setFixed(QDateTime(QDate(2026, 6, 10), QTime(9, 0)));
    exec(u"update FIRMA set IMEFIRMA = 'Дървообработка Рила ООД'"_s);
    exec(u"insert into TIP_SKLAD (NSKLAD, SKLAD, SKL_OBEKT_DA_NE) values (1, 'Основен', 1)"_s);
    exec(u"insert into TIP_SKL_OBEKT (NSKL_OBEKT, IME_SKL_OBEKT) values (1, 'Магазин Център')"_s);
    exec(u"insert into TIP_SKL_OBEKT (NSKL_OBEKT, IME_SKL_OBEKT) values (2, 'Магазин Изток')"_s);
    exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (500, 'Болт', 1, 1)"_s);
    exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (501, 'Шайба', 1, 1)"_s);
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (60, 2, 'Доставчик')"_s);
    exec(u"insert into MOL_FIRMA (NMOL_FIRMA, IMEMOLFIRMA) values (41, 'Мария Иванова')"_s);
    for (SmpDataset* ds : {&dm().SmpFirma, &dm().SmpMateriali, &dm().SmpTipSklad, &dm().SmpTipSklOb, &dm().SmpMolFirma})
        ds->isActive() ? ds->refresh() : ds->open();
    previews_.clear();
}

void TstOutletsWindows::cleanup()
{
    Clock::reset();
    stop();
}

void TstOutletsWindows::deliver(int material, double quantity)
{
    Deliveries::Header h;
    h.supplier = 60;
    h.document = u"F%1"_s.arg(material);
    h.documentDate = QDate(2026, 6, 1);
    h.received = QDate(2026, 6, 1);
    Deliveries::Line l;
    l.material = material;
    l.quantity = quantity;
    l.priceLv = 2;
    Deliveries::save(db(), h, {l}, {});
}

int TstOutletsWindows::toObject(int object, int material, double quantity)
{
    ObjectTransfers::Transfer t;
    t.target = object;
    t.sourceWarehouse = 1;
    t.date = QDate(2026, 6, 2);
    t.lines = {{0, material, quantity, 2.5}};
    return ObjectTransfers::save(db(), t).keys.front();
}

void TstOutletsWindows::showObjects()
{
    app_->FormNS->findChild<QAction*>(u"N1SklObekt"_s)->trigger();
    obekti()->RdGrpIzbViewDanni->click(0);
}

void TstOutletsWindows::openTransfer(const char* button, std::function<void()> script)
{
    ui_->onModal = [this, script](Form* form) {
        if (form == transfer()) script();
        else if (auto* preview = qobject_cast<Report::ReportPreview*>(form)) previews_ << preview->document();
        return 0;
    };
    clickButton(obekti(), QString::fromLatin1(button));
}

void TstOutletsWindows::add(const QString& quantity, const QString& price)
{
    transfer()->EditKolich->setText(quantity);
    transfer()->EditDostCena->setText(price);
    clickButton(transfer(), u"BitBtnZapisNewSkl"_s);
}

void TstOutletsWindows::sell(int object, int material, double quantity, int line)
{
    Sales::SaleHeader h;
    h.documentType = 2;
    h.stockReceiptNumber = u"5"_s;
    h.counterparty = 60;
    h.recipientName = u"Доставчик"_s;
    h.paymentType = 1;
    h.date = QDate(2026, 6, 9);
    Sales::SaleLine l;
    l.material = material;
    l.quantity = quantity;
    l.priceLv = 4;
    l.warehouseObject = object;
    l.stockLine = line;
    Sales::recordSale(db(), h, {l});
}

void TstOutletsWindows::openCorrection(const char* button, std::function<void(TFormDostavkaKorekcia*)> script)
{
    ui_->onModal = [this, script](Form* form) {
        if (form == app_->FormDostavkaKorekcia) script(app_->FormDostavkaKorekcia);
        return 0;
    };
    clickButton(obekti(), QString::fromLatin1(button));
}

QStringList TstOutletsWindows::workbooks()
{
    QDir docs(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    QStringList out;
    for (const QString& f : docs.entryList({u"*.xlsx"_s}, QDir::Files))
        out << docs.filePath(f);
    return out;
}

void TstOutletsWindows::opensFromMainMenuWithOpenRanges()
{
    auto* item = app_->FormNS->findChild<QAction*>(u"N1SklObekt"_s);
    QVERIFY(item && item->isEnabled());
    // Object and article numbers above 10000 and receipts after 2020 are listed under "Всички".
    exec(u"insert into TIP_SKL_OBEKT (NSKL_OBEKT, IME_SKL_OBEKT) values (12000, 'Склад Север')"_s);
    exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (150000, 'Кабел', 1, 1)"_s);
    exec(u"insert into SKL_OBEKTI_MATERIALI (NUM_SKL_RAZP, NSKL_OBEKT, NMATERIAL, POLUCHENO, DATEPOLUCHENO)"
         " values (1, 12000, 150000, 4, '2026-06-09')"_s);
    item->trigger();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modeless), QStringList{u"FormSklObekti"_s});
    QCOMPARE(obekti()->DateTimOt->date(), QDate(2026, 5, 31));
    obekti()->RdGrpIzbViewDanni->click(0);
    QCOMPARE(onHand().recordCount(), 1);
    QCOMPARE(onHand().value(u"IMESKL_OBEKT"_s).toString(), u"Склад Север"_s);
    obekti()->RdGrpIzbViewDanni->click(1);
    QCOMPARE(app_->DMSklObekti->SmpSklObPolucheno.recordCount(), 1);
    // A period that ends the day before leaves it out; one that ends on its day covers it.
    obekti()->RdGrpDateOtDo->click(1);
    obekti()->DateTimDo->setDate(QDate(2026, 6, 8));
    obekti()->ReloadWarehouseObjectView();
    QCOMPARE(app_->DMSklObekti->SmpSklObPolucheno.recordCount(), 0);
    obekti()->DateTimDo->setDate(QDate(2026, 6, 9));
    obekti()->ReloadWarehouseObjectView();
    QCOMPARE(app_->DMSklObekti->SmpSklObPolucheno.recordCount(), 1);
    // One object chosen: only its lines.
    obekti()->RdGrpIzbViewDanni->click(0);
    chooseInList(obekti()->DBLkpCmbSklOb, u"Магазин Център"_s);
    obekti()->RdGrpSklOb->click(1);
    QCOMPARE(onHand().recordCount(), 0);
}

void TstOutletsWindows::viewsSetTheButtons()
{
    showObjects();
    const QStringList onHandOnly{u"BitBtnDel"_s, u"BitBtnDostOtSkl"_s, u"BitBtnDostOtSklOb"_s, u"BitBtnUndo"_s,
                                 u"BitBtnDostSkladSklOb"_s};
    for (int view = 0; view < 5; ++view) {
        obekti()->RdGrpIzbViewDanni->click(view);
        for (const QString& name : onHandOnly)
            QCOMPARE(obekti()->findChild<QToolButton*>(name)->isEnabled(), view == 0);
        QVERIFY(obekti()->BitBtnNewDost->isEnabled());
        QVERIFY(obekti()->BitBtnExcel->isEnabled());
        QCOMPARE(obekti()->RdGrpDateOtDo->isEnabled(), view != 0);
        QCOMPARE(obekti()->DtSrcSklObekti->dataset(), app_->DMSklObekti->view(view));
    }
    // The correction of a line acts only in the view that shows the line.
    deliver(500, 10);
    toObject(1, 500, 3);
    obekti()->RdGrpIzbViewDanni->click(0);
    obekti()->RdGrpIzbViewDanni->click(1);
    ui_->clear();
    obekti()->BitBtnKorekcClick();
    obekti()->BitBtnKorekcCeniClick();
    QCOMPARE(messages(), (QStringList{u"Не е избрана директна доставка ?!"_s, u"Липсват данни за корекция !"_s}));
}

void TstOutletsWindows::transferFromWarehouseCollectsPrintsAndStores()
{
    deliver(500, 10);
    deliver(501, 1);
    showObjects();
    openTransfer("BitBtnDostOtSkl", [this] {
        QCOMPARE(transfer()->windowTitle(), u"Прехвърляне на материали от централен склад към складов обект !"_s);
        QCOMPARE(transfer()->BitBtnZapSklOb->text(), u"Запис в скл.обект"_s);
        QVERIFY(transfer()->PnlTransferSklad_SklOb->isVisible());
        QVERIFY(!transfer()->PnlTransferSklOb_SklOb->isVisible());
        QCOMPARE(transfer()->LbNumSklRazp->text(), u"1"_s);
        // Without a target nothing is added.
        add(u"4"_s);
        QCOMPARE(messages().last(), u"Не е избран склад източник или склад за прехвърляне  !"_s);
        transfer()->RdGrpIzbSklad->click(1);
        chooseInList(transfer()->DBLkpCmbIzbSklad, u"Основен"_s);
        transfer()->RdGrpIzbMaterial->click(1);
        chooseInList(transfer()->DBLkpCmBoxMat, u"Болт"_s);
        chooseInList(transfer()->DBLkpCmbVsklOb, u"Магазин Изток"_s);
        QCOMPARE(transfer()->chosenTarget(), 2);
        add(u"4"_s, u"0"_s);
        QCOMPARE(messages().last(), u"Не е въведено количество или дост.цена за прехвърляне  !"_s);
        add(u"4"_s);
        add(u"3"_s);
        QCOMPARE(messages().last(), u"Съществува ред с това изделие - 4.00 \n             Количествата ще се сумират  !"_s);
        QCOMPARE(lines().recordCount(), 1);
        QCOMPARE(lines().value(u"KOLICHESTVO"_s).toDouble(), 7.0);
        // A refused sum keeps the earlier line; the box offers what may still be added, unrounded.
        add(u"3.5"_s);
        QCOMPARE(messages().last(), u"Недостатъчно количество на  Болт  !"_s);
        QCOMPARE(lines().recordCount(), 1);
        QCOMPARE(lines().value(u"KOLICHESTVO"_s).toDouble(), 7.0);
        QCOMPARE(transfer()->EditKolich->text(), u"3"_s);
        // A quantity equal to the stock passes.
        add(u"3"_s);
        QCOMPARE(lines().value(u"KOLICHESTVO"_s).toDouble(), 10.0);
        QCOMPARE(lines().value(u"OT_SKLAD"_s).toString(), u"Основен"_s);
        QCOMPARE(lines().value(u"V_SKLAD"_s).toString(), u"Магазин Изток"_s);

        chooseInList(transfer()->DBLkpCmbMol, u"Мария Иванова"_s);
        clickButton(transfer(), u"BitBtnPrintSklRazp"_s);
        QCOMPARE(previews_.size(), 1);
        const QString text = pdfText(previews_.front(), *dir_, u"sklobrazp"_s);
        for (const QString& part : {u"РАЗПИСКА № 1 "_s, u"За заприхождаване на изделия / материали"_s,
                                    u"Дървообработка Рила ООД"_s, u"Болт"_s, u"10.00"_s, u"25.00"_s, u"Мария Иванова"_s,
                                    u"Магазин Изток"_s, u"Документ №"_s})
            QVERIFY2(text.contains(part), qPrintable(part + u"\n"_s + text));
        // Another workstation stores a receipt meanwhile: the printed number stays this one's.
        toObject(1, 501, 1);
        ui_->answers = {true};
        clickButton(transfer(), u"BitBtnZapSklOb"_s);
    });
    QVERIFY(!transfer()->isVisible());
    QCOMPARE(count(u"select count(*) from SKL_OBEKTI_MATERIALI where NUM_SKL_RAZP = 1 and NSKL_OBEKT = 2"_s), 1);
    QCOMPARE(count(u"select NUM_SKL_RAZP from SKL_OBEKTI_MATERIALI where NMATERIAL = 501"_s), 2);
    QVERIFY(ObjectTransfers::warehouseOnHand(db(), 500) < 0.001);
    QCOMPARE(objectStock(500, 2), 10.0);
    QCOMPARE(count(u"select NMOL_FIRMA from SKL_OBEKTI_MATERIALI where NSKL_OBEKT = 2"_s), 41);
    // The window takes its filters away when it closes.
    QVERIFY(!dm().SmpTipSklad.isFiltered());
}

void TstOutletsWindows::refusedSaveKeepsWindowAndLines()
{
    deliver(500, 10);
    toObject(1, 500, 5);
    showObjects();
    openTransfer("BitBtnDostOtSklOb", [this] {
        transfer()->RdGrpSklOb->click(1);
        chooseInList(transfer()->DBLkpCmbSklOb, u"Магазин Център"_s);
        chooseInList(transfer()->DBLkpCmbVsklOb, u"Магазин Център"_s);
        add(u"2"_s, u"0"_s);
        QCOMPARE(lines().recordCount(), 1);
        ui_->answers = {true};
        clickButton(transfer(), u"BitBtnZapSklOb"_s);
        QCOMPARE(messages().last(), u"Некоректно зададени складове за прехвърляне ?"_s);
        QVERIFY(transfer()->isVisible());
        QCOMPARE(lines().recordCount(), 1);
        // Mended, the same lines are stored.
        chooseInList(transfer()->DBLkpCmbVsklOb, u"Магазин Изток"_s);
        ui_->answers = {true};
        clickButton(transfer(), u"BitBtnZapSklOb"_s);
    });
    QVERIFY(!transfer()->isVisible());
    QCOMPARE(objectStock(500, 1), 3.0);
    QCOMPARE(objectStock(500, 2), 2.0);
}

void TstOutletsWindows::returnsFromTheWindow()
{
    deliver(500, 10);
    const int line = toObject(1, 500, 6);
    showObjects();
    openTransfer("BitBtnUndo", [this, line] {
        QCOMPARE(transfer()->BitBtnZapSklOb->text(), u"Връщане в склад"_s);
        QVERIFY(!transfer()->DBLkpCmbVsklOb->isEnabled());
        add(u"2"_s);
        QCOMPARE(messages().last(), u"Не е избран склад източник или склад за възстановяване  !"_s);
        transfer()->RdGrpSklOb->click(1);
        chooseInList(transfer()->DBLkpCmbSklOb, u"Магазин Център"_s);
        QCOMPARE(onHand().recordCount(), 1);
        add(u"7"_s);
        QCOMPARE(messages().last(), u"Недостатъчно количество на  Болт  !"_s);
        QCOMPARE(transfer()->EditKolich->text(), u"6"_s);
        add(u"2"_s);
        add(u"4"_s);  // the same line again replaces the earlier one
        QCOMPARE(lines().recordCount(), 1);
        QCOMPARE(lines().value(u"KOLICHESTVO"_s).toDouble(), 4.0);
        QCOMPARE(lines().value(u"AUTONUM_UNDO"_s).toInt(), line);
        QCOMPARE(lines().value(u"PROD_EKSP"_s).toInt(), 0);
        clickButton(transfer(), u"BitBtnPrintSklRazp"_s);
        const QString text = pdfText(previews_.front(), *dir_, u"sklobvrashtane"_s);
        QVERIFY2(text.contains(u"За връщане на изделия / материали"_s), qPrintable(text));
        QVERIFY2(text.contains(u"от дата"_s), qPrintable(text));
        ui_->answers = {true};
        clickButton(transfer(), u"BitBtnZapSklOb"_s);
    });
    QCOMPARE(objectStock(500, 1), 2.0);
    QCOMPARE(warehouseStock(500), 8.0);
}

void TstOutletsWindows::deleteAndCorrectionGuards()
{
    deliver(500, 10);
    const int transferred = toObject(1, 500, 6);
    showObjects();
    QVERIFY(onHand().locate(u"AUTONUM"_s, {transferred}));
    obekti()->BitBtnKorekcClick();
    QCOMPARE(messages().last(), u"Не е избрана директна доставка ?!"_s);
    // No to the question: nothing happens.
    ui_->answers = {false};
    clickButton(obekti(), u"BitBtnDel"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question).last(), u" Потвърдете за изтриване  ?"_s);
    QVERIFY(ObjectLines::read(db(), transferred));
    ui_->answers = {true};
    clickButton(obekti(), u"BitBtnDel"_s);
    QVERIFY(!ObjectLines::read(db(), transferred));
    QCOMPARE(warehouseStock(500), 10.0);
    QCOMPARE(onHand().recordCount(), 0);
}

// "Корекция" (a direct delivery, mode 2) and "Корек.цени" (any line, mode 3) open the delivery
// correction window on the on-hand line the user stands on; the quantity never goes below what has
// left the line, and what a transferred line gives up goes back to its warehouse.
void TstOutletsWindows::correctionsOfTheShownLine_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("direct");       // the line corrected: a direct delivery, else transferred
    QTest::addColumn<QString>("typed");      // quantity typed
    QTest::addColumn<QString>("refusal");    // the message; empty when stored
    QTest::addColumn<double>("receivedAfter");
    QTest::addColumn<double>("warehouseAfter");
    // The transferred line: 10 received, 2 sold, 3 passed on, 1 given back: 9 held, 5 gone.
    QTest::newRow("prices of a transferred line, lowered") << "BitBtnKorekcCeni" << false << "6" << QString() << 6.0 << 14.0;
    QTest::newRow("prices of a transferred line, to what left it") << "BitBtnKorekcCeni" << false << "5" << QString() << 5.0 << 15.0;
    QTest::newRow("prices of a transferred line, below what left it")
        << "BitBtnKorekcCeni" << false << "4.99" << u"Въведеното количество е по-малко от изписаното+продаденото+експедираното !"_s
        << 9.0 << 11.0;
    QTest::newRow("prices of a transferred line, raised")
        << "BitBtnKorekcCeni" << false << "12" << u"Количеството на прехвърлен ред не се увеличава - прехвърлете още !"_s << 9.0
        << 11.0;
    QTest::newRow("direct delivery") << "BitBtnKorekc" << true << "7" << QString() << 7.0 << 11.0;
    QTest::newRow("prices of a direct delivery") << "BitBtnKorekcCeni" << true << "4" << QString() << 4.0 << 11.0;
}

void TstOutletsWindows::correctionsOfTheShownLine()
{
    QFETCH(QString, button);
    QFETCH(bool, direct);
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    QFETCH(double, receivedAfter);
    QFETCH(double, warehouseAfter);
    deliver(500, 20);
    const int transferred = toObject(1, 500, 10);
    sell(1, 500, 2, transferred);
    ObjectTransfers::Transfer across;
    across.mode = ObjectTransfers::Mode::BetweenObjects;
    across.target = 2;
    across.sourceObject = 1;
    across.date = QDate(2026, 6, 3);
    across.lines = {{transferred, 500, 3, 2.5}};
    ObjectTransfers::save(db(), across);
    ObjectTransfers::Transfer back;
    back.mode = ObjectTransfers::Mode::ToSourceWarehouse;
    back.sourceObject = 1;
    back.date = QDate(2026, 6, 4);
    back.lines = {{transferred, 500, 1, 2.5}};
    ObjectTransfers::save(db(), back);
    Deliveries::Header h;
    h.supplier = 60;
    h.document = u"D77"_s;
    h.documentDate = QDate(2026, 6, 5);
    h.received = QDate(2026, 6, 5);
    Deliveries::Line l;
    l.material = 501;
    l.quantity = 5;
    l.priceLv = 3;
    Deliveries::saveToWarehouseObject(db(), h, 1, {l});
    const int directLine = count(u"select AUTONUM from SKL_OBEKTI_MATERIALI where NFAKTURA = 'D77'"_s);
    const int key = direct ? directLine : transferred;
    QCOMPARE(warehouseStock(500), 11.0);
    showObjects();
    chooseInList(obekti()->DBLkpCmbSklOb, u"Магазин Център"_s);
    obekti()->RdGrpSklOb->click(1);
    QCOMPARE(onHand().recordCount(), 2);
    QVERIFY(onHand().locate(u"AUTONUM"_s, {key}));
    ui_->clear();
    bool shown = false;
    openCorrection(button.toLatin1().constData(), [&](TFormDostavkaKorekcia* k) {
        shown = true;
        QCOMPARE(k->mode(), button == u"BitBtnKorekc"_s ? TFormDostavkaKorekcia::Mode::ObjectDelivery
                                                        : TFormDostavkaKorekcia::Mode::ObjectPrices);
        QCOMPARE(k->LbSklad->text(), u"Магазин Център"_s);
        QCOMPARE(k->LbMat->text(), direct ? u"Шайба"_s : u"Болт"_s);
        QCOMPARE(k->LbDostav->text(), direct ? u"Доставчик"_s : u"Основен"_s);
        QCOMPARE(k->LbProdad->text(), direct ? u"0.00"_s : u"2.00"_s);
        QCOMPARE(k->LbEksped->text(), direct ? u"0.00"_s : u"3.00"_s);
        QCOMPARE(k->LbNalich->text(), direct ? u"5.00"_s : u"4.00"_s);
        QCOMPARE(k->EditKolichestvo->text(), direct ? u"5.000"_s : u"9.000"_s);
        QCOMPARE(k->EditEdCenaLV->text(), direct ? u"3.000"_s : u"2.500"_s);
        QVERIFY(k->EditKolichestvo->isEnabled());
        QVERIFY(!k->DBLkpCmBoxShifyrZakup->isEnabled());
        k->EditKolichestvo->setText(typed);
        k->EditEdCenaLV->setText(u"2.75"_s);
        ui_->answers = {true};
        k->BitBtnZapisClick();
        if (!refusal.isEmpty()) {
            QCOMPARE(messages(), QStringList{refusal});
            QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList());
        }
    });
    QVERIFY(shown);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    const auto after = ObjectLines::read(db(), key);
    QCOMPARE(after->received, receivedAfter);
    QCOMPARE(after->priceLv, refusal.isEmpty() ? 2.75 : (direct ? 3.0 : 2.5));
    QCOMPARE(warehouseStock(500), warehouseAfter);
    QCOMPARE(objectStock(500, 2), 3.0);
    // The on-hand list shows the line as stored.
    QVERIFY(onHand().locate(u"AUTONUM"_s, {key}));
    QCOMPARE(onHand().value(u"POLUCHENO"_s).toDouble(), receivedAfter);
    // "Корекция" is for direct deliveries only.
    if (!direct) {
        ui_->clear();
        clickButton(obekti(), u"BitBtnKorekc"_s);
        QCOMPARE(messages(), QStringList{u"Не е избрана директна доставка ?!"_s});
        QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList());
    }
}

// Goods a sale brought back into an object are not deleted, not corrected as a direct delivery and
// not booked into a company warehouse; their prices can still be corrected.
void TstOutletsWindows::returnedSaleLineStays()
{
    sell(1, 501, -3);
    const int line = count(u"select max(AUTONUM) from SKL_OBEKTI_MATERIALI"_s);
    showObjects();
    QCOMPARE(onHand().recordCount(), 1);
    QVERIFY(onHand().locate(u"AUTONUM"_s, {line}));
    ui_->clear();
    clickButton(obekti(), u"BitBtnDel"_s);
    QCOMPARE(messages(), QStringList{u"    Върната продажба  !\nИзтриването невъзможно !!!"_s});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList());
    clickButton(obekti(), u"BitBtnKorekc"_s);
    QCOMPARE(messages().last(), u"Не е избрана директна доставка ?!"_s);
    openCorrection("BitBtnKorekcCeni", [this](TFormDostavkaKorekcia* k) {
        QVERIFY(!k->EditKolichestvo->isEnabled());
        k->EditKolichestvo->setText(u"1"_s);
        k->EditEdCenaLV->setText(u"4.4"_s);
        ui_->answers = {true};
        k->BitBtnZapisClick();
    });
    QCOMPARE(ObjectLines::read(db(), line)->received, 3.0);
    QCOMPARE(ObjectLines::read(db(), line)->priceLv, 4.4);
    openTransfer("BitBtnDostSkladSklOb", [this] {
        transfer()->RdGrpSklOb->click(1);
        chooseInList(transfer()->DBLkpCmbSklOb, u"Магазин Център"_s);
        QCOMPARE(onHand().recordCount(), 1);
        add(u"3"_s);
        QCOMPARE(messages().last(), u"    Върната продажба  !\nЗаприхождаването във фирмен склад невъзможно !!!"_s);
        QCOMPARE(lines().recordCount(), 0);
        clickButton(transfer(), u"BitBtnIzhod"_s);
    });
    QCOMPARE(objectStock(501, 1), 3.0);
    QCOMPARE(warehouseStock(501), 0.0);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

// The source line the user stands on in the transfer window is the one its line names, the one
// the receipt is printed from and the one the stored line is drawn from; lines never outlive a
// change of the source object, and follow a change of the target.
void TstOutletsWindows::pickedSourceLineIsShownPrintedAndStored_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("from a warehouse") << "BitBtnDostOtSkl";
    QTest::newRow("between objects") << "BitBtnDostOtSklOb";
}

void TstOutletsWindows::pickedSourceLineIsShownPrintedAndStored()
{
    QFETCH(QString, button);
    const bool fromWarehouse = button == u"BitBtnDostOtSkl"_s;
    // Two source lines of Болт: the older of 5, the newer of 4 (warehouse receipt 44, or object receipt 2).
    deliver(500, 5);
    Deliveries::Header h;
    h.supplier = 60;
    h.document = u"F2"_s;
    h.documentDate = QDate(2026, 6, 2);
    h.received = QDate(2026, 6, 2);
    h.receiptNumber = 44;
    Deliveries::Line l;
    l.material = 500;
    l.quantity = 4;
    l.priceLv = 2;
    Deliveries::save(db(), h, {l}, {});
    int older = count(u"select min(AUTONUM) from SKLAD"_s), newer = count(u"select max(AUTONUM) from SKLAD"_s);
    if (!fromWarehouse) {
        older = toObject(1, 500, 5);
        newer = toObject(1, 500, 4);
    }
    const int receipt = fromWarehouse ? 44 : 2;
    showObjects();
    openTransfer(button.toLatin1().constData(), [&] {
        if (fromWarehouse) {
            transfer()->RdGrpIzbSklad->click(1);
            chooseInList(transfer()->DBLkpCmbIzbSklad, u"Основен"_s);
            transfer()->RdGrpIzbMaterial->click(1);
            chooseInList(transfer()->DBLkpCmBoxMat, u"Болт"_s);
            QVERIFY(app_->DMSklObekti->SmpProdSkladNalich.locate(u"AUTONUM"_s, {newer}));
        } else {
            transfer()->RdGrpSklOb->click(1);
            chooseInList(transfer()->DBLkpCmbSklOb, u"Магазин Център"_s);
            QVERIFY(onHand().locate(u"AUTONUM"_s, {newer}));
        }
        chooseInList(transfer()->DBLkpCmbVsklOb, u"Магазин Център"_s);
        if (!fromWarehouse) chooseInList(transfer()->DBLkpCmbVsklOb, u"Магазин Изток"_s);
        add(u"3"_s);
        QCOMPARE(lines().recordCount(), 1);
        QCOMPARE(lines().value(u"NSKL_RAZP_VHOD"_s).toInt(), receipt);
        if (!fromWarehouse) {
            // Lines of one source object only: choosing another one starts the list again.
            chooseInList(transfer()->DBLkpCmbSklOb, u"Магазин Изток"_s);
            QCOMPARE(lines().recordCount(), 0);
            chooseInList(transfer()->DBLkpCmbSklOb, u"Магазин Център"_s);
            QVERIFY(onHand().locate(u"AUTONUM"_s, {newer}));
            add(u"3"_s);
        } else {
            // A changed target renames the lines, so the receipt names where they are stored.
            chooseInList(transfer()->DBLkpCmbVsklOb, u"Магазин Изток"_s);
        }
        QCOMPARE(lines().value(u"V_SKLAD"_s).toString(), u"Магазин Изток"_s);
        clickButton(transfer(), u"BitBtnPrintSklRazp"_s);
        const QString text = pdfText(previews_.front(), *dir_, u"picked"_s);
        QVERIFY2(text.contains(u"Магазин Изток"_s), qPrintable(text));
        QVERIFY2(!fromWarehouse || !text.contains(u"Център"_s), qPrintable(text));
        ui_->answers = {true};
        clickButton(transfer(), u"BitBtnZapSklOb"_s);
    });
    QVERIFY(!transfer()->isVisible());
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    const DbResult stored = db().query(u"select NSKL_RAZP_VHOD, AUTONUM from SKL_OBEKTI_MATERIALI where NSKL_OBEKT = 2"_s);
    QCOMPARE(stored.rows.size(), std::size_t(1));
    QCOMPARE(stored.rows[0][0].toInt(), receipt);
    const QString from = fromWarehouse ? u"AUTONUM_SKLAD"_s : u"AUTONUM_SKLOB"_s;
    QCOMPARE(count(u"select count(*) from SKLAD_DVIGENIE where DOK_AUTONUM = %1 and %2 = %3"_s
                       .arg(stored.rows[0][1].toInt()).arg(from).arg(newer)), 1);
    QCOMPARE(count(u"select count(*) from SKLAD_DVIGENIE where DOK_AUTONUM = %1 and %2 = %3"_s
                       .arg(stored.rows[0][1].toInt()).arg(from).arg(older)), 0);
}

// "> Excel" writes the list of the view shown, its visible columns in their order, one row per
// line; an empty list writes nothing.
void TstOutletsWindows::everyViewExportsToAWorkbook()
{
    deliver(500, 10);
    const int line = toObject(1, 500, 6);
    sell(1, 500, 2, line);
    ObjectTransfers::Transfer across;
    across.mode = ObjectTransfers::Mode::BetweenObjects;
    across.target = 2;
    across.sourceObject = 1;
    across.date = QDate(2026, 6, 3);
    across.lines = {{line, 500, 1.5, 2.5}};
    ObjectTransfers::save(db(), across);
    showObjects();
    for (int view = 0; view < 5; ++view) {
        obekti()->RdGrpIzbViewDanni->click(view);
        SmpDataset* list = app_->DMSklObekti->view(view);
        QVERIFY2(list->recordCount() > 0, qPrintable(list->objectName()));
        for (const QString& f : workbooks()) QFile::remove(f);
        clickButton(obekti(), u"BitBtnExcel"_s);
        const QStringList books = workbooks();
        QCOMPARE(books.size(), 1);
        const Sheet sheet = readWorkbook(books.front());
        QStringList labels;
        for (const SmpField* f : list->fields())
            if (f->visible) labels << f->displayLabel;
        QCOMPARE(sheet.texts.value(0), labels);
        QCOMPARE(sheet.texts.size(), list->recordCount() + 1);
        const int name = labels.indexOf(list->fieldByName(u"IMEMATERIAL"_s)->displayLabel);
        QCOMPARE(sheet.texts.value(1).value(name), u"Болт"_s);
        const int number = labels.indexOf(list->fieldByName(u"NUM_SKL_RAZP"_s)->displayLabel);
        QCOMPARE(sheet.kinds.value(1).value(number), u"n"_s);
    }
    // The received view of a period without receipts: nothing to write.
    obekti()->RdGrpIzbViewDanni->click(1);
    obekti()->RdGrpDateOtDo->click(1);
    obekti()->DateTimOt->setDate(QDate(2026, 1, 1));
    obekti()->DateTimDo->setDate(QDate(2026, 1, 2));
    obekti()->ReloadWarehouseObjectView();
    QCOMPARE(app_->DMSklObekti->SmpSklObPolucheno.recordCount(), 0);
    for (const QString& f : workbooks()) QFile::remove(f);
    clickButton(obekti(), u"BitBtnExcel"_s);
    QCOMPARE(workbooks().size(), 0);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

QTEST_MAIN(TstOutletsWindows)
#include "tst_outlets_windows.moc"
