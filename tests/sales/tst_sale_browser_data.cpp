#include "platform/base/clock.h"
#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "sales/salebrowser.h"
#include "sales/salerecording.h"
#include "support/dbfixture.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Sales::SaleHeader;
using Sales::SaleLine;

// The recorded sale as the browser reads and corrects it, against a real database.
class TstSaleBrowserData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(10, 0))); }
    void cleanupTestCase() { Clock::reset(); }
    void init();
    void cleanup() { f_.stop(); }

    void linesCarryTheirKeyAndDocumentValues();
    void selectionByInvoiceOrSale_data();
    void selectionByInvoiceOrSale();
    void priceCorrectionKeepsTheOtherBatchsPrice();
    void headerCorrectionOnEveryLine();
    void paymentTypeAndCompilerFallBack_data();
    void paymentTypeAndCompilerFallBack();
    void lineCorrectionOnlyForOneSale();
    void deleteRestoresStockAndRemovesEveryRow();
    void deleteFailureLeavesEverything();
    void consignmentNeverBeyondWhatWasGiven_data();
    void consignmentNeverBeyondWhatWasGiven();
    void invoiceNumberBox_data();
    void invoiceNumberBox();
    void proposedInvoiceNumbers();

private:
    SaleHeader header(int type) const;
    static SaleLine line(int material, double quantity, double price, int stockLine = 0);
    DbResult lines(int selection, const QVariant& text, const QVariant& integer, const QString& sale);
    QString consignmentSale();
    double onHand(int material) { return Sales::warehouseStockOf(f_.db(), material); }
    DbFixture f_;
};

void TstSaleBrowserData::init()
{
    f_.start();
    f_.exec(u"insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"_s);
    for (const auto& [n, name] : {std::pair{500, "Болт М8"}, {501, "Шайба 8"}})
        f_.exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA) values (:N, :I, 1, 1, 10)"_s,
                {{u"N"_s, n}, {u"I"_s, QString::fromUtf8(name)}});
    f_.exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (60, 1, 'Строй ООД')"_s);
    f_.exec(u"insert into VIDPLASTANE (NVIDPLASTANE, VIDPLASTANE) values (7, 'Банков път')"_s);
    f_.exec(u"insert into MOL_FIRMA (NMOL_FIRMA, IMEMOLFIRMA) values (8, 'Мария Петрова')"_s);
    // Two batches (delivery lines) of each material: 10 then 5.
    for (int m : {500, 501})
        for (const auto& [qty, day] : {std::pair{10.0, 1}, {5.0, 2}})
            f_.db().executeProcedure(u"ADDDOSTAVKA"_s,
                                     {{u"NMATERIAL"_s, m}, {u"KOLICHESTVO"_s, qty}, {u"ED_CENA_LV"_s, 4.0},
                                      {u"DATEPOLUCHENO"_s, QDate(2026, 11, day)}, {u"NKONTRAGENT"_s, 61},
                                      {u"NFAKTURA"_s, u"D1"_s}, {u"DATEFAKTURA"_s, QDate(2026, 11, day)}});
}

SaleHeader TstSaleBrowserData::header(int type) const
{
    SaleHeader h;
    h.documentType = type;
    h.counterparty = 60;
    h.recipientName = u"Строй ООД"_s;
    h.paymentType = 7;
    h.invoiceNumbering = 0;
    if (type == 0) h.invoiceNumber = u"1000000005"_s;
    if (type == 2) h.stockReceiptNumber = u"41"_s;
    if (type == 3) h.consignmentNumber = u"12"_s;
    h.vatPct = 20;
    h.recipientDiscountPct = 10;
    h.date = QDate(2026, 12, 9);
    h.companyMol = 1;
    h.compiledBy = 8;
    h.office = 1;
    h.remarks = u"Доставка до обекта"_s;
    return h;
}

SaleLine TstSaleBrowserData::line(int material, double quantity, double price, int stockLine)
{
    SaleLine l;
    l.material = material;
    l.quantity = quantity;
    l.priceLv = price;
    l.stockLine = stockLine;
    return l;
}

DbResult TstSaleBrowserData::lines(int selection, const QVariant& text, const QVariant& integer, const QString& sale)
{
    return f_.db().query(u"select * from REALIZACIA_PRODAGBA(:S, :T, :I, :P)"_s,
                         {{u"S"_s, selection}, {u"T"_s, text}, {u"I"_s, integer}, {u"P"_s, sale}});
}

QString TstSaleBrowserData::consignmentSale()
{
    return Sales::recordSale(f_.db(), header(3), {line(500, 10, 3)}).saleNumber;
}

// Each line comes back with its own key, the prices with VAT of a stock receipt and the sale's
// totals repeated on every line.
void TstSaleBrowserData::linesCarryTheirKeyAndDocumentValues()
{
    SaleLine a = line(500, 4, 10);
    a.discountPct = 5;
    const Sales::Recorded r = Sales::recordSale(f_.db(), header(2), {a, line(501, 2, 2.5)});
    const DbResult rows = lines(2, {}, {}, r.saleNumber);
    QCOMPARE(rows.rows.size(), std::size_t(2));
    for (std::size_t i = 0; i < 2; ++i) {
        QCOMPARE(rows.value(i, u"AUTONUM"_s).toInt(), r.lineKeys[int(i)]);
        QCOMPARE(rows.value(i, u"IMEKONTRAGENT"_s).toString(), u"Строй ООД"_s);
        QCOMPARE(rows.value(i, u"IMEVIDPLASTANE"_s).toString(), u"Банков път"_s);
        QCOMPARE(rows.value(i, u"IME_MOL_FIRMA_SYSTAVIL"_s).toString(), u"Мария Петрова"_s);
        QCOMPARE(rows.value(i, u"NSTOK_RAZP"_s).toInt(), 41);
        // (4 * 12 * 0.95 + 2 * 3) = 51.6 less 10 % = 46.44.
        QVERIFY(qAbs(rows.value(i, u"SUMA_FAKTURA_DDS"_s).toDouble() - 51.6) < 1e-9);
        QVERIFY(qAbs(rows.value(i, u"SUMA_OTST_DDS"_s).toDouble() - 5.16) < 1e-9);
        QVERIFY(qAbs(rows.value(i, u"SUMA_PLASTANE"_s).toDouble() - 46.44) < 1e-9);
        QVERIFY(qAbs(rows.value(i, u"SUMA_DDS_FAKTURA"_s).toDouble() - 46.44) < 1e-9);
    }
    QCOMPARE(rows.value(0, u"IME_MATERIAL_IZDELIE"_s).toString(), u"Болт М8"_s);
    QVERIFY(qAbs(rows.value(0, u"CENA_MAT_IZD_DDS"_s).toDouble() - 12.0) < 1e-9);
    QVERIFY(qAbs(rows.value(0, u"CENA_OBSTO_MAT_IZD_DDS"_s).toDouble() - 45.6) < 1e-9);
    QVERIFY(qAbs(rows.value(0, u"CENA_OBSTO_MATERIAL_IZDELIE"_s).toDouble() - 38.0) < 1e-9);

    // An invoice adds VAT once, on the total: 4 * 10 less 10 % = 36, with 20 % = 43.2.
    const Sales::Recorded inv = Sales::recordSale(f_.db(), header(0), {line(500, 4, 10)});
    const DbResult i = lines(2, {}, {}, inv.saleNumber);
    QVERIFY(qAbs(i.value(0, u"CENA_MAT_IZD_DDS"_s).toDouble() - 10.0) < 1e-9);
    QVERIFY(qAbs(i.value(0, u"OBLAGAEMA_ST"_s).toDouble() - 36.0) < 1e-9);
    QVERIFY(qAbs(i.value(0, u"DDS_FAKTURA"_s).toDouble() - 7.2) < 1e-9);
    QVERIFY(qAbs(i.value(0, u"SUMA_DDS_FAKTURA"_s).toDouble() - 43.2) < 1e-9);
}

void TstSaleBrowserData::selectionByInvoiceOrSale_data()
{
    QTest::addColumn<int>("selection");
    QTest::addColumn<int>("expected");
    QTest::newRow("text invoice number: both sales of the summary invoice") << 0 << 3;
    QTest::newRow("integer invoice number") << 1 << 1;
    QTest::newRow("sale number: its own lines") << 2 << 2;
}

void TstSaleBrowserData::selectionByInvoiceOrSale()
{
    QFETCH(int, selection);
    QFETCH(int, expected);
    const QString a = Sales::recordSale(f_.db(), header(2), {line(500, 1, 1), line(501, 1, 1)}).saleNumber;
    SaleHeader other = header(2);
    other.stockReceiptNumber = u"42"_s;
    const QString b = Sales::recordSale(f_.db(), other, {line(500, 1, 1)}).saleNumber;
    // A summary invoice gave both sales one text number; the second also carries an integer one.
    f_.exec(u"update PRODAGBI set NFAKTURA = '1000000077'"_s);
    f_.exec(u"update PRODAGBI set NFAKT_INT = 77 where NUMPRODAGBA = :B"_s, {{u"B"_s, b}});
    QCOMPARE(int(lines(selection, u"1000000077"_s, 77, a).rows.size()), expected);
}

// Two batches of one material on one sale: correcting the second line's price leaves the first
// line's price as it was.
void TstSaleBrowserData::priceCorrectionKeepsTheOtherBatchsPrice()
{
    const DbResult batches = f_.db().query(u"select AUTONUM from SKLAD where NMATERIAL = 500 order by AUTONUM"_s);
    const Sales::Recorded r = Sales::recordSale(
        f_.db(), header(2), {line(500, 3, 10, batches.rows[0][0].toInt()), line(500, 2, 12, batches.rows[1][0].toInt())});
    SaleBrowser::HeaderCorrection h;
    h.saleNumber = r.saleNumber;
    h.paymentType = 7, h.compiledBy = 8, h.documentType = 2, h.stockReceipt = 41;
    QVector<SaleBrowser::PriceCorrection> corrections;
    const DbResult rows = lines(2, {}, {}, r.saleNumber);
    for (std::size_t i = 0; i < rows.rows.size(); ++i) {
        SaleBrowser::PriceCorrection c;
        c.key = rows.value(i, u"AUTONUM"_s).toInt();
        c.saleNumber = rows.value(i, u"NUMPRODAGBA"_s).toString();
        c.invoiceText = rows.value(i, u"NFAKTURA"_s);
        c.date = rows.value(i, u"DATEFAKTURA"_s).toDate();
        c.material = rows.value(i, u"NUMMATERIAL"_s).toInt();
        c.priceLv = rows.value(i, u"CENA_MATERIAL_IZDELIE"_s).toDouble();
        corrections << c;
    }
    corrections[1].priceLv = 11.5;
    corrections[1].discountPct = 3;
    SaleBrowser::saveCorrections(f_.db(), h, corrections);
    const DbResult after = f_.db().query(u"select CENA_MATERIAL_IZDELIE, OTST_IZDELIE from PRODAGBI where NUMPRODAGBA = :N "
                                         u"order by AUTONUM"_s,
                                         {{u"N"_s, r.saleNumber}});
    QCOMPARE(after.rows[0][0].toDouble(), 10.0);
    QCOMPARE(after.rows[0][1].toDouble(), 0.0);
    QCOMPARE(after.rows[1][0].toDouble(), 11.5);
    QCOMPARE(after.rows[1][1].toDouble(), 3.0);
}

void TstSaleBrowserData::headerCorrectionOnEveryLine()
{
    const Sales::Recorded r = Sales::recordSale(f_.db(), header(2), {line(500, 1, 10), line(501, 1, 5)});
    SaleBrowser::HeaderCorrection h;
    h.saleNumber = r.saleNumber;
    h.paymentType = 1, h.compiledBy = 8, h.documentType = 7, h.stockReceipt = 43, h.dispatchNote = 9;
    h.order = u"П-15"_s, h.transport = u"СА 1234 ВК"_s, h.remarks = u"Разтоварване с кран"_s;
    h.goodsReceived = QDate(2026, 12, 11), h.taxEvent = QDate(2026, 12, 9);
    h.clientName = u"Иван Иванов"_s, h.clientEgn = u"7501011234"_s, h.clientLk = u"645123987"_s;
    SaleBrowser::saveCorrections(f_.db(), h, {});
    const DbResult rows = f_.db().query(
        u"select NVIDPLASTANE, TIP_DOCUMENT, NSTOK_RAZP, NEKSP_BEL, NPORYCHKA, NUM_TRANSPORT, BELEGKA, CLIENT_IME, "
        u"CLIENT_STOKA_POLUCHENA_DATE, CLIENT_LK_IZD from PRODAGBI where NUMPRODAGBA = :N"_s,
        {{u"N"_s, r.saleNumber}});
    QCOMPARE(rows.rows.size(), std::size_t(2));
    for (std::size_t i = 0; i < 2; ++i) {
        QCOMPARE(rows.value(i, u"NVIDPLASTANE"_s).toInt(), 1);
        QCOMPARE(rows.value(i, u"TIP_DOCUMENT"_s).toInt(), 7);
        QCOMPARE(rows.value(i, u"NSTOK_RAZP"_s).toInt(), 43);
        QCOMPARE(rows.value(i, u"NEKSP_BEL"_s).toInt(), 9);
        QCOMPARE(rows.value(i, u"NPORYCHKA"_s).toString(), u"П-15"_s);
        QCOMPARE(rows.value(i, u"NUM_TRANSPORT"_s).toString(), u"СА 1234 ВК"_s);
        QCOMPARE(rows.value(i, u"BELEGKA"_s).toString(), u"Разтоварване с кран"_s);
        QCOMPARE(rows.value(i, u"CLIENT_IME"_s).toString(), u"Иван Иванов"_s);
        QCOMPARE(rows.value(i, u"CLIENT_STOKA_POLUCHENA_DATE"_s).toDate(), QDate(2026, 12, 11));
        QCOMPARE(rows.value(i, u"CLIENT_LK_IZD"_s).toDate(), QDate(2026, 12, 9));
    }
}

void TstSaleBrowserData::paymentTypeAndCompilerFallBack_data()
{
    QTest::addColumn<int>("chosen");  // -1: the box shows no choice
    QTest::addColumn<QString>("recordedName");
    QTest::addColumn<int>("expectedPayment");
    QTest::newRow("the user's choice") << 1 << u"Банков път"_s << 1;
    QTest::newRow("found by the recorded name") << -1 << u"Банков път"_s << 7;
    QTest::newRow("no such name: the recorded key, never empty") << -1 << u"Изтрит вид"_s << 7;
    QTest::newRow("no recorded name: the recorded key") << -1 << QString() << 7;
}

void TstSaleBrowserData::paymentTypeAndCompilerFallBack()
{
    QFETCH(int, chosen);
    QFETCH(QString, recordedName);
    QFETCH(int, expectedPayment);
    const Sales::Recorded r = Sales::recordSale(f_.db(), header(2), {line(500, 1, 10)});
    const std::optional<int> choice = chosen < 0 ? std::nullopt : std::optional<int>(chosen);
    SaleBrowser::HeaderCorrection h;
    h.saleNumber = r.saleNumber;
    h.documentType = 2;
    h.paymentType = SaleBrowser::keyOrRecorded(choice, SaleBrowser::paymentTypeByName(f_.db(), recordedName), 7);
    const QString employee = recordedName == u"Банков път"_s ? u"Мария Петрова"_s : recordedName;
    h.compiledBy = SaleBrowser::keyOrRecorded(std::nullopt, SaleBrowser::employeeByName(f_.db(), employee), 8);
    SaleBrowser::saveCorrections(f_.db(), h, {});
    const DbResult row = f_.db().query(u"select NVIDPLASTANE, NMOL_FIRMA_SYSTAVIL from PRODAGBI where NUMPRODAGBA = :N"_s,
                                       {{u"N"_s, r.saleNumber}});
    QVERIFY(!row.rows[0][0].isNull());
    QCOMPARE(row.rows[0][0].toInt(), expectedPayment);
    QCOMPARE(row.rows[0][1].toInt(), 8);
}

void TstSaleBrowserData::lineCorrectionOnlyForOneSale()
{
    QCOMPARE(SaleBrowser::lineCorrectionRefusal({u"20261210001"_s, u"20261210001"_s}), QString());
    QCOMPARE(SaleBrowser::lineCorrectionRefusal({}), QString());
    QVERIFY(SaleBrowser::lineCorrectionRefusal({u"20261210001"_s, u"20261210002"_s, u"20261210001"_s})
                .startsWith(u"Редовете са от 2 продажби"_s));
}

// The sale with a deferred payment, consignment settlements, a natural person and returned goods
// goes entirely; its stock is on hand again.
void TstSaleBrowserData::deleteRestoresStockAndRemovesEveryRow()
{
    SaleHeader h = header(3);
    h.payAtOnce = false;
    h.paidNowLv = 5;
    const QString sale = Sales::recordSale(f_.db(), h, {line(500, 10, 3), line(501, -2, 3)}).saleNumber;
    QCOMPARE(onHand(500), 5.0);
    QCOMPARE(onHand(501), 17.0);
    f_.exec(u"insert into PRODAGBI_PLASTANE (NUMPRODAGBA, NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA) values (:N, 60, '12.12.2026', 20)"_s,
            {{u"N"_s, sale}});
    f_.exec(u"insert into PRODAGBI_KONSIGN (NUMPRODAGBA, NMATERIAL, DATE_PLATENO, BROI_MAT_IZD_PLATENO) values (:N, 500, '12.12.2026', 4)"_s,
            {{u"N"_s, sale}});
    f_.exec(u"insert into PRODAGBI_KONSIGN_VYRNATO (NUMPRODAGBA, NMATERIAL, DATE_VYRNATO, BROI_MAT_IZD_VYRNATO) values (:N, 500, '13.12.2026', 2)"_s,
            {{u"N"_s, sale}});
    SaleBrowser::deleteSale(f_.db(), sale);
    for (const char* table : {"PRODAGBI", "PRODAGBI_PLASTANE", "PRODAGBI_DOKUMENT", "PRODAGBI_MATERIALI",
                              "PRODAGBI_KONSIGN", "PRODAGBI_KONSIGN_VYRNATO"})
        QVERIFY2(f_.count(u"select count(*) from "_s + QString::fromLatin1(table) + u" where NUMPRODAGBA = :N"_s,
                          {{u"N"_s, sale}}) == 0,
                 table);
    QCOMPARE(f_.count(u"select count(*) from SKLAD_DVIGENIE where DOK_NOMER = :N"_s, {{u"N"_s, sale}}), 0);
    QCOMPARE(onHand(500), 15.0);
    QCOMPARE(onHand(501), 15.0);  // the returned goods' delivery line is gone again
}

void TstSaleBrowserData::deleteFailureLeavesEverything()
{
    const QString sale = consignmentSale();
    f_.exec(u"insert into PRODAGBI_PLASTANE (NUMPRODAGBA, NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA) values (:N, 60, '12.12.2026', 20)"_s,
            {{u"N"_s, sale}});
    f_.exec(u"insert into PRODAGBI_KONSIGN (NUMPRODAGBA, NMATERIAL, DATE_PLATENO, BROI_MAT_IZD_PLATENO) values (:N, 500, '12.12.2026', 4)"_s,
            {{u"N"_s, sale}});
    // The last step fails: the sale's document row cannot be removed.
    f_.db().executeImmediate(u"create exception T_FAULT 'injected'"_s);
    f_.db().executeImmediate(u"create trigger T_FAULT_BD for PRODAGBI_DOKUMENT before delete as begin exception T_FAULT; end"_s);
    const auto rows = [&] {
        return f_.count(u"select (select count(*) from PRODAGBI where NUMPRODAGBA = :N)"
                        u" + (select count(*) from PRODAGBI_PLASTANE where NUMPRODAGBA = :N)"
                        u" + (select count(*) from PRODAGBI_KONSIGN where NUMPRODAGBA = :N)"
                        u" + (select count(*) from SKLAD_DVIGENIE where DOK_NOMER = :N) from rdb$database"_s,
                        {{u"N"_s, sale}});
    };
    const int before = rows();
    QVERIFY(before >= 4);
    QVERIFY_THROWS_EXCEPTION(DbError, SaleBrowser::deleteSale(f_.db(), sale));
    QCOMPARE(rows(), before);
    QCOMPARE(onHand(500), 5.0);
}

void TstSaleBrowserData::consignmentNeverBeyondWhatWasGiven_data()
{
    QTest::addColumn<double>("paid");
    QTest::addColumn<double>("returned");
    QTest::addColumn<bool>("stored");
    QTest::newRow("6 paid and 4 returned of 10") << 6.0 << 4.0 << true;
    QTest::newRow("6 paid and 5 returned of 10") << 6.0 << 5.0 << false;
    QTest::newRow("11 paid of 10") << 11.0 << 0.0 << false;
    QTest::newRow("a negative return") << 2.0 << -1.0 << false;
}

void TstSaleBrowserData::consignmentNeverBeyondWhatWasGiven()
{
    QFETCH(double, paid);
    QFETCH(double, returned);
    QFETCH(bool, stored);
    const QString sale = consignmentSale();
    const auto insert = [&](const QString& table, const QString& dateColumn, const QString& column, double qty) {
        f_.exec(u"insert into "_s + table + u" (NUMPRODAGBA, NMATERIAL, "_s + dateColumn + u", "_s + column
                    + u") values (:N, 500, '12.12.2026', :Q)"_s,
                {{u"N"_s, sale}, {u"Q"_s, qty}});
    };
    bool ok = true;
    try {
        insert(u"PRODAGBI_KONSIGN"_s, u"DATE_PLATENO"_s, u"BROI_MAT_IZD_PLATENO"_s, paid);
        if (returned != 0) insert(u"PRODAGBI_KONSIGN_VYRNATO"_s, u"DATE_VYRNATO"_s, u"BROI_MAT_IZD_VYRNATO"_s, returned);
    } catch (const DbError& e) {
        ok = false;
        QVERIFY2(e.message().contains(u"надхвърля количеството"_s), qPrintable(e.message()));
    }
    QCOMPARE(ok, stored);
    const DbResult row = lines(2, {}, {}, sale);
    QVERIFY(row.value(0, u"SUM_BROI_MAT_IZD_PLATENO"_s).toDouble() + row.value(0, u"SUM_BROI_MAT_IZD_VYRNATO"_s).toDouble()
            <= 10.0);
    if (!stored) return;
    // Raising a stored row beyond the rest is refused as well.
    QVERIFY_THROWS_EXCEPTION(DbError, f_.exec(u"update PRODAGBI_KONSIGN set BROI_MAT_IZD_PLATENO = 7"_s));
    f_.exec(u"update PRODAGBI_KONSIGN set BROI_MAT_IZD_PLATENO = 5"_s);
    QCOMPARE(f_.count(u"select sum(BROI_MAT_IZD_PLATENO) from PRODAGBI_KONSIGN"_s), 5);
}

void TstSaleBrowserData::invoiceNumberBox_data()
{
    QTest::addColumn<int>("numbering");
    QTest::addColumn<QVariant>("text");
    QTest::addColumn<QVariant>("integer");
    QTest::addColumn<QString>("shown");
    QTest::newRow("integer 45") << 1 << QVariant() << QVariant(45) << u"F000000045"_s;
    QTest::newRow("integer 7") << 1 << QVariant() << QVariant(7) << u"F000000007"_s;
    QTest::newRow("integer 1234567") << 1 << QVariant() << QVariant(1234567) << u"F001234567"_s;
    QTest::newRow("integer of eight digits unchanged") << 1 << QVariant() << QVariant(12345678) << u"F12345678"_s;
    QTest::newRow("integer 0 unchanged") << 1 << QVariant() << QVariant(0) << u"F0"_s;
    QTest::newRow("text as stored") << 0 << QVariant(u"1000000012"_s) << QVariant(12) << u"1000000012"_s;
    QTest::newRow("empty text") << 0 << QVariant() << QVariant() << u"0"_s;
}

void TstSaleBrowserData::invoiceNumberBox()
{
    QFETCH(int, numbering);
    QFETCH(QVariant, text);
    QFETCH(QVariant, integer);
    QFETCH(QString, shown);
    QCOMPARE(SaleBrowser::invoiceNumberText(numbering, text, integer, u"F"_s), shown);
}

void TstSaleBrowserData::proposedInvoiceNumbers()
{
    QCOMPARE(SaleBrowser::proposeInvoiceNumber(f_.db(), 0, 1), std::optional<QString>(u"1000000001"_s));
    QCOMPARE(SaleBrowser::proposeInvoiceNumber(f_.db(), 0, 2), std::optional<QString>(u"2000000001"_s));
    QCOMPARE(SaleBrowser::proposeInvoiceNumber(f_.db(), 1, 1), std::optional<QString>(u"1"_s));
    QCOMPARE(SaleBrowser::proposeInvoiceNumber(f_.db(), 0, 3), std::nullopt);
    Sales::recordSale(f_.db(), header(0), {line(500, 1, 1)});
    f_.exec(u"update PRODAGBI set NFAKT_INT = 44"_s);
    QCOMPARE(SaleBrowser::proposeInvoiceNumber(f_.db(), 0, 1), std::optional<QString>(u"1000000006"_s));
    QCOMPARE(SaleBrowser::proposeInvoiceNumber(f_.db(), 0, 2), std::optional<QString>(u"2000000001"_s));
    QCOMPARE(SaleBrowser::proposeInvoiceNumber(f_.db(), 1, 1), std::optional<QString>(u"45"_s));
    QCOMPARE(SaleBrowser::netWeight(u"120.5"_s, u"20"_s), u"100.5"_s);
    QCOMPARE(SaleBrowser::netWeight(u"120.5"_s, QString()), u"120.5"_s);
}

QTEST_GUILESS_MAIN(TstSaleBrowserData)
#include "tst_sale_browser_data.moc"
