#pragma once

#include "platform/ui/form.h"

class DBGrid;
class DBMemo;
class QAction;
class QMenu;
class QMenuBar;
class QToolButton;
class TDMPorychki;
class TFormPorychDvigMat;
class TFormPorychkaDvigKontr;
class TFormPorychkaIzdelia;
class TFormPorychkaMat;
class TFormPorychkaNova;
class TFormPorychkiDate;
class TQRPorychka_izvestie;

// The client orders: every order with its product lines, the progress of every ordered product,
// and the material calculations and printouts started from here. Opened modally.
class TFormPorychka : public Form
{
    Q_OBJECT
public:
    TFormPorychka(TDMPorychki& po, TQRPorychka_izvestie& notice);

    // The dialogs and windows it opens.
    TFormPorychkaNova* FormPorychkaNova = nullptr;
    TFormPorychkiDate* FormPorychkiDate = nullptr;
    TFormPorychkaIzdelia* FormPorychkaIzdelia = nullptr;
    TFormPorychkaDvigKontr* FormPorychkaDvigKontr = nullptr;
    TFormPorychkaMat* FormPorychkaMat = nullptr;
    TFormPorychDvigMat* FormPorychDvigMat = nullptr;

    QMenuBar* MainMenu1 = nullptr;
    QMenu* NSpravki = nullptr;
    QAction* NPorychIzdKontr = nullptr;
    QAction* NDvigPorychKlient = nullptr;
    DBGrid* DBGrid3 = nullptr;  // orders
    DBMemo* DBMemo2 = nullptr;
    DBGrid* DBGrid1 = nullptr;  // product lines
    DBGrid* DBGrid2 = nullptr;  // progress
    QToolButton* SpdBtnPrintPorychkaMat = nullptr;
    QToolButton* SpdBtnPorychIzdNew = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpBtnPrintPorychka = nullptr;
    QToolButton* SpdBtnCalcIzd = nullptr;
    QToolButton* SpeedBtnExcel = nullptr;
    QToolButton* SpdBtnExit = nullptr;
    QToolButton* SpdBtnPorychkaNEW = nullptr;
    QToolButton* SpdBtnPorychkaKorekcia = nullptr;
    QToolButton* SpdBtnPorychkaDEL = nullptr;
    QToolButton* SpdBtnObstaCalc = nullptr;

    void FormShow();
    void SpdBtnPorychkaNEWClick();
    void SpdBtnPorychkaKorekciaClick();
    void SpdBtnPorychkaDELClick();
    void SpdBtnPorychIzdNewClick();
    void SpeedButton1Click();
    void SpdBtnPrintPorychkaMatClick();
    void SpdBtnObstaCalcClick();
    void SpdBtnCalcIzdClick();
    void SpBtnPrintPorychkaClick();
    void SpeedBtnExcelClick();
    void NPorychIzdKontrClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // False, with the message, when there are no orders.
    bool haveOrders();
    TDMPorychki& po_;
    TQRPorychka_izvestie& notice_;
};
