#include "platform/dataset/packedrow.h"

#include "platform/db/dberror.h"

#include <QDateTime>
#include <QStringDecoder>
#include <QVarLengthArray>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

enum Tag : quint8 { Null, Bool, Int, LongLong, Double, String, Bytes, Date, Time, DateTimeUtc, Variant };

constexpr qsizetype kInlineLimit = 1024;  // longer text stays shared, in a QVariant
constexpr size_t kMaxPayload = 0xFFFF;     // offsets are 16 bits

size_t alignTo(size_t n, size_t a) { return (n + a - 1) & ~(a - 1); }
static_assert(sizeof(QVariant) % 8 == 0 && alignof(QVariant) <= 8);

size_t fixedSize(Tag t)
{
    switch (t) {
    case Bool: return 1;
    case Int:
    case Time: return 4;
    case LongLong:
    case Double:
    case Date:
    case DateTimeUtc: return 8;
    default: return 0;
    }
}

template <typename T> void put(char* p, T v) { std::memcpy(p, &v, sizeof v); }
template <typename T> T get(const char* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

} // namespace

// One value on its way into a block: how it is stored, the bytes it takes and where they come
// from (a number in fixed, text and bytes at data, anything else as variant).
struct PackedRow::Cell
{
    Tag tag = Null;
    size_t bytes = 0;
    char fixed[8];
    const void* data = nullptr;
    QVariant variant;

    template <typename T> void set(Tag t, T v)
    {
        tag = t;
        bytes = sizeof v;
        put(fixed, v);
    }
    void setBool(bool v)
    {
        tag = Bool;
        bytes = 1;
        fixed[0] = v ? 1 : 0;
    }
    void setData(Tag t, const void* p, size_t n)
    {
        tag = t;
        data = p;
        bytes = n;
    }
    void setVariant(const QVariant& v)
    {
        tag = Variant;
        bytes = sizeof(QVariant);
        if (&variant != &v) variant = v;
    }
    // v must outlive the cell when it is text or bytes.
    void setFrom(const QVariant& v, bool asVariant)
    {
        if (!v.isValid() && !asVariant) {
            tag = Null;
            bytes = 0;
            return;
        }
        if (!asVariant && !v.isNull()) {
            switch (v.typeId()) {
            case QMetaType::Bool: return setBool(*static_cast<const bool*>(v.constData()));
            case QMetaType::Int: return set(Int, *static_cast<const int*>(v.constData()));
            case QMetaType::LongLong: return set(LongLong, *static_cast<const qlonglong*>(v.constData()));
            case QMetaType::Double: return set(Double, *static_cast<const double*>(v.constData()));
            case QMetaType::QString: {
                const auto* s = static_cast<const QString*>(v.constData());
                if (s->isNull() || s->size() > kInlineLimit) break;
                return setData(String, s->constData(), size_t(s->size()) * sizeof(QChar));
            }
            case QMetaType::QByteArray: {
                const auto* b = static_cast<const QByteArray*>(v.constData());
                if (b->isNull() || b->size() > kInlineLimit) break;
                return setData(Bytes, b->constData(), size_t(b->size()));
            }
            case QMetaType::QDate: {
                const auto* d = static_cast<const QDate*>(v.constData());
                if (!d->isValid()) break;
                return set(Date, qint64(d->toJulianDay()));
            }
            case QMetaType::QTime: {
                const auto* t = static_cast<const QTime*>(v.constData());
                if (!t->isValid()) break;
                return set(Time, t->msecsSinceStartOfDay());
            }
            case QMetaType::QDateTime: {
                const auto* dt = static_cast<const QDateTime*>(v.constData());
                if (!dt->isValid() || dt->timeSpec() != Qt::UTC) break;
                return set(DateTimeUtc, qint64(dt->toMSecsSinceEpoch()));
            }
            default: break;
            }
        }
        setVariant(v);
    }
    void write(char* p) const
    {
        switch (tag) {
        case Null: break;
        case String:
        case Bytes: std::memcpy(p, data, bytes); break;
        case Variant: new (p) QVariant(variant); break;
        default: std::memcpy(p, fixed, bytes); break;
        }
    }
};

// The block: this header, then a 16-bit payload offset and a tag per slot, then the payload: the
// QVariants first (aligned), then the other values in slot order, unpadded, so that a value of
// variable length ends where the next one that is not a QVariant begins.
struct PackedRow::Header
{
    quint16 count;
    quint16 variantFrom;
    quint16 payload;
    quint16 unused;
    static size_t bytesBefore(int count) { return alignTo(sizeof(Header) + size_t(count) * 3, 8); }
    quint16* offsets() { return reinterpret_cast<quint16*>(this + 1); }
    quint8* tags() { return reinterpret_cast<quint8*>(offsets() + count); }
    char* slot(int i) { return reinterpret_cast<char*>(this) + bytesBefore(count) + offsets()[i]; }
    size_t slotBytes(int i)
    {
        for (int j = i + 1; j < count; ++j)
            if (tags()[j] != Variant) return size_t(offsets()[j] - offsets()[i]);
        return size_t(payload - offsets()[i]);
    }
};

PackedRow::PackedRow(const DbRow& values, int width, int variantFrom)
{
    if (width <= 0) return;
    QVarLengthArray<Cell, 64> cells(width);
    static const QVariant null;
    for (int i = 0; i < width; ++i) cells[i].setFrom(i < values.size() ? values[i] : null, i >= variantFrom);
    pack(cells.data(), width, variantFrom);
}

PackedRow::PackedRow(const DbRawRow& row, int width, int variantFrom)
{
    if (width <= 0) return;
    const int columns = qMin(width, row.size());
    QVarLengthArray<Cell, 64> cells(width);
    // Text is turned to UTF-16 into one buffer for the row, sized once so that it never moves.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    qsizetype textUnits = 0;
    for (int i = 0; i < columns && i < variantFrom; ++i)
        if (row.type(i) == DbRawRow::Type::Text) textUnits += utf8.requiredSpace(row.utf8(i).size());
    QVarLengthArray<QChar, 2048> text(textUnits);
    QChar* out = text.data();
    for (int i = 0; i < width; ++i) {
        Cell& c = cells[i];
        const DbRawRow::Type type = i < columns ? row.type(i) : DbRawRow::Type::Null;
        if (i >= variantFrom) {
            c.setFrom(type == DbRawRow::Type::Null ? QVariant() : row.value(i), true);
            continue;
        }
        switch (type) {
        case DbRawRow::Type::Null: break;
        case DbRawRow::Type::Bool: c.setBool(row.toBool(i)); break;
        case DbRawRow::Type::Int: c.set(Int, int(row.toInteger(i))); break;
        case DbRawRow::Type::LongLong: c.set(LongLong, qint64(row.toInteger(i))); break;
        case DbRawRow::Type::Double: c.set(Double, row.toDouble(i)); break;
        case DbRawRow::Type::Date: c.set(Date, row.julianDay(i)); break;
        case DbRawRow::Type::Time: c.set(Time, row.msecsOfDay(i)); break;
        case DbRawRow::Type::DateTime: c.set(DateTimeUtc, row.msecsSinceEpoch(i)); break;
        case DbRawRow::Type::Text: {
            const QByteArrayView bytes = row.utf8(i);
            QChar* end = bytes.isEmpty() ? out : utf8.appendToBuffer(out, bytes);
            if (bytes.isEmpty() || end - out > kInlineLimit) {
                c.variant = row.value(i);  // kept shared, as from a DbRow
                c.setFrom(c.variant, false);
            } else {
                c.setData(String, out, size_t(end - out) * sizeof(QChar));
                out = end;
            }
            break;
        }
        case DbRawRow::Type::Bytes: {
            const QByteArrayView bytes = row.bytes(i);
            if (bytes.isEmpty() || bytes.size() > kInlineLimit) {
                c.variant = row.value(i);
                c.setFrom(c.variant, false);
            } else {
                c.setData(Bytes, bytes.data(), size_t(bytes.size()));
            }
            break;
        }
        case DbRawRow::Type::Other:
            c.variant = row.value(i);
            c.setFrom(c.variant, false);
            break;
        }
    }
    pack(cells.data(), width, variantFrom);
}

// Lays the cells out in one block: the QVariants first, then the other values in slot order.
void PackedRow::pack(Cell* cells, int width, int variantFrom)
{
    QVarLengthArray<quint16, 64> offsets(width);
    size_t variants = 0;
    for (int i = 0; i < width; ++i)
        if (cells[i].tag == Variant) offsets[i] = quint16(qMin(variants++ * sizeof(QVariant), kMaxPayload));
    size_t at = variants * sizeof(QVariant);
    for (int i = 0; i < width; ++i) {
        if (cells[i].tag == Variant) continue;
        if (at > kMaxPayload) break;
        offsets[i] = quint16(at);
        at += cells[i].bytes;
    }
    if (at > kMaxPayload) throw DbError(QStringLiteral("Редът е твърде широк, за да се зареди."));
    const size_t before = Header::bytesBefore(width);
    block_ = static_cast<char*>(std::malloc(before + at));
    if (!block_) throw std::bad_alloc();
    Header* h = header();
    h->count = quint16(width);
    h->variantFrom = quint16(qBound(0, variantFrom, width));
    h->payload = quint16(at);
    h->unused = 0;
    for (int i = 0; i < width; ++i) {
        h->offsets()[i] = offsets[i];
        h->tags()[i] = cells[i].tag;
        cells[i].write(h->slot(i));
    }
}

PackedRow::PackedRow(const PackedRow& other)
{
    if (!other.block_) return;
    Header* o = other.header();
    const size_t bytes = Header::bytesBefore(o->count) + o->payload;
    block_ = static_cast<char*>(std::malloc(bytes));
    if (!block_) throw std::bad_alloc();
    std::memcpy(block_, other.block_, bytes);
    Header* h = header();
    for (int i = 0; i < h->count; ++i)
        if (h->tags()[i] == Variant) new (h->slot(i)) QVariant(*reinterpret_cast<const QVariant*>(o->slot(i)));
}

PackedRow& PackedRow::operator=(const PackedRow& other)
{
    if (this != &other) *this = PackedRow(other);
    return *this;
}

PackedRow& PackedRow::operator=(PackedRow&& other) noexcept
{
    if (this != &other) {
        release();
        block_ = other.block_;
        other.block_ = nullptr;
    }
    return *this;
}

void PackedRow::release()
{
    if (!block_) return;
    Header* h = header();
    for (int i = 0; i < h->count; ++i)
        if (h->tags()[i] == Variant) reinterpret_cast<QVariant*>(h->slot(i))->~QVariant();
    std::free(block_);
    block_ = nullptr;
}

int PackedRow::size() const { return block_ ? header()->count : 0; }

QVariant PackedRow::at(int slot) const
{
    if (slot < 0 || slot >= size()) return {};
    Header* h = header();
    const char* p = h->slot(slot);
    switch (Tag(h->tags()[slot])) {
    case Null: return {};
    case Bool: return bool(*p);
    case Int: return get<int>(p);
    case LongLong: return get<qlonglong>(p);
    case Double: return get<double>(p);
    case String: {
        QString s(qsizetype(h->slotBytes(slot) / sizeof(QChar)), Qt::Uninitialized);
        std::memcpy(static_cast<void*>(s.data()), p, size_t(s.size()) * sizeof(QChar));
        return s;
    }
    case Bytes: return QByteArray(p, qsizetype(h->slotBytes(slot)));
    case Date: return QDate::fromJulianDay(get<qint64>(p));
    case Time: return QTime::fromMSecsSinceStartOfDay(get<int>(p));
    case DateTimeUtc: return QDateTime::fromMSecsSinceEpoch(get<qint64>(p), Qt::UTC);
    case Variant: return *reinterpret_cast<const QVariant*>(p);
    }
    return {};
}

void PackedRow::set(int slot, const QVariant& value)
{
    if (slot < 0) return;
    if (slot >= size()) resize(slot + 1);
    Header* h = header();
    char* p = h->slot(slot);
    const Tag old = Tag(h->tags()[slot]);
    if (old == Variant) {
        *reinterpret_cast<QVariant*>(p) = value;
        return;
    }
    Cell c;
    c.setFrom(value, false);
    if (fixedSize(c.tag) != 0 && fixedSize(c.tag) == fixedSize(old)) {  // same room: written in place
        h->tags()[slot] = c.tag;
        c.write(p);
        return;
    }
    DbRow all = toList();
    all[slot] = value;
    *this = PackedRow(all, h->count, h->variantFrom);
}

void PackedRow::resize(int width)
{
    if (width == size()) return;
    const int variantFrom = block_ ? header()->variantFrom : width;
    DbRow all = toList();
    all.resize(width);
    *this = PackedRow(all, width, qMin(variantFrom, width));
}

PackedRow PackedRow::mid(int from, int count) const
{
    const DbRow part = toList().mid(from, count);
    const int variantFrom = block_ ? header()->variantFrom - from : 0;
    return PackedRow(part, int(part.size()), qBound(0, variantFrom, int(part.size())));
}

DbRow PackedRow::toList() const
{
    DbRow out(size());
    for (int i = 0; i < out.size(); ++i) out[i] = at(i);
    return out;
}
