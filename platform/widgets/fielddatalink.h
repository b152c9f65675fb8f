#pragma once

#include "platform/widgets/dtsource.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QValidator>
#include <functional>

class SmpDataset;
class SmpField;

// Binds one control to one field of a data source's dataset. The field is found by name again
// whenever the rows are reset (a dataset makes its fields when it opens). The link tells its
// control when to show the current value again; notifications caused by the link's own writes
// are swallowed, so a control is never reloaded in the middle of the user's typing.
class FieldDataLink : public QObject
{
    Q_OBJECT
public:
    enum class Change {
        Record,  // another row, the rows were reset, the source or field changed
        Values,  // the current row's values changed
        State,   // browse, edit, insert or closed
    };

    explicit FieldDataLink(QObject* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    void setFieldName(const QString& name);
    const QString& fieldName() const { return fieldName_; }

    SmpDataset* dataset() const;  // the source's dataset while enabled and open
    SmpField* field() const;      // the bound field of that dataset; nullptr when there is none
    // There is a current row whose value can be shown (aggregates: the dataset is open).
    bool hasValue() const;
    bool isEditing() const;
    // The user may change the value: the source is open and the field is a writable data field.
    bool canModify() const;

    // Puts the dataset into edit mode unless it is already editing; false when that cannot be
    // done (an error on the way is reported through the UI service).
    bool edit();
    // Writes user text through the field's own check; false when the text is refused.
    bool writeText(const QString& text);
    bool writeValue(const QVariant& value);

signals:
    void changed(FieldDataLink::Change change);
    void aboutToPost();

private:
    void notify(Change change);
    void resolve();

    QPointer<DataSource> source_;
    QString fieldName_;
    SmpField* field_ = nullptr;
    int busy_ = 0;
    QList<QMetaObject::Connection> connections_;
};

// What every control bound to one field has: its link and the accessors over it. A control derives
// from its Qt widget first and from this second, and hands itself as the link's owner.
class FieldBound
{
public:
    void setDataSource(DataSource* source) { link_.setDataSource(source); }
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(const QString& name) { link_.setFieldName(name); }
    const QString& dataField() const { return link_.fieldName(); }
    SmpField* field() const { return link_.field(); }

protected:
    explicit FieldBound(QObject* owner) : link_(owner) {}
    ~FieldBound() = default;

    FieldDataLink link_;
};

// Keys a numeric edit box accepts: digits, a leading '-' and (for floats) one '.' or ','.
// Whether the text is a number is decided by the field when it is written.
class FieldValidator : public QValidator
{
    Q_OBJECT
public:
    enum class Mode { Integer, Float, Digits };
    explicit FieldValidator(Mode mode, QObject* parent = nullptr);
    Mode mode() const { return mode_; }
    State validate(QString& input, int& pos) const override;

    // The validator for a field's type, or nullptr for text fields (digitsOnly forces Digits).
    static FieldValidator* forField(const SmpField* field, bool digitsOnly, QObject* parent);

private:
    Mode mode_;
};

namespace DbControls {

// Runs a dataset operation for a control; a database or conversion error goes to the default
// error report and the operation stops there. false when it failed.
bool guarded(const std::function<void()>& operation);
// The refusal shown when a text is not a value of the field.
QString invalidValueMessage(const SmpField* field, const QString& text);
// Kind Data or internal calculated, and not read-only.
bool isWritable(const SmpField* field);
// The rows a view shows: the visible rows and, while one is being inserted, that one too.
int shownRows(const SmpDataset* dataset);

} // namespace DbControls
