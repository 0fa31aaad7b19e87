#include "filelist/text_compare.h"

#include <algorithm>
#include <cstddef>

namespace {

unsigned char Folded(char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

}  // namespace

// Byte by byte on purpose, trail bytes included: under code page 932 the names ア.txt
// (0x83 0x41) and ヂ.txt (0x83 0x61) compare equal, and the list's order depends on that.
int CompareRowTexts(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = Folded(a[i]);
        const unsigned char y = Folded(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}
