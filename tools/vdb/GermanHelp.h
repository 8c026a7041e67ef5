#pragma once

#include <string>

#include <CLI/CLI.hpp>

namespace vdb {

// Makes the parser speak German: the headings and labels of the help, the help flag -h/--help,
// the version flag --version (printing "vdb " + version and the licence line) and the messages of usage errors
// ("vdb: TABLE fehlt."). Call it on the top-level app before adding any command: a command
// takes the formatter, the help flag, its group heading and the failure message from its
// parent when it is added, so every command added afterwards speaks German too.
void useGermanTexts(CLI::App& app, const std::string& version);

// The German text of a usage error that CLI11 raised, without the "vdb: " prefix. Known
// messages are translated with their names and values; a validator's unknown message is kept
// as it is (our own validators speak German), any other keeps CLI11's text after
// "falscher Aufruf: ". Never throws.
std::string germanParseError(const CLI::Error& error);

}  // namespace vdb
