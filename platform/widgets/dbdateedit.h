#pragma once

#include "platform/widgets/fielddatalink.h"

#include <QDateEdit>
#include <QDoubleSpinBox>

class DataSource;

// A date picker over one date field ("dd.MM.yyyy", calendar pop-up). An empty field shows blank;
// choosing a date puts the dataset into edit mode and writes the date (midnight).
class DBDateEdit : public QDateEdit
{
    Q_OBJECT
public:
    explicit DBDateEdit(QWidget* parent = nullptr);

    void setDataSource(DataSource* source) { link_.setDataSource(source); }
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(const QString& name) { link_.setFieldName(name); }
    const QString& dataField() const { return link_.fieldName(); }
    SmpField* field() const { return link_.field(); }

private:
    void showValue();
    void write(const QDate& date);

    FieldDataLink link_;
    bool syncing_ = false;
};

// A spin box over one numeric field: whole steps for an integer field, decimals for a float
// one. An empty field shows blank; a changed value puts the dataset into edit mode and is written.
class DBSpinBox : public QDoubleSpinBox
{
    Q_OBJECT
public:
    explicit DBSpinBox(QWidget* parent = nullptr);

    void setDataSource(DataSource* source) { link_.setDataSource(source); }
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(const QString& name) { link_.setFieldName(name); }
    const QString& dataField() const { return link_.fieldName(); }
    SmpField* field() const { return link_.field(); }

private:
    void showValue();
    void write(double value);

    FieldDataLink link_;
    bool syncing_ = false;
};
