#pragma once

#include <QString>

class DBGrid;
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
// A box that takes only digits (and the editing keys).
QLineEdit* digitsBox(const char* name, int width);
// The list to a workbook of its visible columns; an empty list writes nothing, or with headerOnly
// the header row alone.
void exportList(SmpDataset& ds, QWidget* window, bool headerOnly = false);

} // namespace InfoControls
