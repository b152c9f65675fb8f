#pragma once

#include "platform/ui/form.h"

#include <QDate>

class TDMRazpl;
class TQRRazplProdObobst;
class QDateEdit;
class QLabel;
class QLineEdit;

// A client's payment: a new one, or the correction of one entered earlier. The payments window
// names the client; the dialog stores the payment, prints the acknowledgement on request and
// re-reads the payment lists.
class TFormRazplKlient : public Form
{
    Q_OBJECT
public:
    enum class Mode { New = 1, Correction = 0 };
    TFormRazplKlient(TDMRazpl& dm, TQRRazplProdObobst& acknowledgement);

    struct Shown
    {
        int autonum = 0;  // the payment corrected
        QDate date;
        double lv = 0, usd = 0, eur = 0;
        QString note;
    };
    // Opens modally for the client; a correction shows the payment's values. True when stored.
    bool open(Mode mode, int client, const QString& clientName, const Shown& payment);
    bool open(Mode mode, int client, const QString& clientName) { return open(mode, client, clientName, Shown()); }
    Mode mode() const { return mode_; }

    QLabel* LbPlastKlient_novo_korekc = nullptr;
    QLabel* LbKlient = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QDateEdit* DatePlastaneKlient = nullptr;

    void SpdBtnUpdateClick();

private:
    TDMRazpl& dm_;
    TQRRazplProdObobst& acknowledgement_;
    Mode mode_ = Mode::New;
    int client_ = 0;
    int autonum_ = 0;
};
