#include "platform/widgets/dbgrid.h"

#include "platform/dataset/smpdataset.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/fielddatalink.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace {

// The drop-down list of a lookup column: the rows of its lookup dataset.
class LookupEditor : public QComboBox
{
public:
    LookupEditor(const SmpField* lookup, QWidget* parent) : QComboBox(parent), field(lookup) {}
    const SmpField* field;
};

// Cell editors that know the field: a checked line edit for values, a lookup list for lookup
// columns; an editor left unchanged writes nothing.
class DBGridDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static const DatasetModel* modelOf(const QModelIndex& index)
    {
        return qobject_cast<const DatasetModel*>(index.model());
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const DatasetModel* m = modelOf(index);
        const SmpField* f = m ? m->fieldAt(index.column()) : nullptr;
        if (!f) return QStyledItemDelegate::createEditor(parent, option, index);
        if (f->kind() == SmpField::Kind::Lookup) {
            auto* combo = new LookupEditor(f, parent);
            combo->setFrame(false);
            auto* list = new DatasetModel(combo);
            list->setColumns({DatasetColumn{f->lookupResultField, {}, 0, true}});
            list->setDataset(f->lookupDataset);
            combo->setModel(list);
            auto* self = const_cast<DBGridDelegate*>(this);
            QObject::connect(combo, &QComboBox::activated, combo, [self, combo] {
                emit self->commitData(combo);
                emit self->closeEditor(combo, QAbstractItemDelegate::NoHint);
            });
            return combo;
        }
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        if (f->type() == SmpField::Type::String && f->size() > 0) edit->setMaxLength(f->size());
        if (QValidator* v = FieldValidator::forField(f, false, edit)) edit->setValidator(v);
        edit->setAlignment(f->isNumeric() ? Qt::AlignRight : Qt::AlignLeft);
        return edit;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* combo = dynamic_cast<LookupEditor*>(editor)) {
            const QVariant key = index.data(Qt::EditRole);
            int found = -1;
            for (int r = 0; r < combo->count() && found < 0; ++r)
                if (DatasetModel::lookupKeyAt(combo->field, r) == key) found = r;
            combo->setCurrentIndex(found);
            return;
        }
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            edit->setText(index.data(Qt::EditRole).toString());
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* combo = dynamic_cast<LookupEditor*>(editor)) {
            if (combo->currentIndex() < 0) return;
            const QVariant key = DatasetModel::lookupKeyAt(combo->field, combo->currentIndex());
            if (key != index.data(Qt::EditRole)) model->setData(index, key, Qt::EditRole);
            return;
        }
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            // An editor opened and left unchanged does not put the row into edit mode.
            if (edit->text() != index.data(Qt::EditRole).toString()) model->setData(index, edit->text(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }
};

} // namespace

DBGrid::DBGrid(QWidget* parent) : QTableView(parent), model_(new DatasetModel(this))
{
    setModel(model_);
    setItemDelegate(new DBGridDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // Double clicks stay free for the window's own action.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::SelectedClicked);
    setWordWrap(false);
    setAlternatingRowColors(false);
    // Fixed row heights keep a list of any length as fast as its visible part.
    QHeaderView* rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 6);
    rows->setMinimumSectionSize(fontMetrics().height() + 2);
    rows->setDefaultAlignment(Qt::AlignCenter);
    rows->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("✱")) + 10);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &DBGrid::orderByColumn);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnLayout();
        showDatasetRow();
    });
}

void DBGrid::setDataSource(DataSource* source)
{
    if (source == source_) return;
    if (source_) disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source) {
        connect(source, &DataSource::datasetChanged, this, &DBGrid::bind);
        connect(source, &DataSource::currentChanged, this, &DBGrid::showDatasetRow);
        connect(source, &QObject::destroyed, this, &DBGrid::bind);
    }
    bind();
}

SmpDataset* DBGrid::dataset() const { return source_ ? source_->boundDataset() : nullptr; }

void DBGrid::bind() { model_->setDataset(dataset()); }

void DBGrid::setColumns(const QList<DatasetColumn>& columns) { model_->setColumns(columns); }

void DBGrid::addColumn(const QString& fieldName, const QString& title, int width, bool readOnly)
{
    QList<DatasetColumn> cols = model_->givenColumns();
    cols << DatasetColumn{fieldName, title, width, readOnly};
    model_->setColumns(cols);
}

void DBGrid::setColumnVisible(const QString& fieldName, bool visible)
{
    if (visible) hidden_.remove(fieldName.toUpper());
    else hidden_.insert(fieldName.toUpper());
    const int c = model_->columnOfField(fieldName);
    if (c >= 0) setColumnHidden(c, !visible);
}

bool DBGrid::isColumnVisible(const QString& fieldName) const
{
    const int c = model_->columnOfField(fieldName);
    return c >= 0 && !isColumnHidden(c);
}

QStringList DBGrid::hiddenFields() const
{
    QStringList names(hidden_.cbegin(), hidden_.cend());
    names.sort();
    return names;
}

SmpField* DBGrid::selectedField() const { return model_->fieldAt(currentIndex().column()); }

void DBGrid::setReadOnly(bool readOnly)
{
    model_->setReadOnly(readOnly);
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::SelectedClicked);
}

void DBGrid::setRowSelect(bool rowSelect)
{
    setSelectionBehavior(rowSelect ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void DBGrid::applyColumnLayout()
{
    const QList<DatasetColumn> cols = model_->columns();
    for (int c = 0; c < cols.size(); ++c) {
        if (cols.at(c).width > 0) setColumnWidth(c, cols.at(c).width);
        setColumnHidden(c, hidden_.contains(cols.at(c).fieldName.toUpper()));
    }
}

void DBGrid::orderByColumn(int column)
{
    SmpDataset* ds = dataset();
    const SmpField* f = model_->fieldAt(column);
    if (!ds || !ds->isActive() || !f || f->type() == SmpField::Type::Bytes || f->kind() == SmpField::Kind::Aggregate) return;
    const bool descending = ds->indexFieldNames().compare(f->fieldName(), Qt::CaseInsensitive) == 0;
    DbControls::guarded([&] {
        ds->setIndexFieldNames(descending ? f->fieldName() + QStringLiteral(" DESC") : f->fieldName());
    });
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

int DBGrid::firstVisibleColumn() const
{
    for (int c = 0; c < model_->columnCount(); ++c)
        if (!isColumnHidden(c)) return c;
    return -1;
}

void DBGrid::showDatasetRow()
{
    if (syncing_) return;
    const SmpDataset* ds = dataset();
    const int row = ds ? ds->recNo() : -1;
    if (row < 0 || row >= model_->rowCount()) return;
    const QModelIndex cur = currentIndex();
    if (cur.isValid() && cur.row() == row) return;
    int column = cur.isValid() && !isColumnHidden(cur.column()) ? cur.column() : firstVisibleColumn();
    if (column < 0) return;
    syncing_ = true;
    setCurrentIndex(model_->index(row, column));
    syncing_ = false;
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // The base commits an open cell editor of the previous row before the dataset moves.
    QTableView::currentChanged(current, previous);
    if (syncing_ || !current.isValid()) return;
    SmpDataset* ds = dataset();
    if (!ds || current.row() == ds->recNo()) return;
    syncing_ = true;
    DbControls::guarded([&] {
        // Leaving an edited row posts it, and a post may re-read and re-sort the rows: the row
        // clicked is found again by its key.
        const QVariantList key = ds->keyAt(current.row());
        ds->checkBrowseMode();
        if (!ds->locateKey(key)) ds->moveTo(current.row());
    });
    syncing_ = false;
    showDatasetRow();  // a refused post keeps the dataset, and so the grid, where it was
}

void DBGrid::commitEdit()
{
    if (state() != QAbstractItemView::EditingState) return;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor) return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void DBGrid::keyPressEvent(QKeyEvent* event)
{
    SmpDataset* ds = dataset();
    if (ds && ds->isActive() && event->modifiers() == Qt::NoModifier) {
        if (event->key() == Qt::Key_Insert && !isReadOnly()) {
            DbControls::guarded([ds] { ds->append(); });
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Escape &&
            (ds->state() == SmpDataset::State::Edit || ds->state() == SmpDataset::State::Insert)) {
            DbControls::guarded([ds] { ds->cancel(); });
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
    emit keyPressed(event->key());
}

void DBGrid::keyReleaseEvent(QKeyEvent* event)
{
    QTableView::keyReleaseEvent(event);
    emit keyReleased(event->key());
}
