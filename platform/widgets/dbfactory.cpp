#include "platform/widgets/dbfactory.h"

#include "platform/widgets/dbedit.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include <string>

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

DBLookupComboBox* DbControls::makeListLookup(const char* name, DataSource* list, const char* key, const char* shown,
                                             int minWidth)
{
    auto* c = new DBLookupComboBox;
    c->setObjectName(QString::fromLatin1(name));
    c->setListSource(list);
    c->setKeyField(QString::fromLatin1(key));
    c->setListField(QString::fromLatin1(shown));
    c->setMinimumWidth(minWidth);
    return c;
}

DBText* DbControls::makeShownNumber(const char* name, DataSource* source, const char* field, int minWidth)
{
    auto* t = new DBText;
    t->setObjectName(QString::fromLatin1(name));
    t->setDataSource(source);
    t->setDataField(QString::fromLatin1(field));
    t->setMinimumWidth(minWidth);
    t->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return t;
}

QGroupBox* DbControls::makeTotalsGroup(const char* name, const QString& caption, DataSource* source,
                                       const char* namePrefix,
                                       std::initializer_list<std::pair<const char*, const char*>> rows)
{
    auto* box = new QGroupBox(caption);
    box->setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(box);
    int r = 0;
    for (const auto& [text, field] : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(text)), r, 0);
        grid->addWidget(makeShownNumber((std::string(namePrefix) + field).c_str(), source, field, 100), r, 1);
        ++r;
    }
    return box;
}
