#pragma once
// Helpers shared by the unit tests: a temporary folder that cleans up after itself.

#include <string>
#include <string_view>

#include "platform/text.h"

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // Path of a name inside the folder, with "/" between.
    std::string operator/(std::string_view name) const;
    // Creates (or replaces) a file with the given bytes.
    void WriteFile(std::string_view name, std::string_view bytes) const;
    std::string ReadFile(std::string_view name) const;
    bool Exists(std::string_view name) const;

private:
    std::string m_path;
};

// The text as a UTF-16LE file with its byte-order mark.
std::string Utf16File(std::u16string_view text);

// Selects a code page for one test and goes back to the locale's even when an assertion fails.
class CodePageScope {
public:
    explicit CodePageScope(UINT codePage) { SetProcessCodePageForTesting(codePage); }
    ~CodePageScope() { SetProcessCodePageForTesting(0); }
    CodePageScope(const CodePageScope&) = delete;
    CodePageScope& operator=(const CodePageScope&) = delete;
};
