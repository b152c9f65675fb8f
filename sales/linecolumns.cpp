#include "sales/linecolumns.h"

#include "platform/widgets/dbgrid.h"
#include "sales/documenttype.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace SaleLineColumns {

namespace {
const QStringList kBgn{u"CENA_MATERIAL_IZDELIE"_s, u"CenaMatIzdCalc"_s, u"CenaMatIzdBroiObsto"_s};
const QStringList kUsdPrice{u"CENA_MAT_IZD_USD"_s, u"CenaMatIzdCalcUSD"_s};
const QStringList kUsdValueEur{u"CenaMatIzdBroiObstoUSD"_s, u"CENA_MAT_IZD_EUR"_s, u"CenaMatIzdCalcEUR"_s,
                               u"CenaMatIzdBroiObstoEUR"_s};
const QStringList kArticles{u"ARTN_POLUCH"_s, u"ARTN_DOSTAV"_s, u"BARKOD"_s};

void set(DBGrid& grid, const QStringList& names, bool shown)
{
    for (const QString& n : names) grid.setColumnVisible(n, shown);
}
} // namespace

void show(DBGrid& grid, const SaleEntryMode& mode)
{
    set(grid, kBgn, mode.bgnColumns);
    set(grid, kUsdPrice, mode.usdPriceColumns);
    set(grid, kUsdValueEur, mode.usdValueEurColumns);
    set(grid, kArticles, mode.articleColumns);
}

void showForCorrection(DBGrid& grid)
{
    set(grid, kBgn + kUsdPrice + kUsdValueEur, true);
    set(grid, kArticles, false);
}

} // namespace SaleLineColumns
