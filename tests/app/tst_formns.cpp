#include "app/formns.h"
#include "app/instances.h"
#include "data/dmns.h"
#include "platform/db/connection.h"
#include "platform/ui/application.h"
#include "reference/formnomenklaturi.h"
#include "support/recordingui.h"
#include "support/testdb.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

// The main window as the user meets it.
class TstFormNS : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void captionAndSize();
    void hotSpots_data();
    void hotSpots();
    void menu_data();
    void menu();
    void firstShowCreatesDatabase();
    void unreachableDatabaseIsReportedAndWindowStays();
    void exitClosesTheWindow();
    void referenceWindowFromTheMenu();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<RecordingUi> ui_;
    std::unique_ptr<AppInstances> app_;
    void build(const ConnectionParams& p) { app_ = std::make_unique<AppInstances>(p); }
    ConnectionParams newDatabase() const { return TestDb::paramsFor(dir_->filePath(QStringLiteral("TRXBASE.fdb"))); }
};

void TstFormNS::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    ui_ = std::make_unique<RecordingUi>();
}

void TstFormNS::cleanup()
{
    app_.reset();
    ui_.reset();
    dir_.reset();
}

void TstFormNS::captionAndSize()
{
    build(TestDb::freshCopy(*dir_));
    TFormNS* f = app_->FormNS;
    f->show();
    QCOMPARE(f->windowTitle(), QStringLiteral("ИНФОРМАЦИОННА  СИСТЕМА  ЗА  УПРАВЛЕНИЕ  НА  БИЗНЕСА  !"));
    QCOMPARE(f->centralWidget()->size(), QSize(800, 600));
    QCOMPARE(f->minimumSize(), f->maximumSize());  // not resizable
    QVERIFY(!(f->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(f->windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(f->Image1->geometry(), QRect(0, 0, 800, 600));
    QVERIFY(!f->Image1->pixmap().isNull());
    QVERIFY(f->Label1->font().bold());
    QVERIFY(f->DBText1->geometry().top() < 100);
}

void TstFormNS::hotSpots_data()
{
    QTest::addColumn<QString>("spot");
    QTest::addColumn<QString>("hover");
    QTest::addColumn<int>("tile");    // reading order of the picture's tiles
    QTest::addColumn<bool>("built");  // its window exists; the others are shown disabled
    QTest::newRow("orders") << "ImgPorychki" << "Поръчки - формиране" << 0 << true;
    QTest::newRow("stock") << "ImgSklad" << "Складове - доставка" << 1 << true;
    QTest::newRow("points") << "ImgSklPunkt" << "Склад/пункт/ - доставка" << 2 << true;
    QTest::newRow("workshops") << "ImgCeh" << "Цехове - производство" << 3 << true;
    QTest::newRow("sale") << "ImgFakt" << "Фактуриране - продажба" << 4 << true;
    QTest::newRow("sales info") << "ImgInfProd" << "Информация - продажби" << 5 << true;
    QTest::newRow("cash") << "ImgKasa" << "Каса, приходен и разходен ордери !" << 6 << true;
    QTest::newRow("objects") << "ImgSklObekti" << "Складови обекти / магазини / !" << 7 << true;
    QTest::newRow("payments") << "ImgRazpl" << "Разплащания - мониторинг" << 8 << true;
    QTest::newRow("reference") << "ImgNomenlk" << "Номенклатури - формиране, настройки" << 9 << true;
    QTest::newRow("staff") << "ImgPers" << "Персонал - фирма" << 10 << true;
    QTest::newRow("exit") << "ImgIzhod" << "Радвам се, че работихме заедно. Приятна почивка!" << 11 << true;
}

void TstFormNS::hotSpots()
{
    QFETCH(QString, spot);
    QFETCH(QString, hover);
    QFETCH(int, tile);
    QFETCH(bool, built);
    build(TestDb::freshCopy(*dir_));
    TFormNS* f = app_->FormNS;
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    auto* w = f->findChild<QWidget*>(spot);
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QCOMPARE(w->isEnabled(), built);
    QCOMPARE(w->cursor().shape(), built ? Qt::PointingHandCursor : Qt::ArrowCursor);
    // The hot spot lies over its own tile: the exit is the last, not the reference data's.
    QList<QWidget*> spots;
    for (const TFormNS::Command& c : TFormNS::commands())
        if (c.hotSpot) spots << f->findChild<QWidget*>(QString::fromLatin1(c.hotSpot));
    std::sort(spots.begin(), spots.end(), [](QWidget* a, QWidget* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    QCOMPARE(spots.indexOf(w), tile);
    // The menu item does what the hot spot does, or is disabled with it.
    QAction* item = nullptr;
    for (const TFormNS::Command& c : TFormNS::commands())
        if (spot == QLatin1String(c.hotSpot)) item = f->findChild<QAction*>(QString::fromLatin1(c.action));
    QVERIFY(item);
    QCOMPARE(item->isEnabled(), built);
    if (!built) return;
    // From another hot spot straight to this one replaces the text; the background clears it.
    QWidget* other = f->findChild<QWidget*>(spot == QLatin1String("ImgIzhod") ? QStringLiteral("ImgNomenlk")
                                                                              : QStringLiteral("ImgIzhod"));
    QTest::mouseMove(other, QPoint(5, 5));
    QVERIFY(f->Label1->text() != hover);
    QTest::mouseMove(w, QPoint(10, 10));
    QCOMPARE(f->Label1->text(), hover);
    QTest::mouseMove(f->Image1, QPoint(2, 2));
    QCOMPARE(f->Label1->text(), QString());
}

void TstFormNS::menu_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("menuCaption");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("system") << "N1Porychki" << "Система"
                            << QStringList{"N2Porych", "N3SkladDost", "N10SkladPunkt", "N4CehProizv", "N5ProdFakt",
                                           "N6InfProdagba", "N2Kasa", "N1SklObekt", "N7Razpl", "", "NArhiv", "NVazstanovi", "N13",
                                           "N14Izhod"}
                            << QStringList{"Поръчки - формиране", "Складове - доставка", "Склад /пункт/ - доставка",
                                           "Цехове - производство", "Продажба - фактуриране", "Информация - продажби",
                                           "Каса", "Складови обекти", "Разплащания - мониторинг", "", "Архивиране на базата данни…",
                                           "Възстановяване от архив…", "", "Изход"};
    QTest::newRow("settings") << "N8" << "Настройки" << QStringList{"N9Nomenkl"}
                              << QStringList{"Номенклатури - формиране"};
    QTest::newRow("staff") << "N11" << "Персонал" << QStringList{"N12Pers"} << QStringList{"Персонал - фирма"};
}

void TstFormNS::menu()
{
    QFETCH(QString, menu);
    QFETCH(QString, menuCaption);
    QFETCH(QStringList, items);
    QFETCH(QStringList, captions);
    build(TestDb::freshCopy(*dir_));
    auto* m = app_->FormNS->MenuFirm->findChild<QMenu*>(menu);
    QVERIFY(m);
    QCOMPARE(m->title(), menuCaption);
    const QList<QAction*> actions = m->actions();
    QCOMPARE(actions.size(), items.size());
    for (int i = 0; i < items.size(); ++i) {
        QCOMPARE(actions[i]->objectName(), items[i]);
        QCOMPARE(actions[i]->isSeparator(), captions[i].isEmpty());
        if (!captions[i].isEmpty()) QCOMPARE(actions[i]->text(), captions[i]);
    }
}

void TstFormNS::firstShowCreatesDatabase()
{
    const ConnectionParams p = newDatabase();
    if (TestDb::serverMode()) QSKIP("creating on first start is the embedded database's behaviour");
    build(p);
    QVERIFY(!QFile::exists(p.database));  // creating the windows does not touch the database
    app_->FormNS->show();
    QVERIFY(app_->FormNS->firstShowDone());
    QVERIFY(QFile::exists(p.database));
    QVERIFY(app_->DMNS->SQLConnectNS.isOpen());
    QVERIFY(ui_->log.isEmpty());
}

void TstFormNS::unreachableDatabaseIsReportedAndWindowStays()
{
    ConnectionParams p;
    p.server = QStringLiteral("127.0.0.1");
    p.port = 1;  // nothing listens there
    p.database = QStringLiteral("/nonexistent/TRXBASE.fdb");
    build(p);
    app_->FormNS->show();
    const QStringList errors = ui_->texts(RecordingUi::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.front().contains(QStringLiteral("127.0.0.1")) || errors.front().contains(QStringLiteral("connect")),
             qPrintable(errors.front()));
    QVERIFY(app_->FormNS->isVisible());
    QVERIFY(!app_->DMNS->SQLConnectNS.isOpen());
}

void TstFormNS::exitClosesTheWindow()
{
    build(TestDb::freshCopy(*dir_));
    app_->FormNS->show();
    QAction* exit = app_->FormNS->findChild<QAction*>(QStringLiteral("N14Izhod"));
    QVERIFY(exit);
    exit->trigger();
    QVERIFY(!app_->FormNS->isVisible());
}

// The reference data window opens modally from the settings menu; its saved company caption becomes
// the main window's.
void TstFormNS::referenceWindowFromTheMenu()
{
    build(TestDb::freshCopy(*dir_));
    app_->FormNS->show();
    TFormNomenklaturi* form = app_->FormNomenklaturi;
    app_->FormNS->findChild<QAction*>(QStringLiteral("N9Nomenkl"))->trigger();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList{QStringLiteral("FormNomenklaturi")});
    QVERIFY(form->isVisible());
    QCOMPARE(form->windowTitle(), QStringLiteral("Номенклатури, настройки"));
    QVERIFY(form->width() <= 800 && form->height() <= 600);
    emit form->mainCaptionChanged(QStringLiteral("Цех Север"));
    QCOMPARE(app_->FormNS->windowTitle(), QStringLiteral("Цех Север"));
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TstFormNS t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_formns.moc"
