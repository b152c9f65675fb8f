#include "reference/formizdmatiso.h"

#include "common/gridexport.h"
#include "data/dmns.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

TFormIzdMatISO::TFormIzdMatISO(TDMNS& dm, QWidget* parent) : Form(parent), dm_(dm)
{
    setObjectName(QStringLiteral("FormIzdMatISO"));
    setWindowTitle(QStringLiteral("Изделия и необходимите материали за изработването им !"));
    auto* src = new DataSource(&dm.SmpIzdMatISO, this);
    src->setObjectName(QStringLiteral("DtSrcIzdMatISO"));

    DBGrdIzdMatISO = new DBGrid;
    DBGrdIzdMatISO->setObjectName(QStringLiteral("DBGrdIzdMatISO"));
    DBGrdIzdMatISO->setDataSource(src);
    DBGrdIzdMatISO->setColumns({{QStringLiteral("NMATERIAL"), {}, 55},
                                {QStringLiteral("IMEMATERIAL"), {}, 330},
                                {QStringLiteral("MIARKA_BG"), {}, 45},
                                {QStringLiteral("KOLICHESTVO"), {}, 80},
                                {QStringLiteral("KOLICHOBSTO"), {}, 90}});
    DBNavigator1 = new DBNavigator;
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataSource(src);
    DBNavigator1->setButtons(DBNavigator::Prior | DBNavigator::Next | DBNavigator::Insert | DBNavigator::Delete |
                             DBNavigator::Edit | DBNavigator::Post | DBNavigator::Cancel | DBNavigator::Refresh);

    const auto button = [this](QToolButton*& b, const char* name, const QString& text) {
        b = new QToolButton;
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setMinimumWidth(90);
        return b;
    };
    Handlers::connect(button(BitBtnDel, "BitBtnDel", QStringLiteral("Нулиране")), &QToolButton::clicked, this, &TFormIzdMatISO::BitBtnDelClick);
    Handlers::connect(button(BitBtnExcel, "BitBtnExcel", QStringLiteral("> Excel")), &QToolButton::clicked, this, &TFormIzdMatISO::BitBtnExcelClick);
    connect(button(BitBtnIzhod, "BitBtnIzhod", QStringLiteral("Изход")), &QToolButton::clicked, this, &QWidget::close);

    auto* bar = new QHBoxLayout;
    bar->addWidget(DBNavigator1);
    bar->addStretch(1);
    bar->addWidget(BitBtnDel);
    bar->addWidget(BitBtnExcel);
    bar->addWidget(BitBtnIzhod);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(DBGrdIzdMatISO, 1);
    resize(680, 420);
}

// A scratch list is emptied by closing and re-opening it.
void TFormIzdMatISO::BitBtnDelClick()
{
    dm_.SmpIzdMatISO.close();
    dm_.SmpIzdMatISO.open();
}

void TFormIzdMatISO::BitBtnExcelClick()
{
    SpreadsheetExport how;
    how.parentWindow = this;
    ExportDatasetToSpreadsheet(dm_.SmpIzdMatISO, how);
}
