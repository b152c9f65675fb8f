#include "app/startup.h"
#include "data/dmns.h"
#include "platform/db/connection.h"
#include "platform/db/dberror.h"
#include "platform/db/migrator.h"
#include "schema/schema.h"
#include "support/recordingui.h"
#include "support/testdb.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <cerrno>
#include <firebird/Interface.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#ifndef TRX_PROGRAM
#error "TRX_PROGRAM must name the program binary"
#endif

namespace {

QByteArray digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(&f);
    return h.result();
}

// The real program on its own data and configuration folders.
class Program
{
public:
    explicit Program(const QString& home)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.setReadChannel(QProcess::StandardError);
        process.start(QStringLiteral(TRX_PROGRAM), QStringList());
    }
    ~Program()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    // Waits until the program says on stderr that its database is open (or it ends).
    bool waitForText(const QByteArray& text)
    {
        while (!err.contains(text)) {
            if (!process.waitForReadyRead(120000)) return false;
            err += process.readAllStandardError();
        }
        return true;
    }
    static QString databaseIn(const QString& home) { return home + QStringLiteral("/data/TRX/TRXBASE.fdb"); }

    QProcess process;
    QByteArray err;
};

// A program home with the suite's template database in place.
QString homeWithDatabase(const QTemporaryDir& dir)
{
    QDir().mkpath(dir.filePath(QStringLiteral("data/TRX")));
    TestDb::freshCopy(dir, QStringLiteral("data/TRX/TRXBASE.fdb"));
    return dir.path();
}

void writeProgramIni(const QString& home, const QByteArray& content)
{
    QDir().mkpath(home + QStringLiteral("/config/TRX"));
    QFile ini(home + QStringLiteral("/config/TRX/trx.ini"));
    if (ini.open(QIODevice::WriteOnly)) ini.write(content);
}

// Sends the signal and waits for the end: within two seconds, status 0.
bool endsBySignal(Program& trx, int signal = SIGTERM)
{
    return ::kill(pid_t(trx.process.processId()), signal) == 0 && trx.process.waitForFinished(2000) &&
           trx.process.exitStatus() == QProcess::NormalExit && trx.process.exitCode() == 0;
}

QString gfix()
{
    const QString found = QStandardPaths::findExecutable(QStringLiteral("gfix"));
    return found.isEmpty() ? QStringLiteral("/usr/lib/x86_64-linux-gnu/firebird/3.0/bin/gfix") : found;
}

// gfix finds nothing wrong with the database.
bool checksClean(const QString& db)
{
    QProcess check;
    check.start(gfix(), {QStringLiteral("-v"), QStringLiteral("-full"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), db});
    if (!check.waitForFinished(60000) || check.exitCode() != 0) return false;
    const QByteArray report = check.readAllStandardOutput() + check.readAllStandardError();
    if (!report.trimmed().isEmpty()) qWarning("%s", report.constData());
    return report.trimmed().isEmpty();
}

// A loopback port that accepts connections and never says a word.
class SilentListener
{
public:
    SilentListener()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd_, 4) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            port_ = 0;
        else
            port_ = ntohs(a.sin_port);
    }
    ~SilentListener()
    {
        if (client_ >= 0) ::close(client_);
        if (fd_ >= 0) ::close(fd_);
    }
    int port() const { return port_; }
    // Blocks until a client connects; the connection is kept open and never answered.
    bool waitForClient()
    {
        client_ = ::accept(fd_, nullptr, nullptr);
        return client_ >= 0;
    }

private:
    int fd_ = -1;
    int client_ = -1;
    int port_ = 0;
};

} // namespace

// From the configuration file to a checked, open database, and the program's end by signal.
class TstStartup : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void refusedDatabaseIsNeverUsed_data();
    void refusedDatabaseIsNeverUsed();
    void lostConnectionOpensOnlyThroughChecks();
    void upgradeSaysWhereTheCopyIs();
    void badConfigFileReportedOnce_data();
    void badConfigFileReportedOnce();
    void namedMissingDatabaseIsAskedFor_data();
    void namedMissingDatabaseIsAskedFor();
    void silentServerTimesOut();
    void engineErrorsExplained_data();
    void engineErrorsExplained();
    void codesNotTextsTellTheProblem_data();
    void codesNotTextsTellTheProblem();
    void badConfigToldOnStderrAndSignalStillEnds();
    void signalEndsProgramCleanly_data();
    void signalEndsProgramCleanly();
    void secondInstanceRefused();
    void signalDuringConnectEndsStart();
    void questionToldOnStderr();
    void signalDuringFirstStart_data();
    void signalDuringFirstStart();

private:
    Startup::Config configFor(const ConnectionParams& p) const
    {
        Startup::Config c;
        c.params = p;
        c.iniPath = dir_->filePath(QStringLiteral("trx.ini"));
        return c;
    }
    QString writeIni(const QByteArray& content) const
    {
        const QString path = dir_->filePath(QStringLiteral("trx.ini"));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.write(content);
        return path;
    }
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<RecordingUi> ui_;
};

void TstStartup::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    ui_ = std::make_unique<RecordingUi>();
}

void TstStartup::cleanup()
{
    ui_.reset();
    dir_.reset();
}

void TstStartup::refusedDatabaseIsNeverUsed_data()
{
    QTest::addColumn<QString>("change");  // made to the database before the start
    QTest::addColumn<QString>("reason");  // part of what the user is told
    QTest::newRow("newer version") << QStringLiteral("insert into SCHEMA_VERSION (VERSION, NAME, APPLIED) "
                                                     "values (9999, 'future', current_timestamp)")
                                   << QStringLiteral("по-нова версия");
    // Its last migrations recorded as not applied: applying them again fails half way, at 0116,
    // which adds a column the table already has (applied migrations never change, so it stays so).
    QTest::newRow("half migrated") << QStringLiteral("delete from SCHEMA_VERSION where VERSION >= 116")
                                   << QStringLiteral("Неуспешна миграция");
}

// A database the start refuses is not used afterwards: a list the user opens is refused too, and
// the file does not change.
void TstStartup::refusedDatabaseIsNeverUsed()
{
    QFETCH(QString, change);
    QFETCH(QString, reason);
    const ConnectionParams p = TestDb::freshCopy(*dir_);
    SQLConnection(p).execute(change);
    TDMNS dm(p);
    QVERIFY(!Startup::openDatabase(dm.SQLConnectNS, configFor(p)));
    const QStringList errors = ui_->texts(RecordingUi::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.front().contains(reason), qPrintable(errors.front()));
    QVERIFY(errors.front().contains(QStringLiteral("Програмата ще бъде затворена")));
    if (TestDb::serverMode()) return;  // the file is the server's to write
    const QByteArray before = digest(p.database);
    QVERIFY(!before.isEmpty());
    QVERIFY_THROWS_EXCEPTION(DbError, dm.SmpMiarka.open());
    QVERIFY_THROWS_EXCEPTION(DbError, dm.SQLConnectNS.execute(QStringLiteral("delete from MIARKA")));
    QVERIFY_THROWS_EXCEPTION(DbError, dm.connect());
    QVERIFY(!dm.SQLConnectNS.isOpen());
    QCOMPARE(digest(p.database), before);
}

// A connection the server ends is reported, let go, and opened again only through the start-up
// checks: here the database became a newer version's meanwhile, so it is refused.
void TstStartup::lostConnectionOpensOnlyThroughChecks()
{
    const ConnectionParams p = TestDb::freshCopy(*dir_);
    TDMNS dm(p);
    QVERIFY(Startup::openDatabase(dm.SQLConnectNS, configFor(p)));
    SQLConnection other(p);
    other.execute(QStringLiteral("delete from MON$ATTACHMENTS where MON$ATTACHMENT_ID <> current_connection"));
    try {
        dm.SQLConnectNS.query(QStringLiteral("select count(*) from MIARKA"));
        QFAIL("a dead connection answered");
    } catch (const DbError& e) {
        QVERIFY2(connectionLost(e), qPrintable(e.message()));
        QVERIFY2(userText(e).contains(QStringLiteral("Връзката с базата данни")), qPrintable(userText(e)));
    }
    QVERIFY(!dm.SQLConnectNS.isOpen());
    other.execute(QStringLiteral("insert into SCHEMA_VERSION (VERSION, NAME, APPLIED) values (9999, 'future', "
                                 "current_timestamp)"));
    other.close();
    try {
        dm.SmpMiarka.open();
        QFAIL("re-opened without the checks");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("по-нова версия")), qPrintable(e.message()));
    }
    QVERIFY(!dm.SQLConnectNS.isOpen());
}

// An older database is upgraded, and the user is told where its copy from before is.
void TstStartup::upgradeSaysWhereTheCopyIs()
{
    if (TestDb::serverMode()) QSKIP("the copy is made of the embedded database's file");
    const ConnectionParams p = TestDb::paramsFor(dir_->filePath(QStringLiteral("TRXBASE.fdb")));
    QVector<Migration> older = Schema::migrations();
    older.removeLast();
    {
        SQLConnection c(p);
        c.create();
        Migrator(c, older).upgrade();
    }
    TDMNS dm(p);
    QVERIFY(Startup::openDatabase(dm.SQLConnectNS, configFor(p)));
    const QStringList told = ui_->texts(RecordingUi::Kind::Message);
    QCOMPARE(told.size(), 1);
    const QRegularExpression re(QStringLiteral("версия %1 до версия %2.\rКопие на базата отпреди обновяването: (\\S+)$")
                                           .arg(older.last().version)
                                           .arg(Schema::migrations().last().version));
    const auto m = re.match(told.front());
    QVERIFY2(m.hasMatch(), qPrintable(told.front()));
    QVERIFY(QFile::exists(m.captured(1)));
    QCOMPARE(QFileInfo(m.captured(1)).absolutePath(), QFileInfo(p.database).absolutePath());
    QVERIFY(dm.SQLConnectNS.isOpen());
}

void TstStartup::badConfigFileReportedOnce_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");  // texts the report must hold; empty: a sound file
    QTest::newRow("sound") << QByteArray("; comment\n[database]\nserver=db\nport=3050\n\n[installation]\nspecial_vat=1\n")
                           << QStringList();
    QTest::newRow("capital group") << QByteArray("[Database]\nserver=db\n")
                                   << QStringList{QStringLiteral("ред 1"), QStringLiteral("[database]")};
    QTest::newRow("unknown group") << QByteArray("[database]\nserver=db\n[databse]\nport=1\n")
                                   << QStringList{QStringLiteral("ред 3"), QStringLiteral("databse")};
    QTest::newRow("unknown key") << QByteArray("[database]\nhost=db\n")
                                 << QStringList{QStringLiteral("ред 2"), QStringLiteral("host")};
    QTest::newRow("key with capital") << QByteArray("[database]\nServer=db\n")
                                      << QStringList{QStringLiteral("ред 2"), QStringLiteral("Server")};
    QTest::newRow("port not a number") << QByteArray("[database]\nserver=db\nport=abc\n")
                                       << QStringList{QStringLiteral("ред 3"), QStringLiteral("abc")};
    QTest::newRow("port out of range") << QByteArray("[database]\nport=70000\n")
                                       << QStringList{QStringLiteral("ред 2"), QStringLiteral("70000")};
    QTest::newRow("timeout not a number") << QByteArray("[database]\nconnect_timeout=10s\n")
                                          << QStringList{QStringLiteral("ред 2"), QStringLiteral("10s")};
    // No timeout at all would let a silent server freeze the start for minutes.
    QTest::newRow("timeout zero") << QByteArray("[database]\nconnect_timeout=0\n")
                                  << QStringList{QStringLiteral("ред 2"), QStringLiteral("\"0\"")};
    QTest::newRow("control characters") << QByteArray("[database]\nserver=d\x01\x02b\n")
                                        << QStringList{QStringLiteral("ред 2"), QStringLiteral("неразбираем")};
    QTest::newRow("key outside a group") << QByteArray("server=db\n")
                                         << QStringList{QStringLiteral("ред 1"), QStringLiteral("извън група")};
    QTest::newRow("garbage") << QByteArray("[database]\nthis is not a setting\n")
                             << QStringList{QStringLiteral("ред 2"), QStringLiteral("this is not")};
    QTest::newRow("binary") << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0\n[database]\n", 16)
                            << QStringList{QStringLiteral("ред 1")};
    QTest::newRow("unclosed group") << QByteArray("[database\nserver=db\n")
                                    << QStringList{QStringLiteral("ред 1")};
    QTest::newRow("unquoted comma") << QByteArray("[database]\npassword=a,b\n")
                                    << QStringList{QStringLiteral("ред 2"), QStringLiteral("кавички")};
    QTest::newRow("two faults, one report")
        << QByteArray("[Database]\nserver=db\n[database]\nport=x\n")
        << QStringList{QStringLiteral("ред 1"), QStringLiteral("ред 4")};
}

void TstStartup::badConfigFileReportedOnce()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    const QString ini = writeIni(content);
    const std::optional<Startup::Config> c = Startup::readConfig(ini, dir_->path());
    const QStringList errors = ui_->texts(RecordingUi::Kind::Error);
    if (expected.isEmpty()) {
        QVERIFY(c.has_value());
        QVERIFY(ui_->log.isEmpty());
        QCOMPARE(c->params.server, QStringLiteral("db"));
        QCOMPARE(c->params.port, 3050);
        return;
    }
    QVERIFY(!c.has_value());
    QCOMPARE(ui_->log.size(), 1);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.front().contains(QDir::toNativeSeparators(ini)), qPrintable(errors.front()));
    for (const QString& e : expected) QVERIFY2(errors.front().contains(e), qPrintable(errors.front()));
}

void TstStartup::namedMissingDatabaseIsAskedFor_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("no") << false;
    QTest::newRow("yes") << true;
}

// A database the configuration names is made only when the user says so; the default one is
// made without asking (the first start of an installation).
void TstStartup::namedMissingDatabaseIsAskedFor()
{
    if (TestDb::serverMode()) QSKIP("making the file is the embedded database's behaviour");
    QFETCH(bool, answer);
    const QString path = dir_->filePath(QStringLiteral("elsewhere/FIRMA.fdb"));
    const QString ini = writeIni("[database]\ndatabase=" + path.toUtf8() + "\n");
    const std::optional<Startup::Config> c = Startup::readConfig(ini, dir_->path());
    QVERIFY(c && c->databaseNamed);
    QCOMPARE(c->params.database, path);
    ui_->answers << answer;
    SQLConnection conn(c->params);
    QCOMPARE(Startup::openDatabase(conn, *c), answer);
    const QStringList questions = ui_->texts(RecordingUi::Kind::Question);
    QCOMPARE(questions.size(), 1);
    QVERIFY2(questions.front().contains(QDir::toNativeSeparators(path)), qPrintable(questions.front()));
    QVERIFY(ui_->texts(RecordingUi::Kind::Error).isEmpty());
    QCOMPARE(QFile::exists(path), answer);
    QCOMPARE(conn.isOpen(), answer);
    if (!answer) QVERIFY_THROWS_EXCEPTION(DbError, conn.query(QStringLiteral("select 1 from rdb$database")));
}

// A server that takes the connection and never answers is given up after the connect timeout,
// with the server's address in the message.
void TstStartup::silentServerTimesOut()
{
    SilentListener listener;
    QVERIFY(listener.port() > 0);
    ConnectionParams p;
    p.server = QStringLiteral("127.0.0.1");
    p.port = listener.port();
    p.database = QStringLiteral("/srv/TRXBASE.fdb");
    p.connectTimeout = 2;
    SQLConnection conn(p);
    QVERIFY(!Startup::openDatabase(conn, configFor(p)));
    const QStringList errors = ui_->texts(RecordingUi::Kind::Error);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.front().contains(QStringLiteral("127.0.0.1:%1 не отговаря").arg(listener.port())),
             qPrintable(errors.front()));
}

void TstStartup::engineErrorsExplained_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("explanation");
    QTest::newRow("missing file") << "missing" << int(DbProblem::FileMissing) << QStringLiteral("не е намерен");
    QTest::newRow("not a database") << "garbage" << int(DbProblem::NotADatabase) << QStringLiteral("не е база данни");
    QTest::newRow("server refuses") << "refused" << int(DbProblem::Network) << QStringLiteral("Няма връзка със сървъра");
    QTest::newRow("connection ended") << "killed" << int(DbProblem::Shutdown) << QStringLiteral("прекратена");
}

// Errors the engine really raises, told apart by their codes: a Bulgarian explanation with the
// engine's own text beneath it.
void TstStartup::engineErrorsExplained()
{
    QFETCH(QString, fault);
    QFETCH(int, problem);
    QFETCH(QString, explanation);
    if (TestDb::serverMode()) QSKIP("the faults are made on embedded files");
    ConnectionParams p = TestDb::paramsFor(dir_->filePath(QStringLiteral("none/TRXBASE.fdb")));
    if (fault == QLatin1String("garbage")) {
        p.database = dir_->filePath(QStringLiteral("garbage.fdb"));
        QFile f(p.database);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(65536, '\x33'));
    } else if (fault == QLatin1String("refused")) {
        p.server = QStringLiteral("127.0.0.1");
        p.port = 1;
    } else if (fault == QLatin1String("killed")) {
        p = TestDb::freshCopy(*dir_);
    }
    SQLConnection c(p);
    try {
        if (fault == QLatin1String("killed")) {
            c.open();
            SQLConnection(p).execute(
                QStringLiteral("delete from MON$ATTACHMENTS where MON$ATTACHMENT_ID <> current_connection"));
        }
        c.query(QStringLiteral("select 1 from rdb$database"));
        QFAIL("no error");
    } catch (const DbError& e) {
        QCOMPARE(int(classify(e)), problem);
        const QString text = userText(e);
        QVERIFY2(text.contains(explanation), qPrintable(text));
        QVERIFY2(text.endsWith(e.message()), qPrintable(text));
    }
}

void TstStartup::codesNotTextsTellTheProblem_data()
{
    QTest::addColumn<QList<long>>("codes");
    QTest::addColumn<int>("osError");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("explanation");
    QTest::newRow("login") << QList<long>{isc_login} << 0 << int(DbProblem::Login) << QStringLiteral("паролата");
    QTest::newRow("disk full") << QList<long>{isc_io_error, isc_io_write_err} << ENOSPC << int(DbProblem::NoSpace)
                               << QStringLiteral("Няма свободно място");
    QTest::newRow("no access") << QList<long>{isc_io_error, isc_io_open_err} << EACCES << int(DbProblem::NoAccess)
                               << QStringLiteral("права за четене и запис");
    QTest::newRow("file lock") << QList<long>{isc_io_error} << 0 << int(DbProblem::InUse)
                               << QStringLiteral("заета от друга програма");
    QTest::newRow("network") << QList<long>{isc_network_error, isc_net_read_err} << ECONNRESET << int(DbProblem::Network)
                             << QStringLiteral("Няма връзка със сървъра");
    QTest::newRow("row in use") << QList<long>{isc_lock_conflict, isc_update_conflict} << 0 << int(DbProblem::Conflict)
                                << QStringLiteral("друг потребител");
    QTest::newRow("privilege") << QList<long>{isc_no_priv} << 0 << int(DbProblem::Privilege) << QStringLiteral("няма права");
    QTest::newRow("unknown code") << QList<long>{isc_random} << 0 << int(DbProblem::Other) << QString();
}

// The engine's texts are not read: a message that reads like a network fault but carries
// another code is told by its code; an unknown code is shown as the engine said it.
void TstStartup::codesNotTextsTellTheProblem()
{
    QFETCH(QList<long>, codes);
    QFETCH(int, osError);
    QFETCH(int, problem);
    QFETCH(QString, explanation);
    DbError e(QStringLiteral("Unable to complete network request to host \"x\"."));
    e.setStatus(codes, osError);
    QCOMPARE(int(classify(e)), problem);
    const QString text = userText(e);
    if (explanation.isEmpty()) {
        QCOMPARE(text, e.message());
    } else {
        QVERIFY2(text.contains(explanation), qPrintable(text));
        QVERIFY(text.endsWith(QStringLiteral("\r") + e.message()));
    }
}

// Without a screen the report is on stderr, so a start that cannot go on never looks hung; a
// signal ends the program while the report waits for the user.
void TstStartup::badConfigToldOnStderrAndSignalStillEnds()
{
    const QString home = dir_->path();
    QDir().mkpath(home + QStringLiteral("/config/TRX"));
    QFile ini(home + QStringLiteral("/config/TRX/trx.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Database]\nserver=db\n");
    ini.close();
    Program trx(home);
    QVERIFY2(trx.waitForText("ред 1"), trx.err.constData());
    QVERIFY(trx.err.contains(QFile::encodeName(ini.fileName())));
    QCOMPARE(trx.process.state(), QProcess::Running);  // the report is on screen
    QVERIFY(::kill(pid_t(trx.process.processId()), SIGTERM) == 0);
    QVERIFY2(trx.process.waitForFinished(2000), "still running 2 s after the signal");
    QCOMPARE(trx.process.exitCode(), 0);
    QVERIFY(!QFile::exists(Program::databaseIn(home)));
}

void TstStartup::signalEndsProgramCleanly_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

// The real program, sent a signal, closes its windows and its database and ends with status 0
// within two seconds; the database checks clean.
void TstStartup::signalEndsProgramCleanly()
{
    if (TestDb::serverMode()) QSKIP("the program is started on an embedded database");
    QFETCH(int, signal);
    const QString home = homeWithDatabase(*dir_);
    Program trx(home);
    QVERIFY2(trx.waitForText("TRX: opened"), trx.err.constData());
    // The main window's first preparation has run once the window is up; the signal comes after.
    QVERIFY(::kill(pid_t(trx.process.processId()), signal) == 0);
    QVERIFY2(trx.process.waitForFinished(2000), "still running 2 s after the signal");
    QCOMPARE(trx.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(trx.process.exitCode(), 0);
    QProcess check;
    check.start(gfix(), {QStringLiteral("-v"), QStringLiteral("-full"), QStringLiteral("-user"),
                         QStringLiteral("SYSDBA"), Program::databaseIn(home)});
    QVERIFY(check.waitForFinished(60000));
    const QByteArray report = check.readAllStandardOutput() + check.readAllStandardError();
    QCOMPARE(check.exitCode(), 0);
    QVERIFY2(report.trimmed().isEmpty(), report.constData());
}

// A second start on the same embedded database says the program is already running there (and how
// several workstations share a database), and ends; the first one goes on undisturbed.
void TstStartup::secondInstanceRefused()
{
    if (TestDb::serverMode()) QSKIP("one process per embedded database is the embedded engine's rule");
    const QString home = homeWithDatabase(*dir_);
    Program first(home);
    QVERIFY2(first.waitForText("TRX: opened"), first.err.constData());
    const ConnectionParams p = TestDb::paramsFor(Program::databaseIn(home));
    {
        TDMNS dm(p);
        QVERIFY(!Startup::openDatabase(dm.SQLConnectNS, configFor(p)));
        const QStringList errors = ui_->texts(RecordingUi::Kind::Error);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.front().contains(QStringLiteral("Програмата вече работи с базата данни")),
                 qPrintable(errors.front()));
        QVERIFY(errors.front().contains(QStringLiteral("сървър")));
        QVERIFY_THROWS_EXCEPTION(DbError, dm.SmpMiarka.open());
    }
    QCOMPARE(first.process.state(), QProcess::Running);
    QVERIFY(endsBySignal(first));
    QVERIFY2(!first.err.contains("Error") && !first.process.readAllStandardError().contains("Error"),
             first.err.constData());
    // The first one's database came through whole and opens again.
    QVERIFY(checksClean(Program::databaseIn(home)));
    TDMNS dm(p);
    QVERIFY(Startup::openDatabase(dm.SQLConnectNS, configFor(p)));
    dm.SmpMiarka.open();
    QVERIFY(dm.SmpMiarka.recordCount() > 0);
}

// A start stuck in a connect to a server that never answers ends on a signal at once, not after
// the connect timeout.
void TstStartup::signalDuringConnectEndsStart()
{
    SilentListener listener;
    QVERIFY(listener.port() > 0);
    const QString home = dir_->path();
    writeProgramIni(home, QStringLiteral("[database]\nserver=127.0.0.1\nport=%1\ndatabase=/srv/TRXBASE.fdb\n"
                                         "connect_timeout=600\n")
                              .arg(listener.port())
                              .toUtf8());
    Program trx(home);
    QVERIFY(listener.waitForClient());
    QVERIFY2(endsBySignal(trx), trx.err.constData());
}

// A question waits for an answer; without a screen it is on stderr, so the run never looks hung.
void TstStartup::questionToldOnStderr()
{
    if (TestDb::serverMode()) QSKIP("the program is started on an embedded database");
    const QString home = dir_->path();
    const QString path = dir_->filePath(QStringLiteral("elsewhere/FIRMA.fdb"));
    writeProgramIni(home, "[database]\ndatabase=" + path.toUtf8() + "\n");
    Program trx(home);
    QVERIFY2(trx.waitForText("не съществува"), trx.err.constData());
    QVERIFY2(trx.err.contains(QFile::encodeName(path)), trx.err.constData());
    QCOMPARE(trx.process.state(), QProcess::Running);  // the question is on screen
    QVERIFY(endsBySignal(trx));
    QVERIFY(!QFile::exists(path));
}

void TstStartup::signalDuringFirstStart_data()
{
    QTest::addColumn<int>("count");  // a second signal ends a stuck start at once
    QTest::newRow("once") << 1;
    QTest::newRow("twice") << 2;
}

// A first start ended by a signal leaves its database absent or whole, never half-made in place;
// the next start opens (or makes) it.
void TstStartup::signalDuringFirstStart()
{
    if (TestDb::serverMode()) QSKIP("the program is started on an embedded database");
    QFETCH(int, count);
    const QString home = dir_->path();
    const QString db = Program::databaseIn(home);
    {
        Program trx(home);
        // The signal comes while the new database is being made: its lock is there.
        while (!QFile::exists(db + QStringLiteral(".lock")) && trx.process.state() != QProcess::NotRunning)
            trx.process.waitForFinished(5);
        QCOMPARE(trx.process.state(), QProcess::Running);
        for (int i = 1; i < count; ++i) ::kill(pid_t(trx.process.processId()), SIGTERM);
        QVERIFY2(endsBySignal(trx), trx.err.constData());
    }
    if (QFile::exists(db)) QVERIFY(checksClean(db));
    Program next(home);
    QVERIFY2(next.waitForText("TRX: "), next.err.constData());
    QVERIFY(endsBySignal(next));
    QVERIFY(checksClean(db));
    const QStringList left = QDir(QFileInfo(db).path()).entryList({QStringLiteral("*.partial*")}, QDir::Files);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
}

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
