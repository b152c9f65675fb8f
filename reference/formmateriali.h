#pragma once

#include "platform/ui/form.h"

#include <functional>

class QLabel;
class QToolButton;
class DBEdit;
class DBImage;
class DBLookupComboBox;
class DataSource;
class TDMNS;

// The item editor, on the item list of the reference data window. Tag: 1 new item, 0 correct the
// current one; the editor sets 10 when it saved an item. Items reach the database only through its
// insert and update statements; the list's own row is discarded after a save or on leaving.
class TFormMateriali : public Form
{
    Q_OBJECT
public:
    static constexpr int kModeNew = 1, kModeEdit = 0, kModeSaved = 10;

    explicit TFormMateriali(TDMNS& dm);

    QLabel* LbMat = nullptr;
    DBEdit* DBEditMat = nullptr;
    DBLookupComboBox* DBLkpCmBMka = nullptr;
    DBLookupComboBox* DBLkpCmbSklad = nullptr;
    DBImage* DBImgSnimka = nullptr;
    QToolButton* BitBtnZapMat = nullptr;
    QToolButton* SpdBtnExit = nullptr;

    // Asks for a picture file; the file dialog unless replaced.
    std::function<QString()> choosePictureFile;

    void FormShow();
    void BitBtnZapMatClick();
    void SpdBtnExitClick();
    void DBImgSnimkaDblClick();
    bool loadPicture(const QString& file);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void discardRow();

    TDMNS& dm_;
    DataSource* DtSrcViewMateriali;
};
