#pragma once

#include <QString>

// The base currency as documents name it. One place, so that a change of the base currency is
// one change.
namespace BaseCurrency {
inline QString symbol() { return QStringLiteral("лв."); }
// The words of an amount: "един лев", "два лева", "сто лева".
inline QString singular() { return QStringLiteral("лев"); }
inline QString plural() { return QStringLiteral("лева"); }
// The hundredth part after the amount in words: " и 78 ст.".
inline QString fractionSymbol() { return QStringLiteral("ст."); }
} // namespace BaseCurrency
