#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace vdb {

// `vdb demo FILE [--records N]`: writes a new sample database (see DemoData.h) with N
// customers and reports its tables, user and password on out. Refuses an existing file
// (engine::Error FileExists); when filling fails, removes the new file again and passes the
// engine::Error on.
void demoCommand(const std::string& file, std::int32_t customers, std::ostream& out);

}  // namespace vdb
