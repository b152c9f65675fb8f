#pragma once

#include "common/columnsettings.h"
#include "data/dmns.h"
#include "data/dmpers.h"
#include "platform/base/formats.h"
#include "reference/formnomenklaturi.h"
#include "support/recordingui.h"
#include "support/testdb.h"

#include <QTemporaryDir>

#include <memory>
#include <vector>

// What a suite of the reference data window starts from and throws away: a temporary folder, the
// recorder in place of the message boxes, the data modules over a fresh copy of the template
// database (connected) and the reference data window, nothing else. The editors the window opens
// are built by the suite that opens them (own()) and handed to their tab. A suite derives from it,
// calls start() from init() and stop() from cleanup(); stopProgram() and startProgram() restart
// the modules and the window over the same folder and recorder.
class ReferenceFixture
{
protected:
    void start()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        ui_ = std::make_unique<RecordingUi>();
        startProgram();
    }
    void stop()
    {
        stopProgram();
        ui_.reset();
        dir_.reset();
    }
    void startProgram()
    {
        Formats::installProcessFormats();  // as the program's start does
        columnSettings_ = std::make_unique<ColumnSettings::Registry>();
        dm_ = std::make_unique<TDMNS>(TestDb::freshCopy(*dir_));
        dm_->connect();
        columnSettings_->registerDataset(dm_->SmpViewMateriali);
        pers_ = std::make_unique<TDMPers>(dm_->SQLConnectNS);
        form_ = std::make_unique<TFormNomenklaturi>(*dm_, *pers_, *columnSettings_);
    }
    void stopProgram()
    {
        // Windows go before the data modules they are bound to, the modules before the registry.
        while (!owned_.empty()) owned_.pop_back();
        form_.reset();
        pers_.reset();
        dm_.reset();
        columnSettings_.reset();
    }
    // Builds a window or layout over the data module, kept until stop().
    template <class T> T* own()
    {
        auto made = std::make_unique<Owned<T>>(*dm_);
        T* out = &made->object;
        owned_.push_back(std::move(made));
        return out;
    }

    SQLConnection& db() { return dm_->SQLConnectNS; }
    TDMNS& dm() { return *dm_; }
    TDMPers& pers() { return *pers_; }
    ColumnSettings::Registry& columnSettings() { return *columnSettings_; }
    TFormNomenklaturi* form() const { return form_.get(); }
    // The first column of the first row, as a number (a count).
    int count(const QString& sql) { return db().query(sql).rows.front()[0].toInt(); }
    void exec(const QString& sql) { db().execute(sql); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<RecordingUi> ui_;

private:
    struct Holder
    {
        virtual ~Holder() = default;
    };
    template <class T> struct Owned : Holder
    {
        explicit Owned(TDMNS& dm) : object(dm) {}
        T object;
    };

    std::unique_ptr<ColumnSettings::Registry> columnSettings_;
    std::unique_ptr<TDMNS> dm_;
    std::unique_ptr<TDMPers> pers_;
    std::unique_ptr<TFormNomenklaturi> form_;
    std::vector<std::unique_ptr<Holder>> owned_;
};
