#pragma once

#include "platform/dataset/smpdataset.h"

#include <QObject>

class TDMNS;

// The warehouse inquiry lists on the shared connection: movement, totals per material, prices,
// minimum and maximum, stock at a date, warehouse receipts, the warehouse points and packaging.
class TDMSklSpravki : public QObject
{
    Q_OBJECT
public:
    // suppliers: the supplier choice of the warehouse windows, which the packaging lists follow.
    TDMSklSpravki(TDMNS& dm, SmpDataset& suppliers, QObject* parent = nullptr);

    // The material choice of the inquiries, filtered to a warehouse by the window.
    SmpDataset SmpSprSklDvigMAT;
    SmpDataset SmpIzbMatCeni;
    SmpDataset SmpSprSklDvig;
    SmpDataset SmpSprSklMat;
    SmpDataset SmpSklMatCeni;
    SmpDataset SmpMat_Spravka;
    SmpDataset SmpSprMatKymData;
    SmpDataset SmpSklRazp;
    SmpDataset SmpSklPunkt;
    SmpDataset SmpAmbTip;
    SmpDataset SmpAmbFirmaDost;
    SmpDataset SmpAmbDostFirma;
    SmpDataset SmpAmbKontr;

    // The company VAT rate the stock-at-date list adds to selling prices.
    double vatPercent() const;

private:
    void defineMovement();
    void defineSummary();
    void definePrices();
    void defineMinMax();
    void defineStockAtDate();
    void defineReceipts();
    void definePoints();
    void definePackaging(SmpDataset& suppliers);

    TDMNS& dm_;
};
