#pragma once

#include "platform/ui/form.h"

class DBLookupComboBox;
class DBText;
class QDateEdit;
class QLineEdit;
class QSpinBox;
class QToolButton;
class TDMPorychki;

// A product line of the current order: the product, how many, the supplier of its materials and
// when they are due. The choices stay as they were from one line to the next.
class TFormPorychkaIzdelia : public Form
{
    Q_OBJECT
public:
    explicit TFormPorychkaIzdelia(TDMPorychki& po);
    // Opens modally on the current order; true when a line was saved.
    bool open();

    DBText* DBTextKlient = nullptr;
    DBLookupComboBox* DBLkpCmBIzbProizv = nullptr;
    DBLookupComboBox* DBLkpCmBIzbIzdelie = nullptr;
    QLineEdit* EdOpisanie = nullptr;
    QSpinBox* SpnEdtBrIzdelia = nullptr;
    DBLookupComboBox* DBLkpCmBoxTipKontr = nullptr;
    DBLookupComboBox* DBLkpCmBoxImeKontr = nullptr;
    QDateEdit* DateDostMat = nullptr;
    QLineEdit* Edit1 = nullptr;
    QToolButton* SpdBtnZapPorychkaIzd = nullptr;
    QToolButton* SpdBtnIzhod = nullptr;

    void DBLkpCmBIzbProizvCloseUp();
    void DBLkpCmBoxTipKontrCloseUp();
    void SpdBtnZapPorychkaIzdClick();

private:
    TDMPorychki& po_;
};
