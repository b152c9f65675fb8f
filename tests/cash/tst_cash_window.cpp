#include "cash/cashbook.h"
#include "cash/formkasa.h"
#include "cash/formkasovorder.h"
#include "cash/qrkasa.h"
#include "cash/qrkasovorder.h"
#include "platform/base/clock.h"
#include "platform/report/reportpainter.h"
#include "platform/widgets/dbgrid.h"
#include "support/appfixture.h"

#include <QAction>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

// The cash book window and the cash order dialog on a real database; every printout written to
// PDF and read back.
class TstCashWindow : public QObject, public AppFixture
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void menuAndHotSpotOpenTheCashBook();
    void ordersThroughTheWindow();
    void foreignCurrencyBalances();
    void typedNumbers_data();
    void typedNumbers();
    void foreignOrderNeedsItsRate();
    void numberOfANewOrder();
    void refusedCorrectionAndTheRowAfterASave();
    void failureMidSaveStoresNothing();
    void orderLayouts_data();
    void orderLayouts();
    void cashBooks_data();
    void cashBooks();

private:
    TFormKasa* kasa() { return app_->FormKasa; }
    TFormKasovOrder* order() { return app_->FormKasovOrder; }
    // The dialog as the user fills it, then "Запис КО" with the answer Yes.
    void fillAndSave(const QString& name, const QString& amount, const QString& rate = {});
    void setPeriod(const QDate& from, const QDate& to);
    QString pdfText(const Report::Document& doc, const QString& name);
    void addUsd(Cash::OrderKind kind, const QDate& date, double amount, double rate, int base = 1);
    QString money(const char* label) { return kasa()->findChild<QLabel*>(QString::fromLatin1(label))->text(); }
};

void TstCashWindow::init()
{
    Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    start();
    exec(u"update FIRMA set IMEFIRMA = 'Дървообработка Рила ООД', BULSTAT = '131234567'"_s);
    dm().SmpFirma.refresh();
    kasa()->show();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstCashWindow::cleanup()
{
    stop();
    Clock::reset();
}

void TstCashWindow::fillAndSave(const QString& name, const QString& amount, const QString& rate)
{
    order()->EditImePrezFam->setText(name);
    order()->EditGrad->setText(u"Самоков"_s);
    order()->EditAdres->setText(u"ул. Търговска 7"_s);
    order()->EditOsnovanie->setText(u"Продажба на дъски"_s);
    order()->EditSumaKO->setText(amount);
    order()->EditKursValuta->setText(rate);
    ui_->answers = {true};
    order()->BitBtnZapKO->click();
}

void TstCashWindow::setPeriod(const QDate& from, const QDate& to)
{
    kasa()->DateKasaOT->setDate(from);
    kasa()->DateKasaDO->setDate(to);
}

void TstCashWindow::addUsd(Cash::OrderKind kind, const QDate& date, double amount, double rate, int base)
{
    Cash::CashOrder o;
    o.kind = kind;
    o.date = date;
    o.name = u"Джон Смит"_s;
    o.basis = u"Обмяна"_s;
    o.amount = amount;
    o.currency = 2;
    o.rate = rate;
    o.base = base;
    Cash::insertOrder(db(), o);
}

QString TstCashWindow::pdfText(const Report::Document& doc, const QString& name)
{
    const QString path = dir_->filePath(name + u".pdf"_s);
    if (!Report::writePdf(doc, path)) return u"<no pdf>"_s;
    if (const QString keep = qEnvironmentVariable("TRX_KEEP_PDF"); !keep.isEmpty()) {
        QFile::remove(keep + u'/' + name + u".pdf"_s);
        QFile::copy(path, keep + u'/' + name + u".pdf"_s);
    }
    QProcess proc;
    proc.start(u"pdftotext"_s, {u"-layout"_s, u"-enc"_s, u"UTF-8"_s, path, u"-"_s});
    if (!proc.waitForFinished(30000) || proc.exitCode() != 0) return u"<pdftotext failed>"_s;
    return QString::fromUtf8(proc.readAllStandardOutput());
}

void TstCashWindow::menuAndHotSpotOpenTheCashBook()
{
    auto* item = app_->FormNS->findChild<QAction*>(u"N2Kasa"_s);
    QVERIFY(item);
    QVERIFY(item->isEnabled());
    item->trigger();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modeless), QStringList({u"FormKasa"_s}));
    QVERIFY(app_->FormNS->findChild<QWidget*>(u"ImgKasa"_s)->isEnabled());
}

// New receipt and payment orders, a correction and a delete, all through the window.
void TstCashWindow::ordersThroughTheWindow()
{
    SmpDataset& book = dm().SmpViewKasa;
    QCOMPARE(book.recordCount(), 0);
    ui_->onModal = [this](Form*) {
        fillAndSave(u"Иван Петров Иванов"_s, u"150.50"_s, u"3"_s);  // a rate typed for BGN is ignored
        return order()->modalResult();
    };
    kasa()->BitBtnNewPKO->click();
    ui_->onModal = [this](Form*) {
        fillAndSave(u"Мария Георгиева"_s, u"40"_s);
        return order()->modalResult();
    };
    kasa()->BitBtnNewRKO->click();
    kasa()->BitBtnNewPKO->click();  // a second receipt order: number 2
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question),
             QStringList({u" Запис на касов ордер ?"_s, u" Запис на касов ордер ?"_s, u" Запис на касов ордер ?"_s}));
    QCOMPARE(count(u"select count(*) from KASA where NPKO = 1 and NRKO = 0 and VALUTA_KURS = 1 and SUMA_PKO = 150.5"_s), 1);
    QCOMPARE(count(u"select count(*) from KASA where NRKO = 1 and NPKO = 0 and SUMA_RKO = 40"_s), 1);
    QCOMPARE(count(u"select count(*) from KASA where NPKO = 2"_s), 1);
    QCOMPARE(book.recordCount(), 3);
    QCOMPARE(money("KrainoSaldo"), u"150.50"_s);  // 150.50 - 40 + 40 received from Мария
    QVERIFY(!kasa()->DBGrid1->isColumnVisible(u"VALUTA_KURS"_s));
    QVERIFY(!kasa()->DBGrid1->isColumnVisible(u"SUMA_PKO_LV"_s));

    // Correction of receipt 1: the number stays, the amount changes.
    QVERIFY(book.locate(u"NPKO"_s, {1}));
    ui_->onModal = [this](Form*) {
        [&] {
            QCOMPARE(order()->LbTipKO->text(), u"Корекция - приходен касов ордер"_s);
            QCOMPARE(order()->EditSumaKO->text(), u"150.50"_s);
            QCOMPARE(order()->LbNumKO->text(), u"1"_s);
        }();
        fillAndSave(u"Иван Петров Иванов"_s, u"200"_s);
        return order()->modalResult();
    };
    kasa()->BitBtnKorekciaKO->click();
    QCOMPARE(count(u"select count(*) from KASA where NPKO = 1 and SUMA_PKO = 200"_s), 1);
    QCOMPARE(count(u"select count(*) from KASA"_s), 3);
    QCOMPARE(money("KrainoSaldo"), u"200.00"_s);

    // Delete the payment order.
    QVERIFY(book.locate(u"NRKO"_s, {1}));
    ui_->answers = {true};
    kasa()->BitBtnDel->click();
    QCOMPARE(count(u"select count(*) from KASA where NRKO > 0"_s), 0);
    QCOMPARE(book.recordCount(), 2);
    QCOMPARE(money("KrainoSaldo"), u"240.00"_s);

    // An empty period: the correction is refused with a message.
    setPeriod({2026, 12, 11}, {2026, 12, 12});
    QCOMPARE(book.recordCount(), 0);
    QCOMPARE(money("NachSaldo"), u"240.00"_s);
    QCOMPARE(money("KrainoSaldo"), u"240.00"_s);
    ui_->clear();
    kasa()->BitBtnKorekciaKO->click();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList({u"Липсват данни за корекция !"_s}));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList());
}

void TstCashWindow::foreignCurrencyBalances()
{
    addUsd(Cash::OrderKind::Receipt, {2026, 11, 20}, 100, 1.80);
    addUsd(Cash::OrderKind::Receipt, {2026, 12, 1}, 50, 1.70);   // on the from-date: in the period
    addUsd(Cash::OrderKind::Payment, {2026, 12, 5}, 20, 1.75);
    addUsd(Cash::OrderKind::Receipt, {2026, 12, 6}, 300, 170, 100);  // rate per 100 dollars
    setPeriod({2026, 12, 1}, {2026, 12, 10});
    kasa()->chooseCurrency(2);
    QCOMPARE(kasa()->windowTitle(), u"Kasa   USD   -   Щатски долар !"_s);
    QCOMPARE(dm().SmpViewKasa.recordCount(), 3);
    QVERIFY(kasa()->DBGrid1->isColumnVisible(u"VALUTA_KURS"_s));
    QVERIFY(kasa()->DBGrid1->isColumnVisible(u"SUMA_RKO_LV"_s));
    QCOMPARE(money("NachSaldo"), u"100.00"_s);
    QCOMPARE(money("NachSaldoLV"), u"180.00"_s);
    QCOMPARE(money("KrainoSaldo"), u"430.00"_s);
    QCOMPARE(money("SumSumaPKOLV"), u"595.00"_s);  // 85 + 510
    QCOMPARE(money("KrainoSaldoLV"), u"740.00"_s);  // 180 + 595 - 35

    // The window keeps its currency when the shared currency list moves.
    QVERIFY(dm().SmpTipValuta.locate(u"NVALUTA"_s, {3}));
    ui_->onModal = [this](Form*) {
        [&] { QCOMPARE(order()->DBText1->text(), u"USD"_s); }();
        fillAndSave(u"Джейн Доу"_s, u"10"_s, u"0"_s);  // rate 0: refused
        fillAndSave(u"Джейн Доу"_s, u"10"_s, u"1.6"_s);
        return order()->modalResult();
    };
    ui_->clear();
    kasa()->BitBtnNewPKO->click();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList({u"Курсът на валутата трябва да е по-голям от 0 !"_s}));
    QCOMPARE(count(u"select count(*) from KASA where NVALUTA = 2 and NPKO = 4 and VALUTA_KURS = 1.6"_s), 1);
    QCOMPARE(count(u"select count(*) from KASA where NVALUTA = 3"_s), 0);

    // A correction keeps the order's own base, even after the currency's base has changed.
    exec(u"update TIP_VALUTA set VALUTA_BAZA = 1000 where NVALUTA = 2"_s);
    dm().SmpTipValuta.refresh();
    QVERIFY(dm().SmpViewKasa.locate(u"NPKO"_s, {3}));
    ui_->onModal = [this](Form*) {
        [&] { QCOMPARE(order()->EditKursValuta->text(), u"170.00000"_s); }();
        fillAndSave(u"Джон Смит"_s, u"400"_s, u"170"_s);
        return order()->modalResult();
    };
    kasa()->BitBtnKorekciaKO->click();
    QCOMPARE(count(u"select count(*) from KASA where NPKO = 3 and NVALUTA = 2 and VALUTA_BAZA = 100 and SUMA_PKO = 400"_s), 1);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstCashWindow::typedNumbers_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("amount to the stotinka") << u"EditSumaKO"_s << u"12.345"_s << u"12.34"_s;
    QTest::newRow("amount, one point") << u"EditSumaKO"_s << u"1.2.3"_s << u"1.23"_s;
    QTest::newRow("amount, no letters, comma or sign") << u"EditSumaKO"_s << u"-1a,5"_s << u"15"_s;
    QTest::newRow("rate to five decimals") << u"EditKursValuta"_s << u"1.9558312"_s << u"1.95583"_s;
}

// The amount and rate boxes take digits and one point, an amount to the stotinka and a rate to
// the five decimals a correction shows, so a correction writes back exactly what was stored.
void TstCashWindow::typedNumbers()
{
    QFETCH(QString, box);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    order()->prepare(TFormKasovOrder::NewReceipt, 2);
    auto* edit = order()->findChild<QLineEdit*>(box);
    QTest::keyClicks(edit, keys);
    QCOMPARE(edit->text(), shown);
}

// The equivalent shown and printed is always that of the amount and rate in the boxes; a foreign
// order without a rate has none and is not written. A refused save keeps what was typed.
void TstCashWindow::foreignOrderNeedsItsRate()
{
    order()->prepare(TFormKasovOrder::NewReceipt, 2);
    order()->EditImePrezFam->setText(u"Джон Смит"_s);
    order()->EditSumaKO->setText(u"100"_s);
    order()->EditKursValuta->setText(u"1.8"_s);
    emit order()->EditKursValuta->editingFinished();
    QCOMPARE(order()->LbSumaLV->text(), u"180.00"_s);
    order()->EditKursValuta->clear();
    order()->EditSumaKO->setText(u"50"_s);
    emit order()->EditSumaKO->editingFinished();
    QCOMPARE(order()->LbSumaLV->text(), u"0.00"_s);
    TQRKasovOrder* filled = order()->filledLayout();
    QVERIFY(filled);
    for (const auto& item : filled->detail()->items()) {
        if (item->name.startsWith(u"QRLvObsto"_s) || item->name.startsWith(u"QRLbSumaPKO_LV"_s))
            QCOMPARE(item->caption, u"0.00"_s);
        if (item->name.contains(u"TXT"_s)) QCOMPARE(item->caption, QString());
    }
    ui_->clear();
    ui_->answers = {true};
    order()->BitBtnZapKO->click();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList({u"Курсът на валутата трябва да е по-голям от 0 !"_s}));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList());
    QCOMPARE(count(u"select count(*) from KASA"_s), 0);
    QCOMPARE(order()->EditImePrezFam->text(), u"Джон Смит"_s);
    QCOMPARE(order()->EditSumaKO->text(), u"50"_s);
}

// A new order shows the number of its date's year, is saved by Enter as by the button, and tells
// the number it was written with when another workstation took the one shown meanwhile.
void TstCashWindow::numberOfANewOrder()
{
    exec(u"insert into KASA (NPKO, NRKO, DATEKO, NVALUTA, SUMA_PKO, SUMA_RKO, VALUTA_KURS, VALUTA_BAZA) "
         u"values (7, 0, '15.12.2025', 1, 10, 0, 1, 1)"_s);
    ui_->onModal = [this](Form*) {
        [&] {
            QCOMPARE(order()->LbNumKO->text(), u"1"_s);
            order()->DateKO->setDate({2025, 12, 30});
            QCOMPARE(order()->LbNumKO->text(), u"8"_s);
            order()->DateKO->setDate({2026, 12, 10});
            QCOMPARE(order()->LbNumKO->text(), u"1"_s);
        }();
        exec(u"insert into KASA (NPKO, NRKO, DATEKO, NVALUTA, SUMA_PKO, SUMA_RKO, VALUTA_KURS, VALUTA_BAZA) "
             u"values (1, 0, '10.12.2026', 1, 5, 0, 1, 1)"_s);  // another workstation's order
        order()->EditImePrezFam->setText(u"Иван Петров Иванов"_s);
        order()->EditSumaKO->setText(u"25"_s);
        ui_->answers = {true};
        QTest::keyClick(order()->EditSumaKO, Qt::Key_Return);
        return order()->modalResult();
    };
    kasa()->BitBtnNewPKO->click();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList({u" Запис на касов ордер ?"_s}));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList({u"Касовият ордер е записан с № 2 !"_s}));
    QCOMPARE(count(u"select count(*) from KASA where NPKO = 2 and SUMA_PKO = 25"_s), 1);
}

// A correction that would give its number a second time in another year is refused and the dialog
// keeps what was typed; a saved order is the cash book's current row afterwards.
void TstCashWindow::refusedCorrectionAndTheRowAfterASave()
{
    exec(u"insert into KASA (NPKO, NRKO, DATEKO, NVALUTA, SUMA_PKO, SUMA_RKO, VALUTA_KURS, VALUTA_BAZA) "
         u"values (1, 0, '15.12.2025', 1, 10, 0, 1, 1)"_s);
    ui_->onModal = [this](Form*) {
        fillAndSave(u"Клиент"_s, u"10"_s);
        return order()->modalResult();
    };
    for (int i = 0; i < 3; ++i) kasa()->BitBtnNewPKO->click();
    SmpDataset& book = dm().SmpViewKasa;
    QCOMPARE(book.recordCount(), 3);
    QVERIFY(book.locate(u"NPKO"_s, {2}));
    ui_->onModal = [this](Form*) {
        fillAndSave(u"Клиент коригиран"_s, u"20"_s);
        return order()->modalResult();
    };
    kasa()->BitBtnKorekciaKO->click();
    QCOMPARE(book.value(u"NPKO"_s).toInt(), 2);
    QCOMPARE(book.value(u"IMEPREZFAM"_s).toString(), u"Клиент коригиран"_s);

    QVERIFY(book.locate(u"NPKO"_s, {1}));
    bool stillOpen = false;
    ui_->onModal = [this, &stillOpen](Form*) {
        order()->DateKO->setDate({2025, 12, 31});
        fillAndSave(u"Към миналата година"_s, u"30"_s);
        stillOpen = order()->isVisible();
        [&] {
            QCOMPARE(order()->EditImePrezFam->text(), u"Към миналата година"_s);
            QCOMPARE(order()->DateKO->date(), QDate(2025, 12, 31));
        }();
        order()->close();
        return 0;
    };
    ui_->clear();
    kasa()->BitBtnKorekciaKO->click();
    QVERIFY(stillOpen);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList({u"Вече има ПКО № 1 от 2025 г. в тази валута !"_s}));
    QCOMPARE(count(u"select count(*) from KASA where NPKO = 1 and DATEKO > '01.01.2026' and SUMA_PKO = 10"_s), 1);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

// The database fails the order after its number counter was taken: nothing of it is stored, the
// error reaches the user and the dialog stays open with what was typed.
void TstCashWindow::failureMidSaveStoresNothing()
{
    exec(u"create exception KASA_TEST_FAIL 'disk full'"_s);
    exec(u"create trigger KASA_TEST_FAIL_BI for KASA before insert as begin exception KASA_TEST_FAIL; end"_s);
    bool stillOpen = false;
    ui_->onModal = [this, &stillOpen](Form*) {
        fillAndSave(u"Иван Петров Иванов"_s, u"99.90"_s);
        stillOpen = order()->isVisible();
        [&] {
            QCOMPARE(order()->EditImePrezFam->text(), u"Иван Петров Иванов"_s);
            QCOMPARE(order()->EditSumaKO->text(), u"99.90"_s);
        }();
        order()->close();
        return 0;
    };
    kasa()->BitBtnNewPKO->click();
    QVERIFY(stillOpen);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error).size(), 1);
    QVERIFY(ui_->texts(RecordingUi::Kind::Error).front().contains(u"disk full"_s));
    QCOMPARE(count(u"select count(*) from KASA"_s), 0);
    QCOMPARE(count(u"select count(*) from KASA_NOMERA"_s), 0);
}

void TstCashWindow::orderLayouts_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("currency");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<double>("wordsFor");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("receipt BGN") << 1 << 1 << u"TQRPrihKO"_s << u"12.05"_s << QString() << 12.05
                                 << QStringList{u"ПРИХОДЕН КАСОВ ОРДЕР"_s, u"КВИТАНЦИЯ Към прих. ордер №"_s, u"Вносител:"_s,
                                                u"Ид.№ 131234567"_s};
    QTest::newRow("payment BGN") << 2 << 1 << u"TQRRazhKO"_s << u"100"_s << QString() << 100.0
                                 << QStringList{u"Р А З Х О Д Е Н КАСОВ ОРДЕР"_s, u"Да се брои на:"_s, u"Лична карта №"_s,
                                                u"Ид № 131234567"_s};
    QTest::newRow("receipt USD") << 1 << 2 << u"TQRPrihKOvaluta"_s << u"100"_s << u"1.955"_s << 195.5
                                 << QStringList{u"В А Л У Т А"_s, u"Щатски долар"_s, u"195.50"_s, u"КВИТАНЦИЯ"_s, u"Ид.№ 131234567"_s};
    QTest::newRow("payment USD") << 2 << 2 << u"TQRRazhKOvaluta"_s << u"0"_s << u"1.8"_s << 0.0
                                 << QStringList{u"Получих валутата и декларирам,"_s, u"USD"_s, u"Статия №:"_s, u"Ид № 131234567"_s};
}

// Each order layout filled from the dialog, to PDF and read back.
void TstCashWindow::orderLayouts()
{
    QFETCH(int, mode);
    QFETCH(int, currency);
    QFETCH(QString, layout);
    QFETCH(QString, amount);
    QFETCH(QString, rate);
    QFETCH(double, wordsFor);
    QFETCH(QStringList, texts);
    order()->prepare(mode, currency);
    order()->EditImePrezFam->setText(u"Иван Петров Иванов"_s);
    order()->EditGrad->setText(u"Самоков"_s);
    order()->EditAdres->setText(u"ул. Търговска 7"_s);
    order()->EditOsnovanie->setText(u"Аванс по договор"_s);
    order()->EditSumaKO->setText(amount);
    order()->EditKursValuta->setText(rate);
    TQRKasovOrder* filled = order()->filledLayout();
    QVERIFY(filled);
    QCOMPARE(filled->name, layout);
    // The words are those of the rounded number (nothing for 0), on every copy of the label.
    const QString words = Cash::amountInWords(wordsFor);
    QCOMPARE(words.isEmpty(), wordsFor == 0);
    for (const auto& item : filled->detail()->items())
        if (item->name.contains(u"TXT"_s)) QCOMPARE(item->caption, words);
    const Report::Document doc = filled->build();
    QCOMPARE(doc.pages.size(), 1);
    QCOMPARE(doc.pageSize, layout == u"TQRPrihKO"_s ? QSizeF(210, 148) : QSizeF(148, 210));
    const QString text = pdfText(doc, layout);
    // pdftotext closes up letter-spaced titles: compare without blanks.
    const QString flat = QString(text).remove(QRegularExpression(u"\\s"_s));
    const auto has = [&flat](const QString& t) { return flat.contains(QString(t).remove(QRegularExpression(u"\\s"_s))); };
    for (const QString& t : texts + QStringList{u"Дървообработка Рила ООД"_s, u"Иван Петров Иванов"_s, u"10.12.2026"_s,
                                               u"Аванс по договор"_s, amount})
        QVERIFY2(has(t), qPrintable(t + u"\n"_s + text));
    if (!words.isEmpty()) QVERIFY2(has(words.simplified().section(u' ', 0, 1)), qPrintable(text));
    if (mode == 1) QVERIFY2(text.count(u"Иван Петров Иванов"_s) == 2, qPrintable(text));  // order and stub
}

void TstCashWindow::cashBooks_data()
{
    QTest::addColumn<int>("currency");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("BGN") << 1 << u"TQRKasa"_s
                         << QStringList{u"К А С О В А   К Н И Г А   В   Л Е В А"_s, u"Начално салдо 1 000.00"_s,
                                        u"Крайно салдо : 1 210.00"_s, u"Общо 250.00 40.00"_s};
    QTest::newRow("USD") << 2 << u"TQRKasaValuta"_s
                         << QStringList{u"К А С О В А   К Н И Г А   В   USD / Щатски долар"_s, u"Начално салдо 0.00"_s,
                                        u"Крайно салдо валута: 210.00"_s, u"Крайно салдо лв: 355.00"_s};
}

// The printed cash book carries the period of the rows it shows, with the balances.
void TstCashWindow::cashBooks()
{
    QFETCH(int, currency);
    QFETCH(QString, layout);
    QFETCH(QStringList, texts);
    const auto add = [this](Cash::OrderKind kind, const QDate& date, double amount, int currency, double rate) {
        Cash::CashOrder o;
        o.kind = kind;
        o.date = date;
        o.name = u"Петър Стоянов"_s;
        o.basis = u"Плащане по фактура"_s;
        o.amount = amount;
        o.currency = currency;
        o.rate = rate;
        Cash::insertOrder(db(), o);
    };
    add(Cash::OrderKind::Receipt, {2026, 11, 30}, 1000, currency, 1.7);
    add(Cash::OrderKind::Receipt, {2026, 12, 2}, 250, currency, 1.7);
    add(Cash::OrderKind::Payment, {2026, 12, 3}, 40, currency, 1.75);
    if (currency != 1) exec(u"delete from KASA where DATEKO < '01.12.2026'"_s);
    setPeriod({2026, 12, 1}, {2026, 12, 5});
    kasa()->chooseCurrency(currency);
    // Shown again: the pickers go back to today, the list and its period stay.
    kasa()->close();
    kasa()->show();
    QCOMPARE(kasa()->DateKasaOT->date(), QDate(2026, 12, 10));
    Report::Layout& book = kasa()->filledCashBook();
    QCOMPARE(book.name, layout);
    const Report::Document doc = Report::build(book);
    QCOMPARE(doc.pages.size(), 1);
    const QString text = pdfText(doc, layout);
    // pdftotext closes up letter-spaced titles: compare without blanks.
    const QString flat = QString(text).remove(QRegularExpression(u"\\s"_s));
    const auto has = [&flat](const QString& t) { return flat.contains(QString(t).remove(QRegularExpression(u"\\s"_s))); };
    for (const QString& t : texts + QStringList{u"За периода от 01.12.2026 до 05.12.2026"_s, u"Дървообработка Рила ООД"_s,
                                               u"Петър Стоянов"_s, u"02.12.26"_s})
        QVERIFY2(has(t), qPrintable(t + u"\n"_s + text));
}

QTEST_MAIN(TstCashWindow)
#include "tst_cash_window.moc"
