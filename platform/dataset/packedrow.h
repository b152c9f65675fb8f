#pragma once

#include "platform/db/connection.h"
#include "platform/db/rawrow.h"

#include <QVariant>

// The values of one cached row in a single allocation: a small header, a type tag and an offset
// per slot, then the values themselves (numbers, dates and text stored bare, not as QVariants).
// A dataset holds every row of its source in memory, so a row costs a third of a vector of
// QVariants. Values read back are the same QVariants that were stored: same type, same value.
// Slots from `variantFrom` on (calculated fields, set for every row) hold a QVariant each, so
// that setting them never repacks the row.
class PackedRow
{
public:
    PackedRow() = default;
    // The values, then null slots up to width.
    PackedRow(const DbRow& values, int width, int variantFrom);
    explicit PackedRow(const DbRow& values) : PackedRow(values, int(values.size()), int(values.size())) {}
    // Straight from the fetch buffer: the same row as from the DbRow that row.value() would give.
    PackedRow(const DbRawRow& row, int width, int variantFrom);
    PackedRow(const PackedRow& other);
    PackedRow(PackedRow&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    PackedRow& operator=(const PackedRow& other);
    PackedRow& operator=(PackedRow&& other) noexcept;
    ~PackedRow() { release(); }

    int size() const;
    bool isEmpty() const { return size() == 0; }
    QVariant operator[](int slot) const { return at(slot); }
    QVariant at(int slot) const;
    void set(int slot, const QVariant& value);
    void resize(int width);
    void clear() { release(); }
    PackedRow mid(int from, int count) const;
    DbRow toList() const;

private:
    struct Header;
    struct Cell;
    void pack(Cell* cells, int width, int variantFrom);
    void release();
    Header* header() const { return reinterpret_cast<Header*>(block_); }
    char* block_ = nullptr;
};
