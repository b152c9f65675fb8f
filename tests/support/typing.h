#pragma once

#include <QTest>

// Types text into a widget key by key; unlike QTest::keyClicks it takes any character, Cyrillic
// included (sent as key events carrying the character).
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) QTest::keyClick(widget, c.toLatin1());
        else QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
}
