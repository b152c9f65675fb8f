#include "reference/formnomenklaturi.h"

#include "data/dmns.h"
#include "data/dmpers.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "reference/tabplaces.h"
#include "reference/tabproduction.h"
#include "reference/tabsettings.h"
#include "platform/widgets/wrappingtabwidget.h"

#include <QCheckBox>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

TFormNomenklaturi::TFormNomenklaturi(TDMNS& dm, TDMPers& pers, ColumnSettings::Registry& columnSettings,
                                     QWidget* parent)
    : Form(parent), dm_(dm), pers_(pers), lists_(*this, dm.SQLConnectNS)
{
    setObjectName(QStringLiteral("FormNomenklaturi"));
    setWindowTitle(QStringLiteral("Номенклатури, настройки"));
    resize(790, 570);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    // Six captions side by side in 790 pixels: the long ones take two lines.
    PageControl1 = new WrappingTabWidget(2, this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1);
    // One file builds each tab, in tab order.
    TabSheet6 = buildCompanyTab();
    PageControl1->addTab(TabSheet6, QStringLiteral("Фирма"));
    // The column settings follow the company tab.
    TabSheet5 = new TabColumnSettings(columnSettings);
    PageControl1->insertTab(PageControl1->indexOf(TabSheet6) + 1, TabSheet5, QStringLiteral("Визуални настройки"));
    // Items, counterparties and places lead the tabs, in their order, whatever joins after them.
    TabSheet1 = buildItemsTab();
    PageControl1->insertTab(0, TabSheet1, QStringLiteral("Материали, складове, мярки"));
    TabSheet2 = buildKontragentiTab();
    PageControl1->insertTab(1, TabSheet2, QStringLiteral("Контрагенти"));
    TabSheet3 = new TabPlaces(dm_, pers_);
    PageControl1->insertTab(2, TabSheet3, QStringLiteral("Градове, държави..."));
    TabSheet4 = new TabProduction(dm_);
    PageControl1->insertTab(PageControl1->indexOf(TabSheet3) + 1, TabSheet4,
                            QStringLiteral("Производства, изделия/комплекти/, рецепти "));
    PageControl1->setCurrentIndex(0);
}

QToolButton* TFormNomenklaturi::makeButton(const char* name, const QString& text,
                                           void (TFormNomenklaturi::*handler)())
{
    return Handlers::makeButton(name, text, this, handler);
}

void TFormNomenklaturi::ApplyColumnSettings() { TabSheet5->ApplyColumnSettings(); }

void TFormNomenklaturi::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TFormNomenklaturi::closeEvent(QCloseEvent* event)
{
    FormClose();
    Form::closeEvent(event);
}

void TFormNomenklaturi::FormShow()
{
    dm_.SmpFirma.open();
    dm_.SmpFirmaOfisi.open();
    showMateriali();
    dm_.SmpTipIzdVIEW.open();
    dm_.SmpIzbSklad.open();
    for (SmpDataset* ds : {&pers_.SmpDlygnosti, &pers_.SmpTipSlugOtchet, &pers_.SmpTipManip}) ds->open();
    // Ticked for 1, cleared for 0; any other value leaves the box as it was.
    for (const auto& [box, column] : checkBoxes()) {
        const QVariant v = dm_.SmpFirma.value(column);
        if (v.isNull()) continue;
        if (v.toInt() == 1) box->setChecked(true);
        else if (v.toInt() == 0) box->setChecked(false);
    }
    reopenSpecCeni();
}

void TFormNomenklaturi::FormClose()
{
    // Other windows see new workshops and VAT grounds.
    for (SmpDataset* ds : {&dm_.SmpTipProizv, &dm_.SmpOsnovDDS}) {
        ds->close();
        ds->open();
    }
}

