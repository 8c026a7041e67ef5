#include "copy/ImportRun.h"

#include <utility>

#include "copy/ErrorReport.h"
#include "copy/ImportForm.h"
#include "copy/ImportSession.h"
#include "copy/RunErrorCodes.h"
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
    try {
        if (refuseSameFile()) return;
        TableCopy tableCopy(m_log, m_yield);
        ImportSession session(m_form, m_log, tableCopy, m_files,
                              [this]() -> engine::DbServer& { return server(); });
        try {
            session.run();
        } catch (...) {
            // Reported while the session still holds its references; they go afterwards.
            reportFailure(ErrorReport::fromCurrentException());
        }
    } catch (...) {
        // The log itself failed, so nothing is left to report to; the run still ends normally.
    }
}

bool ImportRun::refuseSameFile() {
    if (!isSameFile(m_form.text(FormText::txtDatabase), m_form.text(FormText::txtDatabaseDest))) {
        return false;
    }
    m_log.AddLog("Quell- und Zieldatenbank sind dieselbe Datei. Der Import wird nicht ausgeführt.");
    return true;
}

engine::DbServer& ImportRun::server() {
    if (!m_server && m_createServer) m_server = m_createServer();
    if (!m_server) {
        throw engine::Error(codes::NoServer, "Das Datenbankmodul konnte nicht gestartet werden.");
    }
    return *m_server;
}

void ImportRun::reportFailure(const ErrorReport& error) {
    if (m_form.text(FormText::txtDestUser).empty()) {
        m_log.AddLog("Geben Sie einen gültigen Benutzernamen für die Ziel-DB an");
    }
    error.writeTo(m_log);
}

}  // namespace dbcopy
