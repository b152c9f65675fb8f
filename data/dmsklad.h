#pragma once

#include "platform/dataset/smpdataset.h"

#include <QObject>

class TDMNS;

// The warehouse lists on the shared connection: stock per delivery line, the defective-goods
// records, the supplier choice of the stock window and the lines of a new delivery.
class TDMSklad : public QObject
{
    Q_OBJECT
public:
    explicit TDMSklad(TDMNS& dm, QObject* parent = nullptr);

    SmpDataset SmpSklNalich;
    SmpDataset SmpSklDostBrak;
    SmpDataset SmpTipKontrSklPunkt;
    SmpDataset SmpKontrSklPunkt;
    // The lines of a new delivery, kept in the cache until the delivery is saved.
    SmpDataset SmpDostavka;
    SmpDataset SmpViewMatSklOb;

private:
    void defineStockList();
    void defineDefectList();
    void defineDeliveryLines(TDMNS& dm);
};
