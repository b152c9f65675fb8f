#pragma once

#include "platform/ui/form.h"
#include "reference/listcontrols.h"

#include <QList>

class QCheckBox;
class QTabWidget;
class QToolButton;
class QWidget;
class DBEdit;
class DBGrid;
class DBImage;
class DBLookupComboBox;
class DataSource;
class SmpDataset;
class TDMNS;
class TDMPers;
class RadioGroup;
class TFormMateriali;
class TFormKontragent;
class TFormTipSklad;
class TFormMiarki;
class TFormSpecCeni;
class TabColumnSettings;
class TabPlaces;
class TabProduction;
namespace ColumnSettings {
class Registry;
}

// The reference data window: the one place where master data and the company settings are kept.
class TFormNomenklaturi : public Form
{
    Q_OBJECT
public:
    // The column settings tab shows and saves the settings of this registry.
    TFormNomenklaturi(TDMNS& dm, TDMPers& pers, ColumnSettings::Registry& columnSettings, QWidget* parent = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet6 = nullptr;

    // ---- items, counterparties and places (TabSheet1 to TabSheet3) ----
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    TabPlaces* TabSheet3 = nullptr;
    // The editors these tabs open; the owner of the window set gives them.
    TFormMateriali* FormMateriali = nullptr;
    TFormKontragent* FormKontragent = nullptr;
    TFormTipSklad* FormTipSklad = nullptr;
    TFormMiarki* FormMiarki = nullptr;
    TFormSpecCeni* FormSpecCeni = nullptr;

    DBGrid* DBGrid1 = nullptr;
    RadioGroup* RdGrpIzbSklMat = nullptr;
    DBLookupComboBox* DBLkpCmbIzbSklad = nullptr;
    DBGrid* DBGrid11 = nullptr;
    DBGrid* DBGrid3 = nullptr;
    DBGrid* DBGrid2 = nullptr;
    DBGrid* DBGrid6 = nullptr;
    RadioGroup* RdGrpIzbKontragent = nullptr;
    DBLookupComboBox* DBLkpCmBoxTipKontragert = nullptr;
    DBGrid* DBGrid13 = nullptr;
    DBGrid* DBGrid12 = nullptr;
    DBGrid* DBGrid10 = nullptr;

    // The keys the filter lookups keep (0 until the user picks one).
    int izbSkladKey() const { return izbSkladKey_; }
    int izbTipKontrKey() const { return izbTipKontrKey_; }

    // Item tab.
    void RefreshMateriali();
    void RdGrpIzbSklMatClick();
    void DBLkpCmbIzbSkladCloseUp();
    void SpdBtnNewMatClick();
    void SpdBtnRedakciaMatClick();
    void SpdBtnDelMatClick();
    void SpdBtnMatEXELClick();
    void SpdBtnNewSkladClick();
    void SpdBtnRedSkladClick();
    void SpdBtnDelSkladClick();
    void SpdBtnNewMkaClick();
    void SpdBtnRedMkaClick();
    void SpdBtnDelMkaClick();
    // Counterparty tab.
    void RefreshKontragentiLists(int kontragent);
    void RdGrpIzbKontragentClick();
    void DBLkpCmBoxTipKontragertCloseUp();
    void DBGrid6CellClick();
    void DBGrid6KeyUp(int key);
    void SpdBtnRedakciaClick();
    void SpdBtnNewKontragClick();
    void SpdBtnDelKontragentClick();
    void SpdBtnZapisMolClick();
    void SpBtnZapisFilialClick();
    void SpdBtnSpCMatAddClick();
    void SpdBtnSpCMatUpdClick();
    void SpdBtnSpCMatDelClick();
    // The sale, delivery and order windows open this window on their counterparty.
    void OpenOnKontragent(int kontragent);

    // ---- the production tab ----
    TabProduction* TabSheet4 = nullptr;

    // The company tab.
    QCheckBox* ChBoxChrezDostavchik = nullptr;
    QCheckBox* ChBoxDDSKomis = nullptr;
    QCheckBox* ChBoxSklobDaNe = nullptr;
    QCheckBox* ChBoxCenaEdroDrebno = nullptr;
    DBLookupComboBox* DBLkpCmBoxMolFirma = nullptr;
    DBImage* DBImgLogo = nullptr;
    QToolButton* SpeedBtnZapFirma = nullptr;

    void FormShow();
    void FormClose();
    void SpeedBtnZapFirmaClick();
    void SpdBtnLogoPasteClick();
    void DBLkpCmBoxMolFirmaCloseUp();
    // A company check box was clicked: the record goes into edit mode and takes 1 or 0.
    void ChBoxFirmaClick(QCheckBox* box, const QString& column);

    // ---- the column settings tab ----
    TabColumnSettings* TabSheet5 = nullptr;
    // The start-up's first step: the settings file applied to the lists (see the tab).
    void ApplyColumnSettings();

signals:
    // The company settings were saved: the main window takes this caption.
    void mainCaptionChanged(const QString& caption);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildCompanyTab();
    QWidget* buildItemsTab();
    QWidget* buildKontragentiTab();
    void reopenSpecCeni();
    void showMateriali();
    QToolButton* makeButton(const char* name, const QString& text, void (TFormNomenklaturi::*handler)());
    QWidget* buildList(const QString& name, SmpDataset& dataset, const QList<QPair<QString, QString>>& columns);
    // The company record may be stored: a refused value is told and nothing is stored.
    bool firmaValid();
    void storeFirma();
    QList<QPair<QCheckBox*, QString>> checkBoxes() const;


    TDMNS& dm_;
    TDMPers& pers_;
    ListControls lists_;
    DataSource* DtSrcFirma = nullptr;
    int izbSkladKey_ = 0;
    int izbTipKontrKey_ = 0;
};
