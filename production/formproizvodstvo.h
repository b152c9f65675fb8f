#pragma once

#include "platform/ui/form.h"

class QAction;
class QDateEdit;
class QMenu;
class QMenuBar;
class QToolButton;
class DataSource;
class DBGrid;
class DBLookupComboBox;
class RadioGroup;
class TDMNS;
class TDMProizv;
class TFormSklIsk;
class TFormIskIzdelie;
class TFormSprIskania;
class TQRNUMIskane;

// The production window: what the workshops hold of the materials drawn by requisitions and the
// batches they made in a period; the start of requisitions and batches, giving material back to
// the warehouse, deleting a batch. Modeless; closing hides it.
class TFormProizvodstvo : public Form
{
    Q_OBJECT
public:
    TFormProizvodstvo(TDMNS& dm, TDMProizv& pr, QWidget* parent = nullptr);

    // The windows and layout it opens; an action whose window is not given does nothing.
    TFormSklIsk* FormSklIsk = nullptr;
    TFormIskIzdelie* FormIskIzdelie = nullptr;
    TFormSprIskania* FormSprIskania = nullptr;
    TQRNUMIskane* QRNUMIskane = nullptr;

    QMenuBar* MainMenu1 = nullptr;
    QMenu* NSpravki = nullptr;  // "Справки"
    QAction* NSprIskania = nullptr;
    RadioGroup* RdGrpIzbProizv = nullptr;
    DBLookupComboBox* DBLkpCmBoxIzbProizv = nullptr;
    RadioGroup* RdGrpIzbMater = nullptr;
    DBLookupComboBox* DBLkpCmBoxIzbMat = nullptr;
    DBGrid* DBGrid1 = nullptr;
    QToolButton *SpeedBtnIskaniaMat = nullptr, *SpdBtnMatCehExcel = nullptr, *SpdBtnDelMatCeh = nullptr,
                *SpeedBtnPrintNUMIskane = nullptr;
    RadioGroup* RdGrpIzbIzd = nullptr;
    DBLookupComboBox* DBLkpCmBoxIzdelie = nullptr;
    QDateEdit *DateIzdelieOt = nullptr, *DateIzdelieDo = nullptr;
    RadioGroup* RdGrpRecProizvDa_Ne = nullptr;
    DBLookupComboBox* DBLkpCBoxIzbRecepIzd = nullptr;
    DBGrid* DBGrid2 = nullptr;
    QToolButton *SpdBtnDelIzdelie = nullptr, *SpeedButton4 = nullptr, *SpeedButton3 = nullptr;

    // The workshop chosen in this window (0: none); the requisition and batch start from it.
    int chosenWorkshop() const;

    void FormShow();
    void ReloadWorkshopStock();
    void ReloadBatches();
    void FilterWorkshopProducts();
    void RdGrpIzbProizvClick();
    void DBLkpCmBoxIzbProizvCloseUp();
    void RdGrpIzbMaterClick();
    void DBLkpCmBoxIzbMatCloseUp();
    void RdGrpIzbIzdClick();
    void DBLkpCmBoxIzdelieCloseUp();
    void RdGrpRecProizvDa_NeClick();
    void SpeedBtnIskaniaMatClick();
    void DBLkpCBoxIzbRecepIzdCloseUp();
    void SpdBtnDelMatCehClick();
    void SpeedBtnPrintNUMIskaneClick();
    void SpdBtnDelIzdelieClick();
    void SpdBtnMatCehExcelClick();
    void SpeedButton4Click();
    void NSprIskaniaClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool hasWorkshop() const;
    void enableWorkshopActions();

    TDMNS& dm_;
    TDMProizv& pr_;
    int workshop_ = 0;
    QString workshopName_;
    int material_ = 0;
    int productMaterial_ = 0;
};
