#include "VdbRun.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <CLI/CLI.hpp>

#include "TestPlatform.h"
#include "engine/Utf8Path.h"
#include "vdb/CommandLine.h"
#include "vdb/CopyCommand.h"

namespace vdbtest {

const char* const kKundenSchema = R"({
  "users": [{"name": "ADMIN", "password": "geheim"}],
  "tables": [{"name": "Kunden", "displayName": "Kundenstamm",
              "fields": [{"name": "ID", "type": "int32"},
                         {"name": "Name", "type": "text", "size": 20},
                         {"name": "Aktiv", "type": "bool"},
                         {"name": "Stufe", "type": "int16"}],
              "indexes": [{"name": "ID", "fields": ["ID"], "unique": true}]}]
})";

RunResult runVdb(const std::vector<std::string>& args, std::function<std::string()> askPassword) {
    std::ostringstream out, err;
    vdb::Console console{out, err, std::move(askPassword), nullptr, false};
    RunResult result;
    result.code = vdb::runCommandLine(args, console);
    result.out = out.str();
    result.err = err.str();
    return result;
}

RunResult runCopyWith(const std::vector<std::string>& args,
                      const dbcopy::ServerFactory& createServer) {
    CLI::App app("vdb");
    vdb::CopyArguments arguments;
    vdb::defineCopyCommand(app, arguments);
    app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
    std::ostringstream out, err;
    vdb::Console console{out, err, nullptr, nullptr, false};
    RunResult result;
    result.code =
        vdb::copyCommand(*app.get_subcommands().front(), arguments, console, createServer);
    result.out = out.str();
    result.err = err.str();
    return result;
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(engine::pathFromUtf8(path), std::ios::binary) << text;
}

void createKunden(const testsupport::TempDir& dir, const std::string& path) {
    const std::string schema = dir.file("kunden.json");
    writeFile(schema, kKundenSchema);
    const RunResult created = runVdb({"create", path, "--schema", schema});
    if (created.code != 0) throw std::runtime_error("create failed: " + created.err);
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : m_name(name) {
    const char* old = std::getenv(name);
    m_had = old != nullptr;
    if (m_had) m_old = old;
    setEnvironment(name, value);
}

ScopedEnv::~ScopedEnv() {
    setEnvironment(m_name.c_str(), m_had ? m_old.c_str() : nullptr);
}

}  // namespace vdbtest
