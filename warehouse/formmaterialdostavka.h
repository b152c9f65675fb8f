#pragma once

#include "platform/ui/form.h"
#include "warehouse/deliveries.h"

class QGroupBox;
class QLineEdit;
class QToolButton;
class DataSource;
class DBEdit;
class DBLookupComboBox;
class DBText;
class TDMNS;
class TDMSklad;

// What a line of a delivery is checked against: the document it belongs to.
struct DeliveryLineContext
{
    bool warehouseObject = false;  // a delivery straight into a warehouse object
    int supplier = 0;
    QString document;
    QDate documentDate;
    bool priceCheckExempt = false;
    Deliveries::AgreedPrices* agreed = nullptr;  // calculation prices agreed so far in the delivery
};

// The dialog of one delivery line: the current row of the delivery lines, new (appended by the
// caller) or being edited. "Запис" posts it after its checks; leaving any other way drops what
// was typed (a new line with it).
class TFormMaterialDostavka : public Form
{
    Q_OBJECT
public:
    TFormMaterialDostavka(TDMNS& dm, TDMSklad& sklad, QWidget* parent = nullptr);

    // Shows the dialog modally on the current line; true when the line was posted.
    bool open(const DeliveryLineContext& context);

    DBLookupComboBox* DBLookupComboBox1 = nullptr;
    DBLookupComboBox* DBLkpCmbSklObArtik = nullptr;
    DBEdit *DBEdit1 = nullptr, *DBEdit2 = nullptr, *DBEdit3 = nullptr, *DBEdit4 = nullptr, *DBEdit5 = nullptr,
           *DBEdit6 = nullptr, *DBEdit7 = nullptr;
    QGroupBox* GrpBoxCenaCalc = nullptr;
    DBText* DBText1 = nullptr;
    QLineEdit* EditCenaCalc = nullptr;
    QToolButton *SpdBtnUpdate = nullptr, *SpdBtnExit = nullptr;

    void FormShow();
    void DBLookupComboBox1CloseUp();
    void SpdBtnUpdateClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void RecordDeliveryLine();
    void RecordWarehouseObjectLine();

    TDMNS& dm_;
    TDMSklad& sklad_;
    DataSource* lines_;
    DeliveryLineContext context_;
    bool posted_ = false;
};
