#pragma once

#include <stdexcept>

namespace vdbfuzz {

// Raised by a walk when the engine breaks a promise of its interface without raising
// engine::Error (a name lookup that finds another object, a count that does not add up).
// Like a crash, it is a finding.
class WalkFault : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

}  // namespace vdbfuzz
