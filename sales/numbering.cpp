#include "sales/numbering.h"

#include "platform/base/clock.h"
#include "platform/db/connection.h"
#include "platform/db/dberror.h"

#include <ibase.h>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace Numbering {

namespace {

// Text invoice numbers of offices 1 and 2 are told apart by comparing the text with this bound;
// the other offices compare the number. The literals stay in the statements as they are. A stored
// text that is no whole number (older rows: letters, a fraction, an empty text) is passed over,
// so it can never stop the proposals; the other offices' comparison reads such a text as null.
const QString kOfficeOneQuery =
    u"select (max(Nfaktura)+'1') as NewNumFaktura1 from Prodagbi where NFaktura < '2000000000' "
    u"and NFaktura similar to '[-]?[0-9]+'"_s;
const QString kOfficeTwoQuery =
    u"select (max(Nfaktura)+'1') as NewNumFaktura2 from Prodagbi where NFaktura > '2000000000' "
    u"and NFaktura similar to '[-]?[0-9]+'"_s;
const QString kOtherOfficeQuery =
    u"select (max(Nfaktura)+'1') as NewNumFaktura1 from Prodagbi "
    u"where iif(NFaktura similar to '[-]?[0-9]+', NFaktura, null) < 2000000000"_s;
const QString kIntegerInvoiceQuery = u"select (max(NFakt_Int)+'1') as NewNumFaktInt from Prodagbi"_s;
const QString kStockReceiptQuery = u"select (max(NStok_Razp)+'1') as NewNumStokRazp from Prodagbi"_s;
const QString kConsignmentQuery = u"select (max(NKonsignacia)+'1') as NewNumKonsignacia from Prodagbi"_s;
const QString kDispatchNoteQuery = u"select (max(NEksp_Bel)+'1') as NewNumEkspBel from Prodagbi"_s;
const QString kRequisitionQuery =
    u"select max(NEksp_Bel)+1 as NewNumEkspBel from Prodagbi where DATEFAKTURA between :DateOt and :DateDo"_s;
const QString kSaleNumberQuery =
    u"select (max(NumProdagba)+'1') as MaxNumProdagba from Prodagbi where NumProdagba>=:INProdagba"_s;

constexpr int kTextInvoiceWidth = 10;
constexpr int kIntegerInvoiceWidth = 9;
constexpr int kSaleNumberLength = 11;

// Whole numbers up to 2^53 are exact in a double; beyond that the text would be a guess.
constexpr double kExactDoubleLimit = 9007199254740992.0;

QString documentNumberNotIntegerMessage()
{
    return u"Последният номер на документа не е цяло число - въведете номера ръчно !"_s;
}

QString saleNumberNotIntegerMessage()
{
    return u"Номерът на продажбата не може да бъде определен - последният номер не е цяло число !"_s;
}

// Dialect 1 turns text into a number for "+'1'" and for a comparison with a number, and fails on
// text that is no number (an empty text included).
bool isConversionError(const DbError& e) { return e.gdsCode() == isc_convert_error; }

// The single value of a one-row aggregate query; a null when the query found no rows. A
// conversion error of the server comes back as nullopt.
std::optional<QVariant> singleValue(SQLConnection& db, const QString& sql, const SqlParams& params = {})
{
    try {
        const DbResult r = db.query(sql, params);
        if (r.isEmpty() || r.columns.isEmpty()) return QVariant();
        return r.rows.front().value(0);
    } catch (const DbError& e) {
        if (isConversionError(e)) return std::nullopt;
        throw;
    }
}

// "Highest plus one" series whose empty result becomes "1".
NumberProposal plainSeries(SQLConnection& db, const QString& sql, const SqlParams& params = {})
{
    const std::optional<QVariant> v = singleValue(db, sql, params);
    if (!v) return NumberProposal::failure(documentNumberNotIntegerMessage());
    if (v->isNull() || !v->isValid()) return NumberProposal::text(u"1"_s);
    const std::optional<QString> text = exactIntegerText(*v);
    if (!text) return NumberProposal::failure(documentNumberNotIntegerMessage());
    return NumberProposal::text(*text);
}

NumberProposal textInvoiceNumber(SQLConnection& db, int office)
{
    const QString& sql = office == OfficeOne ? kOfficeOneQuery : office == OfficeTwo ? kOfficeTwoQuery
                                                                                     : kOtherOfficeQuery;
    const std::optional<QVariant> v = singleValue(db, sql);
    if (!v) return NumberProposal::failure(invoiceNumberNotIntegerMessage());

    QString text;
    if (v->isValid() && !v->isNull()) {
        const std::optional<QString> exact = exactIntegerText(*v);
        if (!exact) return NumberProposal::failure(invoiceNumberNotIntegerMessage());
        text = *exact;
    }
    // Office 1 without invoices leaves the box empty: the first number is typed by the user.
    if (office == OfficeOne) return NumberProposal::text(text);
    if (text.isEmpty()) text = office == OfficeTwo ? u"2000000001"_s : u"1"_s;
    return NumberProposal::text(withLeadingZeros(text.toLongLong(), kTextInvoiceWidth));
}

NumberProposal integerInvoiceNumber(SQLConnection& db, const QString& symbol)
{
    const NumberProposal n = plainSeries(db, kIntegerInvoiceQuery);
    if (!n.hasText()) return NumberProposal::failure(invoiceNumberNotIntegerMessage());
    return NumberProposal::text(symbol + withLeadingZeros(n.value().toLongLong(), kIntegerInvoiceWidth));
}

} // namespace

InvoiceNumbering InvoiceNumbering::fromCompany(SQLConnection& db)
{
    InvoiceNumbering n;
    n.mode = NotSet;
    const DbResult r = db.query(u"select NFAKT_TXT_INT, NFAKT_SIMVOL from FIRMA"_s);
    if (r.isEmpty()) return n;
    const QVariant mode = r.value(0, u"NFAKT_TXT_INT"_s);
    if (mode.isValid() && !mode.isNull()) n.mode = mode.toInt();
    n.symbol = r.value(0, u"NFAKT_SIMVOL"_s).toString();
    return n;
}

NumberProposal proposeInvoiceNumber(SQLConnection& db, const InvoiceNumbering& numbering, int office)
{
    switch (numbering.mode) {
    case InvoiceNumbering::TextNumbers: return textInvoiceNumber(db, office);
    case InvoiceNumbering::IntegerNumbers: return integerInvoiceNumber(db, numbering.symbol);
    default: return NumberProposal::untouched();
    }
}

NumberProposal proposeStockReceiptNumber(SQLConnection& db) { return plainSeries(db, kStockReceiptQuery); }

NumberProposal proposeConsignmentNumber(SQLConnection& db) { return plainSeries(db, kConsignmentQuery); }

NumberProposal proposeDispatchNoteNumber(SQLConnection& db) { return plainSeries(db, kDispatchNoteQuery); }

NumberProposal proposeRequisitionNumber(SQLConnection& db)
{
    const int year = Clock::today().year();
    return plainSeries(db, kRequisitionQuery,
                       {{u"DateOt"_s, QDate(year, 1, 1)}, {u"DateDo"_s, QDate(year, 12, 31)}});
}

NumberProposal proposeNumber(SQLConnection& db, ProposedNumber which)
{
    switch (which) {
    case ProposedNumber::None: return NumberProposal::untouched();
    case ProposedNumber::StockReceipt: return proposeStockReceiptNumber(db);
    case ProposedNumber::Consignment: return proposeConsignmentNumber(db);
    case ProposedNumber::DispatchNote: return proposeDispatchNoteNumber(db);
    case ProposedNumber::Requisition: return proposeRequisitionNumber(db);
    }
    return NumberProposal::untouched();
}

DocumentTypeProposals proposeForDocumentType(SQLConnection& db, const InvoiceNumbering& numbering, int office,
                                             int typeCode)
{
    DocumentTypeProposals p;
    p.invoice = proposeInvoiceNumber(db, numbering, office);
    if (const std::optional<SaleEntryMode> mode = saleEntryModeForCode(typeCode)) {
        p.other = mode->proposed;
        p.otherNumber = proposeNumber(db, p.other);
    }
    return p;
}

NumberProposal nextSaleNumber(SQLConnection& db)
{
    const QString prefix = dailyNumberPrefix(Clock::today());
    const std::optional<QVariant> v = singleValue(db, kSaleNumberQuery, {{u"INProdagba"_s, prefix}});
    if (!v) return NumberProposal::failure(saleNumberNotIntegerMessage());
    bool numeric = false;
    const double value = v->toDouble(&numeric);
    if (v->isNull() || !v->isValid() || !numeric || !(value > 0)) return NumberProposal::text(prefix + u"001"_s);
    const std::optional<QString> text = exactIntegerText(*v);
    if (!text) return NumberProposal::failure(saleNumberNotIntegerMessage());
    return NumberProposal::text(text->left(kSaleNumberLength));
}

QString dailyNumberPrefix(const QDate& date)
{
    if (!date.isValid()) return {};
    return QStringLiteral("%1%2%3")
        .arg(date.year(), 4, 10, QChar(u'0'))
        .arg(date.month(), 2, 10, QChar(u'0'))
        .arg(date.day(), 2, 10, QChar(u'0'));
}

std::optional<QString> exactIntegerText(const QVariant& value)
{
    if (!value.isValid() || value.isNull()) return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return QString::number(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (!std::isfinite(d) || std::trunc(d) != d || std::fabs(d) > kExactDoubleLimit) return std::nullopt;
        return QString::number(qint64(d));
    }
    default: return std::nullopt;
    }
}

QString withLeadingZeros(qint64 n, int width)
{
    const QString digits = QString::number(n);
    if (n < 1 || n > 9999999) return digits;
    return digits.rightJustified(width, u'0');
}

QString invoiceNumberNotIntegerMessage()
{
    return u"Последният номер на фактура не е цяло число - въведете номера на фактурата ръчно !"_s;
}

} // namespace Numbering
