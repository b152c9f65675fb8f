#pragma once

#include "orders/formneeds.h"

class TDMPorychki;
class TQRPorychkaDvigMat;

// The materials of what is still to be made across all orders, of every product or of one.
class TFormPorychDvigMat : public TFormNeeds
{
    Q_OBJECT
public:
    TFormPorychDvigMat(TDMPorychki& po, TQRPorychkaDvigMat& printout);
    // Every product ("Калкулация - обща").
    void showAll();
    // One product ("Калк. изделие").
    void showProduct(int product, const QString& name);

private:
    void show(int from, int to, const QString& panel, const QString& heading, const QString& product);
    TDMPorychki& po_;
};
