#include "platform/db/connection.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "support/recordingui.h"
#include "support/testdb.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>

// The application services: the default error report, showing windows and the messages texts.
class TstUi : public QObject
{
    Q_OBJECT
private slots:
    void serverErrorInHandlerReachesErrorReport();
    void modelessWindowIsOneInstance();
    void modalShowReturnsResultOfClose();
    void modelessFromModalTakesInput();
    void lineBreaksOfMessages();
    void questionsInBulgarianWithoutIcon();
};

void TstUi::serverErrorInHandlerReachesErrorReport()
{
    RecordingUi ui;
    QTemporaryDir dir;
    SQLConnection db(TestDb::freshCopy(dir));
    QWidget window;
    auto* failing = new QPushButton(QStringLiteral("Запис"), &window);
    auto* working = new QPushButton(QStringLiteral("Друго"), &window);
    working->move(0, 40);
    int worked = 0;
    QObject::connect(failing, &QPushButton::clicked,
                     [&db] { db.execute(QStringLiteral("update NO_SUCH_TABLE set X = 1")); });
    QObject::connect(working, &QPushButton::clicked, [&worked] { ++worked; });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(failing, Qt::LeftButton);
    const QStringList errors = ui.texts(RecordingUi::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.front().contains(QStringLiteral("Table unknown")), qPrintable(errors.front()));
    QVERIFY(errors.front().contains(QStringLiteral("NO_SUCH_TABLE")));

    QTest::mouseClick(working, Qt::LeftButton);  // the program goes on
    QCOMPARE(worked, 1);
}

void TstUi::modelessWindowIsOneInstance()
{
    RecordingUi ui;
    Form form;
    form.setObjectName(QStringLiteral("FormSklad"));
    UiService::current().showModeless(&form);
    UiService::current().showModeless(&form);
    QVERIFY(form.isVisible());
    int forms = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<Form*>(w) && w->isVisible()) ++forms;
    QCOMPARE(forms, 1);

    form.close();  // closing hides and keeps the window
    QVERIFY(!form.isVisible());
    QVERIFY(!form.testAttribute(Qt::WA_DeleteOnClose));
    UiService::current().showModeless(&form);
    QVERIFY(form.isVisible());
    QCOMPARE(ui.texts(RecordingUi::Kind::Modeless), QStringList(3, QStringLiteral("FormSklad")));
}

void TstUi::modalShowReturnsResultOfClose()
{
    Form dialog;  // the real service: a modal loop ended by the dialog's own close
    QTimer::singleShot(0, &dialog, [&dialog] {
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
        dialog.closeWith(2);
    });
    QCOMPARE(UiService::current().showModal(&dialog), 2);
    QVERIFY(!dialog.isVisible());
}

// A window shown beside the others while a modal window is open takes clicks; the modal window
// still blocks the rest, and once it is closed nothing is blocked.
void TstUi::modelessFromModalTakesInput()
{
    const auto clicker = [](Form& window, int& clicks) {
        auto* b = new QPushButton(QStringLiteral("Бутон"), &window);
        b->setGeometry(10, 10, 100, 30);
        QObject::connect(b, &QPushButton::clicked, [&clicks] { ++clicks; });
        window.resize(200, 100);
    };
    // A click where a user clicks: into the window system, which drops it on a blocked window.
    const auto click = [](Form& window) { QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(50, 25)); };
    int behindClicks = 0, besideClicks = 0, besideInModal = 0;
    Form behind, dialog, beside;
    clicker(behind, behindClicks);
    clicker(beside, besideClicks);
    behind.show();
    QVERIFY(QTest::qWaitForWindowExposed(&behind));
    QTimer::singleShot(0, &dialog, [&] {
        UiService::current().showModeless(&beside);
        if (QTest::qWaitForWindowExposed(&beside)) {
            click(beside);
            click(behind);
            besideInModal = besideClicks;
        }
        dialog.closeWith(1);
    });
    QCOMPARE(UiService::current().showModal(&dialog), 1);
    QCOMPARE(besideInModal, 1);
    QCOMPARE(behindClicks, 0);
    click(behind);
    click(beside);
    QCOMPARE(behindClicks, 1);
    QCOMPARE(besideClicks, 2);
    // Shown again with nothing modal open, it stands alone.
    beside.close();
    UiService::current().showModeless(&beside);
    QCOMPARE(beside.windowHandle()->transientParent(), nullptr);
}

void TstUi::lineBreaksOfMessages()
{
    QCOMPARE(UiService::displayText(QStringLiteral("Ред 1\rРед 2\r\nРед 3 !")), QStringLiteral("Ред 1\nРед 2\nРед 3 !"));
}

void TstUi::questionsInBulgarianWithoutIcon()
{
    auto* app = static_cast<Application*>(QCoreApplication::instance());
    QVERIFY2(app->qtTranslated(), "Qt's Bulgarian translation is missing (Debian package qt6-translations-l10n)");
    const std::unique_ptr<QMessageBox> box(UiService::questionBox(nullptr, QStringLiteral("Изтриване ?\rНаистина ли?")));
    QCOMPARE(box->icon(), QMessageBox::NoIcon);
    QCOMPARE(box->text(), QStringLiteral("Изтриване ?\nНаистина ли?"));
    QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
    QCOMPARE(box->button(QMessageBox::Yes)->text(), QStringLiteral("&Да"));
    QCOMPARE(box->button(QMessageBox::No)->text(), QStringLiteral("&Не"));
    // Qt's other dialogs speak the same language.
    QMessageBox notice(QMessageBox::Information, QString(), QString(), QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(notice.button(QMessageBox::Cancel)->text(), QStringLiteral("Отказ"));
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TstUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_ui.moc"
