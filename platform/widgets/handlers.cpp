#include "platform/widgets/handlers.h"

#include "platform/widgets/dbedit.h"
#include "platform/widgets/fielddatalink.h"

#include <QKeyEvent>
#include <QToolButton>

bool Handlers::run(const std::function<void()>& handler) { return DbControls::guarded(handler); }

QToolButton* Handlers::makeButton(const char* name, const QString& text)
{
    auto* b = new QToolButton;
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(text) + 14);
    return b;
}

void Handlers::connectClick(QToolButton* button, QObject* context, std::function<void()> handler)
{
    QObject::connect(button, &QToolButton::clicked, context, [handler = std::move(handler)] { run(handler); });
}

bool Handlers::commitFocusedEdit(QWidget* window)
{
    auto* e = qobject_cast<DBEdit*>(window->focusWidget());
    return !e || e->commit();
}

namespace {
class EnterSaves : public QObject
{
public:
    EnterSaves(QWidget* control, std::function<void()> save) : QObject(control), save_(std::move(save)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                Handlers::run(save_);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> save_;
};
} // namespace

void Handlers::enterSaves(QWidget* control, std::function<void()> save)
{
    control->installEventFilter(new EnterSaves(control, std::move(save)));
}
