#pragma once

#include <QList>
#include <QPair>
#include <QString>

class DataSource;
class DBGrid;
class DBText;
class QGroupBox;
class QWidget;
class QDate;
class SmpDataset;
namespace Staff {
struct Amounts;
}

// Bound controls as the staff windows make them.
namespace StaffWidgets {

// A grid named after its component over the source; columns are (field, caption) pairs, an empty
// caption taking the field's label; none shows every visible field.
DBGrid* grid(const char* name, DataSource* source, const QList<QPair<const char*, const char*>>& columns, bool readOnly);
DBText* text(const char* name, DataSource* source, const char* field);
// The balance of a business-payment inquiry: rows of captions over the leva, USD and EUR fields of
// one prefix each (AVANS, DOST, OTCHET, RAZLIKA).
QGroupBox* balance(const QString& caption, DataSource* source, const QStringList& rowCaptions);
// A row's background by the kind of business movement: advances maroon, expenses teal, supplier
// payments blue.
void colourByKind(DBGrid* grid, SmpDataset& dataset);
// Starts a payment dialog's one-row buffer. A correction copies the current business movement's
// amounts, note and the dialog's own field (the advance's giver, the report's reason) and returns the
// movement's date; a new entry starts empty on today.
QDate startBuffer(SmpDataset& buffer, const SmpDataset& movement, bool correction, const QString& ownField);
// The date and the amounts typed into a payment dialog's buffer.
Staff::Amounts typedAmounts(SmpDataset& buffer, const QDate& date);

} // namespace StaffWidgets
