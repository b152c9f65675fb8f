#pragma once

#include "platform/dataset/smpdataset.h"

#include <QObject>

class TDMNS;

// The warehouse-object lists on the shared connection: the five views of the objects' lines, the
// articles they may hold, the company stock a transfer draws from and the transfer list itself.
class TDMSklObekti : public QObject
{
    Q_OBJECT
public:
    explicit TDMSklObekti(TDMNS& dm, QObject* parent = nullptr);

    // The views of "Данни за ", in its order.
    SmpDataset SmpSklObNalich;
    SmpDataset SmpSklObPolucheno;
    SmpDataset SmpSklObEkspedirano;
    SmpDataset SmpSklObProdadeno;
    SmpDataset SmpSklObDvigenie;
    SmpDataset* view(int index);
    // Articles of the warehouses that supply objects (VIEWMAT_SKLOBEKT).
    SmpDataset SmpViewMatSklOb;
    // Company stock per delivery line, the source of a transfer from a warehouse.
    SmpDataset SmpProdSkladNalich;
    // The lines of the transfer being collected: a scratch list over SKL_OBEKTI_TEMP.
    SmpDataset SmpSklObTemp;

private:
    void defineTransferList(TDMNS& dm);
    void defineCompanyStock();
};
