#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileBytes.h"
#include "ImportRig.h"
#include "MemoryLogView.h"
#include "SampleFiles.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "engine/sqlite/SqliteEngine.h"

namespace copytest {

using engine::sqlite::FieldType;
using engine::sqlite::TableSpec;
using testsupport::kundenRows;
using testsupport::kundenTable;
using testsupport::termineTable;

// An import between real database files in a temporary folder, through the window's fields as
// the run reads them (the rig's checks included: the source stays byte-identical, no password
// reaches the log).
class FileImportTest : public testing::Test {
protected:
    FileImportTest() { rig.useFiles(source, target); }

    void runImport() { rig.run(); }

    std::vector<std::string> lines() const { return view.lines(); }

    testsupport::TempDir dir;
    std::string source = dir.file("quelle.vdb");
    std::string target = dir.file("ziel.vdb");
    testsupport::MemoryLogView view;
    testsupport::ImportRig rig{view};
    testsupport::FakeImportForm& form = rig.form;
    testsupport::CountingYield& yield = rig.yield;
    testsupport::FakeFileProbe& files = rig.files;
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
