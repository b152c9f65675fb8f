#include "platform/db/connection.h"

#include "platform/db/connection_p.h"
#include "platform/db/dberror.h"
#include "platform/db/namedparams.h"
#include "platform/db/sqllex.h"

#include <QDateTime>
#include <QHash>
#include <QTimeZone>

#include <cstring>
#include <type_traits>

using namespace Firebird;

namespace {

constexpr unsigned CS_OCTETS = 1;
constexpr unsigned CS_UTF8 = 4;
constexpr unsigned BLOB_TEXT = 1;

// Read committed, record version, wait on locks.
const unsigned char kTpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version,
                              isc_tpb_wait};


DbColumn::Kind kindOf(unsigned type, int subType, int scale, unsigned charSet)
{
    switch (type) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64: return scale < 0 ? DbColumn::Kind::Float : DbColumn::Kind::Integer;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return DbColumn::Kind::Float;
    case SQL_TEXT:
    case SQL_VARYING: return charSet == CS_OCTETS ? DbColumn::Kind::Bytes : DbColumn::Kind::Text;
    case SQL_BLOB: return subType == int(BLOB_TEXT) ? DbColumn::Kind::Text : DbColumn::Kind::Bytes;
    case SQL_TIMESTAMP: return DbColumn::Kind::DateTime;
    case SQL_TYPE_DATE: return DbColumn::Kind::Date;
    case SQL_TYPE_TIME: return DbColumn::Kind::Time;
    case SQL_BOOLEAN: return DbColumn::Kind::Bool;
    default: return DbColumn::Kind::Null;
    }
}

// One division by an exact power of ten gives the double nearest the decimal value.
double scaled(qint64 v, int scale)
{
    double power = 1;
    for (int i = 0; i < -scale; ++i) power *= 10;  // exact up to 10^22
    return double(v) / power;
}

QString str(const char* s) { return QString::fromUtf8(s).trimmed(); }

} // namespace

// ---- Impl -----------------------------------------------------------------------------------

SQLConnection::Impl::Impl(SQLConnection* owner, ConnectionParams p)
    : self(owner), params(std::move(p)), master(fb_get_master_interface()), util(master->getUtilInterface())
{
}

DbError SQLConnection::Impl::translate(const FbException& e, const QString& sql) const
{
    return translateStatus(util, e, sql);
}

DbError translateStatus(IUtil* util, const FbException& e, const QString& sql)
{
    IStatus* s = e.getStatus();
    char buf[2048];
    util->formatStatus(buf, sizeof buf, s);
    const intptr_t* v = s->getErrors();
    const long gds = (v && v[0] == isc_arg_gds) ? long(v[1]) : 0;
    DbError err(QString::fromUtf8(buf).trimmed(), int(isc_sqlcode(v)), gds, sql);
    // Every code and the system's error number, so errors are told apart by code, never by text.
    QList<long> codes;
    int osError = 0;
    for (const intptr_t* a = v; a && *a != isc_arg_end; a += 2) {
        if (*a == isc_arg_gds) codes << long(a[1]);
        else if (*a == isc_arg_unix && !osError) osError = int(a[1]);
        else if (*a == isc_arg_cstring) ++a;  // length, then the text
    }
    err.setStatus(codes, osError);
    return err;
}

QByteArray SQLConnection::Impl::dpb(bool forCreate) const
{
    Status st(master);
    try {
        Ref<IXpbBuilder> b(util->getXpbBuilder(&st.w, IXpbBuilder::DPB, nullptr, 0));
        b->insertString(&st.w, isc_dpb_user_name, params.user.toUtf8().constData());
        if (!params.embedded()) b->insertString(&st.w, isc_dpb_password, params.password.toUtf8().constData());
        if (!params.role.isEmpty()) b->insertString(&st.w, isc_dpb_sql_role_name, params.role.toUtf8().constData());
        b->insertString(&st.w, isc_dpb_lc_ctype, "UTF8");
        b->insertInt(&st.w, isc_dpb_sql_dialect, params.dialect);
        if (params.embedded()) b->insertString(&st.w, isc_dpb_config, "Providers=Engine12");
        else if (params.connectTimeout > 0) b->insertInt(&st.w, isc_dpb_connect_timeout, params.connectTimeout);
        if (forCreate) {
            b->insertString(&st.w, isc_dpb_set_db_charset, "WIN1251");
            b->insertInt(&st.w, isc_dpb_page_size, 8192);
        }
        return QByteArray(reinterpret_cast<const char*>(b->getBuffer(&st.w)), int(b->getBufferLength(&st.w)));
    } catch (const FbException& e) {
        throw translate(e, {});
    }
}

void SQLConnection::Impl::attach(bool forCreate)
{
    if (att) return;
    Status st(master);
    const QByteArray d = dpb(forCreate);
    const QByteArray target = params.attachString().toUtf8();
    try {
        Ref<IProvider> prov(master->getDispatcher());
        att = forCreate ? prov->createDatabase(&st.w, target.constData(), unsigned(d.size()),
                                               reinterpret_cast<const unsigned char*>(d.constData()))
                        : prov->attachDatabase(&st.w, target.constData(), unsigned(d.size()),
                                               reinterpret_cast<const unsigned char*>(d.constData()));
    } catch (const FbException& e) {
        att = nullptr;
        DbError err = translate(e, {});
        // Refused at the door: the right to the database file, not to a statement's object.
        if (err.hasCode(isc_no_priv)) err.setProblem(DbProblem::NoAccess);
        throw err;
    }
}

void SQLConnection::Impl::ensureOpen()
{
    if (att) return;
    if (!refusal.isEmpty()) throw DbError(refusal);
    if (!opener || opening) {
        attach(false);
        return;
    }
    opening = true;
    try {
        opener(*self);
    } catch (...) {
        opening = false;
        detach();
        throw;
    }
    opening = false;
    if (!att) throw DbError(QStringLiteral("Връзката с базата данни не е отворена."));
}

void SQLConnection::Impl::dropIfLost(const DbError& e)
{
    if (!att || !connectionLost(e)) return;
    if (depth > 0) doomed = true;  // the open scope's work is gone with the connection
    detach();
}

void SQLConnection::Impl::detach()
{
    clearStatements();
    if (scopeTx) {
        CheckStatusWrapper cs(master->getStatus());
        scopeTx->rollback(&cs);
        if (cs.getState() & IStatus::STATE_ERRORS) scopeTx->release();
        cs.dispose();
        scopeTx = nullptr;
    }
    if (att) {
        CheckStatusWrapper cs(master->getStatus());
        att->detach(&cs);
        if (cs.getState() & IStatus::STATE_ERRORS) att->release();
        cs.dispose();
        att = nullptr;
    }
}

void SQLConnection::Impl::rollback(ITransaction* tx)
{
    CheckStatusWrapper cs(master->getStatus());
    tx->rollback(&cs);
    if (cs.getState() & IStatus::STATE_ERRORS) tx->release();
    cs.dispose();
}

ITransaction* SQLConnection::Impl::startTransaction(ThrowStatusWrapper* st)
{
    return att->startTransaction(st, sizeof kTpb, kTpb);
}

void SQLConnection::Impl::inTransaction(const QString& sql, const std::function<void(ThrowStatusWrapper*, ITransaction*)>& work)
{
    if (depth > 0 && doomed)
        throw DbError(QStringLiteral("Транзакцията вече е отменена."), 0, 0, sql);
    ensureOpen();
    Status st(master);
    ITransaction* tx = scopeTx;
    const bool own = tx == nullptr;
    try {
        if (own) tx = startTransaction(&st.w);
        work(&st.w, tx);
        if (own) {
            tx->commit(&st.w);
            tx = nullptr;
        }
    } catch (const FbException& e) {
        DbError err = translate(e, sql);
        if (own && tx) rollback(tx);
        dropIfLost(err);
        throw err;
    } catch (...) {
        if (own && tx) rollback(tx);
        throw;
    }
}

// ---- messages -------------------------------------------------------------------------------

namespace {

struct InputMessage
{
    Ref<IMessageMetadata> meta;
    QByteArray buffer;
};

// Builds the input message from the values in marker order. Each value travels in its own type;
// the server converts it to the parameter's type, and refuses what does not fit.
void buildInput(SQLConnection::Impl& c, ThrowStatusWrapper* st, ITransaction* tx, IMessageMetadata* server,
                const QVariantList& values, InputMessage& out)
{
    const unsigned n = server->getCount(st);
    if (n != unsigned(values.size()))
        throw DbError(QStringLiteral("Броят на параметрите не съвпада със заявката."));
    if (n == 0) return;
    Ref<IMetadataBuilder> b(server->getBuilder(st));
    QList<QByteArray> texts(n);
    for (unsigned i = 0; i < n; ++i) {
        const QVariant& v = values[int(i)];
        const unsigned serverType = server->getType(st, i) & ~1u;
        if (!v.isValid() || v.isNull()) continue;  // keep the server's type; only the null flag is set
        if (serverType == SQL_BLOB) {
            b->setType(st, i, SQL_BLOB + 1);
            b->setSubType(st, i, server->getSubType(st, i));
            b->setLength(st, i, sizeof(ISC_QUAD));
            continue;
        }
        switch (v.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::ULong:
        case QMetaType::ULongLong:
        case QMetaType::Char:
        case QMetaType::UChar:
            b->setType(st, i, SQL_INT64 + 1);
            b->setLength(st, i, sizeof(ISC_INT64));
            b->setScale(st, i, 0);
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            b->setType(st, i, SQL_DOUBLE + 1);
            b->setLength(st, i, sizeof(double));
            b->setScale(st, i, 0);
            break;
        case QMetaType::QDate:
        case QMetaType::QDateTime:
            b->setType(st, i, SQL_TIMESTAMP + 1);
            b->setLength(st, i, sizeof(ISC_TIMESTAMP));
            break;
        case QMetaType::QByteArray:
            texts[int(i)] = v.toByteArray();
            b->setType(st, i, SQL_VARYING + 1);
            b->setLength(st, i, unsigned(qMax<qsizetype>(1, texts[int(i)].size())));
            b->setCharSet(st, i, CS_OCTETS);
            break;
        default:
            texts[int(i)] = v.toString().toUtf8();
            b->setType(st, i, SQL_VARYING + 1);
            b->setLength(st, i, unsigned(qMax<qsizetype>(1, texts[int(i)].size())));
            b->setCharSet(st, i, CS_UTF8);
            b->setScale(st, i, 0);
            break;
        }
    }
    out.meta.p = b->getMetadata(st);
    IMessageMetadata* m = out.meta.p;
    out.buffer = QByteArray(int(m->getMessageLength(st)), '\0');
    unsigned char* buf = reinterpret_cast<unsigned char*>(out.buffer.data());
    IUtil* util = c.util;
    for (unsigned i = 0; i < n; ++i) {
        const QVariant& v = values[int(i)];
        unsigned char* p = buf + m->getOffset(st, i);
        short* null = reinterpret_cast<short*>(buf + m->getNullOffset(st, i));
        if (!v.isValid() || v.isNull()) {
            *null = -1;
            continue;
        }
        *null = 0;
        const unsigned type = m->getType(st, i) & ~1u;
        switch (type) {
        case SQL_BLOB: {
            const QByteArray data = (v.typeId() == QMetaType::QByteArray) ? v.toByteArray() : v.toString().toUtf8();
            ISC_QUAD id{};
            Ref<IBlob> blob(c.att->createBlob(st, tx, &id, 0, nullptr));
            for (qsizetype pos = 0; pos < data.size(); pos += 32768) {
                const qsizetype len = qMin<qsizetype>(32768, data.size() - pos);
                blob->putSegment(st, unsigned(len), data.constData() + pos);
            }
            blob->close(st);
            blob.release();
            std::memcpy(p, &id, sizeof id);
            break;
        }
        case SQL_INT64: {
            const ISC_INT64 x = v.toLongLong();
            std::memcpy(p, &x, sizeof x);
            break;
        }
        case SQL_DOUBLE: {
            const double x = v.toDouble();
            std::memcpy(p, &x, sizeof x);
            break;
        }
        case SQL_TIMESTAMP: {
            const QDateTime dt = v.typeId() == QMetaType::QDate ? QDateTime(v.toDate(), QTime(0, 0))
                                                                 : v.toDateTime();
            const QDate d = dt.date();
            const QTime t = dt.time();
            if (!d.isValid()) throw DbError(QStringLiteral("Невалидна дата."));
            ISC_TIMESTAMP ts;
            ts.timestamp_date = util->encodeDate(unsigned(d.year()), unsigned(d.month()), unsigned(d.day()));
            ts.timestamp_time = util->encodeTime(unsigned(t.hour()), unsigned(t.minute()), unsigned(t.second()),
                                                 unsigned(t.msec()) * 10u);
            std::memcpy(p, &ts, sizeof ts);
            break;
        }
        case SQL_VARYING: {
            const QByteArray& t = texts[int(i)];
            const unsigned short len = (unsigned short)t.size();
            std::memcpy(p, &len, sizeof len);
            std::memcpy(p + sizeof len, t.constData(), size_t(t.size()));
            break;
        }
        default: break;
        }
    }
}

DbRawRow::Type rawTypeOf(const DbColumn& c)
{
    using T = DbRawRow::Type;
    switch (c.sqlType) {
    case SQL_SHORT:
    case SQL_LONG: return c.scale < 0 ? T::Double : T::Int;
    case SQL_INT64: return c.scale < 0 ? T::Double : T::LongLong;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return T::Double;
    case SQL_VARYING: return c.kind == DbColumn::Kind::Bytes ? T::Bytes : T::Text;
    case SQL_TIMESTAMP: return T::DateTime;
    case SQL_TYPE_DATE: return T::Date;
    case SQL_TYPE_TIME: return T::Time;
    case SQL_BOOLEAN: return T::Bool;
    default: return T::Other;
    }
}

QVector<DbColumn> describe(ThrowStatusWrapper* st, IMessageMetadata* m, QVector<OutColumn>& layout)
{
    const unsigned n = m->getCount(st);
    QVector<DbColumn> cols;
    cols.reserve(int(n));
    layout.clear();
    for (unsigned i = 0; i < n; ++i) {
        DbColumn c;
        c.name = str(m->getAlias(st, i));
        if (c.name.isEmpty()) c.name = str(m->getField(st, i));
        c.relation = str(m->getRelation(st, i));
        c.field = str(m->getField(st, i));
        c.sqlType = m->getType(st, i) & ~1u;
        c.subType = m->getSubType(st, i);
        c.scale = m->getScale(st, i);
        c.nullable = m->isNullable(st, i);
        const unsigned cs = m->getCharSet(st, i);
        c.kind = kindOf(c.sqlType, c.subType, c.scale, cs);
        c.length = m->getLength(st, i);
        if ((c.sqlType == SQL_VARYING || c.sqlType == SQL_TEXT) && cs == CS_UTF8) c.length /= 4;
        cols << c;
        layout << OutColumn{m->getOffset(st, i), m->getNullOffset(st, i), c.sqlType, m->getLength(st, i), c.scale,
                            int(c.length), c.kind, rawTypeOf(c)};
    }
    return cols;
}

QByteArray readBlob(SQLConnection::Impl& c, ThrowStatusWrapper* st, ITransaction* tx, ISC_QUAD id)
{
    Ref<IBlob> blob(c.att->openBlob(st, tx, &id, 0, nullptr));
    QByteArray out;
    char chunk[32768];
    for (;;) {
        unsigned got = 0;
        const int r = blob->getSegment(st, sizeof chunk, chunk, &got);
        if (r == IStatus::RESULT_NO_DATA) break;
        out.append(chunk, qsizetype(got));
    }
    blob->close(st);
    blob.release();
    return out;
}

// A CHAR value under the UTF8 client fills four bytes per character with blanks: it is cut back
// to the column's width in characters.
QString charText(const unsigned char* p, const OutColumn& col)
{
    QString s = QString::fromUtf8(reinterpret_cast<const char*>(p), qsizetype(col.length));
    if (s.size() > col.chars) s.truncate(col.chars);
    return s;
}

bool isNullIn(const unsigned char* buf, const OutColumn& col)
{
    short flag;
    std::memcpy(&flag, buf + col.nullOffset, sizeof flag);
    return flag == -1;
}

template <typename T> T readAt(const unsigned char* buf, const OutColumn& col)
{
    T v;
    std::memcpy(&v, buf + col.offset, sizeof v);
    return v;
}

QVariant decodeValue(SQLConnection::Impl& c, ThrowStatusWrapper* st, ITransaction* tx, const OutColumn& col,
                     const unsigned char* buf)
{
    if (isNullIn(buf, col)) return {};
    const unsigned char* p = buf + col.offset;
    switch (col.type) {
    case SQL_SHORT: {
        const short v = readAt<short>(buf, col);
        return col.scale < 0 ? QVariant(scaled(v, col.scale)) : QVariant(int(v));
    }
    case SQL_LONG: {
        const ISC_LONG v = readAt<ISC_LONG>(buf, col);
        return col.scale < 0 ? QVariant(scaled(v, col.scale)) : QVariant(int(v));
    }
    case SQL_INT64: {
        const ISC_INT64 v = readAt<ISC_INT64>(buf, col);
        return col.scale < 0 ? QVariant(scaled(v, col.scale)) : QVariant(qint64(v));
    }
    case SQL_FLOAT: return double(readAt<float>(buf, col));
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return readAt<double>(buf, col);
    case SQL_TEXT:
        return col.kind == DbColumn::Kind::Bytes
                   ? QVariant(QByteArray(reinterpret_cast<const char*>(p), qsizetype(col.length)))
                   : QVariant(charText(p, col));
    case SQL_VARYING: {
        const unsigned short len = readAt<unsigned short>(buf, col);
        const char* s = reinterpret_cast<const char*>(p + sizeof len);
        return col.kind == DbColumn::Kind::Bytes ? QVariant(QByteArray(s, len)) : QVariant(QString::fromUtf8(s, len));
    }
    case SQL_TIMESTAMP: {
        const ISC_TIMESTAMP ts = readAt<ISC_TIMESTAMP>(buf, col);
        unsigned y, m, d, h, mi, s, frac;
        c.util->decodeDate(ts.timestamp_date, &y, &m, &d);
        c.util->decodeTime(ts.timestamp_time, &h, &mi, &s, &frac);
        return QDateTime(QDate(int(y), int(m), int(d)), QTime(int(h), int(mi), int(s), int(frac / 10)), Qt::UTC);
    }
    case SQL_TYPE_DATE: {
        unsigned y, m, d;
        c.util->decodeDate(readAt<ISC_DATE>(buf, col), &y, &m, &d);
        return QDate(int(y), int(m), int(d));
    }
    case SQL_TYPE_TIME: {
        unsigned h, mi, s, frac;
        c.util->decodeTime(readAt<ISC_TIME>(buf, col), &h, &mi, &s, &frac);
        return QTime(int(h), int(mi), int(s), int(frac / 10));
    }
    case SQL_BOOLEAN: return bool(*p);
    case SQL_BLOB: {
        const QByteArray data = readBlob(c, st, tx, readAt<ISC_QUAD>(buf, col));
        return col.kind == DbColumn::Kind::Text ? QVariant(QString::fromUtf8(data)) : QVariant(data);
    }
    default: return {};
    }
}

void decodeRow(SQLConnection::Impl& c, ThrowStatusWrapper* st, ITransaction* tx, const QVector<OutColumn>& layout,
               const unsigned char* buf, DbRow& row)
{
    row.resize(layout.size());
    for (int i = 0; i < layout.size(); ++i) row[i] = decodeValue(c, st, tx, layout[i], buf);
}

struct Bound
{
    QString sql;
    QVariantList values;
};

Bound bind(const QString& sql, const SqlParams& params)
{
    const NamedSql parsed = parseNamedParameters(sql);
    QHash<QString, QVariant> byName;
    for (auto it = params.cbegin(); it != params.cend(); ++it) byName.insert(it.key().toUpper(), it.value());
    Bound b{parsed.sql, {}};
    for (const QString& name : parsed.names) {
        auto it = byName.constFind(name);
        if (it == byName.cend())
            throw DbError(QStringLiteral("Няма стойност за параметър :%1.").arg(name), 0, 0, sql);
        b.values << it.value();
    }
    return b;
}

} // namespace

// ---- statement cache ------------------------------------------------------------------------

namespace {

// Statements that change no metadata are kept; DDL, transaction control and the rest are not.
bool cacheable(unsigned type)
{
    switch (type) {
    case isc_info_sql_stmt_select:
    case isc_info_sql_stmt_select_for_upd:
    case isc_info_sql_stmt_insert:
    case isc_info_sql_stmt_update:
    case isc_info_sql_stmt_delete:
    case isc_info_sql_stmt_exec_procedure: return true;
    default: return false;
    }
}

bool changesMetadata(unsigned type) { return type == isc_info_sql_stmt_ddl || type == isc_info_sql_stmt_set_generator; }

// A statement taken for one call: put back when the call went through, freed when it failed.
struct Lease
{
    SQLConnection::Impl& c;
    std::list<PreparedStatement> taken;
    quint64 generation;
    bool succeeded = false;
    Lease(SQLConnection::Impl& conn, ThrowStatusWrapper* st, ITransaction* tx, const QString& text)
        : c(conn), taken(conn.takeStatement(st, tx, text)), generation(conn.statementGeneration)
    {
    }
    ~Lease()
    {
        if (succeeded) c.putStatementBack(taken, generation);
        for (PreparedStatement& s : taken) c.freeStatement(s);
    }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    PreparedStatement* operator->() { return &taken.front(); }
};

} // namespace

std::list<PreparedStatement> SQLConnection::Impl::takeStatement(ThrowStatusWrapper* st, ITransaction* tx,
                                                                 const QString& text)
{
    std::list<PreparedStatement> taken;
    auto found = statementByText.find(text);
    if (found != statementByText.end()) {
        taken.splice(taken.begin(), statements, found.value());
        statementByText.erase(found);
        ++reused;
        return taken;
    }
    PreparedStatement& s = taken.emplace_back();
    s.text = text;
    try {
        const QByteArray utf8 = text.toUtf8();
        s.stmt = att->prepare(st, tx, 0, utf8.constData(), unsigned(params.dialect), IStatement::PREPARE_PREFETCH_METADATA);
        s.inMeta = s.stmt->getInputMetadata(st);
        s.outMeta = s.stmt->getOutputMetadata(st);
        s.columns = describe(st, s.outMeta, s.layout);
        s.messageLength = s.outMeta->getMessageLength(st);
        s.type = s.stmt->getType(st);
    } catch (...) {
        freeStatement(s);
        throw;
    }
    ++prepared;
    return taken;
}

void SQLConnection::Impl::putStatementBack(std::list<PreparedStatement>& taken, quint64 generation)
{
    if (taken.empty() || generation != statementGeneration || !cacheable(taken.front().type) ||
        statementByText.contains(taken.front().text))
        return;
    statements.splice(statements.begin(), taken, taken.begin());
    statementByText.insert(statements.front().text, statements.begin());
    while (statements.size() > size_t(kCachedStatements)) {
        statementByText.remove(statements.back().text);
        freeStatement(statements.back());
        statements.pop_back();
    }
}

void SQLConnection::Impl::freeStatement(PreparedStatement& s)
{
    if (s.inMeta) s.inMeta->release();
    if (s.outMeta) s.outMeta->release();
    s.inMeta = s.outMeta = nullptr;
    if (s.stmt) {
        CheckStatusWrapper cs(master->getStatus());
        s.stmt->free(&cs);
        if (cs.getState() & IStatus::STATE_ERRORS) s.stmt->release();
        cs.dispose();
        s.stmt = nullptr;
    }
}

void SQLConnection::Impl::clearStatements()
{
    ++statementGeneration;
    procInputs.clear();  // the metadata may change
    for (PreparedStatement& s : statements) freeStatement(s);
    statements.clear();
    statementByText.clear();
}

// ---- running a statement --------------------------------------------------------------------

struct DbRawRow::Context
{
    SQLConnection::Impl& c;
    ThrowStatusWrapper* st;
    ITransaction* tx;
    const QVector<OutColumn>& layout;
};

void SQLConnection::Impl::run(const QString& sql, const QString& positional, const QVariantList& values,
                              const std::function<void(const DbRow&)>* onRow,
                              const std::function<void(const DbRawRow&)>* onRaw, QVector<DbColumn>* columns,
                              QVariantMap* outputs, int* affected)
{
    inTransaction(sql, [&](ThrowStatusWrapper* st, ITransaction* tx) {
        Lease stmt(*this, st, tx, positional);
        // A cached statement holds the objects it uses: none may be left when the metadata changes.
        if (changesMetadata(stmt->type)) clearStatements();
        InputMessage in;
        buildInput(*this, st, tx, stmt->inMeta, values, in);
        IMessageMetadata* inMeta = in.meta.p ? in.meta.p : stmt->inMeta;
        const void* inBuf = in.buffer.isEmpty() ? nullptr : in.buffer.constData();
        QByteArray outBuf(int(stmt->messageLength), '\0');
        auto* buf = reinterpret_cast<unsigned char*>(outBuf.data());
        const QVector<OutColumn>& layout = stmt->layout;
        if (stmt->type == isc_info_sql_stmt_select || stmt->type == isc_info_sql_stmt_select_for_upd) {
            Ref<IResultSet> rs(stmt->stmt->openCursor(st, tx, inMeta, const_cast<void*>(inBuf), stmt->outMeta, 0));
            if (onRaw) {
                const DbRawRow::Context context{*this, st, tx, layout};
                const DbRawRow raw(context, buf);
                while (rs->fetchNext(st, buf) == IStatus::RESULT_OK) (*onRaw)(raw);
            } else {
                DbRow row;
                while (rs->fetchNext(st, buf) == IStatus::RESULT_OK) {
                    decodeRow(*this, st, tx, layout, buf, row);
                    if (onRow) (*onRow)(row);
                }
            }
            rs->close(st);
            rs.release();
        } else {
            stmt->stmt->execute(st, tx, inMeta, const_cast<void*>(inBuf), stmt->outMeta, buf);
            if (outputs && !stmt->columns.isEmpty()) {
                DbRow row;
                decodeRow(*this, st, tx, layout, buf, row);
                for (int i = 0; i < stmt->columns.size(); ++i) outputs->insert(stmt->columns[i].name, row[i]);
            }
            if (affected) *affected = int(stmt->stmt->getAffectedRecords(st));
        }
        if (columns) *columns = stmt->columns;
        stmt.succeeded = true;
    });
}

// ---- DbRawRow -------------------------------------------------------------------------------

namespace {
constexpr qint64 kJulianDayOfIscDate0 = 2400001;  // 17 November 1858
constexpr qint64 kJulianDayOfEpoch = 2440588;     // 1 January 1970
constexpr qint64 kMsecsPerDay = 86400000;
} // namespace

int DbRawRow::size() const { return int(c_.layout.size()); }

DbRawRow::Type DbRawRow::type(int i) const
{
    const OutColumn& col = c_.layout[i];
    return isNullIn(buf_, col) ? Type::Null : col.raw;
}

bool DbRawRow::toBool(int i) const { return bool(buf_[c_.layout[i].offset]); }

qint64 DbRawRow::toInteger(int i) const
{
    const OutColumn& col = c_.layout[i];
    switch (col.type) {
    case SQL_SHORT: return readAt<short>(buf_, col);
    case SQL_LONG: return readAt<ISC_LONG>(buf_, col);
    default: return readAt<ISC_INT64>(buf_, col);
    }
}

double DbRawRow::toDouble(int i) const
{
    const OutColumn& col = c_.layout[i];
    switch (col.type) {
    case SQL_SHORT: return scaled(readAt<short>(buf_, col), col.scale);
    case SQL_LONG: return scaled(readAt<ISC_LONG>(buf_, col), col.scale);
    case SQL_INT64: return scaled(readAt<ISC_INT64>(buf_, col), col.scale);
    case SQL_FLOAT: return double(readAt<float>(buf_, col));
    default: return readAt<double>(buf_, col);
    }
}

QByteArrayView DbRawRow::utf8(int i) const
{
    const OutColumn& col = c_.layout[i];
    const unsigned short len = readAt<unsigned short>(buf_, col);
    return QByteArrayView(reinterpret_cast<const char*>(buf_ + col.offset + sizeof len), len);
}

QByteArrayView DbRawRow::bytes(int i) const { return utf8(i); }

qint64 DbRawRow::julianDay(int i) const { return readAt<ISC_DATE>(buf_, c_.layout[i]) + kJulianDayOfIscDate0; }

int DbRawRow::msecsOfDay(int i) const { return int(readAt<ISC_TIME>(buf_, c_.layout[i]) / 10); }

qint64 DbRawRow::msecsSinceEpoch(int i) const
{
    const ISC_TIMESTAMP ts = readAt<ISC_TIMESTAMP>(buf_, c_.layout[i]);
    return (ts.timestamp_date + kJulianDayOfIscDate0 - kJulianDayOfEpoch) * kMsecsPerDay + ts.timestamp_time / 10;
}

QVariant DbRawRow::value(int i) const { return decodeValue(c_.c, c_.st, c_.tx, c_.layout[i], buf_); }

// ---- SQLConnection --------------------------------------------------------------------------

SQLConnection::SQLConnection(ConnectionParams params) : d(std::make_unique<Impl>(this, std::move(params))) {}

SQLConnection::~SQLConnection() { d->detach(); }

const ConnectionParams& SQLConnection::params() const { return d->params; }

void SQLConnection::setParams(const ConnectionParams& params)
{
    d->detach();
    d->params = params;
    d->refusal.clear();
}

void SQLConnection::open()
{
    if (!d->refusal.isEmpty()) throw DbError(d->refusal);
    d->attach(false);
}

void SQLConnection::create()
{
    if (!d->refusal.isEmpty()) throw DbError(d->refusal);
    d->detach();
    d->attach(true);
}

void SQLConnection::openChecked() { d->ensureOpen(); }

void SQLConnection::setOpener(std::function<void(SQLConnection&)> opener) { d->opener = std::move(opener); }

void SQLConnection::refuse(const QString& reason)
{
    d->detach();
    d->refusal = reason;
}

void SQLConnection::close() { d->detach(); }

bool SQLConnection::isOpen() const { return d->att != nullptr; }

DbResult SQLConnection::query(const QString& sql, const SqlParams& params)
{
    DbResult r;
    const std::function<void(const DbRow&)> keep = [&r](const DbRow& row) { r.rows.push_back(row); };
    const Bound b = bind(sql, params);
    d->run(sql, b.sql, b.values, &keep, nullptr, &r.columns, nullptr, nullptr);
    return r;
}

void SQLConnection::forEachRow(const QString& sql, const SqlParams& params,
                               const std::function<void(const DbRow&)>& onRow, QVector<DbColumn>* columns)
{
    const Bound b = bind(sql, params);
    d->run(sql, b.sql, b.values, &onRow, nullptr, columns, nullptr, nullptr);
}

void SQLConnection::forEachRawRow(const QString& sql, const SqlParams& params,
                                  const std::function<void(const DbRawRow&)>& onRow, QVector<DbColumn>* columns)
{
    const Bound b = bind(sql, params);
    d->run(sql, b.sql, b.values, nullptr, &onRow, columns, nullptr, nullptr);
}

int SQLConnection::execute(const QString& sql, const SqlParams& params)
{
    const Bound b = bind(sql, params);
    int affected = 0;
    d->run(sql, b.sql, b.values, nullptr, nullptr, nullptr, nullptr, &affected);
    return affected;
}

QVariantMap SQLConnection::executeReturning(const QString& sql, const SqlParams& params)
{
    const Bound b = bind(sql, params);
    QVariantMap outputs;
    d->run(sql, b.sql, b.values, nullptr, nullptr, nullptr, &outputs, nullptr);
    return outputs;
}

void SQLConnection::executeImmediate(const QString& sql)
{
    d->inTransaction(sql, [&](ThrowStatusWrapper* st, ITransaction* tx) {
        d->clearStatements();  // DDL must find no statement of this connection holding its objects
        const QByteArray text = sql.toUtf8();
        d->att->execute(st, tx, 0, text.constData(), unsigned(d->params.dialect), nullptr, nullptr, nullptr, nullptr);
    });
}

SQLConnection::StatementCacheStats SQLConnection::statementCacheStats() const
{
    return {int(d->statements.size()), d->prepared, d->reused};
}

void SQLConnection::clearStatementCache() { d->clearStatements(); }

QStringList SQLConnection::procedureInputs(const QString& name)
{
    const QString key = name.toUpper();
    auto it = d->procInputs.constFind(key);
    if (it != d->procInputs.cend()) return it.value();
    const DbResult exists =
        query(QStringLiteral("select 1 from rdb$procedures where rdb$procedure_name = :N"), {{QStringLiteral("N"), key}});
    if (exists.isEmpty()) throw DbError(QStringLiteral("Няма процедура %1.").arg(key));
    const DbResult r = query(QStringLiteral("select rdb$parameter_name from rdb$procedure_parameters "
                                            "where rdb$procedure_name = :N and rdb$parameter_type = 0 "
                                            "order by rdb$parameter_number"),
                             {{QStringLiteral("N"), key}});
    QStringList names;
    for (const DbRow& row : r.rows) names << row[0].toString().trimmed().toUpper();
    d->procInputs.insert(key, names);
    return names;
}

namespace {
Bound procedureCall(SQLConnection& c, const QString& name, const SqlParams& inputs)
{
    if (!SqlLex::isIdentifier(name)) throw DbError(QStringLiteral("Невалидно име на процедура: %1").arg(name));
    const QStringList names = c.procedureInputs(name);
    QHash<QString, QVariant> byName;
    for (auto it = inputs.cbegin(); it != inputs.cend(); ++it) {
        const QString k = it.key().toUpper();
        if (!names.contains(k))
            throw DbError(QStringLiteral("Процедурата %1 няма параметър %2.").arg(name.toUpper(), k));
        byName.insert(k, it.value());
    }
    Bound b;
    QStringList marks;
    for (const QString& n : names) {
        marks << QStringLiteral("?");
        b.values << byName.value(n);
    }
    b.sql = name.toUpper() + (marks.isEmpty() ? QString() : u'(' + marks.join(u", ") + u')');
    return b;
}
} // namespace

QVariantMap SQLConnection::executeProcedure(const QString& name, const SqlParams& inputs)
{
    Bound b = procedureCall(*this, name, inputs);
    b.sql.prepend(QStringLiteral("execute procedure "));
    QVariantMap outputs;
    d->run(b.sql, b.sql, b.values, nullptr, nullptr, nullptr, &outputs, nullptr);
    return outputs;
}

DbResult SQLConnection::selectProcedure(const QString& name, const SqlParams& inputs, const QString& orderBy)
{
    Bound b = procedureCall(*this, name, inputs);
    b.sql.prepend(QStringLiteral("select * from "));
    if (!orderBy.isEmpty()) b.sql += QStringLiteral(" order by ") + orderBy;
    DbResult r;
    const std::function<void(const DbRow&)> keep = [&r](const DbRow& row) { r.rows.push_back(row); };
    d->run(b.sql, b.sql, b.values, &keep, nullptr, &r.columns, nullptr, nullptr);
    return r;
}

// ---- DbResult -------------------------------------------------------------------------------

int DbResult::columnIndex(const QString& name) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant DbResult::value(std::size_t row, const QString& column) const
{
    const int i = columnIndex(column);
    if (i < 0 || row >= rows.size()) return {};
    return rows[row][i];
}
