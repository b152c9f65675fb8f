#pragma once

#include <QString>

#include <optional>

class QLineEdit;

// A number put into an edit box in a display format. While the box still shows that text it
// stands for the stored value itself, so saving what the user did not touch never rounds it to
// the shown decimals.
namespace ShownNumber {

void put(QLineEdit* edit, double value, const QString& format);
// The stored value while the text is unchanged, else the typed number; nullopt when the typed
// text is not a number.
std::optional<double> read(const QLineEdit* edit);

} // namespace ShownNumber
