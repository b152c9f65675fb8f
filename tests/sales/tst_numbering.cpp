#include "platform/base/clock.h"
#include "platform/db/connection.h"
#include "platform/db/transaction.h"
#include "sales/documenttype.h"
#include "sales/numbering.h"
#include "support/testdb.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace Numbering;

namespace {

enum class Series { Invoice, StockReceipt, Consignment, DispatchNote, Requisition, Sale };
enum class Outcome { Text, Untouched, Failure };

QVariantMap nfakt(const QString& text) { return {{u"NFAKTURA"_s, text}}; }
QVariantMap col(const QString& name, const QVariant& v) { return {{name, v}}; }
QVariantMap neksp(int n, const QDate& date) { return {{u"NEKSP_BEL"_s, n}, {u"DATEFAKTURA"_s, date}}; }
QVariantMap sale(const QString& number) { return {{u"NUMPRODAGBA"_s, number}}; }

QString describe(const NumberProposal& p)
{
    if (p.failed()) return u"failure: "_s + p.message();
    if (p.isUntouched()) return u"untouched"_s;
    return u"text \""_s + p.value() + u'"';
}

} // namespace

Q_DECLARE_METATYPE(Series)
Q_DECLARE_METATYPE(Outcome)
Q_DECLARE_METATYPE(DocumentType)
Q_DECLARE_METATYPE(PriceBasis)
Q_DECLARE_METATYPE(CarriedNumber)
Q_DECLARE_METATYPE(PrintLayout)
Q_DECLARE_METATYPE(TotalsGroup)
Q_DECLARE_METATYPE(ProposedNumber)

// The number proposals against a real database holding prepared sales.
class TstNumbering : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase() { Clock::reset(); }

    void proposals_data();
    void proposals();
    void saleNumbersFollowEachOtherWithinTheirTransactions();
    void eachTypeProposesItsOwnSeries_data();
    void eachTypeProposesItsOwnSeries();
    void documentTypeDecisions_data();
    void documentTypeDecisions();
    void codesOutsideTheTypes();
    void exactIntegerText_data();
    void exactIntegerText();
    void leadingZeros_data();
    void leadingZeros();

private:
    void insertSale(const QVariantMap& columns);
    QTemporaryDir dir_;
    std::unique_ptr<SQLConnection> db_;
    int rowNo_ = 0;
};

void TstNumbering::initTestCase()
{
    QVERIFY(dir_.isValid());
    db_ = std::make_unique<SQLConnection>(TestDb::freshCopy(dir_));
    db_->open();
}

void TstNumbering::init()
{
    db_->execute(u"delete from PRODAGBI"_s);
    db_->execute(u"update FIRMA set NFAKT_TXT_INT = 0, NFAKT_SIMVOL = null"_s);
    Clock::setFixed(QDateTime(QDate(2024, 1, 5), QTime(10, 30)));
}

// A sale line with the given columns; the sale number defaults to an old day's, so that it
// stays out of the daily sequence of the test's "today".
void TstNumbering::insertSale(const QVariantMap& columns)
{
    QVariantMap values = columns;
    if (!values.contains(u"NUMPRODAGBA"_s))
        values.insert(u"NUMPRODAGBA"_s, u"19990101"_s + QString::number(++rowNo_).rightJustified(3, u'0'));
    QStringList names, markers;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        names << it.key();
        markers << u':' + it.key();
    }
    db_->execute(u"insert into PRODAGBI (%1) values (%2)"_s.arg(names.join(u", "_s), markers.join(u", "_s)), values);
}

void TstNumbering::proposals_data()
{
    QTest::addColumn<Series>("series");
    QTest::addColumn<QVariant>("mode");    // FIRMA.NFAKT_TXT_INT
    QTest::addColumn<QVariant>("symbol");  // FIRMA.NFAKT_SIMVOL
    QTest::addColumn<int>("office");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QVariantList>("rows");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("expected");  // the text, or the message

    const QVariant text = 0, integer = 1, noSymbol;
    const QDate jan5(2024, 1, 5);
    const auto T = Outcome::Text;
    const auto F = Outcome::Failure;
    const auto inv = Series::Invoice;

    // Text invoice numbers, office 1: compared as text below "2000000000", no leading zeros.
    QTest::newRow("office 1, no invoices: box empty") << inv << text << noSymbol << 1 << jan5 << QVariantList{} << T << u""_s;
    QTest::newRow("office 1, only office 2 numbers") << inv << text << noSymbol << 1 << jan5
                                                     << QVariantList{nfakt(u"2000000005"_s)} << T << u""_s;
    QTest::newRow("office 1, next") << inv << text << noSymbol << 1 << jan5
                                    << QVariantList{nfakt(u"0000000122"_s), nfakt(u"2000000005"_s), nfakt(u"0"_s)} << T
                                    << u"123"_s;
    QTest::newRow("office 1, highest as text") << inv << text << noSymbol << 1 << jan5
                                               << QVariantList{nfakt(u"150"_s), nfakt(u"0000000500"_s), nfakt(u"99"_s)} << T
                                               << u"151"_s;
    QTest::newRow("office 1, empty text beside a number") << inv << text << noSymbol << 1 << jan5
                                                          << QVariantList{nfakt(u""_s), nfakt(u"0000000007"_s)} << T
                                                          << u"8"_s;

    // Office 2: compared as text above "2000000000"; empty starts at 2000000001.
    QTest::newRow("office 2, no invoices above the bound") << inv << text << noSymbol << 2 << jan5
                                                           << QVariantList{nfakt(u"0000000122"_s)} << T
                                                           << u"2000000001"_s;
    QTest::newRow("office 2, next") << inv << text << noSymbol << 2 << jan5
                                    << QVariantList{nfakt(u"2000000122"_s), nfakt(u"0000000999"_s)} << T
                                    << u"2000000123"_s;
    QTest::newRow("office 2, ten digits") << inv << text << noSymbol << 2 << jan5 << QVariantList{nfakt(u"9999999998"_s)}
                                          << T << u"9999999999"_s;
    QTest::newRow("office 2, eleven digits") << inv << text << noSymbol << 2 << jan5
                                             << QVariantList{nfakt(u"9999999999"_s)} << T << u"10000000000"_s;
    QTest::newRow("office 2, short text above the bound") << inv << text << noSymbol << 2 << jan5
                                                          << QVariantList{nfakt(u"3"_s)} << T << u"0000000004"_s;

    // Any other office: compared as numbers below 2000000000; empty starts at 1; ten digits.
    QTest::newRow("office 3, after 122") << inv << text << noSymbol << 3 << jan5
                                         << QVariantList{nfakt(u"0000000122"_s), nfakt(u"2000000500"_s),
                                                         col(u"NFAKTURA"_s, QVariant())}
                                         << T << u"0000000123"_s;
    QTest::newRow("office 3, no invoices") << inv << text << noSymbol << 3 << jan5 << QVariantList{} << T
                                           << u"0000000001"_s;
    QTest::newRow("no office chosen") << inv << text << noSymbol << 0 << jan5 << QVariantList{nfakt(u"41"_s)} << T
                                      << u"0000000042"_s;
    QTest::newRow("zeros: 9") << inv << text << noSymbol << 3 << jan5 << QVariantList{nfakt(u"8"_s)} << T
                              << u"0000000009"_s;
    QTest::newRow("zeros: 10") << inv << text << noSymbol << 3 << jan5 << QVariantList{nfakt(u"9"_s)} << T
                               << u"0000000010"_s;
    QTest::newRow("zeros: 99") << inv << text << noSymbol << 3 << jan5 << QVariantList{nfakt(u"98"_s)} << T
                               << u"0000000099"_s;
    QTest::newRow("zeros: 100") << inv << text << noSymbol << 3 << jan5 << QVariantList{nfakt(u"99"_s)} << T
                                << u"0000000100"_s;
    QTest::newRow("zeros: 1000000") << inv << text << noSymbol << 3 << jan5 << QVariantList{nfakt(u"999999"_s)} << T
                                    << u"0001000000"_s;
    QTest::newRow("zeros: 9999999") << inv << text << noSymbol << 3 << jan5 << QVariantList{nfakt(u"9999998"_s)} << T
                                    << u"0009999999"_s;
    QTest::newRow("zeros: 10000000 as it is") << inv << text << noSymbol << 3 << jan5
                                              << QVariantList{nfakt(u"9999999"_s)} << T << u"10000000"_s;
    QTest::newRow("zeros: 0 as it is") << inv << text << noSymbol << 3 << jan5 << QVariantList{nfakt(u"-1"_s)} << T
                                       << u"0"_s;
    QTest::newRow("zeros: negative as it is") << inv << text << noSymbol << 3 << jan5 << QVariantList{nfakt(u"-5"_s)}
                                              << T << u"-4"_s;

    // Stored texts that are no whole numbers (rows recorded before the recording refused them) are
    // passed over: they never stop the proposals.
    QTest::newRow("office 3, letters") << inv << text << noSymbol << 3 << jan5
                                       << QVariantList{nfakt(u"0000000122"_s), nfakt(u"12A"_s)} << T << u"0000000123"_s;
    QTest::newRow("office 3, letter first") << inv << text << noSymbol << 3 << jan5
                                            << QVariantList{nfakt(u"A123"_s), nfakt(u"0000000122"_s)} << T
                                            << u"0000000123"_s;
    QTest::newRow("office 1, letters") << inv << text << noSymbol << 1 << jan5
                                       << QVariantList{nfakt(u"0000000122"_s), nfakt(u"12A"_s)} << T << u"123"_s;
    QTest::newRow("office 2, letters") << inv << text << noSymbol << 2 << jan5
                                       << QVariantList{nfakt(u"200000001A"_s), nfakt(u"2000000007"_s)} << T
                                       << u"2000000008"_s;
    QTest::newRow("office 3, fraction") << inv << text << noSymbol << 3 << jan5
                                        << QVariantList{nfakt(u"12.5"_s), nfakt(u"0000000009"_s)} << T << u"0000000010"_s;
    QTest::newRow("office 1, fraction") << inv << text << noSymbol << 1 << jan5 << QVariantList{nfakt(u"12.5"_s)} << T
                                        << u""_s;
    QTest::newRow("office 3, empty text stored") << inv << text << noSymbol << 3 << jan5
                                                 << QVariantList{nfakt(u"0000000122"_s), nfakt(u""_s)} << T
                                                 << u"0000000123"_s;

    // Integer invoice numbers: symbol, then nine digits.
    const QVariant sym = u"Ф"_s;
    QTest::newRow("integer, after 122") << inv << integer << sym << 1 << jan5
                                        << QVariantList{col(u"NFAKT_INT"_s, 122), col(u"NFAKT_INT"_s, 5)} << T
                                        << u"Ф000000123"_s;
    QTest::newRow("integer, no invoices") << inv << integer << sym << 1 << jan5 << QVariantList{} << T
                                          << u"Ф000000001"_s;
    QTest::newRow("integer, no symbol") << inv << integer << noSymbol << 1 << jan5
                                        << QVariantList{col(u"NFAKT_INT"_s, 122)} << T << u"000000123"_s;
    QTest::newRow("integer, symbol 0") << inv << integer << QVariant(u"0"_s) << 2 << jan5
                                       << QVariantList{col(u"NFAKT_INT"_s, 122)} << T << u"0000000123"_s;
    QTest::newRow("integer, 10000000 as it is") << inv << integer << sym << 1 << jan5
                                                << QVariantList{col(u"NFAKT_INT"_s, 9999999)} << T << u"Ф10000000"_s;
    QTest::newRow("integer, ten digits") << inv << integer << sym << 1 << jan5
                                         << QVariantList{col(u"NFAKT_INT"_s, 2147483646)} << T << u"Ф2147483647"_s;
    QTest::newRow("integer, text numbers not read") << inv << integer << sym << 3 << jan5
                                                    << QVariantList{nfakt(u"12A"_s), col(u"NFAKT_INT"_s, 7)} << T
                                                    << u"Ф000000008"_s;

    // Any other numbering setting leaves the box alone.
    QTest::newRow("mode 2: untouched") << inv << QVariant(2) << sym << 1 << jan5
                                       << QVariantList{col(u"NFAKT_INT"_s, 7)} << Outcome::Untouched << u""_s;
    QTest::newRow("mode null: untouched") << inv << QVariant() << sym << 3 << jan5 << QVariantList{nfakt(u"7"_s)}
                                          << Outcome::Untouched << u""_s;

    // Series that run on for ever; an empty one starts at 1.
    QTest::newRow("stock receipt, first") << Series::StockReceipt << text << noSymbol << 1 << jan5 << QVariantList{}
                                          << T << u"1"_s;
    QTest::newRow("stock receipt, next") << Series::StockReceipt << text << noSymbol << 1 << jan5
                                         << QVariantList{col(u"NSTOK_RAZP"_s, 7), col(u"NSTOK_RAZP"_s, 41),
                                                         col(u"NSTOK_RAZP"_s, 0), col(u"NKONSIGNACIA"_s, 90)}
                                         << T << u"42"_s;
    QTest::newRow("stock receipt, ten digits") << Series::StockReceipt << text << noSymbol << 1 << jan5
                                               << QVariantList{col(u"NSTOK_RAZP"_s, 2147483646)} << T
                                               << u"2147483647"_s;
    QTest::newRow("consignment, first") << Series::Consignment << text << noSymbol << 1 << jan5 << QVariantList{} << T
                                        << u"1"_s;
    QTest::newRow("consignment, next") << Series::Consignment << text << noSymbol << 1 << jan5
                                       << QVariantList{col(u"NKONSIGNACIA"_s, 3), col(u"NSTOK_RAZP"_s, 90)} << T
                                       << u"4"_s;
    QTest::newRow("dispatch note, over all years and types")
        << Series::DispatchNote << text << noSymbol << 1 << jan5
        << QVariantList{neksp(5, QDate(2024, 1, 2)), neksp(9, QDate(2021, 6, 1))} << T << u"10"_s;

    // The requisition series starts again each calendar year.
    QTest::newRow("requisition, first of a new year") << Series::Requisition << text << noSymbol << 1 << jan5
                                                      << QVariantList{neksp(40, QDate(2023, 12, 20))} << T << u"1"_s;
    QTest::newRow("requisition, within the year")
        << Series::Requisition << text << noSymbol << 1 << jan5
        << QVariantList{neksp(40, QDate(2023, 12, 31)), neksp(3, QDate(2024, 1, 1)), neksp(7, QDate(2024, 12, 31)),
                        neksp(50, QDate(2025, 1, 1))}
        << T << u"8"_s;
    QTest::newRow("requisition, on 31 December") << Series::Requisition << text << noSymbol << 1 << QDate(2024, 12, 31)
                                                 << QVariantList{neksp(12, QDate(2024, 6, 30))} << T << u"13"_s;

    // Sale numbers: date and the day's sequence.
    QTest::newRow("sale, first of the day") << Series::Sale << text << noSymbol << 1 << jan5 << QVariantList{} << T
                                            << u"20240105001"_s;
    QTest::newRow("sale, first after yesterday's") << Series::Sale << text << noSymbol << 1 << jan5
                                                   << QVariantList{sale(u"20240104017"_s)} << T << u"20240105001"_s;
    QTest::newRow("sale, next") << Series::Sale << text << noSymbol << 1 << jan5 << QVariantList{sale(u"20240105001"_s)}
                                << T << u"20240105002"_s;
    QTest::newRow("sale, next after many") << Series::Sale << text << noSymbol << 1 << jan5
                                           << QVariantList{sale(u"20240105009"_s), sale(u"20240105041"_s),
                                                           sale(u"20240104100"_s)}
                                           << T << u"20240105042"_s;
    QTest::newRow("sale, another day") << Series::Sale << text << noSymbol << 1 << QDate(2025, 11, 7)
                                                    << QVariantList{sale(u"20240105041"_s)} << T << u"20251107001"_s;
    QTest::newRow("sale, not a number") << Series::Sale << text << noSymbol << 1 << jan5
                                        << QVariantList{sale(u"2024010500X"_s)} << F
                                        << u"Номерът на продажбата не може да бъде определен - последният номер не е "
                                           u"цяло число !"_s;
}

void TstNumbering::proposals()
{
    QFETCH(Series, series);
    QFETCH(QVariant, mode);
    QFETCH(QVariant, symbol);
    QFETCH(int, office);
    QFETCH(QDate, today);
    QFETCH(QVariantList, rows);
    QFETCH(Outcome, outcome);
    QFETCH(QString, expected);

    Clock::setFixed(QDateTime(today, QTime(9, 0)));
    db_->execute(u"update FIRMA set NFAKT_TXT_INT = :M, NFAKT_SIMVOL = :S"_s, {{u"M"_s, mode}, {u"S"_s, symbol}});
    for (const QVariant& r : rows) insertSale(r.toMap());

    NumberProposal p = NumberProposal::untouched();
    switch (series) {
    case Series::Invoice: p = proposeInvoiceNumber(*db_, InvoiceNumbering::fromCompany(*db_), office); break;
    case Series::StockReceipt: p = proposeStockReceiptNumber(*db_); break;
    case Series::Consignment: p = proposeConsignmentNumber(*db_); break;
    case Series::DispatchNote: p = proposeDispatchNoteNumber(*db_); break;
    case Series::Requisition: p = proposeRequisitionNumber(*db_); break;
    case Series::Sale: p = nextSaleNumber(*db_); break;
    }

    switch (outcome) {
    case Outcome::Text:
        QVERIFY2(p.hasText(), qPrintable(describe(p)));
        QCOMPARE(p.value(), expected);
        break;
    case Outcome::Untouched: QVERIFY2(p.isUntouched(), qPrintable(describe(p))); break;
    case Outcome::Failure:
        QVERIFY2(p.failed(), qPrintable(describe(p)));
        QCOMPARE(p.message(), expected);
        QVERIFY(p.value().isEmpty());
        break;
    }
}

// Recording takes the number inside its transaction; the next recording sees it.
void TstNumbering::saleNumbersFollowEachOtherWithinTheirTransactions()
{
    const QStringList expected{u"20240105001"_s, u"20240105002"_s, u"20240105003"_s};
    for (const QString& want : expected) {
        TransactionScope tx(*db_);
        const NumberProposal n = nextSaleNumber(*db_);
        QVERIFY2(n.hasText(), qPrintable(describe(n)));
        QCOMPARE(n.value(), want);
        // Two lines of one sale share the number.
        insertSale(sale(n.value()));
        insertSale(sale(n.value()));
        tx.commit();
    }
    {
        TransactionScope abandoned(*db_);
        insertSale(sale(nextSaleNumber(*db_).value()));
    }
    QCOMPARE(nextSaleNumber(*db_).value(), u"20240105004"_s);

    Clock::setFixed(QDateTime(QDate(2024, 1, 6), QTime(8, 0)));
    QCOMPARE(nextSaleNumber(*db_).value(), u"20240106001"_s);
}

// The number each type's mode proposes comes from that type's series.
void TstNumbering::eachTypeProposesItsOwnSeries_data()
{
    QTest::addColumn<DocumentType>("type");
    QTest::addColumn<QString>("expected");  // "-" for no window mode, "" for no proposal besides the invoice

    QTest::newRow("tax invoice") << DocumentType::TaxInvoice << u""_s;
    QTest::newRow("simplified invoice") << DocumentType::SimplifiedInvoice << u""_s;
    QTest::newRow("stock receipt") << DocumentType::StockReceipt << u"11"_s;
    QTest::newRow("consignment") << DocumentType::ConsignmentProtocol << u"21"_s;
    QTest::newRow("chain stock receipt") << DocumentType::ChainStockReceipt << u"11"_s;
    QTest::newRow("chain tax invoice") << DocumentType::ChainTaxInvoice << u""_s;
    QTest::newRow("stock receipt BGN USD EUR") << DocumentType::StockReceiptLvUsdEur << u"11"_s;
    QTest::newRow("dispatch note") << DocumentType::DispatchNote << u"51"_s;
    QTest::newRow("stock receipt A5") << DocumentType::StockReceiptA5 << u"11"_s;
    QTest::newRow("requisition") << DocumentType::Requisition << u"31"_s;
    QTest::newRow("credit note") << DocumentType::CreditNote << u"-"_s;
}

void TstNumbering::eachTypeProposesItsOwnSeries()
{
    QFETCH(DocumentType, type);
    QFETCH(QString, expected);

    insertSale(col(u"NSTOK_RAZP"_s, 10));
    insertSale(col(u"NKONSIGNACIA"_s, 20));
    insertSale(neksp(30, QDate(2024, 1, 3)));
    insertSale(neksp(50, QDate(2023, 5, 1)));

    insertSale(nfakt(u"0000000122"_s));
    const int code = documentTypeCode(type);
    const DocumentTypeProposals p = proposeForDocumentType(*db_, {InvoiceNumbering::TextNumbers, {}}, 3, code);
    // The invoice number is proposed for every type.
    QVERIFY2(p.invoice.hasText(), qPrintable(describe(p.invoice)));
    QCOMPARE(p.invoice.value(), u"0000000123"_s);

    const std::optional<SaleEntryMode> mode = saleEntryModeForCode(code);
    if (expected == u"-"_s) {
        QVERIFY(!mode);
        QCOMPARE(p.other, ProposedNumber::None);
        QVERIFY2(p.otherNumber.isUntouched(), qPrintable(describe(p.otherNumber)));
        return;
    }
    QVERIFY(mode);
    QCOMPARE(p.other, mode->proposed);
    if (expected.isEmpty()) {
        QCOMPARE(p.other, ProposedNumber::None);
        QVERIFY2(p.otherNumber.isUntouched(), qPrintable(describe(p.otherNumber)));
    } else {
        QVERIFY2(p.otherNumber.hasText(), qPrintable(describe(p.otherNumber)));
        QCOMPARE(p.otherNumber.value(), expected);
    }
}

void TstNumbering::documentTypeDecisions_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<PriceBasis>("basis");
    QTest::addColumn<CarriedNumber>("carried");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<TotalsGroup>("totals");
    // Shown column groups: BGN, USD prices, USD value and EUR, articles ("-" for no window mode).
    QTest::addColumn<QString>("columns");
    // Enabled boxes: invoice, stock receipt, consignment, dispatch note, weights.
    QTest::addColumn<QString>("boxes");

    const auto I = PriceBasis::Invoice, N = PriceBasis::NonInvoice;
    const auto TI = TotalsGroup::Invoice, TS = TotalsGroup::StockReceiptAndConsignment;
    QTest::newRow("0") << 0 << I << CarriedNumber::Invoice << u"TQRFaktura"_s << TI << u"1000"_s << u"10000"_s;
    QTest::newRow("1") << 1 << I << CarriedNumber::Invoice << u"TQRFakturaOprostena"_s << TI << u"1000"_s << u"10000"_s;
    QTest::newRow("2") << 2 << N << CarriedNumber::StockReceipt << u"TQRStokRaspiska"_s << TS << u"1000"_s << u"01000"_s;
    QTest::newRow("3") << 3 << N << CarriedNumber::Consignment << u"TQRStokRaspiska"_s << TS << u"1000"_s << u"00100"_s;
    QTest::newRow("4") << 4 << N << CarriedNumber::StockReceipt << u"TQRpStRazpDorvex"_s << TS << u"0001"_s
                       << u"01000"_s;
    QTest::newRow("5") << 5 << I << CarriedNumber::Invoice << u"TQRpFaktDorvex"_s << TI << u"1001"_s << u"10000"_s;
    QTest::newRow("6") << 6 << N << CarriedNumber::StockReceipt << u"TQRStokRazpLvUsdEur"_s << TS << u"1110"_s
                       << u"01000"_s;
    QTest::newRow("7") << 7 << N << CarriedNumber::DispatchNote << u"TQREkspBel"_s << TS << u"1000"_s << u"00011"_s;
    QTest::newRow("8") << 8 << N << CarriedNumber::StockReceipt << u"TQRStokRazpA5"_s << TS << u"1110"_s << u"01000"_s;
    QTest::newRow("9") << 9 << N << CarriedNumber::Requisition << u"TQRProdIskane"_s << TS << u"1000"_s << u"00010"_s;
    QTest::newRow("10") << 10 << I << CarriedNumber::Invoice << u"TQRKreditnoIzv"_s << TS << u"-"_s << u"-"_s;
}

void TstNumbering::documentTypeDecisions()
{
    QFETCH(int, code);
    QFETCH(PriceBasis, basis);
    QFETCH(CarriedNumber, carried);
    QFETCH(QString, layout);
    QFETCH(TotalsGroup, totals);
    QFETCH(QString, columns);
    QFETCH(QString, boxes);

    const std::optional<DocumentType> type = documentTypeFromCode(code);
    QVERIFY(type);
    QCOMPARE(documentTypeCode(*type), code);
    const DocumentTypeInfo& info = documentTypeInfo(*type);
    QCOMPARE(info.type, *type);
    QCOMPARE(info.priceBasis, basis);
    QCOMPARE(info.vatForcedToZero, *type == DocumentType::Requisition);
    QCOMPARE(info.carried, carried);
    QCOMPARE(info.invoiceNumberAlsoRecorded, *type == DocumentType::ChainStockReceipt);
    QCOMPARE(info.articleNumbers, code == 4 || code == 5);
    QCOMPARE(printLayoutClassName(info.layout), layout);
    QCOMPARE(info.totals, totals);
    QCOMPARE(totalsGroupForCode(code), totals);

    const auto flags = [](std::initializer_list<bool> bits) {
        QString s;
        for (bool b : bits) s += b ? u'1' : u'0';
        return s;
    };
    if (columns == u"-"_s) {
        QVERIFY(!info.saleEntry);
        QVERIFY(!saleEntryModeForCode(code));
        return;
    }
    QVERIFY(info.saleEntry);
    const SaleEntryMode& m = *info.saleEntry;
    QCOMPARE(flags({m.bgnColumns, m.usdPriceColumns, m.usdValueEurColumns, m.articleColumns}), columns);
    QCOMPARE(flags({m.invoiceBox, m.stockReceiptBox, m.consignmentBox, m.dispatchNoteBox, m.weightBoxes}), boxes);
    QVERIFY(saleEntryModeForCode(code) == info.saleEntry);
}

void TstNumbering::codesOutsideTheTypes()
{
    QCOMPARE(int(allDocumentTypes().size()), 11);
    for (int i = 0; i < 11; ++i) QCOMPARE(documentTypeCode(allDocumentTypes()[std::size_t(i)]), i);
    for (const int code : {-1, 11, 12, 100}) {
        QVERIFY(!documentTypeFromCode(code));
        QCOMPARE(totalsGroupForCode(code), TotalsGroup::StockReceiptAndConsignment);
        QVERIFY(!saleEntryModeForCode(code));
        // Only the invoice number is proposed; the window keeps its other boxes.
        const DocumentTypeProposals p = proposeForDocumentType(*db_, {InvoiceNumbering::TextNumbers, {}}, 3, code);
        QCOMPARE(p.invoice.value(), u"0000000001"_s);
        QCOMPARE(p.other, ProposedNumber::None);
        QVERIFY(p.otherNumber.isUntouched());
    }
    QCOMPARE(totalsGroupCaption(TotalsGroup::Invoice), u"Фактура "_s);
    QCOMPARE(totalsGroupCaption(TotalsGroup::StockReceiptAndConsignment), u"Сток.разп.,консигн. "_s);
}

void TstNumbering::exactIntegerText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");  // "!" for none

    QTest::newRow("double small") << QVariant(123.0) << u"123"_s;
    QTest::newRow("double ten digits") << QVariant(2000000123.0) << u"2000000123"_s;
    QTest::newRow("double eleven digits") << QVariant(20240105042.0) << u"20240105042"_s;
    QTest::newRow("double negative") << QVariant(-4.0) << u"-4"_s;
    QTest::newRow("double zero") << QVariant(0.0) << u"0"_s;
    QTest::newRow("double fraction") << QVariant(13.5) << u"!"_s;
    QTest::newRow("double beyond exact") << QVariant(1e17) << u"!"_s;
    QTest::newRow("double NaN") << QVariant(std::numeric_limits<double>::quiet_NaN()) << u"!"_s;
    QTest::newRow("double infinity") << QVariant(std::numeric_limits<double>::infinity()) << u"!"_s;
    QTest::newRow("int") << QVariant(42) << u"42"_s;
    QTest::newRow("int64") << QVariant(qint64(2147483648LL)) << u"2147483648"_s;
    QTest::newRow("text") << QVariant(u"123"_s) << u"!"_s;
    QTest::newRow("null") << QVariant() << u"!"_s;
}

void TstNumbering::exactIntegerText()
{
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    const std::optional<QString> got = Numbering::exactIntegerText(value);
    if (expected == u"!"_s) QVERIFY2(!got, qPrintable(got.value_or(QString())));
    else QCOMPARE(got.value_or(u"<none>"_s), expected);
}

void TstNumbering::leadingZeros_data()
{
    QTest::addColumn<qint64>("n");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");

    QTest::newRow("1 to 10") << qint64(1) << 10 << u"0000000001"_s;
    QTest::newRow("1 to 9") << qint64(1) << 9 << u"000000001"_s;
    QTest::newRow("123 to 9") << qint64(123) << 9 << u"000000123"_s;
    QTest::newRow("9999999 to 10") << qint64(9999999) << 10 << u"0009999999"_s;
    QTest::newRow("9999999 to 9") << qint64(9999999) << 9 << u"009999999"_s;
    QTest::newRow("10000000 kept") << qint64(10000000) << 10 << u"10000000"_s;
    QTest::newRow("0 kept") << qint64(0) << 10 << u"0"_s;
    QTest::newRow("negative kept") << qint64(-7) << 10 << u"-7"_s;
}

void TstNumbering::leadingZeros()
{
    QFETCH(qint64, n);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(withLeadingZeros(n, width), expected);
}

QTEST_GUILESS_MAIN(TstNumbering)
#include "tst_numbering.moc"
