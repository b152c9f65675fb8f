#pragma once

#include "sales/salerecording.h"
#include "sales/saletotals.h"

#include <functional>

class SmpDataset;

// The line list of a sale (SmpProdagbaTempNew): its computed values and what it holds as sale lines.
namespace SaleLines {

// The document inputs of the moment: type, VAT, discounts, payment and the recipient's balance.
using Context = std::function<SaleTotals::DocumentInput()>;

// Installs the computation of the line values (internal fields, recomputed when a line is posted)
// and of the document totals (calculated fields, on every line) on the list. While a line is being
// edited the totals take it as it stands, so they follow a value as soon as it is written into it.
void attachValues(SmpDataset& lines, Context context);

// A line of the list at the position whose BGN price is the recipient's special price (drawn blue).
bool specialPriceAt(const SmpDataset& lines, int position);

// The lines as the recording takes them.
QVector<Sales::SaleLine> read(SmpDataset& lines);

// The document totals of the list under the inputs given.
SaleTotals::DocumentTotals totals(SmpDataset& lines, const SaleTotals::DocumentInput& input);

// The prices of a stock row by price kind, per currency.
struct StockPrices
{
    double wholesale[3] = {0, 0, 0};  // BGN, USD, EUR
    double retail[3] = {0, 0, 0};
    double delivery[3] = {0, 0, 0};
};
enum class PriceKind { Wholesale = 0, Retail = 1, Delivery = 2 };  // "Едро", "Дребно", "Дост.цена"
enum class Currency { BGN = 0, USD = 1, EUR = 2 };

struct LinePrices
{
    double lv = 0, usd = 0, eur = 0;
    bool special = false;  // the BGN price is the recipient's special price
};

// A new line's prices: the recipient's special price when it has one above 0, else the price kind's
// BGN price; USD and EUR by the price kind. A tax invoice converts from the chosen currency at the
// rate (replacing a special price too) and keeps BGN prices only. A returned-goods line knows two
// kinds (wholesale, else retail) and is never converted.
LinePrices chooseLinePrices(const StockPrices& stock, PriceKind kind, double specialPrice, int documentType,
                            Currency currency, double rate, bool returned);

} // namespace SaleLines
