#pragma once

#include "platform/ui/form.h"

class TDMPers;
class DataSource;
class DBLookupComboBox;

// The tool issue dialog over the issue record; the staff window appends a row for a new issue.
class TFormPersMat : public Form
{
    Q_OBJECT
public:
    explicit TFormPersMat(TDMPers& pers);

    DBLookupComboBox* DBLkpCmbBoxImeMat = nullptr;

    void SpdBtnZapisClick();
    void SpdBtnExitClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TDMPers& pers_;
    DataSource* source_;
};
