#pragma once

#include "platform/widgets/fielddatalink.h"

#include <QDateEdit>
#include <QDoubleSpinBox>

class DataSource;

// A date picker over one date field ("dd.MM.yyyy", calendar pop-up). An empty field shows blank;
// choosing a date puts the dataset into edit mode and writes the date (midnight).
class DBDateEdit : public QDateEdit, public FieldBound
{
    Q_OBJECT
public:
    explicit DBDateEdit(QWidget* parent = nullptr);

private:
    void showValue();
    void write(const QDate& date);

    bool syncing_ = false;
};

// A spin box over one numeric field: whole steps for an integer field, decimals for a float
// one. An empty field shows blank; a changed value puts the dataset into edit mode and is written.
class DBSpinBox : public QDoubleSpinBox, public FieldBound
{
    Q_OBJECT
public:
    explicit DBSpinBox(QWidget* parent = nullptr);

private:
    void showValue();
    void write(double value);

    bool syncing_ = false;
};
