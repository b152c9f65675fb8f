#pragma once

#include "platform/ui/form.h"

class TDMPers;
class DBGrid;
class DBLookupComboBox;
class QSpinBox;

// Earnings of every employee over a period of months and days.
class TFormViewZarab : public Form
{
    Q_OBJECT
public:
    explicit TFormViewZarab(TDMPers& pers);

    DBLookupComboBox* DBLkpCmbMesOt = nullptr;
    DBLookupComboBox* DBLkpCmbMesDo = nullptr;
    QSpinBox* SpnEdDEnOt = nullptr;
    QSpinBox* SpnEdDEnDo = nullptr;
    DBGrid* DBGrid1 = nullptr;

    void SpnEdDEnChange();
    void BitBtnExcelClick();
    // Reads the company's earnings for the months and days shown, when both months are chosen and
    // the days are in order.
    void ReloadEarningsInquiry();

private:
    TDMPers& pers_;
};
