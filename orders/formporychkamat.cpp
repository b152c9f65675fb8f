#include "orders/formporychkamat.h"

#include "data/dmporychki.h"
#include "orders/qrporychki.h"

using namespace Qt::StringLiterals;

TFormPorychkaMat::TFormPorychkaMat(TDMPorychki& po, TQRPorychka_Materiali& printout)
    : TFormNeeds("FormPorychkaMat", u"Поръчка на клиент - необходими материали !"_s, po.SmpPorychka_Materiali, printout),
      po_(po)
{
}

void TFormPorychkaMat::showOrder(int order, const QString& client)
{
    TDMPorychki::reopen(po_.SmpPorychka_Materiali, u"Numporychka"_s, order);
    printout_.setCaption(u"QRLbImePorych"_s, u"ПО ИНДИВИДУАЛНА ПОРЪЧКА №"_s);
    showWith(u"Калкулация на необходими материали по поръчка на контрагент - "_s + client);
}
