#pragma once

#include "platform/ui/form.h"

#include <QList>

class QCheckBox;
class QTabWidget;
class QToolButton;
class QWidget;
class DBEdit;
class DBGrid;
class DBImage;
class DBLookupComboBox;
class DBNavigator;
class DataSource;
class SmpDataset;
class TDMNS;
class TDMPers;

// The reference data window: the one place where master data and the company settings are kept.
class TFormNomenklaturi : public Form
{
    Q_OBJECT
public:
    TFormNomenklaturi(TDMNS& dm, TDMPers& pers, QWidget* parent = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet6 = nullptr;

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

signals:
    // The company settings were saved: the main window takes this caption.
    void mainCaptionChanged(const QString& caption);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildCompanyTab();
    QWidget* buildList(const QString& name, SmpDataset& dataset, const QList<QPair<QString, QString>>& columns);
    DataSource* sourceFor(SmpDataset& dataset);
    // The company record may be stored: a refused value is told and nothing is stored.
    bool firmaValid();
    void storeFirma();
    QList<QPair<QCheckBox*, QString>> checkBoxes() const;

    TDMNS& dm_;
    TDMPers& pers_;
    DataSource* DtSrcFirma = nullptr;
};
