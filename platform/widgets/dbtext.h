#pragma once

#include "platform/widgets/fielddatalink.h"

#include <QLabel>

class DataSource;

// A label showing one field of the current row through its display format (aggregates: their
// current value); empty while the dataset is closed or has no rows.
class DBText : public QLabel, public FieldBound
{
    Q_OBJECT
public:
    explicit DBText(QWidget* parent = nullptr);

private:
    void showValue();
};
