#include "engine/sqlite/DatabaseFileWriter.h"

#include <sqlite3.h>

#include <filesystem>
#include <random>
#include <system_error>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/Utf8Path.h"
#include "engine/sqlite/Catalog.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/FilePermissions.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/NoReplaceRename.h"
#include "engine/sqlite/Transaction.h"

namespace engine::sqlite {

namespace {

namespace fs = std::filesystem;

bool somethingAt(const fs::path& path) {
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found;
}

fs::path temporaryName(const fs::path& target) {
    std::random_device seed;
    return target.parent_path() /
           pathFromUtf8("." + utf8Of(target.filename()) + ".tmp-" + std::to_string(seed()));
}

void removeQuietly(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
    fs::remove(fs::path(path) += "-journal", ignored);
}

void buildFile(const fs::path& file, const CatalogData& data) {
    Connection connection(utf8Of(file), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    // Large pages: a copy of millions of records reads and writes a quarter of the pages it
    // would at SQLite's default size.
    connection.exec("PRAGMA page_size=16384; PRAGMA journal_mode=DELETE");
    Transaction transaction(connection);
    Catalog::write(connection, data);
    transaction.commit();
}

void moveInPlace(const fs::path& from, const std::string& to) {
    const std::error_code error = renameWithoutReplacing(from, pathFromUtf8(to));
    if (!error) return;
    if (error == std::errc::file_exists) throw Error(codes::FileExists, messages::fileExists(to));
    throw Error(codes::CannotCreate, messages::cannotCreate(to, error.message()));
}

}  // namespace

void writeDatabaseFile(const std::string& path, const CatalogData& data, const std::string& model) {
    if (somethingAt(pathFromUtf8(path))) throw Error(codes::FileExists, messages::fileExists(path));
    std::error_code error;
    const fs::path target = fs::absolute(pathFromUtf8(path), error);
    if (path.empty() || error || !fs::is_directory(target.parent_path(), error)) {
        throw Error(codes::CannotCreate,
                    messages::cannotCreate(path, "Der Ordner ist nicht vorhanden."));
    }
    const fs::path temporary = temporaryName(target);
    try {
        buildFile(temporary, data);
        if (!model.empty()) copyPermissions(pathFromUtf8(model), temporary);
        moveInPlace(temporary, path);
    } catch (const Error& failure) {
        removeQuietly(temporary);
        if (failure.code() == codes::FileExists || failure.code() == codes::CannotCreate) throw;
        throw Error(codes::CannotCreate, messages::cannotCreate(path, failure.description()));
    }
    removeQuietly(temporary);
}

}  // namespace engine::sqlite
