#pragma once

#include "platform/dataset/smpdataset.h"

#include <QObject>

class TDMNS;

// The lists of a sale on the shared connection: the lines of the sale being composed, the old
// lines of a sale being corrected, and the stock the item selection offers (per warehouse
// delivery line and per warehouse-object line) with its choice lists. The line list's computed
// values are installed by the sales layer (SaleLines::attachValues).
class TDMProdagba : public QObject
{
    Q_OBJECT
public:
    explicit TDMProdagba(TDMNS& dm, QObject* parent = nullptr);

    SmpDataset SmpProdagbaTempNew;   // lines of the sale, a scratch list over PRODAGBI_TEMP
    SmpDataset SmpProdagbaKorekcia;  // lines of a recorded sale being corrected: a list of its own
    SmpDataset SmpFaktObobstena;     // lines of a summary invoice over earlier sales: a list of its own
    SmpDataset SmpProdTemp;          // old lines of a corrected sale, over PRODKOREKC_TEMP
    SmpDataset SmpProdSkladNalich;   // warehouse stock per delivery line
    SmpDataset SmpSklObNalich;       // warehouse-object stock per received line
    SmpDataset SmpProdTipSklad;      // warehouses
    SmpDataset SmpProdSkladMat;      // materials of a warehouse (filtered "nsklad=")
    SmpDataset SmpViewMatSklOb;      // materials of the warehouses that supply warehouse objects

    // The sales documents browser: the recorded lines of a sale or of an invoice number (grid edits
    // stay in the cache until the browser saves its corrections), the amount due, and, stored at
    // once, the sale's payments and the consignment quantities paid and returned per line.
    SmpDataset SmpRealizaciaProdagba;
    SmpDataset SmpPlastProd;
    SmpDataset SmpProdagbaPlastane;
    SmpDataset SmpRealizKons;
    SmpDataset SmpRealizKonsVyr;

private:
    void defineLines(SmpDataset& ds, TDMNS& dm);
    void defineStock();
    void defineBrowser();
};
