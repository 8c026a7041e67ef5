#pragma once

#include <string>
#include <string_view>

#include "engine/Error.h"

// The German descriptions of the engine's errors, in one place so that they read alike.
namespace engine::sqlite::messages {

using engine::quoted;  // „text“

std::string fileNotFound(const std::string& path);
std::string notADatabase(const std::string& path);
std::string accessDenied();
std::string fileLocked(const std::string& path);
std::string needsRecovery(const std::string& path);
std::string fileExists(const std::string& path);
std::string readOnly();
std::string cannotCreate(const std::string& path, std::string_view reason);
std::string ioError(std::string_view detail);
std::string diskFull();
std::string noSuchTable(std::string_view name);
std::string noSuchField(std::string_view table, std::string_view field);
std::string noSuchIndex(std::string_view table, std::string_view key);
std::string databaseClosed();
std::string engineBusy();

}  // namespace engine::sqlite::messages
