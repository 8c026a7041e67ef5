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
                [] { return engine::sqlite::createServer(); },
                logFolder(),
                [](const std::string& message) {
                    QMessageBox::warning(QApplication::activeWindow(),
                                         QStringLiteral("Veltrona Datenbanken kopieren"),
                                         QString::fromStdString(message));
                }};
    }

    // The per-user data folder's "logs" (on Linux ~/.local/share/VeltronaDBCopy/logs).
    static std::string logFolder() { return logFolderPath().toStdString(); }
};

}  // namespace dbcopy
