// `vdb copy --verify`: the value-by-value check after the run, in the summary and the report.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "FileBytes.h"
#include "MisstoringServer.h"
#include "SampleFiles.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "VdbRun.h"
#include "vdb/Login.h"

namespace {

using nlohmann::json;
using testing::HasSubstr;

// The summary's row of a table: the line that begins with its name.
std::string summaryRow(const std::string& out, const std::string& table) {
    const std::size_t begin = out.find("\n" + table + " ");
    if (begin == std::string::npos) return {};
    return out.substr(begin + 1, out.find('\n', begin + 1) - begin - 1);
}

class CopyVerify : public testing::Test {
protected:
    vdbtest::ScopedEnv m_noPassword{vdb::kPasswordVariable, nullptr};
    testsupport::TempDir m_dir;
    std::string m_target = m_dir.file("ziel.vdb");
    std::string m_report = m_dir.file("bericht.json");
};

TEST_F(CopyVerify, FindsTheDemoCopyEqualInEveryTableAndChangesNothingWithoutIt) {
    const std::string demo = m_dir.file("demo.vdb");
    ASSERT_EQ(vdbtest::runVdb({"demo", demo, "--records", "300"}).code, 0);

    const auto plain = vdbtest::runVdb(
        {"copy", demo, m_dir.file("ohne.vdb"), "-p", "demo", "--report", m_dir.file("ohne.json")});
    ASSERT_EQ(plain.code, 0) << plain.out;
    EXPECT_THAT(plain.out, testing::Not(HasSubstr("Inhalt")));
    EXPECT_THAT(plain.out, testing::Not(HasSubstr("Prüfe Kopie")));
    const json plainReport = json::parse(testsupport::fileBytes(m_dir.file("ohne.json")));
    EXPECT_FALSE(plainReport["tables"][0].contains("content"));

    const auto verified =
        vdbtest::runVdb({"copy", demo, m_target, "-p", "demo", "--verify", "--report", m_report});
    EXPECT_EQ(verified.code, 0) << verified.out;
    EXPECT_THAT(verified.out, HasSubstr("Prüfung abgeschlossen: alles gleich.\n\n"));
    const json report = json::parse(testsupport::fileBytes(m_report));
    EXPECT_EQ(report["status"], "ok");
    ASSERT_FALSE(report["tables"].empty());
    EXPECT_THAT(verified.out, HasSubstr(" Geprüft  Inhalt "));
    for (const json& table : report["tables"]) {
        const std::string name = table["displayName"];
        EXPECT_EQ(table["content"], "equal") << name;
        EXPECT_TRUE(table["firstDifference"].is_null()) << name;
        EXPECT_THAT(summaryRow(verified.out, name), HasSubstr(" gleich ")) << name;
        EXPECT_THAT(verified.out, HasSubstr("\n" + name + ": gleich (")) << name;
    }
}

TEST_F(CopyVerify, AValueTheEngineStoredWrongMakesTheRunPartialAndIsNamedInTheReport) {
    const std::string source = m_dir.file("quelle.vdb");
    testsupport::copyGoodSource(source);
    const auto result = vdbtest::runCopyWith(
        {"copy", source, m_target, "-p", testsupport::kPassword, "--verify", "--report", m_report},
        [] { return testsupport::misstoringServer("Kunde 2", "Kunde 2?"); });

    EXPECT_EQ(result.code, 3) << result.out << result.err;
    EXPECT_THAT(result.out, HasSubstr("Kunden: abweichend – 1 Datensatz, zuerst Nr. 2 (ID 2), Feld "
                                      "Name: „Kunde 2?“ statt „Kunde 2“\n"));
    EXPECT_THAT(summaryRow(result.out, "Kunden"), HasSubstr(" abweichend "));
    EXPECT_THAT(result.out, HasSubstr("Ergebnis: teilweise"));
    const json report = json::parse(testsupport::fileBytes(m_report));
    EXPECT_EQ(report["status"], "partial");
    EXPECT_EQ(report["tables"][0]["content"], "different");
    EXPECT_EQ(report["tables"][0]["firstDifference"], json({{"position", 2},
                                                            {"id", "2"},
                                                            {"field", "Name"},
                                                            {"source", "„Kunde 2“"},
                                                            {"target", "„Kunde 2?“"},
                                                            {"differing", 1}}));
    EXPECT_EQ(report["tables"][1]["content"], "equal");
}

}  // namespace
