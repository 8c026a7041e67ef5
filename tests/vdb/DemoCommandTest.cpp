#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "FileBytes.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "VdbRun.h"
#include "engine/Database.h"
#include "engine/DbServer.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "engine/sqlite/SqliteEngine.h"

namespace {

using engine::Variant;
using testing::HasSubstr;
using vdbtest::runVdb;

const engine::sqlite::TableSpec& table(const engine::sqlite::Schema& schema,
                                       const std::string& name) {
    const auto found = std::find_if(schema.tables.begin(), schema.tables.end(),
                                    [&](const auto& t) { return t.name == name; });
    if (found == schema.tables.end()) throw std::runtime_error("no table " + name);
    return *found;
}

// Every record of a demo table in insertion order, as the demo user reads it.
std::vector<testsupport::Row> readDemoRows(const std::string& file, const std::string& name) {
    auto database = engine::sqlite::createServer()->OpenDatabase(file, "ADMIN", "demo",
                                                                 engine::open_flags::ReadOnly);
    auto pTable = database->Tables()->Item(Variant(name));
    auto fields = pTable->Fields();
    std::vector<testsupport::Row> rows;
    for (pTable->MoveFirst(32); !pTable->Eof(); pTable->Move(1, 32)) {
        testsupport::Row row;
        for (std::int32_t i = 0; i < fields->Count(); ++i)
            row.push_back(fields->ItemAt(i)->Value());
        rows.push_back(std::move(row));
    }
    return rows;
}

class DemoCommand : public testing::Test {
protected:
    std::string makeDemo(const std::string& name, int records) {
        const std::string file = m_dir.file(name);
        const auto result = runVdb({"demo", file, "--records", std::to_string(records)});
        EXPECT_EQ(result.code, 0) << result.err;
        m_out = result.out;
        return file;
    }

    std::string dump(const std::string& file, const std::string& tableName) {
        return runVdb({"dump", file, tableName, "-p", "demo"}).out;
    }

    testsupport::TempDir m_dir;
    std::string m_out;
};

TEST_F(DemoCommand, MakesThePromisedTablesIndexesAndRecordCounts) {
    const std::string file = makeDemo("demo.vdb", 200);
    EXPECT_THAT(m_out, HasSubstr("Benutzer: ADMIN, Kennwort: demo"));
    auto database = engine::sqlite::createServer()->OpenDatabase(file, "ADMIN", "demo",
                                                                 engine::open_flags::ReadOnly);
    const auto schema = engine::sqlite::readSchema(*database);

    const auto& kunden = table(schema, "Kunden");
    ASSERT_EQ(kunden.indexes.size(), 2u);
    EXPECT_EQ(kunden.indexes[0].name, "ID");
    EXPECT_TRUE(kunden.indexes[0].unique);
    EXPECT_EQ(kunden.indexes[0].fields, std::vector<std::string>{"ID"});
    EXPECT_TRUE(table(schema, "Termine").indexes.empty());
    const auto& kontakte = table(schema, "Kontakte");
    ASSERT_EQ(kontakte.indexes.size(), 1u);
    EXPECT_NE(kontakte.indexes[0].name, "ID");
    const auto& produkte = table(schema, "Produkte");
    ASSERT_EQ(produkte.indexes.size(), 2u);
    EXPECT_EQ(produkte.indexes[1].name, "ID");
    database.reset();

    EXPECT_EQ(readDemoRows(file, "Kunden").size(), 200u);
    EXPECT_EQ(readDemoRows(file, "Termine").size(), 100u);
    EXPECT_EQ(readDemoRows(file, "Kontakte").size(), 50u);
    EXPECT_EQ(readDemoRows(file, "Produkte").size(), 40u);
}

TEST_F(DemoCommand, DataHasUmlautsEmptyValuesEmptyTextsAndDistinctIds) {
    const std::string file = makeDemo("demo.vdb", 300);
    const auto rows = readDemoRows(file, "Kunden");
    std::set<std::int32_t> ids;
    bool emptyValue = false, emptyText = false;
    for (const auto& row : rows) {
        ids.insert(row[0].int32());
        emptyValue = emptyValue || row[6].isEmpty();
        emptyText = emptyText || row[6] == Variant("");
        EXPECT_GE(row[8].int16(), 1);
        EXPECT_LE(row[8].int16(), 5);
    }
    EXPECT_EQ(ids.size(), rows.size());
    EXPECT_TRUE(emptyValue);
    EXPECT_TRUE(emptyText);
    const std::string kunden = dump(file, "Kunden");
    EXPECT_TRUE(kunden.find("ü") != std::string::npos || kunden.find("ö") != std::string::npos);
    EXPECT_THAT(dump(file, "Produkte"), HasSubstr("Größe"));
}

TEST_F(DemoCommand, SameRecordCountGivesTheSameData) {
    const std::string first = makeDemo("eins.vdb", 120);
    const std::string second = makeDemo("zwei.vdb", 120);
    for (const char* name : {"Kunden", "Termine", "Kontakte", "Produkte"}) {
        EXPECT_EQ(dump(first, name), dump(second, name)) << name;
    }
}

TEST_F(DemoCommand, InfoListsTheDemoTables) {
    const std::string file = makeDemo("demo.vdb", 8);
    const auto info = runVdb({"info", file, "-p", "demo"});
    ASSERT_EQ(info.code, 0) << info.err;
    EXPECT_THAT(info.out, HasSubstr("Tabelle Kunden „Kunden“, 8 Datensätze\n"));
    EXPECT_THAT(info.out, HasSubstr("    ID „ID“: ID (eindeutig)\n"));
    EXPECT_THAT(info.out, HasSubstr("Tabelle Termine „Termine“, 4 Datensätze\n  Felder:\n"));
    EXPECT_THAT(info.out, HasSubstr("Tabelle Kontakte „Kontakte“, 2 Datensätze\n"));
    EXPECT_THAT(info.out, HasSubstr("Indizes: keine\n"));
}

TEST_F(DemoCommand, RefusesAnExistingFile) {
    const std::string file = makeDemo("demo.vdb", 3);
    const std::string before = testsupport::fileBytes(file);
    const auto again = runVdb({"demo", file, "--records", "5"});
    EXPECT_EQ(again.code, 1);
    EXPECT_THAT(again.err, HasSubstr("Fehler 0x80041005: "));
    EXPECT_EQ(testsupport::fileBytes(file), before);
}

}  // namespace
