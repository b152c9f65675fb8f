#pragma once

#include <QWidget>

class TDMPers;
class DBGrid;
class DBLookupComboBox;
class DBNavigator;
class QGroupBox;

// The earnings tab of the staff window: the current employee's work lines of the chosen month and
// his earnings by month of that year.
class TabZarab : public QWidget
{
    Q_OBJECT
public:
    explicit TabZarab(TDMPers& pers, QWidget* parent = nullptr);

    QGroupBox* GrpBoxZarab = nullptr;
    DBGrid* DBGrid3 = nullptr;
    DBNavigator* DBNavigator3 = nullptr;
    DBLookupComboBox* DBLkpCmbGodMesIme = nullptr;
    DBGrid* DBGrid22 = nullptr;

    // The chosen month's lists and caption (after the month list moved).
    void showMonth();
    void DBLkpCmbGodMesImeCloseUp();
    void BitBtn1Click();

private:
    TDMPers& pers_;
};
