#pragma once

#include "platform/report/reportdocument.h"
#include "platform/report/reportlayout.h"

class TDMNS;

// What a printed cash order shows, as the order dialog has it.
struct CashOrderPrint
{
    QString number, date, name, town, address, basis;
    QString amount, rate, baseAmount;  // as typed; the base-currency equivalent as shown
    QString words;                     // the amount in words, empty for none
    QString currencyName, currencyDescription;
};

// A cash order on A5 paper: one detail band over the company record, its labels filled from the
// dialog. Labels of one content share a name up to trailing underscores (the copy on the stub).
class TQRKasovOrder : public Report::Layout
{
public:
    void fill(const CashOrderPrint& order);
    Report::Document build() const;

protected:
    TQRKasovOrder(const QString& name, TDMNS& dm, Report::Orientation orientation);

    // Builders in mm within the detail band.
    void text(double x, double y, double w, const QString& caption, bool bold = false, double size = 9);
    void value(const QString& name, double x, double y, double w, bool bold = false);
    // The company name, and beneath it its ID after idCaption unless that is empty.
    void company(double x, double y, double w, const QString& idCaption);
    void signature(double x, double y, const QString& who, const QString& sign = QStringLiteral("подпис:"));
    // The accounting table "№ / Дебит с/ка / Кредит с/ка / Сума" with a closing line.
    void accountingTable(double x, double y, double w, const QString& lastCaption);
    // The currency table: kind, code, amount, rate and base-currency equivalent.
    void currencyTable(double x, double y, double w, const QString& suffix, const QString& amountName,
                       const QString& baseName, const QString& baseHeading);
    void recipientLines(double x, double y, double w);
    // Company, title, number, date, recipient, town, address and basis of a payment order.
    void paymentHeading(double w);

    Report::Band* band_ = nullptr;
    TDMNS& dm_;
};

class TQRPrihKO : public TQRKasovOrder
{
public:
    explicit TQRPrihKO(TDMNS& dm);
};

class TQRRazhKO : public TQRKasovOrder
{
public:
    explicit TQRRazhKO(TDMNS& dm);
};

class TQRPrihKOvaluta : public TQRKasovOrder
{
public:
    explicit TQRPrihKOvaluta(TDMNS& dm);
};

class TQRRazhKOvaluta : public TQRKasovOrder
{
public:
    explicit TQRRazhKOvaluta(TDMNS& dm);
};
