#pragma once

#include "orders/formneeds.h"

class TDMPorychki;
class TQRPorychka_Materiali;

// The materials one client order needs ("Калкулация - клиент").
class TFormPorychkaMat : public TFormNeeds
{
    Q_OBJECT
public:
    TFormPorychkaMat(TDMPorychki& po, TQRPorychka_Materiali& printout);
    // Reads the needs of the order and shows them under the client's name.
    void showOrder(int order, const QString& client);

private:
    TDMPorychki& po_;
};
