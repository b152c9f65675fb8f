// Reading: open, close, refresh and calculating the rows read.
#include "platform/dataset/smpdataset_p.h"

#include "platform/db/dberror.h"
#include "platform/db/namedparams.h"

#include <algorithm>

using DatasetDetail::Aggregate;
using FieldValues::isNull;
using FieldValues::splitFields;

namespace {

SmpField::Type typeOf(const DbColumn& c)
{
    switch (c.kind) {
    case DbColumn::Kind::Integer: return SmpField::Type::Integer;
    case DbColumn::Kind::Float: return SmpField::Type::Float;
    case DbColumn::Kind::Text: return c.sqlType == 520 /* SQL_BLOB */ ? SmpField::Type::Text : SmpField::Type::String;
    case DbColumn::Kind::Bytes: return SmpField::Type::Bytes;
    case DbColumn::Kind::DateTime:
    case DbColumn::Kind::Date: return SmpField::Type::DateTime;
    case DbColumn::Kind::Bool: return SmpField::Type::Bool;
    default: return SmpField::Type::String;
    }
}

} // namespace

// ---- open and read --------------------------------------------------------------------------

void SmpDataset::open()
{
    if (isActive()) return;
    if (!connection_) throw DbError(QStringLiteral("%1 няма връзка с базата данни.").arg(name_));
    if (tableName_.isEmpty() && commandText_.isEmpty()) throw DbError(QStringLiteral("%1 няма източник.").arg(name_));
    if (beforeOpen) beforeOpen(*this);
    // Lookup fields read their lists, so those open first.
    for (const SmpField* f : std::as_const(definedFields_))
        if (f->kind() == SmpField::Kind::Lookup && f->lookupDataset && f->lookupDataset != this &&
            !f->lookupDataset->isActive() && f->lookupDataset->connection())
            f->lookupDataset->open();
    readRows(false, {});
    cursor_ = view_.isEmpty() ? -1 : 0;
    bof_ = true;
    eof_ = view_.isEmpty();
    setState(State::Browse);
    if (afterOpen) afterOpen(*this);
    emit dataReset();
    notifyScroll();
}

// Reads the source into the cache and shows it, staying on the row with stayOnKey where it is
// still there. With keepPending the rows changed and not yet applied replace their fresh copies
// (or are added when gone). When reading or calculating fails the dataset is left as it was.
void SmpDataset::readRows(bool keepPending, const QVariantList& stayOnKey)
{
    QString sql;
    SqlParams params = params_;
    QList<int> clientLinks;
    if (!tableName_.isEmpty()) {
        sql = QStringLiteral("select * from ") + tableName_;
        QStringList where;
        if (scratch_) where << QStringLiteral("1 = 0");
        if (master_ && !scratch_) {
            for (int i = 0; i < detailFields_.size(); ++i) {
                const QString p = QStringLiteral("MASTER_%1").arg(i);
                const QVariant mv = master_->isActive() ? master_->fieldByName(masterFields_[i])->value() : QVariant();
                if (isNull(mv)) where << QStringLiteral("1 = 0");  // no master row: no detail rows
                else {
                    where << detailFields_[i] + QStringLiteral(" = :") + p;
                    params.insert(p, mv);
                }
            }
        }
        if (!where.isEmpty()) sql += QStringLiteral(" where ") + where.join(QStringLiteral(" and "));
    } else {
        sql = commandText_;
        if (master_) {
            // The link's values always come from the master, even over a parameter set by hand.
            const QStringList used = parseNamedParameters(commandText_).names;
            for (int i = 0; i < masterFields_.size(); ++i) {
                const QString name = masterFields_[i].toUpper();
                if (used.contains(name))
                    params.insert(name, master_->isActive() ? master_->fieldByName(masterFields_[i])->value() : QVariant());
                else
                    clientLinks << i;
            }
        }
        if (scratch_) sql = QStringLiteral("select * from (") + sql + QStringLiteral(") where 1 = 0");
    }

    // A re-read of a table with a key leaves its blobs unread: each is read by its row's key when
    // first asked for (a save-at-once list re-reads after every post).
    QList<int> unread;
    if (!tableName_.isEmpty() && !scratch_ && !d->columns.isEmpty() &&
        (!keyFieldNames().isEmpty() && (!keyFieldsText_.isEmpty() || !d->primaryKey.isEmpty()))) {
        QStringList list;
        for (int i = 0; i < d->columns.size(); ++i) {
            const QString& name = d->columns[i].name;
            if (!SqlLex::isIdentifier(name)) {
                unread.clear();
                break;
            }
            if (d->columns[i].sqlType == 520 /* SQL_BLOB */) {
                unread << i;
                list << QStringLiteral("iif(%1 is null, null, true) as %1").arg(name);
            } else {
                list << name;
            }
        }
        if (!unread.isEmpty()) sql.replace(0, int(qstrlen("select *")), QStringLiteral("select ") + list.join(QStringLiteral(", ")));
    }
    const QVector<DbColumn> columnsBefore = d->columns;
    // Calculated fields take the slots after the columns; they are set for every row, so they are
    // kept as QVariants (see PackedRow).
    const int calcFields = int(std::count_if(definedFields_.cbegin(), definedFields_.cend(), [](const SmpField* f) {
        return f->kind() == SmpField::Kind::Calculated || f->kind() == SmpField::Kind::InternalCalc;
    }));
    // Packed first into a vector of pointers, then into rows made at their final size: growing a
    // vector of whole rows would move and fault in its memory twice over.
    std::vector<PackedRow> packed;
    QVector<DbColumn> columns;
    if (unread.isEmpty()) {
        // Straight from the fetch buffer into the packed row, with no QVariant per value between.
        connection_->forEachRawRow(sql, params, [&](const DbRawRow& row) {
            packed.emplace_back(row, row.size() + calcFields, row.size());
        }, &columns);
    } else {
        connection_->forEachRow(sql, params, [&](const DbRow& values) {
            DbRow marked = values;
            for (int slot : std::as_const(unread))
                if (!isNull(marked[slot])) marked[slot] = QVariant::fromValue(DatasetDetail::Unread{});
            packed.emplace_back(marked, int(marked.size()) + calcFields, int(marked.size()));
        }, &columns);
    }
    for (int slot : std::as_const(unread))
        if (slot < columns.size()) columns[slot] = columnsBefore[slot];
    std::vector<Row> rows;
    rows.reserve(packed.size());
    for (PackedRow& p : packed) rows.emplace_back(std::move(p));
    packed = {};

    // Data fields: those defined, or one per column when none is defined (kept across re-opens so
    // that bound controls keep their fields); the other defined fields follow them.
    const bool definesData = std::any_of(definedFields_.cbegin(), definedFields_.cend(),
                                         [](const SmpField* f) { return f->kind() == SmpField::Kind::Data; });
    QList<SmpField*> autoFields, created;
    if (!definesData) {
        for (const DbColumn& c : std::as_const(columns)) {
            SmpField* f = nullptr;
            for (SmpField* old : std::as_const(d->autoFields))
                if (old->fieldName().compare(c.name, Qt::CaseInsensitive) == 0) f = old;
            if (!f) {
                f = new SmpField(this, c.name, SmpField::Kind::Data, typeOf(c), int(c.length));
                created << f;
            }
            autoFields << f;
        }
    }
    const QList<SmpField*> fieldList = definesData ? definedFields_ : autoFields + definedFields_;
    QHash<const SmpField*, int> fieldSlots;
    int extra = 0;
    for (SmpField* f : fieldList) {
        if (f->kind() == SmpField::Kind::Data) {
            int slot = -1;
            for (int c = 0; c < columns.size(); ++c)
                if (columns[c].name.compare(f->fieldName(), Qt::CaseInsensitive) == 0) slot = c;
            if (slot < 0) {
                qDeleteAll(created);
                throw DbError(QStringLiteral("%1: полето %2 не е намерено.").arg(name_, f->fieldName()));
            }
            fieldSlots.insert(f, slot);
        } else if (f->kind() == SmpField::Kind::Calculated || f->kind() == SmpField::Kind::InternalCalc) {
            fieldSlots.insert(f, int(columns.size()) + extra++);
        }
    }
    const int width = int(columns.size()) + extra;

    if (keepPending && changeCount() > 0) {
        // Pending changes survive the re-read: they replace the fresh copy of their row.
        const QStringList kf = keyFieldNames();
        QList<QPair<const SmpField*, int>> keys;  // field, slot in the fresh rows
        for (const QString& k : kf)
            if (const SmpField* f = findField(k); f && fieldSlots.contains(f)) keys << qMakePair(f, fieldSlots.value(f));
        QHash<QString, size_t> byKey;
        for (size_t i = 0; i < rows.size(); ++i) {
            QString k;
            for (const auto& [f, slot] : std::as_const(keys)) FieldValues::appendKeyText(k, rows[i].values[slot], f->type());
            byKey.insert(k, i);
        }
        for (const Row& r : d->rows) {
            if (r.changeSeq == 0 || r.status == Row::Status::Unchanged) continue;
            Row p = r;
            p.values.resize(width);
            // A row in the table, if only inside the open transaction, is found by its key there.
            if (p.awaiting || p.status != Row::Status::Inserted) {
                const PackedRow& stored = p.stored();
                QString k;
                for (const auto& [f, slot] : std::as_const(keys))
                    FieldValues::appendKeyText(k, f->slot_ >= 0 && f->slot_ < stored.size() ? stored[f->slot_] : QVariant(), f->type());
                auto it = byKey.constFind(k);
                if (it != byKey.cend()) {
                    rows[it.value()] = std::move(p);
                    continue;
                }
            }
            rows.push_back(std::move(p));
        }
    }

    // Install the new rows; put everything back if calculating them fails.
    struct Saved
    {
        std::vector<Row> rows;
        QVector<DbColumn> columns;
        QList<SmpField*> fieldList, autoFields;
        QHash<const SmpField*, int> fieldSlots;
        QVector<int> view;
        QList<int> clientLinks;
        int calcSlots, cursor;
    } saved{std::move(d->rows), d->columns, fieldList_, d->autoFields, {}, view_, d->clientLinks, d->calcSlots, cursor_};
    for (const SmpField* f : std::as_const(fieldList_)) saved.fieldSlots.insert(f, f->slot_);
    auto install = [&](const QList<SmpField*>& list, const QHash<const SmpField*, int>& slotOf) {
        fieldList_ = list;
        for (SmpField* f : list) {
            f->slot_ = slotOf.value(f, -1);
            if (f->kind() == SmpField::Kind::Data && f->size() == 0 && f->type() == SmpField::Type::String &&
                f->slot_ >= 0 && f->slot_ < d->columns.size())
                f->size_ = int(d->columns[f->slot_].length);
        }
    };
    d->rows = std::move(rows);
    d->columns = std::move(columns);
    d->calcSlots = extra;
    d->clientLinks = clientLinks;
    if (!definesData) d->autoFields = autoFields;
    install(fieldList, fieldSlots);
    d->editBuffer = Row{};
    modified_ = false;
    try {
        view_.clear();  // no sums over rows that are gone while the first calculation runs
        invalidateIndexes();
        d->aggregatesValid = false;
        calculateAll(false);
        rebuildView(stayOnKey);
    } catch (...) {
        d->rows = std::move(saved.rows);
        d->columns = saved.columns;
        d->calcSlots = saved.calcSlots;
        d->clientLinks = saved.clientLinks;
        d->autoFields = saved.autoFields;
        install(saved.fieldList, saved.fieldSlots);
        view_ = saved.view;
        cursor_ = saved.cursor;
        invalidateIndexes();
        d->aggregatesValid = false;
        qDeleteAll(created);
        throw;
    }
    // Column fields that the source no longer has go.
    for (SmpField* old : std::as_const(saved.autoFields))
        if (!fieldList_.contains(old)) delete old;
}

// A blob left unread by a re-read, read now by its row's key and kept in the row.
QVariant SmpDataset::readUnread(const SmpField* f, const Row& row) const
{
    QStringList where;
    SqlParams params;
    const QStringList keys = const_cast<SmpDataset*>(this)->keyFieldNames();
    for (int i = 0; i < keys.size(); ++i) {
        const SmpField* k = findField(keys[i]);
        if (!k || k->slot_ < 0) return {};
        const QVariant v = row.values[k->slot_];
        if (isNull(v)) return {};
        where << keys[i] + QStringLiteral(" = :K%1").arg(i);
        params.insert(QStringLiteral("K%1").arg(i), v);
    }
    const DbResult r = connection_->query(QStringLiteral("select %1 from %2 where %3")
                                              .arg(d->columns[f->slot_].name, tableName_, where.join(QStringLiteral(" and "))),
                                          params);
    const QVariant v = r.rows.empty() ? QVariant() : r.rows.front().value(0);
    const_cast<Row&>(row).values.set(f->slot_, v);
    return v;
}

void SmpDataset::readAllUnread(Row& row)
{
    for (const SmpField* f : std::as_const(fieldList_))
        if (f->kind() == SmpField::Kind::Data && f->slot_ >= 0 && f->slot_ < row.values.size() &&
            DatasetDetail::isUnread(row.values[f->slot_]))
            readUnread(f, row);
}

void SmpDataset::close()
{
    if (!isActive()) return;
    if (beforeClose) beforeClose(*this);
    d->rows.clear();
    view_.clear();
    d->indexes.clear();
    d->aggregatesValid = false;
    cursor_ = -1;
    bof_ = eof_ = true;
    modified_ = false;
    setState(State::Inactive);
    if (afterClose) afterClose(*this);
    emit dataReset();
    notifyDetails();
}

void SmpDataset::calculate(Row& row)
{
    if (!onCalcFields) return;
    const Row* saved = d->calcRow;
    d->calcRow = &row;
    try {
        onCalcFields(*this);
    } catch (...) {
        d->calcRow = saved;
        throw;
    }
    d->calcRow = saved;
}

// Every row; plainOnly leaves the internal calculated values as they were posted.
void SmpDataset::calculateAll(bool plainOnly)
{
    if (!onCalcFields) return;
    const bool saved = d->calcPlainOnly;
    d->calcPlainOnly = plainOnly;
    try {
        for (Row& r : d->rows) calculate(r);
    } catch (...) {
        d->calcPlainOnly = saved;
        throw;
    }
    d->calcPlainOnly = saved;
}

// After a sum changed: calculated fields that read sums follow on every row.
void SmpDataset::sumsChanged()
{
    if (!d->calcReadsAggregate || !onCalcFields) return;
    recomputeAggregates();
    calculateAll(true);
    if (!controlsDisabled_) emit dataReset();
}

void SmpDataset::refresh()
{
    if (!isActive()) return;
    checkBrowseMode();
    readRows(true, currentKey());
    bof_ = cursor_ <= 0;
    eof_ = view_.isEmpty();
    emit dataReset();
    if (afterRefresh) afterRefresh(*this);
    notifyScroll();
}
