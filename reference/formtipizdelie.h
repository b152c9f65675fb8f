#pragma once

#include "platform/ui/form.h"

class QGroupBox;
class RadioGroup;
class QToolButton;
class DBGrid;
class DBLookupComboBox;
class DBText;
class DataSource;
class TDMNS;

// The product editor. Tag 0: a new product of the current workshop, with an empty recipe or a
// copy of another product's recipe. Tag 1: the current product moves to another workshop.
class TFormTipIzdelie : public Form
{
    Q_OBJECT
public:
    explicit TFormTipIzdelie(TDMNS& dm, QWidget* parent = nullptr);

    // Mode 0.
    QGroupBox* GrpBoxIzdelie = nullptr;
    DBLookupComboBox* DBLkpCmbIzdelie = nullptr;
    RadioGroup* RdGrpRecepta = nullptr;
    QGroupBox* GrpBoxDubl = nullptr;
    DBGrid* DBGrdViewIzd = nullptr;
    DBGrid* DBGrdViewIzdRec = nullptr;
    QToolButton* SpdBtnZapIzd = nullptr;
    // Mode 1.
    QGroupBox* GrpBoxPrehvyrliane = nullptr;
    DBText* DBTextIzdelie = nullptr;
    DBLookupComboBox* DBLkpCmbProizv = nullptr;
    QToolButton* BitBtnZapSklOb = nullptr;
    QToolButton* SpdBtnIzhod = nullptr;

    // 0 "Празна рецепта", 1 "Избор от рецепта".
    int receptaIndex() const;

    void FormShow();
    void RdGrpReceptaClick();
    void SpdBtnZapIzdClick();
    void BitBtnZapSklObClick();
    void SpdBtnIzhodClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TDMNS& dm_;
};
