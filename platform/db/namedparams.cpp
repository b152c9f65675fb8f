#include "platform/db/namedparams.h"

#include "platform/db/sqllex.h"

namespace {
bool isNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }
}

NamedSql parseNamedParameters(const QString& sql)
{
    NamedSql out;
    out.sql.reserve(sql.size());
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        // Dialect 1 treats both quote kinds as string delimiters; a doubled quote escapes itself.
        if (c == u'\'' || c == u'"') {
            const qsizetype j = SqlLex::skipQuoted(sql, i);
            out.sql += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (const qsizetype j = SqlLex::skipComment(sql, i); j != i) {
            out.sql += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (c == u':' && i + 1 < n && isNameStart(sql[i + 1])) {
            qsizetype j = i + 1;
            while (j < n && isNameChar(sql[j])) ++j;
            out.names << sql.mid(i + 1, j - i - 1).toUpper();
            out.sql += u'?';
            i = j;
        } else {
            out.sql += c;
            ++i;
        }
    }
    return out;
}
