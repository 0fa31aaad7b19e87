#include "settings/settings_table.h"

const std::array<SettingKey, 6> kSettingKeys = {{
    {"Application", "Version", 20, &SettingsValues::version},
    {"Data", "Folder", static_cast<const char*>(nullptr), &SettingsValues::folder},
    {"Data", "Prefix", "", &SettingsValues::prefix},
    {"Data", "StartNumber", "001", &SettingsValues::startNumber},
    {"Data", "Kaku", "*.*", &SettingsValues::filter},
    {"Config", "SmallCheck", 1, &SettingsValues::smallCheck},
}};
