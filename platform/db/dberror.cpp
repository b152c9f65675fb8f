#include "platform/db/dberror.h"

#include <firebird/Interface.h>

#include <cerrno>

DbError::DbError(const QString& message, int sqlCode, long gdsCode, const QString& sql)
    : std::runtime_error(message.toStdString()), message_(message), sqlCode_(sqlCode), gdsCode_(gdsCode), sql_(sql)
{
    if (gdsCode) codes_ << gdsCode;
}

DbError::DbError(const DbError& other, const QString& message) : DbError(other)
{
    static_cast<std::runtime_error&>(*this) = std::runtime_error(message.toStdString());
    message_ = message;
}

void DbError::setStatus(QList<long> codes, int osError)
{
    codes_ = std::move(codes);
    osError_ = osError;
}

DbError& DbError::setProblem(DbProblem problem)
{
    problem_ = problem;
    return *this;
}

DbProblem classify(const DbError& e)
{
    if (e.problem() != DbProblem::Other) return e.problem();
    const int os = e.osError();
    if (e.hasCode(isc_login)) return DbProblem::Login;
    if (e.hasCode(isc_network_error) || e.hasCode(isc_net_connect_err) || e.hasCode(isc_net_read_err) ||
        e.hasCode(isc_net_write_err) || e.hasCode(isc_lost_db_connection) || e.hasCode(isc_conn_lost) ||
        e.hasCode(isc_unavailable) || e.hasCode(isc_connect_reject))
        return DbProblem::Network;
    if (e.hasCode(isc_shutdown) || e.hasCode(isc_att_shutdown)) return DbProblem::Shutdown;
    if (e.hasCode(isc_bad_db_format)) return DbProblem::NotADatabase;
    if (e.hasCode(isc_io_error) || e.hasCode(isc_io_open_err) || e.hasCode(isc_io_create_err) ||
        e.hasCode(isc_io_read_err) || e.hasCode(isc_io_write_err) || e.hasCode(isc_io_access_err)) {
        if (os == ENOSPC || os == EDQUOT) return DbProblem::NoSpace;
        if (os == ENOENT) return DbProblem::FileMissing;
        if (os == EACCES || os == EPERM || os == EROFS) return DbProblem::NoAccess;
        if (os == EWOULDBLOCK || os == 0) return DbProblem::InUse;  // the file lock is held elsewhere
        return DbProblem::Other;
    }
    if (e.hasCode(isc_read_only_database)) return DbProblem::NoAccess;
    if (e.hasCode(isc_no_priv)) return DbProblem::Privilege;
    if (e.hasCode(isc_lock_conflict) || e.hasCode(isc_deadlock) || e.hasCode(isc_update_conflict) ||
        e.hasCode(isc_lock_timeout))
        return DbProblem::Conflict;
    return DbProblem::Other;
}

bool connectionLost(const DbError& e)
{
    const DbProblem p = classify(e);
    return p == DbProblem::Network || p == DbProblem::Shutdown;
}

QString refusalText(const DbError& e)
{
    constexpr long kUserException = 335544517;  // isc_except
    if (!e.hasCode(kUserException)) return e.message();
    // "exception N", "-NAME", then the text the procedure gave, then where it was raised.
    const QStringList lines = e.message().split(u'\n');
    QStringList text;
    for (qsizetype i = 2; i < lines.size() && !lines[i].startsWith(QStringLiteral("-At ")); ++i)
        text << (lines[i].startsWith(u'-') ? lines[i].mid(1) : lines[i]);
    return text.isEmpty() ? e.message() : text.join(u'\n');
}

QString userText(const DbError& e, const QString& where)
{
    const QString at = where.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(where);
    QString what;
    switch (classify(e)) {
    case DbProblem::Other: return refusalText(e);
    case DbProblem::FileMissing:
        what = QStringLiteral("Файлът на базата данни%1 не е намерен. Проверете пътя в настройките.").arg(at);
        break;
    case DbProblem::InUse:
        what = QStringLiteral("Базата данни%1 е заета от друга програма. Затворете другата програма и опитайте "
                              "отново.")
                   .arg(at);
        break;
    case DbProblem::NoSpace:
        what = QStringLiteral("Няма свободно място на диска на базата данни%1. Освободете място и опитайте отново.")
                   .arg(at);
        break;
    case DbProblem::NoAccess:
        what = QStringLiteral("Нямате право да четете или записвате файла на базата данни%1. Помолете "
                              "администратора да даде права за четене и запис на файла и папката му.")
                   .arg(at);
        break;
    case DbProblem::Network:
        what = QStringLiteral("Няма връзка със сървъра на базата данни%1. Проверете дали сървърът работи и дали "
                              "мрежата е наред.")
                   .arg(at);
        break;
    case DbProblem::Login:
        what = QStringLiteral("Сървърът на базата данни%1 не прие потребителското име или паролата. Проверете ги "
                              "в настройките.")
                   .arg(at);
        break;
    case DbProblem::Privilege:
        what = QStringLiteral("Потребителят на базата данни няма права за това действие. Обърнете се към "
                              "администратора.");
        break;
    case DbProblem::Shutdown:
        what = QStringLiteral("Връзката с базата данни%1 е прекратена (базата е спряна или сървърът е "
                              "изключен). Действието не е извършено.")
                   .arg(at);
        break;
    case DbProblem::Conflict:
        what = QStringLiteral("Същите данни се променят в момента от друг потребител. Опитайте отново след малко.");
        break;
    case DbProblem::NotADatabase:
        what = QStringLiteral("Файлът%1 не е база данни или е повреден. Възстановете базата от архивно копие.")
                   .arg(at);
        break;
    }
    return what + QStringLiteral("\r\rСъобщение на сървъра:\r") + e.message();
}
