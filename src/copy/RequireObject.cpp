#include "copy/RequireObject.h"

namespace dbcopy {

void refuseMissingObject() {
    throw engine::Error(codes::ObjectNotSet, "Objektvariable nicht festgelegt");
}

}  // namespace dbcopy
