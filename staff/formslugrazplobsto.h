#pragma once

#include "platform/ui/form.h"

class TDMPers;
class DBGrid;
class DBLookupComboBox;
class QGroupBox;
class QRadioButton;

// The business movements of all employees, optionally of one reason.
class TFormSlugRazplObsto : public Form
{
    Q_OBJECT
public:
    explicit TFormSlugRazplObsto(TDMPers& pers);

    DBGrid* DBGrid1 = nullptr;
    QRadioButton* RdBtnVsichki = nullptr;
    QRadioButton* RdBtnPoIzbor = nullptr;
    QGroupBox* GrpBoxOsnovanie = nullptr;
    DBLookupComboBox* DBLkpCmBoxVidOsnovanie = nullptr;

    void RdGrpDaNeVidOsnovanieClick();
    void DBLkpCmBoxVidOsnovanieCloseUp();
    void SpdBtnPlastKlientExcelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDMPers& pers_;
};
