#include "filelist/search_pattern.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

struct PatternCase {
    const char* folder;
    const char* filter;
    const char* pattern;
    const char* listedFolder;
};

class SearchPatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(SearchPatternTest, BuildsThePatternAndItsFolder) {
    CodePageScope shiftJis(CP_SHIFT_JIS);
    const PatternCase& c = GetParam();
    CString pattern = MakeSearchPattern(c.folder, c.filter);
    EXPECT_EQ(pattern, c.pattern);
    EXPECT_EQ(FolderOfPattern(pattern), c.listedFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SearchPatternTest,
    ::testing::Values(PatternCase{"D:\\data", "", "D:\\data\\*.*", "D:\\data\\"},
                      PatternCase{"D:\\data", "*.jpg", "D:\\data\\*.jpg", "D:\\data\\"},
                      PatternCase{"D:\\", "", "D:\\*.*", "D:\\"},
                      PatternCase{"D:\\data\\", "readme.txt", "D:\\data\\readme.txt", "D:\\data\\"},
                      // 表 is 0x95 0x5C: its second byte is no separator.
                      PatternCase{"D:\\\x95\x5C", "", "D:\\\x95\x5C\\*.*", "D:\\\x95\x5C\\"},
                      PatternCase{"/home/u/Photos/", "*.*", "/home/u/Photos/\\*.*",
                                  "/home/u/Photos/\\"},
                      // A filter with a folder part lists another folder.
                      PatternCase{"/p", "sub\\*.txt", "/p\\sub\\*.txt", "/p\\sub\\"},
                      PatternCase{"/p", "sub/*.txt", "/p\\sub/*.txt", "/p\\sub/"}));

}  // namespace
