#include "payments/paymentsdata.h"

#include "platform/db/connection.h"
#include "platform/db/transaction.h"

using namespace Qt::StringLiterals;

namespace Payments {

QString clientPaymentText() { return u"Плащане от клиент"_s; }
QString supplierPaymentText() { return u"Плащане към доставчик"_s; }

QString refusal(const Payment& p)
{
    if (p.lv == 0 && p.usd == 0 && p.eur == 0) return u"Не са въведени суми за разплащане !"_s;
    return {};
}

namespace {

SqlParams amounts(int addUpdate, int autonum, const Payment& p)
{
    return {{u"ADD_UPDATE"_s, addUpdate}, {u"AUTONUM"_s, autonum},  {u"NKONTRAGENT"_s, p.counterparty},
            {u"PLATENO_DATE"_s, p.date},  {u"PLATENO_LV"_s, p.lv},   {u"PLATENO_USD"_s, p.usd},
            {u"PLATENO_EUR"_s, p.eur},    {u"ZABELEGKA"_s, p.note}};
}

int run(SQLConnection& db, const QString& procedure, SqlParams params)
{
    TransactionScope tx(db);
    const int key = db.executeProcedure(procedure, params).value(u"NEW_AUTONUM"_s).toInt();
    tx.commit();
    return key;
}

void remove(SQLConnection& db, const QString& procedure, int autonum)
{
    TransactionScope tx(db);
    db.executeProcedure(procedure, {{u"AUTONUM"_s, autonum}});
    tx.commit();
}

SqlParams supplierAmounts(int addUpdate, int autonum, const Payment& p)
{
    SqlParams params = amounts(addUpdate, autonum, p);
    params.insert(u"SHIFYR"_s, p.purchaser);
    return params;
}

double number(const QVariant& v) { return v.isNull() ? 0.0 : v.toDouble(); }

} // namespace

int addClientPayment(SQLConnection& db, const Payment& p)
{
    return run(db, u"ADD_UPDATE_PRODAGBI_PLASTANE"_s, amounts(1, 0, p));
}

void correctClientPayment(SQLConnection& db, int autonum, const Payment& p)
{
    run(db, u"ADD_UPDATE_PRODAGBI_PLASTANE"_s, amounts(0, autonum, p));
}

void deleteClientPayment(SQLConnection& db, int autonum) { remove(db, u"DEL_PRODAGBA_PLASTANE"_s, autonum); }

int addSupplierPayment(SQLConnection& db, const Payment& p)
{
    return run(db, u"ADD_UPDATE_DOSTAVKI_PLASTANE"_s, supplierAmounts(1, 0, p));
}

void correctSupplierPayment(SQLConnection& db, int autonum, const Payment& p)
{
    run(db, u"ADD_UPDATE_DOSTAVKI_PLASTANE"_s, supplierAmounts(0, autonum, p));
}

void deleteSupplierPayment(SQLConnection& db, int autonum) { remove(db, u"DEL_DOSTAVKA_PLASTANE"_s, autonum); }

QVariantMap clientParams(const Range& types, const Range& clients, const Range& dates)
{
    return {{u"NTIPKONTR_OT"_s, types.from},     {u"NTIPKONTR_DO"_s, types.to},
            {u"NKONTRAGENT_OT"_s, clients.from}, {u"NKONTRAGENT_DO"_s, clients.to},
            {u"DATEFAKTURA_OT"_s, dates.from},   {u"DATEFAKTURA_DO"_s, dates.to}};
}

QVariantMap supplierParams(const Range& suppliers, const Range& dates)
{
    return {{u"NKONTRAGENT_OT"_s, suppliers.from}, {u"NKONTRAGENT_DO"_s, suppliers.to},
            {u"DATEFAKTURA_OT"_s, dates.from},     {u"DATEFAKTURA_DO"_s, dates.to}};
}

QVariantMap purchaserParams(const Range& purchasers, const Range& dates)
{
    return {{u"SHIFYR_OT"_s, purchasers.from}, {u"SHIFYR_DO"_s, purchasers.to},
            {u"DATEFAKTURA_OT"_s, dates.from}, {u"DATEFAKTURA_DO"_s, dates.to}};
}

double remainder(const QVariant& due, const QVariant& paid) { return number(due) - number(paid); }

double remainder(const QVariant& due, const QVariant& claims, const QVariant& paid)
{
    return number(due) - number(claims) - number(paid);
}

Amounts clientBalance(SQLConnection& db, int client)
{
    const DbResult r = db.query(u"select sum(POLUCHENO_LV - PLATENO_LV), sum(POLUCHENO_USD - PLATENO_USD), "
                                u"sum(POLUCHENO_EUR - PLATENO_EUR) from RAZPL_KLIENTI_REDOVE where NKONTRAGENT = :K"_s,
                                {{u"K"_s, client}});
    if (r.isEmpty()) return {};
    return {number(r.rows[0][0]), number(r.rows[0][1]), number(r.rows[0][2])};
}

} // namespace Payments
