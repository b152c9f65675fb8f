#include "platform/base/clock.h"
#include "platform/base/formats.h"
#include "data/dmns.h"
#include "platform/report/reportpainter.h"
#include "platform/report/reportpreview.h"
#include "platform/ui/application.h"
#include "reference/formnomenklaturi.h"
#include "reference/tabproduction.h"
#include "reference/recipedata.h"
#include "reports/reference/qrrecepta.h"
#include "support/referencefixture.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

// The calculation printout of a recipe, written to PDF and read back as text.
class TstQRRecepta : public QObject, protected ReferenceFixture
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void threeLinesThreeTimes();
    void pages_data();
    void pages();
    void calculationButtonPreviews();

private:
    // The PDF of the layout as pdftotext lays it out.
    QString pdfText(const Report::Document& doc);

    TQRRecepta* layout_ = nullptr;
};

void TstQRRecepta::init()
{
    Clock::setFixed(QDateTime(QDate(2026, 3, 9), QTime(10, 30)));
    start();
    RecipeData::seed(dm().SQLConnectNS);
    form()->TabSheet4->QRRecepta = layout_ = own<TQRRecepta>();
    form()->show();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

void TstQRRecepta::cleanup()
{
    stop();
    Clock::reset();
}

QString TstQRRecepta::pdfText(const Report::Document& doc)
{
    const QString path = dir_->filePath(QStringLiteral("recepta.pdf"));
    if (!Report::writePdf(doc, path)) return QStringLiteral("<no pdf>");
    if (!qEnvironmentVariableIsEmpty("TRX_KEEP_PDF")) QFile::copy(path, qEnvironmentVariable("TRX_KEEP_PDF"));
    QProcess proc;
    proc.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                                             QStringLiteral("-")});
    if (!proc.waitForFinished(30000) || proc.exitCode() != 0) return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(proc.readAllStandardOutput());
}

void TstQRRecepta::threeLinesThreeTimes()
{
    QVERIFY(dm().SmpTipProizvN.locate(QStringLiteral("NPROIZVODSTVO"), {1}));
    form()->TabSheet4->SpnEdtBrIzdeliaN->setValue(3);
    SmpDataset& recipe = dm().SmpRecepIzdVIEW;
    QCOMPARE(recipe.recordCount(), 3);
    recipe.moveTo(1);
    const Report::Document doc = layout_->build();
    QCOMPARE(recipe.recNo(), 1);  // the grid's row stays where it was
    QCOMPARE(doc.pages.size(), 1);
    QCOMPARE(doc.pageSize, QSizeF(210, 297));
    const QString text = pdfText(doc);
    const QStringList lines = text.split(u'\n');
    const auto hasLine = [&lines](const QString& pattern) {
        const QRegularExpression re(pattern);
        return std::any_of(lines.cbegin(), lines.cend(), [&re](const QString& l) { return re.match(l).hasMatch(); });
    };
    QVERIFY2(QString(text).remove(u' ').contains(QStringLiteral("КАЛКУЛАЦИЯ")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("МАТЕРИАЛИ, НЕОБХОДИМИ ЗА ИЗРАБОТВАНЕТО НА")));
    QVERIFY2(hasLine(QStringLiteral("^\\s*3\\s+броя -\\s+Маса трапезна, бук\\s*$")), qPrintable(text));
    QVERIFY(hasLine(QStringLiteral("^\\s*№\\s+Наименование на материал\\s+М-ка\\s+Количество\\s+Стойност\\s+Забележка\\s*$")));

    // One numbered line per recipe line, in the list's order (by name), N times its quantity and value.
    double total = 0;
    for (int row = 0; row < recipe.recordCount(); ++row) {
        const auto v = [&](const char* f) { return recipe.valueAt(row, recipe.fieldByName(QString::fromLatin1(f))); };
        const double qty = 3 * v("KOLICHESTVO").toDouble(), value = qty * v("Ed_CENA").toDouble();
        total += value;
        const QString firstWord = v("IMEMATERIAL").toString().section(u' ', 0, 0);
        const QString pattern = QStringLiteral("^\\s*%1\\s+%2\\s.*\\s%3\\s+%4\\s+%5\\s*$")
                                    .arg(row + 1)
                                    .arg(QRegularExpression::escape(firstWord),
                                         QRegularExpression::escape(v("Mka").toString()),
                                         QRegularExpression::escape(Formats::formatNumber(qty, QStringLiteral("# ### ##0.000"))),
                                         QRegularExpression::escape(Formats::formatNumber(value, QStringLiteral("# ### ##0.000"))));
        QVERIFY2(hasLine(pattern), qPrintable(pattern + QStringLiteral("\n") + text));
    }
    QVERIFY(qAbs(total - 3 * RecipeData::unitValue(1)) < 1e-9);
    // A long name breaks into a second line inside its column.
    QVERIFY2(hasLine(QStringLiteral("^\\s+крака на маси\\s*$")) || hasLine(QStringLiteral("^\\s+на маси\\s*$")) ||
                 hasLine(QStringLiteral("^\\s+маси\\s*$")),
             qPrintable(text));
    QVERIFY2(hasLine(QStringLiteral("^\\s*Общо :\\s+%1\\s*$")
                         .arg(QRegularExpression::escape(Formats::formatNumber(total, QStringLiteral("# ### ##0.00"))))),
             qPrintable(text));
    QVERIFY(hasLine(QStringLiteral("^\\s*09\\.03\\.2026 год\\.\\s*$")));
    QVERIFY(hasLine(QStringLiteral("^\\s*Заявил: \\.+\\s+Приел: \\.+\\s*$")));
}

void TstQRRecepta::pages_data()
{
    QTest::addColumn<int>("workshop");
    QTest::addColumn<int>("extraLines");
    QTest::addColumn<int>("pages");
    QTest::newRow("empty recipe still prints") << 2 << 0 << 1;
    QTest::newRow("a long recipe breaks pages") << 1 << 60 << 2;
}

// The page header is on every page; the line numbers run on and the total is on the last page only.
void TstQRRecepta::pages()
{
    QFETCH(int, workshop);
    QFETCH(int, extraLines);
    QFETCH(int, pages);
    for (int i = 0; i < extraLines; ++i) {
        dm().SQLConnectNS.execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NMIARKA, ED_CENA) values (:K, :N, 1, 1)"),
                                  {{QStringLiteral("K"), 1000 + i}, {QStringLiteral("N"), QStringLiteral("Щифт %1").arg(1000 + i)}});
        dm().SQLConnectNS.execute(QStringLiteral("insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (1, :K, 2)"),
                                  {{QStringLiteral("K"), 1000 + i}});
    }
    QVERIFY(dm().SmpTipProizvN.locate(QStringLiteral("NPROIZVODSTVO"), {workshop}));
    dm().SmpRecepIzdVIEW.refresh();
    const int rows = dm().SmpRecepIzdVIEW.recordCount();
    QCOMPARE(rows, workshop == 1 ? 3 + extraLines : 0);
    const Report::Document doc = layout_->build();
    QCOMPARE(doc.pages.size(), pages);
    const QStringList pageTexts = pdfText(doc).split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(pageTexts.size(), pages);
    const QString product = dm().SmpTipIzdVIEW.value(QStringLiteral("IMEMATIZD")).toString();
    int lastNumber = 0;
    for (int p = 0; p < pages; ++p) {
        const QString& t = pageTexts[p];
        QVERIFY(t.contains(QStringLiteral("МАТЕРИАЛИ, НЕОБХОДИМИ ЗА ИЗРАБОТВАНЕТО НА")));
        QVERIFY(t.contains(QStringLiteral("броя -  ").trimmed() + QStringLiteral(" ")) && t.contains(product));
        QVERIFY(t.contains(QStringLiteral("Наименование на материал")));
        QCOMPARE(t.contains(QStringLiteral("Общо :")), p == pages - 1);
        QCOMPARE(t.contains(QStringLiteral("09.03.2026 год.")), p == pages - 1);
        const QRegularExpression numbered(QStringLiteral("^\\s*(\\d+)\\s+\\S"), QRegularExpression::MultilineOption);
        for (auto it = numbered.globalMatch(t); it.hasNext();) {
            const int n = it.next().captured(1).toInt();
            if (n == lastNumber + 1) lastNumber = n;
        }
    }
    QCOMPARE(lastNumber, rows);
}

// "Калкулация" previews the layout over the tab's current product, dated today.
void TstQRRecepta::calculationButtonPreviews()
{
    QVERIFY(dm().SmpTipProizvN.locate(QStringLiteral("NPROIZVODSTVO"), {1}));
    QString shown;
    ui_->onModal = [&shown](Form* f) {
        if (auto* p = qobject_cast<Report::ReportPreview*>(f)) shown = Report::documentText(p->document());
        return 0;
    };
    form()->findChild<QToolButton*>(QStringLiteral("SpdBtnPrint"))->click();
    QCOMPARE(ui_->texts(RecordingUi::Kind::Modal), QStringList{QStringLiteral("ReportPreview")});
    QVERIFY2(shown.contains(QStringLiteral("Маса трапезна, бук")), qPrintable(shown));
    QVERIFY(shown.contains(QStringLiteral("09.03.2026 год.")));
    QCOMPARE(ui_->texts(RecordingUi::Kind::Error), QStringList());
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TstQRRecepta t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_qrrecepta.moc"
