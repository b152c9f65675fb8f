#include "platform/db/dberror.h"
#include "platform/ui/application.h"
#include "platform/widgets/handlers.h"
#include "support/recordingui.h"

#include <QSpinBox>
#include <QTest>
#include <QToolButton>

// A window's handlers, connected through the one wrapper.
class Handled : public QObject
{
public:
    int clicks = 0;
    QList<int> values;
    void failingClick()
    {
        ++clicks;
        throw DbError(QStringLiteral("lock conflict on no wait transaction"));
    }
    void valueChange(int v)
    {
        values << v;
        if (v == 3) throw std::runtime_error("not three");
    }
};

class TstHandlers : public QObject
{
    Q_OBJECT
private slots:
    void errorsReachTheErrorReportAndTheWindowGoesOn();
};

void TstHandlers::errorsReachTheErrorReportAndTheWindowGoesOn()
{
    RecordingUi ui;
    Handled owner;
    QWidget window;
    QToolButton* save = Handlers::makeButton("SpdBtnZapis", QStringLiteral("Запис"), &owner, &Handled::failingClick);
    save->setParent(&window);
    QCOMPARE(save->objectName(), QStringLiteral("SpdBtnZapis"));
    QVERIFY(save->minimumWidth() > save->fontMetrics().horizontalAdvance(QStringLiteral("Запис")));
    auto* spin = new QSpinBox(&window);
    Handlers::connect(spin, &QSpinBox::valueChanged, &owner, &Handled::valueChange);
    int plain = 0;
    Handlers::connect(spin, &QSpinBox::valueChanged, &owner, [&plain] { ++plain; });

    // Called straight, as the signal calls it: the error stops at the wrapper, so nothing reaches
    // the event loop's last resort.
    save->click();
    save->click();
    QCOMPARE(owner.clicks, 2);
    QCOMPARE(ui.texts(RecordingUi::Kind::Error).size(), 2);
    QVERIFY(ui.texts(RecordingUi::Kind::Error).front().contains(QStringLiteral("lock conflict")));

    spin->setValue(3);
    spin->setValue(4);
    QCOMPARE(owner.values, (QList<int>{3, 4}));  // the signal's argument is handed on
    QCOMPARE(plain, 2);
    QCOMPARE(ui.texts(RecordingUi::Kind::Error).size(), 3);
    QCOMPARE(ui.texts(RecordingUi::Kind::Error).last(), QStringLiteral("not three"));
    QVERIFY(!Handlers::run([] { throw DbError(QStringLiteral("x")); }));
    QVERIFY(Handlers::run([] {}));
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TstHandlers t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_handlers.moc"
