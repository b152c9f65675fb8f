#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QPointer>
#include <QVector>
#include <functional>

class SmpDataset;
class SmpField;

// One column of a grid: a field by name, its caption and width.
struct DatasetColumn
{
    QString fieldName;
    QString title;     // the field's display label (or name) when empty
    int width = 0;     // pixels; 0 leaves the view's default
    bool readOnly = false;
};

// A table model over the visible rows of a dataset. Nothing is copied: every cell is read from
// the dataset when the view asks for it, so a list of 100,000 rows costs no more than its
// visible part. Rows are dataset positions; columns are the given fields, or the visible
// non-aggregate fields when no columns are given.
//
// Editing a cell moves the dataset to the row, puts it into edit mode and writes the text
// through the field's own check (a refused text is reported and leaves the value as it was).
// A lookup column is edited by its key: its edit value is the key of the row (a list for
// several key fields), and setting it writes the key fields.
class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using RowColor = std::function<QColor(int position)>;

    explicit DatasetModel(QObject* parent = nullptr);
    explicit DatasetModel(SmpDataset* dataset, QObject* parent = nullptr);

    void setDataset(SmpDataset* dataset);
    SmpDataset* dataset() const { return dataset_; }

    void setColumns(const QList<DatasetColumn>& columns);
    const QList<DatasetColumn>& givenColumns() const { return given_; }
    // The columns shown: the given ones, or one per visible field.
    QList<DatasetColumn> columns() const;
    // Finds the fields again (after fields were made or their visibility changed).
    void resetColumns();
    SmpField* fieldAt(int column) const;
    int columnOfField(const QString& fieldName) const;  // -1 when not shown
    bool isLookupColumn(int column) const;

    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }

    // Colours of whole rows, asked with the row's position (read it with SmpDataset::valueAt);
    // an invalid colour leaves the view's default.
    void setRowBackground(RowColor color);
    void setRowForeground(RowColor color);
    // A cell's own background (before the row's), and rows shown in bold.
    using CellColor = std::function<QColor(int position, const SmpField* field)>;
    void setCellBackground(CellColor color);
    void setRowBold(std::function<bool(int position)> bold);

    // The key values that a lookup field takes from row `position` of its lookup dataset: one
    // value, or a list for several key fields.
    static QVariant lookupKeyAt(const SmpField* lookup, int position);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    void connectDataset();
    void reset();
    void onRowInserted(int position);
    void onRowRemoved(int position);
    void onRowChanged(int position);
    void onCurrentChanged(int position);
    void resolveColumns();
    bool isCell(const QModelIndex& index) const;
    int datasetRow(int row) const;
    bool isEditable(int column) const;

    QPointer<SmpDataset> dataset_;
    QList<QMetaObject::Connection> connections_;
    QList<DatasetColumn> given_;
    QList<DatasetColumn> shown_;
    QVector<SmpField*> fields_;
    int rows_ = 0;
    int current_ = -1;
    // While the views are told of a row the dataset already added or removed, the model's rows
    // are mapped around it, so the views see the old rows until the change is announced.
    int pendingInsert_ = -1;
    int pendingRemove_ = -1;
    bool readOnly_ = false;
    bool active_ = false;
    RowColor background_, foreground_;
    CellColor cellBackground_;
    std::function<bool(int)> bold_;
};
