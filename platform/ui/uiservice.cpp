#include "platform/ui/uiservice.h"

#include "platform/ui/form.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTextStream>
#include <QWindow>

#include <memory>

namespace {
UiService* installed = nullptr;

QWidget* activeParent() { return QApplication::activeWindow(); }
}

UiService::~UiService() = default;

UiService& UiService::current()
{
    static UiService fallback;
    return installed ? *installed : fallback;
}

void UiService::install(UiService* service) { installed = service; }

QString UiService::displayText(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    return t;
}

void UiService::showMessage(const QString& text)
{
    QMessageBox::information(activeParent(), QApplication::applicationDisplayName(), displayText(text));
}

QMessageBox* UiService::questionBox(QWidget* parent, const QString& text)
{
    auto* box = new QMessageBox(QMessageBox::NoIcon, QApplication::applicationDisplayName(), displayText(text),
                                QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

bool UiService::askYesNo(const QString& text)
{
    // Like an error: a run without a screen shows what it waits for.
    QTextStream(stderr) << displayText(text) << '\n';
    const std::unique_ptr<QMessageBox> box(questionBox(activeParent(), text));
    return box->exec() == QMessageBox::Yes;
}

int UiService::showModal(Form* form)
{
    form->setModalResult(0);
    form->setWindowModality(Qt::ApplicationModal);
    form->show();
    form->raise();
    form->activateWindow();
    QEventLoop loop;
    QObject::connect(form, &Form::closed, &loop, &QEventLoop::quit);
    loop.exec();
    form->setWindowModality(Qt::NonModal);
    return form->modalResult();
}

void UiService::showModeless(Form* form)
{
    // A modal window blocks every window that is not its own; one shown from it becomes its
    // transient, so both take input (the calculations the orders window opens). Opened from
    // nowhere modal, the window stands alone again.
    if (!form->parentWidget()) {
        QWidget* modal = QApplication::activeModalWidget();
        QWindow* owner = modal && modal != form ? modal->windowHandle() : nullptr;
        form->winId();  // the window handle, so that the transient is set before it is mapped
        form->windowHandle()->setTransientParent(owner);
    }
    form->show();
    form->raise();
    form->activateWindow();
}

void UiService::reportError(const QString& text)
{
    // Also where a run without a screen shows it, so it never just looks hung.
    QTextStream(stderr) << displayText(text) << '\n';
    QMessageBox::critical(activeParent(), QApplication::applicationDisplayName(), displayText(text));
}
