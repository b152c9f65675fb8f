#include "platform/db/migrator.h"

#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/sqlscript.h"
#include "platform/db/transaction.h"

#include <algorithm>

namespace {
const QString kVersionTable = QStringLiteral("SCHEMA_VERSION");
}

Migrator::Migrator(SQLConnection& connection, QVector<Migration> migrations)
    : connection_(connection), migrations_(std::move(migrations))
{
    std::sort(migrations_.begin(), migrations_.end(),
              [](const Migration& a, const Migration& b) { return a.version < b.version; });
}

int Migrator::latestVersion() const { return migrations_.isEmpty() ? 0 : migrations_.last().version; }

int Migrator::currentVersion()
{
    const DbResult t = connection_.query(
        QStringLiteral("select 1 from rdb$relations where rdb$relation_name = :T"), {{QStringLiteral("T"), kVersionTable}});
    if (t.isEmpty()) return 0;
    const DbResult v = connection_.query(QStringLiteral("select max(VERSION) from SCHEMA_VERSION"));
    // The table exists once version 1 ran, even if recording it was cut short.
    return v.rows.front()[0].isNull() ? 1 : v.rows.front()[0].toInt();
}

bool Migrator::hasForeignTables()
{
    // Any user object counts: a database of procedures or generators alone is someone's too.
    return !connection_
                .query(QStringLiteral(
                    "select first 1 1 from rdb$database where "
                    "exists (select 1 from rdb$relations where coalesce(rdb$system_flag, 0) = 0) or "
                    "exists (select 1 from rdb$procedures where coalesce(rdb$system_flag, 0) = 0) or "
                    "exists (select 1 from rdb$generators where coalesce(rdb$system_flag, 0) = 0) or "
                    "exists (select 1 from rdb$fields where coalesce(rdb$system_flag, 0) = 0 and "
                    "rdb$field_name not starting with 'RDB$')"))
                .isEmpty();
}

void Migrator::upgrade(const Hooks& hooks)
{
    const int current = currentVersion();
    const int latest = latestVersion();
    if (current > latest)
        throw DbError(QStringLiteral("Базата данни е създадена от по-нова версия на програмата (схема %1, "
                                     "програмата познава до %2). Базата не е променена.")
                          .arg(current)
                          .arg(latest));
    if (current == 0 && hasForeignTables())
        throw DbError(QStringLiteral("Базата данни съдържа таблици, но не и версия на схемата на тази програма: "
                                     "изглежда е база данни на друго приложение. Базата не е променена."));
    for (const Migration& m : std::as_const(migrations_)) {
        if (m.version <= current) continue;
        try {
            const QStringList statements = splitSqlScript(m.script);
            TransactionScope tx(connection_);
            for (const QString& s : statements) {
                if (hooks.interrupted && hooks.interrupted())
                    throw DbError(QStringLiteral("Обновяването е прекъснато."));
                connection_.executeImmediate(s);
            }
            // A table cannot take rows in the transaction that created it, so the version table
            // records its own creation in the next one.
            if (m.version > 1) {
                connection_.execute(QStringLiteral("insert into SCHEMA_VERSION (VERSION, NAME, APPLIED) "
                                                   "values (:V, :N, current_timestamp)"),
                                    {{QStringLiteral("V"), m.version}, {QStringLiteral("N"), m.name}});
            }
            tx.commit();
            if (m.version == 1)
                connection_.execute(QStringLiteral("insert into SCHEMA_VERSION (VERSION, NAME, APPLIED) "
                                                   "values (1, :N, current_timestamp)"),
                                    {{QStringLiteral("N"), m.name}});
            if (hooks.afterEach) hooks.afterEach(m);
        } catch (const DbError& e) {
            throw DbError(e, QStringLiteral("Неуспешна миграция %1 на базата данни:\n%2").arg(m.name, e.message()));
        }
    }
}
