#pragma once

#include <QString>
#include <QVariant>

#include <utility>

// Prices the stock lists compute for every row.
namespace StockPrices {

// value / quantity; null (shown empty) when the quantity is 0.
inline QVariant averagePrice(double value, double quantity)
{
    return quantity != 0 ? QVariant(value / quantity) : QVariant();
}

// A price with VAT: increased by vatPct percent when the rate is above 0.
inline double withVat(double price, double vatPct)
{
    return vatPct > 0 ? price + price * vatPct / 100 : price;
}

// The price and currency a row shows: the last of BGN, USD, EUR priced above 0; with none, no
// price and the fallback currency.
struct Shown
{
    QVariant price;
    QString currency;
};
inline Shown lastPriced(double lv, double usd, double eur, const QString& fallbackCurrency = QString())
{
    Shown s{QVariant(), fallbackCurrency};
    for (const auto& [price, code] : {std::pair{lv, "BGN"}, std::pair{usd, "USD"}, std::pair{eur, "EUR"}})
        if (price > 0) s = {price, QString::fromLatin1(code)};
    return s;
}

} // namespace StockPrices
