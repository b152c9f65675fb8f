#pragma once

#include <QList>

class SmpDataset;

// Every edit is stored at once: after each post and delete that change is applied, the dataset is
// re-read and so are the datasets that show what it holds. When the server refuses the change its
// error goes on to the error report; the row stays in the list as the user left it, still pending,
// until it is posted again (and so retried) or cancelled on that row. It never holds up the edits
// of other rows.
namespace SaveAtOnce {

void apply(SmpDataset& dataset, const QList<SmpDataset*>& dependants = {});
// Makes apply() the dataset's after-post and after-delete handler.
void install(SmpDataset& dataset, const QList<SmpDataset*>& dependants = {});

} // namespace SaveAtOnce
