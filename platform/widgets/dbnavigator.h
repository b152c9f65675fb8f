#pragma once

#include "platform/widgets/dtsource.h"

#include <QFlags>
#include <QMap>
#include <QPointer>
#include <QWidget>

class QToolButton;

// A bar of buttons that move through and edit a data source's dataset. Each button's objectName
// is the navigator's objectName followed by "_First", "_Prior", … and its tool tip is its hint.
// The buttons are enabled by the dataset's state: moving back needs a row before (not at the
// beginning), moving on a row after; post and cancel only while editing; delete needs a row and
// asks first.
class DBNavigator : public QWidget
{
    Q_OBJECT
public:
    enum Button {
        First = 0x1,
        Prior = 0x2,
        Next = 0x4,
        Last = 0x8,
        Insert = 0x10,
        Delete = 0x20,
        Edit = 0x40,
        Post = 0x80,
        Cancel = 0x100,
        Refresh = 0x200,
    };
    Q_ENUM(Button)
    Q_DECLARE_FLAGS(Buttons, Button)
    Q_FLAG(Buttons)
    static constexpr Buttons AllButtons = Buttons(QFlag(0x3ff));

    explicit DBNavigator(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }

    // The buttons shown, in their fixed order.
    void setButtons(Buttons buttons);
    Buttons buttons() const { return shown_; }
    QToolButton* button(Button which) const { return buttons_.value(which); }
    static QString hint(Button which);
    static QString suffix(Button which);  // "First", "Prior", …

    // Delete asks "Изтриване на записа ?" first (on by default).
    void setConfirmDelete(bool confirm) { confirmDelete_ = confirm; }
    bool confirmDelete() const { return confirmDelete_; }

    // Does what the button does, as a click on it would.
    void click(Button which);

signals:
    // After a button's action was carried out (or refused by the user).
    void clicked(DBNavigator::Button which);

private:
    void updateButtons();
    void nameButtons();

    QPointer<DataSource> source_;
    QMap<Button, QToolButton*> buttons_;
    Buttons shown_ = AllButtons;
    bool confirmDelete_ = true;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(DBNavigator::Buttons)
