#pragma once

#include "platform/ui/form.h"

class TDMPers;
class DataSource;
class DBLookupComboBox;
class QDateEdit;
class QLabel;

// The advance dialog. Mode: 1 a new advance from the company, 2 an advance given to a colleague,
// 0 a correction of the current movement.
class TFormSlugAvans : public Form
{
    Q_OBJECT
public:
    // The mode the dialog opens in (see above); set before it is shown.
    void setMode(int mode) { mode_ = mode; }
    explicit TFormSlugAvans(TDMPers& pers);

    QLabel* LbSlugAvans = nullptr;
    QDateEdit* DateSlugAvans = nullptr;
    QLabel* LbAvansNa = nullptr;
    DBLookupComboBox* DBLkpCmbBoxAvansNa = nullptr;

    void SpdBtnZapisClick();
    void SpdBtnExitClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    int mode_ = 0;
    TDMPers& pers_;
    DataSource* source_;
};
