#include "reports/reference/qrrecepta.h"

#include "platform/base/clock.h"
#include "data/dmns.h"
#include "platform/report/reportpreview.h"

using namespace Report;

namespace {

// Columns of the table, in mm across the 190 mm body of the page.
struct Column
{
    double x, width;
};
constexpr Column kNo{0, 10}, kName{10, 84}, kMka{94, 14}, kQty{108, 28}, kValue{136, 28}, kNote{164, 26};
constexpr double kRow = 6;

QRectF cell(const Column& c, double y, double h) { return {c.x, y, c.width, h}; }

} // namespace

TQRRecepta::TQRRecepta(TDMNS& dm) : Layout(QStringLiteral("TQRRecepta"))
{
    setPage(Paper::A4, Orientation::Portrait);
    margins = Margins{10, 12, 10, 12};
    printIfEmpty = true;
    const double w = bodyWidth();
    const Font bold = Font::sized(10, true);
    const Font serif = Font::sized(17, true).withFamily(QStringLiteral("Times New Roman"), QStringLiteral("DejaVu Serif"));

    Band& header = addBand(BandType::PageHeader, 47);
    header.addLabel(QStringLiteral("QRLabel1"), {0, 2, w, 10}, QStringLiteral("К А Л К У Л А Ц И Я"))
        .align(Qt::AlignCenter)
        .withFont(serif);
    header.addLabel(QStringLiteral("QRLabel2"), {0, 14, w, 7}, QStringLiteral("МАТЕРИАЛИ, НЕОБХОДИМИ ЗА ИЗРАБОТВАНЕТО НА"))
        .align(Qt::AlignCenter)
        .withFont(bold);
    header.addField(QStringLiteral("QRDBTextBroi"), {0, 24, 62, 7}, &dm.SmpRecep_izdN, QStringLiteral("KolichBroi"))
        .align(Qt::AlignRight | Qt::AlignVCenter)
        .withFont(bold);
    header.addLabel(QStringLiteral("QRLabel3"), {63, 24, 17, 7}, QStringLiteral("броя -  ")).withFont(Font::sized(10));
    header.addField(QStringLiteral("QRDBTextIzdelie"), {80, 24, w - 80, 7}, &dm.SmpTipIzdelieN,
                    QStringLiteral("ImeMaterial_Izdelie"))
        .withFont(bold.withItalic());
    const QList<std::pair<Column, QString>> captions = {
        {kNo, QStringLiteral("№")},          {kName, QStringLiteral("Наименование на материал")},
        {kMka, QStringLiteral("М-ка")},      {kQty, QStringLiteral("Количество")},
        {kValue, QStringLiteral("Стойност")}, {kNote, QStringLiteral("Забележка")}};
    for (const auto& [c, text] : captions)
        header.addLabel(QString(), cell(c, 37, 10), text)
            .align(Qt::AlignCenter)
            .framed(Frame::box(0.3))
            .filled(QColor(235, 235, 235))
            .withFont(Font::sized(9, true));

    Band& detail = setDetail(&dm.SmpRecepIzdVIEW, kRow);
    detail.frame = Frame::sides(false, false, false, true);
    const Qt::Alignment top = Qt::AlignTop;
    detail.addSystem(QStringLiteral("QRSysDataNo"), cell(kNo, 0, kRow), SystemData::LineNumber).align(Qt::AlignRight | top);
    detail.addField(QStringLiteral("QRDBTextMaterial"), cell(kName, 0, kRow), nullptr, QStringLiteral("IMEMATERIAL"))
        .wrap()
        .align(Qt::AlignLeft | top);
    detail.addField(QStringLiteral("QRDBTextMka"), cell(kMka, 0, kRow), nullptr, QStringLiteral("Mka"))
        .align(Qt::AlignHCenter | top);
    detail.addField(QStringLiteral("QRDBTextKolich"), cell(kQty, 0, kRow), nullptr, QStringLiteral("KolichObsto"))
        .align(Qt::AlignRight | top);
    detail.addField(QStringLiteral("QRDBTextCena"), cell(kValue, 0, kRow), nullptr, QStringLiteral("CenaObsto"))
        .align(Qt::AlignRight | top);
    for (double x : {kNo.x, kName.x, kMka.x, kQty.x, kValue.x, kNote.x, w}) detail.addVLine(QString(), x);

    Band& summary = addBand(BandType::Summary, 44);
    summary.addLabel(QStringLiteral("QRLabelObsto"), cell(kQty, 2, 7), QStringLiteral("Общо :"))
        .align(Qt::AlignRight | Qt::AlignVCenter)
        .withFont(bold);
    summary.addField(QStringLiteral("QRDBTextSuma"), cell(kValue, 2, 7), &dm.SmpRecepIzdVIEW, QStringLiteral("CenaObstoSum"))
        .align(Qt::AlignRight | Qt::AlignVCenter)
        .framed(Frame::box(0.3))
        .withFont(bold);
    summary.addSystem(QStringLiteral("QRSysDataDate"), {0, 16, 70, 6}, SystemData::PrintDate, QStringLiteral("%1 год."));
    summary.addLabel(QStringLiteral("QRLabelZaiavil"), {0, 32, 85, 6}, QStringLiteral("Заявил: ............................."));
    summary.addLabel(QStringLiteral("QRLabelPriel"), {105, 32, 85, 6}, QStringLiteral("Приел: ............................."));
}

Document TQRRecepta::build()
{
    printDate = Clock::today();
    return Report::build(*this);
}

void TQRRecepta::Preview() { Report::preview(build()); }
