#include "platform/widgets/keyfilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {
class AmountKeys : public QObject
{
public:
    AmountKeys(QObject* parent, bool beep, bool point = true) : QObject(parent), beep_(beep), point_(point) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.isEmpty() || !text.at(0).isPrint()) return false;
        const QChar c = text.at(0);
        if ((point_ && c == u'.') || (c >= u'0' && c <= u'9')) return false;
        // A decimal comma is the user's decimal point: dropping it would make 1,5 into 15.
        if (point_ && c == u',') {
            if (auto* edit = qobject_cast<QLineEdit*>(watched)) edit->insert(QStringLiteral("."));
            return true;
        }
        if (beep_) QApplication::beep();
        return true;
    }

private:
    bool beep_;
    bool point_;
};
} // namespace

namespace KeyFilter {

void amountsOnly(QLineEdit* edit, bool beep) { edit->installEventFilter(new AmountKeys(edit, beep)); }

void digitsOnly(QLineEdit* edit) { edit->installEventFilter(new AmountKeys(edit, true, false)); }

} // namespace KeyFilter
