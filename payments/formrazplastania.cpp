#include "payments/formrazplastania.h"

#include "data/dmrazpl.h"
#include "payments/qrrazpl.h"
#include "payments/tabrazpl.h"
#include "platform/base/clock.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/wrappingtabwidget.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TFormRazplastania::TFormRazplastania(TDMNS& dm, TDMRazpl& razpl)
    : razpl_(razpl), qrProdagbi_(std::make_unique<TQRRazplProdagbi>(dm, razpl)),
      qrDostavki_(std::make_unique<TQRRazplDostavki>(dm, razpl)),
      qrProdObobst_(std::make_unique<TQRRazplProdObobst>(dm)),
      qrSaldaKlienti_(std::make_unique<TQRSaldaKlienti>(dm, razpl))
{
    setObjectName(u"FormRazplastania"_s);
    setWindowTitle(u"Разплащания с контрагенти !"_s);
    resize(1180, 720);
    PageControl1 = new WrappingTabWidget(2);
    PageControl1->setObjectName(u"PageControl1"_s);
    TabSheet1 = new TabRazplKlienti(razpl, *qrProdagbi_);
    TabSheet2 = new TabRazplDost(razpl, *qrDostavki_);
    TabSheet3 = new TabRazplKlientiObsto(razpl, *qrSaldaKlienti_);
    TabSheet4 = new TabRazplDostObsto(razpl);
    TabSheet5 = new TabRazplZak(razpl);
    TabSheet6 = new TabRazplTipove(razpl);
    TabSheet7 = new TabRazplKontr(razpl);
    PageControl1->addTab(TabSheet1, u"Продажби"_s);
    PageControl1->addTab(TabSheet2, u"Доставки"_s);
    PageControl1->addTab(TabSheet3, u"Продажби - обобщени"_s);
    PageControl1->addTab(TabSheet4, u"Доставки - обобщени"_s);
    PageControl1->addTab(TabSheet5, u"Доставки чрез закупчици"_s);
    PageControl1->addTab(TabSheet6, u"Разплащания - обобщени"_s);
    PageControl1->addTab(TabSheet7, u"Разплащания с контрагени"_s);

    // "Общо за фирмата": receivables, liabilities and their difference.
    auto* company = new QGroupBox(u"Общо за фирмата"_s);
    company->setObjectName(u"GrpBoxObstoFirma"_s);
    auto* grid = new QGridLayout(company);
    auto* source = new DataSource(&razpl.SmpSprRazplObsto, this);
    const QStringList heads = {u"Валута"_s, u"Лева"_s, u"USD"_s, u"EUR"_s};
    for (int c = 0; c < heads.size(); ++c) grid->addWidget(new QLabel(u"<b>%1</b>"_s.arg(heads[c])), 0, c);
    const QList<QPair<QString, const char*>> rows = {{u"Вземания от клиенти"_s, "KLIENTI"},
                                                     {u"Задължения към доставчици"_s, "DOSTAV"},
                                                     {u"Разлика/ликвидност/"_s, "OBSTO"}};
    for (int r = 0; r < rows.size(); ++r) {
        grid->addWidget(new QLabel(rows[r].first), r + 1, 0);
        int c = 1;
        for (const char* cur : {"LV", "USD", "EUR"}) {
            const QByteArray field = QByteArray(rows[r].second) + "_RAZLIKA_" + cur;
            grid->addWidget(DbControls::makeShownNumber(("DBText" + field).constData(), source, field.constData(), 100), r + 1, c++);
        }
    }
    auto* exit = Handlers::makeButton("SpdBtnExit", u"Изход"_s);
    Handlers::connectClick(exit, this, [this] { close(); });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(company);
    bottom->addStretch(1);
    bottom->addWidget(exit, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(bottom);
}

TFormRazplastania::~TFormRazplastania() = default;

void TFormRazplastania::setDialogs(TFormRazplKlient* client, TFormRazplDost* supplier)
{
    TabSheet1->FormRazplKlient = client;
    TabSheet2->FormRazplDost = supplier;
}

void TFormRazplastania::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    Handlers::run([this] { FormShow(); });
}

void TFormRazplastania::FormShow()
{
    if (!razpl_.SmpRazplKontrTipProd.isActive())
        for (SmpDataset* ds : {&razpl_.SmpRazplKontrTipProd, &razpl_.SmpRazplKontrTipDost, &razpl_.SmpRazplKontrProd,
                               &razpl_.SmpRazplKontrDost, &razpl_.SmpIzbZak})
            ds->open();
    // The periods start as the last 30 days at every opening; the choices stay.
    const QDate today = Clock::today();
    TabSheet1->FormShow(today);
    TabSheet2->FormShow(today);
    TabSheet5->FormShow(today);
    razpl_.reloadBalances();
}
