#include "warehouse/shownnumber.h"

#include "platform/base/formats.h"

#include <QLineEdit>
#include <QVariant>

namespace ShownNumber {

void put(QLineEdit* edit, double value, const QString& format)
{
    edit->setText(Formats::formatNumber(value, format));
    edit->setProperty("shownText", edit->text());
    edit->setProperty("shownValue", value);
}

std::optional<double> read(const QLineEdit* edit)
{
    if (edit->text() == edit->property("shownText").toString()) return edit->property("shownValue").toDouble();
    return Formats::textToNumber(edit->text());
}

} // namespace ShownNumber
