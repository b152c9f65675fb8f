#pragma once

#include "platform/dataset/smpfield.h"

#include <QString>
#include <QStringList>
#include <QVariant>

struct DbColumn;

// What a value of a field is, decided once by the field's type: how a value given by code or typed
// by a user becomes the stored value, when two values are the same (keys, locate, lookups, filters,
// lookup boxes), and how they are ordered. The dataset, its filters and the widgets all use this.
namespace FieldValues {

bool isNull(const QVariant& v);

// The stored form of v for a field of this type: integers as qint64 (or int), numbers as double,
// dates as a QDateTime without time zone, texts as QString. Text for a number or a date is parsed
// with the program's formats. Throws DbError with a message for the user when v is not a value of
// the type, or text the database's character set cannot hold; "" for a non-text type is null.
QVariant toStored(const QVariant& v, SmpField::Type type);
// The same, but returns an invalid QVariant in *ok = false instead of throwing.
QVariant tryToStored(const QVariant& v, SmpField::Type type, bool* ok);

// Throws DbError with a message for the user when a stored value does not fit the table column it
// goes to: beyond the range of a whole or scaled (NUMERIC, DECIMAL) number stored in 16, 32 or 64
// bits, or text longer than the column. Values of expressions (no table column) are not checked.
void checkFits(const QVariant& stored, const DbColumn& column);

// The text that identifies a stored value of that type in key indexes: equal texts, equal values.
QString keyText(const QVariant& stored, SmpField::Type type);
void appendKeyText(QString& key, const QVariant& stored, SmpField::Type type);

// Orders stored values of one type: nulls first, numbers as numbers, dates as dates, texts by
// Bulgarian collation (case-insensitive first, as a user reads a list).
int compare(const QVariant& a, const QVariant& b, SmpField::Type type);
// Equality as keys see it (texts exact, numbers by value, dates by date and time).
bool equal(const QVariant& a, const QVariant& b, SmpField::Type type);

// True when the database's character set (WIN1251) can store every character of text.
bool fitsCharacterSet(const QString& text);

// ";"-separated field lists, blanks around names ignored.
QStringList splitFields(const QString& list);

} // namespace FieldValues
