#pragma once

#include "platform/ui/form.h"
#include "warehouse/deliveries.h"

#include <functional>
#include <memory>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QToolButton;
class DataSource;
class DBGrid;
class DBLookupComboBox;
class DBText;
class RadioGroup;
class TDMNS;
class TDMPers;
class TDMSklad;
class TFormMaterialDostavka;
class TQRSklRazp;
class TQRSklRazpA4;
class TQRSklRazpBase;

// A new delivery of one supplier document: its lines are entered in a list kept on this side and
// stored together by "запис в склад" into the company warehouses (with the supplier payment) or
// into a warehouse object. Prints the warehouse receipt of the lines in A5 and A4.
class TFormNovaDostavka : public Form
{
    Q_OBJECT
public:
    enum class Mode { Warehouse = 0, WarehousePoint = 1, WarehouseObject = 2 };

    // exemptVatNumber: the installation's company VAT number whose calculation prices are never checked.
    TFormNovaDostavka(TDMNS& dm, TDMSklad& sklad, TDMPers& pers, TFormMaterialDostavka& lineDialog,
                      const QString& exemptVatNumber, QWidget* parent = nullptr);
    ~TFormNovaDostavka() override;

    // Shows the window modally in the mode; true when a delivery was stored.
    bool open(Mode mode);
    Mode mode() const { return mode_; }
    // Opens the reference data window on every counterparty, positioned on the given one; the
    // button "Номенклатури" stays disabled without it.
    void setCounterpartyWindow(std::function<void(int supplier)> open);

    DBLookupComboBox* DBLkpCmBoxIzbTipKontr = nullptr;
    DBLookupComboBox* DBLkpCmBoxIzbKontr = nullptr;
    DBLookupComboBox* DBLookupComboBox1 = nullptr;
    QDateEdit* DatePoluchDostavka = nullptr;
    QLineEdit* EditFakturaNum = nullptr;
    QDateEdit* DateFaktura = nullptr;
    RadioGroup* RdGrpVidPlastane = nullptr;
    QLabel *LbRazsrSumaLv = nullptr, *LbRazsrSumaUSD = nullptr, *LbRazsrSumaEUR = nullptr;
    QLineEdit *EdRazsrSumaLv = nullptr, *EdRazsrSumaUSD = nullptr, *EdRazsrSumaEUR = nullptr;
    QCheckBox* ChBoxZakupchik = nullptr;
    QLabel* LbZakupchik = nullptr;
    DBLookupComboBox* DBLkpCmBoxShifyrZakup = nullptr;
    QLineEdit* EdSklRazpNUM = nullptr;
    QLineEdit* EdDDS = nullptr;
    QLineEdit* EdKomis = nullptr;
    DBLookupComboBox* DBLkpCmbVsklOb = nullptr;
    DBGrid* DBGrid1 = nullptr;
    DBText *DBText1 = nullptr, *DBText2 = nullptr, *DBText3 = nullptr;
    QToolButton *SpdBtnNewMat = nullptr, *SpdBtnRedakciaMat = nullptr, *SpdBtnDelMat = nullptr,
                *SpdBtnZapisDost = nullptr, *SpeedButton2 = nullptr, *BitBtnSklRazpA5 = nullptr,
                *BitBtnSklRazpA4 = nullptr, *SpdBtnNomekl = nullptr, *SpdBtnExit = nullptr;

    void FormShow();
    void DBLkpCmBoxIzbTipKontrCloseUp();
    void DBLkpCmBoxIzbKontrCloseUp();
    void DBLkpCmbVsklObCloseUp();
    void RdGrpVidPlastaneClick();
    void ChBoxZakupchikClick();
    void SpdBtnNewMatClick();
    void SpdBtnRedakciaMatClick();
    void SpdBtnDelMatClick();
    void SpdBtnZapisDostClick();
    void SpeedButton2Click();
    void BitBtnSklRazpA5Click();
    void BitBtnSklRazpA4Click();
    void SpdBtnNomeklClick();

    // The receipt layouts as the print buttons fill them, not shown.
    TQRSklRazpBase& filledReceipt(bool a4);

protected:
    void showEvent(QShowEvent* event) override;

private:
    int chosenSupplier() const;
    Deliveries::Header header() const;
    void SaveDeliveryToWarehouse();
    void SaveDeliveryToWarehouseObject();
    // The storable lines of the list; a line that is not is named to the user and left out.
    QVector<Deliveries::Line> storableLines();
    void editLine();

    TDMNS& dm_;
    TDMSklad& sklad_;
    TDMPers& pers_;
    TFormMaterialDostavka& lineDialog_;
    QString exemptVatNumber_;
    DataSource* lines_;
    Mode mode_ = Mode::Warehouse;
    bool saved_ = false;
    int warehouseObject_ = 0;
    Deliveries::AgreedPrices agreed_;
    std::function<void(int)> openCounterparties_;
    std::unique_ptr<TQRSklRazp> qrSklRazp_;
    std::unique_ptr<TQRSklRazpA4> qrSklRazpA4_;
};
