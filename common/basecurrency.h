#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

class SQLConnection;

// The base currency as documents name it. One place, so that a change of the base currency is
// one change.
//
// A company keeps its books in leva until its cut-over date and in euro from that date on; a
// document's amounts in the base-currency columns (the _LV columns) are in the currency of its
// date. With the company record at its default everything is in leva.
namespace BaseCurrency {

// The leva names, for callers that only ever print leva.
inline QString symbol() { return QStringLiteral("лв."); }
// The words of an amount: "един лев", "два лева", "сто лева".
inline QString singular() { return QStringLiteral("лев"); }
inline QString plural() { return QStringLiteral("лева"); }
// The hundredth part after the amount in words: " и 78 ст.".
inline QString fractionSymbol() { return QStringLiteral("ст."); }

enum class Currency { Leva, Euro };

// Leva for one euro, fixed by law.
inline constexpr double kLevaPerEuro = 1.95583;

// A leva amount in euro as the law converts it: divided by the full rate and rounded half away
// from zero to the cent. A non-finite amount is returned as it is.
double levaToEuro(double leva);

// How documents of one currency name it.
struct Names
{
    Currency currency;
    QString code;            // "BGN", "EUR"
    QString symbol;          // after an amount: "лв.", "€"
    QString singular;        // "лев", "евро"
    QString plural;          // "лева", "евро" (the euro has no plural)
    QString fractionSymbol;  // after the hundredths in general: "ст.", "цента"

    // The word after a count of hundredths in digits: always "ст." for leva; "цент" after a count
    // whose last word is "един" (1, 21, 31 ...), "цента" otherwise.
    QString fraction(int count) const;
};
const Names& names(Currency currency);

// The company's base-currency setting, as its record (FIRMA.EVRO_DA_NE, EVRO_OT_DATA) holds it.
struct Settings
{
    Currency currency = Currency::Leva;
    QDate cutover;  // the first day in euro; invalid with leva

    // The cut-over a company takes when it switches to the euro without naming a date.
    static QDate defaultCutover() { return QDate(2026, 1, 1); }
    // From the two column values: a flag of 1 is the euro (from the date, or the default cut-over
    // when it is empty); anything else is leva.
    static Settings fromRecord(const QVariant& euroFlag, const QVariant& cutoverDate);
    // Reads the company record once; callers keep the result for the documents they print.
    static Settings read(SQLConnection& db);

    // The currency of a document of that date; a document without a date is taken as dated today.
    Currency currencyOn(const QDate& documentDate) const;
    const Names& forDate(const QDate& documentDate) const { return names(currencyOn(documentDate)); }

    bool operator==(const Settings&) const = default;
};

} // namespace BaseCurrency
