#pragma once

#include <QString>

// The base currency as documents name it. One place, so that a change of the base currency is
// one change.
namespace BaseCurrency {
inline QString symbol() { return QStringLiteral("лв."); }
} // namespace BaseCurrency
