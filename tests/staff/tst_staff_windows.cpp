#include "data/dmpers.h"
#include "platform/base/clock.h"
#include "platform/ui/application.h"
#include "platform/widgets/handlers.h"
#include "staff/formpers.h"
#include "staff/formpersonal.h"
#include "staff/formslugavans.h"
#include "staff/tabslugrazpl.h"
#include "staff/tabzarab.h"
#include "support/appfixture.h"
#include "reference/tabcompany.h"
#include "support/workbookreader.h"
#include "staff/tabtools.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
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

private:
    TDMPers& pers() { return *app_->DMPers; }
    TFormPersonal* staff() { return app_->FormPersonal; }
    void click(QWidget* in, const char* name) { in->findChild<QToolButton*>(QString::fromLatin1(name))->click(); }
    int person(const char* ime, const char* prez, const char* fam);
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
    person("Иван", "Петров", "Иванов");
    exec(QStringLiteral("insert into TIP_MANIPULACII (NUM_MANIPULACIA, IME_MANIPULACIA, RAZCENKA) values (3, 'Шев', 0.35)"));
    pers().SmpTipManip.refresh();
    // November chosen on 9 December: the line gets day 9 and month November.
    pers().SmpGodMes.locate(QStringLiteral("GGGGMM"), {QStringLiteral("202611")});
    staff()->TabSheet3->showMonth();
    QCOMPARE(staff()->TabSheet3->GrpBoxZarab->title(), QStringLiteral("Въвеждане на заработки за - Ноември 2026 г. "));
    SmpDataset& lines = pers().SmpVedManip;
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

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TstStaffWindows t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_staff_windows.moc"
