#pragma once

#include <QStringList>

// Splits a script written for the command-line SQL tool into statements: ";" ends a statement
// unless "SET TERM" chose another terminator (needed around PSQL bodies). Quoted text and
// comments never end a statement; SET TERM itself is not returned.
QStringList splitSqlScript(const QString& script);
