#include "salesinfo/formgotovaprod.h"

#include "data/dmnsspravki.h"
#include "platform/base/clock.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/filterdateedit.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"
#include "salesinfo/formklientioborot.h"
#include "salesinfo/formprodpomeseci.h"
#include "salesinfo/formsprprodagbi.h"
#include "salesinfo/formsprrealizaciarazplastania.h"
#include "salesinfo/infocontrols.h"
#include "salesinfo/salesinfodata.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QShowEvent>

using namespace Qt::StringLiterals;

TFormGotovaProd::TFormGotovaProd(TDMNsSpravki& dm) : dm_(dm)
{
    setObjectName(u"FormGotovaProd"_s);
    setWindowTitle(u"Информация - продажби !"_s);
    resize(1200, 680);
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(u"MainMenu1"_s);
    QMenu* inquiries = MainMenu1->addMenu(u"Справки"_s);
    inquiries->setObjectName(u"N1"_s);
    for (auto [name, caption, handler] : {std::tuple{"N2", u"Продажби"_s, &TFormGotovaProd::N2Click},
                                          std::tuple{"N3", u"Разплащания с клиенти"_s, &TFormGotovaProd::N3Click},
                                          std::tuple{"N4", u"Клиенти - годишен оборот"_s, &TFormGotovaProd::N4Click},
                                          std::tuple{"N5", u"Продажби по месеци"_s, &TFormGotovaProd::N5Click}}) {
        QAction* a = inquiries->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        Handlers::connect(a, &QAction::triggered, this, handler);
    }

    // A day picked in the calendar reloads at once, a typed date when it is committed.
    auto* from = InfoControls::periodDate("DateProdagbaOt");
    auto* to = InfoControls::periodDate("DateProdagbaDo");
    DateProdagbaOt = from;
    DateProdagbaDo = to;
    auto* excel = Handlers::makeButton("SpeedBtnExcel", u"Изход > Excel"_s);
    Handlers::connectClick(excel, this, [this] { InfoControls::exportList(dm_.SmpRealizacia, this); });
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(u"Продажби   от дата :"_s));
    top->addWidget(DateProdagbaOt);
    top->addWidget(new QLabel(u"до дата :"_s));
    top->addWidget(DateProdagbaDo);
    top->addStretch(1);
    top->addWidget(excel);

    auto* sales = new QGroupBox(u"Продажби "_s);
    sales->setObjectName(u"GroupBox1"_s);
    DBGrid2 = InfoControls::grid("DBGrid2", dm.SmpRealizacia, this);
    InfoControls::keepWidths(DBGrid2, 80,
               {{"NUMPRODAGBA", 100}, {"NSTOK_RAZP", 60}, {"NKONSIGNACIA", 55}, {"NEKSP_BEL", 80}, {"NFAKT_INT", 75},
                {"NFAKTURA", 85}, {"DATEFAKTURA", 65}, {"IMEKONTRAGENT", 190}, {"IMEFILIAL", 140},
                {"IME_MATERIAL_IZDELIE", 240}, {"IMEMKA", 40}, {"BROI_MATERIAL_IZDELIE", 70}, {"OTST_IZDELIE", 55},
                {"IMEVIDPLASTANE", 110}});
    auto* exit = Handlers::makeButton("SpdBtnIzhod", u"Изход"_s);
    Handlers::connectClick(exit, this, [this] { close(); });
    SpdBtnInfProdagba = Handlers::makeButton("SpdBtnInfProdagba", u"Инф. продажба"_s, this, &TFormGotovaProd::SpdBtnInfProdagbaClick);
    SpdBtnInfFaktura = Handlers::makeButton("SpdBtnInfFaktura", u"Инф. фактура"_s, this, &TFormGotovaProd::SpdBtnInfFakturaClick);
    setBrowser(nullptr);
    RdGrpVidProdagba = new RadioGroup(u"RdGrpVidProdagba"_s, u"Видове продажби "_s,
                                      {u"Фактура"_s, u"Сток. разписка"_s, u"Консигнация"_s});
    RdGrpVidProdagba->setItemIndex(0);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(exit);
    buttons->addWidget(SpdBtnInfProdagba);
    buttons->addWidget(SpdBtnInfFaktura);
    buttons->addStretch(1);
    buttons->addWidget(RdGrpVidProdagba);
    auto* gl = new QVBoxLayout(sales);
    gl->addWidget(DBGrid2, 1);
    gl->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(MainMenu1);
    layout->addLayout(top);
    layout->addWidget(sales, 1);
    Handlers::connect(RdGrpVidProdagba, &RadioGroup::clicked, this, [this] { RdGrpVidProdagbaClick(); });
    for (FilterDateEdit* d : {from, to})
        Handlers::connect(d, &FilterDateEdit::committed, this, &TFormGotovaProd::ReloadSalesList);
}

void TFormGotovaProd::setBrowser(std::function<void(const BrowserRequest&)> browser)
{
    browser_ = std::move(browser);
    SpdBtnInfProdagba->setEnabled(bool(browser_));
    SpdBtnInfFaktura->setEnabled(bool(browser_));
}

void TFormGotovaProd::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    // Restoring from minimised is a spontaneous show: it keeps what the user set.
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

void TFormGotovaProd::FormShow()
{
    const QDate today = Clock::today();
    {
        const QSignalBlocker a(DateProdagbaOt), b(DateProdagbaDo);
        DateProdagbaOt->setDate(today.addDays(-10));
        DateProdagbaDo->setDate(today);
    }
    RdGrpVidProdagbaClick();
}

void TFormGotovaProd::ReloadSalesList()
{
    SmpDataset& ds = dm_.SmpRealizacia;
    ds.close();
    const QVariantMap params = SalesInfo::salesListParams(SalesInfo::SaleKind(RdGrpVidProdagba->itemIndex()),
                                                          DateProdagbaOt->date(), DateProdagbaDo->date());
    for (auto it = params.begin(); it != params.end(); ++it) ds.setParam(it.key(), it.value());
    ds.open();
    ds.last();
}

void TFormGotovaProd::RdGrpVidProdagbaClick()
{
    const bool consignment = RdGrpVidProdagba->itemIndex() == 2;
    SmpDataset& ds = dm_.SmpRealizacia;
    for (const char* f : {"IMEVIDPLASTANE", "NSTOK_RAZP", "NFAKTURA"}) ds.fieldByName(QString::fromLatin1(f))->setVisible(!consignment);
    for (const char* f : {"IMEFILIAL", "SUM_BROI_MAT_IZD_PLATENO", "SUM_BROI_MAT_IZD_VYRNATO"})
        ds.fieldByName(QString::fromLatin1(f))->setVisible(consignment);
    ReloadSalesList();
}

void TFormGotovaProd::SpdBtnInfProdagbaClick()
{
    const SmpDataset& ds = dm_.SmpRealizacia;
    if (ds.isEmpty()) {
        UiService::current().showMessage(u"Липсват продажби за указания период  !"_s);
        return;
    }
    BrowserRequest r;
    r.mode = 2;
    r.saleNumber = ds.value(u"NUMPRODAGBA"_s).toString();
    r.invoiceText = ds.value(u"NFAKTURA"_s).toString();
    r.invoiceInt = ds.value(u"NFAKT_INT"_s).toInt();
    browser_(r);
}

void TFormGotovaProd::SpdBtnInfFakturaClick()
{
    const SmpDataset& ds = dm_.SmpRealizacia;
    // A line without an invoice: text number empty or "0" and no integer number.
    if (ds.isEmpty() || (ds.value(u"NFAKTURA"_s).toString() <= u"0"_s && ds.value(u"NFAKT_INT"_s).toInt() <= 0)) {
        UiService::current().showMessage(u"Позиционирайте върху създадена вече фактура !"_s);
        return;
    }
    BrowserRequest r;
    r.mode = ds.value(u"NFAKT_INT"_s).toInt() > 0 ? 1 : 0;
    r.saleNumber = ds.value(u"NUMPRODAGBA"_s).toString();
    r.invoiceText = ds.value(u"NFAKTURA"_s).toString();
    r.invoiceInt = ds.value(u"NFAKT_INT"_s).toInt();
    browser_(r);
}

void TFormGotovaProd::N2Click()
{
    inquiries_.sales->setSpecialCaptions(special_);
    UiService::current().showModeless(inquiries_.sales);
}

void TFormGotovaProd::N3Click() { UiService::current().showModal(inquiries_.payments); }
void TFormGotovaProd::N4Click() { UiService::current().showModeless(inquiries_.turnover); }
void TFormGotovaProd::N5Click() { UiService::current().showModeless(inquiries_.monthly); }
