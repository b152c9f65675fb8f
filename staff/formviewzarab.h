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

    void DBLkpCmbMesOtCloseUp();
    void DBLkpCmbMesDoCloseUp();
    void SpnEdDEnChange();
    void BitBtnExcelClick();

private:
    void ReloadEarningsInquiry();
    TDMPers& pers_;
    int monthFrom_ = 0, monthTo_ = 0;
};
