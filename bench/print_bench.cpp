// A recorded tax invoice of 1,000 lines: reading the sale, laying it out on pages and writing the
// PDF, timed together and apart. The last line is the whole time.
#include "data/dmns.h"
#include "platform/base/clock.h"
#include "platform/db/connection.h"
#include "platform/db/transaction.h"
#include "platform/report/reportpainter.h"
#include "sales/invoiceprint.h"
#include "sales/qrfaktura.h"
#include "sales/salerecording.h"
#include "schema/schema.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

namespace {

constexpr int kLines = 1000;
constexpr int kRounds = 3;

double ms(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

QString recordSale(SQLConnection& c)
{
    c.execute(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"));
    c.execute(QStringLiteral("insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, POSTKOD, ADRES) "
                             "values (60, 1, 'Клиент ООД', 4000, 'ул. Гладстон 5')"));
    c.execute(QStringLiteral("update FIRMA set IMEFIRMA = 'Търговия ЕООД', NFAKT_TXT_INT = 1, NFAKT_SIMVOL = 'F'"));
    {
        TransactionScope tx(c);
        for (int m = 1; m <= 50; ++m) {
            c.execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (:M, :I, 1, 1)"),
                      {{QStringLiteral("M"), m}, {QStringLiteral("I"), QStringLiteral("Материал за продажба № %1").arg(m)}});
            c.executeProcedure(QStringLiteral("ADDDOSTAVKA"),
                               {{QStringLiteral("NMATERIAL"), m}, {QStringLiteral("KOLICHESTVO"), 100000.0},
                                {QStringLiteral("ED_CENA_LV"), 4.0}, {QStringLiteral("DATEPOLUCHENO"), QDate(2026, 11, 1)},
                                {QStringLiteral("NKONTRAGENT"), 61}, {QStringLiteral("NFAKTURA"), QStringLiteral("D1")},
                                {QStringLiteral("DATEFAKTURA"), QDate(2026, 11, 1)}});
        }
        tx.commit();
    }
    Sales::SaleHeader h;
    h.counterparty = 60;
    h.recipientName = QStringLiteral("Клиент ООД");
    h.paymentType = 1;
    h.invoiceNumbering = 1;
    h.invoiceNumber = QStringLiteral("F000000001");
    h.vatPct = 20;
    h.date = QDate(2026, 12, 10);
    h.companyMol = h.compiledBy = h.office = h.vatBasis = 1;
    QVector<Sales::SaleLine> lines;
    for (int i = 0; i < kLines; ++i) {
        Sales::SaleLine l;
        l.material = 1 + i % 50;
        l.quantity = 1 + i % 7;
        l.priceLv = 2.5 + i % 13;
        lines << l;
    }
    return Sales::recordSale(c, h, lines).saleNumber;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    QTemporaryDir dir;
    ConnectionParams p;
    p.database = dir.filePath(QStringLiteral("bench.fdb"));
    {
        SQLConnection c(p);
        Schema::openAndUpgrade(c);
    }
    TDMNS dm(p);
    dm.connect();
    const QString sale = recordSale(dm.SQLConnectNS);
    dm.SmpFirma.close();
    dm.SmpFirma.open();

    InvoicePrint::RecordedSale recorded(dm.SQLConnectNS);
    TQRFaktElementi layout(dm, recorded.SmpRealizaciaProdagba);
    QList<double> load, paginate, pdf, whole;
    int pages = 0;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer all, t;
        all.start();
        t.start();
        layout.fill(*recorded.load(sale));
        load << ms(t);
        t.restart();
        const Report::Document doc = layout.build();
        paginate << ms(t);
        t.restart();
        if (!Report::writePdf(doc, dir.filePath(QStringLiteral("invoice.pdf")))) return 1;
        pdf << ms(t);
        whole << ms(all);
        pages = int(doc.pages.size());
    }
    QTextStream out(stdout);
    out << "invoice of " << kLines << " lines, " << pages << " pages (median of " << kRounds << " rounds)\n";
    out << "read the recorded sale: " << qRound(median(load)) << " ms\n";
    out << "paginate:               " << qRound(median(paginate)) << " ms\n";
    out << "write the PDF:          " << qRound(median(pdf)) << " ms\n";
    out << "time: " << qRound(median(whole)) << " ms\n";
    return 0;
}
