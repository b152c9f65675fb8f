#include "warehouse/formsprskladsklrazp.h"

#include "common/gridexport.h"
#include "data/dmns.h"
#include "data/dmsklad.h"
#include "data/dmsklspravki.h"
#include "platform/base/clock.h"
#include "platform/report/reportpreview.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/filterdateedit.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/radiogroup.h"
#include "warehouse/qrsklrazp.h"
#include "warehouse/stockinquiries.h"
#include "warehouse/stockinquiryform.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

TFormSprSkladSklRazp::TFormSprSkladSklRazp(TDMNS& dm, TDMSklad& sklad, TDMSklSpravki& spravki, QWidget* parent)
    : Form(parent), dm_(dm), sklad_(sklad), spravki_(spravki), receipt_(std::make_unique<TQRSklRazpA4>(dm, sklad))
{
    setObjectName(QStringLiteral("FormSprSkladSklRazp"));
    setWindowTitle(QStringLiteral("Справка на доставки по складови разписки за определен период !"));
    auto* source = new DataSource(&spravki.SmpSklRazp, this);
    source->setObjectName(QStringLiteral("DtSrcSklRazp"));

    RdGrpIzbDate = new RadioGroup(QStringLiteral("RdGrpIzbDate"), QStringLiteral("По дата на "),
                                  {QStringLiteral("Получаване"), QStringLiteral("Фактура"), QStringLiteral("Всички")});
    RdGrpIzbDate->setItemIndex(0);
    const auto picker = [this](const char* name) {
        auto* d = new FilterDateEdit(Clock::today());
        d->setObjectName(QString::fromLatin1(name));
        Handlers::connect(d, &FilterDateEdit::committed, this, &TFormSprSkladSklRazp::Reload);
        return d;
    };
    const auto period = [&](const char* name, const QString& caption, QDateEdit* from, QDateEdit* to) {
        auto* box = new QGroupBox(caption);
        box->setObjectName(QString::fromLatin1(name));
        auto* row = new QHBoxLayout(box);
        row->addWidget(new QLabel(QStringLiteral("от")));
        row->addWidget(from);
        row->addWidget(new QLabel(QStringLiteral("до")));
        row->addWidget(to);
        return box;
    };
    DatePoluchOt = picker("DatePoluchOt");
    DatePoluchDo = picker("DatePoluchDo");
    DateFaktOt = picker("DateFaktOt");
    DateFaktDo = picker("DateFaktDo");
    GrpBoxPoluch = period("GrpBoxPoluch", QStringLiteral("Получаване "), DatePoluchOt, DatePoluchDo);
    GrpBoxFakt = period("GrpBoxFakt", QStringLiteral("Фактура "), DateFaktOt, DateFaktDo);
    GrpBoxFakt->setVisible(false);

    DBGrid1 = new DBGrid;
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSource(source);
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    StockInquiryGrid::fitColumns(DBGrid1);

    BitBtnPrnKasa = Handlers::makeButton("BitBtnPrnKasa", QStringLiteral("Скл.разп."), this,
                                         &TFormSprSkladSklRazp::BitBtnPrnKasaClick);
    BitBtnPrnKasa->setToolTip(QStringLiteral("Печат на складова разписка"));
    SpeedBtnExcel = Handlers::makeButton("SpeedBtnExcel", QStringLiteral(" > Excel"), this,
                                         &TFormSprSkladSklRazp::SpeedBtnExcelClick);
    SpdBtnExit = Handlers::makeButton("SpdBtnExit", QStringLiteral("Изход"));
    connect(SpdBtnExit, &QToolButton::clicked, this, &QWidget::close);

    auto* top = new QHBoxLayout;
    top->addWidget(RdGrpIzbDate);
    top->addWidget(GrpBoxPoluch);
    top->addWidget(GrpBoxFakt);
    top->addStretch(1);
    for (QToolButton* b : {BitBtnPrnKasa, SpeedBtnExcel, SpdBtnExit}) {
        b->setMinimumWidth(100);
        top->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    resize(1100, 600);
    Handlers::connect(RdGrpIzbDate, &RadioGroup::clicked, this, &TFormSprSkladSklRazp::RdGrpIzbDateClick);
    Handlers::connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TFormSprSkladSklRazp::BitBtnPrnKasaClick);
}

TFormSprSkladSklRazp::~TFormSprSkladSklRazp() = default;

void TFormSprSkladSklRazp::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

void TFormSprSkladSklRazp::FormShow()
{
    const QDate today = Clock::today();
    for (QDateEdit* d : {DatePoluchOt, DatePoluchDo, DateFaktOt, DateFaktDo}) {
        const QSignalBlocker quiet(d);
        d->setDate(d == DatePoluchOt || d == DateFaktOt ? today.addDays(-10) : today);
    }
    Reload();
}

void TFormSprSkladSklRazp::Reload()
{
    SmpDataset& list = spravki_.SmpSklRazp;
    list.close();
    const StockInquiries::DateBounds b = StockInquiries::dateBounds(
        StockInquiries::DateBasis(RdGrpIzbDate->itemIndex()), {DatePoluchOt->date(), DatePoluchDo->date()},
        {DateFaktOt->date(), DateFaktDo->date()});
    list.setParam(QStringLiteral("POLUCHENOOT"), b.receivedFrom);
    list.setParam(QStringLiteral("POLUCHENODO"), b.receivedTo);
    list.setParam(QStringLiteral("DATEFAKTURAOT"), b.documentFrom);
    list.setParam(QStringLiteral("DATEFAKTURADO"), b.documentTo);
    list.open();
}

void TFormSprSkladSklRazp::RdGrpIzbDateClick()
{
    GrpBoxPoluch->setVisible(RdGrpIzbDate->itemIndex() == 0);
    GrpBoxFakt->setVisible(RdGrpIzbDate->itemIndex() == 1);
    Reload();
}

void TFormSprSkladSklRazp::BitBtnPrnKasaClick()
{
    SmpDataset& list = spravki_.SmpSklRazp;
    StockInquiries::Receipt stored;
    if (list.isActive() && !list.isEmpty()) {
        const QVariant date = list.value(QStringLiteral("DATEFAKTURA"));
        // The document is found by its typed values, whatever its number holds.
        stored = StockInquiries::storedReceipt(dm_.SQLConnectNS, list.value(QStringLiteral("NKONTRAGENT")).toInt(),
                                               list.value(QStringLiteral("NFAKTURA")).toString(),
                                               date.toDateTime().date());
    }
    // The names the receipt prints are looked up in the material list, read afresh.
    if (dm_.SmpMateriali.isActive()) dm_.SmpMateriali.refresh();
    else dm_.SmpMateriali.open();
    SmpDataset& lines = sklad_.SmpDostavka;
    lines.close();
    lines.open();
    if (stored.lines.isEmpty()) {
        UiService::current().showMessage(QStringLiteral("Липсват данни за извеждане !"));
        return;
    }
    for (const StockInquiries::ReceiptLine& l : std::as_const(stored.lines)) {
        lines.append();
        lines.setValue(QStringLiteral("NMATERIAL"), l.material);
        lines.setValue(QStringLiteral("KOLICHESTVO"), l.quantity);
        lines.setValue(QStringLiteral("PROCENT_OTST"), l.discountPct);
        lines.setValue(QStringLiteral("PROCENT_DDS"), l.vatPct);
        lines.setValue(QStringLiteral("ED_CENA_LV"), l.priceLv);
        lines.setValue(QStringLiteral("USD"), l.priceUsd);
        lines.setValue(QStringLiteral("EUR"), l.priceEur);
        lines.post();
    }
    ReceiptHeading h;
    h.supplier = stored.supplierName;
    h.document = list.value(QStringLiteral("NFAKTURA")).toString();
    h.documentDate = list.value(QStringLiteral("DATEFAKTURA")).toDateTime().date().toString(QStringLiteral("dd.MM.yyyy"));
    h.receiptNumber = QString::number(stored.receiptNumber);
    h.receivedDate = stored.received.toString(QStringLiteral("dd.MM.yyyy"));
    receipt_->fill(h);
    Report::preview(receipt_->build());
}

void TFormSprSkladSklRazp::SpeedBtnExcelClick()
{
    SpreadsheetExport how;
    how.emptyList = SpreadsheetExport::EmptyList::HeaderOnly;
    how.parentWindow = this;
    ExportDatasetToSpreadsheet(spravki_.SmpSklRazp, how);
}
