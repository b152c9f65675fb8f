#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <QToolButton>

// Types text into a widget key by key; unlike QTest::keyClicks it takes any character, Cyrillic
// included (sent as key events carrying the character).
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) QTest::keyClick(widget, c.toLatin1());
        else QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
}

// Picks the entry with the text in the box's open list, as a user does.
inline void chooseInList(QComboBox* box, const QString& text)
{
    box->showPopup();
    QAbstractItemView* list = box->view();
    list->setCurrentIndex(list->model()->index(box->findText(text), 0));
    QTest::keyClick(list, Qt::Key_Return);
}

// Clicks the named tool button inside root, as a user does; fails the test when there is none.
inline void clickButton(QWidget* root, const QString& name)
{
    auto* b = root->findChild<QToolButton*>(name);
    QVERIFY2(b, qPrintable(name));
    QTest::mouseClick(b, Qt::LeftButton);
}
