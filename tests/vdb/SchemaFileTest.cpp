#include "vdb/SchemaFile.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "vdb/CommandError.h"

namespace {

using engine::sqlite::FieldType;

TEST(SchemaFile, ReadsTablesFieldsIndexesUsersAndDefaults) {
    const auto schema = vdb::parseSchema(R"({
      "users": [{"name": "ADMIN", "password": "geheim"}, {"name": "Gast"}],
      "tables": [{"name": "Kunden", "displayName": "Kundenstamm",
                  "fields": [{"name": "ID", "type": "int32"}, {"name": "Name", "type": "text"},
                             {"name": "Kürzel", "type": "text", "size": 3},
                             {"name": "Aktiv", "type": "bool"}, {"name": "Stufe", "type": "int16"}],
                  "indexes": [{"name": "ID", "displayName": "Nummer", "fields": ["ID"],
                               "unique": true},
                              {"name": "Name", "fields": ["Name", "Kürzel"]}]},
                 {"name": "Termine", "fields": [{"name": "Datum", "type": "text"}]}]})");
    ASSERT_EQ(schema.users.size(), 2u);
    EXPECT_EQ(schema.users[0].password, "geheim");
    EXPECT_EQ(schema.users[1].password, "");
    ASSERT_EQ(schema.tables.size(), 2u);
    const auto& kunden = schema.tables[0];
    EXPECT_EQ(kunden.displayName, "Kundenstamm");
    ASSERT_EQ(kunden.fields.size(), 5u);
    EXPECT_EQ(kunden.fields[0].type, FieldType::Int32);
    EXPECT_EQ(kunden.fields[1].size, 255);
    EXPECT_EQ(kunden.fields[2].size, 3);
    EXPECT_EQ(kunden.fields[3].type, FieldType::Bool);
    EXPECT_EQ(kunden.fields[4].type, FieldType::Int16);
    ASSERT_EQ(kunden.indexes.size(), 2u);
    EXPECT_TRUE(kunden.indexes[0].unique);
    EXPECT_EQ(kunden.indexes[0].displayName, "Nummer");
    EXPECT_FALSE(kunden.indexes[1].unique);
    EXPECT_EQ(kunden.indexes[1].fields, (std::vector<std::string>{"Name", "Kürzel"}));
    EXPECT_TRUE(schema.tables[1].indexes.empty());
}

struct BadSchema {
    const char* name;
    std::string json;
    std::string message;  // a part of the error message
};

// Names the case in test output.
void PrintTo(const BadSchema& c, std::ostream* out) {
    *out << c.name;
}

class SchemaFileRefuses : public testing::TestWithParam<BadSchema> {};

TEST_P(SchemaFileRefuses, NamingWhatIsWrong) {
    try {
        vdb::parseSchema(GetParam().json);
        FAIL() << "accepted";
    } catch (const vdb::CommandError& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos)
            << error.what();
    }
}

// A valid document with one part replaced.
std::string withTable(const std::string& table) {
    return R"({"users": [{"name": "ADMIN", "password": "x"}], "tables": [)" + table + "]}";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SchemaFileRefuses,
    testing::Values(
        BadSchema{"NotJson", "{\"users\": [", "kein gültiges JSON"},
        BadSchema{"NotAnObject", "[]", "erwartet wird ein Objekt"},
        BadSchema{"NoTables", R"({"users": [{"name": "A"}]})", "„tables“ fehlt"},
        BadSchema{"NoUsers", R"({"users": [], "tables": []})", "users: mindestens ein Benutzer"},
        BadSchema{"UnknownType",
                  withTable(R"({"name": "T", "fields": [{"name": "A", "type": "int64"}]})"),
                  "tables[0].fields[0].type: unbekannter Feldtyp „int64“"},
        BadSchema{
            "SizeOnNumber",
            withTable(R"({"name": "T", "fields": [{"name": "A", "type": "int16", "size": 4}]})"),
            "tables[0].fields[0]: eine Größe (size) gibt es nur für Text"},
        BadSchema{
            "ZeroSize",
            withTable(R"({"name": "T", "fields": [{"name": "A", "type": "text", "size": 0}]})"),
            "tables[0].fields[0].size: erwartet wird eine ganze Zahl größer als 0"},
        BadSchema{"MisspeltKey",
                  withTable(R"({"name": "T", "fields": [{"name": "A", "type": "text"}],
                                "indexes": [{"name": "A", "fields": ["A"], "uniqe": true}]})"),
                  "tables[0].indexes[0]: unbekannter Schlüssel „uniqe“"},
        BadSchema{"IndexOnUnknownField",
                  withTable(R"({"name": "T", "fields": [{"name": "A", "type": "text"}],
                                "indexes": [{"name": "B", "fields": ["B"]}]})"),
                  "tables[0].indexes[0].fields[0]: die Tabelle hat kein Feld „B“"},
        BadSchema{"UniqueNotBoolean",
                  withTable(R"({"name": "T", "fields": [{"name": "A", "type": "text"}],
                                "indexes": [{"name": "A", "fields": ["A"], "unique": "ja"}]})"),
                  "unique: erwartet wird true oder false"},
        BadSchema{"TableWithoutFields", withTable(R"({"name": "T", "fields": []})"),
                  "tables[0].fields: eine Tabelle braucht mindestens ein Feld"},
        BadSchema{"NameNotText", withTable(R"({"name": 7, "fields": []})"),
                  "tables[0].name: erwartet wird ein Text"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
