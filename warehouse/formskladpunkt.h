#pragma once

#include "warehouse/stockinquiryform.h"
#include "warehouse/stocklines.h"

class QGroupBox;
class DBText;
class TDMSklad;
class TDMSklSpravki;
class TFormNovaDostavka;
class TFormDostavkaKorekcia;
class TFormAmbalag;

// The warehouse points: every delivery line with its value, VAT, commission and what left it,
// totalled per supplier; new deliveries, corrections and deletes of a line under the stock
// window's rules, and the packaging account of the chosen supplier.
class TFormSkladPunkt : public TFormStockInquiry
{
    Q_OBJECT
public:
    TFormSkladPunkt(TDMNS& dm, TDMSklad& sklad, TDMSklSpravki& spravki, QWidget* parent = nullptr);

    // The windows it opens modally; a button whose window is not given stays disabled.
    void setEditors(TFormNovaDostavka* novaDostavka, TFormDostavkaKorekcia* korekcia, TFormAmbalag* ambalag);

    RadioGroup* RdGrpKontrDaNeDostav = nullptr;
    QGroupBox* GrpBoxIzbKontrDostav = nullptr;
    DBLookupComboBox *DBLkpCmBoxTipKontrDost = nullptr, *DBLkpCmBoxKontrDostav = nullptr;
    DBText *DBText1 = nullptr, *DBText2 = nullptr, *DBText3 = nullptr, *DBText4 = nullptr, *DBText5 = nullptr;
    QToolButton *SpeedBtnNDostavka = nullptr, *SpdBtnRedakcia = nullptr, *SpdBtnDelKontragent = nullptr,
                *SpdBtnAmbalag = nullptr;

    // The reload of the list from the filters; the delivery windows call it after a save.
    void ReloadWarehousePointStock() { Reload(); }
    void RdGrpKontrDaNeDostavClick();
    void DBLkpCmBoxTipKontrDostCloseUp();
    void DBLkpCmBoxKontrDostavCloseUp();
    void SpeedBtnNDostavkaClick();
    void SpdBtnRedakciaClick();
    void SpdBtnDelKontragentClick();
    void SpdBtnAmbalagClick();

protected:
    void warehouseChoiceChanged() override;

private:
    std::optional<StockLines::Line> currentLine();
    void applySupplierFilter();
    bool supplierShown() const;

    TDMSklad& sklad_;
    TFormNovaDostavka* nova_ = nullptr;
    TFormDostavkaKorekcia* korekcia_ = nullptr;
    TFormAmbalag* ambalag_ = nullptr;
};
