#pragma once

#include "platform/ui/form.h"

class QLabel;
class QToolButton;
class DBGrid;
class DBNavigator;
class TDMSklad;
class TDMSklSpravki;

// The returnable packaging exchanged with the current supplier: received and returned rows, the
// kinds of packaging and the totals per kind. Every posted or deleted row is stored at once. Modal.
class TFormAmbalag : public Form
{
    Q_OBJECT
public:
    TFormAmbalag(TDMSklad& sklad, TDMSklSpravki& spravki, QWidget* parent = nullptr);

    // Shows the account of the supplier list's current supplier.
    void open();

    QLabel* LbKontragent = nullptr;
    DBGrid *DBGrid1 = nullptr, *DBGrid2 = nullptr, *DBGrid3 = nullptr, *DBGrid4 = nullptr;
    DBNavigator *DBNavigator1 = nullptr, *DBNavigator2 = nullptr, *DBNavigator3 = nullptr;
    QToolButton* SpdBtnExit = nullptr;

    // The delete button of the kinds' navigator: a kind held by an account is refused before the question.
    void DBNavigator3DeleteClick();

private:
    TDMSklad& sklad_;
    TDMSklSpravki& spravki_;
};
