#include "platform/dataset/smpdataset.h"
#include "platform/db/connection.h"
#include "platform/report/reportdocument.h"
#include "platform/report/reportpainter.h"
#include "platform/report/reportpreview.h"
#include "platform/ui/application.h"
#include "support/recordingui.h"
#include "support/testdb.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <QToolButton>

using namespace Report;

namespace {

// Geometry of the standard layout, in mm: A4 portrait with 10 mm margins leaves 277 mm.
// Page 1: 277 - footer 8 - page header 10 - title 20 - column header 8 = 231 -> 46 rows of 5.
// Later pages: 277 - 8 - 10 - 8 = 251 -> 50 rows. The summary takes 15.
constexpr double kHeader = 10, kTitle = 20, kColumns = 8, kRow = 5, kSummary = 15, kFooter = 8;

const QRegularExpression& detailRow()
{
    static const QRegularExpression re(QStringLiteral("^(\\d+)\\tМатериал (\\d+)\\t"),
                                       QRegularExpression::MultilineOption);
    return re;
}

// Line numbers and item numbers of the detail rows on a page, in reading order.
QList<QPair<int, int>> detailRows(const Page& page)
{
    QList<QPair<int, int>> out;
    auto it = detailRow().globalMatch(pageText(page));
    while (it.hasNext()) {
        const auto m = it.next();
        out << qMakePair(m.captured(1).toInt(), m.captured(2).toInt());
    }
    return out;
}

QList<TextRun> runsWith(const Page& page, const QString& text)
{
    QList<TextRun> out;
    for (const Primitive& p : page.items)
        if (const TextRun* t = std::get_if<TextRun>(&p); t && t->text == text) out << *t;
    return out;
}

// pdftotext spaces words by their gaps, so "К А Л К У Л А Ц И Я" may come back closed up.
QString squeezed(QString text) { return text.remove(QRegularExpression(QStringLiteral("\\s+"))); }

QString pdfText(const QString& path, QString* error)
{
    QProcess proc;
    proc.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!proc.waitForFinished(30000) || proc.exitCode() != 0) {
        *error = QString::fromUtf8(proc.readAllStandardError()) + proc.errorString();
        return {};
    }
    return QString::fromUtf8(proc.readAllStandardOutput());
}

} // namespace

class TstReport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void pagination_data();
    void pagination();
    void paperSizes_data();
    void paperSizes();
    void copiesWithPerCopyLabel_data();
    void copiesWithPerCopyLabel();
    void emptyDataset_data();
    void emptyDataset();
    void stretchedTextPushesFollowingBands_data();
    void stretchedTextPushesFollowingBands();
    void groupsAndSubDetails_data();
    void groupsAndSubDetails();
    void displayFormatOverrideIsRestored_data();
    void displayFormatOverrideIsRestored();
    void pdfAndPrinterCarryCyrillicText();
    void previewShowsThePagesModally();

private:
    std::unique_ptr<SmpDataset> items(int upTo);
    std::unique_ptr<SmpDataset> firma();
    void standardLayout(Layout& layout, SmpDataset* items, SmpDataset* firma);
    void sampleForm(Layout& layout, SmpDataset* items, SmpDataset* firma);

    QTemporaryDir dir_;
    std::unique_ptr<SQLConnection> db_;
};

void TstReport::initTestCase()
{
    QVERIFY(dir_.isValid());
    db_ = std::make_unique<SQLConnection>(TestDb::freshCopy(dir_));
    db_->open();
    const char* ddl[] = {
        "create table R_ITEM (ID integer not null primary key, NAME varchar(100), QTY double precision, "
        "PRICE double precision, NOTE varchar(1000))",
        "create table R_PART (ID integer not null primary key, ITEM_ID integer, PART_NAME varchar(40))",
        "create table R_FIRMA (ID integer not null primary key, IMEFIRMA varchar(60), LOGO blob sub_type 0)",
        "execute block as declare i integer = 1; begin while (i <= 500) do begin "
        "insert into R_ITEM (ID, NAME, QTY, PRICE) values (:i, 'Материал ' || :i, :i, 1.5); i = i + 1; end end",
    };
    for (const char* s : ddl) db_->executeImmediate(QString::fromUtf8(s));
    const char* parts[] = {"(1, 1, 'винт М4')", "(2, 1, 'шайба')", "(3, 3, 'лепило')", "(4, 3, 'боя')",
                           "(5, 3, 'лак')"};
    for (const char* p : parts) db_->execute(QStringLiteral("insert into R_PART values ") + QString::fromUtf8(p));

    // A logo four times as wide as high: it must keep that shape in any box.
    QImage logo(400, 100, QImage::Format_RGB32);
    logo.fill(QColor(20, 70, 140));
    {
        QPainter p(&logo);
        p.fillRect(QRect(300, 0, 100, 100), QColor(230, 160, 20));
        p.setPen(Qt::white);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 40, QFont::Bold));
        p.drawText(QRect(0, 0, 300, 100), Qt::AlignCenter, QStringLiteral("ТТ"));
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(logo.save(&buffer, "PNG"));
    db_->execute(QStringLiteral("insert into R_FIRMA (ID, IMEFIRMA, LOGO) values (1, :NAME, :LOGO)"),
                 {{QStringLiteral("NAME"), QStringLiteral("Тест Трейд ООД")}, {QStringLiteral("LOGO"), png}});
}

std::unique_ptr<SmpDataset> TstReport::items(int upTo)
{
    auto ds = std::make_unique<SmpDataset>(QStringLiteral("SmpItems"), db_.get());
    ds->setObjectName(QStringLiteral("SmpItems"));
    ds->setCommandText(QStringLiteral("select * from R_ITEM where ID <= :UPTO order by ID"));
    ds->setParam(QStringLiteral("UPTO"), upTo);
    ds->addCalculatedField(QStringLiteral("Amount"), SmpField::Type::Float);
    ds->addAggregateField(QStringLiteral("TotalAmount"), QStringLiteral("SUM(Amount)"));
    ds->onCalcFields = [](SmpDataset& d) {
        d.setValue(QStringLiteral("Amount"), d.fieldByName(QStringLiteral("QTY"))->asFloat() *
                                                 d.fieldByName(QStringLiteral("PRICE"))->asFloat());
    };
    ds->open();
    for (const char* f : {"QTY", "PRICE", "Amount", "TotalAmount"})
        ds->fieldByName(QString::fromLatin1(f))->displayFormat = QStringLiteral("# ##0.00");
    return ds;
}

std::unique_ptr<SmpDataset> TstReport::firma()
{
    auto ds = std::make_unique<SmpDataset>(QStringLiteral("SmpFirma"), db_.get());
    ds->setObjectName(QStringLiteral("SmpFirma"));
    ds->setTableName(QStringLiteral("R_FIRMA"));
    ds->open();
    return ds;
}

// Page header with the company (another dataset's current row) and the original mark, a title,
// boxed column captions, numbered detail rows, a summary and "Стр. N от M" in the page footer.
void TstReport::standardLayout(Layout& layout, SmpDataset* ds, SmpDataset* company)
{
    layout.name = QStringLiteral("TQRTest");
    layout.printDate = QDate(2024, 2, 1);
    const double w = layout.bodyWidth();
    Band& header = layout.addBand(BandType::PageHeader, kHeader);
    header.addField(QStringLiteral("QRDBFirma"), {0, 0, 120, 7}, company, QStringLiteral("IMEFIRMA"))
        .withFont(Font::sized(10, true));
    header.addLabel(QStringLiteral("QRLbOriginal"), {w - 50, 0, 50, 7}, QStringLiteral("ОРИГИНАЛ"))
        .align(Qt::AlignRight)
        .withFont(Font::sized(10, true));
    header.addHLine(QStringLiteral("QRHdrRule"), 0, w, 8);

    Band& title = layout.addBand(BandType::Title, kTitle);
    title.addLabel(QStringLiteral("QRLbTitle"), {0, 4, w, 10}, QStringLiteral("С П Р А В К А"))
        .align(Qt::AlignHCenter)
        .withFont(Font::sized(14, true));

    Band& columns = layout.addBand(BandType::ColumnHeader, kColumns);
    const QList<std::pair<QRectF, QString>> captions = {{{0, 0, 12, kColumns}, QStringLiteral("№")},
                                                       {{12, 0, 88, kColumns}, QStringLiteral("Наименование")},
                                                       {{100, 0, 30, kColumns}, QStringLiteral("Колич.")},
                                                       {{130, 0, 30, kColumns}, QStringLiteral("Цена")},
                                                       {{160, 0, 30, kColumns}, QStringLiteral("Стойност")}};
    for (const auto& [r, text] : captions)
        columns.addLabel(QString(), r, text).align(Qt::AlignHCenter).framed().withFont(Font::sized(9, true));

    Band& detail = layout.setDetail(ds, kRow);
    detail.addSystem(QStringLiteral("QRLineNo"), {0, 0, 12, kRow}, SystemData::LineNumber).align(Qt::AlignRight);
    detail.addField(QStringLiteral("QRDBName"), {12, 0, 88, kRow}, nullptr, QStringLiteral("NAME"));
    detail.addField(QStringLiteral("QRDBQty"), {100, 0, 30, kRow}, nullptr, QStringLiteral("QTY")).align(Qt::AlignRight);
    detail.addField(QStringLiteral("QRDBPrice"), {130, 0, 30, kRow}, ds, QStringLiteral("PRICE")).align(Qt::AlignRight);
    detail.addField(QStringLiteral("QRDBAmount"), {160, 0, 30, kRow}, ds, QStringLiteral("Amount")).align(Qt::AlignRight);

    Band& summary = layout.addBand(BandType::Summary, kSummary);
    summary.addLabel(QStringLiteral("QRLbTotal"), {120, 1, 40, 6}, QStringLiteral("Общо :")).align(Qt::AlignRight);
    summary.addField(QStringLiteral("QRDBTotal"), {160, 1, 30, 6}, ds, QStringLiteral("TotalAmount"))
        .align(Qt::AlignRight)
        .withFont(Font::sized(9, true));
    summary.addSystem(QStringLiteral("QRDate"), {0, 8, 60, 6}, SystemData::PrintDate, QStringLiteral("%1 год."));

    Band& footer = layout.addBand(BandType::PageFooter, kFooter);
    footer.addSystem(QStringLiteral("QRPage"), {0, 1, w, 6}, SystemData::PageOfPages, QStringLiteral("Стр. %1 от %2"))
        .align(Qt::AlignHCenter);
}

// A calculation sheet as the program prints it: logo and company, centred titles, a boxed table
// whose rules follow wrapped names, a summary with signatures.
void TstReport::sampleForm(Layout& layout, SmpDataset* ds, SmpDataset* company)
{
    layout.name = QStringLiteral("TQRRecepta");
    layout.printDate = QDate(2024, 2, 1);
    layout.printIfEmpty = true;
    const double w = layout.bodyWidth();
    const Font bold = Font::sized(9, true);

    Band& title = layout.addBand(BandType::Title, 42);
    title.addImage(QStringLiteral("QRImgLogo"), {w - 40, 0, 40, 16}, company, QStringLiteral("LOGO")).align(Qt::AlignRight);
    title.addField(QStringLiteral("QRDBFirma"), {0, 0, 120, 7}, company, QStringLiteral("IMEFIRMA"))
        .withFont(Font::sized(11, true));
    title.addLabel(QStringLiteral("QRLbKalk"), {0, 17, w, 9}, QStringLiteral("К А Л К У Л А Ц И Я"))
        .align(Qt::AlignHCenter)
        .withFont(Font::sized(15, true).withFamily(QStringLiteral("Times New Roman"), QStringLiteral("DejaVu Serif")));
    title.addLabel(QStringLiteral("QRLbMat"), {0, 26, w, 6}, QStringLiteral("МАТЕРИАЛИ, НЕОБХОДИМИ ЗА ИЗРАБОТВАНЕТО НА"))
        .align(Qt::AlignHCenter)
        .withFont(bold);
    title.addLabel(QStringLiteral("QRLbBroi"), {0, 33, 70, 6}, QStringLiteral("3")).align(Qt::AlignRight).withFont(bold);
    title.addLabel(QStringLiteral("QRLbBroiTxt"), {70, 33, 16, 6}, QStringLiteral("броя -  "));
    title.addLabel(QStringLiteral("QRLbIzdelie"), {86, 33, 100, 6}, QStringLiteral("Маса трапезна, дъб")).withFont(bold);

    Band& columns = layout.addBand(BandType::ColumnHeader, 9);
    const QList<std::pair<double, QString>> cols = {{10, QStringLiteral("№")},         {70, QStringLiteral("Наименование на материал")},
                                                    {14, QStringLiteral("М-ка")},       {28, QStringLiteral("Количество")},
                                                    {28, QStringLiteral("Стойност")},   {40, QStringLiteral("Забележка")}};
    double x = 0;
    QList<double> edges{0};
    for (const auto& [width, text] : cols) {
        columns.addLabel(QString(), {x, 0, width, 9}, text)
            .align(Qt::AlignCenter)
            .framed()
            .filled(QColor(232, 232, 232))
            .withFont(bold);
        x += width;
        edges << x;
    }

    Band& detail = layout.setDetail(ds, 6);
    detail.frame = Frame::sides(false, false, false, true);
    detail.addSystem(QStringLiteral("QRLineNo"), {0, 0, 10, 6}, SystemData::LineNumber).align(Qt::AlignRight | Qt::AlignTop);
    detail.addField(QStringLiteral("QRDBName"), {10, 0, 70, 6}, nullptr, QStringLiteral("NAME")).wrap().align(Qt::AlignLeft | Qt::AlignTop);
    detail.addLabel(QStringLiteral("QRLbMka"), {80, 0, 14, 6}, QStringLiteral("кг")).align(Qt::AlignHCenter | Qt::AlignTop);
    detail.addField(QStringLiteral("QRDBQty"), {94, 0, 28, 6}, nullptr, QStringLiteral("QTY")).align(Qt::AlignRight | Qt::AlignTop);
    detail.addField(QStringLiteral("QRDBAmount"), {122, 0, 28, 6}, nullptr, QStringLiteral("Amount")).align(Qt::AlignRight | Qt::AlignTop);
    for (double e : edges) detail.addVLine(QString(), e);

    Band& summary = layout.addBand(BandType::Summary, 40);
    summary.addLabel(QStringLiteral("QRLbObsto"), {94, 2, 28, 7}, QStringLiteral("Общо :")).align(Qt::AlignRight).withFont(bold);
    summary.addField(QStringLiteral("QRDBTotal"), {122, 2, 28, 7}, ds, QStringLiteral("TotalAmount"))
        .align(Qt::AlignRight)
        .framed()
        .withFont(bold);
    summary.addSystem(QStringLiteral("QRDate"), {0, 14, 60, 6}, SystemData::PrintDate, QStringLiteral("%1 год."));
    summary.addLabel(QStringLiteral("QRLbZaiavil"), {0, 26, 90, 6}, QStringLiteral("Заявил: ............................."));
    summary.addLabel(QStringLiteral("QRLbPriel"), {100, 26, 90, 6}, QStringLiteral("Приел: ............................."));

    Band& footer = layout.addBand(BandType::PageFooter, 7);
    footer.addHLine(QString(), 0, w, 1);
    footer.addSystem(QStringLiteral("QRPage"), {w - 40, 1.5, 40, 5}, SystemData::PageOfPages, QStringLiteral("Стр. %1 от %2"))
        .align(Qt::AlignRight)
        .withFont(Font::sized(8));
}

// ---- pagination -------------------------------------------------------------------------------

void TstReport::pagination_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("rowsOnFirst");
    QTest::addColumn<int>("rowsOnLast");
    QTest::addColumn<QString>("total");
    QTest::newRow("one row") << 1 << 1 << 1 << 1 << QStringLiteral("1.50");
    QTest::newRow("40 rows, summary fits") << 40 << 1 << 40 << 40 << QStringLiteral("1 230.00");
    // The first page is full: the summary goes alone to a second page, without column captions.
    QTest::newRow("46 rows, summary overflows") << 46 << 2 << 46 << 0 << QStringLiteral("1 621.50");
    QTest::newRow("500 rows") << 500 << 11 << 46 << 4 << QStringLiteral("187 875.00");
}

void TstReport::pagination()
{
    QFETCH(int, rows);
    QFETCH(int, pages);
    QFETCH(int, rowsOnFirst);
    QFETCH(int, rowsOnLast);
    QFETCH(QString, total);
    auto ds = items(rows);
    auto company = firma();
    Layout layout;
    standardLayout(layout, ds.get(), company.get());
    const Document doc = build(layout);
    QCOMPARE(doc.pages.size(), pages);

    int expectedLine = 1;
    for (int p = 0; p < pages; ++p) {
        const Page& page = doc.pages[p];
        const QString text = pageText(page);
        const QStringList lines = text.split(u'\n');
        const bool last = p == pages - 1;
        QCOMPARE(page.number, p + 1);
        QCOMPARE(lines.first(), QStringLiteral("Тест Трейд ООД\tОРИГИНАЛ"));  // page header on top of every page
        QCOMPARE(lines.contains(QStringLiteral("С П Р А В К А")), p == 0);
        QCOMPARE(lines.last(), QStringLiteral("Стр. %1 от %2").arg(p + 1).arg(pages));
        const QList<QPair<int, int>> found = detailRows(page);
        if (p == 0) QCOMPARE(found.size(), rowsOnFirst);
        if (last) QCOMPARE(found.size(), rowsOnLast);
        if (!last && p > 0) QCOMPARE(found.size(), 50);
        QCOMPARE(lines.contains(QStringLiteral("№\tНаименование\tКолич.\tЦена\tСтойност")), !found.isEmpty());
        for (const auto& [line, id] : found) {
            QCOMPARE(line, expectedLine);  // running number, continued over the page break
            QCOMPARE(id, expectedLine);    // rows in the dataset's order
            ++expectedLine;
        }
        QCOMPARE(text.contains(QStringLiteral("Общо :\t") + total), last);
        QCOMPARE(text.contains(QStringLiteral("01.02.2024 год.")), last);
        // Nothing runs into the page footer band.
        for (const Primitive& prim : page.items)
            if (const TextRun* t = std::get_if<TextRun>(&prim); t && !t->text.startsWith(QStringLiteral("Стр.")))
                QVERIFY2(t->rect.bottom() <= 297 - 10 - kFooter + 1e-6, qPrintable(t->text));
    }
    QCOMPARE(expectedLine, rows + 1);
    QCOMPARE(pageText(doc.pages[0]).split(u'\n').value(3), QStringLiteral("1\tМатериал 1\t1.00\t1.50\t1.50"));
}

void TstReport::paperSizes_data()
{
    QTest::addColumn<int>("paper");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<int>("pages");  // for 40 rows
    QTest::newRow("A4 portrait") << int(Paper::A4) << int(Orientation::Portrait) << QSizeF(210, 297) << 1;
    QTest::newRow("A4 landscape") << int(Paper::A4) << int(Orientation::Landscape) << QSizeF(297, 210) << 2;
    QTest::newRow("A5 portrait") << int(Paper::A5) << int(Orientation::Portrait) << QSizeF(148, 210) << 2;
    QTest::newRow("A5 landscape") << int(Paper::A5) << int(Orientation::Landscape) << QSizeF(210, 148) << 3;
}

void TstReport::paperSizes()
{
    QFETCH(int, paper);
    QFETCH(int, orientation);
    QFETCH(QSizeF, size);
    QFETCH(int, pages);
    auto ds = items(40);
    auto company = firma();
    Layout layout;
    layout.setPage(Paper(paper), Orientation(orientation));
    standardLayout(layout, ds.get(), company.get());
    const Document doc = build(layout);
    QCOMPARE(doc.pageSize, size);
    QCOMPARE(doc.pages.size(), pages);
    for (const Page& page : doc.pages) {
        // The footer sits on the bottom margin, the original mark ends on the right margin.
        const TextRun footer = runsWith(page, QStringLiteral("Стр. %1 от %2").arg(page.number).arg(pages)).value(0);
        QVERIFY(footer.rect.top() >= size.height() - 10 - kFooter);
        QVERIFY(footer.rect.bottom() <= size.height() - 10 + 1e-6);
        const TextRun mark = runsWith(page, QStringLiteral("ОРИГИНАЛ")).value(0);
        QCOMPARE(mark.rect.right() + 0.6, size.width() - 10);
        QVERIFY(mark.rect.top() < 10 + kHeader);
    }
    const QImage image = pageImage(doc, 0, 50);
    QCOMPARE(image.size(), QSize(qRound(size.width() * 50 / 25.4), qRound(size.height() * 50 / 25.4)));
}

// ---- copies -----------------------------------------------------------------------------------

void TstReport::copiesWithPerCopyLabel_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("pagesPerCopy");
    QTest::newRow("one original") << 1 << 1 << 1;
    QTest::newRow("original and two copies") << 1 << 3 << 1;
    QTest::newRow("two-page document, three times") << 60 << 3 << 2;
    QTest::newRow("none") << 1 << 0 << 1;
}

void TstReport::copiesWithPerCopyLabel()
{
    QFETCH(int, rows);
    QFETCH(int, copies);
    QFETCH(int, pagesPerCopy);
    auto ds = items(rows);
    auto company = firma();
    Layout layout;
    standardLayout(layout, ds.get(), company.get());
    const Document doc = buildCopies(layout, copies, QStringLiteral("QRLbOriginal"),
                                     [](int copy) { return copy == 0 ? QStringLiteral("ОРИГИНАЛ") : QString(); });
    QCOMPARE(doc.pages.size(), copies * pagesPerCopy);
    for (int i = 0; i < doc.pages.size(); ++i) {
        const Page& page = doc.pages[i];
        QCOMPARE(page.copy, i / pagesPerCopy);
        QCOMPARE(page.number, i % pagesPerCopy + 1);  // each copy numbers its own pages
        const QString text = pageText(page);
        QCOMPARE(text.contains(QStringLiteral("ОРИГИНАЛ")), page.copy == 0);
        QVERIFY(text.contains(QStringLiteral("Стр. %1 от %2").arg(page.number).arg(pagesPerCopy)));
        QCOMPARE(text.contains(QStringLiteral("Общо :")), page.number == pagesPerCopy);
    }
    QCOMPARE(layout.caption(QStringLiteral("QRLbOriginal")), QStringLiteral("ОРИГИНАЛ"));
    // The next preview shows the mark again.
    QVERIFY(pageText(build(layout).pages.value(0)).contains(QStringLiteral("ОРИГИНАЛ")));

    // Restored also when a copy fails to build.
    layout.setCaption(QStringLiteral("QRLbOriginal"), QStringLiteral("ПРЕПИС"));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, buildCopies(layout, 2, QStringLiteral("QRLbOriginal"), [](int copy) {
        if (copy == 1) throw std::runtime_error("refused");
        return QStringLiteral("ОРИГИНАЛ");
    }));
    QCOMPARE(layout.caption(QStringLiteral("QRLbOriginal")), QStringLiteral("ПРЕПИС"));
}

// ---- empty dataset ----------------------------------------------------------------------------

void TstReport::emptyDataset_data()
{
    QTest::addColumn<bool>("printIfEmpty");
    QTest::newRow("printed when told") << true;
    QTest::newRow("nothing otherwise") << false;
}

void TstReport::emptyDataset()
{
    QFETCH(bool, printIfEmpty);
    auto ds = items(0);
    QCOMPARE(ds->recordCount(), 0);
    auto company = firma();
    Layout layout;
    standardLayout(layout, ds.get(), company.get());
    layout.printIfEmpty = printIfEmpty;
    const Document doc = build(layout);
    if (!printIfEmpty) {
        QVERIFY(doc.isEmpty());
        QVERIFY(!writePdf(doc, dir_.filePath(QStringLiteral("empty.pdf"))));
        return;
    }
    QCOMPARE(doc.pages.size(), 1);
    QCOMPARE(pageText(doc.pages[0]), QStringLiteral("Тест Трейд ООД\tОРИГИНАЛ\n"
                                                    "С П Р А В К А\n"
                                                    "№\tНаименование\tКолич.\tЦена\tСтойност\n"
                                                    "Общо :\n"
                                                    "01.02.2024 год.\n"
                                                    "Стр. 1 от 1"));
}

// ---- stretching -------------------------------------------------------------------------------

void TstReport::stretchedTextPushesFollowingBands_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("minLines");
    QTest::newRow("no text") << QString() << 0;
    QTest::newRow("one line") << QStringLiteral("Кратка бележка") << 1;
    QTest::newRow("wrapped") << QStringLiteral("Доставката се приема след проверка на количеството и качеството на "
                                               "стоката в присъствието на представител на доставчика, като всички "
                                               "забележки се вписват в протокола.")
                             << 4;
    QTest::newRow("line breaks") << QStringLiteral("първи ред\rвтори ред\r\nтрети ред") << 3;
}

void TstReport::stretchedTextPushesFollowingBands()
{
    QFETCH(QString, note);
    QFETCH(int, minLines);
    auto ds = items(3);
    ds->first();
    ds->edit();
    ds->setValue(QStringLiteral("NOTE"), note.isEmpty() ? QVariant() : QVariant(note));
    ds->post();  // in the cache only

    Layout layout(QStringLiteral("TQRStretch"));
    Band& detail = layout.setDetail(ds.get(), kRow);
    detail.addField(QStringLiteral("QRDBName"), {0, 0, 40, kRow}, nullptr, QStringLiteral("NAME"));
    detail.addField(QStringLiteral("QRDBNote"), {40, 0, 50, kRow}, nullptr, QStringLiteral("NOTE")).wrap().align(Qt::AlignTop);
    detail.addVLine(QStringLiteral("QRRule"), 92);
    layout.addBand(BandType::Summary, 6).addLabel(QStringLiteral("QRLbEnd"), {0, 0, 40, 6}, QStringLiteral("Край"));
    const Document doc = build(layout);
    QCOMPARE(doc.pages.size(), 1);
    const Page& page = doc.pages[0];

    QList<TextRun> noteLines, names;
    QList<LineRun> rules;
    for (const Primitive& p : page.items) {
        if (const TextRun* t = std::get_if<TextRun>(&p)) {
            if (t->rect.left() >= 40 && t->rect.left() < 92) noteLines << *t;
            if (t->text.startsWith(QStringLiteral("Материал")) || t->text == QStringLiteral("Край")) names << *t;
        } else if (const LineRun* l = std::get_if<LineRun>(&p)) {
            rules << *l;
        }
    }
    QVERIFY(noteLines.size() >= minLines);
    if (minLines == 0) QVERIFY(noteLines.isEmpty());
    QCOMPARE(names.size(), 4);  // three rows and the summary, in order down the page
    QCOMPARE(rules.size(), 3);

    // Every wrapped line fits its box, and together they give back the note's words.
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(1200 / 0.0254));
    device.setDotsPerMeterY(qRound(1200 / 0.0254));
    QStringList words;
    for (const TextRun& t : noteLines) {
        QFont f(t.font.family);
        f.setPointSizeF(t.font.size);
        f.setHintingPreference(QFont::PreferNoHinting);
        const double widthMm = QFontMetricsF(f, &device).horizontalAdvance(t.text) * 25.4 / 1200;
        QVERIFY2(widthMm <= 50 - 2 * 0.6 + 0.05, qPrintable(t.text));
        words << t.text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    }
    QCOMPARE(words, note.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts));

    // The first row is as high as its text needs (or its own height); the rows below move down by
    // that much and the rule of the first row spans it.
    const double lineHeight = noteLines.isEmpty() ? 0 : noteLines.first().rect.height();
    const double firstHeight = std::max(kRow, noteLines.size() * lineHeight + 2 * 0.5);  // text and its padding
    const double rowTop = 10;
    QCOMPARE(rules[0].from.y(), rowTop);
    QVERIFY(qAbs(rules[0].to.y() - (rowTop + firstHeight)) < 1e-6);
    QVERIFY(qAbs(rules[1].from.y() - (rowTop + firstHeight)) < 1e-6);
    QVERIFY(qAbs(rules[1].to.y() - rules[1].from.y() - kRow) < 1e-6);
    for (const TextRun& t : noteLines) QVERIFY(t.rect.bottom() <= rowTop + firstHeight + 1e-6);
    QVERIFY(names[1].rect.top() >= rowTop + firstHeight - 1e-6);
    QVERIFY(names[3].rect.top() >= rowTop + firstHeight + 2 * kRow - 1e-6);
}

// ---- groups, sub-details and the current row --------------------------------------------------

void TstReport::groupsAndSubDetails_data()
{
    QTest::addColumn<int>("link");  // 0 none, 1 by link fields, 2 a setMaster detail
    QTest::newRow("groups only") << 0;
    QTest::newRow("sub-detail by link fields") << 1;
    QTest::newRow("sub-detail following its master") << 2;
}

void TstReport::groupsAndSubDetails()
{
    QFETCH(int, link);
    auto ds = items(4);
    SmpDataset parts(QStringLiteral("SmpParts"), db_.get());
    if (link == 2) {
        parts.setCommandText(QStringLiteral("select * from R_PART where ITEM_ID = :ID order by ID"));
        parts.setMaster(ds.get(), QStringLiteral("ID"), QStringLiteral("ITEM_ID"));
    } else {
        parts.setCommandText(QStringLiteral("select * from R_PART order by ID"));
    }
    int masterScrolls = 0;
    ds->afterScroll = [&](SmpDataset&) { ++masterScrolls; };
    ds->moveTo(2);
    parts.open();
    if (link == 2) parts.moveTo(1);
    const int partsRow = parts.recNo();
    masterScrolls = 0;
    QSignalSpy masterMoves(ds.get(), &SmpDataset::currentChanged);
    QSignalSpy masterResets(ds.get(), &SmpDataset::dataReset);

    Layout layout(QStringLiteral("TQRGroups"));
    Band& detail = layout.setDetail(ds.get(), kRow);
    detail.addSystem(QString(), {0, 0, 10, kRow}, SystemData::LineNumber);
    detail.addField(QString(), {10, 0, 50, kRow}, nullptr, QStringLiteral("NAME"));
    Group& group = layout.addGroup([](const RowContext& ctx) { return (ctx.value(QStringLiteral("ID")).toInt() - 1) / 2; },
                                   6, 6);
    group.header->addExpression(QString(), {0, 0, 80, 6}, [](const RowContext& ctx) {
        return QStringLiteral("Група от %1").arg(ctx.text(QStringLiteral("NAME")));
    });
    group.footer->addExpression(QString(), {0, 0, 80, 6}, [](const RowContext& ctx) {
        return QStringLiteral("Край на групата при ред %1").arg(ctx.lineNumber);
    });
    if (link > 0) {
        Band& sub = link == 1 ? layout.addSubDetail(&parts, 5, QStringLiteral("ID"), QStringLiteral("ITEM_ID"))
                              : layout.addSubDetail(&parts, 5);
        sub.addSystem(QString(), {15, 0, 10, 5}, SystemData::LineNumber, QStringLiteral("%1)"));
        sub.addField(QString(), {25, 0, 40, 5}, nullptr, QStringLiteral("PART_NAME"));
        sub.addField(QString(), {65, 0, 40, 5}, ds.get(), QStringLiteral("NAME"));  // the master row's value
    }
    const Document doc = build(layout);
    QCOMPARE(doc.pages.size(), 1);

    QStringList expected{QStringLiteral("Група от Материал 1"), QStringLiteral("1\tМатериал 1")};
    if (link > 0) expected << QStringLiteral("1)\tвинт М4\tМатериал 1") << QStringLiteral("2)\tшайба\tМатериал 1");
    expected << QStringLiteral("2\tМатериал 2") << QStringLiteral("Край на групата при ред 2")
             << QStringLiteral("Група от Материал 3") << QStringLiteral("3\tМатериал 3");
    if (link > 0)
        expected << QStringLiteral("1)\tлепило\tМатериал 3") << QStringLiteral("2)\tбоя\tМатериал 3")
                 << QStringLiteral("3)\tлак\tМатериал 3");
    expected << QStringLiteral("4\tМатериал 4") << QStringLiteral("Край на групата при ред 4");
    QCOMPARE(pageText(doc.pages[0]).split(u'\n'), expected);

    // The grid's rows stay where they were.
    QCOMPARE(ds->recNo(), 2);
    QCOMPARE(parts.recNo(), partsRow);
    if (link == 2) {
        QCOMPARE(parts.valueAt(parts.recNo(), parts.fieldByName(QStringLiteral("ITEM_ID"))).toInt(), 3);
    } else {
        // Read by position only: no move, no signal.
        QCOMPARE(masterScrolls, 0);
        QCOMPARE(masterMoves.count(), 0);
        QCOMPARE(masterResets.count(), 0);
    }
}

void TstReport::displayFormatOverrideIsRestored_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("shown");
    QTest::newRow("whole numbers") << QStringLiteral("# ### ###") << QStringLiteral("1 235");
    QTest::newRow("three decimals") << QStringLiteral("0.000") << QStringLiteral("1234.500");
}

void TstReport::displayFormatOverrideIsRestored()
{
    QFETCH(QString, format);
    QFETCH(QString, shown);
    SmpDataset ds(QStringLiteral("SmpQty"), db_.get());
    ds.setCommandText(QStringLiteral("select ID, QTY * 1234.5 as QTY from R_ITEM where ID = 1"));
    ds.open();
    SmpField* qty = ds.fieldByName(QStringLiteral("QTY"));
    qty->displayFormat = QStringLiteral("# ##0.00");
    Layout layout;
    layout.setDetail(&ds, kRow).addField(QString(), {0, 0, 40, kRow}, nullptr, QStringLiteral("QTY"));
    {
        ScopedDisplayFormat scoped(qty, format);
        QCOMPARE(pageText(build(layout).pages.value(0)), shown);
    }
    QCOMPARE(qty->displayFormat, QStringLiteral("# ##0.00"));
    QCOMPARE(pageText(build(layout).pages.value(0)), QStringLiteral("1 234.50"));
}

// ---- output -----------------------------------------------------------------------------------

void TstReport::pdfAndPrinterCarryCyrillicText()
{
    auto ds = items(60);
    ds->moveTo(1);
    ds->edit();
    ds->setValue(QStringLiteral("NAME"), QStringLiteral("Плоскост ПДЧ 18 мм, дъб сонома, двустранно ламинирана, "
                                                       "с кант ABS 2 мм по дългите страни"));
    ds->post();
    auto company = firma();
    Layout layout;
    sampleForm(layout, ds.get(), company.get());
    const Document doc = build(layout);
    QCOMPARE(doc.pages.size(), 2);

    // The logo keeps its 4:1 shape inside its 40 x 16 box, at the box's right edge.
    const ImageRun* logo = nullptr;
    for (const Primitive& p : doc.pages[0].items)
        if (const ImageRun* i = std::get_if<ImageRun>(&p)) logo = i;
    QVERIFY(logo);
    QVERIFY(qAbs(logo->rect.width() - 40) < 1e-6);
    QVERIFY(qAbs(logo->rect.height() - 10) < 1e-6);
    QVERIFY(qAbs(logo->rect.right() - 200) < 1e-6);

    // A family that is not installed falls back to the one the layout names.
    const QString serif = QFontDatabase::hasFamily(QStringLiteral("Times New Roman")) ? QStringLiteral("Times New Roman")
                                                                                     : QStringLiteral("DejaVu Serif");
    QCOMPARE(runsWith(doc.pages[0], QStringLiteral("К А Л К У Л А Ц И Я")).value(0).font.family, serif);
    QCOMPARE(runsWith(doc.pages[0], QStringLiteral("Общо :")).size(), 0);
    QCOMPARE(runsWith(doc.pages[1], QStringLiteral("Общо :")).value(0).font.family, QStringLiteral("DejaVu Sans"));

    const QString pdf = dir_.filePath(QStringLiteral("recepta.pdf"));
    QVERIFY(writePdf(doc, pdf));
    // A copy to look at, on request.
    if (const QByteArray keep = qgetenv("TRX_REPORT_SAMPLE_DIR"); !keep.isEmpty()) {
        const QString copy = QDir(QString::fromLocal8Bit(keep)).filePath(QStringLiteral("recepta.pdf"));
        QFile::remove(copy);
        QVERIFY(QFile::copy(pdf, copy));
    }
    QString error;
    const QString text = pdfText(pdf, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(text.count(u'\f'), 2);
    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {pdf});
    QVERIFY(fonts.waitForFinished(30000) && fonts.exitCode() == 0);
    const QString fontList = QString::fromUtf8(fonts.readAllStandardOutput());
    QVERIFY2(fontList.contains(QString(serif).remove(u' ')) && fontList.contains(QStringLiteral("DejaVuSans")), qPrintable(fontList));
    for (const char* s : {"К А Л К У Л А Ц И Я", "МАТЕРИАЛИ, НЕОБХОДИМИ ЗА ИЗРАБОТВАНЕТО НА", "Тест Трейд ООД",
                          "Наименование на материал", "Материал 60", "Плоскост ПДЧ 18 мм", "Общо :", "90.00",
                          "2 745.00", "01.02.2024 год.", "Стр. 2 от 2"})
        QVERIFY2(squeezed(text).contains(squeezed(QString::fromUtf8(s))), s);

    // The printer path: two collated copies of the two pages.
    const QString printed = dir_.filePath(QStringLiteral("printed.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printed);
    QVERIFY(print(doc, printer, 2));
    const QString printedText = pdfText(printed, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QStringList sheets = printedText.split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(sheets.size(), 4);
    QVERIFY(sheets[0].contains(QStringLiteral("Стр. 1 от 2")) && sheets[2].contains(QStringLiteral("Стр. 1 от 2")));
    QVERIFY(sheets[3].contains(QStringLiteral("Общо :")) && !sheets[2].contains(QStringLiteral("Общо :")));
}

void TstReport::previewShowsThePagesModally()
{
    auto ds = items(60);
    auto company = firma();
    Layout layout;
    standardLayout(layout, ds.get(), company.get());
    RecordingUi ui;
    int seen = 0;
    const QString pdf = dir_.filePath(QStringLiteral("preview.pdf"));
    ui.onModal = [&](Form* form) {
        auto* preview = qobject_cast<ReportPreview*>(form);
        if (!preview) return -1;
        auto* page = preview->findChild<QLabel*>(QStringLiteral("LbPage"));
        auto* next = preview->findChild<QToolButton*>(QStringLiteral("BtnNextPage"));
        auto* prior = preview->findChild<QToolButton*>(QStringLiteral("BtnPriorPage"));
        if (!page || !next || !prior) return -2;
        seen = 1;
        if (page->text() != QStringLiteral("Стр. 1 от 2") || prior->isEnabled() || !next->isEnabled()) return -3;
        next->click();
        if (page->text() != QStringLiteral("Стр. 2 от 2") || preview->currentPage() != 1 || next->isEnabled()) return -4;
        // The sheet is painted: dark pixels of text and rules on it.
        const QImage shot = preview->findChild<QWidget*>(QStringLiteral("ScrollPage"))->grab().toImage();
        int dark = 0;
        for (int y = 0; y < shot.height(); y += 2)
            for (int x = 0; x < shot.width(); x += 2) dark += qGray(shot.pixel(x, y)) < 80;
        if (dark < 50) return -5;
        if (const QByteArray keep = qgetenv("TRX_REPORT_SAMPLE_DIR"); !keep.isEmpty())
            preview->grab().save(QDir(QString::fromLocal8Bit(keep)).filePath(QStringLiteral("preview.png")));
        return preview->savePdf(pdf) ? 7 : -6;
    };
    QCOMPARE(preview(layout), 7);
    QCOMPARE(seen, 1);
    QCOMPARE(ui.texts(RecordingUi::Kind::Modal), QStringList{QStringLiteral("ReportPreview")});
    QString error;
    QCOMPARE(pdfText(pdf, &error).count(u'\f'), 2);
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TstReport t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_report.moc"
