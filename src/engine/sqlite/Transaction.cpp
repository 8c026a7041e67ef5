#include "engine/sqlite/Transaction.h"

#include "engine/sqlite/Connection.h"

namespace engine::sqlite {

Transaction::Transaction(Connection& connection) : m_connection(connection) {
    m_connection.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (!m_open || m_connection.autocommit()) return;
    try {
        m_connection.exec("ROLLBACK");
    } catch (...) {  // nothing more can be done; SQLite rolls back when the file is closed
    }
}

void Transaction::commit() {
    m_connection.exec("COMMIT");
    m_open = false;
}

void rollBackSavepoint(Connection& connection, const std::string& name) noexcept {
    if (connection.autocommit()) return;
    try {
        connection.exec("ROLLBACK TO " + name + "; RELEASE " + name);
    } catch (...) {  // the transaction is rolled back at the latest when the file is closed
    }
}

}  // namespace engine::sqlite
