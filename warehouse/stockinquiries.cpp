#include "warehouse/stockinquiries.h"

#include "platform/db/connection.h"

#include <QDateTime>

namespace StockInquiries {

QVariant periodStart(const Period& period)
{
    return period.from && period.from->isValid() ? QVariant(QDateTime(*period.from, QTime(0, 0))) : QVariant();
}

QVariant periodEnd(const Period& period)
{
    return period.to && period.to->isValid() ? QVariant(QDateTime(*period.to, QTime(23, 59, 59, 999))) : QVariant();
}

DateBounds dateBounds(DateBasis basis, const Period& received, const Period& document)
{
    DateBounds b;
    if (basis == DateBasis::Received) {
        b.receivedFrom = periodStart(received);
        b.receivedTo = periodEnd(received);
    } else if (basis == DateBasis::Document) {
        b.documentFrom = periodStart(document);
        b.documentTo = periodEnd(document);
    }
    return b;
}

Level level(double onHand, double minimum, double maximum)
{
    if (minimum <= onHand && onHand <= maximum) return Level::Within;
    if (onHand <= minimum) return Level::BelowMinimum;
    return maximum > 0 ? Level::AboveMaximum : Level::Within;
}

bool listedUnder(int choice, double onHand, double minimum, double maximum)
{
    switch (choice) {
    case 1: return minimum > onHand;
    case 2: return maximum > 0 && onHand > 0 && onHand >= maximum;
    default: return true;
    }
}

Receipt storedReceipt(SQLConnection& db, int supplier, const QString& document, const QDate& documentDate)
{
    Receipt r;
    db.forEachRow(
        QStringLiteral("select s.NMATERIAL, s.KOLICHESTVO, s.PROCENT_OTST, s.PROCENT_DDS, s.ED_CENA_LV, s.USD, s.EUR,"
                       " k.IMEKONTRAGENT, s.NSKLRAZP, s.DATEPOLUCHENO"
                       " from SKLAD s left join KONTRAGENTI k on k.NKONTRAGENT = s.NKONTRAGENT"
                       " where s.NKONTRAGENT = :K and s.NFAKTURA = :F"
                       " and s.DATEFAKTURA >= :D and s.DATEFAKTURA < :NEXT order by s.AUTONUM"),
        {{QStringLiteral("K"), supplier}, {QStringLiteral("F"), document},
         {QStringLiteral("D"), QDateTime(documentDate, QTime(0, 0))},
         {QStringLiteral("NEXT"), QDateTime(documentDate.addDays(1), QTime(0, 0))}},
        [&r](const DbRow& row) {
            r.lines.append({row[0].toInt(), row[1].toDouble(), row[2].toDouble(), row[3].toDouble(), row[4].toDouble(),
                            row[5].toDouble(), row[6].toDouble()});
            r.supplierName = row[7].toString();
            r.receiptNumber = row[8].toInt();
            const QVariant received = row[9];
            r.received = received.typeId() == QMetaType::QDateTime ? received.toDateTime().date() : received.toDate();
        });
    return r;
}

QVector<PackagingBalance> packaging(SQLConnection& db, int counterparty)
{
    QVector<PackagingBalance> out;
    db.forEachRow(QStringLiteral("select IMEAMBALAG, POLUCHENO, VYRNATO, NALICHNO from AMBALAG_KONTRAGENT(:K)"),
                  {{QStringLiteral("K"), counterparty}}, [&out](const DbRow& row) {
                      out.append({row[0].toString(), row[1].toInt(), row[2].toInt(), row[3].toInt()});
                  });
    return out;
}

QString packagingKindDeleteRefusal(SQLConnection& db, const QVariant& kind)
{
    const DbResult r = db.query(QStringLiteral("select (select count(*) from AMB_FIRMA_DOST where NAMBALAG = :K)"
                                               " + (select count(*) from AMB_DOST_FIRMA where NAMBALAG = :K)"
                                               " from RDB$DATABASE"),
                                {{QStringLiteral("K"), kind}});
    return !r.isEmpty() && r.rows.front().value(0).toInt() > 0
               ? QStringLiteral("Има движение на амбалаж от този вид - ИЗТРИВАНЕТО ЗАБРАНЕНО !")
               : QString();
}

} // namespace StockInquiries
