#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <memory>
#include <string>

#include "FaultVfs.h"
#include "TempDir.h"
#include "engine/sqlite/KeepAlive.h"
#include "engine/sqlite/ReadAhead.h"

namespace {

using engine::sqlite::ReadAhead;

// A read of a block that the read-ahead is still reading waits for that read, not inside the
// system where the caller cannot be kept alive: while the disk holds the block back, the
// caller's hook runs, and the read goes on once the block has come.
TEST(ReadAheadTest, ReadOfABlockUnderWayKeepsTheCallerAliveUntilItCame) {
    testsupport::TempDir dir;
    const std::string path = dir.file("quelle.vdb");
    std::ofstream(path, std::ios::binary) << std::string(3 * ReadAhead::kBlockBytes, 'x');
    testsupport::FaultVfs vfs;
    vfs.holdReadsFrom(ReadAhead::kBlockBytes);
    int hookCalls = 0;
    engine::sqlite::KeepAlive keepAlive([&] {
        ++hookCalls;
        vfs.releaseReads();
    });
    const std::unique_ptr<const char, void (*)(const char*)> name(
        sqlite3_create_filename(path.c_str(), "", "", 0, nullptr), &sqlite3_free_filename);
    ReadAhead readAhead(*sqlite3_vfs_find(nullptr), name.get());

    readAhead.beforeRead(0, keepAlive);  // asks for the blocks after the first
    readAhead.beforeRead(ReadAhead::kBlockBytes, keepAlive);
    EXPECT_GE(hookCalls, 1);
    vfs.releaseReads();  // lets the read-ahead's thread end, whatever happened
}

}  // namespace
