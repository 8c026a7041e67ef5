#include <gtest/gtest.h>

#include <string>

#include "FileBytes.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "TestPlatform.h"
#include "VdbRun.h"
#include "vdb/PrivateFile.h"

namespace {

// `vdb copy --password-file`: a file only its owner may read is used, one that others may read
// is refused before any database is opened, on every system by its own permissions.
TEST(PasswordFile, OwnerOnlyIsUsedReadableByOthersIsRefusedAndNothingIsWritten) {
    testsupport::TempDir dir;
    const std::string source = dir.file("quelle.vdb");
    vdbtest::createKunden(dir, source);
    testsupport::appendRows(source, "Kunden", {{engine::Variant(7), engine::Variant("Jäger")}});
    const std::string passwordFile = dir.file("kennwort");
    vdbtest::writeFile(passwordFile, "geheim\n");

    vdbtest::makeReadableByOthers(passwordFile);
    const std::string refusedTarget = dir.file("abgewiesen.vdb");
    const vdbtest::RunResult refused =
        vdbtest::runVdb({"copy", source, refusedTarget, "--password-file", passwordFile});
    EXPECT_EQ(refused.code, 1) << refused.out << refused.err;
    EXPECT_NE(refused.err.find("ist für andere Benutzer zugänglich; sie wird nicht verwendet."),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(refused.err.find("geheim"), std::string::npos) << refused.err;
    EXPECT_EQ(testsupport::fileBytes(refusedTarget), "");  // never created

    vdbtest::makeOwnerOnly(passwordFile);
    if (vdb::fileAccessOf(passwordFile) != vdb::FileAccess::OwnerOnly) {
        GTEST_SKIP() << "this file system keeps no access list of its own (Wine on a Linux folder)";
    }
    const vdbtest::RunResult used =
        vdbtest::runVdb({"copy", source, dir.file("ziel.vdb"), "--password-file", passwordFile});
    EXPECT_EQ(used.code, 0) << used.out << used.err;
}

}  // namespace
