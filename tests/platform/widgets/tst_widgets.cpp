#include "platform/dataset/saveatonce.h"
#include "platform/dataset/smpdataset.h"
#include "platform/db/connection.h"
#include "platform/ui/application.h"
#include "platform/widgets/datasetmodel.h"
#include "platform/widgets/dbcheckbox.h"
#include "platform/widgets/dbdateedit.h"
#include "platform/widgets/dbedit.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbimage.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbmemo.h"
#include "platform/widgets/dbnavigator.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"
#include "platform/widgets/keyfilter.h"
#include "support/recordingui.h"
#include "support/testdb.h"
#include "support/typing.h"

#include <QAbstractItemModelTester>
#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using State = SmpDataset::State;

namespace {

// QTest::keyClicks types Latin-1 only; Cyrillic keys are sent with their text.
} // namespace
Q_DECLARE_METATYPE(SmpDataset::State)

// The data-aware controls over real datasets of a real database, on real (offscreen) widgets.
// Items (W_ITEM) ordered by key:
//   0: 1 Ябълка 2.5  kind 1 (Плод)     active 1
//   1: 2 Морков 1.2  kind 2 (Зеленчук) active 0
//   2: 3 Мента  12   kind 3 (Билка)    active 1
//   3: 4 Круша  3.4  kind 1 (Плод)     active null
class TstWidgets : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void amountKeys_data();
    void amountKeys();
    void editTypingReachesField_data();
    void editTypingReachesField();
    void editRefusedTextKeepsLastValue_data();
    void editRefusedTextKeepsLastValue();
    void editShowsDisplayTextUnlessFocused();
    void controlsFollowDataset_data();
    void controlsFollowDataset();
    void aggregateTextFollowsEveryRow();
    void selfMadeFieldsFollowReopen();
    void memoTypingReachesField();
    void checkBoxWritesItsValues_data();
    void checkBoxWritesItsValues();
    void lookupChoiceWritesKey_data();
    void lookupChoiceWritesKey();
    void unboundLookupKeepsChosenKey();
    void imagePastedFromClipboard();
    void navigatorButtonsCarryHints_data();
    void navigatorButtonsCarryHints();
    void navigatorActions_data();
    void navigatorActions();
    void navigatorEnabledStates_data();
    void navigatorEnabledStates();
    void gridColumnsAndRowColours();
    void gridCurrentRowFollowsBothWays();
    void gridEditPostsWhenLeavingRow_data();
    void gridEditPostsWhenLeavingRow();
    void gridLookupColumnWritesKey();
    void gridInsertKeyAppendsAndEscCancels();
    void gridClickAfterSaveAtOnceLandsOnClickedRow_data();
    void gridOrdersByColumnTitle();
    void datePickerAndSpinBoxWriteTheirFields();
    void gridFollowsRunTimeFieldChanges();
    void gridBoldRowsAndCellColours();
    void gridClickAfterSaveAtOnceLandsOnClickedRow();
    void modelUnderTester_data();
    void modelUnderTester();
    void largeListShowsLazily();

private:
    void showWindow();
    void focusAway();
    QString itemName(int nitem);
    static QVariant valueAt(const SmpDataset& ds, int row, const QString& field)
    {
        return ds.valueAt(row, ds.fieldByName(field));
    }

    QTemporaryDir dir_;
    QString prepared_;
    int copies_ = 0;
    std::unique_ptr<RecordingUi> ui_;
    std::unique_ptr<SQLConnection> db_;
    std::unique_ptr<SmpDataset> kinds_, items_;
    std::unique_ptr<DataSource> srcKinds_, srcItems_;
    std::unique_ptr<QWidget> window_;
    QLineEdit* elsewhere_ = nullptr;  // takes the focus away from the control under test
};

void TstWidgets::initTestCase()
{
    QVERIFY(dir_.isValid());
    const ConnectionParams p = TestDb::freshCopy(dir_, QStringLiteral("prepared.fdb"));
    prepared_ = dir_.filePath(QStringLiteral("prepared.fdb"));
    SQLConnection c(p);
    c.open();
    c.executeImmediate(QStringLiteral("create table W_KIND (NKIND integer not null primary key, KIND varchar(30))"));
    c.executeImmediate(QStringLiteral(
        "create table W_ITEM (NITEM integer not null primary key, NAME varchar(20), PRICE double precision,"
        " NKIND integer, ACTIVE smallint, PICTURE blob sub_type 0, NOTES varchar(200))"));
    const QStringList kinds{QStringLiteral("Плод"), QStringLiteral("Зеленчук"), QStringLiteral("Билка")};
    for (int i = 0; i < kinds.size(); ++i)
        c.execute(QStringLiteral("insert into W_KIND values (:N, :K)"), {{"N", i + 1}, {"K", kinds[i]}});
    struct Item { int n; const char16_t* name; double price; int kind; QVariant active; };
    const Item items[] = {{1, u"Ябълка", 2.5, 1, 1}, {2, u"Морков", 1.2, 2, 0}, {3, u"Мента", 12.0, 3, 1},
                          {4, u"Круша", 3.4, 1, QVariant()}};
    for (const Item& it : items)
        c.execute(QStringLiteral("insert into W_ITEM (NITEM, NAME, PRICE, NKIND, ACTIVE, NOTES) "
                                 "values (:N, :NAME, :P, :K, :A, :NOTES)"),
                  {{"N", it.n}, {"NAME", QString::fromUtf16(it.name)}, {"P", it.price}, {"K", it.kind},
                   {"A", it.active}, {"NOTES", QStringLiteral("бележка %1").arg(it.n)}});
    c.close();
}

void TstWidgets::init()
{
    ui_ = std::make_unique<RecordingUi>();
    const QString path = dir_.filePath(QStringLiteral("copy%1.fdb").arg(++copies_));
    QVERIFY(QFile::copy(prepared_, path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    db_ = std::make_unique<SQLConnection>(TestDb::paramsFor(path));
    db_->open();

    kinds_ = std::make_unique<SmpDataset>(QStringLiteral("SmpKind"), db_.get());
    kinds_->setTableName(QStringLiteral("W_KIND"));
    kinds_->setIndexFieldNames(QStringLiteral("NKIND"));
    items_ = std::make_unique<SmpDataset>(QStringLiteral("SmpItem"), db_.get());
    items_->setTableName(QStringLiteral("W_ITEM"));
    items_->setIndexFieldNames(QStringLiteral("NITEM"));
    items_->addDataField(QStringLiteral("NITEM"), SmpField::Type::Integer)->displayLabel = QStringLiteral("№");
    items_->addDataField(QStringLiteral("NAME"), SmpField::Type::String)->displayLabel = QStringLiteral("Име");
    SmpField* price = items_->addDataField(QStringLiteral("PRICE"), SmpField::Type::Float);
    price->displayFormat = QStringLiteral("# ##0.00");
    items_->addDataField(QStringLiteral("NKIND"), SmpField::Type::Integer)->visible = false;
    items_->addDataField(QStringLiteral("ACTIVE"), SmpField::Type::Integer);
    items_->addDataField(QStringLiteral("PICTURE"), SmpField::Type::Bytes)->visible = false;
    items_->addDataField(QStringLiteral("NOTES"), SmpField::Type::String)->visible = false;
    items_->addLookupField(QStringLiteral("KindName"), kinds_.get(), QStringLiteral("NKIND"), QStringLiteral("NKIND"),
                           QStringLiteral("KIND"))
        ->displayLabel = QStringLiteral("Вид");
    items_->onNewRecord = [](SmpDataset& ds) { ds.setValue(QStringLiteral("NITEM"), 90 + ds.recordCount()); };
    kinds_->open();
    items_->open();
    srcKinds_ = std::make_unique<DataSource>(kinds_.get());
    srcItems_ = std::make_unique<DataSource>(items_.get());
    window_ = std::make_unique<QWidget>();
    window_->resize(640, 420);
    new QVBoxLayout(window_.get());
    elsewhere_ = new QLineEdit(window_.get());
    window_->layout()->addWidget(elsewhere_);
}

void TstWidgets::cleanup()
{
    window_.reset();
    srcItems_.reset();
    srcKinds_.reset();
    items_.reset();
    kinds_.reset();
    db_.reset();
    ui_.reset();
}

void TstWidgets::showWindow()
{
    window_->show();
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void TstWidgets::focusAway() { elsewhere_->setFocus(); }

QString TstWidgets::itemName(int nitem)
{
    const DbResult r = db_->query(QStringLiteral("select NAME from W_ITEM where NITEM = :N"), {{"N", nitem}});
    return r.isEmpty() ? QString() : r.value(0, QStringLiteral("NAME")).toString();
}

// ---- edit box -------------------------------------------------------------------------------

void TstWidgets::amountKeys_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("decimal comma") << "1,5" << "1.5";
    QTest::newRow("letters dropped") << "12a.3x" << "12.3";
    QTest::newRow("sign dropped") << "-4,25" << "4.25";
}

void TstWidgets::amountKeys()
{
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    auto* edit = new QLineEdit(window_.get());
    window_->layout()->addWidget(edit);
    KeyFilter::amountsOnly(edit, false);
    typeText(edit, keys);
    QCOMPARE(edit->text(), shown);
}

void TstWidgets::editTypingReachesField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("digitsOnly");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("messages");  // a number box tells why it dropped a key
    QTest::newRow("text") << "NAME" << false << "Дюля" << "Дюля" << QVariant(QStringLiteral("Дюля")) << 0;
    QTest::newRow("text cut at the column size")
        << "NAME" << false << "абвгдежзийклмнопрстуфхцч" << "абвгдежзийклмнопрсту"
        << QVariant(QStringLiteral("абвгдежзийклмнопрсту")) << 0;
    QTest::newRow("float with point") << "PRICE" << false << "12.75" << "12.75" << QVariant(12.75) << 0;
    QTest::newRow("float with comma and sign") << "PRICE" << false << "-3,5" << "-3,5" << QVariant(-3.5) << 0;
    QTest::newRow("letters dropped") << "PRICE" << false << "1а2b" << "12" << QVariant(12.0) << 2;
    QTest::newRow("second point dropped") << "PRICE" << false << "1.2.3" << "1.23" << QVariant(1.23) << 1;
    QTest::newRow("minus only in front") << "PRICE" << false << "4-2" << "42" << QVariant(42.0) << 1;
    QTest::newRow("integer takes no point") << "NKIND" << false << "2.5" << "25" << QVariant(25) << 1;
    QTest::newRow("digits only, with a beep") << "NAME" << true << "7a-8.9 " << "789" << QVariant(QStringLiteral("789"))
                                              << 0;
}

void TstWidgets::editTypingReachesField()
{
    QFETCH(QString, field);
    QFETCH(bool, digitsOnly);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(QVariant, value);
    QFETCH(int, messages);
    auto* edit = new DBEdit(window_.get());
    window_->layout()->addWidget(edit);
    edit->setDataSource(srcItems_.get());
    edit->setDataField(field);
    edit->setDigitsOnly(digitsOnly);
    showWindow();
    items_->moveTo(1);
    edit->setFocus();
    edit->selectAll();
    QCOMPARE(items_->state(), State::Browse);

    typeText(edit, keys);
    QCOMPARE(edit->text(), shown);
    QCOMPARE(items_->state(), State::Edit);
    QCOMPARE(items_->fieldByName(field)->value(), value);  // written while typing
    focusAway();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message).size(), messages);
    QCOMPARE(ui_->log.size(), messages);
    items_->post();
    QCOMPARE(items_->changeCount(), 1);
    QCOMPARE(valueAt(*items_, 1, field), value);
}

void TstWidgets::editRefusedTextKeepsLastValue_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("restored");
    QTest::newRow("letters in a number") << "PRICE" << false << "12а" << "„12а“ не е валидно число !" << "1.20";
    QTest::newRow("a lone minus") << "PRICE" << true << "-" << "„-“ не е валидно число !" << "1.20";
    QTest::newRow("a fraction for an integer") << "NKIND" << false << "1.5" << "„1.5“ не е валидно цяло число !" << "2";
}

void TstWidgets::editRefusedTextKeepsLastValue()
{
    QFETCH(QString, field);
    QFETCH(bool, typed);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, restored);
    auto* edit = new DBEdit(window_.get());
    window_->layout()->addWidget(edit);
    edit->setDataSource(srcItems_.get());
    edit->setDataField(field);
    showWindow();
    items_->moveTo(1);
    const QVariant before = items_->fieldByName(field)->value();
    edit->setFocus();
    edit->selectAll();
    if (typed) typeText(edit, text);
    else edit->setText(text);  // set by code: not filtered by the keys
    QCOMPARE(edit->text(), text);
    focusAway();

    QCOMPARE(ui_->texts(RecordingUi::Kind::Message), QStringList{message});
    QCOMPARE(items_->fieldByName(field)->value(), before);
    QCOMPARE(edit->text(), restored);
    items_->post();
    QCOMPARE(items_->changeCount(), 0);
}

void TstWidgets::editShowsDisplayTextUnlessFocused()
{
    auto* edit = new DBEdit(window_.get());
    window_->layout()->addWidget(edit);
    edit->setDataSource(srcItems_.get());
    edit->setDataField(QStringLiteral("PRICE"));
    showWindow();
    items_->moveTo(2);
    QCOMPARE(edit->text(), QStringLiteral("12.00"));
    edit->setFocus();
    QCOMPARE(edit->text(), QStringLiteral("12"));
    focusAway();
    QCOMPARE(edit->text(), QStringLiteral("12.00"));
    QCOMPARE(items_->state(), State::Browse);  // looking is not editing
}

// ---- the controls follow the dataset --------------------------------------------------------

void TstWidgets::controlsFollowDataset_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("price");
    QTest::addColumn<int>("active");  // Qt::CheckState
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("notes");
    QTest::newRow("opened") << "" << "Ябълка" << "2.50" << int(Qt::Checked) << "Плод" << "бележка 1";
    QTest::newRow("next") << "next" << "Морков" << "1.20" << int(Qt::Unchecked) << "Зеленчук" << "бележка 2";
    QTest::newRow("last, null flag") << "last" << "Круша" << "3.40" << int(Qt::PartiallyChecked) << "Плод"
                                     << "бележка 4";
    QTest::newRow("changed by code") << "set" << "Слива" << "7.00" << int(Qt::Checked) << "Билка" << "нова";
    QTest::newRow("change cancelled") << "set cancel" << "Ябълка" << "2.50" << int(Qt::Checked) << "Плод"
                                      << "бележка 1";
    QTest::newRow("refreshed") << "db refresh" << "Сушена ябълка" << "2.50" << int(Qt::Checked) << "Плод"
                               << "бележка 1";
    QTest::newRow("sorted") << "sort" << "Мента" << "12.00" << int(Qt::Checked) << "Билка" << "бележка 3";
    QTest::newRow("filtered to nothing") << "empty" << "" << "" << int(Qt::Unchecked) << "" << "";
    QTest::newRow("closed") << "close" << "" << "" << int(Qt::Unchecked) << "" << "";
    QTest::newRow("source disabled") << "disable" << "" << "" << int(Qt::Unchecked) << "" << "";
}

void TstWidgets::controlsFollowDataset()
{
    QFETCH(QString, operation);
    auto* name = new DBEdit(window_.get());
    auto* price = new DBText(window_.get());
    auto* activeBox = new DBCheckBox(QStringLiteral("Активен"), window_.get());
    auto* kind = new DBLookupComboBox(window_.get());
    auto* notes = new DBMemo(window_.get());
    name->setDataSource(srcItems_.get());
    name->setDataField(QStringLiteral("NAME"));
    price->setDataSource(srcItems_.get());
    price->setDataField(QStringLiteral("PRICE"));
    activeBox->setDataSource(srcItems_.get());
    activeBox->setDataField(QStringLiteral("ACTIVE"));
    kind->setDataSource(srcItems_.get());
    kind->setDataField(QStringLiteral("NKIND"));
    kind->setListSource(srcKinds_.get());
    kind->setKeyField(QStringLiteral("NKIND"));
    kind->setListField(QStringLiteral("KIND"));
    notes->setDataSource(srcItems_.get());
    notes->setDataField(QStringLiteral("NOTES"));

    if (operation == QLatin1String("next")) items_->next();
    else if (operation == QLatin1String("last")) items_->last();
    else if (operation.startsWith(QLatin1String("set"))) {
        items_->edit();
        items_->setValue(QStringLiteral("NAME"), QStringLiteral("Слива"));
        items_->setValue(QStringLiteral("PRICE"), 7);
        items_->setValue(QStringLiteral("NKIND"), 3);
        items_->setValue(QStringLiteral("NOTES"), QStringLiteral("нова"));
        if (operation.endsWith(QLatin1String("cancel"))) items_->cancel();
    } else if (operation == QLatin1String("db refresh")) {
        db_->execute(QStringLiteral("update W_ITEM set NAME = 'Сушена ябълка' where NITEM = 1"));
        items_->refresh();
    } else if (operation == QLatin1String("sort")) {
        items_->setIndexFieldNames(QStringLiteral("PRICE DESC"));
        items_->first();
    } else if (operation == QLatin1String("empty")) {
        items_->setFilter(QStringLiteral("NITEM>100"));
        items_->setFiltered(true);
    } else if (operation == QLatin1String("close")) items_->close();
    else if (operation == QLatin1String("disable")) srcItems_->setEnabled(false);

    QTEST(name->text(), "name");
    QTEST(price->text(), "price");
    QTEST(int(activeBox->checkState()), "active");
    QTEST(kind->currentText(), "kind");
    QTEST(notes->toPlainText(), "notes");
    QVERIFY(ui_->log.isEmpty());
}

void TstWidgets::aggregateTextFollowsEveryRow()
{
    SmpDataset sums(QStringLiteral("SmpSum"), db_.get());
    sums.setTableName(QStringLiteral("W_ITEM"));
    sums.addDataField(QStringLiteral("NITEM"), SmpField::Type::Integer);
    sums.addDataField(QStringLiteral("PRICE"), SmpField::Type::Float);
    sums.addAggregateField(QStringLiteral("SumPrice"), QStringLiteral("SUM(PRICE)"))->displayFormat =
        QStringLiteral("# ##0.00");
    sums.open();
    DataSource src(&sums);
    DBText total(window_.get());
    total.setDataSource(&src);
    total.setDataField(QStringLiteral("SumPrice"));
    QCOMPARE(total.text(), QStringLiteral("19.10"));
    sums.last();  // a row other than the first changes the total
    sums.edit();
    sums.setValue(QStringLiteral("PRICE"), 13.4);
    sums.post();
    QCOMPARE(total.text(), QStringLiteral("29.10"));
    sums.first();
    sums.remove();
    QCOMPARE(total.text(), QStringLiteral("26.60"));
}

void TstWidgets::selfMadeFieldsFollowReopen()
{
    // The kinds list makes its fields from the columns, anew at every opening and re-read.
    auto* text = new DBText(window_.get());
    text->setDataSource(srcKinds_.get());
    text->setDataField(QStringLiteral("KIND"));
    auto* edit = new DBEdit(window_.get());
    edit->setDataSource(srcKinds_.get());
    edit->setDataField(QStringLiteral("KIND"));
    DatasetModel model(kinds_.get());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(text->text(), QStringLiteral("Плод"));
    kinds_->close();
    QCOMPARE(text->text(), QString());
    QCOMPARE(model.rowCount(), 0);
    kinds_->open();
    kinds_->last();
    QCOMPARE(text->text(), QStringLiteral("Билка"));
    QCOMPARE(edit->text(), QStringLiteral("Билка"));
    QCOMPARE(edit->maxLength(), 30);
    QCOMPARE(model.index(2, 1).data().toString(), QStringLiteral("Билка"));
    db_->execute(QStringLiteral("update W_KIND set KIND = 'Подправка' where NKIND = 3"));
    kinds_->refresh();
    QCOMPARE(text->text(), QStringLiteral("Подправка"));
    QCOMPARE(edit->text(), QStringLiteral("Подправка"));
    QCOMPARE(model.index(2, 1).data().toString(), QStringLiteral("Подправка"));
}

void TstWidgets::memoTypingReachesField()
{
    auto* memo = new DBMemo(window_.get());
    window_->layout()->addWidget(memo);
    memo->setDataSource(srcItems_.get());
    memo->setDataField(QStringLiteral("NOTES"));
    showWindow();
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    typeText(memo, QStringLiteral(" и още"));
    QCOMPARE(items_->state(), State::Edit);
    QCOMPARE(items_->value(QStringLiteral("NOTES")).toString(), QStringLiteral("бележка 1 и още"));
    items_->cancel();
    QCOMPARE(memo->toPlainText(), QStringLiteral("бележка 1"));
}

// ---- check box ------------------------------------------------------------------------------

void TstWidgets::checkBoxWritesItsValues_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("unchecked");
    QTest::addColumn<int>("shownBefore");
    QTest::addColumn<QVariant>("written");
    QTest::addColumn<int>("shownAfter");
    QTest::newRow("ticked to cleared") << 0 << "1" << "0" << int(Qt::Checked) << QVariant(0) << int(Qt::Unchecked);
    QTest::newRow("cleared to ticked") << 1 << "1" << "0" << int(Qt::Unchecked) << QVariant(1) << int(Qt::Checked);
    QTest::newRow("null to ticked") << 3 << "1" << "0" << int(Qt::PartiallyChecked) << QVariant(1) << int(Qt::Checked);
    QTest::newRow("other values") << 0 << "5;1" << "7" << int(Qt::Checked) << QVariant(7) << int(Qt::Unchecked);
    QTest::newRow("other values, first written") << 1 << "5;1" << "7" << int(Qt::PartiallyChecked) << QVariant(5)
                                                 << int(Qt::Checked);
}

void TstWidgets::checkBoxWritesItsValues()
{
    QFETCH(int, row);
    QFETCH(QString, checked);
    QFETCH(QString, unchecked);
    QFETCH(QVariant, written);
    auto* box = new DBCheckBox(QStringLiteral("Активен"), window_.get());
    window_->layout()->addWidget(box);
    box->setDataSource(srcItems_.get());
    box->setDataField(QStringLiteral("ACTIVE"));
    box->setValueChecked(checked);
    box->setValueUnchecked(unchecked);
    showWindow();
    items_->moveTo(row);
    QTEST(int(box->checkState()), "shownBefore");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));  // on the indicator
    QCOMPARE(items_->state(), State::Edit);
    QCOMPARE(items_->value(QStringLiteral("ACTIVE")), written);
    QTEST(int(box->checkState()), "shownAfter");
}

// ---- lookup box -----------------------------------------------------------------------------

void TstWidgets::lookupChoiceWritesKey_data()
{
    QTest::addColumn<bool>("viaPopup");
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("closeUps");
    QTest::newRow("picked in the open list") << true << 2 << 1;
    QTest::newRow("the shown entry picked again") << true << 0 << 1;
    QTest::newRow("arrow key on the closed box") << false << 1 << 0;
}

void TstWidgets::lookupChoiceWritesKey()
{
    QFETCH(bool, viaPopup);
    QFETCH(int, choice);
    QFETCH(int, closeUps);
    auto* box = new DBLookupComboBox(window_.get());
    window_->layout()->addWidget(box);
    box->setDataSource(srcItems_.get());
    box->setDataField(QStringLiteral("NKIND"));
    box->setListSource(srcKinds_.get());
    box->setKeyField(QStringLiteral("NKIND"));
    box->setListField(QStringLiteral("KIND"));
    QSignalSpy closed(box, &DBLookupComboBox::closeUp);
    QSignalSpy chosen(box, &DBLookupComboBox::chosen);
    showWindow();
    box->setFocus();
    QCOMPARE(box->currentText(), QStringLiteral("Плод"));
    QCOMPARE(box->count(), 3);
    kinds_->last();  // the choice, not the display, positions the list

    QVariant keyAtCloseUp;
    connect(box, &DBLookupComboBox::closeUp, box, [&] { keyAtCloseUp = kinds_->value(QStringLiteral("NKIND")); });
    if (viaPopup) {
        box->showPopup();
        QAbstractItemView* list = box->view();
        QVERIFY(list->isVisible());
        list->setCurrentIndex(list->model()->index(choice, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!list->isVisible());
    } else {
        QTest::keyClick(box, Qt::Key_Down);
    }

    const int key = choice + 1;
    QCOMPARE(items_->state(), State::Edit);
    QCOMPARE(items_->value(QStringLiteral("NKIND")), QVariant(key));
    QCOMPARE(items_->fieldByName(QStringLiteral("KindName"))->displayText(),
             kinds_->value(QStringLiteral("KIND")).toString());
    QCOMPARE(kinds_->recNo(), choice);
    QCOMPARE(box->currentIndex(), choice);
    QCOMPARE(int(closed.size()), closeUps);
    QCOMPARE(int(chosen.size()), 1);  // every choice, from the list or the keys
    if (closeUps) QCOMPARE(keyAtCloseUp, QVariant(key));  // the window reads the list's current row
    items_->post();
    QCOMPARE(items_->changeCount(), choice == 0 ? 0 : 1);
}

void TstWidgets::unboundLookupKeepsChosenKey()
{
    auto* box = new DBLookupComboBox(window_.get());
    window_->layout()->addWidget(box);
    box->setListSource(srcKinds_.get());
    box->setKeyField(QStringLiteral("NKIND"));
    box->setListField(QStringLiteral("KIND"));
    QSignalSpy closed(box, &DBLookupComboBox::closeUp);
    showWindow();
    QCOMPARE(box->currentIndex(), -1);  // nothing chosen yet
    box->setKeyValue(2);
    QCOMPARE(box->currentText(), QStringLiteral("Зеленчук"));
    box->showPopup();
    box->view()->setCurrentIndex(box->view()->model()->index(2, 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
    QCOMPARE(closed.size(), 1);
    QCOMPARE(box->keyValue(), QVariant(3));
    QCOMPARE(kinds_->recNo(), 2);
    // The list re-read keeps the chosen key shown.
    kinds_->refresh();
    QCOMPARE(box->currentText(), QStringLiteral("Билка"));
    QCOMPARE(items_->state(), State::Browse);
}

// ---- image ----------------------------------------------------------------------------------

void TstWidgets::imagePastedFromClipboard()
{
    auto* picture = new DBImage(window_.get());
    window_->layout()->addWidget(picture);
    picture->setDataSource(srcItems_.get());
    picture->setDataField(QStringLiteral("PICTURE"));
    QVERIFY(picture->pixmap().isNull());
    QGuiApplication::clipboard()->clear();
    QVERIFY(!picture->pasteFromClipboard());
    QCOMPARE(items_->state(), State::Browse);

    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(image);
    QVERIFY(picture->pasteFromClipboard());
    QCOMPARE(items_->state(), State::Edit);
    const QByteArray stored = items_->value(QStringLiteral("PICTURE")).toByteArray();
    QVERIFY(stored.startsWith("\x89PNG"));
    QCOMPARE(QImage::fromData(stored).pixel(3, 3), QColor(Qt::red).rgb());
    QCOMPARE(picture->pixmap().size(), QSize(8, 6));

    items_->post();
    items_->applyUpdates();
    items_->next();
    QVERIFY(picture->pixmap().isNull());
    items_->close();
    items_->open();
    QCOMPARE(picture->pixmap().size(), QSize(8, 6));  // read back from the database
}

// ---- navigator ------------------------------------------------------------------------------

void TstWidgets::navigatorButtonsCarryHints_data()
{
    QTest::addColumn<DBNavigator::Button>("button");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");
    QTest::newRow("first") << DBNavigator::First << "NavItem_First" << "Първи запис";
    QTest::newRow("prior") << DBNavigator::Prior << "NavItem_Prior" << "Предишен запис";
    QTest::newRow("next") << DBNavigator::Next << "NavItem_Next" << "Следващ запис";
    QTest::newRow("last") << DBNavigator::Last << "NavItem_Last" << "Последен запис";
    QTest::newRow("insert") << DBNavigator::Insert << "NavItem_Insert" << "Вмъкване запис";
    QTest::newRow("delete") << DBNavigator::Delete << "NavItem_Delete" << "Изтриване запис";
    QTest::newRow("edit") << DBNavigator::Edit << "NavItem_Edit" << "Редактиране запис";
    QTest::newRow("post") << DBNavigator::Post << "NavItem_Post" << "Поставяне редакция";
    QTest::newRow("cancel") << DBNavigator::Cancel << "NavItem_Cancel" << "Отказ редакция";
    QTest::newRow("refresh") << DBNavigator::Refresh << "NavItem_Refresh" << "Обновяване запис";
}

void TstWidgets::navigatorButtonsCarryHints()
{
    QFETCH(DBNavigator::Button, button);
    QFETCH(QString, name);
    auto* nav = new DBNavigator(window_.get());
    nav->setObjectName(QStringLiteral("NavItem"));
    nav->setButtons(DBNavigator::Prior | DBNavigator::Next | DBNavigator::Post);
    auto* found = window_->findChild<QToolButton*>(name);
    QVERIFY(found);
    QCOMPARE(found, nav->button(button));
    QTEST(found->toolTip(), "hint");
    const bool shown = button == DBNavigator::Prior || button == DBNavigator::Next || button == DBNavigator::Post;
    QCOMPARE(found->isVisibleTo(window_.get()), shown);
}

void TstWidgets::navigatorActions_data()
{
    QTest::addColumn<DBNavigator::Button>("button");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("before");  // what happens first
    QTest::addColumn<int>("answer");      // the Yes/No answer given, -1 for none
    QTest::addColumn<int>("recNo");
    QTest::addColumn<SmpDataset::State>("state");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("changes");
    QTest::addColumn<int>("questions");
    QTest::newRow("first") << DBNavigator::First << 2 << "" << -1 << 0 << State::Browse << 4 << "Ябълка" << 0 << 0;
    QTest::newRow("prior") << DBNavigator::Prior << 2 << "" << -1 << 1 << State::Browse << 4 << "Морков" << 0 << 0;
    QTest::newRow("next") << DBNavigator::Next << 0 << "" << -1 << 1 << State::Browse << 4 << "Морков" << 0 << 0;
    QTest::newRow("last") << DBNavigator::Last << 0 << "" << -1 << 3 << State::Browse << 4 << "Круша" << 0 << 0;
    QTest::newRow("insert") << DBNavigator::Insert << 1 << "" << -1 << 1 << State::Insert << 5 << "" << 0 << 0;
    QTest::newRow("edit") << DBNavigator::Edit << 1 << "" << -1 << 1 << State::Edit << 4 << "Морков" << 0 << 0;
    QTest::newRow("post") << DBNavigator::Post << 1 << "change" << -1 << 1 << State::Browse << 4 << "Цвекло" << 1 << 0;
    QTest::newRow("cancel") << DBNavigator::Cancel << 1 << "change" << -1 << 1 << State::Browse << 4 << "Морков" << 0
                            << 0;
    QTest::newRow("refresh") << DBNavigator::Refresh << 2 << "db" << -1 << 2 << State::Browse << 4 << "Джоджен" << 0
                             << 0;
    QTest::newRow("delete, yes") << DBNavigator::Delete << 1 << "" << 1 << 1 << State::Browse << 3 << "Мента" << 1 << 1;
    QTest::newRow("delete, no") << DBNavigator::Delete << 1 << "" << 0 << 1 << State::Browse << 4 << "Морков" << 0 << 1;
}

void TstWidgets::navigatorActions()
{
    QFETCH(DBNavigator::Button, button);
    QFETCH(int, start);
    QFETCH(QString, before);
    QFETCH(int, answer);
    QFETCH(int, questions);
    auto* nav = new DBNavigator(window_.get());
    window_->layout()->addWidget(nav);
    nav->setObjectName(QStringLiteral("NavItem"));
    nav->setDataSource(srcItems_.get());
    QSignalSpy clicked(nav, &DBNavigator::clicked);
    showWindow();
    items_->moveTo(start);
    if (before == QLatin1String("change")) {
        items_->edit();
        items_->setValue(QStringLiteral("NAME"), QStringLiteral("Цвекло"));
    } else if (before == QLatin1String("db")) {
        db_->execute(QStringLiteral("update W_ITEM set NAME = 'Джоджен' where NITEM = 3"));
    }
    if (answer >= 0) ui_->answers << (answer == 1);

    QVERIFY(nav->button(button)->isEnabled());
    QTest::mouseClick(nav->button(button), Qt::LeftButton);

    QTEST(items_->recNo(), "recNo");
    QTEST(items_->state(), "state");
    QTEST(items_->recordCount() + (items_->state() == State::Insert ? 1 : 0), "rows");
    QTEST(items_->fieldByName(QStringLiteral("NAME"))->asString(), "name");
    QTEST(items_->changeCount(), "changes");
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList(questions, QStringLiteral("Изтриване на записа ?")));
    QCOMPARE(ui_->unexpectedQuestions, 0);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.front().front().value<DBNavigator::Button>(), button);
}

void TstWidgets::navigatorEnabledStates_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("enabled");
    QTest::newRow("opened") << "opened" << "Next Last Insert Delete Edit Refresh";
    QTest::newRow("inside the list") << "middle" << "First Prior Next Last Insert Delete Edit Refresh";
    QTest::newRow("at the last row") << "last" << "First Prior Insert Delete Edit Refresh";
    QTest::newRow("back at the first row") << "last first" << "Next Last Insert Delete Edit Refresh";
    QTest::newRow("editing") << "edit" << "Next Last Insert Delete Post Cancel Refresh";
    QTest::newRow("inserting") << "insert" << "Next Last Insert Delete Post Cancel Refresh";
    QTest::newRow("a pending row") << "pending" << "Next Last Insert Delete Edit Cancel Refresh";
    QTest::newRow("no rows") << "empty" << "Insert Edit Refresh";
    QTest::newRow("closed") << "closed" << "";
    QTest::newRow("no data source") << "unbound" << "";
}

void TstWidgets::navigatorEnabledStates()
{
    QFETCH(QString, situation);
    auto* nav = new DBNavigator(window_.get());
    nav->setDataSource(srcItems_.get());
    if (situation == QLatin1String("middle")) items_->next();
    else if (situation == QLatin1String("last")) items_->last();
    else if (situation == QLatin1String("last first")) {
        items_->last();
        items_->first();
    } else if (situation == QLatin1String("edit")) items_->edit();
    else if (situation == QLatin1String("insert")) items_->insert();
    else if (situation == QLatin1String("pending")) {  // as a change the server refused stays
        items_->edit();
        items_->setValue(QStringLiteral("NAME"), QStringLiteral("непоставено"));
        items_->post();
    } else if (situation == QLatin1String("empty")) {
        items_->setFilter(QStringLiteral("NITEM>100"));
        items_->setFiltered(true);
    } else if (situation == QLatin1String("closed")) items_->close();
    else if (situation == QLatin1String("unbound")) nav->setDataSource(nullptr);

    QStringList enabled;
    for (DBNavigator::Button b : {DBNavigator::First, DBNavigator::Prior, DBNavigator::Next, DBNavigator::Last,
                                  DBNavigator::Insert, DBNavigator::Delete, DBNavigator::Edit, DBNavigator::Post,
                                  DBNavigator::Cancel, DBNavigator::Refresh})
        if (nav->button(b)->isEnabled()) enabled << DBNavigator::suffix(b);
    QTEST(enabled.join(u' '), "enabled");
}

// ---- grid -----------------------------------------------------------------------------------

void TstWidgets::gridColumnsAndRowColours()
{
    auto* grid = new DBGrid(window_.get());
    window_->layout()->addWidget(grid);
    grid->setDataSource(srcItems_.get());
    // Without columns: the visible fields.
    QStringList captions;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        captions << grid->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(captions, (QStringList{"№", "Име", "PRICE", "ACTIVE", "Вид"}));

    grid->setColumns({{"NAME", "Материал", 150, false}, {"PRICE", "Цена", 60, true}, {"KindName", {}, 90, false}});
    grid->setRowColor([this](int row) {
        return valueAt(*items_, row, QStringLiteral("PRICE")).toDouble() > 10 ? QColor(Qt::red) : QColor();
    });
    grid->setRowTextColor([this](int row) {
        return valueAt(*items_, row, QStringLiteral("ACTIVE")).isNull() ? QColor(Qt::gray) : QColor();
    });
    showWindow();
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Материал"));
    QCOMPARE(grid->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Вид"));
    QCOMPARE(grid->columnWidth(0), 150);
    QCOMPARE(grid->columnWidth(1), 60);
    QCOMPARE(grid->model()->index(2, 1).data().toString(), QStringLiteral("12.00"));
    QCOMPARE(grid->model()->index(1, 2).data().toString(), QStringLiteral("Зеленчук"));
    QVERIFY(!(grid->model()->flags(grid->model()->index(0, 1)) & Qt::ItemIsEditable));  // read-only column
    QVERIFY(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsEditable);

    const auto colours = [grid](int role) {
        QList<QColor> out;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            out << grid->model()->index(r, 0).data(role).value<QColor>();
        return out;
    };
    QCOMPARE(colours(Qt::BackgroundRole), (QList<QColor>{QColor(), QColor(), QColor(Qt::red), QColor()}));
    QCOMPARE(colours(Qt::ForegroundRole), (QList<QColor>{QColor(), QColor(), QColor(), QColor(Qt::gray)}));
    // Colours follow the values as they change.
    items_->edit();
    items_->setValue(QStringLiteral("PRICE"), 25);
    QCOMPARE(colours(Qt::BackgroundRole), (QList<QColor>{QColor(Qt::red), QColor(), QColor(Qt::red), QColor()}));

    grid->setColumnVisible(QStringLiteral("PRICE"), false);
    items_->refresh();  // hidden columns stay hidden over a re-read
    QVERIFY(grid->isColumnHidden(1));
    QVERIFY(!grid->isColumnVisible(QStringLiteral("PRICE")));
    QCOMPARE(grid->columnWidth(0), 150);
}

void TstWidgets::gridCurrentRowFollowsBothWays()
{
    auto* grid = new DBGrid(window_.get());
    window_->layout()->addWidget(grid);
    grid->setDataSource(srcItems_.get());
    grid->setColumns({{"NAME", {}, 0, false}, {"PRICE", {}, 0, false}});
    QSignalSpy doubleClicks(grid, &DBGrid::doubleClicked);
    showWindow();
    QCOMPARE(grid->currentIndex().row(), 0);
    items_->last();
    QCOMPARE(grid->currentIndex().row(), 3);
    const QRect cell = grid->visualRect(grid->model()->index(1, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(items_->recNo(), 1);
    const QPoint other = grid->visualRect(grid->model()->index(2, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, other);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, other);
    QCOMPARE(doubleClicks.size(), 1);
    QCOMPARE(items_->recNo(), 2);  // the window's handler finds the clicked row current
    QCOMPARE(items_->state(), State::Browse);
    int recNoAtKey = -1;
    connect(grid, &DBGrid::keyPressed, grid, [&](int key) {
        if (key == Qt::Key_Up) recNoAtKey = items_->recNo();
    });
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Up);
    QCOMPARE(items_->recNo(), 1);
    QCOMPARE(recNoAtKey, 1);  // a key handler of the window sees the row the key moved to
    QCOMPARE(grid->datasetModel()->headerData(1, Qt::Vertical).toString(), QStringLiteral("►"));
}

void TstWidgets::gridEditPostsWhenLeavingRow_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("leaveKey");
    QTest::addColumn<int>("newRow");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("changes");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("text, down") << "NAME" << "Цвекло" << int(Qt::Key_Down) << 2 << QVariant(QStringLiteral("Цвекло"))
                                << 1
                                << QStringList();
    QTest::newRow("number, up") << "PRICE" << "7.5" << int(Qt::Key_Up) << 0 << QVariant(7.5) << 1 << QStringList();
    QTest::newRow("refused number") << "PRICE" << "-" << int(Qt::Key_Down) << 2 << QVariant(1.2) << 0
                                    << QStringList{QStringLiteral("„-“ не е валидно число !")};
}

void TstWidgets::gridEditPostsWhenLeavingRow()
{
    QFETCH(QString, field);
    QFETCH(QString, keys);
    QFETCH(int, leaveKey);
    QFETCH(int, newRow);
    QFETCH(QVariant, value);
    auto* grid = new DBGrid(window_.get());
    window_->layout()->addWidget(grid);
    grid->setDataSource(srcItems_.get());
    grid->setColumns({{"NAME", {}, 0, false}, {"PRICE", {}, 0, false}});
    showWindow();
    const int column = grid->columnOfField(field);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, column));
    QCOMPARE(items_->recNo(), 1);
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    QCOMPARE(items_->state(), State::Browse);  // an open editor alone changes nothing
    editor->selectAll();
    typeText(editor, keys);
    QTest::keyClick(editor, Qt::Key(leaveKey));

    QCOMPARE(items_->recNo(), newRow);
    QCOMPARE(grid->currentIndex().row(), newRow);
    QCOMPARE(items_->state(), State::Browse);
    QCOMPARE(valueAt(*items_, 1, field), value);
    QTEST(items_->changeCount(), "changes");
    QTEST(ui_->texts(RecordingUi::Kind::Message), "messages");
}

void TstWidgets::gridClickAfterSaveAtOnceLandsOnClickedRow_data()
{
    QTest::addColumn<int>("editedRow");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<int>("clickedRow");
    QTest::addColumn<int>("clickedItem");
    // By name: Круша (4), Мента (3), Морков (2), Ябълка (1).
    QTest::newRow("the edited row sorts after the clicked one") << 0 << QStringLiteral("Яна") << 1 << 3;
    QTest::newRow("the edited row sorts before the clicked one") << 3 << QStringLiteral("Авокадо") << 2 << 2;
}

void TstWidgets::gridClickAfterSaveAtOnceLandsOnClickedRow()
{
    QFETCH(int, editedRow);
    QFETCH(QString, newName);
    QFETCH(int, clickedRow);
    items_->setIndexFieldNames(QStringLiteral("NAME"));
    SaveAtOnce::install(*items_);
    auto* grid = new DBGrid(window_.get());
    window_->layout()->addWidget(grid);
    grid->setDataSource(srcItems_.get());
    grid->setColumns({{"NAME", {}, 0, false}, {"PRICE", {}, 0, false}});
    showWindow();
    grid->setCurrentIndex(grid->model()->index(editedRow, 0));
    items_->edit();
    items_->setValue(QStringLiteral("NAME"), newName);
    grid->setCurrentIndex(grid->model()->index(clickedRow, 0));  // leaving the row stores it, re-read and re-sorted
    QCOMPARE(itemName(valueAt(*items_, items_->recNo(), QStringLiteral("NITEM")).toInt()),
             valueAt(*items_, items_->recNo(), QStringLiteral("NAME")).toString());
    QTEST(items_->value(QStringLiteral("NITEM")).toInt(), "clickedItem");
    QCOMPARE(grid->currentIndex().row(), items_->recNo());
    QCOMPARE(items_->changeCount(), 0);
}

void TstWidgets::gridOrdersByColumnTitle()
{
    auto* grid = new DBGrid(window_.get());
    window_->layout()->addWidget(grid);
    grid->setDataSource(srcItems_.get());
    grid->setColumns({{"NAME", {}, 0, false}, {"KindName", {}, 0, false}});
    showWindow();
    const auto names = [this] {
        QStringList out;
        for (int r = 0; r < items_->recordCount(); ++r) out << valueAt(*items_, r, QStringLiteral("NAME")).toString();
        return out;
    };
    QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(grid->horizontalHeader()->sectionViewportPosition(0) + 5, 5));
    QCOMPARE(names(), (QStringList{"Круша", "Мента", "Морков", "Ябълка"}));
    grid->orderByColumn(0);  // the same title again: descending
    QCOMPARE(names(), (QStringList{"Ябълка", "Морков", "Мента", "Круша"}));
    grid->orderByColumn(1);  // a lookup column: by the names shown (Билка, Зеленчук, Плод)
    QCOMPARE(valueAt(*items_, 0, QStringLiteral("KindName")).toString(), QStringLiteral("Билка"));
    QCOMPARE(grid->currentIndex().row(), items_->recNo());
}

void TstWidgets::gridFollowsRunTimeFieldChanges()
{
    auto* grid = new DBGrid(window_.get());
    window_->layout()->addWidget(grid);
    grid->setDataSource(srcItems_.get());
    showWindow();
    SmpField* price = items_->fieldByName(QStringLiteral("PRICE"));
    price->setDisplayLabel(QStringLiteral("Цена"));
    price->setDisplayFormat(QStringLiteral("0.000"));
    const int column = grid->columnOfField(QStringLiteral("PRICE"));
    QCOMPARE(grid->model()->headerData(column, Qt::Horizontal).toString(), QStringLiteral("Цена"));
    QCOMPARE(grid->model()->index(0, column).data().toString(), QStringLiteral("2.500"));
    price->setVisible(false);
    QCOMPARE(grid->columnOfField(QStringLiteral("PRICE")), -1);
    new QAbstractItemModelTester(grid->model(), QAbstractItemModelTester::FailureReportingMode::QtTest, grid);
    price->setVisible(true);
    QVERIFY(grid->columnOfField(QStringLiteral("PRICE")) >= 0);
}

void TstWidgets::gridBoldRowsAndCellColours()
{
    auto* grid = new DBGrid(window_.get());
    window_->layout()->addWidget(grid);
    grid->setDataSource(srcItems_.get());
    grid->setColumns({{"NAME", {}, 0, false}, {"PRICE", {}, 0, false}});
    grid->setRowColor([](int) { return QColor(Qt::yellow); });
    grid->setCellColor([this](int row, const SmpField* f) {
        return f->fieldName() == QLatin1String("PRICE") && valueAt(*items_, row, QStringLiteral("PRICE")).toDouble() > 3
                   ? QColor(Qt::red)
                   : QColor();
    });
    grid->setRowBold([this](int row) { return valueAt(*items_, row, QStringLiteral("ACTIVE")).toInt() == 1; });
    QList<QColor> priceColours, nameColours;
    QList<bool> bold;
    for (int r = 0; r < grid->model()->rowCount(); ++r) {
        nameColours << grid->model()->index(r, 0).data(Qt::BackgroundRole).value<QColor>();
        priceColours << grid->model()->index(r, 1).data(Qt::BackgroundRole).value<QColor>();
        bold << grid->model()->index(r, 0).data(Qt::FontRole).value<QFont>().bold();
    }
    // Items by number: 2.5 active, 1.2 inactive, 12 active, 3.4 unknown.
    QCOMPARE(priceColours, (QList<QColor>{QColor(Qt::yellow), QColor(Qt::yellow), QColor(Qt::red), QColor(Qt::red)}));
    QCOMPARE(nameColours, QList<QColor>(4, QColor(Qt::yellow)));
    QCOMPARE(bold, (QList<bool>{true, false, true, false}));
}

void TstWidgets::datePickerAndSpinBoxWriteTheirFields()
{
    SmpDataset dated(QStringLiteral("SmpDated"), db_.get());
    dated.setCommandText(QStringLiteral("select NITEM, cast('2024-01-02' as timestamp) as DATA from W_ITEM order by NITEM"));
    dated.setReadOnly(true);
    dated.open();
    DataSource srcDated(&dated);
    auto* date = new DBDateEdit(window_.get());
    date->setDataSource(&srcDated);
    date->setDataField(QStringLiteral("DATA"));
    auto* price = new DBSpinBox(window_.get());
    price->setDataSource(srcItems_.get());
    price->setDataField(QStringLiteral("PRICE"));
    QCOMPARE(date->text(), QStringLiteral("02.01.2024"));
    QCOMPARE(price->value(), 2.5);

    date->setDate(QDate(2024, 3, 5));  // as the calendar does
    QCOMPARE(dated.state(), State::Edit);
    QCOMPARE(dated.fieldByName(QStringLiteral("DATA"))->asDate(), QDate(2024, 3, 5));
    price->setValue(4.25);
    QCOMPARE(items_->state(), State::Edit);
    QCOMPARE(items_->value(QStringLiteral("PRICE")).toDouble(), 4.25);

    items_->cancel();
    items_->next();  // the controls follow the dataset
    QCOMPARE(price->value(), 1.2);
    items_->edit();
    items_->setValue(QStringLiteral("PRICE"), QVariant());
    QCOMPARE(price->text().trimmed(), QString());  // empty shows blank
}

void TstWidgets::gridLookupColumnWritesKey()
{
    auto* grid = new DBGrid(window_.get());
    window_->layout()->addWidget(grid);
    grid->setDataSource(srcItems_.get());
    grid->setColumns({{"NAME", {}, 0, false}, {"KindName", "Вид", 120, false}});
    showWindow();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = qobject_cast<QComboBox*>(QApplication::focusWidget());
    QVERIFY(editor);
    QCOMPARE(editor->count(), 3);
    QCOMPARE(editor->currentText(), QStringLiteral("Плод"));
    editor->showPopup();
    editor->view()->setCurrentIndex(editor->view()->model()->index(2, 0));
    QTest::keyClick(editor->view(), Qt::Key_Return);

    QCOMPARE(items_->state(), State::Edit);
    QCOMPARE(items_->value(QStringLiteral("NKIND")), QVariant(3));
    QCOMPARE(grid->model()->index(0, 1).data().toString(), QStringLiteral("Билка"));
    QCOMPARE(kinds_->recNo(), 0);  // the grid's choice leaves the lookup list where it was
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(items_->state(), State::Browse);
    QCOMPARE(items_->changeCount(), 1);
}

void TstWidgets::gridInsertKeyAppendsAndEscCancels()
{
    auto* grid = new DBGrid(window_.get());
    window_->layout()->addWidget(grid);
    grid->setDataSource(srcItems_.get());
    grid->setColumns({{"NITEM", {}, 0, false}, {"NAME", {}, 0, false}});
    showWindow();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Insert);
    QCOMPARE(items_->state(), State::Insert);
    QCOMPARE(grid->model()->rowCount(), 5);
    QCOMPARE(grid->currentIndex().row(), 4);
    QCOMPARE(grid->model()->index(4, 0).data().toString(), QStringLiteral("94"));
    QCOMPARE(grid->datasetModel()->headerData(4, Qt::Vertical).toString(), QStringLiteral("✱"));
    QTest::keyClick(grid, Qt::Key_Escape);
    QCOMPARE(items_->state(), State::Browse);
    QCOMPARE(grid->model()->rowCount(), 4);
    QCOMPARE(items_->changeCount(), 0);

    // An appended row that is filled in and left is posted.
    QTest::keyClick(grid, Qt::Key_Insert);
    grid->setCurrentIndex(grid->model()->index(4, 1));
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    typeText(editor, QStringLiteral("Киви"));
    QTest::keyClick(editor, Qt::Key_Up);
    QCOMPARE(items_->state(), State::Browse);
    QCOMPARE(items_->recordCount(), 5);
    QCOMPARE(items_->changeCount(), 1);
    QCOMPARE(valueAt(*items_, 4, "NAME").toString(), QStringLiteral("Киви"));
    items_->applyUpdates();
    QCOMPARE(itemName(94), QStringLiteral("Киви"));

    // Esc on a row being edited takes the edit back.
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QTest::keyClick(grid, Qt::Key_F2);
    editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    typeText(editor, QStringLiteral("Дюля"));
    QTest::keyClick(editor, Qt::Key_Return);  // the value is written, the row stays
    QCoreApplication::processEvents();  // the delegate commits a Return from the event queue
    QCOMPARE(items_->state(), State::Edit);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Escape);
    QCOMPARE(items_->state(), State::Browse);
    QCOMPARE(grid->model()->index(0, 1).data().toString(), QStringLiteral("Ябълка"));
}

// ---- the item model -------------------------------------------------------------------------

void TstWidgets::modelUnderTester_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("rows");
    QTest::newRow("reopen") << "reopen" << 4;
    QTest::newRow("append and post") << "append post" << 5;
    QTest::newRow("insert inside, cancel") << "insert cancel" << 4;
    QTest::newRow("insert inside, post") << "insert post" << 5;
    QTest::newRow("delete") << "delete" << 3;
    QTest::newRow("delete the last") << "delete last" << 3;
    QTest::newRow("edit and post") << "edit post" << 4;
    QTest::newRow("refresh with a new row") << "refresh" << 5;
    QTest::newRow("filter") << "filter" << 2;
    QTest::newRow("sort") << "sort" << 4;
    QTest::newRow("close") << "close" << 0;
}

void TstWidgets::modelUnderTester()
{
    QFETCH(QString, operation);
    QFETCH(int, rows);
    DatasetModel model(items_.get());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QTableView view;  // a view on the model as well, to catch notifications it cannot follow
    view.setModel(&model);
    view.show();

    if (operation == QLatin1String("reopen")) {
        items_->close();
        items_->open();
    } else if (operation.startsWith(QLatin1String("append"))) {
        items_->append();
        items_->setValue(QStringLiteral("NAME"), QStringLiteral("Киви"));
        items_->post();
    } else if (operation.startsWith(QLatin1String("insert"))) {
        items_->moveTo(1);
        items_->insert();
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("94"));
        QCOMPARE(model.index(2, 1).data().toString(), QStringLiteral("Морков"));
        if (operation.endsWith(QLatin1String("cancel"))) items_->cancel();
        else items_->post();
    } else if (operation == QLatin1String("delete")) {
        items_->moveTo(1);
        items_->remove();
    } else if (operation == QLatin1String("delete last")) {
        items_->last();
        items_->remove();
    } else if (operation == QLatin1String("edit post")) {
        items_->moveTo(2);
        items_->edit();
        items_->setValue(QStringLiteral("NAME"), QStringLiteral("Джоджен"));
        items_->post();
        QCOMPARE(model.index(2, 1).data().toString(), QStringLiteral("Джоджен"));
    } else if (operation == QLatin1String("refresh")) {
        db_->execute(QStringLiteral("insert into W_ITEM (NITEM, NAME) values (0, 'Нула')"));
        items_->refresh();
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("Нула"));
    } else if (operation == QLatin1String("filter")) {
        items_->setFilter(QStringLiteral("NKIND=1"));
        items_->setFiltered(true);
    } else if (operation == QLatin1String("sort")) {
        items_->setIndexFieldNames(QStringLiteral("NAME"));
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("Круша"));
    } else if (operation == QLatin1String("close")) {
        items_->close();
    }

    QCOMPARE(model.rowCount(), rows);
    QCOMPARE(view.model()->rowCount(), rows);
    for (int r = 0; r < model.rowCount(); ++r)
        for (int c = 0; c < model.columnCount(); ++c)
            QCOMPARE(model.index(r, c).data().toString(), items_->displayTextAt(r, model.fieldAt(c)));
}

void TstWidgets::largeListShowsLazily()
{
    db_->executeImmediate(
        QStringLiteral("create table W_BIG (N integer not null primary key, T varchar(20), V double precision)"));
    db_->executeImmediate(QStringLiteral(
        "execute block as declare i integer = 0; begin while (i < 100000) do begin "
        "insert into W_BIG values (:i, 'ред ' || :i, :i * 1.5); i = i + 1; end end"));
    SmpDataset big(QStringLiteral("SmpBig"), db_.get());
    big.setCommandText(QStringLiteral("select * from W_BIG order by N"));
    big.open();
    QCOMPARE(big.recordCount(), 100000);
    DataSource src(&big);
    auto* grid = new DBGrid(window_.get());
    window_->layout()->addWidget(grid);

    QElapsedTimer timer;
    timer.start();
    grid->setDataSource(&src);
    showWindow();
    big.last();
    QApplication::processEvents();
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(grid->model()->rowCount(), 100000);
    QCOMPARE(grid->currentIndex().row(), 99999);
    QVERIFY(grid->viewport()->rect().contains(grid->visualRect(grid->currentIndex()).center()));
    QCOMPARE(grid->currentIndex().siblingAtColumn(1).data().toString(), QStringLiteral("ред 99999"));
    // Binding, showing and jumping to the end read only what is on screen.
    QVERIFY2(elapsed < 1000, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TstWidgets t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_widgets.moc"
