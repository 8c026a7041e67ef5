#pragma once

#include <cstdint>
#include <string>

#include "engine/Variant.h"

namespace engine {

class Index : public Object {
public:
    virtual std::string Name() = 0;
    virtual std::string DisplayName(std::int32_t reserved) = 0;
    // May raise an earlier record's failure (see the head of DbServer.h).
    virtual void Rebuild() = 0;
};

}  // namespace engine
