#include "vdb/CopyCommand.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>

#include <CLI/CLI.hpp>

#include "copy/ImportRun.h"
#include "engine/DbServer.h"
#include "engine/Error.h"
#include "engine/Utf8Path.h"
#include "engine/sqlite/SqliteEngine.h"
#include "log/ProgressLog.h"
#include "report/JsonReport.h"
#include "report/LogFile.h"
#include "report/RunRecorder.h"
#include "report/SummaryTable.h"
#include "vdb/CommandError.h"
#include "vdb/CommandLine.h"
#include "vdb/CompareCommand.h"
#include "vdb/CopyPlatform.h"
#include "vdb/Login.h"
#include "vdb/PrivateFile.h"
#include "vdb/ProgressDisplay.h"
#include "vdb/SignalCancel.h"
#include "verify/CopyCheck.h"

namespace vdb {

namespace {

// The first line of a password file that only its owner may read.
std::string readPasswordFile(const std::string& path) {
    const FileAccess access = fileAccessOf(path);
    if (access == FileAccess::Unknown) {
        throw CommandError("Die Kennwortdatei " + engine::quoted(path) +
                           " kann nicht gelesen werden.");
    }
    if (access == FileAccess::OpenToOthers) {
        throw CommandError("Die Kennwortdatei " + engine::quoted(path) +
                           " ist für andere Benutzer zugänglich; sie wird nicht verwendet. "
                           "Erlaubt ist nur der Zugriff des Eigentümers (" +
                           kOwnerOnlyHint + ").");
    }
    std::ifstream file(engine::pathFromUtf8(path), std::ios::binary);
    std::string line;
    if (!file || !std::getline(file, line)) {
        throw CommandError("Die Kennwortdatei " + engine::quoted(path) +
                           " kann nicht gelesen werden.");
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

bool given(const CLI::App& command, const char* option) {
    return command.get_option(option)->count() > 0;
}

// The password from the option, the password file, the environment or the prompt, in order.
std::string passwordFrom(const CLI::App& command, const char* option, const std::string& value,
                         const char* fileOption, const std::string& file, const char* variable,
                         const std::function<std::string()>& ask) {
    if (given(command, option)) return value;
    if (given(command, fileOption)) return readPasswordFile(file);
    if (const char* fromEnvironment = std::getenv(variable)) return fromEnvironment;
    if (ask) return ask();
    return {};
}

CopyForm makeForm(const CLI::App& command, const CopyArguments& arguments, const Console& console) {
    CopyForm form;
    form.source = arguments.source;
    form.target = arguments.target;
    form.user = arguments.user;
    form.password = passwordFrom(command, "--password", arguments.password, "--password-file",
                                 arguments.passwordFile, kPasswordVariable, console.askPassword);
    form.ownTargetLogin = given(command, "--target-user");
    if (form.ownTargetLogin) {
        form.targetUser = arguments.targetUser;
        form.targetPassword = passwordFrom(command, "--target-password", arguments.targetPassword,
                                           "--target-password-file", arguments.targetPasswordFile,
                                           kTargetPasswordVariable, console.askTargetPassword);
    }
    form.deleteValue = arguments.deleteTarget ? 1 : 0;
    return form;
}

int exitCodeFor(dbcopy::RunStatus status) {
    switch (status) {
        case dbcopy::RunStatus::Ok:
            return exit_code::Success;
        case dbcopy::RunStatus::Partial:
            return exit_code::Partial;
        case dbcopy::RunStatus::Failed:
            return exit_code::Failure;
        case dbcopy::RunStatus::Cancelled:
            return exit_code::Cancelled;
    }
    return exit_code::Failure;
}

// The dry run: what the copy would refuse, with the copy's own logins; nothing is written.
int predictCopy(const CopyForm& form, Console& console) {
    const Login source{form.user, form.password};
    const Login target = form.ownTargetLogin ? Login{form.targetUser, form.targetPassword} : source;
    return compareCommand({form.source, form.target, source, target, form.deleteValue != 0},
                          console.out);
}

// The check after the run, with the logins the run opened both files with.
void verifyCopy(const CopyForm& form, dbcopy::ProgressLog& log, dbcopy::LogFile* logFile,
                dbcopy::RunSummary& summary) {
    NoYield yield;
    const auto server = engine::sqlite::createServer();
    summary.setContent(dbcopy::checkCopy(*server, dbcopy::checkedCopyOf(form), yield,
                                         [&](const std::string& line) {
                                             log.AddLog(line);
                                             if (logFile) logFile->lineWritten(line, dbcopy::LineKind::Plain);
                                         }));
}

}  // namespace

void defineCopyCommand(CLI::App& app, CopyArguments& arguments) {
    auto* copy = app.add_subcommand(
        "copy", "kopiert alle Tabellen der Quelle in die gleichnamigen Tabellen des Ziels");
    copy->add_option("QUELLE", arguments.source, "Quelldatenbank (.vdb)")->required();
    copy->add_option("ZIEL", arguments.target,
                     "Zieldatenbank (.vdb); fehlt sie, wird sie aus der Quelle angelegt")
        ->required();
    copy->add_option("-u,--user", arguments.user, "Benutzername der Quelle")
        ->type_name("BENUTZER")
        ->capture_default_str();
    auto* password = copy->add_option("-p,--password", arguments.password,
                                      "Kennwort der Quelle; besser --password-file, die "
                                      "Umgebungsvariable VDB_PASSWORD oder die Abfrage")
                         ->type_name("KENNWORT");
    copy->add_option("--password-file", arguments.passwordFile,
                     "Datei, deren erste Zeile das Kennwort der Quelle ist (nur für den "
                     "Eigentümer lesbar)")
        ->type_name("DATEI")
        ->excludes(password);
    auto* targetUser =
        copy->add_option(
                "--target-user", arguments.targetUser,
                "eigener Benutzer des Ziels; ohne ihn gilt die Anmeldung der Quelle auch für das "
                "Ziel")
            ->type_name("BENUTZER");
    auto* targetPassword = copy->add_option("--target-password", arguments.targetPassword,
                                            "Kennwort des Ziels; sonst --target-password-file, "
                                            "VDB_TARGET_PASSWORD oder die Abfrage")
                               ->type_name("KENNWORT")
                               ->needs(targetUser);
    copy->add_option("--target-password-file", arguments.targetPasswordFile,
                     "Datei mit dem Kennwort des Ziels in der ersten Zeile")
        ->type_name("DATEI")
        ->needs(targetUser)
        ->excludes(targetPassword);
    copy->add_flag("--delete", arguments.deleteTarget,
                   "löscht zuerst alle Datensätze der Zieldatenbank");
    copy->add_flag("--quiet", arguments.quiet, "gibt nur Fehlerzeilen und die Übersicht aus");
    copy->add_option("--report", arguments.reportFile, "schreibt den Laufbericht (JSON)")
        ->type_name("DATEI.json");
    copy->add_option("--log", arguments.logFile, "schreibt das Protokoll in diese Datei")
        ->type_name("DATEI");
    copy->add_flag("--dry-run", arguments.dryRun,
                   "ändert nichts und sagt voraus, was die Kopie abweisen würde (wie vdb compare)");
    copy->add_flag("--verify", arguments.verify,
                   "vergleicht nach dem Lauf Quelle und Ziel Wert für Wert (Spalte Inhalt); eine "
                   "Abweichung ergibt Rückgabewert 3");
    copy->footer(
        "Ausgabe: jede Protokollzeile wie im Fenster, danach eine Übersicht je Tabelle. "
        "Fortschritt auf der Standardfehlerausgabe, nur wenn sie ein Terminal ist.\n" +
        std::string(kCancelRequestNames) +
        " bricht nach dem laufenden Datensatz ab; die Indizes werden trotzdem aufgebaut.\n"
        "Rückgabewerte: 0 alle Tabellen kopiert und geprüft; 3 Lauf beendet, aber eine Tabelle, "
        "ein Index oder eine Prüfung meldete einen Fehler (fehlende Tabellen im Ziel zählen "
        "nicht); 1 Lauf vorzeitig mit Fehler beendet; 4 abgebrochen; 2 falscher Aufruf.");
}

int copyCommand(const CLI::App& command, const CopyArguments& arguments, Console& console) {
    return copyCommand(command, arguments, console, [] { return engine::sqlite::createServer(); });
}

int copyCommand(const CLI::App& command, const CopyArguments& arguments, Console& console,
                const dbcopy::ServerFactory& createServer) {
    CopyForm form = makeForm(command, arguments, console);
    if (arguments.dryRun) return predictCopy(form, console);
    std::unique_ptr<ProgressDisplay> progress;
    if (console.errIsTerminal && !arguments.quiet) {
        progress = std::make_unique<ProgressDisplay>(console.err);
    }
    StreamLogView everyLine(console.out, [&progress] {
        if (progress) progress->clear();
    });
    SilentLogView noLine;
    NoYield yield;
    FilesystemProbe files;
    dbcopy::ProgressLog log(arguments.quiet ? static_cast<dbcopy::LogView&>(noLine) : everyLine,
                            yield);
    dbcopy::ImportRun run(form, log, yield, files, createServer);
    FaultLineStream faultLines(console.out);
    if (arguments.quiet) run.addObserver(faultLines);

    dbcopy::RunRecorder recorder;
    run.addObserver(recorder);
    std::optional<dbcopy::LogFile> logFile;
    if (!arguments.logFile.empty()) {
        logFile.emplace(arguments.logFile, [&console](const std::string& message) {
            console.err << "vdb: " << message << "\n";
        });
        run.addObserver(*logFile);
    }
    if (progress) run.addObserver(*progress);
    SignalCancel signals(run.cancelFlag());
    run.addObserver(signals);

    run.RunImport();

    dbcopy::RunSummary summary = recorder.summary();
    if (arguments.verify && summary.end == dbcopy::RunEnd::Finished) {
        verifyCopy(form, log, logFile ? &*logFile : nullptr, summary);
    }
    if (progress) progress->clear();
    const std::vector<std::string> table = dbcopy::summaryTable(summary);
    console.out << "\n";
    for (const std::string& line : table) console.out << line << "\n";
    console.out.flush();
    if (logFile) logFile->writeSummary(table);
    if (!arguments.reportFile.empty() && !dbcopy::writeReport(arguments.reportFile, summary)) {
        console.err << "vdb: Der Bericht " << engine::quoted(arguments.reportFile)
                    << " kann nicht geschrieben werden.\n";
    }
    return exitCodeFor(summary.status());
}

}  // namespace vdb
