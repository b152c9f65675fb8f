#pragma once

#include <QString>

class QMessageBox;
class QWidget;
class Form;

// The one way windows talk to the user: notices, Yes/No questions, modal and modeless showing and
// the default error report. Tests install a recorder in its place, so no test waits on a dialog.
class UiService
{
public:
    virtual ~UiService();

    virtual void showMessage(const QString& text);
    // true for Yes; nothing is to be stored after No.
    virtual bool askYesNo(const QString& text);
    // Shows the window modally and returns its modal result once it is closed.
    virtual int showModal(Form* form);
    // Shows the window beside the others, raising the existing instance. Shown while a modal
    // window is open, it belongs to that window and is not blocked by it.
    virtual void showModeless(Form* form);
    // The default error report: an error that no handler caught. Also written to stderr.
    virtual void reportError(const QString& text);

    static UiService& current();
    // Installs a service in place of the default one (not owned); nullptr restores the default.
    static void install(UiService* service);

    // Message texts break lines with a lone carriage return; a message box wants "\n".
    static QString displayText(const QString& text);
    // The box askYesNo shows: Yes and No, No the default, and no icon (owned by the caller).
    static QMessageBox* questionBox(QWidget* parent, const QString& text);
};
