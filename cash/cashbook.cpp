#include "cash/cashbook.h"

#include "common/amountinwords.h"
#include "platform/base/clock.h"
#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/transaction.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace Cash {

namespace {

// The number column of a kind.
QString numberColumn(OrderKind kind) { return kind == OrderKind::Receipt ? u"NPKO"_s : u"NRKO"_s; }

// The highest number of the kind among the currency's orders dated in the year; 0 when none.
int highestNumber(SQLConnection& db, OrderKind kind, int currency, int year)
{
    const DbResult r = db.query(u"select max(%1) as HIGHEST from KASA where NVALUTA = :NVALUTA "
                                u"and DATEKO >= :OT and DATEKO < :DO"_s.arg(numberColumn(kind)),
                                {{u"NVALUTA"_s, currency},
                                 {u"OT"_s, QDateTime(QDate(year, 1, 1), QTime(0, 0))},
                                 {u"DO"_s, QDateTime(QDate(year + 1, 1, 1), QTime(0, 0))}});
    return r.isEmpty() ? 0 : r.rows.front()[0].toInt();
}

// The columns an order writes, its number included.
SqlParams orderParams(const CashOrder& o, int number)
{
    const bool receipt = o.kind == OrderKind::Receipt;
    return {{u"NPKO"_s, receipt ? number : 0},
            {u"NRKO"_s, receipt ? 0 : number},
            {u"DATEKO"_s, QDateTime(o.date, QTime(0, 0))},
            {u"IMEPREZFAM"_s, o.name},
            {u"GRAD"_s, o.town},
            {u"ADRES"_s, o.address},
            {u"OSNOVANIE_KO"_s, o.basis},
            {u"SUMA_PKO"_s, receipt ? o.amount : 0.0},
            {u"SUMA_RKO"_s, receipt ? 0.0 : o.amount},
            {u"NVALUTA"_s, o.currency},
            {u"VALUTA_KURS"_s, o.currency == BaseCurrency ? 1.0 : o.rate},
            {u"VALUTA_BAZA"_s, o.base}};
}

// Another writer holds or has just created the same counter (SQLCODE -803: a duplicate key): the
// attempt may be repeated.
bool lostRace(const DbError& e) { return classify(e) == DbProblem::Conflict || e.sqlCode() == -803; }

constexpr int kAttempts = 20;

// Locks the counter of the order's currency, kind and year of its date (creating it when it is
// the first): a second writer of the same series waits here until the first is done.
void lockCounter(SQLConnection& db, const CashOrder& order)
{
    const SqlParams key{{u"NVALUTA"_s, order.currency}, {u"GODINA"_s, order.date.year()}, {u"VID_KO"_s, int(order.kind)}};
    if (db.execute(u"update KASA_NOMERA set POSLEDEN_NOMER = POSLEDEN_NOMER "
                   u"where NVALUTA = :NVALUTA and GODINA = :GODINA and VID_KO = :VID_KO"_s, key) == 0)
        db.execute(u"insert into KASA_NOMERA (NVALUTA, GODINA, VID_KO, POSLEDEN_NOMER) "
                   u"values (:NVALUTA, :GODINA, :VID_KO, 0)"_s, key);
}

void recordNumber(SQLConnection& db, const CashOrder& order, int number)
{
    db.execute(u"update KASA_NOMERA set POSLEDEN_NOMER = :N "
               u"where NVALUTA = :NVALUTA and GODINA = :GODINA and VID_KO = :VID_KO and POSLEDEN_NOMER < :N"_s,
               {{u"NVALUTA"_s, order.currency}, {u"GODINA"_s, order.date.year()}, {u"VID_KO"_s, int(order.kind)},
                {u"N"_s, number}});
}

// Runs the work in a transaction of its own, again when it lost a race with another writer.
template <class Work>
auto serialized(SQLConnection& db, Work work)
{
    for (int attempt = 1;; ++attempt) {
        try {
            TransactionScope tx(db);
            auto result = work();
            tx.commit();
            return result;
        } catch (const DbError& e) {
            if (attempt >= kAttempts || !lostRace(e)) throw;
        }
    }
}

} // namespace

int proposeNumber(SQLConnection& db, OrderKind kind, int currency, const QDate& date)
{
    return highestNumber(db, kind, currency, (date.isValid() ? date : Clock::today()).year()) + 1;
}

QString refusal(const CashOrder& order)
{
    if (!order.date.isValid()) return u"Въведете дата на касовия ордер !"_s;
    if (!std::isfinite(order.amount) || order.amount < 0) return u"Невалидна сума !"_s;
    if (order.currency != BaseCurrency) {
        if (!(order.rate > 0) || !std::isfinite(order.rate)) return u"Курсът на валутата трябва да е по-голям от 0 !"_s;
        if (order.base < 1) return u"Базата на валутата трябва да е поне 1 !"_s;
    }
    return {};
}

Written insertOrder(SQLConnection& db, const CashOrder& order)
{
    return serialized(db, [&] {
        lockCounter(db, order);
        Written w;
        w.number = highestNumber(db, order.kind, order.currency, order.date.year()) + 1;
        w.autonum = db.executeReturning(
                          u"insert into KASA (NPKO, NRKO, DATEKO, IMEPREZFAM, GRAD, ADRES, OSNOVANIE_KO, SUMA_PKO, "
                          u"SUMA_RKO, NVALUTA, VALUTA_KURS, VALUTA_BAZA) values (:NPKO, :NRKO, :DATEKO, :IMEPREZFAM, "
                          u":GRAD, :ADRES, :OSNOVANIE_KO, :SUMA_PKO, :SUMA_RKO, :NVALUTA, :VALUTA_KURS, :VALUTA_BAZA) "
                          u"returning AUTONUM"_s,
                          orderParams(order, w.number))
                        .value(u"AUTONUM"_s)
                        .toInt();
        recordNumber(db, order, w.number);
        return w;
    });
}

QString updateOrder(SQLConnection& db, int autonum, int number, const CashOrder& order)
{
    return serialized(db, [&]() -> QString {
        // The date may have moved to another year, whose series may already have the number.
        lockCounter(db, order);
        const QString column = numberColumn(order.kind);
        if (db.query(u"select first 1 AUTONUM from KASA where %1 = :N and NVALUTA = :NVALUTA and DATEKO >= :OT "
                     u"and DATEKO < :DO and AUTONUM <> :AUTONUM"_s.arg(column),
                     {{u"N"_s, number}, {u"NVALUTA"_s, order.currency}, {u"AUTONUM"_s, autonum},
                      {u"OT"_s, QDateTime(QDate(order.date.year(), 1, 1), QTime(0, 0))},
                      {u"DO"_s, QDateTime(QDate(order.date.year() + 1, 1, 1), QTime(0, 0))}})
                .isEmpty() == false)
            return u"Вече има %1 № %2 от %3 г. в тази валута !"_s
                .arg(order.kind == OrderKind::Receipt ? u"ПКО"_s : u"РКО"_s)
                .arg(number)
                .arg(order.date.year());
        SqlParams p = orderParams(order, number);
        p.insert(u"AUTONUM"_s, autonum);
        const int changed = db.execute(u"update KASA set NPKO = :NPKO, NRKO = :NRKO, DATEKO = :DATEKO, IMEPREZFAM = :IMEPREZFAM, "
                   u"GRAD = :GRAD, ADRES = :ADRES, OSNOVANIE_KO = :OSNOVANIE_KO, SUMA_PKO = :SUMA_PKO, "
                   u"SUMA_RKO = :SUMA_RKO, NVALUTA = :NVALUTA, VALUTA_KURS = :VALUTA_KURS, VALUTA_BAZA = :VALUTA_BAZA "
                   u"where AUTONUM = :AUTONUM"_s,
                   p);
        // Another workstation deleted the order meanwhile: nothing was written, and the user must know.
        if (changed == 0) return u"Касовият ордер вече не съществува !"_s;
        recordNumber(db, order, number);
        return QString();
    });
}

void deleteOrder(SQLConnection& db, int autonum)
{
    db.execute(u"delete from KASA where AUTONUM = :AUTONUM"_s, {{u"AUTONUM"_s, autonum}});
}

Balance openingBalance(SQLConnection& db, int currency, const QDate& from)
{
    // The orders before the period as the cash book lists them, so that the balance is the sum of
    // the base-currency values the rows show.
    const DbResult r = db.query(u"select sum(SUMA_PKO), sum(SUMA_RKO), sum(SUMA_PKO_LV), sum(SUMA_RKO_LV) "
                                u"from VIEWKASA(:NVALUTA, :OT, :DO)"_s,
                                {{u"NVALUTA"_s, currency},
                                 {u"OT"_s, QDateTime(QDate(1900, 1, 1), QTime(0, 0))},
                                 {u"DO"_s, QDateTime(from.addDays(-1), QTime(0, 0))}});
    Balance b;
    if (r.isEmpty()) return b;
    const DbRow& row = r.rows.front();
    b.amount = row[0].toDouble() - row[1].toDouble();
    b.base = row[2].toDouble() - row[3].toDouble();
    return b;
}

double baseValue(double amount, double rate, int base)
{
    return roundToStotinki(amount / (base >= 1 ? base : 1) * rate);
}

double roundToStotinki(double amount)
{
    // The nudge keeps amounts such as 1.005, stored a hair below, from rounding down.
    return double(std::llround(amount * 100.0 + (amount >= 0 ? 1e-6 : -1e-6))) / 100.0;
}

QString amountInWords(double amount)
{
    if (!std::isfinite(amount)) return {};
    return AmountInWordsWithStotinki(roundToStotinki(amount));
}

} // namespace Cash
