#pragma once

#include <QWidget>

// Base of every window: it lives for the whole run, and closing only hides it, so it keeps its
// filters and positions for the next opening. An editor of several modes is opened by a call that
// names its mode.
class Form : public QWidget
{
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);

    int modalResult() const { return modalResult_; }
    void setModalResult(int result) { modalResult_ = result; }
    // Closes the window with the given modal result (the OK/Cancel buttons of a dialog).
    void closeWith(int result);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    int modalResult_ = 0;
};
