#include "platform/widgets/dbimage.h"

#include "platform/dataset/smpdataset.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

DBImage::DBImage(QWidget* parent) : QLabel(parent), FieldBound(this)
{
    setAlignment(Qt::AlignCenter);
    connect(&link_, &FieldDataLink::changed, this, &DBImage::showValue);
}

void DBImage::showValue()
{
    const SmpField* f = link_.field();
    QPixmap picture;
    if (f && link_.hasValue() && !f->isNull()) picture.loadFromData(f->value().toByteArray());
    if (picture.isNull()) clear();
    else setPixmap(picture);
}

bool DBImage::pasteFromClipboard()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard && setImage(clipboard->image());
}

bool DBImage::setImage(const QImage& image)
{
    if (image.isNull() || readOnly_ || !link_.edit()) return false;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return false;
    const bool ok = link_.writeValue(png);
    showValue();
    return ok;
}
