#pragma once

#include "platform/ui/form.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QToolButton;
class DataSource;
class DBGrid;
class DBLookupComboBox;
class DBNavigator;
class DBText;
class RadioGroup;
class SmpDataset;
class TDMNS;
class TDMSklObekti;
class TQRpSklRazp;

// The transfer window: collects transfer lines into, between or out of warehouse objects, prints
// them as a warehouse receipt and stores them in one go. Modal, in one of four modes.
class TFormSklObTransfer : public Form
{
    Q_OBJECT
public:
    enum class Mode { FromWarehouse = 0, BetweenObjects = 1, ToSourceWarehouse = 2, ToCompanyWarehouse = 3 };

    TFormSklObTransfer(TDMNS& dm, TDMSklObekti& obekti, TQRpSklRazp& report, QWidget* parent = nullptr);

    // Shows the window modally in the mode; whether a transfer was stored.
    bool open(Mode mode);
    Mode mode() const { return mode_; }
    int chosenWarehouse() const { return nsklad_; }
    int chosenSourceObject() const { return nsklOb_; }
    int chosenTarget() const { return nsklObTarget_; }

    QWidget* PnlTransferSklad_SklOb = nullptr;
    RadioGroup* RdGrpIzbSklad = nullptr;
    DBLookupComboBox* DBLkpCmbIzbSklad = nullptr;
    RadioGroup* RdGrpIzbMaterial = nullptr;
    DBLookupComboBox* DBLkpCmBoxMat = nullptr;
    DBText* DBTextNalich = nullptr;
    QWidget* PnlTransferSklOb_SklOb = nullptr;
    RadioGroup* RdGrpSklOb = nullptr;
    DBLookupComboBox* DBLkpCmbSklOb = nullptr;
    RadioGroup* RdGrpSklObArtik = nullptr;
    DBLookupComboBox* DBLkpCmbSklObArtik = nullptr;
    DBGrid* DBGridSklIztochnik = nullptr;
    DBLookupComboBox* DBLkpCmbVsklOb = nullptr;
    QLineEdit *EditKolich = nullptr, *EditDostCena = nullptr;
    QDateEdit* DateTimSklRazp = nullptr;
    QLabel* LbNumSklRazp = nullptr;
    QToolButton* BitBtnZapisNewSkl = nullptr;
    DBGrid* DBGrid2 = nullptr;
    DBNavigator* DBNavigator3 = nullptr;
    DBLookupComboBox* DBLkpCmbMol = nullptr;
    QToolButton *BitBtnPrintSklRazp = nullptr, *BitBtnZapSklOb = nullptr, *BitBtnIzhod = nullptr;

    void FormShow();
    void ReloadTransferCompanyStock();
    void ReloadTransferObjectStock();
    void RdGrpIzbSkladClick();
    void DBLkpCmbIzbSkladCloseUp();
    void DBLkpCmBoxMatCloseUp();
    void DBLkpCmbSklObCloseUp();
    void DBLkpCmbSklObArtikCloseUp();
    void DBLkpCmbVsklObCloseUp();
    void BitBtnZapisNewSklClick();
    void BitBtnPrintSklRazpClick();
    void BitBtnZapSklObClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void addFromWarehouse();
    void addBetweenObjects();
    void addReturn();
    // Appends a line; an earlier line it replaces goes only once the new one is in.
    void appendLine(int material, double quantity, const QVariantMap& values, int replaces);
    int lineOfMaterial(int material, int sourceLine = -1) const;
    void emptyLines();
    int chosenMol() const;
    QString objectName(int object) const;
    SmpDataset& lines();

    TDMNS& dm_;
    TDMSklObekti& obekti_;
    TQRpSklRazp& report_;
    DataSource* dtSrcSource_ = nullptr;
    Mode mode_ = Mode::FromWarehouse;
    int nsklad_ = 0, nmaterial_ = 0, nsklOb_ = 0, nmaterialOb_ = 0, nsklObTarget_ = 0;
    int reserved_ = 0;  // the receipt number printed, kept for the save
    bool saved_ = false;
};
