#include "platform/widgets/dtsource.h"

DataSource::DataSource(QObject* parent) : QObject(parent) {}

DataSource::DataSource(SmpDataset* dataset, QObject* parent) : QObject(parent) { setDataset(dataset); }

void DataSource::setDataset(SmpDataset* dataset)
{
    if (dataset == dataset_) return;
    disconnectDataset();
    dataset_ = dataset;
    connectDataset();
    emit datasetChanged();
}

void DataSource::setEnabled(bool enabled)
{
    if (enabled == enabled_) return;
    enabled_ = enabled;
    emit datasetChanged();
}

SmpDataset::State DataSource::state() const
{
    const SmpDataset* ds = boundDataset();
    return ds ? ds->state() : SmpDataset::State::Inactive;
}

bool DataSource::isEditing() const
{
    const SmpDataset::State s = state();
    return s == SmpDataset::State::Edit || s == SmpDataset::State::Insert;
}

void DataSource::connectDataset()
{
    SmpDataset* ds = dataset_;
    if (!ds) return;
    connections_ << connect(ds, &QObject::destroyed, this, [this] {
        disconnectDataset();
        emit datasetChanged();
    });
    connections_ << connect(ds, &SmpDataset::dataReset, this, [this] {
        if (!enabled_) return;
        emit dataReset();
        emit dataChange();
    });
    connections_ << connect(ds, &SmpDataset::rowChanged, this, [this](int position) {
        if (!enabled_) return;
        emit rowChanged(position);
        if (dataset_ && position == dataset_->recNo()) emit dataChange();
    });
    connections_ << connect(ds, &SmpDataset::rowInserted, this, [this](int position) {
        if (enabled_) emit rowInserted(position);
    });
    connections_ << connect(ds, &SmpDataset::rowRemoved, this, [this](int position) {
        if (enabled_) emit rowRemoved(position);
    });
    connections_ << connect(ds, &SmpDataset::currentChanged, this, [this](int position) {
        if (!enabled_) return;
        emit currentChanged(position);
        emit dataChange();
    });
    connections_ << connect(ds, &SmpDataset::aboutToPost, this, [this] {
        if (enabled_) emit aboutToPost();
    });
    connections_ << connect(ds, &SmpDataset::stateChanged, this, [this] {
        if (enabled_) emit stateChanged();
    });
}

void DataSource::disconnectDataset()
{
    for (const QMetaObject::Connection& c : std::as_const(connections_)) disconnect(c);
    connections_.clear();
}
