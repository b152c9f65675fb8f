#pragma once

#include "platform/dataset/smpfield.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

class SQLConnection;
class SmpDataset;

// One event of a dataset. Assigning sets its handler, as before; assigning a second handler over
// one already set is refused (two parts of the program would otherwise silently replace each
// other). add() subscribes further handlers, called in the order they were added.
class DatasetEvent
{
public:
    using Handler = std::function<void(SmpDataset&)>;
    DatasetEvent& operator=(Handler handler);
    DatasetEvent& operator=(std::nullptr_t);  // drops every handler
    void add(Handler handler);
    explicit operator bool() const { return !handlers_.empty(); }
    void operator()(SmpDataset& dataset) const;

private:
    std::vector<Handler> handlers_;
};

// A client-side cached dataset over a table or a select statement. Opening reads every row into the
// cache and ends the statement. Edits change the cache and stay pending until applyUpdates() turns
// them into row-level insert, update and delete statements; updates and deletes find their row by
// all the column values read, so a row changed meanwhile by someone else is never overwritten.
class SmpDataset : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    // The sqlCode of the DbError for a row that someone else changed or removed meanwhile.
    static constexpr int kConflictCode = 1;
    using Handler = std::function<void(SmpDataset&)>;

    explicit SmpDataset(const QString& name, SQLConnection* connection = nullptr, QObject* parent = nullptr);
    ~SmpDataset() override;

    // ---- source -----------------------------------------------------------------------------
    void setConnection(SQLConnection* connection) { connection_ = connection; }
    SQLConnection* connection() const { return connection_; }
    void setTableName(const QString& table);  // a table source: every row, in the stored order
    const QString& tableName() const { return tableName_; }
    void setCommandText(const QString& sql);  // a select with :NAME parameters
    const QString& commandText() const { return commandText_; }
    void setParam(const QString& name, const QVariant& value);
    QVariant param(const QString& name) const;
    // A scratch list: shaped by its table, never read from nor written to it.
    void setScratch(bool scratch) { scratch_ = scratch; }
    // Read-only source: rows may still be edited in the cache, but never applied.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool isReadOnly() const { return readOnly_; }
    // The table that pending changes go to; by default the table source, or the table the
    // query's columns come from.
    void setUpdateTable(const QString& table) { updateTable_ = table; }
    // Key columns that identify a row across a refresh; by default the table's primary key.
    void setKeyFields(const QString& fields) { keyFieldsText_ = fields; }

    // ---- fields -----------------------------------------------------------------------------
    // Fields defined before opening keep their order; with none defined, opening makes a data
    // field for every column.
    SmpField* addDataField(const QString& name, SmpField::Type type, int size = 0);
    // A lookup shows as text unless given the type of its result (for a number's display format).
    SmpField* addLookupField(const QString& name, SmpDataset* lookup, const QString& keyFields,
                             const QString& lookupKeyFields, const QString& resultField,
                             SmpField::Type type = SmpField::Type::String);
    SmpField* addCalculatedField(const QString& name, SmpField::Type type, int size = 0);
    SmpField* addInternalCalcField(const QString& name, SmpField::Type type, int size = 0);
    SmpField* addAggregateField(const QString& name, const QString& expression);
    SmpField* findField(const QString& name) const;
    SmpField* fieldByName(const QString& name) const;  // throws DbError when there is none
    const QList<SmpField*>& fields() const { return fieldList_; }
    QVariant value(const QString& field) const { return fieldByName(field)->value(); }
    void setValue(const QString& field, const QVariant& v) { fieldByName(field)->setValue(v); }

    // ---- open, close, refresh ---------------------------------------------------------------
    void open();
    void close();
    bool isActive() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    // Re-reads the rows, keeping the current row where its key still exists. Pending changes
    // are kept over the fresh rows.
    void refresh();

    // ---- cursor -----------------------------------------------------------------------------
    int recordCount() const { return int(view_.size()); }
    bool isEmpty() const { return view_.isEmpty(); }
    int recNo() const { return cursor_; }  // 0-based position in the visible rows; -1 when empty
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int position);
    // Moves to the first visible row whose fields equal the values; false (no move) if none.
    // Values are compared as values of each field's type (see FieldValues).
    bool locate(const QString& fields, const QVariantList& values);
    // The position of that row without moving the cursor; -1 when there is none.
    int find(const QString& fields, const QVariantList& values) const;
    // resultField of that row without moving the cursor; null when there is none.
    QVariant lookup(const QString& fields, const QVariantList& values, const QString& resultField) const;
    // The key fields' values of a visible row, and a move back to the row with that key.
    QVariantList keyAt(int position) const;
    bool locateKey(const QVariantList& key);
    // A value of a visible row without moving the cursor (for grids and exports).
    QVariant valueAt(int position, const SmpField* field) const;
    QString displayTextAt(int position, const SmpField* field) const;
    // While a row is being inserted it is shown at this position (the rows from there on move
    // down by one); -1 otherwise.
    int insertPosition() const;

    // ---- editing ----------------------------------------------------------------------------
    void append();
    void insert();
    void edit();
    void post();
    void cancel();  // in browse state it reverts the current row's pending change, no other
    void remove();  // delete the current row
    void checkBrowseMode();  // posts a pending edit
    bool isModified() const { return modified_; }
    // The current row holds a change not yet stored (one the server refused, in a save-at-once
    // list): a cancel in browse state drops it.
    bool isCurrentPending() const;
    int changeCount() const;
    // The column values, as read, of the rows deleted in the cache and not yet applied.
    QList<QVariantMap> pendingDeletes() const;
    void applyUpdates();
    // Applies only the change of the last post or delete (posting a pending row again retries
    // it); other pending rows are left as they are. Save-at-once lists apply this way, so a row
    // the server refused never stands in the way of the next row's edit.
    void applyLastChange();
    void cancelUpdates();
    // Adds the rows of a query as new rows, column to field by name (a client-side list filled
    // in one call); the number of rows added.
    int appendRows(const QString& sql, const QVariantMap& params = {});

    // ---- filter, order, master-detail --------------------------------------------------------
    // Comparisons of fields with values or other fields, joined by and, or, not and parentheses
    // (see DatasetFilter).
    void setFilter(const QString& filter);
    const QString& filter() const { return filterText_; }
    // A typed filter beside the text one: called for every row with the row's fields readable
    // through the dataset (as in on-calc-fields); both must pass.
    void setFilterPredicate(std::function<bool(const SmpDataset&)> predicate);
    void setFiltered(bool on);
    bool isFiltered() const { return filtered_; }
    // ";"-separated fields; a field followed by " DESC" sorts descending.
    void setIndexFieldNames(const QString& fields);
    const QString& indexFieldNames() const { return indexFieldNames_; }
    // Shows only the rows whose detailFields equal masterFields of the master's current row,
    // reading them when the master moves. A statement source takes the master's values as the
    // parameters named after masterFields; a link it has no parameter for is matched in the cache.
    void setMaster(SmpDataset* master, const QString& masterFields, const QString& detailFields);
    SmpDataset* master() const { return master_; }

    // ---- events -----------------------------------------------------------------------------
    DatasetEvent beforeOpen, afterOpen, beforeClose, afterClose;
    DatasetEvent beforeInsert, afterInsert, beforeEdit, afterEdit, beforePost, afterPost;
    DatasetEvent beforeCancel, afterCancel, beforeDelete, afterDelete;
    DatasetEvent onNewRecord, onCalcFields, afterScroll, afterRefresh;

    // Disables the scroll and change notifications of the bound controls while the cursor is
    // moved by code; counted, so nested calls balance.
    void disableControls() { ++controlsDisabled_; }
    void enableControls();

signals:
    // For bound controls and item models.
    void dataReset();              // opened, closed, refreshed, filtered, re-sorted
    void aboutToPost();            // controls write what is still typed into the row
    void rowChanged(int position); // the values of a visible row changed
    void rowInserted(int position);
    void rowRemoved(int position);
    void currentChanged(int position);
    void stateChanged();
    void fieldsChanged();          // a field's label, display format or visibility changed

public:
    struct Row;
    struct Impl;

private:
    friend class SmpField;
    void announceFieldChange() { emit fieldsChanged(); }
    QVariant fieldValue(const SmpField* f) const;
    QVariant fieldValueIn(const SmpField* f, const Row& row) const;
    void setFieldValue(SmpField* f, const QVariant& v);
    SmpField* addField(const QString& name, SmpField::Kind kind, SmpField::Type type, int size);

    struct Applied
    {
        quint64 seq;
    };
    void applyPending(quint64 onlySeq);
    bool revertRow(Row& row);
    void readRows(bool keepPending, const QVariantList& stayOnKey);
    void rebuildView(const QVariantList& stayOnKey);
    void settleApplied(const std::vector<Applied>& applied, bool committed);
    void reindexRow(int rowIndex, const Row* before, const Row* after);
    void notifyDetails();
    Row* activeRow() const;
    void takeMasterKey(const Row& masterRow);
    void dropLinesOf(quint64 masterTag);
    QVariant readUnread(const SmpField* f, const Row& row) const;
    void readAllUnread(Row& row);
    void dropLinesOfDetails(const Row& masterRow);
    void sumsChanged();
    QVariantList currentKey() const;
    void showAgain();
    void calculate(Row& row);
    void calculateAll(bool plainOnly);
    void notifyScroll();
    void setCurrent(int position);
    void masterScrolled();
    void recomputeAggregates();
    void adjustAggregates(const Row* removed, const Row* added);
    void startInsert(bool atEnd);
    void invalidateIndexes();
    int rowIndexOfKey(const QString& fields, const QVariantList& values) const;
    QVariantList keyOf(const Row& row) const;
    QStringList keyFieldNames();
    Row* currentRow() const;
    void setState(State s);
    bool passesFilter(const Row& row) const;
    bool passesMaster(const Row& row) const;

    QString name_;
    SQLConnection* connection_;
    QString tableName_, commandText_, updateTable_, keyFieldsText_;
    QVariantMap params_;
    bool scratch_ = false, readOnly_ = false;
    QList<SmpField*> fieldList_;
    QList<SmpField*> definedFields_;
    State state_ = State::Inactive;
    int cursor_ = -1;
    bool bof_ = true, eof_ = true, modified_ = false;
    QString filterText_;
    bool filtered_ = false;
    QString indexFieldNames_;
    SmpDataset* master_ = nullptr;
    QStringList masterFields_, detailFields_;
    int controlsDisabled_ = 0;
    QVector<int> view_;  // visible rows: indexes into the cache
    std::unique_ptr<Impl> d;
};
