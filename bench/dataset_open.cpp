// Opening 100,000 rows x 20 columns through the cached dataset against a plain fetch loop of the
// same query through the connection, side by side in one run; then what one edit costs the sum
// over all rows, how fast a grid over all of them shows and jumps to the last row, and the costs
// that windows meet: locate-then-edit-or-append, sorting by a lookup field, a detail linked in
// memory following its master, and re-reading a list with a blob column.
#include "platform/dataset/smpdataset.h"
#include "platform/db/connection.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dtsource.h"
#include "schema/schema.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <sys/resource.h>

namespace {

constexpr int kRows = 100000;

long residentKb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.value(1).toLong() * 4;  // pages of 4 KiB
}

struct GridTimes
{
    double showMs, lastMs;
};

// A grid over the dataset: shown and painted, then moved to the last row and painted again.
GridTimes gridTimes(SmpDataset& ds)
{
    DataSource src(&ds);
    DBGrid grid;
    grid.resize(760, 480);
    QElapsedTimer t;
    t.start();
    grid.setDataSource(&src);
    grid.show();
    QCoreApplication::processEvents();
    grid.viewport()->repaint();
    const double show = double(t.nsecsElapsed()) / 1e6;
    t.restart();
    ds.last();
    QCoreApplication::processEvents();
    grid.viewport()->repaint();
    return {show, double(t.nsecsElapsed()) / 1e6};
}

// Pages the process touched for the first time: an open that allocates fresh memory pays for
// each in the kernel, which decides its time more than the instructions it runs.
long minorFaults()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_minflt;
}

double msSince(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

// A scratch list filled key by key: each key is located and edited, or appended when missing.
double locateEditOrAppendMs(SQLConnection& c, int keys)
{
    SmpDataset ds(QStringLiteral("SmpKeys"), &c);
    ds.setTableName(QStringLiteral("B_KEYS"));
    ds.setScratch(true);
    ds.open();
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 2 * keys; ++i) {
        const int key = (i * 7919) % keys;
        if (ds.locate(QStringLiteral("ID"), {key})) {
            ds.edit();
            ds.setValue(QStringLiteral("QTY"), ds.value(QStringLiteral("QTY")).toDouble() + 1);
        } else {
            ds.append();
            ds.setValue(QStringLiteral("ID"), key);
            ds.setValue(QStringLiteral("QTY"), 1.0);
        }
        ds.post();
    }
    const double ms = msSince(t);
    return ds.recordCount() == keys ? ms : -1;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void makeTable(SQLConnection& c)
{
    c.executeImmediate(QStringLiteral(
        "create table B_ROWS (ID integer not null primary key, I1 integer, I2 integer, I3 integer, I4 integer, "
        "S1 smallint, S2 smallint, D1 double precision, D2 double precision, D3 double precision, "
        "D4 double precision, D5 double precision, T1 varchar(30), T2 varchar(30), T3 varchar(30), "
        "T4 varchar(30), T5 varchar(30), T6 varchar(30), DT1 timestamp, DT2 timestamp)"));
    c.executeImmediate(QStringLiteral(
        "execute block as declare i integer = 0; begin while (i < 100000) do begin "
        "insert into B_ROWS values (:i, :i * 2, :i * 3, mod(:i, 1000), mod(:i, 7), mod(:i, 100), 1, "
        ":i * 1.5, :i / 3.0, 2.25, mod(:i, 13) * 0.1, 100, 'Материал ' || :i, 'Доставчик ' || mod(:i, 500), "
        "'бр.', 'Склад ' || mod(:i, 9), 'бележка', 'ред ' || :i, current_timestamp - mod(:i, 365), current_timestamp); "
        "i = i + 1; end end"));
    c.executeImmediate(QStringLiteral("create table B_KEYS (ID integer not null primary key, QTY double precision)"));
    c.executeImmediate(QStringLiteral("create table B_NOTES (ID integer not null primary key, NOTE blob sub_type text)"));
    c.executeImmediate(QStringLiteral(
        "execute block as declare i integer = 0; begin while (i < 20000) do begin "
        "insert into B_NOTES values (:i, 'бележка към ред ' || :i); i = i + 1; end end"));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    ConnectionParams p;
    p.database = dir.filePath(QStringLiteral("bench.fdb"));
    SQLConnection c(p);
    Schema::openAndUpgrade(c);
    makeTable(c);
    const QString sql = QStringLiteral("select * from B_ROWS");

    QList<double> raw, cached, faults;
    double kbPerRow = 0;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        qint64 cells = 0;
        c.forEachRow(sql, {}, [&cells](const DbRow& r) { cells += r.size(); });
        raw << double(t.nsecsElapsed()) / 1e6;
        if (cells != qint64(kRows) * 20) return 1;

        const long before = residentKb();
        const long faultsBefore = minorFaults();
        t.restart();
        SmpDataset ds(QStringLiteral("SmpBench"), &c);
        ds.setCommandText(sql);
        ds.open();
        cached << double(t.nsecsElapsed()) / 1e6;
        faults << double(minorFaults() - faultsBefore);
        if (ds.recordCount() != kRows) return 1;
        if (round == 0) kbPerRow = double(residentKb() - before) / kRows;  // later rounds reuse freed memory
    }

    // One edit against a sum over every row.
    SmpDataset ds(QStringLiteral("SmpBench"), &c);
    ds.setCommandText(sql);
    ds.addDataField(QStringLiteral("ID"), SmpField::Type::Integer);
    ds.addDataField(QStringLiteral("D1"), SmpField::Type::Float);
    SmpField* total = ds.addAggregateField(QStringLiteral("Total"), QStringLiteral("SUM(D1)"));
    ds.open();
    QElapsedTimer t;
    t.start();
    const double sum = total->asFloat();
    const double firstSumMs = double(t.nsecsElapsed()) / 1e6;
    ds.moveTo(kRows / 2);
    t.restart();
    const double old = ds.fieldByName(QStringLiteral("D1"))->asFloat();
    ds.edit();
    ds.setValue(QStringLiteral("D1"), old + 1000);
    ds.post();
    const double after = total->asFloat();
    const double editMs = double(t.nsecsElapsed()) / 1e6;
    if (qAbs(after - sum - 1000) > 1e-6 * qAbs(sum)) return 1;

    ds.first();
    const GridTimes all = gridTimes(ds);
    SmpDataset few(QStringLiteral("SmpFew"), &c);
    few.setCommandText(QStringLiteral("select first 100 * from B_ROWS"));
    few.open();
    const GridTimes hundred = gridTimes(few);

    // Locate-then-edit-or-append: the cost per key should not grow with the list.
    const double keys1k = locateEditOrAppendMs(c, 1000);
    const double keys2k = locateEditOrAppendMs(c, 2000);
    const double keys4k = locateEditOrAppendMs(c, 4000);

    // Sorting every row by a lookup field (1,000 names).
    SmpDataset names(QStringLiteral("SmpNames"), &c);
    names.setCommandText(QStringLiteral("select ID as K, T1 as NAME from B_ROWS where ID < 1000"));
    names.open();
    SmpDataset byName(QStringLiteral("SmpByName"), &c);
    byName.setCommandText(sql);
    for (const char* f : {"ID", "I3", "D1"}) byName.addDataField(QString::fromLatin1(f), f[0] == 'D' ? SmpField::Type::Float : SmpField::Type::Integer);
    byName.addLookupField(QStringLiteral("NAME"), &names, QStringLiteral("I3"), QStringLiteral("K"), QStringLiteral("NAME"));
    byName.open();
    t.restart();
    byName.setIndexFieldNames(QStringLiteral("NAME"));
    const double sortLookupMs = msSince(t);

    // A detail whose link the statement does not take: the master's moves re-select from the cache.
    SmpDataset kinds(QStringLiteral("SmpKinds"), &c);
    kinds.setCommandText(QStringLiteral("select distinct I4 as K from B_ROWS"));
    kinds.open();
    SmpDataset detail(QStringLiteral("SmpDetail"), &c);
    detail.setCommandText(sql);
    detail.setMaster(&kinds, QStringLiteral("K"), QStringLiteral("I4"));
    detail.open();
    t.restart();
    for (int i = 0; i < 10; ++i) {
        if (kinds.eof() || kinds.recNo() == kinds.recordCount() - 1) kinds.first();
        else kinds.next();
    }
    const double detailMovesMs = msSince(t);

    // Re-reading a list of 20,000 rows with a text blob column (what save-at-once does after each post).
    SmpDataset notes(QStringLiteral("SmpNotes"), &c);
    notes.setTableName(QStringLiteral("B_NOTES"));
    notes.open();
    t.restart();
    notes.refresh();
    const double blobRefreshMs = msSince(t);

    QTextStream out(stdout);
    out << "rows: " << kRows << " x 20 columns, embedded database, median of 5 runs\n";
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("plain fetch loop (ms)"), -34).arg(median(raw), 9, 'f', 1);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("dataset open (ms)"), -34).arg(median(cached), 9, 'f', 1);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("first dataset open (ms)"), -34).arg(cached.first(), 9, 'f', 1);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("page faults per open, first"), -34).arg(faults.first(), 9, 'f', 0);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("page faults per open, median"), -34).arg(median(faults), 9, 'f', 0);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("dataset memory per row (KiB)"), -34).arg(kbPerRow, 9, 'f', 2);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("first sum over all rows (ms)"), -34).arg(firstSumMs, 9, 'f', 2);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("edit + post + sum read (ms)"), -34).arg(editMs, 9, 'f', 3);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("grid shown, 100 rows (ms)"), -34).arg(hundred.showMs, 9, 'f', 2);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("grid shown, 100,000 rows (ms)"), -34).arg(all.showMs, 9, 'f', 2);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("jump to last, 100 rows (ms)"), -34).arg(hundred.lastMs, 9, 'f', 2);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("jump to last, 100,000 rows (ms)"), -34).arg(all.lastMs, 9, 'f', 2);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("locate-edit-or-append 1k keys (ms)"), -34).arg(keys1k, 9, 'f', 1);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("locate-edit-or-append 2k keys (ms)"), -34).arg(keys2k, 9, 'f', 1);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("locate-edit-or-append 4k keys (ms)"), -34).arg(keys4k, 9, 'f', 1);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("sort 100,000 rows by lookup (ms)"), -34).arg(sortLookupMs, 9, 'f', 1);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("10 master moves, memory link (ms)"), -34).arg(detailMovesMs, 9, 'f', 1);
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("re-read 20,000 rows with blob (ms)"), -34).arg(blobRefreshMs, 9, 'f', 1);
    out << "ratio: " << QString::number(median(cached) / median(raw), 'f', 3) << "\n";
    return 0;
}
