#pragma once

#include <QByteArray>
#include <QList>
#include <QWidget>

class QListWidget;
class QPushButton;
class QSpinBox;
namespace ColumnSettings {
class Registry;
}

// The column settings tab of the reference data window: which fields ten lists show, and the
// decimals of quantities and prices.
class TabColumnSettings : public QWidget
{
    Q_OBJECT
public:
    explicit TabColumnSettings(ColumnSettings::Registry& settings, QWidget* parent = nullptr);

    // The ten check lists, in the settings file's line order.
    QListWidget* CheckLBSklNalich = nullptr;
    QListWidget* CheckLBSklDvig = nullptr;
    QListWidget* CheckLBSklNalichObsto = nullptr;
    QListWidget* CheckLBSklNalichKymData = nullptr;
    QListWidget* CheckLBSklMatCeni = nullptr;
    QListWidget* CheckLBSklMatSpravka = nullptr;
    QListWidget* CheckLBSklRazp = nullptr;
    QListWidget* CheckLBRealizacia = nullptr;
    QListWidget* CheckLBSprRealizacia = nullptr;
    QListWidget* CheckLBViewMat = nullptr;
    QSpinBox* SpinEditArtikul = nullptr;
    QSpinBox* SpinEditEdCenaSklad = nullptr;
    QSpinBox* SpinEditProd = nullptr;
    QPushButton* BitBtnZapVisibleFields = nullptr;

    // Reads the settings file into the tab and applies it to the datasets' fields (start-up and
    // after every save); what could not be read is told once.
    void ApplyColumnSettings();
    void BitBtnZapVisibleFieldsClick();
    QList<QListWidget*> columnCheckLists() const;

private:
    void fillColumnList(int list);

    ColumnSettings::Registry& settings_;
    QList<QByteArray> keptColumnLines_;  // lines of lists whose dataset is not known yet
};
