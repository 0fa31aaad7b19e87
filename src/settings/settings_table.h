#pragma once
// The settings the program keeps from one run to the next: every key with its section and
// default, in the order they are read and written.

#include <array>
#include <variant>

#include "platform/text.h"

// The values the main window holds between reading and writing.
struct SettingsValues {
    int version = 0;
    CString folder;
    CString prefix;
    CString startNumber;
    CString filter;
    int smallCheck = 0;
};

// The stamp every save writes, whatever was read.
inline constexpr int kSettingsFormatVersion = 20;

struct SettingKey {
    const char* section;
    const char* key;
    // An integer key carries its default; a text key its default text, where nullptr stands
    // for the working directory at the time the settings are read.
    std::variant<int, const char*> defaultValue;
    std::variant<int SettingsValues::*, CString SettingsValues::*> field;
};

extern const std::array<SettingKey, 6> kSettingKeys;

// Store: anything with the four profile operations of the application object.
template <class Store>
SettingsValues ReadSettings(Store& store, const CString& workingDirectory) {
    SettingsValues values;
    for (const SettingKey& setting : kSettingKeys) {
        if (auto* intField = std::get_if<int SettingsValues::*>(&setting.field)) {
            values.*(*intField) = static_cast<int>(store.GetProfileInt(
                setting.section, setting.key, std::get<int>(setting.defaultValue)));
        } else {
            const char* fallback = std::get<const char*>(setting.defaultValue);
            values.*std::get<CString SettingsValues::*>(setting.field) = store.GetProfileString(
                setting.section, setting.key,
                fallback != nullptr ? fallback : workingDirectory.GetString());
        }
    }
    return values;
}

// Every write is made, whatever became of the ones before it.
template <class Store>
void WriteSettings(Store& store, const SettingsValues& values) {
    for (const SettingKey& setting : kSettingKeys) {
        if (auto* intField = std::get_if<int SettingsValues::*>(&setting.field)) {
            int value = *intField == &SettingsValues::version ? kSettingsFormatVersion
                                                              : values.*(*intField);
            store.WriteProfileInt(setting.section, setting.key, value);
        } else {
            store.WriteProfileString(setting.section, setting.key,
                                     values.*std::get<CString SettingsValues::*>(setting.field));
        }
    }
}
