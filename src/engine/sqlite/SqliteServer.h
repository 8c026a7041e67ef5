#pragma once

#include <memory>
#include <string>

#include "engine/DbServer.h"
#include "engine/sqlite/DatabaseState.h"
#include "engine/sqlite/KeepAlive.h"
#include "engine/sqlite/VerifiedLogins.h"
#include "engine/sqlite/WritingDatabases.h"

namespace engine::sqlite {

// Opens database files. Of the flags only open_flags::ReadOnly (0x20) has a meaning: the
// file is opened with SQLite's read-only mode and stays byte-identical; every write then
// raises ReadOnly. Every other bit (e.g. 0x10, 0x10000, 0x20000) is accepted and ignored.
class SqliteServer : public DbServer {
public:
    // keepAlive serves every database this server opens.
    explicit SqliteServer(std::shared_ptr<KeepAlive> keepAlive);

    // Throws engine::Error: FileNotFound (no file, a folder, an empty path), NotADatabase
    // (foreign, damaged, truncated or empty file), AccessDenied (unknown user, matched
    // case-insensitively, or wrong password: one message for both), FileLocked (another
    // connection is writing the file; reported after a short wait), InvalidArgument while the
    // keep-alive hook runs.
    std::shared_ptr<Database> OpenDatabase(const std::string& path, const std::string& user,
                                           const std::string& password,
                                           std::int32_t flags) override;

    // Opens path read-only as it lies on disk: a file left mid-write is read without its
    // unfinished writes and is not recovered. Throws as OpenDatabase does, except that such a
    // file raises no NeedsRecovery.
    std::shared_ptr<Database> OpenAsStored(const std::string& path, const std::string& user,
                                           const std::string& password);

private:
    std::shared_ptr<Database> open(const std::string& path, const std::string& user,
                                   const std::string& password, DatabaseState::Access access);

    std::shared_ptr<KeepAlive> m_keepAlive;
    std::shared_ptr<WritingDatabases> m_writing = std::make_shared<WritingDatabases>();
    VerifiedLogins m_logins;
};

}  // namespace engine::sqlite
