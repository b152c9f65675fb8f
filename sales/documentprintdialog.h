#pragma once

#include "platform/ui/form.h"

class QLabel;
class QSpinBox;
class QToolButton;

// How many of a document to print: originals marked "ОРИГИНАЛ", then copies unmarked. Documents
// without the mark count only originals.
struct PrintCounts
{
    int originals = 0;
    int copies = 0;
    int total() const { return originals + copies; }
};

// The print dialog "Печат на документ !": a row per printed document kind with the number of
// copies (0 to 10). Showing it for a document type enables the rows of that type only; the counts
// are kept between showings.
class DocumentPrintDialog : public Form
{
    Q_OBJECT
public:
    QSpinBox *SpEdFaktOriginal = nullptr, *SpEdFaktPrepis = nullptr, *SpEdOprostena = nullptr,
             *SpEdStokRazp = nullptr, *SpEdKonsign = nullptr, *SpEdDorvexOriginal = nullptr,
             *SpEdDorvexPrepis = nullptr, *SpEdDorvStRazp = nullptr, *SpEdStRazpValuti = nullptr;
    QToolButton *BtnPrint = nullptr, *BtnCancel = nullptr;

    // Shows the dialog modally for the document type; true when "Печат" was pressed.
    bool ask(int documentType);
    // The counts the rows hold for the type; a credit note prints with the tax invoice counts, a
    // type without a row prints nothing.
    PrintCounts counts(int documentType) const;

protected:
    // browser: the captions of the sales documents browser's dialog.
    DocumentPrintDialog(const QString& objectName, bool browser, QWidget* parent);

private:
    void BtnPrintClick();
    void BtnCancelClick();
    void enableRows(int documentType);
    QList<QWidget*> rowOf(QSpinBox* spin) const;
};

// The print dialog of the sale entry window.
class TFormOKBottomDlg : public DocumentPrintDialog
{
    Q_OBJECT
public:
    explicit TFormOKBottomDlg(QWidget* parent = nullptr);
};
