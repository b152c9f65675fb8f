#pragma once

#include "platform/report/reportdocument.h"
#include "platform/report/reportlayout.h"

class TDMNS;
class TDMPorychki;
class SmpDataset;

// The printed order notice and the two material calculations, A4 portrait, each under the
// company's address block.
class TQRPorychkiBase : public Report::Layout
{
public:
    // The pages as they print today.
    Report::Document build();

protected:
    TQRPorychkiBase(const QString& name, TDMNS& dm);
    // The address block at the top of the page header; its height.
    double companyBlock(Report::Band& header, bool street);
    void signatures(Report::Band& summary, double y);
    TDMNS& dm_;
};

// "Поръчка - клиент": the product lines of the current order.
class TQRPorychka_izvestie : public TQRPorychkiBase
{
public:
    TQRPorychka_izvestie(TDMNS& dm, TDMPorychki& po);
};

// The material calculation over a needs list: the heading rows are the caller's, then the table.
class TQRNeedsBase : public TQRPorychkiBase
{
protected:
    TQRNeedsBase(const QString& name, TDMNS& dm, SmpDataset& needs);
    // The header band, its address block printed; the heading goes between y and 30.
    Report::Band& header_;
    double top_ = 0;
    void table(SmpDataset& needs);
};

// Material needs of one order: "ПО ИНДИВИДУАЛНА ПОРЪЧКА №" with its number and date.
class TQRPorychka_Materiali : public TQRNeedsBase
{
public:
    TQRPorychka_Materiali(TDMNS& dm, TDMPorychki& po);
};

// Material needs of what is still to be made: two heading lines, today's date and the product.
class TQRPorychkaDvigMat : public TQRNeedsBase
{
public:
    TQRPorychkaDvigMat(TDMNS& dm, TDMPorychki& po);
};
