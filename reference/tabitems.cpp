#include "reference/tabitems.h"

#include "data/dmns.h"
#include "data/dmpers.h"
#include "common/gridexport.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbimage.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/fielddatalink.h"
#include "reference/formmateriali.h"
#include "reference/materials.h"
#include "reference/places.h"
#include "reference/formmiarki.h"
#include "reference/formtipsklad.h"
#include "platform/widgets/radiogroup.h"
#include "platform/widgets/handlers.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

TabItems::TabItems(TDMNS& dm, TDMPers& pers, QWidget* parent)
    : QWidget(parent), dm_(dm), pers_(pers), lists_(*this, dm.SQLConnectNS)
{
    setObjectName(QStringLiteral("TabSheet1"));
    SmpDataset& items = dm_.SmpViewMateriali;

    // The columns are the list's visible fields, as the column settings leave them; each column
    // is made wide enough for its caption.
    DBGrid1 = lists_.grid("DBGrid1", items, {}, true);
    connect(lists_.sourceFor(items), &DataSource::dataReset, DBGrid1, [this] {
        QHeaderView* header = DBGrid1->horizontalHeader();
        for (int c = 0; c < DBGrid1->model()->columnCount(); ++c) {
            const QString caption = DBGrid1->model()->headerData(c, Qt::Horizontal).toString();
            header->resizeSection(c, qMax(header->sectionSize(c), DBGrid1->fontMetrics().horizontalAdvance(caption) + 24));
        }
    });
    Handlers::connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TabItems::SpdBtnRedakciaMatClick);

    auto* details = new QFormLayout;
    details->setVerticalSpacing(1);
    details->setHorizontalSpacing(4);
    const struct { const char* name; const char* caption; const char* field; } shown[] = {
        {"DBTextEdCena", "Ед.цена калк.", "ED_CENA"},
        {"DBTextProdCena", "На едро ЛВ", "PRODAGNACENA"},
        {"DBTextProdCenaLvDrebno", "На дребно ЛВ", "PROD_CENA_LV_DREBNO"},
        {"DBTextProdCenaUsd", "Прод.ц. USD", "PRODAGNACENA_USD"},
        {"DBTextProdCenaUsdDrebno", "На дребно USD", "PROD_CENA_USD_DREBNO"},
        {"DBTextProdCenaEur", "Прод.ц.EUR", "PRODAGNACENA_EUR"},
        {"DBTextProdCenaEurDrebno", "На дребно EUR", "PROD_CENA_EUR_DREBNO"},
        {"DBTextSeria", "Серия -", "SeriaDaNe"},
        {"DBTextIzch", "За сумиране -", "IzchDaNe"},
        {"DBTextSum", "Сумарно поле -", "SumDaNe"},
        {"DBTextMinKol", "Мин.колич.", "MIN_KOL"},
        {"DBTextMaxKol", "Мак.колич.", "MAX_KOL"},
    };
    for (const auto& s : shown) {
        DBText* t = lists_.text(s.name, items, s.field);
        t->setMaximumWidth(110);  // the list keeps the width
        details->addRow(QString::fromUtf8(s.caption), t);
    }
    auto* picture = new DBImage;
    picture->setObjectName(QStringLiteral("DBImgSnimkaMat"));
    picture->setDataSource(lists_.sourceFor(items));
    picture->setDataField(QStringLiteral("SNIMKA"));
    picture->setReadOnly(true);
    picture->setStretch(true);
    picture->setFixedSize(80, 70);
    picture->setFrameShape(QFrame::StyledPanel);

    RdGrpIzbSklMat = new RadioGroup(QStringLiteral("RdGrpIzbSklMat"), QStringLiteral("Избор на склад за материали "),
                                    {QStringLiteral("Всички"), QStringLiteral("По избор")});
    RdGrpIzbSklMat->setItemIndex(1);
    Handlers::connect(RdGrpIzbSklMat, &RadioGroup::clicked, this, &TabItems::RdGrpIzbSklMatClick);
    DBLkpCmbIzbSklad = new DBLookupComboBox;
    DBLkpCmbIzbSklad->setObjectName(QStringLiteral("DBLkpCmbIzbSklad"));
    DBLkpCmbIzbSklad->setListSource(lists_.sourceFor(dm_.SmpIzbSklad));
    DBLkpCmbIzbSklad->setKeyField(QStringLiteral("NSKLAD"));
    DBLkpCmbIzbSklad->setListField(QStringLiteral("SKLAD"));
    DBLkpCmbIzbSklad->setMinimumWidth(150);
    Handlers::connect(DBLkpCmbIzbSklad, &DBLookupComboBox::closeUp, this, &TabItems::DBLkpCmbIzbSkladCloseUp);

    auto* excel = makeButton("SpdBtnMatEXEL", QStringLiteral(" -> Excel"), &TabItems::SpdBtnMatEXELClick);
    auto* itemButtons = new QHBoxLayout;
    itemButtons->addWidget(
        makeButton("SpdBtnNewMat", QStringLiteral("Нов материал,поуфабр.,изделие,комплект"), &TabItems::SpdBtnNewMatClick));
    itemButtons->addWidget(makeButton("SpdBtnRedakciaMat", QStringLiteral("Редакция"), &TabItems::SpdBtnRedakciaMatClick));
    itemButtons->addWidget(makeButton("SpdBtnDelMat", QStringLiteral("Изтриване"), &TabItems::SpdBtnDelMatClick));
    itemButtons->addWidget(excel);
    itemButtons->addStretch(1);
    auto* exit = lists_.exitButton("SpdBtnIzhodMat");
    itemButtons->addWidget(exit);

    auto* top = new QHBoxLayout;
    top->addWidget(DBGrid1, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(details);
    auto* choice = new QVBoxLayout;
    choice->addWidget(RdGrpIzbSklMat);
    choice->addWidget(DBLkpCmbIzbSklad);
    auto* pictureAndChoice = new QHBoxLayout;
    pictureAndChoice->addWidget(picture, 0, Qt::AlignTop);
    pictureAndChoice->addLayout(choice);
    right->addLayout(pictureAndChoice);
    right->addStretch(1);
    top->addLayout(right);

    // The captions wrap onto a second line rather than widen the window beyond the screen.
    const auto group = [](const QString& caption, QWidget* grid, QLayout* buttons) {
        auto* box = new QGroupBox;
        auto* l = new QVBoxLayout(box);
        l->setContentsMargins(4, 4, 4, 4);
        auto* title = new QLabel(caption);
        title->setWordWrap(true);
        l->addWidget(title);
        if (buttons) l->addLayout(buttons);
        l->addWidget(grid, 1);
        box->setMaximumHeight(180);
        return box;
    };
    const auto buttonRow = [](std::initializer_list<QToolButton*> list) {
        auto* l = new QHBoxLayout;
        for (QToolButton* b : list) l->addWidget(b);
        l->addStretch(1);
        return l;
    };
    DBGrid11 = lists_.grid("DBGrid11", dm_.SmpTipSklad, {{"NSKLAD", "№"}, {"SKLAD", "Име на склад"}, {"SklObDaNe", "Скл.об."}},
                        true);
    Handlers::connect(DBGrid11, &QAbstractItemView::doubleClicked, this, &TabItems::SpdBtnRedSkladClick);
    DBGrid3 = lists_.grid("DBGrid3", dm_.SmpTipSklOb, {{"NSKL_OBEKT", "№"}, {"IME_SKL_OBEKT", "Име на складов обект"}}, false);
    DBGrid2 = lists_.grid("DBGrid2", dm_.SmpMiarka,
                       {{"NMIARKA", "№ м/ка"}, {"MIARKA_BG", "Мярка BG"}, {"MIARKA_LAT", "Мярка LAT"}}, true);
    Handlers::connect(DBGrid2, &QAbstractItemView::doubleClicked, this, &TabItems::SpdBtnRedMkaClick);
    auto* navLayout = new QHBoxLayout;
    navLayout->addWidget(lists_.navigator("DBNavigator3", dm_.SmpTipSklOb));
    navLayout->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(group(QStringLiteral("Дефиниране на фирмени складове "), DBGrid11,
                            buttonRow({makeButton("SpdBtnNewSklad", QStringLiteral("Нов"), &TabItems::SpdBtnNewSkladClick),
                                       makeButton("SpdBtnRedSklad", QStringLiteral("Редакция"), &TabItems::SpdBtnRedSkladClick),
                                       makeButton("SpdBtnDelSklad", QStringLiteral("Изтриване"), &TabItems::SpdBtnDelSkladClick)})),
                      3);
    bottom->addWidget(group(QStringLiteral("Дефиниране на външни складови обекти "), DBGrid3, navLayout), 3);
    bottom->addWidget(group(QStringLiteral("Дефиниране на мерни единици "), DBGrid2,
                            buttonRow({makeButton("SpdBtnNewMka", QStringLiteral("Нова"), &TabItems::SpdBtnNewMkaClick),
                                       makeButton("SpdBtnRedMka", QStringLiteral("Редакция"), &TabItems::SpdBtnRedMkaClick),
                                       makeButton("SpdBtnDelMka", QStringLiteral("Изтр."), &TabItems::SpdBtnDelMkaClick)})),
                      4);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top, 1);
    layout->addLayout(itemButtons);
    layout->addLayout(bottom);
}

QToolButton* TabItems::makeButton(const char* name, const QString& text, void (TabItems::*handler)())
{
    return Handlers::makeButton(name, text, this, handler);
}

void TabItems::FormShow()
{
    for (SmpDataset* ds : {&dm_.SmpDaNe, &dm_.SmpTipSklad, &dm_.SmpMiarka, &dm_.SmpTipSklOb, &dm_.SmpIzbSklad,
                           &dm_.SmpCountry, &dm_.SmpGrad, &dm_.SmpTipKontragent, &pers_.SmpDlygnosti})
        ds->open();
    if (!dm_.SmpViewMateriali.isActive()) RefreshMateriali();
    DBLkpCmbIzbSklad->setEnabled(RdGrpIzbSklMat->itemIndex() == 1);
}

void TabItems::RefreshMateriali()
{
    SmpDataset& ds = dm_.SmpViewMateriali;
    ds.close();
    const bool all = RdGrpIzbSklMat->itemIndex() == 0;
    ds.setParam(QStringLiteral("NSKLADOT"), all ? 1 : izbSkladKey_);
    ds.setParam(QStringLiteral("NSKLADDO"), all ? 1000 : izbSkladKey_);
    ds.open();
}

void TabItems::RdGrpIzbSklMatClick()
{
    DBLkpCmbIzbSklad->setEnabled(RdGrpIzbSklMat->itemIndex() == 1);
    RefreshMateriali();
}

void TabItems::DBLkpCmbIzbSkladCloseUp()
{
    SmpDataset& list = dm_.SmpIzbSklad;
    if (list.isActive() && !list.isEmpty()) izbSkladKey_ = list.fieldByName(QStringLiteral("NSKLAD"))->asInt();
    RefreshMateriali();
}

void TabItems::SpdBtnNewMatClick()
{
    if (!FormMateriali) return;
    if (FormMateriali->open(TFormMateriali::Mode::New)) dm_.materialChanged();
}

void TabItems::SpdBtnRedakciaMatClick()
{
    if (!FormMateriali) return;
    if (!dm_.SmpViewMateriali.isActive() || dm_.SmpViewMateriali.isEmpty()) {
        UiService::current().showMessage(QStringLiteral("Липсват данни за корекция !"));
        return;
    }
    if (FormMateriali->open(TFormMateriali::Mode::Edit)) dm_.materialChanged();
}

void TabItems::SpdBtnDelMatClick()
{
    SmpDataset& items = dm_.SmpViewMateriali;
    const QVariant key = lists_.keyToDelete(items, QStringLiteral("NMATERIAL"), Materials::deleteRefusal,
                                            QStringLiteral("Липстват материали !"),
                                            QStringLiteral(" Изтриване на материал ? "));
    if (key.isNull()) return;
    Materials::remove(dm_.SQLConnectNS, key);
    items.refresh();
    dm_.materialChanged();
}

void TabItems::SpdBtnMatEXELClick()
{
    SpreadsheetExport how;
    how.parentWindow = this;  // an empty list writes nothing
    ExportDatasetToSpreadsheet(dm_.SmpViewMateriali, how);
}

void TabItems::SpdBtnNewSkladClick()
{
    ListControls::openEditor(FormTipSklad, dm_.SmpTipSklad, true, {});
}

void TabItems::SpdBtnRedSkladClick()
{
    ListControls::openEditor(FormTipSklad, dm_.SmpTipSklad, false, QStringLiteral("Няма въведен склад !"));
}

void TabItems::SpdBtnDelSkladClick()
{
    lists_.deleteRow(dm_.SmpTipSklad, ReferenceLists::warehouseDeleteRefusal, QStringLiteral("NSKLAD"),
                  QStringLiteral(" Изтриване на Склад ? "));
}

void TabItems::SpdBtnNewMkaClick() { ListControls::openEditor(FormMiarki, dm_.SmpMiarka, true, {}); }

void TabItems::SpdBtnRedMkaClick()
{
    ListControls::openEditor(FormMiarki, dm_.SmpMiarka, false,
                   QStringLiteral("Няма въведени мерни единици !"));
}

void TabItems::SpdBtnDelMkaClick()
{
    lists_.deleteRow(dm_.SmpMiarka, ReferenceLists::unitDeleteRefusal, QStringLiteral("NMIARKA"),
                  QStringLiteral(" Изтриване на Мярка ? "));
}
