#pragma once

#include "common/basecurrency.h"

#include <QDate>
#include <QDateTime>
#include <QString>

class SQLConnection;

// The company's move to the euro: the guard on its base-currency setting and the one-off
// conversion of the prices. Server faults propagate as DbError.
namespace EuroChangeover {

// Whether money documents (sales, deliveries, defective-goods claims, transfers to warehouse
// objects, client and supplier payments, cash orders, requisitions, batches, staff advances and
// expense reports) are dated both before the day and on or after it.
bool documentsOnBothSides(SQLConnection& db, const QDate& day);

// Why the stored setting may not become the wanted one; empty when it may. Once documents stand
// on both sides of the stored cut-over, neither the way back to leva nor another cut-over date is
// allowed: documents would change their currency. Nor is the way back once the prices are in euro.
QString settingRefusal(SQLConnection& db, const BaseCurrency::Settings& wanted);

// When the prices were converted to euro; invalid when they have not been.
QDateTime pricesConvertedAt(SQLConnection& db);

struct PriceConversion
{
    enum class Outcome { Converted, AlreadyConverted, NotEuro };
    Outcome outcome = Outcome::NotEuro;
    QDateTime at;           // when the conversion was done (this one or the earlier one)
    int materials = 0;      // materials with a price converted
    int specialPrices = 0;  // special prices converted
};

// Converts, in one transaction, the leva prices of the materials (calculation ED_CENA, wholesale
// PRODAGNA_CENA, retail PROD_CENA_LV_DREBNO) and the special prices (KONTR_MAT_CENI.SPEC_CENA)
// to euro by the legal conversion, and keeps the old values in MATERIALI_CENI_LV and
// KONTR_MAT_CENI_LV. Empty prices stay empty; the USD and EUR columns are left alone. Converts
// nothing when it was done before or the base currency is not the euro.
PriceConversion convertPrices(SQLConnection& db, const QDateTime& at);

} // namespace EuroChangeover
