#pragma once

#include "platform/report/reportdocument.h"
#include "platform/report/reportlayout.h"

class TDMNS;
class TDMProizv;

// The printed requisitions, A4 portrait: the common table of materials and the signatures.
class TQRIskaneBase : public Report::Layout
{
public:
    // The pages as they print today.
    Report::Document build();
    void Preview();

protected:
    struct Column
    {
        const char* heading;
        const char* field;  // nullptr: the running line number
        double width;
    };
    explicit TQRIskaneBase(const QString& name);
    void title(Report::Band& header, double y, const QString& text, double points = 15);
    // The product line (with the count label QRLbBr) and the client line at y.
    void productAndClient(Report::Band& header, double y, TDMNS& dm, std::function<bool()> clientShown);
    // The column captions at y and the detail band over the list.
    void table(Report::Band& header, double y, SmpDataset* list, const QList<Column>& columns);
    void signatures(Report::Band& summary, double y);
};

// A requisition by recipe, before it is saved: the recipe of the requisition dialog as filtered
// there, for N products.
class TQRIskane : public TQRIskaneBase
{
public:
    TQRIskane(TDMNS& dm, TDMProizv& pr);
    void setCount(int count);
    // The client is printed only when one was chosen.
    void setClientShown(bool shown) { clientShown_ = shown; }

private:
    bool clientShown_ = false;
};

// A requisition's lines with the size breakdown of its series.
class TQRSpecif : public TQRIskaneBase
{
public:
    TQRSpecif(TDMNS& dm, TDMProizv& pr);
    // The number of pairs, or of products when there are none.
    void setCount(int count);
};

// A saved requisition, read again by its number.
class TQRNUMIskane : public TQRIskaneBase
{
public:
    explicit TQRNUMIskane(TDMProizv& pr);
    Report::Document build(const QString& requisition);
    void Preview(const QString& requisition);

private:
    void read(const QString& requisition);
    TDMProizv& pr_;
};
