// The cursor and the editing states: moving, locating, insert, edit, post, cancel and delete.
#include "platform/dataset/smpdataset_p.h"

#include "platform/db/dberror.h"

#include <algorithm>

using DatasetDetail::Aggregate;
using FieldValues::isNull;
using FieldValues::splitFields;

// ---- cursor ---------------------------------------------------------------------------------

void SmpDataset::notifyDetails()
{
    for (SmpDataset* detail : std::as_const(d->details))
        if (detail->isActive()) detail->masterScrolled();
}

void SmpDataset::setCurrent(int position)
{
    const int old = cursor_;
    cursor_ = position;
    if (old != position) notifyScroll();
}

// Details follow first, so that a failing after-scroll handler never leaves them behind.
void SmpDataset::notifyScroll()
{
    if (!controlsDisabled_) emit currentChanged(cursor_);
    notifyDetails();
    if (afterScroll && isActive()) afterScroll(*this);
}

void SmpDataset::enableControls()
{
    if (controlsDisabled_ > 0 && --controlsDisabled_ == 0) {
        emit dataReset();
        emit currentChanged(cursor_);
    }
}

void SmpDataset::first()
{
    checkBrowseMode();
    if (view_.isEmpty()) return;
    bof_ = true;
    eof_ = false;
    setCurrent(0);
}

void SmpDataset::last()
{
    checkBrowseMode();
    if (view_.isEmpty()) return;
    eof_ = true;
    bof_ = false;
    setCurrent(int(view_.size()) - 1);
}

void SmpDataset::next()
{
    checkBrowseMode();
    if (cursor_ + 1 < view_.size()) {
        bof_ = false;
        eof_ = false;
        setCurrent(cursor_ + 1);
    } else {
        eof_ = true;
    }
}

void SmpDataset::prior()
{
    checkBrowseMode();
    if (cursor_ > 0) {
        bof_ = false;
        eof_ = false;
        setCurrent(cursor_ - 1);
    } else {
        bof_ = true;
    }
}

void SmpDataset::moveTo(int position)
{
    checkBrowseMode();
    if (view_.isEmpty()) return;
    position = std::clamp(position, 0, int(view_.size()) - 1);
    bof_ = position == 0;
    eof_ = false;
    setCurrent(position);
}

bool SmpDataset::locate(const QString& fields, const QVariantList& values)
{
    if (!isActive()) return false;
    checkBrowseMode();
    const int pos = rowIndexOfKey(fields, values);
    if (pos < 0) return false;
    bof_ = eof_ = false;
    setCurrent(pos);
    return true;
}

int SmpDataset::find(const QString& fields, const QVariantList& values) const
{
    if (!isActive()) return -1;
    const int pos = rowIndexOfKey(fields, values);
    // While a row is being inserted it is shown in the list, and the rows after it move down.
    return pos >= 0 && state_ == State::Insert && pos >= d->insertAt ? pos + 1 : pos;
}

QVariant SmpDataset::lookup(const QString& fields, const QVariantList& values, const QString& resultField) const
{
    const int pos = isActive() ? rowIndexOfKey(fields, values) : -1;
    return pos < 0 ? QVariant() : fieldValueIn(fieldByName(resultField), d->rows[size_t(view_[pos])]);
}

QVariantList SmpDataset::keyAt(int position) const
{
    QVariantList out;
    for (const QString& k : const_cast<SmpDataset*>(this)->keyFieldNames())
        if (const SmpField* f = findField(k)) out << valueAt(position, f);
    return out;
}

bool SmpDataset::locateKey(const QVariantList& key)
{
    const bool known = std::any_of(key.cbegin(), key.cend(), [](const QVariant& v) { return !isNull(v); });
    return known && locate(keyFieldNames().join(u';'), key);
}

// The row the fields show: the edit buffer while editing, else the current row.
SmpDataset::Row* SmpDataset::activeRow() const
{
    return state_ == State::Edit || state_ == State::Insert ? &d->editBuffer : currentRow();
}

// ---- editing --------------------------------------------------------------------------------

void SmpDataset::setState(State s)
{
    if (state_ == s) return;
    state_ = s;
    emit stateChanged();
}

void SmpDataset::edit()
{
    if (state_ == State::Edit || state_ == State::Insert) return;
    if (!isActive()) throw DbError(QStringLiteral("%1 не е отворен.").arg(name_));
    Row* r = currentRow();
    if (!r) {
        append();
        return;
    }
    if (beforeEdit) beforeEdit(*this);
    d->editBuffer = *r;
    modified_ = false;
    setState(State::Edit);
    if (afterEdit) afterEdit(*this);
}

void SmpDataset::append() { startInsert(true); }

void SmpDataset::insert() { startInsert(false); }

void SmpDataset::startInsert(bool atEnd)
{
    if (!isActive()) throw DbError(QStringLiteral("%1 не е отворен.").arg(name_));
    checkBrowseMode();
    if (beforeInsert) beforeInsert(*this);
    d->editBuffer = Row{};
    d->editBuffer.values.resize(d->columns.size() + d->calcSlots);
    d->editBuffer.status = Row::Status::Inserted;
    d->insertAt = atEnd || cursor_ < 0 ? int(view_.size()) : cursor_;
    modified_ = false;
    setState(State::Insert);
    cursor_ = d->insertAt;
    if (!controlsDisabled_) {
        emit rowInserted(d->insertAt);
        emit currentChanged(cursor_);
    }
    // A new detail row belongs to the master's current row.
    if (master_ && master_->isActive()) {
        bool keyless = false;
        for (int i = 0; i < detailFields_.size(); ++i) {
            const QVariant v = master_->fieldByName(masterFields_[i])->value();
            keyless = keyless || isNull(v);
            if (SmpField* f = findField(detailFields_[i])) f->setValue(v);
        }
        // The master row gets its key only when stored: the new row takes it then.
        if (Row* m = master_->activeRow(); m && keyless) {
            if (m->tag == 0) m->tag = ++master_->d->tagSeq;
            d->editBuffer.masterTag = m->tag;
        }
    }
    if (onNewRecord) onNewRecord(*this);
    modified_ = false;
    calculate(d->editBuffer);
    notifyDetails();  // a new master row has no detail rows yet
    if (afterInsert) afterInsert(*this);
}

void SmpDataset::post()
{
    if (state_ != State::Edit && state_ != State::Insert) return;
    emit aboutToPost();
    if (state_ != State::Edit && state_ != State::Insert) return;
    if (beforePost) beforePost(*this);
    calculate(d->editBuffer);  // internal calculated values follow the posted row
    if (state_ == State::Insert) {
        Row row = d->editBuffer;
        row.status = Row::Status::Inserted;
        row.changeSeq = ++d->changeSeq;
        d->lastChange = row.changeSeq;
        d->rows.push_back(std::move(row));
        const int rowIndex = int(d->rows.size()) - 1;
        const int pos = std::clamp(d->insertAt, 0, int(view_.size()));
        view_.insert(pos, rowIndex);
        cursor_ = pos;
        reindexRow(rowIndex, nullptr, &d->rows.back());
        adjustAggregates(nullptr, &d->rows.back());
        setState(State::Browse);
        bof_ = eof_ = false;
        if (!controlsDisabled_) emit rowChanged(pos);
    } else {
        Row& r = *currentRow();
        const int cols = int(d->columns.size());
        bool changed = false;
        for (int i = 0; i < cols && !changed; ++i)
            changed = r.values[i] != d->editBuffer.values[i] || isNull(r.values[i]) != isNull(d->editBuffer.values[i]);
        if (changed && r.status == Row::Status::Unchanged) {
            r.original = r.values.mid(0, cols);
            r.status = Row::Status::Modified;
        }
        if (changed) r.changeSeq = ++d->changeSeq;
        d->lastChange = r.status == Row::Status::Unchanged ? 0 : r.changeSeq;  // a pending row posted again is retried
        const Row before{r.values, {}, {}, false, 0, 0, {}, {}};
        r.values = d->editBuffer.values;
        r.tag = d->editBuffer.tag;
        reindexRow(view_[cursor_], &before, &r);
        adjustAggregates(&before, &r);
        setState(State::Browse);
        if (!controlsDisabled_) emit rowChanged(cursor_);
    }
    d->editBuffer = Row{};
    modified_ = false;
    sumsChanged();
    notifyDetails();
    if (afterPost) afterPost(*this);
}

void SmpDataset::cancel()
{
    if (state_ == State::Edit || state_ == State::Insert) {
        if (beforeCancel) beforeCancel(*this);
        const bool wasInsert = state_ == State::Insert;
        d->editBuffer = Row{};
        modified_ = false;
        setState(State::Browse);
        if (wasInsert) cursor_ = view_.isEmpty() ? -1 : qMin(d->insertAt, int(view_.size()) - 1);
        if (!controlsDisabled_) {
            if (wasInsert) emit rowRemoved(d->insertAt);
            else emit rowChanged(cursor_);
            emit currentChanged(cursor_);
        }
        if (wasInsert) notifyDetails();
        if (afterCancel) afterCancel(*this);
        return;
    }
    // In browse state a cancel settles a change the server refused: the current row's change
    // is dropped, and only that one.
    if (!isCurrentPending()) return;
    Row* r = currentRow();
    const QVariantList key = currentKey();
    if (!revertRow(*r)) d->rows.erase(d->rows.begin() + view_[cursor_]);
    rebuildView(key);
    emit dataReset();
    notifyScroll();
}

// Leaving a row posts it; a new row the user never touched is dropped instead.
void SmpDataset::checkBrowseMode()
{
    if (state_ == State::Insert && !modified_) cancel();
    else if (state_ == State::Edit || state_ == State::Insert) post();
}

void SmpDataset::remove()
{
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (state_ == State::Edit) cancel();
    if (!currentRow()) return;
    if (beforeDelete) beforeDelete(*this);
    // The handler may have moved or re-read: the row is taken only now.
    Row* r = currentRow();
    if (!r) return;
    const int pos = cursor_;
    adjustAggregates(r, nullptr);
    reindexRow(view_[pos], r, nullptr);
    if (r->status == Row::Status::Inserted && !r->awaiting) {  // never stored: it simply goes
        r->status = Row::Status::Deleted;
        r->changeSeq = 0;
    } else if (r->status == Row::Status::Inserted) {  // inserted by a transaction still open
        r->status = Row::Status::Deleted;
        r->changeSeq = ++d->changeSeq;
    } else {
        if (r->status == Row::Status::Unchanged) r->original = r->values.mid(0, d->columns.size());
        r->status = Row::Status::Deleted;
        r->changeSeq = ++d->changeSeq;
    }
    d->lastChange = r->changeSeq;
    view_.removeAt(pos);
    d->posValid = false;
    if (!controlsDisabled_) emit rowRemoved(pos);
    cursor_ = view_.isEmpty() ? -1 : qMin(pos, int(view_.size()) - 1);
    eof_ = view_.isEmpty();
    bof_ = cursor_ <= 0;
    sumsChanged();
    if (afterDelete) afterDelete(*this);
    notifyScroll();
}

int SmpDataset::appendRows(const QString& sql, const QVariantMap& params)
{
    if (!isActive()) throw DbError(QStringLiteral("%1 не е отворен.").arg(name_));
    checkBrowseMode();
    const DbResult result = connection_->query(sql, params);
    QList<QPair<int, const SmpField*>> copied;  // result column, field
    for (int c = 0; c < result.columns.size(); ++c)
        if (const SmpField* f = findField(result.columns[c].name); f && f->kind() == SmpField::Kind::Data)
            copied << qMakePair(c, f);
    const int width = int(d->columns.size()) + d->calcSlots;
    std::vector<Row> added;
    added.reserve(result.rows.size());
    for (const DbRow& in : result.rows) {
        Row r;
        r.values.resize(width);
        for (const auto& [c, f] : std::as_const(copied)) r.values[f->slot_] = FieldValues::toStored(in[c], f->type());
        r.status = Row::Status::Inserted;
        calculate(r);
        added.push_back(std::move(r));
    }
    const QVariantList key = currentKey();
    for (Row& r : added) {
        r.changeSeq = ++d->changeSeq;
        d->rows.push_back(std::move(r));
    }
    rebuildView(key);
    sumsChanged();
    emit dataReset();
    notifyScroll();
    return int(added.size());
}

QList<QVariantMap> SmpDataset::pendingDeletes() const
{
    QList<QVariantMap> out;
    for (const Row& r : d->rows) {
        if (r.status != Row::Status::Deleted || r.changeSeq == 0) continue;
        QVariantMap m;
        const DbRow& stored = r.stored();
        for (int i = 0; i < d->columns.size() && i < stored.size(); ++i) m.insert(d->columns[i].name, stored[i]);
        out << m;
    }
    return out;
}

bool SmpDataset::isCurrentPending() const
{
    const Row* r = state_ == State::Browse ? currentRow() : nullptr;
    return r && r->changeSeq != 0 && r->status != Row::Status::Unchanged;
}

int SmpDataset::changeCount() const
{
    int n = 0;
    for (const Row& r : d->rows)
        if (r.changeSeq != 0 && r.status != Row::Status::Unchanged) ++n;
    return n;
}

// Takes back a row's pending change; false for a row never stored, which goes.
bool SmpDataset::revertRow(Row& r)
{
    const bool neverStored = r.status == Row::Status::Inserted || (r.status == Row::Status::Deleted && r.original.isEmpty());
    if (neverStored) return false;
    if (r.status == Row::Status::Modified || r.status == Row::Status::Deleted) {
        const int cols = int(r.original.size());
        for (int i = 0; i < cols; ++i) r.values[i] = r.original[i];
        r.original.clear();
        r.status = Row::Status::Unchanged;
        r.changeSeq = 0;
        calculate(r);
    }
    return true;
}

void SmpDataset::cancelUpdates()
{
    checkBrowseMode();
    const QVariantList key = currentKey();
    std::vector<Row> kept;
    kept.reserve(d->rows.size());
    for (Row& r : d->rows)
        if (revertRow(r)) kept.push_back(std::move(r));
    d->rows = std::move(kept);
    rebuildView(key);
    emit dataReset();
    notifyScroll();
}
