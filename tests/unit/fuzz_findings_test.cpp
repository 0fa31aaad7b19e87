// Inputs on which the fuzz targets of tests/fuzz once found the code wrong, kept as plain cases.

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "test_support.h"

namespace {

// In code page 932 a lead byte takes the byte after it, a "." too, into its character: that "."
// is no dot, neither at the end of a pattern nor in a name.
TEST(WildcardFindingsTest, DotAfterALeadByteIsPartOfItsCharacter) {
    const struct {
        const char* pattern;
        const char* name;
        bool matches;
    } cases[] = {
        {"?*?.*", "\x83.*?", true},  // the name has no dot, so ".*" may stand for nothing
        {"*.*", "\x83.", true},     {"?.*", "\x83.", true},
        {"\x81.*", "\x81", false},  // the pattern does not end in ".*": no empty extension
        {"\x81.*", "\x81.x", true}, {"a.*", "a", true},
        {"a.*", "a.", true},        {"?.*", "\x83", true},
    };
    const CodePageScope shiftJis(CP_SHIFT_JIS);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " / " + c.name);
        EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches);
    }
}

// A UTF-16 file that repeats its byte order mark: its first section is found, and a write to it
// reads back, with the others, once the file has been rewritten as bytes.
TEST(SettingsFindingsTest, Utf16FileWithARepeatedMarkKeepsItsFirstSection) {
    const CodePageScope utf8(CP_UTF8);
    TempDir dir;
    const std::string path = dir / "FVanta.ini";
    dir.WriteFile("FVanta.ini", Utf16File(u"\uFEFF[Data]\r\nPrefix=old\r\nKaku=*.jpg\r\n"));
    EXPECT_EQ(ProfileGetString(path.c_str(), "Data", "Prefix", "<default>").View(), "old");

    ASSERT_TRUE(ProfileWriteString(path.c_str(), "Data", "Prefix", "new"));
    EXPECT_EQ(ProfileGetString(path.c_str(), "Data", "Prefix", "<default>").View(), "new");
    EXPECT_EQ(ProfileGetString(path.c_str(), "Data", "Kaku", "<default>").View(), "*.jpg");
    ASSERT_TRUE(ProfileWriteInt(path.c_str(), "Application", "Version", 20));
    EXPECT_EQ(ProfileGetInt(path.c_str(), "Application", "Version", 0), 20);
    EXPECT_EQ(ProfileGetString(path.c_str(), "Data", "Prefix", "<default>").View(), "new");
}

TEST(SettingsFindingsTest, ParsingAWrittenDocumentAgainFindsTheSameValues) {
    const CodePageScope utf8(CP_UTF8);
    const std::string files[] = {
        Utf16File(u"\uFEFF[Application]\r\numb=*.*\r\n[Config]\r\nSmallCheck=1\r\n"),
        Utf16File(u"\uFEFF\uFEFF[Data]\r\nPrefix=p\r\n"),
        "\xEF\xBB\xBF\xFF\xFE[Data]\r\nPrefix=p\r\n",
    };
    for (const std::string& file : files) {
        IniDocument doc = IniDocument::Parse(file);
        doc.Set("Application", "Version", "20");
        const IniDocument reread = IniDocument::Parse(doc.Serialize());
        EXPECT_EQ(reread.Get("Application", "Version"), std::optional<std::string>("20"));
        EXPECT_EQ(reread.Get("Data", "Prefix"), doc.Get("Data", "Prefix"));
        EXPECT_EQ(reread.Get("Config", "SmallCheck"), doc.Get("Config", "SmallCheck"));
        EXPECT_EQ(reread.Serialize(), doc.Serialize());
    }
}

}  // namespace
