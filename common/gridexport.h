#pragma once

#include "platform/dataset/smpfield.h"

#include <QString>
#include <QStringList>

class SmpDataset;
class QWidget;

// How one export button differs from the others: what an empty list does, and the staff list's
// tools written under each of its rows.
struct SpreadsheetExport
{
    enum class EmptyList {
        Nothing,     // no workbook
        HeaderOnly,  // a workbook with the header row alone
        Message,     // emptyMessage is shown, no workbook
    };
    EmptyList emptyList = EmptyList::Nothing;
    QString emptyMessage;

    // A detail dataset that follows the exported one: after each row its rows from its current
    // row to its end, then one empty row. The exported dataset's cursor moves for it.
    SmpDataset* detail = nullptr;

    // Fields the window's grid hides although they are visible fields (DBGrid::hiddenFields()): left
    // out too, so the copy holds the columns shown. Case does not matter.
    QStringList hiddenFields;

    // The start of the file name; the dataset's name without its "Smp" when empty.
    QString title;
    // Where the workbook goes; the user's documents folder when empty.
    QString folder;
    // The window the progress dialog belongs to.
    QWidget* parentWindow = nullptr;
    // The progress dialog appears once an export is expected to take longer than this.
    int progressDelayMs = 400;
};

struct SpreadsheetExportResult
{
    enum class Status { Written, Empty, Cancelled, Failed };
    Status status = Status::Failed;
    QString path;         // the workbook written (Written only)
    bool opened = false;  // the desktop took it to open
};

// Copies the visible fields of the dataset, less those the window's grid hides, into a new
// workbook: a header row of display labels in field order, one row per visible record: numbers as
// number cells in the general format, dates as date cells shown "dd.mm.yyyy", other values as
// text, an empty value as one blank; a plain table look. A text longer than a cell holds is cut, and the user told so once. The
// workbook gets a fresh name in the folder and is then opened with the desktop's program for it;
// when there is none the user is told where the file is. A long export shows a progress dialog
// whose Cancel leaves no file. Failures are told to the user and change nothing else.
SpreadsheetExportResult ExportDatasetToSpreadsheet(SmpDataset& dataset, const SpreadsheetExport& how = {});

namespace GridExport {
// A number as the export writes it: at most 15 significant digits, "." decimals, no grouping,
// no exponent, no trailing zeros.
QString generalNumberText(double v);
// A value as text the way the export writes it: numbers in general format, dates "dd.MM.yyyy".
// Numbers and dates go to number and date cells of the same value.
QString cellText(const QVariant& value, SmpField::Type type);
// Rows written between two looks at the progress dialog.
constexpr int kProgressStep = 100;
} // namespace GridExport
