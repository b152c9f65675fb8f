#include "common/columnsettings.h"
#include "common/gridexport.h"
#include "data/dmns.h"
#include "platform/dataset/smpdataset.h"
#include "platform/ui/application.h"
#include "reference/formnomenklaturi.h"
#include "reference/tabcompany.h"
#include "reference/tabcounterparties.h"
#include "reference/tabitems.h"
#include "platform/widgets/radiogroup.h"
#include "reference/tabsettings.h"
#include "support/referencefixture.h"
#include "support/workbookreader.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Lists of later windows, standing in with their real names and fields (no rows needed).
struct LaterLists
{
    SmpDataset sklNalich{QStringLiteral("SmpSklNalich")};
    SmpDataset dostavka{QStringLiteral("SmpDostavka")};
    SmpDataset realizacia{QStringLiteral("SmpRealizacia")};

    explicit LaterLists(ColumnSettings::Registry& registry)
    {
        const auto add = [](SmpDataset& ds, const char* name, const char* label, bool visible = true) {
            SmpField* f = ds.addDataField(QString::fromLatin1(name), SmpField::Type::Float);
            f->displayLabel = QString::fromUtf8(label);
            f->displayFormat = QStringLiteral("# ##0.00");  // the design's format
            f->visible = visible;
        };
        add(sklNalich, "NSKLAD", "№ склад", false);  // hidden by design
        add(sklNalich, "IMEMATERIAL", "Материал");
        add(sklNalich, "KOLICHESTVO", "Количество");
        add(sklNalich, "NALICHNOST", "Наличност");
        add(sklNalich, "ED_CENA_LV", "Ед.цена ЛВ");
        add(sklNalich, "USD", "USD");
        add(sklNalich, "EUR", "EUR");
        for (const char* f : {"KOLICHESTVO", "ED_CENA_LV", "LvOtst", "USD", "UsdOtst", "UsdOtstDDS", "EUR"})
            add(dostavka, f, f);
        add(realizacia, "BROI_MATERIAL_IZDELIE", "Брой");
        add(realizacia, "CENA_MAT_IZD_DDS", "Цена с ДДС");
        add(realizacia, "CENA_MAT_IZD_USD_DDS", "Цена USD с ДДС");
        for (SmpDataset* ds : {&sklNalich, &dostavka, &realizacia}) registry.registerDataset(*ds);
    }
};

QString visibility(const SmpDataset& ds)
{
    QString out;
    for (const SmpField* f : ds.fields()) out += f->visible ? u'1' : u'0';
    return out;
}

QString ticks(const QListWidget* list)
{
    QString out;
    for (int i = 0; i < list->count(); ++i) out += list->item(i)->checkState() == Qt::Checked ? u'1' : u'0';
    return out;
}

QByteArray fileText(const QList<QByteArray>& lines)
{
    QByteArray out;
    for (const QByteArray& l : lines) out += l + "\r\n";
    return out;
}

const QString kDesign = QStringLiteral("# ##0.00");

} // namespace

// The column settings tab and its file, through the program's start-up and the tab's button.
class TstColumnSettings : public QObject, protected ReferenceFixture
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void tabOrderAndControls();
    void settingsFileAtStartUp_data();
    void settingsFileAtStartUp();
    void saveRestartKeepsTheChoices();
    void damagedFileIsToldOnceAndMendedBySave();
    void listFilledWhenItsDatasetOpens();
    void itemListByItsLabels();
    void saveThatCannotBeWrittenChangesNothing();
    void itemListExportFollowsTheSettings();
    void linesOfListsNotYetKnownAreChecked();
    void hugeFileIsReadOnlyAsFarAsElevenLines();

private:
    // The program's start: the data modules, the reference window and the later lists, the
    // settings file applied as the start-up's first step.
    void start();
    void stop()
    {
        lists_.reset();
        stopProgram();
    }
    QByteArray savedFile()
    {
        QFile f(ColumnSettings::filePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    void writeFile(const QByteArray& content)
    {
        QDir().mkpath(QFileInfo(ColumnSettings::filePath()).absolutePath());
        QFile f(ColumnSettings::filePath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    QString spins() const
    {
        return QStringLiteral("%1%2%3")
            .arg(form()->TabSheet5->SpinEditArtikul->value())
            .arg(form()->TabSheet5->SpinEditEdCenaSklad->value())
            .arg(form()->TabSheet5->SpinEditProd->value());
    }
    QString format(SmpDataset& ds, const char* field) { return ds.fieldByName(QString::fromLatin1(field))->displayFormat; }

    std::unique_ptr<LaterLists> lists_;
};

void TstColumnSettings::initTestCase() { QStandardPaths::setTestModeEnabled(true); }

void TstColumnSettings::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    ui_ = std::make_unique<RecordingUi>();
    QDir(QFileInfo(ColumnSettings::filePath()).absolutePath()).removeRecursively();
}

void TstColumnSettings::cleanup()
{
    stop();
    ui_.reset();
    dir_.reset();
    QDir(QFileInfo(ColumnSettings::filePath()).absolutePath()).removeRecursively();
}

void TstColumnSettings::start()
{
    startProgram();
    lists_ = std::make_unique<LaterLists>(columnSettings());
    form()->ApplyColumnSettings();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstColumnSettings::tabOrderAndControls()
{
    start();
    QTabWidget* tabs = form()->PageControl1;
    QVERIFY(form()->TabSheet5->minimumSizeHint().width() < 780);  // fits the window on an 800 x 600 screen
    const int settings = tabs->indexOf(form()->TabSheet5);
    QCOMPARE(settings, tabs->count() - 1);
    QCOMPARE(tabs->indexOf(form()->TabSheet6), settings - 1);
    QCOMPARE(tabs->tabText(settings), QStringLiteral("Визуални настройки"));
    QCOMPARE(form()->TabSheet5->objectName(), QStringLiteral("TabSheet5"));
    QCOMPARE(form()->TabSheet5->columnCheckLists().size(), ColumnSettings::kLists);
    for (int i = 0; i < ColumnSettings::kLists; ++i)
        QCOMPARE(form()->TabSheet5->columnCheckLists()[i]->objectName(), QString::fromLatin1(ColumnSettings::lists()[size_t(i)].checkList));
    for (const char* name : {"SpinEditArtikul", "SpinEditEdCenaSklad", "SpinEditProd"}) {
        auto* spin = form()->findChild<QSpinBox*>(QString::fromLatin1(name));
        QVERIFY(spin);
        QCOMPARE(spin->minimum(), 0);
        QCOMPARE(spin->maximum(), 5);
    }
    QCOMPARE(form()->TabSheet5->BitBtnZapVisibleFields->text(), QStringLiteral("Запис настройки"));
    QCOMPARE(form()->TabSheet5->CheckLBSklNalich->parentWidget()->property("title").toString(), QStringLiteral("Склад - наличности "));
}

void TstColumnSettings::settingsFileAtStartUp_data()
{
    QTest::addColumn<QByteArray>("file");           // "<none>": no file, "<dir>": a folder in its place
    QTest::addColumn<QString>("listTicks");         // the stock list's items
    QTest::addColumn<QString>("stockVisible");      // the stock list's fields afterwards
    QTest::addColumn<QString>("digits");            // the three spin boxes
    QTest::addColumn<QString>("quantity");          // a quantity's format
    QTest::addColumn<QStringList>("deliveryPrices");  // every delivery and stock price format
    QTest::addColumn<QString>("salePrice");
    QTest::addColumn<QString>("problem");           // part of the one notice; empty: none

    const QString q2 = QStringLiteral("# ### ##0.00"), p3 = QStringLiteral("# ### ##0.000");
    const QStringList design(9, kDesign);
    const QByteArray ones7("1111111"), ones3("111");
    QTest::newRow("no file: all ticked, nothing changes")
        << QByteArray("<none>") << "1111111" << "0111111" << "233" << kDesign << design << kDesign << "";
    QTest::newRow("233") << fileText({ones7, "", "", "", "", "", "", ones3, "", "", "233"}) << "1111111" << "1111111"
                         << "233" << q2 << QStringList(9, p3) << p3 << "";
    QTest::newRow("shorter old line: new fields ticked")
        << fileText({"010", "", "", "", "", "", "", "", "", "", "233"}) << "0101111" << "0101111" << "233" << q2
        << QStringList(9, p3) << p3 << "";
    QTest::newRow("5 for delivery prices formats the whole group")
        << fileText({ones7, "", "", "", "", "", "", "", "", "", "152"}) << "1111111" << "1111111" << "152"
        << QStringLiteral("# ### ##0.0") << QStringList(9, QStringLiteral("# ### ##0.00000")) << q2 << "";
    QTest::newRow("empty line: fields keep their visibility")
        << fileText({"", "", "", "", "", "", "", "", "", "", "040"}) << "1111111" << "0111111" << "040"
        << QStringLiteral("# ### ##0") << QStringList(9, QStringLiteral("# ### ##0.0000")) << QStringLiteral("# ### ##0")
        << "";
    QTest::newRow("a digit above 5 changes nothing")
        << fileText({ones7, "", "", "", "", "", "", "", "", "", "934"}) << "1111111" << "1111111" << "234" << kDesign
        << QStringList(9, p3) << QStringLiteral("# ### ##0.0000") << "";
    QTest::newRow("LF line ends are read too") << QByteArray("0011\n\n\n\n\n\n\n\n\n\n321\n") << "0011111"
                                               << "0011111" << "321" << QStringLiteral("# ### ##0.000")
                                               << QStringList(9, q2) << QStringLiteral("# ### ##0.0") << "";
    QTest::newRow("damaged: a letter in line 11")
        << fileText({"0111011", "", "", "", "", "", "", "", "", "", "2x4"}) << "0111011" << "0111011" << "234" << q2
        << design << QStringLiteral("# ### ##0.0000") << QStringLiteral("ред 11: знак 2 не е цифра");
    QTest::newRow("damaged: a line longer than its list")
        << fileText({"1111111110", "", "", "", "", "", "", "", "", "", "233"}) << "1111111" << "1111111" << "233"
        << q2 << QStringList(9, p3) << p3 << QStringLiteral("ред 1 (Склад - наличности) има 10 знака, а списъкът - 7 полета");
    QTest::newRow("damaged: line 11 missing")
        << fileText({"0000000"}) << "0000000" << "0000000" << "233" << kDesign << design << kDesign
        << QStringLiteral("ред 11 (знаци след десетичната точка) липсва");
    QTest::newRow("unreadable: all ticked, nothing changes")
        << QByteArray("<dir>") << "1111111" << "0111111" << "233" << kDesign << design << kDesign
        << QStringLiteral("файлът не може да бъде отворен");
}

void TstColumnSettings::settingsFileAtStartUp()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, listTicks);
    QFETCH(QString, stockVisible);
    QFETCH(QString, digits);
    QFETCH(QString, quantity);
    QFETCH(QStringList, deliveryPrices);
    QFETCH(QString, salePrice);
    QFETCH(QString, problem);
    if (file == "<dir>") QVERIFY(QDir().mkpath(ColumnSettings::filePath()));
    else if (file != "<none>") writeFile(file);

    start();
    QCOMPARE(form()->TabSheet5->CheckLBSklNalich->count(), 7);
    QCOMPARE(form()->TabSheet5->CheckLBSklNalich->item(1)->text(), QStringLiteral("Материал"));
    QCOMPARE(ticks(form()->TabSheet5->CheckLBSklNalich), listTicks);
    QCOMPARE(visibility(lists_->sklNalich), stockVisible);
    QCOMPARE(spins(), digits);
    QCOMPARE(format(lists_->sklNalich, "KOLICHESTVO"), quantity);
    QCOMPARE(format(lists_->dostavka, "KOLICHESTVO"), quantity);
    const QStringList prices = {format(lists_->sklNalich, "ED_CENA_LV"), format(lists_->sklNalich, "USD"),
                                format(lists_->sklNalich, "EUR"),        format(lists_->dostavka, "ED_CENA_LV"),
                                format(lists_->dostavka, "LvOtst"),      format(lists_->dostavka, "USD"),
                                format(lists_->dostavka, "UsdOtst"),     format(lists_->dostavka, "UsdOtstDDS"),
                                format(lists_->dostavka, "EUR")};
    QCOMPARE(prices, deliveryPrices);
    QCOMPARE(format(lists_->realizacia, "CENA_MAT_IZD_USD_DDS"), salePrice);
    QCOMPARE(format(lists_->realizacia, "BROI_MATERIAL_IZDELIE"), quantity);
    QCOMPARE(format(lists_->sklNalich, "IMEMATERIAL"), kDesign);  // in no group
    const QStringList messages = ui_->texts(RecordingUi::Kind::Message);
    if (problem.isEmpty()) {
        QCOMPARE(messages, QStringList());
    } else {
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains(problem), qPrintable(messages.first()));
    }
}

void TstColumnSettings::saveRestartKeepsTheChoices()
{
    start();
    QListWidget* stock = form()->TabSheet5->CheckLBSklNalich;
    QCOMPARE(ticks(stock), QStringLiteral("1111111"));
    stock->item(0)->setCheckState(Qt::Unchecked);
    stock->item(3)->setCheckState(Qt::Unchecked);
    form()->TabSheet5->CheckLBRealizacia->item(2)->setCheckState(Qt::Unchecked);
    form()->TabSheet5->SpinEditArtikul->setValue(0);
    form()->TabSheet5->SpinEditEdCenaSklad->setValue(5);
    form()->TabSheet5->SpinEditProd->setValue(1);
    QTest::mouseClick(form()->TabSheet5->BitBtnZapVisibleFields, Qt::LeftButton);

    // Exactly eleven CR LF lines of single-byte digits; the item list is known from the start.
    const QByteArray items(dm().SmpViewMateriali.fields().size(), '1');
    QCOMPARE(savedFile(), fileText({"0110111", "", "", "", "", "", "", "110", "", items, "051"}));
    // In effect at once.
    QCOMPARE(visibility(lists_->sklNalich), QStringLiteral("0110111"));
    QCOMPARE(format(lists_->dostavka, "UsdOtstDDS"), QStringLiteral("# ### ##0.00000"));
    QCOMPARE(format(lists_->sklNalich, "NALICHNOST"), QStringLiteral("# ### ##0"));
    QCOMPARE(format(lists_->realizacia, "CENA_MAT_IZD_DDS"), QStringLiteral("# ### ##0.0"));

    stop();
    start();
    QCOMPARE(ticks(form()->TabSheet5->CheckLBSklNalich), QStringLiteral("0110111"));
    QCOMPARE(ticks(form()->TabSheet5->CheckLBRealizacia), QStringLiteral("110"));
    QCOMPARE(visibility(lists_->sklNalich), QStringLiteral("0110111"));
    QCOMPARE(visibility(lists_->realizacia), QStringLiteral("110"));
    QCOMPARE(spins(), QStringLiteral("051"));
    QCOMPARE(format(lists_->sklNalich, "USD"), QStringLiteral("# ### ##0.00000"));
    QCOMPARE(format(lists_->dostavka, "KOLICHESTVO"), QStringLiteral("# ### ##0"));
    QCOMPARE(format(lists_->realizacia, "CENA_MAT_IZD_USD_DDS"), QStringLiteral("# ### ##0.0"));
    QCOMPARE(ui_->log.size(), 0);
}

void TstColumnSettings::damagedFileIsToldOnceAndMendedBySave()
{
    // Line 3 belongs to a list this program does not have yet: it is written back as it was.
    writeFile(fileText({"101", "", "0110", "", "", "", "", "1111", "", "", "4y"}));
    start();
    const QStringList told = ui_->texts(RecordingUi::Kind::Message);
    QCOMPARE(told.size(), 1);
    QVERIFY(told.first().contains(QStringLiteral("ред 8 (Информация продажби) има 4 знака, а списъкът - 3 полета")));
    QVERIFY(told.first().contains(QStringLiteral("ред 11: знак 2 не е цифра")));
    QVERIFY(told.first().contains(QStringLiteral("ред 11 (знаци след десетичната точка) има 2 знака вместо 3")));
    QCOMPARE(spins(), QStringLiteral("433"));
    QCOMPARE(visibility(lists_->sklNalich), QStringLiteral("1011111"));

    QTest::mouseClick(form()->TabSheet5->BitBtnZapVisibleFields, Qt::LeftButton);
    const QByteArray items(dm().SmpViewMateriali.fields().size(), '1');
    QCOMPARE(savedFile(), fileText({"1011111", "", "0110", "", "", "", "", "111", "", items, "433"}));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message).size(), 1);  // the good file reads without a word
    stop();
    ui_->clear();
    start();
    QCOMPARE(ui_->log.size(), 0);
    QCOMPARE(spins(), QStringLiteral("433"));
}

void TstColumnSettings::listFilledWhenItsDatasetOpens()
{
    // A list whose fields are made from its query's columns has them once it is opened.
    writeFile(fileText({"", "", "", "", "", "", "", "", "10", "", "233"}));
    start();
    SmpDataset later(QStringLiteral("SmpSprRealizacia"), &dm().SQLConnectNS);
    later.setCommandText(QStringLiteral("select 1 as A, 2 as B, 3 as C, 4 as D from rdb$database"));
    later.afterOpen = [](SmpDataset& ds) { ds.fieldByName(QStringLiteral("B"))->visible = true; };  // its own design
    columnSettings().registerDataset(later);
    QCOMPARE(form()->TabSheet5->CheckLBSprRealizacia->count(), 0);
    later.open();
    QCOMPARE(form()->TabSheet5->CheckLBSprRealizacia->count(), 4);
    QCOMPARE(form()->TabSheet5->CheckLBSprRealizacia->item(0)->text(), QStringLiteral("A"));
    QCOMPARE(ticks(form()->TabSheet5->CheckLBSprRealizacia), QStringLiteral("1011"));
    // The user's choice wins over the list's own after-open settings, and holds across re-opens.
    for (int round = 0; round < 2; ++round) {
        QCOMPARE(visibility(later), QStringLiteral("1011"));
        later.close();
        later.open();
    }
    // Saved: line 9 now has one digit per field.
    QTest::mouseClick(form()->TabSheet5->BitBtnZapVisibleFields, Qt::LeftButton);
    QCOMPARE(savedFile().split('\n').value(8), QByteArray("1011\r"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
}

void TstColumnSettings::itemListByItsLabels()
{
    // The item list is listed from the start, by the labels of its fields, hidden ones included.
    writeFile(fileText({"", "", "", "", "", "", "", "", "", "10", "233"}));
    start();
    SmpDataset& items = dm().SmpViewMateriali;
    QListWidget* list = form()->TabSheet5->CheckLBViewMat;
    QCOMPARE(list->count(), items.fields().size());
    for (int k = 0; k < list->count(); ++k) {
        QCOMPARE(list->item(k)->text(), items.fields()[k]->displayLabel);
        QVERIFY2(!items.fields()[k]->displayLabel.isEmpty(), qPrintable(items.fields()[k]->fieldName()));
    }
    QCOMPARE(ticks(list), QStringLiteral("10") + QString(items.fields().size() - 2, u'1'));
    form()->show();
    for (int round = 0; round < 2; ++round) {
        QCOMPARE(items.fields()[0]->visible, true);
        QCOMPARE(items.fields()[1]->visible, false);
        items.close();
        items.open();
    }
}

void TstColumnSettings::saveThatCannotBeWrittenChangesNothing()
{
    start();
    form()->TabSheet5->CheckLBSklNalich->item(2)->setCheckState(Qt::Unchecked);
    form()->TabSheet5->SpinEditArtikul->setValue(4);
    QVERIFY(QDir().mkpath(ColumnSettings::filePath()));  // a folder where the file should go
    QTest::mouseClick(form()->TabSheet5->BitBtnZapVisibleFields, Qt::LeftButton);
    const QStringList told = ui_->texts(RecordingUi::Kind::Message);
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.first().startsWith(QStringLiteral("Настройките не могат да бъдат записани във файла\r%1")
                                         .arg(QDir::toNativeSeparators(ColumnSettings::filePath()))),
             qPrintable(told.first()));
    QCOMPARE(visibility(lists_->sklNalich), QStringLiteral("0111111"));  // the design's, as before
    QCOMPARE(format(lists_->sklNalich, "KOLICHESTVO"), kDesign);
    QCOMPARE(ticks(form()->TabSheet5->CheckLBSklNalich), QStringLiteral("1101111"));  // the tab keeps what the user chose
}

void TstColumnSettings::itemListExportFollowsTheSettings()
{
    writeFile(fileText({"", "", "", "", "", "", "", "", "", "1011", "233"}));  // the item list's second field hidden
    start();
    dm().SQLConnectNS.execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NMIARKA, NSKLAD, ED_CENA) "
                                                    "values (9101, 'Дъска бук 20 мм', 5, 1, 24.6)"));
    form()->show();
    form()->TabSheet1->RdGrpIzbSklMat->click(0);  // every warehouse
    SmpDataset& items = dm().SmpViewMateriali;
    QVERIFY(items.locate(QStringLiteral("NMATERIAL"), {9101}));
    QStringList header;
    for (int k = 0; k < items.fields().size(); ++k)
        if (k != 1) header << (items.fields()[k]->displayLabel.isEmpty() ? items.fields()[k]->fieldName() : items.fields()[k]->displayLabel);

    SpreadsheetExport how;
    how.folder = dir_->filePath(QStringLiteral("export"));
    const SpreadsheetExportResult r = ExportDatasetToSpreadsheet(items, how);
    QCOMPARE(r.status, SpreadsheetExportResult::Status::Written);
    const Sheet s = readWorkbook(r.path);
    QCOMPARE(s.texts.value(0), header);
    QCOMPARE(s.texts.size(), items.recordCount() + 1);
    bool found = false;
    for (const QStringList& cells : s.texts)
        if (cells.contains(QStringLiteral("Дъска бук 20 мм"))) {
            found = true;
            QCOMPARE(cells.value(int(header.indexOf(items.fieldByName(QStringLiteral("ED_CENA"))->displayLabel))),
                     QStringLiteral("24.6"));  // the grid's "24.600" is not what goes out
        }
    QVERIFY(found);
}

// Bytes this process has read so far, from the kernel's count.
qint64 bytesRead()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("rchar:")) return line.mid(6).trimmed().toLongLong();
    return -1;
}

// Garbage in the line of a list whose window does not exist yet is told at once; a line longer
// than such a list is told when the list registers with its fields.
void TstColumnSettings::linesOfListsNotYetKnownAreChecked()
{
    writeFile(fileText({"", "01x", "", "", "", "1111", "", "", "", "", "233"}));
    start();
    QStringList told = ui_->texts(RecordingUi::Kind::Message);
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.first().contains(QStringLiteral("ред 2 (Склад - движение): знак 3 не е 0 или 1")),
             qPrintable(told.first()));
    ui_->clear();
    SmpDataset late(QStringLiteral("SmpMat_Spravka"));
    late.addDataField(QStringLiteral("IMEMATERIAL"), SmpField::Type::String);
    late.addDataField(QStringLiteral("NALICHNOST"), SmpField::Type::Float);
    columnSettings().registerDataset(late);
    told = ui_->texts(RecordingUi::Kind::Message);
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.first().contains(QStringLiteral("ред 6 (Склад-материали справка) има 4 знака, а списъкът - 2 полета")),
             qPrintable(told.first()));
    columnSettings().registerDataset(late);  // told once
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message).size(), 1);
}

void TstColumnSettings::hugeFileIsReadOnlyAsFarAsElevenLines()
{
    constexpr qint64 tail = 32 << 20;
    writeFile(fileText({"0111111", "", "", "", "", "", "", "", "", "", "233"}) + QByteArray(tail, '\n'));
    start();
    QCOMPARE(visibility(lists_->sklNalich), QStringLiteral("0111111"));
    const qint64 before = bytesRead();
    QVERIFY(before >= 0);
    form()->ApplyColumnSettings();
    const qint64 read = bytesRead() - before;
    QVERIFY2(read < (1 << 20), qPrintable(QString::number(read)));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
}

int main(int argc, char** argv)
{
    // A throw-away home, so no real user folder is touched.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    Application app(argc, argv);
    TstColumnSettings t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_columnsettings.moc"
