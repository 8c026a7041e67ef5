#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "TempDir.h"
#include "WalkDatabase.h"
#include "WalkForWriting.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/SqliteEngine.h"

// Every file in the regression corpus is named <outcome>-<what it is>.vdb; the outcome says
// what opening it as the fuzzer's user must give:
//   ok-      opens, and reading it raises no error at all
//   notadb-  refused as NotADatabase
//   denied-  refused as AccessDenied
//   any-     anything but a crash or an exception other than engine::Error
namespace {

namespace fs = std::filesystem;
namespace codes = engine::codes;

const fs::path kCorpus = VDB_REGRESSION_CORPUS;

std::string outcomeOf(const fs::path& file) {
    const std::string name = file.filename().string();
    return name.substr(0, name.find('-'));
}

std::vector<fs::path> corpusFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kCorpus)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string testName(const ::testing::TestParamInfo<fs::path>& info) {
    std::string name = info.param.stem().string();
    std::replace_if(
        name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
    return name;
}

TEST(RegressionCorpus, HoldsFilesOfEveryOutcomeAndNoOther) {
    std::map<std::string, int> counts;
    for (const fs::path& file : corpusFiles()) ++counts[outcomeOf(file)];
    for (const char* outcome : {"ok", "notadb", "denied", "any"}) {
        EXPECT_GT(counts[outcome], 0) << "no file of outcome " << outcome;
        counts.erase(outcome);
    }
    EXPECT_TRUE(counts.empty()) << "a file with an unknown outcome, e.g. "
                                << (counts.empty() ? "" : counts.begin()->first);
}

class RegressionFile : public ::testing::TestWithParam<fs::path> {
protected:
    // A copy of the corpus file in a temporary folder, so that the corpus stays untouched.
    std::string copyOfInput(const std::string& name) {
        const std::string copy = m_dir.file(name);
        fs::copy_file(GetParam(), copy);
        return copy;
    }

    testsupport::TempDir m_dir;
    std::shared_ptr<engine::DbServer> m_server = engine::sqlite::createServer();
};

TEST_P(RegressionFile, ReadingGivesItsOutcomeAndLeavesTheFileAsItWas) {
    const std::string path = copyOfInput("quelle.vdb");
    const std::string before = testsupport::fileBytes(path);
    vdbfuzz::WalkReport report;
    ASSERT_NO_THROW(report = vdbfuzz::walkDatabase(*m_server, path));
    EXPECT_EQ(testsupport::fileBytes(path), before);

    const std::string outcome = outcomeOf(GetParam());
    if (outcome == "ok") {
        EXPECT_TRUE(report.opened()) << std::hex << report.openError;
        EXPECT_TRUE(report.errors.empty()) << "first error " << std::hex << report.errors.front();
    } else if (outcome == "notadb") {
        EXPECT_EQ(report.openError, codes::NotADatabase);
    } else if (outcome == "denied") {
        EXPECT_EQ(report.openError, codes::AccessDenied);
    }
}

TEST_P(RegressionFile, WritingRaisesNothingButEngineErrors) {
    const std::string path = copyOfInput("ziel.vdb");
    vdbfuzz::WalkReport report;
    ASSERT_NO_THROW(report = vdbfuzz::walkForWriting(*m_server, path, m_dir.file("neu.vdb")));
    if (outcomeOf(GetParam()) == "ok") {
        EXPECT_TRUE(report.opened()) << std::hex << report.openError;
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, RegressionFile, ::testing::ValuesIn(corpusFiles()), testName);

}  // namespace
