// Client balances of a busy firm: 20,000 counterparties, 300,000 sold lines (100,000 sales of three
// lines) with a payment taken with two sales in three and 20,000 payments entered later. The client
// list for every client and every date, read through RAZPL_KLIENTI_SPRAVKA into the window's dataset
// with its totals, against one grouped query of the engine that makes the clients' balances from the
// same rows, side by side in one run; then one client's list and the company's three balances.
#include "bench/salesbenchdata.h"
#include "data/dmrazpl.h"
#include "platform/db/connection.h"
#include "platform/dataset/smpdataset.h"
#include "payments/paymentsdata.h"
#include "schema/schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cmath>

namespace {

using namespace SalesBenchData;
constexpr int kRuns = 3;

double msSince(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The clients' balances made by the engine in one grouped query over the same sold lines and
// payments, with the same amounts as the client rows: due with VAT after both discounts, paid as
// entered, per currency; summed per client first, then each client's type and name beside.
const char* const kGrouped =
    "select b.NKONTRAGENT, t.KONTRAGENT, k.IMEKONTRAGENT, b.DUE_LV, b.PAID_LV, b.DUE_LV - b.PAID_LV,"
    " b.DUE_USD, b.PAID_USD, b.DUE_USD - b.PAID_USD, b.DUE_EUR, b.PAID_EUR, b.DUE_EUR - b.PAID_EUR"
    " from (select r.NKONTRAGENT, sum(r.DUE_LV) as DUE_LV, sum(r.PAID_LV) as PAID_LV, sum(r.DUE_USD) as DUE_USD,"
    "   sum(r.PAID_USD) as PAID_USD, sum(r.DUE_EUR) as DUE_EUR, sum(r.PAID_EUR) as PAID_EUR"
    "  from (select p.NKONTRAGENT,"
    "    coalesce(p.BROI_MATERIAL_IZDELIE, 0) * case when p.TIP_DOCUMENT between 0 and 10 then coalesce(p.CENA_MATERIAL_IZDELIE, 0) else 0 end"
    "    * (1 + case when p.TIP_DOCUMENT = 9 then 0 else coalesce(p.PROCENT_DDS, 0) end / 100)"
    "    * (1 - coalesce(p.OTST_IZDELIE, 0) / 100) * (1 - coalesce(p.PROCENT_OTST, 0) / 100) as DUE_LV,"
    "    coalesce(p.BROI_MATERIAL_IZDELIE, 0) * case when p.TIP_DOCUMENT in (2, 3, 4, 6, 7, 8, 9) then coalesce(p.CENA_MAT_IZD_USD, 0) else 0 end"
    "    * (1 + case when p.TIP_DOCUMENT = 9 then 0 else coalesce(p.PROCENT_DDS, 0) end / 100)"
    "    * (1 - coalesce(p.OTST_IZDELIE, 0) / 100) * (1 - coalesce(p.PROCENT_OTST, 0) / 100) as DUE_USD,"
    "    coalesce(p.BROI_MATERIAL_IZDELIE, 0) * case when p.TIP_DOCUMENT in (2, 3, 4, 6, 7, 8, 9) then coalesce(p.CENA_MAT_IZD_EUR, 0) else 0 end"
    "    * (1 + case when p.TIP_DOCUMENT = 9 then 0 else coalesce(p.PROCENT_DDS, 0) end / 100)"
    "    * (1 - coalesce(p.OTST_IZDELIE, 0) / 100) * (1 - coalesce(p.PROCENT_OTST, 0) / 100) as DUE_EUR,"
    "    cast(0 as double precision) as PAID_LV, cast(0 as double precision) as PAID_USD,"
    "    cast(0 as double precision) as PAID_EUR"
    "    from PRODAGBI p"
    "   union all"
    "   select pl.NKONTRAGENT, 0, 0, 0, coalesce(pl.PLASTANE_SUMA, 0), coalesce(pl.PLASTANE_SUMA_USD, 0),"
    "    coalesce(pl.PLASTANE_SUMA_EUR, 0)"
    "    from PRODAGBI_PLASTANE pl) r"
    "  group by r.NKONTRAGENT) b"
    " left join KONTRAGENTI k on k.NKONTRAGENT = b.NKONTRAGENT"
    " left join TIP_KONTRAGENT t on t.NTIP_KONTRAGENT = k.NTIP_KONTRAGENT";

struct Totals
{
    double due[3] = {0, 0, 0};
    double paid[3] = {0, 0, 0};
};

struct Opened
{
    double ms = 0;
    int rows = 0;
    Totals totals;
};

// The list as the window opens it: bounds set, opened, its totals read for the footer.
Opened openList(TDMRazpl& dm, const Payments::Range& clients)
{
    SmpDataset& ds = dm.SmpSprRazpl_Klienti;
    QElapsedTimer t;
    t.start();
    ds.close();
    const QVariantMap params = Payments::clientParams(Payments::Range::all(), clients, Payments::Range::all());
    for (auto it = params.begin(); it != params.end(); ++it) ds.setParam(it.key(), it.value());
    ds.open();
    ds.last();
    Opened o;
    const char* const currencies[] = {"LV", "USD", "EUR"};
    for (int c = 0; c < 3; ++c) {
        o.totals.due[c] = ds.fieldByName(QStringLiteral("PoluchenoSum") + QLatin1String(currencies[c]))->asFloat();
        o.totals.paid[c] = ds.fieldByName(QStringLiteral("PlatenoSum") + QLatin1String(currencies[c]))->asFloat();
    }
    o.ms = msSince(t);
    o.rows = ds.recordCount();
    return o;
}

bool agree(double a, double b) { return std::fabs(a - b) <= 1e-6 * std::max(1.0, std::fabs(a)); }

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    ConnectionParams p;
    p.database = dir.filePath(QStringLiteral("payments.fdb"));
    SQLConnection c(p);
    Schema::openAndUpgrade(c);
    const double fillMs = SalesBenchData::fill(c);
    TDMRazpl dm(c);

    const SqlParams rawParams =
        Payments::clientParams(Payments::Range::all(), Payments::Range::all(), Payments::Range::all());

    QList<double> list, listRaw, grouped;
    Opened opened;
    int groupedRows = 0;
    Totals groupedTotals;
    for (int run = 0; run < kRuns; ++run) {
        opened = openList(dm, Payments::Range::all());
        list << opened.ms;
        QElapsedTimer t;
        t.start();
        int rows = 0;
        Totals sums;
        c.forEachRow(QString::fromUtf8(kGrouped), {}, [&rows, &sums](const DbRow& r) {
            ++rows;
            for (int k = 0; k < 3; ++k) {
                sums.due[k] += r.value(3 + 3 * k).toDouble();
                sums.paid[k] += r.value(4 + 3 * k).toDouble();
            }
        });
        grouped << msSince(t);
        groupedRows = rows;
        groupedTotals = sums;
        // The procedure alone, fetched by a plain loop: what the dataset adds is the rest.
        t.restart();
        c.forEachRow(dm.SmpSprRazpl_Klienti.commandText(), rawParams, [](const DbRow&) {});
        listRaw << msSince(t);
    }
    for (int k = 0; k < 3; ++k) {
        if (!agree(opened.totals.due[k], groupedTotals.due[k]) || !agree(opened.totals.paid[k], groupedTotals.paid[k])) {
            QTextStream(stderr) << "totals differ in currency " << k << ": list " << opened.totals.due[k] << " / "
                                << opened.totals.paid[k] << ", grouped " << groupedTotals.due[k] << " / "
                                << groupedTotals.paid[k] << "\n";
            return 1;
        }
    }

    QList<double> one;
    int oneRows = 0;
    for (int run = 0; run < kRuns; ++run) {
        const Opened o = openList(dm, Payments::Range::only(4321));
        one << o.ms;
        oneRows = o.rows;
    }
    QElapsedTimer t;
    t.start();
    dm.SmpSprRazplObsto.close();
    dm.SmpSprRazplObsto.open();
    const double companyMs = msSince(t);

    QTextStream out(stdout);
    const auto row = [&out](const QString& what, double v, int decimals = 1) {
        out << QStringLiteral("%1 %2\n").arg(what, -52).arg(v, 12, 'f', decimals);
    };
    out << "clients " << kClients << ", sold lines " << kLines << ", payments with a sale "
        << (kLines / kLinesPerSale) * 2 / 3 << " and later " << kLaterPayments << ", embedded database, median of "
        << kRuns << " runs\n";
    row(QStringLiteral("fill, one transaction (ms)"), fillMs, 0);
    row(QStringLiteral("RAZPL_KLIENTI_SPRAVKA into SmpSprRazpl_Klienti (ms)"), median(list));
    row(QStringLiteral("RAZPL_KLIENTI_SPRAVKA, plain fetch loop (ms)"), median(listRaw));
    row(QStringLiteral("grouped query of the balances, plain loop (ms)"), median(grouped));
    row(QStringLiteral("rows listed, every client"), opened.rows, 0);
    row(QStringLiteral("clients balanced by the grouped query"), groupedRows, 0);
    row(QStringLiteral("company balance BGN, both ways"), opened.totals.due[0] - opened.totals.paid[0], 2);
    row(QStringLiteral("one client's list into the dataset (ms)"), median(one));
    row(QStringLiteral("rows listed, one client"), oneRows, 0);
    row(QStringLiteral("company balances RAZPLASTANIA_SPRAVKA (ms)"), companyMs);
    out << "ratio: " << QString::number(median(list) / median(grouped), 'f', 3) << "\n";
    return 0;
}
