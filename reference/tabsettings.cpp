#include "reference/tabsettings.h"

#include "common/columnsettings.h"
#include "platform/ui/uiservice.h"
#include "platform/widgets/handlers.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

// The column settings tab: which fields ten lists show, and the decimals of quantities and prices.

namespace CS = ColumnSettings;

TabColumnSettings::TabColumnSettings(ColumnSettings::Registry& settings, QWidget* parent)
    : QWidget(parent), settings_(settings)
{
    setObjectName(QStringLiteral("TabSheet5"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(4);

    QListWidget** lists[CS::kLists] = {&CheckLBSklNalich,     &CheckLBSklDvig,      &CheckLBSklNalichObsto,
                                       &CheckLBSklNalichKymData, &CheckLBSklMatCeni, &CheckLBSklMatSpravka,
                                       &CheckLBSklRazp,       &CheckLBRealizacia,   &CheckLBSprRealizacia,
                                       &CheckLBViewMat};
    constexpr int kColumns = 4;
    for (int i = 0; i < CS::kLists; ++i) {
        const CS::ListSpec& def = CS::lists()[size_t(i)];
        auto* box = new QGroupBox(QString::fromUtf8(def.caption));
        box->setObjectName(QStringLiteral("GrpBox") + QString::fromLatin1(def.checkList).mid(7));
        // The minimum the title asks for counts its padding and trailing blanks; four columns of the
        // window's width still show every caption whole.
        box->setMinimumWidth(150);
        auto* list = new QListWidget;
        list->setObjectName(QString::fromLatin1(def.checkList));
        list->setUniformItemSizes(true);
        auto* l = new QVBoxLayout(box);
        l->setContentsMargins(3, 3, 3, 3);
        l->addWidget(list);
        grid->addWidget(box, i / kColumns, i % kColumns);
        *lists[i] = list;
    }

    auto* digitsBox = new QGroupBox;
    digitsBox->setObjectName(QStringLiteral("GrpBoxZnaci"));
    auto* dl = new QGridLayout(digitsBox);
    dl->setContentsMargins(6, 4, 6, 4);
    // The group's caption is longer than its place: it wraps on top instead of being cut.
    auto* caption = new QLabel(QStringLiteral("Определяне броя на знаците след десетичната точка при : "));
    caption->setWordWrap(true);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    dl->addWidget(caption, 0, 0, 1, 2);
    QSpinBox** spins[CS::kDigits] = {&SpinEditArtikul, &SpinEditEdCenaSklad, &SpinEditProd};
    for (int k = 0; k < CS::kDigits; ++k) {
        const CS::DigitSpec& def = CS::digits()[size_t(k)];
        auto* spin = new QSpinBox;
        spin->setObjectName(QString::fromLatin1(def.spinBox));
        spin->setRange(0, CS::kMaxDecimals);
        spin->setValue(def.initial);
        auto* label = new QLabel(QString::fromUtf8(def.label));
        label->setWordWrap(true);
        label->setBuddy(spin);
        dl->addWidget(label, k + 1, 0);
        dl->addWidget(spin, k + 1, 1);
        *spins[k] = spin;
    }
    BitBtnZapVisibleFields = new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Запис настройки"));
    BitBtnZapVisibleFields->setObjectName(QStringLiteral("BitBtnZapVisibleFields"));
    Handlers::connect(BitBtnZapVisibleFields, &QPushButton::clicked, this, &TabColumnSettings::BitBtnZapVisibleFieldsClick);
    dl->addWidget(BitBtnZapVisibleFields, CS::kDigits + 1, 0, 1, 2, Qt::AlignRight);
    const int lastRow = (CS::kLists - 1) / kColumns;
    grid->addWidget(digitsBox, lastRow, CS::kLists % kColumns, 1, kColumns - CS::kLists % kColumns);
    for (int c = 0; c < kColumns; ++c) grid->setColumnStretch(c, 1);

    keptColumnLines_ = QList<QByteArray>(CS::kLists);
    // A list whose dataset opens with new fields shows them at once.
    settings_.setListObserver([self = QPointer<TabColumnSettings>(this)](int list) {
        if (self) self->fillColumnList(list);
    });
}

QList<QListWidget*> TabColumnSettings::columnCheckLists() const
{
    return {CheckLBSklNalich,  CheckLBSklDvig, CheckLBSklNalichObsto, CheckLBSklNalichKymData, CheckLBSklMatCeni,
            CheckLBSklMatSpravka, CheckLBSklRazp, CheckLBRealizacia,  CheckLBSprRealizacia,    CheckLBViewMat};
}

namespace {
void showList(QListWidget* list, const CS::ListState& state)
{
    list->clear();
    for (int k = 0; k < state.labels.size(); ++k) {
        auto* item = new QListWidgetItem(state.labels[k], list);
        item->setToolTip(state.labels[k]);  // the column is narrower than some captions
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(state.ticked[k] ? Qt::Checked : Qt::Unchecked);
    }
}
} // namespace

void TabColumnSettings::fillColumnList(int list) { showList(columnCheckLists()[list], settings_.listState(list)); }

void TabColumnSettings::ApplyColumnSettings()
{
    const QList<QSpinBox*> spins = {SpinEditArtikul, SpinEditEdCenaSklad, SpinEditProd};
    std::array<int, CS::kDigits> current{};
    for (int k = 0; k < CS::kDigits; ++k) current[size_t(k)] = spins[k]->value();
    const CS::Applied applied = settings_.apply(current);
    const QList<QListWidget*> lists = columnCheckLists();
    for (int i = 0; i < CS::kLists; ++i) {
        showList(lists[i], applied.lists[size_t(i)]);
        keptColumnLines_[i] = applied.keptLines[size_t(i)];
    }
    for (int k = 0; k < CS::kDigits; ++k) spins[k]->setValue(applied.digits[size_t(k)]);
    if (!applied.problems.isEmpty()) UiService::current().showMessage(CS::problemsMessage(applied.problems));
}

void TabColumnSettings::BitBtnZapVisibleFieldsClick()
{
    std::array<QList<bool>, CS::kLists> ticked;
    std::array<QByteArray, CS::kLists> kept;
    const QList<QListWidget*> lists = columnCheckLists();
    for (int i = 0; i < CS::kLists; ++i) {
        for (int k = 0; k < lists[i]->count(); ++k) ticked[size_t(i)] << (lists[i]->item(k)->checkState() == Qt::Checked);
        kept[size_t(i)] = keptColumnLines_.value(i);
    }
    const std::array<int, CS::kDigits> digitValues = {SpinEditArtikul->value(), SpinEditEdCenaSklad->value(),
                                                      SpinEditProd->value()};
    const QString failure = CS::save(CS::fileContent(ticked, digitValues, kept));
    if (!failure.isEmpty()) {
        UiService::current().showMessage(QStringLiteral("Настройките не могат да бъдат записани във файла\r%1\r(%2) !")
                                             .arg(QDir::toNativeSeparators(CS::filePath()), failure));
        return;
    }
    ApplyColumnSettings();
}
