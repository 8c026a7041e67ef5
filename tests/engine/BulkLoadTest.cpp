#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include "EngineTestFiles.h"
#include "FaultVfs.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "engine/DbServer.h"
#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Index.h"
#include "engine/Indexes.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/KeepAlive.h"
#include "engine/sqlite/LogFolder.h"
#include "engine/sqlite/WriteAhead.h"

namespace {

namespace codes = engine::codes;
using engine::Variant;
using enginetest::codeOf;
using I16 = std::int16_t;
using I32 = std::int32_t;

// Stores one Kunden record with this ID and name.
void addKunde(engine::Table& table, I32 id, const std::string& name = "Kunde") {
    table.AddNew(table.NewRecordBuffer(0));
    table.Fields()->Item(Variant("ID"))->SetValue(id);
    table.Fields()->Item(Variant("Name"))->SetValue(name);
    table.Update(32);
}

// A single integer read with plain SQLite, bypassing the engine.
std::int64_t rawCount(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    const std::int64_t value =
        sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}

// The problems SQLite's integrity check finds in the file.
std::int64_t integrityProblems(const std::string& path) {
    return rawCount(path,
                    "SELECT count(*) FROM pragma_integrity_check WHERE integrity_check <> 'ok'");
}

std::int64_t sqliteIndexCount(const std::string& path) {
    return rawCount(path,
                    "SELECT count(*) FROM sqlite_schema WHERE name LIKE 'idx\\_%' ESCAPE '\\'");
}

class BulkLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::createVdb(m_path, enginetest::standardTables());
        enginetest::openDb(m_path)->PrepareKeyStorage(false);
    }

    // The target reopened as the copy reopens it, in bulk mode.
    std::shared_ptr<engine::Database> reopenBulk() {
        auto database = enginetest::openDb(m_path);
        database->KeyStorageAccess(true);
        return database;
    }

    testsupport::TempDir m_dir;
    std::string m_path = m_dir.file("ziel.vdb");
};

TEST_F(BulkLoadTest, PreparationDropsIndexesUntilRebuildAndRecordsSurviveRelease) {
    EXPECT_EQ(sqliteIndexCount(m_path), 0);
    {
        auto database = reopenBulk();
        auto kunden = database->Tables()->Item(Variant("Kunden"));
        for (I32 id = 0; id < 12001; ++id) addKunde(*kunden, id);
        EXPECT_EQ(kunden->RecordCount(), 12001);
    }
    EXPECT_EQ(rawCount(m_path, "SELECT count(*) FROM data_1"), 12001);
    {
        auto database = enginetest::openDb(m_path);
        auto indexes = database->Tables()->Item(Variant("Kunden"))->Indexes();
        for (I32 i = 0; i < indexes->Count(); ++i) indexes->ItemAt(i)->Rebuild();
        indexes->ItemAt(0)->Rebuild();  // a live index is rebuilt in place
    }
    EXPECT_EQ(sqliteIndexCount(m_path), 2);
}

TEST_F(BulkLoadTest, SwitchingBulkModeOffCommitsTheOpenBatch) {
    auto database = reopenBulk();
    auto kunden = database->Tables()->Item(Variant("Kunden"));
    for (I32 id = 0; id < 3; ++id) addKunde(*kunden, id);
    database->KeyStorageAccess(false);
    EXPECT_EQ(rawCount(m_path, "SELECT count(*) FROM data_1"), 3);
    addKunde(*kunden, 3);  // autocommit again
    EXPECT_EQ(rawCount(m_path, "SELECT count(*) FROM data_1"), 4);
}

// A long rebuild calls the server's keep-alive hook; a call into the engine from inside the hook
// is refused without harm to the rebuild or the file, whether it would use the file or only
// the catalog.
TEST_F(BulkLoadTest, LongRebuildKeepsTheCallerAliveAndRefusesCallsFromTheHook) {
    std::shared_ptr<engine::Database> database;
    std::shared_ptr<engine::Table> kunden;
    std::shared_ptr<engine::Indexes> indexes;
    std::shared_ptr<engine::Field> name;
    int hookCalls = 0;
    std::vector<std::vector<I32>> refusedCodes;
    std::set<std::thread::id> hookThreads;
    auto server = engine::sqlite::createServer([&] {
        hookThreads.insert(std::this_thread::get_id());
        if (!name) return;  // still opening
        ++hookCalls;
        refusedCodes.push_back({
            codeOf([&] { kunden->MoveFirst(32); }),
            codeOf([&] { database->Tables(); }),
            codeOf([&] { kunden->Fields(); }),
            codeOf([&] { kunden->Indexes(); }),
            codeOf([&] { name->Name(); }),
            codeOf([&] { indexes->Activate(Variant("NameIdx")); }),
        });
    });
    database = server->OpenDatabase(m_path, testsupport::kUser, testsupport::kPassword, 0);
    database->KeyStorageAccess(true);
    kunden = database->Tables()->Item(Variant("Kunden"));
    indexes = kunden->Indexes();
    name = kunden->Fields()->Item(Variant("Name"));
    for (I32 id = 0; id < 100'000; ++id) addKunde(*kunden, id, "Kunde " + std::to_string(id));
    addKunde(*kunden, 7);
    kunden->Indexes()->ItemAt(1)->Rebuild();
    // A failed build surfaces at its Rebuild, even though it ran while the caller was kept alive.
    EXPECT_EQ(codeOf([&] { kunden->Indexes()->ItemAt(0)->Rebuild(); }), codes::DuplicateKey);
    database->KeyStorageAccess(false);

    EXPECT_GT(hookCalls, 0);
    // Never on the writer thread or a thread of a long step: the hook belongs to the caller.
    EXPECT_EQ(hookThreads, std::set{std::this_thread::get_id()});
    const std::vector<I32> allRefused(6, codes::InvalidArgument);
    for (const auto& refused : refusedCodes) EXPECT_EQ(refused, allRefused);
    EXPECT_EQ(kunden->RecordCount(), 100'001);
    kunden.reset();
    database.reset();
    EXPECT_EQ(sqliteIndexCount(m_path), 1);
    EXPECT_EQ(integrityProblems(m_path), 0);
}

// Records are stored by a writer thread behind the caller. A write that fails there comes out
// at a later Update or, at the latest, at the read that reaches the end of the source table;
// the records dropped after it are not counted, and the file stays sound.
TEST_F(BulkLoadTest, FailedWriteBehindTheCallerComesOutBeforeTheSourceEnds) {
    const std::string sourcePath = m_dir.file("quelle.vdb");
    testsupport::createVdb(sourcePath, enginetest::standardTables());
    {
        auto filling = enginetest::openDb(sourcePath);
        filling->KeyStorageAccess(true);
        auto kunden = filling->Tables()->Item(Variant("Kunden"));
        for (I32 id = 0; id < 6000; ++id) addKunde(*kunden, id);
    }
    testsupport::FaultVfs vfs;
    auto server = engine::sqlite::createServer();
    auto source = server->OpenDatabase(sourcePath, testsupport::kUser, testsupport::kPassword,
                                       engine::open_flags::Source);
    auto target = server->OpenDatabase(m_path, testsupport::kUser, testsupport::kPassword, 0);
    target->KeyStorageAccess(true);
    auto from = source->Tables()->Item(Variant("Kunden"));
    auto to = target->Tables()->Item(Variant("Kunden"));
    vfs.failWritesFrom(1, SQLITE_IOERR);  // the commit of the first full batch fails
    I32 failure = 0;
    try {
        for (from->MoveFirst(32); !from->Eof(); from->Move(1, 32)) {
            addKunde(*to, from->Fields()->Item(Variant("ID"))->Value().int32());
        }
    } catch (const engine::Error& error) {
        failure = error.code();
    }
    vfs.disarm();
    EXPECT_EQ(failure, codes::IoError);
    const I32 counted = to->RecordCount();
    EXPECT_LT(counted, 6000);
    to.reset();
    target.reset();
    EXPECT_EQ(rawCount(m_path, "SELECT count(*) FROM data_1"), counted);
    EXPECT_EQ(integrityProblems(m_path), 0);
}

// Activating an index finalizes the cursor's statement, which uses the connection: the records
// queued before are stored first, and one that failed behind the caller comes out there.
TEST_F(BulkLoadTest, ActivatingAnIndexAfterQueuedRecordsSettlesTheWriterFirst) {
    auto database = reopenBulk();
    auto kunden = database->Tables()->Item(Variant("Kunden"));
    kunden->MoveFirst(32);  // the cursor's statement is prepared
    // From outside, the table is given a check that refuses the last record when the writer
    // stores it.
    enginetest::rawSql(m_path,
                       "DROP TABLE data_1; CREATE TABLE data_1(f0 INTEGER CHECK (f0 <> 299), "
                       "f1 TEXT, f2 INTEGER, f3 INTEGER) STRICT");
    for (I32 id = 0; id < 300; ++id) addKunde(*kunden, id, "Kunde " + std::to_string(999 - id));
    EXPECT_EQ(codeOf([&] { kunden->Indexes()->Activate(Variant("NameIdx")); }), codes::IoError);

    kunden->Indexes()->Activate(Variant("NameIdx"));
    std::vector<I32> ids;
    for (kunden->MoveFirst(32); !kunden->Eof(); kunden->Move(1, 32)) {
        ids.push_back(kunden->Fields()->Item(Variant("ID"))->Value().int32());
    }
    EXPECT_EQ(static_cast<I32>(ids.size()), kunden->RecordCount());
    ASSERT_EQ(ids.size(), 299u);
    EXPECT_EQ(ids.front(), 298);  // in the order of the names
    EXPECT_EQ(ids.back(), 0);
}

// Values cross to the writer thread packed into reused chunks: every kind of value, the unset
// fields and the text lengths of one record must not leak into the next.
TEST_F(BulkLoadTest, RecordsPassTheWriterUnchanged) {
    const std::string umlauts = "ÄÖÜäöüßÄÖÜäöüßÄÖÜäöü";  // 20 code points, 40 bytes
    auto expected = [&](I32 id) -> std::vector<Variant> {
        switch (id % 4) {
            case 0:
                return {Variant(id), Variant(umlauts), Variant(true), Variant(I16{-32768})};
            case 1:
                return {Variant(id), Variant(""), Variant(false), Variant(I16{32767})};
            case 2:
                return {Variant(id), Variant(), Variant(), Variant()};
            default:
                return {Variant(id), Variant("x"), Variant(), Variant(I16{0})};
        }
    };
    const I32 records = 3 * static_cast<I32>(engine::sqlite::WriteAhead::kChunkRecords) + 5;
    {
        auto database = reopenBulk();
        auto kunden = database->Tables()->Item(Variant("Kunden"));
        auto fields = kunden->Fields();
        for (I32 id = 0; id < records; ++id) {
            kunden->AddNew(kunden->NewRecordBuffer(0));
            const auto values = expected(id);
            for (I32 f = 0; f < 4; ++f) {
                if (!values[f].isEmpty()) fields->ItemAt(f)->SetValue(values[f]);
            }
            kunden->Update(32);
        }
    }
    const auto rows = testsupport::readRows(m_path, "Kunden");
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(records));
    for (I32 id = 0; id < records; ++id) ASSERT_EQ(rows[id], expected(id)) << "record " << id;
}

// The writer stores runs of records of one table together; runs of every length, of two
// tables in turn, across the edges of chunks and batches, each come out once and in order.
TEST_F(BulkLoadTest, RecordsOfTwoTablesInRunsOfEveryLengthAreEachStoredOnceInOrder) {
    const I32 runLengths[] = {1, 15, 16, 17, 31, 32, 33, 255, 256, 257, 5000, 5003};
    std::vector<std::vector<Variant>> kundenRows;
    std::vector<std::vector<Variant>> leerRows;
    {
        auto database = reopenBulk();
        auto kunden = database->Tables()->Item(Variant("Kunden"));
        auto leer = database->Tables()->Item(Variant("Leer"));
        I32 next = 0;
        for (I32 length : runLengths) {
            for (I32 i = 0; i < length; ++i, ++next) {
                addKunde(*kunden, next, "K" + std::to_string(next));
                kundenRows.push_back(
                    {Variant(next), Variant("K" + std::to_string(next)), Variant(), Variant()});
            }
            for (I32 i = 0; i < length % 7 + 1; ++i) {
                const std::string text = "L" + std::to_string(leerRows.size());
                leer->AddNew(leer->NewRecordBuffer(0));
                leer->Fields()->Item(Variant("Text"))->SetValue(text);
                leer->Update(32);
                leerRows.push_back({Variant(text)});
            }
        }
    }
    EXPECT_EQ(testsupport::readRows(m_path, "Kunden"), kundenRows);
    EXPECT_EQ(testsupport::readRows(m_path, "Leer"), leerRows);
}

// A writer that commits back to back gives the log no moment to be folded back whole; the log
// must still start from its beginning again now and then instead of growing with the load.
TEST_F(BulkLoadTest, LogOfCommitsBackToBackStaysShorterThanWhatWasCommitted) {
    using engine::sqlite::LogFolder;
    const std::string path = m_dir.file("log.sqlite");
    engine::sqlite::Connection writing(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    writing.exec("PRAGMA page_size=16384; PRAGMA journal_mode=WAL; CREATE TABLE t(b BLOB)");
    const int pagesPerCommit = 64;  // one record fills a page
    const int commits = 2 * LogFolder::kRestartPages / pagesPerCommit;
    const std::string commit =
        "BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(pagesPerCommit) + ") INSERT INTO t SELECT zeroblob(16000) FROM n; COMMIT";
    LogFolder folder(path, writing);
    std::thread writer([&] {
        engine::sqlite::KeepAlive::markEngineThread();
        for (int i = 0; i < commits; ++i) writing.exec(commit);
    });
    writer.join();
    EXPECT_LT(std::filesystem::file_size(path + "-wal"),
              static_cast<std::uintmax_t>(commits) * pagesPerCommit * 16000);
}

// A live unique index checks each record at its own Update, in bulk mode too.
TEST_F(BulkLoadTest, LiveUniqueIndexRefusesADuplicateAtItsOwnUpdate) {
    enginetest::openDb(m_path)->Tables()->Item(Variant("Kunden"))->Indexes()->ItemAt(0)->Rebuild();
    {
        auto database = reopenBulk();
        auto kunden = database->Tables()->Item(Variant("Kunden"));
        addKunde(*kunden, 1);
        EXPECT_EQ(codeOf([&] { addKunde(*kunden, 1); }), codes::DuplicateKey);
        addKunde(*kunden, 2);
        EXPECT_EQ(kunden->RecordCount(), 2);
    }
    EXPECT_EQ(rawCount(m_path, "SELECT count(*) FROM data_1"), 2);
}

TEST_F(BulkLoadTest, UniqueRebuildWithDuplicatesFailsAndTheIndexStaysPending) {
    {
        auto database = reopenBulk();
        auto kunden = database->Tables()->Item(Variant("Kunden"));
        for (I32 id : {5, 7, 7, 8}) addKunde(*kunden, id);  // not checked while pending
        auto id = kunden->Indexes()->ItemAt(0);
        try {
            id->Rebuild();
            FAIL() << "unique index built over duplicates";
        } catch (const engine::Error& error) {
            EXPECT_EQ(error.code(), codes::DuplicateKey);
            EXPECT_NE(error.description().find("„ID“"), std::string::npos) << error.description();
            EXPECT_NE(error.description().find("(7)"), std::string::npos) << error.description();
        }
        kunden->Indexes()->ItemAt(1)->Rebuild();  // the non-unique index builds
        EXPECT_EQ(kunden->RecordCount(), 4);
    }
    EXPECT_EQ(sqliteIndexCount(m_path), 1);
    auto database = enginetest::openDb(m_path);
    auto kunden = database->Tables()->Item(Variant("Kunden"));
    EXPECT_EQ(codeOf([&] { kunden->Indexes()->ItemAt(0)->Rebuild(); }), codes::DuplicateKey);
    kunden->DeleteAllRecords();
    kunden->Indexes()->ItemAt(0)->Rebuild();
    addKunde(*kunden, 1);
    EXPECT_EQ(codeOf([&] { addKunde(*kunden, 1); }), codes::DuplicateKey);
}

// A table loaded in the order of its indexes keeps them during the load (NULL keys first,
// which a unique index holds any number of); rebuilt, they hold every record and check keys.
TEST_F(BulkLoadTest, IndexesKeptDuringALoadInTheirOrderAreSoundOnceRebuilt) {
    const I32 records = 2 * engine::sqlite::WriteAhead::kBatchRecords + 21;
    {
        auto database = reopenBulk();
        auto kunden = database->Tables()->Item(Variant("Kunden"));
        for (I32 i = 0; i < 3; ++i) {
            kunden->AddNew(kunden->NewRecordBuffer(0));
            kunden->Update(32);
        }
        for (I32 id = 3; id < records; ++id) addKunde(*kunden, id, std::to_string(100000 + id));
        auto indexes = kunden->Indexes();
        for (I32 i = 0; i < indexes->Count(); ++i) indexes->ItemAt(i)->Rebuild();
        EXPECT_EQ(codeOf([&] { addKunde(*kunden, 7); }), codes::DuplicateKey);
    }
    const auto rows = testsupport::readRows(m_path, "Kunden");
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(records));
    EXPECT_TRUE(rows[2][0].isEmpty());
    EXPECT_EQ(rows.back()[0], Variant(records - 1));
    EXPECT_EQ(sqliteIndexCount(m_path), 2);
    EXPECT_EQ(integrityProblems(m_path), 0);
}

// Keys in order that repeat keys the table held before the load are not checked while the
// index is pending: the load stores them all, the rebuild reports them.
TEST_F(BulkLoadTest, LoadInKeyOrderIntoATableWithRecordsReportsDuplicatesAtTheRebuild) {
    {
        auto database = enginetest::openDb(m_path);
        auto kunden = database->Tables()->Item(Variant("Kunden"));
        for (I32 id : {2, 3}) addKunde(*kunden, id);
    }
    auto database = enginetest::openDb(m_path);
    auto kunden = database->Tables()->Item(Variant("Kunden"));
    for (I32 id = 0; id < 30; ++id) addKunde(*kunden, id);
    EXPECT_EQ(kunden->RecordCount(), 32);
    EXPECT_EQ(codeOf([&] { kunden->Indexes()->ItemAt(0)->Rebuild(); }), codes::DuplicateKey);
}

// SQLite drops no index while another statement of the connection reads: a load beside a
// cursor that reads the same database, begun before the load or during it, stores every record
// all the same, and its indexes rebuild, reporting a key stored twice.
TEST_F(BulkLoadTest, LoadBesideACursorReadingTheSameDatabaseStoresEveryRecord) {
    for (const I32 readFromRecord : {0, 3}) {
        const std::string path = m_dir.file("neben" + std::to_string(readFromRecord) + ".vdb");
        testsupport::createVdb(path, enginetest::standardTables());
        enginetest::openDb(path)->PrepareKeyStorage(false);
        auto database = enginetest::openDb(path);
        database->KeyStorageAccess(true);
        auto leer = database->Tables()->Item(Variant("Leer"));
        leer->AddNew(leer->NewRecordBuffer(0));
        leer->Fields()->Item(Variant("Text"))->SetValue("a");
        leer->Update(32);
        auto kunden = database->Tables()->Item(Variant("Kunden"));
        const I32 ids[] = {1, 2, 3, 9, 4, 4};
        for (I32 i = 0; i < 6; ++i) {
            if (i == readFromRecord) leer->MoveFirst(32);
            addKunde(*kunden, ids[i]);
        }
        EXPECT_EQ(leer->Fields()->Item(Variant("Text"))->Value(), Variant("a"));
        EXPECT_EQ(kunden->RecordCount(), 6);
        EXPECT_EQ(codeOf([&] { kunden->Indexes()->ItemAt(0)->Rebuild(); }), codes::DuplicateKey);
        kunden->Indexes()->ItemAt(1)->Rebuild();
    }
}

// Records stored together go in as one statement; a record refused in the middle of it leaves
// the records before it stored once each, as if they had come one by one.
TEST_F(BulkLoadTest, RecordRefusedAmongRecordsStoredTogetherKeepsTheOnesBeforeItOnce) {
    enginetest::rawSql(m_path,
                       "DROP TABLE data_1; CREATE TABLE data_1(f0 INTEGER CHECK (f0 <> 5), "
                       "f1 TEXT, f2 INTEGER, f3 INTEGER) STRICT");
    {
        auto database = reopenBulk();
        auto kunden = database->Tables()->Item(Variant("Kunden"));
        for (I32 id = 0; id < 32; ++id) addKunde(*kunden, id);
        EXPECT_NE(codeOf([&] { kunden->RecordCount(); }), 0);
    }
    const auto rows = testsupport::readRows(m_path, "Kunden");
    ASSERT_EQ(rows.size(), 5u);
    for (I32 id = 0; id < 5; ++id) EXPECT_EQ(rows[id][0], Variant(id));
}

TEST_F(BulkLoadTest, CallerTransactionStoresAllOrNothing) {
    auto database = enginetest::openDb(m_path);
    auto kunden = database->Tables()->Item(Variant("Kunden"));
    EXPECT_THROW(engine::sqlite::inTransaction(*database,
                                               [&] {
                                                   addKunde(*kunden, 1);
                                                   addKunde(*kunden, 2);
                                                   throw std::runtime_error("abgebrochen");
                                               }),
                 std::runtime_error);
    EXPECT_EQ(kunden->RecordCount(), 0);
    engine::sqlite::inTransaction(*database, [&] { addKunde(*kunden, 3); });
    EXPECT_EQ(kunden->RecordCount(), 1);
    EXPECT_EQ(rawCount(m_path, "SELECT count(*) FROM data_1"), 1);
}

// A caller's transaction in bulk mode first stores what the writer has queued: rolling the
// transaction back takes only its own records.
TEST_F(BulkLoadTest, RecordsQueuedBeforeACallerTransactionSurviveItsRollback) {
    {
        auto database = reopenBulk();
        auto kunden = database->Tables()->Item(Variant("Kunden"));
        for (I32 id = 0; id < 600; ++id) addKunde(*kunden, id);
        EXPECT_THROW(engine::sqlite::inTransaction(*database,
                                                   [&] {
                                                       addKunde(*kunden, 600);
                                                       throw std::runtime_error("abgebrochen");
                                                   }),
                     std::runtime_error);
        EXPECT_EQ(kunden->RecordCount(), 600);
    }
    EXPECT_EQ(rawCount(m_path, "SELECT count(*) FROM data_1"), 600);
}

// A read reaching the end of a table settles the server's bulk loads; one whose database was
// released already is passed over.
TEST_F(BulkLoadTest, ReadToTheEndAfterTheLoadWasReleasedIsUnharmed) {
    auto server = engine::sqlite::createServer();
    {
        auto target = server->OpenDatabase(m_path, testsupport::kUser, testsupport::kPassword, 0);
        target->KeyStorageAccess(true);
        auto kunden = target->Tables()->Item(Variant("Kunden"));
        for (I32 id = 0; id < 300; ++id) addKunde(*kunden, id);
    }
    auto reader = server->OpenDatabase(m_path, testsupport::kUser, testsupport::kPassword,
                                       engine::open_flags::Source);
    auto kunden = reader->Tables()->Item(Variant("Kunden"));
    I32 read = 0;
    for (kunden->MoveFirst(32); !kunden->Eof(); kunden->Move(1, 32)) ++read;
    EXPECT_EQ(read, 300);
}

#ifdef _WIN32

}  // namespace

TEST_F(BulkLoadTest, KilledLoadLeavesAnOpenableFile_NeedsPosixFork) {
    GTEST_SKIP() << "kills a forked bulk load";
}

TEST_F(BulkLoadTest, FileInALoadIsInUseOnlyADeadLoadNeedsRecovery_NeedsPosixFork) {
    GTEST_SKIP() << "holds the file open in a forked child";
}

TEST_F(BulkLoadTest, LoadKilledInAnIndexBuildKeepsEveryRecordInASoundFile_NeedsPosixFork) {
    GTEST_SKIP() << "kills a forked bulk load";
}

TEST_F(BulkLoadTest, IndexKeptByAKilledLoadIsPendingForTheNextLoad_NeedsPosixFork) {
    GTEST_SKIP() << "kills a forked bulk load";
}

#else

// A child process whose whole life is life(path, reportFd); ready tells whether it wrote its
// one byte to the pipe before it ended. pid is -1 when no child could be started.
struct Child {
    pid_t pid = -1;
    bool ready = false;
};

Child startChild(void (*life)(const std::string&, int), const std::string& path) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        try {
            life(path, pipeFds[1]);
        } catch (...) {
            ::_exit(4);
        }
    }
    ::close(pipeFds[1]);
    char byte = 0;
    const bool ready = pid > 0 && ::read(pipeFds[0], &byte, 1) == 1;
    ::close(pipeFds[0]);
    return {pid, ready};
}

// Kills the child and waits for its end; its exit status.
int killAndReap(const Child& child) {
    ::kill(child.pid, SIGKILL);
    int status = 0;
    ::waitpid(child.pid, &status, 0);
    return status;
}

// The child stores records in bulk mode, reports through the pipe once two batches must
// have been committed (the writer lags at most kMostRecordsBehind records), and goes on storing
// until it is killed.
constexpr I32 kTwoBatchesStored = 2 * engine::sqlite::WriteAhead::kBatchRecords +
                                  static_cast<I32>(engine::sqlite::WriteAhead::kMostRecordsBehind) +
                                  1;

[[noreturn]] void loadUntilKilled(const std::string& path, int reportFd) {
    auto database = enginetest::openDb(path);
    database->KeyStorageAccess(true);
    auto kunden = database->Tables()->Item(Variant("Kunden"));
    for (I32 id = 0; id < 50'000'000; ++id) {
        addKunde(*kunden, id, "Kunde " + std::to_string(id));
        if (id == kTwoBatchesStored) {
            const char done = 'x';
            if (::write(reportFd, &done, 1) != 1) ::_exit(2);
        }
    }
    ::_exit(3);
}

TEST_F(BulkLoadTest, KilledLoadLeavesAnOpenableFileWithAPrefixOfTheRecords) {
    const Child child = startChild(loadUntilKilled, m_path);
    ASSERT_GT(child.pid, 0);
    const int status = killAndReap(child);
    ASSERT_TRUE(child.ready) << "the child ended before committing";
    ASSERT_TRUE(WIFSIGNALED(status));

    // A load killed in the middle of a batch leaves a journal that a read-only open cannot
    // replay; the first writable open rolls the unfinished batch back.
    try {
        testsupport::readRows(m_path, "Kunden");
    } catch (const engine::Error& error) {
        EXPECT_EQ(error.code(), engine::codes::NeedsRecovery) << error.description();
    }
    enginetest::openDb(m_path).reset();
    const auto rows = testsupport::readRows(m_path, "Kunden");
    ASSERT_GE(rows.size(), 10'000u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i][0], Variant(static_cast<I32>(i)));
        ASSERT_EQ(rows[i][1], Variant("Kunde " + std::to_string(i)));
    }
    auto database = enginetest::openDb(m_path);
    EXPECT_EQ(database->Tables()->Item(Variant("Kunden"))->RecordCount(),
              static_cast<I32>(rows.size()));
}

// A load killed while it kept the unique ID index leaves the index pending, as the catalog
// says: the next load stores a repeated key unchecked, and the rebuild reports it.
TEST_F(BulkLoadTest, IndexKeptByAKilledLoadIsPendingForTheNextLoad) {
    const Child child = startChild(loadUntilKilled, m_path);
    ASSERT_GT(child.pid, 0);
    killAndReap(child);
    ASSERT_TRUE(child.ready) << "the child ended before committing";

    auto database = reopenBulk();
    auto kunden = database->Tables()->Item(Variant("Kunden"));
    const I32 committed = kunden->RecordCount();
    EXPECT_EQ(codeOf([&] { addKunde(*kunden, 0); }), 0);
    EXPECT_EQ(kunden->RecordCount(), committed + 1);
    EXPECT_EQ(codeOf([&] { kunden->Indexes()->ItemAt(0)->Rebuild(); }), codes::DuplicateKey);
}

}  // namespace

// The child's whole life: holds the target open in bulk mode with a stored record, reports that
// through the pipe and waits to be killed.
[[noreturn]] void holdOpenInBulkMode(const std::string& path, int reportFd) {
    auto database = enginetest::openDb(path);
    database->KeyStorageAccess(true);
    addKunde(*database->Tables()->Item(Variant("Kunden")), 1);
    const char ready = 'x';
    if (::write(reportFd, &ready, 1) != 1) ::_exit(2);
    ::pause();
    ::_exit(3);
}

constexpr I32 kRecordsBeforeTheBuild = 100'000;

// The child stores records in bulk mode and rebuilds the ID index, which commits them, then the
// Name index; once that build keeps it alive, it reports through the pipe and waits in the hook
// to be killed.
[[noreturn]] void killedInAnIndexBuild(const std::string& path, int reportFd) {
    bool building = false;
    auto server = engine::sqlite::createServer([&] {
        if (!building) return;
        const char inBuild = 'x';
        if (::write(reportFd, &inBuild, 1) != 1) ::_exit(2);
        ::pause();
    });
    auto database = server->OpenDatabase(path, testsupport::kUser, testsupport::kPassword, 0);
    database->KeyStorageAccess(true);
    auto kunden = database->Tables()->Item(Variant("Kunden"));
    for (I32 id = 0; id < kRecordsBeforeTheBuild; ++id) {
        addKunde(*kunden, id, "Kunde " + std::to_string(id));
    }
    kunden->Indexes()->ItemAt(0)->Rebuild();
    building = true;
    kunden->Indexes()->ItemAt(1)->Rebuild();
    const char afterBuild = 'y';  // the build ended before the hook was called
    if (::write(reportFd, &afterBuild, 1) != 1) ::_exit(2);
    ::pause();
    ::_exit(3);
}

TEST_F(BulkLoadTest, LoadKilledInAnIndexBuildKeepsEveryRecordInASoundFile) {
    const Child child = startChild(killedInAnIndexBuild, m_path);
    ASSERT_GT(child.pid, 0);
    killAndReap(child);
    ASSERT_TRUE(child.ready) << "the child ended before the build";

    enginetest::openDb(m_path).reset();  // the first writable open mends what the kill left
    EXPECT_EQ(integrityProblems(m_path), 0);
    const auto rows = testsupport::readRows(m_path, "Kunden");
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kRecordsBeforeTheBuild));
    EXPECT_EQ(rows.back()[1], Variant("Kunde " + std::to_string(kRecordsBeforeTheBuild - 1)));
    auto database = enginetest::openDb(m_path);
    auto indexes = database->Tables()->Item(Variant("Kunden"))->Indexes();
    for (I32 i = 0; i < indexes->Count(); ++i) indexes->ItemAt(i)->Rebuild();
    database.reset();
    EXPECT_EQ(sqliteIndexCount(m_path), 2);
}

TEST_F(BulkLoadTest, FileInALoadIsInUseAndOnlyAFileLeftByADeadLoadNeedsRecovery) {
    const Child child = startChild(holdOpenInBulkMode, m_path);
    ASSERT_GT(child.pid, 0);
    const auto openError = [&](std::int32_t flags) {
        try {
            enginetest::openDb(m_path, flags);
        } catch (const engine::Error& error) {
            return error;
        }
        return engine::Error(0, "geöffnet");
    };
    const engine::Error readOnly = openError(engine::open_flags::Source);
    const engine::Error writable = openError(engine::open_flags::Target);
    killAndReap(child);
    ASSERT_TRUE(child.ready) << "the child ended before storing a record";

    EXPECT_EQ(readOnly.code(), codes::FileLocked) << readOnly.description();
    EXPECT_NE(readOnly.description().find("wird gerade von einem anderen Prozess gesperrt"),
              std::string::npos)
        << readOnly.description();
    EXPECT_EQ(writable.code(), codes::FileLocked) << writable.description();
    EXPECT_EQ(codeOf([&] { enginetest::openDb(m_path, engine::open_flags::Source); }),
              codes::NeedsRecovery);
}

#endif
