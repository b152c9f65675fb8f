#pragma once

#include <QWidget>

class TDMPers;
class DBGrid;
class QButtonGroup;
class TFormSlugAvans;
class TFormSlugOtchet;

// The business payments tab of the staff window: the current employee's advances, reports and
// supplier payments with his balance and the company's.
class TabSlugRazpl : public QWidget
{
    Q_OBJECT
public:
    explicit TabSlugRazpl(TDMPers& pers, QWidget* parent = nullptr);

    // The dialogs this tab opens; the owner of the window set gives them.
    TFormSlugAvans* FormSlugAvans = nullptr;
    TFormSlugOtchet* FormSlugOtchet = nullptr;

    DBGrid* DBGrid2 = nullptr;
    QButtonGroup* RdGrpFiltyrSlugRazpl = nullptr;

    void SpdBtnAvansNovClick();
    void SpdBtnAvansDavaneClick();
    void SpdBtnOtchetNovClick();
    void SpdBtnKorekcClick();
    void SpdBtnDelAvansOtchetClick();
    void SpdBtnExcelSlugRazplClick();
    void RdGrpFiltyrSlugRazplClick();

private:
    bool staffPresent();
    void openAdvance(int mode);
    void openReport(int mode);
    TDMPers& pers_;
};
