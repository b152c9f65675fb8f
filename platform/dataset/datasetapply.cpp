// Applying pending changes as row-level statements, settled with the transaction they run in.
#include "platform/dataset/smpdataset_p.h"

#include "platform/db/dberror.h"
#include "platform/db/transaction.h"

#include <QPointer>
#include <QSet>

#include <algorithm>

using DatasetDetail::Aggregate;
using FieldValues::isNull;
using FieldValues::splitFields;

// ---- applying -------------------------------------------------------------------------------

void SmpDataset::applyUpdates()
{
    checkBrowseMode();
    applyPending(0);
}

void SmpDataset::applyLastChange()
{
    checkBrowseMode();
    if (d->lastChange != 0) applyPending(d->lastChange);
}

// Every pending change, or only the one with that sequence number.
void SmpDataset::applyPending(quint64 onlySeq)
{
    if (scratch_) return;  // a scratch list never reaches its table
    if (changeCount() == 0) return;
    if (readOnly_) throw DbError(QStringLiteral("%1 е само за четене; промените не се записват.").arg(name_));
    const QString table = !updateTable_.isEmpty() ? updateTable_ : !tableName_.isEmpty() ? tableName_ : [&] {
        for (const DbColumn& c : std::as_const(d->columns))
            if (!c.relation.isEmpty()) return c.relation;
        return QString();
    }();
    if (table.isEmpty() || !SqlLex::isIdentifier(table))
        throw DbError(QStringLiteral("%1: не е известна таблицата за запис.").arg(name_));

    // Columns of that table, by slot.
    QList<QPair<int, QString>> cols;
    for (int i = 0; i < d->columns.size(); ++i) {
        const DbColumn& c = d->columns[i];
        const bool ofTable = tableName_.isEmpty() ? c.relation.compare(table, Qt::CaseInsensitive) == 0 : true;
        const QString column = c.field.isEmpty() ? c.name : c.field;
        if (ofTable && SqlLex::isIdentifier(column)) cols << qMakePair(i, column);
    }
    const QStringList pk = keyFieldNames();

    std::vector<Row*> pending;
    for (Row& r : d->rows)
        if (r.changeSeq != 0 && r.status != Row::Status::Unchanged && !(r.awaiting && r.appliedSeq == r.changeSeq) &&
            (onlySeq == 0 || r.changeSeq == onlySeq))
            pending.push_back(&r);
    if (pending.empty()) return;  // applied already, waiting for the transaction's outcome
    std::sort(pending.begin(), pending.end(), [](const Row* a, const Row* b) { return a->changeSeq < b->changeSeq; });

    auto whereAll = [&](const Row& r, SqlParams& p) {
        QStringList terms;
        for (const auto& [slot, column] : cols) {
            const DbColumn& c = d->columns[slot];
            if (c.sqlType == 520 /* SQL_BLOB */) continue;
            const QVariant& v = r.stored()[slot];
            if (isNull(v)) terms << column + QStringLiteral(" is null");
            else {
                const QString name = QStringLiteral("O%1").arg(slot);
                terms << column + QStringLiteral(" = :") + name;
                p.insert(name, v);
            }
        }
        return terms.join(QStringLiteral(" and "));
    };
    // Inserts read back every column, so defaults and generated keys are in the cache at once.
    QStringList returning;
    for (const auto& [slot, column] : cols)
        if (d->columns[slot].sqlType != 520 /* SQL_BLOB */) returning << column;

    // The rows applied here are stored only when the outermost transaction commits; they are
    // settled then, or left pending (with the values read back taken away) when it rolls back.
    auto applied = std::make_shared<std::vector<Applied>>();
    const QPointer<SmpDataset> self(this);
    const bool outerScope = TransactionScope::isOpen(*connection_);
    Row* failed = nullptr;
    bool readBack = false;
    try {
        TransactionScope tx(*connection_);
        TransactionScope::whenSettled(*connection_, [self, applied](bool committed) {
            if (self) self->settleApplied(*applied, committed);
        });
        for (Row* r : pending) {
            failed = r;
            SqlParams p;
            // A row this transaction already wrote is in the table now, whatever its status says.
            const bool inTable = r->awaiting || r->status != Row::Status::Inserted;
            if (!inTable) {
                QStringList names, marks;
                for (const auto& [slot, column] : cols) {
                    if (isNull(r->values[slot])) continue;  // the database fills what is left out
                    names << column;
                    marks << QStringLiteral(":V%1").arg(slot);
                    p.insert(QStringLiteral("V%1").arg(slot), r->values[slot]);
                }
                QString sql = QStringLiteral("insert into %1 (%2) values (%3)")
                                  .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
                if (names.isEmpty()) sql = QStringLiteral("insert into %1 default values").arg(table);
                r->readBack = DbRow(d->columns.size());
                if (!returning.isEmpty()) {
                    const QVariantMap out = connection_->executeReturning(
                        sql + QStringLiteral(" returning ") + returning.join(QStringLiteral(", ")), p);
                    for (const auto& [slot, column] : cols) {
                        if (!out.contains(column.toUpper())) continue;
                        const QVariant v = out.value(column.toUpper());
                        if (isNull(r->values[slot])) r->readBack[slot] = v;
                        r->values[slot] = v;
                    }
                    readBack = true;
                    if (r->tag != 0)
                        for (SmpDataset* detail : std::as_const(d->details)) detail->takeMasterKey(*r);
                } else {
                    connection_->execute(sql, p);
                }
            } else if (r->status != Row::Status::Deleted) {
                QStringList sets;
                for (const auto& [slot, column] : cols) {
                    const QVariant& now = r->values[slot];
                    const QVariant& was = r->stored()[slot];
                    if (now == was && isNull(now) == isNull(was)) continue;
                    sets << column + QStringLiteral(" = :V%1").arg(slot);
                    p.insert(QStringLiteral("V%1").arg(slot), now);
                }
                if (!sets.isEmpty()) {
                    const QString where = whereAll(*r, p);
                    const int n = connection_->execute(QStringLiteral("update %1 set %2 where %3")
                                                           .arg(table, sets.join(QStringLiteral(", ")), where), p);
                    if (n != 1) throw DbError(QString(), kConflictCode);
                }
            } else {
                const QString where = whereAll(*r, p);
                const int n = connection_->execute(QStringLiteral("delete from %1 where %2").arg(table, where), p);
                if (n != 1) throw DbError(QString(), kConflictCode);
            }
            applied->push_back({r->changeSeq});
            r->awaiting = true;
            r->appliedSeq = r->changeSeq;
            r->applied = r->values.mid(0, d->columns.size());
        }
        failed = nullptr;
        if (readBack) {
            invalidateIndexes();
            d->aggregatesValid = false;
        }
        tx.commit();
    } catch (const DbError& e) {
        // Leaving the scope rolled the transaction back and so put the applied rows back to pending.
        if (failed && !failed->original.isEmpty() &&
            (failed->status == Row::Status::Modified || failed->status == Row::Status::Deleted) &&
            (e.sqlCode() == kConflictCode || failed->status == Row::Status::Deleted)) {
            // Someone else changed or removed the row, or the server refused to delete it: the
            // change is dropped and the row is shown as stored.
            for (int i = 0; i < failed->original.size(); ++i) failed->values[i] = failed->original[i];
            failed->original.clear();
            failed->status = Row::Status::Unchanged;
            failed->changeSeq = 0;
            calculate(*failed);
            rebuildView(currentKey());
            emit dataReset();
        }
        if (e.sqlCode() != kConflictCode) throw;
        // Inside a document's transaction (now rolled back) nothing can be read until it ends.
        if (outerScope)
            throw DbError(QStringLiteral("Записът е променен или изтрит от друг потребител. Промяната не е записана !"),
                          kConflictCode);
        refresh();
        throw DbError(QStringLiteral("Записът е променен или изтрит от друг потребител. Списъкът е обновен и "
                                     "промяната не е записана !"),
                      kConflictCode);
    }
    if (readBack && !controlsDisabled_) emit dataReset();
}

// The outcome of the transaction that applied these rows. Committed, what was applied is stored
// and a change made since stays pending against it; rolled back, every change since the
// transaction began is pending again, an applied insert an insert again.
void SmpDataset::settleApplied(const std::vector<Applied>& applied, bool committed)
{
    QSet<quint64> seqs;
    for (const Applied& a : applied) seqs.insert(a.seq);
    bool removed = false, restored = false;
    const int cols = int(d->columns.size());
    for (Row& r : d->rows) {
        if (!r.awaiting || !seqs.contains(r.appliedSeq)) continue;
        const bool changedSince = r.changeSeq != r.appliedSeq;
        if (committed) {
            if (!changedSince) {
                removed = removed || r.status == Row::Status::Deleted;
                if (r.status != Row::Status::Deleted) r.status = Row::Status::Unchanged;
                r.original.clear();
                r.changeSeq = 0;
            } else {
                r.original = r.applied;
                if (r.status != Row::Status::Deleted) r.status = Row::Status::Modified;
            }
        } else if (!r.readBack.isEmpty()) {
            // Keys and defaults read back were never stored; values set since stay.
            for (int i = 0; i < cols && i < r.readBack.size(); ++i)
                if (!isNull(r.readBack[i]) && r.values[i] == r.readBack[i]) r.values[i] = QVariant();
            if (r.status == Row::Status::Deleted) r.changeSeq = 0;  // inserted and deleted: nothing left
            restored = true;
        }
        r.awaiting = false;
        r.appliedSeq = 0;
        r.applied.clear();
        r.readBack.clear();
    }
    if (removed) {
        const QVariantList key = currentKey();
        std::vector<Row> kept;
        kept.reserve(d->rows.size());
        for (Row& r : d->rows)
            if (!(r.status == Row::Status::Deleted && r.changeSeq == 0)) kept.push_back(std::move(r));
        d->rows = std::move(kept);
        if (state_ == State::Browse) rebuildView(key);
        else invalidateIndexes();
    } else if (restored) {
        invalidateIndexes();
        d->aggregatesValid = false;
    }
    if ((removed || restored) && !controlsDisabled_) emit dataReset();
}
