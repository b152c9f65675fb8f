#pragma once

#include <QDateEdit>

// A date picker a list is filtered by. committed() follows a date picked in the calendar or set by
// the program at once; a date typed or stepped by keys only when the edit is finished (Enter or
// leaving the field), so a list over a large table is not reread for every digit.
class FilterDateEdit : public QDateEdit
{
    Q_OBJECT
public:
    explicit FilterDateEdit(const QDate& date, QWidget* parent = nullptr);

signals:
    void committed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void finish();

    bool typing_ = false;
    bool pending_ = false;
};
