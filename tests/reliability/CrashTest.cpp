#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "CountingYield.h"
#include "FakeFileProbe.h"
#include "FakeImportForm.h"
#include "ImportRig.h"
#include "MemoryLogView.h"
#include "PlainSqlite.h"
#include "RunningProgram.h"
#include "SampleFiles.h"
#include "StoredRecords.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "VdbProgram.h"
#include "copy/ImportRun.h"
#include "engine/sqlite/SqliteEngine.h"
#include "log/ProgressLog.h"

namespace reliability {
namespace {

using namespace testsupport;  // the import rig and its sample files

namespace fs = std::filesystem;
using dbcopy::FormText;

constexpr int kKunden = 30'000;

#ifndef _WIN32
// A log pane that writes one byte to a pipe when the line it waits for arrives, so that
// another process knows how far the run has got.
class SignallingLogView : public testsupport::MemoryLogView {
public:
    SignallingLogView(int pipe, std::string line) : m_pipe(pipe), m_line(std::move(line)) {}

    void append(std::string_view text) override {
        MemoryLogView::append(text);
        if (m_sent || text.substr(0, m_line.size()) != m_line) return;
        m_sent = true;
        const char byte = 'x';
        if (::write(m_pipe, &byte, 1) != 1) ::_exit(2);
    }

private:
    int m_pipe;
    std::string m_line;
    bool m_sent = false;
};

// The child's whole life: one import that reports the awaited line through the pipe. Never
// returns; the parent usually kills it before the run ends.
[[noreturn]] void importInChild(const std::string& source, const std::string& target,
                                const std::string& line, int pipe) {
    try {
        SignallingLogView view(pipe, line);
        testsupport::FakeImportForm form;
        form.texts = {{FormText::txtDatabase, source},
                      {FormText::txtUsername, testsupport::kUser},
                      {FormText::txtPassword, testsupport::kPassword},
                      {FormText::txtDatabaseDest, target},
                      {FormText::txtDestUser, kTargetUser}};
        testsupport::CountingYield yield;
        testsupport::FakeFileProbe files;
        dbcopy::ProgressLog log(view, yield);
        dbcopy::ImportRun run(form, log, yield, files,
                              [] { return engine::sqlite::createServer(); });
        run.RunImport();
    } catch (...) {
        ::_exit(3);
    }
    ::_exit(0);
}

#endif

struct KillPoint {
    const char* name;
    const char* line;  // the child is killed as soon as it has written this line
};

void PrintTo(const KillPoint& point, std::ostream* out) {
    *out << point.name;
}

const KillPoint kPoints[] = {
    {"Creation", "Die Ziel-DB ist nicht vorhanden. Sie wird angelegt."},
    {"Preparation", "Bereite Zieldatenbank für den Tabellenzugriff per KeyStorage vor."},
    {"EarlyLoading", "Kunden: 1000/30000"},
    {"Loading", "Kunden: 10000/30000"},
    {"IndexRebuild", "Tabelle Kunden, Index ID"},
};

class CrashTest : public testing::TestWithParam<KillPoint> {
protected:
#ifdef _WIN32
    // Windows has no fork: the import runs as vdb copy in a process of its own, killed with
    // TerminateProcess right after it wrote the point's line.
    void killImportAt(const KillPoint& point) {
        RunningProgram copy(vdbProgram(), {"copy", m_source, m_target, "-p", kPassword});
        bool reached = false;
        for (std::string line; !reached && copy.nextLine(line);) {
            reached = line.rfind(point.line, 0) == 0;
        }
        copy.kill();
        const int status = copy.wait();
        ASSERT_TRUE(reached) << "the copy ended before writing the line";
        EXPECT_TRUE(status == -1 || status == 0);
    }
#else
    // Runs an import in a child process and kills it right after it wrote the point's line.
    void killImportAt(const KillPoint& point) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(fds[0]);
            importInChild(m_source, m_target, point.line, fds[1]);
        }
        ::close(fds[1]);
        char byte = 0;
        const ssize_t got = ::read(fds[0], &byte, 1);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(fds[0]);
        ASSERT_EQ(got, 1) << "the child ended before writing the line";
        EXPECT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 0));
    }
#endif

    testsupport::TempDir m_dir;
    std::string m_source = m_dir.file("quelle.vdb");
    std::string m_target = m_dir.file("ziel.vdb");
};

// Whatever the killed run left opens, is sound and holds only whole records; the next run,
// emptying the target first, copies everything.
TEST_P(CrashTest, KilledRunLeavesASoundTargetAndTheNextRunCompletes) {
    copyLargeSource(m_source, kKunden, 10);
    killImportAt(GetParam());

    if (fs::exists(m_target)) {
        const auto records = storedRecords(m_target);
        EXPECT_EQ(integrityCheck(m_target), "ok");
        expectWholeRecords(records.at("Kunden"), kundenRows(kKunden));
        expectWholeRecords(records.at("Termine"), termineRows(10));
    }

    ImportRig rig;
    rig.useFiles(m_source, m_target);
    rig.form.deleteValue = 1;
    const auto lines = rig.run();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), kSuccessLine) << testing::PrintToString(lines);
    const auto copied = testsupport::readRows(m_target, "Kunden");
    EXPECT_EQ(copied.size(), static_cast<std::size_t>(kKunden));
    EXPECT_TRUE(copied == kundenRows(kKunden)) << "the copy differs from the source";
    EXPECT_EQ(testsupport::readRows(m_target, "Termine"), termineRows(10));
    EXPECT_EQ(integrityCheck(m_target), "ok");
}

INSTANTIATE_TEST_SUITE_P(Points, CrashTest, testing::ValuesIn(kPoints),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace reliability
