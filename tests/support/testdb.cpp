#include "support/testdb.h"

#include "platform/db/connection.h"
#include "schema/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <stdexcept>

#ifndef TRX_TEST_TEMPLATE
#error "TRX_TEST_TEMPLATE must name the template database"
#endif

bool TestDb::serverMode() { return !qEnvironmentVariableIsEmpty("TRX_TEST_SERVER"); }

QString TestDb::templatePath() { return QStringLiteral(TRX_TEST_TEMPLATE); }

ConnectionParams TestDb::paramsFor(const QString& path)
{
    ConnectionParams p;
    p.database = path;
    if (serverMode()) {
        const QStringList hostPort = qEnvironmentVariable("TRX_TEST_SERVER").split(u'/');
        p.server = hostPort.value(0);
        p.port = hostPort.value(1).toInt();
        p.user = QStringLiteral("SYSDBA");
        p.password = qEnvironmentVariable("TRX_TEST_PASSWORD");
    }
    return p;
}

void TestDb::makeTemplate(const QString& path)
{
    QFile::remove(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    ConnectionParams p;
    p.database = path;
    SQLConnection c(p);
    Schema::openAndUpgrade(c);
}

ConnectionParams TestDb::freshCopy(const QTemporaryDir& dir, const QString& fileName)
{
    const QString tpl = templatePath();
    if (!QFileInfo::exists(tpl)) makeTemplate(tpl);  // a suite run on its own, without the fixture
    const QString target = QDir(dir.path()).filePath(fileName);
    QFile::remove(target);
    if (!QFile::copy(tpl, target)) throw std::runtime_error("cannot copy the template database");
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
    return paramsFor(target);
}
