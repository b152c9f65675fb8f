#pragma once

#include "platform/db/connection.h"

#include <QByteArrayView>

// One fetched row read where the fetch buffer holds it, valid only inside the row handler of
// SQLConnection::forEachRawRow. A reader that keeps rows in a form of its own takes the plain
// values from here, without making a QVariant of each only to take it apart again; value()
// gives any value exactly as a DbRow would hold it.
class DbRawRow
{
public:
    enum class Type : quint8 {
        Null,
        Bool,
        Int,       // toInteger, fits an int (a DbRow holds an int)
        LongLong,  // toInteger (a DbRow holds a qlonglong)
        Double,    // toDouble: floats and scaled numbers
        Text,      // utf8: the text of a VARCHAR column
        Bytes,     // bytes: an octets column
        Date,      // julianDay
        Time,      // msecsOfDay
        DateTime,  // msecsSinceEpoch, wall-clock time as UTC
        Other      // only through value(): CHAR, blobs and the rest
    };

    int size() const;
    Type type(int i) const;
    bool toBool(int i) const;
    qint64 toInteger(int i) const;
    double toDouble(int i) const;
    QByteArrayView utf8(int i) const;
    QByteArrayView bytes(int i) const;
    qint64 julianDay(int i) const;
    int msecsOfDay(int i) const;
    qint64 msecsSinceEpoch(int i) const;
    QVariant value(int i) const;

    struct Context;
    DbRawRow(const Context& context, const unsigned char* buffer) : c_(context), buf_(buffer) {}

private:
    const Context& c_;
    const unsigned char* buf_;
};
