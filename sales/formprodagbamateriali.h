#pragma once

#include "platform/ui/form.h"
#include "sales/salerecording.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;
class DataSource;
class DBGrid;
class DBLookupComboBox;
class DBNavigator;
class DBText;
class RadioGroup;
class SmpDataset;
class TDMNS;
class TDMProdagba;

// The grids of a sale's lines and of the stock they come from: every column as wide as its heading
// and the values its field shows, the stretch field (the name) taking what is left of the grid's
// width. The widths are kept as the grid is resized or reopened; call it again when columns are
// shown or hidden.
namespace SaleGrids {
void fitColumns(DBGrid& grid, const QString& stretchField);
}

// Choosing the lines of a sale from stock: the warehouse-object stock (mode 0) or the warehouse
// stock (mode 1), a quantity, and the line it adds to the sale's line list with its prices. A
// negative quantity adds a returned-goods line. Modal; nothing reaches the database here.
class TFormProdagbaMateriali : public Form
{
    Q_OBJECT
public:
    enum class Mode { WarehouseObjects = 0, Warehouses = 1, Correction = 2 };
    // What the sale entry window tells the selection each time it opens it.
    struct Sale
    {
        int documentType = 0;
        int recipient = 0;            // NKONTRAGENT of the recipient shown
        bool recipientNamed = false;  // the recipient box shows a name: special prices apply
    };

    TFormProdagbaMateriali(TDMNS& dm, TDMProdagba& sale, QWidget* parent = nullptr);

    // Shows the window modally in the mode, for the sale; the lines land in SmpProdagbaTempNew.
    int open(Mode mode, const Sale& sale);
    // Shows the window modally to correct a recorded sale: its lines are loaded into a list of their
    // own (SmpProdagbaKorekcia), so a sale being composed stays as it is. 0 when there is no such sale.
    int openCorrection(const QString& saleNumber);
    Mode mode() const { return mode_; }

    QWidget* PnlProdSklad = nullptr;
    RadioGroup* RdGrpIzbSklad = nullptr;
    DBLookupComboBox* DBLkpCmbIzbSklad = nullptr;
    RadioGroup* RdGrpIzbMaterial = nullptr;
    DBLookupComboBox* DBLkpCmBoxMat = nullptr;
    DBText* DBTextNalich = nullptr;
    QWidget* PnlProdSklOb = nullptr;
    RadioGroup* RdGrpSklOb = nullptr;
    DBLookupComboBox* DBLkpCmbSklOb = nullptr;
    RadioGroup* RdGrpSklObArtik = nullptr;
    DBLookupComboBox* DBLkpCmbSklObArtik = nullptr;
    DBGrid* DBGridSklad_SklOb = nullptr;
    QLineEdit* EditKolich = nullptr;
    QToolButton* SpeedBtnZapMaterial = nullptr;
    RadioGroup* RdGrpCena_Edro_drebno = nullptr;
    RadioGroup* RdGrpValuta = nullptr;
    QLabel* LbValuta = nullptr;
    QLineEdit* EdValuta = nullptr;
    DBGrid* DBGrid4 = nullptr;
    DBNavigator* DBNavigator1 = nullptr;
    QGroupBox *GrpBoxDanFakt = nullptr, *GrpBoxOprFaktStRazp = nullptr;
    DBText* DBText6 = nullptr;
    QToolButton* SpeedBtnClose = nullptr;
    // Correction: the sale, its payment kind and paid-now amounts, and "корекция".
    QLabel* DBText3 = nullptr;
    RadioGroup* RdGrpVidPlastane = nullptr;
    QLineEdit *EdRazsrSumaLv = nullptr, *EdRazsrSumaUSD = nullptr, *EdRazsrSumaEUR = nullptr;
    QToolButton* BitBtnZapProdKorek = nullptr;

    void FormShow();
    void ReloadWarehouseStock();
    void ReloadWarehouseObjectStock();
    void RdGrpIzbSkladClick();
    void DBLkpCmbIzbSkladCloseUp();
    void RdGrpIzbMaterialClick();
    void DBLkpCmBoxMatCloseUp();
    void RdGrpSklObClick();
    void RdGrpValutaClick();
    void SpeedBtnZapMaterialClick();
    void SpeedBtnCloseClick();
    void RdGrpVidPlastaneClick();
    void BitBtnZapProdKorekClick();

    // A line drawn blue: its BGN price is the recipient's special price.
    bool specialPriceLine(int position) const;

private:
    // The list lines are added to: the sale's, or in a correction the corrected sale's own.
    SmpDataset& lines() const;
    bool fromObjects() const;
    // In a correction: stock on hand plus what the recorded sale took of the material.
    double available(int material, double onHand) const;
    void AddLineFromWarehouse(double quantity);
    void AddLineFromWarehouseObject(double quantity);
    void AddReturnLineToWarehouse(double quantity);
    void AddReturnLineToWarehouseObject(double quantity);
    // Appends a line of the stock row's material at the chosen prices.
    void appendLine(int material, double quantity, const SmpDataset& stock, bool returned, int warehouseObject,
                    int objectReceipt, int stockLine);
    double alreadyTaken(int material) const;
    void filterMaterials(int nsklad);

    TDMNS& dm_;
    TDMProdagba& sale_;
    Mode mode_ = Mode::Warehouses;
    Sale current_;
    DataSource* linesSource_ = nullptr;
    Sales::RecordedSale corrected_;
    int nsklad_ = 0;
    int nmaterial_ = 0;
};
