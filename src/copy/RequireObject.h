#pragma once

#include <memory>

#include "copy/RunErrorCodes.h"
#include "engine/Error.h"

namespace dbcopy {

// Returns object unchanged; throws engine::Error (codes::ObjectNotSet) when the engine handed
// back no object, so that a missing object is reported instead of being dereferenced.
template <typename T>
std::shared_ptr<T> requireObject(std::shared_ptr<T> object) {
    if (!object) throw engine::Error(codes::ObjectNotSet, "Objektvariable nicht festgelegt");
    return object;
}

}  // namespace dbcopy
