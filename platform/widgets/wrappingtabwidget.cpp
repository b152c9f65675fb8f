#include "platform/widgets/wrappingtabwidget.h"

#include <QStyleOptionTab>
#include <QStylePainter>

#include <algorithm>

namespace {
constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap;
}

WrappingTabBar::WrappingTabBar(int maxLines, QWidget* parent) : QTabBar(parent), maxLines_(std::max(maxLines, 1))
{
    setElideMode(Qt::ElideNone);
    setUsesScrollButtons(false);
    setExpanding(false);
}

QString WrappingTabBar::breakable(const QString& caption)
{
    QString out = caption.trimmed();
    out.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
    return out;
}

QSize WrappingTabBar::textSize(const QString& caption) const
{
    const QFontMetrics fm = fontMetrics();
    const auto laidOut = [&](int width) { return fm.boundingRect(QRect(0, 0, width, 100000), kTextFlags, caption).size(); };
    const int tallest = maxLines_ * fm.lineSpacing();
    // The narrowest width that keeps the caption within its lines (a word wider than that
    // width is never broken, so the search ends on a whole word).
    int low = 1, high = std::max(fm.horizontalAdvance(caption), 1);
    while (low < high) {
        const int mid = (low + high) / 2;
        if (laidOut(mid).height() <= tallest) high = mid;
        else low = mid + 1;
    }
    return laidOut(high);
}

QSize WrappingTabBar::tabSizeHint(int index) const
{
    QStyleOptionTab opt;
    initStyleOption(&opt, index);
    const QSize text = textSize(breakable(tabText(index)));
    return {text.width() + style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &opt, this),
            text.height() + style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &opt, this)};
}

void WrappingTabBar::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    const auto paintTab = [&](int i) {
        QStyleOptionTab opt;
        initStyleOption(&opt, i);
        const QString caption = breakable(opt.text);
        opt.text.clear();
        p.drawControl(QStyle::CE_TabBarTab, opt);
        p.setPen(palette().color(isTabEnabled(i) ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        p.drawText(opt.rect, kTextFlags, caption);
    };
    // The current tab last, over the edges of its neighbours.
    for (int i = 0; i < count(); ++i)
        if (i != currentIndex()) paintTab(i);
    if (currentIndex() >= 0) paintTab(currentIndex());
}

WrappingTabWidget::WrappingTabWidget(int maxLines, QWidget* parent) : QTabWidget(parent)
{
    setTabBar(new WrappingTabBar(maxLines, this));
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
}
