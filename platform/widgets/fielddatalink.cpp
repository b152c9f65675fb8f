#include "platform/widgets/fielddatalink.h"

#include "platform/dataset/smpdataset.h"
#include "platform/db/dberror.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dtsource.h"

#include <exception>

FieldDataLink::FieldDataLink(QObject* parent) : QObject(parent) {}

void FieldDataLink::setDataSource(DataSource* source)
{
    if (source == source_) return;
    for (const QMetaObject::Connection& c : std::as_const(connections_)) disconnect(c);
    connections_.clear();
    source_ = source;
    if (source) {
        connections_ << connect(source, &DataSource::datasetChanged, this, [this] { notify(Change::Record); });
        connections_ << connect(source, &DataSource::dataReset, this, [this] { notify(Change::Record); });
        connections_ << connect(source, &DataSource::currentChanged, this, [this] { notify(Change::Record); });
        connections_ << connect(source, &DataSource::rowInserted, this, [this] { notify(Change::Record); });
        connections_ << connect(source, &DataSource::rowRemoved, this, [this] { notify(Change::Record); });
        connections_ << connect(source, &DataSource::stateChanged, this, [this] { notify(Change::State); });
        connections_ << connect(source, &DataSource::rowChanged, this, [this](int position) {
            // An aggregate follows every row; other fields only the current one.
            const SmpDataset* ds = dataset();
            if (ds && (position == ds->recNo() || (field_ && field_->kind() == SmpField::Kind::Aggregate)))
                notify(Change::Values);
        });
        connections_ << connect(source, &QObject::destroyed, this, [this] { notify(Change::Record); });
        connections_ << connect(source, &DataSource::aboutToPost, this, &FieldDataLink::aboutToPost);
    }
    notify(Change::Record);
}

void FieldDataLink::setFieldName(const QString& name)
{
    if (name == fieldName_) return;
    fieldName_ = name;
    notify(Change::Record);
}

SmpDataset* FieldDataLink::dataset() const
{
    SmpDataset* ds = source_ ? source_->boundDataset() : nullptr;
    return ds && ds->isActive() ? ds : nullptr;
}

SmpField* FieldDataLink::field() const { return dataset() ? field_ : nullptr; }

bool FieldDataLink::hasValue() const
{
    const SmpDataset* ds = dataset();
    if (!ds || !field_) return false;
    if (field_->kind() == SmpField::Kind::Aggregate) return true;
    return !ds->isEmpty() || ds->state() == SmpDataset::State::Insert;
}

bool FieldDataLink::isEditing() const
{
    const SmpDataset* ds = dataset();
    return ds && (ds->state() == SmpDataset::State::Edit || ds->state() == SmpDataset::State::Insert);
}

bool FieldDataLink::canModify() const { return dataset() && DbControls::isWritable(field_); }

bool FieldDataLink::edit()
{
    if (!canModify()) return false;
    if (isEditing()) return true;
    ++busy_;
    DbControls::guarded([this] { dataset()->edit(); });
    --busy_;
    return isEditing();
}

bool FieldDataLink::writeText(const QString& text)
{
    SmpField* f = field();
    if (!f) return false;
    bool ok = false;
    ++busy_;
    DbControls::guarded([&] { ok = f->setAsText(text); });
    --busy_;
    return ok;
}

bool FieldDataLink::writeValue(const QVariant& value)
{
    SmpField* f = field();
    if (!f) return false;
    ++busy_;
    const bool ok = DbControls::guarded([&] { f->setValue(value); });
    --busy_;
    return ok;
}

void FieldDataLink::resolve()
{
    SmpDataset* ds = source_ ? source_->boundDataset() : nullptr;
    field_ = ds && !fieldName_.isEmpty() ? ds->findField(fieldName_) : nullptr;
}

void FieldDataLink::notify(Change change)
{
    // Always looked up again: a dataset that makes its own fields replaces them when it opens,
    // and says so (stateChanged) before it resets its rows.
    resolve();
    if (busy_) return;
    emit changed(change);
}

FieldValidator::FieldValidator(Mode mode, QObject* parent) : QValidator(parent), mode_(mode) {}

QValidator::State FieldValidator::validate(QString& input, int& /*pos*/) const
{
    bool point = false;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        if (c >= u'0' && c <= u'9') continue;
        if (mode_ != Mode::Digits && c == u'-' && i == 0) continue;
        if (mode_ == Mode::Float && (c == u'.' || c == u',') && !point) {
            point = true;
            continue;
        }
        return Invalid;
    }
    return Acceptable;
}

FieldValidator* FieldValidator::forField(const SmpField* field, bool digitsOnly, QObject* parent)
{
    if (digitsOnly) return new FieldValidator(Mode::Digits, parent);
    if (!field) return nullptr;
    if (field->type() == SmpField::Type::Integer) return new FieldValidator(Mode::Integer, parent);
    if (field->type() == SmpField::Type::Float) return new FieldValidator(Mode::Float, parent);
    return nullptr;
}

bool DbControls::guarded(const std::function<void()>& operation)
{
    try {
        operation();
        return true;
    } catch (const DbError& e) {
        UiService::current().reportError(userText(e));
    } catch (const std::exception& e) {
        UiService::current().reportError(QString::fromUtf8(e.what()));
    }
    return false;
}

QString DbControls::invalidValueMessage(const SmpField* field, const QString& text)
{
    const QString quoted = u'„' + text + u'“';
    switch (field ? field->type() : SmpField::Type::String) {
    case SmpField::Type::Integer: return quoted + QStringLiteral(" не е валидно цяло число !");
    case SmpField::Type::Float: return quoted + QStringLiteral(" не е валидно число !");
    case SmpField::Type::DateTime: return quoted + QStringLiteral(" не е валидна дата !");
    default: return quoted + QStringLiteral(" не е валидна стойност !");
    }
}

bool DbControls::isWritable(const SmpField* field)
{
    return field && !field->readOnly &&
           (field->kind() == SmpField::Kind::Data || field->kind() == SmpField::Kind::InternalCalc);
}

int DbControls::shownRows(const SmpDataset* dataset)
{
    if (!dataset) return 0;
    return dataset->recordCount() + (dataset->insertPosition() >= 0 ? 1 : 0);
}
