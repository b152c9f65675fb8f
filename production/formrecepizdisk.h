#pragma once

#include "platform/ui/form.h"

class QSpinBox;
class QToolButton;
class DBGrid;
class DBLookupComboBox;
class DBText;
class RadioGroup;
class TDMNS;
class TDMProizv;
class TQRIskane;

// The recipe dialog of a requisition: the recipe of the chosen product times the number of
// recipes, with the stock of each material; "Запис" fills the requisition's lines from it. Modal.
class TFormRecepIzdISK : public Form
{
    Q_OBJECT
public:
    TFormRecepIzdISK(TDMNS& dm, TDMProizv& pr, TQRIskane& qrIskane, QWidget* parent = nullptr);

    // Shows the recipe read for the current product of the product list.
    void open();

    DBText* DBTextIzdelie = nullptr;
    DBLookupComboBox* DBLkpCmBoxIzbKontr = nullptr;
    DBGrid* DBGrid10 = nullptr;
    QSpinBox* SpnEdtBrIzdeliaN = nullptr;
    RadioGroup* RdGrpFiltyrMatRecep = nullptr;
    QToolButton *SpdBtnZapMatRecep = nullptr, *SpdBtnPrintIskane = nullptr, *SpdBtnExit = nullptr;

    void FormShow();
    void SpnEdtBrIzdeliaNChange();
    void RdGrpFiltyrMatRecepClick();
    void SpdBtnZapMatRecepClick();
    void SpdBtnPrintIskaneClick();

private:
    // Appends the recipe's lines to the requisition; any material short empties it again.
    void FillFromRecipe();

    TDMNS& dm_;
    TDMProizv& pr_;
    TQRIskane& qrIskane_;
};
