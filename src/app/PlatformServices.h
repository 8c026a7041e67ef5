#pragma once

#include "app/MainWindowServices.h"
#include "engine/sqlite/SqliteEngine.h"
#include "platform/QtEventYield.h"
#include "platform/QtFileDialog.h"
#include "platform/QtFileProbe.h"
#include "platform/QtSettingsStore.h"

namespace dbcopy {

// The real platform pieces behind the window, owned together; they must outlive the window.
struct PlatformServices {
    QtFileDialog sourceDialog;
    QtFileDialog destDialog;
    QtSettingsStore settings;
    QtEventYield yield;
    QtFileProbe files;

    MainWindowServices forWindow() {
        return {sourceDialog, destDialog, settings, yield, files, [this] { return newServer(); }};
    }

    // A server whose long calls let the window repaint; the window is locked meanwhile. The
    // engine's calls and the copy's records share one clock, so events are processed at most
    // once per interval.
    std::shared_ptr<engine::DbServer> newServer() {
        return engine::sqlite::createServer([this] { yield.yieldPerRecord(); });
    }
};

}  // namespace dbcopy
