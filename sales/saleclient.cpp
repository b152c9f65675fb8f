#include "sales/saleclient.h"

#include "platform/db/connection.h"

using namespace Qt::StringLiterals;

namespace Sales {

Balance outstandingBalance(SQLConnection& db, int counterparty)
{
    if (counterparty <= 0) return {};
    // The payments monitoring's own balance, so the sale window and the payments window never differ.
    const DbResult r = db.query(u"select OBOROT_LV - PLATENO_LV, OBOROT_USD - PLATENO_USD, OBOROT_EUR - PLATENO_EUR "
                                u"from RAZPL_KLIENTI_SALDA where NKONTRAGENT = :K"_s,
                                {{u"K"_s, counterparty}});
    if (r.isEmpty()) return {};
    const DbRow& row = r.rows.front();
    return {row[0].toDouble(), row[1].toDouble(), row[2].toDouble()};
}

QVector<int> linesBeyondOrders(SQLConnection& db, int counterparty, const QVector<SaleLine>& lines)
{
    QVector<int> out;
    for (int i = 0; i < lines.size(); ++i) {
        const DbResult r = db.query(u"select BROI_IZD_PORYCHKA,BROI_IZD_PRODAGBA from "
                                    u"PROV_PORYCH_PROD_KONTR(:NumMaterial,:NKONTRAGENT)"_s,
                                    {{u"NumMaterial"_s, lines[i].material}, {u"NKONTRAGENT"_s, counterparty}});
        const double ordered = r.isEmpty() ? 0 : r.rows.front()[0].toDouble();
        const double sold = r.isEmpty() ? 0 : r.rows.front()[1].toDouble();
        if (ordered < sold + lines[i].quantity) out.append(i);
    }
    return out;
}

} // namespace Sales
