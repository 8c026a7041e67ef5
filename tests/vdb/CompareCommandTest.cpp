#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "ImportRig.h"
#include "PlainSqlite.h"
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

// A table without index whose records the copy reads in the order they were stored.
TableSpec plainTable(const std::string& name, std::vector<engine::sqlite::FieldSpec> fields) {
    return {name, "", std::move(fields), {}};
}

// Customers with the IDs of kStoredIds, in that order, named "Kunde <ID>".
std::vector<testsupport::Row> storedCustomers() {
    std::vector<testsupport::Row> rows;
    for (const int id : kStoredIds)
        rows.push_back({Variant(id), Variant("Kunde " + std::to_string(id))});
    return rows;
}

class CompareData : public Compare {
protected:
    void copy() {
        testsupport::ImportRig rig;
        rig.useFiles(m_source, m_target);
        rig.run();
    }

    // Runs sql on the target behind the engine's back, with {table} and {Field} replaced by
    // the names the engine stores that table and field of table under.
    void changeTarget(const std::string& table, std::string sql,
                      const std::vector<std::string>& fields = {}) {
        replace(sql, "{table}", reliability::storedName(m_target, table));
        for (const std::string& field : fields) {
            replace(sql, "{" + field + "}", reliability::storedName(m_target, table, field));
        }
        reliability::execSql(m_target, sql);
    }

private:
    static void replace(std::string& text, const std::string& from, const std::string& to) {
        for (std::size_t at; (at = text.find(from)) != std::string::npos;)
            text.replace(at, from.size(), to);
    }
};

TEST_F(CompareData, FindsACopyEqualThenNamesTheFirstChangedRecordAndAMissingOne) {
    const std::vector<TableSpec> tables = {
        idTable("Kunden", {"Name", FieldType::Text, 100}, true),
        plainTable("Termine", {{"Betreff", FieldType::Text, 40}, {"Kunde", FieldType::Int32}})};
    testsupport::createVdb(m_source, tables);
    testsupport::createVdb(m_target, tables);
    testsupport::appendRows(m_source, "Kunden", storedCustomers());
    testsupport::appendRows(m_source, "Termine",
                            {{Variant("Anruf"), Variant(10)}, {Variant("Besuch"), Variant(20)}});
    copy();

    const auto equal = compare({"--data"});
    EXPECT_EQ(equal.code, 0) << equal.err;  // though a further copy would double every key
    EXPECT_THAT(equal.out, testing::EndsWith("Prüfe Kopie Wert für Wert\n"
                                             "Kunden: gleich (9 Datensätze)\n"
                                             "Termine: gleich (2 Datensätze)\n"
                                             "Prüfung abgeschlossen: alles gleich.\n"));

    // The copy stored the customers in the order of the index "ID": the 4th is ID 40.
    const std::string longName(70, 'x');
    changeTarget("Kunden", "UPDATE {table} SET {Name} = '" + longName + "' WHERE {ID} IN (40, 70)",
                 {"Name", "ID"});
    changeTarget("Termine", "DELETE FROM {table} WHERE rowid = (SELECT max(rowid) FROM {table})");
    const auto changed = compare({"--data"});
    EXPECT_EQ(changed.code, 3) << changed.err;
    EXPECT_THAT(changed.out,
                testing::EndsWith("Kunden: abweichend – 2 Datensätze, zuerst Nr. 4 (ID 40), Feld "
                                  "Name: „" +
                                  std::string(59, 'x') +
                                  "…“ statt „Kunde 40“\n"
                                  "Termine: fehlt – 1 Datensatz weniger in der Ziel-DB\n"
                                  "Prüfung abgeschlossen: 2 Tabellen abweichend.\n"));
}

TEST_F(CompareData, ComparesTheRecordsASecondCopyAppendedAndSeesOneDeletedAmongThem) {
    const std::vector<TableSpec> tables = {idTable("Kunden", {"Name", FieldType::Text, 40}, false)};
    testsupport::createVdb(m_source, tables);
    testsupport::createVdb(m_target, tables);
    testsupport::appendRows(m_source, "Kunden", storedCustomers());
    copy();
    copy();

    const auto appended = compare({"--data"});
    EXPECT_EQ(appended.code, 0) << appended.err;
    EXPECT_THAT(appended.out, HasSubstr("Kunden: gleich (9 Datensätze)\n"));

    // Of the 18 stored records the last 9 are compared; without the 12th (ID 30 of the second
    // copy) they begin with the first copy's last record, ID 90.
    changeTarget("Kunden", "DELETE FROM {table} WHERE rowid = 12");
    const auto shifted = compare({"--data"});
    EXPECT_EQ(shifted.code, 3) << shifted.err;
    EXPECT_THAT(shifted.out, HasSubstr("Kunden: abweichend – 3 Datensätze, zuerst Nr. 1 (ID 10), "
                                       "Feld ID: 90 statt 10\n"));
}

TEST_F(CompareData, ComparesValuesAsTheCopyConvertedThemAndNamesFieldsOnlyOneSideHas) {
    testsupport::createVdb(
        m_source,
        {{"Kunden",
          "",
          {{"ID", FieldType::Int32}, {"Fax", FieldType::Text, 20}, {"Name", FieldType::Text, 20}},
          {{"ID", "", {"ID"}, true}}},
         plainTable("Archiv", {{"Text", FieldType::Text, 20}})});
    testsupport::createVdb(m_target, {plainTable("Kunden", {{"Notiz", FieldType::Text, 20},
                                                            {"ID", FieldType::Text, 10},
                                                            {"Name", FieldType::Text, 20}})});
    testsupport::appendRows(
        m_source, "Kunden",
        {{Variant(7), Variant("0711 123"), Variant("Anna")}, {Variant(-3), Variant(), Variant()}});
    copy();

    const auto result = compare({"--data"});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_THAT(result.out,
                testing::EndsWith("Prüfe Kopie Wert für Wert\n"
                                  "Kunden: Feld Fax nur in der Quelle, nicht verglichen.\n"
                                  "Kunden: Feld Notiz nur in der Ziel-DB, nicht verglichen.\n"
                                  "Kunden: gleich (2 Datensätze)\n"
                                  "Archiv: übersprungen (in der Ziel-DB nicht vorhanden)\n"
                                  "Prüfung abgeschlossen: alles gleich.\n"));

    changeTarget("Kunden", "UPDATE {table} SET {ID} = '-3 ' WHERE {ID} = '-3'", {"ID"});
    EXPECT_THAT(compare({"--data"}).out,
                HasSubstr("Kunden: abweichend – 1 Datensatz, zuerst Nr. 1 (ID -3), Feld ID: "
                          "„-3 “ statt -3\n"));
}

TEST_F(CompareData, AMissingTargetCannotBeCompared) {
    testsupport::copyGoodSource(m_source);
    const auto result = compare({"--data"});
    EXPECT_EQ(result.code, 1);
    EXPECT_THAT(result.err, HasSubstr("0x80041001"));
}

}  // namespace
