#pragma once

class DataSource;
class DBEdit;
class DBLookupComboBox;
class DBText;
class QGroupBox;
class QString;

#include <initializer_list>
#include <utility>

// Bound controls as every window makes them: named after their component, bound to a source and
// a field (a lookup box also to its list, key field and shown field).
namespace DbControls {

DBEdit* makeEdit(const char* name, DataSource* source, const char* field);
DBLookupComboBox* makeLookup(const char* name, DataSource* source, const char* field, DataSource* list, const char* key,
                             const char* shown);
// A choice from a list that is bound to no field: the window reads its key value.
DBLookupComboBox* makeListLookup(const char* name, DataSource* list, const char* key, const char* shown, int minWidth);
// A number shown right-aligned, as totals are.
DBText* makeShownNumber(const char* name, DataSource* source, const char* field, int minWidth);
// A titled box of caption / number rows; each number is named namePrefix + its field.
QGroupBox* makeTotalsGroup(const char* name, const QString& caption, DataSource* source, const char* namePrefix,
                           std::initializer_list<std::pair<const char*, const char*>> rows);

} // namespace DbControls
