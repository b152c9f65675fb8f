#pragma once

class DataSource;
class DBEdit;
class DBLookupComboBox;

// Bound controls as every window makes them: named after their component, bound to a source and
// a field (a lookup box also to its list, key field and shown field).
namespace DbControls {

DBEdit* makeEdit(const char* name, DataSource* source, const char* field);
DBLookupComboBox* makeLookup(const char* name, DataSource* source, const char* field, DataSource* list, const char* key,
                             const char* shown);

} // namespace DbControls
