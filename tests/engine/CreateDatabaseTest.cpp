#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "EngineTestFiles.h"
#include "FileBytes.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/Table.h"
#include "engine/Tables.h"

namespace {

namespace codes = engine::codes;
namespace fs = std::filesystem;
using engine::Variant;
using engine::sqlite::FieldType;
using engine::sqlite::Schema;
using enginetest::codeOf;

bool sameField(const engine::sqlite::FieldSpec& a, const engine::sqlite::FieldSpec& b) {
    return a.name == b.name && a.type == b.type && (a.type != FieldType::Text || a.size == b.size);
}

bool sameIndex(const engine::sqlite::IndexSpec& a, const engine::sqlite::IndexSpec& b) {
    return a.name == b.name && a.displayName == b.displayName && a.fields == b.fields &&
           a.unique == b.unique;
}

bool sameTables(const std::vector<engine::sqlite::TableSpec>& a,
                const std::vector<engine::sqlite::TableSpec>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].displayName != b[i].displayName ||
            !std::equal(a[i].fields.begin(), a[i].fields.end(), b[i].fields.begin(),
                        b[i].fields.end(), sameField) ||
            !std::equal(a[i].indexes.begin(), a[i].indexes.end(), b[i].indexes.begin(),
                        b[i].indexes.end(), sameIndex)) {
            return false;
        }
    }
    return true;
}

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

class CreateDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        Schema schema;
        schema.users = {{testsupport::kUser, testsupport::kPassword}, {"Gast", "offen"}};
        schema.tables = enginetest::standardTables();
        engine::sqlite::createDatabase(m_source, schema);
        testsupport::appendRows(m_source, "Kunden", {{std::int32_t{1}, "Anna", true, Variant()}});
    }

    testsupport::TempDir m_dir;
    std::string m_source = m_dir.file("quelle.vdb");
};

TEST_F(CreateDatabaseTest, CopiesTablesIndexesAndUsersWithoutRecordsFromReadOnlySource) {
    const std::string before = testsupport::fileBytes(m_source);
    const std::string target = m_dir.file("ziel.vdb");
    {
        auto source = enginetest::openDb(m_source, 0x30030);
        EXPECT_NE(
            source->CreateDatabase(target, std::int32_t{1}, std::int32_t{0}, Variant::missing()),
            nullptr);
        auto created = enginetest::openDb(target);
        EXPECT_TRUE(
            sameTables(engine::sqlite::readSchema(*created).tables, enginetest::standardTables()));
        EXPECT_EQ(created->Tables()->Item(Variant("Kunden"))->RecordCount(), 0);
        const Schema copied = engine::sqlite::readSchema(*created);
        ASSERT_EQ(copied.users.size(), 2u);
        EXPECT_EQ(copied.users[1].name, "Gast");
        EXPECT_TRUE(copied.users[1].password.empty());
    }
    EXPECT_NE(engine::sqlite::createServer()->OpenDatabase(target, "gast", "offen", 0x30010),
              nullptr);
    EXPECT_EQ(testsupport::fileBytes(m_source), before);
}

TEST_F(CreateDatabaseTest, RefusesAnExistingFileAndLeavesItAlone) {
    const std::string existing = m_dir.file("da.vdb");
    { std::ofstream(existing) << "nicht anfassen"; }
    auto source = enginetest::openDb(m_source, 0x30030);
    EXPECT_EQ(codeOf([&] {
                  source->CreateDatabase(existing, std::int32_t{1}, std::int32_t{0},
                                         Variant::missing());
              }),
              codes::FileExists);
    EXPECT_EQ(testsupport::fileBytes(existing), "nicht anfassen");
    EXPECT_EQ(codeOf([&] {
                  source->CreateDatabase(m_source, std::int32_t{1}, std::int32_t{0},
                                         Variant::missing());
              }),
              codes::FileExists);
    EXPECT_EQ(entriesIn(m_dir.path()), 2u);
}

TEST_F(CreateDatabaseTest, MissingFolderIsCannotCreateAndLeavesNothing) {
    auto source = enginetest::openDb(m_source, 0x30030);
    const std::string target = m_dir.file("fehlt/ziel.vdb");
    EXPECT_EQ(codeOf([&] {
                  source->CreateDatabase(target, std::int32_t{1}, std::int32_t{0},
                                         Variant::missing());
              }),
              codes::CannotCreate);
    EXPECT_FALSE(fs::exists(m_dir.file("fehlt")));
    EXPECT_EQ(entriesIn(m_dir.path()), 1u);
}

TEST_F(CreateDatabaseTest, UnwritableFolderLeavesNoHalfWrittenFile) {
    const fs::path locked = m_dir.path() / "gesperrt";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
#ifdef _WIN32
    GTEST_SKIP() << "permission bits do not lock a folder on Windows";
#else
    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root: folder permissions are not enforced";
    }
#endif
    auto source = enginetest::openDb(m_source, 0x30030);
    EXPECT_EQ(codeOf([&] {
                  source->CreateDatabase((locked / "ziel.vdb").string(), std::int32_t{1},
                                         std::int32_t{0}, Variant::missing());
              }),
              codes::CannotCreate);
    EXPECT_EQ(entriesIn(locked), 0u);
    fs::permissions(locked, fs::perms::owner_all);
}

TEST_F(CreateDatabaseTest, RefusesAVersionOtherThanOne) {
    auto source = enginetest::openDb(m_source, 0x30030);
    EXPECT_EQ(codeOf([&] {
                  source->CreateDatabase(m_dir.file("v2.vdb"), std::int32_t{2}, std::int32_t{0},
                                         Variant::missing());
              }),
              codes::InvalidArgument);
    EXPECT_FALSE(fs::exists(m_dir.file("v2.vdb")));
}

TEST(CreateDatabaseSchemaTest, RefusesBadSchemasWithInvalidArgument) {
    using TableDescription = engine::sqlite::TableSpec;
    const engine::sqlite::FieldSpec text{"Name", FieldType::Text, 10};
    const std::vector<std::pair<const char*, std::vector<TableDescription>>> cases = {
        {"same table name", {{"Kunden", "", {text}, {}}, {"KUNDEN", "", {text}, {}}}},
        {"same field name", {{"Kunden", "", {text, {"name", FieldType::Int16, 0}}, {}}}},
        {"same index name",
         {{"Kunden", "", {text}, {{"X", "", {"Name"}, false}, {"x", "", {"Name"}, true}}}}},
        {"index on unknown field", {{"Kunden", "", {text}, {{"X", "", {"Ort"}, false}}}}},
        {"index without fields", {{"Kunden", "", {text}, {{"X", "", {}, false}}}}},
        {"text size zero", {{"Kunden", "", {{"Name", FieldType::Text, 0}}, {}}}},
        {"text size too big", {{"Kunden", "", {{"Name", FieldType::Text, 70000}}, {}}}},
        {"unknown type", {{"Kunden", "", {{"Name", static_cast<FieldType>(9), 5}}, {}}}},
        {"empty table name", {{"", "", {text}, {}}}},
        {"table without fields", {{"Kunden", "", {}, {}}}},
    };
    testsupport::TempDir dir;
    for (const auto& [name, tables] : cases) {
        const std::string path = dir.file("schema.vdb");
        EXPECT_EQ(codeOf([&] { testsupport::createVdb(path, tables); }), codes::InvalidArgument)
            << name;
        EXPECT_FALSE(fs::exists(path)) << name;
    }
    EXPECT_EQ(codeOf([&] { engine::sqlite::createDatabase(dir.file("leer.vdb"), Schema{}); }),
              codes::InvalidArgument);
    EXPECT_EQ(entriesIn(dir.path()), 0u);
}

TEST(CreateDatabaseSchemaTest, HostileNamesAndValuesRoundTrip) {
    const std::string table = "a\"; DROP TABLE x; --";
    const std::string field = "f'); DELETE FROM vdb_tables; --";
    const std::string index = "]`[\"idx";
    const std::vector<engine::sqlite::TableSpec> tables = {
        {table, "", {{field, FieldType::Text, 50}}, {{index, "", {field}, true}}}};
    testsupport::TempDir dir;
    const std::string path = dir.file("feindlich.vdb");
    testsupport::createVdb(path, tables);
    const testsupport::Row row = {Variant("'); DROP TABLE data_1; --")};
    testsupport::appendRows(path, table, {row});
    EXPECT_EQ(testsupport::readRows(path, table), std::vector<testsupport::Row>{row});
    auto database = enginetest::openDb(path);
    EXPECT_TRUE(sameTables(engine::sqlite::readSchema(*database).tables, tables));
}

}  // namespace
