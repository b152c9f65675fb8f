#include "production/formparts.h"

#include "common/gridexport.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>

namespace FormParts {

QGroupBox* row(const QString& caption, std::initializer_list<QWidget*> widgets)
{
    auto* group = new QGroupBox(caption);
    auto* layout = new QHBoxLayout(group);
    for (QWidget* w : widgets) layout->addWidget(w, w == *std::prev(widgets.end()) ? 1 : 0);
    return group;
}

QDateEdit* dateEdit(const char* name)
{
    auto* d = new QDateEdit;
    d->setObjectName(QString::fromLatin1(name));
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return d;
}

void exportList(SmpDataset& list, QWidget* window)
{
    SpreadsheetExport how;
    how.parentWindow = window;
    ExportDatasetToSpreadsheet(list, how);
}

} // namespace FormParts
