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

// The product editor. New: a new product of the current workshop, with an empty recipe or a copy
// of another product's recipe. Move: the current product moves to another workshop.
class TFormTipIzdelie : public Form
{
    Q_OBJECT
public:
    enum class Mode { New, Move };

    explicit TFormTipIzdelie(TDMNS& dm, QWidget* parent = nullptr);

    // Opens the editor modally in this mode; returns its modal result (1 stored).
    int open(Mode mode);
    Mode mode() const { return mode_; }

    // New.
    QGroupBox* GrpBoxIzdelie = nullptr;
    DBLookupComboBox* DBLkpCmbIzdelie = nullptr;
    RadioGroup* RdGrpRecepta = nullptr;
    QGroupBox* GrpBoxDubl = nullptr;
    DBGrid* DBGrdViewIzd = nullptr;
    DBGrid* DBGrdViewIzdRec = nullptr;
    QToolButton* SpdBtnZapIzd = nullptr;
    // Move.
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
    Mode mode_ = Mode::New;
};
