#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FileBytes.h"
#include "ImportRig.h"
#include "SampleFiles.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "engine/sqlite/SqliteEngine.h"

namespace reliability {
namespace {

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

}  // namespace
}  // namespace reliability
