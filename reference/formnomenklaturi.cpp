#include "reference/formnomenklaturi.h"

#include "data/dmns.h"
#include "data/dmpers.h"
#include "platform/widgets/dtsource.h"

#include <QCheckBox>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

TFormNomenklaturi::TFormNomenklaturi(TDMNS& dm, TDMPers& pers, QWidget* parent) : Form(parent), dm_(dm), pers_(pers)
{
    setObjectName(QStringLiteral("FormNomenklaturi"));
    setWindowTitle(QStringLiteral("Номенклатури, настройки"));
    resize(790, 570);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1);
    // One file builds each tab, in tab order.
    TabSheet6 = buildCompanyTab();
    PageControl1->addTab(TabSheet6, QStringLiteral("Фирма"));
}

DataSource* TFormNomenklaturi::sourceFor(SmpDataset& dataset)
{
    const QString name = QStringLiteral("DtSrc") + dataset.objectName().mid(3);
    if (auto* existing = findChild<DataSource*>(name)) return existing;
    auto* src = new DataSource(&dataset, this);
    src->setObjectName(name);
    return src;
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
    dm_.SmpFirma.open();
    dm_.SmpFirmaOfisi.open();
    dm_.SmpIzbSklad.open();
    for (SmpDataset* ds : {&pers_.SmpDlygnosti, &pers_.SmpTipSlugOtchet, &pers_.SmpTipManip}) ds->open();
    // Ticked for 1, cleared for 0; any other value leaves the box as it was.
    for (const auto& [box, column] : checkBoxes()) {
        const QVariant v = dm_.SmpFirma.value(column);
        if (v.isNull()) continue;
        if (v.toInt() == 1) box->setChecked(true);
        else if (v.toInt() == 0) box->setChecked(false);
    }
}

void TFormNomenklaturi::FormClose()
{
    // Other windows see new workshops and VAT grounds.
    for (SmpDataset* ds : {&dm_.SmpTipProizv, &dm_.SmpOsnovDDS}) {
        ds->close();
        ds->open();
    }
}

