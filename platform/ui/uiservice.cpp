#include "platform/ui/uiservice.h"

#include "platform/ui/form.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTextStream>

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
