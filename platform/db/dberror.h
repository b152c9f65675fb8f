#pragma once

#include <QList>
#include <QString>
#include <stdexcept>

// What went wrong, by the engine's codes, in the terms the user can act on.
enum class DbProblem {
    Other,
    FileMissing,     // the database file is not where the settings say
    InUse,           // the embedded database is open in another program
    NoSpace,         // the disk is full
    NoAccess,        // the file or folder may not be read or written
    Network,         // the server cannot be reached or stopped answering
    Login,           // user name or password refused
    Privilege,       // the user may not do this
    Shutdown,        // the database was shut down or the connection ended
    Conflict,        // a row is being changed by someone else
    NotADatabase,    // the file is not a database of this engine (or is damaged)
};
// The one error type of the data layer: the server's formatted message, its SQL code and the
// statement it came from. The default error report shows message().
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString& message, int sqlCode = 0, long gdsCode = 0, const QString& sql = {});
    // The same error told with another text (the codes stay).
    DbError(const DbError& other, const QString& message);

    const QString& message() const { return message_; }
    int sqlCode() const { return sqlCode_; }
    long gdsCode() const { return gdsCode_; }
    const QString& sql() const { return sql_; }
    // Every GDS code of the server's status, first one first; and the operating-system error
    // number it carried (0 for none).
    const QList<long>& codes() const { return codes_; }
    int osError() const { return osError_; }
    void setStatus(QList<long> codes, int osError);
    bool hasCode(long gds) const { return codes_.contains(gds); }
    // For errors found by the program itself rather than the engine.
    DbError& setProblem(DbProblem problem);
    DbProblem problem() const { return problem_; }

private:
    QString message_;
    int sqlCode_;
    long gdsCode_;
    QString sql_;
    QList<long> codes_;
    int osError_ = 0;
    DbProblem problem_ = DbProblem::Other;
};

DbProblem classify(const DbError& e);
// True when the connection can no longer be used and must be opened again.
bool connectionLost(const DbError& e);
// The text for the user: what happened and what to do, in Bulgarian, with the engine's own text
// beneath it for the administrator. An error without a known code is its own message.
QString userText(const DbError& e, const QString& where = {});
// A refusal raised by a server procedure as its own text; any other error as its message.
QString refusalText(const DbError& e);
