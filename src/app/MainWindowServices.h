#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "copy/ImportRun.h"

namespace dbcopy {

class RecordYield;
class FileDialog;
class FileProbe;
class SettingsStore;

// What the main window uses of the platform and of the engine. The caller owns every object and
// keeps it alive as long as the window; tests pass canned dialogs and stores.
struct MainWindowServices {
    FileDialog& comdlgSourceFile;  // browses for the source database
    FileDialog& comdlgDestFile;    // browses for the target database
    FileDialog& comdlgLogFile;     // saves the log pane's text
    SettingsStore& settings;       // the three remembered fields
    RecordYield& yield;            // lets the window answer during a run
    FileProbe& files;              // the run's test whether the target file exists
    ServerFactory createServer;    // makes the engine server at the first run's first opening
    std::string logFolder;         // every run's log file and report; empty: none are kept
    // Told once after a run has ended, with a German message, when its log file or report could
    // not be written; the log pane stays as the run left it.
    std::function<void(const std::string& message)> logFileFailed;
    // The clock the title's progress is paced and its time left measured by.
    std::function<std::chrono::steady_clock::time_point()> clock = &std::chrono::steady_clock::now;
};

}  // namespace dbcopy
