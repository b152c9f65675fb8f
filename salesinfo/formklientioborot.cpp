#include "salesinfo/formklientioborot.h"

#include "data/dmnsspravki.h"
#include "platform/base/clock.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"
#include "salesinfo/infocontrols.h"
#include "salesinfo/salesinfodata.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QShowEvent>

using namespace Qt::StringLiterals;

namespace {
const char* const kRoman[] = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII", "OBSTO"};
const char* const kCurrency[] = {"LV", "USD", "EUR"};

} // namespace

TFormKlientiOborot::TFormKlientiOborot(TDMNsSpravki& dm) : dm_(dm)
{
    setObjectName(u"FormKlientiOborot"_s);
    setWindowTitle(u"Клиенти - годишен оборот !"_s);
    resize(1200, 640);
    EdGodOborot = InfoControls::digitsBox("EdGodOborot", 70);
    auto* load = Handlers::makeButton("SpeedButton1", u"Извличане на данни"_s, this, &TFormKlientiOborot::SpeedButton1Click);
    RdGrpFiltyrFirmiOborot = new RadioGroup(u"RdGrpFiltyrFirmiOborot"_s, QString(), {u"Всички фирми"_s, u"Само с оборот"_s});
    RdGrpFiltyrFirmiOborot->setItemIndex(1);
    auto* excel = Handlers::makeButton("SpeedBtnExcel", u"Изход > Excel"_s);
    Handlers::connectClick(excel, this, [this] { InfoControls::exportList(dm_.ClnDtStKlientiOborot, this); });
    auto* exit = Handlers::makeButton("SpeedBtnIzhod", u"Изход"_s);
    Handlers::connectClick(exit, this, [this] { close(); });
    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(u"PageControl1"_s);
    DBGrid1 = InfoControls::grid("DBGrid1", dm.ClnDtStKlientiOborot, this);
    DBGrid2 = InfoControls::grid("DBGrid2", dm.ClnDtStKlientiOborot, this);
    DBGrid3 = InfoControls::grid("DBGrid3", dm.ClnDtStKlientiOborot, this);
    for (DBGrid* g : {DBGrid1, DBGrid2, DBGrid3}) InfoControls::keepWidths(g, 62, {{"GRAD", 90}, {"IMEKONTRAGENT", 210}});
    PageControl1->addTab(DBGrid1, u"Оборот в ЛЕВА"_s);
    PageControl1->addTab(DBGrid2, u"Оборот в USD"_s);
    PageControl1->addTab(DBGrid3, u"Оборот в EUR"_s);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(u"Година :"_s));
    top->addWidget(EdGodOborot);
    top->addWidget(load);
    top->addWidget(RdGrpFiltyrFirmiOborot);
    top->addStretch(1);
    top->addWidget(excel);
    top->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(PageControl1, 1);
    Handlers::connect(EdGodOborot, &QLineEdit::returnPressed, this, &TFormKlientiOborot::SpeedButton1Click);
    Handlers::connect(PageControl1, &QTabWidget::currentChanged, this, [this] { ApplyCurrency(); });
    Handlers::connect(RdGrpFiltyrFirmiOborot, &RadioGroup::clicked, this,
                      [this] { dm_.setTurnoverFilter(RdGrpFiltyrFirmiOborot->itemIndex() == 1); });
}

void TFormKlientiOborot::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    // Restoring from minimised is a spontaneous show: it keeps what the user set.
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

void TFormKlientiOborot::FormShow()
{
    EdGodOborot->setText(QString::number(Clock::today().year()));
    SpeedButton1Click();
}

void TFormKlientiOborot::SpeedButton1Click()
{
    const std::optional<int> year = SalesInfo::yearOf(EdGodOborot->text());
    if (!year) {
        UiService::current().showMessage(u"Невалидна година !"_s);
        return;
    }
    SmpDataset& ds = dm_.ClnDtStKlientiOborot;
    ds.close();
    ds.setParam(u"godina"_s, *year);
    ds.open();
    ApplyCurrency();
}

void TFormKlientiOborot::ApplyCurrency()
{
    SmpDataset& ds = dm_.ClnDtStKlientiOborot;
    const int tab = PageControl1->currentIndex();
    for (const char* month : kRoman)
        for (int c = 0; c < 3; ++c)
            ds.fieldByName(u"%1_ST_%2"_s.arg(QLatin1String(month), QLatin1String(kCurrency[c])))->setVisible(c == tab);
}
