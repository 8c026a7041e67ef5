#include "SampleFiles.h"

#include <filesystem>
#include <map>
#include <utility>

#include "ImportRig.h"
#include "TempDir.h"
#include "engine/Utf8Path.h"

namespace testsupport {

namespace fs = std::filesystem;
using engine::Variant;
using engine::sqlite::FieldType;

namespace {

// Where the sample files live until the test program ends.
const TempDir& sampleDir() {
    static const TempDir dir;
    return dir;
}

void copyFile(const std::string& from, const std::string& to) {
    fs::copy_file(engine::pathFromUtf8(from), engine::pathFromUtf8(to),
                  fs::copy_options::overwrite_existing);
}

}  // namespace

engine::sqlite::TableSpec kundenTable(std::int32_t nameSize) {
    return {"Kunden",
            "",
            {{"ID", FieldType::Int32}, {"Name", FieldType::Text, nameSize}},
            {{"ID", "", {"ID"}, true}}};
}

engine::sqlite::TableSpec termineTable() {
    return {"Termine", "", {{"Datum", FieldType::Text, 10}, {"Kunde", FieldType::Int32}}, {}};
}

std::vector<Row> kundenRows(int count, int first) {
    std::vector<Row> rows;
    for (int id = first; id < first + count; ++id) {
        rows.push_back({Variant(id), Variant("Kunde " + std::to_string(id))});
    }
    return rows;
}

std::vector<Row> termineRows(int count) {
    std::vector<Row> rows;
    for (int i = 0; i < count; ++i) {
        rows.push_back({Variant("T-" + std::to_string(i)), Variant(i)});
    }
    return rows;
}

void copyGoodSource(const std::string& to) {
    static const std::string made = [] {
        const std::string path = sampleDir().file("gut.vdb");
        createVdb(path, {kundenTable(), termineTable()});
        appendRows(path, "Kunden", kundenRows(3));
        appendRows(path, "Termine", termineRows(2));
        return path;
    }();
    copyFile(made, to);
}

void copyEmptyTarget(const std::string& to) {
    static const std::string made = [] {
        const std::string path = sampleDir().file("ziel-leer.vdb");
        engine::sqlite::Schema schema;
        schema.users.push_back({kTargetUser, kTargetPassword});
        schema.tables = {kundenTable(), termineTable()};
        engine::sqlite::createDatabase(path, schema);
        return path;
    }();
    copyFile(made, to);
}

void copyLargeSource(const std::string& to, int kundenCount, int terminCount) {
    static std::map<std::pair<int, int>, std::string> made;
    auto& path = made[{kundenCount, terminCount}];
    if (path.empty()) {
        const std::string file = sampleDir().file("gross-" + std::to_string(kundenCount) + "-" +
                                                  std::to_string(terminCount) + ".vdb");
        createVdb(file, {kundenTable(), termineTable()});
        appendRows(file, "Kunden", kundenRows(kundenCount));
        appendRows(file, "Termine", termineRows(terminCount));
        path = file;
    }
    copyFile(path, to);
}

}  // namespace testsupport
