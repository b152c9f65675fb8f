#pragma once

#include "common/basecurrency.h"

#include <QString>

// The amount to pay in Bulgarian words, as printed on the documents. The output is the printed
// text itself: leading blank, double blanks after "и" and after the plain hundreds are part of
// the format and are kept on purpose.

// The scale a group of up to three digits stands in; it decides the word's ending. Leva and Euro
// are the units group of an amount in that currency: "един лев", "два лева" but "едно евро",
// "две евро" (neuter, no plural), while thousands stay feminine and millions masculine.
enum class WordScale { Millions, Thousands, Leva, Euro };

// Group words: the value of one group (leading zeros removed) at a scale. A value outside the
// function's range (1-9, 10-99, 100-999) gives the empty text.
QString DigitWord(int digit, WordScale scale);
QString TwoDigitWord(int value, WordScale scale);
QString ThreeDigitWord(int value, WordScale scale);

// A whole number of leva given as decimal digits (no sign, no leading zeros, 1 to 9 digits).
// "0", ten or more digits, and anything that is not plain digits give the empty text.
QString AmountInWords(const QString& digits);
// The same for a whole number of euro, by the same rules: " двадесет и едно евро", " хиляда евро".
QString AmountInWordsEuro(const QString& digits);

// The amount text every document prints: the leva in words followed by " и <n> ст." when there
// are stotinki. Zero, negative and non-finite amounts give the empty text; amounts of a thousand
// million leva or more give only the stotinki part. Stotinki that round up to 100 carry into the
// leva (12.996 gives " тринадесет лева").
QString AmountInWordsWithStotinki(double amount);
// The euro form of the same text: the euro in words followed by " и <n> цента" (" и 1 цент",
// " и 21 цент"), with the same rounding, carry and limits.
QString AmountInWordsWithCents(double amount);
// The amount text of a document in the given base currency.
QString AmountInWordsIn(BaseCurrency::Currency currency, double amount);
