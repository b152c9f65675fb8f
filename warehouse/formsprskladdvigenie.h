#pragma once

#include "warehouse/stockinquiryform.h"

#include <functional>

class QGroupBox;
class QLabel;
class DBText;
class TDMSklad;
class TDMSklSpravki;
class TFormUpdDostCena;

// The movement of delivery lines: each line with what left it and what is on hand, picked by
// warehouse, material, date received or document date, and supplier.
class TFormSprSkladDvigenie : public TFormStockInquiry
{
    Q_OBJECT
public:
    TFormSprSkladDvigenie(TDMNS& dm, TDMSklad& sklad, TDMSklSpravki& spravki, QWidget* parent = nullptr);

    // The delivery price window the correction opens; without it the button stays disabled.
    void setPriceEditor(TFormUpdDostCena* editor);
    // Opens the products made with a material (its number, and its name for the heading); without it
    // "Вложено в ..." stays disabled.
    void setUsageWindow(std::function<void(int material, const QString& name)> open);

    RadioGroup* RdGrpIzbDate = nullptr;
    QGroupBox *GrpBoxPoluch = nullptr, *GrpBoxFakt = nullptr;
    QDateEdit *DatePoluchOt = nullptr, *DatePoluchDo = nullptr, *DateFaktOt = nullptr, *DateFaktDo = nullptr;
    RadioGroup* RdGrpKontrDaNeDostav = nullptr;
    QGroupBox* GrpBoxIzbKontr = nullptr;
    DBLookupComboBox *DBLkpCmBoxTipKontr = nullptr, *DBLkpCmBoxKontr = nullptr;
    QLabel* LbNalichnost = nullptr;
    DBText *DBTextNalichnost = nullptr, *DBText1 = nullptr, *DBText2 = nullptr, *DBText3 = nullptr;
    QToolButton *BitBtnVlojeno = nullptr, *BitBtnUpdDostLV = nullptr;

    void RdGrpIzbDateClick();
    void RdGrpKontrDaNeDostavClick();
    void DBLkpCmBoxTipKontrCloseUp();
    void DBLkpCmBoxKontrCloseUp();
    void BitBtnUpdDostLVClick();
    void BitBtnVlojenoClick();

protected:
    void setInputs(SmpDataset& list) override;

private:
    void showMaterialTotal();
    void applySupplierFilter();

    TDMSklad& sklad_;
    TFormUpdDostCena* priceEditor_ = nullptr;
    std::function<void(int, const QString&)> usageWindow_;
};
