#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "CountingYield.h"
#include "FakeFileProbe.h"
#include "FakeImportForm.h"
#include "MemoryLogView.h"
#include "copy/ImportRun.h"
#include "log/ProgressLog.h"

namespace testsupport {

// Logins of the test files. Every password that any test types is listed in kAllPasswords,
// and every run's log is searched for each of them.
inline const std::string kTargetUser = "ZIEL";
inline const std::string kTargetPassword = "Ziel-Kennwort-42";
inline const std::string kWrongPassword = "Falsches-Kennwort-7";
const std::vector<std::string>& allPasswords();

inline const std::string kSuccessLine = "Import erfolgreich abgeschlossen.";

// One import run between real files, as the window drives it: the window's fields, a log pane
// in memory and the real engine, whose server the rig creates once and keeps for later runs.
// Each run checks that the source file stays byte-identical and that no password reaches the
// log.
class ImportRig {
public:
    ImportRig();
    // Writes the log into view instead of the rig's own pane.
    explicit ImportRig(MemoryLogView& view);

    // Source and target paths, the source login for both, the target's own login switched off,
    // the delete option off.
    void useFiles(const std::string& source, const std::string& target);
    void useTargetLogin(const std::string& user, const std::string& password);

    // Runs one import and returns the lines it wrote.
    std::vector<std::string> run();

    // Everything written to the log so far, also in the middle of a run.
    const std::string& logText() const { return m_view.text(); }

    // observer receives the events of every later run; it must outlive the rig's runs.
    void addObserver(dbcopy::RunObserver& observer) { m_run.addObserver(observer); }

    // How often the run asked for a server.
    int serverCreations() const { return m_serverCreations; }

    FakeImportForm form;
    CountingYield yield;
    FakeFileProbe files;

private:
    MemoryLogView m_ownView;
    MemoryLogView& m_view;
    int m_serverCreations = 0;
    dbcopy::ProgressLog m_log;
    dbcopy::ImportRun m_run;
};

// The text cut into lines at CR LF; the empty rest after the final CR LF is not a line.
std::vector<std::string> splitLines(const std::string& text);

// "Fehler 0x" + the code as eight upper-case hex digits: the first error report line.
std::string errorLine(std::int32_t code);

// Every file and folder below dir, by relative path, with the bytes of each file, to prove
// that a run added, removed or changed nothing.
using FolderSnapshot = std::vector<std::pair<std::string, std::string>>;
FolderSnapshot snapshot(const std::filesystem::path& dir);

}  // namespace testsupport
