#pragma once

#include "platform/widgets/fielddatalink.h"

#include <QLabel>

class DataSource;
class QImage;

// A picture held in a bytes field (any format Qt reads). Pasting or setting an image puts the
// dataset into edit mode and stores the picture as PNG.
class DBImage : public QLabel, public FieldBound
{
    Q_OBJECT
public:
    explicit DBImage(QWidget* parent = nullptr);

    // The picture fills the box instead of keeping its own size.
    void setStretch(bool stretch) { setScaledContents(stretch); }
    bool stretch() const { return hasScaledContents(); }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool isReadOnly() const { return readOnly_; }

    // Stores the clipboard's image; false when there is none or the field cannot be changed.
    bool pasteFromClipboard();
    bool setImage(const QImage& image);

private:
    void showValue();

    bool readOnly_ = false;
};
