#include "orders/qrporychki.h"

#include "common/basecurrency.h"
#include "data/dmns.h"
#include "data/dmporychki.h"
#include "platform/base/clock.h"
#include "platform/base/formats.h"

using namespace Report;
using namespace Qt::StringLiterals;

namespace {
constexpr double kRow = 6;
constexpr double kHeading = 46;  // where the column captions of every layout stand
const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

Font serif(double points, bool bold = false)
{
    return Font::sized(points, bold).withFamily(u"Times New Roman"_s, u"DejaVu Serif"_s);
}

struct Column
{
    const char* heading;
    const char* field;  // nullptr: the running number; "": left empty for handwriting
    double width;
    const char* format = "";  // a number, right-aligned; none: text, broken into lines to fit
};

// Column captions at kHeading and one detail cell per column, in `points`.
void columns(Band& header, Band& detail, const QList<Column>& cols, double points)
{
    double x = 0;
    for (const Column& c : cols) {
        header.addLabel(QString(), {x, kHeading, c.width, 8}, QString::fromUtf8(c.heading))
            .align(Qt::AlignCenter)
            .framed(Frame::box(0.3))
            .withFont(serif(points, true));
        const QRectF cell{x, 0, c.width, kRow};
        if (!c.field) {
            detail.addSystem(u"QRSysDataNo"_s, cell, SystemData::LineNumber).align(kRight).withFont(serif(points));
        } else if (*c.field) {
            const QString field = QString::fromLatin1(c.field);
            Item& item = detail.addField(u"QRDBText"_s + field, cell, nullptr, field).withFont(serif(points));
            if (*c.format)
                item.align(kRight).format(QString::fromLatin1(c.format));
            else
                item.wrap();
        }
        x += c.width;
    }
}

// The non-empty parts, joined by ", ".
QString joined(const QStringList& parts)
{
    QStringList kept;
    for (const QString& p : parts)
        if (!p.trimmed().isEmpty()) kept << p.trimmed();
    return kept.join(u", "_s);
}

// "caption value", or nothing when the value is empty.
QString captioned(const QString& caption, const QString& value)
{
    return value.trimmed().isEmpty() ? QString() : caption + u' ' + value.trimmed();
}

// The current order's "number / date", as one text so that it reads without a gap.
QString numberAndDate(const SmpDataset* order)
{
    if (!order->isActive() || order->isEmpty()) return {};
    return u"%1 / %2"_s.arg(Formats::formatNumber(order->value(u"AUTONUM_NPORYCHKA"_s).toDouble(), u"# ###"_s),
                            Formats::formatDate(order->value(u"DATEPORYCHKA"_s).toDate(), u"dd.mm.yyyy"_s));
}
} // namespace

TQRPorychkiBase::TQRPorychkiBase(const QString& name, TDMNS& dm) : Layout(name), dm_(dm)
{
    setPage(Paper::A4, Orientation::Portrait);
    margins = Margins{12, 12, 12, 12};
    printIfEmpty = true;
}

Document TQRPorychkiBase::build()
{
    printDate = Clock::today();
    return Report::build(*this);
}

double TQRPorychkiBase::companyBlock(Band& header, bool street)
{
    const double w = bodyWidth();
    SmpDataset* firm = &dm_.SmpFirma;
    header.addField(u"QRDBTextImeFirma"_s, {0, 0, w, 7}, firm, u"IMEFIRMA"_s).withFont(serif(13, true));
    const auto v = [firm](const char* f) {
        return firm->isActive() && !firm->isEmpty() ? firm->value(QString::fromLatin1(f)).toString().trimmed() : QString();
    };
    // What the company record leaves empty is left out, with its caption.
    header.addExpression(u"QRExprAdresFirma"_s, {0, 7, w, 5}, [v, street](const RowContext&) {
        return joined({v("POSTKOD") + u' ' + v("GradFirma"), captioned(street ? u"ул."_s : QString(), v("ADRES"))});
    }).withFont(serif(9));
    header.addExpression(u"QRExprTelFirma"_s, {0, 12, w, 5}, [v](const RowContext&) {
        return joined({captioned(u"тел."_s, v("TEL")), captioned(u"e-mail:"_s, v("EMAIL"))});
    }).withFont(serif(9));
    header.addHLine(QString(), 0, w, 18);
    return 20;
}

void TQRPorychkiBase::signatures(Band& summary, double y)
{
    summary.addLabel(u"QRLbPredal"_s, {0, y, 85, 6}, u"Предал : ............................."_s).withFont(serif(10));
    summary.addLabel(u"QRLbPriel"_s, {bodyWidth() - 85, y, 85, 6}, u"Приел : ............................."_s)
        .withFont(serif(10));
}

TQRPorychka_izvestie::TQRPorychka_izvestie(TDMNS& dm, TDMPorychki& po) : TQRPorychkiBase(u"TQRPorychka_izvestie"_s, dm)
{
    const double w = bodyWidth();
    SmpDataset* order = &po.SmpPorychkiArh;
    Band& header = addBand(BandType::PageHeader, kHeading + 8);
    const double y = companyBlock(header, true);
    header.addLabel(QString(), {20, y, 70, 8}, u"И З В Е С Т И Е  №"_s).align(kRight).withFont(serif(13, true));
    header.addExpression(u"QRDBTextNum"_s, {92, y, 70, 8}, [order](const RowContext&) { return numberAndDate(order); })
        .withFont(serif(13, true));
    header.addLabel(QString(), {0, y + 11, 44, 6}, u"Поръчка от фирма :"_s).withFont(serif(10));
    header.addField(u"QRDBTextKlient"_s, {45, y + 11, w - 45, 6}, order, u"IMEKONTRAGENT"_s).withFont(serif(10, true));
    header.addExpression(u"QRExprAdres"_s, {45, y + 17, w - 45, 6}, [order](const RowContext&) {
        if (!order->isActive() || order->isEmpty()) return QString();
        return joined({captioned(u"гр./с."_s, order->value(u"GRAD"_s).toString()), order->value(u"ADRES"_s).toString()});
    }).withFont(serif(10));
    Band& detail = setDetail(&po.SmpViewIzdPorych, kRow);
    columns(header, detail, {{"№", nullptr, 10}, {"Тип продукция", "IMEMATERIAL", 80}, {"Брой", "BROI_IZDELIE", 22, "# ##0.00"},
                             {"Срок", "", 24}, {"Описание", "OPISANIE", w - 136}}, 9);
    // The deadline is the order's, the same on every line.
    detail.addField(u"QRDBTextSrok"_s, {112, 0, 24, kRow}, order, u"DATESROK"_s)
        .align(Qt::AlignCenter)
        .format(u"dd.mm.yy"_s)
        .withFont(serif(9));

    Band& summary = addBand(BandType::Summary, 30);
    summary.addField(u"QRRichTextInfo"_s, {0, 4, w, 8}, order, u"INFO_PORYCHKA"_s).wrap().withFont(serif(10));
    signatures(summary, 20);
}

TQRNeedsBase::TQRNeedsBase(const QString& name, TDMNS& dm, SmpDataset& needs)
    : TQRPorychkiBase(name, dm), header_(addBand(BandType::PageHeader, kHeading + 8))
{
    top_ = companyBlock(header_, false);
    table(needs);
    Band& summary = addBand(BandType::Summary, 30);
    summary.addLabel(QString(), {90, 3, 40, 6}, u"Обща стойност :"_s).align(kRight).withFont(serif(10, true));
    summary.addField(u"QRDBTextObsto"_s, {130, 3, 30, 6}, &needs, u"AggObstaStoinost"_s)
        .align(kRight)
        .format(u"# ### ##0.00"_s)
        .withFont(serif(10, true));
    summary.addLabel(QString(), {161, 3, 20, 6}, BaseCurrency::plural() + u'.').withFont(serif(10));
    signatures(summary, 16);
}

void TQRNeedsBase::table(SmpDataset& needs)
{
    Band& detail = setDetail(&needs, kRow);
    detail.frame = Frame::sides(false, false, false, true, 0.1);
    // At 8 points a six-digit quantity fits its column and a material name of 65 characters takes
    // two lines.
    const char* qty = "# ### ##0.000";
    columns(header_, detail, {{"№", nullptr, 8}, {"Вид материал", "IMEMATERIAL", 52}, {"Мка", "IMEMIARKA", 10},
                              {"Ед.цена", "ED_CENA", 16, "# ##0.000"}, {"Необх.", "NEOBHODIMO", 20, qty},
                              {"Стойност", "STOINOST", 20, "# ##0.00"}, {"Налично", "NALICHNO", 20, qty},
                              {"Недостиг", "Nedostig", 20, qty}, {"Забележка", "", bodyWidth() - 166}}, 8);
}

TQRPorychka_Materiali::TQRPorychka_Materiali(TDMNS& dm, TDMPorychki& po)
    : TQRNeedsBase(u"TQRPorychka_Materiali"_s, dm, po.SmpPorychka_Materiali)
{
    SmpDataset* order = &po.SmpPorychkiArh;
    header_.addLabel(u"QRLbTitle"_s, {0, top_, bodyWidth(), 8}, u"КАЛКУЛАЦИЯ НА МАТЕРИАЛИТЕ"_s)
        .align(Qt::AlignCenter)
        .withFont(serif(13, true));
    header_.addLabel(u"QRLbImePorych"_s, {0, top_ + 10, 100, 7}, u"ПО ИНДИВИДУАЛНА ПОРЪЧКА №"_s)
        .align(kRight)
        .withFont(serif(11, true));
    header_.addExpression(u"QRDBTextNumPorych"_s, {102, top_ + 10, 60, 7}, [order](const RowContext&) {
        return numberAndDate(order);
    }).withFont(serif(11, true));
}

TQRPorychkaDvigMat::TQRPorychkaDvigMat(TDMNS& dm, TDMPorychki& po)
    : TQRNeedsBase(u"TQRPorychkaDvigMat"_s, dm, po.SmpPorychDvigMat)
{
    const double w = bodyWidth();
    header_.addLabel(u"QRLbPyrviRed"_s, {0, top_, w, 7}, QString()).align(Qt::AlignCenter).withFont(serif(10, true));
    header_.addLabel(u"QRLbVtoriRed"_s, {30, top_ + 8, 80, 6}, QString()).align(kRight).withFont(serif(10));
    header_.addSystem(u"QRSysDataDate"_s, {112, top_ + 8, 40, 6}, SystemData::PrintDate).withFont(serif(10, true));
    header_.addLabel(u"QRLblImeIzd"_s, {0, top_ + 15, w, 6}, QString()).align(Qt::AlignCenter).withFont(serif(10, true));
}
