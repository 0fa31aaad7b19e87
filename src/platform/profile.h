#pragma once
// The settings store: INI files read as the platform's profile routines read them, written back
// with every line that a write does not change kept as it was.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"

// A parsed INI file that keeps every line it does not change.
class IniDocument {
public:
    static IniDocument Parse(std::string_view bytes);
    // nullopt when the section or key is absent; "" for a key present with an empty value.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    void Set(std::string_view section, std::string_view key, std::string_view value);
    std::string Serialize() const;  // CR LF lines

private:
    std::string m_bom;
    std::vector<std::string> m_lines;  // without their line ends
};

// The profile operations, each on the file at path; every call reads the whole file.
CString ProfileGetString(const char* path, std::string_view section, std::string_view key,
                         const CString& defaultValue);
int ProfileGetInt(const char* path, std::string_view section, std::string_view key,
                  int defaultValue);
bool ProfileWriteString(const char* path, std::string_view section, std::string_view key,
                        std::string_view value);
bool ProfileWriteInt(const char* path, std::string_view section, std::string_view key, int value);
