#pragma once

#include "platform/ui/form.h"

class DBText;
class QDateEdit;
class QPlainTextEdit;
class QToolButton;
class TDMPorychki;

// The correction of the current order: its date, deadline and free text; the client stays.
class TFormPorychkiDate : public Form
{
    Q_OBJECT
public:
    explicit TFormPorychkiDate(TDMPorychki& po);
    // Opens modally on the current order; true when saved.
    bool open();

    DBText* DBTextNum = nullptr;
    DBText* DBTextKlient = nullptr;
    QDateEdit* DatePorychka = nullptr;
    QDateEdit* DateSrok = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QToolButton* OKBtn = nullptr;
    QToolButton* CancelBtn = nullptr;

    void OKBtnClick();

private:
    TDMPorychki& po_;
};
