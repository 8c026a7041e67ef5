#pragma once

#include <memory>
#include <string>

struct sqlite3;

namespace engine::sqlite {

// Owns one open SQLite connection. Closing is deferred by SQLite until the last statement
// prepared on it has been finalized, so statements may safely outlive this object.
class Connection {
public:
    // Opens the file with sqlite3_open_v2 flags and applies the defences for untrusted files.
    // vfs names the file system layer, nullptr SQLite's own. Throws engine::Error mapped from
    // the SQLite result (see ErrorMapping.h).
    Connection(const std::string& path, int openFlags, const char* vfs = nullptr);

    sqlite3* handle() const noexcept { return m_db.get(); }

    // Runs SQL without results (one or more statements). Throws engine::Error on failure.
    void exec(const std::string& sql);

    // Resets every statement of this connection, releasing the read locks they hold, and
    // closes it. Later calls of handle() return nullptr. Never throws.
    void close() noexcept;

    // True while no transaction is open (SQLite's autocommit state).
    bool autocommit() const noexcept;

    // How many records the last statement that ended inserted, changed or deleted, also one
    // that failed without taking its changes back.
    int changes() const noexcept;

    // Whether a statement of this connection is under way: stepped, not yet done nor reset.
    bool anyStatementBusy() const noexcept;

    // The most parameters one statement may have.
    int parameterLimit() const noexcept;

private:
    struct Closer {
        void operator()(sqlite3* db) const noexcept;
    };
    std::unique_ptr<sqlite3, Closer> m_db;
};

}  // namespace engine::sqlite
