#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

class SmpField;

// A dataset's filter expression, compiled once against the dataset's fields:
//   NAME='Петров' and (KIND=1 or KIND>=3) and not DATA<'01.02.2024' and QTY>=MIN_QTY and NOTE is not null
// Comparisons are = <> != < > <= >= between a field and a number, a 'quoted' value ('' inside quotes
// for a quote) or another field; "is [not] null"; joined by and, or, not and parentheses. Keywords
// and field names are case-insensitive. A value is read as a value of the field it is compared with
// (dates as dd.MM.yyyy or yyyy-MM-dd), so the filter agrees with locate and key lookups. A comparison
// with a null is false.
class DatasetFilter
{
public:
    using FieldResolver = std::function<const SmpField*(const QString& name)>;
    using ValueReader = std::function<QVariant(const SmpField* field)>;

    DatasetFilter();
    ~DatasetFilter();
    DatasetFilter(const DatasetFilter&);
    DatasetFilter& operator=(const DatasetFilter&);

    // Throws DbError ("Невалиден филтър: ...") when the text is not a filter over these fields.
    static DatasetFilter parse(const QString& text, const FieldResolver& resolve);
    bool isEmpty() const { return !root_; }
    bool matches(const ValueReader& value) const;

    struct Node;

private:
    std::shared_ptr<const Node> root_;
};
