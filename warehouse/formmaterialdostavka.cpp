#include "warehouse/formmaterialdostavka.h"

#include "data/dmns.h"
#include "data/dmsklad.h"
#include "platform/base/clock.h"
#include "platform/base/formats.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dbfactory.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/handlers.h"
#include "platform/widgets/keyfilter.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>

TFormMaterialDostavka::TFormMaterialDostavka(TDMNS& dm, TDMSklad& sklad, QWidget* parent)
    : Form(parent), dm_(dm), sklad_(sklad), lines_(new DataSource(&sklad.SmpDostavka, this))
{
    setObjectName(QStringLiteral("FormMaterialDostavka"));
    setWindowTitle(QStringLiteral("Доставка - избор на материал !"));
    const auto saves = [this](QWidget* w) { Handlers::enterSaves(w, [this] { SpdBtnUpdateClick(); }); };

    DBLookupComboBox1 = DbControls::makeLookup("DBLookupComboBox1", lines_, "NMATERIAL",
                                               new DataSource(&dm.SmpMateriali, this), "NMATERIAL", "IMEMATERIAL");
    DBLookupComboBox1->setMinimumWidth(380);
    saves(DBLookupComboBox1);
    DBLkpCmbSklObArtik = new DBLookupComboBox;
    DBLkpCmbSklObArtik->setObjectName(QStringLiteral("DBLkpCmbSklObArtik"));
    DBLkpCmbSklObArtik->setListSource(new DataSource(&sklad.SmpViewMatSklOb, this));
    DBLkpCmbSklObArtik->setKeyField(QStringLiteral("NMATERIAL"));
    DBLkpCmbSklObArtik->setListField(QStringLiteral("IMEMATERIAL"));
    DBLkpCmbSklObArtik->setMinimumWidth(380);
    auto* material = new QVBoxLayout;
    material->addWidget(new QLabel(QStringLiteral("Материал")));
    material->addWidget(DBLookupComboBox1);
    material->addWidget(DBLkpCmbSklObArtik);

    auto* form = new QFormLayout;
    const auto edit = [&](const char* name, const char* field, const char* caption, bool enterSaves) {
        DBEdit* e = DbControls::makeEdit(name, lines_, field);
        if (enterSaves) saves(e);
        form->addRow(QString::fromUtf8(caption), e);
        return e;
    };
    DBEdit1 = edit("DBEdit1", "KOLICHESTVO", "Количество", true);
    DBEdit2 = edit("DBEdit2", "ED_CENA_LV", "Ед.цена лв.", true);
    DBEdit3 = edit("DBEdit3", "USD", "Ед.цена USD", true);
    DBEdit4 = edit("DBEdit4", "EUR", "Ед.цена EUR", true);
    DBEdit5 = edit("DBEdit5", "PROCENT_DDS", "% ДДС", false);
    DBEdit6 = edit("DBEdit6", "PROCENT_OTST", "% Отст.", false);
    DBEdit7 = edit("DBEdit7", "DATEGODNOST", "Годност до", false);

    GrpBoxCenaCalc = new QGroupBox(QStringLiteral("Цена за калкулация"));
    GrpBoxCenaCalc->setObjectName(QStringLiteral("GrpBoxCenaCalc"));
    DBText1 = new DBText;
    DBText1->setObjectName(QStringLiteral("DBText1"));
    DBText1->setDataSource(lines_);
    DBText1->setDataField(QStringLiteral("EdCenaCalc"));
    EditCenaCalc = new QLineEdit(QStringLiteral("0.00"));
    EditCenaCalc->setObjectName(QStringLiteral("EditCenaCalc"));
    KeyFilter::amountsOnly(EditCenaCalc, false);
    auto* calc = new QHBoxLayout(GrpBoxCenaCalc);
    calc->addWidget(new QLabel(QStringLiteral("Стара:")));
    calc->addWidget(DBText1, 1);
    calc->addWidget(new QLabel(QStringLiteral("Нова:")));
    calc->addWidget(EditCenaCalc, 1);

    SpdBtnUpdate = Handlers::makeButton("SpdBtnUpdate", QStringLiteral("Запис"), this, &TFormMaterialDostavka::SpdBtnUpdateClick);
    SpdBtnExit = Handlers::makeButton("SpdBtnExit", QStringLiteral("Изход"));
    connect(SpdBtnExit, &QToolButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SpdBtnUpdate);
    buttons->addWidget(SpdBtnExit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(material);
    layout->addLayout(form);
    layout->addWidget(GrpBoxCenaCalc);
    layout->addLayout(buttons);
    Handlers::connect(DBLookupComboBox1, &DBLookupComboBox::closeUp, this, &TFormMaterialDostavka::DBLookupComboBox1CloseUp);
}

bool TFormMaterialDostavka::open(const DeliveryLineContext& context)
{
    context_ = context;
    posted_ = false;
    UiService::current().showModal(this);
    return posted_;
}

void TFormMaterialDostavka::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (!event->spontaneous()) Handlers::run([this] { FormShow(); });
}

void TFormMaterialDostavka::FormShow()
{
    const bool object = context_.warehouseObject;
    DBLookupComboBox1->setVisible(!object);
    DBLkpCmbSklObArtik->setVisible(object);
    GrpBoxCenaCalc->setEnabled(!object);
    if (object) {
        SmpDataset& articles = sklad_.SmpViewMatSklOb;
        articles.close();
        articles.open();
        DBLkpCmbSklObArtik->setKeyValue(sklad_.SmpDostavka.value(QStringLiteral("NMATERIAL")));
        DBLkpCmbSklObArtik->setFocus();
    } else {
        DBLookupComboBox1->setFocus();
    }
    DBLookupComboBox1CloseUp();
}

void TFormMaterialDostavka::DBLookupComboBox1CloseUp()
{
    const SmpField* price = sklad_.SmpDostavka.findField(QStringLiteral("EdCenaCalc"));
    EditCenaCalc->setText(price && !price->isNull() ? Formats::formatNumber(price->asFloat(), QStringLiteral("0.000"))
                                                    : QStringLiteral("0.00"));
}

void TFormMaterialDostavka::closeEvent(QCloseEvent* event)
{
    // Leaving without "Запис" drops the typed values; a line appended for the dialog goes too.
    if (lines_->isEditing()) sklad_.SmpDostavka.cancel();
    Form::closeEvent(event);
}

void TFormMaterialDostavka::SpdBtnUpdateClick()
{
    if (!Handlers::commitFocusedEdit(this)) return;
    if (!lines_->isEditing()) {
        close();
        return;
    }
    if (context_.warehouseObject) RecordWarehouseObjectLine();
    else RecordDeliveryLine();
}

void TFormMaterialDostavka::RecordDeliveryLine()
{
    SmpDataset& lines = sklad_.SmpDostavka;
    UiService& ui = UiService::current();
    const int material = lines.fieldByName(QStringLiteral("NMATERIAL"))->asInt();
    if (Deliveries::documentStored(dm_.SQLConnectNS, material, context_.supplier, context_.document, context_.documentDate)) {
        ui.showMessage(Deliveries::duplicateDocumentMessage());
        return;
    }
    if (lines.fieldByName(QStringLiteral("KOLICHESTVO"))->asFloat() <= 0 || material <= 0) {
        ui.showMessage(QStringLiteral("Не е въведен материал или количество!"));
        return;
    }
    const auto num = [&lines](const char* f) { return lines.fieldByName(QString::fromLatin1(f))->asFloat(); };
    if (num("ED_CENA_LV") + num("USD") + num("EUR") == 0) {
        ui.showMessage(QStringLiteral("Не е въведена единична цена или цена за калкулация !"));
        return;
    }
    if (EditCenaCalc->text().isEmpty()) EditCenaCalc->setText(QStringLiteral("0"));
    const QString name = lines.fieldByName(QStringLiteral("ImeMaterial"))->asString();
    const double calc = Formats::textToNumber(EditCenaCalc->text()).value_or(0);
    if (calc > 0 && !context_.priceCheckExempt && context_.agreed)
        Deliveries::offerCalculationPrice(dm_.SQLConnectNS, *context_.agreed, material, name, calc,
                                          [&ui](const QString& question) { return ui.askYesNo(question); });
    // A date long past is most likely mistyped: the user is told, the date stays as typed.
    const SmpField* expiry = lines.fieldByName(QStringLiteral("DATEGODNOST"));
    if (!expiry->isNull() && Deliveries::expiryLongPast(expiry->asDate(), Clock::today()))
        ui.showMessage(Deliveries::expiryLongPastMessage(name, expiry->asDate()));
    lines.post();
    posted_ = true;
    close();
}

void TFormMaterialDostavka::RecordWarehouseObjectLine()
{
    SmpDataset& lines = sklad_.SmpDostavka;
    UiService& ui = UiService::current();
    const int article = DBLkpCmbSklObArtik->keyValue().toInt();
    if (Deliveries::objectDocumentStored(dm_.SQLConnectNS, article, context_.supplier, context_.document,
                                         context_.documentDate)) {
        ui.showMessage(Deliveries::objectDuplicateDocumentMessage());
        return;
    }
    if (lines.fieldByName(QStringLiteral("KOLICHESTVO"))->asFloat() <= 0 || DBEdit1->text().isEmpty() || article <= 0) {
        ui.showMessage(QStringLiteral("Не е въведен материал или количество!"));
        return;
    }
    const auto num = [&lines](const char* f) { return lines.fieldByName(QString::fromLatin1(f))->asFloat(); };
    if (num("ED_CENA_LV") + num("USD") + num("EUR") == 0) ui.showMessage(QStringLiteral("Не е въведена единична цена !"));
    lines.setValue(QStringLiteral("NMATERIAL"), article);
    lines.post();
    posted_ = true;
    close();
}
