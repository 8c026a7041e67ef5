#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "ImportRig.h"
#include "SampleFiles.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "VdbRun.h"
#include "engine/ErrorCodes.h"
#include "vdb/Login.h"

namespace {

using engine::Variant;
using engine::sqlite::FieldType;
using engine::sqlite::TableSpec;
using testing::HasSubstr;
using Args = std::vector<std::string>;

// The customer IDs in the order they are stored; the copy reads them in the order of the
// index "ID", so the record at copy position n has the ID 10 * n.
const int kStoredIds[] = {50, 30, 90, 10, 70, 20, 80, 40, 60};

TableSpec idTable(const std::string& name, engine::sqlite::FieldSpec value, bool unique) {
    return {name, "", {{"ID", FieldType::Int32}, value}, {{"ID", "", {"ID"}, unique}}};
}

class Compare : public testing::Test {
protected:
    // Runs `vdb compare QUELLE ZIEL -p … extra` and checks that it left both files
    // byte-identical (and a missing target missing).
    vdbtest::RunResult compare(const Args& extra = {}) {
        const std::string sourceBefore = testsupport::fileBytes(m_source);
        const bool targetExisted = std::filesystem::exists(m_target);
        const std::string targetBefore = testsupport::fileBytes(m_target);
        Args args = {"compare", m_source, m_target, "-p", testsupport::kPassword};
        args.insert(args.end(), extra.begin(), extra.end());
        const auto result = vdbtest::runVdb(args);
        EXPECT_EQ(testsupport::fileBytes(m_source), sourceBefore);
        EXPECT_EQ(std::filesystem::exists(m_target), targetExisted);
        EXPECT_EQ(testsupport::fileBytes(m_target), targetBefore);
        return result;
    }

    vdbtest::ScopedEnv m_noPassword{vdb::kPasswordVariable, nullptr};
    testsupport::TempDir m_dir;
    std::string m_source = m_dir.file("quelle.vdb");
    std::string m_target = m_dir.file("ziel.vdb");
};

TEST_F(Compare, PredictsTheRecordAtWhichTheCopyOfATableFails) {
    testsupport::createVdb(m_source, {idTable("Namen", {"Name", FieldType::Text, 40}, true),
                                      idTable("Stufen", {"Stufe", FieldType::Int32}, true),
                                      idTable("Termine", {"Datum", FieldType::Text, 10}, false)});
    testsupport::createVdb(m_target, {idTable("Namen", {"Name", FieldType::Text, 10}, true),
                                      idTable("Stufen", {"Stufe", FieldType::Int16}, true),
                                      idTable("Notizen", {"Text", FieldType::Text, 10}, false)});
    std::vector<testsupport::Row> names, levels;
    for (const int id : kStoredIds) {
        const bool bad = id == 60 || id == 80;  // too long / out of range at positions 6 and 8
        names.push_back({Variant(id), Variant(bad ? "Müller-Lüd1" : "Müller")});
        levels.push_back({Variant(id), Variant(id == 40 || id == 90 ? 40000 : -32768)});
    }
    testsupport::appendRows(m_source, "Namen", names);
    testsupport::appendRows(m_source, "Stufen", levels);

    const auto result = compare();
    EXPECT_EQ(result.code, 3) << result.err;
    EXPECT_EQ(result.out,
              "Tabelle Namen: wird in Tabelle Namen kopiert, 9 Datensätze.\n"
              "Feld Namen.Name: 2 Werte abgewiesen (länger als 10 Zeichen), erster bei "
              "Datensatz 6 (ID 60).\n"
              "Tabelle Stufen: wird in Tabelle Stufen kopiert, 9 Datensätze.\n"
              "Feld Stufen.Stufe: 2 Werte abgewiesen (außerhalb von -32768 bis 32767), erster "
              "bei Datensatz 4 (ID 40).\n"
              "Tabelle Termine: in der Ziel-DB nicht vorhanden, wird übersprungen.\n"
              "Tabelle Notizen: nur in der Ziel-DB.\n"
              "Ergebnis: 4 Werte würden abgewiesen, 0 Schlüssel wären doppelt.\n");

    testsupport::ImportRig rig;
    rig.useFiles(m_source, m_target);
    const auto lines = rig.run();
    const auto refusals =
        std::count(lines.begin(), lines.end(), testsupport::errorLine(engine::codes::ValueRefused));
    EXPECT_EQ(refusals, 2);
    EXPECT_EQ(testsupport::readRows(m_target, "Namen").size(), 5u);   // records 1 to 5 arrived
    EXPECT_EQ(testsupport::readRows(m_target, "Stufen").size(), 3u);  // records 1 to 3 arrived
    EXPECT_EQ(testsupport::readRows(m_target, "Stufen").back()[0], Variant(30));
}

TEST_F(Compare, CountsKeysAUniqueTargetIndexAlreadyHoldsUnlessTheTargetIsEmptied) {
    testsupport::createVdb(m_source, {idTable("Kunden", {"Name", FieldType::Text, 10}, false)});
    testsupport::createVdb(m_target, {idTable("Kunden", {"Name", FieldType::Text, 10}, true)});
    testsupport::appendRows(m_source, "Kunden",
                            {{Variant(3)}, {Variant(1)}, {Variant(2)}, {Variant(1)}});
    testsupport::appendRows(m_target, "Kunden", {{Variant(3)}});

    const auto kept = compare();
    EXPECT_EQ(kept.code, 3) << kept.err;
    EXPECT_THAT(kept.out, HasSubstr("Index Kunden.ID: 2 Schlüssel doppelt (eindeutiger Index), "
                                    "erster bei Datensatz 2 (ID 1).\n"));

    const auto emptied = compare({"--delete"});
    EXPECT_EQ(emptied.code, 3) << emptied.err;
    EXPECT_THAT(emptied.out, HasSubstr("Index Kunden.ID: 1 Schlüssel doppelt"));
    EXPECT_THAT(emptied.out, HasSubstr("Ergebnis: 0 Werte würden abgewiesen, 1 Schlüssel wäre"));
}

TEST_F(Compare, AMissingTargetWouldBeCreatedSoNothingIsRefused) {
    testsupport::copyGoodSource(m_source);
    const auto result = compare();
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("nicht vorhanden: sie würde aus der Quelle angelegt"));
}

TEST_F(Compare, OpensTheTargetWithItsOwnLoginOnlyWhenGivenOne) {
    testsupport::copyGoodSource(m_source);
    testsupport::copyEmptyTarget(m_target);
    const vdbtest::ScopedEnv password{vdb::kTargetPasswordVariable,
                                      testsupport::kTargetPassword.c_str()};

    const auto own = compare({"--target-user", testsupport::kTargetUser});
    EXPECT_EQ(own.code, 0) << own.err;
    EXPECT_THAT(own.out, HasSubstr("Ergebnis: nichts würde abgewiesen.\n"));

    const auto sourceLogin = compare();
    EXPECT_EQ(sourceLogin.code, 1);
    EXPECT_THAT(sourceLogin.err, HasSubstr("Fehler 0x80041003"));
    EXPECT_THAT(own.out + sourceLogin.err, testing::Not(HasSubstr(testsupport::kTargetPassword)));
}

}  // namespace
