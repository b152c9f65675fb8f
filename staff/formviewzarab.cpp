#include "staff/formviewzarab.h"

#include "common/gridexport.h"
#include "data/dmpers.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "staff/staffwidgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>

TFormViewZarab::TFormViewZarab(TDMPers& pers) : pers_(pers)
{
    setObjectName(QStringLiteral("FormViewZarab"));
    setWindowTitle(QStringLiteral("Заработки по манипулации !"));
    resize(820, 540);
    auto* months = new DataSource(&pers.SmpGodMes, this);
    const auto monthBox = [&](const char* name) {
        auto* c = new DBLookupComboBox;
        c->setObjectName(QString::fromLatin1(name));
        c->setListSource(months);
        c->setKeyField(QStringLiteral("GGGGMM"));
        c->setListField(QStringLiteral("GODMESIME"));
        c->setMinimumWidth(150);
        return c;
    };
    DBLkpCmbMesOt = monthBox("DBLkpCmbMesOt");
    DBLkpCmbMesDo = monthBox("DBLkpCmbMesDo");
    Handlers::connect(DBLkpCmbMesOt, &DBLookupComboBox::closeUp, this, &TFormViewZarab::ReloadEarningsInquiry);
    Handlers::connect(DBLkpCmbMesDo, &DBLookupComboBox::closeUp, this, &TFormViewZarab::ReloadEarningsInquiry);
    const auto dayBox = [&](const char* name, int value) {
        auto* s = new QSpinBox;
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(1, 31);
        s->setValue(value);
        Handlers::connect(s, &QSpinBox::valueChanged, this, [this] { SpnEdDEnChange(); });
        return s;
    };
    SpnEdDEnOt = dayBox("SpnEdDEnOt", 1);
    SpnEdDEnDo = dayBox("SpnEdDEnDo", 31);

    auto* period = new QGroupBox(QStringLiteral("Задаване на период "));
    auto* pl = new QGridLayout(period);
    pl->addWidget(new QLabel(QStringLiteral("От месец -")), 0, 0);
    pl->addWidget(DBLkpCmbMesOt, 0, 1);
    pl->addWidget(new QLabel(QStringLiteral("Ден от")), 0, 2);
    pl->addWidget(SpnEdDEnOt, 0, 3);
    pl->addWidget(new QLabel(QStringLiteral("До месец -")), 1, 0);
    pl->addWidget(DBLkpCmbMesDo, 1, 1);
    pl->addWidget(new QLabel(QStringLiteral("Ден до")), 1, 2);
    pl->addWidget(SpnEdDEnDo, 1, 3);

    auto* source = new DataSource(&pers.SmpVedZarabFirma, this);
    auto* sums = new QGridLayout;
    sums->addWidget(new QLabel(QStringLiteral("Общо за фирмата :")), 0, 0);
    sums->addWidget(StaffWidgets::text("DBTextSumZarabFirma", source, "SumZarabFirma"), 0, 1);
    sums->addWidget(new QLabel(QStringLiteral("Брой манипулации :")), 1, 0);
    sums->addWidget(StaffWidgets::text("DBTextSumManipFirma", source, "SumManipFirma"), 1, 1);
    DBGrid1 = StaffWidgets::grid("DBGrid1", source, {}, true);

    auto* top = new QHBoxLayout;
    top->addWidget(period);
    top->addLayout(sums);
    top->addStretch(1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Handlers::makeButton("BitBtnExcel", QStringLiteral("> Excel"), this, &TFormViewZarab::BitBtnExcelClick));
    auto* exit = Handlers::makeButton("BitBtnIzhod", QStringLiteral("Изход"));
    Handlers::connectClick(exit, this, [this] { close(); });
    buttons->addWidget(exit);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
}

void TFormViewZarab::SpnEdDEnChange()
{
    if (SpnEdDEnDo->value() < SpnEdDEnOt->value())
        UiService::current().showMessage(QStringLiteral("\"Ден от\" е по-голям от \"Ден до\" !"));
    ReloadEarningsInquiry();
}

void TFormViewZarab::ReloadEarningsInquiry()
{
    if (DBLkpCmbMesOt->currentText().isEmpty() || DBLkpCmbMesDo->currentText().isEmpty()) return;
    if (SpnEdDEnDo->value() < SpnEdDEnOt->value()) return;
    SmpDataset& ds = pers_.SmpVedZarabFirma;
    ds.close();
    // The months as the boxes show them: one changed with the arrow keys counts too.
    ds.setParam(QStringLiteral("GGGGMM_OT"), DBLkpCmbMesOt->keyValue().toInt());
    ds.setParam(QStringLiteral("GGGGMM_DO"), DBLkpCmbMesDo->keyValue().toInt());
    ds.setParam(QStringLiteral("DEN_OT"), SpnEdDEnOt->value());
    ds.setParam(QStringLiteral("DEN_DO"), SpnEdDEnDo->value());
    ds.open();
}

void TFormViewZarab::BitBtnExcelClick()
{
    SpreadsheetExport how;
    how.parentWindow = this;
    ExportDatasetToSpreadsheet(pers_.SmpVedZarabFirma, how);
}
