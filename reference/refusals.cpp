#include "reference/refusals.h"

#include "platform/db/connection.h"

QString Refusals::firstRefusal(SQLConnection& db, const QList<Guard>& guards, const QString& param, const QVariant& key)
{
    for (const Guard& g : guards) {
        const DbResult r = db.query(g.sql, {{param, key}});
        const int column = [&] {
            for (int c = 0; c < r.columns.size(); ++c)
                if (r.columns[c].name.compare(QLatin1String("BROI"), Qt::CaseInsensitive) == 0) return c;
            return 0;
        }();
        if (!r.isEmpty() && r.rows.front().value(column).toInt() > 0) return g.message;
    }
    return {};
}

QString Refusals::onItsOwnLine(const QString& cause)
{
    return cause + QStringLiteral("\r") + QString(12, u' ') + QStringLiteral("Изтриването е невъзможно !");
}
