#include "reference/formnomenklaturi.h"

#include "data/dmns.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/wrappingtabwidget.h"
#include "reference/tabcompany.h"
#include "reference/tabcounterparties.h"
#include "reference/tabitems.h"
#include "reference/tabplaces.h"
#include "reference/tabproduction.h"
#include "reference/tabsettings.h"

#include <QShowEvent>
#include <QVBoxLayout>

TFormNomenklaturi::TFormNomenklaturi(TDMNS& dm, TDMPers& pers, ColumnSettings::Registry& columnSettings,
                                     QWidget* parent)
    : Form(parent), dm_(dm)
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
    TabSheet1 = new TabItems(dm, pers);
    PageControl1->addTab(TabSheet1, QStringLiteral("Материали, складове, мярки"));
    TabSheet2 = new TabCounterparties(dm);
    PageControl1->addTab(TabSheet2, QStringLiteral("Контрагенти"));
    TabSheet3 = new TabPlaces(dm, pers);
    PageControl1->addTab(TabSheet3, QStringLiteral("Градове, държави..."));
    TabSheet4 = new TabProduction(dm);
    PageControl1->addTab(TabSheet4, QStringLiteral("Производства, изделия/комплекти/, рецепти "));
    TabSheet6 = new TabCompany(dm, pers);
    PageControl1->addTab(TabSheet6, QStringLiteral("Фирма"));
    connect(TabSheet6, &TabCompany::mainCaptionChanged, this, &TFormNomenklaturi::mainCaptionChanged);
    TabSheet5 = new TabColumnSettings(columnSettings);
    PageControl1->addTab(TabSheet5, QStringLiteral("Визуални настройки"));
    PageControl1->setCurrentIndex(0);
}

void TFormNomenklaturi::ApplyColumnSettings() { TabSheet5->ApplyColumnSettings(); }

void TFormNomenklaturi::OpenOnKontragent(int kontragent)
{
    TabSheet2->showAllOn(kontragent);
    UiService::current().showModal(this);
}

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
    // Each tab opens the lists it shows; those open already are left as they are.
    TabSheet6->FormShow();
    TabSheet1->FormShow();
    TabSheet2->FormShow();
    TabSheet4->FormShow();
}

void TFormNomenklaturi::FormClose()
{
    // Other windows see new workshops and VAT grounds.
    for (SmpDataset* ds : {&dm_.SmpTipProizv, &dm_.SmpOsnovDDS}) {
        ds->close();
        ds->open();
    }
}
