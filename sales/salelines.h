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
// and of the document totals (calculated fields, on every line) on the list.
void attachValues(SmpDataset& lines, Context context);

// The lines as the recording takes them.
QVector<Sales::SaleLine> read(SmpDataset& lines);

// The document totals of the list under the inputs given.
SaleTotals::DocumentTotals totals(SmpDataset& lines, const SaleTotals::DocumentInput& input);

} // namespace SaleLines
