#pragma once

#include "settings/SettingsStore.h"

namespace dbcopy {

// The per-user settings store of the platform. On Windows the values live in the registry under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>, where the earlier Windows
// version of the program kept them; elsewhere in the platform's native per-user location (on Linux
// $XDG_CONFIG_HOME/<app>.conf, ~/.config by default).
class QtSettingsStore : public SettingsStore {
public:
    // Throws std::runtime_error when the store cannot be read.
    std::string readSetting(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& defaultText) override;

    // Writes through at once; throws std::runtime_error when the store cannot be written.
    void writeSetting(const std::string& app, const std::string& section, const std::string& key,
                      const std::string& text) override;
};

}  // namespace dbcopy
