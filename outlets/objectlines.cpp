#include "outlets/objectlines.h"

#include "platform/db/connection.h"
#include "platform/db/transaction.h"

#include <cmath>

namespace ObjectLines {

namespace {
constexpr double kEpsilon = 0.000001;
// Hundredths rounded half to even, as corrections compare quantities.
qint64 hundredths(double quantity) { return static_cast<qint64>(std::nearbyint(quantity * 100)); }
QDate dateOf(const QVariant& v) { return v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate(); }
const QString kReturnedSale = QStringLiteral("    Върната продажба  !\n");
} // namespace

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
                       " (select count(*) from SKLAD_DVIGENIE d where d.AUTONUM_SKLOB = o.AUTONUM),"
                       " (select count(*) from SKLOB_VYRNATA_PRODAGBA v where v.AUTONUM = o.AUTONUM),"
                       " coalesce(o.ED_CENA_LV, 0), coalesce(o.USD, 0), coalesce(o.EUR, 0), o.DATEPOLUCHENO,"
                       " t.IME_SKL_OBEKT, coalesce(ts.SKLAD, tv.IME_SKL_OBEKT, k.IMEKONTRAGENT), o.NFAKTURA,"
                       " mf.IMEMOLFIRMA"
                       " from SKL_OBEKTI_MATERIALI o"
                       " left join MATERIALI m on m.NMATERIAL = o.NMATERIAL"
                       " left join TIP_SKL_OBEKT t on t.NSKL_OBEKT = o.NSKL_OBEKT"
                       " left join TIP_SKLAD ts on ts.NSKLAD = o.NSKLAD_VHOD"
                       " left join TIP_SKL_OBEKT tv on tv.NSKL_OBEKT = o.NSKL_OBEKT_VHOD"
                       " left join KONTRAGENTI k on k.NKONTRAGENT = o.NKONTRAGENT"
                       " left join MOL_FIRMA mf on mf.NMOL_FIRMA = o.NMOL_FIRMA"
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
    line.returnedSale = row[10].toInt() > 0;
    line.priceLv = row[11].toDouble();
    line.priceUsd = row[12].toDouble();
    line.priceEur = row[13].toDouble();
    line.receivedOn = dateOf(row[14]);
    line.objectName = row[15].toString();
    line.sourceName = row[16].toString();
    line.document = row[17].toString();
    line.molName = row[18].toString();
    return line;
}

QString deleteRefusal(double shownSold)
{
    if (std::nearbyint(shownSold) < 0)  // the default rounding mode rounds halves to even
        return kReturnedSale + QStringLiteral("Изтриването невъзможно !!!");
    return {};
}

QString deleteRefusal(const Line& line)
{
    return line.returnedSale ? kReturnedSale + QStringLiteral("Изтриването невъзможно !!!") : QString();
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

QString quantityRefusal(const Line& line, double quantity)
{
    if (hundredths(quantity) < hundredths(line.outflow))
        return QStringLiteral("Въведеното количество е по-малко от изписаното+продаденото+експедираното !");
    const double stored = std::max(quantity, line.outflow);
    if (std::abs(stored - line.received) <= kEpsilon) return {};
    if (line.returnedSale) return kReturnedSale + QStringLiteral("Количеството не се променя !!!");
    if (line.transferred() && stored > line.received)
        return QStringLiteral("Количеството на прехвърлен ред не се увеличава - прехвърлете още !");
    return {};
}

void correct(SQLConnection& db, const Correction& c)
{
    TransactionScope tx(db);
    db.executeProcedure(QStringLiteral("ADDDOSTAVKA_SKLOB"),
                        {{QStringLiteral("ADD_UPD"), 0},
                         {QStringLiteral("NAUTONUM"), c.key},
                         {QStringLiteral("KOLICHESTVO"), c.quantity},
                         {QStringLiteral("ED_CENA_LV"), c.priceLv},
                         {QStringLiteral("USD"), c.priceUsd},
                         {QStringLiteral("EUR"), c.priceEur}});
    tx.commit();
}

} // namespace ObjectLines
