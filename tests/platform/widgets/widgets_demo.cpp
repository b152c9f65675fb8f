// Draws the data-aware controls over a small list into a PNG file, to look at them:
//   widgets_demo <file.png>
#include "platform/dataset/smpdataset.h"
#include "platform/db/connection.h"
#include "platform/ui/application.h"
#include "platform/widgets/dbcheckbox.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbmemo.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/dbtext.h"
#include "support/testdb.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTemporaryDir>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    Application app(argc, argv);
    if (argc < 2) return 2;
    QTemporaryDir dir;
    SQLConnection db(TestDb::freshCopy(dir));
    db.open();
    db.executeImmediate(QStringLiteral("create table W_KIND (NKIND integer not null primary key, KIND varchar(30))"));
    db.executeImmediate(QStringLiteral("create table W_ITEM (NITEM integer not null primary key, NAME varchar(20), "
                                       "PRICE double precision, NKIND integer, ACTIVE smallint, NOTES varchar(200))"));
    db.execute(QStringLiteral("insert into W_KIND values (1, 'Плод')"));
    db.execute(QStringLiteral("insert into W_KIND values (2, 'Зеленчук')"));
    db.execute(QStringLiteral("insert into W_KIND values (3, 'Билка')"));
    const char* rows[] = {"1, 'Ябълка', 2.5, 1, 1, 'червена'", "2, 'Морков', 1.2, 2, 0, null",
                          "3, 'Мента', 12, 3, 1, 'суха'",      "4, 'Круша', 3.4, 1, 1, null",
                          "5, 'Босилек', 14.8, 3, 0, null",   "6, 'Домат', 2.9, 2, 1, 'розов'"};
    for (const char* r : rows) db.execute(QStringLiteral("insert into W_ITEM values (%1)").arg(QString::fromUtf8(r)));

    SmpDataset kinds(QStringLiteral("SmpKind"), &db);
    kinds.setTableName(QStringLiteral("W_KIND"));
    SmpDataset items(QStringLiteral("SmpItem"), &db);
    items.setTableName(QStringLiteral("W_ITEM"));
    items.setIndexFieldNames(QStringLiteral("NITEM"));
    for (const char* f : {"NITEM", "NKIND", "ACTIVE"})
        items.addDataField(QString::fromLatin1(f), SmpField::Type::Integer);
    items.addDataField(QStringLiteral("NAME"), SmpField::Type::String);
    items.addDataField(QStringLiteral("PRICE"), SmpField::Type::Float)->displayFormat = QStringLiteral("# ##0.00");
    items.addDataField(QStringLiteral("NOTES"), SmpField::Type::String);
    items.addLookupField(QStringLiteral("KindName"), &kinds, QStringLiteral("NKIND"), QStringLiteral("NKIND"),
                         QStringLiteral("KIND"));
    kinds.open();
    items.open();
    DataSource srcKinds(&kinds), srcItems(&items);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Материали"));
    auto* layout = new QHBoxLayout(&window);
    auto* left = new QVBoxLayout;
    auto* nav = new DBNavigator(&window);
    nav->setObjectName(QStringLiteral("DBNavigator1"));
    nav->setDataSource(&srcItems);
    nav->setFixedHeight(25);
    auto* grid = new DBGrid(&window);
    grid->setObjectName(QStringLiteral("DBGrid1"));
    grid->setDataSource(&srcItems);
    grid->setColumns({{"NITEM", "№", 40, true}, {"NAME", "Материал", 120, false}, {"PRICE", "Цена", 70, false},
                      {"KindName", "Вид", 100, false}});
    grid->setRowColor([&items](int row) {
        return items.valueAt(row, items.findField(QStringLiteral("PRICE"))).toDouble() > 10 ? QColor(255, 200, 200)
                                                                                              : QColor();
    });
    left->addWidget(nav);
    left->addWidget(grid);
    layout->addLayout(left, 3);

    auto* box = new QGroupBox(QStringLiteral("Текущ ред "), &window);
    auto* form = new QFormLayout(box);
    auto* name = new DBEdit(box);
    name->setDataSource(&srcItems);
    name->setDataField(QStringLiteral("NAME"));
    auto* kind = new DBLookupComboBox(box);
    kind->setDataSource(&srcItems);
    kind->setDataField(QStringLiteral("NKIND"));
    kind->setListSource(&srcKinds);
    kind->setKeyField(QStringLiteral("NKIND"));
    kind->setListField(QStringLiteral("KIND"));
    auto* price = new DBText(box);
    price->setDataSource(&srcItems);
    price->setDataField(QStringLiteral("PRICE"));
    auto* active = new DBCheckBox(QStringLiteral("Активен"), box);
    active->setDataSource(&srcItems);
    active->setDataField(QStringLiteral("ACTIVE"));
    auto* notes = new DBMemo(box);
    notes->setDataSource(&srcItems);
    notes->setDataField(QStringLiteral("NOTES"));
    form->addRow(QStringLiteral("Име"), name);
    form->addRow(QStringLiteral("Вид"), kind);
    form->addRow(QStringLiteral("Цена"), price);
    form->addRow(QString(), active);
    form->addRow(QStringLiteral("Бележки"), notes);
    layout->addWidget(box, 2);

    window.resize(640, 300);
    window.show();
    items.moveTo(2);
    items.edit();  // an edit under way: the indicator and the navigator show it
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(2, 3));
    grid->edit(grid->currentIndex());  // the lookup editor of the Вид column
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
