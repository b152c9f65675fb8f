#pragma once

#include "platform/ui/form.h"

#include <memory>

class QDateEdit;
class QGroupBox;
class QToolButton;
class DataSource;
class DBGrid;
class RadioGroup;
class TDMNS;
class TDMSklad;
class TDMSklSpravki;
class TQRSklRazpA4;

// The delivery lines stored in a period with their warehouse receipt numbers, and the reprint of
// the receipt of a chosen document. Modeless; closing hides it.
class TFormSprSkladSklRazp : public Form
{
    Q_OBJECT
public:
    TFormSprSkladSklRazp(TDMNS& dm, TDMSklad& sklad, TDMSklSpravki& spravki, QWidget* parent = nullptr);
    ~TFormSprSkladSklRazp() override;

    RadioGroup* RdGrpIzbDate = nullptr;
    QGroupBox *GrpBoxPoluch = nullptr, *GrpBoxFakt = nullptr;
    QDateEdit *DatePoluchOt = nullptr, *DatePoluchDo = nullptr, *DateFaktOt = nullptr, *DateFaktDo = nullptr;
    DBGrid* DBGrid1 = nullptr;
    QToolButton *BitBtnPrnKasa = nullptr, *SpeedBtnExcel = nullptr, *SpdBtnExit = nullptr;

    void FormShow();
    void Reload();
    void RdGrpIzbDateClick();
    void BitBtnPrnKasaClick();
    void SpeedBtnExcelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDMNS& dm_;
    TDMSklad& sklad_;
    TDMSklSpravki& spravki_;
    std::unique_ptr<TQRSklRazpA4> receipt_;
};
