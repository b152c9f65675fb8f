#include "salesinfo/infocontrols.h"

#include "common/gridexport.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/filterdateedit.h"

#include <QAbstractItemModel>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpressionValidator>

using namespace Qt::StringLiterals;

namespace InfoControls {

DBGrid* grid(const char* name, SmpDataset& ds, QObject* owner)
{
    auto* g = new DBGrid;
    g->setObjectName(QString::fromLatin1(name));
    g->setDataSource(new DataSource(&ds, owner));
    g->setReadOnly(true);
    g->setRowSelect(true);
    return g;
}

QDateEdit* datePicker(const char* name)
{
    auto* d = new QDateEdit;
    d->setObjectName(QString::fromLatin1(name));
    d->setCalendarPopup(true);
    d->setDisplayFormat(u"dd.MM.yyyy"_s);
    return d;
}

FilterDateEdit* periodDate(const char* name)
{
    auto* d = new FilterDateEdit(QDate());
    d->setObjectName(QString::fromLatin1(name));
    return d;
}

void keepWidths(DBGrid* grid, int others, const QList<std::pair<const char*, int>>& widths)
{
    grid->horizontalHeader()->setDefaultSectionSize(others);
    const auto apply = [grid, widths] {
        for (const auto& [field, width] : widths)
            if (const int c = grid->columnOfField(QString::fromLatin1(field)); c >= 0) grid->setColumnWidth(c, width);
    };
    QObject::connect(grid->model(), &QAbstractItemModel::modelReset, grid, apply);
    apply();
}

QLineEdit* digitsBox(const char* name, int width)
{
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), e));
    e->setMaximumWidth(width);
    return e;
}

void exportList(SmpDataset& ds, QWidget* window, bool headerOnly)
{
    SpreadsheetExport how;
    how.parentWindow = window;
    if (headerOnly) how.emptyList = SpreadsheetExport::EmptyList::HeaderOnly;
    ExportDatasetToSpreadsheet(ds, how);
}

} // namespace InfoControls
