#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <optional>

// Every conversion between values and text in the program goes through this
// namespace instead of QLocale or the C library, so the user's regional
// settings never change what is shown or accepted: dates are "dd.MM.yyyy",
// the decimal separator is '.', and where a pattern asks for thousands
// grouping the separator is a single blank.
namespace Formats {

// Display patterns use a Delphi-style vocabulary.
//
// Numbers: optional literal prefix/suffix (plain or quoted with ' or "),
// '#' and '0' digit placeholders, ' ' or ',' inside the integer part for
// grouping by three, '.' for the decimal point. '0' digits are always shown,
// '#' digits only when significant. Up to three ';'-separated sections:
// positive(and zero);negative;zero - an empty section falls back to the
// first one, and the negative section supplies its own sign. Rounding is half
// away from zero; a value that rounds to zero never carries a sign.
// A non-finite value gives ""; an empty pattern gives numberToText(v).
QString formatNumber(double v, const QString& pattern);

// Dates: d dd ddd dddd, m mm mmm mmmm, yy yyyy, h hh, n nn, s ss, z zzz,
// letters case-insensitive; m/mm right after an hour token means minutes.
// Names are Bulgarian; other characters and quoted text are copied as is.
// A null or invalid value gives "".
QString formatDate(const QDate& date, const QString& pattern);
QString formatDateTime(const QDateTime& dateTime, const QString& pattern);

// Fixed machine/user text forms.
QString dateToText(const QDate& date);                 // "dd.MM.yyyy", "" if invalid
QString dateTimeToText(const QDateTime& dateTime);     // "dd.MM.yyyy hh:mm:ss", "" if invalid
// Accepts d.M.yyyy and d.M.yy (00-49 -> 20xx, 50-99 -> 19xx), blanks around.
std::optional<QDate> textToDate(const QString& text);

// '.' as decimal separator, no grouping, no exponent. decimals < 0 gives the
// shortest text that reads back as the same double; otherwise rounds half
// away from zero to that many decimals. A non-finite value gives "".
QString numberToText(double v, int decimals = -1);
// Checked parsing of what users type: optional sign, '.' or ',' as the
// decimal separator, blanks as thousands separators (groups of three),
// blanks around. No exponents, no NaN/infinity, no trailing text.
std::optional<double> textToNumber(const QString& text);
std::optional<qint64> textToInteger(const QString& text);

// Makes the process-wide defaults agree with this module for any code that
// still asks the locale: QLocale's default becomes the C locale ('.' decimal
// point, no group separator) and the C library's LC_NUMERIC becomes "C".
// Takes effect immediately and may be called repeatedly.
void installProcessFormats();

} // namespace Formats
