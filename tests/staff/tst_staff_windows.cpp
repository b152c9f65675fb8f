#include "data/dmpers.h"
#include "platform/base/clock.h"
#include "platform/ui/application.h"
#include "platform/widgets/handlers.h"
#include "staff/formpers.h"
#include "staff/formpersonal.h"
#include "staff/formslugavans.h"
#include "staff/formslugotchet.h"
#include "staff/formslugrazplobsto.h"
#include "staff/formviewzarab.h"
#include "staff/staffdata.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "support/typing.h"
#include "staff/tabslugrazpl.h"
#include "staff/tabzarab.h"
#include "support/appfixture.h"
#include "reference/tabcompany.h"
#include "support/workbookreader.h"
#include "staff/tabtools.h"

#include <QAction>
#include <QDir>
#include <QButtonGroup>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QGroupBox>
#include <QAbstractButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

// The staff window and its dialogs over the program's window set, answered by the recorder.
class TstStaffWindows : public QObject, AppFixture
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void employeeNeedsAllThreeNames();
    void deleteGuardedByDependentRecords();
    void advanceGivenThroughTheDialog();
    void workLineTakesRateAndServerValue();
    void companySaveReopensIssuableTools();
    void menuItemEnabled();
    void staffExportNestsTools();
    void paymentsFilterByKind_data();
    void paymentsFilterByKind();
    void correctionsThroughTheDialogs();
    void earningsInquiryBounds();
    void listExports_data();
    void listExports();
    void allPaymentsByReason();
    void keyboardChoiceReloadsLists();
    void refusedSaveKeepsWhatWasTyped_data();
    void refusedSaveKeepsWhatWasTyped();

private:
    TDMPers& pers() { return *app_->DMPers; }
    TFormPersonal* staff() { return app_->FormPersonal; }
    void click(QWidget* in, const char* name) { in->findChild<QToolButton*>(QString::fromLatin1(name))->click(); }
    int person(const char* ime, const char* prez, const char* fam);
    QList<int> shownKinds();
    QStringList workbooks();
};

void TstStaffWindows::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    Clock::setFixed(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
}

void TstStaffWindows::init()
{
    start();
    staff()->FormShow();
}

void TstStaffWindows::cleanup() { stop(); }

int TstStaffWindows::person(const char* ime, const char* prez, const char* fam)
{
    exec(QStringLiteral("insert into PERSONAL (IME, PREZ, FAM) values ('%1', '%2', '%3')")
             .arg(QString::fromUtf8(ime), QString::fromUtf8(prez), QString::fromUtf8(fam)));
    pers().SmpViewPers.refresh();
    return count(QStringLiteral("select max(SHIFYR) from PERSONAL"));
}

void TstStaffWindows::employeeNeedsAllThreeNames()
{
    QString middle;
    ui_->onModal = [&](Form* f) {
        SmpDataset& p = pers().SmpPers;
        p.setValue(QStringLiteral("IME"), QStringLiteral("Петър"));
        p.setValue(QStringLiteral("PREZ"), middle);
        p.setValue(QStringLiteral("FAM"), QStringLiteral("Колев"));
        click(f, "SpdBtnZapisPers");
        // A refused save leaves the dialog with what was typed; its exit drops it.
        if (f->isVisible() || pers().SmpPers.state() != SmpDataset::State::Browse) click(f, "SpdBtnExitPers");
        return 0;
    };
    click(staff(), "SpdBtnNewPers");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             QStringList{QStringLiteral("Не са въведени - име,презиме,фамилия! Запис няма да се осъществи !")});
    QCOMPARE(count(QStringLiteral("select count(*) from PERSONAL")), 0);

    middle = QStringLiteral("Иванов");
    person("Ана", "Б", "В");
    click(staff(), "SpdBtnNewPers");
    QCOMPARE(count(QStringLiteral("select count(*) from PERSONAL where IME = 'Петър' and PREZ = 'Иванов'")), 1);
    // The list stands on the new employee, and the record follows it.
    QCOMPARE(pers().SmpViewPers.value(QStringLiteral("IMEFULL")).toString(), QStringLiteral("Петър Иванов Колев"));
    QCOMPARE(pers().SmpPers.value(QStringLiteral("FAM")).toString(), QStringLiteral("Колев"));
}

void TstStaffWindows::deleteGuardedByDependentRecords()
{
    const int a = person("Иван", "Петров", "Иванов");
    exec(QStringLiteral("insert into SLUG_AVANS (SHIFYR, SUMA_LV) values (%1, 10)").arg(a));
    pers().SmpViewPers.locate(QStringLiteral("SHIFYR"), {a});
    click(staff(), "SpdBtnDelPers");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             QStringList{QStringLiteral("Има служебни аванси или отчети на лицето. Изтриването невъзможно !")});
    QVERIFY(ui_->texts(RecordingUi::Kind::Question).isEmpty());
    QCOMPARE(count(QStringLiteral("select count(*) from PERSONAL")), 1);

    exec(QStringLiteral("delete from SLUG_AVANS"));
    ui_->answers = {true};
    click(staff(), "SpdBtnDelPers");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList{QStringLiteral(" Потвърдете за изтриване ? ")});
    QCOMPARE(count(QStringLiteral("select count(*) from PERSONAL")), 0);
    QVERIFY(pers().SmpViewPers.isEmpty());
}

void TstStaffWindows::advanceGivenThroughTheDialog()
{
    const int b = person("Мария", "Г", "Петрова");
    const int a = person("Иван", "Петров", "Иванов");
    pers().SmpViewPers.locate(QStringLiteral("SHIFYR"), {a});
    staff()->DBGrid10CellClick();
    bool withReceiver = false;
    ui_->onModal = [&](Form* f) {
        f->show();  // prepares the buffer for its mode
        auto* dlg = static_cast<TFormSlugAvans*>(f);
        SmpDataset& buf = pers().SmpSlugAvansTemp;
        buf.edit();
        buf.setValue(QStringLiteral("SUMA_LV"), 100.0);
        if (withReceiver) buf.setValue(QStringLiteral("AVANS_OT_SHIFYR"), b);
        click(dlg, "SpdBtnZapis");
        dlg->close();
        return 0;
    };
    click(staff(), "SpdBtnAvansDavane");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             QStringList{QStringLiteral("Не е въведена сума/лв./ или избрано лице за получаване на аванс !")});
    QCOMPARE(count(QStringLiteral("select count(*) from SLUG_OTCHET")), 0);

    withReceiver = true;
    ui_->answers = {true};
    click(staff(), "SpdBtnAvansDavane");
    SmpDataset& mv = pers().SmpViewRazplPers;
    QCOMPARE(mv.recordCount(), 1);
    QCOMPARE(mv.value(QStringLiteral("AVANS_OTCHET_DOST")).toInt(), 5);
    QCOMPARE(mv.value(QStringLiteral("AVANS_NA_IME")).toString(), QStringLiteral("Мария Г Петрова"));
    QCOMPARE(pers().SmpRazplPersSpr.value(QStringLiteral("RAZLIKA_LV")).toDouble(), -100.0);
    // A given advance is not corrected; it is deleted with the receiver's record.
    click(staff()->TabSheet1, "SpdBtnKorekc");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message).last(), QStringLiteral(" Изтрийте дадения аванс и въведете нов !"));

    pers().SmpViewPers.locate(QStringLiteral("SHIFYR"), {b});
    staff()->DBGrid10CellClick();
    QCOMPARE(mv.value(QStringLiteral("AVANS_OTCHET_DOST")).toInt(), 4);
    click(staff()->TabSheet1, "SpdBtnDelAvansOtchet");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message).last(), QStringLiteral(" Изтриване - от лицето дало аванса !"));

    pers().SmpViewPers.locate(QStringLiteral("SHIFYR"), {a});
    staff()->DBGrid10CellClick();
    ui_->answers = {true};
    click(staff()->TabSheet1, "SpdBtnDelAvansOtchet");
    QVERIFY(ui_->texts(RecordingUi::Kind::Question).last().startsWith(QStringLiteral(" ВНИМАНИЕ !")));
    QVERIFY(mv.isEmpty());
    QCOMPARE(count(QStringLiteral("select count(*) from SLUG_AVANS")), 0);
}

void TstStaffWindows::workLineTakesRateAndServerValue()
{
    exec(QStringLiteral("insert into TIP_MANIPULACII (NUM_MANIPULACIA, IME_MANIPULACIA, RAZCENKA) values (3, 'Шев', 0.35)"));
    pers().SmpTipManip.refresh();
    SmpDataset& lines = pers().SmpVedManip;
    // Without staff a line has no one to belong to: refused, nothing stored.
    lines.append();
    lines.setValue(QStringLiteral("NUM_MANIPULACIA"), 3);
    QVERIFY(!Handlers::run([&] { lines.post(); }));
    QVERIFY(ui_->texts(RecordingUi::Kind::Error).join(u' ').contains(QStringLiteral("Не е избрано лице")));
    QCOMPARE(count(QStringLiteral("select count(*) from VEDOMOST_MANIPULACII")), 0);
    lines.cancel();
    ui_->clear();
    person("Иван", "Петров", "Иванов");
    staff()->DBGrid10CellClick();
    // November chosen on 9 December: the line gets day 9 and month November.
    pers().SmpGodMes.locate(QStringLiteral("GGGGMM"), {QStringLiteral("202611")});
    staff()->TabSheet3->showMonth();
    QCOMPARE(staff()->TabSheet3->GrpBoxZarab->title(), QStringLiteral("Въвеждане на заработки за - Ноември 2026 г. "));
    lines.append();
    lines.setValue(QStringLiteral("NUM_MANIPULACIA"), 3);
    lines.setValue(QStringLiteral("BROI_MANIPULACII"), 40);
    lines.post();
    QCOMPARE(count(QStringLiteral("select count(*) from VEDOMOST_MANIPULACII where GGGGMM = '202611' and GGGGMM_DEN = 9 "
                                  "and RAZCENKA = 0.35")), 1);
    QCOMPARE(lines.fieldByName(QStringLiteral("STOINOST_MANIPULACII"))->asFloat(), 14.0);
    QCOMPARE(lines.fieldByName(QStringLiteral("SumStoinost"))->asFloat(), 14.0);
    QCOMPARE(pers().SmpViewVedZarab.fieldByName(QStringLiteral("SumZarab_god"))->asFloat(), 14.0);

    // A new rate reaches a line only when it is saved again.
    exec(QStringLiteral("update TIP_MANIPULACII set RAZCENKA = 0.5"));
    pers().SmpTipManip.refresh();
    lines.refresh();
    QCOMPARE(lines.fieldByName(QStringLiteral("RAZCENKA"))->asFloat(), 0.35);
    lines.edit();
    lines.setValue(QStringLiteral("BROI_MANIPULACII"), 41);
    lines.post();
    QCOMPARE(lines.fieldByName(QStringLiteral("STOINOST_MANIPULACII"))->asFloat(), 20.5);

    // A day the month does not have is refused by the server; the line stays unsaved.
    lines.edit();
    lines.setValue(QStringLiteral("GGGGMM_DEN"), 31);
    QVERIFY(!Handlers::run([&] { lines.post(); }));
    QVERIFY(ui_->texts(RecordingUi::Kind::Error).join(u' ').contains(QStringLiteral("Денят не е валиден")));
    QCOMPARE(count(QStringLiteral("select GGGGMM_DEN from VEDOMOST_MANIPULACII")), 9);
}

void TstStaffWindows::companySaveReopensIssuableTools()
{
    exec(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (40, 'Инструменти')"));
    exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD) values (900, 'Бормашина', 40)"));
    QVERIFY(pers().SmpViewPersMatSkl.isEmpty());
    SmpDataset& firma = dm().SmpFirma;
    firma.edit();
    firma.setValue(QStringLiteral("IMESKL_INSTR"), QStringLiteral("Инструменти"));
    form()->TabSheet6->SpeedBtnZapFirma->click();
    QCOMPARE(pers().SmpViewPersMatSkl.recordCount(), 1);
    QCOMPARE(pers().SmpViewPersMatSkl.value(QStringLiteral("IMEMATERIAL")).toString(), QStringLiteral("Бормашина"));
}

void TstStaffWindows::menuItemEnabled()
{
    QAction* item = app_->FormNS->findChild<QAction*>(QStringLiteral("N12Pers"));
    QVERIFY(item->isEnabled());
    QVERIFY(app_->FormNS->findChild<QWidget*>(QStringLiteral("ImgPers"))->isEnabled());
    item->trigger();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList{QStringLiteral("FormPersonal")});
}

void TstStaffWindows::staffExportNestsTools()
{
    QDir docs(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    for (const QString& f : docs.entryList({QStringLiteral("*.xlsx")}, QDir::Files)) docs.remove(f);
    click(staff()->TabSheet2, "SpdBtnPersExcel");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{QStringLiteral("Няма въведен персонал !")});
    QCOMPARE(docs.entryList({QStringLiteral("*.xlsx")}, QDir::Files).size(), 0);

    const int a = person("Иван", "Петров", "Иванов");
    person("Мария", "Г", "Петрова");
    exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NMIARKA) values (901, 'Бормашина', 1)"));
    exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NMIARKA) values (902, 'Ножици', 1)"));
    exec(QStringLiteral("insert into MATERIAL_PERSONAL (NMATERIAL, SHIFYR, KOLICHESTVO, DATEOT) values (901, %1, 1, '03.02.2026')").arg(a));
    exec(QStringLiteral("insert into MATERIAL_PERSONAL (NMATERIAL, SHIFYR, KOLICHESTVO) values (902, %1, 2.5)").arg(a));
    pers().SmpViewPersMat.refresh();
    pers().SmpViewPers.first();
    click(staff()->TabSheet2, "SpdBtnPersExcel");
    const QStringList books = docs.entryList({QStringLiteral("*.xlsx")}, QDir::Files);
    QCOMPARE(books.size(), 1);
    const Sheet sheet = readWorkbook(docs.filePath(books.front()));
    // The staff row, then his tools (name, unit, quantity, dates), then an empty row.
    QCOMPARE(sheet.texts.value(0).value(0), QStringLiteral("Име презиме фамилия"));
    QCOMPARE(sheet.texts.value(1).value(0), QStringLiteral("Иван Петров Иванов"));
    QCOMPARE(sheet.texts.value(2).mid(0, 4), (QStringList{QStringLiteral("Бормашина"), QStringLiteral("бр."), QStringLiteral("1"), QStringLiteral("03.02.2026")}));
    QCOMPARE(sheet.texts.value(3).mid(0, 3), (QStringList{QStringLiteral("Ножици"), QStringLiteral("бр."), QStringLiteral("2.5")}));
    QCOMPARE(sheet.texts.value(5).value(0), QStringLiteral("Мария Г Петрова"));
}

// The kinds of the movements the payments grid shows, top to bottom.
QList<int> TstStaffWindows::shownKinds()
{
    SmpDataset& mv = pers().SmpViewRazplPers;
    const SmpField* kind = mv.findField(QStringLiteral("AVANS_OTCHET_DOST"));
    QList<int> out;
    for (int i = 0; i < mv.recordCount(); ++i) out << mv.valueAt(i, kind).toInt();
    return out;
}

// The workbooks in the documents folder; the first call of a test empties it.
QStringList TstStaffWindows::workbooks()
{
    QDir docs(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    QStringList out;
    for (const QString& f : docs.entryList({QStringLiteral("*.xlsx")}, QDir::Files)) out << docs.filePath(f);
    return out;
}

void TstStaffWindows::paymentsFilterByKind_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QList<int>>("kinds");
    QTest::newRow("Всички") << 0 << QList<int>{1, 2, 3, 4, 5};
    // A colleague's advance (4) is not an advance from the company.
    QTest::newRow("Аванс") << 1 << QList<int>{1};
    QTest::newRow("Разпл.дост.") << 2 << QList<int>{3};
    QTest::newRow("Служ.разх.") << 3 << QList<int>{2};
}

void TstStaffWindows::paymentsFilterByKind()
{
    QFETCH(int, choice);
    QFETCH(QList<int>, kinds);
    const int b = person("Мария", "Г", "Петрова");
    const int a = person("Иван", "Петров", "Иванов");
    const QDate d(2026, 12, 1);
    Staff::addAdvance(db(), a, {d, 300, 0, 0, {}});
    Staff::addReport(db(), a, 0, {d.addDays(1), 40, 0, 0, {}});
    exec(QStringLiteral("insert into DOSTAVKI_PLASTANE (SHIFYR, PLATENO_LV, PLATENO_DATE) values (%1, 25, '03.12.2026')").arg(a));
    Staff::giveAdvance(db(), b, a, {d.addDays(3), 20, 0, 0, {}});
    Staff::giveAdvance(db(), a, b, {d.addDays(4), 10, 0, 0, {}});
    pers().SmpViewPers.locate(QStringLiteral("SHIFYR"), {a});
    staff()->DBGrid10CellClick();
    QCOMPARE(shownKinds(), (QList<int>{1, 2, 3, 4, 5}));

    staff()->TabSheet1->RdGrpFiltyrSlugRazpl->button(choice)->click();
    QCOMPARE(shownKinds(), kinds);
    // The filter stays with the radio while another employee is chosen and back.
    pers().SmpViewPers.locate(QStringLiteral("SHIFYR"), {b});
    staff()->DBGrid10CellClick();
    pers().SmpViewPers.locate(QStringLiteral("SHIFYR"), {a});
    staff()->DBGrid10CellClick();
    QCOMPARE(shownKinds(), kinds);
    QCOMPARE(staff()->TabSheet1->RdGrpFiltyrSlugRazpl->checkedId(), choice);
}

void TstStaffWindows::correctionsThroughTheDialogs()
{
    const int a = person("Иван", "Петров", "Иванов");
    exec(QStringLiteral("insert into TIP_SLUG_OTCHET (NTIP_SLUG_OTCHET, IME_SLUG_OTCHET) values (7, 'Гориво')"));
    const QDate d(2026, 11, 20);
    Staff::addAdvance(db(), a, {d, 300, 5, 0, QStringLiteral("път")});
    Staff::addReport(db(), a, 7, {d.addDays(1), 40, 0, 0, {}});
    pers().SmpViewPers.locate(QStringLiteral("SHIFYR"), {a});
    staff()->DBGrid10CellClick();
    SmpDataset& mv = pers().SmpViewRazplPers;

    // An advance corrected to 0 leva: the amount check is for new advances only.
    QString heading;
    QVariant shownLv;
    QDate shownDate;
    ui_->onModal = [&](Form* f) {
        f->show();
        auto* dlg = static_cast<TFormSlugAvans*>(f);
        heading = dlg->LbSlugAvans->text();
        shownLv = pers().SmpSlugAvansTemp.value(QStringLiteral("SUMA_LV"));
        shownDate = dlg->DateSlugAvans->date();
        pers().SmpSlugAvansTemp.edit();
        pers().SmpSlugAvansTemp.setValue(QStringLiteral("SUMA_LV"), 0.0);
        click(dlg, "SpdBtnZapis");
        return 0;
    };
    QVERIFY(mv.locate(QStringLiteral("AVANS_OTCHET_DOST"), {1}));
    ui_->answers = {true};
    click(staff()->TabSheet1, "SpdBtnKorekc");
    QCOMPARE(heading, QStringLiteral("Корекция на сумата за служебни аванси на Иван Петров Иванов"));
    QCOMPARE(shownLv.toDouble(), 300.0);
    QCOMPARE(shownDate, d);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList{QStringLiteral(" Запис на служебен аванс ?")});
    QVERIFY(!app_->FormSlugAvans->isVisible());
    QCOMPARE(count(QStringLiteral("select count(*) from SLUG_AVANS where SUMA_LV = 0 and SUMA_USD = 5 "
                                  "and ZABELEGKA = 'път' and AVANS_OT_SHIFYR = 0")), 1);

    // A report keeps its reason through a correction of its amount.
    QString reason;
    ui_->onModal = [&](Form* f) {
        f->show();
        auto* dlg = static_cast<TFormSlugOtchet*>(f);
        heading = dlg->LbSlugAvans->text();
        reason = dlg->DBLkpCmbBoxOsnov->currentText();
        pers().SmpSlugOtchetTemp.edit();
        pers().SmpSlugOtchetTemp.setValue(QStringLiteral("SUMA_LV"), 55.5);
        click(dlg, "SpdBtnZapis");
        return 0;
    };
    QVERIFY(mv.locate(QStringLiteral("AVANS_OTCHET_DOST"), {2}));
    ui_->answers = {true};
    click(staff()->TabSheet1, "SpdBtnKorekc");
    QCOMPARE(heading, QStringLiteral("Корекция служебен отчет на Иван Петров Иванов"));
    QCOMPARE(reason, QStringLiteral("Гориво"));
    QCOMPARE(count(QStringLiteral("select count(*) from SLUG_OTCHET where SUMA_LV = 55.5 and NTIP_SLUG_OTCHET = 7 "
                                  "and AVANS_NA_SHIFYR = 0")), 1);
    QCOMPARE(pers().SmpRazplPersSpr.value(QStringLiteral("OTCHET_LV")).toDouble(), 55.5);

    // A new report without a reason is refused: the dialog stays with what was typed, nothing is stored.
    bool stayed = false;
    QVariant kept;
    ui_->onModal = [&](Form* f) {
        f->show();
        pers().SmpSlugOtchetTemp.edit();
        pers().SmpSlugOtchetTemp.setValue(QStringLiteral("SUMA_LV"), 12.0);
        click(f, "SpdBtnZapis");
        stayed = f->isVisible();
        kept = pers().SmpSlugOtchetTemp.value(QStringLiteral("SUMA_LV"));
        click(f, "SpdBtnExit");
        return 0;
    };
    ui_->clear();
    click(staff()->TabSheet1, "SpdBtnOtchetNov");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             QStringList{QStringLiteral("Не е въведена сума/лв./ или основание за служебен отчет !")});
    QVERIFY(ui_->texts(RecordingUi::Kind::Question).isEmpty());
    QVERIFY(stayed);
    QCOMPARE(kept.toDouble(), 12.0);
    QCOMPARE(count(QStringLiteral("select count(*) from SLUG_OTCHET")), 1);
}

void TstStaffWindows::earningsInquiryBounds()
{
    const int a = person("Иван", "Петров", "Иванов");
    const int b = person("Мария", "Г", "Петрова");
    const auto line = [&](int s, const char* month, int day, int n, double rate) {
        exec(QStringLiteral("insert into VEDOMOST_MANIPULACII (GGGGMM, GGGGMM_DEN, SHIFYR, NUM_MANIPULACIA, BROI_MANIPULACII, "
                            "RAZCENKA) values ('%1', %2, %3, 1, %4, %5)").arg(QString::fromLatin1(month)).arg(day).arg(s).arg(n).arg(rate));
    };
    line(a, "202611", 9, 10, 1.0);
    line(a, "202612", 3, 4, 2.0);
    line(b, "202610", 20, 7, 1.0);
    TFormViewZarab* inquiry = app_->FormViewZarab;
    SmpDataset& firm = pers().SmpVedZarabFirma;
    const auto sums = [&] {
        return QStringList{firm.fieldByName(QStringLiteral("SumZarabFirma"))->displayText(),
                           firm.fieldByName(QStringLiteral("SumManipFirma"))->displayText()};
    };
    inquiry->show();

    // Nothing is read until both months are chosen.
    chooseInList(inquiry->DBLkpCmbMesOt, QStringLiteral("Ноември 2026"));
    QVERIFY(firm.isEmpty());
    chooseInList(inquiry->DBLkpCmbMesDo, QStringLiteral("Декември 2026"));
    QCOMPARE(firm.recordCount(), 2);
    QCOMPARE(sums(), (QStringList{QStringLiteral("18.00"), QStringLiteral("14")}));
    // Names and months are read whole, not cut at the header's default width.
    for (const char* field : {"GODMESIME", "IMEPREZFAM"}) {
        const QString text = firm.value(QString::fromLatin1(field)).toString();
        const int c = inquiry->DBGrid1->columnOfField(QString::fromLatin1(field));
        QVERIFY2(inquiry->DBGrid1->columnWidth(c) > inquiry->DBGrid1->fontMetrics().horizontalAdvance(text), field);
    }

    // A month changed with the keyboard counts at the next reload, as the box shows it.
    QTest::keyClick(inquiry->DBLkpCmbMesDo, Qt::Key_Up);
    QCOMPARE(inquiry->DBLkpCmbMesDo->currentText(), QStringLiteral("Ноември 2026"));
    inquiry->SpnEdDEnDo->setValue(30);
    QCOMPARE(firm.recordCount(), 1);
    QCOMPARE(firm.value(QStringLiteral("GGGGMM")).toString(), QStringLiteral("202611"));

    // Reversed months are taken as they are, without a message.
    chooseInList(inquiry->DBLkpCmbMesOt, QStringLiteral("Декември 2026"));
    QVERIFY(firm.isActive());
    QVERIFY(firm.isEmpty());
    QVERIFY(ui_->texts(RecordingUi::Kind::Message).isEmpty());

    // Reversed days: the message, and the list as it was.
    chooseInList(inquiry->DBLkpCmbMesOt, QStringLiteral("Октомври 2026"));
    chooseInList(inquiry->DBLkpCmbMesDo, QStringLiteral("Декември 2026"));
    inquiry->SpnEdDEnDo->setValue(9);
    QCOMPARE(firm.recordCount(), 2);
    QCOMPARE(sums(), (QStringList{QStringLiteral("18.00"), QStringLiteral("14")}));
    inquiry->SpnEdDEnOt->setValue(10);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{QStringLiteral("\"Ден от\" е по-голям от \"Ден до\" !")});
    QCOMPARE(firm.recordCount(), 2);
    QCOMPARE(firm.param(QStringLiteral("DEN_OT")).toInt(), 1);
    inquiry->close();

    // The staff window's month comes back after the inquiry moved the month list.
    const QVariant month = pers().SmpGodMes.value(QStringLiteral("GGGGMM"));
    ui_->onModal = [&](Form* f) {
        chooseInList(static_cast<TFormViewZarab*>(f)->DBLkpCmbMesOt, QStringLiteral("Март 2026"));
        return 0;
    };
    staff()->findChild<QAction*>(QStringLiteral("N2SprZarab"))->trigger();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList{QStringLiteral("FormViewZarab")});
    QCOMPARE(pers().SmpGodMes.value(QStringLiteral("GGGGMM")), month);
}

void TstStaffWindows::listExports_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QStringList>("row");
    QTest::newRow("work lines") << "BitBtn1" << QStringList{QStringLiteral("Ггггмм"), QStringLiteral("Ден")}
                                << QStringList{QStringLiteral("202612"), QStringLiteral("3")};
    QTest::newRow("payments") << "SpdBtnExcelSlugRazpl" << QStringList{QStringLiteral("Дата"), QStringLiteral("Лева")}
                              << QStringList{QStringLiteral("01.12.2026"), QStringLiteral("300")};
    QTest::newRow("all payments") << "SpdBtnPlastKlientExcel" << QStringList{QStringLiteral("Име"), QStringLiteral("Дата")}
                                  << QStringList{QStringLiteral("Иван Петров Иванов"), QStringLiteral("01.12.2026")};
    QTest::newRow("company earnings") << "BitBtnExcel"
                                      << QStringList{QStringLiteral("Месец, година"), QStringLiteral("Име презиме фамилия")}
                                      << QStringList{QStringLiteral("Декември 2026"), QStringLiteral("Иван Петров Иванов")};
}

// Each list's export: nothing at all for an empty list, its shown columns otherwise.
void TstStaffWindows::listExports()
{
    QFETCH(QString, list);
    QFETCH(QStringList, header);
    QFETCH(QStringList, row);
    for (const QString& f : workbooks()) QFile::remove(f);
    const int a = person("Иван", "Петров", "Иванов");
    pers().SmpViewPers.locate(QStringLiteral("SHIFYR"), {a});
    staff()->DBGrid10CellClick();
    const auto press = [&] {
        if (list == QLatin1String("SpdBtnPlastKlientExcel")) {
            app_->FormSlugRazplObsto->show();
            click(app_->FormSlugRazplObsto, "SpdBtnPlastKlientExcel");
            app_->FormSlugRazplObsto->close();
        } else if (list == QLatin1String("BitBtnExcel")) {
            TFormViewZarab* inquiry = app_->FormViewZarab;
            inquiry->show();
            chooseInList(inquiry->DBLkpCmbMesOt, QStringLiteral("Декември 2026"));
            chooseInList(inquiry->DBLkpCmbMesDo, QStringLiteral("Декември 2026"));
            click(inquiry, "BitBtnExcel");
            inquiry->close();
        } else {
            click(list == QLatin1String("BitBtn1") ? static_cast<QWidget*>(staff()->TabSheet3) : staff()->TabSheet1,
                  qPrintable(list));
        }
    };
    press();
    QCOMPARE(workbooks().size(), 0);
    QVERIFY(ui_->texts(RecordingUi::Kind::Message).isEmpty());

    exec(QStringLiteral("insert into VEDOMOST_MANIPULACII (GGGGMM, GGGGMM_DEN, SHIFYR, NUM_MANIPULACIA, BROI_MANIPULACII, "
                        "RAZCENKA) values ('202612', 3, %1, 1, 4, 2)").arg(a));
    Staff::addAdvance(db(), a, {QDate(2026, 12, 1), 300, 0, 0, {}});
    staff()->DBGrid10CellClick();
    press();
    const QStringList books = workbooks();
    QCOMPARE(books.size(), 1);
    const Sheet sheet = readWorkbook(books.front());
    QCOMPARE(sheet.texts.value(0).mid(0, header.size()), header);
    QCOMPARE(sheet.texts.value(1).mid(0, row.size()), row);
}

void TstStaffWindows::allPaymentsByReason()
{
    const int a = person("Иван", "Петров", "Иванов");
    const int b = person("Мария", "Г", "Петрова");
    exec(QStringLiteral("insert into TIP_SLUG_OTCHET (NTIP_SLUG_OTCHET, IME_SLUG_OTCHET) values (7, 'Гориво')"));
    exec(QStringLiteral("insert into TIP_SLUG_OTCHET (NTIP_SLUG_OTCHET, IME_SLUG_OTCHET) values (8, 'Хотел')"));
    const QDate d(2026, 12, 1);
    Staff::addAdvance(db(), a, {d, 300, 0, 0, {}});
    Staff::addReport(db(), a, 7, {d, 40, 0, 0, {}});
    Staff::addReport(db(), b, 8, {d, 90, 0, 0, {}});
    Staff::addReport(db(), b, 7, {d, 15, 0, 0, {}});
    TFormSlugRazplObsto* all = app_->FormSlugRazplObsto;
    SmpDataset& list = pers().SmpSlugRazplObsto;
    const auto shown = [&] {
        QStringList out;
        for (int i = 0; i < list.recordCount(); ++i)
            out << list.displayTextAt(i, list.findField(QStringLiteral("IMEFULL"))) + u'/' +
                       list.displayTextAt(i, list.findField(QStringLiteral("RAZPL_LV")));
        return out;
    };
    all->show();
    QCOMPARE(list.recordCount(), 4);
    QVERIFY(all->GrpBoxOsnovanie->isHidden());

    all->RdBtnPoIzbor->click();
    QVERIFY(!all->GrpBoxOsnovanie->isHidden());
    chooseInList(all->DBLkpCmBoxVidOsnovanie, QStringLiteral("Гориво"));
    QCOMPARE(shown(), (QStringList{QStringLiteral("Иван Петров Иванов/40.00"), QStringLiteral("Мария Г Петрова/15.00")}));
    all->RdBtnVsichki->click();
    QCOMPARE(list.recordCount(), 4);
    QVERIFY(all->GrpBoxOsnovanie->isHidden());
    // Back to a chosen reason: the one shown in the box.
    all->RdBtnPoIzbor->click();
    QCOMPARE(shown().size(), 2);
    chooseInList(all->DBLkpCmBoxVidOsnovanie, QStringLiteral("Хотел"));
    QCOMPARE(shown(), QStringList{QStringLiteral("Мария Г Петрова/90.00")});
    all->close();
}

// Moving through the staff grid with the keyboard re-reads the chosen employee's lists.
void TstStaffWindows::keyboardChoiceReloadsLists()
{
    const int a = person("Иван", "Петров", "Иванов");
    const int b = person("Мария", "Г", "Петрова");
    Staff::addAdvance(db(), a, {QDate(2026, 12, 1), 300, 0, 0, {}});
    Staff::addAdvance(db(), b, {QDate(2026, 12, 2), 70, 0, 0, {}});
    pers().SmpViewPers.locate(QStringLiteral("SHIFYR"), {a});
    staff()->DBGrid10CellClick();
    QCOMPARE(pers().SmpRazplPersSpr.value(QStringLiteral("AVANS_LV")).toDouble(), 300.0);
    staff()->DBGrid10->setFocus();
    QTest::keyClick(staff()->DBGrid10, Qt::Key_Down);
    QCOMPARE(pers().SmpViewPers.value(QStringLiteral("SHIFYR")).toInt(), b);
    QCOMPARE(pers().SmpViewRazplPers.value(QStringLiteral("RAZPL_LV")).toDouble(), 70.0);
    QCOMPARE(pers().SmpRazplPersSpr.value(QStringLiteral("AVANS_LV")).toDouble(), 70.0);
    QCOMPARE(pers().SmpViewVedZarab.param(QStringLiteral("SHIFYR")).toInt(), b);
}

void TstStaffWindows::refusedSaveKeepsWhatWasTyped_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("typing");  // control, text, control, text, ...; Enter in the last
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("table");
    QTest::newRow("employee without a middle name")
        << "" << "SpdBtnNewPers"
        << QStringList{"DBEdtIme", "Петър", "DBEdtEGN", "80a1x2", "DBEdtFam", "Колев"}
        << "Не са въведени - име,презиме,фамилия! Запис няма да се осъществи !" << "PERSONAL where IME = 'Петър'";
    QTest::newRow("tool of quantity 0") << "TabSheet2" << "SpdBtnNewPersMat" << QStringList{"DBEdtKolichestvo", "0"}
                                        << "Не са въведени - наименование или количество! Запис няма да се осъществи !"
                                        << "MATERIAL_PERSONAL";
    QTest::newRow("advance in dollars only") << "TabSheet1" << "SpdBtnAvansNov"
                                             << QStringList{"DBEdtSumaUsd", "50", "DBEdtZabelegka", "хотел"}
                                             << "Не е въведена сума/лв./за аванс !" << "SLUG_AVANS";
    QTest::newRow("report without a reason") << "TabSheet1" << "SpdBtnOtchetNov" << QStringList{"DBEdtSumaLv", "12"}
                                             << "Не е въведена сума/лв./ или основание за служебен отчет !" << "SLUG_OTCHET";
}

// Typed into a dialog and saved with Enter, refused: the message, no question, nothing stored, the
// dialog open with what was typed (digits only in the personal number).
void TstStaffWindows::refusedSaveKeepsWhatWasTyped()
{
    QFETCH(QString, tab);
    QFETCH(QString, button);
    QFETCH(QStringList, typing);
    QFETCH(QString, message);
    QFETCH(QString, table);
    person("Иван", "Петров", "Иванов");
    pers().SmpViewPers.first();
    staff()->DBGrid10CellClick();
    QStringList shown;
    bool stayed = false;
    ui_->onModal = [&](Form* f) {
        f->show();
        QLineEdit* last = nullptr;
        for (int i = 0; i + 1 < typing.size(); i += 2) {
            last = f->findChild<QLineEdit*>(typing[i]);
            if (!last) return 0;
            last->setFocus();
            typeText(last, typing[i + 1]);
        }
        QTest::keyClick(last, Qt::Key_Return);
        stayed = f->isVisible();
        for (int i = 0; i + 1 < typing.size(); i += 2) shown << f->findChild<QLineEdit*>(typing[i])->text();
        f->close();
        return 0;
    };
    QWidget* owner = tab.isEmpty() ? static_cast<QWidget*>(staff()) : staff()->findChild<QWidget*>(tab);
    click(owner, qPrintable(button));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{message});
    QVERIFY(ui_->texts(RecordingUi::Kind::Question).isEmpty());
    QVERIFY(stayed);
    QCOMPARE(shown.size(), typing.size() / 2);
    for (int i = 0; i < shown.size(); ++i) {
        const QString typed = typing[2 * i + 1] == QLatin1String("80a1x2") ? QStringLiteral("8012") : typing[2 * i + 1];
        QVERIFY2(shown[i].startsWith(typed), qPrintable(shown[i]));
    }
    QCOMPARE(count(QStringLiteral("select count(*) from ") + table), 0);
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TstStaffWindows t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_staff_windows.moc"
