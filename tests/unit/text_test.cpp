#include "platform/text.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

TEST(CStringTest, CopiesOfLongTextsShareUntilChanged) {
    CString a("a text longer than the inline room");
    CString b = a;
    EXPECT_EQ(a.GetString(), b.GetString());
    b += "!";
    EXPECT_EQ(a, "a text longer than the inline room");
    EXPECT_EQ(b, "a text longer than the inline room!");
    a += a;
    EXPECT_EQ(a.GetLength(), 68);
}

TEST(CStringTest, GrowsAndShrinksAcrossTheInlineLimit) {
    CString s("0123456789012345678");  // 19 bytes: the most held inside
    CString copy = s;
    s += "9";
    EXPECT_EQ(s, "01234567890123456789");
    EXPECT_EQ(copy, "0123456789012345678");
    CString moved = std::move(s);
    EXPECT_EQ(moved, "01234567890123456789");
    EXPECT_TRUE(s.IsEmpty());  // NOLINT: a moved-from text is empty
    moved = moved.Mid(15);
    EXPECT_EQ(moved, "56789");
    moved = moved.GetString() + 1;  // assigned from its own bytes
    EXPECT_EQ(moved, "6789");
    CString self("x");
    self += self;
    self += self.GetString();
    EXPECT_EQ(self, "xxxx");
    EXPECT_EQ(CString("a\0b", 3).GetLength(), 3);
}

TEST(CStringTest, MidLeftFindClampToTheText) {
    CString s("a\\b.c");
    EXPECT_EQ(s.Left(99), "a\\b.c");
    EXPECT_EQ(s.Mid(3), ".c");
    EXPECT_EQ(s.Mid(9), "");
    EXPECT_EQ(s.ReverseFind('.'), 3);
    EXPECT_EQ(s.Find('x'), -1);
}

TEST(CodePageTest, LeadBytesOnlyUnder932) {
    SetProcessCodePageForTesting(CP_UTF8);
    EXPECT_FALSE(IsDBCSLeadByte(0x95));
    SetProcessCodePageForTesting(CP_SHIFT_JIS);
    EXPECT_TRUE(IsDBCSLeadByte(0x81));
    EXPECT_TRUE(IsDBCSLeadByte(0x9F));
    EXPECT_TRUE(IsDBCSLeadByte(0xE0));
    EXPECT_TRUE(IsDBCSLeadByte(0xFC));
    EXPECT_FALSE(IsDBCSLeadByte(0xA0));
    EXPECT_FALSE(IsDBCSLeadByte(0x5C));
    SetProcessCodePageForTesting(0);
}

TEST(CodePageTest, TrailingSeparatorIsAWholeCharacter) {
    SetProcessCodePageForTesting(CP_SHIFT_JIS);
    EXPECT_TRUE(EndsWithSingleByte("D:\\", '\\'));
    EXPECT_FALSE(EndsWithSingleByte("D:\\\x95\x5C", '\\'));  // 表
    EXPECT_TRUE(EndsWithSingleByte("D:\\\x95\x5C\\", '\\'));
    EXPECT_FALSE(EndsWithSingleByte("", '\\'));
    SetProcessCodePageForTesting(CP_UTF8);
    EXPECT_TRUE(EndsWithSingleByte("x\x95\x5C", '\\'));
    SetProcessCodePageForTesting(0);
}

TEST(ConversionTest, RoundTripsValidTextAndReplacesInvalidBytes) {
    SetProcessCodePageForTesting(CP_UTF8);
    const char* japanese = "ファイル名.txt";
    EXPECT_EQ(WideToMultiByte(MultiByteToWide(japanese)), japanese);
    EXPECT_EQ(MultiByteToWide("a\xFF"
                              "b"),
              u"a\uFFFDb");
    EXPECT_EQ(MultiByteToWide("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong "/"
    EXPECT_EQ(MultiByteToWide("\xF0\x9F\x98\x80"), u"\U0001F600");
    SetProcessCodePageForTesting(CP_SHIFT_JIS);
    EXPECT_EQ(MultiByteToWide("\x95\x5C"), u"表");
    EXPECT_EQ(WideToMultiByte(u"ｷｬﾝｾﾙ"), "\xB7\xAC\xDD\xBE\xD9");
    SetProcessCodePageForTesting(0);
}

}  // namespace
