#pragma once

#include "warehouse/stockinquiryform.h"

class TDMSklSpravki;

// Materials against their minimum and maximum quantities: red at or below the minimum, blue
// above the maximum; the list narrowed to either.
class TFormMat_Spravka : public TFormStockInquiry
{
    Q_OBJECT
public:
    TFormMat_Spravka(TDMNS& dm, TDMSklSpravki& spravki, QWidget* parent = nullptr);

    RadioGroup* RdGrpKritNalich = nullptr;

    // Opens the warehouse list if it is closed and lists every warehouse, whatever the radio shows.
    void FormShow() override;
    void RdGrpKritNalichClick();
    // The colour of the row at a position of the list.
    QColor rowColor(int position) const;

protected:
    void warehouseChoiceChanged() override;
};
