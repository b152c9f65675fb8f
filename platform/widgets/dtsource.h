#pragma once

#include "platform/dataset/smpdataset.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

// The link between one dataset and the controls that show it (the DtSrc… components). Controls
// connect to this object only, so a window can switch all of them to another dataset, or off, in
// one place. A disabled source, or one without a dataset, looks like a closed dataset.
class DataSource : public QObject
{
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr);
    explicit DataSource(SmpDataset* dataset, QObject* parent = nullptr);

    void setDataset(SmpDataset* dataset);
    SmpDataset* dataset() const { return dataset_; }
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }

    // The dataset while the source is enabled; nullptr otherwise.
    SmpDataset* boundDataset() const { return enabled_ ? dataset_.data() : nullptr; }
    // Inactive when disabled, without a dataset or closed.
    SmpDataset::State state() const;
    bool isActive() const { return state() != SmpDataset::State::Inactive; }
    bool isEditing() const;  // edit or insert mode

signals:
    // The source points at another dataset or was switched on or off: controls rebind and redraw.
    void datasetChanged();
    // The dataset's own notifications, passed on while the source is enabled.
    void dataReset();
    void rowChanged(int position);
    void rowInserted(int position);
    void rowRemoved(int position);
    void currentChanged(int position);
    void stateChanged();
    // A post is about to take the row: controls write what is still typed.
    void aboutToPost();
    // The current row is another one, the rows were reset, or the current row's values changed.
    void dataChange();

private:
    void connectDataset();
    void disconnectDataset();

    QPointer<SmpDataset> dataset_;
    bool enabled_ = true;
    QList<QMetaObject::Connection> connections_;
};
