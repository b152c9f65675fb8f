#pragma once

#include "platform/dataset/smpdataset.h"

#include <initializer_list>

// Declaring a list's fields as a table: name, kind, label, display format, shown, size.
namespace FieldList {

struct Col
{
    const char* field;
    SmpField::Type type;
    const char* label;
    const char* format = "";
    bool shown = true;
    int size = 0;
};

inline void addFields(SmpDataset& ds, std::initializer_list<Col> cols)
{
    for (const Col& c : cols) {
        SmpField* f = ds.addDataField(QString::fromLatin1(c.field), c.type, c.size);
        f->displayLabel = QString::fromUtf8(c.label);
        f->displayFormat = QString::fromLatin1(c.format);
        f->visible = c.shown;
    }
}

inline SmpField* addSum(SmpDataset& ds, const char* name, const char* expression, const char* format = "# ### ##0.00")
{
    SmpField* f = ds.addAggregateField(QString::fromLatin1(name), QString::fromLatin1(expression));
    f->displayFormat = QString::fromLatin1(format);
    return f;
}

} // namespace FieldList
