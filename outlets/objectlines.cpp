#include "outlets/objectlines.h"

#include "platform/db/connection.h"
#include "platform/db/transaction.h"

#include <cmath>

namespace ObjectLines {

std::optional<Line> read(SQLConnection& db, int key)
{
    const DbResult r = db.query(
        QStringLiteral("select o.NSKL_OBEKT, o.NMATERIAL, m.IMEMATERIAL, coalesce(o.NSKLAD_VHOD, 0),"
                       " coalesce(o.NSKL_OBEKT_VHOD, 0), coalesce(o.POLUCHENO, 0),"
                       " (select coalesce(sum(iif(d.VID_DVIGENIE = 3, d.KOLICHESTVO, 0)), 0)"
                       "       from SKLAD_DVIGENIE d where d.AUTONUM_SKLOB = o.AUTONUM),"
                       " (select coalesce(sum(iif(d.VID_DVIGENIE = 1, d.KOLICHESTVO, 0)), 0)"
                       "       from SKLAD_DVIGENIE d where d.AUTONUM_SKLOB = o.AUTONUM),"
                       " (select coalesce(sum(d.KOLICHESTVO), 0) from SKLAD_DVIGENIE d where d.AUTONUM_SKLOB = o.AUTONUM),"
                       " (select count(*) from SKLAD_DVIGENIE d where d.AUTONUM_SKLOB = o.AUTONUM)"
                       " from SKL_OBEKTI_MATERIALI o left join MATERIALI m on m.NMATERIAL = o.NMATERIAL"
                       " where o.AUTONUM = :K"),
        {{QStringLiteral("K"), key}});
    if (r.isEmpty()) return std::nullopt;
    const QVariantList& row = r.rows.front();
    Line line;
    line.key = key;
    line.object = row[0].toInt();
    line.material = row[1].toInt();
    line.materialName = row[2].toString();
    line.sourceWarehouse = row[3].toInt();
    line.sourceObject = row[4].toInt();
    line.received = row[5].toDouble();
    line.dispatched = row[6].toDouble();
    line.sold = row[7].toDouble();
    line.outflow = row[8].toDouble();
    line.hasOutflow = row[9].toInt() > 0;
    return line;
}

QString deleteRefusal(double shownSold)
{
    if (std::nearbyint(shownSold) < 0)  // the default rounding mode rounds halves to even
        return QStringLiteral("    Върната продажба  !\nИзтриването невъзможно !!!");
    return {};
}

QString deleteQuestion() { return QStringLiteral(" Потвърдете за изтриване  ?"); }

void remove(SQLConnection& db, const Line& line)
{
    TransactionScope tx(db);
    db.executeProcedure(QStringLiteral("DEL_UPD_SKLOB_MATERIALI"),
                        {{QStringLiteral("DEL_UPD"), line.hasOutflow ? 0 : 1},
                         {QStringLiteral("AUTONUM"), line.key},
                         {QStringLiteral("NEW_POLUCHENO"), line.outflow}});
    tx.commit();
}

QString correctionRefusal(const std::optional<Line>& line)
{
    if (!line || !line->directDelivery()) return QStringLiteral("Не е избрана директна доставка ?!");
    if (line->sold != 0 || line->dispatched != 0)
        return QStringLiteral("Има продадено или експедирано количество !\n             Корекцията невъзможна  !!! ");
    return {};
}

} // namespace ObjectLines
