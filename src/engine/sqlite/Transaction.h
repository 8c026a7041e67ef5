#pragma once

#include <string>

namespace engine::sqlite {

class Connection;

// A write transaction (BEGIN IMMEDIATE) that is rolled back when the object goes away
// without commit(). The destructor never throws.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Stores every change made since the constructor. Throws engine::Error on failure,
    // after which the destructor rolls back.
    void commit();

private:
    Connection& m_connection;
    bool m_open = true;
};

// Undoes and ends the savepoint name after a failed step. SQLite may already have rolled back
// the whole transaction (disk full, write error); then there is nothing left to undo. Never
// throws, so that the caller passes on the error that made the step fail.
void rollBackSavepoint(Connection& connection, const std::string& name) noexcept;

}  // namespace engine::sqlite
