#pragma once

#include "platform/ui/form.h"

class QToolButton;
class DBGrid;
class DBNavigator;
class TDMNS;

// The accumulated materials of several recipes: a scratch list that is edited here and never stored.
class TFormIzdMatISO : public Form
{
    Q_OBJECT
public:
    explicit TFormIzdMatISO(TDMNS& dm, QWidget* parent = nullptr);

    DBGrid* DBGrdIzdMatISO = nullptr;
    DBNavigator* DBNavigator1 = nullptr;
    QToolButton* BitBtnDel = nullptr;
    QToolButton* BitBtnExcel = nullptr;
    QToolButton* BitBtnIzhod = nullptr;

    void BitBtnDelClick();
    void BitBtnExcelClick();

private:
    TDMNS& dm_;
};
