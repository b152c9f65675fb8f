#include "platform/report/reporttext.h"

#include <QFontMetricsF>
#include <QTextLayout>

namespace Report {

namespace {
QString fontKey(const Font& f)
{
    return QStringLiteral("%1|%2|%3%4%5").arg(f.family).arg(f.size).arg(f.bold).arg(f.italic).arg(f.underline);
}
}

QFont toQFont(const Font& font, double dpi, double deviceDpi)
{
    QFont f(font.family);
    f.setPointSizeF(font.size * dpi / deviceDpi);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(true);
    return f;
}

QStringList splitLines(const QString& text)
{
    if (text.isEmpty()) return {};
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(u'\r', u'\n');
    return t.split(u'\n');
}

TextMeasure::TextMeasure() : device_(1, 1, QImage::Format_ARGB32)
{
    const int dpm = qRound(kDpi / 0.0254);
    device_.setDotsPerMeterX(dpm);
    device_.setDotsPerMeterY(dpm);
}

QString TextMeasure::family(const Font& font)
{
    const QString key = font.family + u'|' + font.fallback;
    auto it = families_.constFind(key);
    if (it != families_.constEnd()) return *it;
    const QString resolved = font.resolvedFamily();
    families_.insert(key, resolved);
    return resolved;
}

double TextMeasure::lineHeight(const Font& font)
{
    const QString key = fontKey(font);
    auto it = lineHeights_.constFind(key);
    if (it != lineHeights_.constEnd()) return *it;
    const double h = QFontMetricsF(toQFont(font, kDpi, device_.logicalDpiY()), &device_).lineSpacing() * 25.4 / kDpi;
    lineHeights_.insert(key, h);
    return h;
}

QStringList TextMeasure::wrap(const QString& text, const Font& font, double widthMm)
{
    QStringList out;
    const QFont qf = toQFont(font, kDpi, device_.logicalDpiY());
    const double widthPx = widthMm * kDpi / 25.4;
    for (const QString& para : splitLines(text)) {
        if (para.trimmed().isEmpty()) {
            out << QString();
            continue;
        }
        QTextLayout layout(para, qf, &device_);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(widthPx);
            QString piece = para.mid(line.textStart(), line.textLength());
            while (!piece.isEmpty() && piece.back().isSpace()) piece.chop(1);
            out << piece;
        }
        layout.endLayout();
    }
    return out;
}

} // namespace Report
