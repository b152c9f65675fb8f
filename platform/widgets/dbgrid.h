#pragma once

#include "platform/widgets/datasetmodel.h"
#include "platform/widgets/dtsource.h"

#include <QPointer>
#include <QSet>
#include <QTableView>

class SmpDataset;

// A grid over a data source. The grid's current row is the dataset's current row both ways;
// leaving a row that is being edited posts it first. Cells are edited in place where the model
// allows it; lookup columns get a drop-down list of their lookup dataset. Insert appends a row,
// Esc cancels the row's edit (a cell editor that is open is closed first). A double click
// (QAbstractItemView::doubleClicked) arrives with the dataset already on the clicked row.
class DBGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    SmpDataset* dataset() const;
    DatasetModel* datasetModel() const { return model_; }

    // Columns by field name; with none, one column per visible field.
    void setColumns(const QList<DatasetColumn>& columns);
    void addColumn(const QString& fieldName, const QString& title = {}, int width = 0, bool readOnly = false);
    QList<DatasetColumn> columns() const { return model_->columns(); }
    int columnOfField(const QString& fieldName) const { return model_->columnOfField(fieldName); }
    void setColumnVisible(const QString& fieldName, bool visible);
    bool isColumnVisible(const QString& fieldName) const;
    // The fields setColumnVisible hid (upper case, sorted): what a copy of the list the user sees leaves out.
    QStringList hiddenFields() const;
    // The field of the current column.
    SmpField* selectedField() const;

    void setReadOnly(bool readOnly);  // no in-place editing, no Insert key
    bool isReadOnly() const { return model_->isReadOnly(); }
    void setRowSelect(bool rowSelect);  // whole rows are highlighted
    void setRowColor(DatasetModel::RowColor color) { model_->setRowBackground(std::move(color)); }
    void setRowTextColor(DatasetModel::RowColor color) { model_->setRowForeground(std::move(color)); }
    void setCellColor(DatasetModel::CellColor color) { model_->setCellBackground(std::move(color)); }
    void setRowBold(std::function<bool(int position)> bold) { model_->setRowBold(std::move(bold)); }
    // Clicking a column title orders the rows by its field; clicking it again, descending.
    void orderByColumn(int column);
    // Writes an open cell editor's text into the row and closes the editor, as leaving the cell
    // does; for buttons that take no focus from the editor. Nothing when no editor is open.
    void commitEdit();

signals:
    // A key went through the grid (the dataset has already followed it).
    void keyPressed(int key);
    void keyReleased(int key);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void bind();
    void showDatasetRow();
    void applyColumnLayout();
    int firstVisibleColumn() const;

    QPointer<DataSource> source_;
    DatasetModel* model_;
    QSet<QString> hidden_;  // upper-case field names
    bool syncing_ = false;
};
