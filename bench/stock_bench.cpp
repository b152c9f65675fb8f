// The stock window over a year of a busy firm: 5,000 materials, 100,000 delivery lines and
// 1,000,000 ledger rows. Opening the stock list for all warehouses through SKLADNALICH into the
// window's dataset, against the engine's own grouped join over the same tables fetched by a plain
// loop, side by side in one run; then one warehouse's list and a delivery of 50 lines. Last, the
// stock at a mid-year document date through SKLADNALICH_KYMDATA into its dataset, against the
// engine's own grouped join for that date.
#include "data/dmns.h"
#include "data/dmsklad.h"
#include "data/dmsklspravki.h"
#include "platform/db/connection.h"
#include "platform/db/transaction.h"
#include "platform/dataset/smpdataset.h"
#include "schema/schema.h"
#include "warehouse/deliveries.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

namespace {

constexpr int kMaterials = 5000;
constexpr int kWarehouses = 10;
constexpr int kSuppliers = 200;
constexpr int kLines = 100000;
constexpr int kLedger = 1000000;
constexpr int kRuns = 5;

double msSince(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Each table filled by one block on the server, all in one transaction.
double fill(SQLConnection& c)
{
    QElapsedTimer t;
    t.start();
    TransactionScope tx(c);
    c.executeImmediate(QStringLiteral(
        "execute block as declare i integer = 1; begin while (i <= %1) do begin "
        "insert into TIP_SKLAD (NSKLAD, SKLAD, SKL_OBEKT_DA_NE) values (:i, 'Склад ' || :i, 0); i = i + 1; end end")
                           .arg(kWarehouses));
    c.executeImmediate(QStringLiteral(
        "execute block as declare i integer = 1; begin while (i <= %1) do begin "
        "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (:i, 2, 'Доставчик ' || :i); "
        "i = i + 1; end end")
                           .arg(kSuppliers));
    c.executeImmediate(QStringLiteral(
        "execute block as declare i integer = 1; begin while (i <= %1) do begin "
        "insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA, PRODAGNA_CENA, PRODAGNA_CENA_EUR) "
        "values (:i, 'Материал ' || :i, 1 + mod(:i, %2), 1, 2, 3 + mod(:i, 7), 1.5); i = i + 1; end end")
                           .arg(kMaterials)
                           .arg(kWarehouses));
    // A year of deliveries: 20 lines a document, the material cycling, prices and dates spread.
    // (Dialect 1 divides integers into doubles: the document number is kept in an integer.)
    c.executeImmediate(QStringLiteral(
        "execute block as declare i integer = 1; declare d integer; begin while (i <= %1) do begin "
        "d = (i - mod(i, 20)) / 20; "
        "insert into SKLAD (AUTONUM, NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA, DATEPOLUCHENO, DATEGODNOST, "
        "NSKLRAZP, KOLICHESTVO, ED_CENA_LV, USD, EUR, PROCENT_OTST, PROCENT_DDS, KOMIS, NUMSHIFYR, KOLICH_SERII) "
        "values (:i, 1 + mod(:i * 7, %2), 1 + mod(:d, %3), 'F' || :d, "
        "cast('2026-01-01' as timestamp) + mod(:d, 365), cast('2026-01-02' as timestamp) + mod(:d, 365), "
        "iif(mod(:i, 5) = 0, cast('2027-01-01' as timestamp) + mod(:i, 300), null), :d, "
        "100 + mod(:i, 900), 1 + mod(:i, 50) * 0.1, 0, iif(mod(:i, 10) = 0, 2.5, 0), 0, 20, 0, 0, 0); "
        "i = i + 1; end end")
                           .arg(kLines)
                           .arg(kMaterials)
                           .arg(kSuppliers));
    // Ten outflows a line on average, of the four kinds, never more than the line holds.
    c.executeImmediate(QStringLiteral(
        "execute block as declare i integer = 1; begin while (i <= %1) do begin "
        "insert into SKLAD_DVIGENIE (AUTONUM, AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO, DATE_DVIGENIE, DOK_NOMER, DOK_AUTONUM) "
        "values (:i, 1 + mod(:i * 13, %2), 1 + mod(:i, 4), 1 + mod(:i, 5), "
        "cast('2026-02-01' as timestamp) + mod(:i, 300), 'D' || mod(:i, 100000), :i); i = i + 1; end end")
                           .arg(kLedger)
                           .arg(kLines));
    tx.commit();
    return msSince(t);
}

// What the stock list shows, for all warehouses, as one grouped join over the same tables.
const char* const kAggregate =
    "select s.AUTONUM, m.NSKLAD, t.SKLAD, s.NUMSHIFYR, s.NMATERIAL, m.IMEMATERIAL, mi.MIARKA_BG,"
    " coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0) as NALICHNOST, coalesce(s.KOLICHESTVO, 0) as KOLICHESTVO,"
    " s.KOLICH_SERII, coalesce(d.OUT_BRAK, 0), coalesce(d.OUT_ISK, 0), coalesce(d.OUT_PROD, 0), coalesce(d.OUT_SKLOB, 0),"
    " s.ED_CENA_LV, (coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0)) * coalesce(s.ED_CENA_LV, 0),"
    " s.USD, (coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0)) * coalesce(s.USD, 0),"
    " s.EUR, (coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0)) * coalesce(s.EUR, 0),"
    " m.PRODAGNA_CENA, m.PROD_CENA_LV_DREBNO, m.PRODAGNA_CENA_USD, m.PROD_CENA_USD_DREBNO, m.PRODAGNA_CENA_EUR,"
    " m.PROD_CENA_EUR_DREBNO, s.DATEPOLUCHENO, s.NFAKTURA, s.DATEFAKTURA, s.NKONTRAGENT, k.IMEKONTRAGENT, p.IMEFULL,"
    " (coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0)) * coalesce(m.PRODAGNA_CENA, 0),"
    " (coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0)) * coalesce(m.PRODAGNA_CENA_USD, 0),"
    " (coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0)) * coalesce(m.PRODAGNA_CENA_EUR, 0),"
    " s.PROCENT_OTST, s.PROCENT_DDS, s.KOMIS, m.SNIMKA, s.DATEGODNOST, t.SKL_OBEKT_DA_NE"
    " from SKLAD s"
    " join MATERIALI m on m.NMATERIAL = s.NMATERIAL"
    " left join TIP_SKLAD t on t.NSKLAD = m.NSKLAD"
    " left join MIARKA mi on mi.NMIARKA = m.NMIARKA"
    " left join KONTRAGENTI k on k.NKONTRAGENT = s.NKONTRAGENT"
    " left join VIEWPERSONAL p on p.SHIFYR = s.NUMSHIFYR"
    " left join (select AUTONUM_SKLAD, sum(KOLICHESTVO) as OUT_ALL,"
    "   sum(iif(VID_DVIGENIE = 4, KOLICHESTVO, 0)) as OUT_BRAK, sum(iif(VID_DVIGENIE = 2, KOLICHESTVO, 0)) as OUT_ISK,"
    "   sum(iif(VID_DVIGENIE = 1, KOLICHESTVO, 0)) as OUT_PROD, sum(iif(VID_DVIGENIE = 3, KOLICHESTVO, 0)) as OUT_SKLOB"
    "   from SKLAD_DVIGENIE where AUTONUM_SKLAD is not null group by AUTONUM_SKLAD) d on d.AUTONUM_SKLAD = s.AUTONUM"
    " where m.NSKLAD between 1 and 100 and m.NMATERIAL between 1 and 100000"
    " order by m.NSKLAD, m.IMEMATERIAL, s.DATEPOLUCHENO";

// The stock at a date per material as one grouped join: lines of documents up to the day, less
// what left them up to the day (each line's outflows through the ledger's line index, as the
// procedure reads them; with the date index open too, the engine walks it once per line).
const char* const kAtDateAggregate =
    "select m.NSKLAD, max(t.SKLAD), m.NMATERIAL, max(m.IMEMATERIAL), max(mi.MIARKA_BG),"
    " sum(s.KOLICHESTVO) - sum(coalesce(d.OUT_ALL, 0)), sum(s.KOLICHESTVO), sum(coalesce(d.OUT_BRAK, 0)),"
    " sum(coalesce(d.OUT_ISK, 0)), sum(coalesce(d.OUT_PROD, 0)), sum(coalesce(d.OUT_SKLOB, 0)),"
    " sum(iif(s.ED_CENA_LV > 0, s.KOLICHESTVO * s.ED_CENA_LV, 0)) / nullif(sum(iif(s.ED_CENA_LV > 0, s.KOLICHESTVO, 0)), 0),"
    " sum(iif(s.EUR > 0, s.KOLICHESTVO * s.EUR, 0)) / nullif(sum(iif(s.EUR > 0, s.KOLICHESTVO, 0)), 0),"
    " max(m.PRODAGNA_CENA), max(m.PRODAGNA_CENA_EUR)"
    " from SKLAD s"
    " join MATERIALI m on m.NMATERIAL = s.NMATERIAL"
    " left join TIP_SKLAD t on t.NSKLAD = m.NSKLAD"
    " left join MIARKA mi on mi.NMIARKA = m.NMIARKA"
    " left join (select AUTONUM_SKLAD, sum(KOLICHESTVO) as OUT_ALL,"
    "   sum(iif(VID_DVIGENIE = 4, KOLICHESTVO, 0)) as OUT_BRAK, sum(iif(VID_DVIGENIE = 2, KOLICHESTVO, 0)) as OUT_ISK,"
    "   sum(iif(VID_DVIGENIE = 1, KOLICHESTVO, 0)) as OUT_PROD, sum(iif(VID_DVIGENIE = 3, KOLICHESTVO, 0)) as OUT_SKLOB"
    "   from SKLAD_DVIGENIE where AUTONUM_SKLAD is not null and DATE_DVIGENIE + 0 < :UPTO group by AUTONUM_SKLAD) d"
    "   on d.AUTONUM_SKLAD = s.AUTONUM"
    " where m.NSKLAD between 0 and 32767 and m.NMATERIAL between 0 and 2147483647 and s.DATEFAKTURA < :UPTO"
    " group by m.NSKLAD, m.NMATERIAL"
    " order by 1, 4";

struct Opened
{
    double ms = 0;
    int rows = 0;
};

Opened openStock(TDMSklad& sklad, int from, int to)
{
    SmpDataset& ds = sklad.SmpSklNalich;
    QElapsedTimer t;
    t.start();
    ds.close();
    ds.setParam(QStringLiteral("SKLADOT"), from);
    ds.setParam(QStringLiteral("SKLADDO"), to);
    ds.setParam(QStringLiteral("NMATERIALOT"), 1);
    ds.setParam(QStringLiteral("NMATERIALDO"), 100000);
    ds.open();
    const double total = ds.fieldByName(QStringLiteral("SumObCenaLv"))->asFloat();  // the footer the window shows
    Q_UNUSED(total);
    return {msSince(t), ds.recordCount()};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    ConnectionParams p;
    p.database = dir.filePath(QStringLiteral("stock.fdb"));
    TDMNS dm(p);
    SQLConnection& c = dm.SQLConnectNS;
    Schema::openAndUpgrade(c);
    const double fillMs = fill(c);
    TDMSklad sklad(dm);

    QList<double> procedure, procedureRaw, aggregate;
    int procedureRows = 0, aggregateRows = 0;
    for (int run = 0; run < kRuns; ++run) {
        const Opened o = openStock(sklad, 1, 100);
        procedure << o.ms;
        procedureRows = o.rows;
        QElapsedTimer t;
        t.start();
        int rows = 0;
        c.forEachRow(QString::fromUtf8(kAggregate), {}, [&rows](const DbRow&) { ++rows; });
        aggregate << msSince(t);
        aggregateRows = rows;
        // The procedure alone, fetched by the same plain loop: what the dataset adds is the rest.
        t.restart();
        c.forEachRow(sklad.SmpSklNalich.commandText(),
                     {{QStringLiteral("SKLADOT"), 1}, {QStringLiteral("SKLADDO"), 100},
                      {QStringLiteral("NMATERIALOT"), 1}, {QStringLiteral("NMATERIALDO"), 100000}},
                     [](const DbRow&) {});
        procedureRaw << msSince(t);
    }
    if (procedureRows != kLines || aggregateRows != kLines) {
        QTextStream(stderr) << "rows: procedure " << procedureRows << ", aggregate " << aggregateRows << "\n";
        return 1;
    }
    QList<double> one;
    int oneRows = 0;
    for (int run = 0; run < kRuns; ++run) {
        const Opened o = openStock(sklad, 3, 3);
        one << o.ms;
        oneRows = o.rows;
    }

    // A delivery of 50 lines, written whole as the delivery window writes it.
    QVector<Deliveries::Line> lines;
    for (int i = 0; i < 50; ++i) {
        Deliveries::Line l;
        l.material = 1 + i * 97;
        l.quantity = 10 + i;
        l.priceLv = 1.25 + i;
        l.vatPct = 20;
        lines << l;
    }
    Deliveries::Header h;
    h.supplier = 7;
    h.document = QStringLiteral("B50");
    h.documentDate = QDate(2026, 12, 1);
    h.received = QDate(2026, 12, 1);
    h.receiptNumber = Deliveries::proposeReceiptNumber(c, 2026);
    QElapsedTimer t;
    t.start();
    const Deliveries::Saved saved = Deliveries::save(c, h, lines, {});
    const double deliveryMs = msSince(t);
    if (saved.lineKeys.size() != 50) return 1;

    QTextStream out(stdout);
    const auto row = [&out](const QString& what, double v, int decimals = 1) {
        out << QStringLiteral("%1 %2\n").arg(what, -46).arg(v, 10, 'f', decimals);
    };
    out << "materials " << kMaterials << ", delivery lines " << kLines << ", ledger rows " << kLedger
        << ", embedded database, median of " << kRuns << " runs\n";
    row(QStringLiteral("fill, one transaction (ms)"), fillMs, 0);
    row(QStringLiteral("SKLADNALICH into SmpSklNalich, all (ms)"), median(procedure));
    row(QStringLiteral("SKLADNALICH, plain fetch loop, all (ms)"), median(procedureRaw));
    row(QStringLiteral("grouped join, plain fetch loop, all (ms)"), median(aggregate));
    row(QStringLiteral("rows listed, all warehouses"), procedureRows, 0);
    row(QStringLiteral("SKLADNALICH into SmpSklNalich, one warehouse (ms)"), median(one));
    row(QStringLiteral("rows listed, one warehouse"), oneRows, 0);
    row(QStringLiteral("delivery of 50 lines, one transaction (ms)"), deliveryMs);
    out << "ratio (stock on hand): " << QString::number(median(procedure) / median(aggregate), 'f', 3) << "\n";

    // The stock at 30.06.2026, as the stock-at-date window opens it, against the grouped join.
    TDMSklSpravki spravki(dm, sklad.SmpKontrSklPunkt);
    SmpDataset& atDate = spravki.SmpSprMatKymData;
    const QDateTime day(QDate(2026, 6, 30), QTime(0, 0));
    QList<double> atDateList, atDateAggregate;
    int atDateRows = 0, atDateAggregateRows = 0;
    for (int run = 0; run < kRuns; ++run) {
        t.restart();
        atDate.close();
        atDate.setParam(QStringLiteral("SKLADOT"), 0);
        atDate.setParam(QStringLiteral("SKLADDO"), 32767);
        atDate.setParam(QStringLiteral("NMATERIALOT"), 0);
        atDate.setParam(QStringLiteral("NMATERIALDO"), 2147483647);
        atDate.setParam(QStringLiteral("DATEFAKTURA_KYM"), day);
        atDate.open();
        Q_UNUSED(atDate.fieldByName(QStringLiteral("SumLVSrCena"))->asFloat());
        atDateList << msSince(t);
        atDateRows = atDate.recordCount();
        t.restart();
        int rows = 0;
        c.forEachRow(QString::fromUtf8(kAtDateAggregate), {{QStringLiteral("UPTO"), day.addDays(1)}},
                     [&rows](const DbRow&) { ++rows; });
        atDateAggregate << msSince(t);
        atDateAggregateRows = rows;
    }
    if (atDateRows != atDateAggregateRows) {
        QTextStream(stderr) << "rows at date: procedure " << atDateRows << ", aggregate " << atDateAggregateRows << "\n";
        return 1;
    }
    row(QStringLiteral("SKLADNALICH_KYMDATA into its dataset (ms)"), median(atDateList));
    row(QStringLiteral("grouped join at the date, plain loop (ms)"), median(atDateAggregate));
    row(QStringLiteral("materials listed at 30.06.2026"), atDateRows, 0);
    out << "ratio: " << QString::number(median(atDateList) / median(atDateAggregate), 'f', 3) << "\n";
    return 0;
}
