#include "backup/backupdata.h"
#include "platform/base/clock.h"
#include "platform/db/dberror.h"
#include "platform/db/dbfile.h"
#include "schema/schema.h"
#include "support/dbfixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

// Backup and restore through the engine's service manager on real embedded databases.
class TstBackup : public QObject
{
    Q_OBJECT

private:
    DbFixture fx;
    std::unique_ptr<QTemporaryDir> out;  // where backups are written

    static DbBackup::Progress quiet()
    {
        return [](const QString&) { return true; };
    }
    QString database() { return fx.db().params().database; }
    // Every row of the towns, in one text, to compare two databases.
    static QStringList towns(SQLConnection& c)
    {
        QStringList rows;
        for (const DbRow& r : c.query(QStringLiteral("select POSTKOD, GRAD, TELKOD from GRADOVE order by POSTKOD")).rows)
            rows << QStringLiteral("%1|%2|%3").arg(r[0].toString(), r[1].toString(), r[2].toString());
        return rows;
    }
    void addTowns(int from, int count)
    {
        for (int i = 0; i < count; ++i)
            fx.exec(QStringLiteral("insert into GRADOVE (POSTKOD, GRAD, TELKOD) values (:P, :G, :T)"),
                    {{QStringLiteral("P"), from + i},
                     {QStringLiteral("G"), QStringLiteral("Град №%1").arg(from + i)},
                     {QStringLiteral("T"), QString::number(1000 + i)}});
    }
    QString makeBackup()
    {
        const Backup::Outcome b = Backup::backup(fx.db().params(), out->path(), quiet());
        if (!b.done || !QFileInfo(b.path).isFile()) qFatal("no backup was made");
        return b.path;
    }
    // What a refused restore must leave: the marker row in the database in use, nothing beside it.
    void checkUntouched(const QStringList& before)
    {
        QCOMPARE(towns(fx.db()), before);
        QCOMPARE(DbFile::leftoverPartials(database()), QStringList());
        QVERIFY(!QFileInfo::exists(Backup::bakPath(database())));
    }

private slots:
    void init()
    {
        fx.start();
        out = std::make_unique<QTemporaryDir>();
        addTowns(30000, 300);
    }
    void cleanup()
    {
        out.reset();
        fx.stop();
        Clock::reset();
    }

    // A backup of a database with rows, restored into a new folder, holds every row.
    void backupRestoresEveryRow()
    {
        Clock::setFixed(QDateTime(QDate(2026, 3, 4), QTime(10, 20, 30)));
        QStringList lines;
        Backup::Meter meter;
        meter.tables = Backup::tableCount(fx.db());
        const Backup::Outcome b = Backup::backup(fx.db().params(), out->path(), [&](const QString& line) {
            meter.take(line);
            if (!line.isEmpty()) lines << line;
            return true;
        });
        QVERIFY(b.done);
        QCOMPARE(QFileInfo(b.path).fileName(), QStringLiteral("TRXBASE-20260304-102030.fbk"));
        QCOMPARE(QDir(out->path()).entryList(QDir::Files), QStringList{QStringLiteral("TRXBASE-20260304-102030.fbk")});
        QVERIFY2(meter.done > 10 && meter.done == meter.tables, qPrintable(lines.join(u'\n')));

        QTemporaryDir elsewhere;
        const ConnectionParams target = TestDb::paramsFor(elsewhere.filePath(QStringLiteral("TRXBASE.fdb")));
        const Backup::Outcome r = Backup::restore(target, b.path, quiet());
        QVERIFY(r.done);
        QCOMPARE(QFileInfo(r.path).absolutePath(), QFileInfo(elsewhere.path()).absoluteFilePath());
        ConnectionParams restored = target;
        restored.database = r.path;
        SQLConnection c(restored);
        c.open();
        const QStringList rows = towns(c);
        QCOMPARE(rows, towns(fx.db()));
        QVERIFY(rows.contains(QStringLiteral("30299|Град №30299|1299")));
    }

    // The restored database takes the current one's name; the old one stays as NAME.bak.
    void replaceKeepsOldAsBak()
    {
        const QStringList backedUp = towns(fx.db());
        const QString file = makeBackup();
        addTowns(32500, 1);  // made after the backup: only the old database has it
        const QStringList later = towns(fx.db());
        const Backup::Outcome r = Backup::restore(fx.db().params(), file, quiet());
        QVERIFY(r.done);
        Backup::replace(fx.db(), r.path);
        QVERIFY(fx.db().isOpen());
        QCOMPARE(towns(fx.db()), backedUp);
        QVERIFY(!QFileInfo::exists(r.path));
        ConnectionParams old = fx.db().params();
        old.database = Backup::bakPath(database());
        SQLConnection c(old);
        c.open();
        QCOMPARE(towns(c), later);
    }

    // A fault before the restored database takes the name leaves the old one in use.
    void interruptedReplaceKeepsOld()
    {
        const QString file = makeBackup();
        addTowns(32500, 1);
        const QStringList before = towns(fx.db());
        const Backup::Outcome r = Backup::restore(fx.db().params(), file, quiet());
        QVERIFY(r.done);
        QVERIFY_THROWS_EXCEPTION(DbError, Backup::replace(fx.db(), r.path, [] { throw DbError(QStringLiteral("injected")); }));
        QVERIFY(fx.db().isOpen());
        QCOMPARE(towns(fx.db()), before);
        QCOMPARE(DbFile::leftoverPartials(database()), QStringList());
    }

    // Files that are no whole backup of this program's database are refused, the database untouched.
    void refused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("says");
        QTest::newRow("text file") << "text" << "не е архив на база данни или е повреден";
        QTest::newRow("empty file") << "empty" << "не е архив на база данни или е повреден";
        QTest::newRow("cut in half") << "truncated" << "не е архив на база данни или е повреден";
        QTest::newRow("cut near its end") << "truncated late" << "не е архив на база данни или е повреден";
        QTest::newRow("newer schema") << "newer" << "по-нова версия на програмата";
        QTest::newRow("missing file") << "missing" << "не съществува";
    }
    void refused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, says);
        QString file = out->filePath(QStringLiteral("given.fbk"));
        if (kind.startsWith(QLatin1String("truncated")) || kind == QLatin1String("newer")) {
            if (kind == QLatin1String("newer"))
                fx.exec(QStringLiteral("insert into SCHEMA_VERSION (VERSION, NAME, APPLIED) values (9999, 'future', "
                                       "current_timestamp)"));
            const QString whole = makeBackup();
            if (kind == QLatin1String("newer")) fx.exec(QStringLiteral("delete from SCHEMA_VERSION where VERSION = 9999"));
            QFile in(whole);
            QVERIFY(in.open(QIODevice::ReadOnly));
            const QByteArray bytes = in.readAll();
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            const qsizetype keep = kind == QLatin1String("newer")      ? bytes.size()
                                   : kind == QLatin1String("truncated") ? bytes.size() / 2
                                                                         : bytes.size() * 19 / 20;
            f.write(bytes.left(keep));
        } else if (kind != QLatin1String("missing")) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            if (kind == QLatin1String("text")) f.write("POSTKOD;GRAD\n1000;Sofia\n");
        }
        const QStringList before = towns(fx.db());
        try {
            Backup::restore(fx.db().params(), file, quiet());
            QFAIL("the file was restored");
        } catch (const DbError& e) {
            QVERIFY2(e.message().contains(says), qPrintable(e.message()));
            QVERIFY2(e.message().contains(QStringLiteral("Текущата база данни не е променена")), qPrintable(e.message()));
        }
        checkUntouched(before);
    }

    // Cancelled at its first report, a run returns only once the engine has ended the action, and
    // leaves no file behind and the database as it was.
    void cancel_data()
    {
        QTest::addColumn<bool>("restoring");
        QTest::newRow("backup") << false;
        QTest::newRow("restore") << true;
    }
    void cancel()
    {
        QFETCH(bool, restoring);
        const QString file = restoring ? makeBackup() : QString();
        const QStringList filesBefore = QDir(out->path()).entryList(QDir::Files);
        const QStringList before = towns(fx.db());
        int calls = 0;
        // Cancels at once; its later answers must not undo that.
        auto stop = [&](const QString&) { return ++calls > 1; };
        const Backup::Outcome r = restoring ? Backup::restore(fx.db().params(), file, stop)
                                            : Backup::backup(fx.db().params(), out->path(), stop);
        QVERIFY(!r.done);
        // The engine's reports went on to its end: the run did not leave the action running.
        QVERIFY2(calls > 1, qPrintable(QString::number(calls)));
        QVERIFY(!QFileInfo::exists(r.path));
        QCOMPARE(QDir(out->path()).entryList(QDir::Files), filesBefore);
        checkUntouched(before);
    }

    // Files a killed restore or first start left under the database's temporary names go before
    // the next restore and at the next start; one a live process may still be writing stays.
    void abandonedPartials_data()
    {
        QTest::addColumn<bool>("atStart");
        QTest::newRow("before a restore") << false;
        QTest::newRow("at start") << true;
    }
    void abandonedPartials()
    {
        QFETCH(bool, atStart);
        const QString file = atStart ? QString() : makeBackup();
        QProcess finished;
        finished.start(QStringLiteral("true"));
        QVERIFY(finished.waitForStarted());
        const qint64 gone = finished.processId();
        QVERIFY(finished.waitForFinished());
        const auto partial = [&](qint64 pid) { return QStringLiteral("%1.partial-%2-0badf00d").arg(database()).arg(pid); };
        const QString killed = partial(gone), ours = partial(QCoreApplication::applicationPid()),
                      alive = partial(::getppid());
        for (const QString& path : {killed, ours, alive}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("half a database");
        }
        if (atStart) {
            SQLConnection again(fx.db().params());
            Schema::openAndUpgrade(again, {});
            QVERIFY(again.isOpen());
        } else {
            const Backup::Outcome r = Backup::restore(fx.db().params(), file, quiet());
            QVERIFY(r.done);
            QFile::remove(r.path);
        }
        QCOMPARE(DbFile::leftoverPartials(database()), QStringList{alive});
        QFile::remove(alive);
    }

    void backupIntoMissingFolder()
    {
        try {
            Backup::backup(fx.db().params(), out->filePath(QStringLiteral("nowhere")), quiet());
            QFAIL("a backup went into a missing folder");
        } catch (const DbError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("не съществува")), qPrintable(e.message()));
        }
        QCOMPARE(QDir(out->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    // The reminder at start: only when the last backup is more than 7 days old.
    void reminder_data()
    {
        QTest::addColumn<QDate>("last");
        QTest::addColumn<QDate>("since");  // first day seen without a backup
        QTest::addColumn<QString>("expected");
        const QDate today(2026, 12, 10);
        QTest::newRow("8 days") << today.addDays(-8) << QDate()
                                << "Последният архив е от 02.12.2026. Архивирайте базата данни.";
        QTest::newRow("7 days") << today.addDays(-7) << QDate() << "";
        QTest::newRow("today") << today << QDate() << "";
        QTest::newRow("never, first start") << QDate() << QDate() << "";
        QTest::newRow("never, 7 days") << QDate() << today.addDays(-7) << "";
        QTest::newRow("never, 8 days") << QDate() << today.addDays(-8)
                                       << "Базата данни още не е архивирана. Архивирайте базата данни.";
    }
    void reminder()
    {
        QFETCH(QDate, last);
        QFETCH(QDate, since);
        QFETCH(QString, expected);
        const QString state = out->filePath(QStringLiteral("backup.ini"));
        if (since.isValid()) QSettings(state, QSettings::IniFormat).setValue(QStringLiteral("backup/since"), since.toString(Qt::ISODate));
        Backup::Record record(state);
        if (last.isValid()) record.noteBackup(last);
        QCOMPARE(record.reminder(QDate(2026, 12, 10)), expected);
        QCOMPARE(record.last(), last);
    }
};

QTEST_GUILESS_MAIN(TstBackup)
#include "tst_backup.moc"
