#pragma once

#include "platform/ui/form.h"

class QDateEdit;
class QToolButton;
class DBGrid;
class DBLookupComboBox;
class RadioGroup;
class TDMNS;
class TDMProizv;

// The inquiry of materials drawn from the warehouses by requisitions in a period, per workshop,
// warehouse and material. Modeless; closing hides it.
class TFormSprIskania : public Form
{
    Q_OBJECT
public:
    TFormSprIskania(TDMNS& dm, TDMProizv& pr, QWidget* parent = nullptr);

    RadioGroup* RdGrpIzbProizv = nullptr;
    DBLookupComboBox* DBLkpCmBoxIzbProizv = nullptr;
    RadioGroup* RdGrpIzbMater = nullptr;
    DBLookupComboBox* DBLkpCmBoxIzbMat = nullptr;
    QDateEdit *DateIskOt = nullptr, *DateIskDo = nullptr;
    DBGrid* DBGrid1 = nullptr;
    QToolButton *SpdBtnExcel = nullptr, *SpdBtnIzhod = nullptr;

    void FormShow();
    void ReloadRequisitionInquiry();
    void RdGrpIzbProizvClick();
    void DBLkpCmBoxIzbProizvCloseUp();
    void RdGrpIzbMaterClick();
    void DBLkpCmBoxIzbMatCloseUp();
    void SpdBtnExcelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDMNS& dm_;
    TDMProizv& pr_;
    int workshop_ = 0;
    int material_ = 0;
};
