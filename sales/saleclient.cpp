#include "sales/saleclient.h"

#include "platform/db/connection.h"

using namespace Qt::StringLiterals;

namespace Sales {

Balance outstandingBalance(SQLConnection& db, int counterparty)
{
    if (counterparty <= 0) return {};
    // One factor per line: its value after both discounts, with VAT.
    static const QString factor = u"(1 - coalesce(OTST_IZDELIE, 0) / 100) * (1 - coalesce(PROCENT_OTST, 0) / 100) "
                                  u"* (1 + coalesce(PROCENT_DDS, 0) / 100)"_s;
    static const QString foreign = u"case when TIP_DOCUMENT in (0, 1, 5, 10) then 0 else "
                                   u"coalesce(BROI_MATERIAL_IZDELIE, 0) * coalesce(%1, 0) * "_s + factor + u" end"_s;
    const DbResult r = db.query(
        u"select (select coalesce(sum(coalesce(BROI_MATERIAL_IZDELIE, 0) * coalesce(CENA_MATERIAL_IZDELIE, 0) * "_s
            + factor + u"), 0) from PRODAGBI where NKONTRAGENT = :K and TIP_DOCUMENT between 0 and 10), "_s
            + u"(select coalesce(sum("_s + foreign.arg(u"CENA_MAT_IZD_USD"_s)
            + u"), 0) from PRODAGBI where NKONTRAGENT = :K and TIP_DOCUMENT between 0 and 10), "_s
            + u"(select coalesce(sum("_s + foreign.arg(u"CENA_MAT_IZD_EUR"_s)
            + u"), 0) from PRODAGBI where NKONTRAGENT = :K and TIP_DOCUMENT between 0 and 10), "_s
            + u"(select coalesce(sum(PLASTANE_SUMA), 0) from PRODAGBI_PLASTANE where NKONTRAGENT = :K), "
              u"(select coalesce(sum(PLASTANE_SUMA_USD), 0) from PRODAGBI_PLASTANE where NKONTRAGENT = :K), "
              u"(select coalesce(sum(PLASTANE_SUMA_EUR), 0) from PRODAGBI_PLASTANE where NKONTRAGENT = :K) "
              u"from RDB$DATABASE"_s,
        {{u"K"_s, counterparty}});
    const DbRow& row = r.rows.front();
    return {row[0].toDouble() - row[3].toDouble(), row[1].toDouble() - row[4].toDouble(),
            row[2].toDouble() - row[5].toDouble()};
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
