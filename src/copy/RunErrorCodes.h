#pragma once

#include <cstdint>

// Codes of the errors that the copy engine raises itself, next to the engine's own codes.
// They are reported with the same two log lines as any engine error.
namespace dbcopy::codes {

constexpr std::int32_t Overflow = 6;        // "Überlauf": the record counter passed 2147483647
constexpr std::int32_t OutOfMemory = 7;     // "Nicht genügend Speicher": std::bad_alloc
constexpr std::int32_t Cancelled = 18;      // a cancel request stopped the copy of a table
constexpr std::int32_t InternalError = 51;  // "Interner Fehler": any other non-engine exception
constexpr std::int32_t ObjectNotSet = 91;   // "Objektvariable nicht festgelegt": engine gave none
constexpr std::int32_t SameFile = 75;       // source and target paths name one file
constexpr std::int32_t NoServer = 429;      // the engine server could not be made

}  // namespace dbcopy::codes
