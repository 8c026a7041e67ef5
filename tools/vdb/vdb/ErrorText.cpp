#include "vdb/ErrorText.h"

namespace vdb {

std::string errorText(const engine::Error& error) {
    return "Fehler " + engine::hexCode(error.code()) + ": " + error.description();
}

}  // namespace vdb
