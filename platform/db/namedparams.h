#pragma once

#include <QString>
#include <QStringList>

// A statement with ":NAME" parameters rewritten to positional "?" markers. Names are upper-cased
// (the server is case-insensitive for them) and listed once per occurrence, so a repeated name
// binds the same value at every place. Quoted text and comments are never touched.
struct NamedSql
{
    QString sql;
    QStringList names;
};

NamedSql parseNamedParameters(const QString& sql);
