#include "engine/sqlite/SqliteServer.h"

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/DatabaseState.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/NameFold.h"
#include "engine/sqlite/SqliteDatabase.h"

namespace engine::sqlite {

namespace {

bool authenticated(const DatabaseState& database, const std::string& user,
                   const std::string& password, VerifiedLogins& logins) {
    const std::string wanted = foldName(user);
    for (const UserRecord& record : database.users()) {
        if (foldName(record.name) == wanted) return logins.verify(record.passwordHash, password);
    }
    return false;
}

}  // namespace

SqliteServer::SqliteServer(std::shared_ptr<KeepAlive> keepAlive)
    : m_keepAlive(std::move(keepAlive)) {}

std::shared_ptr<Database> SqliteServer::OpenDatabase(const std::string& path,
                                                     const std::string& user,
                                                     const std::string& password,
                                                     std::int32_t flags) {
    const bool readOnly = (flags & open_flags::ReadOnly) != 0;
    return open(path, user, password,
                readOnly ? DatabaseState::Access::ReadOnly : DatabaseState::Access::Writable);
}

std::shared_ptr<Database> SqliteServer::OpenAsStored(const std::string& path,
                                                     const std::string& user,
                                                     const std::string& password) {
    return open(path, user, password, DatabaseState::Access::AsStored);
}

std::shared_ptr<Database> SqliteServer::open(const std::string& path, const std::string& user,
                                             const std::string& password,
                                             DatabaseState::Access access) {
    m_keepAlive->requireIdle();
    // Checking a password takes long by design; the caller stays alive meanwhile.
    std::shared_ptr<DatabaseState> state;
    bool admitted = false;
    m_keepAlive->runAside([&] {
        state = std::make_shared<DatabaseState>(path, access, m_keepAlive, m_writing);
        admitted = authenticated(*state, user, password, m_logins);
    });
    if (!admitted) throw Error(codes::AccessDenied, messages::accessDenied());
    if (access == DatabaseState::Access::Writable) m_writing->add(state);
    return std::make_shared<SqliteDatabase>(std::move(state));
}

}  // namespace engine::sqlite
