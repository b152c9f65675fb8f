#pragma once

#include "platform/ui/form.h"

class TDMPers;
class DataSource;
class DBLookupComboBox;
class QDateEdit;
class QLabel;

// The expense report dialog. Mode: 1 a new report, 0 a correction of the current movement.
class TFormSlugOtchet : public Form
{
    Q_OBJECT
public:
    // The mode the dialog opens in (see above); set before it is shown.
    void setMode(int mode) { mode_ = mode; }
    explicit TFormSlugOtchet(TDMPers& pers);

    QLabel* LbSlugAvans = nullptr;
    QDateEdit* DateSlugOtchet = nullptr;
    DBLookupComboBox* DBLkpCmbBoxOsnov = nullptr;

    void SpdBtnZapisClick();
    void SpdBtnExitClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    int mode_ = 0;
    TDMPers& pers_;
    DataSource* source_;
};
