#pragma once

#include "platform/ui/form.h"

class DBGrid;
class DBLookupComboBox;
class QLineEdit;
class TDMNS;
class TDMNsSpravki;

// "Продажби по месеци !": the sales value of each article per month of a year, from one warehouse.
class TFormProdPoMeseci : public Form
{
    Q_OBJECT
public:
    TFormProdPoMeseci(TDMNS& dm, TDMNsSpravki& spravki);

    DBLookupComboBox* DBLkpCmbIzbSklad = nullptr;
    QLineEdit* EdGodina = nullptr;
    DBGrid* DBGrid1 = nullptr;

    void FormShow();
    void ReloadMonthlySales();
    void DBLkpCmbIzbSkladCloseUp();
    int chosenWarehouse() const { return warehouse_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDMNS& dm_;
    TDMNsSpravki& spravki_;
    int warehouse_ = 0;  // 0 until a warehouse is chosen
};
