#include "data/dmproizv.h"
#include "data/dmsklad.h"
#include "platform/base/clock.h"
#include "platform/dataset/smpdataset.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/radiogroup.h"
#include "production/formiskizdelie.h"
#include "production/formproizvodstvo.h"
#include "production/formrecepizdisk.h"
#include "production/formsklisk.h"
#include "production/formspriskania.h"
#include "production/production.h"
#include "production/qriskane.h"
#include "reference/formrecepizdelie.h"
#include "reference/tabproduction.h"
#include "support/appfixture.h"
#include "support/pdftext.h"
#include "support/typing.h"
#include "support/workbookreader.h"
#include "warehouse/formsklad.h"

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

#include <functional>
#include <map>

using namespace Qt::StringLiterals;

// The production windows driven by their controls over a real database: requisitions and batches
// made through the windows end to end, with the stock checked in the database after each step.
class TstProductionWindows : public QObject, protected AppFixture
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void opensFromMainMenu();
    void recipeRequisitionThenBatchThenDelete();
    void recipeShortEmptiesTheLines();
    void freeRequisitionRecordsNoProduct();
    void linesAboveStockAreRefused();
    void seriesRequisitionWithProductionPricesPerPair();
    void answeringNoStillOffersTheBatch();
    void batchRefusals();
    void batchDeleteRefusedWhenSold();
    void givingMaterialBack();
    void emptyListsAreRefused();
    void recipeEditorRereadsProducts();
    void inquiryAndExports();
    void printedRequisitions();

private:
    TFormProizvodstvo* prod() { return app_->FormProizvodstvo; }
    TDMProizv& pr() { return *app_->DMProizv; }
    void deliver(int material, double quantity, double price);
    double warehouseStock(int material);
    double workshopHolds(int material);
    // Each modal window the windows open is handed to the script of its name.
    void onModal(std::map<QString, std::function<void(Form*)>> scripts);
    void requisitionFromRecipe(const QString& product, int count);
    QStringList workbooks();
    QStringList messages() { return ui_->texts(RecordingUi::Kind::Message); }
};

void TstProductionWindows::init()
{
    start();
    Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    exec(u"insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"_s);
    exec(u"insert into TIP_PROIZVODSTVO (NPROIZVODSTVO, PROIZVODSTVO, PSEVDONIM_CEH) values (1, 'Шивашки цех', 'ШЦ')"_s);
    exec(u"insert into TIP_PROIZVODSTVO (NPROIZVODSTVO, PROIZVODSTVO, PSEVDONIM_CEH) values (2, 'Дърводелски цех', 'ДЦ')"_s);
    const struct { int n; const char* name; int counted, receives, series; } items[] = {
        {600, "Кожа", 0, 0, 0},           {601, "Подметка", 0, 0, 0},       {700, "Обувка", 0, 0, 0},
        {610, "А-кройка сандал", 0, 0, 0}, {611, "Б-чифт 38", 1, 0, 0},     {612, "В-чифт 40", 1, 0, 0},
        {613, "Г-кутия", 0, 1, 0},         {710, "Сандал серия", 0, 0, 1}};
    for (const auto& i : items)
        db().execute(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA, IZCH_DA_NE, SUM_DA_NE, "
                     u"SERIA_DA_NE) values (:N, :I, 1, 1, 1, :C, :R, :S)"_s,
                     {{u"N"_s, i.n}, {u"I"_s, QString::fromUtf8(i.name)}, {u"C"_s, i.counted}, {u"R"_s, i.receives},
                      {u"S"_s, i.series}});
    exec(u"insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (1, 1, 700)"_s);
    exec(u"insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (2, 1, 710)"_s);
    for (const auto& [product, material, qty] : {std::tuple{1, 600, 2.0}, {1, 601, 1.0}, {2, 610, 1.0}, {2, 611, 2.0},
                                                 {2, 612, 3.0}, {2, 613, 1.0}})
        db().execute(u"insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (:T, :M, :Q)"_s,
                     {{u"T"_s, product}, {u"M"_s, material}, {u"Q"_s, qty}});
    deliver(600, 10, 3);
    deliver(601, 10, 4);
    for (int m : {610, 611, 612}) deliver(m, 10, 1);
    deliver(613, 20, 0.5);
    dm().SmpMateriali.close();
    dm().SmpMateriali.open();
}

void TstProductionWindows::cleanup()
{
    stop();
    Clock::reset();
}

void TstProductionWindows::deliver(int material, double quantity, double price)
{
    db().executeProcedure(u"ADDDOSTAVKA"_s, {{u"NMATERIAL"_s, material}, {u"KOLICHESTVO"_s, quantity},
                                             {u"ED_CENA_LV"_s, price}, {u"DATEPOLUCHENO"_s, QDate(2026, 11, 1)},
                                             {u"DATEFAKTURA"_s, QDate(2026, 11, 1)}, {u"NKONTRAGENT"_s, 5},
                                             {u"NFAKTURA"_s, u"F1"_s}});
}

double TstProductionWindows::warehouseStock(int material)
{
    return db().selectProcedure(u"SKLAD_MAT_NALICH_SUM"_s, {{u"NUMMATERIAL"_s, material}})
        .value(0, u"SUMNALICHNOST"_s).toDouble();
}

double TstProductionWindows::workshopHolds(int material)
{
    return db().selectProcedure(u"CEH_MAT_SALDO"_s, {{u"NPROIZVODSTVO"_s, 1}, {u"NMATERIAL"_s, material}})
        .value(0, u"NALICHNOST"_s).toDouble();
}

void TstProductionWindows::onModal(std::map<QString, std::function<void(Form*)>> scripts)
{
    ui_->onModal = [scripts = std::move(scripts)](Form* f) {
        const auto script = scripts.find(f->objectName());
        if (script != scripts.end()) script->second(f);
        return f->modalResult();
    };
}

// Opens the requisition window from the production window, fills it from the recipe of the
// product for `count` products and saves it.
void TstProductionWindows::requisitionFromRecipe(const QString& product, int count)
{
    onModal({{u"FormSklIsk"_s, [&](Form*) {
                  chooseInList(app_->FormSklIsk->DBLkpCmBoxIzdISK, product);
                  ui_->answers = {true};
                  clickButton(app_->FormSklIsk, u"SpdBtnZapIskane"_s);
              }},
             {u"FormRecepIzdISK"_s, [count, this](Form*) {
                  app_->FormRecepIzdISK->SpnEdtBrIzdeliaN->setValue(count);
                  clickButton(app_->FormRecepIzdISK, u"SpdBtnZapMatRecep"_s);
              }}});
    clickButton(prod(), u"SpeedBtnIskaniaMat"_s);
}

QStringList TstProductionWindows::workbooks()
{
    QDir docs(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    QStringList out;
    for (const QString& f : docs.entryList({u"*.xlsx"_s}, QDir::Files)) out << docs.filePath(f);
    return out;
}

void TstProductionWindows::opensFromMainMenu()
{
    auto* item = app_->FormNS->findChild<QAction*>(u"N4CehProizv"_s);
    QVERIFY(item && item->isEnabled());
    item->trigger();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modeless), QStringList{u"FormProizvodstvo"_s});
    QVERIFY(prod()->isVisible());
    QCOMPARE(prod()->chosenWorkshop(), 1);
    QCOMPARE(prod()->DateIzdelieOt->date(), QDate(2026, 11, 30));
    QCOMPARE(prod()->DateIzdelieDo->date(), QDate(2026, 12, 10));
    QVERIFY(pr().SmpProizvMatNalich.isActive());
    QVERIFY(pr().SmpIzdelieCehPart.isActive());
    // Only this workshop's products can be started.
    QCOMPARE(dm().SmpProizIzdISK.recordCount(), 2);
    prod()->RdGrpIzbProizv->click(0);
    QCOMPARE(prod()->chosenWorkshop(), 0);
    QVERIFY(!prod()->SpdBtnDelMatCeh->isEnabled());
    QVERIFY(!prod()->DBLkpCBoxIzbRecepIzd->isEnabled());
    QVERIFY(prod()->DBGrid1->isColumnVisible(u"IMEPROIZVODSTVO"_s));
    clickButton(prod(), u"SpeedBtnIskaniaMat"_s);
    QCOMPARE(messages(), QStringList{u"Не е въведено тип производство !"_s});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList());
    prod()->RdGrpIzbProizv->click(1);
    QVERIFY(prod()->SpdBtnDelMatCeh->isEnabled());
    QVERIFY(!prod()->DBGrid1->isColumnVisible(u"IMEPROIZVODSTVO"_s));
}

void TstProductionWindows::recipeRequisitionThenBatchThenDelete()
{
    prod()->show();
    requisitionFromRecipe(u"Обувка"_s, 3);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), (QStringList{u"FormSklIsk"_s, u"FormRecepIzdISK"_s}));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList{u" Потвърдете запис на искане ?"_s});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    // Three shoes' worth left the warehouse for the workshop, under one requisition number.
    QCOMPARE(warehouseStock(600), 4.0);
    QCOMPARE(warehouseStock(601), 7.0);
    QCOMPARE(count(u"select count(distinct NISKANE) from ISKANIA where NISKANE = '20261210001'"_s), 1);
    QCOMPARE(count(u"select KOLICH_IZDELIE from ISKANIA_IZDELIA where NTIP_IZDELIE = 1"_s), 3);
    SmpDataset& stock = pr().SmpProizvMatNalich;
    QCOMPARE(stock.recordCount(), 2);
    QVERIFY(stock.locate(u"NUMMATERIAL"_s, {600}));
    QCOMPARE(stock.value(u"NALICHNOST"_s).toDouble(), 6.0);
    QCOMPARE(stock.value(u"ED_CENA_LV"_s).toDouble(), 3.0);

    // A batch of the three: the dialog shows the cost and records the product at it.
    ui_->clear();
    QString total, unit;
    onModal({{u"FormIskIzdelie"_s, [&](Form*) {
        TFormIskIzdelie* d = app_->FormIskIzdelie;
        QCOMPARE(d->SpnEdtBrIzdelie->value(), 0);
        QCOMPARE(d->LbProizvodstvo->text(), u"Шивашки цех"_s);
        QCOMPARE(d->LbPsevdonimCeh->text(), u"ШЦ"_s);
        d->SpnEdtBrIzdelie->setValue(3);
        total = d->LbSumEdCenaIzdelie->text();
        unit = d->LbEdCenIZD_Ser->text();
        ui_->answers = {true};
        clickButton(d, u"SpdBtnZapisPart_Mat_Izdelie"_s);
    }}});
    chooseInList(prod()->DBLkpCBoxIzbRecepIzd, u"Обувка"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList{u"FormIskIzdelie"_s});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QCOMPARE(total, u"30.00"_s);  // 6 leather at 3 and 3 soles at 4
    QCOMPARE(unit, u"10.00"_s);
    const DbResult line = db().query(u"select KOLICHESTVO, ED_CENA_LV, NFAKTURA, KOLICH_SERII from SKLAD where NMATERIAL = 700"_s);
    QCOMPARE(line.rows.size(), std::size_t(1));
    QCOMPARE(line.value(0, u"KOLICHESTVO"_s).toDouble(), 3.0);
    QCOMPARE(line.value(0, u"ED_CENA_LV"_s).toDouble(), 10.0);
    QCOMPARE(line.value(0, u"NFAKTURA"_s).toString(), u"ШЦ001"_s);
    QCOMPARE(line.value(0, u"KOLICH_SERII"_s).toInt(), 0);
    QCOMPARE(warehouseStock(700), 3.0);
    QCOMPARE(workshopHolds(600), 0.0);
    QCOMPARE(stock.recordCount(), 0);
    SmpDataset& batches = pr().SmpIzdelieCehPart;
    QCOMPARE(batches.recordCount(), 1);
    QCOMPARE(batches.value(u"PART_NUM_IZDELIE"_s).toString(), u"20261210001"_s);
    QCOMPARE(batches.value(u"PROIZVEDENO"_s).toDouble(), 3.0);

    // The batches into a workbook, as the grid lists them.
    for (const QString& f : workbooks()) QFile::remove(f);
    clickButton(prod(), u"SpeedButton4"_s);
    QCOMPARE(workbooks().size(), 1);
    const Sheet sheet = readWorkbook(workbooks().front());
    QCOMPARE(sheet.texts.value(0).join(u'|'), u"Производство|Партиден №|Изделие /комплект/|Мка|Количество|Дата|Бр.серии"_s);
    QCOMPARE(sheet.texts.value(1).mid(0, 3), (QStringList{u"Шивашки цех"_s, u"20261210001"_s, u"Обувка"_s}));

    // The batches of one product, by its choice list.
    prod()->RdGrpIzbIzd->click(1);
    QVERIFY(prod()->DBLkpCmBoxIzdelie->isEnabled());
    chooseInList(prod()->DBLkpCmBoxIzdelie, u"Сандал серия"_s);
    QCOMPARE(batches.recordCount(), 0);
    chooseInList(prod()->DBLkpCmBoxIzdelie, u"Обувка"_s);
    QCOMPARE(batches.recordCount(), 1);
    prod()->DateIzdelieOt->setDate(QDate(2026, 12, 11));
    prod()->ReloadBatches();
    QCOMPARE(batches.recordCount(), 0);
    prod()->DateIzdelieOt->setDate(QDate(2026, 12, 1));
    prod()->RdGrpIzbIzd->click(0);
    QCOMPARE(batches.recordCount(), 1);

    // The stock window takes the batch's line for production, whatever its mark: not deleted there.
    TFormSklad* sklad = app_->FormSklad;
    sklad->show();
    sklad->RdGrpIzbSklad->click(0);
    sklad->RdGrpIzbMaterial->click(0);
    QVERIFY(app_->DMSklad->SmpSklNalich.locate(u"NMATERIAL"_s, {700}));
    ui_->clear();
    clickButton(sklad, u"SpdBtnDelKontragent"_s);
    QCOMPARE(messages(), QStringList{u"Собствено производство - ИЗТРИВАНЕТО ЗАБРАНЕНО !  "_s});
    QCOMPARE(count(u"select count(*) from SKLAD where NMATERIAL = 700"_s), 1);
    sklad->close();

    // Deleting the batch puts everything back where the requisition left it.
    ui_->clear();
    ui_->answers = {true};
    clickButton(prod(), u"SpdBtnDelIzdelie"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList{u" Изтриване на изделие ? "_s});
    QCOMPARE(count(u"select count(*) from SKLAD where NMATERIAL = 700"_s), 0);
    QCOMPARE(count(u"select count(*) from IZDELIE"_s), 0);
    QCOMPARE(workshopHolds(600), 6.0);
    QCOMPARE(workshopHolds(601), 3.0);
    QCOMPARE(batches.recordCount(), 0);
    QCOMPARE(stock.recordCount(), 2);
}

void TstProductionWindows::recipeShortEmptiesTheLines()
{
    prod()->show();
    int linesAfter = -1;
    onModal({{u"FormSklIsk"_s, [&](Form*) {
                  chooseInList(app_->FormSklIsk->DBLkpCmBoxIzdISK, u"Обувка"_s);
                  linesAfter = pr().SmpSklIskTEMP.recordCount();
                  clickButton(app_->FormSklIsk, u"SpdBtnZapIskane"_s);
              }},
             {u"FormRecepIzdISK"_s, [this](Form*) {
                  // Six shoes need 12 leather: only 10 are in stock; the soles are enough.
                  app_->FormRecepIzdISK->SpnEdtBrIzdeliaN->setValue(6);
                  QCOMPARE(pr().SmpRecepIzdISK.recordCount(), 2);
                  app_->FormRecepIzdISK->RdGrpFiltyrMatRecep->click(1);
                  QCOMPARE(pr().SmpRecepIzdISK.recordCount(), 1);
                  app_->FormRecepIzdISK->RdGrpFiltyrMatRecep->click(0);
                  QVERIFY(app_->FormRecepIzdISK->DBGrid10->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>()
                          == QColor(Qt::red));
                  clickButton(app_->FormRecepIzdISK, u"SpdBtnZapMatRecep"_s);
              }}});
    clickButton(prod(), u"SpeedBtnIskaniaMat"_s);
    QCOMPARE(linesAfter, 0);
    QCOMPARE(messages(), (QStringList{u"Недостатъчно количество на - Кожа"_s,
                                      u"Недостатъчни количества материали в склада. Таблицата с искания ще бъде нулирана  !"_s,
                                      u"Липстват данни за изписване !"_s}));
    QCOMPARE(count(u"select count(*) from ISKANIA"_s), 0);
}

void TstProductionWindows::freeRequisitionRecordsNoProduct()
{
    prod()->show();
    // The stock window's supplier filter, left on the shared stock list, does not hide stock here.
    app_->DMSklad->SmpSklNalich.setFilter(u"NKONTRAGENT=99"_s);
    app_->DMSklad->SmpSklNalich.setFiltered(true);
    QStringList corrected;
    onModal({{u"FormSklIsk"_s, [&](Form*) {
        TFormSklIsk* w = app_->FormSklIsk;
        w->RdGrpIzpisvRec_Mat->click(1);
        QVERIFY(w->EditKolichestvoMat->isEnabled());
        QVERIFY(!w->SpdBtnZapIsk_Proizv->isEnabled());
        SmpDataset& stock = app_->DMSklad->SmpSklNalich;
        QVERIFY(stock.locate(u"NMATERIAL"_s, {600}));
        // Nothing, zero, then more than the stock are refused; the box gets the stock.
        clickButton(w, u"SpdBtnZapMatIsk"_s);
        typeText(w->EditKolichestvoMat, u"0"_s);
        clickButton(w, u"SpdBtnZapMatIsk"_s);
        w->EditKolichestvoMat->clear();
        typeText(w->EditKolichestvoMat, u"11"_s);
        clickButton(w, u"SpdBtnZapMatIsk"_s);
        corrected << w->EditKolichestvoMat->text();
        // The same material twice keeps the second quantity; Enter adds too.
        w->EditKolichestvoMat->clear();
        typeText(w->EditKolichestvoMat, u"2,5"_s);
        clickButton(w, u"SpdBtnZapMatIsk"_s);
        w->EditKolichestvoMat->clear();
        typeText(w->EditKolichestvoMat, u"4"_s);
        QTest::keyClick(w->EditKolichestvoMat, Qt::Key_Return);
        QVERIFY(stock.locate(u"NMATERIAL"_s, {601}));
        w->EditKolichestvoMat->clear();
        typeText(w->EditKolichestvoMat, u"1"_s);
        clickButton(w, u"SpdBtnZapMatIsk"_s);
        corrected << QString::number(pr().SmpSklIskTEMP.recordCount());
        ui_->answers = {true};
        clickButton(w, u"SpdBtnZapIskane"_s);
    }}});
    clickButton(prod(), u"SpeedBtnIskaniaMat"_s);
    QCOMPARE(messages(), (QStringList{u"Не е въведено количество !"_s, u"Не е въведено количество !"_s,
                                      u"Въведеното количество е по-голямо от наличното !"_s}));
    QCOMPARE(corrected, (QStringList{u"10.00"_s, u"2"_s}));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QCOMPARE(warehouseStock(600), 6.0);
    QCOMPARE(warehouseStock(601), 9.0);
    QCOMPARE(count(u"select count(*) from ISKANIA"_s), 2);
    QCOMPARE(count(u"select count(*) from ISKANIA_IZDELIA"_s), 0);
    QCOMPARE(pr().SmpProizvMatNalich.recordCount(), 2);
}

void TstProductionWindows::linesAboveStockAreRefused()
{
    prod()->show();
    bool red = false, stayedOpen = false;
    int linesKept = 0;
    onModal({{u"FormSklIsk"_s, [&](Form*) {
        TFormSklIsk* w = app_->FormSklIsk;
        w->RdGrpIzpisvRec_Mat->click(1);
        QVERIFY(app_->DMSklad->SmpSklNalich.locate(u"NMATERIAL"_s, {600}));
        typeText(w->EditKolichestvoMat, u"8"_s);
        clickButton(w, u"SpdBtnZapMatIsk"_s);
        // A quantity raised in the grid above the stock offered: red, and neither saved nor printed.
        SmpDataset& lines = pr().SmpSklIskTEMP;
        lines.edit();
        lines.setValue(u"KOLICHOBSTO"_s, 10.5);
        lines.post();
        red = w->DBGrid2->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>() == QColor(Qt::red);
        clickButton(w, u"SpdBtnZapIskane"_s);
        clickButton(w, u"BitBtnSpecif"_s);
        lines.edit();
        lines.setValue(u"KOLICHOBSTO"_s, 8.0);
        lines.post();
        // Another workstation draws 5 of the 10 meanwhile: the server refuses, nothing is stored
        // and the lines stay for the user.
        Production::Requisition other;
        other.date = Clock::today();
        other.workshop = 2;
        other.lines = {{1, 600, u"Кожа"_s, 5}};
        Production::saveRequisition(db(), other, Clock::today());
        ui_->answers = {true};
        clickButton(w, u"SpdBtnZapIskane"_s);
        stayedOpen = w->isVisible();
        linesKept = lines.recordCount();
        w->close();
    }}});
    clickButton(prod(), u"SpeedBtnIskaniaMat"_s);
    QVERIFY(red);
    QCOMPARE(messages(), (QStringList{u"Има количество за изписване по-голямо от наличното в склада !"_s,
                                      u"Има количество за изписване по-голямо от наличното в склада !"_s}));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList{u"Недостатъчно количество на - Кожа"_s});
    QVERIFY(stayedOpen);
    QCOMPARE(linesKept, 1);
    QCOMPARE(count(u"select count(*) from ISKANIA where NPROIZVODSTVO = 1"_s), 0);
    QCOMPARE(warehouseStock(600), 5.0);
}

void TstProductionWindows::seriesRequisitionWithProductionPricesPerPair()
{
    prod()->show();
    int pairsShown = -1, countShown = -1, countLimit = -1;
    QString perPair;
    onModal({{u"FormSklIsk"_s, [&](Form*) {
                  TFormSklIsk* w = app_->FormSklIsk;
                  chooseInList(w->DBLkpCmBoxIzdISK, u"Сандал серия"_s);
                  QVERIFY(w->SpdBtnSer->isEnabled());
                  ui_->answers = {true, true};
                  clickButton(w, u"SpdBtnZapIsk_Proizv"_s);
              }},
             {u"FormRecepIzdISK"_s, [this](Form*) {
                  app_->FormRecepIzdISK->SpnEdtBrIzdeliaN->setValue(2);
                  clickButton(app_->FormRecepIzdISK, u"SpdBtnZapMatRecep"_s);
              }},
             {u"FormIskIzdelie"_s, [&](Form*) {
                  TFormIskIzdelie* d = app_->FormIskIzdelie;
                  countShown = d->SpnEdtBrIzdelie->value();
                  countLimit = d->SpnEdtBrIzdelie->maximum();
                  pairsShown = d->LbBrChift->text().toInt();
                  perPair = d->LbEdCenaIzdelie->text();
                  clickButton(d, u"SpdBtnZapisPart_Mat_Izdelie"_s);
              }}});
    clickButton(prod(), u"SpeedBtnIskaniaMat"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    // Two series: 2x2 of size 38 and 2x3 of size 40 make 10 pairs; the box line takes 10.
    QCOMPARE(app_->FormSklIsk->LbBrChift->text(), u"10"_s);
    QCOMPARE(count(u"select KOLICH_SERII from ISKANIA_IZDELIA where NTIP_IZDELIE = 2"_s), 10);
    QCOMPARE(warehouseStock(613), 10.0);
    QCOMPARE(countShown, 2);
    // The count of series is stored as a smallint: the box offers no more.
    QCOMPARE(countLimit, 32767);
    QCOMPARE(pairsShown, 10);
    // Cost: 2 + 4 + 6 pieces at 1 and 10 boxes at 0.5 = 17; a pair costs 1.70.
    QCOMPARE(perPair, u"1.70"_s);
    const DbResult line = db().query(u"select KOLICHESTVO, ED_CENA_LV, KOLICH_SERII from SKLAD where NMATERIAL = 710"_s);
    QCOMPARE(line.rows.size(), std::size_t(1));
    QCOMPARE(line.value(0, u"KOLICHESTVO"_s).toDouble(), 10.0);
    QVERIFY(qAbs(line.value(0, u"ED_CENA_LV"_s).toDouble() - 1.7) < 1e-9);
    QCOMPARE(line.value(0, u"KOLICH_SERII"_s).toInt(), 2);
    QCOMPARE(count(u"select KOLICH_IZDELIE from IZDELIE"_s), 10);
    QCOMPARE(pr().SmpIzdelieCehPart.recordCount(), 1);
}

void TstProductionWindows::answeringNoStillOffersTheBatch()
{
    prod()->show();
    requisitionFromRecipe(u"Обувка"_s, 1);
    ui_->clear();
    onModal({{u"FormSklIsk"_s, [&](Form*) {
                  chooseInList(app_->FormSklIsk->DBLkpCmBoxIzdISK, u"Обувка"_s);
                  ui_->answers = {false};
                  clickButton(app_->FormSklIsk, u"SpdBtnZapIsk_Proizv"_s);
              }},
             {u"FormRecepIzdISK"_s, [this](Form*) { clickButton(app_->FormRecepIzdISK, u"SpdBtnZapMatRecep"_s); }}});
    clickButton(prod(), u"SpeedBtnIskaniaMat"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal),
             (QStringList{u"FormSklIsk"_s, u"FormRecepIzdISK"_s, u"FormIskIzdelie"_s}));
    QCOMPARE(count(u"select count(distinct NISKANE) from ISKANIA"_s), 1);
    QCOMPARE(app_->FormIskIzdelie->SpnEdtBrIzdelie->value(), 1);
    QCOMPARE(app_->FormIskIzdelie->SpnEdtBrIzdelie->maximum(), Production::kMaxProducts);
}

void TstProductionWindows::batchRefusals()
{
    prod()->show();
    requisitionFromRecipe(u"Обувка"_s, 2);
    ui_->clear();
    onModal({{u"FormIskIzdelie"_s, [&](Form*) {
        TFormIskIzdelie* d = app_->FormIskIzdelie;
        clickButton(d, u"SpdBtnZapisPart_Mat_Izdelie"_s);  // no count
        d->SpnEdtBrIzdelie->setValue(3);                    // more than the workshop holds
        const QColor red = d->DBGrid10->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>();
        QCOMPARE(red, QColor(Qt::red));
        clickButton(d, u"SpdBtnZapisPart_Mat_Izdelie"_s);
        QVERIFY(d->isVisible());
        d->close();
    }}});
    chooseInList(prod()->DBLkpCBoxIzbRecepIzd, u"Обувка"_s);
    QCOMPARE(messages(), (QStringList{u"Не е зададено количество !  "_s, u"Недостиг на материали !"_s}));
    QCOMPARE(count(u"select count(*) from IZDELIE"_s), 0);
    // A product whose materials the workshop never received has no workshop recipe.
    ui_->clear();
    prod()->RdGrpRecProizvDa_Ne->click(1);
    QVERIFY(dm().SmpProizIzdISK.recordCount() >= 2);
}

void TstProductionWindows::batchDeleteRefusedWhenSold()
{
    prod()->show();
    requisitionFromRecipe(u"Обувка"_s, 1);
    onModal({{u"FormIskIzdelie"_s, [&](Form*) {
        app_->FormIskIzdelie->SpnEdtBrIzdelie->setValue(1);
        ui_->answers = {true};
        clickButton(app_->FormIskIzdelie, u"SpdBtnZapisPart_Mat_Izdelie"_s);
    }}});
    chooseInList(prod()->DBLkpCBoxIzbRecepIzd, u"Обувка"_s);
    const int line = count(u"select AUTONUM from SKLAD where NMATERIAL = 700"_s);
    exec(u"insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO, DATE_DVIGENIE, DOK_NOMER) "
         u"values (%1, 1, 0.5, '10.12.2026', 'P1')"_s.arg(line));
    ui_->clear();
    clickButton(prod(), u"SpdBtnDelIzdelie"_s);
    QCOMPARE(messages(), QStringList{u"Има продадено от това изделие !\n  ИЗТРИВАНЕТО - НЕВЪЗМОЖНО  !"_s});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList());
    QCOMPARE(count(u"select count(*) from IZDELIE"_s), 1);
}

void TstProductionWindows::givingMaterialBack()
{
    prod()->show();
    requisitionFromRecipe(u"Обувка"_s, 2);
    SmpDataset& stock = pr().SmpProizvMatNalich;
    QVERIFY(stock.locate(u"NUMMATERIAL"_s, {600}));
    ui_->clear();
    ui_->answers = {false};
    clickButton(prod(), u"SpdBtnDelMatCeh"_s);
    QCOMPARE(warehouseStock(600), 6.0);
    ui_->answers = {true};
    clickButton(prod(), u"SpdBtnDelMatCeh"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question).last(), u" Изтриване и въстановяване в склад ? "_s);
    QCOMPARE(warehouseStock(600), 10.0);
    QCOMPARE(workshopHolds(600), 0.0);
    QCOMPARE(stock.recordCount(), 1);
    // With every workshop listed nothing can be given back.
    prod()->RdGrpIzbProizv->click(0);
    ui_->answers = {true};
    clickButton(prod(), u"SpdBtnDelMatCeh"_s);
    QCOMPARE(warehouseStock(601), 8.0);
}

void TstProductionWindows::emptyListsAreRefused()
{
    prod()->show();
    clickButton(prod(), u"SpdBtnDelIzdelie"_s);
    chooseInList(prod()->DBLkpCBoxIzbRecepIzd, u"Обувка"_s);
    ui_->answers = {true};
    clickButton(prod(), u"SpdBtnDelMatCeh"_s);
    clickButton(prod(), u"SpeedBtnPrintNUMIskane"_s);
    QCOMPARE(messages(), (QStringList{u"Липсват данни за изтриване !"_s, u"Липстват материали за производство !"_s,
                                      u"Липсват данни за изтриване !"_s, u"Липсват данни за печат !"_s}));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList());
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList());
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    // A workshop with materials but no products of its own has nothing to start.
    exec(u"insert into ISKANIA (NISKANE, DATEISKANE, NPROIZVODSTVO, NSKLAD, NMATERIAL, KOLICHESTVO, ED_CENA_LV) "
         u"values ('20261210001', '10.12.2026', 2, 1, 600, 1, 3)"_s);
    chooseInList(prod()->DBLkpCmBoxIzbProizv, u"Дърводелски цех"_s);
    QCOMPARE(pr().SmpProizvMatNalich.recordCount(), 1);
    QCOMPARE(dm().SmpProizIzdISK.recordCount(), 0);
    ui_->clear();
    prod()->DBLkpCBoxIzbRecepIzdCloseUp();
    QCOMPARE(messages(), QStringList{u"Не е избрано изделие !"_s});
}

void TstProductionWindows::recipeEditorRereadsProducts()
{
    prod()->show();
    SmpDataset& products = dm().SmpProizIzdISK;
    QVERIFY(products.locate(u"NTIP_IZDELIE"_s, {1}));
    const double before = products.value(u"ED_CENA"_s).toDouble();
    // A recipe line added through the reference window's recipe editor.
    form()->show();
    form()->PageControl1->setCurrentWidget(form()->TabSheet4);
    dm().SmpTipProizvN.refresh();  // the workshops were written behind the open list
    QVERIFY(dm().SmpTipProizvN.locate(u"NPROIZVODSTVO"_s, {1}));
    QVERIFY(dm().SmpTipIzdVIEW.locate(u"NTIP_IZDELIE"_s, {1}));
    onModal({{u"FormRecepIzdelie"_s, [this](Form* f) {
        auto* ed = static_cast<TFormRecepIzdelie*>(f);
        ed->DBLkpCmbMaterial->setKeyValue(613);
        ed->DBEdtKolichestvo->setFocus();
        ed->DBEdtKolichestvo->selectAll();
        typeText(ed->DBEdtKolichestvo, u"2"_s);
        QTest::keyClick(ed->DBEdtKolichestvo, Qt::Key_Return);
    }}});
    form()->TabSheet4->SpdBtnMatNewClick();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QCOMPARE(count(u"select count(*) from IZDELIE_RECEPTA where NTIP_IZDELIE = 1"_s), 3);
    // The production window's product list shows the product's new price without reopening.
    QVERIFY(products.locate(u"NTIP_IZDELIE"_s, {1}));
    QCOMPARE(products.value(u"ED_CENA"_s).toDouble(), 2 * 1.0 + 1 * 1.0 + 2 * 1.0);
    QVERIFY(products.value(u"ED_CENA"_s).toDouble() != before);
}

void TstProductionWindows::inquiryAndExports()
{
    prod()->show();
    requisitionFromRecipe(u"Обувка"_s, 2);
    ui_->clear();
    prod()->NSprIskania->trigger();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modeless), QStringList{u"FormSprIskania"_s});
    TFormSprIskania* inquiry = app_->FormSprIskania;
    SmpDataset& rows = pr().SmpSprIskPeriod;
    QCOMPARE(rows.recordCount(), 2);
    QVERIFY(rows.locate(u"IMEMATERIAL"_s, {u"Кожа"_s}));
    QCOMPARE(rows.value(u"SUMMAT_ISKANE"_s).toDouble(), 4.0);
    QCOMPARE(rows.value(u"SREDNA_CENA_LV"_s).toDouble(), 3.0);
    QCOMPARE(rows.value(u"IMEPROIZVIDSTVO"_s).toString(), u"Шивашки цех"_s);
    // "По избор" before a workshop was picked: bounds 0 and 0.
    inquiry->RdGrpIzbProizv->click(1);
    QVERIFY(inquiry->DBLkpCmBoxIzbProizv->isEnabled());
    QCOMPARE(rows.recordCount(), 0);
    chooseInList(inquiry->DBLkpCmBoxIzbProizv, u"Шивашки цех"_s);
    QCOMPARE(rows.recordCount(), 2);
    inquiry->DateIskOt->setDate(QDate(2026, 12, 11));
    inquiry->ReloadRequisitionInquiry();
    QCOMPARE(rows.recordCount(), 0);
    // An empty list writes no workbook; the others one each.
    for (const QString& f : workbooks()) QFile::remove(f);
    clickButton(inquiry, u"SpdBtnExcel"_s);
    QCOMPARE(workbooks().size(), 0);
    inquiry->DateIskOt->setDate(QDate(2026, 12, 1));
    inquiry->ReloadRequisitionInquiry();
    clickButton(inquiry, u"SpdBtnExcel"_s);
    clickButton(prod(), u"SpdBtnMatCehExcel"_s);
    QStringList books = workbooks();
    QCOMPARE(books.size(), 2);
    std::sort(books.begin(), books.end());
    QStringList headers;
    for (const QString& b : books) headers << readWorkbook(b).texts.value(0).join(u'|');
    QVERIFY(headers.contains(u"Производство|Склад|№|Изделие,материал,комплект . . .|Мка|Налично|Доставено|Вложено|Ед.ц.лв."_s));
    QVERIFY(headers.join(u'\n').contains(u"Производство|Склад|Наименование|Мка|Изписано"_s));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstProductionWindows::printedRequisitions()
{
    prod()->show();
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (70, 1, 'Клиент Обувки ООД')"_s);
    QString recipeText;
    QString specifText;
    onModal({{u"FormSklIsk"_s, [&](Form*) {
                  TFormSklIsk* w = app_->FormSklIsk;
                  chooseInList(w->DBLkpCmBoxIzdISK, u"Сандал серия"_s);
                  SmpDataset& seria = pr().SmpSeria;
                  seria.edit();
                  seria.setValue(u"N_38"_s, 4);
                  seria.setValue(u"N_40"_s, 6);
                  clickButton(w, u"BitBtnSpecif"_s);
                  specifText = pdfText(app_->QRSpecif->build(), *dir_, u"TQRSpecif"_s);
                  w->close();
              }},
             {u"FormRecepIzdISK"_s, [&](Form*) {
                  TFormRecepIzdISK* d = app_->FormRecepIzdISK;
                  d->SpnEdtBrIzdeliaN->setValue(2);
                  chooseInList(d->DBLkpCmBoxIzbKontr, u"Клиент Обувки ООД"_s);
                  clickButton(d, u"SpdBtnPrintIskane"_s);
                  recipeText = pdfText(app_->QRIskane->build(), *dir_, u"TQRIskane"_s);
                  clickButton(d, u"SpdBtnZapMatRecep"_s);
              }}});
    clickButton(prod(), u"SpeedBtnIskaniaMat"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal),
             (QStringList{u"FormSklIsk"_s, u"FormRecepIzdISK"_s, u"ReportPreview"_s, u"ReportPreview"_s}));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    const auto has = [](const QString& text, const QString& what) {
        return QString(text).simplified().contains(what);
    };
    // The spaced-out title comes back from the PDF with its spacing guessed; its letters count.
    QVERIFY2(QString(recipeText).remove(u' ').contains(u"ИСКАНЕпоПРЕДВАРИТЕЛНОЗАДАДЕНАРЕЦЕПТА"_s), qPrintable(recipeText));
    QVERIFY(has(recipeText, u"За изписване на материали за изработването на - 2 бр./с-я Сандал серия"_s));
    QVERIFY(has(recipeText, u"По поръчка на /клиент/ : Клиент Обувки ООД"_s));
    QVERIFY(has(recipeText, u"1 Основен А-кройка сандал бр. 2.000"_s));
    QVERIFY(has(recipeText, u"3 Основен В-чифт 40 бр. 6.000"_s));
    QVERIFY(has(recipeText, u"10.12.2026 год."_s));
    QVERIFY(has(recipeText, u"Началник склад: ............................."_s));
    // The size sheet: the requisition's lines, 10 pairs, the sizes as just written.
    QVERIFY2(has(specifText, u"За изписване на материали за изработването на - 10 бр./с-я Сандал серия"_s), qPrintable(specifText));
    QVERIFY(has(specifText, u"4 Основен Г-кутия бр. 10.000"_s));
    QVERIFY(QString(specifText).remove(u' ').contains(u"СПЕЦИФИКАЦИЯ"_s));
    QVERIFY(QString(specifText).remove(u' ').contains(u"ИЗРАБОТИЛИ"_s));
    QVERIFY(has(specifText, u"35 36 37 38 39 40 41 42 43 44 45 4 6"_s));
    QVERIFY(has(specifText, u"........................№ 35 .........ЧФ."_s));
    QVERIFY(has(specifText, u"........................№ 45 .........ЧФ."_s));
    QCOMPARE(count(u"select N_38 from SERIA"_s), 4);

    // A saved requisition printed again from the workshop's stock.
    ui_->clear();
    requisitionFromRecipe(u"Обувка"_s, 2);
    QVERIFY(pr().SmpProizvMatNalich.locate(u"NUMMATERIAL"_s, {600}));
    clickButton(prod(), u"SpeedBtnPrintNUMIskane"_s);
    QVERIFY(ui_->texts(RecordingUi::Kind::Modal).contains(u"ReportPreview"_s));
    const QString saved = pdfText(app_->QRNUMIskane->build(u"20261210001"_s), *dir_, u"TQRNUMIskane"_s).simplified();
    QVERIFY2(saved.contains(u"№ 20261210001 от 10.12.2026"_s), qPrintable(saved));
    QVERIFY(saved.contains(u"ЗА ИЗПИСВАНЕ НА МАТЕРИАЛИ ОТ СКЛАД"_s));
    QVERIFY(saved.contains(u"1 Основен Кожа бр. 4.000"_s));
    QVERIFY(saved.contains(u"2 Основен Подметка бр. 2.000"_s));
    // A number with no lines still prints its headings.
    const Report::Document none = app_->QRNUMIskane->build(u"20261209001"_s);
    QCOMPARE(none.pages.size(), 1);
    QVERIFY(pdfText(none, *dir_, u"none"_s).contains(u"ЗА ИЗПИСВАНЕ НА МАТЕРИАЛИ ОТ СКЛАД"_s));
}

QTEST_MAIN(TstProductionWindows)
#include "tst_production_windows.moc"
