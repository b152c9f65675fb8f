#pragma once

#include <initializer_list>

class QDateEdit;
class QGroupBox;
class QString;
class QWidget;
class SmpDataset;

// Pieces the production windows are built of alike.
namespace FormParts {

// A titled box of the widgets in a row; the last one takes the spare width.
QGroupBox* row(const QString& caption, std::initializer_list<QWidget*> widgets);
// A date box with its calendar, named after its component.
QDateEdit* dateEdit(const char* name);
// The list's visible columns into a workbook; an empty list writes none.
void exportList(SmpDataset& list, QWidget* window);

} // namespace FormParts
