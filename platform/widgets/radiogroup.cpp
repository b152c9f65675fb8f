#include "platform/widgets/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

RadioGroup::RadioGroup(const QString& name, const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this))
{
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(1);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i]);
        b->setObjectName(name + QStringLiteral("_%1").arg(i));
        group_->addButton(b, i);
        layout->addWidget(b);
    }
    connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::clicked);
}

int RadioGroup::itemIndex() const { return group_->checkedId(); }

void RadioGroup::setItemIndex(int index)
{
    if (auto* b = group_->button(index)) b->setChecked(true);
}

void RadioGroup::click(int index)
{
    if (auto* b = group_->button(index)) b->click();
}
