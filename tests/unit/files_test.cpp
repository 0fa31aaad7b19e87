#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>
#include <cerrno>
#include <climits>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/text.h"
#include "test_support.h"

namespace {

class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::string& path) {
        char old[PATH_MAX];
        m_old = getcwd(old, sizeof old) != nullptr ? old : "/";
        EXPECT_EQ(chdir(path.c_str()), 0);
    }
    ~ScopedCurrentDirectory() { EXPECT_EQ(chdir(m_old.c_str()), 0); }
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    std::string m_old;
};

std::string WindowsSyntax(std::string path) {
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

struct Listing {
    DWORD error = 0;                       // why the search did not start, or why it ended
    std::map<std::string, DWORD> entries;  // name -> attributes
};

Listing Search(const std::string& pattern) {
    Listing listing;
    WIN32_FIND_DATAA data;
    std::memset(&data, 0x5A, sizeof data);
    SetLastError(0);
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) {
        listing.error = GetLastError();
        return listing;
    }
    do {
        EXPECT_TRUE(listing.entries.emplace(data.cFileName, data.dwFileAttributes).second)
            << "returned twice: " << data.cFileName;
    } while (FindNextFileA(search, &data));
    listing.error = GetLastError();
    EXPECT_TRUE(FindClose(search));
    return listing;
}

TEST(WildcardTest, MatchesLikeTheDirectorySearch) {
    struct Case {
        const char* pattern;
        const char* name;
        UINT codePage;
        bool matches;
    };
    const Case cases[] = {
        {"*.*", "readme", CP_UTF8, true},
        {"*.*", "a.b", CP_UTF8, true},
        {"*.*", ".", CP_UTF8, true},
        {"*.*", "..", CP_UTF8, true},
        {"*", ".hidden", CP_UTF8, true},
        {"readme.*", "readme", CP_UTF8, true},
        {"readme.*", "readme.txt", CP_UTF8, true},
        {"a.*", "ab", CP_UTF8, false},
        {"*.txt", "readme", CP_UTF8, false},
        {"*.jpg", "a.jpg", CP_UTF8, true},
        {"*.JPG", "a.jpg", CP_UTF8, true},
        {"*.jpg", "A.JPG", CP_UTF8, true},
        {"*.jpg", "a.jpeg", CP_UTF8, false},
        {"*.jpg", "a.jpg.txt", CP_UTF8, false},
        {"readme.txt", "README.TXT", CP_UTF8, true},
        {"readme.txt", "readme.txt2", CP_UTF8, false},
        {"a?c", "abc", CP_UTF8, true},
        {"a?c", "ac", CP_UTF8, false},
        {"a?c", "abbc", CP_UTF8, false},
        {"*ab", "aab", CP_UTF8, true},
        {"*a*b*c", "xaybzc", CP_UTF8, true},
        {"*a*b*c", "xaybzcx", CP_UTF8, false},
        {"**", "abc", CP_UTF8, true},
        {"", "a", CP_UTF8, false},
        // Case folds for ASCII letters only.
        {"\xC3\x89.txt", "\xC3\xA9.txt", CP_UTF8, false},          // É, é
        {"\xEF\xBC\xA1.txt", "\xEF\xBD\x81.txt", CP_UTF8, false},  // Ａ, ａ
        {"\x83\x41.txt", "\x83\x61.txt", CP_SHIFT_JIS, false},     // ア, ヂ
        // "?" is one character of the code page.
        {"?", "\xC3\xA9", CP_UTF8, true},
        {"??", "\xC3\xA9", CP_UTF8, false},
        {"?", "\xFF", CP_UTF8, true},
        {"??", "\xFF\xFE", CP_UTF8, true},
        {"?", "\xFF\xFE", CP_UTF8, false},
        {"?.txt", "\x83\x41.txt", CP_SHIFT_JIS, true},
        {"??.txt", "\x83\x41.txt", CP_SHIFT_JIS, false},
        {"?.txt", "\x83\x41.txt", CP_UTF8, false},
        {"??.txt", "\x83\x41.txt", CP_UTF8, true},
        // A second byte that looks like a letter or "\" belongs to its character.
        {"*A", "\x83\x41", CP_SHIFT_JIS, false},
        {"*\\", "\x95\x5C", CP_SHIFT_JIS, false},
        {"*\\*", "\x95\x5C.txt", CP_SHIFT_JIS, false},
        {"\x95\x5C*", "\x95\x5C.txt", CP_SHIFT_JIS, true},
        {"*\\*", "\x95\x5C.txt", CP_UTF8, true},
    };
    for (const Case& c : cases) {
        CodePageScope codePage(c.codePage);
        EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches)
            << "pattern '" << c.pattern << "' name '" << c.name << "' code page " << c.codePage;
    }
}

TEST(HostPathTest, BackslashCharactersBecomeSlashes) {
    {
        CodePageScope codePage(CP_UTF8);
        EXPECT_EQ(ToHostPath("D\\data\\x.txt"), "D/data/x.txt");
        EXPECT_EQ(ToHostPath("\\x"), "/x");
        EXPECT_EQ(ToHostPath("a/b\\c"), "a/b/c");
    }
    CodePageScope codePage(CP_SHIFT_JIS);
    EXPECT_EQ(ToHostPath("d\\\x95\x5C\\x"), "d/\x95\x5C/x");  // 表
}

class FindFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir.WriteFile("a.txt", "a");
        m_dir.WriteFile("b.JPG", "b");
        m_dir.WriteFile("noext", "n");
        m_dir.WriteFile(".hidden", "h");
        ASSERT_EQ(mkdir((m_dir / "sub").c_str(), 0755), 0);
    }
    std::string Pattern(const char* wildcard) const {
        return WindowsSyntax(m_dir.Path()) + "\\" + wildcard;
    }
    TempDir m_dir;
};

TEST_F(FindFileTest, ListsEveryEntryOnceThenEndsWithNoMoreFiles) {
    Listing listing = Search(Pattern("*.*"));
    EXPECT_EQ(listing.error, ERROR_NO_MORE_FILES);
    std::vector<std::string> names;
    for (const auto& [name, attributes] : listing.entries) {
        names.push_back(name);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{".", "..", ".hidden", "a.txt", "b.JPG", "noext", "sub"}));
    EXPECT_EQ(listing.entries["."], FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(listing.entries[".."], FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(listing.entries["sub"], FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(listing.entries[".hidden"], FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(listing.entries["a.txt"], FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FindFileTest, SlashAndBackslashBothSeparate) {
    std::string slashes = m_dir.Path() + "/*.jpg";
    std::string mixed = m_dir.Path() + "\\sub/..\\*.txt";
    EXPECT_EQ(Search(slashes).entries.size(), 1u);
    EXPECT_EQ(Search(slashes).entries.count("b.JPG"), 1u);
    EXPECT_EQ(Search(mixed).entries.count("a.txt"), 1u);
}

TEST_F(FindFileTest, PatternWithoutFolderSearchesTheCurrentDirectory) {
    ScopedCurrentDirectory cwd(m_dir.Path());
    EXPECT_EQ(Search("a.*").entries.count("a.txt"), 1u);
    EXPECT_EQ(Search("sub\\..\\noext").entries.count("noext"), 1u);
}

TEST_F(FindFileTest, LeadingSeparatorMeansTheRoot) {
    std::string top = m_dir.Path().substr(1, m_dir.Path().find('/', 1) - 1);
    Listing listing = Search("\\" + top);
    ASSERT_EQ(listing.entries.count(top), 1u) << top;
    EXPECT_TRUE(listing.entries[top] & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(FindFileTest, FailuresFallIntoThePlatformsClasses) {
    struct Case {
        std::string pattern;
        DWORD error;
    };
    const Case cases[] = {
        {Pattern("*.xyz"), ERROR_FILE_NOT_FOUND},
        {Pattern("missing"), ERROR_FILE_NOT_FOUND},
        {Pattern("sub\\*.*") + "x", ERROR_FILE_NOT_FOUND},
        {Pattern("nowhere\\*.*"), ERROR_PATH_NOT_FOUND},
        {Pattern("nowhere\\deeper\\*.*"), ERROR_PATH_NOT_FOUND},
        {Pattern("a.txt\\*.*"), ERROR_PATH_NOT_FOUND},
        {Pattern(std::string(300, 'x').c_str()), ERROR_FILENAME_EXCED_RANGE},
        {Pattern((std::string(300, 'x') + "\\*.*").c_str()), ERROR_FILENAME_EXCED_RANGE},
    };
    for (const Case& c : cases) {
        Listing listing = Search(c.pattern);
        EXPECT_TRUE(listing.entries.empty()) << c.pattern;
        EXPECT_EQ(listing.error, c.error) << c.pattern;
    }
}

TEST_F(FindFileTest, UnreadableFolderIsAccessDenied) {
    ASSERT_EQ(chmod((m_dir / "sub").c_str(), 0), 0);
    int probe = open((m_dir / "sub").c_str(), O_RDONLY | O_DIRECTORY);
    if (probe >= 0) {
        close(probe);
        GTEST_SKIP() << "this user reads any folder (root)";
    }
    EXPECT_EQ(Search(Pattern("sub\\*.*")).error, ERROR_ACCESS_DENIED);
}

TEST_F(FindFileTest, ReadOnlyFileAndLinks) {
    ASSERT_EQ(chmod((m_dir / "a.txt").c_str(), 0444), 0);
    ASSERT_EQ(symlink("sub", (m_dir / "tosub").c_str()), 0);
    ASSERT_EQ(symlink("a.txt", (m_dir / "tofile").c_str()), 0);
    ASSERT_EQ(symlink("nothing", (m_dir / "dangling").c_str()), 0);
    Listing listing = Search(Pattern("*"));
    EXPECT_EQ(listing.entries["a.txt"], FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(listing.entries["tosub"], FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(listing.entries["tofile"], FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(listing.entries["dangling"], FILE_ATTRIBUTE_REPARSE_POINT);
}

TEST_F(FindFileTest, LastWriteTimeIsTheEntrysOwn) {
    ASSERT_EQ(symlink("a.txt", (m_dir / "link").c_str()), 0);
    const timespec fileTimes[2] = {{1000000000, 0}, {1000000000, 123456789}};
    const timespec linkTimes[2] = {{2000000000, 0}, {2000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (m_dir / "a.txt").c_str(), fileTimes, 0), 0);
    ASSERT_EQ(utimensat(AT_FDCWD, (m_dir / "link").c_str(), linkTimes, AT_SYMLINK_NOFOLLOW), 0);
    for (const char* name : {"a.txt", "link"}) {
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA(Pattern(name).c_str(), &data);
        ASSERT_NE(search, INVALID_HANDLE_VALUE);
        FILETIME expected = std::strcmp(name, "a.txt") == 0
                                ? UnixTimeToFileTime(1000000000, 123456789)
                                : UnixTimeToFileTime(2000000000);
        EXPECT_EQ(data.ftLastWriteTime.dwLowDateTime, expected.dwLowDateTime) << name;
        EXPECT_EQ(data.ftLastWriteTime.dwHighDateTime, expected.dwHighDateTime) << name;
        if (std::strcmp(name, "a.txt") == 0) {
            EXPECT_EQ(data.nFileSizeLow, 1u);
            EXPECT_EQ(data.nFileSizeHigh, 0u);
        }
        FindClose(search);
    }
}

TEST_F(FindFileTest, NamesAreReturnedByteExact) {
    m_dir.WriteFile("bad\xFF\xFEname.txt", "x");
    m_dir.WriteFile(std::string(255, 'L'), "x");
    Listing listing = Search(Pattern("*.txt"));
    EXPECT_EQ(listing.entries.count("bad\xFF\xFEname.txt"), 1u);
    EXPECT_EQ(Search(Pattern("L*")).entries.count(std::string(255, 'L')), 1u);
}

TEST_F(FindFileTest, NamesWithABackslashCharacterAreNeverReturned) {
    m_dir.WriteFile("x\\a.txt", "x");
    ASSERT_EQ(mkdir((m_dir / "\x95\x5C").c_str(), 0755), 0);  // 表 in code page 932
    m_dir.WriteFile("\x95\x5C/in.txt", "x");
    {
        CodePageScope codePage(CP_UTF8);
        Listing listing = Search(Pattern("*"));
        EXPECT_EQ(listing.entries.count("x\\a.txt"), 0u);
        EXPECT_EQ(listing.entries.count("\x95\x5C"), 0u);
        EXPECT_EQ(listing.entries.count("a.txt"), 1u);
        EXPECT_EQ(Search(Pattern("x\\a.txt")).error, ERROR_PATH_NOT_FOUND);
    }
    CodePageScope codePage(CP_SHIFT_JIS);
    Listing listing = Search(Pattern("*"));
    EXPECT_EQ(listing.entries.count("x\\a.txt"), 0u);
    EXPECT_EQ(listing.entries.count("\x95\x5C"), 1u);
    EXPECT_EQ(Search(Pattern("\x95\x5C\\*.txt")).entries.count("in.txt"), 1u);
}

TEST(FindHandleTest, InvalidHandlesAreRefused) {
    WIN32_FIND_DATAA data;
    EXPECT_FALSE(FindNextFileA(INVALID_HANDLE_VALUE, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(MoveFileTest, NeverReplacesAndFailsWithoutChange) {
    struct Case {
        const char* label;
        std::vector<const char*> files;  // each file holds its own name
        std::vector<const char*> folders;
        const char* from;
        const char* to;
        DWORD error;  // 0: the move succeeds
    };
    const Case cases[] = {
        {"rename", {"a.txt"}, {}, "a.txt", "b.txt", 0},
        {"into a subfolder", {"a.txt"}, {"sub"}, "a.txt", "sub\\a.txt", 0},
        {"out of a subfolder", {"sub/a.txt"}, {"sub"}, "sub/a.txt", "b.txt", 0},
        {"folder", {}, {"d"}, "d", "e", 0},
        {"onto a file", {"a.txt", "b.txt"}, {}, "a.txt", "b.txt", ERROR_ALREADY_EXISTS},
        {"onto a folder", {"a.txt"}, {"b"}, "a.txt", "b", ERROR_ALREADY_EXISTS},
        {"folder onto a file", {"b.txt"}, {"d"}, "d", "b.txt", ERROR_ALREADY_EXISTS},
        {"onto itself", {"a.txt"}, {}, "a.txt", "a.txt", ERROR_ALREADY_EXISTS},
        {"missing file", {}, {}, "a.txt", "b.txt", ERROR_FILE_NOT_FOUND},
        {"missing source folder", {}, {}, "no\\a.txt", "b.txt", ERROR_PATH_NOT_FOUND},
        {"missing target folder", {"a.txt"}, {}, "a.txt", "no\\b.txt", ERROR_PATH_NOT_FOUND},
        {"file on the way", {"a.txt", "f"}, {}, "a.txt", "f\\b.txt", ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (const char* folder : c.folders) {
            ASSERT_EQ(mkdir((dir / folder).c_str(), 0755), 0);
        }
        for (const char* file : c.files) {
            dir.WriteFile(file, file);
        }
        std::string from = WindowsSyntax(dir.Path()) + "\\" + c.from;
        std::string to = WindowsSyntax(dir.Path()) + "\\" + c.to;
        SetLastError(0);
        BOOL moved = MoveFileA(from.c_str(), to.c_str());
        EXPECT_EQ(moved != FALSE, c.error == 0) << c.label;
        if (c.error != 0) {
            EXPECT_EQ(GetLastError(), c.error) << c.label;
            for (const char* file : c.files) {
                EXPECT_EQ(dir.ReadFile(file), file) << c.label;
            }
            continue;
        }
        std::string toHost = ToHostPath(c.to);
        EXPECT_FALSE(dir.Exists(ToHostPath(c.from))) << c.label;
        EXPECT_TRUE(dir.Exists(toHost)) << c.label;
        if (!c.files.empty()) {
            EXPECT_EQ(dir.ReadFile(toHost), c.files[0]) << c.label;
        }
    }
}

TEST(MoveFileTest, OverlongNameIsRefused) {
    TempDir dir;
    dir.WriteFile("a.txt", "a");
    EXPECT_FALSE(MoveFileA((dir / "a.txt").c_str(), (dir / std::string(300, 'x')).c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);
    EXPECT_EQ(dir.ReadFile("a.txt"), "a");
}

TEST(FormatMessageTest, JapaneseSystemTextsWithLineBreak) {
    CodePageScope codePage(CP_UTF8);
    const std::map<DWORD, std::string> texts = {
        {2, "指定されたファイルが見つかりません。\r\n"},
        {3, "指定されたパスが見つかりません。\r\n"},
        {5, "アクセスが拒否されました。\r\n"},
        {18, "これ以上ファイルがありません。\r\n"},
        {123, "ファイル名、ディレクトリ名、またはボリューム ラベルの構文が間違っています。\r\n"},
        {183, "既に存在するファイルを作成することはできません。\r\n"},
        {206, "ファイル名または拡張子が長すぎます。\r\n"},
    };
    for (const auto& [code, text] : texts) {
        char buffer[256] = "";
        DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, buffer, sizeof buffer, nullptr);
        EXPECT_EQ(std::string(buffer), text) << code;
        EXPECT_EQ(length, text.size()) << code;
    }
}

TEST(FormatMessageTest, EveryCodeFromAnErrnoHasAText) {
    for (int error = 0; error < 134; ++error) {
        char buffer[256] = "";
        DWORD code = ErrnoToWin32(error);
        EXPECT_GT(FormatMessageA(0x1200, nullptr, code, 0, buffer, sizeof buffer, nullptr), 0u)
            << "errno " << error << " code " << code;
    }
}

TEST(FormatMessageTest, TextIsInTheProcessCodePage) {
    CodePageScope codePage(CP_SHIFT_JIS);
    char buffer[256] = "";
    DWORD length = FormatMessageA(0x1200, nullptr, 3, 0, buffer, sizeof buffer, nullptr);
    CString expected = WideToMultiByte(u"指定されたパスが見つかりません。\r\n");
    EXPECT_EQ(std::string(buffer), expected.View());
    EXPECT_EQ(length, static_cast<DWORD>(expected.GetLength()));
    EXPECT_EQ(length, 34u);  // 16 double-byte characters, CR LF
}

TEST(FormatMessageTest, UnknownCodeOrShortBufferLeavesTheBufferAlone) {
    CodePageScope codePage(CP_UTF8);
    const std::string text = "アクセスが拒否されました。\r\n";
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(FormatMessageA(0x1200, nullptr, 12345, 0, buffer, sizeof buffer, nullptr), 0u);
    EXPECT_EQ(
        FormatMessageA(0x1200, nullptr, 5, 0, buffer, static_cast<DWORD>(text.size()), nullptr),
        0u);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, 'x'));
    EXPECT_EQ(
        FormatMessageA(0x1200, nullptr, 5, 0, buffer, static_cast<DWORD>(text.size() + 1), nullptr),
        text.size());
    EXPECT_EQ(std::string(buffer), text);
}

TEST(ErrnoTest, HostErrorsTakeThePlatformsCodes) {
    const std::pair<int, DWORD> cases[] = {
        {ENOENT, 2}, {ENOTDIR, 3},        {EMFILE, 4}, {EACCES, 5},   {EPERM, 5},
        {ENOMEM, 8}, {EXDEV, 17},         {EROFS, 19}, {ENOSPC, 112}, {EEXIST, 183},
        {EBUSY, 32}, {ENAMETOOLONG, 206}, {EIO, 1117},
    };
    for (const auto& [error, code] : cases) {
        EXPECT_EQ(ErrnoToWin32(error), code) << std::strerror(error);
    }
}

TEST(CurrentDirectoryTest, LengthOrRequiredSize) {
    TempDir dir;
    ScopedCurrentDirectory cwd(dir.Path());
    char resolved[PATH_MAX];
    ASSERT_NE(realpath(dir.Path().c_str(), resolved), nullptr);
    const std::string expected = resolved;
    const auto length = static_cast<DWORD>(expected.size());

    EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), length + 1);
    char small[8];
    std::memset(small, 'x', sizeof small);
    EXPECT_EQ(GetCurrentDirectoryA(sizeof small, small), length + 1);
    EXPECT_EQ(std::string(small, sizeof small), std::string(sizeof small, 'x'));

    std::vector<char> exact(length + 1, 'x');
    EXPECT_EQ(GetCurrentDirectoryA(length + 1, exact.data()), length);
    EXPECT_EQ(std::string(exact.data()), expected);
    std::vector<char> oneShort(length, 'x');
    EXPECT_EQ(GetCurrentDirectoryA(length, oneShort.data()), length + 1);

    ASSERT_EQ(mkdir("gone", 0755), 0);
    ASSERT_EQ(chdir("gone"), 0);
    ASSERT_EQ(rmdir((dir / "gone").c_str()), 0);
    SetLastError(0);
    EXPECT_EQ(GetCurrentDirectoryA(sizeof small, small), 0u);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

}  // namespace
