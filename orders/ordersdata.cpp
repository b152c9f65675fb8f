#include "orders/ordersdata.h"

#include "platform/db/connection.h"

using namespace Qt::StringLiterals;

namespace Orders {

int addOrder(SQLConnection& db, const NewOrder& o)
{
    return db.executeProcedure(u"ADDPORYCHKA"_s, {{u"DATEPORYCHKA"_s, o.date}, {u"DATESROK"_s, o.deadline},
                                                 {u"NKONTRAGENT"_s, o.client}, {u"NMOL"_s, o.person}})
        .value(u"AUTONUM_NPORYCHKA"_s)
        .toInt();
}

void updateOrder(SQLConnection& db, int order, const QDate& date, const QDate& deadline, const QString& info)
{
    db.executeProcedure(u"UPDATEPORYCHKA"_s, {{u"IDATEPORYCHKA"_s, date}, {u"IDATESROK"_s, deadline},
                                             {u"INPORYCHKA"_s, order}, {u"IINFO_PORYCHKA"_s, info}});
}

QString deleteRefusal(SQLConnection& db, int order)
{
    const DbResult r = db.query(u"select count(*) from PORYCHKI_IZDELIA where NPORYCHKA = :N"_s, {{u"N"_s, order}});
    if (r.rows.front()[0].toInt() > 0)
        return u" Има заявени изделия към тази поръчка  !\r     Изтрийте най-напред изделията !"_s;
    return {};
}

void deleteOrder(SQLConnection& db, int order)
{
    db.executeProcedure(u"DEL_PORYCHKA"_s, {{u"INPORYCHKA"_s, order}});
}

void saveLine(SQLConnection& db, const Line& l)
{
    db.executeProcedure(u"ADD_UPDATE_IZD_PORYCH"_s,
                        {{u"NPORYCHKA"_s, l.order}, {u"NKONTRAGENT"_s, l.client}, {u"NTIP_IZDELIE"_s, l.product},
                         {u"BROI_IZDELIE"_s, l.quantity}, {u"DATESROK_IZD"_s, l.materialsDue},
                         {u"DNIPREDI_DATESROK_IZD"_s, l.noticeDays}, {u"NKONTR_IZD"_s, l.supplier},
                         {u"OPISANIE"_s, l.description}});
}

void deleteLine(SQLConnection& db, int order, int product)
{
    db.executeProcedure(u"DEL_IZD_PORYCHKA"_s, {{u"NPORYCHKA"_s, order}, {u"NTIP_IZDELIE"_s, product}});
}

} // namespace Orders
