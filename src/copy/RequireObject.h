#pragma once

#include <memory>

#include "copy/RunErrorCodes.h"
#include "engine/Error.h"

namespace dbcopy {

[[noreturn]] void refuseMissingObject();

// Returns object unchanged; throws engine::Error (codes::ObjectNotSet) when the engine handed
// back no object, so that a missing object is reported instead of being dereferenced. Asked for
// twice per field of every record copied: the check stays inline, the error out of line.
template <typename T>
std::shared_ptr<T> requireObject(std::shared_ptr<T> object) {
    if (!object) refuseMissingObject();
    return object;
}

}  // namespace dbcopy
