#pragma once

#include "reference/listcontrols.h"

#include <QList>
#include <QPair>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QToolButton;
class DBDateEdit;
class DBImage;
class DBLookupComboBox;
class DataSource;
class SmpDataset;
class TDMNS;
class TDMPers;

// The company tab of the reference data window: the settings record and the company's small lists.
class TabCompany : public QWidget
{
    Q_OBJECT
public:
    TabCompany(TDMNS& dm, TDMPers& pers, QWidget* parent = nullptr);

    QCheckBox* ChBoxChrezDostavchik = nullptr;
    QCheckBox* ChBoxDDSKomis = nullptr;
    QCheckBox* ChBoxSklobDaNe = nullptr;
    QCheckBox* ChBoxCenaEdroDrebno = nullptr;
    DBLookupComboBox* DBLkpCmBoxMolFirma = nullptr;
    DBImage* DBImgLogo = nullptr;
    QToolButton* SpeedBtnZapFirma = nullptr;
    // The base currency: leva, or the euro from the cut-over date; and the one-off price conversion.
    QComboBox* CmbBoxOsnValuta = nullptr;
    DBDateEdit* DBDateEvroOt = nullptr;
    QToolButton* SpdBtnCeniEvro = nullptr;

    // Opens the company record and its lists; the check boxes show the record.
    void FormShow();
    void SpeedBtnZapFirmaClick();
    void SpdBtnLogoPasteClick();
    void DBLkpCmBoxMolFirmaCloseUp();
    // A company check box was clicked: the record goes into edit mode and takes 1 or 0.
    void ChBoxFirmaClick(QCheckBox* box, const QString& column);
    // The base currency was chosen: the record goes into edit mode; the euro brings its default
    // cut-over date when the record has none.
    void CmbBoxOsnValutaChange(int index);
    // Converts the prices from leva to euro once, after a question.
    void SpdBtnCeniEvroClick();

signals:
    // The company settings were saved: the main window takes this caption.
    void mainCaptionChanged(const QString& caption);

private:
    QWidget* buildList(const QString& name, SmpDataset& dataset, const QList<QPair<QString, QString>>& columns);
    // The company record may be stored: a refused value is told and nothing is stored.
    bool firmaValid();
    void storeFirma();
    QList<QPair<QCheckBox*, QString>> checkBoxes() const;
    QWidget* buildBaseCurrency(DataSource* firma);
    // The currency box and the date follow the record.
    void showBaseCurrency();

    TDMNS& dm_;
    TDMPers& pers_;
    ListControls lists_;
};
