#include "data/dmrazpl.h"
#include "payments/formrazpldost.h"
#include "payments/formrazplastania.h"
#include "payments/formrazplklient.h"
#include "payments/tabrazpl.h"
#include "platform/base/clock.h"
#include "platform/report/reportpreview.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/radiogroup.h"
#include "support/appfixture.h"
#include "support/pdftext.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

// The payments window and its dialogs driven as a user does: choices, payments entered for the
// chosen client, corrections and deletions of payment rows only, row colours and the printouts.
class TstPaymentsWindows : public QObject, public AppFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(10, 0))); }
    void cleanupTestCase() { Clock::reset(); }
    void init();
    void cleanup();

    void paymentGoesToTheChosenClient();
    void chosenClientFollowsKeysAndWheel();
    void opensOnTheFirstType();
    void failedReloadStoresThePaymentOnce();
    void acknowledgementAfterTheStoredPayment();
    void onlyPaymentRowsAreCorrectedOrDeleted();
    void allClientsAndOpenPeriod();
    void supplierPaymentStartsFromStoredValues();
    void supplierRowColours();
    void statementsPrintTheirPeriod();
    void balancesFilterAndPrintout();

private:
    TFormRazplastania* form() { return app_->FormRazplastania; }
    TabRazplKlienti* clients() { return form()->TabSheet1; }
    TDMRazpl& razpl() { return *app_->DMRazpl; }
    void chooseClient(int type, int client);
    static void click(QWidget* in, const char* name) { in->findChild<QToolButton*>(QString::fromLatin1(name))->click(); }
    // Types the amounts into the client dialog and saves, answering the questions given.
    void payInDialog(const QString& lv, const QString& usd, const QString& eur, QList<bool> answers);
    Report::Document lastPreview_;
};

void TstPaymentsWindows::init()
{
    start();
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, IMEKONTRAGENT_LAT) values (10, 1, 'Алфа ООД', 'Alfa OOD')"_s);
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (11, 1, 'Бета ЕООД')"_s);
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (20, 2, 'Доставчик АД')"_s);
    exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NMIARKA) values (500, 'Болт М8', 1)"_s);
    // Client 10 owes 100 BGN and 40 EUR, client 11 owes 50 BGN.
    exec(u"insert into PRODAGBI (AUTONUM, NUMPRODAGBA, NKONTRAGENT, TIP_DOCUMENT, NMATERIAL, BROI_MATERIAL_IZDELIE,"
         u" CENA_MATERIAL_IZDELIE, DATEFAKTURA) values (1, '20261201001', 10, 2, 500, 10, 10, '2026-12-01')"_s);
    exec(u"insert into PRODAGBI (AUTONUM, NUMPRODAGBA, NKONTRAGENT, TIP_DOCUMENT, NMATERIAL, BROI_MATERIAL_IZDELIE,"
         u" CENA_MAT_IZD_EUR, DATEFAKTURA) values (2, '20261201001', 10, 2, 500, 4, 10, '2026-12-01')"_s);
    exec(u"insert into PRODAGBI (AUTONUM, NUMPRODAGBA, NKONTRAGENT, TIP_DOCUMENT, NMATERIAL, BROI_MATERIAL_IZDELIE,"
         u" CENA_MATERIAL_IZDELIE, DATEFAKTURA) values (3, '20261202001', 11, 2, 500, 5, 10, '2026-12-02')"_s);
    // An old payment of client 10, before this period.
    exec(u"insert into PRODAGBI_PLASTANE (NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA) values (10, '2025-01-15', 15)"_s);
    ui_->onModal = [this](Form* f) {
        if (auto* p = qobject_cast<Report::ReportPreview*>(f)) lastPreview_ = p->document();
        return 0;
    };
    form()->show();
}

void TstPaymentsWindows::cleanup()
{
    form()->close();
    stop();
}

void TstPaymentsWindows::chooseClient(int type, int client)
{
    clients()->DBLkpCmBoxTipKontrProd->setKeyValue(type);
    clients()->DBLkpCmBoxTipKontrProdCloseUp();
    clients()->RdGrpTipKontr->click(1);
    clients()->DBLkpCmBoxKontrKlienti->setKeyValue(client);
    clients()->DBLkpCmBoxKontrKlientiCloseUp();
}

void TstPaymentsWindows::payInDialog(const QString& lv, const QString& usd, const QString& eur, QList<bool> answers)
{
    ui_->onModal = [this, lv, usd, eur, answers](Form* f) {
        if (auto* p = qobject_cast<Report::ReportPreview*>(f)) {
            lastPreview_ = p->document();
            return 0;
        }
        TFormRazplKlient* d = app_->FormRazplKlient;
        d->Edit1->setText(lv);
        d->Edit2->setText(usd);
        d->Edit3->setText(eur);
        d->Edit4->setText(u"в брой"_s);
        ui_->answers = answers;
        click(d, "SpdBtnUpdate");
        return d->modalResult();
    };
}

// The payment is stored for the client the lookup shows, even with the list's cursor elsewhere.
void TstPaymentsWindows::paymentGoesToTheChosenClient()
{
    chooseClient(1, 11);
    QCOMPARE(clients()->chosenClient(), 11);
    QCOMPARE(razpl().SmpSprRazpl_Klienti.recordCount(), 1);
    razpl().SmpRazplKontrProd.first();  // the list's cursor on "Алфа ООД"
    QCOMPARE(razpl().SmpRazplKontrProd.value(u"NKONTRAGENT"_s).toInt(), 10);
    payInDialog(u"20.50"_s, QString(), QString(), {true, false});
    clients()->SpdBtnPlastKlientNovo->click();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QCOMPARE(count(u"select count(*) from PRODAGBI_PLASTANE where NKONTRAGENT = 11 and PLASTANE_SUMA = 20.5"
                   u" and PLASTANE_SUMA_USD = 0 and NUMPRODAGBA is null"_s), 1);
    QCOMPARE(count(u"select count(*) from PRODAGBI_PLASTANE where NKONTRAGENT = 10"_s), 1);
    // Visible at once, in blue, and in the balances.
    SmpDataset& list = razpl().SmpSprRazpl_Klienti;
    QCOMPARE(list.recordCount(), 2);
    QCOMPARE(list.value(u"OstatykSumLV"_s).toDouble(), 29.5);
    const int row = list.find(u"IME_MATERIAL_IZDELIE"_s, {u"Плащане от клиент"_s});
    QCOMPARE(clients()->DBGrid1->model()->index(row, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
    QCOMPARE(razpl().SmpSprRazplObsto.value(u"KLIENTI_RAZLIKA_LV"_s).toDouble(), 100 - 15 + 50 - 20.5);

    // Nothing typed: refused after the boxes are set to 0, and the dialog stays open.
    payInDialog(QString(), QString(), QString(), {});
    clients()->SpdBtnPlastKlientNovo->click();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message).last(), u"Не са въведени суми за разплащане !"_s);
    QCOMPARE(app_->FormRazplKlient->Edit1->text(), u"0"_s);
    QCOMPARE(count(u"select count(*) from PRODAGBI_PLASTANE"_s), 2);

    // No client shown: refused.
    clients()->DBLkpCmBoxKontrKlienti->setKeyValue(QVariant());
    clients()->DBLkpCmBoxKontrKlientiCloseUp();
    ui_->clear();
    clients()->SpdBtnPlastKlientNovo->click();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{u"Не е избран клиент за разплащане !"_s});
}

// Choosing with the arrow keys or the wheel on the closed box counts as a choice; counterparty 0
// ("Физически лица") is a client like any other.
void TstPaymentsWindows::chosenClientFollowsKeysAndWheel()
{
    chooseClient(1, 10);
    DBLookupComboBox* box = clients()->DBLkpCmBoxKontrKlienti;
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentText(), u"Бета ЕООД"_s);
    QCOMPARE(clients()->chosenClient(), 11);
    QCOMPARE(razpl().SmpSprRazpl_Klienti.recordCount(), 1);  // the list follows too
    QWheelEvent up(QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box, &up);
    QCOMPARE(box->currentText(), u"Алфа ООД"_s);
    QCOMPARE(clients()->chosenClient(), 10);
    QCOMPARE(razpl().SmpSprRazpl_Klienti.recordCount(), 2);

    chooseClient(7, 0);
    QCOMPARE(clients()->chosenClient(), 0);
    payInDialog(u"7"_s, QString(), QString(), {true, false});
    clients()->SpdBtnPlastKlientNovo->click();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
    QCOMPARE(count(u"select count(*) from PRODAGBI_PLASTANE where NKONTRAGENT = 0 and PLASTANE_SUMA = 7"_s), 1);
}

// On opening the sales tab lists the first counterparty type's rows, and the type lookup shows it.
void TstPaymentsWindows::opensOnTheFirstType()
{
    QCOMPARE(clients()->DBLkpCmBoxTipKontrProd->keyValue().toInt(),
             razpl().SmpRazplKontrTipProd.valueAt(0, razpl().SmpRazplKontrTipProd.fieldByName(u"NTIP_KONTRAGENT"_s)).toInt());
    QVERIFY(!clients()->DBLkpCmBoxTipKontrProd->currentText().isEmpty());
    QCOMPARE(razpl().SmpSprRazpl_Klienti.recordCount(), 3);  // both clients' sales of the last 30 days
}

// A balance list that cannot be re-read after the payment is stored: the failure is said, the dialog
// closes all the same, and the payment is there once.
void TstPaymentsWindows::failedReloadStoresThePaymentOnce()
{
    chooseClient(1, 11);
    QVERIFY(razpl().SmpSprRazplObsto.isActive());
    razpl().SmpSprRazplObsto.setCommandText(u"select * from NO_SUCH_RELATION"_s);
    int shown = 0;
    ui_->onModal = [this, &shown](Form* f) {
        if (f != app_->FormRazplKlient) return 0;
        ++shown;
        TFormRazplKlient* d = app_->FormRazplKlient;
        d->Edit1->setText(u"3"_s);
        ui_->answers = {true, false};
        click(d, "SpdBtnUpdate");
        if (d->modalResult() == 0) click(d, "SpdBtnUpdate");  // a user trying again on a dialog left open
        return d->modalResult();
    };
    clients()->SpdBtnPlastKlientNovo->click();
    QCOMPARE(shown, 1);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error).size(), qsizetype(1));
    QCOMPARE(app_->FormRazplKlient->modalResult(), 1);
    QCOMPARE(count(u"select count(*) from PRODAGBI_PLASTANE where NKONTRAGENT = 11 and PLASTANE_SUMA = 3"_s), 1);
}

// The acknowledgement is printed once the payment is stored, with the client's balance over all
// dates (the old payment outside the window's period counts); currencies not paid stay empty.
void TstPaymentsWindows::acknowledgementAfterTheStoredPayment()
{
    chooseClient(1, 10);
    payInDialog(u"0"_s, u"0"_s, u"12.50"_s, {true, true});
    clients()->SpdBtnPlastKlientNovo->click();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), (QStringList{u" Запис на плащане ?"_s, u" Ордер за плащане печат ?"_s}));
    QCOMPARE(count(u"select count(*) from PRODAGBI_PLASTANE where NKONTRAGENT = 10 and PLASTANE_SUMA_EUR = 12.5"_s), 1);
    const QString text = pdfText(lastPreview_, *dir_, u"acknowledgement"_s).simplified();
    QVERIFY2(text.contains(u"Разплащания с клиент на - 10.12.2026"_s), qPrintable(text));
    QVERIFY(text.contains(u"Алфа ООД"_s));
    const QStringList lines = pdfText(lastPreview_, *dir_, u"acknowledgement"_s).split(u'\n');
    const auto line = [&lines](const QString& start) {
        for (const QString& l : lines)
            if (l.trimmed().startsWith(start)) return l.simplified();
        return QString();
    };
    // Old: 100 - 15 BGN and 40 EUR; paid 12.50 EUR; new 27.50 EUR; BGN and USD payment empty.
    QCOMPARE(line(u"Стари задължения"_s), u"Стари задължения 85.00 0.00 40.00"_s);
    QCOMPARE(line(u"Плащане"_s), u"Плащане 12.50"_s);
    QCOMPARE(line(u"Остатък дължимо"_s), u"Остатък дължимо 27.50"_s);

    // A correction asks no acknowledgement question and keeps the payment's client.
    razpl().SmpSprRazpl_Klienti.locate(u"PLATENO_EUR"_s, {12.5});
    ui_->clear();
    payInDialog(u"5"_s, QString(), QString(), {true});
    clients()->SpdBtnPlastKlientKorekcClick();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList{u" Запис на плащане ?"_s});
    QCOMPARE(count(u"select count(*) from PRODAGBI_PLASTANE where NKONTRAGENT = 10 and PLASTANE_SUMA = 5 and PLASTANE_SUMA_EUR = 0"_s), 1);
}

void TstPaymentsWindows::onlyPaymentRowsAreCorrectedOrDeleted()
{
    exec(u"insert into PRODAGBI_PLASTANE (NUMPRODAGBA, NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA) values ('20261201001', 10, '2026-12-01', 60)"_s);
    chooseClient(1, 10);
    SmpDataset& list = razpl().SmpSprRazpl_Klienti;
    for (const QString& text : {u"Болт М8"_s, u"Плащане по продажба 20261201001"_s}) {
        QVERIFY(list.locate(u"IME_MATERIAL_IZDELIE"_s, {text}));
        ui_->clear();
        clients()->SpdBtnDelProdPlast->click();
        clients()->SpdBtnPlastKlientKorekc->click();
        QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
                 (QStringList{u"Не сте позиционирали върху плащане за изтриване !"_s,
                              u"За корекция по продажба - от меню Информация продажби !"_s}));
    }
    QCOMPARE(count(u"select count(*) from PRODAGBI_PLASTANE"_s), 2);
    // A payment entered here: No keeps it, Yes deletes it.
    clients()->RdGrpPeriodDaNeKlienti->click(0);
    QVERIFY(list.locate(u"IME_MATERIAL_IZDELIE"_s, {u"Плащане от клиент"_s}));
    ui_->answers = {false};
    clients()->SpdBtnDelProdPlast->click();
    QCOMPARE(count(u"select count(*) from PRODAGBI_PLASTANE"_s), 2);
    ui_->answers = {true};
    clients()->SpdBtnDelProdPlast->click();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question).last(), u" Изтриване на плащане ? "_s);
    QCOMPARE(count(u"select count(*) from PRODAGBI_PLASTANE where NUMPRODAGBA is null"_s), 0);
    QCOMPARE(list.find(u"IME_MATERIAL_IZDELIE"_s, {u"Плащане от клиент"_s}), -1);
}

// "Всички" disables the payment buttons and lists every client; without a period every date shows.
void TstPaymentsWindows::allClientsAndOpenPeriod()
{
    exec(u"insert into PRODAGBI_PLASTANE (NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA) values (11, '2031-03-01', 1)"_s);
    clients()->RdGrpKontragentDaNeKlienti->click(0);
    for (QToolButton* b : {clients()->SpdBtnPlastKlientNovo, clients()->SpdBtnPlastKlientKorekc,
                           clients()->SpdBtnDelProdPlast, clients()->SpdBtnRazplProd})
        QVERIFY(!b->isEnabled());
    QVERIFY(!clients()->GrpBoxIzbKontrKlienti->isVisibleTo(form()));
    QCOMPARE(razpl().SmpSprRazpl_Klienti.recordCount(), 3);  // the last 30 days
    clients()->RdGrpPeriodDaNeKlienti->click(0);
    QCOMPARE(razpl().SmpSprRazpl_Klienti.recordCount(), 5);
    QCOMPARE(razpl().SmpSprRazpl_Klienti.value(u"OstatykSumLV"_s).toDouble(),
             db().query(u"select KLIENTI_RAZLIKA_LV from RAZPLASTANIA_SPRAVKA"_s).rows[0][0].toDouble());
}

// A new supplier payment starts from the stored starting values and records the purchaser.
void TstPaymentsWindows::supplierPaymentStartsFromStoredValues()
{
    exec(u"insert into PERSONAL (SHIFYR, IME, FAM) values (4, 'Петър', 'Петров')"_s);
    exec(u"insert into DOST_PLAST_TEMP (SHIFYR, PLATENO_LV, ZABELEGKA) values (4, 30, 'по договор')"_s);
    razpl().SmpIzbZak.refresh();
    TabRazplDost* tab = form()->TabSheet2;
    tab->DBLkpCmBoxTipKontrDost->setKeyValue(2);
    tab->DBLkpCmBoxTipKontrDostCloseUp();
    tab->DBLkpCmBoxKontrDostav->setKeyValue(20);
    tab->DBLkpCmBoxKontrDostavCloseUp();
    ui_->onModal = [this](Form*) {
        TFormRazplDost* d = app_->FormRazplDost;
        [&] {
            QCOMPARE(d->LbPlastDost_novo_korekc->text(), u"Ново плащане към доставчик !"_s);
            QCOMPARE(d->DBEdit1->text(), u"30.00"_s);
            QCOMPARE(d->DBLookupComboBox1->currentText(), u"Петър Петров"_s);
        }();
        d->DBEdit2->setText(u"7"_s);
        ui_->answers = {true};
        click(d, "SpdBtnUpdate");
        return d->modalResult();
    };
    tab->SpdBtnPastDostNovo->click();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QCOMPARE(count(u"select count(*) from DOSTAVKI_PLASTANE where NKONTRAGENT = 20 and SHIFYR = 4 and PLATENO_LV = 30"
                   u" and PLATENO_USD = 7 and ZABELEGKA = 'по договор'"_s), 1);
    QCOMPARE(razpl().SmpSprRazpl_Dost.value(u"IME_MATERIAL_IZDELIE"_s).toString(), u"Плащане към доставчик"_s);
    QCOMPARE(razpl().SmpSprRazplObsto.value(u"DOSTAV_RAZLIKA_USD"_s).toDouble(), -7.0);
}

// Claims are green (even on a payment row), payments blue.
void TstPaymentsWindows::supplierRowColours()
{
    exec(u"insert into SKLAD (AUTONUM, NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA, KOLICHESTVO, ED_CENA_LV) values (1, 500, 20, 'F1', '2026-12-01', 10, 5)"_s);
    exec(u"insert into SKLAD_DOST_BRAK (AUTONUM_SKLAD, DATE_BRAK, NMATERIAL, KOLICH_BRAK, ED_CENA_LV, NKONTRAGENT) values (1, '2026-12-03', 500, 2, 5, 20)"_s);
    exec(u"insert into DOSTAVKI_PLASTANE (NKONTRAGENT, PLATENO_DATE, PLATENO_LV) values (20, '2026-12-04', 20)"_s);
    TabRazplDost* tab = form()->TabSheet2;
    tab->RdGrpKontragentDaNeDostav->click(0);
    SmpDataset& list = razpl().SmpSprRazpl_Dost;
    QCOMPARE(list.recordCount(), 3);
    const auto colour = [&](const QString& name) {
        return tab->DBGrid2->model()->index(list.find(u"IME_MATERIAL_IZDELIE"_s, {name}), 0).data(Qt::ForegroundRole).value<QColor>();
    };
    QCOMPARE(colour(u"Плащане към доставчик"_s), QColor(Qt::blue));
    const int claim = list.find(u"DOST_BRAK_LV"_s, {10.0});
    QVERIFY(claim >= 0);
    QCOMPARE(tab->DBGrid2->model()->index(claim, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::darkGreen));
    QCOMPARE(list.value(u"OstatykSumLV"_s).toDouble(), 50 - 10 - 20.0);
    QCOMPARE(list.value(u"ZaPlastaneSumLVAgg"_s).toDouble(), 40.0);
}

void TstPaymentsWindows::statementsPrintTheirPeriod()
{
    chooseClient(1, 10);
    clients()->SpdBtnRazplProd->click();
    QString text = pdfText(lastPreview_, *dir_, u"statement"_s).simplified();
    QVERIFY2(text.contains(u"За период : 10.11.2026 - 10.12.2026"_s), qPrintable(text));
    QVERIFY(text.contains(u"Справка за разплащания с клиент към - 10.12.2026"_s));
    QVERIFY(text.contains(u"Болт М8"_s));
    QVERIFY(text.contains(u"За получаване"_s));
    clients()->RdGrpPeriodDaNeKlienti->click(0);
    clients()->SpdBtnRazplProd->click();
    text = pdfText(lastPreview_, *dir_, u"statement-all"_s).simplified();
    QVERIFY(!text.contains(u"За период"_s));
    QVERIFY(text.contains(u"Плащане от клиент"_s));
}

void TstPaymentsWindows::balancesFilterAndPrintout()
{
    exec(u"insert into PRODAGBI_PLASTANE (NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA) values (11, '2026-12-05', 50)"_s);
    form()->close();
    form()->show();
    TabRazplKlientiObsto* tab = form()->TabSheet3;
    QCOMPARE(razpl().SmpSprRazplKlientiObsto.recordCount(), 2);
    tab->RdGrpFiltyrKlienti->click(1);
    QCOMPARE(razpl().SmpSprRazplKlientiObsto.recordCount(), 1);  // Бета is settled
    tab->BitBtnSaldaKlienti->click();
    const QString text = pdfText(lastPreview_, *dir_, u"balances"_s).simplified();
    QVERIFY2(text.contains(u"Alfa OOD"_s), qPrintable(text));
    QVERIFY(text.contains(u"Салда на клиенти - 10.12.2026"_s));
    tab->RdGrpFiltyrKlienti->click(0);
    QCOMPARE(razpl().SmpSprRazplKlientiObsto.recordCount(), 2);
}

QTEST_MAIN(TstPaymentsWindows)
#include "tst_payments_windows.moc"
