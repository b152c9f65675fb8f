#include "support/recordingui.h"

#include "platform/ui/form.h"

RecordingUi::RecordingUi() { UiService::install(this); }

RecordingUi::~RecordingUi() { UiService::install(nullptr); }

QStringList RecordingUi::texts(Kind kind) const
{
    QStringList out;
    for (const Entry& e : log)
        if (e.kind == kind) out << e.text;
    return out;
}

void RecordingUi::clear()
{
    log.clear();
    answers.clear();
    unexpectedQuestions = 0;
}

void RecordingUi::showMessage(const QString& text) { log << Entry{Kind::Message, text}; }

bool RecordingUi::askYesNo(const QString& text)
{
    log << Entry{Kind::Question, text};
    if (answers.isEmpty()) {
        ++unexpectedQuestions;
        return false;
    }
    return answers.takeFirst();
}

int RecordingUi::showModal(Form* form)
{
    log << Entry{Kind::Modal, form->objectName()};
    form->show();
    return onModal ? onModal(form) : 0;
}

void RecordingUi::showModeless(Form* form)
{
    log << Entry{Kind::Modeless, form->objectName()};
    UiService::showModeless(form);
}

void RecordingUi::reportError(const QString& text) { log << Entry{Kind::Error, text}; }
