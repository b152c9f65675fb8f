#include "data/dmnsspravki.h"
#include "data/dmprodagba.h"
#include "platform/base/clock.h"
#include "platform/dataset/smpdataset.h"
#include "platform/report/reportpreview.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/handlers.h"
#include "sales/formprodagbaelementi.h"
#include "sales/salerecording.h"
#include "salesinfo/formgotovaprod.h"
#include "support/appfixture.h"
#include "support/pdftext.h"
#include "support/typing.h"

#include <QAction>
#include <QDir>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;
using Sales::SaleHeader;
using Sales::SaleLine;

// The sales documents browser driven by its controls over recorded sales; its documents read back
// from PDF.
class TstSaleBrowserWindows : public QObject, protected AppFixture
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openedFromTheSalesInformation_data();
    void openedFromTheSalesInformation();
    void headerCorrectionKeepsRecordedPaymentType();
    void priceCorrectionOfOneBatch();
    void laterPaymentFollowsInTheTotals();
    void deleteGivesStockBackAndCloses();
    void consignmentBeyondTheQuantityRefused();
    void linesOfTwoSalesRefuseLineCorrection();
    void documentTypeColumns_data();
    void documentTypeColumns();
    void layoutsPreviewed_data();
    void layoutsPreviewed();
    void invoiceReprintedAndHeaderSaved();

private:
    TFormProdagbaElementi* browser() { return app_->FormProdagbaElementi; }
    SmpDataset& lines() { return app_->DMProdagba->SmpRealizaciaProdagba; }
    QString record(int type, const QVector<SaleLine>& saleLines, int counterparty = 60);
    static SaleLine line(int material, double quantity, double price, int stockLine = 0);
    double onHand(int material) { return Sales::warehouseStockOf(db(), material); }
    // Opens the browser modally on a sale (mode 2) and runs the steps while it is shown.
    void openOn(const QString& sale, const std::function<void()>& steps, int mode = 2, const QString& text = {},
                int integer = 0);
    QString previewText(const std::function<void()>& action, const QString& name);
    int receipt_ = 41;
};

void TstSaleBrowserWindows::init()
{
    start();
    receipt_ = 41;
    Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
    exec(u"insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"_s);
    exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA) values (500, 'Бетон В25', 1, 1, 110)"_s);
    exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA) values (501, 'Цимент 25 кг', 1, 1, 9.6)"_s);
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, ADRES, DAN_NO, BULSTAT) "
         u"values (60, 1, 'Строй Инвест ООД', 'ул. Орех 12', '201234567', 'BG201234567')"_s);
    exec(u"insert into VIDPLASTANE (NVIDPLASTANE, VIDPLASTANE) values (7, 'Банков път')"_s);
    exec(u"insert into MOL_FIRMA (NMOL_FIRMA, IMEMOLFIRMA) values (8, 'Мария Петрова')"_s);
    for (int m : {500, 501})
        for (const auto& [qty, day] : {std::pair{30.0, 1}, {20.0, 2}})
            db().executeProcedure(u"ADDDOSTAVKA"_s, {{u"NMATERIAL"_s, m}, {u"KOLICHESTVO"_s, qty}, {u"ED_CENA_LV"_s, 40.0},
                                                     {u"DATEPOLUCHENO"_s, QDate(2026, 11, day)}, {u"NKONTRAGENT"_s, 61},
                                                     {u"NFAKTURA"_s, u"D1"_s}, {u"DATEFAKTURA"_s, QDate(2026, 11, day)}});
    exec(u"update FIRMA set NFAKT_TXT_INT = 0, NFAKT_SIMVOL = 'F'"_s);
    for (SmpDataset* ds : {&dm().SmpFirma, &dm().SmpVidPlastane, &dm().SmpMolFirma})
        if (ds->isActive()) ds->refresh();
}

void TstSaleBrowserWindows::cleanup()
{
    ui_->onModal = nullptr;
    stop();
    Clock::reset();
}

SaleLine TstSaleBrowserWindows::line(int material, double quantity, double price, int stockLine)
{
    SaleLine l;
    l.material = material, l.quantity = quantity, l.priceLv = price, l.stockLine = stockLine;
    return l;
}

QString TstSaleBrowserWindows::record(int type, const QVector<SaleLine>& saleLines, int counterparty)
{
    SaleHeader h;
    h.documentType = type;
    h.counterparty = counterparty;
    if (counterparty == 0) {
        h.counterpartyType = Sales::NaturalPersonType;
        h.person = {u"Петър Георгиев"_s, u"София, ул. Лале 3"_s, u"7203041234"_s};
    }
    h.recipientName = u"Строй Инвест ООД"_s;
    h.paymentType = 7;
    if (type == 0) h.invoiceNumber = u"1000000031"_s;
    // Each sale its own receipt number: numbers of one series are unique.
    if (type == 2 || type == 4 || type == 6 || type == 8) h.stockReceiptNumber = QString::number(receipt_++);
    if (type == 3) h.consignmentNumber = u"12"_s;
    if (type == 7 || type == 9) h.dispatchNoteNumber = u"7"_s;
    h.vatPct = 20;
    h.date = QDate(2026, 12, 9);
    h.companyMol = 1, h.compiledBy = 8, h.office = 1;
    h.remarks = u"Доставка до обекта"_s;
    h.clientName = u"Иван Иванов"_s;
    h.transport = u"СА 1234 ВК"_s;
    return Sales::recordSale(db(), h, saleLines).saleNumber;
}

void TstSaleBrowserWindows::openOn(const QString& sale, const std::function<void()>& steps, int mode,
                                   const QString& text, int integer)
{
    ui_->onModal = [&](Form* form) {
        if (form == browser()) steps();
        return 0;
    };
    browser()->open(TFormProdagbaElementi::Mode(mode), sale, text, integer);
    ui_->onModal = nullptr;
}

QString TstSaleBrowserWindows::previewText(const std::function<void()>& action, const QString& name)
{
    QString text;
    const auto outer = ui_->onModal;
    ui_->onModal = [&](Form* form) {
        if (auto* preview = qobject_cast<Report::ReportPreview*>(form)) text = pdfText(preview->document(), *dir_, name);
        return 0;
    };
    action();
    ui_->onModal = outer;
    return text;
}

void TstSaleBrowserWindows::openedFromTheSalesInformation_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("full");
    QTest::newRow("Инф. продажба: the sale, everything allowed") << u"SpdBtnInfProdagba"_s << true;
    QTest::newRow("Инф. фактура: the invoice, view and print") << u"SpdBtnInfFaktura"_s << false;
}

void TstSaleBrowserWindows::openedFromTheSalesInformation()
{
    QFETCH(QString, button);
    QFETCH(bool, full);
    const QString sale = record(0, {line(500, 2, 110), line(501, 10, 9.6)});
    app_->FormNS->findChild<QAction*>(u"N6InfProdagba"_s)->trigger();
    SmpDataset& hub = app_->DMNsSpravki->SmpRealizacia;
    QVERIFY(hub.isActive());
    QVERIFY(hub.locate(u"NUMPRODAGBA"_s, {sale}));
    bool shown = false;
    ui_->onModal = [&](Form* form) {
        if (form != browser()) return 0;
        shown = true;
        [&] {
        QCOMPARE(browser()->mode(), full ? TFormProdagbaElementi::BySale : TFormProdagbaElementi::ByInvoiceText);
        QCOMPARE(lines().recordCount(), 2);
        QCOMPARE(browser()->PanelPlastRazsr->isVisibleTo(browser()), full);
        QCOMPARE(browser()->PanelKonsPlast->isVisibleTo(browser()), full);
        QCOMPARE(browser()->SpdBtnIztrivane->isEnabled(), full);
        QCOMPARE(browser()->SpdBtnZapKorekcia->isEnabled(), full);
        QCOMPARE(browser()->EdNfakt->text(), u"1000000031"_s);
        QCOMPARE(browser()->DBText1->text(), u"Строй Инвест ООД"_s);
        QCOMPARE(browser()->EditBelegki->text(), u"Доставка до обекта"_s);
        QCOMPARE(browser()->DateVnoska->date(), QDate(2026, 12, 9));  // the sale's payment at once
        QVERIFY(browser()->SpdBtnKorekcia->isEnabled());
        }();
        return 0;
    };
    clickButton(app_->FormGotovaProd, button);
    ui_->onModal = nullptr;
    QVERIFY(shown);
}

// The boxes corrected and saved; payment type and compiler left unchosen keep the recorded ones.
void TstSaleBrowserWindows::headerCorrectionKeepsRecordedPaymentType()
{
    const QString sale = record(2, {line(500, 2, 110), line(501, 10, 9.6)});
    // The payment type was renamed since: the name no longer finds it, the recorded key stays.
    exec(u"update VIDPLASTANE set VIDPLASTANE = 'Банка' where NVIDPLASTANE = 7"_s);
    openOn(sale, [&] {
        browser()->DBLkpCmbVidPlastane->setCurrentIndex(-1);
        browser()->DBLkpCmbSystavil->setCurrentIndex(-1);
        browser()->EditBelegki->setText(u"Разтоварване с кран"_s);
        browser()->EdNStokRazp->setText(u"44"_s);
        browser()->EdNEksBel->clear();
        browser()->EdNumTransport->setText(u"СВ 7777 АК"_s);
        ui_->answers << true;
        clickButton(browser(), u"SpdBtnZapKorekcia"_s);
    });
    QVERIFY(ui_->texts(RecordingUi::Kind::Question).contains(u" Запис корекция на документ ?"_s));
    const DbResult rows = db().query(u"select NVIDPLASTANE, NMOL_FIRMA_SYSTAVIL, BELEGKA, NSTOK_RAZP, NEKSP_BEL, NUM_TRANSPORT, "
                                     u"TIP_DOCUMENT, CLIENT_STOKA_POLUCHENA_DATE from PRODAGBI where NUMPRODAGBA = :N"_s,
                                     {{u"N"_s, sale}});
    QCOMPARE(rows.rows.size(), std::size_t(2));
    for (std::size_t i = 0; i < 2; ++i) {
        QCOMPARE(rows.value(i, u"NVIDPLASTANE"_s).toInt(), 7);
        QCOMPARE(rows.value(i, u"NMOL_FIRMA_SYSTAVIL"_s).toInt(), 8);
        QCOMPARE(rows.value(i, u"BELEGKA"_s).toString(), u"Разтоварване с кран"_s);
        QCOMPARE(rows.value(i, u"NSTOK_RAZP"_s).toInt(), 44);
        QCOMPARE(rows.value(i, u"NEKSP_BEL"_s).toInt(), 0);
        QCOMPARE(rows.value(i, u"NUM_TRANSPORT"_s).toString(), u"СВ 7777 АК"_s);
        QCOMPARE(rows.value(i, u"TIP_DOCUMENT"_s).toInt(), 2);
        // The sale had no goods-received date: the empty box saves none, not a made-up date.
        QVERIFY(rows.value(i, u"CLIENT_STOKA_POLUCHENA_DATE"_s).isNull());
    }
}

void TstSaleBrowserWindows::priceCorrectionOfOneBatch()
{
    const DbResult batches = db().query(u"select AUTONUM from SKLAD where NMATERIAL = 500 order by AUTONUM"_s);
    const QString sale = record(2, {line(500, 3, 110, batches.rows[0][0].toInt()), line(500, 2, 115, batches.rows[1][0].toInt())});
    openOn(sale, [&] {
        QCOMPARE(lines().recordCount(), 2);
        lines().last();
        lines().edit();
        lines().setValue(u"CENA_MATERIAL_IZDELIE"_s, 112.5);
        lines().post();
        ui_->answers << true;
        clickButton(browser(), u"SpdBtnZapKorekcia"_s);
        // Reloaded: the recomputed totals show the corrected line.
        QVERIFY(qAbs(lines().value(u"SUMA_FAKTURA_DDS"_s).toDouble() - (3 * 110 + 2 * 112.5) * 1.2) < 1e-6);
    });
    const DbResult prices = db().query(u"select CENA_MATERIAL_IZDELIE from PRODAGBI where NUMPRODAGBA = :N order by AUTONUM"_s,
                                       {{u"N"_s, sale}});
    QCOMPARE(prices.rows[0][0].toDouble(), 110.0);
    QCOMPARE(prices.rows[1][0].toDouble(), 112.5);
}

void TstSaleBrowserWindows::laterPaymentFollowsInTheTotals()
{
    const QString sale = record(2, {line(500, 1, 100)});  // 120.00 with VAT, paid at once
    exec(u"delete from PRODAGBI_PLASTANE"_s);
    openOn(sale, [&] {
        QCOMPARE(browser()->DateVnoska->date(), Clock::today());  // no payment yet
        auto* due = browser()->findChild<DBText*>(u"DBTextZaPlastane"_s);
        QCOMPARE(due->text(), u"120.00"_s);
        clickButton(browser(), u"SpdBtnNovZapis"_s);
        browser()->DateVnoska->setDate(QDate(2026, 12, 12));
        browser()->DBEdPlastSuma->setText(u"45.5"_s);
        clickButton(browser(), u"SpdBtnZapis"_s);
        QCOMPARE(browser()->findChild<DBText*>(u"DBTextPlateno"_s)->text(), u"45.50"_s);
        QCOMPARE(due->text(), u"74.50"_s);
    });
    const DbResult pay = db().query(u"select PLASTANE_SUMA, PLASTANE_DATE, NKONTRAGENT from PRODAGBI_PLASTANE where NUMPRODAGBA = :N"_s,
                                    {{u"N"_s, sale}});
    QCOMPARE(pay.rows.size(), std::size_t(1));
    QCOMPARE(pay.rows[0][0].toDouble(), 45.5);
    QCOMPARE(pay.rows[0][1].toDate(), QDate(2026, 12, 12));
    QCOMPARE(pay.rows[0][2].toInt(), 60);
}

void TstSaleBrowserWindows::deleteGivesStockBackAndCloses()
{
    const QString sale = record(3, {line(500, 35, 110), line(501, 4, 9.6)});
    QCOMPARE(onHand(500), 15.0);
    exec(u"insert into PRODAGBI_KONSIGN (NUMPRODAGBA, NMATERIAL, DATE_PLATENO, BROI_MAT_IZD_PLATENO) values ('"_s + sale
         + u"', 500, '11.12.2026', 5)"_s);
    openOn(sale, [&] {
        ui_->answers << false;
        clickButton(browser(), u"SpdBtnIztrivane"_s);
        QCOMPARE(count(u"select count(*) from PRODAGBI"_s), 2);
        ui_->answers << true;
        clickButton(browser(), u"SpdBtnIztrivane"_s);
        QVERIFY(!browser()->isVisible());
    });
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question).count(u" Потвърдете изтриване на продажба ? "_s), 2);
    QCOMPARE(count(u"select (select count(*) from PRODAGBI) + (select count(*) from PRODAGBI_PLASTANE) + "
                   u"(select count(*) from PRODAGBI_KONSIGN) + (select count(*) from SKLAD_DVIGENIE) from rdb$database"_s),
             0);
    QCOMPARE(onHand(500), 50.0);
    QCOMPARE(onHand(501), 50.0);
}

// A consignment payment beyond what is left is refused by the server; the message is shown.
void TstSaleBrowserWindows::consignmentBeyondTheQuantityRefused()
{
    const QString sale = record(3, {line(500, 10, 110)});
    openOn(sale, [&] {
        SmpDataset& paid = app_->DMProdagba->SmpRealizKons;
        paid.append();
        paid.setValue(u"DATE_PLATENO"_s, QDate(2026, 12, 11));
        paid.setValue(u"BROI_MAT_IZD_PLATENO"_s, 6.0);
        paid.post();
        QCOMPARE(lines().value(u"SUM_BROI_MAT_IZD_PLATENO"_s).toDouble(), 6.0);
        QCOMPARE(lines().value(u"OstatykBroiMatIzd"_s).toDouble(), 4.0);
        SmpDataset& back = app_->DMProdagba->SmpRealizKonsVyr;
        back.append();
        back.setValue(u"DATE_VYRNATO"_s, QDate(2026, 12, 12));
        back.setValue(u"BROI_MAT_IZD_VYRNATO"_s, 5.0);
        // As the navigator posts: the refusal reaches the error report.
        Handlers::run([&] { back.post(); });
        QCOMPARE(lines().value(u"SUM_BROI_MAT_IZD_VYRNATO"_s).toDouble(), 0.0);
    });
    QVERIFY(ui_->texts(RecordingUi::Kind::Error).join(u' ').contains(u"надхвърля количеството"_s));
    QCOMPARE(count(u"select count(*) from PRODAGBI_KONSIGN_VYRNATO"_s), 0);
    QCOMPARE(count(u"select sum(BROI_MAT_IZD_PLATENO) from PRODAGBI_KONSIGN"_s), 6);
}

void TstSaleBrowserWindows::linesOfTwoSalesRefuseLineCorrection()
{
    const QString a = record(2, {line(500, 1, 110)});
    const QString b = record(2, {line(501, 1, 9.6)});
    exec(u"update PRODAGBI set NFAKTURA = '1000000077'"_s);
    openOn(a, [&] {
        QCOMPARE(lines().recordCount(), 2);
        clickButton(browser(), u"SpdBtnKorekcia"_s);
    }, 0, u"1000000077"_s);
    QVERIFY(ui_->texts(RecordingUi::Kind::Message).join(u' ').startsWith(u"Редовете са от 2 продажби"_s));
    QVERIFY(!ui_->texts(RecordingUi::Kind::Modal).contains(u"FormProdagbaMateriali"_s));
    Q_UNUSED(b);
}

void TstSaleBrowserWindows::documentTypeColumns_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("price");
    QTest::addColumn<bool>("consignment");
    QTest::addColumn<bool>("invoiceTotals");
    QTest::addColumn<bool>("otherTotals");
    QTest::newRow("tax invoice") << 0 << true << false << true << false;
    QTest::newRow("consignment") << 3 << true << true << false << true;
    QTest::newRow("retail-chain receipt: no price, no totals") << 4 << false << false << false << false;
}

void TstSaleBrowserWindows::documentTypeColumns()
{
    QFETCH(int, type);
    QFETCH(bool, price);
    QFETCH(bool, consignment);
    QFETCH(bool, invoiceTotals);
    QFETCH(bool, otherTotals);
    const QString sale = record(type, {line(500, 1, 110)}, type == 4 ? 60 : 0);
    openOn(sale, [&] {
        QCOMPARE(browser()->DBGrid1->isColumnVisible(u"CENA_MATERIAL_IZDELIE"_s), price);
        QCOMPARE(browser()->DBGrid1->isColumnVisible(u"OstatykBroiMatIzd"_s), consignment);
        QCOMPARE(browser()->GrpBoxDanFakt->isVisibleTo(browser()), invoiceTotals);
        QCOMPARE(browser()->GrpBoxPlastane->isVisibleTo(browser()), otherTotals);
        // A natural person's sale cannot have its lines corrected.
        QCOMPARE(browser()->SpdBtnKorekcia->isEnabled(), type == 4);
        // The requisition and credit note types leave the columns as they were.
        for (int keep : {9, 10}) {
            browser()->ApplyBrowserDocumentTypeMode(keep);
            QCOMPARE(browser()->DBGrid1->isColumnVisible(u"CENA_MATERIAL_IZDELIE"_s), price);
        }
    });
}

void TstSaleBrowserWindows::layoutsPreviewed_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("absent");
    QTest::newRow("stock receipt") << 2
        << QStringList{u"СТОКОВА"_s, u"41"_s, u"Строй Инвест ООД"_s, u"Бетон В25"_s, u"264.00"_s, u"Разрешил:"_s,
                       u"Предал, МОЛ :"_s, u"Мария Петрова"_s, u"Иван Иванов"_s, u"СА 1234 ВК"_s, u"Словом:"_s}
        << QStringList{};
    QTest::newRow("consignment protocol") << 3
        << QStringList{u"КОНСИГНАЦИОНЕН"_s, u"12"_s, u"Бетон В25"_s} << QStringList{u"СТОКОВА"_s};
    QTest::newRow("retail-chain receipt: no amounts") << 4
        << QStringList{u"СТОКОВА"_s, u"Арт.№"_s, u"A-17"_s, u"3800123456789"_s, u"Поръчка №"_s, u"Номер от НДР :"_s,
                       u"ЕИК:"_s}
        << QStringList{u"264.00"_s, u"132.00"_s};
    QTest::newRow("three currencies") << 6
        << QStringList{u"Суми \\ Валута"_s, u"По документ"_s, u"Платено"_s, u"Остатък задължения"_s, u"Общо USD"_s,
                       u"264.00"_s}
        << QStringList{u"Стари задължения"_s};
    QTest::newRow("A5 receipt of a natural person") << 8
        << QStringList{u"Петър Георгиев"_s, u"Цена с отст."_s, u"BGN"_s, u"132.000"_s} << QStringList{};
    QTest::newRow("dispatch note: the current line only") << 7
        << QStringList{u"ЕКСПЕДИЦИОННА БЕЛЕЖКА"_s, u"Вид на заявената смес :"_s, u"Бетон В25"_s, u"Шофьор :"_s,
                       u"Иван Иванов"_s, u"100.5"_s}
        << QStringList{u"Цимент"_s};
    QTest::newRow("requisition: number and date of the sale") << 9
        << QStringList{u"ИСКАНЕ"_s, u"за отпускане на материални ценности"_s, u"Поискал :"_s, u"09.12.26"_s, u"220.00"_s}
        << QStringList{};
}

void TstSaleBrowserWindows::layoutsPreviewed()
{
    QFETCH(int, type);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, absent);
    exec(u"update FIRMA set IMEFIRMA = 'Бетон Комерс ЕООД', ADRES = 'бул. Марица 20'"_s);
    dm().SmpFirma.refresh();
    const QString sale = record(type, {line(500, 2, 110), line(501, 10, 9.6)}, type == 8 ? 0 : 60);
    exec(u"update PRODAGBI set ARTN_POLUCH = 'A-17', BARKOD = '3800123456789'"_s);
    QString text;
    openOn(sale, [&] {
        browser()->EdEkspBelBruto->setText(u"120.5"_s);
        browser()->EdEkspBelTara->setText(u"20"_s);
        browser()->EdEkspBelBrutoExit();
        text = previewText([&] { clickButton(browser(), u"SpdBtnIzgled"_s); }, u"browser_type_%1"_s.arg(type));
    });
    for (const QString& e : expected) QVERIFY2(text.contains(e), qPrintable(e + u"\n"_s + text));
    for (const QString& a : absent) QVERIFY2(!text.contains(a), qPrintable(a + u"\n"_s + text));
}

// "Печат" of a recorded invoice prints it and then saves the boxes, even when opened by the invoice.
void TstSaleBrowserWindows::invoiceReprintedAndHeaderSaved()
{
    const QString sale = record(0, {line(500, 2, 110)});
    QDir(dir_->path()).mkpath(u"printed"_s);
    Report::setPrintFolder(dir_->filePath(u"printed"_s));
    ui_->onModal = [&](Form* form) {
        if (form == browser()) {
            browser()->EdNumTransport->setText(u"РВ 1010 ВВ"_s);
            clickButton(browser(), u"SpdBtnPechat"_s);
        } else if (form->objectName() == u"FormRealizaciaPrint"_s) {
            clickButton(form, u"BtnPrint"_s);
        }
        return form->modalResult();
    };
    browser()->open(TFormProdagbaElementi::ByInvoiceText, sale, u"1000000031"_s, 0);
    ui_->onModal = nullptr;
    Report::setPrintFolder(QString());
    QVERIFY2(!ui_->texts(RecordingUi::Kind::Message).contains(u"Документът не е отпечатан !"_s),
             qPrintable(ui_->texts(RecordingUi::Kind::Message).join(u'|')));
    const QStringList printed = QDir(dir_->filePath(u"printed"_s)).entryList({u"*.pdf"_s}, QDir::Files);
    QCOMPARE(printed.size(), 1);
    QCOMPARE(db().query(u"select first 1 NUM_TRANSPORT from PRODAGBI where NUMPRODAGBA = :N"_s, {{u"N"_s, sale}}).rows[0][0].toString(),
             u"РВ 1010 ВВ"_s);
}

QTEST_MAIN(TstSaleBrowserWindows)
#include "tst_sale_browser_windows.moc"
