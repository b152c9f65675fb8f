#pragma once

#include "platform/ui/uiservice.h"

#include <QList>
#include <QStringList>
#include <functional>

// Stands in for the user while it is alive: records every notice, question, error report and
// window shown; questions are answered from a script (an unscripted question is answered No and
// recorded as unexpected).
class RecordingUi : public UiService
{
public:
    enum class Kind { Message, Question, Error, Modal, Modeless };
    struct Entry
    {
        Kind kind;
        QString text;  // message text, or the window's objectName
    };

    RecordingUi();
    ~RecordingUi() override;

    QList<Entry> log;
    QList<bool> answers;
    int unexpectedQuestions = 0;
    // Called for a modal window instead of waiting on it; its return is the modal result.
    std::function<int(Form*)> onModal;

    QStringList texts(Kind kind) const;
    void clear();

    void showMessage(const QString& text) override;
    bool askYesNo(const QString& text) override;
    int showModal(Form* form) override;
    void showModeless(Form* form) override;
    void reportError(const QString& text) override;
};
