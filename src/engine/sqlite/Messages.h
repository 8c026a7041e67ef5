#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/Error.h"

// The German descriptions of the engine's errors, all of them, in one place so that they read
// alike. Only the detail that a check finds (why a value or a schema is refused, SQLite's own
// words) comes from where it is found.
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
std::string foreignDatabase();
std::string createArguments();
std::string invalidSchema(std::string_view problem);
std::string transactionOpen();
std::string invalidTableNumber(std::int32_t position);
std::string invalidFieldNumber(std::int32_t position);
std::string invalidIndexNumber(std::int32_t position);
std::string indexKeyType();
std::string noNewRecord();
std::string cursorForwardOnly();
std::string endOfTable();
std::string noCurrentRecord();
std::string valueRefused(std::string_view value, std::string_view field, std::string_view why);
std::string duplicateValue(std::string_view detail);
std::string recordKeyExists(std::string_view table, std::string_view index);
std::string recordKeyExists(std::string_view table);
std::string rebuildDuplicates(std::string_view table, std::string_view index,
                              std::string_view keys);

}  // namespace engine::sqlite::messages
