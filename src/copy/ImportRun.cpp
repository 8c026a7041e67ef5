#include "copy/ImportRun.h"

#include <utility>

#include "copy/ErrorReport.h"
#include "copy/ImportForm.h"
#include "copy/ImportSession.h"
#include "copy/RunErrorCodes.h"
#include "copy/RunLog.h"
#include "copy/SameFile.h"
#include "copy/TableCopy.h"
#include "engine/DbServer.h"
#include "engine/Error.h"
#include "log/ProgressLog.h"

namespace dbcopy {

ImportRun::ImportRun(ImportForm& form, ProgressLog& log, RecordYield& yield, FileProbe& files,
                     ServerFactory createServer)
    : m_form(form),
      m_log(log),
      m_yield(yield),
      m_files(files),
      m_createServer(std::move(createServer)) {}

ImportRun::~ImportRun() = default;

void ImportRun::RunImport() {
    RunLog log(m_log, m_events);
    try {
        m_events.runStarted(m_form.text(FormText::txtDatabase),
                            m_form.text(FormText::txtDatabaseDest));
        if (!refuseSameFile(log)) {
            TableCopy tableCopy(log, m_yield, m_cancel);
            ImportSession session(
                m_form, log, tableCopy, m_files, [this]() -> engine::DbServer& { return server(); },
                m_cancel);
            try {
                session.run();
            } catch (...) {
                // Reported while the session still holds its references; they go afterwards.
                reportFailure(ErrorReport::fromCurrentException(), log);
            }
        }
    } catch (...) {
        // The log itself failed, so nothing is left to report to; the run still ends normally.
    }
    m_cancel.store(false);
}

bool ImportRun::refuseSameFile(RunLog& log) {
    if (!isSameFile(m_form.text(FormText::txtDatabase), m_form.text(FormText::txtDatabaseDest))) {
        return false;
    }
    const ErrorReport refusal(
        codes::SameFile,
        "Quell- und Zieldatenbank sind dieselbe Datei. Der Import wird nicht ausgeführt.");
    log.AddLog(refusal.description(), LineKind::Refusal);
    m_events.runFailed(refusal.toRunError());
    return true;
}

engine::DbServer& ImportRun::server() {
    if (!m_server && m_createServer) m_server = m_createServer();
    if (!m_server) {
        throw engine::Error(codes::NoServer, "Das Datenbankmodul konnte nicht gestartet werden.");
    }
    return *m_server;
}

void ImportRun::reportFailure(const ErrorReport& error, RunLog& log) {
    if (m_form.text(FormText::txtDestUser).empty()) {
        log.AddLog("Geben Sie einen gültigen Benutzernamen für die Ziel-DB an",
                   LineKind::LoginHint);
    }
    error.writeTo(log);
    m_events.runFailed(error.toRunError());
}

}  // namespace dbcopy
