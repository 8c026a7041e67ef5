#include "platform/ParentConsole.h"

namespace dbcopy {

void useParentConsoleForOutput() {}

}  // namespace dbcopy
