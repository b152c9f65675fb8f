#include "platform/dataset/smpdataset.h"

#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/namedparams.h"
#include "platform/db/transaction.h"

#include <QRegularExpression>
#include <QTimeZone>

#include <algorithm>

// ---- rows and internals ---------------------------------------------------------------------

struct SmpDataset::Row
{
    enum class Status : quint8 { Unchanged, Inserted, Modified, Deleted };
    DbRow values;    // one slot per column read, then one per calculated field
    DbRow original;  // the column values as read, kept once the row is changed
    Status status = Status::Unchanged;
    quint64 changeSeq = 0;
};

namespace {

struct FilterTerm
{
    QString field;
    QString op;
    QVariant value;
};

struct Aggregate
{
    SmpField* field;
    QString func;    // SUM COUNT MIN MAX
    QString source;  // field name, or "*"
    double sum = 0;
    qint64 count = 0;
};

QStringList splitFields(const QString& s)
{
    QStringList out;
    for (const QString& p : s.split(u';', Qt::SkipEmptyParts))
        if (!p.trimmed().isEmpty()) out << p.trimmed();
    return out;
}

bool isNull(const QVariant& v) { return !v.isValid() || v.isNull(); }

bool isNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool: return true;
    default: return false;
    }
}

// Orders values the way a user expects: nulls first, numbers as numbers, text as text.
int compareValues(const QVariant& a, const QVariant& b)
{
    const bool an = isNull(a), bn = isNull(b);
    if (an || bn) return an == bn ? 0 : (an ? -1 : 1);
    if (isNumber(a) || isNumber(b)) {
        bool oka = false, okb = false;
        const double x = a.toDouble(&oka), y = b.toDouble(&okb);
        if (oka && okb) return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.typeId() == QMetaType::QDateTime || b.typeId() == QMetaType::QDateTime) {
        const QDateTime x = a.toDateTime(), y = b.toDateTime();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return QString::compare(a.toString(), b.toString());
}

QVariant coerce(const QVariant& v, SmpField::Type type)
{
    if (isNull(v)) return {};
    switch (type) {
    case SmpField::Type::Integer:
    case SmpField::Type::Bool:
        if (v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty()) return {};
        return v.typeId() == QMetaType::Int ? v : QVariant(v.toLongLong());
    case SmpField::Type::Float:
        if (v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty()) return {};
        return QVariant(v.toDouble());
    case SmpField::Type::String:
    case SmpField::Type::Text: return QVariant(v.toString());
    case SmpField::Type::DateTime:
        if (v.typeId() == QMetaType::QDate) return QDateTime(v.toDate(), QTime(0, 0), Qt::UTC);
        return v.toDateTime();
    case SmpField::Type::Bytes: return QVariant(v.toByteArray());
    }
    return v;
}

// One text per key so that 5, 5.0 and "5" find the same row.
void appendKeyPart(QString& key, const QVariant& v)
{
    if (isNull(v)) key += QStringLiteral("\x1fN");
    else if (isNumber(v)) key += u'\x1f' + QString::number(v.toDouble(), 'g', 17);
    else if (v.typeId() == QMetaType::QDateTime || v.typeId() == QMetaType::QDate)
        key += u'\x1f' + v.toDateTime().toString(Qt::ISODateWithMs);
    else {
        bool ok = false;
        const double d = v.toString().toDouble(&ok);
        key += u'\x1f' + (ok ? QString::number(d, 'g', 17) : v.toString());
    }
}

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

const QRegularExpression& identifier()
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z][A-Za-z0-9_$]*$"));
    return re;
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
    QList<FilterTerm> filter;
    QList<Aggregate> aggregates;
    bool aggregatesValid = false;
    QList<SmpDataset*> details;
    // Lazily built indexes over the visible rows: field list -> key -> view position.
    mutable QHash<QString, QHash<QString, int>> indexes;
    QStringList primaryKey;
    bool primaryKeyRead = false;
    QList<SmpField*> autoFields;  // data fields made from the columns at open
    // Master links that a statement does not take as parameters: its rows are matched here.
    QList<int> clientLinks;
};

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
    if (!identifier().match(table).hasMatch()) throw DbError(QStringLiteral("Невалидно име на таблица: %1").arg(table));
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
        const int pos = lk->rowIndexOfKey(QVariantList{QVariant(f->lookupKeyFields), QVariant(values)});
        if (pos < 0) return {};
        const SmpField* rf = lk->findField(f->lookupResultField);
        return rf ? lk->fieldValueIn(rf, lk->d->rows[size_t(lk->view_[pos])]) : QVariant();
    }
    case SmpField::Kind::Aggregate: {
        auto* self = const_cast<SmpDataset*>(this);
        if (!d->aggregatesValid) self->recomputeAggregates();
        for (const Aggregate& a : std::as_const(d->aggregates)) {
            if (a.field != f) continue;
            if (a.func == QLatin1String("COUNT")) return a.count;
            if (a.count == 0) return {};  // an aggregate over nothing stays empty
            return a.sum;
        }
        return {};
    }
    }
    return {};
}

QVariant SmpDataset::fieldValue(const SmpField* f) const
{
    if (f->kind() == SmpField::Kind::Aggregate) return isActive() ? fieldValueIn(f, Row{}) : QVariant();
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
        const_cast<Row*>(d->calcRow)->values[f->slot_] = coerce(v, f->type());
        return;
    }
    if (f->kind() == SmpField::Kind::Aggregate) throw DbError(QStringLiteral("Полето %1 е сума.").arg(f->name()));
    if (f->kind() == SmpField::Kind::Lookup) {
        // Choosing a lookup value writes the key it came from.
        SmpDataset* lk = f->lookupDataset;
        const QStringList keys = splitFields(f->keyFields), lkeys = splitFields(f->lookupKeyFields);
        if (!lk || keys.size() != lkeys.size()) return;
        if (isNull(v)) {
            for (const QString& k : keys) fieldByName(k)->setValue(QVariant());
            return;
        }
        if (!lk->locate(f->lookupResultField, {v})) return;
        for (int i = 0; i < keys.size(); ++i) fieldByName(keys[i])->setValue(lk->fieldByName(lkeys[i])->value());
        return;
    }
    if (state_ != State::Edit && state_ != State::Insert)
        throw DbError(QStringLiteral("%1 не е в режим на редакция.").arg(name_));
    if (f->slot_ < 0) throw DbError(QStringLiteral("%1 не е отворен.").arg(name_));
    const QVariant value = coerce(v, f->type());
    QVariant& slot = d->editBuffer.values[f->slot_];
    if (slot == value && isNull(slot) == isNull(value)) return;
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
    readRows();
    setState(State::Browse);
    rebuildView({});
    cursor_ = -1;
    if (afterOpen) afterOpen(*this);
    emit dataReset();
    setCurrent(view_.isEmpty() ? -1 : 0);
    bof_ = true;
    eof_ = view_.isEmpty();
    notifyScroll();
}

void SmpDataset::readRows()
{
    QString sql;
    SqlParams params = params_;
    if (!tableName_.isEmpty()) {
        sql = QStringLiteral("select * from ") + tableName_;
        QStringList where;
        if (scratch_) where << QStringLiteral("1 = 0");
        if (master_ && !scratch_) {
            for (int i = 0; i < detailFields_.size(); ++i) {
                const QString p = QStringLiteral("MASTER_%1").arg(i);
                const QVariant mv = master_->isActive() && !master_->isEmpty()
                                        ? master_->fieldByName(masterFields_[i])->value()
                                        : QVariant();
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
        d->clientLinks.clear();
        if (master_) {
            const QStringList used = parseNamedParameters(commandText_).names;
            for (int i = 0; i < masterFields_.size(); ++i) {
                if (!params.contains(masterFields_[i].toUpper()))
                    params.insert(masterFields_[i].toUpper(),
                                  master_->isActive() ? master_->fieldByName(masterFields_[i])->value() : QVariant());
                if (!used.contains(masterFields_[i].toUpper())) d->clientLinks << i;
            }
        }
        if (scratch_) sql = QStringLiteral("select * from (") + sql + QStringLiteral(") where 1 = 0");
    }

    std::vector<Row> rows;
    QVector<DbColumn> columns;
    int extra = 0;
    connection_->forEachRow(sql, params, [&](const DbRow& values) { rows.push_back(Row{values, {}, {}, 0}); }, &columns);

    // Data fields: those defined, or one per column when none is defined (kept across re-opens so
    // that bound controls keep their fields); the other defined fields follow them.
    const bool definesData = std::any_of(definedFields_.cbegin(), definedFields_.cend(),
                                         [](const SmpField* f) { return f->kind() == SmpField::Kind::Data; });
    if (!definesData) {
        QList<SmpField*> autoFields;
        for (const DbColumn& c : std::as_const(columns)) {
            SmpField* f = nullptr;
            for (SmpField* old : std::as_const(d->autoFields))
                if (old->fieldName().compare(c.name, Qt::CaseInsensitive) == 0) f = old;
            if (f) d->autoFields.removeOne(f);
            else f = new SmpField(this, c.name, SmpField::Kind::Data, typeOf(c), int(c.length));
            autoFields << f;
        }
        qDeleteAll(d->autoFields);
        d->autoFields = autoFields;
        fieldList_ = autoFields + definedFields_;
    } else {
        fieldList_ = definedFields_;
    }
    for (int i = 0; i < fieldList_.size(); ++i) {
        SmpField* f = fieldList_[i];
        if (f->kind() == SmpField::Kind::Data) {
            f->slot_ = -1;
            for (int c = 0; c < columns.size(); ++c)
                if (columns[c].name.compare(f->fieldName(), Qt::CaseInsensitive) == 0) f->slot_ = c;
            if (f->slot_ < 0) throw DbError(QStringLiteral("%1: полето %2 не е намерено.").arg(name_, f->fieldName()));
            if (f->size() == 0 && (f->type() == SmpField::Type::String)) f->size_ = int(columns[f->slot_].length);
        } else if (f->kind() == SmpField::Kind::Calculated || f->kind() == SmpField::Kind::InternalCalc) {
            f->slot_ = int(columns.size()) + extra++;
        }
    }
    if (extra > 0)
        for (Row& r : rows) r.values.resize(columns.size() + extra);
    d->rows = std::move(rows);
    d->columns = std::move(columns);
    d->calcSlots = extra;
    d->editBuffer = Row{};
    modified_ = false;
    calculateAll();
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
    for (SmpDataset* detail : std::as_const(d->details))
        if (detail->isActive()) detail->masterScrolled();
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

void SmpDataset::calculateAll()
{
    if (!onCalcFields) return;
    for (Row& r : d->rows) calculate(r);
}

// ---- view: filter, order, master ------------------------------------------------------------

void SmpDataset::setFilter(const QString& filter)
{
    static const QRegularExpression term(
        QStringLiteral("^\\s*([A-Za-z_][A-Za-z0-9_$]*)\\s*(<>|>=|<=|=|>|<)\\s*('(?:[^']|'')*'|[-+]?[0-9]*\\.?[0-9]+)\\s*$"));
    static const QRegularExpression andSplit(QStringLiteral("\\s+and\\s+"), QRegularExpression::CaseInsensitiveOption);
    QList<FilterTerm> terms;
    if (!filter.trimmed().isEmpty()) {
        for (const QString& part : filter.split(andSplit)) {
            const auto m = term.match(part);
            if (!m.hasMatch()) throw DbError(QStringLiteral("Невалиден филтър: %1").arg(filter));
            QString v = m.captured(3);
            QVariant value;
            if (v.startsWith(u'\'')) value = v.mid(1, v.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
            else value = v.toDouble();
            terms << FilterTerm{m.captured(1), m.captured(2), value};
        }
    }
    filterText_ = filter;
    d->filter = terms;
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
    for (const FilterTerm& t : d->filter) {
        const SmpField* f = findField(t.field);
        if (!f) return false;
        const QVariant v = fieldValueIn(f, row);
        if (isNull(v)) return false;
        const int c = compareValues(v, t.value);
        const bool ok = t.op == u"=" ? c == 0 : t.op == u"<>" ? c != 0 : t.op == u">" ? c > 0 : t.op == u"<" ? c < 0
                        : t.op == u">=" ? c >= 0 : c <= 0;
        if (!ok) return false;
    }
    return true;
}

bool SmpDataset::passesMaster(const Row& row) const
{
    // Rows read are the master's already, unless the statement does not take a link as a
    // parameter; rows added here may belong to another master row.
    if (!master_) return true;
    const bool inserted = row.status == Row::Status::Inserted;
    if (!inserted && d->clientLinks.isEmpty()) return true;
    if (!master_->isActive()) return inserted;  // no master row: none of the rows read is its
    for (int i = 0; i < detailFields_.size(); ++i) {
        if (!inserted && !d->clientLinks.contains(i)) continue;
        const SmpField* f = findField(detailFields_[i]);
        if (f && compareValues(fieldValueIn(f, row), master_->fieldByName(masterFields_[i])->value()) != 0) return false;
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
        QList<QPair<const SmpField*, bool>> keys;
        for (const QString& o : order) {
            const QStringList parts = o.split(u' ', Qt::SkipEmptyParts);
            const SmpField* f = findField(parts.value(0));
            if (!f) throw DbError(QStringLiteral("%1: няма поле %2 за подреждане.").arg(name_, parts.value(0)));
            keys << qMakePair(f, parts.value(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0);
        }
        std::stable_sort(view_.begin(), view_.end(), [&](int a, int b) {
            for (const auto& k : keys) {
                const int c = compareValues(fieldValueIn(k.first, d->rows[size_t(a)]), fieldValueIn(k.first, d->rows[size_t(b)]));
                if (c != 0) return k.second ? c > 0 : c < 0;
            }
            return false;
        });
    }
    invalidateIndexes();
    d->aggregatesValid = false;
    int pos = view_.isEmpty() ? -1 : 0;
    if (!key.isEmpty()) {
        const QStringList kf = keyFieldNames();
        const int found = rowIndexOfKey(QVariantList{QVariant(kf.join(u';')), QVariant(key)});
        if (found >= 0) pos = found;
        else if (cursor_ >= 0) pos = qMin(cursor_, int(view_.size()) - 1);
    }
    cursor_ = pos;
    bof_ = pos <= 0;
    eof_ = view_.isEmpty();
}

void SmpDataset::invalidateIndexes() { d->indexes.clear(); }

// The lookup key is passed as {field list, values}; the index over the visible rows is built once.
int SmpDataset::rowIndexOfKey(const QVariantList& fieldsAndValues) const
{
    const QString fieldList = fieldsAndValues.value(0).toString();
    const QVariantList values = fieldsAndValues.value(1).toList();
    auto it = d->indexes.find(fieldList.toUpper());
    if (it == d->indexes.end()) {
        const QStringList names = splitFields(fieldList);
        QList<const SmpField*> fs;
        for (const QString& n : names) {
            const SmpField* f = findField(n);
            if (!f) return -1;
            fs << f;
        }
        QHash<QString, int> index;
        index.reserve(view_.size());
        // Backwards, so that among equal keys the first row wins.
        for (int pos = int(view_.size()) - 1; pos >= 0; --pos) {
            QString k;
            for (const SmpField* f : fs) appendKeyPart(k, fieldValueIn(f, d->rows[size_t(view_[pos])]));
            index.insert(k, pos);
        }
        it = d->indexes.insert(fieldList.toUpper(), index);
    }
    QString k;
    for (const QVariant& v : values) appendKeyPart(k, v);
    return it->value(k, -1);
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
        if (!identifier().match(f).hasMatch()) throw DbError(QStringLiteral("Невалидно поле: %1").arg(f));
    if (master_) master_->d->details << this;
}

void SmpDataset::masterScrolled()
{
    if (!isActive()) return;
    checkBrowseMode();
    if (changeCount() > 0) applyUpdates();
    readRows();
    rebuildView({});
    emit dataReset();
    setCurrent(view_.isEmpty() ? -1 : 0);
    bof_ = true;
    notifyScroll();
}

// ---- cursor ---------------------------------------------------------------------------------

void SmpDataset::setCurrent(int position)
{
    const int old = cursor_;
    cursor_ = position;
    if (old != position) notifyScroll();
}

void SmpDataset::notifyScroll()
{
    if (!controlsDisabled_) emit currentChanged(cursor_);
    if (afterScroll && isActive()) afterScroll(*this);
    for (SmpDataset* detail : std::as_const(d->details))
        if (detail->isActive()) detail->masterScrolled();
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
    const int pos = rowIndexOfKey(QVariantList{QVariant(fields), QVariant(values)});
    if (pos < 0) return false;
    bof_ = eof_ = false;
    setCurrent(pos);
    return true;
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
        const int pos = std::clamp(d->insertAt, 0, int(view_.size()));
        view_.insert(pos, int(d->rows.size()) - 1);
        cursor_ = pos;
        invalidateIndexes();
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
        const Row before{r.values, {}, {}, 0};
        r.values = d->editBuffer.values;
        invalidateIndexes();
        adjustAggregates(&before, &r);
        setState(State::Browse);
        if (!controlsDisabled_) emit rowChanged(cursor_);
    }
    d->editBuffer = Row{};
    modified_ = false;
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
        if (afterCancel) afterCancel(*this);
        return;
    }
    // In browse state a cancel settles a change the server refused: it is dropped.
    if (isActive() && changeCount() > 0) cancelUpdates();
}

void SmpDataset::checkBrowseMode()
{
    if (state_ == State::Edit || state_ == State::Insert) post();
}

void SmpDataset::remove()
{
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (state_ == State::Edit) cancel();
    Row* r = currentRow();
    if (!r) return;
    if (beforeDelete) beforeDelete(*this);
    const int pos = cursor_;
    adjustAggregates(r, nullptr);
    if (r->status == Row::Status::Inserted) {  // never stored: it simply goes
        r->status = Row::Status::Deleted;
        r->changeSeq = 0;
    } else {
        if (r->status == Row::Status::Unchanged) r->original = r->values.mid(0, d->columns.size());
        r->status = Row::Status::Deleted;
        r->changeSeq = ++d->changeSeq;
    }
    view_.removeAt(pos);
    invalidateIndexes();
    if (!controlsDisabled_) emit rowRemoved(pos);
    cursor_ = view_.isEmpty() ? -1 : qMin(pos, int(view_.size()) - 1);
    eof_ = view_.isEmpty();
    bof_ = cursor_ <= 0;
    if (afterDelete) afterDelete(*this);
    notifyScroll();
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
    if (table.isEmpty() || !identifier().match(table).hasMatch())
        throw DbError(QStringLiteral("%1: не е известна таблицата за запис.").arg(name_));

    // Columns of that table, by slot.
    QList<QPair<int, QString>> cols;
    for (int i = 0; i < d->columns.size(); ++i) {
        const DbColumn& c = d->columns[i];
        const bool ofTable = tableName_.isEmpty() ? c.relation.compare(table, Qt::CaseInsensitive) == 0 : true;
        const QString column = c.field.isEmpty() ? c.name : c.field;
        if (ofTable && identifier().match(column).hasMatch()) cols << qMakePair(i, column);
    }
    const QStringList pk = keyFieldNames();

    std::vector<Row*> pending;
    for (Row& r : d->rows)
        if (r.changeSeq != 0 && r.status != Row::Status::Unchanged) pending.push_back(&r);
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

    Row* failed = nullptr;
    try {
        TransactionScope tx(*connection_);
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
                QStringList returning;
                for (const QString& k : pk)
                    for (const auto& [slot, column] : cols)
                        if (column.compare(k, Qt::CaseInsensitive) == 0 && isNull(r->values[slot])) returning << column;
                if (!returning.isEmpty()) {
                    const QVariantMap out = connection_->executeReturning(
                        sql + QStringLiteral(" returning ") + returning.join(QStringLiteral(", ")), p);
                    for (const auto& [slot, column] : cols)
                        if (out.contains(column.toUpper())) r->values[slot] = out.value(column.toUpper());
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
                if (sets.isEmpty()) continue;
                const QString where = whereAll(*r, p);
                const int n = connection_->execute(QStringLiteral("update %1 set %2 where %3")
                                                       .arg(table, sets.join(QStringLiteral(", ")), where), p);
                if (n != 1) throw DbError(QString(), kConflictCode);
            } else if (r->status == Row::Status::Deleted) {
                const QString where = whereAll(*r, p);
                const int n = connection_->execute(QStringLiteral("delete from %1 where %2").arg(table, where), p);
                if (n != 1) throw DbError(QString(), kConflictCode);
            }
        }
        tx.commit();
    } catch (const DbError& e) {
        if (e.sqlCode() != kConflictCode) throw;
        // Someone else changed or removed the row: drop this change and show what is stored now.
        if (failed) {
            if (failed->status == Row::Status::Modified || failed->status == Row::Status::Deleted) {
                for (int i = 0; i < failed->original.size(); ++i) failed->values[i] = failed->original[i];
                failed->original.clear();
                failed->status = Row::Status::Unchanged;
                failed->changeSeq = 0;
            }
        }
        refresh();
        throw DbError(QStringLiteral("Записът е променен или изтрит от друг потребител. Списъкът е обновен и "
                                     "промяната не е записана !"),
                      kConflictCode);
    }
    // Stored: the rows are as read now.
    const QVariantList key = currentKey();
    std::vector<Row> kept;
    kept.reserve(d->rows.size());
    for (Row& r : d->rows) {
        if (r.status == Row::Status::Deleted) continue;
        r.status = Row::Status::Unchanged;
        r.original.clear();
        r.changeSeq = 0;
        kept.push_back(std::move(r));
    }
    const bool removed = kept.size() != d->rows.size();
    d->rows = std::move(kept);
    if (removed) {
        rebuildView(key);
        emit dataReset();
    }
}

void SmpDataset::refresh()
{
    if (!isActive()) return;
    checkBrowseMode();
    const Row* cur = currentRow();
    const QVariantList key = cur ? keyOf(*cur) : QVariantList();
    const QStringList kf = keyFieldNames();

    // Pending changes survive the re-read: they replace the fresh copy of their row.
    std::vector<Row> pending;
    for (Row& r : d->rows)
        if (r.changeSeq != 0 && r.status != Row::Status::Unchanged) pending.push_back(std::move(r));
    readRows();
    if (!pending.empty()) {
        QHash<QString, size_t> byKey;
        QList<const SmpField*> kfs;
        for (const QString& k : kf) kfs << findField(k);
        for (size_t i = 0; i < d->rows.size(); ++i) {
            QString k;
            for (const SmpField* f : kfs) appendKeyPart(k, fieldValueIn(f, d->rows[i]));
            byKey.insert(k, i);
        }
        for (Row& p : pending) {
            if (p.status != Row::Status::Inserted) {
                QString k;
                for (const SmpField* f : kfs) appendKeyPart(k, f->slot_ < p.original.size() ? p.original[f->slot_] : QVariant());
                auto it = byKey.constFind(k);
                if (it != byKey.cend()) {
                    d->rows[it.value()] = std::move(p);
                    continue;
                }
            }
            d->rows.push_back(std::move(p));
        }
    }
    cursor_ = -1;
    rebuildView({});
    if (!key.isEmpty()) {
        const int pos = rowIndexOfKey(QVariantList{QVariant(kf.join(u';')), QVariant(key)});
        if (pos >= 0) cursor_ = pos;
    }
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
            if (a.func == u"SUM") a.sum += x;
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
            a.sum += sign * v.toDouble();
        };
        apply(removed, -1);
        apply(added, +1);
    }
}
