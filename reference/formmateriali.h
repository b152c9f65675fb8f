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

// The item editor, on the item list of the reference data window: a new item or the current one.
// Items reach the database only through its insert and update statements; the list's own row is
// discarded after a save or on leaving.
class TFormMateriali : public Form
{
    Q_OBJECT
public:
    enum class Mode { New, Edit };

    explicit TFormMateriali(TDMNS& dm);

    // Opens the editor modally; true when it stored the item.
    bool open(Mode mode);
    Mode mode() const { return mode_; }
    // The last opening stored the item.
    bool saved() const { return saved_; }

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
    Mode mode_ = Mode::Edit;
    bool saved_ = false;
};
