#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <random>

#include "EngineTestFiles.h"
#include "FileBytes.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Table.h"
#include "engine/Tables.h"

namespace {

namespace codes = engine::codes;

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A valid database with records, to be damaged by a case.
void validFile(const std::string& path) {
    testsupport::createVdb(path, enginetest::standardTables());
    std::vector<testsupport::Row> rows;
    for (std::int32_t i = 0; i < 50; ++i) {
        rows.push_back(
            {i, std::string(18, static_cast<char>('a' + i % 26)), true, std::int16_t{1}});
    }
    testsupport::appendRows(path, "Kunden", rows);
}

// Opens the file and reads every record of every table, as the copy does with a source.
void openAndReadAll(const std::string& path, std::int32_t flags) {
    enginetest::readAll(*enginetest::openDb(path, flags));
}

struct HostileCase {
    const char* name;
    std::function<void(const std::string& path)> make;
};

std::string randomBytes(std::size_t count) {
    std::mt19937 generator(42);
    std::string bytes(count, '\0');
    for (char& byte : bytes) byte = static_cast<char>(generator());
    return bytes;
}

const HostileCase kCases[] = {
    {"Empty", [](const std::string& path) { writeBytes(path, ""); }},
    {"PngHeader",
     [](const std::string& path) { writeBytes(path, "\x89PNG\r\n\x1a\n" + randomBytes(200)); }},
    {"RandomBytes", [](const std::string& path) { writeBytes(path, randomBytes(8192)); }},
    {"Truncated",
     [](const std::string& path) {
         validFile(path);
         writeBytes(path, testsupport::fileBytes(path).substr(0, 1500));
     }},
    {"CorruptedPages",
     [](const std::string& path) {
         validFile(path);
         std::string bytes = testsupport::fileBytes(path);
         for (std::size_t i = 4096; i < bytes.size(); i += 7) bytes[i] = '\xff';
         writeBytes(path, bytes);
     }},
    {"ForeignSqlite",
     [](const std::string& path) {
         enginetest::rawSql(path, "CREATE TABLE kunden(id INTEGER, name TEXT)");
     }},
    {"ForeignSqliteWithOurIds",
     [](const std::string& path) {
         enginetest::rawSql(path,
                            "PRAGMA application_id = 1447313969; PRAGMA user_version = 1; "
                            "CREATE TABLE vdb_tables(x)");
     }},
    {"CatalogPointsAtMissingDataTable",
     [](const std::string& path) {
         validFile(path);
         enginetest::rawSql(path, "DROP TABLE data_1");
     }},
    {"FieldOfUnknownType",
     [](const std::string& path) {
         validFile(path);
         enginetest::rawSql(path, "UPDATE vdb_fields SET type = 'float' WHERE position = 1");
     }},
    {"FieldWithoutTable",
     [](const std::string& path) {
         validFile(path);
         enginetest::rawSql(path, "INSERT INTO vdb_fields VALUES (99, 0, 'Waise', 'text', 10)");
     }},
    {"DataColumnMissing",
     [](const std::string& path) {
         validFile(path);
         enginetest::rawSql(path, "ALTER TABLE data_1 DROP COLUMN f3");
     }},
    {"TriggerAdded",
     [](const std::string& path) {
         validFile(path);
         enginetest::rawSql(
             path, "CREATE TRIGGER t AFTER INSERT ON data_1 BEGIN DELETE FROM data_2; END");
     }},
    {"OutOfRangeValueInSmallIntegerField",
     [](const std::string& path) {
         validFile(path);
         enginetest::rawSql(path, "UPDATE data_1 SET f3 = 70000 WHERE f0 = 7");
     }},
};

class HostileFileTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileFileTest, IsNotADatabaseForReadingAndWriting) {
    testsupport::TempDir dir;
    const std::string path = dir.file("feind.vdb");
    GetParam().make(path);
    for (std::int32_t flags : {0x30030, 0x30010}) {
        EXPECT_EQ(enginetest::codeOf([&] { openAndReadAll(path, flags); }), codes::NotADatabase)
            << "flags " << flags;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, HostileFileTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
