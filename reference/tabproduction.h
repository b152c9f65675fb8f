#pragma once

#include "reference/listcontrols.h"

#include <QVariant>
#include <QWidget>

class DBGrid;
class DBLookupComboBox;
class Form;
class QGroupBox;
class QSpinBox;
class TDMNS;
class TFormIzdMatISO;
class TFormRecepIzdelie;
class TFormTipIzdelie;
class TQRRecepta;

// The production tab of the reference data window: workshops, the products each makes and the
// recipe of the current product.
class TabProduction : public QWidget
{
    Q_OBJECT
public:
    explicit TabProduction(TDMNS& dm, QWidget* parent = nullptr);

    // The windows and layout this tab opens; the owner of the window set gives them.
    Form* FormTipProizv = nullptr;
    TFormTipIzdelie* FormTipIzdelie = nullptr;
    TFormRecepIzdelie* FormRecepIzdelie = nullptr;
    TFormIzdMatISO* FormIzdMatISO = nullptr;
    TQRRecepta* QRRecepta = nullptr;

    DBGrid* DBGrdCeh = nullptr;
    DBLookupComboBox* DBLkpCmbIzdelie = nullptr;
    DBGrid* DBGrdIzdelia = nullptr;
    QGroupBox* GrpBoxRecepta = nullptr;
    DBGrid* DBGrdRecepta = nullptr;
    QSpinBox* SpnEdtBrIzdeliaN = nullptr;

    // Opens the workshop, product and recipe lists.
    void FormShow();
    void DtSrcTipIzdVIEWDataChange();
    void SpnEdtBrIzdeliaNChange();
    void SpdBtnCehNewClick();
    void SpdBtnCehRedClick();
    void SpdBtnCehDelClick();
    void SpdBtnIzdNewClick();
    void SpdBtnIzdDelClick();
    void BitBtnMoveRecClick();
    void SpdBtnMatNewClick();
    void SpdBtnMatUpdateClick();
    void SpdBtnMatDelClick();
    void SpdBtnReceptaExcelClick();
    void SpdBtnPrintClick();
    void BitBtnIsoClick();

private:
    TDMNS& dm_;
    ListControls lists_;
    QVariant shownProduct_;  // the product whose recipe the recipe list holds
    bool settingN_ = false;
};
