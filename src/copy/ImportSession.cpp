#include "copy/ImportSession.h"

#include <cstdint>
#include <string>
#include <utility>

#include "copy/FileProbe.h"
#include "copy/ImportForm.h"
#include "copy/RequireObject.h"
#include "copy/TableCopy.h"
#include "engine/Database.h"
#include "engine/DbServer.h"
#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/Index.h"
#include "engine/Indexes.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "log/ProgressLog.h"

namespace dbcopy {

namespace {}  // namespace

ImportSession::ImportSession(ImportForm& form, ProgressLog& log, TableCopy& tableCopy,
                             FileProbe& files, ServerAccess server)
    : m_form(form),
      m_log(log),
      m_tableCopy(tableCopy),
      m_files(files),
      m_server(std::move(server)) {}

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
}

void ImportSession::createTargetIfMissing() {
    if (targetFileExists()) return;
    m_log.AddLog("Die Ziel-DB ist nicht vorhanden. Sie wird angelegt.");
    // The returned object is of no further use and goes at once.
    m_source->CreateDatabase(m_form.text(FormText::txtDatabaseDest), engine::Variant(1),
                             engine::Variant(0), engine::Variant::missing());
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
            m_table = requireObject(tables->ItemAt(position));
            continueAfterMissingTable([this] { copyCurrentTable(); });
        }
    }
    m_table.reset();
}

void ImportSession::copyCurrentTable() {
    const engine::Variant name(m_table->Name());
    // The target's table collection is fetched anew for every source table.
    auto destTable = requireObject(requireObject(m_target->Tables())->Item(name));
    m_tableCopy.CopyTable(m_table, std::move(destTable));
}

void ImportSession::rebuildIndexes() {
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
        continueAfterMissingTable([this] { writeIndexLine(); });
        continueAfterMissingTable([this] { m_index->Rebuild(); });
    }
}

void ImportSession::writeIndexLine() {
    std::string line = "Tabelle " + m_table->DisplayName(0);
    line += ", Index " + m_index->DisplayName(0);
    m_log.AddLog(std::move(line));
}

void ImportSession::close() {
    m_index.reset();
    m_table.reset();
    m_source.reset();
    m_log.AddLog("");
    m_log.AddLog("Schließe Zieldatenbank");
    m_target.reset();
    m_log.AddLog("Import erfolgreich abgeschlossen.");
}

void ImportSession::continueAfterMissingTable(const std::function<void()>& step) {
    try {
        step();
    } catch (const engine::Error& error) {
        if (error.code() != engine::codes::NoSuchTable) throw;
        m_log.AddLog("Die Tabelle " + m_table->Name() +
                     " ist in der Ziel-DB nicht vorhanden. Tabelle wird übersprungen.");
    }
}

}  // namespace dbcopy
