#pragma once

#include <QList>
#include <QString>

#include <utility>

class DBGrid;
class FilterDateEdit;
class QDateEdit;
class QLineEdit;
class QObject;
class QWidget;
class SmpDataset;

// The controls the sales information windows share.
namespace InfoControls {

// A read-only grid of whole rows over the list.
DBGrid* grid(const char* name, SmpDataset& ds, QObject* owner);
QDateEdit* datePicker(const char* name);
// A date box of a list's period: a day picked in the calendar is committed at once, a typed date
// on Enter or when the box is left.
FilterDateEdit* periodDate(const char* name);
// Column widths by field, the others at a common width. The grid lays its columns out anew from the
// visible fields on every reload, so the widths are set again each time.
void keepWidths(DBGrid* grid, int others, const QList<std::pair<const char*, int>>& widths);
// A box that takes only digits (and the editing keys).
QLineEdit* digitsBox(const char* name, int width);
// The list to a workbook of its visible columns; an empty list writes nothing, or with headerOnly
// the header row alone.
void exportList(SmpDataset& ds, QWidget* window, bool headerOnly = false);

} // namespace InfoControls
