#pragma once

#include <QList>

class SmpDataset;

// Every edit is stored at once: after each post and delete the dataset's pending changes are
// applied, the dataset is re-read and so are the datasets that show what it holds. When the server
// refuses the change its error goes on to the error report; the row stays in the list as the user
// left it, still pending, and the next post (or a cancel, which drops it) settles it.
namespace SaveAtOnce {

void apply(SmpDataset& dataset, const QList<SmpDataset*>& dependants = {});
// Makes apply() the dataset's after-post and after-delete handler.
void install(SmpDataset& dataset, const QList<SmpDataset*>& dependants = {});

} // namespace SaveAtOnce
