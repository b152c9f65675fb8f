#pragma once

#include "platform/ui/form.h"
#include "warehouse/stocklines.h"

class QGroupBox;
class QMenuBar;
class QMenu;
class QAction;
class QToolButton;
class DataSource;
class DBGrid;
class DBImage;
class DBLookupComboBox;
class DBText;
class RadioGroup;
class TDMNS;
class TDMSklad;
class TFormNovaDostavka;
class TFormDostavkaKorekcia;
class TFormSklDostBrak;
class TFormUpdDostCena;
namespace ColumnSettings {
class Registry;
}

// The warehouse stock window: stock per delivery line for one warehouse or all, the start of new
// deliveries, corrections, deletes of a line and defective-goods claims. Modeless; closing hides it.
class TFormSklad : public Form
{
    Q_OBJECT
public:
    TFormSklad(TDMNS& dm, TDMSklad& sklad, QWidget* parent = nullptr);

    // The windows it opens modally; a button whose window is not given stays disabled.
    TFormNovaDostavka* FormNovaDostavka = nullptr;
    TFormDostavkaKorekcia* FormDostavkaKorekcia = nullptr;
    TFormSklDostBrak* FormSklDostBrak = nullptr;
    TFormUpdDostCena* FormUpdDostCena = nullptr;
    void setEditors(TFormNovaDostavka* novaDostavka, TFormDostavkaKorekcia* korekcia, TFormSklDostBrak* dostBrak);
    void setPriceEditor(TFormUpdDostCena* updDostCena);
    // The inquiry windows of the menu "Справки - склад", in menu order; an item whose window is
    // not given stays disabled.
    void setInquiries(const QList<Form*>& windows);

    QMenuBar* MainMenu1 = nullptr;
    QMenu* N1 = nullptr;  // "Справки - склад"
    QAction *N2 = nullptr, *N3 = nullptr, *N6 = nullptr, *N5 = nullptr, *N4 = nullptr, *N7 = nullptr;
    RadioGroup* RdGrpIzbSklad = nullptr;
    DBLookupComboBox* DBLkpCmbIzbSklad = nullptr;
    RadioGroup* RdGrpIzbMaterial = nullptr;
    DBLookupComboBox* DBLkpCmBoxMat = nullptr;
    RadioGroup* RdGrpKontrDaNeDostav = nullptr;
    QGroupBox* GrpBoxIzbKontrDostav = nullptr;
    DBLookupComboBox* DBLkpCmBoxTipKontrDost = nullptr;
    DBLookupComboBox* DBLkpCmBoxKontrDostav = nullptr;
    DBGrid* DBGrid1 = nullptr;
    DBText *DBText1 = nullptr, *DBText2 = nullptr, *DBText3 = nullptr;
    DBImage* DBImage1 = nullptr;
    QToolButton *SpeedBtnNDostavka = nullptr, *SpeedBtnExcel = nullptr, *SpdBtnRedakcia = nullptr,
                *SpdBtnDostCena = nullptr, *SpdBtnDelKontragent = nullptr, *SpdBtnExit = nullptr;
    QGroupBox* GrpBoxDostBrak = nullptr;
    DBGrid* DBGrid2 = nullptr;
    RadioGroup* RdGrpDostBrak = nullptr;
    QToolButton *BitBtnNewDostBrak = nullptr, *BitBtnDelDostBrak = nullptr;

    int chosenWarehouse() const { return nsklad_; }
    int chosenMaterial() const { return nmaterial_; }

    void FormShow();
    void ReloadStockWindowList();
    void RdGrpIzbSkladClick();
    void DBLkpCmbIzbSkladCloseUp();
    void RdGrpIzbMaterialClick();
    void DBLkpCmBoxMatCloseUp();
    void RdGrpKontrDaNeDostavClick();
    void DBLkpCmBoxTipKontrDostCloseUp();
    void DBLkpCmBoxKontrDostavCloseUp();
    void DtSrcSklNalichDataChange();
    void SpeedBtnNDostavkaClick();
    void SpeedBtnExcelClick();
    void SpdBtnRedakciaClick();
    void SpdBtnDostCenaClick();
    void SpdBtnDelKontragentClick();
    void BitBtnNewDostBrakClick();
    void BitBtnDelDostBrakClick();

    // A row drawn red: its expiry date is set and today + 3 days is later than it.
    static bool expiresSoon(const QVariant& expiry);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString companyAlias() const;
    // The current stock row's line read afresh by its key; nullopt (the list re-read) when it is gone.
    std::optional<StockLines::Line> currentLine();
    // The same for a correction; with an empty list the user is told there is nothing to correct.
    std::optional<StockLines::Line> lineToCorrect();
    void filterMaterials(int nsklad);
    void applySupplierFilter();

    TDMNS& dm_;
    TDMSklad& sklad_;
    DataSource* dtSrcSklNalich_ = nullptr;
    int nsklad_ = 0;
    int nmaterial_ = 0;
};
