// The visible rows: filter, order, master link, key indexes and sums over them.
#include "platform/dataset/smpdataset_p.h"

#include "platform/db/dberror.h"

#include <algorithm>
#include <numeric>

using DatasetDetail::Aggregate;
using FieldValues::isNull;
using FieldValues::splitFields;

// ---- view: filter, order, master ------------------------------------------------------------

void SmpDataset::setFilter(const QString& filter)
{
    // Checked now when the fields exist, else when the dataset opens.
    if (isActive()) d->filter = DatasetFilter::parse(filter, [this](const QString& n) { return findField(n); });
    filterText_ = filter;
    if (isActive() && filtered_) showAgain();
}

void SmpDataset::setFilterPredicate(std::function<bool(const SmpDataset&)> predicate)
{
    d->predicate = std::move(predicate);
    if (isActive() && filtered_) showAgain();
}

// The rows shown follow a new filter or order; the cursor stays on its row where it still shows.
void SmpDataset::showAgain()
{
    checkBrowseMode();
    rebuildView(currentKey());
    emit dataReset();
    notifyScroll();
}

void SmpDataset::setFiltered(bool on)
{
    if (filtered_ == on) return;
    filtered_ = on;
    if (isActive()) showAgain();
}

void SmpDataset::setIndexFieldNames(const QString& fields)
{
    indexFieldNames_ = fields;
    if (isActive()) showAgain();
}

bool SmpDataset::passesFilter(const Row& row) const
{
    if (!filtered_) return true;
    if (!d->filter.matches([&](const SmpField* f) { return fieldValueIn(f, row); })) return false;
    if (!d->predicate) return true;
    // The predicate reads the row's fields as on-calc-fields does.
    const Row* saved = d->calcRow;
    d->calcRow = &row;
    bool ok = false;
    try {
        ok = d->predicate(*this);
    } catch (...) {
        d->calcRow = saved;
        throw;
    }
    d->calcRow = saved;
    return ok;
}

bool SmpDataset::passesMaster(const Row& row) const
{
    // Rows read are the master's already, unless the statement does not take a link as a
    // parameter; rows changed here (kept across master moves) may belong to another master row.
    if (!master_) return true;
    const bool local = row.changeSeq != 0 || row.status == Row::Status::Inserted;
    if (!local && d->clientLinks.isEmpty()) return true;
    if (!master_->isActive()) return row.status == Row::Status::Inserted;
    // A row appended under a master row that had no key yet belongs to that row.
    const bool tagged = local && row.masterTag != 0 && row.status == Row::Status::Inserted;
    if (tagged && row.masterTag == d->masterTag) return true;
    if (tagged && std::any_of(d->masterValues.cbegin(), d->masterValues.cend(), FieldValues::isNull)) return false;
    for (int i = 0; i < detailFields_.size(); ++i) {
        if (!local && !d->clientLinks.contains(i)) continue;
        const SmpField* f = findField(detailFields_[i]);
        if (f && !FieldValues::equal(fieldValueIn(f, row), d->masterValues.value(i), f->type())) return false;
    }
    return true;
}

QVariantList SmpDataset::currentKey() const
{
    const Row* r = currentRow();
    return r ? keyOf(*r) : QVariantList();
}

// The key of the row to stay on must be taken before the cache changes.
void SmpDataset::rebuildView(const QVariantList& key)
{
    d->masterValues.clear();
    const Row* masterRow = master_ && master_->isActive() ? master_->activeRow() : nullptr;
    d->masterTag = masterRow ? masterRow->tag : 0;
    if (master_ && master_->isActive())
        for (int i = 0; i < detailFields_.size(); ++i) {
            const SmpField* f = findField(detailFields_[i]);
            bool ok = false;
            d->masterValues << (f ? FieldValues::tryToStored(master_->fieldByName(masterFields_[i])->value(), f->type(), &ok)
                                  : QVariant());
        }
    if (filtered_) d->filter = DatasetFilter::parse(filterText_, [this](const QString& n) { return findField(n); });
    view_.clear();
    view_.reserve(int(d->rows.size()));
    for (size_t i = 0; i < d->rows.size(); ++i) {
        const Row& r = d->rows[i];
        if (r.status == Row::Status::Deleted) continue;
        if (!passesFilter(r) || !passesMaster(r)) continue;
        view_.push_back(int(i));
    }
    const QStringList order = splitFields(indexFieldNames_);
    if (!order.isEmpty()) {
        // Sort keys are read once per row (a lookup field is looked up once, not per comparison).
        QList<QPair<const SmpField*, bool>> keys;
        for (const QString& o : order) {
            const QStringList parts = o.split(u' ', Qt::SkipEmptyParts);
            const SmpField* f = findField(parts.value(0));
            if (!f) throw DbError(QStringLiteral("%1: няма поле %2 за подреждане.").arg(name_, parts.value(0)));
            keys << qMakePair(f, parts.value(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0);
        }
        const qsizetype width = keys.size();
        std::vector<QVariant> sortValues(size_t(view_.size() * width));
        for (qsizetype i = 0; i < view_.size(); ++i) {
            for (qsizetype k = 0; k < width; ++k)
                sortValues[size_t(i * width + k)] = fieldValueIn(keys[k].first, d->rows[size_t(view_[i])]);
        }
        QVector<qsizetype> order(view_.size());
        std::iota(order.begin(), order.end(), qsizetype(0));
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            for (qsizetype k = 0; k < width; ++k) {
                const int c = FieldValues::compare(sortValues[size_t(a * width + k)], sortValues[size_t(b * width + k)],
                                                   keys[k].first->type());
                if (c != 0) return keys[k].second ? c > 0 : c < 0;
            }
            return false;
        });
        QVector<int> sorted;
        sorted.reserve(view_.size());
        for (qsizetype i : std::as_const(order)) sorted << view_[i];
        view_ = std::move(sorted);
    }
    invalidateIndexes();
    d->aggregatesValid = false;
    int pos = view_.isEmpty() ? -1 : 0;
    if (!key.isEmpty()) {
        const QStringList kf = keyFieldNames();
        const int found = rowIndexOfKey(kf.join(u';'), key);
        if (found >= 0) pos = found;
        else if (cursor_ >= 0) pos = qMin(cursor_, int(view_.size()) - 1);
    }
    cursor_ = pos;
    bof_ = pos <= 0;
    eof_ = view_.isEmpty();
    // Other rows shown, other sums: calculated fields that read them follow on every row.
    if (d->calcReadsAggregate && onCalcFields) {
        recomputeAggregates();
        calculateAll(true);
    }
}

void SmpDataset::invalidateIndexes()
{
    d->indexes.clear();
    d->posValid = false;
}

// A row changed, came or went: the key indexes follow it instead of being rebuilt.
void SmpDataset::reindexRow(int rowIndex, const Row* before, const Row* after)
{
    d->posValid = false;
    for (auto it = d->indexes.begin(); it != d->indexes.end(); ++it) {
        Impl::KeyIndex& index = it.value();
        auto keyOfRow = [&](const Row& r) {
            QString k;
            for (const SmpField* f : std::as_const(index.fields)) FieldValues::appendKeyText(k, fieldValueIn(f, r), f->type());
            return k;
        };
        if (before) index.rows.remove(keyOfRow(*before), rowIndex);
        if (after) index.rows.insert(keyOfRow(*after), rowIndex);
    }
}

// The lookup key is passed as {field list, values}; the index over the visible rows is built once.
int SmpDataset::rowIndexOfKey(const QString& fieldList, const QVariantList& values) const
{
    auto it = d->indexes.find(fieldList.toUpper());
    if (it == d->indexes.end()) {
        Impl::KeyIndex index;
        for (const QString& n : splitFields(fieldList)) {
            const SmpField* f = findField(n);
            if (!f) return -1;
            index.fields << f;
        }
        index.rows.reserve(view_.size());
        for (int row : std::as_const(view_)) {
            QString k;
            for (const SmpField* f : std::as_const(index.fields))
                FieldValues::appendKeyText(k, fieldValueIn(f, d->rows[size_t(row)]), f->type());
            index.rows.insert(k, row);
        }
        it = d->indexes.insert(fieldList.toUpper(), index);
    }
    if (values.size() != it->fields.size()) return -1;
    QString k;
    for (int i = 0; i < values.size(); ++i) {
        bool ok = false;
        const QVariant v = FieldValues::tryToStored(values[i], it->fields[i]->type(), &ok);
        if (!ok) return -1;  // not a value of the field: no row has it
        FieldValues::appendKeyText(k, v, it->fields[i]->type());
    }
    if (!d->posValid) {
        d->posOfRow.assign(d->rows.size(), -1);
        for (int pos = 0; pos < view_.size(); ++pos) d->posOfRow[size_t(view_[pos])] = pos;
        d->posValid = true;
    }
    // Among equal keys the first visible row wins.
    int best = -1;
    for (auto r = it->rows.constFind(k); r != it->rows.cend() && r.key() == k; ++r) {
        const int pos = size_t(r.value()) < d->posOfRow.size() ? d->posOfRow[size_t(r.value())] : -1;
        if (pos >= 0 && (best < 0 || pos < best)) best = pos;
    }
    return best;
}

QStringList SmpDataset::keyFieldNames()
{
    if (!keyFieldsText_.isEmpty()) return splitFields(keyFieldsText_);
    const QString table = !updateTable_.isEmpty() ? updateTable_ : tableName_;
    if (!d->primaryKeyRead && connection_ && !table.isEmpty() && connection_->isOpen()) {
        d->primaryKeyRead = true;
        const DbResult r = connection_->query(
            QStringLiteral("select s.RDB$FIELD_NAME from RDB$RELATION_CONSTRAINTS c "
                           "join RDB$INDEX_SEGMENTS s on s.RDB$INDEX_NAME = c.RDB$INDEX_NAME "
                           "where c.RDB$RELATION_NAME = :T and c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' "
                           "order by s.RDB$FIELD_POSITION"),
            {{QStringLiteral("T"), table.toUpper()}});
        for (const DbRow& row : r.rows) d->primaryKey << row[0].toString().trimmed();
    }
    QStringList out;
    for (const QString& k : std::as_const(d->primaryKey))
        if (findField(k)) out << k;
    if (!out.isEmpty()) return out;
    for (const SmpField* f : fieldList_)
        if (f->kind() == SmpField::Kind::Data && f->type() != SmpField::Type::Bytes && f->type() != SmpField::Type::Text)
            out << f->fieldName();
    return out;
}

QVariantList SmpDataset::keyOf(const Row& row) const
{
    QVariantList out;
    for (const QString& k : const_cast<SmpDataset*>(this)->keyFieldNames())
        if (const SmpField* f = findField(k)) out << fieldValueIn(f, row);
    return out;
}

void SmpDataset::setMaster(SmpDataset* master, const QString& masterFields, const QString& detailFields)
{
    if (master_) master_->d->details.removeAll(this);
    master_ = master;
    masterFields_ = splitFields(masterFields);
    detailFields_ = splitFields(detailFields);
    if (masterFields_.size() != detailFields_.size())
        throw DbError(QStringLiteral("%1: полетата на връзката не съвпадат.").arg(name_));
    for (const QString& f : std::as_const(detailFields_))
        if (!SqlLex::isIdentifier(f)) throw DbError(QStringLiteral("Невалидно поле: %1").arg(f));
    if (master_) master_->d->details << this;
}

// The new master row has its key now: the rows appended under it, not yet stored, take it.
void SmpDataset::takeMasterKey(const Row& masterRow)
{
    if (!isActive()) return;
    QList<QPair<int, QVariant>> link;  // slot here, the master's value
    for (int i = 0; i < detailFields_.size(); ++i) {
        const SmpField* f = findField(detailFields_[i]);
        const SmpField* m = master_->findField(masterFields_[i]);
        if (!f || !m || f->slot_ < 0) return;
        bool ok = false;
        link << qMakePair(f->slot_, FieldValues::tryToStored(master_->fieldValueIn(m, masterRow), f->type(), &ok));
    }
    bool taken = false;
    auto take = [&](Row& r) {
        if (r.masterTag != masterRow.tag || r.status != Row::Status::Inserted || r.awaiting) return;
        for (const auto& [slot, v] : std::as_const(link)) r.values[slot] = v;
        taken = true;
    };
    for (Row& r : d->rows) take(r);
    if (state_ == State::Insert) take(d->editBuffer);
    if (!taken) return;
    invalidateIndexes();
    d->aggregatesValid = false;
    if (state_ == State::Browse) {
        const int pos = cursor_;
        rebuildView({});
        if (!view_.isEmpty()) cursor_ = qBound(0, pos, int(view_.size()) - 1);
    }
    if (!controlsDisabled_) emit dataReset();
}

// The master moved, or its row changed: show the detail rows of its current row. Pending changes
// stay in the cache (hidden while they belong to another master row) until they are applied,
// which the window does inside its document's transaction.
void SmpDataset::masterScrolled()
{
    if (!isActive()) return;
    checkBrowseMode();
    const bool linkedInMemory = !commandText_.isEmpty() && d->clientLinks.size() == masterFields_.size();
    if (linkedInMemory) rebuildView({});  // the statement does not depend on the master: filter the cache
    else readRows(true, {});
    cursor_ = view_.isEmpty() ? -1 : 0;
    bof_ = true;
    eof_ = view_.isEmpty();
    emit dataReset();
    notifyScroll();
}

// ---- aggregates -----------------------------------------------------------------------------

void SmpDataset::recomputeAggregates()
{
    for (Aggregate& a : d->aggregates) {
        a.sum = 0;
        a.units = 0;
        a.beyond = 0;
        a.count = 0;
        const SmpField* src = a.source == u"*" ? nullptr : findField(a.source);
        bool first = true;
        for (int row : std::as_const(view_)) {
            if (!src) {
                ++a.count;
                continue;
            }
            const QVariant v = fieldValueIn(src, d->rows[size_t(row)]);
            if (isNull(v)) continue;
            const double x = v.toDouble();
            ++a.count;
            if (a.func == u"SUM") DatasetDetail::addToSum(a, x, +1);
            else if (a.func == u"MIN") a.sum = first ? x : qMin(a.sum, x);
            else if (a.func == u"MAX") a.sum = first ? x : qMax(a.sum, x);
            first = false;
        }
    }
    d->aggregatesValid = true;
}

// Keeps sums and counts current as one row changes; minima and maxima are recomputed when read.
void SmpDataset::adjustAggregates(const Row* removed, const Row* added)
{
    if (!d->aggregatesValid) return;
    for (Aggregate& a : d->aggregates) {
        if (a.func == u"MIN" || a.func == u"MAX") {
            d->aggregatesValid = false;
            return;
        }
        const SmpField* src = a.source == u"*" ? nullptr : findField(a.source);
        auto apply = [&](const Row* r, int sign) {
            if (!r) return;
            if (!src) {
                a.count += sign;
                return;
            }
            const QVariant v = fieldValueIn(src, *r);
            if (isNull(v)) return;
            a.count += sign;
            DatasetDetail::addToSum(a, v.toDouble(), sign);
        };
        apply(removed, -1);
        apply(added, +1);
    }
}
