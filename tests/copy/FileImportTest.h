#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CountingYield.h"
#include "FakeFileProbe.h"
#include "FakeImportForm.h"
#include "FileBytes.h"
#include "MemoryLogView.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "copy/ImportRun.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "engine/sqlite/SqliteEngine.h"
#include "log/ProgressLog.h"

namespace copytest {

using engine::sqlite::FieldType;
using engine::sqlite::TableSpec;

// Tables of the examples: Kunden with the unique index ID, Termine without indexes.
inline TableSpec kundenTable(std::int32_t nameSize = 40) {
    return {"Kunden",
            "",
            {{"ID", FieldType::Int32}, {"Name", FieldType::Text, nameSize}},
            {{"ID", "", {"ID"}, true}}};
}

inline TableSpec termineTable() {
    return {"Termine", "", {{"Datum", FieldType::Text, 10}, {"Kunde", FieldType::Int32}}, {}};
}

inline std::vector<testsupport::Row> kundenRows(int count, int first = 1) {
    std::vector<testsupport::Row> rows;
    for (int id = first; id < first + count; ++id) {
        rows.push_back({engine::Variant(id), engine::Variant("Kunde " + std::to_string(id))});
    }
    return rows;
}

// An import between real database files in a temporary folder, through the window's fields as
// the run reads them. Every run checks that the source file stays byte-identical.
class FileImportTest : public testing::Test {
protected:
    FileImportTest() {
        form.texts = {{dbcopy::FormText::txtDatabase, source},
                      {dbcopy::FormText::txtUsername, testsupport::kUser},
                      {dbcopy::FormText::txtPassword, testsupport::kPassword},
                      {dbcopy::FormText::txtDatabaseDest, target},
                      {dbcopy::FormText::txtDestUser, "ZIEL"},
                      {dbcopy::FormText::txtDestPassword, "zielkennwort"}};
    }

    void runImport() {
        const std::string before = testsupport::fileBytes(source);
        run.RunImport();
        EXPECT_EQ(testsupport::fileBytes(source), before) << "the source file was changed";
    }

    std::vector<std::string> lines() const { return view.lines(); }

    testsupport::TempDir dir;
    std::string source = dir.file("quelle.vdb");
    std::string target = dir.file("ziel.vdb");
    testsupport::FakeImportForm form;
    testsupport::MemoryLogView view;
    testsupport::CountingYield yield;
    testsupport::FakeFileProbe files;
    dbcopy::ProgressLog log{view, yield};
    int serverCreations = 0;
    dbcopy::ImportRun run{form, log, yield, files, [this] {
                              ++serverCreations;
                              return engine::sqlite::createServer();
                          }};
};

inline const std::vector<std::string> kOpeningLines = {
    "Quelldatenbank wird schreibgeschützt geöffnet", "Öffne Zieldatenbank.",
    "Bereite Zieldatenbank für den Tabellenzugriff per KeyStorage vor.",
    "Öffne Zieldatenbank erneut."};

inline const std::vector<std::string> kClosingLines = {"", "Schließe Zieldatenbank",
                                                       "Import erfolgreich abgeschlossen."};

inline std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> result;
    for (const auto& part : parts) result.insert(result.end(), part.begin(), part.end());
    return result;
}

}  // namespace copytest
