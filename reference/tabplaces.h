#pragma once

#include "reference/listcontrols.h"

#include <QWidget>

class DBGrid;
class TDMNS;
class TDMPers;
class TFormCountry;
class TFormGrad;
class TFormTipKontr;

// The places tab of the reference data window: towns, countries, counterparty types and staff
// positions.
class TabPlaces : public QWidget
{
    Q_OBJECT
public:
    TabPlaces(TDMNS& dm, TDMPers& pers, QWidget* parent = nullptr);

    // The editors this tab opens; the owner of the window set gives them.
    TFormGrad* FormGrad = nullptr;
    TFormCountry* FormCountry = nullptr;
    TFormTipKontr* FormTipKontr = nullptr;

    DBGrid* DBGrid7 = nullptr;
    DBGrid* DBGrid5 = nullptr;
    DBGrid* DBGrid4 = nullptr;
    DBGrid* DBGrid8 = nullptr;

    void SpdBtnNewGradClick();
    void SpdBtnRedGradClick();
    void SpdBtnDelGradClick();
    void SpdBtnNewCountryClick();
    void SpdBtnRedCountryClick();
    void SpdBtnDelCountryClick();
    void SpdBtnNewTipKontrClick();
    void SpdBtnRedTipKontrClick();
    void SpdBtnDelTipKontrClick();

private:
    TDMNS& dm_;
    ListControls lists_;
};
