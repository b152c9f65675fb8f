#include "platform/base/clock.h"
#include "common/gridexport.h"
#include "platform/dataset/smpdataset.h"
#include "platform/db/connection.h"
#include "platform/ui/application.h"
#include "support/recordingui.h"
#include "support/testdb.h"
#include "support/workbookreader.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <memory>

// Takes the desktop's "open this file" requests in place of a spreadsheet program.
class OpenRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

namespace {

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

// The grid export, on datasets over a real database, read back with a real workbook reader.
class TstExport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void generalNumbers_data();
    void generalNumbers();
    void cellRulesAndHeader();
    void visibleFieldsOnly_data();
    void visibleFieldsOnly();
    void emptyList_data();
    void emptyList();
    void twoExportsMakeTwoFiles();
    void cancelledExportLeavesNoFile();
    void folderThatCannotBeWritten();
    void noProgramToOpenIt();
    void staffListWithTools();
    void textsKeptAsText();
    void longTextsCutAndToldOnce();
    void spreadsheetComputesWithTheCopy();

private:
    QString documents() const { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); }
    // The export's test list: three rows over T_EXPORT with one calculated field.
    void defineItems(SmpDataset& ds, const QString& where = {});

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<RecordingUi> ui_;
    std::unique_ptr<SQLConnection> db_;
    OpenRecorder opener_;
};

void TstExport::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY2(documents().startsWith(QDir::homePath()) && QDir::homePath().startsWith(QDir::tempPath()),
             "the test's home folder is a temporary one");
}

void TstExport::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    ui_ = std::make_unique<RecordingUi>();
    db_ = std::make_unique<SQLConnection>(TestDb::freshCopy(*dir_));
    db_->open();
    db_->executeImmediate(QStringLiteral("create table T_EXPORT (ID integer not null primary key, NAME varchar(30), "
                                         "PRICE double precision, DDATE date, NOTE varchar(30))"));
    db_->execute(QStringLiteral("insert into T_EXPORT values (1, 'Болт М8', 1234.5, '2024-03-05', 'скрито')"));
    db_->execute(QStringLiteral("insert into T_EXPORT values (2, '', 0.125, '2024-12-31', 'скрито')"));
    db_->execute(QStringLiteral("insert into T_EXPORT values (3, null, null, null, null)"));
    QDir(documents()).removeRecursively();
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &opener_, "open");
    opener_.urls.clear();
    Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 30, 15)));
}

void TstExport::cleanup()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    Clock::reset();
    db_.reset();
    ui_.reset();
    dir_.reset();
}

void TstExport::defineItems(SmpDataset& ds, const QString& where)
{
    ds.setConnection(db_.get());
    ds.setCommandText(QStringLiteral("select * from T_EXPORT %1 order by ID").arg(where));
    ds.addDataField(QStringLiteral("ID"), SmpField::Type::Integer);
    SmpField* name = ds.addDataField(QStringLiteral("NAME"), SmpField::Type::String, 30);
    name->displayLabel = QStringLiteral("Материал");
    SmpField* price = ds.addDataField(QStringLiteral("PRICE"), SmpField::Type::Float);
    price->displayLabel = QStringLiteral("Цена");
    price->displayFormat = QStringLiteral("# ##0.00");  // the grid's format, never the export's
    SmpField* day = ds.addDataField(QStringLiteral("DDATE"), SmpField::Type::DateTime);
    day->displayLabel = QStringLiteral("Дата");
    day->displayFormat = QStringLiteral("dd.mm.yy");
    SmpField* note = ds.addDataField(QStringLiteral("NOTE"), SmpField::Type::String, 30);
    note->displayLabel = QStringLiteral("Бележка");
    note->visible = false;
    SmpField* sum = ds.addCalculatedField(QStringLiteral("Sum"), SmpField::Type::Float);
    sum->displayLabel = QStringLiteral("Сума");
    ds.onCalcFields = [](SmpDataset& d) {
        // A sum whose double is not exactly 0.3 or 1234.625: the export writes what a person would.
        if (!d.fieldByName(QStringLiteral("PRICE"))->isNull())
            d.setValue(QStringLiteral("Sum"), d.fieldByName(QStringLiteral("PRICE"))->asFloat() + 0.1 + 0.2);
    };
    ds.open();
}

void TstExport::generalNumbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("one decimal") << 1234.5 << "1234.5";
    QTest::newRow("whole") << 5.0 << "5";
    QTest::newRow("binary noise") << 0.1 + 0.2 << "0.3";
    QTest::newRow("negative") << -2.5 << "-2.5";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("15 digits kept") << 123456789.123456789 << "123456789.123457";
    QTest::newRow("large, no exponent") << 1e15 << "1000000000000000";
    QTest::newRow("small, no exponent") << 0.0000001 << "0.0000001";
}

void TstExport::generalNumbers()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(GridExport::generalNumberText(value), text);
}

void TstExport::cellRulesAndHeader()
{
    SmpDataset ds(QStringLiteral("SmpTstItems"));
    defineItems(ds);
    ds.first();
    const SpreadsheetExportResult r = ExportDatasetToSpreadsheet(ds);
    QCOMPARE(r.status, SpreadsheetExportResult::Status::Written);
    QCOMPARE(QFileInfo(r.path).absolutePath(), QFileInfo(documents()).absoluteFilePath());
    QCOMPARE(QFileInfo(r.path).fileName(), QStringLiteral("TstItems 2026-12-10 09-30-15.xlsx"));
    QCOMPARE(filesIn(documents()), QStringList{QFileInfo(r.path).fileName()});  // no leftovers beside it
    QCOMPARE(opener_.urls, QList<QUrl>{QUrl::fromLocalFile(r.path)});
    QVERIFY(r.opened);
    QCOMPARE(ui_->log.size(), 0);
    QCOMPARE(ds.recNo(), ds.recordCount() - 1);  // left on the last row, as after walking the list

    const Sheet s = readWorkbook(r.path);
    QCOMPARE(s.sheets, 1);
    const QList<QStringList> expected = {
        {"ID", "Материал", "Цена", "Дата", "Сума"},
        {"1", "Болт М8", "1234.5", "05.03.2024", "1234.8"},
        {"2", " ", "0.125", "31.12.2024", "0.425"},
        {"3", " ", " ", " ", " "},
    };
    QCOMPARE(s.texts, expected);
    // Numbers and dates as cells a spreadsheet computes with; blanks and names as text.
    const QList<QStringList> kinds = {
        {"s", "s", "s", "s", "s"},
        {"n", "s", "n", "d", "n"},
        {"n", "s", "n", "d", "n"},
        {"n", "s", "s", "s", "s"},
    };
    QCOMPARE(s.kinds, kinds);
    QCOMPARE(s.dateFormats, QStringList{QStringLiteral("dd.mm.yyyy")});
    QCOMPARE(s.bold.first(), QList<bool>(5, true));
    QCOMPARE(s.bold.last(), QList<bool>(5, false));
    QCOMPARE(s.filter, QStringLiteral("A1:E4"));
}

void TstExport::visibleFieldsOnly_data()
{
    QTest::addColumn<QStringList>("hidden");
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QStringList>("firstRow");
    QTest::newRow("as designed") << QStringList() << QStringList{"ID", "Материал", "Цена", "Дата", "Сума"}
                                 << QStringList{"1", "Болт М8", "1234.5", "05.03.2024", "1234.8"};
    QTest::newRow("key and price hidden") << QStringList{"ID", "PRICE"} << QStringList{"Материал", "Дата", "Сума"}
                                          << QStringList{"Болт М8", "05.03.2024", "1234.8"};
    QTest::newRow("hidden note shown") << QStringList{"-NOTE", "DDATE"}
                                       << QStringList{"ID", "Материал", "Цена", "Бележка", "Сума"}
                                       << QStringList{"1", "Болт М8", "1234.5", "скрито", "1234.8"};
    QTest::newRow("all hidden") << QStringList{"ID", "NAME", "PRICE", "DDATE", "Sum"} << QStringList() << QStringList();
}

void TstExport::visibleFieldsOnly()
{
    QFETCH(QStringList, hidden);
    QFETCH(QStringList, header);
    QFETCH(QStringList, firstRow);
    SmpDataset ds(QStringLiteral("SmpTstItems"));
    defineItems(ds);
    for (const QString& h : hidden)
        ds.fieldByName(h.startsWith(u'-') ? h.mid(1) : h)->visible = h.startsWith(u'-');  // "-": shown
    const SpreadsheetExportResult r = ExportDatasetToSpreadsheet(ds);
    QCOMPARE(r.status, SpreadsheetExportResult::Status::Written);
    const Sheet s = readWorkbook(r.path);
    QCOMPARE(s.sheets, 1);
    if (header.isEmpty()) {
        QCOMPARE(s.texts, QList<QStringList>());  // an empty workbook
        return;
    }
    QCOMPARE(s.texts.value(0), header);
    QCOMPARE(s.texts.value(1), firstRow);
    QCOMPARE(s.texts.size(), 4);
}

void TstExport::emptyList_data()
{
    QTest::addColumn<int>("rule");
    QTest::addColumn<bool>("file");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("nothing") << int(SpreadsheetExport::EmptyList::Nothing) << false << QStringList();
    QTest::newRow("header row only") << int(SpreadsheetExport::EmptyList::HeaderOnly) << true << QStringList();
    QTest::newRow("message") << int(SpreadsheetExport::EmptyList::Message) << false
                             << QStringList{QStringLiteral("Няма въведен персонал !")};
}

void TstExport::emptyList()
{
    QFETCH(int, rule);
    QFETCH(bool, file);
    QFETCH(QStringList, messages);
    SmpDataset ds(QStringLiteral("SmpTstItems"));
    defineItems(ds, QStringLiteral("where ID < 0"));
    QVERIFY(ds.isEmpty());
    SpreadsheetExport how;
    how.emptyList = SpreadsheetExport::EmptyList(rule);
    how.emptyMessage = QStringLiteral("Няма въведен персонал !");
    const SpreadsheetExportResult r = ExportDatasetToSpreadsheet(ds, how);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), messages);
    QCOMPARE(filesIn(documents()).size(), file ? 1 : 0);
    QCOMPARE(opener_.urls.size(), file ? 1 : 0);
    if (!file) {
        QCOMPARE(r.status, SpreadsheetExportResult::Status::Empty);
        return;
    }
    const Sheet s = readWorkbook(r.path);
    QCOMPARE(s.texts, (QList<QStringList>{{"ID", "Материал", "Цена", "Дата", "Сума"}}));
}

void TstExport::twoExportsMakeTwoFiles()
{
    SmpDataset ds(QStringLiteral("SmpTstItems"));
    defineItems(ds);
    // The same second twice: the second workbook still gets a name of its own.
    const SpreadsheetExportResult a = ExportDatasetToSpreadsheet(ds);
    db_->execute(QStringLiteral("update T_EXPORT set NAME = 'Шайба' where ID = 1"));
    ds.refresh();
    const SpreadsheetExportResult b = ExportDatasetToSpreadsheet(ds);
    QCOMPARE(a.status, SpreadsheetExportResult::Status::Written);
    QCOMPARE(b.status, SpreadsheetExportResult::Status::Written);
    QVERIFY(a.path != b.path);
    QCOMPARE(filesIn(documents()).size(), 2);
    QCOMPARE(opener_.urls, (QList<QUrl>{QUrl::fromLocalFile(a.path), QUrl::fromLocalFile(b.path)}));
    QCOMPARE(readWorkbook(a.path).texts.value(1).value(1), QStringLiteral("Болт М8"));  // the first stays as it was
    QCOMPARE(readWorkbook(b.path).texts.value(1).value(1), QStringLiteral("Шайба"));
}

void TstExport::cancelledExportLeavesNoFile()
{
    db_->executeImmediate(QStringLiteral("execute block as declare i integer = 10; begin while (i < 2000) do begin "
                                         "insert into T_EXPORT (ID, NAME, PRICE) values (:i, 'ред ' || :i, :i * 1.5); "
                                         "i = i + 1; end end"));
    SmpDataset ds(QStringLiteral("SmpTstItems"));
    defineItems(ds);
    ds.moveTo(5);
    SpreadsheetExport how;
    how.progressDelayMs = 0;  // the dialog shows at once
    bool sawDialog = false;
    // The user presses "Отказ" on the progress dialog while the rows are being written.
    QTimer::singleShot(0, this, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QProgressDialog*>(w); d && d->objectName() == QLatin1String("ExportProgress")) {
                sawDialog = d->isVisible();
                for (QAbstractButton* b : d->findChildren<QAbstractButton*>())
                    if (b->text() == QStringLiteral("Отказ")) QTest::mouseClick(b, Qt::LeftButton);
            }
    });
    const SpreadsheetExportResult r = ExportDatasetToSpreadsheet(ds, how);
    QVERIFY(sawDialog);
    QCOMPARE(r.status, SpreadsheetExportResult::Status::Cancelled);
    QCOMPARE(filesIn(documents()), QStringList());
    QCOMPARE(opener_.urls.size(), 0);
    QCOMPARE(ui_->log.size(), 0);
    QCOMPARE(ds.recNo(), 5);
}

void TstExport::folderThatCannotBeWritten()
{
    SmpDataset ds(QStringLiteral("SmpTstItems"));
    defineItems(ds);
    ds.moveTo(1);
    // A file where the folder should be: no one, not even the superuser, can write into it.
    const QString blocker = dir_->filePath(QStringLiteral("blocker"));
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    SpreadsheetExport how;
    how.folder = blocker + QStringLiteral("/Excel");
    const SpreadsheetExportResult r = ExportDatasetToSpreadsheet(ds, how);
    QCOMPARE(r.status, SpreadsheetExportResult::Status::Failed);
    const QStringList messages = ui_->texts(RecordingUi::Kind::Message);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().startsWith(QStringLiteral("Работната книга не може да бъде записана в папка \"%1\" !")
                                             .arg(QDir::toNativeSeparators(how.folder))),
             qPrintable(messages.first()));
    QCOMPARE(ds.recNo(), 1);  // nothing else changes
    QCOMPARE(opener_.urls.size(), 0);
    QCOMPARE(filesIn(dir_->path()).contains(QStringLiteral("blocker")), true);
}

void TstExport::noProgramToOpenIt()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));  // the headless desktop has no program for it
    SmpDataset ds(QStringLiteral("SmpTstItems"));
    defineItems(ds);
    const SpreadsheetExportResult r = ExportDatasetToSpreadsheet(ds);
    QCOMPARE(r.status, SpreadsheetExportResult::Status::Written);
    QVERIFY(!r.opened);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             QStringList{QStringLiteral("Работната книга е записана във файла\r%1\rНяма програма, с която да бъде отворена !")
                             .arg(QDir::toNativeSeparators(r.path))});
    QCOMPARE(readWorkbook(r.path).texts.size(), 4);  // the file is whole all the same
}

void TstExport::staffListWithTools()
{
    db_->executeImmediate(QStringLiteral("create table T_PERS (ID integer not null primary key, NAME varchar(30))"));
    db_->executeImmediate(QStringLiteral("create table T_TOOLS (ID integer not null primary key, PERS_ID integer, "
                                         "TOOL varchar(30), QTY double precision)"));
    db_->execute(QStringLiteral("insert into T_PERS values (1, 'Иван Петров')"));
    db_->execute(QStringLiteral("insert into T_PERS values (2, 'Мария Илиева')"));
    db_->execute(QStringLiteral("insert into T_PERS values (3, 'Петър Колев')"));
    db_->execute(QStringLiteral("insert into T_TOOLS values (1, 1, 'Бормашина', 1)"));
    db_->execute(QStringLiteral("insert into T_TOOLS values (2, 1, 'Ключ', 2.5)"));
    db_->execute(QStringLiteral("insert into T_TOOLS values (3, 3, '', null)"));
    SmpDataset pers(QStringLiteral("SmpTstPers"), db_.get());
    pers.setCommandText(QStringLiteral("select * from T_PERS order by ID"));
    pers.addDataField(QStringLiteral("ID"), SmpField::Type::Integer)->visible = false;
    pers.addDataField(QStringLiteral("NAME"), SmpField::Type::String, 30)->displayLabel = QStringLiteral("Име");
    SmpDataset tools(QStringLiteral("SmpTstTools"), db_.get());
    tools.setCommandText(QStringLiteral("select * from T_TOOLS order by ID"));
    tools.addDataField(QStringLiteral("ID"), SmpField::Type::Integer)->visible = false;
    tools.addDataField(QStringLiteral("PERS_ID"), SmpField::Type::Integer)->visible = false;
    tools.addDataField(QStringLiteral("TOOL"), SmpField::Type::String, 30);
    tools.addDataField(QStringLiteral("QTY"), SmpField::Type::Float);
    pers.open();
    tools.setMaster(&pers, QStringLiteral("ID"), QStringLiteral("PERS_ID"));
    tools.open();

    SpreadsheetExport how;
    how.emptyList = SpreadsheetExport::EmptyList::Message;
    how.emptyMessage = QStringLiteral("Няма въведен персонал !");
    how.detail = &tools;
    const SpreadsheetExportResult r = ExportDatasetToSpreadsheet(pers, how);
    QCOMPARE(r.status, SpreadsheetExportResult::Status::Written);
    const Sheet s = readWorkbook(r.path);
    const QString none;
    const QList<QStringList> expected = {
        {"Име", none}, {"Иван Петров", none}, {"Бормашина", "1"}, {"Ключ", "2.5"}, {none, none},
        {"Мария Илиева", none}, {none, none},
        {"Петър Колев", none}, {" ", " "},  // the last empty row is no cell at all
    };
    QCOMPARE(s.texts, expected);
    QCOMPARE(ui_->log.size(), 0);

    // No staff: the message, and nothing else.
    pers.setFilter(QStringLiteral("ID>100"));
    pers.setFiltered(true);
    QCOMPARE(ExportDatasetToSpreadsheet(pers, how).status, SpreadsheetExportResult::Status::Empty);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{QStringLiteral("Няма въведен персонал !")});
    QCOMPARE(filesIn(documents()).size(), 1);
}

void TstExport::textsKeptAsText()
{
    // Codes that look like numbers or dates stay exactly what was typed; a date with a time keeps it.
    db_->executeImmediate(QStringLiteral("create table T_CODES (ID integer not null primary key, CODE varchar(20), "
                                         "TAKEN timestamp)"));
    db_->execute(QStringLiteral("insert into T_CODES values (1, '007', '2024-03-05 14:30:00')"));
    db_->execute(QStringLiteral("insert into T_CODES values (2, '01.03.1900', null)"));
    db_->execute(QStringLiteral("insert into T_CODES values (3, '1e5', '1900-03-01')"));
    SmpDataset ds(QStringLiteral("SmpTstCodes"), db_.get());
    ds.setCommandText(QStringLiteral("select * from T_CODES order by ID"));
    ds.open();
    const SpreadsheetExportResult r = ExportDatasetToSpreadsheet(ds);
    QCOMPARE(r.status, SpreadsheetExportResult::Status::Written);
    const Sheet s = readWorkbook(r.path);
    const QList<QStringList> expected = {
        {"ID", "CODE", "TAKEN"},
        {"1", "007", "05.03.2024 14:30:00"},
        {"2", "01.03.1900", " "},
        {"3", "1e5", "01.03.1900"},
    };
    QCOMPARE(s.texts, expected);
    QCOMPARE(s.kinds.value(1), (QStringList{"n", "s", "d"}));
    QCOMPARE(s.kinds.value(2), (QStringList{"n", "s", "s"}));
    QCOMPARE(s.dateFormats, (QStringList{"dd.mm.yyyy hh:mm:ss", "dd.mm.yyyy"}));
}

void TstExport::longTextsCutAndToldOnce()
{
    SmpDataset ds(QStringLiteral("SmpTstItems"));
    SmpField* memo = ds.addCalculatedField(QStringLiteral("Memo"), SmpField::Type::Text);
    memo->displayLabel = QStringLiteral("Бележка");
    defineItems(ds);
    const int cell = 32767;
    ds.onCalcFields = nullptr;  // this test's calculation replaces the list's own
    ds.onCalcFields = [&](SmpDataset& d) {
        // Two rows too long for a cell, one that just fits.
        const int id = d.fieldByName(QStringLiteral("ID"))->asInteger();
        d.setValue(QStringLiteral("Memo"), QString(id == 2 ? cell : cell + 10 * id, QChar(u'я')));
    };
    ds.refresh();
    const SpreadsheetExportResult r = ExportDatasetToSpreadsheet(ds);
    QCOMPARE(r.status, SpreadsheetExportResult::Status::Written);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             QStringList{QStringLiteral("Някои текстове са по-дълги от 32767 знака, колкото побира една клетка, "
                                        "и в работната книга са съкратени !")});
    const Sheet s = readWorkbook(r.path);
    const int column = int(s.texts.value(0).indexOf(QStringLiteral("Бележка")));
    QVERIFY(column >= 0);
    for (int row = 1; row <= 3; ++row) QCOMPARE(s.texts.value(row).value(column), QString(cell, QChar(u'я')));

    // Texts that fit: not a word.
    ds.onCalcFields = nullptr;
    ds.onCalcFields = [](SmpDataset& d) { d.setValue(QStringLiteral("Memo"), QStringLiteral("кратко")); };
    ds.refresh();
    ui_->log.clear();
    QCOMPARE(ExportDatasetToSpreadsheet(ds).status, SpreadsheetExportResult::Status::Written);
    QCOMPARE(ui_->log.size(), 0);
}

void TstExport::spreadsheetComputesWithTheCopy()
{
    // A real spreadsheet program sums, counts and orders what the export wrote.
    const QString calc = QStandardPaths::findExecutable(QStringLiteral("soffice"),
                                                        {QStringLiteral("/usr/bin"), QStringLiteral("/usr/lib/libreoffice/program")});
    QVERIFY2(!calc.isEmpty(), "soffice is missing (Debian package libreoffice-calc-nogui)");
    SmpDataset ds(QStringLiteral("SmpTstItems"));
    defineItems(ds);
    const SpreadsheetExportResult r = ExportDatasetToSpreadsheet(ds);
    QCOMPARE(r.status, SpreadsheetExportResult::Status::Written);

    // Formulas under the table (price in C, date in D), in a copy; the program computes them on load.
    const QString withFormulas = dir_->filePath(QStringLiteral("formulas.xlsx"));
    QProcess py;
    py.start(systemPython(),
             {QStringLiteral("-c"),
              QStringLiteral("import sys, openpyxl\n"
                             "wb = openpyxl.load_workbook(sys.argv[1]); ws = wb.worksheets[0]\n"
                             "ws['A6'] = '=SUM(C2:C4)'; ws['B6'] = '=COUNT(D2:D4)'; ws['C6'] = '=MAX(D2:D4)-MIN(D2:D4)'\n"
                             "ws['D6'] = '=SUM(A2:A4)'; ws['E6'] = '=SUM(E2:E4)'\n"
                             "wb.save(sys.argv[2])\n"),
              r.path, withFormulas});
    QVERIFY(py.waitForFinished(60000));
    QVERIFY2(py.exitCode() == 0, py.readAllStandardError().constData());

    // A private profile, so no user's settings count and two runs never share one.
    const QString profile = QUrl::fromLocalFile(dir_->filePath(QStringLiteral("calc-profile"))).toString();
    const QString out = dir_->filePath(QStringLiteral("csv"));
    QProcess soffice;
    soffice.start(calc, {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
                         QStringLiteral("--norestore"), QStringLiteral("--convert-to"),
                         QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"), QStringLiteral("--outdir"), out,
                         withFormulas});
    QVERIFY(soffice.waitForFinished(180000));
    QVERIFY2(soffice.exitCode() == 0, soffice.readAllStandardError().constData());
    QFile csv(QDir(out).filePath(QStringLiteral("formulas.csv")));
    QVERIFY2(csv.open(QIODevice::ReadOnly), qPrintable(soffice.readAllStandardOutput() + soffice.readAllStandardError()));
    const QStringList lines = QString::fromUtf8(csv.readAll()).remove(u'\r').split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.value(1), QStringLiteral("1,Болт М8,1234.5,05.03.2024,1234.8"));
    QCOMPARE(lines.value(3), QStringLiteral("3, , , , "));
    // Price 1234.5 + 0.125; two dates 301 days apart; keys 1 + 2 + 3; sums 1234.8 + 0.425.
    QCOMPARE(lines.value(5), QStringLiteral("1234.625,2,301,6,1235.225"));
}

int main(int argc, char** argv)
{
    // The documents folder of a throw-away home, so no real user folder is touched.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DOCUMENTS_DIR");
    Application app(argc, argv);
    TstExport t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_export.moc"
