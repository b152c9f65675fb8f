#include "reference/listcontrols.h"

#include "platform/dataset/smpdataset.h"
#include "platform/ui/form.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"

#include <QHeaderView>
#include <QToolButton>

DataSource* ListControls::sourceFor(SmpDataset& dataset)
{
    DataSource*& src = sources_[&dataset];
    if (!src) {
        src = new DataSource(&dataset, &owner_);
        src->setObjectName(QStringLiteral("DtSrc") + dataset.objectName().mid(3));
    }
    return src;
}

DBGrid* ListControls::grid(const char* name, SmpDataset& dataset, const QList<QPair<QString, QString>>& columns,
                           bool readOnly)
{
    auto* g = new DBGrid;
    g->setObjectName(QString::fromLatin1(name));
    g->setDataSource(sourceFor(dataset));
    // Each column as wide as its caption and no wider, so the small lists show every caption whole.
    for (const auto& [field, title] : columns)
        g->addColumn(field, title, qMax(30, g->fontMetrics().horizontalAdvance(title) + 12));
    g->setReadOnly(readOnly);
    if (readOnly) g->setRowSelect(true);
    g->horizontalHeader()->setStretchLastSection(true);
    return g;
}

DBNavigator* ListControls::navigator(const char* name, SmpDataset& dataset)
{
    auto* nav = new DBNavigator;
    nav->setObjectName(QString::fromLatin1(name));
    nav->setDataSource(sourceFor(dataset));
    nav->setButtons(DBNavigator::Prior | DBNavigator::Next | DBNavigator::Insert | DBNavigator::Delete |
                    DBNavigator::Edit | DBNavigator::Post | DBNavigator::Cancel | DBNavigator::Refresh);
    return nav;
}

DBText* ListControls::text(const char* name, SmpDataset& dataset, const char* field)
{
    auto* t = new DBText;
    t->setObjectName(QString::fromLatin1(name));
    t->setDataSource(sourceFor(dataset));
    t->setDataField(QString::fromLatin1(field));
    t->setFrameShape(QFrame::StyledPanel);
    t->setMinimumWidth(90);
    return t;
}

QToolButton* ListControls::exitButton(const char* name)
{
    QToolButton* exit = Handlers::makeButton(name, QStringLiteral("Изход"));
    QObject::connect(exit, &QToolButton::clicked, &owner_, [w = &owner_] { w->window()->close(); });
    return exit;
}

QVariant ListControls::keyToDelete(SmpDataset& list, const QString& keyField, DeleteRefusal refusal,
                                   const QString& emptyMessage, const QString& question)
{
    if (!list.isActive() || list.isEmpty()) {
        UiService::current().showMessage(emptyMessage);
        return {};
    }
    const QVariant key = list.value(keyField);
    if (const QString why = refusal(db_, key); !why.isEmpty()) {
        UiService::current().showMessage(why);
        return {};
    }
    if (!UiService::current().askYesNo(question)) return {};
    return key;
}

void ListControls::deleteRow(SmpDataset& dataset, DeleteRefusal refusal, const QString& keyField,
                             const QString& question)
{
    if (!dataset.isActive() || dataset.isEmpty()) return;
    // A refused delete leaves no half-edited row.
    if (dataset.state() == SmpDataset::State::Edit) dataset.cancel();
    if (dataset.state() == SmpDataset::State::Insert) {
        dataset.cancel();
        return;  // the new row was never stored: cancelling it is its deletion
    }
    if (const QString why = refusal(db_, dataset.value(keyField)); !why.isEmpty()) {
        UiService::current().showMessage(why);
        return;
    }
    if (!UiService::current().askYesNo(question)) return;
    dataset.remove();  // stored at once
}

void ListControls::openEditor(Form* editor, SmpDataset& dataset, bool isNew, const QString& emptyMessage)
{
    if (!editor) return;
    if (isNew) {
        if (!Handlers::run([&dataset] {
                dataset.open();
                dataset.append();
            }))
            return;
    } else if (!dataset.isActive() || dataset.isEmpty()) {
        UiService::current().showMessage(emptyMessage);
        return;
    }
    UiService::current().showModal(editor);
}
