#pragma once

#include "platform/ui/form.h"

class DBGrid;
class QLineEdit;
class QTabWidget;
class RadioGroup;
class TDMNsSpravki;

// "Клиенти - годишен оборот !": per client the quantities and values of each month of a year, one
// currency per tab.
class TFormKlientiOborot : public Form
{
    Q_OBJECT
public:
    explicit TFormKlientiOborot(TDMNsSpravki& dm);

    QLineEdit* EdGodOborot = nullptr;
    RadioGroup* RdGrpFiltyrFirmiOborot = nullptr;
    QTabWidget* PageControl1 = nullptr;
    DBGrid* DBGrid1 = nullptr;  // "Оборот в ЛЕВА"
    DBGrid* DBGrid2 = nullptr;  // "Оборот в USD"
    DBGrid* DBGrid3 = nullptr;  // "Оборот в EUR"

    void FormShow();
    // "Извличане на данни": the turnover of the typed year.
    void SpeedButton1Click();
    // The value columns of the active tab's currency are shown, the others hidden.
    void ApplyCurrency();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDMNsSpravki& dm_;
};
