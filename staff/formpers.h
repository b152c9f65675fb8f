#pragma once

#include "platform/ui/form.h"

class TDMPers;
class DataSource;
class DBEdit;

// The employee dialog over the employee record; the staff window appends a row for a new one.
class TFormPers : public Form
{
    Q_OBJECT
public:
    explicit TFormPers(TDMPers& pers);

    DBEdit* DBEdtIme = nullptr;

    void SpdBtnZapisPersClick();
    void SpdBtnExitPersClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TDMPers& pers_;
    DataSource* source_;
};
