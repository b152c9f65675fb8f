#pragma once

#include "platform/dataset/smpdataset.h"

#include <QObject>

class TDMNS;

// The production lists on the shared connection: what the workshops hold and made, the lines of
// a requisition being assembled, the recipes a requisition and a batch are made from, the pairs
// per size of a series, and the requisition inquiry.
class TDMProizv : public QObject
{
    Q_OBJECT
public:
    explicit TDMProizv(TDMNS& dm, QObject* parent = nullptr);

    SmpDataset SmpProizvMatNalich;
    SmpDataset SmpIzdelieCehPart;
    SmpDataset SmpIzdPart;
    // The lines of a requisition being assembled, kept in the cache until it is saved.
    SmpDataset SmpSklIskTEMP;
    SmpDataset SmpRecepIzdISK;
    SmpDataset SmpIzbRecepIzd;
    SmpDataset SmpSeria;
    SmpDataset SmpMatIskane;
    SmpDataset SmpSprIskPeriod;
    SmpDataset SmpSklIskPRN;

    // The number of recipes of a requisition; the recipe's totals follow it when re-read.
    int RequisitionCount = 1;
    // The number of products or series of a batch; the batch recipe's values follow it.
    int BatchCount = 0;

private:
    void defineWorkshopLists();
    void defineRequisitionLists(TDMNS& dm);
    void defineBatchRecipe(TDMNS& dm);
    void defineInquiry();
};
