#include "common/basecurrency.h"
#include "data/dmns.h"
#include "platform/base/clock.h"
#include "platform/widgets/dbdateedit.h"
#include "platform/ui/application.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/radiogroup.h"
#include "reference/formnomenklaturi.h"
#include "reference/tabcompany.h"
#include "reference/tabcounterparties.h"
#include "reference/tabitems.h"
#include "reference/tabplaces.h"
#include "support/referencefixture.h"
#include "support/typing.h"
#include "platform/widgets/wrappingtabwidget.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QTableView>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

// The company tab of the reference data window, driven through its controls.
class TstCompanyTab : public QObject, protected ReferenceFixture
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void checkBoxesStoreWhatTheyShowOnSave_data();
    void checkBoxesStoreWhatTheyShowOnSave();
    void savedCaption_data();
    void savedCaption();
    void responsiblePersonIsStoredAtOnce();
    void badVatRateIsRefused_data();
    void badVatRateIsRefused();
    void invoiceSymbolTakesDigitsOnly();
    void logoPastedFromClipboard();
    void listsAreStoredAtOnce();
    void everyTabAndCaptionInViewAt790();
    void baseCurrencyStoredOnSave_data();
    void baseCurrencyStoredOnSave();
    void baseCurrencyChangeRefused_data();
    void baseCurrencyChangeRefused();
    void priceConversionCommand_data();
    void priceConversionCommand();

private:
    QVariant stored(const QString& column)
    {
        return db().query(QStringLiteral("select %1 from FIRMA").arg(column)).rows.front()[0];
    }
    template <class T> T* control(const char* name) { return form()->findChild<T*>(QString::fromLatin1(name)); }
    // Types into a box, replacing its text unless told to add to it.
    void type(const char* editName, const QString& text, bool replace = true);
    void save() { QTest::mouseClick(form()->TabSheet6->SpeedBtnZapFirma, Qt::LeftButton); }
    BaseCurrency::Settings storedCurrency() { return BaseCurrency::Settings::read(db()); }
    // The company record changed behind the window: the tab shows it again.
    void recordChanged(const QString& sql)
    {
        exec(sql);
        dm().SmpFirma.refresh();
        form()->TabSheet6->FormShow();
    }
};

void TstCompanyTab::init()
{
    start();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    form()->show();
    QVERIFY(QTest::qWaitForWindowExposed(form()));
}

void TstCompanyTab::cleanup()
{
    stop();
    Clock::reset();
}

void TstCompanyTab::type(const char* editName, const QString& text, bool replace)
{
    auto* e = control<DBEdit>(editName);
    QVERIFY(e);
    e->setFocus();
    if (replace) {
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
    } else {
        e->end(false);
    }
    typeText(e, text);
}

void TstCompanyTab::checkBoxesStoreWhatTheyShowOnSave_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("clicks");
    QTest::newRow("purchaser ticked") << "ChBoxChrezDostavchik" << "CHREZ_DOSTAVCHIK" << 1;
    QTest::newRow("purchaser ticked and cleared") << "ChBoxChrezDostavchik" << "CHREZ_DOSTAVCHIK" << 2;
    QTest::newRow("VAT and commission thrice") << "ChBoxDDSKomis" << "DDS_KOMIS" << 3;
    QTest::newRow("through warehouse objects") << "ChBoxSklobDaNe" << "SKLOB_DA_NE" << 1;
    QTest::newRow("wholesale prices cleared") << "ChBoxCenaEdroDrebno" << "CENA_EDRO_DREBNO" << 1;
}

void TstCompanyTab::checkBoxesStoreWhatTheyShowOnSave()
{
    QFETCH(QString, box);
    QFETCH(QString, column);
    QFETCH(int, clicks);
    auto* b = form()->findChild<QCheckBox*>(box);
    QVERIFY(b);
    const int before = stored(column).toInt();
    QCOMPARE(b->isChecked(), before == 1);  // set from the record when the window is shown
    for (int i = 0; i < clicks; ++i) QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    QCOMPARE(dm().SmpFirma.state(), SmpDataset::State::Edit);
    QCOMPARE(stored(column).toInt(), before);  // nothing reaches the database before the save
    save();
    QCOMPARE(stored(column).toInt(), b->isChecked() ? 1 : 0);
    QCOMPARE(b->isChecked(), clicks % 2 == 1 ? before == 0 : before == 1);
    QCOMPARE(dm().SmpFirma.state(), SmpDataset::State::Browse);
}

void TstCompanyTab::savedCaption_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");
    QTest::newRow("empty title") << "" << "Ravlon - ПРОИЗВОДСТВО !";
    QTest::newRow("own title") << "Цех Север" << "Цех Север";
}

void TstCompanyTab::savedCaption()
{
    QFETCH(QString, title);
    QFETCH(QString, caption);
    type("DBEdtImeLogo", title);
    type("DBEdtImeFirma", QStringLiteral("Север ООД"));
    QSignalSpy captions(form(), &TFormNomenklaturi::mainCaptionChanged);
    save();
    QCOMPARE(captions.size(), 1);
    QCOMPARE(captions.front().front().toString(), caption);
    QCOMPARE(stored(QStringLiteral("IMEFIRMA")).toString(), QStringLiteral("Север ООД"));
}

void TstCompanyTab::responsiblePersonIsStoredAtOnce()
{
    dm().SQLConnectNS.execute(QStringLiteral("insert into MOL_FIRMA (NMOL_FIRMA, IMEMOLFIRMA) values (2, 'Счетоводител')"));
    dm().SmpMolFirma.refresh();
    type("DBEdtTel", QStringLiteral("02 123 456"));
    chooseInList(form()->TabSheet6->DBLkpCmBoxMolFirma, QStringLiteral("Счетоводител"));
    QCOMPARE(stored(QStringLiteral("NMOL_FIRMA")).toInt(), 2);
    QCOMPARE(stored(QStringLiteral("TEL")).toString(), QStringLiteral("02 123 456"));  // stored with it
    QCOMPARE(dm().SmpFirma.fieldByName(QStringLiteral("ImeMOLFirma"))->asString(), QStringLiteral("Счетоводител"));
}

void TstCompanyTab::badVatRateIsRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<bool>("message");
    QTest::newRow("letters after the rate") << "х" << false << true;
    QTest::newRow("above 100") << "120" << true << true;
    QTest::newRow("below 0") << "-5" << true << true;
    QTest::newRow("valid") << "9" << true << false;
}

void TstCompanyTab::badVatRateIsRefused()
{
    QFETCH(QString, typed);
    QFETCH(bool, replace);
    QFETCH(bool, message);
    type("DBEdtDDSProcent", typed, replace);
    save();
    if (message) {
        QCOMPARE(ui_->texts(RecordingUi::Kind::Message).size(), 1);
        QCOMPARE(stored(QStringLiteral("DDS_PROCENT")).toDouble(), 20.0);
    } else {
        QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
        QCOMPARE(stored(QStringLiteral("DDS_PROCENT")).toDouble(), 9.0);
    }
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstCompanyTab::invoiceSymbolTakesDigitsOnly()
{
    type("DBEdtNfaktSimvol", QStringLiteral("a-7"));  // one character, digits only: the rest is dropped
    QCOMPARE(control<DBEdit>("DBEdtNfaktSimvol")->text(), QStringLiteral("7"));
    save();
    QCOMPARE(stored(QStringLiteral("NFAKT_SIMVOL")).toString(), QStringLiteral("7"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
}

void TstCompanyTab::logoPastedFromClipboard()
{
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    QGuiApplication::clipboard()->setImage(logo);
    QTest::mouseClick(control<QToolButton>("SpdBtnLogoPaste"), Qt::LeftButton);
    save();
    const QImage back = QImage::fromData(stored(QStringLiteral("LOGO_FIRMA")).toByteArray());
    QCOMPARE(back.size(), logo.size());
}

void TstCompanyTab::listsAreStoredAtOnce()
{
    auto* nav = control<DBNavigator>("DBNavigatorVidPlastane");
    QVERIFY(nav);
    QCOMPARE(nav->button(DBNavigator::Insert)->toolTip(), QStringLiteral("Вмъкване запис"));
    SmpDataset& kinds = dm().SmpVidPlastane;
    nav->click(DBNavigator::Insert);
    kinds.setValue(QStringLiteral("VIDPLASTANE"), QStringLiteral("Карта"));
    nav->click(DBNavigator::Post);
    QCOMPARE(dm().SQLConnectNS.query(QStringLiteral("select count(*) from VIDPLASTANE where VIDPLASTANE = 'Карта'"))
                 .rows.front()[0].toInt(),
             1);
}

void TstCompanyTab::everyTabAndCaptionInViewAt790()
{
    // The window keeps its size on an 800 x 600 screen; every tab is in view, its caption whole.
    QCOMPARE(form()->size(), QSize(790, 570));
    QVERIFY(form()->minimumSizeHint().width() <= 790 && form()->minimumSizeHint().height() <= 570);
    for (const char* name : {"PageControl1", "PageControlFirmaSpisyci"}) {
        auto* pages = control<QTabWidget>(name);
        QVERIFY(pages);
        form()->PageControl1->setCurrentWidget(form()->TabSheet6);  // the company lists' bar in view
        QCoreApplication::processEvents();
        QTabBar* bar = pages->tabBar();
        QVERIFY2(bar->width() <= pages->width(), name);
        for (int i = 0; i < bar->count(); ++i) {
            const QRect tab = bar->tabRect(i);
            QVERIFY2(bar->rect().contains(tab), qPrintable(bar->tabText(i)));
            const QRect text = bar->fontMetrics().boundingRect(tab, Qt::AlignCenter | Qt::TextWordWrap,
                                                               WrappingTabBar::breakable(bar->tabText(i)));
            QVERIFY2(tab.contains(text), qPrintable(bar->tabText(i)));
        }
    }
    // The small lists show every caption whole, without scrolling sideways.
    const struct { QWidget* tab; const char* grid; } grids[] = {
        {form()->TabSheet1, "DBGrid11"}, {form()->TabSheet1, "DBGrid2"}, {form()->TabSheet2, "DBGrid13"},
        {form()->TabSheet2, "DBGrid12"}, {form()->TabSheet2, "DBGrid10"}, {form()->TabSheet3, "DBGrid7"},
        {form()->TabSheet3, "DBGrid5"},  {form()->TabSheet3, "DBGrid4"},  {form()->TabSheet3, "DBGrid8"},
    };
    for (const auto& g : grids) {
        form()->PageControl1->setCurrentWidget(g.tab);
        QCoreApplication::processEvents();
        auto* grid = control<QTableView>(g.grid);
        QVERIFY(grid);
        QHeaderView* header = grid->horizontalHeader();
        for (int c = 0; c < header->count(); ++c) {
            if (header->isSectionHidden(c)) continue;
            const QString caption = grid->model()->headerData(c, Qt::Horizontal).toString();
            const QString where = QStringLiteral("%1: %2").arg(QString::fromLatin1(g.grid), caption);
            QVERIFY2(header->sectionSize(c) >= header->fontMetrics().horizontalAdvance(caption), qPrintable(where));
            QVERIFY2(header->sectionViewportPosition(c) + header->fontMetrics().horizontalAdvance(caption)
                         <= grid->viewport()->width(),
                     qPrintable(where));
        }
    }
}

void TstCompanyTab::baseCurrencyStoredOnSave_data()
{
    QTest::addColumn<QStringList>("choices");  // items of the currency box, chosen in turn
    QTest::addColumn<QDate>("from");           // a date then picked; none when invalid
    QTest::addColumn<bool>("euro");
    QTest::addColumn<QDate>("stored");
    QTest::newRow("euro from the default date") << QStringList{"в евро от"} << QDate() << true << QDate(2026, 1, 1);
    QTest::newRow("euro from a date of its own") << QStringList{"в евро от"} << QDate(2026, 3, 1) << true
                                                 << QDate(2026, 3, 1);
    QTest::newRow("euro, then leva again") << QStringList{"в евро от", "в лева"} << QDate() << false << QDate();
}

void TstCompanyTab::baseCurrencyStoredOnSave()
{
    QFETCH(QStringList, choices);
    QFETCH(QDate, from);
    QFETCH(bool, euro);
    QFETCH(QDate, stored);
    TabCompany* tab = form()->TabSheet6;
    form()->PageControl1->setCurrentWidget(tab);
    QCOMPARE(tab->CmbBoxOsnValuta->currentIndex(), 0);  // a new installation keeps leva
    QVERIFY(!tab->DBDateEvroOt->isEnabled());
    for (const QString& item : choices) chooseInList(tab->CmbBoxOsnValuta, item);
    if (from.isValid()) tab->DBDateEvroOt->setDate(from);
    QCOMPARE(tab->DBDateEvroOt->isEnabled(), euro);
    if (euro) QCOMPARE(tab->DBDateEvroOt->date(), stored);
    QCOMPARE(storedCurrency(), BaseCurrency::Settings{});  // nothing reaches the database before the save
    save();
    const auto currency = euro ? BaseCurrency::Currency::Euro : BaseCurrency::Currency::Leva;
    QCOMPARE(storedCurrency(), (BaseCurrency::Settings{currency, stored}));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstCompanyTab::baseCurrencyChangeRefused_data()
{
    QTest::addColumn<QStringList>("sales");
    QTest::addColumn<bool>("backToLeva");  // else the cut-over moves to 01.02.2026
    QTest::addColumn<QString>("message");
    const QString split = QStringLiteral("Има документи и преди, и след датата на преминаване към евро 01.01.2026 !\r");
    const QStringList both = {"20.12.2025", "05.01.2026"};
    QTest::newRow("documents on both sides, back to leva")
        << both << true << split + QStringLiteral("Връщането към лева е невъзможно !");
    QTest::newRow("documents on both sides, date moved")
        << both << false << split + QStringLiteral("Промяната на датата е невъзможна !");
    QTest::newRow("documents only before, date moved") << QStringList{"20.12.2025"} << false << "";
}

void TstCompanyTab::baseCurrencyChangeRefused()
{
    QFETCH(QStringList, sales);
    QFETCH(bool, backToLeva);
    QFETCH(QString, message);
    for (const QString& d : sales)
        db().execute(QStringLiteral("insert into PRODAGBI (NUMPRODAGBA, DATEFAKTURA) values ('1', :D)"),
                     {{QStringLiteral("D"), d}});
    recordChanged(QStringLiteral("update FIRMA set EVRO_DA_NE = 1, EVRO_OT_DATA = '01.01.2026'"));
    TabCompany* tab = form()->TabSheet6;
    form()->PageControl1->setCurrentWidget(tab);
    QCOMPARE(tab->CmbBoxOsnValuta->currentIndex(), 1);
    QCOMPARE(tab->DBDateEvroOt->date(), QDate(2026, 1, 1));
    const BaseCurrency::Settings before = storedCurrency();
    if (backToLeva) chooseInList(tab->CmbBoxOsnValuta, QStringLiteral("в лева"));
    else tab->DBDateEvroOt->setDate(QDate(2026, 2, 1));
    save();
    if (message.isEmpty()) {
        QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList());
        QCOMPARE(storedCurrency(), (BaseCurrency::Settings{BaseCurrency::Currency::Euro, QDate(2026, 2, 1)}));
    } else {
        QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{message});
        QCOMPARE(storedCurrency(), before);
    }
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstCompanyTab::priceConversionCommand_data()
{
    QTest::addColumn<bool>("euro");
    QTest::addColumn<QList<bool>>("answers");  // to the questions the two clicks ask
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<double>("price");
    QTest::addColumn<double>("special");
    const QString notEuro = QStringLiteral("Основната валута на фирмата не е евро !\r"
                                           "Цените се преизчисляват, след като евро е записано като основна валута.");
    QTest::newRow("leva company") << false << QList<bool>{} << QStringList{notEuro, notEuro} << 100.0 << 19.5583;
    QTest::newRow("answered No twice") << true << QList<bool>{false, false} << QStringList() << 100.0 << 19.5583;
    QTest::newRow("answered Yes, then clicked again")  // once converted it is not asked again
        << true << QList<bool>{true}
        << QStringList{QStringLiteral("Цените са преизчислени в евро !\rМатериали: 1\rСпециални цени: 1"),
                       QStringLiteral("Цените вече са преизчислени в евро на 02.01.2026 !\rНищо не е преизчислено.")}
        << 51.13 << 10.0;
}

void TstCompanyTab::priceConversionCommand()
{
    QFETCH(bool, euro);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, messages);
    QFETCH(double, price);
    QFETCH(double, special);
    Clock::setFixed(QDateTime(QDate(2026, 1, 2), QTime(9, 0)));
    exec(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"));
    exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA, PRODAGNA_CENA, "
                        "PROD_CENA_LV_DREBNO) values (500, 'Болт', 1, 1, 100, 100, 100)"));
    exec(QStringLiteral("insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) "
                        "values (60, 1, 'Клиент')"));
    exec(QStringLiteral("insert into KONTR_MAT_CENI (NKONTRAGENT, NMATERIAL, SPEC_CENA) values (60, 500, 19.5583)"));
    form()->TabSheet1->RdGrpIzbSklMat->click(0);  // the item list of every warehouse
    if (euro) recordChanged(QStringLiteral("update FIRMA set EVRO_DA_NE = 1, EVRO_OT_DATA = '01.01.2026'"));
    form()->PageControl1->setCurrentWidget(form()->TabSheet6);
    ui_->answers = answers;
    for (int click = 0; click < 2; ++click) QTest::mouseClick(form()->TabSheet6->SpdBtnCeniEvro, Qt::LeftButton);

    const QStringList questions = ui_->texts(RecordingUi::Kind::Question);
    QCOMPARE(questions.size(), answers.size());
    if (!questions.isEmpty()) {
        QVERIFY(questions.front().contains(QStringLiteral("по курс 1.95583 лв. за 1 евро")));
        QVERIFY(questions.front().endsWith(QStringLiteral("ЖЕЛАЕТЕ ЛИ ПРЕИЗЧИСЛЯВАНЕ ?")));
    }
    QCOMPARE(ui_->unexpectedQuestions, 0);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), messages);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    const DbResult r = db().query(QStringLiteral("select ED_CENA, PRODAGNA_CENA, PROD_CENA_LV_DREBNO, "
                                                 "(select SPEC_CENA from KONTR_MAT_CENI) from MATERIALI"));
    QCOMPARE(r.rows.front(), (DbRow{price, price, price, special}));
    // The item list shows what is stored.
    const QVariant listed =
        dm().SmpViewMateriali.lookup(QStringLiteral("NMATERIAL"), {500}, QStringLiteral("PRODAGNACENA"));
    QCOMPARE(listed.toDouble(), price);
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TstCompanyTab t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_companytab.moc"
