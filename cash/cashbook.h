#pragma once

#include <QDate>
#include <QString>

class SQLConnection;

// The cash book: receipt and payment cash orders in table KASA, their numbers and balances.
namespace Cash {

// Currency number 1 is the base currency: its rate is always 1.
inline constexpr int BaseCurrency = 1;

enum class OrderKind { Receipt = 1, Payment = 2 };

// One cash order as the dialog writes it.
struct CashOrder
{
    OrderKind kind = OrderKind::Receipt;
    QDate date;
    QString name, town, address, basis;
    double amount = 0;       // in the order's currency
    int currency = BaseCurrency;
    double rate = 1;         // base-currency units per `base` units of the currency
    int base = 1;
};

// The number a new order of the kind is offered: the highest of its kind among the currency's
// orders dated in the year of `date` (of Clock::today() when none is given), plus one; 1 when
// there is none.
int proposeNumber(SQLConnection& db, OrderKind kind, int currency, const QDate& date = {});

// Why the order cannot be written; empty when it can. A foreign-currency order needs a rate above
// 0 and a base of at least 1.
QString refusal(const CashOrder& order);

struct Written
{
    int autonum = 0;
    int number = 0;
};

// Writes a new order in a transaction of its own. Its number is taken there, after the counter of
// its currency, kind and year (of the order's date) is locked, so orders written at the same
// moment on two workstations get different numbers; a writer that loses the race tries again.
// The caller shows the number returned, which may differ from the one proposed.
Written insertOrder(SQLConnection& db, const CashOrder& order);

// Rewrites an order with its number kept (a correction), under the same lock as insertOrder.
// Empty when written; otherwise why not: the date moved to a year in which another order of the
// kind and currency has the number, or the order has been deleted. Nothing is written then.
QString updateOrder(SQLConnection& db, int autonum, int number, const CashOrder& order);
void deleteOrder(SQLConnection& db, int autonum);

// The balance of the currency's orders dated before `from`, in the currency and in base currency.
struct Balance
{
    double amount = 0;
    double base = 0;
};
Balance openingBalance(SQLConnection& db, int currency, const QDate& from);

// The base-currency value of an amount of the currency, rounded to stotinki as the order prints
// it and VIEWKASA lists it.
double baseValue(double amount, double rate, int base);
double roundToStotinki(double amount);
// The words printed on a cash order: the amount rounded to stotinki, in words with its stotinki;
// empty for 0 and below.
QString amountInWords(double amount);

} // namespace Cash
