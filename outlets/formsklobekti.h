#pragma once

#include "platform/ui/form.h"

class QDateEdit;
class QToolButton;
class DataSource;
class DBGrid;
class DBLookupComboBox;
class RadioGroup;
class TDMNS;
class TDMSklObekti;
class TFormDostavkaKorekcia;
class TFormNovaDostavka;
class TFormSklObTransfer;

// The warehouse objects window: the objects' lines in five views (on hand, received, dispatched,
// sold, movement) filtered by object, article and period, and the start of every movement.
// Modeless; closing hides it.
class TFormSklObekti : public Form
{
    Q_OBJECT
public:
    TFormSklObekti(TDMNS& dm, TDMSklObekti& obekti, QWidget* parent = nullptr);

    // The windows it opens modally; a button whose window is not given stays disabled.
    void setEditors(TFormNovaDostavka* novaDostavka, TFormSklObTransfer* transfer, TFormDostavkaKorekcia* korekcia);

    RadioGroup* RdGrpSklObArtik = nullptr;
    DBLookupComboBox* DBLkpCmbSklObArtik = nullptr;
    RadioGroup* RdGrpSklOb = nullptr;
    DBLookupComboBox* DBLkpCmbSklOb = nullptr;
    RadioGroup* RdGrpIzbViewDanni = nullptr;
    RadioGroup* RdGrpDateOtDo = nullptr;
    QDateEdit *DateTimOt = nullptr, *DateTimDo = nullptr;
    DBGrid* DBGridSklObekti = nullptr;
    DataSource* DtSrcSklObekti = nullptr;
    QToolButton *BitBtnNewDost = nullptr, *BitBtnDostOtSkl = nullptr, *BitBtnDostOtSklOb = nullptr,
                *BitBtnUndo = nullptr, *BitBtnDostSkladSklOb = nullptr, *BitBtnKorekc = nullptr,
                *BitBtnKorekcCeni = nullptr, *BitBtnDel = nullptr, *BitBtnExcel = nullptr, *BitBtnIzhod = nullptr;

    void FormShow();
    void ReloadWarehouseObjectView();
    void RdGrpSklObArtikClick();
    void RdGrpSklObClick();
    void RdGrpIzbViewDanniClick();
    void RdGrpDateOtDoClick();
    void BitBtnNewDostClick();
    void BitBtnDostOtSklClick();
    void BitBtnDostOtSklObClick();
    void BitBtnUndoClick();
    void BitBtnDostSkladSklObClick();
    void BitBtnKorekcClick();
    void BitBtnKorekcCeniClick();
    void BitBtnDelClick();
    void BitBtnExcelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void openTransfer(int mode);
    void enableForView();
    // The key of the line the corrections and the delete act on: the current row of the on-hand
    // list while that view is shown; 0 otherwise.
    int shownOnHandLine() const;
    void correct(int line, bool pricesOnly);

    TDMNS& dm_;
    TDMSklObekti& obekti_;
    TFormNovaDostavka* novaDostavka_ = nullptr;
    TFormSklObTransfer* transfer_ = nullptr;
    TFormDostavkaKorekcia* korekcia_ = nullptr;
};
