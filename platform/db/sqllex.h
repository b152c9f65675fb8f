#pragma once

#include <QStringView>

// Lexical helpers shared by the SQL text scanners of this layer.
namespace SqlLex {

// Index just past the quoted text starting at i (either quote kind; a doubled quote escapes itself).
inline qsizetype skipQuoted(QStringView s, qsizetype i)
{
    const QChar q = s[i];
    qsizetype j = i + 1;
    while (j < s.size()) {
        if (s[j] == q) {
            if (j + 1 < s.size() && s[j + 1] == q) {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return s.size();
}

// Index of the end of the comment starting at i ("--" to the line end, or "/* */"); i if none starts there.
inline qsizetype skipComment(QStringView s, qsizetype i)
{
    if (i + 1 >= s.size()) return i;
    if (s[i] == u'-' && s[i + 1] == u'-') {
        const qsizetype j = s.indexOf(u'\n', i);
        return j < 0 ? s.size() : j;
    }
    if (s[i] == u'/' && s[i + 1] == u'*') {
        const qsizetype j = s.indexOf(u"*/", i + 2);
        return j < 0 ? s.size() : j + 2;
    }
    return i;
}

// A plain SQL identifier (table, column or procedure name) that may be put into a statement's text.
inline bool isIdentifier(QStringView name)
{
    if (name.isEmpty() || !((name[0] >= u'A' && name[0] <= u'Z') || (name[0] >= u'a' && name[0] <= u'z'))) return false;
    for (const QChar c : name)
        if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'$'))
            return false;
    return true;
}

} // namespace SqlLex
