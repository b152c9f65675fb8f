#include "platform/dataset/smpdataset.h"

#include "platform/dataset/datasetfilter.h"
#include "platform/dataset/fieldvalues.h"

#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/namedparams.h"
#include "platform/db/transaction.h"

#include <QPointer>

#include <QRegularExpression>
#include <QTimeZone>

#include <algorithm>
#include <numeric>

// ---- rows and internals ---------------------------------------------------------------------

struct SmpDataset::Row
{
    enum class Status : quint8 { Unchanged, Inserted, Modified, Deleted };
    DbRow values;    // one slot per column read, then one per calculated field
    DbRow original;  // the column values as read, kept once the row is changed
    Status status = Status::Unchanged;
    bool awaiting = false;  // applied inside a transaction that has not ended yet
    quint64 changeSeq = 0;
};

namespace {


struct Aggregate
{
    SmpField* field;
    QString func;    // SUM COUNT MIN MAX
    QString source;  // field name, or "*"
    double sum = 0;       // MIN and MAX
    qint64 units = 0;     // SUM, in millionths
    qint64 count = 0;
};

using FieldValues::isNull;
using FieldValues::splitFields;

// Sums are kept in millionths so that adding and taking away rows never drifts.
constexpr double kSumUnit = 1e6;
qint64 toSumUnits(double x) { return qRound64(x * kSumUnit); }

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

struct SmpDataset::Impl
{
    std::vector<Row> rows;
    QVector<DbColumn> columns;
    int calcSlots = 0;
    Row editBuffer;
    int insertAt = -1;           // view position of the row being inserted
    const Row* calcRow = nullptr;  // the row on-calc-fields works on
    quint64 changeSeq = 0;
    DatasetFilter filter;  // compiled from filterText_ whenever the view is rebuilt
    std::function<bool(const SmpDataset&)> predicate;
    QList<Aggregate> aggregates;
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

// ---- events -------------------------------------------------------------------------------

DatasetEvent& DatasetEvent::operator=(Handler handler)
{
    if (!handler) {
        handlers_.clear();
        return *this;
    }
    if (!handlers_.empty())
        throw DbError(QStringLiteral("Събитието вече има обработчик; добавете следващия с add()."));
    handlers_.push_back(std::move(handler));
    return *this;
}

DatasetEvent& DatasetEvent::operator=(std::nullptr_t)
{
    handlers_.clear();
    return *this;
}

void DatasetEvent::add(Handler handler)
{
    if (handler) handlers_.push_back(std::move(handler));
}

void DatasetEvent::operator()(SmpDataset& dataset) const
{
    // A copy: a handler may add or drop handlers of this event.
    const std::vector<Handler> handlers = handlers_;
    for (const Handler& h : handlers) h(dataset);
}

// ---- construction and fields ----------------------------------------------------------------

SmpDataset::SmpDataset(const QString& name, SQLConnection* connection, QObject* parent)
    : QObject(parent), name_(name), connection_(connection), d(std::make_unique<Impl>())
{
    setObjectName(name);
}

SmpDataset::~SmpDataset()
{
    if (master_) master_->d->details.removeAll(this);
    for (SmpDataset* detail : std::as_const(d->details)) detail->master_ = nullptr;
    qDeleteAll(d->autoFields);
    qDeleteAll(definedFields_);
}

void SmpDataset::setTableName(const QString& table)
{
    if (!FieldValues::isIdentifier(table)) throw DbError(QStringLiteral("Невалидно име на таблица: %1").arg(table));
    tableName_ = table;
    commandText_.clear();
}

void SmpDataset::setCommandText(const QString& sql)
{
    commandText_ = sql;
    tableName_.clear();
}

void SmpDataset::setParam(const QString& name, const QVariant& value) { params_.insert(name.toUpper(), value); }

QVariant SmpDataset::param(const QString& name) const { return params_.value(name.toUpper()); }

SmpField* SmpDataset::addField(const QString& name, SmpField::Kind kind, SmpField::Type type, int size)
{
    if (findField(name)) throw DbError(QStringLiteral("Полето %1 вече съществува в %2.").arg(name, name_));
    if (isActive() && kind == SmpField::Kind::Data)
        throw DbError(QStringLiteral("Полетата на %1 се задават преди отварянето.").arg(name_));
    auto* f = new SmpField(this, name, kind, type, size);
    fieldList_ << f;
    definedFields_ << f;
    return f;
}

SmpField* SmpDataset::addDataField(const QString& name, SmpField::Type type, int size)
{
    return addField(name, SmpField::Kind::Data, type, size);
}

SmpField* SmpDataset::addLookupField(const QString& name, SmpDataset* lookup, const QString& keyFields,
                                     const QString& lookupKeyFields, const QString& resultField)
{
    SmpField* f = addField(name, SmpField::Kind::Lookup, SmpField::Type::String, 0);
    f->lookupDataset = lookup;
    f->keyFields = keyFields;
    f->lookupKeyFields = lookupKeyFields;
    f->lookupResultField = resultField;
    f->readOnly = false;  // editable through a lookup editor, which writes the key fields
    return f;
}

SmpField* SmpDataset::addCalculatedField(const QString& name, SmpField::Type type, int size)
{
    SmpField* f = addField(name, SmpField::Kind::Calculated, type, size);
    f->readOnly = true;
    return f;
}

SmpField* SmpDataset::addInternalCalcField(const QString& name, SmpField::Type type, int size)
{
    SmpField* f = addField(name, SmpField::Kind::InternalCalc, type, size);
    f->readOnly = true;
    return f;
}

SmpField* SmpDataset::addAggregateField(const QString& name, const QString& expression)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(SUM|COUNT|MIN|MAX)\\s*\\(\\s*([A-Za-z0-9_$]+|\\*)\\s*\\)\\s*$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(expression);
    if (!m.hasMatch()) throw DbError(QStringLiteral("Невалиден израз за сума: %1").arg(expression));
    SmpField* f = addField(name, SmpField::Kind::Aggregate, SmpField::Type::Float, 0);
    f->expression = expression;
    f->readOnly = true;
    d->aggregates << Aggregate{f, m.captured(1).toUpper(), m.captured(2)};
    d->aggregatesValid = false;
    return f;
}

SmpField* SmpDataset::findField(const QString& name) const
{
    for (SmpField* f : fieldList_)
        if (f->fieldName().compare(name, Qt::CaseInsensitive) == 0) return f;
    return nullptr;
}

SmpField* SmpDataset::fieldByName(const QString& name) const
{
    SmpField* f = findField(name);
    if (!f) throw DbError(QStringLiteral("%1: няма поле %2.").arg(name_, name));
    return f;
}

// ---- values ---------------------------------------------------------------------------------

SmpDataset::Row* SmpDataset::currentRow() const
{
    if (cursor_ < 0 || cursor_ >= view_.size()) return nullptr;
    return &d->rows[size_t(view_[cursor_])];
}

QVariant SmpDataset::fieldValueIn(const SmpField* f, const Row& row) const
{
    switch (f->kind()) {
    case SmpField::Kind::Data:
    case SmpField::Kind::Calculated:
    case SmpField::Kind::InternalCalc:
        return (f->slot_ >= 0 && f->slot_ < row.values.size()) ? row.values[f->slot_] : QVariant();
    case SmpField::Kind::Lookup: {
        SmpDataset* lk = f->lookupDataset;
        if (!lk || !lk->isActive()) return {};
        const QStringList keys = splitFields(f->keyFields);
        QVariantList values;
        for (const QString& k : keys) {
            const SmpField* kf = findField(k);
            if (!kf) return {};
            values << fieldValueIn(kf, row);
        }
        const int pos = lk->rowIndexOfKey(f->lookupKeyFields, values);
        if (pos < 0) return {};
        const SmpField* rf = lk->findField(f->lookupResultField);
        return rf ? lk->fieldValueIn(rf, lk->d->rows[size_t(lk->view_[pos])]) : QVariant();
    }
    case SmpField::Kind::Aggregate: {
        if (d->calcRow) d->calcReadsAggregate = true;
        auto* self = const_cast<SmpDataset*>(this);
        if (!d->aggregatesValid) self->recomputeAggregates();
        for (const Aggregate& a : std::as_const(d->aggregates)) {
            if (a.field != f) continue;
            if (a.func == QLatin1String("COUNT")) return a.count;
            if (a.count == 0) return {};  // an aggregate over nothing stays empty
            if (a.func == QLatin1String("SUM")) return double(a.units) / kSumUnit;
            return a.sum;
        }
        return {};
    }
    }
    return {};
}

QVariant SmpDataset::fieldValue(const SmpField* f) const
{
    if (f->kind() == SmpField::Kind::Aggregate) return isActive() || d->calcRow ? fieldValueIn(f, Row{}) : QVariant();
    const Row* r = d->calcRow;
    if (!r && (state_ == State::Edit || state_ == State::Insert)) r = &d->editBuffer;
    if (!r) r = currentRow();
    return r ? fieldValueIn(f, *r) : QVariant();
}

void SmpDataset::setFieldValue(SmpField* f, const QVariant& v)
{
    const bool calcKind = f->kind() == SmpField::Kind::Calculated || f->kind() == SmpField::Kind::InternalCalc;
    if (d->calcRow) {
        if (!calcKind) throw DbError(QStringLiteral("%1: при пресмятане се пишат само изчислими полета.").arg(name_));
        if (d->calcPlainOnly && f->kind() == SmpField::Kind::InternalCalc) return;
        bool ok = false;
        const QVariant stored = FieldValues::tryToStored(v, f->type(), &ok);
        const_cast<Row*>(d->calcRow)->values[f->slot_] = stored;
        return;
    }
    if (f->kind() == SmpField::Kind::Aggregate) throw DbError(QStringLiteral("Полето %1 е сума.").arg(f->name()));
    if (f->kind() == SmpField::Kind::Lookup) {
        // Choosing a lookup value writes the key it came from; the list's cursor stays.
        SmpDataset* lk = f->lookupDataset;
        const QStringList keys = splitFields(f->keyFields), lkeys = splitFields(f->lookupKeyFields);
        if (!lk || keys.size() != lkeys.size()) return;
        if (isNull(v)) {
            for (const QString& k : keys) fieldByName(k)->setValue(QVariant());
            return;
        }
        const int pos = lk->isActive() ? lk->rowIndexOfKey(f->lookupResultField, {v}) : -1;
        if (pos < 0) return;
        for (int i = 0; i < keys.size(); ++i) fieldByName(keys[i])->setValue(lk->valueAt(pos, lk->fieldByName(lkeys[i])));
        return;
    }
    if (state_ != State::Edit && state_ != State::Insert)
        throw DbError(QStringLiteral("%1 не е в режим на редакция.").arg(name_));
    if (f->slot_ < 0) throw DbError(QStringLiteral("%1 не е отворен.").arg(name_));
    QVariant value;
    try {
        value = FieldValues::toStored(v, f->type());
    } catch (const DbError& e) {
        throw DbError(QStringLiteral("%1: %2").arg(f->displayLabel.isEmpty() ? f->fieldName() : f->displayLabel, e.message()));
    }
    if (f->type() == SmpField::Type::String && f->size() > 0 && value.toString().size() > f->size())
        throw DbError(QStringLiteral("%1: текстът е по-дълъг от %2 знака.")
                          .arg(f->displayLabel.isEmpty() ? f->fieldName() : f->displayLabel).arg(f->size()));
    QVariant& slot = d->editBuffer.values[f->slot_];
    if (FieldValues::equal(slot, value, f->type()) && slot.typeId() == value.typeId()) return;
    slot = value;
    modified_ = true;
    calculate(d->editBuffer);
    const int pos = state_ == State::Insert ? d->insertAt : cursor_;
    if (!controlsDisabled_) emit rowChanged(pos);
}

QVariant SmpDataset::valueAt(int position, const SmpField* field) const
{
    if (field->kind() == SmpField::Kind::Aggregate) return fieldValue(field);
    if (state_ == State::Insert) {
        if (position == d->insertAt) return fieldValueIn(field, d->editBuffer);
        if (position > d->insertAt) --position;
    } else if (state_ == State::Edit && position == cursor_) {
        return fieldValueIn(field, d->editBuffer);
    }
    if (position < 0 || position >= view_.size()) return {};
    return fieldValueIn(field, d->rows[size_t(view_[position])]);
}

int SmpDataset::insertPosition() const { return state_ == State::Insert ? d->insertAt : -1; }

QString SmpDataset::displayTextAt(int position, const SmpField* field) const
{
    return SmpField::formatValue(valueAt(position, field), field->type(), field->displayFormat);
}

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

    std::vector<Row> rows;
    QVector<DbColumn> columns;
    connection_->forEachRow(sql, params, [&](const DbRow& values) { rows.push_back(Row{values, {}, {}, false, 0}); }, &columns);

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
    if (extra > 0)  // resizing a row that shares the fetch buffer would copy it
        for (Row& r : rows) r.values.resize(width);

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
            if (p.status != Row::Status::Inserted) {
                QString k;
                for (const auto& [f, slot] : std::as_const(keys))
                    FieldValues::appendKeyText(k, f->slot_ >= 0 && f->slot_ < p.original.size() ? p.original[f->slot_] : QVariant(), f->type());
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
        if (d->calcReadsAggregate) {
            recomputeAggregates();
            calculateAll(true);
        }
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
        if (!FieldValues::isIdentifier(f)) throw DbError(QStringLiteral("Невалидно поле: %1").arg(f));
    if (master_) master_->d->details << this;
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
    if (master_ && master_->isActive())
        for (int i = 0; i < detailFields_.size(); ++i)
            if (SmpField* f = findField(detailFields_[i])) f->setValue(master_->fieldByName(masterFields_[i])->value());
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
        const Row before{r.values, {}, {}, false, 0};
        r.values = d->editBuffer.values;
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
    // In browse state a cancel settles a change the server refused: it is dropped.
    if (isActive() && changeCount() > 0) cancelUpdates();
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
    if (r->status == Row::Status::Inserted) {  // never stored: it simply goes
        r->status = Row::Status::Deleted;
        r->changeSeq = 0;
    } else {
        if (r->status == Row::Status::Unchanged) r->original = r->values.mid(0, d->columns.size());
        r->status = Row::Status::Deleted;
        r->changeSeq = ++d->changeSeq;
    }
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
        for (int i = 0; i < d->columns.size() && i < r.original.size(); ++i) m.insert(d->columns[i].name, r.original[i]);
        out << m;
    }
    return out;
}

int SmpDataset::changeCount() const
{
    int n = 0;
    for (const Row& r : d->rows)
        if (r.changeSeq != 0 && r.status != Row::Status::Unchanged) ++n;
    return n;
}

void SmpDataset::cancelUpdates()
{
    checkBrowseMode();
    const QVariantList key = currentKey();
    std::vector<Row> kept;
    kept.reserve(d->rows.size());
    for (Row& r : d->rows) {
        const bool neverStored = r.status == Row::Status::Inserted ||
                                 (r.status == Row::Status::Deleted && r.original.isEmpty());
        if (neverStored) continue;
        if (r.status == Row::Status::Modified || r.status == Row::Status::Deleted) {
            const int cols = int(r.original.size());
            for (int i = 0; i < cols; ++i) r.values[i] = r.original[i];
            r.original.clear();
            r.status = Row::Status::Unchanged;
            r.changeSeq = 0;
            calculate(r);
        }
        kept.push_back(std::move(r));
    }
    d->rows = std::move(kept);
    rebuildView(key);
    emit dataReset();
    notifyScroll();
}

// ---- applying -------------------------------------------------------------------------------

void SmpDataset::applyUpdates()
{
    checkBrowseMode();
    if (scratch_) return;  // a scratch list never reaches its table
    if (changeCount() == 0) return;
    if (readOnly_) throw DbError(QStringLiteral("%1 е само за четене; промените не се записват.").arg(name_));
    const QString table = !updateTable_.isEmpty() ? updateTable_ : !tableName_.isEmpty() ? tableName_ : [&] {
        for (const DbColumn& c : std::as_const(d->columns))
            if (!c.relation.isEmpty()) return c.relation;
        return QString();
    }();
    if (table.isEmpty() || !FieldValues::isIdentifier(table))
        throw DbError(QStringLiteral("%1: не е известна таблицата за запис.").arg(name_));

    // Columns of that table, by slot.
    QList<QPair<int, QString>> cols;
    for (int i = 0; i < d->columns.size(); ++i) {
        const DbColumn& c = d->columns[i];
        const bool ofTable = tableName_.isEmpty() ? c.relation.compare(table, Qt::CaseInsensitive) == 0 : true;
        const QString column = c.field.isEmpty() ? c.name : c.field;
        if (ofTable && FieldValues::isIdentifier(column)) cols << qMakePair(i, column);
    }
    const QStringList pk = keyFieldNames();

    std::vector<Row*> pending;
    for (Row& r : d->rows)
        if (r.changeSeq != 0 && r.status != Row::Status::Unchanged && !r.awaiting) pending.push_back(&r);
    if (pending.empty()) return;  // applied already, waiting for the transaction's outcome
    std::sort(pending.begin(), pending.end(), [](const Row* a, const Row* b) { return a->changeSeq < b->changeSeq; });

    auto whereAll = [&](const Row& r, SqlParams& p) {
        QStringList terms;
        for (const auto& [slot, column] : cols) {
            const DbColumn& c = d->columns[slot];
            if (c.sqlType == 520 /* SQL_BLOB */) continue;
            const QVariant& v = r.original[slot];
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
            if (r->status == Row::Status::Inserted) {
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
                applied->push_back({r->changeSeq, r->values});
                r->awaiting = true;
                if (!returning.isEmpty()) {
                    const QVariantMap out = connection_->executeReturning(
                        sql + QStringLiteral(" returning ") + returning.join(QStringLiteral(", ")), p);
                    for (const auto& [slot, column] : cols)
                        if (out.contains(column.toUpper())) r->values[slot] = out.value(column.toUpper());
                    readBack = true;
                } else {
                    connection_->execute(sql, p);
                }
            } else if (r->status == Row::Status::Modified) {
                QStringList sets;
                for (const auto& [slot, column] : cols) {
                    const QVariant& now = r->values[slot];
                    const QVariant& was = r->original[slot];
                    if (now == was && isNull(now) == isNull(was)) continue;
                    sets << column + QStringLiteral(" = :V%1").arg(slot);
                    p.insert(QStringLiteral("V%1").arg(slot), now);
                }
                applied->push_back({r->changeSeq, {}});
                r->awaiting = true;
                if (sets.isEmpty()) continue;
                const QString where = whereAll(*r, p);
                const int n = connection_->execute(QStringLiteral("update %1 set %2 where %3")
                                                       .arg(table, sets.join(QStringLiteral(", ")), where), p);
                if (n != 1) throw DbError(QString(), kConflictCode);
            } else if (r->status == Row::Status::Deleted) {
                applied->push_back({r->changeSeq, {}});
                r->awaiting = true;
                const QString where = whereAll(*r, p);
                const int n = connection_->execute(QStringLiteral("delete from %1 where %2").arg(table, where), p);
                if (n != 1) throw DbError(QString(), kConflictCode);
            }
        }
        failed = nullptr;
        if (readBack) {
            invalidateIndexes();
            d->aggregatesValid = false;
        }
        tx.commit();
    } catch (const DbError& e) {
        // Leaving the scope rolled the transaction back and so put the applied rows back to pending.
        if (failed && (failed->status == Row::Status::Modified || failed->status == Row::Status::Deleted) &&
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
        if (!outerScope) refresh();
        throw DbError(QStringLiteral("Записът е променен или изтрит от друг потребител. Списъкът е обновен и "
                                     "промяната не е записана !"),
                      kConflictCode);
    }
    if (readBack && !controlsDisabled_) emit dataReset();
}

// The outcome of the transaction that applied these rows.
void SmpDataset::settleApplied(const std::vector<Applied>& applied, bool committed)
{
    QHash<quint64, const DbRow*> bySeq;
    for (const Applied& a : applied) bySeq.insert(a.seq, &a.before);
    bool removed = false, restored = false;
    for (Row& r : d->rows) {
        if (!r.awaiting) continue;
        const auto it = bySeq.constFind(r.changeSeq);
        if (it == bySeq.cend()) continue;
        r.awaiting = false;
        if (committed) {
            removed = removed || r.status == Row::Status::Deleted;
            r.status = r.status == Row::Status::Deleted ? Row::Status::Deleted : Row::Status::Unchanged;
            r.original.clear();
            r.changeSeq = 0;
        } else if (r.status == Row::Status::Inserted && !it.value()->isEmpty()) {
            r.values = *it.value();  // keys and defaults read back were never stored
            restored = true;
        }
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

// ---- aggregates -----------------------------------------------------------------------------

void SmpDataset::recomputeAggregates()
{
    for (Aggregate& a : d->aggregates) {
        a.sum = 0;
        a.units = 0;
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
            if (a.func == u"SUM") a.units += toSumUnits(x);
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
            a.units += sign * toSumUnits(v.toDouble());
        };
        apply(removed, -1);
        apply(added, +1);
    }
}
