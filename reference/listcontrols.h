#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

class DataSource;
class DBGrid;
class DBNavigator;
class DBText;
class Form;
class QToolButton;
class QWidget;
class SmpDataset;
class SQLConnection;

// What the tabs of the reference data window share: bound controls over the window's lists, one
// data source per dataset, the guarded delete of a list row and the way the small editors open.
class ListControls
{
public:
    ListControls(QWidget& owner, SQLConnection& db) : owner_(owner), db_(db) {}

    DataSource* sourceFor(SmpDataset& dataset);
    DBGrid* grid(const char* name, SmpDataset& dataset, const QList<QPair<QString, QString>>& columns, bool readOnly);
    DBNavigator* navigator(const char* name, SmpDataset& dataset);
    DBText* text(const char* name, SmpDataset& dataset, const char* field);
    // The tab's "Изход": closes the window the tab is in.
    QToolButton* exitButton(const char* name);

    // Why the row with this key cannot be deleted; empty when it can (a data-layer function).
    using DeleteRefusal = QString (*)(SQLConnection&, const QVariant&);
    // The checks before deleting the current row of a list a data function deletes: an empty list
    // and a refusal are told, and the user confirms. The row's key, or a null one when it stays.
    QVariant keyToDelete(SmpDataset& list, const QString& keyField, DeleteRefusal refusal,
                         const QString& emptyMessage, const QString& question);
    // The guarded delete of the current row of a small list: a pending edit is cancelled first.
    void deleteRow(SmpDataset& dataset, DeleteRefusal refusal, const QString& keyField, const QString& question);
    // Opens a small editor on a new row (appended) or on the current row.
    static void openEditor(Form* editor, SmpDataset& dataset, bool isNew, const QString& emptyMessage);

private:
    QWidget& owner_;
    SQLConnection& db_;
    QHash<SmpDataset*, DataSource*> sources_;
};
