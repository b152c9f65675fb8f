#include "data/dmporychki.h"
#include "orders/formporychdvigmat.h"
#include "orders/formporychka.h"
#include "orders/formporychkadvigkontr.h"
#include "orders/formporychkaizdelia.h"
#include "orders/formporychkamat.h"
#include "orders/formporychkanova.h"
#include "orders/formporychkidate.h"
#include "orders/ordersdata.h"
#include "platform/base/clock.h"
#include "platform/report/reportpreview.h"
#include "platform/report/reporttext.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "support/appfixture.h"
#include "support/pdftext.h"
#include "support/typing.h"
#include "support/workbookreader.h"

#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

// The orders window and what it opens, driven as a user does: orders and lines added, corrected
// and deleted through the dialogs, the progress lists, the material calculations, the printouts
// read back from PDF and the exports.
class TstOrdersWindows : public QObject, public AppFixture
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
        QStandardPaths::setTestModeEnabled(true);
    }
    void cleanupTestCase() { Clock::reset(); }
    void init();
    void cleanup();

    void opensFromMainMenuOnTheLastOrder();
    void newOrderNeedsAClient();
    void correctionKeepsTheClient();
    void orderWithLinesIsNotDeleted();
    void productLineDialog();
    void supplierOnlyWhenChosen();
    void materialsOfOneOrder();
    void materialsStillToMake();
    void orderNotice();
    void longTextsFitTheirColumns();
    void progressByClientFollowsTheProduct();
    void progressToWorkbook();

private:
    TFormPorychka* orders() { return app_->FormPorychka; }
    TDMPorychki& po() { return *app_->DMPorychki; }
    // Opens the orders window from the main menu.
    void openOrders();
    // Runs the named dialog's script when it opens modally; previews are kept.
    QMap<QString, std::function<void(Form*)>> scripts_;
    Report::Document lastPreview_;
    int previews_ = 0;
    QString pdf(const QString& name) { return pdfText(lastPreview_, *dir_, name); }
    static QStringList workbooks();
    // The texts of the document that run past their boxes.
    static QStringList overflowing(const Report::Document& doc);
};

void TstOrdersWindows::init()
{
    start();
    exec(u"insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"_s);
    exec(u"insert into TIP_PROIZVODSTVO (NPROIZVODSTVO, PROIZVODSTVO, PSEVDONIM_CEH) values (1, 'Дърводелски цех', 'ДЦ')"_s);
    exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA) values (9901, 'Стол Виена', 1, 1, 0)"_s);
    exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA) values (9902, 'Маса Орех', 1, 1, 0)"_s);
    exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA) values (9911, 'Бук дъска', 1, 1, 2.5)"_s);
    exec(u"insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA) values (9912, 'Лепило', 1, 1, 4)"_s);
    exec(u"insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (1, 1, 9901)"_s);
    exec(u"insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (2, 1, 9902)"_s);
    exec(u"insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (1, 9911, 3)"_s);
    exec(u"insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (1, 9912, 0.5)"_s);
    exec(u"insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (2, 9911, 6)"_s);
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, POSTKOD, ADRES) values (10, 1, 'Алфа ООД', 1000, 'Витоша 12')"_s);
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (11, 1, 'Бета ЕООД')"_s);
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (20, 2, 'Дървен материал АД')"_s);
    exec(u"insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (21, 2, 'Бояджийски склад ЕТ')"_s);
    exec(u"insert into SKLAD (AUTONUM, NMATERIAL, KOLICHESTVO, ED_CENA_LV) values (1, 9911, 20, 2.5)"_s);
    exec(u"insert into SKLAD (AUTONUM, NMATERIAL, KOLICHESTVO, ED_CENA_LV) values (2, 9912, 10, 4)"_s);
    // Алфа ordered 6 chairs and 1 table, Бета 4 chairs.
    const int alfa = Orders::addOrder(db(), {QDate(2026, 12, 1), QDate(2026, 12, 20), 10, 0});
    Orders::saveLine(db(), {alfa, 10, 1, 6, QDate(2026, 12, 5), 3, 0, u"тъмен лак"_s});
    Orders::saveLine(db(), {alfa, 10, 2, 1, QDate(2026, 12, 5), 3, 0, QString()});
    const int beta = Orders::addOrder(db(), {QDate(2026, 12, 2), QDate(2026, 12, 22), 11, 0});
    Orders::saveLine(db(), {beta, 11, 1, 4, QDate(2026, 12, 8), 0, 0, QString()});
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

void TstOrdersWindows::cleanup()
{
    for (Form* f : std::initializer_list<Form*>{app_->FormPorychkaMat, app_->FormPorychDvigMat, orders()}) f->close();
    scripts_.clear();
    previews_ = 0;
    stop();
}

QStringList TstOrdersWindows::workbooks()
{
    QDir docs(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    QStringList out;
    for (const QString& f : docs.entryList({u"*.xlsx"_s}, QDir::Files)) out << docs.filePath(f);
    return out;
}

QStringList TstOrdersWindows::overflowing(const Report::Document& doc)
{
    Report::TextMeasure measure;
    QStringList out;
    for (const Report::Page& page : doc.pages)
        for (const Report::Primitive& item : page.items)
            if (const auto* t = std::get_if<Report::TextRun>(&item))
                if (measure.wrap(t->text, t->font, t->rect.width()).size() > 1) out << t->text;
    return out;
}

void TstOrdersWindows::openOrders()
{
    auto* item = app_->FormNS->findChild<QAction*>(u"N2Porych"_s);
    QVERIFY(item && item->isEnabled());
    item->trigger();
}

void TstOrdersWindows::opensFromMainMenuOnTheLastOrder()
{
    openOrders();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList{u"FormPorychka"_s});
    QVERIFY(orders()->isVisible());
    QCOMPARE(orders()->windowTitle(), u"Формиране на поръчка - необходими материали !"_s);
    QCOMPARE(po().SmpPorychkiArh.value(u"IMEKONTRAGENT"_s).toString(), u"Бета ЕООД"_s);
    QCOMPARE(po().SmpViewIzdPorych.recordCount(), 1);
    QCOMPARE(po().SmpPorychki_Dvigenie.recordCount(), 2);
    QCOMPARE(po().SmpPorychki_Dvigenie.value(u"IME_IZDELIE"_s).toString(), u"Маса Орех"_s);
    po().SmpPorychkiArh.first();
    QCOMPARE(po().SmpViewIzdPorych.recordCount(), 2);
    // The picture's hot spot opens it too.
    orders()->close();
    ui_->clear();
    auto* spot = app_->FormNS->findChild<QWidget*>(u"ImgPorychki"_s);
    QVERIFY(spot);
    QTest::mouseClick(spot, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList{u"FormPorychka"_s});
    QVERIFY(orders()->isVisible());
}

// Nothing happens before a type is chosen; a type without a client is refused with its message;
// the person is optional, and the window is on the new order afterwards.
void TstOrdersWindows::newOrderNeedsAClient()
{
    openOrders();
    TFormPorychkaNova* d = app_->FormPorychkaNova;
    scripts_[u"FormPorychkaNova"_s] = [&](Form*) {
        QCOMPARE(d->DatePorychka->date(), QDate(2026, 12, 10));
        QCOMPARE(d->DatePorychkaSrok->date(), QDate(2026, 12, 10));
        clickButton(d, u"SpdBtnZapisPorychkaNEW"_s);
        QVERIFY(ui_->texts(RecordingUi::Kind::Message).isEmpty());
        chooseInList(d->DBLkpCmBoxTipKontr, u"Клиенти"_s);
        clickButton(d, u"SpdBtnZapisPorychkaNEW"_s);
        QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{u"Не е въведен клиент !"_s});
        chooseInList(d->DBLkpCmBoxImeKontr, u"Алфа ООД"_s);
        d->DatePorychkaSrok->setDate(QDate(2027, 1, 31));
        clickButton(d, u"SpdBtnZapisPorychkaNEW"_s);
    };
    clickButton(orders(), u"SpdBtnPorychkaNEW"_s);
    QCOMPARE(d->modalResult(), 1);
    QCOMPARE(count(u"select count(*) from PORYCHKI"_s), 3);
    const DbResult o = db().query(u"select * from PORYCHKI order by AUTONUM_NPORYCHKA desc"_s);
    QCOMPARE(o.value(0, u"NKONTRAGENT"_s).toInt(), 10);
    QVERIFY(o.value(0, u"NMOL"_s).isNull());
    QCOMPARE(o.value(0, u"DATESROK"_s).toDate(), QDate(2027, 1, 31));
    QCOMPARE(po().SmpPorychkiArh.value(u"AUTONUM_NPORYCHKA"_s), o.value(0, u"AUTONUM_NPORYCHKA"_s));
    QCOMPARE(po().SmpViewIzdPorych.recordCount(), 0);
}

void TstOrdersWindows::correctionKeepsTheClient()
{
    openOrders();
    TFormPorychkiDate* d = app_->FormPorychkiDate;
    scripts_[u"FormPorychkiDate"_s] = [&](Form*) {
        QCOMPARE(d->DBTextKlient->text(), u"Бета ЕООД"_s);
        QCOMPARE(d->DatePorychka->date(), QDate(2026, 12, 2));
        d->DateSrok->setDate(QDate(2027, 2, 1));
        d->Memo1->setPlainText(u"Доставка до обекта"_s);
        clickButton(d, u"OKBtn"_s);
    };
    clickButton(orders(), u"SpdBtnPorychkaKorekcia"_s);
    QCOMPARE(po().SmpPorychkiArh.value(u"DATESROK"_s).toDate(), QDate(2027, 2, 1));
    QCOMPARE(po().SmpPorychkiArh.value(u"INFO_PORYCHKA"_s).toString(), u"Доставка до обекта"_s);
    QCOMPARE(po().SmpPorychkiArh.value(u"IMEKONTRAGENT"_s).toString(), u"Бета ЕООД"_s);

    // "Отказ" changes nothing.
    scripts_[u"FormPorychkiDate"_s] = [&](Form*) {
        d->DateSrok->setDate(QDate(2030, 1, 1));
        clickButton(d, u"CancelBtn"_s);
    };
    clickButton(orders(), u"SpdBtnPorychkaKorekcia"_s);
    QCOMPARE(count(u"select count(*) from PORYCHKI where DATESROK = '2027-02-01'"_s), 1);

    exec(u"delete from PORYCHKI_IZDELIA"_s);
    exec(u"delete from PORYCHKI"_s);
    po().SmpPorychkiArh.refresh();
    ui_->clear();
    clickButton(orders(), u"SpdBtnPorychkaKorekcia"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{u" Липсват поръчки  !"_s});
    QVERIFY(ui_->texts(RecordingUi::Kind::Modal).isEmpty());
}

// Deleting the lines first (each on the progress row of its product) makes the order deletable.
void TstOrdersWindows::orderWithLinesIsNotDeleted()
{
    openOrders();
    ui_->clear();
    clickButton(orders(), u"SpdBtnPorychkaDEL"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             QStringList{u" Има заявени изделия към тази поръчка  !\r     Изтрийте най-напред изделията !"_s});
    QVERIFY(ui_->texts(RecordingUi::Kind::Question).isEmpty());

    ui_->clear();
    ui_->answers << true;
    clickButton(orders(), u"SpeedButton1"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList{u" Изтриване на изделие от поръчка ? "_s});
    QCOMPARE(po().SmpViewIzdPorych.recordCount(), 0);
    QCOMPARE(count(u"select count(*) from PORYCHKI_IZDELIA"_s), 2);
    ui_->clear();
    clickButton(orders(), u"SpeedButton1"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{u" Липсват изделия за поръчки  !"_s});

    ui_->clear();
    ui_->answers << false;
    clickButton(orders(), u"SpdBtnPorychkaDEL"_s);
    QCOMPARE(count(u"select count(*) from PORYCHKI"_s), 2);
    ui_->answers << true;
    clickButton(orders(), u"SpdBtnPorychkaDEL"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question),
             (QStringList{u" Изтриване на поръчка ? "_s, u" Изтриване на поръчка ? "_s}));
    QCOMPARE(count(u"select count(*) from PORYCHKI"_s), 1);
    QCOMPARE(po().SmpPorychkiArh.recordCount(), 1);
}

// Quantity 0 does nothing; -5 is saved and written in red; the days box takes digits only.
void TstOrdersWindows::productLineDialog()
{
    openOrders();
    TFormPorychkaIzdelia* d = app_->FormPorychkaIzdelia;
    scripts_[u"FormPorychkaIzdelia"_s] = [&](Form*) {
        QCOMPARE(d->DateDostMat->date(), QDate(2026, 12, 10));
        QCOMPARE(d->DBTextKlient->text(), u"Бета ЕООД"_s);
        chooseInList(d->DBLkpCmBIzbProizv, u"Дърводелски цех"_s);
        chooseInList(d->DBLkpCmBIzbIzdelie, u"Маса Орех"_s);
        clickButton(d, u"SpdBtnZapPorychkaIzd"_s);  // quantity 0
        QCOMPARE(count(u"select count(*) from PORYCHKI_IZDELIA"_s), 3);
        d->SpnEdtBrIzdelia->setValue(-5);
        typeText(d->Edit1, u"1a2"_s);
        QCOMPARE(d->Edit1->text(), u"12"_s);
        d->EdOpisanie->setText(u"отказ"_s);
        clickButton(d, u"SpdBtnZapPorychkaIzd"_s);
    };
    clickButton(orders(), u"SpdBtnPorychIzdNew"_s);
    QCOMPARE(d->modalResult(), 1);
    const DbResult l = db().query(u"select * from PORYCHKI_IZDELIA where NPORYCHKA = 2 and NTIP_IZDELIE = 2"_s);
    QCOMPARE(l.value(0, u"BROI_IZDELIE"_s).toDouble(), -5.0);
    QCOMPARE(l.value(0, u"DNIPREDI_DATESROK_IZD"_s).toInt(), 12);
    QCOMPARE(l.value(0, u"OPISANIE"_s).toString(), u"отказ"_s);
    SmpDataset& lines = po().SmpViewIzdPorych;
    QCOMPARE(lines.recordCount(), 2);
    QVERIFY(lines.locate(u"NTIP_IZDELIE"_s, {2}));
    const QAbstractItemModel* model = orders()->DBGrid1->model();
    QCOMPARE(model->index(lines.recNo(), 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QVERIFY(lines.locate(u"NTIP_IZDELIE"_s, {1}));
    QVERIFY(model->index(lines.recNo(), 0).data(Qt::ForegroundRole).value<QColor>() != QColor(Qt::red));
    // The progress follows: Бета's -5 takes only from Бета's own tables, so Алфа's 1 stays ordered.
    QVERIFY(po().SmpPorychki_Dvigenie.locate(u"NTIP_IZDELIE"_s, {2}));
    QCOMPARE(po().SmpPorychki_Dvigenie.value(u"BROI_IZDELIA_PORYCHKA"_s).toInt(), 1);
}

// The supplier is the one the box shows; a supplier type chosen without a name sends none, though
// the list of that type has a current row.
void TstOrdersWindows::supplierOnlyWhenChosen()
{
    openOrders();
    TFormPorychkaIzdelia* d = app_->FormPorychkaIzdelia;
    scripts_[u"FormPorychkaIzdelia"_s] = [&](Form*) {
        chooseInList(d->DBLkpCmBIzbProizv, u"Дърводелски цех"_s);
        chooseInList(d->DBLkpCmBIzbIzdelie, u"Маса Орех"_s);
        d->SpnEdtBrIzdelia->setValue(2);
        chooseInList(d->DBLkpCmBoxTipKontr, u"Доставчици"_s);
        chooseInList(d->DBLkpCmBoxImeKontr, u"Дървен материал АД"_s);
        clickButton(d, u"SpdBtnZapPorychkaIzd"_s);
    };
    clickButton(orders(), u"SpdBtnPorychIzdNew"_s);
    QCOMPARE(count(u"select NKONTR_IZD from PORYCHKI_IZDELIA where NPORYCHKA = 2 and NTIP_IZDELIE = 2"_s), 20);

    scripts_[u"FormPorychkaIzdelia"_s] = [&](Form*) {
        // The choices stay from the last line.
        QCOMPARE(d->DBLkpCmBoxImeKontr->currentText(), u"Дървен материал АД"_s);
        QCOMPARE(d->SpnEdtBrIzdelia->value(), 2);
        chooseInList(d->DBLkpCmBoxTipKontr, u"Доставчици"_s);
        QVERIFY(po().SmpPorychKontrDost.isActive() && !po().SmpPorychKontrDost.isEmpty());
        QCOMPARE(d->DBLkpCmBoxImeKontr->currentText(), QString());
        clickButton(d, u"SpdBtnZapPorychkaIzd"_s);
    };
    clickButton(orders(), u"SpdBtnPorychIzdNew"_s);
    const DbResult l = db().query(u"select BROI_IZDELIE, NKONTR_IZD from PORYCHKI_IZDELIA where NPORYCHKA = 2 and NTIP_IZDELIE = 2"_s);
    QCOMPARE(l.value(0, u"BROI_IZDELIE"_s).toDouble(), 4.0);
    QCOMPARE(l.value(0, u"NKONTR_IZD"_s).toInt(), 0);
}

// "Калкулация - клиент": the order's materials beside the stock, its caption and its printout.
void TstOrdersWindows::materialsOfOneOrder()
{
    openOrders();
    po().SmpPorychkiArh.first();  // Алфа: 6 chairs and a table
    clickButton(orders(), u"SpdBtnPrintPorychkaMat"_s);
    TFormPorychkaMat* w = app_->FormPorychkaMat;
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modeless), QStringList{u"FormPorychkaMat"_s});
    QCOMPARE(w->PanelKalkulacia->text(), u"Калкулация на необходими материали по поръчка на контрагент - Алфа ООД"_s);
    SmpDataset& needs = po().SmpPorychka_Materiali;
    QCOMPARE(needs.recordCount(), 2);
    QCOMPARE(needs.value(u"IMEMATERIAL"_s).toString(), u"Бук дъска"_s);
    QCOMPARE(needs.value(u"NEOBHODIMO"_s).toDouble(), 24.0);  // 6 x 3 + 1 x 6
    QCOMPARE(needs.value(u"Nedostig"_s).toDouble(), 4.0);
    needs.next();
    QVERIFY(needs.value(u"Nedostig"_s).isNull());  // 3 of glue needed, 10 held
    QCOMPARE(w->DBTextObstaStoinost->text(), u"72.00"_s);  // 24 x 2.5 + 3 x 4

    clickButton(w, u"SpBtnPrintPorychkaMater"_s);
    QCOMPARE(previews_, 1);
    const QString text = pdf(u"porychka_materiali"_s);
    for (const QString& s : {u"КАЛКУЛАЦИЯ НА МАТЕРИАЛИТЕ"_s, u"ПО ИНДИВИДУАЛНА ПОРЪЧКА №"_s, u"01.12.2026"_s,
                             u"Вид материал"_s, u"Недостиг"_s, u"Забележка"_s, u"Бук дъска"_s, u"24.000"_s, u"4.000"_s,
                             u"Обща стойност :"_s, u"72.00"_s, u"лева."_s, u"Предал :"_s, u"Приел :"_s})
        QVERIFY2(text.contains(s), qPrintable(s + u"\n"_s + text));
    QVERIFY2(text.contains(QRegularExpression(u"№\\s+1 / 01\\.12\\.2026"_s)), qPrintable(text));
    // The company record has a town and nothing else: no captions without their values.
    QVERIFY2(text.contains(QRegularExpression(u"1000 София\\s*\n"_s)), qPrintable(text));
    for (const QString& s : {u"тел."_s, u"e-mail"_s, u"ул."_s})
        QVERIFY2(!text.contains(s), qPrintable(s + u"\n"_s + text));

    for (const QString& f : workbooks()) QFile::remove(f);
    clickButton(w, u"SpeedBtnExcel"_s);
    QCOMPARE(workbooks().size(), 1);
    const Sheet sheet = readWorkbook(workbooks().front());
    QCOMPARE(sheet.texts.value(0).mid(0, 4), (QStringList{u"№"_s, u"Материал"_s, u"Мка"_s, u"Ед.цена"_s}));
    QCOMPARE(sheet.texts.value(1).value(1), u"Бук дъска"_s);
}

// "Калкулация - обща" over everything still to make, "Калк. изделие" over one product, and its
// refusal for a product with nothing left to make.
void TstOrdersWindows::materialsStillToMake()
{
    openOrders();
    clickButton(orders(), u"SpdBtnObstaCalc"_s);
    TFormPorychDvigMat* w = app_->FormPorychDvigMat;
    QCOMPARE(w->PanelKalkulacia->text(), u"Обобщена калкулация на неизработените изделия по всички поръчки - необходими материали !"_s);
    SmpDataset& needs = po().SmpPorychDvigMat;
    QVERIFY(needs.locate(u"NMATERIAL"_s, {9911}));
    QCOMPARE(needs.value(u"NEOBHODIMO"_s).toDouble(), 10 * 3.0 + 6);
    QCOMPARE(needs.value(u"Nedostig"_s).toDouble(), 16.0);
    clickButton(w, u"SpBtnPrintPorychkaMater"_s);
    QString text = pdf(u"porychka_dvig_mat"_s);
    for (const QString& s : {u"Обобщена калкулация на неизработените изделия по всички поръчки !"_s,
                             u"Необходими материали към дата -"_s, u"10.12.2026"_s, u"Бук дъска"_s, u"36.000"_s,
                             u"16.000"_s, u"Обща стойност :"_s})
        QVERIFY2(text.contains(s), qPrintable(s + u"\n"_s + text));
    QVERIFY(!text.contains(u"ИНДИВИДУАЛНА"_s));

    // The table: ordered once, so one still to make.
    QVERIFY(po().SmpPorychki_Dvigenie.locate(u"NTIP_IZDELIE"_s, {2}));
    clickButton(orders(), u"SpdBtnCalcIzd"_s);
    QCOMPARE(needs.recordCount(), 1);
    QCOMPARE(needs.value(u"NEOBHODIMO"_s).toDouble(), 6.0);
    clickButton(w, u"SpBtnPrintPorychkaMater"_s);
    text = pdf(u"porychka_dvig_mat_izd"_s);
    for (const QString& s : {u"Калкулация за неизработено изделие по всички поръчки - необходими материали !"_s,
                             u"Маса Орех"_s, u"6.000"_s})
        QVERIFY2(text.contains(s), qPrintable(s + u"\n"_s + text));

    // The chairs all sold: nothing left to make, nothing opened.
    exec(u"insert into PRODAGBI (AUTONUM, NUMPRODAGBA, NKONTRAGENT, NMATERIAL, BROI_MATERIAL_IZDELIE, DATEFAKTURA) "
         u"values (1, '20261210001', 10, 9901, 6, '2026-12-10')"_s);
    exec(u"insert into PRODAGBI (AUTONUM, NUMPRODAGBA, NKONTRAGENT, NMATERIAL, BROI_MATERIAL_IZDELIE, DATEFAKTURA) "
         u"values (2, '20261210001', 11, 9901, 4, '2026-12-10')"_s);
    po().SmpPorychki_Dvigenie.refresh();
    QVERIFY(po().SmpPorychki_Dvigenie.locate(u"NTIP_IZDELIE"_s, {1}));
    ui_->clear();
    clickButton(orders(), u"SpdBtnCalcIzd"_s);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{u" Липсват предстоящи бройки за изработване  ! !"_s});
    QVERIFY(ui_->texts(RecordingUi::Kind::Modeless).isEmpty());
    QCOMPARE(needs.recordCount(), 1);
}

// The order notice: the company block, the order's number, date and client, its lines with the
// order's deadline, its free text and the signatures; an order without lines prints the rest.
void TstOrdersWindows::orderNotice()
{
    exec(u"update FIRMA set IMEFIRMA = 'Мебели Дъб ООД', ADRES = 'Индустриална 5', TEL = '02 555 1234', EMAIL = 'poruchki@dab.bg'"_s);
    dm().SmpFirma.refresh();
    exec(u"update PORYCHKI set INFO_PORYCHKA = 'Доставка с наш транспорт' where AUTONUM_NPORYCHKA = 1"_s);
    openOrders();
    po().SmpPorychkiArh.first();
    clickButton(orders(), u"SpBtnPrintPorychka"_s);
    QString text = pdf(u"porychka_izvestie"_s);
    for (const QString& s : {u"Мебели Дъб ООД"_s, u"ул. Индустриална 5"_s, u"тел. 02 555 1234, e-mail: poruchki@dab.bg"_s,
                             u"01.12.2026"_s, u"Поръчка от фирма :"_s, u"Алфа ООД"_s,
                             u"Витоша 12"_s, u"Тип продукция"_s, u"Маса Орех"_s, u"Стол Виена"_s, u"6.00"_s,
                             u"20.12.26"_s, u"тъмен лак"_s, u"Доставка с наш транспорт"_s, u"Предал :"_s, u"Приел :"_s})
        QVERIFY2(text.contains(s), qPrintable(s + u"\n"_s + text));
    // The spaced title reads back without its spaces.
    QVERIFY2(text.contains(QRegularExpression(u"И\\s*З\\s*В\\s*Е\\s*С\\s*Т\\s*И\\s*Е\\s+№\\s+1 / 01\\.12\\.2026"_s)),
             qPrintable(text));

    Orders::addOrder(db(), {QDate(2026, 12, 9), QDate(2026, 12, 30), 11, 0});
    po().SmpPorychkiArh.refresh();
    po().SmpPorychkiArh.last();
    clickButton(orders(), u"SpBtnPrintPorychka"_s);
    text = pdf(u"porychka_izvestie_prazna"_s);
    QVERIFY(text.contains(u"Бета ЕООД"_s));
    QVERIFY(text.contains(u"Приел :"_s));
    QVERIFY(!text.contains(u"Стол Виена"_s));
    // Бета has no town and no address: neither is captioned.
    QVERIFY2(!text.contains(u"гр./с."_s), qPrintable(text));
}

// A material name of 65 characters and six-digit quantities and values stay inside their columns of
// the calculation; a product name of 65 characters inside its column of the notice.
void TstOrdersWindows::longTextsFitTheirColumns()
{
    exec(u"update MATERIALI set IMEMATERIAL = 'Плоскост ПДЧ меламинова двустранна 18 мм бял гланц 2800 х 2070 мм' "
         u"where NMATERIAL = 9911"_s);
    exec(u"update MATERIALI set IMEMATERIAL = 'Стол Виена бук масив с тапицирана седалка и облегалка, тъмен орех' "
         u"where NMATERIAL = 9901"_s);
    exec(u"update IZDELIE_RECEPTA set KOLICHESTVO = 20576.5 where NTIP_IZDELIE = 1 and NMATERIAL = 9911"_s);
    openOrders();
    po().SmpPorychkiArh.first();  // Алфа: 6 chairs and a table
    clickButton(orders(), u"SpdBtnPrintPorychkaMat"_s);
    SmpDataset& needs = po().SmpPorychka_Materiali;
    QVERIFY(needs.locate(u"NMATERIAL"_s, {9911}));
    QCOMPARE(needs.value(u"NEOBHODIMO"_s).toDouble(), 6 * 20576.5 + 6);
    clickButton(app_->FormPorychkaMat, u"SpBtnPrintPorychkaMater"_s);
    QString text = pdf(u"porychka_materiali_dylgi"_s);
    for (const QString& s : {u"Плоскост"_s, u"2070 мм"_s, u"123 465.000"_s, u"308 662.50"_s, u"123 445.000"_s})
        QVERIFY2(text.contains(s), qPrintable(s + u"\n"_s + text));
    QVERIFY2(overflowing(lastPreview_).isEmpty(), qPrintable(overflowing(lastPreview_).join(u" | "_s)));

    clickButton(orders(), u"SpBtnPrintPorychka"_s);
    text = pdf(u"porychka_izvestie_dylgi"_s);
    for (const QString& s : {u"Стол Виена"_s, u"тъмен орех"_s})
        QVERIFY2(text.contains(s), qPrintable(s + u"\n"_s + text));
    QVERIFY2(overflowing(lastPreview_).isEmpty(), qPrintable(overflowing(lastPreview_).join(u" | "_s)));
}

// The product grid moves, with the keys as with the mouse, and the three client lists follow.
void TstOrdersWindows::progressByClientFollowsTheProduct()
{
    exec(u"insert into PRODAGBI (AUTONUM, NUMPRODAGBA, NKONTRAGENT, NMATERIAL, BROI_MATERIAL_IZDELIE, DATEFAKTURA) "
         u"values (1, '20261209001', 10, 9901, 8, '2026-12-09')"_s);
    openOrders();
    TFormPorychkaDvigKontr* w = app_->FormPorychkaDvigKontr;
    scripts_[u"FormPorychkaDvigKontr"_s] = [&](Form*) {
        // On the table first (the list is by name): Алфа's one table.
        QCOMPARE(po().SmpPorychDvigKontrSum.recordCount(), 1);
        QCOMPARE(po().SmpPorychDvigKontrSum.value(u"BROI_IZDELIA_PORYCHKA"_s).toDouble(), 1.0);
        QCOMPARE(po().SmpPorychProdSvobodno.recordCount(), 0);
        w->DBGrid2->setFocus();
        QTest::keyClick(w->DBGrid2, Qt::Key_Down);
        QCOMPARE(po().SmpPorychki_Dvigenie.value(u"IME_IZDELIE"_s).toString(), u"Стол Виена"_s);
        SmpDataset& sum = po().SmpPorychDvigKontrSum;
        QCOMPARE(sum.recordCount(), 2);
        QCOMPARE(sum.value(u"IMEKONTRAGENT"_s).toString(), u"Алфа ООД"_s);
        QCOMPARE(sum.value(u"BROI_IZDELIA_OSTATYK"_s).toDouble(), 0.0);
        QCOMPARE(sum.value(u"BROI_IZDELIA_PRODADENI"_s).toDouble(), 8.0);
        QCOMPARE(po().SmpPorychDvigKontrFull.recordCount(), 2);
        QCOMPARE(po().SmpPorychProdSvobodno.recordCount(), 1);
        QCOMPARE(po().SmpPorychProdSvobodno.value(u"BROI_IZD_PRODADENI_SVOBODNO"_s).toDouble(), 2.0);
        QTest::keyClick(w->DBGrid2, Qt::Key_Up);
        QCOMPARE(po().SmpPorychDvigKontrSum.recordCount(), 1);
    };
    orders()->NPorychIzdKontr->trigger();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), (QStringList{u"FormPorychka"_s, u"FormPorychkaDvigKontr"_s}));
    QVERIFY(!orders()->NDvigPorychKlient->isEnabled());
}

void TstOrdersWindows::progressToWorkbook()
{
    openOrders();
    for (const QString& f : workbooks()) QFile::remove(f);
    clickButton(orders(), u"SpeedBtnExcel"_s);
    QCOMPARE(workbooks().size(), 1);
    const Sheet sheet = readWorkbook(workbooks().front());
    QCOMPARE(sheet.texts.value(0).join(u'|'),
             u"Изделие|Мка|По поръч.|За изр.|Изпис.|В проц.|Произв.|На скл.|Прод.поръч.|Прод.своб.|Прод.общо"_s);
    QCOMPARE(sheet.texts.value(2).mid(0, 4), (QStringList{u"Стол Виена"_s, u"бр."_s, u"10"_s, u"10"_s}));
}

QTEST_MAIN(TstOrdersWindows)
#include "tst_orders_windows.moc"
