#pragma once

#include "platform/ui/form.h"

class QBoxLayout;
class QDateEdit;
class QHBoxLayout;
class QToolButton;
class QVBoxLayout;
class DataSource;
class DBGrid;
class DBLookupComboBox;
class RadioGroup;
class SmpDataset;
class TDMNS;

// What the stock inquiries share: a list chosen by warehouse ("Всички" or "По избор" from the
// warehouse list) and by material of that warehouse, reloaded with every change of the choice; a
// read-only grid, its spreadsheet copy and "Изход". Modeless; closing hides it and keeps the choice.
class TFormStockInquiry : public Form
{
    Q_OBJECT
public:
    RadioGroup* RdGrpIzbSklad = nullptr;
    DBLookupComboBox* DBLkpCmbIzbSklad = nullptr;
    RadioGroup* RdGrpIzbMaterial = nullptr;       // nullptr in a window without a material choice
    DBLookupComboBox* DBLkpCmBoxMat = nullptr;
    DBGrid* DBGrid1 = nullptr;
    QToolButton *SpeedBtnExcel = nullptr, *SpdBtnExit = nullptr;

    int chosenWarehouse() const { return nsklad_; }
    int chosenMaterial() const { return nmaterial_; }

    virtual void FormShow();
    void Reload() { load(allWarehouses()); }
    void RdGrpIzbSkladClick();
    void DBLkpCmbIzbSkladCloseUp();
    void RdGrpIzbMaterialClick();
    void DBLkpCmBoxMatCloseUp();
    void SpeedBtnExcelClick();

    // "Всички" covers every key.
    static constexpr int kAllWarehousesTo = 32767;
    static constexpr int kAllMaterialsTo = 2147483647;

protected:
    // materials: the material choice list, nullptr for none. The window's own filters go into
    // filters(), its footer into footer(), its buttons beside the grid into buttons().
    TFormStockInquiry(TDMNS& dm, SmpDataset& list, SmpDataset* materials, const QString& name, const QString& caption,
                      const QString& excelCaption = QStringLiteral(" > Excel"), QWidget* parent = nullptr);
    void showEvent(QShowEvent* event) override;

    // The bounds are set; a window sets its further inputs here.
    virtual void setInputs(SmpDataset& list) { Q_UNUSED(list); }
    // After a change of the warehouse choice (column visibility and the like).
    virtual void warehouseChoiceChanged() {}

    bool allWarehouses() const;
    bool allMaterials() const;
    // The reload for every warehouse or for the chosen one, whatever the radio shows.
    void load(bool everyWarehouse);
    // A lookup box over a list of counterparties shows one of its rows. The list's current row is no
    // choice: reopened under another type it stands on that type's first row while the box shows none.
    static bool showsChoice(const DBLookupComboBox* box);
    // The list filter on the supplier the box shows; empty (every row) when it shows none.
    static QString supplierFilter(const DBLookupComboBox* box);
    QHBoxLayout* filters() const { return filters_; }
    QVBoxLayout* footer() const { return footer_; }
    QVBoxLayout* buttons() const { return buttons_; }
    DataSource* listSource() const { return listSource_; }
    QDateEdit* dateEdit(const char* name, const QDate& date);

    TDMNS& dm_;
    SmpDataset& list_;
    SmpDataset* materials_;

private:
    void filterMaterials(bool on);

    QHBoxLayout* filters_;
    QVBoxLayout* footer_;
    QVBoxLayout* buttons_;
    DataSource* listSource_;
    int nsklad_ = 0;
    int nmaterial_ = 0;
};

namespace StockInquiryGrid {
// Each shown column as wide as its title and the texts of the rows read (a long text up to a limit),
// again whenever the rows are read, so names, numbers and titles show whole.
void fitColumns(DBGrid* grid);
} // namespace StockInquiryGrid
