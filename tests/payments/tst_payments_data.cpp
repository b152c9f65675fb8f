#include "data/dmrazpl.h"
#include "payments/paymentsdata.h"
#include "platform/base/clock.h"
#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "sales/salerecording.h"
#include "sales/saletotals.h"
#include "support/dbfixture.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Payments::Range;

namespace {
struct Money
{
    double lv = 0, usd = 0, eur = 0;
    Money operator-(const Money& o) const { return {lv - o.lv, usd - o.usd, eur - o.eur}; }
    Money operator+(const Money& o) const { return {lv + o.lv, usd + o.usd, eur + o.eur}; }
};
} // namespace

// The payment inquiries over a real database: every list and balance adds up to the company's
// totals, the remainder rules, open ranges, and payments entered, corrected and deleted.
class TstPaymentsData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(10, 0))); }
    void cleanupTestCase() { Clock::reset(); }
    void init();
    void cleanup();

    void everyTotalAgreesWithTheCompany();
    void clientRemainder_data();
    void clientRemainder();
    void supplierRemainder_data();
    void supplierRemainder();
    void allDatesAndKeysAreOpen();
    void paymentsEnteredCorrectedDeleted();
    void paymentsOfDocumentsStayWithThem();
    void saleRemainder();

private:
    void prepare();
    Money companyClients();
    Money companySuppliers();
    static Money remainders(const SmpDataset& ds);
    static Money columnSums(const SmpDataset& ds, const char* pattern);
    void openClients(const Range& types, const Range& clients, const Range& dates);
    void openSuppliers(const Range& suppliers, const Range& dates);
    static void near(const Money& a, const Money& b, const char* what);

    DbFixture f_;
    std::unique_ptr<TDMRazpl> dm_;
    Money expectedClients_, expectedSuppliers_;
};

void TstPaymentsData::init()
{
    f_.start();
    dm_ = std::make_unique<TDMRazpl>(f_.db());
}

void TstPaymentsData::cleanup()
{
    dm_.reset();
    f_.stop();
}

void TstPaymentsData::near(const Money& a, const Money& b, const char* what)
{
    const auto close = [](double x, double y) { return qAbs(x - y) < 1e-6; };
    QVERIFY2(close(a.lv, b.lv) && close(a.usd, b.usd) && close(a.eur, b.eur),
             qPrintable(u"%1: %2/%3/%4 against %5/%6/%7"_s.arg(QLatin1String(what)).arg(a.lv).arg(a.usd).arg(a.eur)
                            .arg(b.lv).arg(b.usd).arg(b.eur)));
}

// Sales of several document types (with discounts, VAT, returned goods, a credit note, a natural
// person, prices in three currencies), deliveries with a claim, payments taken with the documents
// and entered later. The expected balances are added up here from the sales' own totals.
void TstPaymentsData::prepare()
{
    f_.exec(u"insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"_s);
    for (const auto& [n, name] : {std::pair{500, "Болт"}, {501, "Шайба"}})
        f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA) values (:N, :I, 1, 1, 10)"_s,
                {{u"N"_s, n}, {u"I"_s, QString::fromUtf8(name)}});
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (10, 1, 'Алфа')"_s);
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (11, 5, 'Бета')"_s);
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (20, 2, 'Доставчик')"_s);
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (21, 3, 'Двупосочен')"_s);
    f_.exec(u"insert into PERSONAL (SHIFYR, IME, FAM) values (4, 'Петър', 'Петров')"_s);

    // Deliveries: BGN with discount and VAT through a purchaser, and EUR and USD prices.
    const auto deliver = [this](int supplier, int material, double qty, double lv, double usd, double eur,
                                double discount, double vat, int purchaser, const QString& doc) {
        const int key = f_.db().executeProcedure(u"ADDDOSTAVKA"_s,
            {{u"NMATERIAL"_s, material}, {u"KOLICHESTVO"_s, qty}, {u"ED_CENA_LV"_s, lv}, {u"USD"_s, usd},
             {u"EUR"_s, eur}, {u"PROCENT_OTST"_s, discount}, {u"PROCENT_DDS"_s, vat}, {u"SHIFYR"_s, purchaser},
             {u"DATEPOLUCHENO"_s, QDate(2026, 11, 1)}, {u"NKONTRAGENT"_s, supplier}, {u"NFAKTURA"_s, doc},
             {u"DATEFAKTURA"_s, QDate(2026, 11, 1)}}).value(u"AUTONUM"_s).toInt();
        const double f = (1 - discount / 100) * (1 + vat / 100);
        expectedSuppliers_ = expectedSuppliers_ + Money{qty * lv * f, qty * usd * f, qty * eur * f};
        return key;
    };
    const int line = deliver(20, 500, 100, 4, 0, 0, 10, 20, 4, u"D1"_s);
    deliver(21, 501, 50, 0, 3, 2.5, 0, 0, 0, u"D2"_s);
    // A claim of 5 pieces of the first line, at its price.
    f_.exec(u"insert into SKLAD_DOST_BRAK (AUTONUM_SKLAD, DATE_BRAK, NMATERIAL, KOLICH_BRAK, ED_CENA_LV, NKONTRAGENT)"
            u" values (:S, '2026-11-20', 500, 5, 4, 20)"_s, {{u"S"_s, line}});
    expectedSuppliers_ = expectedSuppliers_ - Money{5 * 4 * 0.9 * 1.2, 0, 0};
    // Paid with the delivery, and later (also a negative correction).
    f_.db().executeProcedure(u"ADDDOSTAVKI_PLASTANE"_s,
        {{u"SHIFYR"_s, 4}, {u"NKONTRAGENT"_s, 20}, {u"NFAKTURA"_s, u"D1"_s}, {u"DATEFAKTURA"_s, QDate(2026, 11, 1)},
         {u"PLATENO_DATE"_s, QDate(2026, 11, 1)}, {u"PLATENO_LV"_s, 100.0}});
    Payments::addSupplierPayment(f_.db(), {20, QDate(2026, 11, 25), 50, 0, 0, u"банка"_s, 4});
    Payments::addSupplierPayment(f_.db(), {21, QDate(2026, 11, 26), 0, 40, 30, {}, 0});
    Payments::addSupplierPayment(f_.db(), {21, QDate(2026, 11, 27), 0, -5, 0, u"сторно"_s, 0});
    expectedSuppliers_ = expectedSuppliers_ - Money{150, 35, 30};

    // Sales, each with what it leaves to pay computed by the sale's own totals.
    const auto sell = [this](Sales::SaleHeader h, const QVector<Sales::SaleLine>& lines) {
        Sales::recordSale(f_.db(), h, lines);
        SaleTotals::DocumentInput in;
        in.documentType = h.documentType;
        in.vatPct = h.vatPct;
        in.companyDiscountPct = h.companyDiscountPct + h.recipientDiscountPct;
        const SaleTotals::DocumentTotals t = SaleTotals::computeTotals(in, Sales::totalsInput(lines));
        const Money due{t.toPayLv, t.toPayUsd, t.toPayEur};
        const Money paid = h.payAtOnce ? due : Money{h.paidNowLv, h.paidNowUsd, h.paidNowEur};
        expectedClients_ = expectedClients_ + due - paid;
    };
    const auto header = [](int type, int client, const QString& number) {
        Sales::SaleHeader h;
        h.documentType = type;
        h.counterparty = client;
        h.recipientName = u"Получател"_s;
        h.paymentType = 1;
        h.invoiceNumbering = 1;
        h.invoiceNumber = number;
        h.stockReceiptNumber = number;
        h.vatPct = 20;
        h.date = QDate(2026, 12, 1);
        return h;
    };
    const auto item = [](int material, double qty, double lv, double usd = 0, double eur = 0, double discount = 0) {
        Sales::SaleLine l;
        l.material = material;
        l.quantity = qty;
        l.priceLv = lv;
        l.priceUsd = usd;
        l.priceEur = eur;
        l.discountPct = discount;
        return l;
    };
    // An invoice paid at once, with a line discount, a document discount and returned goods.
    Sales::SaleHeader invoice = header(0, 10, u"0000000101"_s);
    invoice.recipientDiscountPct = 5;
    invoice.companyDiscountPct = 2;
    sell(invoice, {item(500, 10, 12.5, 0, 0, 10), item(501, -2, 7)});
    // The same client, deferred with part paid now.
    Sales::SaleHeader deferred = header(0, 10, u"0000000102"_s);
    deferred.payAtOnce = false;
    deferred.paidNowLv = 40;
    sell(deferred, {item(500, 8, 10)});
    // A stock receipt in three currencies, deferred, part paid in USD.
    Sales::SaleHeader receipt = header(2, 11, u"7"_s);
    receipt.payAtOnce = false;
    receipt.paidNowUsd = 2;
    sell(receipt, {item(501, 4, 6, 3, 2.75)});
    // A credit note paid at once (a negative payment) and one left to settle.
    Sales::SaleHeader credit = header(10, 10, u"0000000103"_s);
    sell(credit, {item(500, 1, -15)});
    Sales::SaleHeader creditOpen = header(10, 11, u"0000000104"_s);
    creditOpen.payAtOnce = false;
    sell(creditOpen, {item(501, 1, -4)});
    // A natural person.
    Sales::SaleHeader person = header(2, 0, u"8"_s);
    person.counterpartyType = Sales::NaturalPersonType;
    person.person = {u"Иван Иванов"_s, u"София"_s, u"1234567890"_s};
    person.payAtOnce = false;
    sell(person, {item(500, 2, 10)});
    // A counterparty that is both client and supplier.
    Sales::SaleHeader both = header(2, 21, u"9"_s);
    both.payAtOnce = false;
    sell(both, {item(501, 3, 0, 0, 4)});

    // Payments entered later, in each currency, one of them negative.
    Payments::addClientPayment(f_.db(), {10, QDate(2026, 12, 5), 20, 0, 0, u"в брой"_s});
    Payments::addClientPayment(f_.db(), {11, QDate(2026, 12, 6), 0, 5, 12.5, {}});
    Payments::addClientPayment(f_.db(), {10, QDate(2026, 12, 7), -3, 0, 0, u"корекция"_s});
    Payments::addClientPayment(f_.db(), {21, QDate(2026, 12, 8), 0, 0, 6, {}});
    expectedClients_ = expectedClients_ - Money{17, 5, 18.5};
}

Money TstPaymentsData::companyClients()
{
    const DbResult r = f_.db().query(u"select KLIENTI_RAZLIKA_LV, KLIENTI_RAZLIKA_USD, KLIENTI_RAZLIKA_EUR from RAZPLASTANIA_SPRAVKA"_s);
    return {r.rows[0][0].toDouble(), r.rows[0][1].toDouble(), r.rows[0][2].toDouble()};
}

Money TstPaymentsData::companySuppliers()
{
    const DbResult r = f_.db().query(u"select DOSTAV_RAZLIKA_LV, DOSTAV_RAZLIKA_USD, DOSTAV_RAZLIKA_EUR from RAZPLASTANIA_SPRAVKA"_s);
    return {r.rows[0][0].toDouble(), r.rows[0][1].toDouble(), r.rows[0][2].toDouble()};
}

Money TstPaymentsData::remainders(const SmpDataset& ds)
{
    // Read from the computed columns of the list, as the window and the printouts show them.
    if (ds.isEmpty()) return {};
    return {ds.value(u"OstatykSumLV"_s).toDouble(), ds.value(u"OstatykSumUSD"_s).toDouble(),
            ds.value(u"OstatykSumEUR"_s).toDouble()};
}

Money TstPaymentsData::columnSums(const SmpDataset& ds, const char* pattern)
{
    Money m;
    for (int i = 0; i < ds.recordCount(); ++i) {
        const auto at = [&](const char* c) {
            return ds.valueAt(i, ds.fieldByName(QString::fromLatin1(pattern).arg(QLatin1String(c)))).toDouble();
        };
        m = m + Money{at("LV"), at("USD"), at("EUR")};
    }
    return m;
}

void TstPaymentsData::openClients(const Range& types, const Range& clients, const Range& dates)
{
    SmpDataset& ds = dm_->SmpSprRazpl_Klienti;
    ds.close();
    const QVariantMap params = Payments::clientParams(types, clients, dates);
    for (auto it = params.begin(); it != params.end(); ++it) ds.setParam(it.key(), it.value());
    ds.open();
    ds.last();
}

void TstPaymentsData::openSuppliers(const Range& suppliers, const Range& dates)
{
    SmpDataset& ds = dm_->SmpSprRazpl_Dost;
    ds.close();
    const QVariantMap params = Payments::supplierParams(suppliers, dates);
    for (auto it = params.begin(); it != params.end(); ++it) ds.setParam(it.key(), it.value());
    ds.open();
    ds.last();
}

// The company totals against every list of the window, and against the sales' and deliveries' own
// amounts added up independently.
void TstPaymentsData::everyTotalAgreesWithTheCompany()
{
    prepare();
    const Money clients = companyClients(), suppliers = companySuppliers();
    near(clients, expectedClients_, "company receivables against the sales' own totals");
    near(suppliers, expectedSuppliers_, "company liabilities against the deliveries' own totals");
    QVERIFY(qAbs(clients.lv) > 1 && qAbs(clients.usd) > 1 && qAbs(clients.eur) > 1);

    openClients(Range::all(), Range::all(), Range::all());
    near(remainders(dm_->SmpSprRazpl_Klienti), clients, "client list, all clients and dates");
    Money perClient;
    for (int client : {0, 10, 11, 21}) {
        openClients(Range::all(), Range::only(client), Range::all());
        perClient = perClient + remainders(dm_->SmpSprRazpl_Klienti);
    }
    near(perClient, clients, "client list, one client at a time");
    Money perType;
    for (int type = 1; type <= 7; ++type) {
        openClients(Range::only(type), Range::all(), Range::all());
        perType = perType + remainders(dm_->SmpSprRazpl_Klienti);
    }
    near(perType, clients, "client list, one type at a time");

    openSuppliers(Range::all(), Range::all());
    near(remainders(dm_->SmpSprRazpl_Dost), suppliers, "supplier list");
    SmpDataset& zak = dm_->SmpSprRazpl_DostZak;
    const QVariantMap params = Payments::purchaserParams(Range::all(), Range::all());
    for (auto it = params.begin(); it != params.end(); ++it) zak.setParam(it.key(), it.value());
    zak.open();
    near(remainders(zak), suppliers, "purchaser list, all purchasers");

    dm_->reloadBalances();
    const auto sums = [](const SmpDataset& ds, const char* a, const char* b, const char* c) {
        return Money{ds.value(QString::fromLatin1(a)).toDouble(), ds.value(QString::fromLatin1(b)).toDouble(),
                     ds.value(QString::fromLatin1(c)).toDouble()};
    };
    near(sums(dm_->SmpSprRazplKlientiObsto, "DylgimoLvSum", "DylgimoUSDSum", "DylgimoEURSum"), clients, "client balances");
    near(sums(dm_->SmpSprRazplDostObsto, "DylgimoLvSum", "DylgimoUSDSum", "DylgimoEURSum"), suppliers, "supplier balances");
    near(columnSums(dm_->SmpRazplKlientiObsto, "OSTATYK_%1_OBSTO"), clients, "clients by type");
    near(columnSums(dm_->SmpRazplDostObsto, "OSTATYK_%1_OBSTO"), suppliers, "suppliers by type");
    near(columnSums(dm_->SmpRazplKontr, "PROD_DYLGIMO_%1"), clients, "both directions, clients");
    near(columnSums(dm_->SmpRazplKontr, "DOST_DYLGIMO_%1"), suppliers, "both directions, suppliers");
    near(columnSums(dm_->SmpRazplKontr, "PROD_DYLG_MINUS_DOST_DYLG_%1"), clients - suppliers, "both directions");
    const DbResult total = f_.db().query(u"select OBSTO_RAZLIKA_LV, OBSTO_RAZLIKA_USD, OBSTO_RAZLIKA_EUR from RAZPLASTANIA_SPRAVKA"_s);
    near({total.rows[0][0].toDouble(), total.rows[0][1].toDouble(), total.rows[0][2].toDouble()}, clients - suppliers,
         "company difference");
    // The balance of one client over all dates, as the acknowledgement prints it.
    Money ten;
    openClients(Range::all(), Range::only(10), Range::all());
    ten = remainders(dm_->SmpSprRazpl_Klienti);
    const Payments::Amounts b = Payments::clientBalance(f_.db(), 10);
    near({b.lv, b.usd, b.eur}, ten, "client balance");
}

void TstPaymentsData::clientRemainder_data()
{
    QTest::addColumn<QVariantList>("due");
    QTest::addColumn<QVariantList>("paid");
    QTest::addColumn<double>("remainder");
    QTest::newRow("empty list") << QVariantList{} << QVariantList{} << 0.0;
    QTest::newRow("due 100, paid nothing") << QVariantList{100.0} << QVariantList{} << 100.0;
    QTest::newRow("paid 30, nothing due") << QVariantList{} << QVariantList{30.0} << -30.0;
    QTest::newRow("due 100, paid 30") << QVariantList{100.0} << QVariantList{30.0} << 70.0;
    QTest::newRow("due 100, a negative payment") << QVariantList{100.0} << QVariantList{30.0, -50.0} << 120.0;
    QTest::newRow("credit exceeds sales") << QVariantList{-80.0} << QVariantList{-30.0} << -50.0;
}

// One client's list: its remainder is due - paid, with empty amounts as 0.
void TstPaymentsData::clientRemainder()
{
    QFETCH(QVariantList, due);
    QFETCH(QVariantList, paid);
    QFETCH(double, remainder);
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (40, 1, 'Гама')"_s);
    int key = 1;
    for (const QVariant& d : due)
        f_.exec(u"insert into PRODAGBI (AUTONUM, NUMPRODAGBA, NKONTRAGENT, TIP_DOCUMENT, BROI_MATERIAL_IZDELIE,"
                u" CENA_MATERIAL_IZDELIE, DATEFAKTURA) values (:K, '20261201001', 40, 2, 1, :C, '2026-12-01')"_s,
                {{u"K"_s, key++}, {u"C"_s, d}});
    for (const QVariant& p : paid)
        f_.exec(u"insert into PRODAGBI_PLASTANE (NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA) values (40, '2026-12-02', :S)"_s,
                {{u"S"_s, p}});
    // An empty USD amount beside a paid BGN one counts as 0.
    f_.exec(u"update PRODAGBI_PLASTANE set PLASTANE_SUMA_USD = null"_s);
    openClients(Range::all(), Range::only(40), Range::all());
    const SmpDataset& ds = dm_->SmpSprRazpl_Klienti;
    QCOMPARE(ds.recordCount(), due.size() + paid.size());
    QCOMPARE(remainders(ds).lv, remainder);
    QCOMPARE(remainders(ds).usd, 0.0);
}

void TstPaymentsData::supplierRemainder_data()
{
    QTest::addColumn<double>("due");
    QTest::addColumn<double>("claim");
    QTest::addColumn<double>("paid");
    QTest::addColumn<double>("remainder");
    QTest::newRow("due 100, claims 10, paid 0") << 100.0 << 10.0 << 0.0 << 90.0;
    QTest::newRow("due 100, claims 10, paid 50") << 100.0 << 10.0 << 50.0 << 40.0;
    QTest::newRow("due 10, claims 10, paid 5") << 10.0 << 10.0 << 5.0 << -5.0;
    QTest::newRow("due 100, negative payment") << 100.0 << 0.0 << -20.0 << 120.0;
}

// A supplier's list: due - claims - paid; a claim row counts against the due amount.
void TstPaymentsData::supplierRemainder()
{
    QFETCH(double, due);
    QFETCH(double, claim);
    QFETCH(double, paid);
    QFETCH(double, remainder);
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (41, 2, 'Делта')"_s);
    f_.exec(u"insert into SKLAD (AUTONUM, NKONTRAGENT, NFAKTURA, DATEFAKTURA, KOLICHESTVO, ED_CENA_LV) values (1, 41, 'F', '2026-12-01', 10, :P)"_s,
            {{u"P"_s, due / 10}});
    if (claim != 0)
        f_.exec(u"insert into SKLAD_DOST_BRAK (AUTONUM_SKLAD, DATE_BRAK, KOLICH_BRAK, ED_CENA_LV, NKONTRAGENT) values (1, '2026-12-02', 1, :C, 41)"_s,
                {{u"C"_s, claim}});
    if (paid != 0) Payments::addSupplierPayment(f_.db(), {41, QDate(2026, 12, 3), paid, 0, 0, {}, 0});
    openSuppliers(Range::only(41), Range::all());
    const SmpDataset& ds = dm_->SmpSprRazpl_Dost;
    QCOMPARE(ds.recordCount(), 1 + (claim != 0) + (paid != 0));
    QVERIFY(qAbs(ds.value(u"OstatykSumLV"_s).toDouble() - remainder) < 1e-9);
    QVERIFY(qAbs(ds.value(u"ZaPlastaneSumLVAgg"_s).toDouble() - (due - claim)) < 1e-9);
    QVERIFY(qAbs(companySuppliers().lv - remainder) < 1e-9);
}

// "All" dates and keys leave nothing out: rows from long ago and from years ahead, the highest
// counterparty number and the last moment of the closing day of a period.
void TstPaymentsData::allDatesAndKeysAreOpen()
{
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (32767, 6, 'Последен')"_s);
    Payments::addClientPayment(f_.db(), {32767, QDate(1899, 12, 31), 1, 0, 0, {}});
    Payments::addClientPayment(f_.db(), {32767, QDate(2031, 5, 1), 2, 0, 0, {}});
    f_.exec(u"insert into PRODAGBI_PLASTANE (NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA) values (32767, '2026-12-10 23:59:00', 4)"_s);
    f_.exec(u"insert into SKLAD (AUTONUM, NKONTRAGENT, NFAKTURA, DATEFAKTURA, KOLICHESTVO, ED_CENA_LV, NUMSHIFYR) values (1, 32767, 'F', '2035-01-01', 1, 8, 12000)"_s);

    openClients(Range::all(), Range::all(), Range::all());
    QCOMPARE(dm_->SmpSprRazpl_Klienti.recordCount(), 3);
    QCOMPARE(remainders(dm_->SmpSprRazpl_Klienti).lv, -7.0);
    openClients(Range::all(), Range::all(), Range{QDate(2026, 12, 1), QDate(2026, 12, 10)});
    QCOMPARE(dm_->SmpSprRazpl_Klienti.recordCount(), 1);
    openClients(Range::all(), Range::all(), Range{QDate(2026, 12, 1), QDate(2026, 12, 9)});
    QCOMPARE(dm_->SmpSprRazpl_Klienti.recordCount(), 0);
    QCOMPARE(remainders(dm_->SmpSprRazpl_Klienti).lv, 0.0);

    openSuppliers(Range::all(), Range::all());
    QCOMPARE(dm_->SmpSprRazpl_Dost.recordCount(), 1);
    SmpDataset& zak = dm_->SmpSprRazpl_DostZak;
    const QVariantMap params = Payments::purchaserParams(Range::all(), Range::all());
    for (auto it = params.begin(); it != params.end(); ++it) zak.setParam(it.key(), it.value());
    zak.open();
    QCOMPARE(zak.recordCount(), 1);
}

// A payment entered here is listed as a payment row, corrected in place and deleted; each is one
// transaction, and the balances follow.
void TstPaymentsData::paymentsEnteredCorrectedDeleted()
{
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (10, 1, 'Алфа')"_s);
    f_.exec(u"insert into PERSONAL (SHIFYR, IME, FAM) values (4, 'Петър', 'Петров')"_s);
    const int key = Payments::addClientPayment(f_.db(), {10, QDate(2026, 12, 5), 0, 0, 12.5, u"превод"_s});
    QVERIFY(key > 0);
    openClients(Range::all(), Range::only(10), Range::all());
    SmpDataset& ds = dm_->SmpSprRazpl_Klienti;
    QCOMPARE(ds.recordCount(), 1);
    QCOMPARE(ds.value(u"IME_MATERIAL_IZDELIE"_s).toString(), Payments::clientPaymentText());
    QCOMPARE(ds.value(u"AUTONUM"_s).toInt(), key);
    QCOMPARE(ds.value(u"ZABELEGKA"_s).toString(), u"превод"_s);
    QCOMPARE(remainders(ds).eur, -12.5);

    Payments::correctClientPayment(f_.db(), key, {10, QDate(2026, 12, 6), 3, 0, 0, u"в брой"_s});
    QCOMPARE(Payments::clientBalance(f_.db(), 10).lv, -3.0);
    QCOMPARE(Payments::clientBalance(f_.db(), 10).eur, 0.0);
    Payments::deleteClientPayment(f_.db(), key);
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI_PLASTANE"_s), 0);
    QVERIFY_THROWS_EXCEPTION(DbError, Payments::deleteClientPayment(f_.db(), key));

    const int out = Payments::addSupplierPayment(f_.db(), {10, QDate(2026, 12, 5), 7, 1, 0, u"аванс"_s, 4});
    openSuppliers(Range::only(10), Range::all());
    QCOMPARE(dm_->SmpSprRazpl_Dost.value(u"IME_MATERIAL_IZDELIE"_s).toString(), Payments::supplierPaymentText());
    QCOMPARE(dm_->SmpSprRazpl_Dost.value(u"IMEZAKUPCHIK"_s).toString(), u"Петър Петров"_s);
    Payments::correctSupplierPayment(f_.db(), out, {10, QDate(2026, 12, 5), 9, 0, 0, {}, 0});
    QCOMPARE(f_.count(u"select count(*) from DOSTAVKI_PLASTANE where PLATENO_LV = 9 and SHIFYR = 0"_s), 1);
    Payments::deleteSupplierPayment(f_.db(), out);
    QCOMPARE(f_.count(u"select count(*) from DOSTAVKI_PLASTANE"_s), 0);

    QCOMPARE(Payments::refusal({10, QDate(2026, 12, 5), 0, 0, 0, {}}), u"Не са въведени суми за разплащане !"_s);
    QCOMPARE(Payments::refusal({10, QDate(2026, 12, 5), 0, -1, 0, {}}), QString());
}

// A payment taken with a sale or a delivery is shown, counts in the balance, but is neither
// corrected nor deleted here.
void TstPaymentsData::paymentsOfDocumentsStayWithThem()
{
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (10, 1, 'Алфа')"_s);
    f_.exec(u"insert into PRODAGBI_PLASTANE (AUTONUM, NUMPRODAGBA, NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA)"
            u" values (5, '20261201001', 10, '2026-12-01', 30)"_s);
    f_.exec(u"insert into DOSTAVKI_PLASTANE (AUTONUM, NKONTRAGENT, NFAKTURA, PLATENO_DATE, PLATENO_LV)"
            u" values (6, 20, 'D1', '2026-12-01', 40)"_s);
    openClients(Range::all(), Range::all(), Range::all());
    QCOMPARE(dm_->SmpSprRazpl_Klienti.value(u"IME_MATERIAL_IZDELIE"_s).toString(), u"Плащане по продажба 20261201001"_s);
    QVERIFY_THROWS_EXCEPTION(DbError, Payments::deleteClientPayment(f_.db(), 5));
    QVERIFY_THROWS_EXCEPTION(DbError, Payments::correctClientPayment(f_.db(), 5, {10, QDate(2026, 12, 1), 1, 0, 0, {}}));
    QVERIFY_THROWS_EXCEPTION(DbError, Payments::deleteSupplierPayment(f_.db(), 6));
    QCOMPARE(f_.count(u"select count(*) from PRODAGBI_PLASTANE where PLASTANE_SUMA = 30"_s), 1);
    QCOMPARE(f_.count(u"select count(*) from DOSTAVKI_PLASTANE where PLATENO_LV = 40"_s), 1);
    QCOMPARE(companyClients().lv, -30.0);
    QCOMPARE(companySuppliers().lv, -40.0);
}

// A sale's remainder: its total with VAT less what was paid for it.
void TstPaymentsData::saleRemainder()
{
    f_.exec(u"insert into PRODAGBI (AUTONUM, NUMPRODAGBA, NKONTRAGENT, TIP_DOCUMENT, PROCENT_DDS, BROI_MATERIAL_IZDELIE,"
            u" CENA_MATERIAL_IZDELIE, DATEFAKTURA) values (1, '20261201001', 10, 0, 25, 4, 20, '2026-12-01')"_s);
    f_.exec(u"insert into PRODAGBI (AUTONUM, NUMPRODAGBA, NKONTRAGENT, TIP_DOCUMENT, PROCENT_DDS, BROI_MATERIAL_IZDELIE,"
            u" CENA_MATERIAL_IZDELIE, DATEFAKTURA) values (2, '20261201002', 10, 0, 25, 1, 40, '2026-12-01')"_s);
    f_.exec(u"insert into PRODAGBI_PLASTANE (NUMPRODAGBA, NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA) values ('20261201001', 10, '2026-12-01', 30)"_s);
    const DbResult r = f_.db().query(u"select SUMA_DDS_FAKTURA, SUMA_PLATENA, SUMA_OSTATYK from REALIZACIA_PLASTANIA order by NUMPRODAGBA"_s);
    QCOMPARE(r.rows.size(), std::size_t(2));
    QCOMPARE(r.rows[0][0].toDouble(), 100.0);
    QCOMPARE(r.rows[0][2].toDouble(), 70.0);
    QCOMPARE(r.rows[1][1].toDouble(), 0.0);
    QCOMPARE(r.rows[1][2].toDouble(), 50.0);
}

QTEST_GUILESS_MAIN(TstPaymentsData)
#include "tst_payments_data.moc"
