#include "vdb/CommandLine.h"

#include <algorithm>
#include <optional>

#include <CLI/CLI.hpp>

#include "engine/Error.h"
#include "vdb/CommandError.h"
#include "vdb/CompareCommand.h"
#include "vdb/CopyCommand.h"
#include "vdb/CreateCommand.h"
#include "vdb/DemoCommand.h"
#include "vdb/DumpCommand.h"
#include "vdb/GermanHelp.h"
#include "vdb/ImportCommand.h"
#include "vdb/InfoCommand.h"
#include "vdb/Login.h"
#include "vdb/RepairCommand.h"
#include "version/Version.h"

namespace vdb {

namespace {

constexpr std::int32_t kDefaultCustomers = 100000;

// The values of every command's arguments; each command uses its own.
struct Arguments {
    std::string file;
    std::string table;
    std::string csvFile;
    std::string schemaFile;
    std::int32_t records = kDefaultCustomers;
    std::string user = "ADMIN";
    std::string password;
    std::string targetFile;
    std::string targetUser;
    std::string targetPassword;
    bool deleteTarget = false;
    bool compareData = false;  // compare: also value by value
    CopyArguments copy;
};

void addLoginOptions(CLI::App& command, Arguments& arguments) {
    command.add_option("-u,--user", arguments.user, "Benutzername")->capture_default_str();
    command.add_option("-p,--password", arguments.password,
                       std::string("Kennwort; besser über die Umgebungsvariable ") +
                           kPasswordVariable + " oder die Abfrage am Terminal");
}

CLI::App* addFileCommand(CLI::App& app, const std::string& name, const std::string& description,
                         Arguments& arguments) {
    auto* command = app.add_subcommand(name, description);
    command->add_option("DATEI", arguments.file, "die .vdb-Datei")->required();
    return command;
}

// The login of a command with login options: the password option wins when it was given.
Login login(const CLI::App& command, const Arguments& arguments, const Console& console) {
    std::optional<std::string> option;
    if (command.get_option("--password")->count() > 0) option = arguments.password;
    return {arguments.user, resolvePassword(option, console)};
}

// The target's login of `vdb compare`: its own user with --target-user, whose password comes
// from --target-password, VDB_TARGET_PASSWORD or the prompt; otherwise the source's login.
Login targetLogin(const CLI::App& command, const Arguments& arguments, const Login& source,
                  Console& console) {
    if (command.get_option("--target-user")->count() == 0) return source;
    std::optional<std::string> option;
    if (command.get_option("--target-password")->count() > 0) option = arguments.targetPassword;
    Console prompt{console.out, console.err, console.askTargetPassword, nullptr, false};
    return {arguments.targetUser, resolvePassword(option, prompt, kTargetPasswordVariable)};
}

int compare(const CLI::App& command, const Arguments& arguments, Console& console) {
    const Login source = login(command, arguments, console);
    const Login target = targetLogin(command, arguments, source, console);
    return compareCommand({arguments.file, arguments.targetFile, source, target,
                           arguments.deleteTarget, arguments.compareData},
                          console.out);
}

// Runs the command the parser chose and returns its exit code; throws what the command throws.
int dispatch(const CLI::App& command, const Arguments& arguments, Console& console) {
    const std::string name = command.get_name();
    if (name == "create") {
        createCommand(arguments.file, arguments.schemaFile, console.out);
        return exit_code::Success;
    }
    if (name == "demo") {
        demoCommand(arguments.file, arguments.records, console.out);
        return exit_code::Success;
    }
    const Login user = login(command, arguments, console);
    if (name == "import") {
        importCommand(arguments.file, arguments.table, arguments.csvFile, user, console.out);
        return exit_code::Success;
    }
    if (name == "dump") {
        dumpCommand(arguments.file, arguments.table, user, console.out);
        return exit_code::Success;
    }
    if (name == "repair") return repairCommand(arguments.file, user, console.out);
    return infoCommand(arguments.file, user, console.out);
}

void defineCompare(CLI::App& app, Arguments& arguments) {
    auto* compare = app.add_subcommand(
        "compare", "sagt voraus, was eine Kopie der Quelle in das Ziel abweisen würde");
    compare->add_option("QUELLE", arguments.file, "die Quelldatenbank (.vdb)")->required();
    compare->add_option("ZIEL", arguments.targetFile, "die Zieldatenbank (.vdb)")->required();
    addLoginOptions(*compare, arguments);
    compare->add_option("--target-user", arguments.targetUser,
                        "eigener Benutzer der Ziel-DB; ohne ihn gilt die Anmeldung der Quelle");
    compare->add_option("--target-password", arguments.targetPassword,
                        std::string("Kennwort des Benutzers der Ziel-DB; besser über ") +
                            kTargetPasswordVariable + " oder die Abfrage am Terminal");
    compare->add_flag("--delete", arguments.deleteTarget,
                      "die Kopie würde die Ziel-DB vorher leeren");
    compare->add_flag("--data", arguments.compareData,
                      "vergleicht danach eine schon gemachte Kopie Wert für Wert; Rückgabewert "
                      "dann 0 alle Tabellen gleich, 3 sonst, 1 Ziel-DB nicht zu öffnen");
    compare->footer(
        "Öffnet beide Dateien schreibgeschützt und ändert nichts. Rückgabewerte: 0 nichts "
        "würde abgewiesen; 3 Werte oder Schlüssel würden abgewiesen; 1 Fehler der Datenbank; "
        "2 falscher Aufruf.");
}

void defineCommands(CLI::App& app, Arguments& arguments) {
    app.require_subcommand(1);
    app.footer(
        "Rückgabewerte: 0 Erfolg; 1 Fehler der Datenbank (mit Fehlercode) oder einer "
        "Eingabedatei (Schema, CSV); 2 falscher Aufruf; bei copy außerdem 3 (Lauf beendet, "
        "aber mit Fehlern) und 4 (abgebrochen), siehe vdb copy --help; bei info und repair "
        "außerdem 3 (die Datei muss repariert werden).\n"
        "Eine .vdb-Datei ist eine SQLite-Datei, deren Datensätze jedes SQLite-Werkzeug ohne "
        "Anmeldung liest: legen Sie Datenbankdateien nur in Ordner, die allein ihre Benutzer "
        "lesen können, und kopieren Sie sie nur in solche Ordner.\n"
        "CSV: UTF-8, Zeilenende CR LF (LF wird beim Import ebenso gelesen), Texte in "
        "Anführungszeichen, leere Zelle ohne Anführungszeichen = kein Wert, \"\" = leerer Text, "
        "Wahrheitswerte true/false.\n"
        "Kennwort: -p, sonst Umgebungsvariable VDB_PASSWORD, sonst Abfrage am Terminal.");
    auto* create =
        addFileCommand(app, "create", "legt eine leere Datenbank nach Schema an", arguments);
    create->add_option("--schema", arguments.schemaFile, "Schemadatei (JSON)")->required();

    auto* import =
        addFileCommand(app, "import", "hängt die Datensätze einer CSV-Datei an", arguments);
    import->add_option("TABELLE", arguments.table, "Tabelle")->required();
    import->add_option("CSV-DATEI", arguments.csvFile, "CSV-Datei (UTF-8)")->required();
    addLoginOptions(*import, arguments);

    auto* dump = addFileCommand(app, "dump", "gibt eine Tabelle als CSV aus", arguments);
    dump->add_option("TABELLE", arguments.table, "Tabelle")->required();
    addLoginOptions(*dump, arguments);

    auto* info =
        addFileCommand(app, "info", "zeigt Tabellen, Felder, Indizes und Datensätze", arguments);
    addLoginOptions(*info, arguments);
    info->footer(
        "Öffnet die Datei schreibgeschützt und ändert nichts, auch wenn sie beim letzten "
        "Schreiben nicht sauber geschlossen wurde. Rückgabewerte: 0 die Datei ist vollständig; "
        "3 sie muss repariert werden (ausgesetzter Index, nicht sauber geschlossen, siehe vdb "
        "repair); 1 sie kann nicht gelesen werden.");

    auto* repair = addFileCommand(
        app, "repair", "stellt eine Datei wieder her und baut ausgesetzte Indizes neu auf",
        arguments);
    addLoginOptions(*repair, arguments);
    repair->footer(
        "Öffnet die Datei mit Schreibzugriff (das stellt eine nicht sauber geschlossene Datei "
        "wieder her), baut jeden ausgesetzten Index neu auf und prüft die Datei mit der "
        "Integritätsprüfung von SQLite. Ein eindeutiger Index, dessen Schlüssel mehrfach "
        "vorkommen, wird mit diesen Schlüsseln gemeldet und bleibt ausgesetzt. Kein Datensatz "
        "wird gelöscht oder geändert. Rückgabewerte: 0 die Datei ist vollständig und jeder Index "
        "aufgebaut; 3 ein Index bleibt ausgesetzt; 1 die Datei kann nicht geöffnet werden oder "
        "ist beschädigt.");

    auto* demo = addFileCommand(app, "demo", "legt eine Demodatenbank an", arguments);
    demo->add_option("--records", arguments.records, "Anzahl der Kunden")
        ->capture_default_str()
        ->check(CLI::Range(0, 10000000));

    defineCompare(app, arguments);
    defineCopyCommand(app, arguments.copy);
}

// When the first word names no command: "vdb: unbekannter Befehl „WORT“", the list of
// commands and the exit code.
std::optional<int> refuseUnknownCommand(CLI::App& app, const std::vector<std::string>& args,
                                        Console& console) {
    if (args.empty() || args.front().starts_with('-')) return std::nullopt;
    const std::vector<CLI::App*> commands = app.get_subcommands({});
    std::size_t width = 0;
    for (const CLI::App* command : commands) {
        if (command->get_name() == args.front()) return std::nullopt;
        width = std::max(width, command->get_name().size());
    }
    console.err << "vdb: unbekannter Befehl „" << args.front() << "“\nBefehle:\n";
    for (const CLI::App* command : commands) {
        const std::string& name = command->get_name();
        console.err << "  " << name << std::string(width - name.size() + 2, ' ')
                    << command->get_description() << "\n";
    }
    console.err << "Aufruf mit --help zeigt die Hilfe.\n";
    return exit_code::Usage;
}

// Parses args; returns the exit code when the run ends here (help or a usage error).
std::optional<int> parse(CLI::App& app, const std::vector<std::string>& args, Console& console) {
    if (auto code = refuseUnknownCommand(app, args, console)) return code;
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // the parser's order
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error, console.out, console.err);
        return code == static_cast<int>(CLI::ExitCodes::Success) ? exit_code::Success
                                                                 : exit_code::Usage;
    }
    return std::nullopt;
}

}  // namespace

int runCommandLine(const std::vector<std::string>& args, Console& console) {
    CLI::App app("Verwaltungswerkzeug für .vdb-Datenbankdateien", "vdb");
    useGermanTexts(app, veltrona::kVersion);
    Arguments arguments;
    defineCommands(app, arguments);
    if (auto code = parse(app, args, console)) return *code;
    try {
        const CLI::App& command = *app.get_subcommands().front();
        if (command.get_name() == "compare") return compare(command, arguments, console);
        if (command.get_name() == "copy") return copyCommand(command, arguments.copy, console);
        return dispatch(command, arguments, console);
    } catch (const engine::Error& error) {
        console.err << "vdb: " << errorText(error) << "\n";
    } catch (const CommandError& error) {
        console.err << "vdb: " << error.what() << "\n";
    } catch (const std::exception& error) {
        console.err << "vdb: unerwarteter Fehler: " << error.what() << "\n";
    }
    return exit_code::Failure;
}

}  // namespace vdb
