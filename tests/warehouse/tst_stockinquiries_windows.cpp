#include "common/columnsettings.h"
#include "data/dmnsspravki.h"
#include "data/dmsklad.h"
#include "data/dmsklspravki.h"
#include "platform/base/clock.h"
#include "platform/report/reportpreview.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/radiogroup.h"
#include "reference/tabsettings.h"
#include "support/appfixture.h"
#include "support/pdftext.h"
#include "support/typing.h"
#include "support/workbookreader.h"
#include "warehouse/formambalag.h"
#include "warehouse/formmatspravka.h"
#include "warehouse/formsklad.h"
#include "warehouse/formskladmatceni.h"
#include "warehouse/formskladpunkt.h"
#include "warehouse/formsprskladdvigenie.h"
#include "warehouse/formsprskladmateriali.h"
#include "warehouse/formsprskladmaterialikymdata.h"
#include "warehouse/formsprskladsklrazp.h"
#include "warehouse/qrnalichkymdata.h"

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>

#include <algorithm>
#include <functional>

// The stock inquiries, the warehouse points and the packaging account driven by their controls
// over a real database, with their printouts read back from PDF.
class TstStockInquiriesWindows : public QObject, protected AppFixture
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();
    void menuOpensEveryInquiry();
    void movementDatesAndCorrection();
    void movementSupplierFilterFollowsTheShownSupplier();
    void usageOfDrawnLinesOnly_data();
    void usageOfDrawnLinesOnly();
    void minMaxColoursAndCriticalChoice();
    void stockAtDateShowsAndPrints();
    void stockAtDatePickerAgreesWithTheList();
    void stockAtDateOfTheSpecialInstallation();
    void stockAtDateFollowsColumnSettings();
    void datePickersReloadWhenTheDateIsCommitted();
    void receiptReprintOfOneDocument();
    void pointsRulesOfTheStockWindow();
    void pointsSupplierFilterAndPackaging();
    void exportsTheShownColumns();
    void columnsShowTheirTextsWhole();

private:
    int line(int material, const QDate& document, double quantity, double lv, int supplier = 60,
             const QString& number = QStringLiteral("F1"), double eur = 0);
    void out(int line, int kind, double quantity, const QDate& date);
    TDMSklSpravki& spravki() { return *app_->DMSklSpravki; }
    QList<Report::Document> previews_;
    int receipt_ = 1;
};

void TstStockInquiriesWindows::init()
{
    QFile::remove(ColumnSettings::filePath());  // the design columns and decimals
    start();
    receipt_ = 1;
    previews_.clear();
    Clock::setFixed(QDateTime(QDate(2026, 6, 10), QTime(9, 0)));
    exec(QStringLiteral("update FIRMA set IMEFIRMA = 'Дървообработка Рила ООД', PSEVDONIM_FIRMA = 'TRX'"));
    exec(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"));
    exec(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (2, 'Резервен')"));
    exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA, MIN_KOL, MAX_KOL)"
                        " values (500, 'Болт', 1, 1, 10, 10, 20)"));
    exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA, MIN_KOL, MAX_KOL)"
                        " values (501, 'Шайба', 1, 1, 1, 10, 20)"));
    exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA_EUR, MIN_KOL, MAX_KOL)"
                        " values (502, 'Гайка', 2, 1, 2, 10, 0)"));
    exec(QStringLiteral("insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (60, 2, 'Доставчик А')"));
    exec(QStringLiteral("insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (61, 2, 'Доставчик Б')"));
    dm().SmpFirma.refresh();
    ui_->onModal = [this](Form* form) {
        if (auto* preview = qobject_cast<Report::ReportPreview*>(form)) previews_ << preview->document();
        return 0;
    };
}

void TstStockInquiriesWindows::cleanup()
{
    Clock::reset();
    stop();
}

int TstStockInquiriesWindows::line(int material, const QDate& document, double quantity, double lv, int supplier,
                                   const QString& number, double eur)
{
    return db().executeReturning(
        QStringLiteral("insert into SKLAD (NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA, DATEPOLUCHENO, NSKLRAZP,"
                       " KOLICHESTVO, ED_CENA_LV, USD, EUR, PROCENT_OTST, PROCENT_DDS, KOMIS, NUMSHIFYR, KOLICH_SERII)"
                       " values (:M, :K, :F, :D, :D, :R, :Q, :L, 0, :E, 0, 20, 0, 0, 0) returning AUTONUM"),
        {{QStringLiteral("M"), material}, {QStringLiteral("K"), supplier}, {QStringLiteral("F"), number},
         {QStringLiteral("D"), QDateTime(document, QTime(10, 0))}, {QStringLiteral("R"), receipt_++},
         {QStringLiteral("Q"), quantity}, {QStringLiteral("L"), lv}, {QStringLiteral("E"), eur}})
        .value(QStringLiteral("AUTONUM")).toInt();
}

void TstStockInquiriesWindows::out(int line, int kind, double quantity, const QDate& date)
{
    db().execute(QStringLiteral("insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO, DATE_DVIGENIE)"
                                " values (:L, :V, :Q, :D)"),
                 {{QStringLiteral("L"), line}, {QStringLiteral("V"), kind}, {QStringLiteral("Q"), quantity},
                  {QStringLiteral("D"), QDateTime(date, QTime(12, 0))}});
}

void TstStockInquiriesWindows::menuOpensEveryInquiry()
{
    TFormSklad* sklad = app_->FormSklad;
    const QList<std::pair<QAction*, Form*>> items{
        {sklad->N2, app_->FormSprSkladDvigenie}, {sklad->N3, app_->FormSprSkladMateriali},
        {sklad->N6, app_->FormSprSkladMaterialiKymData}, {sklad->N5, app_->FormSkladMatCENI},
        {sklad->N4, app_->FormMat_Spravka}, {sklad->N7, app_->FormSprSkladSklRazp}};
    for (const auto& [item, window] : items) {
        QVERIFY(item->isEnabled());
        item->trigger();
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
    }
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modeless).size(), 6);
    // The main window's item and hot spot open the warehouse points.
    auto* points = app_->FormNS->findChild<QAction*>(QStringLiteral("N10SkladPunkt"));
    QVERIFY(points && points->isEnabled());
    points->trigger();
    QVERIFY(app_->FormSkladPunkt->isVisible());
    // And so does its hot spot on the picture.
    app_->FormSkladPunkt->close();
    app_->FormNS->show();
    auto* spot = app_->FormNS->findChild<QWidget*>(QStringLiteral("ImgSklPunkt"));
    QVERIFY(spot && spot->isEnabled());
    QTest::mouseClick(spot, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(app_->FormSkladPunkt->isVisible());
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstStockInquiriesWindows::movementDatesAndCorrection()
{
    TFormSprSkladDvigenie* w = app_->FormSprSkladDvigenie;
    SmpDataset& list = spravki().SmpSprSklDvig;
    w->show();
    // Nothing yet: a correction is refused with its message.
    clickButton(w, QStringLiteral("BitBtnUpdDostLV"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{QStringLiteral("Липсват данни за КОРЕКЦИЯ !")});

    line(500, QDate(2001, 3, 1), 1, 2);   // long before
    line(500, QDate(2026, 6, 10), 2, 2);  // today, 10:00
    line(502, QDate(2031, 1, 1), 4, 2);   // years ahead
    w->RdGrpIzbDate->click(2);
    QCOMPARE(list.recordCount(), 3);
    QVERIFY(!w->GrpBoxPoluch->isVisibleTo(w));
    w->RdGrpIzbDate->click(0);
    w->DatePoluchOt->setDate(QDate(2026, 6, 1));
    w->DatePoluchDo->setDate(QDate(2026, 6, 10));
    QCOMPARE(list.recordCount(), 1);  // the "to" day taken whole
    w->DatePoluchOt->setDate(QDate(2000, 1, 1));
    QCOMPARE(list.recordCount(), 2);
    w->RdGrpIzbDate->click(1);
    QVERIFY(w->GrpBoxFakt->isVisibleTo(w));
    w->DateFaktOt->setDate(QDate(2026, 1, 1));
    w->DateFaktDo->setDate(QDate(2031, 12, 31));
    QCOMPARE(list.recordCount(), 2);
    QCOMPARE(w->DBText1->text(), QStringLiteral("12.00"));

    // One warehouse, one material of it.
    w->RdGrpIzbDate->click(2);
    w->RdGrpIzbSklad->click(1);
    chooseInList(w->DBLkpCmbIzbSklad, QStringLiteral("Резервен"));
    QCOMPARE(list.recordCount(), 1);
    w->RdGrpIzbSklad->click(0);
    w->RdGrpIzbMaterial->click(1);
    QVERIFY(w->DBTextNalichnost->isVisibleTo(w));
    chooseInList(w->DBLkpCmBoxMat, QStringLiteral("Болт"));
    QCOMPARE(list.recordCount(), 2);
    QCOMPARE(w->DBTextNalichnost->text(), QStringLiteral("3.00"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

// The supplier filter takes the supplier the box shows: after the type list closes on another type
// the box shows none and every line is listed; back on the first type the box shows its supplier again.
void TstStockInquiriesWindows::movementSupplierFilterFollowsTheShownSupplier()
{
    exec(QStringLiteral("insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (62, 1, 'Клиент В')"));
    line(500, QDate(2026, 5, 1), 1, 2, 60);
    line(500, QDate(2026, 5, 1), 2, 2, 61);
    line(500, QDate(2026, 5, 1), 4, 2, 62);
    TFormSprSkladDvigenie* w = app_->FormSprSkladDvigenie;
    w->show();
    w->RdGrpIzbDate->click(2);
    w->RdGrpKontrDaNeDostav->click(1);
    SmpDataset& list = spravki().SmpSprSklDvig;
    const auto listed = [&list] {
        QList<int> suppliers;
        for (int i = 0; i < list.recordCount(); ++i) suppliers << list.valueAt(i, list.findField(QStringLiteral("NKONTRAGENT"))).toInt();
        std::sort(suppliers.begin(), suppliers.end());
        return suppliers;
    };
    const struct { const char* type; const char* supplier; QList<int> listed; } steps[] = {
        {"Доставчици", "Доставчик Б", {61}},
        {"Клиенти", nullptr, {60, 61, 62}},  // the box shows no supplier of this type
        {"Доставчици", nullptr, {61}},       // it shows Б again, the list's first row is А
        {nullptr, "Доставчик А", {60}},
    };
    for (const auto& step : steps) {
        if (step.type) chooseInList(w->DBLkpCmBoxTipKontr, QString::fromUtf8(step.type));
        if (step.supplier) chooseInList(w->DBLkpCmBoxKontr, QString::fromUtf8(step.supplier));
        QCOMPARE(listed(), step.listed);
    }
    w->RdGrpKontrDaNeDostav->click(0);
    QCOMPARE(listed(), (QList<int>{60, 61, 62}));
}

void TstStockInquiriesWindows::usageOfDrawnLinesOnly_data()
{
    QTest::addColumn<int>("material");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("opens");
    QTest::newRow("nothing drawn, some sold") << 500 << 1 << false;
    QTest::newRow("drawn for production") << 500 << 2 << true;
    // The same name as material 500: the row's own material is shown.
    QTest::newRow("drawn, a name two materials bear") << 503 << 2 << true;
}

// "Вложено в ..." opens the products made with the row's own material, for a line drawn from only.
void TstStockInquiriesWindows::usageOfDrawnLinesOnly()
{
    QFETCH(int, material);
    QFETCH(int, kind);
    QFETCH(bool, opens);
    exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (503, 'Болт', 2, 1)"));
    out(line(material, QDate(2026, 5, 1), 10, 2), kind, 3, QDate(2026, 5, 2));
    TFormSprSkladDvigenie* w = app_->FormSprSkladDvigenie;
    w->show();
    w->RdGrpIzbDate->click(2);
    QVERIFY(spravki().SmpSprSklDvig.locate(QStringLiteral("NMATERIAL"), {material}));
    clickButton(w, QStringLiteral("BitBtnVlojeno"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modeless).contains(QStringLiteral("FormVlMatIzd")), opens);
    SmpDataset& usage = app_->DMNsSpravki->SmpVlMatIzd;
    QCOMPARE(usage.isActive() ? usage.param(QStringLiteral("num_material")).toInt() : 0, opens ? material : 0);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstStockInquiriesWindows::minMaxColoursAndCriticalChoice()
{
    line(500, QDate(2026, 2, 1), 5, 2);   // minimum 10, maximum 20: red
    line(501, QDate(2026, 2, 1), 25, 2);  // above 20: blue
    line(502, QDate(2026, 2, 1), 25, 2);  // maximum 0: black
    TFormMat_Spravka* w = app_->FormMat_Spravka;
    w->show();
    SmpDataset& list = spravki().SmpMat_Spravka;
    QCOMPARE(list.recordCount(), 3);
    QAbstractItemModel* model = w->DBGrid1->model();
    const auto colour = [&](int material) {
        return model->index(list.find(QStringLiteral("NMATERIAL"), {material}), 0).data(Qt::ForegroundRole).value<QColor>();
    };
    QCOMPARE(colour(500), QColor(Qt::red));
    QCOMPARE(colour(501), QColor(Qt::blue));
    QCOMPARE(colour(502), QColor(Qt::black));
    w->RdGrpKritNalich->click(1);
    QCOMPARE(list.recordCount(), 1);
    QCOMPARE(list.value(QStringLiteral("NMATERIAL")).toInt(), 500);
    w->RdGrpKritNalich->click(2);
    QCOMPARE(list.recordCount(), 1);
    QCOMPARE(list.value(QStringLiteral("NMATERIAL")).toInt(), 501);
    w->RdGrpKritNalich->click(0);
    QCOMPARE(list.recordCount(), 3);
    // One warehouse: its column goes.
    QVERIFY(w->DBGrid1->isColumnVisible(QStringLiteral("IMESKLAD")));
    w->RdGrpIzbSklad->click(1);
    QVERIFY(!w->DBGrid1->isColumnVisible(QStringLiteral("IMESKLAD")));
    QCOMPARE(list.recordCount(), 2);
    // Shown again it lists every warehouse, whatever its radio shows.
    w->close();
    w->show();
    QCOMPARE(w->RdGrpIzbSklad->itemIndex(), 1);
    QCOMPARE(list.recordCount(), 3);
}

void TstStockInquiriesWindows::stockAtDateShowsAndPrints()
{
    const int a = line(500, QDate(2026, 2, 1), 100, 2);
    line(500, QDate(2026, 3, 1), 50, 4);
    line(500, QDate(2026, 9, 1), 70, 9);  // after the date
    line(502, QDate(2026, 4, 1), 8, 0, 60, QStringLiteral("F1"), 1.5);
    line(501, QDate(2026, 4, 1), 10, 1);  // bought in both currencies
    line(501, QDate(2026, 4, 2), 10, 0, 60, QStringLiteral("F1"), 0.5);
    out(a, 1, 22, QDate(2026, 5, 1));
    out(a, 1, 5, QDate(2026, 8, 1));  // after the date
    TFormSprSkladMaterialiKymData* w = app_->FormSprSkladMaterialiKymData;
    w->show();
    QCOMPARE(w->DateFakturaKym->date(), Clock::today());
    w->DateFakturaKym->setDate(QDate(2026, 6, 30));
    SmpDataset& list = spravki().SmpSprMatKymData;
    QCOMPARE(list.recordCount(), 3);
    list.locate(QStringLiteral("NMATERIAL"), {500});
    QCOMPARE(list.value(QStringLiteral("NALICHNOST")).toDouble(), 128.0);
    QCOMPARE(list.fieldByName(QStringLiteral("PRODAGNA_CENA"))->displayText(), QStringLiteral("12.00"));  // with VAT 20
    QCOMPARE(list.value(QStringLiteral("Valuta")).toString(), QStringLiteral("BGN"));
    QCOMPARE(list.value(QStringLiteral("SumLVagg")).toDouble(), 1560.0);  // (1280 + 20) + 20 %
    // Two currencies: each valued by its own lines; the row shows the last, EUR.
    list.locate(QStringLiteral("NMATERIAL"), {501});
    QCOMPARE(list.value(QStringLiteral("OBSTA_CENA_LV")).toDouble(), 10.0);
    QCOMPARE(list.value(QStringLiteral("OBSTA_CENA_EUR")).toDouble(), 5.0);
    QCOMPARE(list.value(QStringLiteral("Valuta")).toString(), QStringLiteral("EUR"));
    QCOMPARE(list.value(QStringLiteral("SREDNA_CENA_EUR")).toDouble(), 0.5);  // over the 10 priced in EUR
    QCOMPARE(list.value(QStringLiteral("SrednaCenaObsto")).toDouble(), 10.0);
    list.locate(QStringLiteral("NMATERIAL"), {502});
    QCOMPARE(list.value(QStringLiteral("Valuta")).toString(), QStringLiteral("EUR"));  // its average price's currency
    QCOMPARE(list.value(QStringLiteral("SrednaCenaObsto")).toDouble(), 12.0);
    QCOMPARE(w->DBText1->text(), QStringLiteral("366.00"));  // 78 * 2 + 50 * 4, and 10 of the two-currency one
    QCOMPARE(w->DBText3->text(), QStringLiteral("17.00"));   // 12 + 5
    QCOMPARE(w->DBText2->text(), QStringLiteral("0.00"));    // nothing in USD, as the movement inquiry shows it

    // "Наличности" offers both lists.
    QCOMPARE(w->BitBtnNalichKymData->menu()->actions(), (QList<QAction*>{w->ActNalichSrCena, w->ActNalichKolichestva}));
    w->ActNalichSrCena->trigger();
    QCOMPARE(previews_.size(), 1);
    const QString text = pdfText(previews_[0], *dir_, QStringLiteral("nalich_kym_data"));
    QVERIFY2(text.contains(QStringLiteral("Списък на наличностите към дата :30.06.2026г.")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Дървообработка Рила ООД")));
    QVERIFY(text.contains(QStringLiteral("Болт")));
    QVERIFY(text.contains(QStringLiteral("Средна. цена")));
    QVERIFY(text.contains(QStringLiteral("12.00")));
    // Each total is the sum of its printed rows: BGN only from the row shown in BGN.
    QCOMPARE(text.count(QStringLiteral("356.00")), 2);
    QVERIFY(!text.contains(QStringLiteral("366.00")));
    QVERIFY(text.contains(QStringLiteral("22.00")));  // EUR: 20 * 0.50 + 8 * 1.50
    QCOMPARE(list.findField(QStringLiteral("NALICHNOST"))->displayFormat, QStringLiteral("# ### ##0.000"));

    // Quantities only: no price, no value, no totals.
    w->ActNalichKolichestva->trigger();
    QCOMPARE(previews_.size(), 2);
    const QString quantities = pdfText(previews_[1], *dir_, QStringLiteral("nalich_kym_data_quantities"));
    QVERIFY2(quantities.contains(QStringLiteral("Списък на наличностите към дата :30.06.2026г.")), qPrintable(quantities));
    QVERIFY(quantities.contains(QStringLiteral("Количество")));
    QVERIFY(quantities.contains(QStringLiteral("Болт")));
    QVERIFY(quantities.contains(QStringLiteral("128.000")));
    QVERIFY(!quantities.contains(QStringLiteral("Средна")));
    QVERIFY(!quantities.contains(QStringLiteral("356.00")));
    QVERIFY(!quantities.contains(QStringLiteral("EUR")));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

// Restoring the window from minimised leaves the picker on the day the list holds; a new showing
// moves both to today.
void TstStockInquiriesWindows::stockAtDatePickerAgreesWithTheList()
{
    line(500, QDate(2026, 6, 1), 10, 2);
    TFormSprSkladMaterialiKymData* w = app_->FormSprSkladMaterialiKymData;
    SmpDataset& list = spravki().SmpSprMatKymData;
    const auto listDay = [&] { return list.param(QStringLiteral("DATEFAKTURA_KYM")).toDateTime().date(); };
    w->show();
    w->DateFakturaKym->setDate(QDate(2026, 5, 1));
    QCOMPARE(list.recordCount(), 0);
    QShowEvent restore;
    QSpontaneKeyEvent::setSpontaneous(&restore);
    static_cast<QObject*>(w)->event(&restore);  // as the window system delivers it (sendEvent clears the flag)
    QCOMPARE(w->DateFakturaKym->date(), QDate(2026, 5, 1));
    QCOMPARE(listDay(), w->DateFakturaKym->date());
    w->close();
    w->show();
    QCOMPARE(w->DateFakturaKym->date(), Clock::today());
    QCOMPARE(listDay(), Clock::today());
    QCOMPARE(list.recordCount(), 1);
}

// With the configured special VAT number the footer shows the selling values with VAT and the
// printed quantities are whole.
void TstStockInquiriesWindows::stockAtDateOfTheSpecialInstallation()
{
    line(500, QDate(2026, 6, 1), 12.4, 2);
    exec(QStringLiteral("update FIRMA set BULSTAT = '204060801'"));
    TFormSprSkladMaterialiKymData w(dm(), spravki(), QStringLiteral("204060801"));
    w.show();
    QCOMPARE(w.DBText1->dataField(), QStringLiteral("SumLVagg"));
    QCOMPARE(spravki().SmpSprMatKymData.value(QStringLiteral("SumLVagg")).toDouble(), 12.4 * 10 * 1.2);
    QCOMPARE(w.DBText1->text(), QStringLiteral("148.80"));
    w.ActNalichSrCena->trigger();
    QCOMPARE(previews_.size(), 1);
    const QString text = pdfText(previews_[0], *dir_, QStringLiteral("nalich_kym_data_special"));
    QVERIFY2(text.contains(QStringLiteral("Болт")), qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("12.400")));
    QVERIFY(text.contains(QStringLiteral("24.80")));  // 12.4 * 2
    // Another installation: the values at the average price.
    TFormSprSkladMaterialiKymData other(dm(), spravki(), QStringLiteral("999"));
    other.show();
    QCOMPARE(other.DBText1->dataField(), QStringLiteral("SumLVSrCena"));
    QCOMPARE(other.DBText1->text(), QStringLiteral("24.80"));
}

// The settings tab's line of the stock-at-date list hides a column of the open window and its
// quantity decimals follow the spin box.
void TstStockInquiriesWindows::stockAtDateFollowsColumnSettings()
{
    line(500, QDate(2026, 6, 1), 10.25, 2);
    TFormSprSkladMaterialiKymData* w = app_->FormSprSkladMaterialiKymData;
    w->show();
    form()->show();
    QListWidget* settings = form()->TabSheet5->CheckLBSklNalichKymData;
    QCOMPARE(settings->count(), spravki().SmpSprMatKymData.fields().size());
    const QList<QListWidgetItem*> unit = settings->findItems(QStringLiteral("Мка"), Qt::MatchExactly);
    QCOMPARE(unit.size(), 1);
    unit[0]->setCheckState(Qt::Unchecked);
    form()->TabSheet5->SpinEditArtikul->setValue(1);
    QTest::mouseClick(form()->TabSheet5->BitBtnZapVisibleFields, Qt::LeftButton);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QAbstractItemModel* model = w->DBGrid1->model();
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c) headers << model->headerData(c, Qt::Horizontal).toString();
    QVERIFY(!headers.contains(QStringLiteral("Мка")));
    QVERIFY(headers.contains(QStringLiteral("Наименование")));
    QCOMPARE(model->index(0, int(headers.indexOf(QStringLiteral("Наличност")))).data().toString(), QStringLiteral("10.3"));
}

// Keys stepping or typing a date reload nothing until the date is committed.
void TstStockInquiriesWindows::datePickersReloadWhenTheDateIsCommitted()
{
    TFormSprSkladDvigenie* w = app_->FormSprSkladDvigenie;
    SmpDataset& list = spravki().SmpSprSklDvig;
    w->show();
    QDateEdit* from = w->DatePoluchOt;
    const QDate before = from->date();
    const auto listFrom = [&] { return list.param(QStringLiteral("POLUCHENOOT")).toDateTime().date(); };
    QCOMPARE(listFrom(), before);
    QTest::keyClick(from, Qt::Key_Up);
    QTest::keyClick(from, Qt::Key_Up);
    QVERIFY(from->date() != before);
    QCOMPARE(listFrom(), before);
    QTest::keyClick(from, Qt::Key_Return);
    QCOMPARE(listFrom(), from->date());
    // A date set at once (as a day picked in the calendar) reloads at once.
    from->setDate(QDate(2026, 1, 1));
    QCOMPARE(listFrom(), QDate(2026, 1, 1));
}

void TstStockInquiriesWindows::receiptReprintOfOneDocument()
{
    TFormSprSkladSklRazp* w = app_->FormSprSkladSklRazp;
    w->show();
    clickButton(w, QStringLiteral("BitBtnPrnKasa"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{QStringLiteral("Липсват данни за извеждане !")});
    const QString number = QStringLiteral("F'7");
    line(500, QDate(2026, 6, 5), 10, 2, 60, number);
    line(501, QDate(2026, 6, 5), 4, 1.5, 60, number);
    line(502, QDate(2026, 6, 5), 3, 0, 60, number, 4);
    line(500, QDate(2026, 6, 5), 99, 2, 61, number);              // another supplier's document
    line(500, QDate(2026, 6, 6), 77, 2, 60, QStringLiteral("F8"));
    w->RdGrpIzbDate->click(2);
    SmpDataset& list = spravki().SmpSklRazp;
    QCOMPARE(list.recordCount(), 5);
    list.locate(QStringLiteral("IMEMATERIAL;NKONTRAGENT"), {QStringLiteral("Шайба"), 60});
    clickButton(w, QStringLiteral("BitBtnPrnKasa"));
    QCOMPARE(previews_.size(), 1);
    QCOMPARE(previews_[0].paper, Report::Paper::A4);
    const QString text = pdfText(previews_[0], *dir_, QStringLiteral("sklrazp_reprint"));
    QVERIFY2(text.contains(QStringLiteral("Доставчик А")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("F'7")));
    QVERIFY(text.contains(QStringLiteral("Гайка")));
    QVERIFY(!text.contains(QStringLiteral("99")));
    QVERIFY(!text.contains(QStringLiteral("77")));
    QVERIFY(text.contains(QStringLiteral("31.20")));  // 10 * 2 + 4 * 1.5 with 20 % VAT
    QVERIFY(text.contains(QStringLiteral("14.40")));  // 3 * 4 EUR with VAT
    QCOMPARE(app_->DMSklad->SmpDostavka.recordCount(), 3);
    QCOMPARE(list.recordCount(), 5);  // the list itself untouched
}

// Deletes and corrections of the points window, line by line: what left a line keeps it, and own
// production (a batch's product, or the company alias and three characters) is neither deleted nor
// corrected here.
void TstStockInquiriesWindows::pointsRulesOfTheStockWindow()
{
    TFormSkladPunkt* w = app_->FormSkladPunkt;
    w->show();
    // Nothing listed: nothing to correct.
    clickButton(w, QStringLiteral("SpdBtnRedakcia"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{QStringLiteral("Липсват данни за КОРЕКЦИЯ !")});

    const QString spent = QStringLiteral("Има изразходвани количества от доставката - ИЗТРИВАНЕТО ЗАБРАНЕНО !  ");
    const QString ownDelete = QStringLiteral("Собствено производство - ИЗТРИВАНЕТО ЗАБРАНЕНО !  ");
    const QString ownCorrection = QStringLiteral("Собствено производство - КОРЕКЦИЯ ЗАБРАНЕНА !  ");
    const struct Case
    {
        const char* name;
        QString document;
        int kind;  // what left the line (SKLAD_DVIGENIE kind), 0 nothing
        bool batch;
        QString alias;
        QString refused;  // the delete's message; empty: asked and deleted
        bool correctable;
    } cases[] = {
        {"sold", QStringLiteral("F1"), 1, false, QStringLiteral("TRX"), spent, true},
        {"drawn", QStringLiteral("F1"), 2, false, QStringLiteral("TRX"), spent, true},
        {"dispatched", QStringLiteral("F1"), 3, false, QStringLiteral("TRX"), spent, true},
        {"defective", QStringLiteral("F1"), 4, false, QStringLiteral("TRX"), spent, true},
        {"the alias and three characters", QStringLiteral("TRX001"), 0, false, QStringLiteral("TRX"), ownDelete, false},
        {"the alias and four characters", QStringLiteral("TRX0001"), 0, false, QStringLiteral("TRX"), {}, true},
        {"a batch's product", QStringLiteral("P17"), 0, true, QStringLiteral("TRX"), ownDelete, false},
        {"three characters, no alias", QStringLiteral("001"), 0, false, QString(), {}, true},
    };
    SmpDataset& list = spravki().SmpSklPunkt;
    for (const Case& c : cases) {
        exec(QStringLiteral("update FIRMA set PSEVDONIM_FIRMA = '%1'").arg(c.alias));
        const int key = line(501, QDate(2026, 5, 3), 5, 1, 60, c.document);
        if (c.kind) out(key, c.kind, 1, QDate(2026, 5, 5));
        if (c.batch)
            exec(QStringLiteral("insert into IZDELIE (PART_NUM_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE, KOLICH_SERII,"
                                " KOLICH_IZDELIE, DATEIZDELIE, AUTONUM_SKLAD) values ('20260503001', 1, 501, 1, 5, '03.05.2026', %1)")
                     .arg(key));
        w->ReloadWarehousePointStock();
        QVERIFY2(list.locate(QStringLiteral("AUTONUM"), {key}), c.name);
        ui_->clear();
        bool corrected = false;
        ui_->onModal = [&corrected](Form* form) {
            corrected = form->objectName() == QLatin1String("FormDostavkaKorekcia");
            return 0;
        };
        clickButton(w, QStringLiteral("SpdBtnRedakcia"));
        QVERIFY2(corrected == c.correctable, c.name);
        QCOMPARE(ui_->texts(RecordingUi::Kind::Message), c.correctable ? QStringList() : QStringList{ownCorrection});

        ui_->clear();
        ui_->answers = {true};
        QVERIFY2(list.locate(QStringLiteral("AUTONUM"), {key}), c.name);
        clickButton(w, QStringLiteral("SpdBtnDelKontragent"));
        QCOMPARE(ui_->texts(RecordingUi::Kind::Message), c.refused.isEmpty() ? QStringList() : QStringList{c.refused});
        QCOMPARE(count(QStringLiteral("select count(*) from SKLAD where AUTONUM = %1").arg(key)), c.refused.isEmpty() ? 0 : 1);
        QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    }
}

void TstStockInquiriesWindows::pointsSupplierFilterAndPackaging()
{
    line(500, QDate(2026, 5, 1), 10, 2);
    line(501, QDate(2026, 5, 1), 30, 1, 61);
    TFormSkladPunkt* w = app_->FormSkladPunkt;
    w->show();
    SmpDataset& list = spravki().SmpSklPunkt;
    QCOMPARE(list.recordCount(), 2);
    QCOMPARE(w->DBText1->text(), QStringLiteral("40.00"));
    QCOMPARE(w->DBText5->text(), QStringLiteral("1.25"));  // 50 / 40
    QVERIFY(!w->SpdBtnAmbalag->isEnabled());
    w->RdGrpKontrDaNeDostav->click(1);
    QVERIFY(!w->DBGrid1->isColumnVisible(QStringLiteral("IMEKONTRAGENT")));
    // No supplier picked yet: every row stays and there is no packaging account to open.
    QCOMPARE(list.recordCount(), 2);
    QVERIFY(!w->SpdBtnAmbalag->isEnabled());
    chooseInList(w->DBLkpCmBoxTipKontrDost, QStringLiteral("Доставчици"));
    chooseInList(w->DBLkpCmBoxKontrDostav, QStringLiteral("Доставчик А"));
    QCOMPARE(list.recordCount(), 1);
    QCOMPARE(w->DBText2->text(), QStringLiteral("20.00"));
    QCOMPARE(w->DBText5->text(), QStringLiteral("2.00"));
    QVERIFY(w->SpdBtnAmbalag->isEnabled());

    // The packaging account of that supplier: a received row posted from the grid is stored at once.
    exec(QStringLiteral("insert into TIP_AMBALAG (NAMBALAG, IME_AMBALAG) values (1, 'Палет')"));
    exec(QStringLiteral("insert into TIP_AMBALAG (NAMBALAG, IME_AMBALAG) values (2, 'Бидон')"));
    exec(QStringLiteral("insert into AMB_DOST_FIRMA (NKONTRAGENT, NAMBALAG, BROI_AMB, DATE_AMB) values (60, 1, 4, '01.05.2026')"));
    exec(QStringLiteral("insert into AMB_DOST_FIRMA (NKONTRAGENT, NAMBALAG, BROI_AMB, DATE_AMB) values (61, 1, 9, '01.05.2026')"));
    TFormAmbalag* amb = app_->FormAmbalag;
    SmpDataset& received = spravki().SmpAmbFirmaDost;
    QList<QStringList> kindDeletes;
    ui_->onModal = [&](Form* form) {
        if (form != amb) return 0;
        received.append();
        received.setValue(QStringLiteral("DATE_AMB"), QDateTime(QDate(2026, 6, 1), QTime(0, 0)));
        received.setValue(QStringLiteral("ImeAmbalag"), QStringLiteral("Палет"));
        received.setValue(QStringLiteral("BROI_AMB"), 10);
        received.post();
        // The kinds' navigator: a kind an account holds, then one none holds.
        for (const char* kind : {"Палет", "Бидон"}) {
            const qsizetype messages = ui_->texts(RecordingUi::Kind::Message).size();
            const qsizetype questions = ui_->texts(RecordingUi::Kind::Question).size();
            ui_->answers = {true};
            spravki().SmpAmbTip.locate(QStringLiteral("IME_AMBALAG"), {QString::fromUtf8(kind)});
            amb->DBNavigator3->button(DBNavigator::Delete)->click();
            kindDeletes << (ui_->texts(RecordingUi::Kind::Message).mid(messages) +
                            ui_->texts(RecordingUi::Kind::Question).mid(questions));
        }
        return 0;
    };
    clickButton(w, QStringLiteral("SpdBtnAmbalag"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QCOMPARE(amb->LbKontragent->text(), QStringLiteral("Доставчик А"));
    QCOMPARE(count(QStringLiteral("select count(*) from AMB_FIRMA_DOST where NKONTRAGENT = 60 and NAMBALAG = 1 and BROI_AMB = 10")), 1);
    SmpDataset& totals = spravki().SmpAmbKontr;
    QCOMPARE(totals.recordCount(), 1);
    QCOMPARE(totals.value(QStringLiteral("NALICHNO")).toInt(), 6);
    QCOMPARE(spravki().SmpAmbDostFirma.recordCount(), 1);  // only this supplier's returns
    // The kind in use refused before any question; the other asked about and deleted.
    QCOMPARE(kindDeletes, (QList<QStringList>{{QStringLiteral("Има движение на амбалаж от този вид - ИЗТРИВАНЕТО ЗАБРАНЕНО !")},
                                              {QStringLiteral("Изтриване на записа ?")}}));
    QCOMPARE(count(QStringLiteral("select count(*) from TIP_AMBALAG where NAMBALAG = 1")), 1);
    QCOMPARE(count(QStringLiteral("select count(*) from TIP_AMBALAG where NAMBALAG = 2")), 0);

    // All suppliers again: every row, no reload, no packaging.
    w->RdGrpKontrDaNeDostav->click(0);
    QCOMPARE(list.recordCount(), 2);
    QVERIFY(!w->SpdBtnAmbalag->isEnabled());
}

// Each export holds the columns its grid shows, in their order, also when the window hid some of
// them: the warehouse with one warehouse chosen, the supplier with one supplier chosen.
void TstStockInquiriesWindows::exportsTheShownColumns()
{
    line(500, QDate(2026, 5, 1), 10, 2);
    QDir docs(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    docs.mkpath(QStringLiteral("."));
    TFormSkladPunkt* points = app_->FormSkladPunkt;
    const auto choose = [](TFormStockInquiry* w) {
        return [w] {
            w->RdGrpIzbSklad->click(1);
            chooseInList(w->DBLkpCmbIzbSklad, QStringLiteral("Основен"));
        };
    };
    const struct Case
    {
        const char* name;
        Form* window;
        DBGrid* grid;
        const char* button;
        std::function<void()> set;
        QString hidden;  // a column the window hid
    } cases[] = {
        {"movement", app_->FormSprSkladDvigenie, app_->FormSprSkladDvigenie->DBGrid1, "SpeedBtnExcel",
         [this] { app_->FormSprSkladDvigenie->RdGrpIzbDate->click(2); }, {}},
        {"summary", app_->FormSprSkladMateriali, app_->FormSprSkladMateriali->DBGrid1, "SpeedBtnExcel", {}, {}},
        {"stock at a date", app_->FormSprSkladMaterialiKymData, app_->FormSprSkladMaterialiKymData->DBGrid1,
         "SpeedBtnExcel", {}, {}},
        {"prices", app_->FormSkladMatCENI, app_->FormSkladMatCENI->DBGrid1, "SpeedBtnExcel", {}, {}},
        {"prices of one warehouse", app_->FormSkladMatCENI, app_->FormSkladMatCENI->DBGrid1, "SpeedBtnExcel",
         choose(app_->FormSkladMatCENI), QStringLiteral("Склад")},
        {"minimum and maximum of one warehouse", app_->FormMat_Spravka, app_->FormMat_Spravka->DBGrid1, "SpeedBtnExcel",
         choose(app_->FormMat_Spravka), QStringLiteral("Склад")},
        {"receipts", app_->FormSprSkladSklRazp, app_->FormSprSkladSklRazp->DBGrid1, "SpeedBtnExcel",
         [this] { app_->FormSprSkladSklRazp->RdGrpIzbDate->click(2); }, {}},
        {"points of one warehouse", points, points->DBGrid1, "SpdBtnExcel", choose(points), QStringLiteral("Склад")},
        {"points of one supplier", points, points->DBGrid1, "SpdBtnExcel",
         [points] {
             points->RdGrpIzbSklad->click(0);
             points->RdGrpKontrDaNeDostav->click(1);
             chooseInList(points->DBLkpCmBoxTipKontrDost, QStringLiteral("Доставчици"));
             chooseInList(points->DBLkpCmBoxKontrDostav, QStringLiteral("Доставчик А"));
         },
         QStringLiteral("Доставчик/пункт/")},
    };
    for (const Case& c : cases) {
        for (const QString& f : docs.entryList({QStringLiteral("*.xlsx")}, QDir::Files)) docs.remove(f);
        c.window->show();
        if (c.set) c.set();
        clickButton(c.window, QString::fromLatin1(c.button));
        QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
        const QStringList books = docs.entryList({QStringLiteral("*.xlsx")}, QDir::Files);
        QVERIFY2(books.size() == 1, c.name);
        QStringList shown;
        for (int col = 0; col < c.grid->model()->columnCount(); ++col)
            if (!c.grid->isColumnHidden(col)) shown << c.grid->model()->headerData(col, Qt::Horizontal).toString();
        const Sheet sheet = readWorkbook(docs.filePath(books.front()));
        QCOMPARE(sheet.texts.value(0), shown);
        if (!c.hidden.isEmpty()) QVERIFY2(!sheet.texts.value(0).contains(c.hidden), c.name);
        // The header row, then the rows: one delivery line, or every material of the minimum list.
        QVERIFY2(sheet.texts.size() == (c.window == app_->FormMat_Spravka ? 3 : 2), c.name);
        QVERIFY2(sheet.texts.value(1).contains(QStringLiteral("Болт")), c.name);
    }
}

// Every column of the inquiry grids is as wide as its title and its texts: a long material name,
// a long supplier name, the packaging totals' titles.
void TstStockInquiriesWindows::columnsShowTheirTextsWhole()
{
    exec(QStringLiteral("update MATERIALI set IMEMATERIAL = 'Боя грунд сива за метал 5 л' where NMATERIAL = 500"));
    exec(QStringLiteral("update KONTRAGENTI set IMEKONTRAGENT = 'Металсервиз Източна Европа ООД' where NKONTRAGENT = 60"));
    out(line(500, QDate(2026, 5, 1), 1234567.5, 1234.125), 2, 1, QDate(2026, 5, 2));
    const QList<std::pair<Form*, DBGrid*>> grids{
        {app_->FormSprSkladDvigenie, app_->FormSprSkladDvigenie->DBGrid1},
        {app_->FormSprSkladMateriali, app_->FormSprSkladMateriali->DBGrid1},
        {app_->FormSkladMatCENI, app_->FormSkladMatCENI->DBGrid1},
        {app_->FormMat_Spravka, app_->FormMat_Spravka->DBGrid1},
        {app_->FormSprSkladMaterialiKymData, app_->FormSprSkladMaterialiKymData->DBGrid1},
        {app_->FormSprSkladSklRazp, app_->FormSprSkladSklRazp->DBGrid1},
        {app_->FormSkladPunkt, app_->FormSkladPunkt->DBGrid1},
        {app_->FormAmbalag, app_->FormAmbalag->DBGrid3}};
    app_->FormSprSkladDvigenie->RdGrpIzbDate->click(2);
    app_->FormSprSkladSklRazp->RdGrpIzbDate->click(2);
    for (const auto& [window, grid] : grids) {
        if (window != app_->FormAmbalag) window->show();
        QAbstractItemModel* m = grid->model();
        QVERIFY2(m->columnCount() > 0, qPrintable(window->objectName()));
        for (int c = 0; c < m->columnCount(); ++c) {
            const QString title = m->headerData(c, Qt::Horizontal).toString();
            const QString where = window->objectName() + u' ' + title;
            QVERIFY2(grid->columnWidth(c) >= grid->horizontalHeader()->sectionSizeHint(c), qPrintable(where));
            for (int r = 0; r < m->rowCount(); ++r)
                QVERIFY2(grid->columnWidth(c) > grid->fontMetrics().horizontalAdvance(m->index(r, c).data().toString()),
                         qPrintable(where + u' ' + m->index(r, c).data().toString()));
        }
    }
    // A supplier's packaging totals show their four columns without scrolling.
    exec(QStringLiteral("insert into TIP_AMBALAG (NAMBALAG, IME_AMBALAG) values (1, 'Каса пластмасова')"));
    exec(QStringLiteral("insert into AMB_FIRMA_DOST (NKONTRAGENT, NAMBALAG, BROI_AMB, DATE_AMB) values (60, 1, 40, '01.05.2026')"));
    for (SmpDataset* ds : {&app_->DMSklad->SmpTipKontrSklPunkt, &app_->DMSklad->SmpKontrSklPunkt}) ds->open();
    QVERIFY(app_->DMSklad->SmpTipKontrSklPunkt.locate(QStringLiteral("NTIP_KONTRAGENT"), {2}));
    QVERIFY(app_->DMSklad->SmpKontrSklPunkt.locate(QStringLiteral("NKONTRAGENT"), {60}));
    app_->FormAmbalag->open();
    app_->FormAmbalag->show();
    DBGrid* totals = app_->FormAmbalag->DBGrid3;
    QCOMPARE(totals->model()->rowCount(), 1);
    QVERIFY(totals->horizontalHeader()->length() <= totals->viewport()->width());
}

QTEST_MAIN(TstStockInquiriesWindows)
#include "tst_stockinquiries_windows.moc"
