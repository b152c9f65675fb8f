#include "app/formns.h"
#include "data/dmns.h"
#include "data/dmprodagba.h"
#include "platform/dataset/smpdataset.h"
#include "platform/report/reportpreview.h"
#include "platform/widgets/dblookupcombobox.h"
#include "sales/documentprintdialog.h"
#include "sales/formprodagba.h"
#include "sales/formprodagbamateriali.h"
#include "sales/formrealizaciaprint.h"
#include "platform/base/clock.h"
#include "platform/report/reportpainter.h"
#include "sales/invoiceprint.h"
#include "sales/qrfaktura.h"
#include "sales/salerecording.h"
#include "support/appfixture.h"
#include "support/pdftext.h"
#include "support/typing.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QSpinBox>

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

    void newSaleRecordedThenPrinted();
    void refusedSalePrintsNothing();
    void cancelRecordsAndPrintsNothing();
    void noCopiesStillRecords();
    void documentWithoutLayoutSaysNotPrinted();
    void rowsFollowTheDocumentType_data();
    void rowsFollowTheDocumentType();
    void creditNotePreview();
    void reprintLeavesTheSaleAsRecorded();

private:
    TFormProdagba* sale() { return app_->FormProdagba; }
    void openSale();
    void composeInvoice();
    // The dialog's answer: the counts set in their boxes, then its "Печат" (or "Отказ").
    void answerPrintDialog(QList<QPair<const char*, int>> counts, bool print = true);
    QStringList printed() const;  // the PDF files printed, oldest first
    QString printedText(const QString& file) const;
    QString snapshot(const QString& saleNumber);  // every stored column of the sale's rows
    QList<Report::Document> previews_;
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
    Report::setPrintFolder({});
    Clock::reset();
    stop();
}

void TstSalesPrint::openSale()
{
    QDir(dir_->path()).mkpath(u"printed"_s);
    Report::setPrintFolder(dir_->filePath(u"printed"_s));
    exec(u"update FIRMA set SKLOB_DA_NE = 0, CENA_EDRO_DREBNO = 1, VID_RAZPL_KLIENT = 0, OTST_PROCENT = 0, NTIP_DOKUMENT = 0"_s);
    exec(u"update MATERIALI set PRODAGNA_CENA = 10"_s);
    dm().SmpFirma.refresh();
    app_->FormNS->findChild<QAction*>(u"N5ProdFakt"_s)->trigger();
    QVERIFY(sale()->isVisible());
}

// Through the windows: 3 x 10.00 to the recipient of 5 % discount, VAT 20 %: 28.50 + 5.70 = 34.20.
void TstSalesPrint::composeInvoice()
{
    chooseInList(sale()->DBLkpCmBoxImeKontr, u"Клиент ООД"_s);
    chooseInList(sale()->DBLookupComboBox3, u"В брой"_s);
    ui_->onModal = [this](Form* form) {
        [&] {
            TFormProdagbaMateriali* items = app_->FormProdagbaMateriali;
            QCOMPARE(form, items);
            QVERIFY(app_->DMProdagba->SmpProdSkladNalich.locate(u"NMATERIAL"_s, {500}));
            items->EditKolich->setText(u"3"_s);
            clickButton(items, u"SpeedBtnZapMaterial"_s);
            clickButton(items, u"SpeedBtnClose"_s);
        }();
        return form->modalResult();
    };
    clickButton(sale(), u"SpdBtnIzbIzdProdagba"_s);
    ui_->onModal = nullptr;
    QCOMPARE(app_->DMProdagba->SmpProdagbaTempNew.recordCount(), 1);
}

void TstSalesPrint::answerPrintDialog(QList<QPair<const char*, int>> counts, bool print)
{
    ui_->onModal = [this, counts, print](Form* form) {
        if (auto* preview = qobject_cast<Report::ReportPreview*>(form)) {
            previews_ << preview->document();
            return 0;
        }
        for (const auto& [name, n] : counts) form->findChild<QSpinBox*>(QString::fromLatin1(name))->setValue(n);
        clickButton(form, print ? u"BtnPrint"_s : u"BtnCancel"_s);
        return form->modalResult();
    };
}

QStringList TstSalesPrint::printed() const
{
    return QDir(dir_->filePath(u"printed"_s)).entryList({u"*.pdf"_s}, QDir::Files, QDir::Name);
}

QString TstSalesPrint::printedText(const QString& file) const
{
    QProcess proc;
    proc.start(u"pdftotext"_s, {u"-layout"_s, u"-enc"_s, u"UTF-8"_s, dir_->filePath(u"printed/"_s + file), u"-"_s});
    proc.waitForFinished(30000);
    return QString::fromUtf8(proc.readAllStandardOutput());
}

QString TstSalesPrint::snapshot(const QString& saleNumber)
{
    QStringList out;
    for (const QString& table : {u"PRODAGBI"_s, u"PRODAGBI_DOKUMENT"_s, u"PRODAGBI_PLASTANE"_s, u"PRODAGBI_FLICA"_s}) {
        const DbResult r = db().query(u"select * from "_s + table + u" where NUMPRODAGBA = :N"_s, {{u"N"_s, saleNumber}});
        for (const DbRow& row : r.rows)
            for (const QVariant& v : row) out << v.toString();
    }
    return out.join(u'|');
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

void TstSalesPrint::newSaleRecordedThenPrinted()
{
    openSale();
    composeInvoice();
    const QString number = sale()->EditNFakt->text();
    bool rowsAsType = false;
    ui_->onModal = [&](Form* form) {
        auto* dialog = qobject_cast<TFormOKBottomDlg*>(form);
        if (!dialog) return 0;
        // Asked before anything is stored.
        rowsAsType = dialog->SpEdFaktOriginal->isEnabled() && dialog->SpEdFaktPrepis->isEnabled() &&
                     !dialog->SpEdOprostena->isEnabled() && !dialog->SpEdDorvexOriginal->isEnabled() &&
                     count(u"select count(*) from PRODAGBI"_s) == 0;
        dialog->SpEdFaktOriginal->setValue(1);
        dialog->SpEdFaktPrepis->setValue(2);
        clickButton(dialog, u"BtnPrint"_s);
        return dialog->modalResult();
    };
    clickButton(sale(), u"SpeedButton3"_s);
    QVERIFY(rowsAsType);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
    QVERIFY(!sale()->isVisible());
    QCOMPARE(count(u"select count(*) from PRODAGBI where TIP_DOCUMENT = 0 and NFAKT_INT = 1"_s), 1);
    QCOMPARE(printed().size(), 1);
    const QStringList pages = printedText(printed().first()).split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(pages[i].contains(u"ОРИГИНАЛ"_s), i == 0);
        QVERIFY2(QString(pages[i]).remove(u' ').contains(u"№"_s + number + u"/10.12.2026"_s), qPrintable(pages[i]));
        QVERIFY(pages[i].contains(QRegularExpression(u"Сума за плащане:\\s+34\\.20\\s+лв\\."_s)));
        QVERIFY(pages[i].contains(u"тридесет и четири лева и 20 ст."_s));
        QVERIFY(pages[i].contains(u"Клиент ООД"_s));
        QVERIFY(pages[i].contains(u"Пловдив"_s));
    }
    // The counts are kept for the next sale.
    QCOMPARE(app_->FormOKBottomDlg->SpEdFaktPrepis->value(), 2);
}

void TstSalesPrint::refusedSalePrintsNothing()
{
    openSale();
    composeInvoice();
    // Another sale already holds the proposed invoice number.
    record(header(), {line(501, 1, 5)});
    exec(u"update PRODAGBI set NFAKT_INT = 1"_s);
    answerPrintDialog({{"SpEdFaktOriginal", 1}});
    clickButton(sale(), u"SpeedButton3"_s);
    QVERIFY(!ui_->texts(RecordingUi::Kind::Message).isEmpty());
    QVERIFY(sale()->isVisible());
    QCOMPARE(app_->DMProdagba->SmpProdagbaTempNew.recordCount(), 1);
    QCOMPARE(count(u"select count(*) from PRODAGBI"_s), 1);
    QCOMPARE(printed(), QStringList());
}

void TstSalesPrint::cancelRecordsAndPrintsNothing()
{
    openSale();
    composeInvoice();
    answerPrintDialog({{"SpEdFaktOriginal", 2}}, false);
    clickButton(sale(), u"SpeedButton3"_s);
    QVERIFY(sale()->isVisible());
    QCOMPARE(count(u"select count(*) from PRODAGBI"_s), 0);
    QCOMPARE(printed(), QStringList());
}

void TstSalesPrint::noCopiesStillRecords()
{
    openSale();
    composeInvoice();
    answerPrintDialog({{"SpEdFaktOriginal", 0}, {"SpEdFaktPrepis", 0}});
    clickButton(sale(), u"SpeedButton3"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
    QCOMPARE(count(u"select count(*) from PRODAGBI"_s), 1);
    QCOMPARE(printed(), QStringList());
}

void TstSalesPrint::documentWithoutLayoutSaysNotPrinted()
{
    // A stock receipt has no layout yet: asked for a copy, the user is told nothing was printed.
    SaleHeader h = header(2);
    h.stockReceiptNumber = u"12"_s;
    const QString number = record(h, {line(501, 1, 5)});
    answerPrintDialog({{"SpEdStokRazp", 1}});
    app_->FormRealizaciaPrint->open(number);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{u"Документът не е отпечатан !"_s});
    QCOMPARE(printed(), QStringList());
}

void TstSalesPrint::rowsFollowTheDocumentType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("enabled");
    QTest::newRow("tax invoice") << 0 << QStringList{u"SpEdFaktOriginal"_s, u"SpEdFaktPrepis"_s};
    QTest::newRow("simplified") << 1 << QStringList{u"SpEdOprostena"_s};
    QTest::newRow("stock receipt") << 2 << QStringList{u"SpEdStokRazp"_s};
    QTest::newRow("consignment") << 3 << QStringList{u"SpEdKonsign"_s};
    QTest::newRow("chain receipt") << 4 << QStringList{u"SpEdDorvStRazp"_s};
    QTest::newRow("chain invoice") << 5 << QStringList{u"SpEdDorvexOriginal"_s, u"SpEdDorvexPrepis"_s};
    QTest::newRow("three currencies") << 6 << QStringList{u"SpEdStRazpValuti"_s};
    QTest::newRow("dispatch note") << 7 << QStringList{};
    QTest::newRow("credit note") << 10 << QStringList{u"SpEdFaktOriginal"_s, u"SpEdFaktPrepis"_s};
}

void TstSalesPrint::rowsFollowTheDocumentType()
{
    QFETCH(int, type);
    QFETCH(QStringList, enabled);
    TFormOKBottomDlg* dialog = app_->FormOKBottomDlg;
    QStringList seen;
    ui_->onModal = [&](Form*) {
        for (QSpinBox* spin : dialog->findChildren<QSpinBox*>())
            if (spin->isEnabled()) seen << spin->objectName();
        return 0;
    };
    QVERIFY(!dialog->ask(type));
    seen.sort();
    enabled.sort();
    QCOMPARE(seen, enabled);
}

void TstSalesPrint::creditNotePreview()
{
    openSale();
    chooseInList(sale()->DBLkpCmBIzborTipDok, u"Кредитно известие"_s);
    QCOMPARE(sale()->documentType(), 10);
    composeInvoice();
    typeText(sale()->EditNfaktKred, u"0000000007 / 01.12.2026"_s);
    answerPrintDialog({});
    clickButton(sale(), u"SpBtnPrintDocument"_s);
    QCOMPARE(previews_.size(), 1);
    const QString t = text(previews_.first(), u"kreditnoizv"_s);
    QVERIFY2(QString(t).remove(u' ').contains(u"КРЕДИТНОИЗВЕСТИЕ"_s), qPrintable(t));
    QVERIFY(t.contains(u"към Фактура №"_s));
    QVERIFY(t.contains(u"0000000007 / 01.12.2026"_s));
    QVERIFY(t.contains(u"ОРИГИНАЛ"_s));
    QVERIFY(t.contains(u"34.20"_s));
    QVERIFY(!t.contains(u"Документ №"_s));
    // A preview stores nothing.
    QCOMPARE(count(u"select count(*) from PRODAGBI"_s), 0);
}

void TstSalesPrint::reprintLeavesTheSaleAsRecorded()
{
    QDir(dir_->path()).mkpath(u"printed"_s);
    Report::setPrintFolder(dir_->filePath(u"printed"_s));
    const QString saleNumber = record(header(1), {line(500, 3, 10, 10)});
    const QString before = snapshot(saleNumber);
    exec(u"update FIRMA set DDS_PROCENT = 9, NTIP_DOKUMENT = 0"_s);
    TFormRealizaciaPrint* dialog = app_->FormRealizaciaPrint;
    answerPrintDialog({{"SpEdOprostena", 2}}, false);
    dialog->open(saleNumber);
    QCOMPARE(printed(), QStringList());
    answerPrintDialog({{"SpEdOprostena", 2}});
    dialog->open(saleNumber);
    QVERIFY(dialog->SpEdOprostena->isEnabled());
    QVERIFY(!dialog->SpEdFaktOriginal->isEnabled());
    QCOMPARE(printed().size(), 1);
    const QString t = printedText(printed().first());
    QCOMPARE(t.count(u'\f'), 2);
    QVERIFY(t.contains(u"0000000057"_s));
    QVERIFY(t.contains(QRegularExpression(u"Данъчна ставка :\\s+20\\s+%"_s)));
    QCOMPARE(snapshot(saleNumber), before);
    QCOMPARE(count(u"select NTIP_DOKUMENT from FIRMA"_s), 0);
    // An unknown sale is told, and nothing is asked.
    ui_->clear();
    dialog->open(u"20990101001"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{u"Няма продажба с номер 20990101001 !"_s});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList());
}

QTEST_MAIN(TstSalesPrint)
#include "tst_sales_print.moc"
