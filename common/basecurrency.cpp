#include "common/basecurrency.h"

#include "platform/base/clock.h"
#include "platform/db/connection.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;

double BaseCurrency::levaToEuro(double leva)
{
    if (!std::isfinite(leva)) return leva;
    // The division's own noise is cleared first (to a millionth of a cent), so that an exact half
    // cent it gives a hair below .5 still rounds up. That changes no other amount: one of up to
    // seven decimals is never within a millionth of a cent of a half (195583 is odd).
    const double cents = std::round(leva * 100.0 / kLevaPerEuro * 1e6) / 1e6;
    return std::round(cents) / 100.0;
}

QString BaseCurrency::Names::fraction(int count) const
{
    if (currency == Currency::Leva) return fractionSymbol;
    const int last = std::abs(count) % 100;
    return last % 10 == 1 && last != 11 ? u"цент"_s : u"цента"_s;
}

const BaseCurrency::Names& BaseCurrency::names(Currency currency)
{
    static const Names leva{Currency::Leva, u"BGN"_s, symbol(), singular(), plural(), fractionSymbol()};
    static const Names euro{Currency::Euro, u"EUR"_s, u"€"_s, u"евро"_s, u"евро"_s, u"цента"_s};
    return currency == Currency::Euro ? euro : leva;
}

BaseCurrency::Settings BaseCurrency::Settings::fromRecord(const QVariant& euroFlag, const QVariant& cutoverDate)
{
    Settings s;
    if (euroFlag.isNull() || euroFlag.toInt() != 1) return s;
    s.currency = Currency::Euro;
    const QDate date = cutoverDate.isNull() ? QDate() : cutoverDate.toDate();
    s.cutover = date.isValid() ? date : defaultCutover();
    return s;
}

BaseCurrency::Settings BaseCurrency::Settings::read(SQLConnection& db)
{
    const DbResult r = db.query(u"select EVRO_DA_NE, EVRO_OT_DATA from FIRMA"_s);
    if (r.isEmpty()) return {};
    return fromRecord(r.rows.front()[0], r.rows.front()[1]);
}

BaseCurrency::Currency BaseCurrency::Settings::currencyOn(const QDate& documentDate) const
{
    if (currency == Currency::Leva) return Currency::Leva;
    const QDate date = documentDate.isValid() ? documentDate : Clock::today();
    return date >= cutover ? Currency::Euro : Currency::Leva;
}
