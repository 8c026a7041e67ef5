#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "settings/SettingsStore.h"

namespace testsupport {

// A settings store in memory that remembers every read and write in call order. It can be told
// to fail at the nth write, as a full disk or a locked registry would.
class MemorySettingsStore : public dbcopy::SettingsStore {
public:
    using Address = std::tuple<std::string, std::string, std::string>;  // app, section, key

    std::string readSetting(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& defaultText) override {
        reads.push_back({app, section, key});
        const auto found = values.find({app, section, key});
        return found == values.end() ? defaultText : found->second;
    }

    void writeSetting(const std::string& app, const std::string& section, const std::string& key,
                      const std::string& text) override {
        if (failAtWrite == static_cast<int>(writes.size()) + 1) {
            throw std::runtime_error("settings store not writable");
        }
        writes.push_back({app, section, key});
        values[{app, section, key}] = text;
    }

    std::map<Address, std::string> values;
    std::vector<Address> reads;
    std::vector<Address> writes;
    int failAtWrite = 0;  // 1-based; 0: never fail
};

}  // namespace testsupport
