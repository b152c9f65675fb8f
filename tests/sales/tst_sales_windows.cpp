#include "app/formns.h"
#include "data/dmprodagba.h"
#include "platform/base/clock.h"
#include "platform/dataset/smpdataset.h"
#include "platform/report/reportdocument.h"
#include "platform/report/reportpreview.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/radiogroup.h"
#include "sales/formprodagba.h"
#include "sales/formprodagbamateriali.h"
#include "sales/salerecording.h"
#include "reference/formnomenklaturi.h"
#include "reference/tabcompany.h"
#include "reference/tabcounterparties.h"
#include "support/appfixture.h"
#include "support/typing.h"

#include <QAction>
#include <QDateEdit>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

// The sale entry and item selection windows driven by their controls over a real database.
class TstSalesWindows : public QObject, protected AppFixture
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void taxInvoicePaidAtOnce();
    void stockReceipt();
    void naturalPersonSale();
    void specialPriceLineDrawnBlue();
    void refusalKeepsWindowAndLines();
    void workedExampleTotals();
    void cellEditsFollowIntoTheTotals();
    void shortStockAddsNoLine();
    void returnedGoodsLine();
    void correctionHasItsOwnLines();
    void companyRateFollowsIntoPendingLines();
    void oldDebtsOfTheRecipient();
    void clientOrderCheckAsksAndRecords();
    void referenceDataOpensOnTheRecipient();
    void sourceColumnFollowsWarehouseObjects();
    void selectionColumnsFollowTheDocument();
    void correctionOfAWarehouseObjectSale();
    void vatBoxOfRequisitionAndEmptyBox();
    void vatBoxNotANumberShowsNoTotals();

private:
    TFormProdagba* sale() { return app_->FormProdagba; }
    TFormProdagbaMateriali* items() { return app_->FormProdagbaMateriali; }
    SmpDataset& lines() { return app_->DMProdagba->SmpProdagbaTempNew; }
    double onHand(int material);
    // Opens the sale window from the main menu, sale through warehouses.
    void openSale();
    // In the item selection: the material's stock row, the quantity, "Запис"; then back.
    void addLines(const QList<QPair<int, QString>>& materialQuantities);
    void chooseRecipient(const QString& name);
    QString shown(const char* name)
    {
        const DBText* t = sale()->findChild<DBText*>(QString::fromLatin1(name));
        return t ? t->text() : u"(no %1)"_s.arg(QString::fromLatin1(name));
    }
};

void TstSalesWindows::init()
{
    start();
    Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
    exec(u"insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"_s);
    exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA, PROD_CENA_LV_DREBNO) "
         u"values (500, 'Болт', 1, 1, 10, 12)"_s);
    exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA, PROD_CENA_LV_DREBNO) "
         u"values (501, 'Шайба', 1, 1, 2.5, 3)"_s);
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, PROCENT_OTST_KONTR) values (60, 1, 'Клиент', 5)"_s);
    for (int m : {500, 501})
        db().executeProcedure(u"ADDDOSTAVKA"_s, {{u"NMATERIAL"_s, m}, {u"KOLICHESTVO"_s, 20.0}, {u"ED_CENA_LV"_s, 4.0},
                                                 {u"DATEPOLUCHENO"_s, QDate(2026, 11, 1)}, {u"NKONTRAGENT"_s, 61},
                                                 {u"NFAKTURA"_s, u"D1"_s}, {u"DATEFAKTURA"_s, QDate(2026, 11, 1)}});
    // Sell from the warehouses, at wholesale prices, paid at once.
    exec(u"update FIRMA set SKLOB_DA_NE = 0, CENA_EDRO_DREBNO = 1, VID_RAZPL_KLIENT = 0, OTST_PROCENT = 0, NTIP_DOKUMENT = 0"_s);
    dm().SmpFirma.refresh();
}

void TstSalesWindows::cleanup()
{
    Clock::reset();
    stop();
}

double TstSalesWindows::onHand(int material)
{
    return db().selectProcedure(u"SKLAD_MAT_NALICH_SUM"_s, {{u"NUMMATERIAL"_s, material}}).rows.front()[0].toDouble();
}

void TstSalesWindows::openSale()
{
    app_->FormNS->findChild<QAction*>(u"N5ProdFakt"_s)->trigger();
    QVERIFY(sale()->isVisible());
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modeless).last(), u"FormProdagba"_s);
}

void TstSalesWindows::chooseRecipient(const QString& name)
{
    chooseInList(sale()->DBLkpCmBoxImeKontr, name);
    chooseInList(sale()->DBLookupComboBox3, u"В брой"_s);
}

void TstSalesWindows::addLines(const QList<QPair<int, QString>>& materialQuantities)
{
    ui_->onModal = [&](Form* form) {
        [&] {
            QCOMPARE(form, items());
            QVERIFY(items()->PnlProdSklad->isVisibleTo(items()));
            SmpDataset& stock = app_->DMProdagba->SmpProdSkladNalich;
            for (const auto& [material, quantity] : materialQuantities) {
                QVERIFY(stock.locate(u"NMATERIAL"_s, {material}));
                items()->EditKolich->setText(quantity);
                clickButton(items(), u"SpeedBtnZapMaterial"_s);
            }
            clickButton(items(), u"SpeedBtnClose"_s);
        }();
        return form->modalResult();
    };
    clickButton(sale(), u"SpdBtnIzbIzdProdagba"_s);
    ui_->onModal = nullptr;
}

void TstSalesWindows::taxInvoicePaidAtOnce()
{
    openSale();
    QCOMPARE(sale()->documentType(), 0);
    QVERIFY(sale()->EditNFakt->isEnabled());
    QVERIFY(!sale()->EdNstRazp->isEnabled());
    const QString invoice = sale()->EditNFakt->text();
    QCOMPARE(invoice, u"0000000001"_s);  // the symbol 0 and nine digits
    chooseRecipient(u"Клиент"_s);
    addLines({{500, u"3"_s}, {501, u"4"_s}});
    QCOMPARE(lines().recordCount(), 2);
    // (3 * 10 + 4 * 2.5) = 40 less 5 % = 38, plus 20 % VAT = 45.60.
    QCOMPARE(shown("GrpBoxDanFaktPlastane_Stoinost"), u"45.60"_s);
    ui_->answers << true;
    clickButton(sale(), u"SpdBtnZapisDoc"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
    QVERIFY(!sale()->isVisible());
    QCOMPARE(count(u"select count(*) from PRODAGBI where NKONTRAGENT = 60 and NFAKT_INT = 1 and TIP_DOCUMENT = 0 "
                   u"and NVIDPLASTANE = 1 and PROCENT_DDS = 20 and PROCENT_OTST = 5 and NUMPRODAGBA = '20261210001'"_s),
             2);
    const double paid = db().query(u"select PLASTANE_SUMA from PRODAGBI_PLASTANE"_s).rows.front()[0].toDouble();
    QVERIFY(qAbs(paid - 45.6) < 1e-9);
    QCOMPARE(count(u"select count(*) from PRODAGBI_PLASTANE"_s), 1);
    QCOMPARE(onHand(500), 17.0);
    QCOMPARE(onHand(501), 16.0);
    // The next showing starts a new, empty sale with the next number proposed.
    openSale();
    QCOMPARE(lines().recordCount(), 0);
    QCOMPARE(sale()->EditNFakt->text(), u"0000000002"_s);
}

void TstSalesWindows::stockReceipt()
{
    openSale();
    chooseInList(sale()->DBLkpCmBIzborTipDok, u"Стокова разписка"_s);
    QCOMPARE(sale()->documentType(), 2);
    QVERIFY(sale()->EdNstRazp->isEnabled());
    QVERIFY(!sale()->EditNFakt->isEnabled());
    QCOMPARE(sale()->EdNstRazp->text(), u"1"_s);
    QVERIFY(sale()->GrpBoxOprFaktStRazp->isVisibleTo(sale()));
    QVERIFY(!sale()->GrpBoxDanFakt->isVisibleTo(sale()));
    chooseRecipient(u"Клиент"_s);
    addLines({{500, u"2"_s}});
    // VAT on the unit price: 2 * 12.00 = 24 less 5 % = 22.80.
    QCOMPARE(shown("GrpBoxOprFaktStRazpOblagaemaSt"), u"22.80"_s);
    ui_->answers << true;
    clickButton(sale(), u"SpdBtnZapisDoc"_s);
    QVERIFY(!sale()->isVisible());
    const DbResult r = db().query(u"select NSTOK_RAZP, NFAKTURA, NFAKT_INT, TIP_DOCUMENT from PRODAGBI"_s);
    QCOMPARE(r.rows.size(), std::size_t(1));
    QCOMPARE(r.rows[0][0].toInt(), 1);
    QCOMPARE(r.rows[0][1].toString(), u"0"_s);
    QCOMPARE(r.rows[0][2].toInt(), 0);
    QCOMPARE(r.rows[0][3].toInt(), 2);
    QCOMPARE(onHand(500), 18.0);
    // The document type chosen is window state: the company's default stays the tax invoice, and
    // the next sale starts with it.
    QCOMPARE(count(u"select NTIP_DOKUMENT from FIRMA"_s), 0);
    QCOMPARE(dm().SmpFirma.value(u"NTIP_DOKUMENT"_s).toInt(), 0);
    openSale();
    QCOMPARE(sale()->documentType(), 0);
}

void TstSalesWindows::naturalPersonSale()
{
    openSale();
    chooseInList(sale()->DBLkpCmBoxTipKontr, u"Физически лица"_s);
    QVERIFY(!sale()->DBLkpCmBoxImeKontr->isEnabled());
    QVERIFY(sale()->EdFzLiceIme->isEnabled());
    typeText(sale()->EdFzLiceIme, u"Иван Петров"_s);
    typeText(sale()->EdFzLiceAdres, u"София"_s);
    typeText(sale()->EdFzLiceEGN, u"8001011234"_s);
    chooseInList(sale()->DBLookupComboBox3, u"В брой"_s);
    addLines({{501, u"1"_s}});
    ui_->answers << true;
    clickButton(sale(), u"SpdBtnZapisDoc"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
    QCOMPARE(count(u"select count(*) from PRODAGBI where NKONTRAGENT = 0 and NFILIAL = 0"_s), 1);
    const DbResult p = db().query(u"select IME, ADRES, EGN from PRODAGBI_FLICA"_s);
    QCOMPARE(p.rows.size(), std::size_t(1));
    QCOMPARE(p.rows[0][0].toString(), u"Иван Петров"_s);
    QCOMPARE(p.rows[0][2].toString(), u"8001011234"_s);
    QCOMPARE(count(u"select NKONTRAGENT from PRODAGBI_PLASTANE"_s), 0);
}

void TstSalesWindows::specialPriceLineDrawnBlue()
{
    exec(u"insert into KONTR_MAT_CENI (NKONTRAGENT, NMATERIAL, SPEC_CENA) values (60, 500, 8.5)"_s);
    openSale();
    chooseRecipient(u"Клиент"_s);
    addLines({{500, u"1"_s}, {501, u"1"_s}});
    QCOMPARE(lines().recordCount(), 2);
    const SmpField* price = lines().fieldByName(u"CENA_MATERIAL_IZDELIE"_s);
    QCOMPARE(lines().valueAt(0, price).toDouble(), 8.5);
    QCOMPARE(lines().valueAt(1, price).toDouble(), 2.5);
    const auto blue = [](DBGrid* grid, int row) {
        return grid->model()->index(row, 0).data(Qt::ForegroundRole).value<QColor>() == QColor(Qt::blue);
    };
    for (DBGrid* grid : {sale()->DBGrid1, items()->DBGrid4}) {
        QVERIFY(blue(grid, 0));
        QVERIFY(!blue(grid, 1));
    }
    // A recorded sale whose second line has the special price, opened for a correction: its lines are
    // coloured by their own prices, and the sale being composed keeps its colours.
    Sales::SaleHeader h;
    h.documentType = 2;
    h.counterparty = 60;
    h.recipientName = u"Клиент"_s;
    h.paymentType = 1;
    h.stockReceiptNumber = u"4"_s;
    h.date = QDate(2026, 12, 10);
    Sales::SaleLine plain, special;
    plain.material = 501;
    plain.quantity = 1;
    plain.priceLv = 2.5;
    special = plain;
    special.material = 500;
    special.priceLv = 8.5;
    const QString number = Sales::recordSale(db(), h, {plain, special}).saleNumber;
    ui_->onModal = [&](Form* form) {
        clickButton(items(), u"SpeedBtnClose"_s);
        return form->modalResult();
    };
    QCOMPARE(items()->openCorrection(number), 1);
    ui_->onModal = nullptr;
    QVERIFY(blue(sale()->DBGrid1, 0));
    QVERIFY(!blue(sale()->DBGrid1, 1));
    QVERIFY(!blue(items()->DBGrid4, 0));
    QVERIFY(blue(items()->DBGrid4, 1));
}

// A refused recording shows every reason, stores nothing and keeps the window with its lines.
void TstSalesWindows::refusalKeepsWindowAndLines()
{
    openSale();
    addLines({{500, u"1"_s}});
    sale()->EditNFakt->clear();
    ui_->answers << true;
    clickButton(sale(), u"SpdBtnZapisDoc"_s);
    const QStringList messages = ui_->texts(RecordingUi::Kind::Message);
    QVERIFY(messages.contains(u"Не е въведен контрагент  !"_s));
    QVERIFY(messages.contains(u"Не е въведен номер на фактура   !"_s));
    QVERIFY(sale()->isVisible());
    QCOMPARE(lines().recordCount(), 1);
    QCOMPARE(count(u"select count(*) from PRODAGBI"_s), 0);
    // Leaving with lines asks; a refused recording on the way out keeps the window too.
    ui_->clear();
    ui_->answers << true;
    clickButton(sale(), u"SpdBtnExit"_s);
    QVERIFY(sale()->isVisible());
    // Declining closes without recording.
    ui_->answers << false;
    clickButton(sale(), u"SpdBtnExit"_s);
    QVERIFY(!sale()->isVisible());
    QCOMPARE(count(u"select count(*) from PRODAGBI"_s), 0);
}

// Quantity 3 at 10.00 with a line discount of 10 %, recipient discount 5 %, VAT 20 %.
void TstSalesWindows::workedExampleTotals()
{
    openSale();
    chooseRecipient(u"Клиент"_s);
    addLines({{500, u"3"_s}});
    lines().edit();
    lines().setValue(u"OTST_IZDELIE"_s, 10);
    lines().post();
    QCOMPARE(shown("GrpBoxDanFaktCenaMatIzdBroiObstoSumAgg"), u"27.00"_s);
    QCOMPARE(shown("GrpBoxDanFaktOtst_Obsta_Stoinost"), u"1.35"_s);
    QCOMPARE(shown("GrpBoxDanFaktOblagaemaSt"), u"25.65"_s);
    QCOMPARE(shown("GrpBoxDanFaktDDS_Stoinost"), u"5.13"_s);
    QCOMPARE(shown("GrpBoxDanFaktPlastane_Stoinost"), u"30.78"_s);
    QCOMPARE(shown("DBTextSlovom"), u" тридесет лева и 78 ст."_s);
    // Deferred, nothing paid now: the debt after the sale is the amount to pay.
    sale()->RdGrpVidPlastane->click(1);
    QCOMPARE(shown("DBTextZadylgLV"), u"30.78"_s);
    // The same line on a stock receipt: 12.00 a unit, 32.40, less 1.62, 30.78 to pay.
    chooseInList(sale()->DBLkpCmBIzborTipDok, u"Стокова разписка"_s);
    QCOMPARE(lines().value(u"CenaMatIzdCalc"_s).toDouble(), 12.0);
    QCOMPARE(shown("GrpBoxOprFaktStRazpCenaMatIzdBroiObstoSumAgg"), u"32.40"_s);
    QCOMPARE(shown("GrpBoxOprFaktStRazpOtst_Obsta_Stoinost"), u"1.62"_s);
    QCOMPARE(shown("GrpBoxOprFaktStRazpOblagaemaSt"), u"30.78"_s);
}

// A value typed into the line grid: the totals follow it as soon as its cell is left, for another
// cell of the same row too; "Изглед" and "Запис продажба", which take no focus from the cell, see it.
void TstSalesWindows::cellEditsFollowIntoTheTotals()
{
    openSale();
    chooseRecipient(u"Клиент"_s);
    addLines({{500, u"3"_s}});
    QCOMPARE(shown("GrpBoxDanFaktPlastane_Stoinost"), u"34.20"_s);
    DBGrid* grid = sale()->DBGrid1;
    const auto cell = [grid](const char* field) {
        const QModelIndex i = grid->model()->index(0, grid->columnOfField(QString::fromLatin1(field)));
        grid->scrollTo(i);
        return grid->visualRect(i).center();
    };
    const auto typeInto = [&](const char* field, const QString& text) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell(field));
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
        QVERIFY(editor);
        editor->selectAll();
        typeText(editor, text);
    };
    // The discount, then a click into the price of the same row: 27.00 less 5 % plus VAT, owed in
    // full when deferred.
    sale()->RdGrpVidPlastane->click(1);
    QCOMPARE(shown("DBTextZadylgLV"), u"34.20"_s);
    typeInto("OTST_IZDELIE", u"10"_s);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell("CENA_MATERIAL_IZDELIE"));
    QCOMPARE(shown("GrpBoxDanFaktCenaMatIzdBroiObstoSumAgg"), u"27.00"_s);
    QCOMPARE(shown("GrpBoxDanFaktPlastane_Stoinost"), u"30.78"_s);
    QCOMPARE(shown("DBTextSlovom"), u" тридесет лева и 78 ст."_s);
    QCOMPARE(shown("DBTextZadylgLV"), u"30.78"_s);
    sale()->RdGrpVidPlastane->click(0);

    // A discount of 20 % still in its cell when the preview is asked: 24.00 less 5 % plus VAT.
    typeInto("OTST_IZDELIE", u"20"_s);
    QString previewed;
    ui_->onModal = [&](Form* form) {
        if (auto* preview = qobject_cast<Report::ReportPreview*>(form)) previewed = Report::documentText(preview->document());
        return 0;
    };
    clickButton(sale(), u"SpBtnPrintDocument"_s);
    ui_->onModal = nullptr;
    QVERIFY2(previewed.contains(u"27.36"_s), qPrintable(previewed));
    QCOMPARE(shown("GrpBoxDanFaktPlastane_Stoinost"), u"27.36"_s);

    // A price still in its cell when the sale is recorded: 48.00 less 5 % plus VAT.
    typeInto("CENA_MATERIAL_IZDELIE", u"20"_s);
    ui_->answers << true;
    clickButton(sale(), u"SpdBtnZapisDoc"_s);
    QVERIFY(!sale()->isVisible());
    QCOMPARE(count(u"select count(*) from PRODAGBI where CENA_MATERIAL_IZDELIE = 20 and OTST_IZDELIE = 20"_s), 1);
    const double paid = db().query(u"select PLASTANE_SUMA from PRODAGBI_PLASTANE"_s).rows.front()[0].toDouble();
    QVERIFY2(qAbs(paid - 54.72) < 1e-9, qPrintable(QString::number(paid, 'f', 6)));
}

void TstSalesWindows::shortStockAddsNoLine()
{
    openSale();
    addLines({{500, u"15"_s}, {500, u"6"_s}, {501, u"abc"_s}});
    QCOMPARE(lines().recordCount(), 1);
    const QStringList messages = ui_->texts(RecordingUi::Kind::Message);
    QVERIFY(messages.contains(u"Недостатъчно количество на  Болт  !"_s));
    QVERIFY(messages.contains(u"Невалидно количество: \"abc\" !"_s));
}

// A negative quantity takes goods back into the warehouse: the material must be chosen.
void TstSalesWindows::returnedGoodsLine()
{
    openSale();
    chooseRecipient(u"Клиент"_s);
    ui_->onModal = [&](Form* form) {
        [&] {
            items()->EditKolich->setText(u"-2"_s);
            clickButton(items(), u"SpeedBtnZapMaterial"_s);
            items()->RdGrpIzbMaterial->click(1);
            chooseInList(items()->DBLkpCmBoxMat, u"Шайба"_s);
            QVERIFY(items()->DBTextNalich->isVisible());
            QCOMPARE(items()->DBTextNalich->text(), u"20.000"_s);
            items()->EditKolich->setText(u"-2"_s);
            clickButton(items(), u"SpeedBtnZapMaterial"_s);
            clickButton(items(), u"SpeedBtnClose"_s);
        }();
        return form->modalResult();
    };
    clickButton(sale(), u"SpdBtnIzbIzdProdagba"_s);
    ui_->onModal = nullptr;
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{u"Не е избран материал за връщане !!!"_s});
    QCOMPARE(lines().recordCount(), 1);
    QCOMPARE(lines().value(u"PROD_VYRN"_s).toInt(), 1);
    QCOMPARE(lines().value(u"NMATERIAL"_s).toInt(), 501);
    QCOMPARE(lines().value(u"CENA_MATERIAL_IZDELIE"_s).toDouble(), 2.5);
    ui_->answers << true;
    clickButton(sale(), u"SpdBtnZapisDoc"_s);
    QVERIFY(!sale()->isVisible());
    QCOMPARE(onHand(501), 22.0);
    QCOMPARE(count(u"select count(*) from SKLAD where NFAKTURA = 'Vyrn001' and NKONTRAGENT = 60 and KOLICHESTVO = 2"_s), 1);
    QCOMPARE(count(u"select count(*) from PRODAGBI_MATERIALI where BROI_MAT_PROD = -2"_s), 1);
    // Returned goods are owed back: the amount to pay is negative.
    QVERIFY(db().query(u"select PLASTANE_SUMA from PRODAGBI_PLASTANE"_s).rows.front()[0].toDouble() < 0);
}

// A correction loads the recorded sale into a list of its own, keeps the sale's number and nets the
// stock; a sale being composed meanwhile keeps its lines.
void TstSalesWindows::correctionHasItsOwnLines()
{
    Sales::SaleHeader h;
    h.documentType = 2;
    h.counterparty = 60;
    h.recipientName = u"Клиент"_s;
    h.paymentType = 1;
    h.stockReceiptNumber = u"4"_s;
    h.vatPct = 20;
    h.date = QDate(2026, 12, 10);
    Sales::SaleLine a, b;
    a.material = 500;
    a.quantity = 3;
    a.priceLv = 10;
    b = a;
    b.material = 501;
    b.quantity = 2;
    const QString number = Sales::recordSale(db(), h, {a, b}).saleNumber;
    QCOMPARE(onHand(500), 17.0);

    openSale();
    addLines({{501, u"1"_s}});
    QCOMPARE(lines().recordCount(), 1);
    ui_->onModal = [&](Form* form) {
        [&] {
            SmpDataset& own = app_->DMProdagba->SmpProdagbaKorekcia;
            QCOMPARE(own.recordCount(), 2);
            // Each line names the stock line it drew from, for the correction to draw from it again.
            QCOMPARE(own.valueAt(1, own.fieldByName(u"AUTONUM_SKLAD"_s)).toInt(),
                     count(u"select AUTONUM from SKLAD where NMATERIAL = 501"_s));
            QCOMPARE(items()->DBText3->text(), number);
            QVERIFY(items()->BitBtnZapProdKorek->isEnabled());
            // More than the stock and the sale's own 3 together is refused, and the box offers what is available.
            SmpDataset& stock = app_->DMProdagba->SmpProdSkladNalich;
            QVERIFY(stock.locate(u"NMATERIAL"_s, {500}));
            items()->EditKolich->setText(u"21"_s);
            clickButton(items(), u"SpeedBtnZapMaterial"_s);
            QCOMPARE(items()->EditKolich->text(), u"20"_s);
            QCOMPARE(own.recordCount(), 2);
            // The first line goes; 5 of the first material come in its place.
            own.first();
            own.remove();
            items()->EditKolich->setText(u"5"_s);
            clickButton(items(), u"SpeedBtnZapMaterial"_s);
            QCOMPARE(own.recordCount(), 2);
            ui_->answers << true;
            clickButton(items(), u"BitBtnZapProdKorek"_s);
        }();
        return form->modalResult();
    };
    QCOMPARE(items()->openCorrection(number), 1);
    ui_->onModal = nullptr;
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{u"Недостатъчно количество на  Болт  !"_s});
    QCOMPARE(count(u"select count(*) from PRODAGBI where NUMPRODAGBA = '%1' and NSTOK_RAZP = 4"_s.arg(number)), 2);
    QCOMPARE(onHand(500), 15.0);
    QCOMPARE(onHand(501), 18.0);
    QCOMPARE(count(u"select count(*) from PRODAGBI_PLASTANE"_s), 1);
    // The sale on screen still has its line.
    QCOMPARE(lines().recordCount(), 1);
    QCOMPARE(lines().value(u"NMATERIAL"_s).toInt(), 501);
}

// Saving the company with a new VAT rate recomputes the lines of the sale being entered.
void TstSalesWindows::companyRateFollowsIntoPendingLines()
{
    openSale();
    chooseRecipient(u"Клиент"_s);
    addLines({{500, u"1"_s}});
    QCOMPARE(shown("GrpBoxDanFaktPlastane_Stoinost"), u"11.40"_s);
    dm().SmpFirma.edit();
    dm().SmpFirma.setValue(u"DDS_PROCENT"_s, 10);
    dm().SmpFirma.post();
    clickButton(form()->TabSheet6, u"SpeedBtnZapFirma"_s);
    QCOMPARE(sale()->Edit_DDS->text(), u"10"_s);
    QCOMPARE(shown("GrpBoxDanFaktPlastane_Stoinost"), u"10.45"_s);
}

// The recipient's balance is read when he is chosen, shown under the old debts and carried into the
// debt after the sale; a natural person has none shown.
void TstSalesWindows::oldDebtsOfTheRecipient()
{
    Sales::SaleHeader h;
    h.documentType = 0;
    h.counterparty = 60;
    h.recipientName = u"Клиент"_s;
    h.paymentType = 1;
    h.invoiceNumbering = 1;
    h.invoiceNumber = u"0000000050"_s;
    h.vatPct = 20;
    h.recipientDiscountPct = 5;
    h.date = QDate(2026, 12, 1);
    h.payAtOnce = false;
    Sales::SaleLine l;
    l.material = 500;
    l.quantity = 1;
    l.priceLv = 10;
    Sales::recordSale(db(), h, {l});  // 10 less 5 % plus 20 % VAT = 11.40 owed

    openSale();
    QVERIFY(!sale()->LbDylgLv->isVisibleTo(sale()));
    chooseRecipient(u"Клиент"_s);
    QVERIFY(sale()->LbDylgLv->isVisibleTo(sale()));
    QCOMPARE(sale()->LbDylgLv->text(), u"11.40"_s);
    QCOMPARE(sale()->LbDylgUSD->text(), u"0.00"_s);
    sale()->RdGrpVidPlastane->click(1);
    addLines({{501, u"2"_s}});  // 5.00 less 5 % plus VAT = 5.70
    QCOMPARE(shown("DBTextZadylgLV"), u"17.10"_s);
    sale()->EdRazsrSumaLv->setText(u"5.7"_s);
    QVERIFY(QMetaObject::invokeMethod(sale()->EdRazsrSumaLv, "editingFinished"));
    QCOMPARE(shown("DBTextZadylgLV"), u"11.40"_s);
    // Paid at once: the debt stays the old balance.
    sale()->RdGrpVidPlastane->click(0);
    QCOMPARE(shown("DBTextZadylgLV"), u"11.40"_s);
    chooseInList(sale()->DBLkpCmBoxTipKontr, u"Физически лица"_s);
    QVERIFY(!sale()->LbDylgLv->isVisibleTo(sale()));
}

// With the order check on, every line beyond the client's orders asks; the answers change nothing
// and the sale is recorded. Leaving with "Изход" records without the check.
void TstSalesWindows::clientOrderCheckAsksAndRecords()
{
    exec(u"update FIRMA set AUTO_GEN_PORYCHKA = 1"_s);
    dm().SmpFirma.refresh();
    exec(u"insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (7, 1, 500)"_s);
    exec(u"insert into PORYCHKI (AUTONUM_NPORYCHKA, NKONTRAGENT) values (1, 60)"_s);
    exec(u"insert into PORYCHKI_IZDELIA (AUTONUM, NPORYCHKA, NKONTRAGENT, NTIP_IZDELIE, BROI_IZDELIE) "
         u"values (1, 1, 60, 7, 5)"_s);
    const QString order = u" Автоматично създаване на поръчка ?"_s;
    openSale();
    chooseRecipient(u"Клиент"_s);
    addLines({{500, u"3"_s}, {501, u"1"_s}});
    ui_->answers << true << true;
    clickButton(sale(), u"SpdBtnZapisDoc"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), (QStringList{u" Запис на продажба ?"_s, order}));
    QVERIFY(!sale()->isVisible());
    QCOMPARE(count(u"select count(*) from PRODAGBI"_s), 2);
    QCOMPARE(count(u"select count(*) from PORYCHKI"_s), 1);

    // 3 sold and 3 more of 5 ordered: now the first line asks too.
    ui_->clear();
    openSale();
    chooseRecipient(u"Клиент"_s);
    addLines({{500, u"3"_s}});
    ui_->answers << true << false;
    clickButton(sale(), u"SpdBtnZapisDoc"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), (QStringList{u" Запис на продажба ?"_s, order}));
    QCOMPARE(count(u"select count(*) from PRODAGBI"_s), 3);

    ui_->clear();
    openSale();
    chooseRecipient(u"Клиент"_s);
    addLines({{500, u"1"_s}});
    ui_->answers << true;
    clickButton(sale(), u"SpdBtnExit"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList{u" Запис на продажба ?"_s});
    QCOMPARE(count(u"select count(*) from PRODAGBI"_s), 4);
}

// "Номенклатури" opens the reference data window on the recipient; a counterparty added there is a
// choice when it closes, and the recipient stays chosen. A natural person has no such button.
void TstSalesWindows::referenceDataOpensOnTheRecipient()
{
    openSale();
    chooseRecipient(u"Клиент"_s);
    QVERIFY(sale()->SpdBtnNomenkl->isEnabled());
    TFormNomenklaturi* reference = app_->FormNomenklaturi;
    ui_->onModal = [&](Form* form) {
        [&] {
            QCOMPARE(form, reference);
            QCOMPARE(reference->PageControl1->currentWidget(), reference->TabSheet2);
            QCOMPARE(reference->TabSheet2->RdGrpIzbKontragent->itemIndex(), 0);
            QCOMPARE(dm().SmpViewKontr.value(u"NKONTRAGENT"_s).toInt(), 60);
            exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (62, 1, 'Нов клиент')"_s);
        }();
        form->close();
        return 0;
    };
    clickButton(sale(), u"SpdBtnNomenkl"_s);
    ui_->onModal = nullptr;
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList{u"FormNomenklaturi"_s});
    QCOMPARE(sale()->DBLkpCmBoxImeKontr->currentText(), u"Клиент"_s);
    QVERIFY(sale()->LbDylgLv->isVisibleTo(sale()));
    chooseInList(sale()->DBLkpCmBoxImeKontr, u"Нов клиент"_s);
    QCOMPARE(sale()->header().counterparty, 62);
    chooseInList(sale()->DBLkpCmBoxTipKontr, u"Физически лица"_s);
    QVERIFY(!sale()->SpdBtnNomenkl->isEnabled());
}

// The lines name the warehouse object they leave only while the sale goes through warehouse objects.
void TstSalesWindows::sourceColumnFollowsWarehouseObjects()
{
    openSale();
    QCOMPARE(sale()->RdGrpSklObDaNe->itemIndex(), 1);
    QVERIFY(!sale()->DBGrid1->isColumnVisible(u"ImeSklOb"_s));
    sale()->RdGrpSklObDaNe->click(0);
    QVERIFY(sale()->DBGrid1->isColumnVisible(u"ImeSklOb"_s));
    sale()->RdGrpSklObDaNe->click(1);
    QVERIFY(!sale()->DBGrid1->isColumnVisible(u"ImeSklOb"_s));
}

// The item selection's line grid shows the price columns of the document type, as the sale window.
void TstSalesWindows::selectionColumnsFollowTheDocument()
{
    openSale();
    chooseInList(sale()->DBLkpCmBIzborTipDok, u"Сток.разп.ЛВ,USD,EUR"_s);
    QVERIFY(sale()->DBGrid1->isColumnVisible(u"CENA_MAT_IZD_USD"_s));
    for (const auto& [type, usd] : {std::pair{u"Сток.разп.ЛВ,USD,EUR"_s, true}, {u"Данъчна фактура"_s, false}}) {
        chooseInList(sale()->DBLkpCmBIzborTipDok, type);
        ui_->onModal = [&](Form* form) {
            [&] {
                QCOMPARE(items()->DBGrid4->isColumnVisible(u"CENA_MAT_IZD_USD"_s), usd);
                QCOMPARE(items()->DBGrid4->isColumnVisible(u"CENA_MAT_IZD_EUR"_s), usd);
                QVERIFY(!items()->DBGrid4->isColumnVisible(u"BARKOD"_s));
                QVERIFY(!items()->DBGrid4->isColumnVisible(u"ImeSklOb"_s));
            }();
            clickButton(items(), u"SpeedBtnClose"_s);
            return form->modalResult();
        };
        clickButton(sale(), u"SpdBtnIzbIzdProdagba"_s);
        ui_->onModal = nullptr;
        QCOMPARE(sale()->DBGrid1->isColumnVisible(u"CENA_MAT_IZD_USD"_s), usd);
    }
}

// Correcting a sale from a warehouse object takes new lines from a chosen object only; every material
// the objects hold is offered, whatever its number.
void TstSalesWindows::correctionOfAWarehouseObjectSale()
{
    exec(u"insert into TIP_SKL_OBEKT (NSKL_OBEKT, IME_SKL_OBEKT) values (3, 'Магазин')"_s);
    exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, PRODAGNA_CENA) values (20000, 'Лист', 1, 1, 7)"_s);
    for (int m : {500, 20000})
        db().executeProcedure(u"ADDDOSTAVKA_SKLOB"_s,
                              {{u"ADD_UPD"_s, 1}, {u"NUM_SKL_RAZP"_s, 4}, {u"NSKL_OBEKT"_s, 3}, {u"NMATERIAL"_s, m},
                               {u"KOLICHESTVO"_s, 6.0}, {u"DATEPOLUCHENO"_s, QDate(2026, 11, 5)}});
    Sales::SaleHeader h;
    h.documentType = 2;
    h.counterparty = 60;
    h.recipientName = u"Клиент"_s;
    h.paymentType = 1;
    h.stockReceiptNumber = u"9"_s;
    h.date = QDate(2026, 12, 10);
    Sales::SaleLine l;
    l.material = 500;
    l.quantity = 2;
    l.priceLv = 10;
    l.warehouseObject = 3;
    const QString number = Sales::recordSale(db(), h, {l}).saleNumber;

    ui_->onModal = [&](Form* form) {
        [&] {
            QVERIFY(items()->PnlProdSklOb->isVisibleTo(items()));
            QVERIFY(items()->DBGrid4->isColumnVisible(u"ImeSklOb"_s));
            QVERIFY(items()->DBGrid4->isColumnVisible(u"CENA_MAT_IZD_EUR"_s));
            QVERIFY(!items()->DBGrid4->isColumnVisible(u"BARKOD"_s));
            items()->RdGrpSklOb->click(0);
            SmpDataset& stock = app_->DMProdagba->SmpSklObNalich;
            QVERIFY(stock.locate(u"NMATERIAL"_s, {20000}));
            items()->EditKolich->setText(u"1"_s);
            clickButton(items(), u"SpeedBtnZapMaterial"_s);
            QCOMPARE(app_->DMProdagba->SmpProdagbaKorekcia.recordCount(), 1);
            items()->RdGrpSklOb->click(1);
            chooseInList(items()->DBLkpCmbSklOb, u"Магазин"_s);
            QVERIFY(stock.locate(u"NMATERIAL"_s, {20000}));
            clickButton(items(), u"SpeedBtnZapMaterial"_s);
            QCOMPARE(app_->DMProdagba->SmpProdagbaKorekcia.recordCount(), 2);
            ui_->answers << true;
            clickButton(items(), u"BitBtnZapProdKorek"_s);
        }();
        return form->modalResult();
    };
    QCOMPARE(items()->openCorrection(number), 1);
    ui_->onModal = nullptr;
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{u"Не е избран складов обект ?"_s});
    QCOMPARE(Sales::warehouseObjectStockOf(db(), 3, 20000), 5.0);
    QCOMPARE(Sales::warehouseObjectStockOf(db(), 3, 500), 4.0);
}

// An emptied VAT box reads 0 when the totals are computed; a requisition sets it to 0.
void TstSalesWindows::vatBoxOfRequisitionAndEmptyBox()
{
    openSale();
    chooseRecipient(u"Клиент"_s);
    addLines({{500, u"1"_s}});
    sale()->Edit_DDS->clear();
    QVERIFY(QMetaObject::invokeMethod(sale()->Edit_DDS, "editingFinished"));
    QCOMPARE(sale()->Edit_DDS->text(), u"0"_s);
    QCOMPARE(shown("GrpBoxDanFaktPlastane_Stoinost"), u"9.50"_s);
    sale()->Edit_DDS->setText(u"20"_s);
    chooseInList(sale()->DBLkpCmBIzborTipDok, u"Искане"_s);
    QCOMPARE(sale()->Edit_DDS->text(), u"0"_s);
    QCOMPARE(lines().value(u"CenaMatIzdCalc"_s).toDouble(), 10.0);
}

// A VAT box whose text is no number shows no totals that need a rate, says so when it is left, and
// gives no preview; an emptied box reads 0 instead (above).
void TstSalesWindows::vatBoxNotANumberShowsNoTotals()
{
    openSale();
    chooseRecipient(u"Клиент"_s);
    addLines({{500, u"1"_s}});
    QCOMPARE(shown("GrpBoxDanFaktPlastane_Stoinost"), u"11.40"_s);
    const QString bad = u"Невалидно число в \"Заложено ДДС\": \"2.0.0\" !"_s;
    sale()->Edit_DDS->setText(u"2.0.0"_s);
    QVERIFY(QMetaObject::invokeMethod(sale()->Edit_DDS, "editingFinished"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{bad});
    // The invoice's taxable amount needs no rate; its VAT, amount to pay, words and debt do.
    QCOMPARE(shown("GrpBoxDanFaktOblagaemaSt"), u"9.50"_s);
    for (const char* field : {"GrpBoxDanFaktDDS_Stoinost", "GrpBoxDanFaktPlastane_Stoinost", "DBTextSlovom", "DBTextZadylgLV"})
        QVERIFY2(shown(field).isEmpty(), field);
    ui_->clear();
    clickButton(sale(), u"SpBtnPrintDocument"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{bad});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList());
    // A stock receipt adds the rate to its unit prices: none of its figures is shown.
    chooseInList(sale()->DBLkpCmBIzborTipDok, u"Стокова разписка"_s);
    QVERIFY(lines().value(u"CenaMatIzdCalc"_s).isNull());
    QVERIFY(shown("GrpBoxOprFaktStRazpOblagaemaSt").isEmpty());
    // A rate again: the totals are back.
    sale()->Edit_DDS->setText(u"20"_s);
    QVERIFY(QMetaObject::invokeMethod(sale()->Edit_DDS, "editingFinished"));
    QCOMPARE(shown("GrpBoxOprFaktStRazpOblagaemaSt"), u"11.40"_s);
}

QTEST_MAIN(TstSalesWindows)
#include "tst_sales_windows.moc"
