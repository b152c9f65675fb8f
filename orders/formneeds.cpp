#include "orders/formneeds.h"

#include "common/gridexport.h"
#include "orders/qrporychki.h"
#include "platform/dataset/smpdataset.h"
#include "platform/report/reportpreview.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TFormNeeds::TFormNeeds(const char* name, const QString& caption, SmpDataset& needs, TQRNeedsBase& printout)
    : needs_(needs), printout_(printout)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    auto* source = new DataSource(&needs, this);
    PanelKalkulacia = new QLabel;
    PanelKalkulacia->setObjectName(u"PanelKalkulacia"_s);
    PanelKalkulacia->setAlignment(Qt::AlignCenter);
    PanelKalkulacia->setFrameShape(QFrame::Panel);
    PanelKalkulacia->setStyleSheet(u"font-weight: bold; color: navy; padding: 6px"_s);
    DBGrid2 = new DBGrid;
    DBGrid2->setObjectName(u"DBGrid2"_s);
    DBGrid2->setDataSource(source);
    DBGrid2->setColumns({{u"NMATERIAL"_s, {}, 55}, {u"IMEMATERIAL"_s, {}, 260}, {u"IMEMIARKA"_s, {}, 40},
                         {u"ED_CENA"_s, {}, 75}, {u"NEOBHODIMO"_s, {}, 95}, {u"STOINOST"_s, {}, 90},
                         {u"NALICHNO"_s, {}, 95}, {u"Nedostig"_s, {}, 95}});
    DBGrid2->setReadOnly(true);
    DBGrid2->setRowSelect(true);
    DBTextObstaStoinost = DbControls::makeShownNumber("DBTextObstaStoinost", source, "ObstaStoinost", 120);
    SpBtnPrintPorychkaMater = Handlers::makeButton("SpBtnPrintPorychkaMater", u"Калкулация"_s, this,
                                                   &TFormNeeds::SpBtnPrintPorychkaMaterClick);
    SpeedBtnExcel = Handlers::makeButton("SpeedBtnExcel", u"Изход > Excel"_s, this, &TFormNeeds::SpeedBtnExcelClick);
    SpdBtnIzhod = Handlers::makeButton("SpdBtnIzhod", u"Изход"_s);
    connect(SpdBtnIzhod, &QToolButton::clicked, this, &QWidget::close);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(u"Обща стойност :"_s));
    bottom->addWidget(DBTextObstaStoinost);
    bottom->addStretch(1);
    for (QToolButton* b : {SpBtnPrintPorychkaMater, SpeedBtnExcel, SpdBtnIzhod}) bottom->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PanelKalkulacia);
    layout->addWidget(DBGrid2, 1);
    layout->addLayout(bottom);
    resize(980, 520);
}

void TFormNeeds::showWith(const QString& panel)
{
    PanelKalkulacia->setText(panel);
    UiService::current().showModeless(this);
}

void TFormNeeds::SpBtnPrintPorychkaMaterClick() { Report::preview(printout_.build()); }

void TFormNeeds::SpeedBtnExcelClick()
{
    SpreadsheetExport how;
    how.parentWindow = this;
    ExportDatasetToSpreadsheet(needs_, how);
}
