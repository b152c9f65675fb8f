#pragma once

#include "platform/ui/form.h"

class QToolButton;
class DBLookupComboBox;
class DBEdit;
class DataSource;
class TDMNS;

// The counterparty editor, on the current row of the shared counterparty list: a new row appended
// by the caller, or the counterparty the caller located.
class TFormKontragent : public Form
{
    Q_OBJECT
public:
    explicit TFormKontragent(TDMNS& dm);

    DBLookupComboBox* DBLookupComboBox1 = nullptr;  // the counterparty type
    DBEdit* DBEdtImeKontragent = nullptr;
    QToolButton* SpdBtnZapisKontragent = nullptr;
    QToolButton* SpdBtnIzhod = nullptr;

    void SpdBtnZapisKontragentClick();
    void SpdBtnIzhodClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void dropPending();

    TDMNS& dm_;
    DataSource* DtSrcKontragenti;
};
