#include "platform/widgets/dblookupcombobox.h"

#include "platform/dataset/smpdataset.h"
#include "platform/widgets/datasetmodel.h"
#include "platform/widgets/dtsource.h"

#include <QKeyEvent>
#include <QWheelEvent>

DBLookupComboBox::DBLookupComboBox(QWidget* parent) : QComboBox(parent), FieldBound(this), model_(new DatasetModel(this))
{
    setModel(model_);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(&link_, &FieldDataLink::changed, this, &DBLookupComboBox::showKey);
    // Every change of the list's rows: show the key again (a reset would otherwise leave the combo
    // box on its first row).
    const auto listChanged = [this] { showKey(); };
    connect(model_, &QAbstractItemModel::modelReset, this, listChanged);
    connect(model_, &QAbstractItemModel::rowsInserted, this, listChanged);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, listChanged);
    connect(model_, &QAbstractItemModel::dataChanged, this, listChanged);
    connect(this, &QComboBox::activated, this, [this](int position) {
        if (!syncing_) choose(position);
    });
    showKey();
}

void DBLookupComboBox::setListSource(DataSource* source)
{
    if (source == listSource_) return;
    if (listSource_) disconnect(listSource_, nullptr, this, nullptr);
    listSource_ = source;
    if (source) {
        connect(source, &DataSource::datasetChanged, this, &DBLookupComboBox::bindList);
        connect(source, &QObject::destroyed, this, &DBLookupComboBox::bindList);
    }
    bindList();
}

void DBLookupComboBox::setKeyField(const QString& name)
{
    keyField_ = name;
    showKey();
}

void DBLookupComboBox::setListField(const QString& name)
{
    listField_ = name;
    bindList();
}

SmpDataset* DBLookupComboBox::listDataset() const { return listSource_ ? listSource_->boundDataset() : nullptr; }

void DBLookupComboBox::bindList()
{
    model_->setColumns({DatasetColumn{listField_, {}, 0, true}});
    model_->setDataset(listDataset());
    showKey();
}

QVariant DBLookupComboBox::keyAt(int position) const
{
    const SmpDataset* list = listDataset();
    if (!list || position < 0 || position >= DbControls::shownRows(list)) return {};
    return list->valueAt(position, list->findField(keyField_));
}

// The list's own key index decides, so the box agrees with locate and lookup fields.
int DBLookupComboBox::positionOf(const QVariant& key) const
{
    const SmpDataset* list = listDataset();
    if (!list || !key.isValid() || key.isNull() || !list->findField(keyField_)) return -1;
    return list->find(keyField_, {key});
}

QVariant DBLookupComboBox::keyValue() const
{
    if (!link_.dataSource()) return key_;
    const SmpField* f = link_.field();
    return f && link_.hasValue() ? f->value() : QVariant();
}

void DBLookupComboBox::setKeyValue(const QVariant& key)
{
    if (link_.dataSource()) {
        if (link_.edit()) link_.writeValue(key);
    } else {
        key_ = key;
    }
    showKey();
}

void DBLookupComboBox::showKey()
{
    const int position = positionOf(keyValue());
    if (position == currentIndex()) return;
    syncing_ = true;
    setCurrentIndex(position);
    syncing_ = false;
}

bool DBLookupComboBox::canChoose() const
{
    if (readOnly_ || !listDataset()) return false;
    return !link_.dataSource() || link_.canModify();
}

void DBLookupComboBox::choose(int position)
{
    const bool fromPopup = choosingFromPopup_;
    choosingFromPopup_ = false;
    const QVariant key = keyAt(position);
    if (!canChoose() || !key.isValid()) {
        showKey();
        return;
    }
    if (link_.dataSource()) {
        if (!link_.edit() || !link_.writeValue(key)) {
            showKey();
            return;
        }
    } else {
        key_ = key;
    }
    // The window reads the chosen row from the list dataset (its current row after a choice).
    if (SmpDataset* list = listDataset(); list && list->recNo() != position)
        DbControls::guarded([list, position] { list->moveTo(position); });
    showKey();
    if (fromPopup) emit closeUp();
    emit chosen();
}

void DBLookupComboBox::showPopup()
{
    choosingFromPopup_ = false;
    if (!canChoose()) return;
    popupOpen_ = true;
    QComboBox::showPopup();
}

void DBLookupComboBox::hidePopup()
{
    // A choice in the list hides the popup just before it is announced by activated().
    choosingFromPopup_ = popupOpen_;
    popupOpen_ = false;
    QComboBox::hidePopup();
}

void DBLookupComboBox::keyPressEvent(QKeyEvent* event)
{
    choosingFromPopup_ = false;
    if (!canChoose()) {
        event->ignore();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void DBLookupComboBox::wheelEvent(QWheelEvent* event)
{
    choosingFromPopup_ = false;
    if (!canChoose()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}
