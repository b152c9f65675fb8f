#include "staff/tabtools.h"

#include "common/gridexport.h"
#include "data/dmpers.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "staff/formpersmat.h"
#include "staff/staffwidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace {
const QString kNoTools = QStringLiteral("Няма въведени инструменти/съоръжения/ !");
}

TabTools::TabTools(TDMPers& pers, QWidget* parent) : QWidget(parent), pers_(pers)
{
    setObjectName(QStringLiteral("TabSheet2"));
    LbImeSklInstr = new QLabel;
    LbImeSklInstr->setObjectName(QStringLiteral("LbImeSklInstr"));
    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("Инструменти и съоръжения от :")));
    head->addWidget(LbImeSklInstr);
    head->addStretch(1);
    DBGrid1 = StaffWidgets::grid("DBGrid1", new DataSource(&pers.SmpViewPersMat, this), {}, true);
    Handlers::connect(DBGrid1, &QAbstractItemView::doubleClicked, this, [this] { SpdBtnUpdatePersMatClick(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Handlers::makeButton("SpdBtnNewPersMat", QStringLiteral("Добавяне"), this, &TabTools::SpdBtnNewPersMatClick));
    buttons->addWidget(
        Handlers::makeButton("SpdBtnUpdatePersMat", QStringLiteral("Редакция"), this, &TabTools::SpdBtnUpdatePersMatClick));
    buttons->addWidget(Handlers::makeButton("SpdBtnDelPersMat", QStringLiteral("Изтриване"), this, &TabTools::SpdBtnDelPersMatClick));
    buttons->addWidget(Handlers::makeButton("SpdBtnPersExcel", QStringLiteral("Excel"), this, &TabTools::SpdBtnPersExcelClick));
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
}

void TabTools::SpdBtnNewPersMatClick()
{
    if (pers_.SmpViewPers.isEmpty()) {
        UiService::current().showMessage(QStringLiteral("Няма въведен персонал !"));
        return;
    }
    pers_.SmpPersMat.append();
    UiService::current().showModal(FormPersMat);
}

void TabTools::SpdBtnUpdatePersMatClick()
{
    if (pers_.SmpViewPersMat.isEmpty()) {
        UiService::current().showMessage(kNoTools);
        return;
    }
    UiService::current().showModal(FormPersMat);
}

void TabTools::SpdBtnDelPersMatClick()
{
    if (pers_.SmpViewPersMat.isEmpty() || pers_.SmpPersMat.isEmpty()) {
        UiService::current().showMessage(kNoTools);
        return;
    }
    if (!UiService::current().askYesNo(QStringLiteral(" Потвърдете за изтриване ? "))) return;
    pers_.SmpPersMat.remove();
    pers_.SmpPersMat.applyUpdates();
    pers_.SmpViewPersMat.refresh();
}

void TabTools::SpdBtnPersExcelClick()
{
    SpreadsheetExport how;
    how.parentWindow = window();
    how.emptyList = SpreadsheetExport::EmptyList::Message;
    how.emptyMessage = QStringLiteral("Няма въведен персонал !");
    how.detail = &pers_.SmpViewPersMat;
    ExportDatasetToSpreadsheet(pers_.SmpViewPers, how);
}
