#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;

namespace engine::sqlite {

class Connection;

// One prepared statement. Parameters are numbered from 1, result columns from 0.
// Every failing call throws engine::Error mapped from the SQLite result.
class Statement {
public:
    Statement(Connection& connection, const std::string& sql);

    void bindNull(int parameter);
    void bindInt(int parameter, std::int64_t value);
    void bindText(int parameter, std::string_view value);
    // Binds text without copying it: value must stay unchanged until the statement has run.
    void bindTextInPlace(int parameter, std::string_view value);

    // Advances to the next row; false when there is none (the statement is done).
    bool step();
    // Runs a statement that returns no rows, then resets it for the next use.
    void run();
    // Makes the statement ready to run again; bindings stay.
    void reset() noexcept;

    enum class ColumnType { Integer, Float, Text, Blob, Null };  // SQLite's order, from 1

    // One value of the current row, found once for reading its type and its contents; valid
    // until the next step or reset.
    class Value {
    public:
        ColumnType type() const noexcept;
        std::int64_t integer() const noexcept;
        std::string_view text() const noexcept;

    private:
        friend class Statement;
        explicit Value(sqlite3_value* value) noexcept : m_value(value) {}
        sqlite3_value* m_value;
    };
    Value columnValue(int column) const noexcept;

    ColumnType columnType(int column) const;
    std::int64_t columnInt(int column) const;
    std::string columnText(int column) const;
    std::string_view columnTextView(int column) const;  // valid until the next step/reset

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* stmt) const noexcept;
    };
    std::unique_ptr<sqlite3_stmt, Finalizer> m_stmt;
    sqlite3* m_db;
};

}  // namespace engine::sqlite
