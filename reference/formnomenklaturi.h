#pragma once

#include "platform/ui/form.h"

class QTabWidget;
class QWidget;
class TDMNS;
class TDMPers;
class TabColumnSettings;
class TabCompany;
class TabCounterparties;
class TabItems;
class TabPlaces;
class TabProduction;
namespace ColumnSettings {
class Registry;
}

// The reference data window: the one place where master data and the company settings are kept.
// It assembles one class per tab; each tab owns its controls, handlers and the editors it opens.
class TFormNomenklaturi : public Form
{
    Q_OBJECT
public:
    // The column settings tab shows and saves the settings of this registry.
    TFormNomenklaturi(TDMNS& dm, TDMPers& pers, ColumnSettings::Registry& columnSettings, QWidget* parent = nullptr);

    QTabWidget* PageControl1 = nullptr;
    TabItems* TabSheet1 = nullptr;
    TabCounterparties* TabSheet2 = nullptr;
    TabPlaces* TabSheet3 = nullptr;
    TabProduction* TabSheet4 = nullptr;
    TabColumnSettings* TabSheet5 = nullptr;
    TabCompany* TabSheet6 = nullptr;

    // The sale, delivery and order windows open this window on their counterparty.
    void OpenOnKontragent(int kontragent);
    // The start-up's first step: the settings file applied to the lists (see the tab).
    void ApplyColumnSettings();

    void FormShow();
    void FormClose();

signals:
    // The company settings were saved: the main window takes this caption.
    void mainCaptionChanged(const QString& caption);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TDMNS& dm_;
};
