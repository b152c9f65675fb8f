// Exporting 100,000 rows x 20 visible columns from the cached dataset into a workbook, against a
// bare libxlsxwriter loop writing the same texts (no dataset, no formatting), side by side in one
// run; both in constant-memory mode. Peak memory is the growth of the process's high-water mark
// (VmHWM, reset before each side) over its resident size when the side starts.
#include "common/gridexport.h"
#include "platform/dataset/smpdataset.h"
#include "platform/db/connection.h"
#include "schema/schema.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUrl>

#include <algorithm>
#include <string>
#include <vector>

#include <xlsxwriter.h>

// Swallows the "open this workbook" request: no spreadsheet program is started.
class NoOpener : public QObject
{
    Q_OBJECT
public slots:
    void open(const QUrl&) {}
};

namespace {

constexpr int kRows = 100000;
constexpr int kRounds = 3;

long statusKb(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key)) return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toLong();
    return 0;
}

// Sets the high-water mark back to the present resident size.
void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

struct Side
{
    double ms;
    long peakKb;
    qint64 bytes;
};

template <class F> Side measure(const QString& file, F&& run)
{
    if (!file.isEmpty()) QFile::remove(file);
    resetPeak();
    const long before = statusKb("VmRSS:");
    QElapsedTimer t;
    t.start();
    run();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    return {ms, statusKb("VmHWM:") - before, QFileInfo(file).size()};
}

// The texts of every cell, header first, one after another with their terminating zero.
struct Texts
{
    std::string buffer;
    std::vector<size_t> start;
    int columns = 0;
};

Texts cellTexts(const SmpDataset& ds)
{
    Texts t;
    std::vector<const SmpField*> fields;
    for (const SmpField* f : ds.fields())
        if (f->visible) fields.push_back(f);
    t.columns = int(fields.size());
    const auto add = [&t](const QString& s) {
        t.start.push_back(t.buffer.size());
        t.buffer += s.toStdString();
        t.buffer += '\0';
    };
    for (const SmpField* f : fields) add(f->displayLabel.isEmpty() ? f->fieldName() : f->displayLabel);
    for (int r = 0; r < ds.recordCount(); ++r)
        for (const SmpField* f : fields) {
            const QString s = GridExport::cellText(ds.valueAt(r, f), f->type());
            add(s.isEmpty() ? QStringLiteral(" ") : s);
        }
    return t;
}

bool bareLoop(const Texts& t, const QString& file)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* wb = workbook_new_opt(QFile::encodeName(file).constData(), &options);
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    const size_t cells = t.start.size();
    for (size_t i = 0; i < cells; ++i)
        worksheet_write_string(ws, lxw_row_t(i / size_t(t.columns)), lxw_col_t(i % size_t(t.columns)),
                               t.buffer.data() + t.start[i], nullptr);
    return workbook_close(wb) == LXW_NO_ERROR;
}

void makeTable(SQLConnection& c)
{
    c.executeImmediate(QStringLiteral(
        "create table B_ROWS (ID integer not null primary key, I1 integer, I2 integer, I3 integer, I4 integer, "
        "S1 smallint, S2 smallint, D1 double precision, D2 double precision, D3 double precision, "
        "D4 double precision, D5 double precision, T1 varchar(30), T2 varchar(30), T3 varchar(30), "
        "T4 varchar(30), T5 varchar(30), T6 varchar(30), DT1 timestamp, DT2 date)"));
    c.executeImmediate(QStringLiteral(
        "execute block as declare i integer = 0; begin while (i < 100000) do begin "
        "insert into B_ROWS values (:i, :i * 2, :i * 3, mod(:i, 1000), mod(:i, 7), mod(:i, 100), 1, "
        ":i * 1.5, :i / 3.0, 2.25, mod(:i, 13) * 0.1, 100, 'Материал ' || :i, 'Доставчик ' || mod(:i, 500), "
        "'бр.', 'Склад ' || mod(:i, 9), case when mod(:i, 4) = 0 then '' else 'бележка' end, 'ред ' || :i, "
        "current_timestamp - mod(:i, 365), '2026-01-01'); "
        "i = i + 1; end end"));
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    NoOpener opener;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &opener, "open");
    QTemporaryDir dir;
    ConnectionParams p;
    p.database = dir.filePath(QStringLiteral("bench.fdb"));
    SQLConnection c(p);
    Schema::openAndUpgrade(c);
    makeTable(c);

    SmpDataset ds(QStringLiteral("SmpBench"), &c);
    ds.setCommandText(QStringLiteral("select * from B_ROWS order by ID"));
    ds.open();
    if (ds.recordCount() != kRows || ds.fields().size() != 20) {
        QTextStream(stderr) << "the dataset has " << ds.recordCount() << " rows of " << ds.fields().size() << " fields\n";
        return 1;
    }
    for (SmpField* f : ds.fields()) f->displayFormat = f->isNumeric() ? QStringLiteral("# ##0.00") : QString();

    QElapsedTimer conv;
    conv.start();
    const Texts texts = cellTexts(ds);
    const double textsMs = double(conv.nsecsElapsed()) / 1e6;
    const QString bareFile = dir.filePath(QStringLiteral("bare.xlsx"));
    SpreadsheetExport how;
    how.folder = dir.filePath(QStringLiteral("export"));
    QDir().mkpath(how.folder);

    // A first, unmeasured export of a tenth of the rows: what is made once per run (the progress
    // dialog, fonts) is not counted against the rows.
    ds.setFilter(QStringLiteral("ID<10000"));
    ds.setFiltered(true);
    ExportDatasetToSpreadsheet(ds, how);
    ds.setFiltered(false);

    QList<double> bareMs, exportMs;
    long barePeak = 0, exportPeak = 0;
    qint64 bareBytes = 0, exportBytes = 0;
    for (int round = 0; round < kRounds; ++round) {
        const Side bare = measure(bareFile, [&] {
            if (!bareLoop(texts, bareFile)) {
                QTextStream(stderr) << "the bare loop failed\n";
                std::exit(1);
            }
        });
        QString written;
        QDir(how.folder).removeRecursively();
        const Side exp = measure(QString(), [&] {
            const SpreadsheetExportResult r = ExportDatasetToSpreadsheet(ds, how);
            if (r.status != SpreadsheetExportResult::Status::Written) {
                QTextStream(stderr) << "the export failed (status " << int(r.status) << ")\n";
                std::exit(1);
            }
            written = r.path;
        });
        bareMs << bare.ms;
        exportMs << exp.ms;
        barePeak = std::max(barePeak, bare.peakKb);
        exportPeak = std::max(exportPeak, exp.peakKb);
        bareBytes = bare.bytes;
        exportBytes = QFileInfo(written).size();
    }

    // The same export over a tenth of the rows: the peak must not follow the row count.
    ds.setFiltered(true);
    QDir(how.folder).removeRecursively();
    const Side tenth = measure(QString(), [&] { ExportDatasetToSpreadsheet(ds, how); });

    QTextStream out(stdout);
    out << "export of " << kRows << " rows x " << texts.columns << " visible columns, constant memory, median of "
        << kRounds << " runs\n";
    out << QStringLiteral("%1 %2 %3 %4\n")
               .arg(QStringLiteral("side"), -34)
               .arg(QStringLiteral("time (ms)"), 10)
               .arg(QStringLiteral("peak growth (KiB)"), 18)
               .arg(QStringLiteral("file (KiB)"), 11);
    const auto row = [&out](const QString& name, double ms, long kb, qint64 bytes) {
        out << QStringLiteral("%1 %2 %3 %4\n").arg(name, -34).arg(ms, 10, 'f', 1).arg(kb, 18).arg(bytes / 1024, 11);
    };
    row(QStringLiteral("bare libxlsxwriter loop"), median(bareMs), barePeak, bareBytes);
    row(QStringLiteral("ExportDatasetToSpreadsheet"), median(exportMs), exportPeak, exportBytes);
    row(QStringLiteral("ExportDatasetToSpreadsheet, 10,000"), tenth.ms, tenth.peakKb, 0);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("cell texts alone (for the bare loop)"), -34).arg(textsMs, 10, 'f', 1);
    out << "ratio: " << QString::number(median(exportMs) / median(bareMs), 'f', 3) << "\n";
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    return 0;
}
#include "export_bench.moc"
