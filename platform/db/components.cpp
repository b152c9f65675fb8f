#include "platform/db/components.h"

#include "platform/db/dberror.h"

void SqlQuery::open()
{
    result_ = connection_.query(sql_, params_);
    row_ = 0;
    open_ = true;
}

int SqlQuery::execSql()
{
    close();
    return connection_.execute(sql_, params_);
}

QVariant SqlQuery::fieldByName(const QString& name) const
{
    const int i = result_.columnIndex(name);
    if (open_ && i < 0) throw DbError(QStringLiteral("Заявката няма поле %1.").arg(name), 0, 0, sql_);
    return eof() ? QVariant() : result_.rows[row_][i];
}

QVariant StoredProc::output(const QString& name) const
{
    for (auto it = outputs_.cbegin(); it != outputs_.cend(); ++it)
        if (it.key().compare(name, Qt::CaseInsensitive) == 0) return it.value();
    return {};
}
