#pragma once

class QLineEdit;

// Key filters of plain text boxes.
namespace KeyFilter {

// The box takes only the digits 0 to 9, "." and the editing keys; a "," is taken as "."; any other
// character is dropped, with a beep when beep is set.
void amountsOnly(QLineEdit* edit, bool beep = true);
// The box takes only the digits 0 to 9 and the editing keys; any other character is dropped with a beep.
void digitsOnly(QLineEdit* edit);

} // namespace KeyFilter
