#include "data/dmsklad.h"
#include "platform/base/clock.h"
#include "platform/dataset/smpdataset.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dblookupcombobox.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/radiogroup.h"
#include "common/columnsettings.h"
#include "reference/tabsettings.h"
#include "support/appfixture.h"
#include "support/typing.h"
#include "warehouse/deliveries.h"
#include "warehouse/formsklad.h"
#include "warehouse/stocklines.h"

#include <QAction>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

// The stock window driven by its controls over a real database: lists, totals, colours, the
// guarded delete of a line and the defective-goods panel.
class TstFormSklad : public QObject, protected AppFixture
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();
    void opensFromMainMenu();
    void listsDeliveryLinesWithTotals();
    void expiryColours();
    void deleteGuardedByOutflows();
    void defectPanelFollowsSupplier();
    void followsColumnSettings();

private:
    TFormSklad* sklad() { return app_->FormSklad; }
    SmpDataset& stock() { return app_->DMSklad->SmpSklNalich; }
    QVector<int> deliver(const QString& document, QVector<Deliveries::Line> lines);
    void showAll();
    int row(int key) { return stock().find(QStringLiteral("AUTONUM"), {key}); }
};

void TstFormSklad::init()
{
    start();
    Clock::setFixed(QDateTime(QDate(2026, 6, 10), QTime(9, 0)));
    exec(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (1, 'Основен')"));
    exec(QStringLiteral("insert into TIP_SKLAD (NSKLAD, SKLAD) values (2, 'Резервен')"));
    exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA) values (500, 'Болт', 1, 1, 100)"));
    exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA) values (501, 'Шайба', 1, 1, 5)"));
    exec(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA, ED_CENA) values (502, 'Гайка', 2, 1, 7)"));
    exec(QStringLiteral("insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (60, 2, 'Доставчик А')"));
    exec(QStringLiteral("insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT) values (61, 2, 'Доставчик Б')"));
}

void TstFormSklad::cleanup()
{
    Clock::reset();
    stop();
    QFile::remove(ColumnSettings::filePath());  // the next window set starts from the design
}

QVector<int> TstFormSklad::deliver(const QString& document, QVector<Deliveries::Line> lines)
{
    Deliveries::Header h;
    h.supplier = document.startsWith(u'B') ? 61 : 60;
    h.document = document;
    h.documentDate = QDate(2026, 6, 1);
    h.received = QDate(2026, 6, 2);
    return Deliveries::save(db(), h, lines, {}).lineKeys;
}

void TstFormSklad::showAll()
{
    sklad()->show();
    sklad()->RdGrpIzbSklad->click(0);
    sklad()->RdGrpIzbMaterial->click(0);
}

void TstFormSklad::opensFromMainMenu()
{
    auto* item = app_->FormNS->findChild<QAction*>(QStringLiteral("N3SkladDost"));
    QVERIFY(item && item->isEnabled());
    item->trigger();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modeless), QStringList{QStringLiteral("FormSklad")});
    QVERIFY(sklad()->isVisible());
    QVERIFY(!sklad()->isModal());
    // First showing: both choices "По избор", no material chosen yet: nothing listed.
    QCOMPARE(sklad()->RdGrpIzbSklad->itemIndex(), 1);
    QCOMPARE(sklad()->chosenWarehouse(), 1);
    QVERIFY(stock().isActive());
    QCOMPARE(stock().recordCount(), 0);
}

void TstFormSklad::listsDeliveryLinesWithTotals()
{
    Deliveries::Line a;
    a.material = 500; a.quantity = 10; a.priceLv = 2;
    Deliveries::Line b;
    b.material = 501; b.quantity = 4; b.priceLv = 1.5;
    Deliveries::Line c;
    c.material = 502; c.quantity = 3; c.priceEur = 4;
    deliver(QStringLiteral("F1"), {a, b, c});
    Deliveries::Line d = a;
    d.quantity = 1;
    deliver(QStringLiteral("B1"), {d});
    showAll();
    QCOMPARE(stock().recordCount(), 4);
    QCOMPARE(sklad()->DBText1->text(), QStringLiteral("28.00"));
    QCOMPARE(sklad()->DBText3->text(), QStringLiteral("12.00"));

    // One warehouse, then one material of it.
    sklad()->RdGrpIzbSklad->click(1);
    QCOMPARE(stock().recordCount(), 3);
    sklad()->RdGrpIzbMaterial->click(1);
    chooseInList(sklad()->DBLkpCmBoxMat, QStringLiteral("Болт"));
    QCOMPARE(sklad()->chosenMaterial(), 500);
    QCOMPARE(stock().recordCount(), 2);

    // A supplier chosen: the rows and the totals follow the client-side filter without a reload.
    sklad()->RdGrpKontrDaNeDostav->click(1);
    QVERIFY(sklad()->GrpBoxIzbKontrDostav->isVisibleTo(sklad()));
    chooseInList(sklad()->DBLkpCmBoxTipKontrDost, QStringLiteral("Доставчици"));
    chooseInList(sklad()->DBLkpCmBoxKontrDostav, QStringLiteral("Доставчик Б"));
    QCOMPARE(stock().recordCount(), 1);
    QCOMPARE(sklad()->DBText1->text(), QStringLiteral("2.00"));
    sklad()->RdGrpKontrDaNeDostav->click(0);
    QCOMPARE(stock().recordCount(), 2);
    QVERIFY(!sklad()->GrpBoxDostBrak->isVisibleTo(sklad()));
}

void TstFormSklad::expiryColours()
{
    const QDate today = Clock::today();
    QVector<Deliveries::Line> lines;
    for (const int days : {3, 2, 0, -5}) {
        Deliveries::Line l;
        l.material = 500; l.quantity = 1 + lines.size(); l.priceLv = 1;
        l.expiry = today.addDays(days);
        lines << l;
    }
    Deliveries::Line none;
    none.material = 501; none.quantity = 1; none.priceLv = 1;
    lines << none;
    const QVector<int> keys = deliver(QStringLiteral("F2"), lines);
    showAll();
    QAbstractItemModel* model = sklad()->DBGrid1->model();
    const auto red = [&](int key) {
        return model->index(row(key), 0).data(Qt::ForegroundRole).value<QColor>() == QColor(Qt::red);
    };
    QVERIFY(!red(keys[0]));
    QVERIFY(red(keys[1]));
    QVERIFY(red(keys[2]));
    QVERIFY(red(keys[3]));
    QVERIFY(!red(keys[4]));
}

void TstFormSklad::deleteGuardedByOutflows()
{
    Deliveries::Line a;
    a.material = 500; a.quantity = 10; a.priceLv = 2;
    const QVector<int> keys = deliver(QStringLiteral("F3"), {a, a});  // one material twice in one document
    StockLines::DefectClaim claim;
    claim.line = keys[0];
    claim.date = Clock::today();
    claim.quantity = 0.001;
    claim.priceLv = 2;
    claim.counterparty = 60;
    claim.claimDocument = QStringLiteral("R1");
    claim.claimDocumentDate = Clock::today();
    StockLines::recordDefect(db(), claim);
    showAll();

    stock().moveTo(row(keys[0]));
    clickButton(sklad(), QStringLiteral("SpdBtnDelKontragent"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             QStringList{QStringLiteral("Има изразходвани количества от доставката - ИЗТРИВАНЕТО ЗАБРАНЕНО !  ")});
    QCOMPARE(count(QStringLiteral("select count(*) from SKLAD")), 2);

    // The other line of the same document goes alone, after the question.
    ui_->clear();
    ui_->answers = {true};
    stock().moveTo(row(keys[1]));
    clickButton(sklad(), QStringLiteral("SpdBtnDelKontragent"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question).size(), 1);
    QVERIFY(ui_->texts(RecordingUi::Kind::Question).front().contains(QStringLiteral("корекция в разплащания")));
    QCOMPARE(count(QStringLiteral("select count(*) from SKLAD")), 1);
    QCOMPARE(stock().recordCount(), 1);
    QCOMPARE(stock().value(QStringLiteral("AUTONUM")).toInt(), keys[0]);

    // Own production cannot be deleted whatever its outflows.
    exec(QStringLiteral("update FIRMA set PSEVDONIM_FIRMA = 'TRX'"));
    app_->DMNS->SmpFirma.refresh();
    const QVector<int> own = deliver(QStringLiteral("TRX001"), {a});
    stock().refresh();
    ui_->clear();
    stock().moveTo(row(own[0]));
    clickButton(sklad(), QStringLiteral("SpdBtnDelKontragent"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Message),
             QStringList{QStringLiteral("Собствено производство - ИЗТРИВАНЕТО ЗАБРАНЕНО !  ")});
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstFormSklad::defectPanelFollowsSupplier()
{
    Deliveries::Line a;
    a.material = 500; a.quantity = 10; a.priceLv = 2;
    const QVector<int> keys = deliver(QStringLiteral("F4"), {a});
    StockLines::DefectClaim claim;
    claim.line = keys[0];
    claim.date = Clock::today();
    claim.quantity = 4;
    claim.priceLv = 2;
    claim.counterparty = 60;
    claim.claimDocument = QStringLiteral("R1");
    claim.claimDocumentDate = Clock::today();
    StockLines::recordDefect(db(), claim);
    showAll();
    QCOMPARE(stock().value(QStringLiteral("NALICHNOST")).toDouble(), 6.0);
    QCOMPARE(stock().value(QStringLiteral("SUMDOST_BRAK")).toDouble(), 4.0);

    sklad()->RdGrpKontrDaNeDostav->click(1);
    QVERIFY(sklad()->GrpBoxDostBrak->isVisibleTo(sklad()));
    chooseInList(sklad()->DBLkpCmBoxTipKontrDost, QStringLiteral("Доставчици"));
    chooseInList(sklad()->DBLkpCmBoxKontrDostav, QStringLiteral("Доставчик А"));
    SmpDataset& brak = app_->DMSklad->SmpSklDostBrak;
    QCOMPARE(brak.recordCount(), 1);
    chooseInList(sklad()->DBLkpCmBoxKontrDostav, QStringLiteral("Доставчик Б"));
    QCOMPARE(brak.recordCount(), 0);
    sklad()->RdGrpDostBrak->click(1);  // every supplier's claims
    QCOMPARE(brak.recordCount(), 1);

    ui_->answers = {true};
    clickButton(sklad(), QStringLiteral("BitBtnDelDostBrak"));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Question), QStringList{QStringLiteral("Изтриване на бракувано количество ?")});
    QCOMPARE(count(QStringLiteral("select count(*) from SKLAD_DOST_BRAK")), 0);
    QCOMPARE(brak.recordCount(), 0);
    sklad()->RdGrpKontrDaNeDostav->click(0);
    QCOMPARE(stock().value(QStringLiteral("NALICHNOST")).toDouble(), 10.0);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstFormSklad::followsColumnSettings()
{
    Deliveries::Line a;
    a.material = 500; a.quantity = 10.25; a.priceLv = 2;
    deliver(QStringLiteral("F5"), {a});
    showAll();
    // The reference window's settings tab lists the stock list's fields; the warehouse is
    // unticked and quantities get one decimal.
    form()->show();
    QListWidget* list = form()->TabSheet5->CheckLBSklNalich;
    QCOMPARE(list->count(), stock().fields().size());
    QCOMPARE(list->item(1)->text(), QStringLiteral("Склад"));
    list->item(1)->setCheckState(Qt::Unchecked);
    form()->TabSheet5->SpinEditArtikul->setValue(1);
    QTest::mouseClick(form()->TabSheet5->BitBtnZapVisibleFields, Qt::LeftButton);
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
    QVERIFY(!stock().findField(QStringLiteral("SKLAD"))->visible);
    QVERIFY(stock().findField(QStringLiteral("IMEMATERIAL"))->visible);
    QCOMPARE(stock().findField(QStringLiteral("KOLICHESTVO"))->displayFormat, QStringLiteral("# ### ##0.0"));
    // The open stock window shows it.
    QAbstractItemModel* model = sklad()->DBGrid1->model();
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c) headers << model->headerData(c, Qt::Horizontal).toString();
    QVERIFY(!headers.contains(QStringLiteral("Склад")));
    QCOMPARE(model->index(0, int(headers.indexOf(QStringLiteral("Доставено")))).data().toString(), QStringLiteral("10.3"));
}

QTEST_MAIN(TstFormSklad)
#include "tst_formsklad.moc"
