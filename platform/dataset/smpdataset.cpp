// Construction, fields and values of the cached dataset; its other parts are in dataset*.cpp.
#include "platform/dataset/smpdataset_p.h"

#include "platform/db/dberror.h"

#include <QRegularExpression>

using DatasetDetail::Aggregate;
using FieldValues::isNull;
using FieldValues::splitFields;

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
    if (!SqlLex::isIdentifier(table)) throw DbError(QStringLiteral("Невалидно име на таблица: %1").arg(table));
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
                                     const QString& lookupKeyFields, const QString& resultField, SmpField::Type type)
{
    SmpField* f = addField(name, SmpField::Kind::Lookup, type, 0);
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
    {
        if (f->slot_ < 0 || f->slot_ >= row.values.size()) return {};
        QVariant v = row.values[f->slot_];
        return DatasetDetail::isUnread(v) ? readUnread(f, row) : v;
    }
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
            if (a.func == QLatin1String("SUM")) return DatasetDetail::sumOf(a);
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
        const_cast<Row*>(d->calcRow)->values.set(f->slot_, stored);
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
        if (f->kind() == SmpField::Kind::Data && f->slot_ < d->columns.size()) FieldValues::checkFits(value, d->columns[f->slot_]);
    } catch (const DbError& e) {
        throw DbError(QStringLiteral("%1: %2").arg(f->displayLabel.isEmpty() ? f->fieldName() : f->displayLabel, e.message()));
    }
    const QVariant old = d->editBuffer.values[f->slot_];
    if (FieldValues::equal(old, value, f->type()) && old.typeId() == value.typeId()) return;
    d->editBuffer.values.set(f->slot_, value);
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
