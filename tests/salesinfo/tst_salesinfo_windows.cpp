#include "app/formns.h"
#include "data/dmnsspravki.h"
#include "data/dmprodagba.h"
#include "data/dmsklspravki.h"
#include "platform/base/clock.h"
#include "platform/report/reportpreview.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/radiogroup.h"
#include "sales/formprodagba.h"
#include "sales/formprodagbamateriali.h"
#include "sales/salerecording.h"
#include "salesinfo/formgotovaprod.h"
#include "salesinfo/formklientioborot.h"
#include "salesinfo/formprodpomeseci.h"
#include "salesinfo/formsprprodagbi.h"
#include "salesinfo/formsprrealizaciarazplastania.h"
#include "salesinfo/formvlmatizd.h"
#include "support/appfixture.h"
#include "support/pdftext.h"
#include "support/typing.h"
#include "support/workbookreader.h"
#include "warehouse/formsprskladdvigenie.h"

#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// The identification number that prints the sales report without clients in this installation.
const QString kSpecialId = u"999888777"_s;
const QDate kToday(2026, 12, 10);
} // namespace

// The sales information window and the inquiries of its menu, driven as a user does over a year of
// sales of four clients: the kinds of sales, the way into a sale or an invoice, the payments with
// their colours, the turnover, the monthly sales, the summary invoice over three stock receipts,
// the period reports read back from PDF and the exports read back from the workbooks.
class TstSalesInfoWindows : public QObject, public AppFixture
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Clock::setFixed(QDateTime(kToday, QTime(10, 0)));
        QStandardPaths::setTestModeEnabled(true);
    }
    void cleanupTestCase() { Clock::reset(); }
    void init();
    void cleanup();

    void kindsOfSales_data();
    void kindsOfSales();
    void saleAndInvoiceInformation_data();
    void saleAndInvoiceInformation();
    void datesPickedReloadTheLists();
    void restoringKeepsWhatWasSet();
    void clientPaymentsColoursAndTotals();
    void turnoverByTabAndFilter();
    void monthlySalesOfAWarehouse();
    void summaryInvoiceRefusals();
    void summaryInvoiceOverThreeStockReceipts();
    void salesReportLandscape();
    void salesReportWithoutClients();
    void salesPerArticleReport();
    void inquiryToWorkbook();
    void productsMadeWithAMaterial();

private:
    struct Recorded
    {
        QString saleNumber;
        QList<int> lines;
    };
    Recorded sell(const QString& name, int type, int client, const QDate& date, const QVector<Sales::SaleLine>& lines,
                  double paid, double vat = 20, const QString& receivedBy = {});
    static Sales::SaleLine item(int material, double qty, double lv, double usd = 0);

    TFormGotovaProd* hub() { return app_->FormGotovaProd; }
    TFormSprProdagbi* inquiry() { return app_->FormSprProdagbi; }
    TDMNsSpravki& spravki() { return *app_->DMNsSpravki; }
    void openHub();
    void openFromHub(const char* item);
    // The sales inquiry of one client, chosen by type and name as a user does.
    void openInquiryFor(const QString& client);
    // Makes the inquiry row of the sale line current and clicks "> фактура".
    void mark(int line);
    // A date set at once, as a day picked in the calendar.
    static void pick(QDateEdit* box, const QDate& date) { box->setDate(date); }
    QColor rowColour(const DBGrid* grid, SmpDataset& ds, const QString& field, const QVariant& value);
    QString pdf(const QString& name) { return pdfText(lastPreview_, *dir_, name); }
    // The page size pdfinfo reads from the PDF written by pdf(), in points.
    QSizeF pdfPageSize(const QString& name);
    // The workbooks written for the dataset (named after it), newest last.
    static QStringList workbooks(const QString& stem);
    static Sheet exported(const QString& stem, const std::function<void()>& click);

    QMap<QString, Recorded> sales_;
    QMap<int, int> numbers_;  // the last document number per type
    QMap<QString, std::function<void(Form*)>> scripts_;
    Report::Document lastPreview_;
    int previews_ = 0;
    QList<TFormGotovaProd::BrowserRequest> browsed_;
};

Sales::SaleLine TstSalesInfoWindows::item(int material, double qty, double lv, double usd)
{
    Sales::SaleLine l;
    l.material = material;
    l.quantity = qty;
    l.priceLv = lv;
    l.priceUsd = usd;
    return l;
}

TstSalesInfoWindows::Recorded TstSalesInfoWindows::sell(const QString& name, int type, int client, const QDate& date,
                                                        const QVector<Sales::SaleLine>& lines, double paid, double vat,
                                                        const QString& receivedBy)
{
    Sales::SaleHeader h;
    h.documentType = type;
    h.counterparty = client;
    h.recipientName = db().query(u"select IMEKONTRAGENT from KONTRAGENTI where NKONTRAGENT = :K"_s, {{u"K"_s, client}})
                          .rows.front()[0].toString();
    h.paymentType = 1;
    h.invoiceNumbering = 1;
    const int n = ++numbers_[type];
    h.invoiceNumber = u"0%1"_s.arg(n, 9, 10, QLatin1Char('0'));
    h.stockReceiptNumber = h.consignmentNumber = h.dispatchNoteNumber = QString::number(n);
    h.vatPct = vat;
    h.date = date;
    h.payAtOnce = false;
    h.paidNowLv = paid;
    h.clientName = receivedBy;
    const Sales::Recorded r = Sales::recordSale(db(), h, lines);
    Recorded out{r.saleNumber, QList<int>(r.lineKeys.begin(), r.lineKeys.end())};
    sales_.insert(name, out);
    return out;
}

void TstSalesInfoWindows::init()
{
    {
        QSettings ini(AppInstances::iniPath(), QSettings::IniFormat);
        ini.setValue(u"installation/special_id"_s, kSpecialId);
    }
    start();
    exec(u"update FIRMA set IMEFIRMA = 'Мебели Дъб ООД', DAN_NO = '201234567', BULSTAT = 'BG201234567'"_s);
    dm().SmpFirma.refresh();
    exec(u"insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Готова продукция')"_s);
    exec(u"insert into TIP_SKLAD (NSKLAD, SKLAD) values (2, 'Материали')"_s);
    for (const auto& [n, name, sklad, unit] : {std::tuple{9201, "Маса дъбова", 1, 1}, {9202, "Стол тапициран", 1, 1},
                                               {15000, "Лак мат", 2, 7}})
        exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (%1, '%2', %3, %4)"_s.arg(n).arg(
            QString::fromUtf8(name)).arg(sklad).arg(unit));
    exec(u"insert into MOL (NMOL, NKONTRAGENT, IMEMOL) values (10, 10, 'Иван Петров')"_s);
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, POSTKOD, ADRES, DAN_NO, BULSTAT, NMOL) "
         u"values (10, 1, 'Алфа ООД', 1000, 'ул. Витоша 12', '121212121', 'BG121212121', 10)"_s);
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, POSTKOD) values (11, 1, 'Бета ЕООД', 4000)"_s);
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, POSTKOD) values (12, 1, 'Гама АД', 9000)"_s);
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, POSTKOD) values (13, 1, 'Делта ЕТ', 8000)"_s);
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (20, 2, 'Дървен материал АД')"_s);
    for (int m : {9201, 9202, 15000})
        db().executeProcedure(u"ADDDOSTAVKA"_s,
            {{u"NMATERIAL"_s, m}, {u"KOLICHESTVO"_s, 500.0}, {u"ED_CENA_LV"_s, 4.0}, {u"PROCENT_DDS"_s, 20.0},
             {u"DATEPOLUCHENO"_s, QDate(2026, 1, 5)}, {u"NKONTRAGENT"_s, 20}, {u"NFAKTURA"_s, u"D%1"_s.arg(m)},
             {u"DATEFAKTURA"_s, QDate(2026, 1, 5)}});
    // Tax invoices 1 to 4; stock receipts 1 to 5; one consignment. The period the windows open on
    // (30.11 to 10.12) holds S4 to S10.
    sell(u"S1"_s, 0, 10, QDate(2026, 3, 12), {item(9201, 3, 115)}, 414);
    sell(u"S2"_s, 2, 11, QDate(2026, 7, 20), {item(9202, 5, 40, 22)}, 240);
    // Less than half a litre: a value, but no whole unit in the turnover.
    sell(u"S3"_s, 0, 13, QDate(2026, 5, 15), {item(15000, 0.4, 7.8)}, 0);
    sell(u"S4"_s, 0, 10, QDate(2026, 12, 2), {item(9201, 2, 120), item(9202, 3, 40.1)}, 432.36);  // paid to the cent
    sell(u"S5"_s, 2, 11, QDate(2026, 12, 3), {item(9202, 3, 40, 22.5)}, 143.99, 20, u"Петър Колев"_s);  // 0.01 left
    sell(u"S6"_s, 2, 10, QDate(2026, 12, 4), {item(9201, 1, 120)}, 150);                             // overpaid
    sell(u"S7"_s, 2, 10, QDate(2026, 12, 5), {item(15000, 5, 7.8)}, 46.8);
    sell(u"S8"_s, 2, 10, QDate(2026, 12, 6), {item(9202, 2, 45)}, 0);
    sell(u"S9"_s, 3, 11, QDate(2026, 12, 7), {item(9201, 4, 110)}, 0);
    sell(u"S10"_s, 0, 12, QDate(2026, 12, 8), {item(15000, 10, 6.4)}, 70.4, 10);
    hub()->setBrowser([this](const TFormGotovaProd::BrowserRequest& r) { browsed_ << r; });
    ui_->onModal = [this](Form* f) {
        if (auto* p = qobject_cast<Report::ReportPreview*>(f)) {
            lastPreview_ = p->document();
            ++previews_;
            return 0;
        }
        if (auto script = scripts_.value(f->objectName())) {
            script(f);
            return f->modalResult();
        }
        return 0;
    };
}

void TstSalesInfoWindows::cleanup()
{
    for (Form* f : std::initializer_list<Form*>{inquiry(), app_->FormKlientiOborot, app_->FormProdPoMeseci,
                                                app_->FormSprRealizaciaRazplastania, app_->FormVlMatIzd, hub()})
        f->close();
    scripts_.clear();
    sales_.clear();
    numbers_.clear();
    browsed_.clear();
    previews_ = 0;
    stop();
    QFile::remove(AppInstances::iniPath());
}

void TstSalesInfoWindows::openHub()
{
    auto* item = app_->FormNS->findChild<QAction*>(u"N6InfProdagba"_s);
    QVERIFY(item && item->isEnabled());
    item->trigger();
    QVERIFY(hub()->isVisible());
}

void TstSalesInfoWindows::openFromHub(const char* item)
{
    openHub();
    auto* action = hub()->MainMenu1->findChild<QAction*>(QString::fromLatin1(item));
    QVERIFY2(action && action->isEnabled(), item);
    action->trigger();
}

void TstSalesInfoWindows::openInquiryFor(const QString& client)
{
    openFromHub("N2");
    inquiry()->RdGrpIzbKontragent->click(1);
    chooseInList(inquiry()->DBLkpCmBoxTipKontragert, u"Клиенти"_s);
    chooseInList(inquiry()->DBLkpCmBoxKontr, client);
    QCOMPARE(inquiry()->DBLkpCmBoxKontr->currentText(), client);
}

void TstSalesInfoWindows::mark(int line)
{
    QVERIFY(spravki().SmpSprRealizacia.locate(u"NUM_ZAPIS"_s, {line}));
    clickButton(inquiry(), u"SpeedBtnZapMaterial"_s);
}

QColor TstSalesInfoWindows::rowColour(const DBGrid* grid, SmpDataset& ds, const QString& field, const QVariant& value)
{
    const int row = ds.find(field, {value});
    if (row < 0) return QColor(Qt::green);  // no such row: matches no expectation
    return grid->model()->index(row, 0).data(Qt::ForegroundRole).value<QColor>();
}

QSizeF TstSalesInfoWindows::pdfPageSize(const QString& name)
{
    QProcess p;
    p.start(u"pdfinfo"_s, {dir_->filePath(name + u".pdf"_s)});
    if (!p.waitForFinished(30000)) return {};
    const QRegularExpressionMatch m =
        QRegularExpression(u"Page size:\\s+([\\d.]+) x ([\\d.]+) pts"_s).match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

QStringList TstSalesInfoWindows::workbooks(const QString& stem)
{
    QDir docs(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    QStringList out;
    for (const QString& f : docs.entryList({stem + u" *.xlsx"_s}, QDir::Files, QDir::Time | QDir::Reversed))
        out << docs.filePath(f);
    return out;
}

Sheet TstSalesInfoWindows::exported(const QString& stem, const std::function<void()>& click)
{
    for (const QString& f : workbooks(stem)) QFile::remove(f);
    click();
    const QStringList written = workbooks(stem);
    if (written.size() != 1) return {};
    return readWorkbook(written.front());
}

void TstSalesInfoWindows::kindsOfSales_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("sales");  // the sales whose lines are listed
    QTest::addColumn<QString>("header");     // the exported columns, the grid's visible ones
    const QString invoiceColumns = u"Продажба|Ст.разп.|Конс.|№Ек.б./Иск.|№ Факт.int|№ Факт.txt|Дата|Клиент|Наименование|Мка|"
                                   u"Колич.|Ед.ц.ЛВ|USD|EUR|% ТО|Общо ЛВ|Общо USD|Общо EUR|Плащане"_s;
    const QStringList period = {u"S4"_s, u"S5"_s, u"S6"_s, u"S7"_s, u"S8"_s, u"S9"_s, u"S10"_s};
    QTest::newRow("Фактура") << 0 << period << invoiceColumns;
    QTest::newRow("Сток. разписка") << 1 << period << invoiceColumns;
    QTest::newRow("Консигнация") << 2 << QStringList{u"S9"_s}
                                 << u"Продажба|Конс.|№Ек.б./Иск.|№ Факт.int|Дата|Клиент|Филиал|Наименование|Мка|Колич.|"
                                    u"Ед.ц.ЛВ|USD|EUR|% ТО|Общо ЛВ|Общо USD|Общо EUR|Платено|Върнато"_s;
}

// Invoices and stock receipts list every line of the period, consignments only theirs; the kinds
// differ in the columns shown, and the export takes those.
void TstSalesInfoWindows::kindsOfSales()
{
    QFETCH(int, kind);
    QFETCH(QStringList, sales);
    QFETCH(QString, header);
    openHub();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modeless), QStringList{u"FormGotovaProd"_s});
    QCOMPARE(hub()->windowTitle(), u"Информация - продажби !"_s);
    QCOMPARE(hub()->DateProdagbaOt->date(), QDate(2026, 11, 30));
    QCOMPARE(hub()->DateProdagbaDo->date(), kToday);
    QCOMPARE(hub()->RdGrpVidProdagba->itemIndex(), 0);
    if (kind != 0) hub()->RdGrpVidProdagba->click(kind);

    SmpDataset& list = spravki().SmpRealizacia;
    QList<int> expected, listed;
    for (const QString& s : sales) expected << sales_.value(s).lines;
    for (int i = 0; i < list.recordCount(); ++i) listed << list.valueAt(i, list.fieldByName(u"NUM_ZAPIS"_s)).toInt();
    std::sort(expected.begin(), expected.end());
    std::sort(listed.begin(), listed.end());
    QCOMPARE(listed, expected);
    QCOMPARE(list.recNo(), list.recordCount() - 1);  // on the last line

    const bool consignment = kind == 2;
    for (const char* f : {"IMEVIDPLASTANE", "NSTOK_RAZP", "NFAKTURA"})
        QVERIFY2(hub()->DBGrid2->isColumnVisible(QString::fromLatin1(f)) == !consignment, f);
    for (const char* f : {"IMEFILIAL", "SUM_BROI_MAT_IZD_PLATENO", "SUM_BROI_MAT_IZD_VYRNATO"})
        QVERIFY2(hub()->DBGrid2->isColumnVisible(QString::fromLatin1(f)) == consignment, f);

    const Sheet sheet = exported(u"Realizacia"_s, [this] { clickButton(hub(), u"SpeedBtnExcel"_s); });
    QCOMPARE(sheet.texts.value(0).join(u'|'), header);
    QCOMPARE(sheet.texts.size(), expected.size() + 1);
    // Row by row the list's lines: their clients in the client column.
    const int clientColumn = int(header.split(u'|').indexOf(u"Клиент"_s));
    for (int i = 0; i < list.recordCount(); ++i)
        QCOMPARE(sheet.texts.value(i + 1).value(clientColumn), list.valueAt(i, list.fieldByName(u"IMEKONTRAGENT"_s)).toString());
}

void TstSalesInfoWindows::saleAndInvoiceInformation_data()
{
    QTest::addColumn<QString>("sale");    // the line made current; none: a period without sales
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("mode");        // the browser's opening mode; -1: not opened
    const QString noSales = u"Липсват продажби за указания период  !"_s;
    const QString noInvoice = u"Позиционирайте върху създадена вече фактура !"_s;
    QTest::newRow("sale, empty period") << QString() << u"SpdBtnInfProdagba"_s << noSales << -1;
    QTest::newRow("invoice, empty period") << QString() << u"SpdBtnInfFaktura"_s << noInvoice << -1;
    QTest::newRow("invoice of a stock receipt") << u"S5"_s << u"SpdBtnInfFaktura"_s << noInvoice << -1;
    QTest::newRow("sale of a stock receipt") << u"S5"_s << u"SpdBtnInfProdagba"_s << QString() << 2;
    QTest::newRow("sale of an invoice") << u"S4"_s << u"SpdBtnInfProdagba"_s << QString() << 2;
    // Integer invoice numbers: all lines of the same integer number.
    QTest::newRow("invoice") << u"S4"_s << u"SpdBtnInfFaktura"_s << QString() << 1;
}

void TstSalesInfoWindows::saleAndInvoiceInformation()
{
    QFETCH(QString, sale);
    QFETCH(QString, button);
    QFETCH(QString, message);
    QFETCH(int, mode);
    openHub();
    SmpDataset& list = spravki().SmpRealizacia;
    if (sale.isEmpty()) {
        pick(hub()->DateProdagbaOt, QDate(2026, 1, 1));
        pick(hub()->DateProdagbaDo, QDate(2026, 1, 31));
        QVERIFY(list.isEmpty());
    } else {
        QVERIFY(list.locate(u"NUM_ZAPIS"_s, {sales_.value(sale).lines.last()}));
    }
    ui_->clear();
    clickButton(hub(), button);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), message.isEmpty() ? QStringList() : QStringList{message});
    if (mode < 0) {
        QVERIFY(browsed_.isEmpty());
        return;
    }
    QCOMPARE(browsed_.size(), 1);
    const TFormGotovaProd::BrowserRequest& r = browsed_.front();
    QCOMPARE(r.mode, mode);
    QCOMPARE(r.saleNumber, sales_.value(sale).saleNumber);
    QCOMPARE(r.invoiceInt, sale == u"S4"_s ? 3 : 0);
}

// A day picked in the calendar reloads the list at once; typed dates when committed.
void TstSalesInfoWindows::datesPickedReloadTheLists()
{
    openHub();
    SmpDataset& sales = spravki().SmpRealizacia;
    pick(hub()->DateProdagbaOt, QDate(2026, 3, 1));
    QCOMPARE(sales.param(u"IDateFaktOt"_s).toDate(), QDate(2026, 3, 1));
    QVERIFY(sales.locate(u"NUM_ZAPIS"_s, {sales_.value(u"S1"_s).lines.front()}));
    hub()->DateProdagbaDo->setFocus();
    QTest::keyClick(hub()->DateProdagbaDo, Qt::Key_Down);
    QCOMPARE(sales.param(u"IDateFaktDo"_s).toDate(), kToday);
    QTest::keyClick(hub()->DateProdagbaDo, Qt::Key_Return);
    QCOMPARE(sales.param(u"IDateFaktDo"_s).toDate(), hub()->DateProdagbaDo->date());
    QVERIFY(hub()->DateProdagbaDo->date() < kToday);

    // The inquiry: the list follows, and the invoice being assembled is emptied.
    openInquiryFor(u"Алфа ООД"_s);
    mark(sales_.value(u"S6"_s).lines.front());
    QCOMPARE(app_->DMProdagba->SmpFaktObobstena.recordCount(), 1);
    SmpDataset& list = spravki().SmpSprRealizacia;
    pick(inquiry()->DateOt, QDate(2026, 3, 1));
    QCOMPARE(list.param(u"DATEFAKTURA_OT"_s).toDate(), QDate(2026, 3, 1));
    QVERIFY(list.locate(u"NUM_ZAPIS"_s, {sales_.value(u"S1"_s).lines.front()}));
    QCOMPARE(app_->DMProdagba->SmpFaktObobstena.recordCount(), 0);
    QVERIFY(inquiry()->markedRows().isEmpty());
}

// Restoring a minimised window is a spontaneous show: the dates, the year and the invoice being
// assembled stay as the user left them; only a new showing starts again.
void TstSalesInfoWindows::restoringKeepsWhatWasSet()
{
    const auto restore = [](QWidget* w) {
        QShowEvent e;
        QSpontaneKeyEvent::setSpontaneous(&e);
        static_cast<QObject*>(w)->event(&e);  // as the window system delivers it (sendEvent clears the flag)
    };
    openHub();
    pick(hub()->DateProdagbaOt, QDate(2026, 3, 1));
    restore(hub());
    QCOMPARE(hub()->DateProdagbaOt->date(), QDate(2026, 3, 1));
    QCOMPARE(spravki().SmpRealizacia.param(u"IDateFaktOt"_s).toDate(), QDate(2026, 3, 1));

    openInquiryFor(u"Алфа ООД"_s);
    mark(sales_.value(u"S6"_s).lines.front());
    restore(inquiry());
    QCOMPARE(app_->DMProdagba->SmpFaktObobstena.recordCount(), 1);
    QCOMPARE(inquiry()->markedRows().size(), 1);

    openFromHub("N4");
    TFormKlientiOborot* turnover = app_->FormKlientiOborot;
    turnover->EdGodOborot->setText(u"2025"_s);
    restore(turnover);
    QCOMPARE(turnover->EdGodOborot->text(), u"2025"_s);
    turnover->close();
    turnover->show();
    QCOMPARE(turnover->EdGodOborot->text(), u"2026"_s);
}

// Red with a cent left, the normal colour when paid to the cent (the float sum is not exact),
// blue when overpaid; the totals of all sales; the export.
void TstSalesInfoWindows::clientPaymentsColoursAndTotals()
{
    openFromHub("N3");
    TFormSprRealizaciaRazplastania* w = app_->FormSprRealizaciaRazplastania;
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList{u"FormSprRealizaciaRazplastania"_s});
    QCOMPARE(w->windowTitle(), u"Реализация - разплащания с клиенти !"_s);
    SmpDataset& list = spravki().SmpRealizaciaPlastania;
    QCOMPARE(list.recordCount(), 10);
    const struct
    {
        const char* sale;
        QColor colour;
    } cases[] = {{"S4", QColor()}, {"S5", Qt::red}, {"S6", Qt::blue}, {"S7", QColor()}, {"S8", Qt::red}, {"S9", Qt::red}};
    for (const auto& c : cases) {
        const QString sale = QString::fromLatin1(c.sale);
        const QColor shown = rowColour(w->DBGrid1, list, u"NUMPRODAGBA"_s, sales_.value(sale).saleNumber);
        QVERIFY2(shown.isValid() == c.colour.isValid() && (!c.colour.isValid() || shown == c.colour),
                 qPrintable(sale + u" "_s + shown.name()));
    }
    QVERIFY(list.locate(u"NUMPRODAGBA"_s, {sales_.value(u"S5"_s).saleNumber}));
    QVERIFY(qAbs(list.value(u"SUMA_OSTATYK"_s).toDouble() - 0.01) < 1e-9);
    QCOMPARE(list.value(u"ImeKlient"_s).toString(), u"Петър Колев"_s);
    // 414 + 240 + 3.744 + 432.36 + 144 + 144 + 46.8 + 108 + 528 + 70.4 due, 1 497.55 paid.
    const auto shown = [w](const char* name) { return w->findChild<DBText*>(QString::fromLatin1(name))->text(); };
    QCOMPARE(shown("ObstoSumaFaktura"), u"2 131.30"_s);
    QCOMPARE(shown("ObstoSumaPlateno"), u"1 497.55"_s);
    QCOMPARE(shown("ObstoSumaOstatyk"), u"633.75"_s);

    const Sheet sheet = exported(u"RealizaciaPlastania"_s, [w] { clickButton(w, u"SpdBtnEXCEL"_s); });
    QCOMPARE(sheet.texts.value(0).join(u'|'),
             u"Продажба|Сток.разп.|№ факт.|Дата|Сума по факт.|Платено|Остатък|Клиент|Получил|Адрес"_s);
    QCOMPARE(sheet.texts.size(), 11);
}

// The year's turnover per client: each tab shows its currency's values beside the quantities, and
// the export holds what the active tab shows; "Само с оборот" leaves out a client whose sales are
// worth something but come to no whole unit.
void TstSalesInfoWindows::turnoverByTabAndFilter()
{
    openFromHub("N4");
    TFormKlientiOborot* w = app_->FormKlientiOborot;
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modeless), (QStringList{u"FormGotovaProd"_s, u"FormKlientiOborot"_s}));
    QCOMPARE(w->EdGodOborot->text(), u"2026"_s);
    QCOMPARE(w->RdGrpFiltyrFirmiOborot->itemIndex(), 1);
    SmpDataset& list = spravki().ClnDtStKlientiOborot;
    QCOMPARE(list.recordCount(), 3);
    QVERIFY(!list.locate(u"NKONTRAGENT"_s, {13}));
    QVERIFY(list.locate(u"NKONTRAGENT"_s, {10}));
    QCOMPARE(list.value(u"GRAD"_s).toString(), u"София"_s);
    QCOMPARE(list.value(u"III_KOL"_s).toInt(), 3);
    QCOMPARE(list.value(u"III_ST_LV"_s).toInt(), 414);
    QCOMPARE(list.value(u"XII_KOL"_s).toInt(), 2 + 3 + 1 + 5 + 2);
    QCOMPARE(list.value(u"XII_ST_LV"_s).toInt(), 731);  // 432.36 + 144 + 46.8 + 108

    w->RdGrpFiltyrFirmiOborot->click(0);
    QVERIFY(list.locate(u"NKONTRAGENT"_s, {13}));
    QCOMPARE(list.value(u"OBSTO_KOL"_s).toInt(), 0);
    QCOMPARE(list.value(u"OBSTO_ST_LV"_s).toInt(), 4);
    QVERIFY(list.recordCount() > 4);
    w->RdGrpFiltyrFirmiOborot->click(1);
    QCOMPARE(list.recordCount(), 3);

    const char* const currencies[] = {"LV", "USD", "EUR"};
    DBGrid* grids[] = {w->DBGrid1, w->DBGrid2, w->DBGrid3};
    for (int tab = 0; tab < 3; ++tab) {
        w->PageControl1->setCurrentIndex(tab);
        for (int c = 0; c < 3; ++c)
            for (const char* month : {"I", "VII", "XII", "OBSTO"}) {
                const QString field = u"%1_ST_%2"_s.arg(QLatin1String(month), QLatin1String(currencies[c]));
                QVERIFY2(grids[tab]->isColumnVisible(field) == (c == tab), qPrintable(field));
            }
        QVERIFY(grids[tab]->isColumnVisible(u"VII_KOL"_s));
    }
    w->PageControl1->setCurrentIndex(1);
    const Sheet sheet = exported(u"ClnDtStKlientiOborot"_s, [w] { clickButton(w, u"SpeedBtnExcel"_s); });
    const QStringList header = sheet.texts.value(0);
    QCOMPARE(header.mid(0, 6), (QStringList{u"Град"_s, u"Име на клиент"_s, u"I кол."_s, u"I - USD"_s, u"II кол."_s, u"II - USD"_s}));
    QCOMPARE(header.mid(header.size() - 2), (QStringList{u"Общо кол."_s, u"Общо USD"_s}));
    QCOMPARE(header.size(), 2 + 13 * 2);
    QCOMPARE(sheet.texts.size(), 4);
    const int july = int(header.indexOf(u"VII - USD"_s));
    bool beta = false;
    for (const QStringList& row : sheet.texts)
        if (row.value(1) == u"Бета ЕООД"_s) beta = row.value(july).toDouble() == 132;  // 5 x 22 x 1.2
    QVERIFY(beta);

    // The year box takes digits; Enter reads that year.
    w->EdGodOborot->clear();
    typeText(w->EdGodOborot, u"20x25"_s);
    QCOMPARE(w->EdGodOborot->text(), u"2025"_s);
    QTest::keyClick(w->EdGodOborot, Qt::Key_Return);
    QCOMPARE(list.param(u"godina"_s).toInt(), 2025);
    QCOMPARE(list.recordCount(), 0);
}

// Before a warehouse is chosen the list is of warehouse 0: empty, and its export is the header row.
void TstSalesInfoWindows::monthlySalesOfAWarehouse()
{
    openFromHub("N5");
    TFormProdPoMeseci* w = app_->FormProdPoMeseci;
    QCOMPARE(w->windowTitle(), u"Продажби по месеци !"_s);
    QCOMPARE(w->EdGodina->text(), u"2026"_s);
    SmpDataset& list = spravki().SmpProdPoMes;
    QCOMPARE(list.param(u"NUMSKLAD"_s).toInt(), 0);
    QCOMPARE(list.param(u"GODINA"_s).toInt(), 2026);
    QCOMPARE(list.recordCount(), 0);
    const QString header = u"№|Артикул|Януари|Февруари|Март|Април|Май|Юни|Юли|Август|Септември|Октомври|Ноември|Декември|Общо лв."_s;
    Sheet sheet = exported(u"ProdPoMes"_s, [w] { clickButton(w, u"BitBtn1"_s); });
    QCOMPARE(sheet.texts.size(), 1);
    QCOMPARE(sheet.texts.value(0).join(u'|'), header);

    chooseInList(w->DBLkpCmbIzbSklad, u"Готова продукция"_s);
    QCOMPARE(w->chosenWarehouse(), 1);
    QCOMPARE(list.recordCount(), 2);
    QVERIFY(list.locate(u"IME_MATERIAL_IZDELIE"_s, {u"Маса дъбова"_s}));
    QCOMPARE(list.value(u"III_LV"_s).toDouble(), 414.0);
    QVERIFY(qAbs(list.value(u"XII_LV"_s).toDouble() - (288 + 144 + 528)) < 1e-9);  // S4, S6 and the consignment
    QVERIFY(qAbs(list.value(u"OBSTO_LV"_s).toDouble() - (414 + 288 + 144 + 528)) < 1e-9);
    QVERIFY(list.locate(u"IME_MATERIAL_IZDELIE"_s, {u"Стол тапициран"_s}));
    QCOMPARE(list.value(u"VII_LV"_s).toDouble(), 240.0);
    sheet = exported(u"ProdPoMes"_s, [w] { clickButton(w, u"BitBtn1"_s); });
    QCOMPARE(sheet.texts.size(), 3);
    QCOMPARE(sheet.texts.value(0).join(u'|'), header);
    QCOMPARE(sheet.texts.value(1).mid(0, 2), (QStringList{u"1"_s, u"Маса дъбова"_s}));

    w->EdGodina->clear();
    typeText(w->EdGodina, u"2025"_s);
    QTest::keyClick(w->EdGodina, Qt::Key_Return);
    QCOMPARE(list.param(u"GODINA"_s).toInt(), 2025);
    QCOMPARE(list.param(u"NUMSKLAD"_s).toInt(), 1);
    QCOMPARE(list.recordCount(), 0);
}

// What the summary invoice refuses, and that a refusal or a No writes nothing.
void TstSalesInfoWindows::summaryInvoiceRefusals()
{
    openFromHub("N2");
    TFormSprProdagbi* w = inquiry();
    QCOMPARE(w->windowTitle(), u"Справка за продажби с цени на вложени материали !"_s);
    QCOMPARE(w->EdNFaktNew->text(), u"5"_s);  // after the four tax invoices, without zeros
    const int s6 = sales_.value(u"S6"_s).lines.front();
    ui_->clear();
    mark(s6);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{u"Не е избран контрагент ! "_s});

    w->RdGrpIzbKontragent->click(1);
    chooseInList(w->DBLkpCmBoxTipKontragert, u"Клиенти"_s);
    chooseInList(w->DBLkpCmBoxKontr, u"Алфа ООД"_s);
    QCOMPARE(spravki().SmpSprRealizacia.recordCount(), 5);  // S4's two lines and the three stock receipts
    const QString issued = u"Има вече издадена фактура за този артикул ! "_s;
    ui_->clear();
    mark(sales_.value(u"S4"_s).lines.front());
    w->EdNFaktNew->clear();
    mark(s6);
    typeText(w->EdNFaktNew, u"5"_s);
    mark(s6);
    mark(s6);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), (QStringList{issued, u"Не е въведен № на фактура !"_s, issued}));
    QCOMPARE(app_->DMProdagba->SmpFaktObobstena.recordCount(), 1);

    const auto invoiced = [this] { return count(u"select count(*) from PRODAGBI where NFAKT_INT in (5, 3)"_s); };
    const int before = invoiced();
    // A number in use, an empty one, and No: nothing written, the invoice stays assembled.
    for (const QString& number : {u"3"_s, QString()}) {
        w->EdNFaktNew->setText(number);
        ui_->clear();
        ui_->answers << true;
        clickButton(w, u"SpdBtnZapisDoc"_s);
        QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
                 QStringList{number.isEmpty() ? u"Не е въведен № на фактура !"_s : u"Фактура с № 3 вече съществува !"_s});
        QVERIFY(w->isVisible());
    }
    w->EdNFaktNew->setText(u"5"_s);
    ui_->clear();
    ui_->answers << false;
    clickButton(w, u"SpdBtnZapisDoc"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList{u" Запис на Фактура ?"_s});
    QVERIFY(w->isVisible());
    QCOMPARE(invoiced(), before);
    QCOMPARE(app_->DMProdagba->SmpFaktObobstena.recordCount(), 1);
    QCOMPARE(w->markedRows(), QList<int>{s6});
    // The marked line invoiced meanwhile elsewhere: the refusal reads as the server's own words.
    exec(u"update PRODAGBI set NFAKT_INT = 9 where AUTONUM = %1"_s.arg(s6));
    ui_->clear();
    ui_->answers << true;
    clickButton(w, u"SpdBtnZapisDoc"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{u"Редът вече е фактуриран или не съществува !"_s});
    QVERIFY(w->isVisible());
    exec(u"update PRODAGBI set NFAKT_INT = 0 where AUTONUM = %1"_s.arg(s6));

    // Another client empties it; with nothing marked a write stores nothing and closes.
    chooseInList(w->DBLkpCmBoxKontr, u"Бета ЕООД"_s);
    QCOMPARE(app_->DMProdagba->SmpFaktObobstena.recordCount(), 0);
    ui_->answers << true;
    clickButton(w, u"SpdBtnZapisDoc"_s);
    QVERIFY(!w->isVisible());
    QCOMPARE(invoiced(), before);
}

// Three stock receipts of one client become invoice 5: exactly their lines are numbered, each at
// its own VAT rate though the company's rate has changed, the sales list shows it at once, and the
// sale being composed in the sale window keeps its line.
void TstSalesInfoWindows::summaryInvoiceOverThreeStockReceipts()
{
    app_->FormNS->findChild<QAction*>(u"N5ProdFakt"_s)->trigger();
    TFormProdagba* sale = app_->FormProdagba;
    chooseInList(sale->DBLkpCmBoxImeKontr, u"Гама АД"_s);
    scripts_[u"FormProdagbaMateriali"_s] = [this](Form*) {
        TFormProdagbaMateriali* items = app_->FormProdagbaMateriali;
        QVERIFY(app_->DMProdagba->SmpProdSkladNalich.locate(u"NMATERIAL"_s, {9202}));
        items->EditKolich->setText(u"2"_s);
        clickButton(items, u"SpeedBtnZapMaterial"_s);
        clickButton(items, u"SpeedBtnClose"_s);
    };
    clickButton(sale, u"SpdBtnIzbIzdProdagba"_s);
    SmpDataset& composed = app_->DMProdagba->SmpProdagbaTempNew;
    QCOMPARE(composed.recordCount(), 1);

    openInquiryFor(u"Алфа ООД"_s);
    TFormSprProdagbi* w = inquiry();
    const QList<int> receipts = {sales_.value(u"S6"_s).lines.front(), sales_.value(u"S7"_s).lines.front(),
                                 sales_.value(u"S8"_s).lines.front()};
    ui_->clear();
    for (int line : receipts) mark(line);
    QVERIFY(ui_->texts(RecordingUi::Kind::Message).isEmpty());
    QCOMPARE(w->markedRows(), receipts);
    SmpDataset& lines = app_->DMProdagba->SmpFaktObobstena;
    QCOMPARE(lines.recordCount(), 3);
    const auto shown = [w](const char* name) { return w->findChild<DBText*>(QString::fromLatin1(name))->text(); };
    QCOMPARE(shown("CenaMatIzdBroiObstoSum"), u"249.00"_s);  // 120 + 5 x 7.8 + 2 x 45
    QCOMPARE(shown("DDS_Stoinost"), u"49.80"_s);
    QCOMPARE(shown("Plastane_Stoinost"), u"298.80"_s);
    SmpDataset& list = spravki().SmpSprRealizacia;
    for (int line : receipts) QCOMPARE(rowColour(w->DBGridDanniOtProdagbi, list, u"NUM_ZAPIS"_s, line), QColor(Qt::blue));
    QVERIFY(rowColour(w->DBGridDanniOtProdagbi, list, u"NUM_ZAPIS"_s, sales_.value(u"S4"_s).lines.front()) != QColor(Qt::blue));

    clickButton(w, u"SpBtnPrintFaktObobstena"_s);
    QCOMPARE(previews_, 1);
    const QString text = pdf(u"summary_invoice"_s);
    for (const QString& s : {u"Алфа ООД"_s, u"София"_s, u"ул. Витоша 12"_s, u"121212121"_s, u"BG121212121"_s, u"Иван Петров"_s,
                             u"Маса дъбова"_s, u"Лак мат"_s, u"Стол тапициран"_s, u"249.00"_s, u"49.80"_s, u"298.80"_s,
                             u"Мебели Дъб ООД"_s})
        QVERIFY2(text.contains(s), qPrintable(s + u"\n"_s + text));
    QVERIFY2(text.contains(QRegularExpression(u"№\\s*0*5\\b"_s)), qPrintable(text));
    QVERIFY(text.contains(kToday.toString(u"dd.MM.yyyy"_s)) || text.contains(kToday.toString(u"dd.MM.yy"_s)));

    exec(u"update FIRMA set DDS_PROCENT = 9"_s);
    dm().SmpFirma.refresh();
    ui_->clear();
    ui_->answers << true;
    clickButton(w, u"SpdBtnZapisDoc"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList{u" Запис на Фактура ?"_s});
    QVERIFY(ui_->texts(RecordingUi::Kind::Message).isEmpty());
    const DbResult r = db().query(u"select AUTONUM, DATEFAKTURA, PROCENT_DDS from PRODAGBI where NFAKT_INT = 5 order by AUTONUM"_s);
    QCOMPARE(int(r.rows.size()), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(r.rows[std::size_t(i)][0].toInt(), receipts[i]);
        QCOMPARE(r.rows[std::size_t(i)][1].toDate(), kToday);
        QCOMPARE(r.rows[std::size_t(i)][2].toDouble(), 20.0);
    }
    QCOMPARE(count(u"select count(*) from PRODAGBI where NFAKT_INT > 0"_s), 5 + 3);  // 4 invoices' lines and these
    QVERIFY(!w->isVisible());
    SmpDataset& hubList = spravki().SmpRealizacia;
    QVERIFY(hubList.locate(u"NUM_ZAPIS"_s, {receipts[1]}));
    QCOMPARE(hubList.value(u"NFAKT_INT"_s).toInt(), 5);
    QCOMPARE(composed.recordCount(), 1);
    QCOMPARE(composed.value(u"NMATERIAL"_s).toInt(), 9202);
    // The next proposal follows.
    openFromHub("N2");
    QCOMPARE(w->EdNFaktNew->text(), u"6"_s);
}

// The sales report prints the list as it stands, here filtered to 20 % VAT: each line in its own
// currency, the totals per currency; A4 landscape.
void TstSalesInfoWindows::salesReportLandscape()
{
    openFromHub("N2");
    TFormSprProdagbi* w = inquiry();
    QCOMPARE(w->BitBtnProdagbi->text(), u"Продажби"_s);
    w->RdGrpDDS->click(1);
    QCOMPARE(spravki().SmpSprRealizacia.recordCount(), 7);  // without S10 at 10 %
    clickButton(w, u"BitBtnProdagbi"_s);
    QCOMPARE(previews_, 1);
    QCOMPARE(lastPreview_.name, u"TQRProdagbi"_s);
    QCOMPARE(lastPreview_.orientation, Report::Orientation::Landscape);
    QCOMPARE(lastPreview_.pageSize, QSizeF(297, 210));
    const QString text = pdf(u"prodagbi"_s);
    const QSizeF page = pdfPageSize(u"prodagbi"_s);
    QVERIFY2(qAbs(page.width() - 841.89) < 1 && qAbs(page.height() - 595.28) < 1, qPrintable(text));
    for (const QString& s : {u"Мебели Дъб ООД"_s, u"Продажби за период :"_s, u"30.11.2026"_s, u"10.12.2026"_s, u"Наименование"_s,
                             u"Клиент"_s, u"Колич."_s, u"Ед. цена"_s, u"Общо"_s, u"Валута"_s, u"Алфа ООД"_s, u"Бета ЕООД"_s})
        QVERIFY2(text.contains(s), qPrintable(s + u"\n"_s + text));
    QVERIFY(!text.contains(u"Гама АД"_s));
    QVERIFY(text.contains(QRegularExpression(u"Продажби за период :\\s+30.11.2026\\s*г. -\\s+10.12.2026\\s*г."_s)));
    // The stock receipt in USD: 3 at 22.50 with VAT; the rest in BGN.
    QVERIFY2(text.contains(QRegularExpression(u"Стол тапициран\\s+Бета ЕООД\\s+03.12.26\\s+3\\s+27.00\\s+81.00\\s+USD"_s)),
             qPrintable(text));
    QVERIFY(text.contains(QRegularExpression(u"Маса дъбова\\s+Бета ЕООД\\s+07.12.26\\s+4\\s+132.00\\s+528.00\\s+BGN"_s)));
    // 432.36 + 144 + 144 + 46.80 + 108 + 528 in BGN; no EUR.
    QVERIFY2(text.contains(QRegularExpression(u"1 403.16\\s+BGN"_s)), qPrintable(text));
    QVERIFY(text.contains(QRegularExpression(u"\\n\\s*81.00\\s+USD"_s)));
    QVERIFY(text.contains(QRegularExpression(u"\\n\\s*EUR\\s*\\n"_s)));
    QCOMPARE(text.count(QRegularExpression(u"\\s(BGN|USD)\\n"_s)), 7 + 2);
    // The list's own quantity format is back.
    QCOMPARE(spravki().SmpSprRealizacia.fieldByName(u"BROI_MATERIAL_IZDELIE"_s)->displayFormat, u"# ### ##0.00"_s);
}

// The company whose identification number is the configured one prints it without the client
// column, in portrait.
void TstSalesInfoWindows::salesReportWithoutClients()
{
    exec(u"update FIRMA set DAN_NO = '%1'"_s.arg(kSpecialId));
    dm().SmpFirma.refresh();
    openFromHub("N2");
    clickButton(inquiry(), u"BitBtnProdagbi"_s);
    QCOMPARE(lastPreview_.name, u"TQRProdagbiStol"_s);
    QCOMPARE(lastPreview_.orientation, Report::Orientation::Portrait);
    const QString text = pdf(u"prodagbi_stol"_s);
    const QSizeF page = pdfPageSize(u"prodagbi_stol"_s);
    QVERIFY(qAbs(page.width() - 595.28) < 1 && qAbs(page.height() - 841.89) < 1);
    QVERIFY2(text.contains(QRegularExpression(u"№\\s+Наименование\\s+Дата\\s+Колич.\\s+Ед. цена\\s+Общо\\s+Валута"_s)),
             qPrintable(text));
    for (const QString& s : {u"Алфа ООД"_s, u"Бета ЕООД"_s, u"Клиент"_s}) QVERIFY2(!text.contains(s), qPrintable(s));
    QVERIFY(text.contains(QRegularExpression(u"Лак мат\\s+08.12.26\\s+10\\s+7.04\\s+70.40\\s+BGN"_s)));
    QVERIFY(text.contains(QRegularExpression(u"1 473.56\\s+BGN"_s)));  // with S10
}

// Quantities per article of the period, largest first; a period without sales is not printed.
void TstSalesInfoWindows::salesPerArticleReport()
{
    openFromHub("N2");
    TFormSprProdagbi* w = inquiry();
    clickButton(w, u"BitBtnProdArtik"_s);
    QCOMPARE(lastPreview_.name, u"TQRProdagbiArtik"_s);
    QCOMPARE(lastPreview_.orientation, Report::Orientation::Portrait);
    const QString text = pdf(u"prodagbi_artik"_s);
    QVERIFY(pdfPageSize(u"prodagbi_artik"_s).height() > 800);
    for (const QString& s : {u"Мебели Дъб ООД"_s, u"Продажби на артикули за период :"_s, u"Мярка"_s, u"Количество"_s, u"Забележка"_s})
        QVERIFY2(text.contains(s), qPrintable(s + u"\n"_s + text));
    // Лак 15, chairs 3 + 3 + 2 = 8, tables 2 + 1 + 4 = 7.
    QVERIFY2(text.contains(QRegularExpression(u"1\\s+Лак мат\\s+л\\s+15\\s*\\n\\s*2\\s+Стол тапициран\\s+бр.\\s+8\\s*\\n\\s*"
                                              u"3\\s+Маса дъбова\\s+бр.\\s+7"_s)),
             qPrintable(text));

    pick(w->DateOt, QDate(2026, 1, 1));
    pick(w->DateDo, QDate(2026, 1, 31));
    ui_->clear();
    clickButton(w, u"BitBtnProdArtik"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{u"Липсват данни за извеждане !"_s});
    QCOMPARE(previews_, 1);
}

// " > Excel" of the inquiry: its visible columns, one row per listed line, none for an empty list.
void TstSalesInfoWindows::inquiryToWorkbook()
{
    openInquiryFor(u"Алфа ООД"_s);
    TFormSprProdagbi* w = inquiry();
    Sheet sheet = exported(u"SprRealizacia"_s, [w] { clickButton(w, u"SpeedBtnExcel"_s); });
    const QStringList header = sheet.texts.value(0);
    QCOMPARE(header.mid(0, 3), (QStringList{u"Продажба"_s, u"Ст.раз."_s, u"Конс."_s}));
    for (const QString& c : {u"Цена мат."_s, u"Разлика/лв/"_s, u"От склад"_s, u"Забележка"_s}) QVERIFY2(header.contains(c), qPrintable(c));
    QVERIFY(!header.contains(u"Valuta"_s) && !header.contains(QString()));
    QCOMPARE(sheet.texts.size(), 1 + 5);
    const int store = int(header.indexOf(u"От склад"_s));
    for (int i = 1; i < sheet.texts.size(); ++i) QVERIFY(!sheet.texts[i].value(store).isEmpty());

    pick(w->DateOt, QDate(2026, 1, 1));
    pick(w->DateDo, QDate(2026, 1, 31));
    sheet = exported(u"SprRealizacia"_s, [w] { clickButton(w, u"SpeedBtnExcel"_s); });
    QCOMPARE(sheet.texts.size(), 0);
}

// From the warehouse movement inquiry: the batches that used the lacquer, their total and export.
void TstSalesInfoWindows::productsMadeWithAMaterial()
{
    exec(u"insert into TIP_PROIZVODSTVO (NPROIZVODSTVO, PROIZVODSTVO) values (1, 'Мебелен цех')"_s);
    for (const auto& [batch, product, qty, date] : {std::tuple{"20260301001", 9201, 12, "2026-03-01"},
                                                    {"20260402001", 9202, 30, "2026-04-02"}}) {
        exec(u"insert into IZDELIE (PART_NUM_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE, KOLICH_SERII, KOLICH_IZDELIE, DATEIZDELIE)"
             u" values ('%1', 1, %2, 1, %3, '%4')"_s.arg(QLatin1String(batch)).arg(product).arg(qty).arg(QLatin1String(date)));
        exec(u"insert into IZDELIE_MATERIALI (PART_NUM_IZDELIE, NPROIZVODSTVO, NMATERIAL, KOLICHESTVO) values ('%1', 1, 15000, 2)"_s
                 .arg(QLatin1String(batch)));
    }
    // The lacquer drawn for those batches: only a line drawn from leads to what it went into.
    exec(u"insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO, DATE_DVIGENIE)"
         u" select AUTONUM, 2, 4, DATEPOLUCHENO from SKLAD where NMATERIAL = 15000"_s);
    TFormSprSkladDvigenie* movements = app_->FormSprSkladDvigenie;
    movements->show();
    movements->RdGrpIzbDate->click(2);
    QVERIFY(app_->DMSklSpravki->SmpSprSklDvig.locate(u"NMATERIAL"_s, {15000}));
    clickButton(movements, u"BitBtnVlojeno"_s);
    TFormVlMatIzd* w = app_->FormVlMatIzd;
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modeless).last(), u"FormVlMatIzd"_s);
    QCOMPARE(w->windowTitle(), u"Информация за изработени изделия с този материал !"_s);
    QCOMPARE(w->LbMat->text(), u"Лак мат"_s);
    QCOMPARE(spravki().SmpVlMatIzd.recordCount(), 2);
    QCOMPARE(w->findChild<DBText*>(u"SumKolich"_s)->text(), u"42.00"_s);
    const Sheet sheet = exported(u"VlMatIzd"_s, [w] { clickButton(w, u"BitBtn2"_s); });
    QCOMPARE(sheet.texts.value(0).join(u'|'), u"Партиден №|Тип производство|Изделие|Произведено|Колич.|Бр.серии"_s);
    QCOMPARE(sheet.texts.value(1).mid(0, 3), (QStringList{u"20260301001"_s, u"Мебелен цех"_s, u"Маса дъбова"_s}));
    QCOMPARE(sheet.texts.size(), 3);
    movements->close();
}

QTEST_MAIN(TstSalesInfoWindows)
#include "tst_salesinfo_windows.moc"
