#include "platform/dataset/packedrow.h"

#include "platform/db/dberror.h"

#include <QDateTime>
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

// How a value is stored: its tag and the bytes it takes.
Tag tagOf(const QVariant& v, bool asVariant, size_t* bytes)
{
    *bytes = 0;
    if (!v.isValid()) return asVariant ? (*bytes = sizeof(QVariant), Variant) : Null;
    if (!asVariant && !v.isNull()) {
        switch (v.typeId()) {
        case QMetaType::Bool: *bytes = 1; return Bool;
        case QMetaType::Int: *bytes = 4; return Int;
        case QMetaType::LongLong: *bytes = 8; return LongLong;
        case QMetaType::Double: *bytes = 8; return Double;
        case QMetaType::QString: {
            const auto* s = static_cast<const QString*>(v.constData());
            if (s->isNull() || s->size() > kInlineLimit) break;
            *bytes = size_t(s->size()) * sizeof(QChar);
            return String;
        }
        case QMetaType::QByteArray: {
            const auto* b = static_cast<const QByteArray*>(v.constData());
            if (b->isNull() || b->size() > kInlineLimit) break;
            *bytes = size_t(b->size());
            return Bytes;
        }
        case QMetaType::QDate:
            if (!static_cast<const QDate*>(v.constData())->isValid()) break;
            *bytes = 8;
            return Date;
        case QMetaType::QTime:
            if (!static_cast<const QTime*>(v.constData())->isValid()) break;
            *bytes = 4;
            return Time;
        case QMetaType::QDateTime: {
            const auto* dt = static_cast<const QDateTime*>(v.constData());
            if (!dt->isValid() || dt->timeSpec() != Qt::UTC) break;
            *bytes = 8;
            return DateTimeUtc;
        }
        default: break;
        }
    }
    *bytes = sizeof(QVariant);
    return Variant;
}

template <typename T> void put(char* p, T v) { std::memcpy(p, &v, sizeof v); }
template <typename T> T get(const char* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void write(char* p, Tag tag, const QVariant& v, size_t bytes)
{
    switch (tag) {
    case Null: break;
    case Bool: *p = *static_cast<const bool*>(v.constData()) ? 1 : 0; break;
    case Int: put(p, *static_cast<const int*>(v.constData())); break;
    case LongLong: put(p, *static_cast<const qlonglong*>(v.constData())); break;
    case Double: put(p, *static_cast<const double*>(v.constData())); break;
    case String: std::memcpy(p, static_cast<const QString*>(v.constData())->constData(), bytes); break;
    case Bytes: std::memcpy(p, static_cast<const QByteArray*>(v.constData())->constData(), bytes); break;
    case Date: put(p, static_cast<const QDate*>(v.constData())->toJulianDay()); break;
    case Time: put(p, static_cast<const QTime*>(v.constData())->msecsSinceStartOfDay()); break;
    case DateTimeUtc: put(p, static_cast<const QDateTime*>(v.constData())->toMSecsSinceEpoch()); break;
    case Variant: new (p) QVariant(v); break;
    }
}

} // namespace

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
    QVarLengthArray<Tag, 64> tags(width);
    QVarLengthArray<quint16, 64> offsets(width);
    QVarLengthArray<size_t, 64> sizes(width);
    static const QVariant null;
    size_t variants = 0;
    for (int i = 0; i < width; ++i) {
        tags[i] = tagOf(i < values.size() ? values[i] : null, i >= variantFrom, &sizes[i]);
        if (tags[i] == Variant) offsets[i] = quint16(qMin(variants++ * sizeof(QVariant), kMaxPayload));
    }
    size_t at = variants * sizeof(QVariant);
    for (int i = 0; i < width; ++i) {
        if (tags[i] == Variant) continue;
        if (at > kMaxPayload) break;
        offsets[i] = quint16(at);
        at += sizes[i];
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
        h->tags()[i] = tags[i];
        write(h->slot(i), tags[i], i < values.size() ? values[i] : null, sizes[i]);
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
    size_t bytes = 0;
    const Tag tag = tagOf(value, false, &bytes);
    if (fixedSize(tag) != 0 && fixedSize(tag) == fixedSize(old)) {  // same room: written in place
        h->tags()[slot] = tag;
        write(p, tag, value, bytes);
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
