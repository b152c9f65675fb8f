#include "platform/db/sqlscript.h"

#include "platform/db/sqllex.h"

#include <QRegularExpression>

QStringList splitSqlScript(const QString& script)
{
    static const QRegularExpression setTerm(QStringLiteral("^\\s*SET\\s+TERM\\s+(\\S+)\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    QString term = QStringLiteral(";");
    QString current;
    const qsizetype n = script.size();
    qsizetype i = 0;
    auto finish = [&]() {
        const QString stmt = current.trimmed();
        current.clear();
        if (stmt.isEmpty()) return;
        const auto m = setTerm.match(stmt);
        if (m.hasMatch()) term = m.captured(1);
        else out << stmt;
    };
    while (i < n) {
        const QChar c = script[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype j = SqlLex::skipQuoted(script, i);
            current += QStringView(script).mid(i, j - i);
            i = j;
        } else if (const qsizetype j = SqlLex::skipComment(script, i); j != i) {
            current += u' ';
            i = j;
        } else if (QStringView(script).mid(i).startsWith(term)) {
            i += term.size();
            finish();
        } else {
            current += c;
            ++i;
        }
    }
    finish();
    return out;
}
