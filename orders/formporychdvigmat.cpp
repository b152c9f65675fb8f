#include "orders/formporychdvigmat.h"

#include "data/dmporychki.h"
#include "orders/qrporychki.h"

using namespace Qt::StringLiterals;

TFormPorychDvigMat::TFormPorychDvigMat(TDMPorychki& po, TQRPorychkaDvigMat& printout)
    : TFormNeeds("FormPorychDvigMat", u"Обобщена калкулация на неизработените изделия по всички поръчки - необходими материали !"_s,
                 po.SmpPorychDvigMat, printout),
      po_(po)
{
}

void TFormPorychDvigMat::showAll()
{
    show(1, 10000, u"Обобщена калкулация на неизработените изделия по всички поръчки - необходими материали !"_s,
         u"Обобщена калкулация на неизработените изделия по всички поръчки !"_s, QString());
}

void TFormPorychDvigMat::showProduct(int product, const QString& name)
{
    const QString heading = u"Калкулация за неизработено изделие по всички поръчки - необходими материали !"_s;
    show(product, product, heading, heading, name);
}

void TFormPorychDvigMat::show(int from, int to, const QString& panel, const QString& heading, const QString& product)
{
    SmpDataset& needs = po_.SmpPorychDvigMat;
    needs.close();
    needs.setParam(u"NTipIzdelieOt"_s, from);
    needs.setParam(u"NTipIzdelieDo"_s, to);
    needs.open();
    printout_.setCaption(u"QRLbPyrviRed"_s, heading);
    printout_.setCaption(u"QRLbVtoriRed"_s, u"Необходими материали към дата -"_s);
    printout_.setCaption(u"QRLblImeIzd"_s, product);
    showWith(panel);
}
