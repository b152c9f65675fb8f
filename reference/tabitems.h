#pragma once

#include "reference/listcontrols.h"

#include <QWidget>

class DBGrid;
class DBLookupComboBox;
class RadioGroup;
class TDMNS;
class TDMPers;
class TFormMateriali;
class TFormMiarki;
class TFormTipSklad;

// The item tab of the reference data window: items with their details, warehouses, warehouse
// objects and units.
class TabItems : public QWidget
{
    Q_OBJECT
public:
    TabItems(TDMNS& dm, TDMPers& pers, QWidget* parent = nullptr);

    // The editors this tab opens; the owner of the window set gives them.
    TFormMateriali* FormMateriali = nullptr;
    TFormTipSklad* FormTipSklad = nullptr;
    TFormMiarki* FormMiarki = nullptr;

    DBGrid* DBGrid1 = nullptr;
    RadioGroup* RdGrpIzbSklMat = nullptr;
    DBLookupComboBox* DBLkpCmbIzbSklad = nullptr;
    DBGrid* DBGrid11 = nullptr;
    DBGrid* DBGrid3 = nullptr;
    DBGrid* DBGrid2 = nullptr;

    // The key the warehouse lookup keeps (0 until the user picks one).
    int izbSkladKey() const { return izbSkladKey_; }

    // Opens the tab's lists; the item list is read only when it is not open yet.
    void FormShow();
    void RefreshMateriali();
    void RdGrpIzbSklMatClick();
    void DBLkpCmbIzbSkladCloseUp();
    void SpdBtnNewMatClick();
    void SpdBtnRedakciaMatClick();
    void SpdBtnDelMatClick();
    void SpdBtnMatEXELClick();
    void SpdBtnNewSkladClick();
    void SpdBtnRedSkladClick();
    void SpdBtnDelSkladClick();
    void SpdBtnNewMkaClick();
    void SpdBtnRedMkaClick();
    void SpdBtnDelMkaClick();

private:
    QToolButton* makeButton(const char* name, const QString& text, void (TabItems::*handler)());

    TDMNS& dm_;
    TDMPers& pers_;
    ListControls lists_;
    int izbSkladKey_ = 0;
};
