#pragma once

#include <string>

namespace dbcopy {

// The window's text boxes whose contents are remembered between program starts.
enum class SettingsField { txtDatabase, txtUsername, txtDatabaseDest };

// The three remembered text boxes as the settings operations see them (texts in UTF-8).
class SettingsForm {
public:
    virtual ~SettingsForm() = default;

    virtual std::string settingText(SettingsField field) const = 0;
    virtual void setSettingText(SettingsField field, const std::string& text) = 0;
};

}  // namespace dbcopy
