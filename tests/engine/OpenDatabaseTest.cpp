#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "EngineTestFiles.h"
#include "FileBytes.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Index.h"
#include "engine/Indexes.h"
#include "engine/Table.h"
#include "engine/Tables.h"

namespace {

namespace codes = engine::codes;
using engine::Variant;
using enginetest::codeOf;
using enginetest::openDb;

class OpenDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::createVdb(m_path, enginetest::standardTables());
        testsupport::appendRows(m_path, "Kunden",
                                {{std::int32_t{1}, "Anna", true, std::int16_t{3}},
                                 {std::int32_t{2}, "Bernd", false, Variant()}});
    }

    testsupport::TempDir m_dir;
    std::string m_path = m_dir.file("daten.vdb");
};

TEST_F(OpenDatabaseTest, MissingFileFolderOrEmptyPathIsFileNotFound) {
    const std::string missing = m_dir.file("fehlt.vdb");
    try {
        openDb(missing);
        FAIL() << "no error";
    } catch (const engine::Error& error) {
        EXPECT_EQ(error.code(), codes::FileNotFound);
        EXPECT_EQ(error.description(), "Die Datei „" + missing + "“ wurde nicht gefunden.");
    }
    EXPECT_EQ(codeOf([&] { openDb(m_dir.path().string()); }), codes::FileNotFound);
    EXPECT_EQ(codeOf([&] { openDb(""); }), codes::FileNotFound);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(OpenDatabaseTest, WrongUserAndWrongPasswordGiveTheSameRefusal) {
    auto server = engine::sqlite::createServer();
    std::string messages[2];
    const std::pair<std::string, std::string> attempts[] = {{"NIEMAND", testsupport::kPassword},
                                                            {testsupport::kUser, "falsch"}};
    for (int i = 0; i < 2; ++i) {
        try {
            server->OpenDatabase(m_path, attempts[i].first, attempts[i].second, 0x30010);
            FAIL() << "opened with " << attempts[i].first;
        } catch (const engine::Error& error) {
            EXPECT_EQ(error.code(), codes::AccessDenied);
            messages[i] = error.description();
        }
    }
    EXPECT_EQ(messages[0], "Benutzername oder Kennwort ist falsch.");
    EXPECT_EQ(messages[0], messages[1]);
}

TEST_F(OpenDatabaseTest, UserNameMatchesCaseInsensitivelyPasswordDoesNot) {
    auto server = engine::sqlite::createServer();
    EXPECT_NE(server->OpenDatabase(m_path, "admin", testsupport::kPassword, 0x30010), nullptr);
    EXPECT_EQ(codeOf([&] { server->OpenDatabase(m_path, "ADMIN", "GEHEIM", 0x30010); }),
              codes::AccessDenied);
}

// The server remembers verified logins; that must never let a password through that the
// stored hash of another file does not match.
TEST_F(OpenDatabaseTest, ALoginVerifiedForOneFileOpensNoOtherWithADifferentPassword) {
    const std::string other = m_dir.file("andere.vdb");
    engine::sqlite::createDatabase(
        other, {{{testsupport::kUser, "anderes"}}, enginetest::standardTables()});
    auto server = engine::sqlite::createServer();
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_NE(server->OpenDatabase(m_path, testsupport::kUser, testsupport::kPassword, 0x30030),
                  nullptr);
        EXPECT_EQ(codeOf([&] {
                      server->OpenDatabase(other, testsupport::kUser, testsupport::kPassword,
                                           0x30030);
                  }),
                  codes::AccessDenied);
        EXPECT_NE(server->OpenDatabase(other, testsupport::kUser, "anderes", 0x30030), nullptr);
    }
}

TEST_F(OpenDatabaseTest, ReadOnlyOpenLeavesFileByteIdenticalAndRefusesWrites) {
    const std::string before = testsupport::fileBytes(m_path);
    {
        auto database = openDb(m_path, 0x30030);
        enginetest::readAll(*database);
        auto kunden = database->Tables()->Item(Variant("Kunden"));
        EXPECT_EQ(codeOf([&] { kunden->AddNew(kunden->NewRecordBuffer(0)); }), codes::ReadOnly);
        EXPECT_EQ(codeOf([&] { kunden->Fields()->ItemAt(0)->SetValue(std::int32_t{5}); }),
                  codes::ReadOnly);
        EXPECT_EQ(codeOf([&] { kunden->Update(32); }), codes::ReadOnly);
        EXPECT_EQ(codeOf([&] { kunden->DeleteAllRecords(); }), codes::ReadOnly);
        EXPECT_EQ(codeOf([&] { kunden->Indexes()->ItemAt(0)->Rebuild(); }), codes::ReadOnly);
        EXPECT_EQ(codeOf([&] { database->PrepareKeyStorage(false); }), codes::ReadOnly);
        EXPECT_EQ(codeOf([&] { database->KeyStorageAccess(true); }), codes::ReadOnly);
        EXPECT_EQ(kunden->RecordCount(), 2);
    }
    EXPECT_EQ(testsupport::fileBytes(m_path), before);
    EXPECT_FALSE(std::filesystem::exists(m_path + "-journal"));
}

// Another connection that holds the write lock, as a second process would.
class LockHolder {
public:
    LockHolder(const std::string& path, const char* begin) {
        sqlite3_open(path.c_str(), &m_db);
        m_locked = sqlite3_exec(m_db, begin, nullptr, nullptr, nullptr) == SQLITE_OK &&
                   sqlite3_exec(m_db, "UPDATE vdb_users SET name = name", nullptr, nullptr,
                                nullptr) == SQLITE_OK;
    }
    bool locked() const { return m_locked; }
    ~LockHolder() {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(m_db);
    }

private:
    sqlite3* m_db = nullptr;
    bool m_locked = false;
};

TEST_F(OpenDatabaseTest, FileWrittenByAnotherConnectionIsFileLocked) {
    {
        LockHolder writer(m_path, "BEGIN IMMEDIATE");
        ASSERT_TRUE(writer.locked());
        EXPECT_EQ(codeOf([&] { openDb(m_path); }), codes::FileLocked);
        auto reader = openDb(m_path, 0x30030);  // a reader may still look at the old state
        EXPECT_EQ(reader->Tables()->Item(Variant("Kunden"))->RecordCount(), 2);
    }
    {
        LockHolder writer(m_path, "BEGIN EXCLUSIVE");
        ASSERT_TRUE(writer.locked());
        EXPECT_EQ(codeOf([&] { openDb(m_path, 0x30030); }), codes::FileLocked);
    }
    EXPECT_NE(openDb(m_path), nullptr);
}

TEST_F(OpenDatabaseTest, LockTakenAfterOpeningMakesTheWriteFail) {
    auto database = openDb(m_path);
    auto table = database->Tables()->Item(Variant("Leer"));
    LockHolder writer(m_path, "BEGIN IMMEDIATE");
    ASSERT_TRUE(writer.locked());
    table->AddNew(table->NewRecordBuffer(0));
    EXPECT_EQ(codeOf([&] { table->Update(32); }), codes::FileLocked);
    EXPECT_EQ(table->RecordCount(), 0);
}

TEST_F(OpenDatabaseTest, ObjectsOfAReleasedDatabaseFailCleanly) {
    auto database = openDb(m_path);
    auto table = database->Tables()->Item(Variant("Kunden"));
    auto field = table->Fields()->Item(Variant("Name"));
    auto index = table->Indexes()->ItemAt(0);
    database.reset();
    EXPECT_NE(codeOf([&] { field->Value(); }), 0);
    EXPECT_NE(codeOf([&] { table->MoveFirst(32); }), 0);
    EXPECT_NE(codeOf([&] { table->AddNew(table->NewRecordBuffer(0)); }), 0);
    EXPECT_NE(codeOf([&] { index->Rebuild(); }), 0);
    // The file is closed: a writer can take it at once.
    LockHolder writer(m_path, "BEGIN EXCLUSIVE");
    EXPECT_TRUE(writer.locked());
}

}  // namespace

#if defined(_WIN32)

TEST_F(OpenDatabaseTest, ClosingAReadOnlyOpenKeepsAnotherConnectionsLock_NeedsPosixFork) {
    GTEST_SKIP() << "asks a forked child for the lock";
}

#else

namespace {

// Whether another process than this one holds SQLite's reserved lock on path (the byte after
// SQLite's pending byte), asked from a forked child.
bool anotherProcessSeesTheWriteLock(const std::string& path) {
    const pid_t child = fork();
    if (child == 0) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = 0x40000001;
        lock.l_len = 1;
        const bool held = fd >= 0 && fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
        _exit(held ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

// A read-only open reads its file through a second handle as well; closing that handle must not
// drop the locks this process holds on the file through another connection.
TEST_F(OpenDatabaseTest, ClosingAReadOnlyOpenKeepsAnotherConnectionsLock) {
    LockHolder writer(m_path, "BEGIN IMMEDIATE");
    ASSERT_TRUE(writer.locked());
    ASSERT_TRUE(anotherProcessSeesTheWriteLock(m_path));
    enginetest::readAll(*openDb(m_path, engine::open_flags::ReadOnly));
    EXPECT_TRUE(anotherProcessSeesTheWriteLock(m_path));
}

#endif
