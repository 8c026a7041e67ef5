#include "StoredRecords.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "engine/sqlite/SqliteEngine.h"

namespace reliability {

namespace {

constexpr std::int32_t kTargetFlags = 0x30010;

std::vector<testsupport::Row> recordsOf(engine::Table& table) {
    auto fields = table.Fields();
    std::vector<testsupport::Row> rows;
    for (table.MoveFirst(32); !table.Eof(); table.Move(1, 32)) {
        testsupport::Row row;
        for (std::int32_t i = 0; i < fields->Count(); ++i)
            row.push_back(fields->ItemAt(i)->Value());
        rows.push_back(std::move(row));
    }
    return rows;
}

// A key field's value as text, to find the sample record that a copied one must equal.
std::string keyOf(const engine::Variant& value) {
    switch (value.type()) {
        case engine::Variant::Type::Text:
            return "T:" + value.text();
        case engine::Variant::Type::Int16:
            return "I:" + std::to_string(value.int16());
        case engine::Variant::Type::Int32:
            return "I:" + std::to_string(value.int32());
        default:
            return "?";
    }
}

}  // namespace

std::map<std::string, std::vector<testsupport::Row>> storedRecords(const std::string& path) {
    auto database = engine::sqlite::createServer()->OpenDatabase(
        path, testsupport::kUser, testsupport::kPassword, kTargetFlags);
    auto tables = database->Tables();
    std::map<std::string, std::vector<testsupport::Row>> records;
    for (std::int32_t t = 0; t < tables->Count(); ++t) {
        auto table = tables->ItemAt(t);
        records[table->Name()] = recordsOf(*table);
    }
    return records;
}

void expectWholeRecords(const std::vector<testsupport::Row>& copied,
                        const std::vector<testsupport::Row>& sample) {
    std::map<std::string, const testsupport::Row*> byKey;
    for (const testsupport::Row& row : sample) byKey[keyOf(row.at(0))] = &row;
    std::set<std::string> seen;
    for (const testsupport::Row& row : copied) {
        const std::string key = keyOf(row.at(0));
        const auto found = byKey.find(key);
        ASSERT_NE(found, byKey.end()) << "a record that the source does not hold: " << key;
        ASSERT_EQ(row, *found->second) << "a broken record: " << key;
        ASSERT_TRUE(seen.insert(key).second) << "a record stored twice: " << key;
    }
}

}  // namespace reliability
