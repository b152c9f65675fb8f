#pragma once

#include "warehouse/stockinquiryform.h"

class TDMSklSpravki;

// The stock added up per material: delivered, defective, drawn, sold, dispatched and on hand,
// with the material's minimum and maximum quantities.
class TFormSprSkladMateriali : public TFormStockInquiry
{
    Q_OBJECT
public:
    TFormSprSkladMateriali(TDMNS& dm, TDMSklSpravki& spravki, QWidget* parent = nullptr);
};
