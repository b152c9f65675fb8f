#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

class SQLConnection;

// The staff's stores, checks and delete guards, over the connection. Server faults propagate as
// DbError.
namespace Staff {

// Why the employee cannot be deleted (issued tools, payments, earnings, purchases); empty when
// he can.
QString deleteRefusal(SQLConnection& db, const QVariant& shifyr);

// Keys for a new employee and a new tool issue, taken before the row is stored.
int newStaffNumber(SQLConnection& db);
int newToolIssueKey(SQLConnection& db);

// Kinds of a business movement.
enum Kind { Advance = 1, Report = 2, SupplierPayment = 3, AdvanceReceived = 4, AdvanceGiven = 5 };

// Why a movement of this kind is not corrected, or not deleted, here; empty when it is.
QString correctionRefusal(int kind);
QString deletionRefusal(int kind);

// One advance or report as the dialogs take it.
struct Amounts
{
    QDate date;
    double lv = 0, usd = 0, eur = 0;
    QString note;
};

// A new advance from the company, or a correction of one (numZapis, keeping its giver).
void addAdvance(SQLConnection& db, int shifyr, const Amounts& a);
void correctAdvance(SQLConnection& db, int numZapis, int shifyr, int givenBy, const Amounts& a);
// An advance passed from one employee to another: the giver's record and the receiver's, both or
// neither.
void giveAdvance(SQLConnection& db, int giver, int receiver, const Amounts& a);
// A new expense report, or a correction of one.
void addReport(SQLConnection& db, int shifyr, int reason, const Amounts& a);
void correctReport(SQLConnection& db, int numZapis, int shifyr, int reason, const Amounts& a);

// Deletes an advance or a report by its number, or a given advance (kind 5) together with the
// receiver's record of it: only that giver's advances to that receiver on that date go.
void deleteMovement(SQLConnection& db, int kind, int numZapis, int receiver, const QDate& date);

} // namespace Staff
