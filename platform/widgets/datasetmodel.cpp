#include "platform/widgets/datasetmodel.h"

#include "platform/dataset/fieldvalues.h"
#include "platform/dataset/smpdataset.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/fielddatalink.h"

#include <QFont>

using FieldValues::splitFields;

DatasetModel::DatasetModel(QObject* parent) : QAbstractTableModel(parent) {}

DatasetModel::DatasetModel(SmpDataset* dataset, QObject* parent) : QAbstractTableModel(parent) { setDataset(dataset); }

void DatasetModel::setDataset(SmpDataset* dataset)
{
    if (dataset == dataset_ && dataset) return;
    for (const QMetaObject::Connection& c : std::as_const(connections_)) disconnect(c);
    connections_.clear();
    dataset_ = dataset;
    connectDataset();
    reset();
}

void DatasetModel::connectDataset()
{
    SmpDataset* ds = dataset_;
    if (!ds) return;
    connections_ << connect(ds, &SmpDataset::dataReset, this, &DatasetModel::reset);
    connections_ << connect(ds, &SmpDataset::rowInserted, this, &DatasetModel::onRowInserted);
    connections_ << connect(ds, &SmpDataset::rowRemoved, this, &DatasetModel::onRowRemoved);
    connections_ << connect(ds, &SmpDataset::rowChanged, this, &DatasetModel::onRowChanged);
    connections_ << connect(ds, &SmpDataset::currentChanged, this, &DatasetModel::onCurrentChanged);
    connections_ << connect(ds, &SmpDataset::fieldsChanged, this, &DatasetModel::resetColumns);
    connections_ << connect(ds, &SmpDataset::stateChanged, this, [this] {
        // Opening may have replaced the fields before the rows are reset: find them now.
        if (dataset_ && dataset_->isActive() != active_) reset();
        else onCurrentChanged(current_);
    });
    connections_ << connect(ds, &QObject::destroyed, this, [this] {
        connections_.clear();
        beginResetModel();
        rows_ = 0;
        current_ = -1;
        fields_.fill(nullptr);
        endResetModel();
    });
}

void DatasetModel::reset()
{
    beginResetModel();
    pendingInsert_ = pendingRemove_ = -1;
    rows_ = DbControls::shownRows(dataset_);
    active_ = dataset_ && dataset_->isActive();
    current_ = dataset_ ? dataset_->recNo() : -1;
    resolveColumns();
    endResetModel();
}

void DatasetModel::setColumns(const QList<DatasetColumn>& columns)
{
    given_ = columns;
    resetColumns();
}

void DatasetModel::resetColumns()
{
    beginResetModel();
    resolveColumns();
    endResetModel();
}

void DatasetModel::resolveColumns()
{
    shown_.clear();
    fields_.clear();
    if (!given_.isEmpty()) {
        shown_ = given_;
        for (const DatasetColumn& c : std::as_const(given_))
            fields_ << (dataset_ ? dataset_->findField(c.fieldName) : nullptr);
        return;
    }
    if (!dataset_) return;
    for (SmpField* f : dataset_->fields()) {
        if (!f->visible || f->kind() == SmpField::Kind::Aggregate) continue;
        DatasetColumn c;
        c.fieldName = f->fieldName();
        shown_ << c;
        fields_ << f;
    }
}

QList<DatasetColumn> DatasetModel::columns() const { return shown_; }

SmpField* DatasetModel::fieldAt(int column) const
{
    return column >= 0 && column < fields_.size() ? fields_.at(column) : nullptr;
}

int DatasetModel::columnOfField(const QString& fieldName) const
{
    for (int i = 0; i < shown_.size(); ++i)
        if (shown_.at(i).fieldName.compare(fieldName, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

bool DatasetModel::isLookupColumn(int column) const
{
    const SmpField* f = fieldAt(column);
    return f && f->kind() == SmpField::Kind::Lookup;
}

void DatasetModel::setReadOnly(bool readOnly)
{
    if (readOnly == readOnly_) return;
    readOnly_ = readOnly;
    if (rows_ > 0 && !shown_.isEmpty()) emit dataChanged(index(0, 0), index(rows_ - 1, int(shown_.size()) - 1));
}

void DatasetModel::setRowBackground(RowColor color)
{
    background_ = std::move(color);
    if (rows_ > 0 && !shown_.isEmpty())
        emit dataChanged(index(0, 0), index(rows_ - 1, int(shown_.size()) - 1), {Qt::BackgroundRole});
}

void DatasetModel::setRowForeground(RowColor color)
{
    foreground_ = std::move(color);
    if (rows_ > 0 && !shown_.isEmpty())
        emit dataChanged(index(0, 0), index(rows_ - 1, int(shown_.size()) - 1), {Qt::ForegroundRole});
}

void DatasetModel::setCellBackground(CellColor color)
{
    cellBackground_ = std::move(color);
    if (rows_ > 0 && !shown_.isEmpty())
        emit dataChanged(index(0, 0), index(rows_ - 1, int(shown_.size()) - 1), {Qt::BackgroundRole});
}

void DatasetModel::setRowBold(std::function<bool(int)> bold)
{
    bold_ = std::move(bold);
    if (rows_ > 0 && !shown_.isEmpty())
        emit dataChanged(index(0, 0), index(rows_ - 1, int(shown_.size()) - 1), {Qt::FontRole});
}

QVariant DatasetModel::lookupKeyAt(const SmpField* lookup, int position)
{
    if (!lookup || !lookup->lookupDataset) return {};
    const SmpDataset* list = lookup->lookupDataset;
    const QStringList names = splitFields(lookup->lookupKeyFields);
    QVariantList key;
    for (const QString& n : names) key << list->valueAt(position, list->findField(n));
    if (key.size() == 1) return key.front();
    return key;
}

int DatasetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int DatasetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(shown_.size()); }

bool DatasetModel::isCell(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && !index.parent().isValid() && index.row() < rows_ &&
           index.column() < shown_.size();
}

int DatasetModel::datasetRow(int row) const
{
    if (pendingInsert_ >= 0 && row >= pendingInsert_) return row + 1;
    if (pendingRemove_ >= 0) {
        if (row == pendingRemove_) return -1;  // already gone from the dataset
        if (row > pendingRemove_) return row - 1;
    }
    return row;
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (!isCell(index)) return {};
    const SmpDataset* ds = dataset_;
    const SmpField* f = fieldAt(index.column());
    const int row = datasetRow(index.row());
    if (!ds || !f || row < 0 || row >= DbControls::shownRows(ds)) return {};
    switch (role) {
    case Qt::DisplayRole: return ds->displayTextAt(row, f);
    case Qt::EditRole:
        if (f->kind() == SmpField::Kind::Lookup) {
            const QStringList keys = splitFields(f->keyFields);
            QVariantList key;
            for (const QString& k : keys) key << ds->valueAt(row, ds->findField(k));
            if (key.size() == 1) return key.front();
            return key;
        }
        return SmpField::formatValue(ds->valueAt(row, f), f->type(), QString());
    case Qt::TextAlignmentRole:
        return int((f->isNumeric() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    case Qt::FontRole:
        if (bold_ && bold_(row)) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::BackgroundRole:
        if (cellBackground_) {
            const QColor c = cellBackground_(row, f);
            if (c.isValid()) return c;
        }
        if (background_) {
            const QColor c = background_(row);
            if (c.isValid()) return c;
        }
        return {};
    case Qt::ForegroundRole:
        if (foreground_) {
            const QColor c = foreground_(row);
            if (c.isValid()) return c;
        }
        return {};
    default: return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= shown_.size()) return {};
        if (role != Qt::DisplayRole) return {};
        const DatasetColumn& c = shown_.at(section);
        if (!c.title.isEmpty()) return c.title;
        const SmpField* f = fieldAt(section);
        if (f && !f->displayLabel.isEmpty()) return f->displayLabel;
        return c.fieldName;
    }
    if (section < 0 || section >= rows_ || role != Qt::DisplayRole) return {};
    // The row indicator: where the cursor is, and whether that row is being edited.
    if (!dataset_ || section != current_) return QString();
    switch (dataset_->state()) {
    case SmpDataset::State::Edit: return QStringLiteral("✎");
    case SmpDataset::State::Insert: return QStringLiteral("✱");
    default: return QStringLiteral("►");
    }
}

bool DatasetModel::isEditable(int column) const
{
    if (readOnly_ || column < 0 || column >= shown_.size() || shown_.at(column).readOnly) return false;
    const SmpField* f = fieldAt(column);
    if (!f || f->readOnly) return false;
    if (f->kind() == SmpField::Kind::Lookup) {
        if (!f->lookupDataset || !dataset_) return false;
        for (const QString& k : splitFields(f->keyFields))
            if (!DbControls::isWritable(dataset_->findField(k))) return false;
        return true;
    }
    return DbControls::isWritable(f);
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const
{
    if (!isCell(index)) return Qt::NoItemFlags;
    Qt::ItemFlags fl = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (isEditable(index.column())) fl |= Qt::ItemIsEditable;
    return fl;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !isCell(index)) return false;
    SmpDataset* ds = dataset_;
    SmpField* f = fieldAt(index.column());
    if (!ds || !isEditable(index.column())) return false;
    const int row = index.row();
    bool ok = false;
    DbControls::guarded([&] {
        if (ds->recNo() != row) {
            ds->checkBrowseMode();
            ds->moveTo(row);
        }
        if (ds->recNo() != row) return;
        if (ds->state() == SmpDataset::State::Browse) ds->edit();
        if (f->kind() == SmpField::Kind::Lookup) {
            const QStringList keys = splitFields(f->keyFields);
            const QVariantList values = keys.size() == 1 ? QVariantList{value} : value.toList();
            if (values.size() != keys.size()) return;
            for (qsizetype i = 0; i < keys.size(); ++i) ds->fieldByName(keys.at(i))->setValue(values.at(i));
            ok = true;
        } else if (f->type() == SmpField::Type::Bytes) {
            f->setValue(value);
            ok = true;
        } else {
            const QString text = value.toString();
            ok = f->setAsText(text);
            if (!ok) UiService::current().showMessage(DbControls::invalidValueMessage(f, text));
        }
    });
    return ok;
}

void DatasetModel::onRowInserted(int position)
{
    if (!dataset_ || position < 0 || position > rows_ || DbControls::shownRows(dataset_) != rows_ + 1) {
        reset();
        return;
    }
    pendingInsert_ = position;
    beginInsertRows({}, position, position);
    pendingInsert_ = -1;
    ++rows_;
    if (current_ >= position) ++current_;
    endInsertRows();
}

void DatasetModel::onRowRemoved(int position)
{
    if (!dataset_ || position < 0 || position >= rows_ || DbControls::shownRows(dataset_) != rows_ - 1) {
        reset();
        return;
    }
    pendingRemove_ = position;
    beginRemoveRows({}, position, position);
    pendingRemove_ = -1;
    --rows_;
    if (current_ > position) --current_;
    else if (current_ >= rows_) current_ = rows_ - 1;
    endRemoveRows();
}

void DatasetModel::onRowChanged(int position)
{
    if (!dataset_ || DbControls::shownRows(dataset_) != rows_) {
        reset();
        return;
    }
    if (position < 0 || position >= rows_ || shown_.isEmpty()) return;
    emit dataChanged(index(position, 0), index(position, int(shown_.size()) - 1));
}

void DatasetModel::onCurrentChanged(int position)
{
    const int old = current_;
    current_ = dataset_ ? dataset_->recNo() : -1;
    Q_UNUSED(position);
    for (int s : {old, current_})
        if (s >= 0 && s < rows_) emit headerDataChanged(Qt::Vertical, s, s);
}
