#include "platform/widgets/handlers.h"

#include "platform/widgets/fielddatalink.h"

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
