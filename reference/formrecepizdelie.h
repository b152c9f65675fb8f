#pragma once

#include "platform/ui/form.h"

class QToolButton;
class DBEdit;
class DBLookupComboBox;
class DBText;
class DataSource;
class TDMNS;

// The recipe line editor: a material of the current product and its quantity for one unit,
// over the row of SmpRecep_izdN that the production tab appended or chose.
class TFormRecepIzdelie : public Form
{
    Q_OBJECT
public:
    explicit TFormRecepIzdelie(TDMNS& dm, QWidget* parent = nullptr);

    DBText* DBTextIzdelie = nullptr;
    DBLookupComboBox* DBLkpCmbMaterial = nullptr;
    DBEdit* DBEdtKolichestvo = nullptr;
    QToolButton* SpdBtnZapis = nullptr;
    QToolButton* SpdBtnIzhod = nullptr;

    void FormShow();
    void SpdBtnZapisClick();
    void SpdBtnIzhodClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void cancelPending();

    TDMNS& dm_;
    DataSource* DtSrcRecep_izdN;
    DataSource* DtSrcTipIzdVIEW;
    DataSource* DtSrcMateriali;
};
