#pragma once

#include "platform/widgets/fielddatalink.h"

#include <QLineEdit>

class DataSource;

// An edit box over one field. It shows the display text, and the edit text while it has the focus.
// Typing puts the dataset into edit mode and every text the field accepts is written at once,
// so a post from anywhere stores what the box shows. When editing finishes (Return, leaving the
// box, or commit()) a text the field refuses is reported, and the box shows the field's value
// again. Numeric fields take only digits, a leading '-' and, for floats, one '.' or ','.
class DBEdit : public QLineEdit, public FieldBound
{
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);

    // Only the digits 0 to 9 are taken; other keys are dropped with a beep.
    void setDigitsOnly(bool on);
    bool digitsOnly() const { return digitsOnly_; }
    // Read-only by choice; the box is also read-only while its field cannot be changed.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }

    // Finishes the edit: false (and the refusal shown) when the field does not take the text.
    bool commit();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onChanged(FieldDataLink::Change change);
    void onTextChanged(const QString& text);
    void showValue(bool forEditing);
    void configure();

    bool digitsOnly_ = false;
    bool readOnly_ = false;
    bool loading_ = false;
    bool modified_ = false;
    const SmpField* configuredFor_ = nullptr;
    bool configured_ = false;
};
