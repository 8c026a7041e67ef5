#pragma once

#include <memory>
#include <vector>

namespace engine::sqlite {

class DatabaseState;

// The writable databases one server has opened, so that a read reaching the end of a table
// can settle every bulk load of the server: a failure to store the last records of a copied
// table then comes out while that table's copy ends, not at some later step.
class WritingDatabases {
public:
    // Remembers database until it is released.
    void add(const std::shared_ptr<DatabaseState>& database);

    // DatabaseState::settleWrites for each database still open; throws the first failure.
    void settleAll();

private:
    std::vector<std::weak_ptr<DatabaseState>> m_databases;
};

}  // namespace engine::sqlite
