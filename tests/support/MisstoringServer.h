#pragma once

#include <memory>
#include <string>

#include "engine/DbServer.h"

namespace testsupport {

// The real engine with one fault: every write of the text `wrong` into a field stores
// `stored` instead. Everything else passes through unchanged, for a copy that loses one value
// without any error.
std::shared_ptr<engine::DbServer> misstoringServer(std::string wrong, std::string stored);

}  // namespace testsupport
