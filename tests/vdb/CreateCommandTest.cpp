#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FileBytes.h"
#include "TempDir.h"
#include "VdbRun.h"

namespace {

using testing::HasSubstr;
using vdbtest::runVdb;

class CreateCommand : public testing::Test {
protected:
    testsupport::TempDir m_dir;
    std::string m_vdb = m_dir.file("neu.vdb");
    std::string m_schema = m_dir.file("schema.json");
};

TEST_F(CreateCommand, MakesTheDatabaseThatInfoThenShows) {
    vdbtest::writeFile(m_schema, vdbtest::kKundenSchema);
    const auto created = runVdb({"create", m_vdb, "--schema", m_schema});
    ASSERT_EQ(created.code, 0) << created.err;
    EXPECT_THAT(created.out, HasSubstr("1 Tabelle(n), 1 Benutzer"));

    const auto info = runVdb({"info", m_vdb, "-p", "geheim"});
    ASSERT_EQ(info.code, 0) << info.err;
    EXPECT_EQ(info.out, "Datenbank „" + m_vdb +
                            "“\n"
                            "Benutzer: ADMIN\n"
                            "Tabelle Kunden „Kundenstamm“, 0 Datensätze\n"
                            "  Felder:\n"
                            "    ID: int32\n"
                            "    Name: text(20)\n"
                            "    Aktiv: bool\n"
                            "    Stufe: int16\n"
                            "  Indizes:\n"
                            "    ID „ID“: ID (eindeutig)\n");
}

TEST_F(CreateCommand, RefusesAnExistingFileAndLeavesItAlone) {
    vdbtest::writeFile(m_schema, vdbtest::kKundenSchema);
    vdbtest::writeFile(m_vdb, "schon da");
    const auto result = runVdb({"create", m_vdb, "--schema", m_schema});
    EXPECT_EQ(result.code, 1);
    EXPECT_THAT(result.err, HasSubstr("Fehler 0x80041005: "));
    EXPECT_EQ(testsupport::fileBytes(m_vdb), "schon da");
}

TEST_F(CreateCommand, BadSchemaNamesTheFaultAndWritesNoFile) {
    vdbtest::writeFile(m_schema, R"({"users": [{"name": "ADMIN"}],
        "tables": [{"name": "T", "fields": [{"name": "A", "type": "zahl"}]}]})");
    const auto result = runVdb({"create", m_vdb, "--schema", m_schema});
    EXPECT_EQ(result.code, 1);
    EXPECT_THAT(result.err, HasSubstr("tables[0].fields[0].type: unbekannter Feldtyp „zahl“"));
    EXPECT_FALSE(std::filesystem::exists(m_vdb));
}

TEST_F(CreateCommand, MissingSchemaFileIsReported) {
    const auto result = runVdb({"create", m_vdb, "--schema", m_schema});
    EXPECT_EQ(result.code, 1);
    EXPECT_THAT(result.err, HasSubstr("ist nicht lesbar"));
    EXPECT_FALSE(std::filesystem::exists(m_vdb));
}

TEST_F(CreateCommand, SchemaTheEngineRefusesGivesItsCode) {
    vdbtest::writeFile(m_schema, R"({"users": [{"name": "ADMIN"}],
        "tables": [{"name": "T", "fields": [{"name": "A", "type": "text"},
                                            {"name": "A", "type": "int16"}]}]})");
    const auto result = runVdb({"create", m_vdb, "--schema", m_schema});
    EXPECT_EQ(result.code, 1);
    EXPECT_THAT(result.err, HasSubstr("Fehler 0x80041050: "));
    EXPECT_FALSE(std::filesystem::exists(m_vdb));
}

}  // namespace
