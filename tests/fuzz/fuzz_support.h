#pragma once
// Shared by the fuzz targets: a failed check prints what it compared and aborts, so libFuzzer
// keeps the input; and a text cut into characters without the code under test's help.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "../unit/test_support.h"  // CodePageScope
#include "platform/text.h"

inline std::string Escaped(std::string_view bytes) {
    std::string text;
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            text += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            text += hex;
        }
    }
    return text;
}

// What a target took from its input, printed with a failed check.
inline std::string& InputDescription() {
    static std::string text;
    return text;
}

inline void Require(bool ok, const char* what, std::string_view got = {},
                    std::string_view expected = {}) {
    if (ok) {
        return;
    }
    std::fprintf(stderr, "mismatch: %s\n  got      \"%s\"\n  expected \"%s\"\n%s", what,
                 Escaped(got).c_str(), Escaped(expected).c_str(), InputDescription().c_str());
    std::abort();
}

namespace fuzz_detail {

inline bool IsShiftJisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// A well-formed UTF-8 sequence decodes to a scalar value in the shortest form; any other byte
// stands for itself, as if it were Latin-1.
inline std::size_t Utf8Sequence(std::string_view text, std::size_t i, std::uint32_t& scalar) {
    auto lead = static_cast<unsigned char>(text[i]);
    scalar = lead;
    std::size_t length = 0;
    std::uint32_t value = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07u;
    } else {
        return 1;
    }
    if (i + length > text.size()) {
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            return 1;
        }
        value = value << 6 | (next & 0x3Fu);
    }
    constexpr std::uint32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kShortest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 1;
    }
    scalar = value;
    return length;
}

inline std::size_t Utf8Length(std::string_view text, std::size_t i) {
    std::uint32_t scalar = 0;
    return Utf8Sequence(text, i, scalar);
}

}  // namespace fuzz_detail

// Code page 932 pairs a lead byte with whatever byte follows it; UTF-8 takes a well-formed
// sequence whole; every other byte is a character of its own.
inline std::vector<std::string_view> Characters(std::string_view text, UINT codePage) {
    std::vector<std::string_view> characters;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        if (codePage == CP_SHIFT_JIS) {
            length = fuzz_detail::IsShiftJisLead(static_cast<unsigned char>(text[i])) &&
                             i + 1 < text.size()
                         ? 2
                         : 1;
        } else {
            length = fuzz_detail::Utf8Length(text, i);
        }
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}
