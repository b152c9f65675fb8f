#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

class SmpDataset;

// One field of a cached dataset. Its value is read from and written to the dataset's active row
// (the current row, its edit buffer, or the row being calculated inside on-calc-fields).
class SmpField
{
public:
    enum class Kind { Data, Lookup, Calculated, InternalCalc, Aggregate };
    enum class Type { Integer, Float, String, DateTime, Text, Bytes, Bool };

    SmpField(SmpDataset* dataset, const QString& fieldName, Kind kind, Type type, int size = 0);

    SmpDataset* dataset() const { return dataset_; }
    const QString& fieldName() const { return fieldName_; }
    // The component name: the dataset's name followed by the field name (SmpFirmaDDS_PROCENT).
    QString name() const;
    Kind kind() const { return kind_; }
    Type type() const { return type_; }
    int size() const { return size_; }  // characters for strings
    bool isNumeric() const { return type_ == Type::Integer || type_ == Type::Float; }

    QString displayLabel;  // grid caption; the field name when empty
    QString displayFormat; // "# ##0.00", "dd.mm.yyyy", ...
    bool visible = true;
    bool readOnly = false;
    // Changes at run time that grids and bound controls follow (the dataset announces them).
    void setDisplayLabel(const QString& label);
    void setDisplayFormat(const QString& format);
    void setVisible(bool on);

    // Lookup fields: the value of lookupResultField in lookupDataset on the row whose
    // lookupKeyFields equal this dataset's keyFields (";"-separated lists).
    SmpDataset* lookupDataset = nullptr;
    QString keyFields;
    QString lookupKeyFields;
    QString lookupResultField;

    // Aggregates: "SUM(FIELD)", "COUNT(*)", "MIN(FIELD)" or "MAX(FIELD)" over the rows that pass the filter.
    QString expression;

    // The raw value; an invalid QVariant for null.
    QVariant value() const;
    void setValue(const QVariant& v);
    bool isNull() const;
    void clear() { setValue(QVariant()); }

    // Typed reads: an empty number reads as 0, an empty text as "".
    double asFloat() const;
    qint64 asInteger() const;
    int asInt() const { return int(asInteger()); }
    QString asString() const;
    QDateTime asDateTime() const;
    QDate asDate() const { return asDateTime().date(); }
    bool asBool() const { return asInteger() != 0; }

    // Text written by a user: checked against the field's type, "" becomes null. Returns false
    // (and leaves the value as it was) when the text is not a valid value of the field.
    bool setAsText(const QString& text);
    // The value as shown: through displayFormat, or plain when there is none; "" for null.
    QString displayText() const;
    // The value as offered for editing (no grouping, "." decimals).
    QString editText() const;

    static QString formatValue(const QVariant& v, Type type, const QString& format);

private:
    friend class SmpDataset;
    SmpDataset* dataset_;
    QString fieldName_;
    Kind kind_;
    Type type_;
    int size_;
    int slot_ = -1;  // index into the row's values (data and calculated fields alike)
};
