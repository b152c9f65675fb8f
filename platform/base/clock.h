#pragma once

#include <QDate>
#include <QDateTime>

// The single source of "now" for the program, so tests can pin the date.
// setFixed/reset are meant for tests and start-up code, not for concurrent use.
namespace Clock {

QDate today();
QDateTime now();
// Freezes now() at the given moment; an invalid value is the same as reset().
void setFixed(const QDateTime& moment);
// Back to the system clock.
void reset();

} // namespace Clock
