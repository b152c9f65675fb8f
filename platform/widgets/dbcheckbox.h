#pragma once

#include "platform/widgets/fielddatalink.h"

#include <QCheckBox>

class DataSource;

// A check box over one field: ticked when the field holds the checked value, cleared when it holds
// the unchecked one, greyed for anything else. A click puts the dataset into edit mode and writes
// the value of the new state. Values may list alternatives ("1;Д"); the first is written.
class DBCheckBox : public QCheckBox, public FieldBound
{
    Q_OBJECT
public:
    explicit DBCheckBox(QWidget* parent = nullptr);
    explicit DBCheckBox(const QString& text, QWidget* parent = nullptr);

    void setValueChecked(const QString& value);
    const QString& valueChecked() const { return valueChecked_; }
    void setValueUnchecked(const QString& value);
    const QString& valueUnchecked() const { return valueUnchecked_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool isReadOnly() const { return readOnly_; }

protected:
    void nextCheckState() override;

private:
    void showValue();

    QString valueChecked_ = QStringLiteral("1");
    QString valueUnchecked_ = QStringLiteral("0");
    bool readOnly_ = false;
};
