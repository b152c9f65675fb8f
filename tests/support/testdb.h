#pragma once

#include "platform/db/connectionparams.h"

#include <QString>

class QTemporaryDir;

// Test databases: a template is made from the migrations once per run and copied for each test,
// into the given temporary folder. With TRX_TEST_SERVER set ("host/port"), the copies are reached
// through that Firebird server instead of the embedded engine.
namespace TestDb {

ConnectionParams freshCopy(const QTemporaryDir& dir, const QString& fileName = QStringLiteral("TRXBASE.fdb"));
// Parameters for a database file that does not exist yet, reached the same way as freshCopy's.
ConnectionParams paramsFor(const QString& path);
bool serverMode();
// Creates the template database at path from the built-in migrations.
void makeTemplate(const QString& path);
QString templatePath();

} // namespace TestDb
