#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include "engine/Utf8Path.h"

namespace testsupport {

// The whole content of a file, to prove that a run left it byte-identical.
inline std::string fileBytes(const std::string& path) {
    std::ifstream in(engine::pathFromUtf8(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace testsupport
