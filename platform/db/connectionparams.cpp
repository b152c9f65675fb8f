#include "platform/db/connectionparams.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

QString ConnectionParams::attachString() const
{
    if (embedded()) return database;
    QString s = server;
    if (port > 0) s += u'/' + QString::number(port);
    return s + u':' + database;
}

ConnectionParams ConnectionParams::fromIni(const QString& iniPath, const QString& dataDir)
{
    ConnectionParams p;
    if (QFileInfo::exists(iniPath)) {
        QSettings ini(iniPath, QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("database"));
        p.server = ini.value(QStringLiteral("server"), p.server).toString().trimmed();
        p.port = ini.value(QStringLiteral("port"), p.port).toInt();
        p.database = ini.value(QStringLiteral("database"), p.database).toString().trimmed();
        p.user = ini.value(QStringLiteral("user"), p.user).toString();
        p.password = ini.value(QStringLiteral("password"), p.password).toString();
        p.role = ini.value(QStringLiteral("role"), p.role).toString();
        p.connectTimeout = ini.value(QStringLiteral("connect_timeout"), p.connectTimeout).toInt();
        ini.endGroup();
    }
    if (p.embedded() && QFileInfo(p.database).isRelative())
        p.database = QDir(dataDir).filePath(p.database);
    return p;
}
