#include <gtest/gtest.h>

#ifdef _WIN32

TEST(Program, ExitCodesAndEnvironment_NeedsPosixShell) {
    GTEST_SKIP() << "runs vdb through sh with env and redirections";
}

#else

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "FileBytes.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "VdbRun.h"

namespace {

// The built program, run through the shell with standard input from /dev/null (no terminal,
// so it never prompts) and its output in files.
class Program : public testing::Test {
protected:
    void SetUp() override {
        vdbtest::createKunden(m_dir, m_vdb);
        testsupport::appendRows(m_vdb, "Kunden", {{engine::Variant(7), engine::Variant("Jäger")}});
    }

    // Runs `environment vdb arguments`; returns the exit code.
    int run(const std::string& environment, const std::string& arguments) {
        const std::string command = "env -u VDB_PASSWORD " + environment + " '" VDB_PROGRAM "' " +
                                    arguments + " </dev/null >'" + m_dir.file("out") + "' 2>'" +
                                    m_dir.file("err") + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string out() { return testsupport::fileBytes(m_dir.file("out")); }
    std::string err() { return testsupport::fileBytes(m_dir.file("err")); }

    testsupport::TempDir m_dir;
    std::string m_vdb = m_dir.file("kunden.vdb");
};

TEST_F(Program, TakesThePasswordFromTheEnvironment) {
    EXPECT_EQ(run("VDB_PASSWORD=geheim", "dump '" + m_vdb + "' Kunden"), 0) << err();
    EXPECT_EQ(out(), "ID,Name,Aktiv,Stufe\r\n7,\"Jäger\",,\r\n");
}

TEST_F(Program, WithoutPasswordAndTerminalFailsInsteadOfWaiting) {
    EXPECT_EQ(run("", "info '" + m_vdb + "'"), 1);
    EXPECT_NE(err().find("Fehler 0x80041003: "), std::string::npos) << err();
    EXPECT_EQ(err().find("Kennwort: "), std::string::npos) << err();
}

TEST_F(Program, ExitCodesForSuccessFailureAndUsage) {
    EXPECT_EQ(run("", "info '" + m_vdb + "' -p geheim"), 0);
    EXPECT_EQ(run("", "info '" + m_dir.file("fehlt.vdb") + "' -p geheim"), 1);
    EXPECT_NE(err().find("Fehler 0x80041001: "), std::string::npos) << err();
    EXPECT_EQ(run("", ""), 2);
    EXPECT_EQ(run("", "info"), 2);
}

}  // namespace

#endif
