#include "engine/sqlite/Transaction.h"

#include "engine/sqlite/Connection.h"

namespace engine::sqlite {

Transaction::Transaction(Connection& connection) : m_connection(connection) {
    m_connection.exec("BEGIN IMMEDIATE");
}

Transaction::Transaction(Connection& connection, std::string savepointName)
    : m_connection(connection), m_savepoint(std::move(savepointName)) {
    m_connection.exec("SAVEPOINT " + m_savepoint);
}

Transaction::~Transaction() {
    if (!m_open || m_connection.autocommit()) return;
    try {
        m_connection.exec(m_savepoint.empty()
                              ? std::string("ROLLBACK")
                              : "ROLLBACK TO " + m_savepoint + "; RELEASE " + m_savepoint);
    } catch (...) {  // the transaction is rolled back at the latest when the file is closed
    }
}

void Transaction::commit() {
    m_connection.exec(m_savepoint.empty() ? std::string("COMMIT") : "RELEASE " + m_savepoint);
    m_open = false;
}

}  // namespace engine::sqlite
