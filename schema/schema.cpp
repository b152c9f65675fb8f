#include "schema/schema.h"

#include "platform/db/connection.h"
#include "platform/db/dberror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

QVector<Migration> Schema::migrations()
{
    static const QRegularExpression re(QStringLiteral("^(\\d{4})_\\w+\\.sql$"));
    QVector<Migration> out;
    const QDir dir(QStringLiteral(":/schema/migrations"));
    for (const QString& file : dir.entryList(QDir::Files, QDir::Name)) {
        const auto m = re.match(file);
        if (!m.hasMatch()) continue;
        QFile f(dir.filePath(file));
        if (!f.open(QIODevice::ReadOnly)) continue;
        out << Migration{m.captured(1).toInt(), QFileInfo(file).completeBaseName(), QString::fromUtf8(f.readAll())};
    }
    return out;
}

void Schema::openAndUpgrade(SQLConnection& connection)
{
    const ConnectionParams& p = connection.params();
    if (p.embedded() && !QFileInfo::exists(p.database)) {
        QDir().mkpath(QFileInfo(p.database).absolutePath());
        connection.create();
    } else {
        connection.open();
    }
    Migrator(connection, migrations()).upgrade();
}
