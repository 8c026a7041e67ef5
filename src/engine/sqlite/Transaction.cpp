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

}  // namespace engine::sqlite
