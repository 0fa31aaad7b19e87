#include "filelist/text_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(CompareRowTextsTest, SortsNamesAsText) {
    std::vector<std::string> names = {"9.txt", "10.txt", "b.txt", "A.txt", "_x.txt"};
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CompareRowTexts(a, b) < 0; });
    EXPECT_EQ(names, (std::vector<std::string>{"10.txt", "9.txt", "_x.txt", "A.txt", "b.txt"}));
}

TEST(CompareRowTextsTest, FoldsOnlyAsciiCapitalsOnEveryByte) {
    struct Case {
        const char* a;
        const char* b;
        int result;
    };
    const Case cases[] = {
        {"", "", 0},
        {"abc", "ABC", 0},
        {"abc", "abd", -1},
        {"ab", "abc", -1},
        {"", "a", -1},
        {"Z", "_", 1},  // z (0x7A) is above the underscore
        {"[", "a", -1},
        {"@", "A", -1},  // the bytes either side of A-Z are not folded
        {"Z", "[", 1},
        {"~", "\x80", -1},  // bytes from 0x80 come after all ASCII
        {"\xB1", "z", 1},   // half-width katakana
        {"\xFF", "\x80", 1},
        {"\x83\x41.txt", "\x83\x61.txt", 0},  // ア and ヂ: their second bytes fold together
        {"\x82\x60", "\x82\x81", -1},         // full-width Ａ and ａ stay distinct
        {"\xC3\x89", "\xC3\xA9", -1},         // É and é in UTF-8 stay distinct
        {"2024/01/02  09:00", "2024/01/02  10:00", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " | " + c.b);
        EXPECT_EQ(CompareRowTexts(c.a, c.b), c.result);
        EXPECT_EQ(CompareRowTexts(c.b, c.a), -c.result);
    }
}

TEST(CompareRowTextsTest, ComparesThroughEmbeddedZeroBytes) {
    using namespace std::string_view_literals;
    EXPECT_EQ(CompareRowTexts("a\0b"sv, "a\0c"sv), -1);
    EXPECT_EQ(CompareRowTexts("a"sv, "a\0"sv), -1);
}

}  // namespace
