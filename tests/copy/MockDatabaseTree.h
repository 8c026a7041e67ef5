#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "MockEngine.h"

namespace copytest {

struct MockTableSpec {
    MockTableSpec(std::string tableName, std::vector<std::string> indexNames = {})
        : name(std::move(tableName)), indexes(std::move(indexNames)) {}

    std::string name;  // also the display name
    std::vector<std::string> indexes;
};

// A mock database of empty tables without fields. The test configures the raw objects, then
// hands the database over with take(); the tree then lives exactly as long as its holders.
class MockDatabaseTree {
public:
    explicit MockDatabaseTree(const std::vector<MockTableSpec>& tables);

    std::shared_ptr<engine::Database> take() { return std::move(m_owned); }

    testsupport::MockDatabase& database() { return *m_database; }
    testsupport::MockTable& table(std::size_t position) { return *m_tables.at(position); }
    testsupport::MockIndex& index(std::size_t table, std::size_t position) {
        return *m_indexes.at(table).at(position);
    }

private:
    std::shared_ptr<testsupport::MockTable> makeTable(const MockTableSpec& described);

    std::shared_ptr<testsupport::MockDatabase> m_owned;
    testsupport::MockDatabase* m_database;
    std::vector<testsupport::MockTable*> m_tables;
    std::vector<std::vector<testsupport::MockIndex*>> m_indexes;
};

}  // namespace copytest
