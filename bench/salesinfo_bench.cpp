// Client turnover and monthly sales of a busy year: the sales of the payments benchmark (20,000
// counterparties, 300,000 sold lines over 2025 and 2026). Each list read the way its window reads it,
// KLIENTI_OBOROT into ClnDtStKlientiOborot and REALIZACIA_PRODAGBI_PO_MESECI into SmpProdPoMes,
// against one grouped query of the engine over the same lines of the same year, side by side in one
// run; the totals of both ways are compared before any figure is printed.
#include "bench/salesbenchdata.h"
#include "data/dmnsspravki.h"
#include "platform/dataset/smpdataset.h"
#include "platform/db/connection.h"
#include "schema/schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kRuns = 3;
constexpr int kYear = 2025;
constexpr int kWarehouse = 1;
const char* const kRoman[] = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"};

double msSince(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The twelve monthly sums of one value of the sale lines, and the year's.
QString monthlySums(const QString& value)
{
    QStringList sums;
    for (int m = 1; m <= 12; ++m)
        sums << QStringLiteral("sum(iif(extract(month from v.DATEFAKTURA) = %1, v.%2, 0))").arg(m).arg(value);
    sums << QStringLiteral("sum(v.%1)").arg(value);
    return sums.join(QStringLiteral(", "));
}

const QString kYearLines = QStringLiteral("v.DATEFAKTURA >= '%1-01-01' and v.DATEFAKTURA < '%2-01-01'").arg(kYear).arg(kYear + 1);

// Per client of the year: quantity and the three values a month and for the year, the name beside.
// Column 2 + 13 * k + 12 is the year's sum of value k (0 quantity, 1 BGN).
QString groupedTurnover()
{
    return QStringLiteral("select v.NKONTRAGENT, k.IMEKONTRAGENT, %1, %2, %3, %4 from PRODAGBI_STOINOSTI v "
                          "join KONTRAGENTI k on k.NKONTRAGENT = v.NKONTRAGENT where %5 "
                          "group by v.NKONTRAGENT, k.IMEKONTRAGENT")
        .arg(monthlySums(QStringLiteral("BROI")), monthlySums(QStringLiteral("ST_LV")),
             monthlySums(QStringLiteral("ST_USD")), monthlySums(QStringLiteral("ST_EUR")), kYearLines);
}

// Per article of the warehouse: the BGN value a month and for the year (column 14).
QString groupedMonthly()
{
    return QStringLiteral("select m.NMATERIAL, m.IMEMATERIAL, %1 from PRODAGBI_STOINOSTI v "
                          "join MATERIALI m on m.NMATERIAL = v.NMATERIAL where m.NSKLAD = %2 and %3 "
                          "group by m.IMEMATERIAL, m.NMATERIAL")
        .arg(monthlySums(QStringLiteral("ST_LV")))
        .arg(kWarehouse)
        .arg(kYearLines);
}

struct Read
{
    double ms = 0;
    int rows = 0;
    double quantity = 0;
    double value = 0;
};

// As the turnover window's "Извличане на данни": close, the year, open, the filter as at start.
Read turnoverList(TDMNsSpravki& dm)
{
    SmpDataset& ds = dm.ClnDtStKlientiOborot;
    QElapsedTimer t;
    t.start();
    ds.close();
    ds.setParam(QStringLiteral("godina"), kYear);
    ds.open();
    Read r;
    r.ms = msSince(t);
    for (ds.first(); !ds.eof(); ds.next()) {
        ++r.rows;
        r.quantity += ds.value(QStringLiteral("OBSTO_KOL")).toDouble();
        r.value += ds.value(QStringLiteral("OBSTO_ST_LV")).toDouble();
    }
    return r;
}

// As the monthly sales window's ReloadMonthlySales.
Read monthlyList(TDMNsSpravki& dm)
{
    SmpDataset& ds = dm.SmpProdPoMes;
    QElapsedTimer t;
    t.start();
    ds.close();
    ds.setParam(QStringLiteral("NUMSKLAD"), kWarehouse);
    ds.setParam(QStringLiteral("GODINA"), kYear);
    ds.open();
    Read r;
    r.ms = msSince(t);
    for (ds.first(); !ds.eof(); ds.next()) {
        ++r.rows;
        r.value += ds.value(QStringLiteral("OBSTO_LV")).toDouble();
    }
    return r;
}

Read grouped(SQLConnection& c, const QString& sql, int quantityColumn, int valueColumn)
{
    QElapsedTimer t;
    t.start();
    Read r;
    c.forEachRow(sql, {}, [&](const DbRow& row) {
        ++r.rows;
        if (quantityColumn >= 0) r.quantity += row.value(quantityColumn).toDouble();
        r.value += row.value(valueColumn).toDouble();
    });
    r.ms = msSince(t);
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    ConnectionParams p;
    p.database = dir.filePath(QStringLiteral("salesinfo.fdb"));
    SQLConnection c(p);
    Schema::openAndUpgrade(c);
    const double fillMs = SalesBenchData::fill(c);
    TDMNsSpravki dm(c);

    const QString turnoverSql = groupedTurnover();
    const QString monthlySql = groupedMonthly();
    QList<double> turnover, turnoverGrouped, monthly, monthlyGrouped;
    Read t, tg, m, mg;
    for (int run = 0; run < kRuns; ++run) {
        t = turnoverList(dm);
        turnover << t.ms;
        tg = grouped(c, turnoverSql, 2 + 12, 2 + 13 + 12);
        turnoverGrouped << tg.ms;
        m = monthlyList(dm);
        monthly << m.ms;
        mg = grouped(c, monthlySql, -1, 2 + 12);
        monthlyGrouped << mg.ms;
    }
    // The list rounds each client's sums to whole units: up to half a unit a client apart.
    QTextStream err(stderr);
    if (t.rows != tg.rows || t.quantity != tg.quantity || std::fabs(t.value - tg.value) > 0.5 * t.rows) {
        err << "turnover differs: list " << t.rows << " clients, " << t.quantity << " pcs, " << t.value
            << "; grouped " << tg.rows << ", " << tg.quantity << ", " << tg.value << "\n";
        return 1;
    }
    if (m.rows != mg.rows || std::fabs(m.value - mg.value) > 1e-6 * std::max(1.0, mg.value)) {
        err << "monthly sales differ: list " << m.rows << " articles, " << m.value << "; grouped " << mg.rows
            << ", " << mg.value << "\n";
        return 1;
    }

    const double turnoverRatio = median(turnover) / median(turnoverGrouped);
    const double monthlyRatio = median(monthly) / median(monthlyGrouped);
    QTextStream out(stdout);
    const auto row = [&out](const QString& what, double v, int decimals = 1) {
        out << QStringLiteral("%1 %2\n").arg(what, -58).arg(v, 12, 'f', decimals);
    };
    out << "clients " << SalesBenchData::kClients << ", sold lines " << SalesBenchData::kLines << ", year " << kYear
        << ", embedded database, median of " << kRuns << " runs\n";
    row(QStringLiteral("fill, one transaction (ms)"), fillMs, 0);
    row(QStringLiteral("KLIENTI_OBOROT into ClnDtStKlientiOborot (ms)"), median(turnover));
    row(QStringLiteral("grouped query of the turnover, plain loop (ms)"), median(turnoverGrouped));
    row(QStringLiteral("clients with turnover, both ways"), t.rows, 0);
    row(QStringLiteral("REALIZACIA_PRODAGBI_PO_MESECI into SmpProdPoMes (ms)"), median(monthly));
    row(QStringLiteral("grouped query of the monthly sales, plain loop (ms)"), median(monthlyGrouped));
    row(QStringLiteral("articles of the warehouse, both ways"), m.rows, 0);
    out << "ratio turnover: " << QString::number(turnoverRatio, 'f', 3) << "\n";
    out << "ratio monthly: " << QString::number(monthlyRatio, 'f', 3) << "\n";
    out << "ratio: " << QString::number(std::max(turnoverRatio, monthlyRatio), 'f', 3) << "\n";
    return 0;
}
