#pragma once

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

}  // namespace engine::sqlite
