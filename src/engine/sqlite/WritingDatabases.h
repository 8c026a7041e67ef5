#pragma once

#include <memory>
#include <vector>

namespace engine::sqlite {

class DatabaseState;

// The writable databases one server has opened, so that a read reaching the end of a table
// can settle every bulk load of the server (see the head of engine/DbServer.h).
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
