#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "ImportRig.h"
#include "PlainSqlite.h"
#include "SampleFiles.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "engine/ErrorCodes.h"

namespace reliability {
namespace {

using namespace testsupport;  // the import rig and its sample files

namespace fs = std::filesystem;
namespace codes = engine::codes;
using dbcopy::FormText;

const std::string kOpening = "Quelldatenbank wird schreibgeschützt geöffnet";
const std::string kCreating = "Die Ziel-DB ist nicht vorhanden. Sie wird angelegt.";
const std::string kOpeningTarget = "Öffne Zieldatenbank.";
const std::string kHint = "Geben Sie einen gültigen Benutzernamen für die Ziel-DB an";
const std::string kSameFile =
    "Quell- und Zieldatenbank sind dieselbe Datei. Der Import wird nicht ausgeführt.";

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string randomBytes(std::size_t count) {
    std::mt19937 generator(7);
    std::string bytes(count, '\0');
    for (char& byte : bytes) byte = static_cast<char>(generator());
    return bytes;
}

// A folder with a good source (quelle.vdb) and a path for the target (ziel.vdb, absent);
// a case spoils one input before the run.
struct Scene {
    testsupport::TempDir dir;
    std::string source = dir.file("quelle.vdb");
    std::string target = dir.file("ziel.vdb");
    ImportRig rig;
    std::vector<std::shared_ptr<void>> held;  // what must outlive the run, such as a lock
};

struct BadInput {
    const char* name;
    std::function<void(Scene&)> spoil;
    std::vector<std::string> linesBefore;  // the run's lines up to the failure
    std::int32_t code;                     // 0: refused by the guard line alone
    const char* description = "";          // part of the German description
    bool hint = false;                     // the target user name is empty
};

void PrintTo(const BadInput& c, std::ostream* out) {
    *out << c.name;
}

void useSource(Scene& s, const std::string& path) {
    s.rig.form.texts[FormText::txtDatabase] = path;
}
void useTarget(Scene& s, const std::string& path) {
    s.rig.form.texts[FormText::txtDatabaseDest] = path;
}
void existingTarget(Scene& s) {
    copyEmptyTarget(s.target);
    s.rig.useTargetLogin(kTargetUser, kTargetPassword);
}

const std::string kNotFound = "wurde nicht gefunden";
const std::string kNotVdb = "keine Veltrona-Datenbank";
const std::string kDenied = "Benutzername oder Kennwort ist falsch.";
const std::vector<std::string> kSourceStep = {kOpening};
const std::vector<std::string> kCreateStep = {kOpening, kCreating};
const std::vector<std::string> kTargetStep = {kOpening, kOpeningTarget};

const BadInput kCases[] = {
    // The source path.
    {"SourceEmptyPath", [](Scene& s) { useSource(s, ""); }, kSourceStep, codes::FileNotFound,
     "Die Datei „“ wurde nicht gefunden."},
    {"SourceFolder", [](Scene& s) { useSource(s, s.dir.path().string()); }, kSourceStep,
     codes::FileNotFound, kNotFound.c_str()},
    {"SourceMissing", [](Scene& s) { useSource(s, s.dir.file("fehlt.vdb")); }, kSourceStep,
     codes::FileNotFound, "fehlt.vdb“ wurde nicht gefunden."},
    {"SourceTextFile", [](Scene& s) { writeBytes(s.source, "Kunde;Ort\r\nAnna;Köln\r\n"); },
     kSourceStep, codes::NotADatabase, kNotVdb.c_str()},
    {"SourceEmptyFile", [](Scene& s) { writeBytes(s.source, ""); }, kSourceStep,
     codes::NotADatabase, kNotVdb.c_str()},
    {"SourcePng",
     [](Scene& s) {
         writeBytes(s.source, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + randomBytes(200));
     },
     kSourceStep, codes::NotADatabase, kNotVdb.c_str()},
    {"SourceTruncatedVdb", [](Scene& s) { fs::resize_file(s.source, fs::file_size(s.source) / 2); },
     kSourceStep, codes::NotADatabase, kNotVdb.c_str()},
    {"SourceRandomBytes", [](Scene& s) { writeBytes(s.source, randomBytes(8192)); }, kSourceStep,
     codes::NotADatabase, kNotVdb.c_str()},
    {"SourceForeignSqliteFile",
     [](Scene& s) {
         fs::remove(s.source);
         execSql(s.source,
                 "CREATE TABLE Kunden(ID INTEGER, Name TEXT); INSERT INTO Kunden "
                 "VALUES (1, 'Anna');");
     },
     kSourceStep, codes::NotADatabase, kNotVdb.c_str()},
    {"SourceCatalogNamesMissingDataTable",
     [](Scene& s) {
         execSql(s.source,
                 "INSERT INTO vdb_tables(id, name, display_name, position) "
                 "VALUES (99, 'Geister', '', 9); INSERT INTO vdb_fields(table_id, position, "
                 "name, type, size) VALUES (99, 0, 'Spuk', 'text', 10);");
     },
     kSourceStep, codes::NotADatabase, kNotVdb.c_str()},
    {"SourceCatalogFieldOfUnknownType",
     [](Scene& s) {
         execSql(s.source, "UPDATE vdb_fields SET type = 'money' WHERE name = 'Name'");
     },
     kSourceStep, codes::NotADatabase, kNotVdb.c_str()},
    // Logins, of the source and of a target with its own login.
    {"SourceWrongPassword",
     [](Scene& s) { s.rig.form.texts[FormText::txtPassword] = kWrongPassword; }, kSourceStep,
     codes::AccessDenied, kDenied.c_str()},
    {"SourceUnknownUser", [](Scene& s) { s.rig.form.texts[FormText::txtUsername] = "NIEMAND"; },
     kSourceStep, codes::AccessDenied, kDenied.c_str()},
    {"SourceEmptyUser", [](Scene& s) { s.rig.form.texts[FormText::txtUsername] = ""; }, kSourceStep,
     codes::AccessDenied, kDenied.c_str()},
    {"TargetWrongPassword",
     [](Scene& s) {
         existingTarget(s);
         s.rig.useTargetLogin(kTargetUser, kWrongPassword);
     },
     kTargetStep, codes::AccessDenied, kDenied.c_str()},
    {"TargetUnknownUser",
     [](Scene& s) {
         existingTarget(s);
         s.rig.useTargetLogin(testsupport::kUser, testsupport::kPassword);
     },
     kTargetStep, codes::AccessDenied, kDenied.c_str()},
    {"TargetEmptyUser",
     [](Scene& s) {
         existingTarget(s);
         s.rig.useTargetLogin("", kTargetPassword);
     },
     kTargetStep, codes::AccessDenied, kDenied.c_str(), true},
    // The target path.
    {"TargetInMissingFolder", [](Scene& s) { useTarget(s, s.dir.file("fehlt/ziel.vdb")); },
     kCreateStep, codes::CannotCreate, "konnte nicht angelegt werden: Der Ordner ist nicht"},
    {"TargetBelowAFile",
     [](Scene& s) {
         writeBytes(s.dir.file("notiz.txt"), "kein Ordner");
         useTarget(s, s.dir.file("notiz.txt/ziel.vdb"));
     },
     kCreateStep, codes::CannotCreate, "konnte nicht angelegt werden: Der Ordner ist nicht"},
    {"TargetIsAFolder",
     [](Scene& s) {
         fs::create_directory(s.target);
         writeBytes(s.target + "/inhalt.txt", "bleibt");
     },
     kCreateStep, codes::FileExists, "ziel.vdb“ ist bereits vorhanden."},
    {"TargetIsTheSourceFile",
     [](Scene& s) { useTarget(s, s.dir.file("./unter/../quelle.vdb")); },
     {kSameFile},
     0},
    {"TargetLockedByAWriter",
     [](Scene& s) {
         existingTarget(s);
         s.held.push_back(std::make_shared<WriteLock>(s.target));
     },
     kTargetStep, codes::FileLocked, "wird gerade von einem anderen Prozess gesperrt."},
    {"TargetTextFile", [](Scene& s) { writeBytes(s.target, "Ziel;Datei\r\n"); }, kTargetStep,
     codes::NotADatabase, kNotVdb.c_str()},
    {"TargetForeignSqliteFile",
     [](Scene& s) { execSql(s.target, "CREATE TABLE Kunden(ID INTEGER, Name TEXT);"); },
     kTargetStep, codes::NotADatabase, kNotVdb.c_str()},
};

class BadInputTest : public testing::TestWithParam<BadInput> {};

// The run reports the failure after the lines up to it, changes no file, leaves nothing
// half-made behind, and the next run with good inputs succeeds.
TEST_P(BadInputTest, IsReportedAndChangesNothing) {
    const BadInput& c = GetParam();
    Scene s;
    fs::create_directory(s.dir.file("unter"));
    copyGoodSource(s.source);
    s.rig.useFiles(s.source, s.target);
    c.spoil(s);
    const FolderSnapshot before = snapshot(s.dir.path());

    const auto lines = s.rig.run();

    std::vector<std::string> expected = c.linesBefore;
    if (c.hint) expected.push_back(kHint);
    if (c.code != 0) expected.push_back(errorLine(c.code));
    const std::size_t reportLines = c.code != 0 ? 1 : 0;
    ASSERT_EQ(lines.size(), expected.size() + reportLines) << testing::PrintToString(lines);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end() - reportLines), expected);
    if (c.code != 0) {
        EXPECT_EQ(lines.back().rfind("Err.Description: ", 0), 0u);
        EXPECT_NE(lines.back().find(c.description), std::string::npos) << lines.back();
    }
    EXPECT_EQ(snapshot(s.dir.path()), before) << "the run changed, added or left a file";
    s.held.clear();

    copyGoodSource(s.dir.file("gut.vdb"));
    s.rig.useFiles(s.dir.file("gut.vdb"), s.dir.file("neu.vdb"));
    const auto next = s.rig.run();
    ASSERT_FALSE(next.empty());
    EXPECT_EQ(next.back(), kSuccessLine) << testing::PrintToString(next);
    EXPECT_EQ(testsupport::readRows(s.dir.file("neu.vdb"), "Kunden"), kundenRows(3));
}

INSTANTIATE_TEST_SUITE_P(Inputs, BadInputTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace reliability
