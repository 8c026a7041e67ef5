#pragma once

#include <string>

namespace vdbtest {

// The few things the tests do to their own process and files that each system does its own way.

// Sets (value != nullptr) or removes an environment variable of this process.
void setEnvironment(const char* name, const char* value);

// Lets only the owner read and write the file (chmod 600; on Windows an access list of the owner
// alone).
void makeOwnerOnly(const std::string& path);

// Lets every user read the file (chmod 644; on Windows a read entry for everyone).
void makeReadableByOthers(const std::string& path);

}  // namespace vdbtest
