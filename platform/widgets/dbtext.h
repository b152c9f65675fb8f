#pragma once

#include "platform/widgets/fielddatalink.h"

#include <QLabel>

class DataSource;

// A label showing one field of the current row through its display format (aggregates: their
// current value); empty while the dataset is closed or has no rows.
class DBText : public QLabel
{
    Q_OBJECT
public:
    explicit DBText(QWidget* parent = nullptr);

    void setDataSource(DataSource* source) { link_.setDataSource(source); }
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(const QString& name) { link_.setFieldName(name); }
    const QString& dataField() const { return link_.fieldName(); }
    SmpField* field() const { return link_.field(); }

private:
    void showValue();

    FieldDataLink link_;
};
