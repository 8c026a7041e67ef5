#include "engine/sqlite/FileHeader.h"

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/Utf8Path.h"
#include "engine/sqlite/Catalog.h"
#include "engine/sqlite/FileInUse.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/ReadOnlyFile.h"

namespace engine::sqlite {

namespace {

constexpr std::size_t kHeaderSize = 100;
constexpr char kMagic[] = "SQLite format 3";  // with its NUL: 16 bytes
constexpr std::size_t kWriteVersion = 18;     // 1: rollback journal, 2: WAL
constexpr std::size_t kReadVersion = 19;
constexpr std::size_t kUserVersion = 60;
constexpr std::size_t kApplicationId = 68;

std::int32_t bigEndian(const std::array<unsigned char, kHeaderSize>& header, std::size_t at) {
    return static_cast<std::int32_t>(std::uint32_t{header[at]} << 24 |
                                     std::uint32_t{header[at + 1]} << 16 |
                                     std::uint32_t{header[at + 2]} << 8 | header[at + 3]);
}

constexpr unsigned char kRollbackJournal = 1;
constexpr unsigned char kWriteAheadLog = 2;

bool headerMatches(const std::array<unsigned char, kHeaderSize>& header) {
    const unsigned char mode = header[kWriteVersion];
    return std::memcmp(header.data(), kMagic, sizeof kMagic) == 0 &&
           (mode == kRollbackJournal || mode == kWriteAheadLog) && header[kReadVersion] == mode &&
           bigEndian(header, kUserVersion) == Catalog::kFormatVersion &&
           bigEndian(header, kApplicationId) == Catalog::kApplicationId;
}

// The file's first bytes, or nothing when it is shorter than a header. Read through SQLite's
// own file layer (see ReadOnlyFile), and closed again before anyone asks whether another
// process holds the file.
std::optional<std::array<unsigned char, kHeaderSize>> readHeader(const std::string& path) {
    const std::unique_ptr<const char, decltype(&sqlite3_free_filename)> name(
        sqlite3_create_filename(path.c_str(), "", "", 0, nullptr), &sqlite3_free_filename);
    if (!name) throw Error(codes::FileNotFound, messages::fileNotFound(path));
    const ReadOnlyFile file(*sqlite3_vfs_find(nullptr), name.get());
    if (!file.isOpen()) throw Error(codes::FileNotFound, messages::fileNotFound(path));
    std::array<unsigned char, kHeaderSize> header{};
    if (!file.read(header.data(), kHeaderSize, 0)) return std::nullopt;
    return header;
}

}  // namespace

void checkFileHeader(const std::string& path, bool readOnly) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(pathFromUtf8(path), error)) {
        throw Error(codes::FileNotFound, messages::fileNotFound(path));
    }
    const auto header = readHeader(path);
    if (!header || !headerMatches(*header)) {
        throw Error(codes::NotADatabase, messages::notADatabase(path));
    }
    if (readOnly && (*header)[kWriteVersion] == kWriteAheadLog) {
        // A bulk load in progress keeps the file in write-ahead mode too; only a file that no
        // process holds open was left unfinished.
        if (isOpenByLiveProcess(path)) throw Error(codes::FileLocked, messages::fileLocked(path));
        throw Error(codes::NeedsRecovery, messages::needsRecovery(path));
    }
}

}  // namespace engine::sqlite
