#pragma once

#include <QTabBar>
#include <QTabWidget>

// A tab bar whose captions wrap onto more lines instead of being cut or scrolled: each caption
// takes the narrowest width at which it needs no more than the given number of lines, breaking
// between words and after "/". The captions stay as set.
class WrappingTabBar : public QTabBar
{
public:
    explicit WrappingTabBar(int maxLines, QWidget* parent = nullptr);

    // The caption as it is laid out: a break is allowed after each "/".
    static QString breakable(const QString& caption);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
    void paintEvent(QPaintEvent* event) override;

private:
    QSize textSize(const QString& caption) const;
    int maxLines_;
};

// A tab widget over a WrappingTabBar, without scroll arrows: every tab is in view.
class WrappingTabWidget : public QTabWidget
{
public:
    explicit WrappingTabWidget(int maxLines, QWidget* parent = nullptr);
};
