#include "platform/widgets/dbnavigator.h"

#include "platform/dataset/smpdataset.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/fielddatalink.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace {

constexpr DBNavigator::Button kOrder[] = {
    DBNavigator::First, DBNavigator::Prior,  DBNavigator::Next, DBNavigator::Last,   DBNavigator::Insert,
    DBNavigator::Delete, DBNavigator::Edit, DBNavigator::Post, DBNavigator::Cancel, DBNavigator::Refresh,
};

QString glyph(DBNavigator::Button b)
{
    switch (b) {
    case DBNavigator::First: return QStringLiteral("|◀");
    case DBNavigator::Prior: return QStringLiteral("◀");
    case DBNavigator::Next: return QStringLiteral("▶");
    case DBNavigator::Last: return QStringLiteral("▶|");
    case DBNavigator::Insert: return QStringLiteral("+");
    case DBNavigator::Delete: return QStringLiteral("−");
    case DBNavigator::Edit: return QStringLiteral("▲");
    case DBNavigator::Post: return QStringLiteral("✔");
    case DBNavigator::Cancel: return QStringLiteral("✘");
    case DBNavigator::Refresh: return QStringLiteral("↻");
    }
    return {};
}

} // namespace

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (Button b : kOrder) {
        auto* button = new QToolButton(this);
        button->setText(glyph(b));
        button->setToolTip(hint(b));
        button->setAutoRaise(false);
        button->setFocusPolicy(Qt::NoFocus);  // a click leaves the focus (and its edit) where it is
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(button, &QToolButton::clicked, this, [this, b] { click(b); });
        layout->addWidget(button);
        buttons_.insert(b, button);
    }
    connect(this, &QObject::objectNameChanged, this, &DBNavigator::nameButtons);
    updateButtons();
}

QString DBNavigator::hint(Button which)
{
    switch (which) {
    case First: return QStringLiteral("Първи запис");
    case Prior: return QStringLiteral("Предишен запис");
    case Next: return QStringLiteral("Следващ запис");
    case Last: return QStringLiteral("Последен запис");
    case Insert: return QStringLiteral("Вмъкване запис");
    case Delete: return QStringLiteral("Изтриване запис");
    case Edit: return QStringLiteral("Редактиране запис");
    case Post: return QStringLiteral("Поставяне редакция");
    case Cancel: return QStringLiteral("Отказ редакция");
    case Refresh: return QStringLiteral("Обновяване запис");
    }
    return {};
}

QString DBNavigator::suffix(Button which)
{
    switch (which) {
    case First: return QStringLiteral("First");
    case Prior: return QStringLiteral("Prior");
    case Next: return QStringLiteral("Next");
    case Last: return QStringLiteral("Last");
    case Insert: return QStringLiteral("Insert");
    case Delete: return QStringLiteral("Delete");
    case Edit: return QStringLiteral("Edit");
    case Post: return QStringLiteral("Post");
    case Cancel: return QStringLiteral("Cancel");
    case Refresh: return QStringLiteral("Refresh");
    }
    return {};
}

void DBNavigator::nameButtons()
{
    for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it)
        it.value()->setObjectName(objectName() + u'_' + suffix(it.key()));
}

void DBNavigator::setDataSource(DataSource* source)
{
    if (source == source_) return;
    if (source_) disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source) {
        for (auto signal : {&DataSource::datasetChanged, &DataSource::dataReset, &DataSource::stateChanged})
            connect(source, signal, this, &DBNavigator::updateButtons);
        for (auto signal : {&DataSource::currentChanged, &DataSource::rowInserted, &DataSource::rowRemoved})
            connect(source, signal, this, &DBNavigator::updateButtons);
        connect(source, &QObject::destroyed, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::setButtons(Buttons buttons)
{
    shown_ = buttons;
    for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it) it.value()->setVisible(buttons.testFlag(it.key()));
}

void DBNavigator::updateButtons()
{
    const SmpDataset* ds = source_ ? source_->boundDataset() : nullptr;
    const bool active = ds && ds->isActive();
    const bool editing = active && (ds->state() == SmpDataset::State::Edit || ds->state() == SmpDataset::State::Insert);
    const bool up = active && !ds->bof();
    const bool down = active && !ds->eof();
    buttons_[First]->setEnabled(up);
    buttons_[Prior]->setEnabled(up);
    buttons_[Next]->setEnabled(down);
    buttons_[Last]->setEnabled(down);
    buttons_[Insert]->setEnabled(active);
    buttons_[Delete]->setEnabled(active && !ds->isEmpty());
    buttons_[Edit]->setEnabled(active && !editing);
    buttons_[Post]->setEnabled(editing);
    buttons_[Cancel]->setEnabled(editing || (active && ds->isCurrentPending()));  // a refused change
    buttons_[Refresh]->setEnabled(active);
}

void DBNavigator::click(Button which)
{
    SmpDataset* ds = source_ ? source_->boundDataset() : nullptr;
    if (!ds || !ds->isActive()) return;
    DbControls::guarded([&] {
        switch (which) {
        case First: ds->first(); break;
        case Prior: ds->prior(); break;
        case Next: ds->next(); break;
        case Last: ds->last(); break;
        case Insert: ds->insert(); break;
        case Delete:
            if (ds->isEmpty()) break;
            if (confirmDelete_ && !UiService::current().askYesNo(QStringLiteral("Изтриване на записа ?"))) break;
            ds->remove();
            break;
        case Edit: ds->edit(); break;
        case Post: ds->post(); break;
        case Cancel: ds->cancel(); break;
        case Refresh: ds->refresh(); break;
        }
    });
    updateButtons();
    emit clicked(which);
}
