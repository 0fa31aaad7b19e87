#include "rename/naming_rule.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool IsBlank(char ch) {
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// Steps over one whole character; a lead byte at the very end stands alone.
std::size_t NextCharacter(std::string_view text, std::size_t i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size()) {
        return i + 2;
    }
    return i + 1;
}

}  // namespace

// Reads the number the way the C library's atoi does on the target, but wraps modulo 2^32
// instead of leaving overflow undefined. Every byte looked at here precedes the first lead byte,
// so none of them can be a trail byte.
StartNumber ParseStartNumber(const CString& text) {
    const std::string_view bytes = text.View();
    std::size_t i = 0;
    while (i < bytes.size() && IsBlank(bytes[i])) {
        ++i;
    }
    bool negative = false;
    if (i < bytes.size() && (bytes[i] == '+' || bytes[i] == '-')) {
        negative = bytes[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < bytes.size() && IsDigit(bytes[i]); ++i) {
        value = value * 10u + static_cast<std::uint32_t>(bytes[i] - '0');
    }
    if (negative) {
        value = 0u - value;
    }
    return {static_cast<int>(value), text.GetLength()};
}

CString MakeFolderPath(const CString& folderText) {
    if (EndsWithSingleByte(folderText.View(), '\\')) {
        return folderText;
    }
    return folderText + '\\';
}

CString GetExtension(const CString& fileName, int lowerCaseSetting) {
    const std::string_view name = fileName.View();
    std::size_t dot = std::string_view::npos;
    for (std::size_t i = 0; i < name.size(); i = NextCharacter(name, i)) {
        if (name[i] == '.') {
            dot = i;
        }
    }
    if (dot == std::string_view::npos) {
        return CString();
    }
    std::string extension(name.substr(dot));
    if (lowerCaseSetting == 1) {
        for (std::size_t i = 0; i < extension.size(); i = NextCharacter(extension, i)) {
            if (extension[i] >= 'A' && extension[i] <= 'Z') {
                extension[i] = static_cast<char>(extension[i] - 'A' + 'a');
            }
        }
    }
    return CString(std::string_view(extension));
}

// "%0*d": the zero fill goes between the sign and the digits, and the width only ever widens.
CString FormatNumber(int value, int width) {
    const std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    char digits[10];
    std::size_t digitCount = 0;
    std::uint32_t rest = magnitude;
    do {
        digits[sizeof digits - 1 - digitCount++] = static_cast<char>('0' + rest % 10u);
        rest /= 10u;
    } while (rest != 0);

    const std::size_t signCount = value < 0 ? 1 : 0;
    const std::size_t minimum = width > 0 ? static_cast<std::size_t>(width) : 0;
    const std::size_t natural = signCount + digitCount;
    const std::size_t fill = minimum > natural ? minimum - natural : 0;

    std::string text;
    text.reserve(natural + fill);
    if (signCount != 0) {
        text += '-';
    }
    text.append(fill, '0');
    text.append(digits + sizeof digits - digitCount, digitCount);
    return CString(std::string_view(text));
}

RenamePaths MakeRenamePaths(const CString& folderPath, const CString& prefix, int width,
                            int runningValue, const CString& fileName, int lowerCaseSetting) {
    CString newPath = folderPath;
    newPath += prefix;
    newPath += FormatNumber(runningValue, width);
    newPath += GetExtension(fileName, lowerCaseSetting);
    return {folderPath + fileName, newPath};
}
