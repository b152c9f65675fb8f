#include "data/dmns.h"
#include "platform/base/clock.h"
#include "platform/report/reportpainter.h"
#include "sales/invoiceprint.h"
#include "sales/qrfaktura.h"
#include "sales/salerecording.h"
#include "support/appfixture.h"
#include "support/pdftext.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Sales::SaleHeader;
using Sales::SaleLine;

// The invoice layouts printed from recorded sales, read back from their PDF.
class TstSalesPrint : public QObject, protected AppFixture
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void invoiceNumbers();
    void recordedTaxInvoice();
    void recordedLayoutsPrintRecordedValues_data();
    void recordedLayoutsPrintRecordedValues();
    void naturalPersonRecipient();
    void longInvoicePaginates_data();
    void longInvoicePaginates();
    void originalsThenCopies();

private:
    SaleHeader header(int type = 0) const;
    static SaleLine line(int material, double quantity, double price, double discount = 0);
    QString record(const SaleHeader& h, const QVector<SaleLine>& lines);
    QString text(const Report::Document& doc, const QString& name) { return pdfText(doc, *dir_, name); }
};

void TstSalesPrint::init()
{
    start();
    Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
    exec(u"insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"_s);
    exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (500, 'Болт М8 поцинкован', 1, 1)"_s);
    exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (501, 'Шайба', 1, 2)"_s);
    exec(u"insert into MOL (NMOL, NKONTRAGENT, IMEMOL) values (70, 60, 'Петър Иванов')"_s);
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, PROCENT_OTST_KONTR, POSTKOD, ADRES, "
         u"DAN_NO, BULSTAT, NMOL) values (60, 1, 'Клиент ООД', 5, 4000, 'ул. Гладстон 5', '123456789', 'BG123456789', 70)"_s);
    exec(u"insert into MOL_FIRMA (NMOL_FIRMA, IMEMOLFIRMA) values (2, 'Мария Колева')"_s);
    for (int m : {500, 501})
        db().executeProcedure(u"ADDDOSTAVKA"_s, {{u"NMATERIAL"_s, m}, {u"KOLICHESTVO"_s, 2000.0}, {u"ED_CENA_LV"_s, 4.0},
                                                 {u"DATEPOLUCHENO"_s, QDate(2026, 11, 1)}, {u"NKONTRAGENT"_s, 61},
                                                 {u"NFAKTURA"_s, u"D1"_s}, {u"DATEFAKTURA"_s, QDate(2026, 11, 1)}});
    exec(u"update FIRMA set IMEFIRMA = 'Търговия ЕООД', ADRES = 'бул. Витоша 10', DAN_NO = '987654321', "
         u"BULSTAT = 'BG987654321', TEL = '02 987 65 43', BANK = 'Първа банка', BANK_CODE = 'FINVBGSF', "
         u"BANK_SMETKA = 'BG80FINV91501000000001', NFAKT_TXT_INT = 1, NFAKT_SIMVOL = 'F', DDS_PROCENT = 20"_s);
    dm().SmpFirma.refresh();
}

void TstSalesPrint::cleanup()
{
    Clock::reset();
    stop();
}

SaleHeader TstSalesPrint::header(int type) const
{
    SaleHeader h;
    h.documentType = type;
    h.counterparty = 60;
    h.recipientName = u"Клиент ООД"_s;
    h.paymentType = 1;
    h.invoiceNumbering = 1;
    h.invoiceNumber = u"F000000057"_s;
    h.vatPct = 20;
    h.recipientDiscountPct = 5;
    h.date = QDate(2026, 12, 9);
    h.taxEvent = QDate(2026, 12, 9);
    h.companyMol = 1;
    h.compiledBy = 2;
    h.office = 1;
    h.vatBasis = 1;
    h.remarks = u"Доставка до склад"_s;
    h.goodsReceived = QDate(2026, 12, 9);
    h.clientName = u"Георги Стоянов"_s;
    h.order = u"П-77"_s;
    return h;
}

SaleLine TstSalesPrint::line(int material, double quantity, double price, double discount)
{
    SaleLine l;
    l.material = material;
    l.quantity = quantity;
    l.priceLv = price;
    l.discountPct = discount;
    return l;
}

QString TstSalesPrint::record(const SaleHeader& h, const QVector<SaleLine>& lines)
{
    return Sales::recordSale(db(), h, lines).saleNumber;
}

void TstSalesPrint::invoiceNumbers()
{
    QCOMPARE(InvoicePrint::taxInvoiceNumber(u"F"_s, 57), u"F000000057"_s);
    QCOMPARE(InvoicePrint::simplifiedInvoiceNumber(57), u"0000000057"_s);
    QCOMPARE(InvoicePrint::simplifiedInvoiceNumber(1234567), u"0001234567"_s);
    QCOMPARE(InvoicePrint::taxInvoiceNumber(u"F"_s, 999999999), u"F999999999"_s);
}

// The worked example: 3 x 10.00 less 10 %, recipient discount 5 %, VAT 20 %.
void TstSalesPrint::recordedTaxInvoice()
{
    const QString sale = record(header(), {line(500, 3, 10, 10)});
    InvoicePrint::RecordedSale recorded(db());
    const std::optional<InvoicePrint::Heading> h = recorded.load(sale);
    QVERIFY(h);
    TQRFaktElementi layout(dm(), recorded.SmpRealizaciaProdagba);
    layout.fill(*h);
    const Report::Document doc = layout.build();
    QCOMPARE(doc.pages.size(), 1);
    const QString t = text(doc, u"faktelementi"_s);
    QVERIFY(QString(t).remove(u' ').contains(u"ФАКТУРА"_s));
    QVERIFY(QString(t).remove(u' ').contains(u"№F000000057/09.12.2026"_s));
    for (const QString& s : {u"F000000057"_s, u"09.12.2026"_s, u"ОРИГИНАЛ"_s, u"Клиент ООД"_s,
                             u"Пловдив"_s, u"ул. Гладстон 5"_s, u"BG123456789"_s, u"Петър Иванов"_s, u"Търговия ЕООД"_s,
                             u"BG987654321"_s, u"София"_s, u"Болт М8 поцинкован"_s, u"бр."_s, u"Мария Колева"_s,
                             u"В брой"_s, u"Чл.66, ал.1, т.1 ЗДДС - 20 %"_s, u"Доставка до склад"_s,
                             u"Георги Стоянов"_s, u"FINVBGSF"_s, u"BG80FINV91501000000001"_s, u"Стр. 1 / 1"_s})
        QVERIFY2(t.contains(s), qPrintable(s + u"\n"_s + t));
    // Line: qty, price, discount, value; then the totals.
    QVERIFY2(t.contains(QRegularExpression(u"Болт М8 поцинкован\\s+бр\\.\\s+3\\.00\\s+10\\.000\\s+10\\.00\\s+27\\.00"_s)),
             qPrintable(t));
    for (const auto& [caption, value] : {std::pair{u"Сума без ДДС :"_s, u"27.00"_s}, {u"Данъчна основа :"_s, u"25.65"_s},
                                         {u"Размер на данъка :"_s, u"5.13"_s},
                                         {u"Сума на данъчна основа и ДДС:"_s, u"30.78"_s}})
        QVERIFY2(t.contains(QRegularExpression(QRegularExpression::escape(caption) + u"\\s+"_s + value)),
                 qPrintable(caption + u"\n"_s + t));
    QVERIFY(t.contains(QRegularExpression(u"Отстъпка:\\s+5\\.00\\s+%\\s+1\\.35"_s)));
    QVERIFY(t.contains(QRegularExpression(u"Данъчна ставка :\\s+20\\s+%"_s)));
    QVERIFY(t.contains(u"Словом: тридесет лева и 78 ст."_s));
    QVERIFY(t.contains(QRegularExpression(u"Сума за плащане:\\s+30\\.78\\s+лв\\."_s)));
}

void TstSalesPrint::recordedLayoutsPrintRecordedValues_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("title");
    QTest::newRow("tax invoice") << 0 << u"F000000057"_s << u"Ф А К Т У Р А"_s;
    QTest::newRow("simplified") << 1 << u"0000000057"_s << u"П Р О Ф О Р М А   Ф А К Т У Р А"_s;
    QTest::newRow("retail chain") << 5 << u"F000000057"_s << u"Ф А К Т У Р А"_s;
}

// A reprint shows what was recorded: the settings changed since (VAT rate, discount, numbering,
// the recipient's discount) do not reach it.
void TstSalesPrint::recordedLayoutsPrintRecordedValues()
{
    QFETCH(int, type);
    QFETCH(QString, number);
    QFETCH(QString, title);
    SaleHeader h = header(type);
    SaleLine l = line(500, 3, 10, 10);
    l.articleRecipient = u"AR-1"_s;
    l.barcode = u"3800123456789"_s;
    const QString sale = record(h, {l});
    exec(u"update FIRMA set DDS_PROCENT = 9, OTST_PROCENT = 3, NFAKT_TXT_INT = 0"_s);
    exec(u"update KONTRAGENTI set PROCENT_OTST_KONTR = 12"_s);
    dm().SmpFirma.refresh();

    InvoicePrint::RecordedSale recorded(db());
    const std::optional<InvoicePrint::Heading> heading = recorded.load(sale);
    QVERIFY(heading);
    std::unique_ptr<TQRInvoice> layout;
    if (type == 0) layout = std::make_unique<TQRFaktElementi>(dm(), recorded.SmpRealizaciaProdagba);
    if (type == 1) layout = std::make_unique<TQRFaktOprostElementi>(dm(), recorded.SmpRealizaciaProdagba);
    if (type == 5) layout = std::make_unique<TQRpFaktDorvexElementi>(dm(), recorded.SmpRealizaciaProdagba);
    layout->fill(*heading);
    const QString t = text(layout->build(), u"recorded%1"_s.arg(type));
    // Letter-spaced titles read back without their spaces.
    QVERIFY2(QString(t).remove(u' ').contains(QString(title).remove(u' ')), qPrintable(t));
    QVERIFY2(t.contains(u"№ "_s + number) || t.contains(u"№  "_s + number) || t.contains(number), qPrintable(t));
    QVERIFY2(t.contains(QRegularExpression(u"Данъчна ставка :\\s+20\\s+%"_s)), qPrintable(t));
    QVERIFY2(t.contains(QRegularExpression(u"Сума на\\s+данъчна основа и ДДС:\\s+30\\.78"_s)), qPrintable(t));
    QVERIFY(t.contains(u"тридесет лева и 78 ст."_s));
    QCOMPARE(t.contains(u"ОРИГИНАЛ"_s), type != 1);
    QCOMPARE(t.contains(u"Стоката получена на:"_s), type != 1);
    QCOMPARE(t.contains(u"Дата на данъчното събитие/дата на плащане :"_s), type != 1);
    if (type == 5) {
        for (const QString& s : {u"AR-1"_s, u"3800123456789"_s, u"П-77"_s, u"Swift BIC код :"_s,
                                 u"Обстоятелства, които определят стоката като ново превозно средство"_s})
            QVERIFY2(t.contains(s), qPrintable(s + u"\n"_s + t));
    }
}

void TstSalesPrint::naturalPersonRecipient()
{
    SaleHeader h = header();
    h.counterpartyType = Sales::NaturalPersonType;
    h.person = {u"Иван Петров"_s, u"с. Лозен"_s, u"8001011234"_s};
    const QString sale = record(h, {line(501, 2, 5)});
    InvoicePrint::RecordedSale recorded(db());
    const std::optional<InvoicePrint::Heading> heading = recorded.load(sale);
    QVERIFY(heading);
    TQRFaktElementi layout(dm(), recorded.SmpRealizaciaProdagba);
    layout.fill(*heading);
    const QString t = text(layout.build(), u"naturalperson"_s);
    QVERIFY2(t.contains(QRegularExpression(u"ЕГН :\\s+8001011234"_s)), qPrintable(t));
    QVERIFY(t.contains(u"Иван Петров"_s));
    QVERIFY(t.contains(u"с. Лозен"_s));
    // Only the supplier's identification number is printed.
    QCOMPARE(t.count(u"Идентификационен № :"_s), 1);
    QCOMPARE(t.count(u"Идентификационен № ДДС :"_s), 1);
    QVERIFY(!t.contains(u"Клиент ООД"_s));
}

void TstSalesPrint::longInvoicePaginates_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("titleOnEveryPage");
    QTest::newRow("tax invoice") << 0 << false;
    QTest::newRow("simplified") << 1 << true;
    QTest::newRow("retail chain") << 5 << true;
}

void TstSalesPrint::longInvoicePaginates()
{
    QFETCH(int, type);
    QFETCH(bool, titleOnEveryPage);
    QVector<SaleLine> lines;
    for (int i = 0; i < 60; ++i) lines << line(i % 2 ? 501 : 500, 1 + i, 2, 0);
    const QString sale = record(header(type), lines);
    InvoicePrint::RecordedSale recorded(db());
    const std::optional<InvoicePrint::Heading> heading = recorded.load(sale);
    QVERIFY(heading);
    std::unique_ptr<TQRInvoice> layout;
    if (type == 0) layout = std::make_unique<TQRFaktElementi>(dm(), recorded.SmpRealizaciaProdagba);
    if (type == 1) layout = std::make_unique<TQRFaktOprostElementi>(dm(), recorded.SmpRealizaciaProdagba);
    if (type == 5) layout = std::make_unique<TQRpFaktDorvexElementi>(dm(), recorded.SmpRealizaciaProdagba);
    layout->fill(*heading);
    const Report::Document doc = layout->build();
    const int pages = int(doc.pages.size());
    QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
    const QStringList texts = text(doc, u"long%1"_s.arg(type)).split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(texts.size(), pages);
    // Sum of 1..60 quantities at 2.00: 3660.00 net, 5 % off 3477.00, VAT 695.40, total 4172.40.
    for (int p = 0; p < pages; ++p) {
        const QString& t = texts[p];
        QVERIFY2(t.contains(u"Наименование"_s), qPrintable(t));
        QVERIFY2(t.contains(u"Стр.%1 %2 / %3"_s.arg(u""_s).arg(p + 1).arg(pages)) ||
                     t.contains(u"Стр. %1 / %2"_s.arg(p + 1).arg(pages)), qPrintable(t));
        QCOMPARE(t.contains(u"Получател"_s), p == 0 || titleOnEveryPage);
        const bool last = p == pages - 1;
        QCOMPARE(t.contains(u"Сума без ДДС :"_s), last);
        if (last) QVERIFY2(t.contains(QRegularExpression(u"Сума на\\s+данъчна основа и ДДС:\\s+4 172\\.40"_s)), qPrintable(t));
    }
    // Every line printed once, numbered.
    const QString all = texts.join(u'\n');
    QVERIFY(all.contains(QRegularExpression(u"\\n\\s*60\\s+"_s)));
}

void TstSalesPrint::originalsThenCopies()
{
    const QString sale = record(header(), {line(500, 3, 10, 10)});
    InvoicePrint::RecordedSale recorded(db());
    const std::optional<InvoicePrint::Heading> heading = recorded.load(sale);
    QVERIFY(heading);
    TQRFaktElementi layout(dm(), recorded.SmpRealizaciaProdagba);
    layout.fill(*heading);
    const Report::Document doc = layout.buildCopies(1, 2);
    QCOMPARE(doc.pages.size(), 3);
    const QStringList texts = text(doc, u"copies"_s).split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(texts.size(), 3);
    QVERIFY(texts[0].contains(u"ОРИГИНАЛ"_s));
    QVERIFY(!texts[1].contains(u"ОРИГИНАЛ"_s));
    QVERIFY(!texts[2].contains(u"ОРИГИНАЛ"_s));
    for (const QString& t : texts) QVERIFY(t.contains(u"30.78"_s));
    // The next preview shows the mark again; no copies prints nothing.
    QVERIFY(text(layout.build(), u"after"_s).contains(u"ОРИГИНАЛ"_s));
    QVERIFY(layout.buildCopies(0, 0).isEmpty());
}

QTEST_MAIN(TstSalesPrint)
#include "tst_sales_print.moc"
