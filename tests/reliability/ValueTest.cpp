#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ImportRig.h"
#include "SampleFiles.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "engine/ErrorCodes.h"
#include "engine/Utf8Path.h"
#include "engine/sqlite/SqliteEngine.h"

namespace reliability {
namespace {

using namespace testsupport;  // the import rig and its sample files

using engine::Variant;
using engine::sqlite::FieldSpec;
using engine::sqlite::FieldType;
using I16 = std::int16_t;
using I32 = std::int32_t;

// One value carried from a source field into a target field of another kind or size. Each
// case is a table of its own in one source and one target file, so that one run tries all.
struct ValueCase {
    const char* table;
    FieldSpec source;
    FieldSpec target;
    Variant value;
    const char* refusal = nullptr;    // part of the refusal's description; null: the value fits
    std::optional<Variant> stored{};  // what the target reads back, when not value itself
};

void PrintTo(const ValueCase& c, std::ostream* out) {
    *out << c.table;
}

const FieldSpec kText20{"V", FieldType::Text, 20};
const FieldSpec kText10{"V", FieldType::Text, 10};
const FieldSpec kInt16{"V", FieldType::Int16};
const FieldSpec kInt32{"V", FieldType::Int32};
const char* const kTooLong = "passt nicht in das Feld „V“: länger als 10 Zeichen.";
const char* const kOutOfRange = "passt nicht in das Feld „V“: außerhalb des Wertebereichs.";

const ValueCase kCases[] = {
    {"TextAtTargetSize", kText20, kText10, Variant("ÄÖÜäöüß€数据")},
    {"TextOverTargetSize", kText20, kText10, Variant("Müller-Lüd1"), kTooLong},
    {"Int16Max", kInt32, kInt16, Variant(I32{32767}), nullptr, Variant(I16{32767})},
    {"Int16MaxPlusOne", kInt32, kInt16, Variant(I32{32768}), kOutOfRange},
    {"Int16Min", kInt32, kInt16, Variant(I32{-32768}), nullptr, Variant(I16{-32768})},
    {"Int16MinMinusOne", kInt32, kInt16, Variant(I32{-32769}), kOutOfRange},
    {"Int32Max", kInt32, kInt32, Variant(I32{2147483647})},
    {"Int32Min", kInt32, kInt32, Variant(I32{-2147483647 - 1})},
    {"Int16IntoInt32", kInt16, kInt32, Variant(I16{-32768}), nullptr, Variant(I32{-32768})},
    {"EmptyText", kText20, kText10, Variant()},
    {"EmptyNumber", kInt32, kInt16, Variant()},
    {"ZeroLengthText", kText20, kText10, Variant("")},
    {"LineFeed", kText20, kText10, Variant("a\nb")},
    {"CarriageReturnLineFeed", kText20, kText10, Variant("a\r\nb")},
    {"CarriageReturn", kText20, kText10, Variant("a\rb")},
    {"LineSeparator", kText20, kText10, Variant("a\u2028b")},
    {"Quotes", kText20, kText10, Variant("'\"„“'; --")},
    {"a\"; DROP TABLE x; --",
     {"SELECT", FieldType::Text, 20},
     {"SELECT", FieldType::Text, 20},
     Variant("DROP TABLE vdb_users")},
    {"SELECT",
     {"Straße", FieldType::Text, 20},
     {"Straße", FieldType::Text, 20},
     Variant("Hauptstraße 1")},
    {"Straße",
     {"'); DELETE FROM vdb_tables; --", FieldType::Int32},
     {"'); DELETE FROM vdb_tables; --", FieldType::Int32},
     Variant(I32{7})},
};

// The records of a case: a fitting one, the case's value, and another fitting one.
std::vector<testsupport::Row> caseRows(const ValueCase& c) {
    return {{Variant(I32{1}), Variant()}, {Variant(I32{2}), c.value}, {Variant(I32{3}), Variant()}};
}

engine::sqlite::TableSpec caseTable(const ValueCase& c, const FieldSpec& value) {
    return {c.table, "", {{"ID", FieldType::Int32}, value}, {}};
}

// Copies every case's table in one run and keeps the log for the cases to look at.
class ValueTest : public testing::TestWithParam<ValueCase> {
protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<testsupport::TempDir>();
        std::vector<engine::sqlite::TableSpec> sourceTables;
        std::vector<engine::sqlite::TableSpec> targetTables;
        for (const ValueCase& c : kCases) {
            sourceTables.push_back(caseTable(c, c.source));
            targetTables.push_back(caseTable(c, c.target));
        }
        testsupport::createVdb(source(), sourceTables);
        testsupport::createVdb(target(), targetTables);
        for (const ValueCase& c : kCases) testsupport::appendRows(source(), c.table, caseRows(c));
        ImportRig rig;
        rig.useFiles(source(), target());
        s_lines = rig.run();
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    static std::string source() { return s_dir->file("quelle.vdb"); }
    static std::string target() { return s_dir->file("ziel.vdb"); }

    // The lines of one table's copy, from its start line to the line before the next table's.
    static std::vector<std::string> linesOf(const std::string& table) {
        const auto start = std::find(s_lines.begin(), s_lines.end(),
                                     "Exportvorgang für Tabelle " + table + " beginnt.");
        if (start == s_lines.end()) return {};
        const auto end = std::find_if(start + 1, s_lines.end(), [](const std::string& line) {
            return line.rfind("Exportvorgang", 0) == 0 || line == "Indizes werden aufgebaut";
        });
        return {start, end};
    }

    static std::unique_ptr<testsupport::TempDir> s_dir;
    static std::vector<std::string> s_lines;
};

std::unique_ptr<testsupport::TempDir> ValueTest::s_dir;
std::vector<std::string> ValueTest::s_lines;

TEST_F(ValueTest, RunOverAllCasesEndsSuccessfully) {
    ASSERT_FALSE(s_lines.empty());
    EXPECT_EQ(s_lines.back(), kSuccessLine);
}

TEST_P(ValueTest, FittingValueArrivesUnchangedRefusedValueEndsOnlyItsTable) {
    const ValueCase& c = GetParam();
    const auto lines = linesOf(c.table);
    const auto rows = testsupport::readRows(target(), c.table);
    if (!c.refusal) {
        EXPECT_EQ(lines, (std::vector<std::string>{
                             "Exportvorgang für Tabelle " + std::string(c.table) + " beginnt.",
                             std::string(c.table) + ": 3 Datensätze exportiert."}));
        auto expected = testsupport::readRows(source(), c.table);
        if (c.stored) expected[1][1] = *c.stored;
        EXPECT_EQ(rows, expected);
        return;
    }
    ASSERT_EQ(lines.size(), 3u) << testing::PrintToString(lines);
    EXPECT_EQ(lines[1], errorLine(engine::codes::ValueRefused));
    EXPECT_EQ(lines[2].rfind("Err.Description: Der Wert ", 0), 0u) << lines[2];
    EXPECT_NE(lines[2].find(c.refusal), std::string::npos) << lines[2];
    EXPECT_EQ(rows, std::vector<testsupport::Row>{caseRows(c)[0]}) << "only the record before";
}

INSTANTIATE_TEST_SUITE_P(Values, ValueTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace reliability

namespace reliability {
namespace {

using namespace testsupport;  // the import rig and its sample files

// Folders and files whose names hold umlauts, CJK characters and spaces, given as UTF-8 as the
// window and the command line hand them over; on Windows they reach the system as UTF-16.
TEST(UnicodePathTest, SourceAndCreatedTargetInFoldersWithUnicodeAndSpaces) {
    testsupport::TempDir dir;
    const std::string sourceFolder = dir.file("Datenbanken Jürgen äß");
    const std::string targetFolder = dir.file("Sicherung Ä Ö ü ß 数据");
    std::filesystem::create_directory(engine::pathFromUtf8(sourceFolder));
    std::filesystem::create_directory(engine::pathFromUtf8(targetFolder));
    const std::string source = sourceFolder + "/Größe 1.vdb";
    const std::string target = targetFolder + "/Ziel ä.vdb";
    copyGoodSource(source);
    ImportRig rig;
    rig.useFiles(source, target);

    const auto lines = rig.run();

    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), kSuccessLine) << testing::PrintToString(lines);
    EXPECT_TRUE(std::filesystem::is_regular_file(engine::pathFromUtf8(targetFolder) /
                                                 engine::pathFromUtf8("Ziel ä.vdb")));
    EXPECT_EQ(testsupport::readRows(target, "Kunden"), testsupport::readRows(source, "Kunden"));
    EXPECT_EQ(testsupport::readRows(target, "Termine"), testsupport::readRows(source, "Termine"));
}

}  // namespace
}  // namespace reliability
