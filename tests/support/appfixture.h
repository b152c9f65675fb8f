#pragma once

#include "app/formns.h"
#include "app/instances.h"
#include "data/dmns.h"
#include "reference/formnomenklaturi.h"
#include "support/recordingui.h"
#include "support/testdb.h"

#include <QTemporaryDir>

#include <memory>

// What each window suite starts from and throws away: a temporary folder, the recorder in place of
// the message boxes, and the program's window set over a fresh copy of the template database with
// its main window shown (so the shared lists are open). A suite derives from it, calls start() from
// init() and stop() from cleanup().
class AppFixture
{
protected:
    void start()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        ui_ = std::make_unique<RecordingUi>();
        app_ = std::make_unique<AppInstances>(TestDb::freshCopy(*dir_));
        app_->FormNS->show();
    }
    void stop()
    {
        app_.reset();
        ui_.reset();
        dir_.reset();
    }

    SQLConnection& db() { return app_->DMNS->SQLConnectNS; }
    TDMNS& dm() { return *app_->DMNS; }
    TFormNomenklaturi* form() { return app_->FormNomenklaturi; }
    // The first column of the first row, as a number (a count).
    int count(const QString& sql) { return db().query(sql).rows.front()[0].toInt(); }
    void exec(const QString& sql) { db().execute(sql); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<RecordingUi> ui_;
    std::unique_ptr<AppInstances> app_;
};
