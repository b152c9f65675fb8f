#include "salesinfo/salesinfodata.h"

#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/transaction.h"
#include "sales/numbering.h"

using namespace Qt::StringLiterals;

namespace SalesInfo {

namespace {

QVariant key(Choice c) { return c ? QVariant(*c) : QVariant(); }
QVariant day(const QDate& d) { return d.isValid() ? QVariant(d) : QVariant(); }

bool invoiced(const Row& row)
{
    const QString text = row.nfaktura.trimmed();
    return (!text.isEmpty() && text != u"0"_s) || row.nfaktInt > 0;
}

} // namespace

QVariantMap inquiryParams(Choice client, Choice branch, const QDate& from, const QDate& to, Choice material)
{
    return {{u"NKONTRAGENT_OT"_s, key(client)}, {u"NKONTRAGENT_DO"_s, key(client)},
            {u"NFILIAL_OT"_s, key(branch)},     {u"NFILIAL_DO"_s, key(branch)},
            {u"DATEFAKTURA_OT"_s, day(from)},   {u"DATEFAKTURA_DO"_s, day(to)},
            {u"NMATERIAL_OT"_s, key(material)}, {u"NMATERIAL_DO"_s, key(material)}};
}

QVariantMap articleParams(const QDate& from, const QDate& to)
{
    return {{u"DATEFAKTURA_OT"_s, day(from)}, {u"DATEFAKTURA_DO"_s, day(to)}};
}

QVariantMap salesListParams(SaleKind kind, const QDate& from, const QDate& to)
{
    return {{u"INKonsignOt"_s, kind == SaleKind::Consignment ? QVariant(1) : QVariant()},
            {u"INKonsignDo"_s, QVariant()},
            {u"IDateFaktOt"_s, day(from)},
            {u"IDateFaktDo"_s, day(to)}};
}

Numbering numberingOf(const QVariant& nfaktTxtInt)
{
    return nfaktTxtInt.toInt() == 1 ? Numbering::Integer : Numbering::Text;
}

QString proposedNumber(SQLConnection& db, Numbering numbering, int office)
{
    QString sql, first;
    if (numbering == Numbering::Integer) {
        sql = u"select (max(NFakt_Int)+'1') as NewNumFaktInt from Prodagbi"_s;
        first = u"1"_s;
    } else if (office == 2) {
        sql = u"select (max(Nfaktura)+'1') as NewNumFaktura2 from Prodagbi where NFaktura > '2000000000'"_s;
        first = u"2000000001"_s;
    } else {
        sql = u"select (max(Nfaktura)+'1') as NewNumFaktura1 from Prodagbi where NFaktura < '2000000000'"_s;
        first = office == 1 ? u"1000000001"_s : u"1"_s;
    }
    const DbResult r = db.query(sql);
    const QVariant v = r.isEmpty() ? QVariant() : r.rows.front().value(0);
    if (v.isNull() || !v.isValid()) return first;
    return ::Numbering::exactIntegerText(v).value_or(first);
}

QString markRefusal(bool clientChosen, bool listEmpty, const QString& number, const Row& row,
                    std::optional<double> invoiceVat)
{
    if (!clientChosen || listEmpty) return u"Не е избран контрагент ! "_s;
    if (row.marked || invoiced(row)) return u"Има вече издадена фактура за този артикул ! "_s;
    if (number.trimmed().isEmpty()) return u"Не е въведен № на фактура !"_s;
    if (invoiceVat && qAbs(*invoiceVat - row.vat) > 1e-9)
        return u"Редът е с друга ставка на ДДС от тази на фактурата !"_s;
    return {};
}

double invoiceLineDiscount(double lineDiscountPct, double documentDiscountPct)
{
    return 100 * (1 - (1 - lineDiscountPct / 100) * (1 - documentDiscountPct / 100));
}

QString numberRefusal(SQLConnection& db, Numbering numbering, const QString& number)
{
    const QString n = number.trimmed();
    if (n.isEmpty()) return u"Не е въведен № на фактура !"_s;
    bool ok = false;
    const qlonglong value = n.toLongLong(&ok);
    if (!ok || value <= 0 || (numbering == Numbering::Integer && value > 2147483647) || n.size() > 10)
        return u"Невалиден № на фактура !"_s;
    const DbResult r = numbering == Numbering::Integer
                           ? db.query(u"select count(*) from PRODAGBI where NFAKT_INT = :N"_s, {{u"N"_s, int(value)}})
                           // Text numbers are stored with leading zeros or without: "5" is "0000000005".
                           : db.query(u"select count(*) from PRODAGBI where NFAKTURA = :N "
                                      "or trim(leading '0' from NFAKTURA) = :D"_s,
                                      {{u"N"_s, n}, {u"D"_s, QString::number(value)}});
    if (r.rows.front().value(0).toInt() > 0) return u"Фактура с № %1 вече съществува !"_s.arg(n);
    return {};
}

void writeSummaryInvoice(SQLConnection& db, Numbering numbering, const QString& number, const QDate& date,
                         const QList<int>& lines)
{
    TransactionScope tx(db);
    if (const QString why = numberRefusal(db, numbering, number); !why.isEmpty()) throw DbError(why);
    const bool integer = numbering == Numbering::Integer;
    for (int line : lines)
        db.executeProcedure(u"UPDATEPRODAGBI_NFAKT"_s,
                            {{u"NUM_ZAP"_s, line},
                             {u"NFAKT_TXT_INT"_s, integer ? 1 : 0},
                             {u"NFAKT_TXT"_s, integer ? QVariant() : QVariant(number.trimmed())},
                             {u"NFAKT_INT"_s, integer ? QVariant(number.trimmed().toInt()) : QVariant()},
                             {u"DATEFAKTURA"_s, date}});
    tx.commit();
}

std::optional<int> yearOf(const QString& text)
{
    bool ok = false;
    const int year = text.trimmed().toInt(&ok);
    if (!ok || year < 1900 || year > 9999) return std::nullopt;
    return year;
}

} // namespace SalesInfo
