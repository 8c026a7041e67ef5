#include "copy/ImportSession.h"

#include <cstdint>
#include <string>
#include <utility>

#include "copy/ErrorReport.h"
#include "copy/FileProbe.h"
#include "copy/ImportForm.h"
#include "copy/RequireObject.h"
#include "copy/RunLog.h"
#include "copy/TableCopy.h"
#include "engine/Database.h"
#include "engine/DbServer.h"
#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/Index.h"
#include "engine/Indexes.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "engine/Variant.h"

namespace dbcopy {

namespace {

// The table's RecordCount, or -1 when it cannot be read: the count only serves the check.
std::int32_t countRecords(engine::Table& table) noexcept {
    try {
        return table.RecordCount();
    } catch (...) {
        return -1;
    }
}

std::string readName(const std::function<std::string()>& read) noexcept {
    try {
        return read();
    } catch (...) {
        return {};
    }
}

}  // namespace

ImportSession::ImportSession(ImportForm& form, RunLog& log, TableCopy& tableCopy, FileProbe& files,
                             ServerAccess server, const std::atomic<bool>& cancel)
    : m_form(form),
      m_log(log),
      m_tableCopy(tableCopy),
      m_files(files),
      m_server(std::move(server)),
      m_cancel(cancel) {}

ImportSession::~ImportSession() {
    m_index.reset();
    m_table.reset();
    m_target.reset();
    m_source.reset();
}

void ImportSession::run() {
    openSource();
    createTargetIfMissing();
    openTarget();
    if (m_form.deleteOption() != 0) emptyTarget();
    prepareKeyStorage();
    reopenTarget();
    copyTables();
    rebuildIndexes();
    close();
}

void ImportSession::openSource() {
    m_log.AddLog("Quelldatenbank wird schreibgeschützt geöffnet");
    engine::DbServer& server = m_server();
    m_source = requireObject(
        server.OpenDatabase(m_form.text(FormText::txtDatabase), m_form.text(FormText::txtUsername),
                            m_form.text(FormText::txtPassword), engine::open_flags::Source));
    m_log.events().sourceOpened(countSourceRecords());
}

// Tables whose count cannot be read add nothing; a failing table list leaves the sum so far.
std::int64_t ImportSession::countSourceRecords() noexcept {
    std::int64_t total = 0;
    try {
        const auto tables = requireObject(m_source->Tables());
        const std::int32_t count = tables->Count();
        for (std::int32_t position = 0; position < count; ++position) {
            const std::int32_t records = countRecords(*requireObject(tables->ItemAt(position)));
            if (records > 0) total += records;
        }
    } catch (...) {
        // The total only serves the progress display; the copy reports what fails.
    }
    return total;
}

void ImportSession::createTargetIfMissing() {
    if (targetFileExists()) return;
    m_log.AddLog("Die Ziel-DB ist nicht vorhanden. Sie wird angelegt.");
    // The returned object is of no further use and goes at once.
    m_source->CreateDatabase(m_form.text(FormText::txtDatabaseDest), engine::Variant(1),
                             engine::Variant(0), engine::Variant::missing());
    m_log.events().targetCreated();
}

bool ImportSession::targetFileExists() {
    try {
        return m_files.fileExists(m_form.text(FormText::txtDatabaseDest));
    } catch (...) {
        return false;  // a test that fails in any way finds no file
    }
}

void ImportSession::openTarget() {
    m_log.AddLog("Öffne Zieldatenbank.");
    m_target = openTargetDatabase();
}

std::shared_ptr<engine::Database> ImportSession::openTargetDatabase() {
    const std::string path = m_form.text(FormText::txtDatabaseDest);
    const bool ownCredentials = m_form.isDestUserEnabled();
    const std::string user =
        m_form.text(ownCredentials ? FormText::txtDestUser : FormText::txtUsername);
    const std::string password =
        m_form.text(ownCredentials ? FormText::txtDestPassword : FormText::txtPassword);
    return requireObject(m_server().OpenDatabase(path, user, password, engine::open_flags::Target));
}

void ImportSession::emptyTarget() {
    m_log.AddLog("Lösche bestehende Datensätze in der Ziel-DB");
    {
        const auto tables = requireObject(m_target->Tables());
        const std::int32_t count = tables->Count();
        for (std::int32_t position = 0; position < count; ++position) {
            m_table = requireObject(tables->ItemAt(position));
            continueAfterMissingTable([this] { m_table->DeleteAllRecords(); });
        }
    }
    m_table.reset();  // no target table may outlive the closing of the target
    m_log.events().targetEmptied();
    m_form.setDeleteOption(0);
}

void ImportSession::prepareKeyStorage() {
    m_log.AddLog("Bereite Zieldatenbank für den Tabellenzugriff per KeyStorage vor.");
    m_target->PrepareKeyStorage(false);
    m_target.reset();
}

void ImportSession::reopenTarget() {
    m_log.AddLog("Öffne Zieldatenbank erneut.");
    m_target = openTargetDatabase();
    m_target->KeyStorageAccess(true);
}

void ImportSession::copyTables() {
    {
        const auto tables = requireObject(m_source->Tables());
        const std::int32_t count = tables->Count();
        for (std::int32_t position = 0; position < count; ++position) {
            if (m_cancelled || m_cancel.load()) {
                m_cancelled = true;
                reportTablesNotReached(*tables, position);
                break;
            }
            m_table = requireObject(tables->ItemAt(position));
            const auto skipped = continueAfterMissingTable([this] { copyCurrentTable(); });
            if (skipped) m_log.events().tableSkipped(readName([this] { return m_table->Name(); }));
        }
    }
    m_table.reset();
}

void ImportSession::copyCurrentTable() {
    const std::string name = m_table->Name();
    // The target's table collection is fetched anew for every source table.
    auto destTable = requireObject(requireObject(m_target->Tables())->Item(engine::Variant(name)));
    const TableStart start = describeCurrentTable(name, *destTable);
    m_log.events().tableStarted(start);
    const TableOutcome outcome = m_tableCopy.CopyTable(m_table, destTable);
    if (outcome.end == TableOutcome::End::Interrupted) m_cancelled = true;
    checkTargetCount(name, *destTable, start.targetBefore, outcome);
}

TableStart ImportSession::describeCurrentTable(const std::string& name, engine::Table& dest) {
    std::string display = readName([this] { return m_table->DisplayName(0); });
    if (display.empty()) display = name;
    return {name, std::move(display), countRecords(*m_table), countRecords(dest)};
}

void ImportSession::checkTargetCount(const std::string& name, engine::Table& dest,
                                     std::int32_t before, const TableOutcome& outcome) {
    TableCheck check;
    check.actual = countRecords(dest);
    check.compared = outcome.end != TableOutcome::End::Failed;
    // A count that cannot be read makes the expectation unreachable, so the check fails.
    check.expected = before < 0 ? -1 : before + outcome.copied;
    if (check.compared && (check.actual < 0 || check.actual != check.expected)) {
        m_log.AddLog("Prüfung fehlgeschlagen: Tabelle " + name + ": " +
                         std::to_string(check.expected) + " Datensätze erwartet, " +
                         std::to_string(check.actual) + " vorhanden.",
                     LineKind::CheckFailed);
    }
    m_log.events().tableChecked(check);
}

void ImportSession::reportTablesNotReached(engine::Tables& tables, std::int32_t from) {
    const std::int32_t count = tables.Count();
    for (std::int32_t position = from; position < count; ++position) {
        const auto table = tables.ItemAt(position);
        if (!table) continue;
        const std::string name = readName([&] { return table->Name(); });
        const std::string display = readName([&] { return table->DisplayName(0); });
        m_log.events().tableNotReached(name, display.empty() ? name : display);
    }
}

void ImportSession::rebuildIndexes() {
    m_log.events().rebuildStarted();
    m_log.AddLog("Indizes werden aufgebaut");
    const auto tables = requireObject(m_target->Tables());
    const std::int32_t count = tables->Count();
    for (std::int32_t position = 0; position < count; ++position) {
        m_table = requireObject(tables->ItemAt(position));
        rebuildCurrentTableIndexes();
    }
}

void ImportSession::rebuildCurrentTableIndexes() {
    const auto indexes = requireObject(m_table->Indexes());
    const std::int32_t count = indexes->Count();
    for (std::int32_t position = 0; position < count; ++position) {
        m_index = requireObject(indexes->ItemAt(position));
        const IndexName name{readName([this] { return m_table->Name(); }),
                             readName([this] { return m_index->Name(); })};
        continueAfterMissingTable([this] { writeIndexLine(); });
        std::optional<RunError> failed;
        if (const auto skipped =
                continueAfterMissingTable([&] { failed = rebuildCurrentIndex(); })) {
            failed = skipped;
        }
        if (failed) {
            m_log.events().indexFailed(name, *failed);
        } else {
            m_log.events().indexRebuilt(name);
        }
    }
}

std::optional<RunError> ImportSession::rebuildCurrentIndex() {
    try {
        m_index->Rebuild();
        return std::nullopt;
    } catch (const engine::Error& error) {
        if (error.code() != engine::codes::DuplicateKey) throw;
        const ErrorReport report(error.code(), error.description());
        report.writeTo(m_log);
        return report.toRunError();
    }
}

void ImportSession::writeIndexLine() {
    std::string line = "Tabelle " + m_table->DisplayName(0);
    line += ", Index " + m_index->DisplayName(0);
    m_log.AddLog(line);
}

void ImportSession::close() {
    m_index.reset();
    m_table.reset();
    m_source.reset();
    m_log.AddLog("");
    m_log.AddLog("Schließe Zieldatenbank");
    m_target.reset();
    if (m_cancelled) {
        m_log.AddLog("Der Import wurde abgebrochen.");
        m_log.events().runCancelled();
        return;
    }
    m_log.AddLog("Import erfolgreich abgeschlossen.");
    m_log.events().runFinished();
}

std::optional<RunError> ImportSession::continueAfterMissingTable(
    const std::function<void()>& step) {
    try {
        step();
        return std::nullopt;
    } catch (const engine::Error& error) {
        if (error.code() != engine::codes::NoSuchTable) throw;
        m_log.AddLog("Die Tabelle " + m_table->Name() +
                     " ist in der Ziel-DB nicht vorhanden. Tabelle wird übersprungen.");
        return RunError{error.code(), error.description()};
    }
}

}  // namespace dbcopy
