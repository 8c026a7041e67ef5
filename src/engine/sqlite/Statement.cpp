#include "engine/sqlite/Statement.h"

#include <sqlite3.h>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/ErrorMapping.h"
#include "engine/sqlite/Messages.h"

namespace engine::sqlite {

namespace {

Statement::ColumnType columnTypeOf(int sqliteType) noexcept {
    static_assert(SQLITE_INTEGER == 1 && SQLITE_FLOAT == 2 && SQLITE_TEXT == 3 &&
                  SQLITE_BLOB == 4 && SQLITE_NULL == 5);
    return static_cast<Statement::ColumnType>(sqliteType - 1);
}

std::string_view textOf(const unsigned char* text, int bytes) noexcept {
    if (!text) return {};
    return {reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes)};
}

}  // namespace

void Statement::Finalizer::operator()(sqlite3_stmt* stmt) const noexcept {
    sqlite3_finalize(stmt);
}

Statement::Statement(Connection& connection, const std::string& sql) : m_db(connection.handle()) {
    if (!m_db) throw Error(codes::InvalidArgument, messages::databaseClosed());
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, sql.c_str(), static_cast<int>(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &raw, nullptr);
    m_stmt.reset(raw);
    if (rc != SQLITE_OK) throwSqlite(rc, m_db, {});
}

void Statement::bindNull(int parameter) {
    const int rc = sqlite3_bind_null(m_stmt.get(), parameter);
    if (rc != SQLITE_OK) throwSqlite(rc, m_db, {});
}

void Statement::bindInt(int parameter, std::int64_t value) {
    const int rc = sqlite3_bind_int64(m_stmt.get(), parameter, value);
    if (rc != SQLITE_OK) throwSqlite(rc, m_db, {});
}

void Statement::bindText(int parameter, std::string_view value) {
    const int rc = sqlite3_bind_text64(m_stmt.get(), parameter, value.data(), value.size(),
                                       SQLITE_TRANSIENT, SQLITE_UTF8);
    if (rc != SQLITE_OK) throwSqlite(rc, m_db, {});
}

void Statement::bindTextInPlace(int parameter, std::string_view value) {
    const int rc = sqlite3_bind_text64(m_stmt.get(), parameter, value.data(), value.size(),
                                       SQLITE_STATIC, SQLITE_UTF8);
    if (rc != SQLITE_OK) throwSqlite(rc, m_db, {});
}

bool Statement::step() {
    const int rc = sqlite3_step(m_stmt.get());
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(m_stmt.get());
    throwSqlite(rc, m_db, {});
}

void Statement::run() {
    const int rc = sqlite3_step(m_stmt.get());
    const int resetRc = sqlite3_reset(m_stmt.get());
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) throwSqlite(resetRc ? resetRc : rc, m_db, {});
}

void Statement::reset() noexcept {
    sqlite3_reset(m_stmt.get());
}

Statement::ColumnType Statement::Value::type() const noexcept {
    return columnTypeOf(sqlite3_value_type(m_value));
}

std::int64_t Statement::Value::integer() const noexcept {
    return sqlite3_value_int64(m_value);
}

std::string_view Statement::Value::text() const noexcept {
    const unsigned char* text = sqlite3_value_text(m_value);
    return textOf(text, sqlite3_value_bytes(m_value));
}

Statement::Value Statement::columnValue(int column) const noexcept {
    return Value(sqlite3_column_value(m_stmt.get(), column));
}

Statement::ColumnType Statement::columnType(int column) const {
    return columnTypeOf(sqlite3_column_type(m_stmt.get(), column));
}

std::int64_t Statement::columnInt(int column) const {
    return sqlite3_column_int64(m_stmt.get(), column);
}

std::string Statement::columnText(int column) const {
    return std::string(columnTextView(column));
}

std::string_view Statement::columnTextView(int column) const {
    const unsigned char* text = sqlite3_column_text(m_stmt.get(), column);
    return textOf(text, sqlite3_column_bytes(m_stmt.get(), column));
}

}  // namespace engine::sqlite
