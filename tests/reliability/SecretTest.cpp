#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "FileBytes.h"
#include "ImportRig.h"
#include "SampleFiles.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "engine/sqlite/SqliteEngine.h"

namespace reliability {
namespace {

using namespace testsupport;  // the import rig and its sample files

namespace fs = std::filesystem;

// Names every file below dir that holds one of the passwords as plain bytes.
std::string filesWithPasswords(const fs::path& dir) {
    std::string found;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        const std::string bytes = testsupport::fileBytes(entry.path().string());
        for (const std::string& password : allPasswords()) {
            if (bytes.find(password) != std::string::npos) {
                found += entry.path().filename().string() + " holds " + password + "; ";
            }
        }
    }
    return found;
}

TEST(SecretTest, PasswordsAreNeitherInTheFilesNorInTheLog) {
    testsupport::TempDir dir;
    const std::string source = dir.file("quelle.vdb");
    engine::sqlite::Schema schema;
    schema.users = {{testsupport::kUser, testsupport::kPassword},
                    {kTargetUser, kTargetPassword},
                    {"GAST", kWrongPassword}};
    schema.tables = {kundenTable(), termineTable()};
    engine::sqlite::createDatabase(source, schema);
    testsupport::appendRows(source, "Kunden", kundenRows(5));
    EXPECT_EQ(filesWithPasswords(dir.path()), "") << "after creation";

    // A new target made from the source, then a second run into it with its own login; the
    // rig searches each run's log for every password.
    ImportRig rig;
    rig.useFiles(source, dir.file("ziel.vdb"));
    EXPECT_EQ(rig.run().back(), kSuccessLine);
    rig.useTargetLogin(kTargetUser, kTargetPassword);
    rig.form.deleteValue = 1;
    EXPECT_EQ(rig.run().back(), kSuccessLine);
    EXPECT_EQ(filesWithPasswords(dir.path()), "") << "after copying";
}

#ifdef _WIN32

TEST(SecretTest, CommandLineCopyKeepsPasswordsOut_NeedsPosixShell) {
    GTEST_SKIP() << "runs vdb through sh and sets permission bits with chmod";
}

#else

// The command line's copy with every password channel: an option, a password file and the
// environment; neither its output nor its log file nor its report may hold one.
TEST(SecretTest, CommandLineCopyKeepsPasswordsOutOfOutputLogAndReport) {
    testsupport::TempDir dir;
    testsupport::TempDir secrets;  // the password file holds a password by its nature
    const std::string source = dir.file("quelle.vdb");
    copyGoodSource(source);
    const std::string target = dir.file("ziel.vdb");
    copyEmptyTarget(target);
    const std::string passwordFile = secrets.file("kennwort");
    std::ofstream(passwordFile) << testsupport::kPassword << "\n";
    ::chmod(passwordFile.c_str(), 0600);

    const std::string command =
        "env VDB_TARGET_PASSWORD='" + kTargetPassword + "' '" VDB_PROGRAM "' copy '" + source +
        "' '" + target + "' --password-file '" + passwordFile + "' --target-user " + kTargetUser +
        " --log '" + dir.file("lauf.log") + "' --report '" + dir.file("lauf.json") +
        "' </dev/null >'" + dir.file("out.txt") + "' 2>'" + dir.file("err.txt") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << testsupport::fileBytes(dir.file("out.txt"));
    EXPECT_NE(testsupport::fileBytes(dir.file("lauf.log")).find(kSuccessLine), std::string::npos);
    EXPECT_EQ(filesWithPasswords(dir.path()), "");

    // A password file that others may read is refused before anything is opened.
    ::chmod(passwordFile.c_str(), 0644);
    const std::string refused = "'" VDB_PROGRAM "' copy '" + source + "' '" + target +
                                "' --password-file '" + passwordFile +
                                "' </dev/null >/dev/null "
                                "2>'" +
                                dir.file("err.txt") + "'";
    EXPECT_NE(std::system(refused.c_str()), 0);
    EXPECT_NE(testsupport::fileBytes(dir.file("err.txt")).find("Kennwortdatei"), std::string::npos);
}

#endif

}  // namespace
}  // namespace reliability
