// Recording a sale of 100 lines through the recording function, in one transaction, against the
// same procedure calls committed one by one, side by side in one run over a database of 5,000
// materials and 100,000 delivery lines; with the absolute time of one 100-line sale and of opening
// the item selection's lists (the materials of a warehouse, and the stock of every delivery line).
#include "data/dmns.h"
#include "data/dmprodagba.h"
#include "platform/base/clock.h"
#include "platform/db/connection.h"
#include "platform/db/transaction.h"
#include "sales/salerecording.h"
#include "schema/schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

namespace {

constexpr int kMaterials = 5000;
constexpr int kLinesPerMaterial = 20;  // 100,000 delivery lines
constexpr int kSaleLines = 100;
constexpr int kRounds = 3;

double ms(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void fill(SQLConnection& c)
{
    TransactionScope tx(c);
    c.execute(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"));
    c.execute(QStringLiteral("insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (60, 1, 'Клиент')"));
    c.executeImmediate(QStringLiteral(
        "execute block as declare m integer = 1; declare i integer; begin "
        "while (m <= %1) do begin "
        "  insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA) values (:m, 'Материал ' || :m, 1, 1, 10); "
        "  i = 0; "
        "  while (i < %2) do begin "
        "    insert into SKLAD (NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA, DATEPOLUCHENO, KOLICHESTVO, ED_CENA_LV) "
        "    values (:m, 61, 'D' || :i, dateadd(:i day to timestamp '2026-01-01'), dateadd(:i day to timestamp '2026-01-01'), 100, 4); "
        "    i = i + 1; end "
        "  m = m + 1; end end")
                           .arg(kMaterials)
                           .arg(kLinesPerMaterial));
    tx.commit();
}

Sales::SaleHeader header(int invoice)
{
    Sales::SaleHeader h;
    h.documentType = 0;
    h.counterparty = 60;
    h.recipientName = QStringLiteral("Клиент");
    h.paymentType = 1;
    h.invoiceNumbering = 1;
    h.invoiceNumber = QStringLiteral("0%1").arg(invoice, 9, 10, QChar(u'0'));
    h.vatPct = 20;
    h.date = Clock::today();
    return h;
}

QVector<Sales::SaleLine> saleLines(int firstMaterial)
{
    QVector<Sales::SaleLine> lines;
    for (int i = 0; i < kSaleLines; ++i) {
        Sales::SaleLine l;
        l.material = firstMaterial + i;
        l.quantity = 1;
        l.priceLv = 10;
        lines.append(l);
    }
    return lines;
}

// The calls of a recording, each committed on its own: the payment, then per line the sale row
// and its write-off.
void recordOneByOne(SQLConnection& c, const QString& number, const QVector<Sales::SaleLine>& lines)
{
    const QDateTime date(Clock::today(), QTime(0, 0));
    c.executeProcedure(QStringLiteral("ADDPRODAGBI_PLASTANE"),
                       {{QStringLiteral("NUMPRODAGBA"), number}, {QStringLiteral("NKONTRAGENT"), 60},
                        {QStringLiteral("PLASTANE_DATE"), date}, {QStringLiteral("PLASTANE_SUMA"), 1200.0}});
    for (const Sales::SaleLine& l : lines) {
        const int key = c.executeProcedure(QStringLiteral("ADDPRODAGBI"),
                                           {{QStringLiteral("NUMPRODAGBA"), number},
                                            {QStringLiteral("NKONTRAGENT"), 60},
                                            {QStringLiteral("NVIDPLASTANE"), 1},
                                            {QStringLiteral("TIP_DOCUMENT"), 0},
                                            {QStringLiteral("DATEFAKTURA"), date},
                                            {QStringLiteral("PROCENT_DDS"), 20.0},
                                            {QStringLiteral("NMATERIAL"), l.material},
                                            {QStringLiteral("BROI_MATERIAL_IZDELIE"), l.quantity},
                                            {QStringLiteral("CENA_MATERIAL_IZDELIE"), l.priceLv}})
                            .value(QStringLiteral("AUTONUM"))
                            .toInt();
        c.selectProcedure(QStringLiteral("SKLAD_MAT_PROD_ZAPIS"),
                          {{QStringLiteral("INUMPRODAGBA"), number}, {QStringLiteral("INUMMATERIAL"), l.material},
                           {QStringLiteral("IBROI_MAT_PROD"), l.quantity}, {QStringLiteral("IDOK_AUTONUM"), key}});
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    ConnectionParams p;
    p.database = dir.filePath(QStringLiteral("bench.fdb"));
    {
        SQLConnection c(p);
        Schema::openAndUpgrade(c);
        QElapsedTimer t;
        t.start();
        fill(c);
        QTextStream(stdout) << "filled " << kMaterials << " materials, " << kMaterials * kLinesPerMaterial
                            << " delivery lines in " << qRound(ms(t)) << " ms\n";
    }
    TDMNS dm(p);
    dm.connect();
    SQLConnection& c = dm.SQLConnectNS;

    QList<double> whole, oneByOne;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer t;
        t.start();
        Sales::recordSale(c, header(100 + round), saleLines(1 + 2 * round * kSaleLines));
        whole << ms(t);
        t.restart();
        recordOneByOne(c, QStringLiteral("B%1").arg(round), saleLines(1 + (2 * round + 1) * kSaleLines));
        oneByOne << ms(t);
    }

    TDMProdagba sale(dm);
    QList<double> materials, stock;
    int materialRows = 0, stockRows = 0;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer t;
        t.start();
        sale.SmpProdSkladMat.close();
        sale.SmpProdSkladMat.open();
        materials << ms(t);
        materialRows = sale.SmpProdSkladMat.recordCount();
        SmpDataset& s = sale.SmpProdSkladNalich;
        t.restart();
        s.close();
        s.setParam(QStringLiteral("SKLADOT"), 1);
        s.setParam(QStringLiteral("SKLADDO"), 100);
        s.setParam(QStringLiteral("NMATERIALOT"), 1);
        s.setParam(QStringLiteral("NMATERIALDO"), 1000000);
        s.open();
        stock << ms(t);
        stockRows = s.recordCount();
    }

    const double a = median(whole), b = median(oneByOne);
    QTextStream out(stdout);
    out << "| measure | median of " << kRounds << " (ms) |\n|---|---|\n";
    out << "| 100-line sale, recordSale, one transaction | " << QString::number(a, 'f', 1) << " |\n";
    out << "| 100-line sale, same calls committed one by one | " << QString::number(b, 'f', 1) << " |\n";
    out << "| item selection: materials list (" << materialRows << " rows) | " << QString::number(median(materials), 'f', 1)
        << " |\n";
    out << "| item selection: stock of all delivery lines (" << stockRows << " rows) | "
        << QString::number(median(stock), 'f', 1) << " |\n";
    out << "ratio: " << QString::number(b / a, 'f', 2) << "\n";
    return 0;
}
