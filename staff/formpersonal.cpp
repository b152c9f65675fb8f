#include "staff/formpersonal.h"

#include "data/dmns.h"
#include "data/dmpers.h"
#include "platform/base/clock.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbimage.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "staff/formpers.h"
#include "staff/formslugrazplobsto.h"
#include "staff/formviewzarab.h"
#include "staff/staffdata.h"
#include "staff/staffwidgets.h"
#include "staff/tabslugrazpl.h"
#include "staff/tabtools.h"
#include "staff/tabzarab.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolButton>

namespace {
const QString kNoStaff = QStringLiteral("Няма въведен персонал !");
}

TFormPersonal::TFormPersonal(TDMNS& dm, TDMPers& pers) : dm_(dm), pers_(pers)
{
    setObjectName(QStringLiteral("FormPersonal"));
    setWindowTitle(QStringLiteral("Персонал !"));
    resize(1100, 720);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* reports = MainMenu1->addMenu(QStringLiteral("Справки"));
    QAction* all = reports->addAction(QStringLiteral("Служебни разплащания общо"));
    all->setObjectName(QStringLiteral("N1SlugRazplObsto"));
    Handlers::connect(all, &QAction::triggered, this, [this] { N1SlugRazplObstoClick(); });
    QAction* earnings = reports->addAction(QStringLiteral("Справка заработки"));
    earnings->setObjectName(QStringLiteral("N2SprZarab"));
    Handlers::connect(earnings, &QAction::triggered, this, [this] { N2SprZarabClick(); });

    auto* staffSource = new DataSource(&pers.SmpViewPers, this);
    staffSource->setObjectName(QStringLiteral("DtSrcViewPers"));
    DBGrid10 = StaffWidgets::grid("DBGrid10", staffSource, {{"IMEFULL", ""}}, true);
    Handlers::connect(DBGrid10, &QAbstractItemView::clicked, this, [this] { DBGrid10CellClick(); });
    Handlers::connect(DBGrid10, &DBGrid::keyPressed, this, [this] { DBGrid10CellClick(); });
    Handlers::connect(DBGrid10, &DBGrid::keyReleased, this, [this] { DBGrid10CellClick(); });
    Handlers::connect(DBGrid10, &QAbstractItemView::doubleClicked, this, [this] { SpdBtnUpdatePersClick(); });
    auto* staffButtons = new QHBoxLayout;
    staffButtons->addWidget(Handlers::makeButton("SpdBtnNewPers", QStringLiteral("Добавяне"), this, &TFormPersonal::SpdBtnNewPersClick));
    staffButtons->addWidget(
        Handlers::makeButton("SpdBtnUpdatePers", QStringLiteral("Редакция"), this, &TFormPersonal::SpdBtnUpdatePersClick));
    staffButtons->addWidget(Handlers::makeButton("SpdBtnDelPers", QStringLiteral("Изтриване"), this, &TFormPersonal::SpdBtnDelPersClick));
    auto* left = new QVBoxLayout;
    left->addLayout(staffButtons);
    left->addWidget(DBGrid10, 1);

    TabSheet1 = new TabSlugRazpl(pers);
    TabSheet2 = new TabTools(pers);
    TabSheet3 = new TabZarab(pers);
    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Служебни разплащания"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Зачислени инструменти"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Заплати"));

    auto* right = new QVBoxLayout;
    right->addWidget(personalData());
    right->addWidget(PageControl1, 1);
    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addLayout(right, 4);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(MainMenu1);
    layout->addLayout(body);
}

QWidget* TFormPersonal::personalData()
{
    auto* source = DBGrid10->dataSource();
    auto* box = new QGroupBox(QStringLiteral("Лични данни"));
    auto* g = new QGridLayout(box);
    struct Item
    {
        const char* caption;
        const char* field;
        int row, col, span;
    };
    const Item items[] = {{"Име", "IMEFULL", 0, 0, 3},        {"Ш-р", "SHIFYR", 0, 4, 1},     {"ЕГН", "EGN", 1, 0, 1},
                          {"ЛК", "LK", 1, 2, 1},              {"Издадена на:", "LK_DATE", 1, 4, 1},
                          {"Адрес: гр./с.", "Grad", 2, 0, 1}, {"ул./№", "ADRES_UL_N", 2, 2, 3},
                          {"РПУ", "Rpu", 3, 0, 1},            {"Длъжност:", "Dlygnost", 3, 2, 1},
                          {"Тел.", "TEL", 3, 4, 1}};
    for (const Item& i : items) {
        g->addWidget(new QLabel(QString::fromUtf8(i.caption)), i.row, i.col * 2);
        DBText* t = StaffWidgets::text((QByteArray("DBText") + i.field).constData(), source, i.field);
        t->setFrameShape(QFrame::StyledPanel);
        t->setMinimumWidth(90);
        g->addWidget(t, i.row, i.col * 2 + 1, 1, i.span * 2 - 1);
    }
    auto* photo = new DBImage;
    photo->setObjectName(QStringLiteral("DBImgSnimka"));
    photo->setDataSource(source);
    photo->setDataField(QStringLiteral("SNIMKA"));
    photo->setReadOnly(true);
    photo->setStretch(true);
    photo->setFixedSize(96, 120);
    photo->setFrameShape(QFrame::Box);
    g->addWidget(photo, 0, 10, 4, 1);
    g->setColumnStretch(9, 1);
    return box;
}

void TFormPersonal::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    Handlers::run([this] { FormShow(); });
}

void TFormPersonal::FormShow()
{
    for (SmpDataset* ds : {&pers_.SmpGradRpu, &pers_.SmpDlygnosti, &pers_.SmpTipManip, &pers_.SmpViewPers,
                           &pers_.SmpPers, &pers_.SmpViewPersMat})
        if (!ds->isActive()) ds->open();
    pers_.SmpGodMes.close();
    pers_.SmpGodMes.open();
    const QString tools = dm_.SmpFirma.isActive() ? dm_.SmpFirma.value(QStringLiteral("IMESKL_INSTR")).toString() : QString();
    TabSheet2->LbImeSklInstr->setText(tools);
    pers_.reopenIssuableTools(tools);
    if (!pers_.SmpPersMat.isActive()) pers_.SmpPersMat.open();
    pers_.reloadPayments();
    pers_.SmpGodMes.locate(QStringLiteral("GGGGMM"), {Clock::today().toString(QStringLiteral("yyyyMM"))});
    pers_.SmpViewVedZarab.setParam(QStringLiteral("DEN_OT"), 1);
    pers_.SmpViewVedZarab.setParam(QStringLiteral("DEN_DO"), 31);
    TabSheet3->showMonth();
}

void TFormPersonal::DBGrid10CellClick()
{
    pers_.reloadPayments();
    pers_.reloadEarnings();
    pers_.filterWorkLines();
}

void TFormPersonal::SpdBtnNewPersClick()
{
    pers_.SmpPers.append();
    UiService::current().showModal(FormPers);
    DBGrid10CellClick();
}

void TFormPersonal::SpdBtnUpdatePersClick()
{
    if (pers_.SmpViewPers.isEmpty()) {
        UiService::current().showMessage(kNoStaff);
        return;
    }
    UiService::current().showModal(FormPers);
}

void TFormPersonal::SpdBtnDelPersClick()
{
    if (pers_.SmpViewPers.isEmpty() || pers_.SmpPers.isEmpty()) {
        UiService::current().showMessage(kNoStaff);
        return;
    }
    // Tools, payments, earnings or purchases keep the employee.
    if (const QString why = Staff::deleteRefusal(pers_.connection(), pers_.SmpPers.value(QStringLiteral("SHIFYR")));
        !why.isEmpty()) {
        UiService::current().showMessage(why);
        return;
    }
    if (!UiService::current().askYesNo(QStringLiteral(" Потвърдете за изтриване ? "))) return;
    pers_.SmpPers.remove();
    pers_.SmpPers.applyUpdates();
    pers_.SmpViewPers.refresh();
    DBGrid10CellClick();
}

void TFormPersonal::N1SlugRazplObstoClick() { UiService::current().showModal(FormSlugRazplObsto); }

void TFormPersonal::N2SprZarabClick()
{
    const QVariant month = pers_.SmpGodMes.value(QStringLiteral("GGGGMM"));
    UiService::current().showModal(FormViewZarab);
    pers_.SmpGodMes.locate(QStringLiteral("GGGGMM"), {month});
}
