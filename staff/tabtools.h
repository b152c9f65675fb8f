#pragma once

#include <QWidget>

class TDMPers;
class DBGrid;
class QLabel;
class TFormPersMat;

// The issued tools tab of the staff window.
class TabTools : public QWidget
{
    Q_OBJECT
public:
    explicit TabTools(TDMPers& pers, QWidget* parent = nullptr);

    TFormPersMat* FormPersMat = nullptr;

    DBGrid* DBGrid1 = nullptr;
    QLabel* LbImeSklInstr = nullptr;

    void SpdBtnNewPersMatClick();
    void SpdBtnUpdatePersMatClick();
    void SpdBtnDelPersMatClick();
    void SpdBtnPersExcelClick();

private:
    TDMPers& pers_;
};
