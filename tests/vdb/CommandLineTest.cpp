#include "vdb/CommandLine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "VdbRun.h"
#include "vdb/Login.h"
#include "version/Version.h"

namespace {

using testing::HasSubstr;
using testing::Not;
using vdbtest::runVdb;
using Args = std::vector<std::string>;

class CommandLine : public testing::Test {
protected:
    void SetUp() override {
        vdbtest::createKunden(m_dir, m_vdb);
        testsupport::appendRows(m_vdb, "Kunden", {{engine::Variant(1), engine::Variant("Köhler")}});
    }

    vdbtest::ScopedEnv m_noPassword{vdb::kPasswordVariable, nullptr};
    testsupport::TempDir m_dir;
    std::string m_vdb = m_dir.file("kunden.vdb");
};

struct ExitCase {
    const char* name;
    Args args;  // "@" stands for the test database
    int code;
    std::string err;  // a part of the message on stderr
};

// Names the case in test output.
void PrintTo(const ExitCase& c, std::ostream* out) {
    *out << c.name;
}

class CommandLineExit : public CommandLine, public testing::WithParamInterface<ExitCase> {};

TEST_P(CommandLineExit, ReturnsCodeAndMessage) {
    Args args = GetParam().args;
    for (auto& arg : args) {
        if (arg == "@") arg = m_vdb;
        if (arg == "@missing") arg = m_dir.file("fehlt.vdb");
    }
    const auto result = runVdb(args);
    EXPECT_EQ(result.code, GetParam().code) << result.err;
    EXPECT_THAT(result.err, HasSubstr(GetParam().err));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineExit,
    testing::Values(
        ExitCase{"InfoSucceeds", {"info", "@", "-p", "geheim"}, 0, ""},
        ExitCase{"WrongPassword", {"info", "@", "-p", "falsch"}, 1, "vdb: Fehler 0x80041003: "},
        ExitCase{"RepairOfAWholeFile", {"repair", "@", "-p", "geheim"}, 0, ""},
        ExitCase{"RepairWithWrongPassword", {"repair", "@", "-p", "falsch"}, 1, "0x80041003"},
        ExitCase{"RepairOfAMissingFile", {"repair", "@missing", "-p", "geheim"}, 1, "0x80041001"},
        ExitCase{"NoPasswordAtAll", {"dump", "@", "Kunden"}, 1, "Fehler 0x80041003"},
        ExitCase{"UnknownUser", {"info", "@", "-u", "GAST", "-p", "geheim"}, 1, "0x80041003"},
        ExitCase{"MissingFile", {"info", "@missing", "-p", "geheim"}, 1, "Fehler 0x80041001: "},
        ExitCase{
            "UnknownTable", {"dump", "@", "Lieferanten", "-p", "geheim"}, 1, "Fehler 0x80041040: "},
        ExitCase{"ImportIntoUnknownTable",
                 {"import", "@", "Lieferanten", "x.csv", "-p", "geheim"},
                 1,
                 "0x80041040"},
        ExitCase{"NoCommand", {}, 2, ""}, ExitCase{"UnknownCommand", {"copy", "@"}, 2, ""},
        ExitCase{"MissingTable", {"dump", "@", "-p", "geheim"}, 2, "TABELLE fehlt"},
        ExitCase{"ExtraArgument", {"info", "@", "zuviel", "-p", "geheim"}, 2, "zuviel"},
        ExitCase{"UnknownOption", {"info", "@", "--kennwort", "geheim"}, 2, "--kennwort"},
        ExitCase{"CreateWithoutSchema", {"create", "@missing"}, 2, "--schema"},
        ExitCase{"NegativeRecords", {"demo", "@missing", "--records", "-1"}, 2, ""},
        ExitCase{"RecordsNotANumber", {"demo", "@missing", "--records", "viele"}, 2, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandLine, HelpExitsWithZero) {
    const auto result = runVdb({"--help"});
    EXPECT_EQ(result.code, 0);
    EXPECT_THAT(result.out, HasSubstr("import"));
    EXPECT_THAT(result.out, HasSubstr("repair"));
    EXPECT_THAT(result.out,
                HasSubstr("deren Datensätze jedes SQLite-Werkzeug ohne Anmeldung liest"));
}

TEST_F(CommandLine, UnknownCommandIsNamedAndTheCommandsAreListed) {
    const auto result = runVdb({"reparier", m_vdb});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err.rfind("vdb: unbekannter Befehl „reparier“\nBefehle:\n", 0), 0u)
        << result.err;
    for (const char* command :
         {"create", "import", "dump", "info", "repair", "demo", "compare", "copy"}) {
        EXPECT_THAT(result.err, HasSubstr(std::string("\n  ") + command + " ")) << command;
    }
}

TEST_F(CommandLine, HelpHasNoEnglishHeadingOrText) {
    for (const Args& args : {Args{"--help"}, Args{"dump", "--help"}, Args{"demo", "-h"}}) {
        const auto result = runVdb(args);
        EXPECT_EQ(result.code, 0) << args[0];
        EXPECT_THAT(result.out, HasSubstr("Aufruf: vdb")) << args[0];
        for (const char* english :
             {"Usage", "Options", "OPTIONS", "Subcommands", "SUBCOMMAND", "Positionals", "REQUIRED",
              "Print this help", "Display program", " INT", "in [", "FILE ", "TABLE "}) {
            EXPECT_THAT(result.out, Not(HasSubstr(english))) << args[0];
        }
    }
}

TEST_F(CommandLine, UsageErrorsAreGerman) {
    for (const Args& args :
         {Args{}, Args{"dump", m_vdb}, Args{"info", m_vdb, "zuviel"},
          Args{"demo", m_vdb, "--records", "viele"}, Args{"demo", m_vdb, "--records", "20000000"},
          Args{"create", m_vdb, "--schema"}}) {
        const auto result = runVdb(args);
        EXPECT_EQ(result.code, 2);
        EXPECT_THAT(result.err, HasSubstr("vdb: "));
        EXPECT_THAT(result.err, HasSubstr("Aufruf mit --help zeigt die Hilfe."));
        for (const char* english : {"is required", "not expected", "Could not convert",
                                    "not in range", "required", "falscher Aufruf: ", "Run with"}) {
            EXPECT_THAT(result.err, Not(HasSubstr(english))) << result.err;
        }
    }
}

TEST_F(CommandLine, VersionIsTheProjectVersion) {
    const auto result = runVdb({"--version"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out,
              std::string("vdb ") + veltrona::kVersion + "\n" + veltrona::kLicence + "\n");
}

TEST_F(CommandLine, ReadOnlyCommandsLeaveTheFileByteIdentical) {
    const std::string before = testsupport::fileBytes(m_vdb);
    for (const Args& args :
         {Args{"info", m_vdb, "-p", "geheim"}, Args{"dump", m_vdb, "Kunden", "-p", "geheim"},
          Args{"repair", m_vdb, "-p", "falsch"}, Args{"dump", m_vdb, "Lieferanten", "-p", "geheim"},
          Args{"info", m_vdb, "-p", "falsch"}}) {
        runVdb(args);
        EXPECT_EQ(testsupport::fileBytes(m_vdb), before) << args[0];
    }
}

TEST_F(CommandLine, OptionsMayStandAnywhereAfterTheCommand) {
    const auto result = runVdb({"dump", "-u", "ADMIN", m_vdb, "--password", "geheim", "Kunden"});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "ID,Name,Aktiv,Stufe\r\n1,\"Köhler\",,\r\n");
}

TEST_F(CommandLine, PasswordComesFromTheEnvironment) {
    vdbtest::ScopedEnv password(vdb::kPasswordVariable, "geheim");
    bool asked = false;
    const auto result = runVdb({"info", m_vdb}, [&] {
        asked = true;
        return std::string("falsch");
    });
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_FALSE(asked);
}

TEST_F(CommandLine, PasswordOptionWinsOverTheEnvironment) {
    vdbtest::ScopedEnv password(vdb::kPasswordVariable, "falsch");
    EXPECT_EQ(runVdb({"info", m_vdb, "-p", "geheim"}).code, 0);
}

TEST_F(CommandLine, PasswordIsAskedForWhenNeitherOptionNorEnvironmentGiveIt) {
    int asked = 0;
    const auto result = runVdb({"dump", m_vdb, "Kunden"}, [&] {
        ++asked;
        return std::string("geheim");
    });
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(asked, 1);
}

TEST_F(CommandLine, PasswordNeverAppearsInOutputOrMessages) {
    vdbtest::ScopedEnv password(vdb::kPasswordVariable, "falsch-geheim");
    const auto result = runVdb({"info", m_vdb});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err.find("falsch-geheim"), std::string::npos) << result.err;
    EXPECT_EQ(result.out.find("falsch-geheim"), std::string::npos) << result.out;
}

}  // namespace
