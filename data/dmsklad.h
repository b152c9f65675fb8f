#pragma once

#include "platform/dataset/smpdataset.h"

#include <QObject>

class TDMNS;

// The warehouse lists on the shared connection: stock per delivery line, the defective-goods
// records and the supplier choice of the stock window.
class TDMSklad : public QObject
{
    Q_OBJECT
public:
    explicit TDMSklad(TDMNS& dm, QObject* parent = nullptr);

    SmpDataset SmpSklNalich;
    SmpDataset SmpSklDostBrak;
    SmpDataset SmpTipKontrSklPunkt;
    SmpDataset SmpKontrSklPunkt;

private:
    void defineStockList();
    void defineDefectList();
};
