#pragma once

#include "platform/db/connection.h"
#include "support/recordingui.h"
#include "support/testdb.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

// What each database test starts from and throws away: a temporary folder, the recorder in place
// of the message boxes, and an open connection to a fresh copy of the template database.
// A suite calls start() from init() and stop() from cleanup().
class DbFixture
{
public:
    void start()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        ui_ = std::make_unique<RecordingUi>();
        db_ = std::make_unique<SQLConnection>(TestDb::freshCopy(*dir_));
        db_->open();
    }
    void stop()
    {
        db_.reset();
        ui_.reset();
        dir_.reset();
    }

    SQLConnection& db() { return *db_; }
    RecordingUi& ui() { return *ui_; }
    const QTemporaryDir& dir() const { return *dir_; }
    // The first column of the first row, as a number (a count).
    int count(const QString& sql, const SqlParams& params = {}) { return db_->query(sql, params).rows.front()[0].toInt(); }
    void exec(const QString& sql, const SqlParams& params = {}) { db_->execute(sql, params); }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<RecordingUi> ui_;
    std::unique_ptr<SQLConnection> db_;
};
