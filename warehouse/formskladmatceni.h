#pragma once

#include "warehouse/stockinquiryform.h"

class DBText;
class QGroupBox;
class TDMSklSpravki;

// Stock per delivery line valued at delivery and at selling prices, with the difference, per
// currency.
class TFormSkladMatCENI : public TFormStockInquiry
{
    Q_OBJECT
public:
    TFormSkladMatCENI(TDMNS& dm, TDMSklSpravki& spravki, QWidget* parent = nullptr);

    QGroupBox* GrpBoxTotals = nullptr;

protected:
    void warehouseChoiceChanged() override;
};
