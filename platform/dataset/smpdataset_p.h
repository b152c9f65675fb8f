#pragma once

// What the dataset's source files share: the cached row, the aggregates and the private state.

#include "platform/dataset/datasetfilter.h"
#include "platform/dataset/fieldvalues.h"
#include "platform/dataset/smpdataset.h"
#include "platform/db/connection.h"
#include "platform/db/sqllex.h"

#include <QHash>
#include <QMultiHash>

#include <cmath>

struct SmpDataset::Row
{
    enum class Status : quint8 { Unchanged, Inserted, Modified, Deleted };
    DbRow values;    // one slot per column read, then one per calculated field
    DbRow original;  // the column values as read, kept once the row is changed
    Status status = Status::Unchanged;
    bool awaiting = false;  // applied inside a transaction that has not ended yet
    quint64 changeSeq = 0;
    // While awaiting: the change applied last, the column values the open transaction holds and,
    // for an insert, the values the database filled in (taken away again if it rolls back).
    quint64 appliedSeq = 0;
    DbRow applied;
    DbRow readBack;
    // A master row without its key yet names itself (tag) to the detail rows appended under it
    // (masterTag), so they follow it and take its key when the database gives it one.
    quint64 tag = 0;
    quint64 masterTag = 0;
    // The column values the database holds for this row: what updates and deletes look for.
    const DbRow& stored() const { return awaiting ? applied : original; }
};

namespace DatasetDetail {

struct Aggregate
{
    SmpField* field;
    QString func;     // SUM COUNT MIN MAX
    QString source;   // field name, or "*"
    double sum = 0;   // MIN and MAX
    __int128 units = 0;  // SUM, in millionths
    double beyond = 0;   // SUM of values too large for millionths
    qint64 count = 0;
};

// Sums are kept in millionths so that adding and taking away rows never drifts; a 128-bit count
// holds any amount exactly. Values beyond kExactLimit (no amount is) are summed as doubles.
constexpr double kSumUnit = 1e6;
constexpr double kExactLimit = 1e20;
inline void addToSum(Aggregate& a, double x, int sign)
{
    if (std::abs(x) < kExactLimit) a.units += sign * static_cast<__int128>(std::round(x * kSumUnit));
    else a.beyond += sign * x;
}
inline double sumOf(const Aggregate& a) { return double(a.units) / kSumUnit + a.beyond; }

} // namespace DatasetDetail

struct SmpDataset::Impl
{
    std::vector<Row> rows;
    QVector<DbColumn> columns;
    int calcSlots = 0;
    Row editBuffer;
    int insertAt = -1;           // view position of the row being inserted
    const Row* calcRow = nullptr;  // the row on-calc-fields works on
    quint64 changeSeq = 0;
    quint64 lastChange = 0;
    quint64 tagSeq = 0;
    quint64 masterTag = 0;  // the tag of the master's row while the view is rebuilt  // the pending change the last post or delete left; 0 when none
    DatasetFilter filter;  // compiled from filterText_ whenever the view is rebuilt
    std::function<bool(const SmpDataset&)> predicate;
    QList<DatasetDetail::Aggregate> aggregates;
    bool aggregatesValid = false;
    QList<SmpDataset*> details;
    // Key indexes over the visible rows, built when first asked for and kept current as rows are
    // posted: field list -> key text -> cache rows; a cache row's view position is posOfRow.
    struct KeyIndex
    {
        QList<const SmpField*> fields;
        QMultiHash<QString, int> rows;
    };
    mutable QHash<QString, KeyIndex> indexes;
    mutable std::vector<int> posOfRow;
    mutable bool posValid = false;
    bool calcReadsAggregate = false;  // on-calc-fields reads a sum: every row follows a changed sum
    bool calcPlainOnly = false;       // recalculating rows: internal calculated values stay as posted
    QStringList primaryKey;
    bool primaryKeyRead = false;
    QList<SmpField*> autoFields;  // data fields made from the columns at open
    // Master links that a statement does not take as parameters: its rows are matched here.
    QList<int> clientLinks;
    QVariantList masterValues;  // the master's link values while the view is rebuilt
};
