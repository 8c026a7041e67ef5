#include "vdb/GermanHelp.h"

#include "version/Version.h"

#include <memory>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vdb {

namespace {

// CLI11's words in the help and their German replacements.
const std::pair<const char*, const char*> kLabels[] = {
    {"Usage", "Aufruf"},
    {"OPTIONS", "OPTIONEN"},
    {"SUBCOMMAND", "BEFEHL"},
    {"SUBCOMMANDS", "BEFEHLE"},
    {"Positionals", "Argumente"},
    {"Options", "Optionen"},
    {"REQUIRED", "erforderlich"},
    {"Env", "Umgebungsvariable"},
    {"Needs", "braucht"},
    {"Excludes", "schließt aus"},
    {"TEXT", "TEXT"},
    {"INT", "ZAHL"},
    {"UINT", "ZAHL"},
    {"FLOAT", "ZAHL"},
    {"BOOLEAN", "JA/NEIN"},
};

// Whether error is a T. CLI11 names some errors after the command they happened in, so the
// type says what kind of error it is, not its name.
template <typename T>
bool isA(const CLI::Error& error) {
    return dynamic_cast<const T*>(&error) != nullptr;
}

// A CLI11 message pattern (an ECMAScript regular expression over the whole message) of one
// error type, and its German form with $1, $2 … for the parts the pattern captures.
struct Translation {
    bool (*matchesType)(const CLI::Error&);
    std::regex pattern;
    const char* german;
};

const std::vector<Translation>& translations() {
    using namespace CLI;
    static const std::vector<Translation> table = {
        {isA<RequiredError>, std::regex("A subcommand is required"), "es fehlt ein Befehl"},
        {isA<RequiredError>, std::regex("(.+) is required"), "$1 fehlt"},
        {isA<ExtrasError>, std::regex("The following arguments? (?:was|were) not expected: (.*)"),
         "nicht erwartet: $1"},
        {isA<ArgumentMismatch>, std::regex("(.+): \\d+ required \\S+ missing"),
         "$1: der Wert fehlt"},
        {isA<ArgumentMismatch>, std::regex("Expected exactly (\\d+) arguments to (.+), got (\\d+)"),
         "$2 erwartet genau $1 Werte, erhielt $3"},
        {isA<ArgumentMismatch>,
         std::regex("Expected at least (\\d+) arguments to (.+), got (\\d+)"),
         "$2 erwartet mindestens $1 Werte, erhielt $3"},
        {isA<ArgumentMismatch>, std::regex("(.+): At least (\\d+) required but received (\\d+)"),
         "$1 erwartet mindestens $2 Werte, erhielt $3"},
        {isA<ArgumentMismatch>, std::regex("(.+): At Most (\\d+) required but received (\\d+)"),
         "$1 erwartet höchstens $2 Werte, erhielt $3"},
        {isA<ConversionError>, std::regex("Could not convert: (.+) = (.*)"),
         "$1: „$2“ ist kein gültiger Wert"},
        {isA<ConversionError>, std::regex("The value (.+) is not an allowed value for (.+)"),
         "$2: „$1“ ist kein gültiger Wert"},
        {isA<ConversionError>, std::regex("(.+): too many inputs for a flag"),
         "$1 ist ein Schalter und nimmt keinen Wert"},
        {isA<ValidationError>, std::regex("(.+): Value (.+) not in range (.+) to (.+)"),
         "$1: $2 liegt nicht zwischen $3 und $4"},
        {isA<ValidationError>, std::regex("(.+): File does not exist: (.+)"),
         "$1: die Datei „$2“ gibt es nicht"},
        {isA<ValidationError>, std::regex("(.+): File is actually a directory: (.+)"),
         "$1: „$2“ ist ein Ordner, keine Datei"},
        {isA<RequiresError>, std::regex("(.+) requires (.+)"), "$1 braucht auch $2"},
        {isA<ExcludesError>, std::regex("(.+) excludes (.+)"), "$1 und $2 schließen einander aus"},
    };
    return table;
}

// The German form of one part of an option's type name: "ZAHL", or a range validator's
// "INT in [0 - 10000000]" as "0 bis 10000000".
std::string germanTypePart(const std::string& part, const CLI::FormatterBase& formatter) {
    static const std::regex range("\\S+ in \\[(.+) - (.+)\\]");
    std::smatch match;
    if (std::regex_match(part, match, range)) return match.format("$1 bis $2");
    return formatter.get_label(part);
}

// CLI11's formatter with German labels and value descriptions such as
// "--records ZAHL (0 bis 10000000, Vorgabe 100000)".
class GermanFormatter : public CLI::Formatter {
public:
    GermanFormatter() {
        for (const auto& [english, german] : kLabels) label(english, german);
    }

    std::string make_group(std::string group, bool isPositional,
                           std::vector<const CLI::Option*> options) const override {
        return CLI::Formatter::make_group(get_label(group), isPositional, std::move(options));
    }

    std::string make_option_opts(const CLI::Option* option) const override {
        if (!option->get_option_text().empty()) return " " + option->get_option_text();
        std::string text;
        if (option->get_type_size() != 0) text += valueDescription(*option);
        if (!option->get_envname().empty()) {
            text += " (" + get_label("Env") + " " + option->get_envname() + ")";
        }
        text += optionList(get_label("Needs"), option->get_needs());
        text += optionList(get_label("Excludes"), option->get_excludes());
        return text;
    }

private:
    // " TYP (Bereich, Vorgabe X) erforderlich" for an option that takes a value.
    std::string valueDescription(const CLI::Option& option) const {
        const std::vector<std::string> parts = CLI::detail::split(option.get_type_name(), ':');
        std::string text;
        std::vector<std::string> notes;
        for (std::size_t index = 0; index < parts.size(); ++index) {
            if (parts[index].empty()) continue;
            const std::string german = germanTypePart(parts[index], *this);
            if (index == 0) {
                text += " " + german;
            } else {
                notes.push_back(german);
            }
        }
        if (!option.get_default_str().empty())
            notes.push_back("Vorgabe " + option.get_default_str());
        if (!notes.empty()) text += " (" + CLI::detail::join(notes, ", ") + ")";
        if (option.get_expected_max() == CLI::detail::expected_max_vector_size) text += " …";
        if (option.get_required()) text += " " + get_label("REQUIRED");
        return text;
    }

    static std::string optionList(const std::string& label, const std::set<CLI::Option*>& options) {
        std::string text;
        if (options.empty()) return text;
        text += " " + label + ":";
        for (const CLI::Option* option : options) text += " " + option->get_name();
        return text;
    }
};

std::string failureMessage(const CLI::App* /*app*/, const CLI::Error& error) {
    return "vdb: " + germanParseError(error) + "\nAufruf mit --help zeigt die Hilfe.\n";
}

}  // namespace

void useGermanTexts(CLI::App& app, const std::string& version) {
    app.formatter(std::make_shared<GermanFormatter>());
    app.failure_message(failureMessage);
    app.set_help_flag("-h,--help", "zeigt diese Hilfe und endet");
    app.set_version_flag("--version", "vdb " + version + "\n" + veltrona::kLicence,
                         "zeigt die Versionsnummer und endet");
    app.group("Befehle");
}

std::string germanParseError(const CLI::Error& error) {
    const std::string message = error.what();
    for (const Translation& translation : translations()) {
        std::smatch match;
        if (translation.matchesType(error) &&
            std::regex_match(message, match, translation.pattern)) {
            return match.format(translation.german);
        }
    }
    // A validator's own message is already the program's text.
    if (isA<CLI::ValidationError>(error)) return message;
    return "falscher Aufruf: " + message;
}

}  // namespace vdb
