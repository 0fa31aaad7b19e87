#include "rename/naming_rule.h"

#include <gtest/gtest.h>

#include "test_support.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The run counts on with 32-bit wrap-around; so do the tests.
int Plus(int value, int step) {
    return static_cast<int>(static_cast<std::uint32_t>(value) + static_cast<std::uint32_t>(step));
}

struct StartNumberCase {
    const char* text;
    int value;
    int width;
    std::vector<std::string> numberTexts;
};

TEST(ParseStartNumberTest, GivesStartValueWidthAndTheFirstNumberTexts) {
    const CodePageScope shiftJis(CP_SHIFT_JIS);
    const StartNumberCase cases[] = {
        {"001", 1, 3, {"001", "002", "003"}},
        {"", 0, 0, {"0", "1", "2"}},
        {"abc", 0, 3, {"000", "001", "002"}},
        {" 7", 7, 2, {"07", "08", "09"}},
        {"7 ", 7, 2, {"07", "08", "09"}},
        {"0009", 9, 4, {"0009", "0010", "0011"}},
        {"99", 99, 2, {"99", "100", "101"}},
        {"12abc", 12, 5, {"00012", "00013", "00014"}},
        {"+5", 5, 2, {"05", "06", "07"}},
        {"-3", -3, 2, {"-3", "-2", "-1", "00", "01"}},
        {"-0005", -5, 5, {"-0005", "-0004", "-0003", "-0002", "-0001", "00000"}},
        {"- 5", 0, 3, {"000", "001", "002"}},
        {"1e3", 1, 3, {"001", "002", "003"}},
        {"0x10", 0, 4, {"0000", "0001", "0002"}},
        {"\x82\x58", 0, 2, {"00", "01", "02"}},  // full-width ９
        {"2147483647", 2147483647, 10, {"2147483647", "-2147483648", "-2147483647"}},
        {"4294967297", 1, 10, {"0000000001", "0000000002", "0000000003"}},
        {"\t\n\v\f\r8", 8, 6, {"000008", "000009", "000010"}},
        {"+-5", 0, 3, {"000", "001", "002"}},
        {"-2147483648", INT_MIN, 11, {"-2147483648", "-2147483647"}},
        {"99999999999999999999", 1661992959, 20, {"00000000001661992959"}},
        {"\x83\x41"
         "5",
         0,
         3,
         {"000"}},  // a digit behind a double-byte character is no number
    };
    for (const StartNumberCase& c : cases) {
        SCOPED_TRACE(c.text);
        const StartNumber start = ParseStartNumber(c.text);
        EXPECT_EQ(start.value, c.value);
        EXPECT_EQ(start.width, c.width);
        for (std::size_t i = 0; i < c.numberTexts.size(); ++i) {
            EXPECT_EQ(FormatNumber(Plus(start.value, static_cast<int>(i)), start.width).View(),
                      c.numberTexts[i]);
        }
    }
}

TEST(FormatNumberTest, FillsZerosBetweenSignAndDigitsAndNeverCuts) {
    struct Case {
        int value;
        int width;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, "0"},
        {0, 1, "0"},
        {7, 0, "7"},
        {-1, 1, "-1"},
        {-1, 2, "-1"},
        {-1, 3, "-01"},
        {123, 2, "123"},
        {INT_MAX, 0, "2147483647"},
        {INT_MIN, 0, "-2147483648"},
        {INT_MIN, 12, "-02147483648"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatNumber(c.value, c.width), c.text);
    }
}

TEST(FormatNumberTest, MatchesTheCLibraryConversion) {
    const int values[] = {0, 1, -1, 9, 10, -10, 42, -42, 99999, INT_MAX, INT_MIN, INT_MIN + 1};
    for (int value : values) {
        for (int width = 0; width <= 14; ++width) {
            char expected[32];
            std::snprintf(expected, sizeof expected, "%0*d", width, value);
            EXPECT_EQ(FormatNumber(value, width), expected) << value << " width " << width;
        }
    }
}

TEST(FormatNumberTest, HasNoUpperLimitOnTheWidth) {
    const CString text = FormatNumber(-5, 5000);
    ASSERT_EQ(text.GetLength(), 5000);
    EXPECT_EQ(text.View(), "-" + std::string(4998, '0') + "5");
}

TEST(MakeFolderPathTest, AddsOneSeparatorUnlessTheLastCharacterIsOne) {
    struct Case {
        UINT codePage;
        const char* folder;
        const char* path;
    };
    const Case cases[] = {
        {CP_SHIFT_JIS, "D:\\Photos", "D:\\Photos\\"},
        {CP_SHIFT_JIS, "D:\\Photos\\", "D:\\Photos\\"},
        {CP_SHIFT_JIS, "D:\\", "D:\\"},
        {CP_SHIFT_JIS, "", "\\"},
        {CP_SHIFT_JIS, "D:\\\x83\x5C", "D:\\\x83\x5C\\"},  // ソ ends in the byte 0x5C
        {CP_SHIFT_JIS, "D:/Photos/", "D:/Photos/\\"},
        {CP_SHIFT_JIS, "D:\\x\\\\", "D:\\x\\\\"},
        {CP_SHIFT_JIS, " rel ", " rel \\"},
        {CP_UTF8, "D:\\\x83\x5C", "D:\\\x83\x5C"},  // no lead bytes in UTF-8
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const CodePageScope codePage(c.codePage);
        EXPECT_EQ(MakeFolderPath(c.folder), c.path);
    }
}

TEST(GetExtensionTest, TakesFromTheLastDotAndLowersOnlyForSettingOne) {
    struct Case {
        const char* name;
        const char* lowered;
        const char* unchanged;
    };
    const Case cases[] = {
        {"IMG_0001.JPG", ".jpg", ".JPG"},
        {"archive.tar.GZ", ".gz", ".GZ"},
        {"README", "", ""},
        {".profile", ".profile", ".profile"},
        {".PROFILE", ".profile", ".PROFILE"},
        {"name.", ".", "."},
        {"A.B-Z@[", ".b-z@[", ".B-Z@["},
        // 写真.ＪＰＧ: full-width letters stay as they are
        {"\x8E\xCA\x90\x5E.\x82\x69\x82\x6F\x82\x66", ".\x82\x69\x82\x6F\x82\x66",
         ".\x82\x69\x82\x6F\x82\x66"},
        // x.アA: ア is 0x83 0x41, and its second byte is no letter
        {"x.\x83\x41\x41", ".\x83\x41\x61", ".\x83\x41\x41"},
    };
    const CodePageScope shiftJis(CP_SHIFT_JIS);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GetExtension(c.name, 1), c.lowered);
        for (int setting : {0, 2, -1, INT_MIN}) {
            EXPECT_EQ(GetExtension(c.name, setting), c.unchanged) << "setting " << setting;
        }
    }
}

TEST(GetExtensionTest, LowersEveryAsciiLetterWhenTheCodePageHasNoLeadBytes) {
    const CodePageScope utf8(CP_UTF8);
    EXPECT_EQ(GetExtension("x.\x83\x41\x41", 1), ".\x83\x61\x61");
}

TEST(MakeRenamePathsTest, JoinsFolderPrefixNumberAndExtension) {
    struct Case {
        const char* prefix;
        const char* fileName;
        const char* newPath;
    };
    const Case cases[] = {
        {"trip_", "IMG_0001.JPG", "D:\\Photos\\trip_001.jpg"},
        {"100%_", "IMG_0001.JPG", "D:\\Photos\\100%_001.jpg"},
        {"%s%n%d_", "IMG_0001.JPG", "D:\\Photos\\%s%n%d_001.jpg"},
        {"sub\\", "IMG_0001.JPG", "D:\\Photos\\sub\\001.jpg"},
        {"", "README", "D:\\Photos\\001"},
        {"", "%d.%s", "D:\\Photos\\001.%s"},
    };
    const CString folderPath = MakeFolderPath("D:\\Photos");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        const RenamePaths paths = MakeRenamePaths(folderPath, c.prefix, 3, 1, c.fileName, 1);
        EXPECT_EQ(paths.oldPath, CString("D:\\Photos\\") + c.fileName);
        EXPECT_EQ(paths.newPath, c.newPath);
    }
}

TEST(MakeRenamePathsTest, PassesWidthValueAndSettingThrough) {
    const RenamePaths paths = MakeRenamePaths("D:\\Photos\\", "p", 5, -12, "IMG_0001.JPG", 0);
    EXPECT_EQ(paths.oldPath, "D:\\Photos\\IMG_0001.JPG");
    EXPECT_EQ(paths.newPath, "D:\\Photos\\p-0012.JPG");
}

}  // namespace
