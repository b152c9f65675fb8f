#include "warehouse/formambalag.h"

#include "data/dmsklad.h"
#include "data/dmsklspravki.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "warehouse/stockinquiries.h"
#include "warehouse/stockinquiryform.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

TFormAmbalag::TFormAmbalag(TDMSklad& sklad, TDMSklSpravki& spravki, QWidget* parent)
    : Form(parent), sklad_(sklad), spravki_(spravki)
{
    setObjectName(QStringLiteral("FormAmbalag"));
    setWindowTitle(QStringLiteral("Движение на амбалажа !"));
    const auto source = [this](SmpDataset& ds) {
        auto* s = new DataSource(&ds, this);
        s->setObjectName(QStringLiteral("DtSrc") + ds.objectName().mid(3));
        return s;
    };
    const auto grid = [](const char* name, DataSource* s, bool readOnly) {
        auto* g = new DBGrid;
        g->setObjectName(QString::fromLatin1(name));
        g->setDataSource(s);
        g->setReadOnly(readOnly);
        return g;
    };
    const auto navigator = [](const char* name, DataSource* s) {
        auto* n = new DBNavigator;
        n->setObjectName(QString::fromLatin1(name));
        n->setDataSource(s);
        n->setButtons(DBNavigator::AllButtons);
        return n;
    };
    const auto box = [](const QString& caption, QWidget* grid, QWidget* nav) {
        auto* b = new QGroupBox(caption);
        auto* l = new QVBoxLayout(b);
        l->addWidget(grid, 1);
        if (nav) l->addWidget(nav);
        return b;
    };

    DBGrid1 = grid("DBGrid1", source(spravki.SmpAmbFirmaDost), false);
    DBGrid2 = grid("DBGrid2", source(spravki.SmpAmbDostFirma), false);
    for (DBGrid* g : {DBGrid1, DBGrid2}) {
        g->addColumn(QStringLiteral("DATE_AMB"), QStringLiteral("Дата"), 80);
        g->addColumn(QStringLiteral("ImeAmbalag"), QStringLiteral("Вид"), 160);
        g->addColumn(QStringLiteral("BROI_AMB"), QStringLiteral("Брой"), 70);
    }
    DBNavigator1 = navigator("DBNavigator1", DBGrid1->dataSource());
    DBNavigator2 = navigator("DBNavigator2", DBGrid2->dataSource());
    DBGrid3 = grid("DBGrid3", source(spravki.SmpAmbKontr), true);
    DBGrid3->addColumn(QStringLiteral("IMEAMBALAG"), QStringLiteral("Вид"), 160);
    DBGrid3->addColumn(QStringLiteral("POLUCHENO"), QStringLiteral("Плучено /бр./"), 90);
    DBGrid3->addColumn(QStringLiteral("VYRNATO"), QStringLiteral("Върнато /бр./"), 90);
    DBGrid3->addColumn(QStringLiteral("NALICHNO"), QStringLiteral("Налично /бр./"), 90);
    DBGrid4 = grid("DBGrid4", source(spravki.SmpAmbTip), false);
    DBGrid4->addColumn(QStringLiteral("IME_AMBALAG"), QStringLiteral("Наименование на амбалажа"), 200);
    DBNavigator3 = navigator("DBNavigator3", DBGrid4->dataSource());
    QToolButton* deleteKind = DBNavigator3->button(DBNavigator::Delete);
    deleteKind->disconnect(DBNavigator3);
    Handlers::connect(deleteKind, &QToolButton::clicked, this, &TFormAmbalag::DBNavigator3DeleteClick);
    for (DBGrid* g : {DBGrid1, DBGrid2, DBGrid3, DBGrid4}) StockInquiryGrid::fitColumns(g);

    LbKontragent = new QLabel;
    LbKontragent->setObjectName(QStringLiteral("LbKontragent"));
    QFont f = LbKontragent->font();
    f.setBold(true);
    LbKontragent->setFont(f);
    SpdBtnExit = Handlers::makeButton("SpdBtnExit", QStringLiteral("Изход"));
    connect(SpdBtnExit, &QToolButton::clicked, this, &QWidget::close);
    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("Доставчик -")));
    head->addWidget(LbKontragent, 1);
    head->addWidget(SpdBtnExit);

    auto* boxes = new QGridLayout;
    boxes->addWidget(box(QStringLiteral("Получен амбалаж "), DBGrid1, DBNavigator1), 0, 0);
    boxes->addWidget(box(QStringLiteral("Върнат амбалаж "), DBGrid2, DBNavigator2), 0, 1);
    boxes->addWidget(box(QStringLiteral("Общо движение на амбалажа "), DBGrid3, nullptr), 1, 0);
    boxes->addWidget(box(QStringLiteral("Типове амбалаж "), DBGrid4, DBNavigator3), 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addLayout(boxes, 1);
    resize(960, 620);  // the totals grid shows its four columns whole
}

void TFormAmbalag::DBNavigator3DeleteClick()
{
    SmpDataset& kinds = spravki_.SmpAmbTip;
    // A row being typed was never stored: deleting it is the navigator's cancel.
    if (kinds.isActive() && !kinds.isEmpty() && kinds.state() != SmpDataset::State::Insert) {
        const QString why = StockInquiries::packagingKindDeleteRefusal(*kinds.connection(), kinds.value(QStringLiteral("NAMBALAG")));
        if (!why.isEmpty()) {
            UiService::current().showMessage(why);
            return;
        }
    }
    DBNavigator3->click(DBNavigator::Delete);
}

void TFormAmbalag::open()
{
    SmpDataset& suppliers = sklad_.SmpKontrSklPunkt;
    if (!suppliers.isActive() || suppliers.isEmpty()) return;
    for (SmpDataset* ds : {&spravki_.SmpAmbTip, &spravki_.SmpAmbFirmaDost, &spravki_.SmpAmbDostFirma})
        if (!ds->isActive()) ds->open();
    SmpDataset& totals = spravki_.SmpAmbKontr;
    totals.close();
    totals.setParam(QStringLiteral("NumKontragent"), suppliers.fieldByName(QStringLiteral("NKONTRAGENT"))->asInt());
    totals.open();
    LbKontragent->setText(suppliers.fieldByName(QStringLiteral("IMEKONTRAGENT"))->asString());
    UiService::current().showModal(this);
}
