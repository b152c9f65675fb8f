#include "orders/formporychka.h"

#include "common/gridexport.h"
#include "data/dmporychki.h"
#include "orders/formporychdvigmat.h"
#include "orders/formporychkadvigkontr.h"
#include "orders/formporychkaizdelia.h"
#include "orders/formporychkamat.h"
#include "orders/formporychkanova.h"
#include "orders/formporychkidate.h"
#include "orders/ordersdata.h"
#include "orders/qrporychki.h"
#include "platform/report/reportpreview.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbmemo.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {
DBGrid* grid(const char* name, DataSource* source, const QList<DatasetColumn>& columns)
{
    auto* g = new DBGrid;
    g->setObjectName(QString::fromLatin1(name));
    g->setDataSource(source);
    g->setColumns(columns);
    g->setReadOnly(true);
    g->setRowSelect(true);
    return g;
}

QVBoxLayout* buttonColumn(std::initializer_list<QToolButton*> buttons)
{
    auto* column = new QVBoxLayout;
    for (QToolButton* b : buttons) {
        b->setMinimumWidth(160);
        column->addWidget(b);
    }
    column->addStretch(1);
    return column;
}

void reread(SmpDataset& ds)
{
    ds.close();
    ds.open();
}
} // namespace

TFormPorychka::TFormPorychka(TDMPorychki& po, TQRPorychka_izvestie& notice) : po_(po), notice_(notice)
{
    setObjectName(u"FormPorychka"_s);
    setWindowTitle(u"Формиране на поръчка - необходими материали !"_s);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(u"MainMenu1"_s);
    NSpravki = MainMenu1->addMenu(u"Справки"_s);
    NSpravki->setObjectName(u"NSpravki"_s);
    NPorychIzdKontr = NSpravki->addAction(u"Поръчки по изделия и контрагенти"_s);
    NPorychIzdKontr->setObjectName(u"NPorychIzdKontr"_s);
    Handlers::connect(NPorychIzdKontr, &QAction::triggered, this, &TFormPorychka::NPorychIzdKontrClick);
    // Listed, with nothing behind it yet.
    NDvigPorychKlient = NSpravki->addAction(u" Движение на поръчки на клиент"_s);
    NDvigPorychKlient->setObjectName(u"NDvigPorychKlient"_s);
    NDvigPorychKlient->setEnabled(false);

    DBGrid3 = grid("DBGrid3", new DataSource(&po.SmpPorychkiArh, this),
                   {{u"AUTONUM_NPORYCHKA"_s, {}, 70}, {u"DATEPORYCHKA"_s, {}, 65}, {u"DATESROK"_s, {}, 65},
                    {u"NUMKONTRAGENT"_s, {}, 60}, {u"IMEKONTRAGENT"_s, {}, 220}, {u"GRAD"_s, {}, 120}});
    DBMemo2 = new DBMemo;
    DBMemo2->setObjectName(u"DBMemo2"_s);
    DBMemo2->setDataSource(new DataSource(&po.SmpPorychkiArh, this));
    DBMemo2->setDataField(u"INFO_PORYCHKA"_s);
    DBMemo2->setReadOnly(true);
    DBGrid1 = grid("DBGrid1", new DataSource(&po.SmpViewIzdPorych, this),
                   {{u"NPORYCHKA"_s, {}, 70}, {u"IMEMATERIAL"_s, {}, 220}, {u"IMEMIARKA"_s, {}, 40},
                    {u"BROI_IZDELIE"_s, {}, 65}, {u"DATESROK_IZD"_s, {}, 65}, {u"DNIPREDI_DATESROK_IZD"_s, {}, 50},
                    {u"NKONTR_IZD"_s, {}, 60}, {u"OPISANIE"_s, {}, 180}});
    // A line that reduces the order is written in red.
    SmpDataset* lines = &po.SmpViewIzdPorych;
    DBGrid1->setRowTextColor([lines](int row) {
        const double n = lines->valueAt(row, lines->fieldByName(u"BROI_IZDELIE"_s)).toDouble();
        return std::lround(n) < 0 ? QColor(Qt::red) : QColor();
    });
    DBGrid2 = grid("DBGrid2", new DataSource(&po.SmpPorychki_Dvigenie, this),
                   {{u"IME_IZDELIE"_s, {}, 220}, {u"MIARKA_BG"_s, {}, 40}, {u"BROI_IZDELIA_PORYCHKA"_s, {}, 70},
                    {u"BROI_IZDELIA_PREDSTOIASTI"_s, {}, 65}, {u"BROI_IZDELIA_ISKANIA"_s, {}, 60},
                    {u"BROI_IZDELIA_VPROCES"_s, {}, 60}, {u"BROI_IZDELIA_PROIZVEDENI"_s, {}, 65},
                    {u"BROI_IZDELIA_NASKLAD"_s, {}, 60}, {u"BROI_IZD_PRODADENI_PORYCHKA"_s, {}, 92},
                    {u"BROI_IZD_PRODADENI_SVOBODNO"_s, {}, 75}, {u"BROI_IZDELIA_PRODADENI"_s, {}, 75}});

    SpdBtnPrintPorychkaMat = Handlers::makeButton("SpdBtnPrintPorychkaMat", u"Калкулация - клиент"_s, this,
                                                  &TFormPorychka::SpdBtnPrintPorychkaMatClick);
    SpdBtnPorychIzdNew = Handlers::makeButton("SpdBtnPorychIzdNew", u"Добавяне на изделие"_s, this,
                                              &TFormPorychka::SpdBtnPorychIzdNewClick);
    SpeedButton1 = Handlers::makeButton("SpeedButton1", u"Изтриване изделие"_s, this, &TFormPorychka::SpeedButton1Click);
    SpBtnPrintPorychka = Handlers::makeButton("SpBtnPrintPorychka", u"Поръчка - клиент"_s, this,
                                              &TFormPorychka::SpBtnPrintPorychkaClick);
    SpdBtnCalcIzd = Handlers::makeButton("SpdBtnCalcIzd", u"Калк. изделие"_s, this, &TFormPorychka::SpdBtnCalcIzdClick);
    SpeedBtnExcel = Handlers::makeButton("SpeedBtnExcel", u" > Excel"_s, this, &TFormPorychka::SpeedBtnExcelClick);
    SpdBtnExit = Handlers::makeButton("SpdBtnExit", u"Изход"_s);
    connect(SpdBtnExit, &QToolButton::clicked, this, &QWidget::close);
    SpdBtnPorychkaNEW = Handlers::makeButton("SpdBtnPorychkaNEW", u"Добавяне на поръчка"_s, this,
                                             &TFormPorychka::SpdBtnPorychkaNEWClick);
    SpdBtnPorychkaKorekcia = Handlers::makeButton("SpdBtnPorychkaKorekcia", u"Корекция  поръчка"_s, this,
                                                  &TFormPorychka::SpdBtnPorychkaKorekciaClick);
    SpdBtnPorychkaDEL = Handlers::makeButton("SpdBtnPorychkaDEL", u"Изтриване поръчка"_s, this,
                                             &TFormPorychka::SpdBtnPorychkaDELClick);
    SpdBtnObstaCalc = Handlers::makeButton("SpdBtnObstaCalc", u"Калкулация - обща"_s, this,
                                           &TFormPorychka::SpdBtnObstaCalcClick);

    auto* orders = new QGroupBox(u"Поръчки архив "_s);
    auto* ordersLayout = new QHBoxLayout(orders);
    ordersLayout->addWidget(DBGrid3, 3);
    ordersLayout->addWidget(DBMemo2, 1);
    ordersLayout->addLayout(buttonColumn({SpdBtnPorychkaNEW, SpdBtnPorychkaKorekcia, SpdBtnPorychkaDEL, SpdBtnObstaCalc}));
    auto* products = new QGroupBox(u"Изделия за поръчка "_s);
    auto* productsLayout = new QHBoxLayout(products);
    productsLayout->addWidget(DBGrid1, 1);
    productsLayout->addLayout(buttonColumn({SpdBtnPrintPorychkaMat, SpdBtnPorychIzdNew, SpeedButton1, SpBtnPrintPorychka}));
    auto* progress = new QGroupBox(u"Изпълнение на поръчките по изделия "_s);
    auto* progressLayout = new QHBoxLayout(progress);
    progressLayout->addWidget(DBGrid2, 1);
    progressLayout->addLayout(buttonColumn({SpdBtnCalcIzd, SpeedBtnExcel, SpdBtnExit}));
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(orders, 1);
    layout->addWidget(products, 1);
    layout->addWidget(progress, 1);
    resize(1180, 760);

    Handlers::connect(DBGrid3, &DBGrid::doubleClicked, this, &TFormPorychka::SpdBtnPorychkaKorekciaClick);
}

void TFormPorychka::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

void TFormPorychka::FormShow()
{
    for (SmpDataset* ds : {&po_.SmpPorychkaProizv, &po_.SmpPorychkiArh})
        if (!ds->isActive()) ds->open();
    po_.SmpPorychkiArh.last();
    reread(po_.SmpViewIzdPorych);
    reread(po_.SmpPorychki_Dvigenie);
}

bool TFormPorychka::haveOrders()
{
    if (!po_.SmpPorychkiArh.isEmpty()) return true;
    UiService::current().showMessage(u" Липсват поръчки  !"_s);
    return false;
}

void TFormPorychka::SpdBtnPorychkaNEWClick() { FormPorychkaNova->open(); }

void TFormPorychka::SpdBtnPorychkaKorekciaClick()
{
    if (haveOrders()) FormPorychkiDate->open();
}

void TFormPorychka::SpdBtnPorychkaDELClick()
{
    if (!haveOrders()) return;
    const int order = po_.SmpPorychkiArh.value(u"AUTONUM_NPORYCHKA"_s).toInt();
    if (const QString why = Orders::deleteRefusal(po_.connection(), order); !why.isEmpty()) {
        UiService::current().showMessage(why);
        return;
    }
    if (!UiService::current().askYesNo(u" Изтриване на поръчка ? "_s)) return;
    Orders::deleteOrder(po_.connection(), order);
    reread(po_.SmpPorychkiArh);
    reread(po_.SmpViewIzdPorych);
}

void TFormPorychka::SpdBtnPorychIzdNewClick()
{
    if (haveOrders()) FormPorychkaIzdelia->open();
}

void TFormPorychka::SpeedButton1Click()
{
    SmpDataset& lines = po_.SmpViewIzdPorych;
    if (!lines.isActive() || lines.isEmpty()) {
        UiService::current().showMessage(u" Липсват изделия за поръчки  !"_s);
        return;
    }
    po_.SmpPorychki_Dvigenie.locate(u"IME_IZDELIE"_s, {lines.value(u"IMEMATERIAL"_s)});
    if (!UiService::current().askYesNo(u" Изтриване на изделие от поръчка ? "_s)) return;
    Orders::deleteLine(po_.connection(), lines.value(u"NPORYCHKA"_s).toInt(), lines.value(u"NTIP_IZDELIE"_s).toInt());
    reread(po_.SmpPorychki_Dvigenie);
    reread(lines);
}

void TFormPorychka::SpdBtnPrintPorychkaMatClick()
{
    if (!haveOrders()) return;
    const SmpDataset& order = po_.SmpPorychkiArh;
    FormPorychkaMat->showOrder(order.value(u"AUTONUM_NPORYCHKA"_s).toInt(), order.value(u"IMEKONTRAGENT"_s).toString());
}

void TFormPorychka::SpdBtnObstaCalcClick() { FormPorychDvigMat->showAll(); }

void TFormPorychka::SpdBtnCalcIzdClick()
{
    const SmpDataset& progress = po_.SmpPorychki_Dvigenie;
    if (progress.isEmpty() || progress.value(u"BROI_IZDELIA_PREDSTOIASTI"_s).toInt() <= 0) {
        UiService::current().showMessage(u" Липсват предстоящи бройки за изработване  ! !"_s);
        return;
    }
    FormPorychDvigMat->showProduct(progress.value(u"NTIP_IZDELIE"_s).toInt(), progress.value(u"IME_IZDELIE"_s).toString());
}

void TFormPorychka::SpBtnPrintPorychkaClick()
{
    if (haveOrders()) Report::preview(notice_.build());
}

void TFormPorychka::SpeedBtnExcelClick()
{
    if (po_.SmpPorychki_Dvigenie.isEmpty()) return;
    SpreadsheetExport how;
    how.parentWindow = this;
    ExportDatasetToSpreadsheet(po_.SmpPorychki_Dvigenie, how);
}

void TFormPorychka::NPorychIzdKontrClick() { UiService::current().showModal(FormPorychkaDvigKontr); }
