#include "sales/layoutblocks.h"

#include "platform/dataset/smpdataset.h"

using namespace Report;
using namespace Qt::StringLiterals;

namespace LayoutBlocks {

namespace {
constexpr double kLine = 5.5;  // mm, one line of the header blocks
}

Font serif(double size, bool bold) { return Font::sized(size, bold).withFamily(u"Times New Roman"_s, u"DejaVu Serif"_s); }

Item& label(Band& band, const QString& name, const QRectF& rect, const QString& text, double size, bool bold)
{
    return band.addLabel(name, rect, text).withFont(serif(size, bold));
}

void parties(Band& b, double y, double width, SmpDataset& firma, const PartyCaptions& c)
{
    const double half = width / 2, right = half + 2, rw = width - right - 1;
    Item& rule = b.addVLine(QString(), half, y);
    rule.lineWidth = 0.3, rule.growWithBand = false, rule.rect.setHeight(50);
    b.addHLine(QString(), 0, width, y + 50).lineWidth = 0.3;
    label(b, QString(), {1, y + 1, 40, kLine}, c.recipient, 10, true);
    label(b, u"QRLbPoluchatel"_s, {1, y + 7, half - 2, 7}, {}, 12, true);
    label(b, QString(), {1, y + 15, 24, kLine}, u"Адрес гр./с/:"_s);
    label(b, u"QRLbAdres_Grad"_s, {25, y + 15, half - 26, kLine}, {}, 9, true);
    label(b, u"QRLbAdres_UlicaN"_s, {1, y + 15 + kLine, half - 2, kLine}, {}, 9, true);
    label(b, u"QRLbTDan_No"_s, {1, y + 15 + 2 * kLine, 44, kLine}, {}, 8);
    label(b, u"QRLbDan_No"_s, {45, y + 15 + 2 * kLine, half - 46, kLine}, {}, 9, true);
    label(b, u"QRLbTBulstat"_s, {1, y + 15 + 3 * kLine, 44, kLine}, {}, 8);
    label(b, u"QRLbBulstat"_s, {45, y + 15 + 3 * kLine, half - 46, kLine}, {}, 9, true);
    label(b, QString(), {1, y + 15 + 4 * kLine, 14, kLine}, u"М О Л :"_s);
    label(b, u"QRLbMOL"_s, {15, y + 15 + 4 * kLine, half - 16, kLine}, {}, 9, true);
    // Supplier: the company record.
    label(b, QString(), {right, y + 1, 40, kLine}, c.supplier, 10, true);
    b.addImage(u"QRDBImageLogo"_s, {width - 27, y + 1, 26, 14}, &firma, u"LOGO_FIRMA"_s).keepAspect = false;
    b.addField(u"QRDBTextFirma"_s, {right, y + 7, rw - 28, 7}, &firma, u"IMEFIRMA"_s).withFont(serif(12, true));
    const auto company = [&](double row, const QString& caption, double captionWidth, const QString& name,
                             const QString& field) {
        label(b, QString(), {right, y + row, captionWidth, kLine}, caption, 8);
        b.addField(name, {right + captionWidth, y + row, rw - captionWidth, kLine}, &firma, field).withFont(serif(9, true));
    };
    label(b, QString(), {right, y + 15, 18, kLine}, u"Адрес: гр."_s);
    b.addField(u"QRDBTextGrad"_s, {right + 18, y + 15, 26, kLine}, &firma, u"GradFirma"_s).withFont(serif(9, true));
    b.addField(u"QRDBTextAdres"_s, {right + 44, y + 15, rw - 44, kLine}, &firma, u"ADRES"_s).withFont(serif(9, true));
    company(15 + kLine, c.companyId, 44, u"QRDBTextDanNo"_s, u"DAN_NO"_s);
    company(15 + 2 * kLine, c.companyVat, 44, u"QRDBTextBulstat"_s, u"BULSTAT"_s);
    label(b, QString(), {right, y + 15 + 3 * kLine, 14, kLine}, u"М О Л :"_s);
    label(b, u"QRLbMOLFirma"_s, {right + 14, y + 15 + 3 * kLine, rw - 14, kLine}, {}, 9, true);
    company(15 + 4 * kLine, u"Тел./Факс:"_s, 18, u"QRDBTextTel"_s, u"TEL"_s);
    label(b, QString(), {right, y + 15 + 5 * kLine, 34, kLine}, u"Място на сделката :"_s, 8);
    label(b, u"QRLbMqstoSdelka"_s, {right + 34, y + 15 + 5 * kLine, rw - 34, kLine}, {}, 9, true);
}

void columnHeader(Report::Band& b, const QList<Column>& columns, double y)
{
    double x = 0;
    for (const Column& c : columns) {
        const QStringList parts = c.heading.split(u'\n');
        if (parts.size() == 1) {
            label(b, QString(), {x, y, c.width, 9}, c.heading, 9, true)
                .align(Qt::AlignCenter).framed(Report::Frame::box(0.3)).filled(QColor(235, 235, 235));
        } else {
            b.addBox(QString(), {x, y, c.width, 9}).lineWidth = 0.3;
            label(b, QString(), {x, y, c.width, 4.5}, parts[0], 8, true).align(Qt::AlignCenter);
            label(b, QString(), {x, y + 4.5, c.width, 4.5}, parts[1], 8, true).align(Qt::AlignCenter);
        }
        x += c.width;
    }
}

void lineDetail(Report::Band& d, const QList<Column>& columns, SmpDataset& materials)
{
    using namespace Report;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    d.frame = Frame::sides(false, false, false, true, 0.1);
    double x = 0;
    for (const Column& c : columns) {
        const QRectF cell{x, 0, c.width, d.height};
        if (c.field.isEmpty()) {
            d.addSystem(QStringLiteral("QRSysDataNo"), cell, SystemData::LineNumber).align(right).withFont(serif(9));
        } else if (c.field == QStringLiteral("ImeMkaMat")) {
            // The lines hold the material; its unit is the material's.
            SmpDataset* m = &materials;
            d.addExpression(QStringLiteral("QRDBTextMka"), cell, [m](const RowContext& row) {
                 return m->lookup(QStringLiteral("NMATERIAL"), {row.value(QStringLiteral("NMATERIAL"))},
                                  QStringLiteral("ImeMiarka")).toString();
             }).withFont(serif(9)).align(Qt::AlignCenter);
        } else {
            Item& it = d.addField(QStringLiteral("QRDBText") + c.field, cell, nullptr, c.field).withFont(serif(9));
            if (c.number) it.align(right);
            if (c.width > 50) it.wrap().grow();
        }
        d.addVLine(QString(), x).lineWidth = 0.2;
        x += c.width;
    }
    d.addVLine(QString(), x).lineWidth = 0.2;
}

} // namespace LayoutBlocks
