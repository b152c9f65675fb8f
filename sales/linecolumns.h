#pragma once

class DBGrid;
struct SaleEntryMode;

// The price columns a grid over a sale's lines shows: the same in the sale entry window and the item
// selection, chosen by the document type's window mode.
namespace SaleLineColumns {

void show(DBGrid& grid, const SaleEntryMode& mode);
// A correction: every price, document price and value column, no article numbers or barcode.
void showForCorrection(DBGrid& grid);

} // namespace SaleLineColumns
