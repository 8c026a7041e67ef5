#pragma once

#include <stdexcept>
#include <string>

namespace vdb {

// A failure of a command that is not the engine's: a bad schema or CSV file, an unreadable
// input file. The message is German and complete, ready for the user.
class CommandError : public std::runtime_error {
public:
    explicit CommandError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace vdb
