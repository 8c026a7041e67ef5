#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FakeFileDialog.h"
#include "MemorySettingsStore.h"
#include "RecordingYield.h"
#include "TempDir.h"
#include "app/frmMain.h"
#include "platform/QtFileProbe.h"

namespace testsupport {

// A clock that moves on by one second each time it is read, so that every progress report of a
// run is shown at once, however fast or slow the machine.
struct SteppingClock {
    std::chrono::steady_clock::time_point now;
    std::chrono::steady_clock::time_point advance() { return now += std::chrono::seconds(1); }
};

// The real main window with canned dialogs, a settings store in memory, a recording yield and the
// real engine and file test.
class WindowRig {
public:
    // A window whose settings store holds these values when the window loads.
    explicit WindowRig(const std::map<MemorySettingsStore::Address, std::string>& stored = {});
    ~WindowRig();

    // The window's control of that name; a failed lookup fails the test through a null pointer.
    template <typename Control>
    Control* control(const char* name) const {
        return window->findChild<Control*>(QString::fromLatin1(name));
    }
    QLineEdit* box(const char* name) const { return control<QLineEdit>(name); }
    QCheckBox* check(const char* name) const { return control<QCheckBox>(name); }

    // Shows the window and waits until it is on the (offscreen) screen.
    bool show();

    // Clicks a control the way a user would: a check box on its indicator.
    void click(const char* name) const;

    // Replaces a text box's text by typing into it.
    void type(const char* name, const QString& text) const;

    QString logText() const;

    // The names of the settings frame's controls, cmdStart aside, that take input now.
    QStringList enabledInputs() const;

    // Opens the log pane's context menu as a right click does, chooses the entry whose text is
    // choice (none when choice matches no entry) and returns the texts of all entries; enabled,
    // when given, receives the texts of the entries that can be chosen.
    QStringList useLogMenu(const QString& choice = QString(), QStringList* enabled = nullptr) const;

    FakeFileDialog sourceDialog;
    FakeFileDialog destDialog;
    FakeFileDialog logDialog;
    MemorySettingsStore settings;
    RecordingYield yield;
    dbcopy::QtFileProbe files;
    SteppingClock clock;                   // paces the title's progress
    TempDir logFolder;                     // the window's folder for each run's log and report
    std::vector<std::string> logFailures;  // what the window told about files it could not write
    std::unique_ptr<dbcopy::frmMain> window;
};

}  // namespace testsupport
