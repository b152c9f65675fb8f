#pragma once

#include "platform/widgets/fielddatalink.h"

#include <QPlainTextEdit>

class DataSource;

// A multi-line text box over one field. Typing puts the dataset into edit mode and writes the
// text at once; a text field with a size keeps at most that many characters.
class DBMemo : public QPlainTextEdit, public FieldBound
{
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);

    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }

private:
    void onChanged(FieldDataLink::Change change);
    void onTextChanged();
    void showValue();

    bool readOnly_ = false;
    bool loading_ = false;
    bool modified_ = false;
};
