#pragma once

#include <cstdint>

// The engine's error codes. All lie in the 0x8004xxxx range; callers test only NoSuchTable.
namespace engine::codes {

constexpr std::int32_t make(std::uint32_t value) { return static_cast<std::int32_t>(value); }

constexpr std::int32_t FileNotFound = make(0x80041001);     // no file at the path
constexpr std::int32_t NotADatabase = make(0x80041002);     // foreign, damaged or truncated file
constexpr std::int32_t AccessDenied = make(0x80041003);     // wrong user name or password
constexpr std::int32_t FileLocked = make(0x80041004);       // another process holds the file
constexpr std::int32_t FileExists = make(0x80041005);       // a file is already at the path
constexpr std::int32_t ReadOnly = make(0x80041006);         // write on a read-only database
constexpr std::int32_t CannotCreate = make(0x80041007);     // the new file could not be written
constexpr std::int32_t NeedsRecovery = make(0x80041008);    // left mid-write; a writable open repairs it
constexpr std::int32_t ValueRefused = make(0x80041010);     // value does not fit the field
constexpr std::int32_t NoNewRecord = make(0x80041011);      // Update without AddNew
constexpr std::int32_t NoCurrentRecord = make(0x80041012);  // cursor before first / past last
constexpr std::int32_t DuplicateKey = make(0x80041013);     // a unique index would hold a value twice
constexpr std::int32_t TypeMismatch = make(0x80041014);     // argument of the wrong type
constexpr std::int32_t IoError = make(0x80041020);          // disk full or write failure
constexpr std::int32_t NoSuchTable = make(0x80041040);      // no table of that name
constexpr std::int32_t NoSuchField = make(0x80041041);      // no field of that name
constexpr std::int32_t NoSuchIndex = make(0x80041042);      // no index of that name or position
constexpr std::int32_t InvalidArgument = make(0x80041050);  // an argument out of its range

}  // namespace engine::codes
