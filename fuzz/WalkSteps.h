#pragma once

#include <cstdint>

#include "WalkReport.h"
#include "engine/Error.h"

// Helpers shared by the read and the write walk.
namespace vdbfuzz {

inline constexpr std::int32_t kCursorFlags = 32;  // what the copy passes to MoveFirst and Move

// Runs one step of a walk: an engine::Error ends only this step and is recorded in report.
template <typename Step>
void guarded(WalkReport& report, Step&& step) {
    try {
        step();
    } catch (const engine::Error& error) {
        report.errors.push_back(error.code());
    }
}

}  // namespace vdbfuzz
