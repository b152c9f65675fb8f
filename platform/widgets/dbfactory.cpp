#include "platform/widgets/dbfactory.h"

#include "platform/widgets/dbedit.h"
#include "platform/widgets/dblookupcombobox.h"

DBEdit* DbControls::makeEdit(const char* name, DataSource* source, const char* field)
{
    auto* e = new DBEdit;
    e->setObjectName(QString::fromLatin1(name));
    e->setDataSource(source);
    e->setDataField(QString::fromLatin1(field));
    return e;
}

DBLookupComboBox* DbControls::makeLookup(const char* name, DataSource* source, const char* field, DataSource* list,
                                         const char* key, const char* shown)
{
    auto* c = new DBLookupComboBox;
    c->setObjectName(QString::fromLatin1(name));
    c->setDataSource(source);
    c->setDataField(QString::fromLatin1(field));
    c->setListSource(list);
    c->setKeyField(QString::fromLatin1(key));
    c->setListField(QString::fromLatin1(shown));
    return c;
}
