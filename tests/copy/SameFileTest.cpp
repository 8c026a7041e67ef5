#include "copy/SameFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "TempDir.h"

namespace {

namespace fs = std::filesystem;

class SameFile : public testing::Test {
protected:
    void SetUp() override {
        std::ofstream(dir.file("a.vdb")) << "a";
        std::ofstream(dir.file("b.vdb")) << "a";
        fs::create_directory(dir.path() / "folder");
    }

    testsupport::TempDir dir;
};

TEST_F(SameFile, OneFileUnderEveryPathIsRecognised) {
    const std::string a = dir.file("a.vdb");
    std::error_code linkRefused;
    fs::create_symlink(a, dir.path() / "link.vdb", linkRefused);
    if (linkRefused) GTEST_SKIP() << "no symbolic links here (Windows without the privilege, Wine)";
    fs::create_hard_link(a, dir.path() / "hard.vdb");
    const std::string dotted = (dir.path() / "folder" / ".." / "a.vdb").string();
    const std::string relative = fs::relative(a, fs::current_path()).string();

    EXPECT_TRUE(dbcopy::isSameFile(a, a));
    EXPECT_TRUE(dbcopy::isSameFile(a, dir.file("link.vdb")));
    EXPECT_TRUE(dbcopy::isSameFile(dir.file("link.vdb"), a));
    EXPECT_TRUE(dbcopy::isSameFile(a, dir.file("hard.vdb")));
    EXPECT_TRUE(dbcopy::isSameFile(a, dotted));
    EXPECT_TRUE(dbcopy::isSameFile(relative, a));
}

TEST_F(SameFile, DifferentOrMissingFilesAreNotTheSame) {
    const std::string a = dir.file("a.vdb");
    EXPECT_FALSE(dbcopy::isSameFile(a, dir.file("b.vdb")));  // equal content, other file
    EXPECT_FALSE(dbcopy::isSameFile(a, dir.file("fehlt.vdb")));
    EXPECT_FALSE(dbcopy::isSameFile(dir.file("fehlt.vdb"), dir.file("fehlt.vdb")));
    EXPECT_FALSE(dbcopy::isSameFile(a, ""));
    EXPECT_FALSE(dbcopy::isSameFile("", ""));
    EXPECT_FALSE(dbcopy::isSameFile(a, dir.file("folder")));
}

}  // namespace
