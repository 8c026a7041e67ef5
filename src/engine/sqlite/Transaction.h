#pragma once

#include <string>

namespace engine::sqlite {

class Connection;

// One bracket of changes that is undone when the object goes away without commit(): either a
// write transaction (BEGIN IMMEDIATE ... COMMIT) or a named savepoint, which nests inside an open
// transaction and starts one otherwise. SQLite may already have rolled the whole transaction
// back after a failed step (disk full, write error); then there is nothing left to undo. The
// destructor never throws, so that a caller passes on the error that made a step fail.
class Transaction {
public:
    // Begins a write transaction. Throws engine::Error (FileLocked while another connection
    // writes).
    explicit Transaction(Connection& connection);
    // Sets the savepoint savepointName. Throws engine::Error.
    Transaction(Connection& connection, std::string savepointName);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Stores every change made since the constructor. Throws engine::Error on failure, after
    // which the destructor rolls back.
    void commit();

private:
    Connection& m_connection;
    std::string m_savepoint;  // empty for a write transaction
    bool m_open = true;
};

}  // namespace engine::sqlite
