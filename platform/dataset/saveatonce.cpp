#include "platform/dataset/saveatonce.h"

#include "platform/dataset/smpdataset.h"

#include <QPointer>

void SaveAtOnce::apply(SmpDataset& dataset, const QList<SmpDataset*>& dependants)
{
    dataset.applyLastChange();
    dataset.refresh();
    for (SmpDataset* d : dependants)
        if (d && d->isActive()) d->refresh();
}

void SaveAtOnce::install(SmpDataset& dataset, const QList<SmpDataset*>& dependants)
{
    QList<QPointer<SmpDataset>> deps;
    for (SmpDataset* d : dependants) deps << d;
    const auto handler = [deps](SmpDataset& ds) {
        QList<SmpDataset*> live;
        for (const auto& p : deps)
            if (p) live << p.data();
        apply(ds, live);
    };
    dataset.afterPost = handler;
    dataset.afterDelete = handler;
}
