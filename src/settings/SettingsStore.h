#pragma once

#include <string>

namespace dbcopy {

// The platform's per-user store of text settings, addressed by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored value of key, or defaultText when the key does not exist; a key that holds the
    // empty text yields the empty text. Throws when the store cannot be read.
    virtual std::string readSetting(const std::string& app, const std::string& section,
                                    const std::string& key, const std::string& defaultText) = 0;

    // Creates or replaces the value of key, unchanged; it outlives the program.
    // Throws when the store cannot be written.
    virtual void writeSetting(const std::string& app, const std::string& section,
                              const std::string& key, const std::string& text) = 0;
};

}  // namespace dbcopy
