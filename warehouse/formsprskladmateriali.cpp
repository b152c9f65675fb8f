#include "warehouse/formsprskladmateriali.h"

#include "data/dmsklspravki.h"

TFormSprSkladMateriali::TFormSprSkladMateriali(TDMNS& dm, TDMSklSpravki& spravki, QWidget* parent)
    : TFormStockInquiry(dm, spravki.SmpSprSklMat, &spravki.SmpSprSklDvigMAT, QStringLiteral("FormSprSkladMateriali"),
                        QStringLiteral("Склад - материали наличности - обобщени данни"), QStringLiteral(" > Excel"),
                        parent)
{
}
