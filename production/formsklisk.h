#pragma once

#include "platform/ui/form.h"

class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;
class DBGrid;
class DBLookupComboBox;
class DBNavigator;
class DBText;
class RadioGroup;
class TDMNS;
class TDMSklad;
class TDMProizv;
class TFormRecepIzdISK;
class TFormIskIzdelie;
class TQRSpecif;

// The requisition window: the lines of one requisition from a product's recipe or picked from
// the stock, checked against the stock and saved under a new number; from it a batch of the
// product can follow at once. Modal.
class TFormSklIsk : public Form
{
    Q_OBJECT
public:
    TFormSklIsk(TDMNS& dm, TDMSklad& sklad, TDMProizv& pr, TFormRecepIzdISK& recipe, TQRSpecif& specif,
                QWidget* parent = nullptr);

    // The batch dialog "Запис на искане+производство" goes on to; without it that button stays disabled.
    void setBatchDialog(TFormIskIzdelie* batchDialog);

    // Assembles a requisition for the workshop; true when one was saved.
    bool open(int workshop, const QString& workshopName);

    QLabel* LbProizvodstvo = nullptr;
    QDateEdit* DateIskane = nullptr;
    RadioGroup* RdGrpIzbSklad = nullptr;
    DBLookupComboBox* DBLkpCmbIzbSklad = nullptr;
    RadioGroup* RdGrpIzbMaterial = nullptr;
    DBLookupComboBox* DBLkpCmBoxMat = nullptr;
    DBGrid* DBGrid1 = nullptr;
    RadioGroup* RdGrpIzpisvRec_Mat = nullptr;
    DBLookupComboBox* DBLkpCmBoxIzdISK = nullptr;
    DBText* DBTextSerDaNe = nullptr;
    QLabel* LbBrChift = nullptr;
    RadioGroup* RdGrpRecProizvDa_Ne = nullptr;
    QGroupBox* GrpBoxMatKolich = nullptr;
    QLineEdit* EditKolichestvoMat = nullptr;
    QToolButton* SpdBtnZapMatIsk = nullptr;
    DBGrid* DBGrid2 = nullptr;
    DBNavigator* DBNavIskane = nullptr;
    DBGrid* DBGrid3 = nullptr;
    DBText* DBTextObsto = nullptr;
    DBLookupComboBox* DBLkpCmBoxIzbKontr = nullptr;
    QToolButton *SpdBtnZapIskane = nullptr, *SpdBtnZapIsk_Proizv = nullptr, *SpdBtnSer = nullptr,
                *BitBtnSpecif = nullptr, *SpeedBtnExcel = nullptr, *SpdBtnIzhod = nullptr;

    void FormShow();
    void ReloadRequisitionStock();
    void RdGrpIzbSkladClick();
    void DBLkpCmbIzbSkladCloseUp();
    void RdGrpIzbMaterialClick();
    void DBLkpCmBoxMatCloseUp();
    void RdGrpIzpisvRec_MatClick();
    void RdGrpRecProizvDa_NeClick();
    void DBLkpCmBoxIzdISKCloseUp();
    void CountSeriesPairs();
    void SpdBtnZapMatIskClick();
    void SpdBtnZapIskaneClick();
    void SpdBtnZapIsk_ProizvClick();
    void BitBtnSpecifClick();
    void SpeedBtnExcelClick();

    // Every line within the stock offered when it was made.
    bool AllWithinStock() const;

private:
    bool recipeMode() const;
    int pairs() const;
    // Saves the lines; false (the window stays open) when the server refused them.
    bool SaveRequisition();
    void askSaveAndClose();

    TDMNS& dm_;
    TDMSklad& sklad_;
    TDMProizv& pr_;
    TFormRecepIzdISK& recipe_;
    TQRSpecif& specif_;
    TFormIskIzdelie* batchDialog_ = nullptr;
    int workshop_ = 0;
    QString workshopName_;
    int warehouse_ = 0;
    int material_ = 0;
    int product_ = 0;  // NTIP_IZDELIE of the product chosen for the recipe; 0: none
    bool series_ = false;
    bool saved_ = false;
};
