#include "platform/db/dberror.h"

DbError::DbError(const QString& message, int sqlCode, long gdsCode, const QString& sql)
    : std::runtime_error(message.toStdString()), message_(message), sqlCode_(sqlCode), gdsCode_(gdsCode), sql_(sql)
{
}
