#pragma once

#include "platform/report/reportlayout.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

namespace Report {

// The Qt font of a report font whose family is already resolved, sized for a device of
// deviceDpi when the page is drawn at dpi (zoomed previews draw at another resolution than the
// device's own). Hinting is off so that text measures the same at every resolution.
QFont toQFont(const Font& font, double dpi = 72, double deviceDpi = 72);

// Text split at its line breaks (CR, LF or CR LF).
QStringList splitLines(const QString& text);

// Measures text in millimetres on a fixed high-resolution reference device, so the pagination
// does not depend on the device that paints it.
class TextMeasure
{
public:
    TextMeasure();
    QString family(const Font& font);      // the installed family, cached
    double lineHeight(const Font& font);   // mm
    // Lines of at most widthMm, broken at word boundaries (inside a word only when it is wider
    // than the line).
    QStringList wrap(const QString& text, const Font& font, double widthMm);

private:
    static constexpr double kDpi = 1200;
    QImage device_;
    QHash<QString, QString> families_;
    QHash<QString, double> lineHeights_;
};

} // namespace Report
