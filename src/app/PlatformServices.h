#pragma once

#include <QApplication>
#include <QMessageBox>

#include "app/LogFolder.h"
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
    QtFileDialog logDialog;
    QtSettingsStore settings;
    QtEventYield yield;
    QtFileProbe files;

    MainWindowServices forWindow() {
        return {sourceDialog,
                destDialog,
                logDialog,
                settings,
                yield,
                files,
                [this] { return newServer(); },
                logFolder(),
                [](const std::string& message) {
                    QMessageBox::warning(QApplication::activeWindow(),
                                         QStringLiteral("Veltrona Datenbanken kopieren"),
                                         QString::fromStdString(message));
                }};
    }

    // A server whose long calls let the window repaint; the window is locked meanwhile. The
    // engine's calls and the copy's records share one clock, so events are processed at most
    // once per interval.
    std::shared_ptr<engine::DbServer> newServer() {
        return engine::sqlite::createServer([this] { yield.yieldPerRecord(); });
    }

    // The per-user data folder's "logs" (on Linux ~/.local/share/VeltronaDBCopy/logs).
    static std::string logFolder() { return logFolderPath().toStdString(); }
};

}  // namespace dbcopy
