#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the data layer: the server's formatted message, its SQL code and the
// statement it came from. The default error report shows message().
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString& message, int sqlCode = 0, long gdsCode = 0, const QString& sql = {});

    const QString& message() const { return message_; }
    int sqlCode() const { return sqlCode_; }
    long gdsCode() const { return gdsCode_; }
    const QString& sql() const { return sql_; }

private:
    QString message_;
    int sqlCode_;
    long gdsCode_;
    QString sql_;
};
