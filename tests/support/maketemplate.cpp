// Makes the template database the test suites copy.
#include "platform/db/dberror.h"
#include "support/testdb.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    try {
        TestDb::makeTemplate(TestDb::templatePath());
    } catch (const DbError& e) {
        QTextStream(stderr) << e.message() << '\n';
        return 1;
    }
    return 0;
}
