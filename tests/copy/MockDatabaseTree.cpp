#include "MockDatabaseTree.h"

#include "engine/Error.h"
#include "engine/ErrorCodes.h"

namespace copytest {

using testing::_;
using testing::Return;
using namespace testsupport;

MockDatabaseTree::MockDatabaseTree(const std::vector<MockTableSpec>& specs) {
    auto database = makeMock<MockDatabase>();
    auto tables = makeMock<MockTables>();
    std::vector<std::shared_ptr<engine::Table>> owned;
    for (const MockTableSpec& described : specs) owned.push_back(makeTable(described));

    ON_CALL(*tables, Count).WillByDefault(Return(static_cast<std::int32_t>(owned.size())));
    ON_CALL(*tables, ItemAt).WillByDefault([owned](std::int32_t position) {
        return owned.at(static_cast<std::size_t>(position));
    });
    ON_CALL(*tables, Item).WillByDefault([owned, specs](const engine::Variant& key) {
        for (std::size_t i = 0; i < specs.size(); ++i) {
            if (specs[i].name == key.text()) return owned[i];
        }
        throw engine::Error(engine::codes::NoSuchTable, "Tabelle nicht gefunden");
    });
    ON_CALL(*database, Tables).WillByDefault(Return(tables));
    m_database = database.get();
    m_owned = std::move(database);
}

std::shared_ptr<MockTable> MockDatabaseTree::makeTable(const MockTableSpec& described) {
    auto table = makeMock<MockTable>();
    auto fields = makeMock<MockFields>();
    auto indexes = makeMock<MockIndexes>();
    std::vector<std::shared_ptr<engine::Index>> owned;
    m_indexes.emplace_back();
    for (const std::string& name : described.indexes) {
        auto index = makeMock<MockIndex>();
        ON_CALL(*index, Name).WillByDefault(Return(name));
        ON_CALL(*index, DisplayName).WillByDefault(Return(name));
        m_indexes.back().push_back(index.get());
        owned.push_back(index);
    }
    ON_CALL(*indexes, Count).WillByDefault(Return(static_cast<std::int32_t>(owned.size())));
    ON_CALL(*indexes, ItemAt).WillByDefault([owned](std::int32_t position) {
        return owned.at(static_cast<std::size_t>(position));
    });
    ON_CALL(*fields, Count).WillByDefault(Return(0));
    ON_CALL(*table, Name).WillByDefault(Return(described.name));
    ON_CALL(*table, DisplayName).WillByDefault(Return(described.name));
    ON_CALL(*table, Fields).WillByDefault(Return(fields));
    ON_CALL(*table, Indexes).WillByDefault(Return(indexes));
    ON_CALL(*table, Eof).WillByDefault(Return(true));
    m_tables.push_back(table.get());
    return table;
}

}  // namespace copytest
