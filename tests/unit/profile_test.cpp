#include "platform/profile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

constexpr const char* kIni = "FVanta.ini";

std::vector<std::string> Names(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

struct ReadCase {
    const char* what;
    std::string_view file;
    std::optional<std::string> folder;  // Data/Folder; nullopt: the default
};

TEST(ProfileReadTest, ReadsFilesOfThePlatformsForm) {
    const ReadCase cases[] = {
        {"CR LF", "[Data]\r\nFolder=D:\\Photos\r\n", "D:\\Photos"},
        {"LF", "[Data]\nFolder=x\n", "x"},
        {"lone CR", "[Data]\rFolder=x\r", "x"},
        {"no last line end", "[Data]\r\nFolder=x", "x"},
        {"UTF-8 BOM", "\xEF\xBB\xBF[Data]\r\nFolder=x\r\n", "x"},
        {"names in any case", "[dATA]\r\nFOLDER=x\r\n", "x"},
        {"blanks trimmed", " \t[ Data\t]\r\n \tFolder \t= \t x  y \t\r\n", "x  y"},
        {"double quotes", "[Data]\r\nFolder=\" a \"\r\n", " a "},
        {"single quotes", "[Data]\r\nFolder='a'\r\n", "a"},
        {"one pair only", "[Data]\r\nFolder=\"\"a\"\"\r\n", "\"a\""},
        {"unmatched quotes", "[Data]\r\nFolder=\"a'\r\n", "\"a'"},
        {"lone quote", "[Data]\r\nFolder=\"\r\n", "\""},
        {"quotes inside", "[Data]\r\nFolder=a \"b\"\r\n", "a \"b\""},
        {"= in the value", "[Data]\r\nFolder=a=b\r\n", "a=b"},
        {"comment skipped", "[Data]\r\n;Folder=c\r\nFolder=x\r\n", "x"},
        {"only a comment", "[Data]\r\n;Folder=c\r\n", std::nullopt},
        {"line without =", "[Data]\r\nFolder\r\nFolder=x\r\n", "x"},
        {"empty value", "[Data]\r\nFolder=\r\n", ""},
        {"first key wins", "[Data]\r\nFolder=a\r\nfolder=b\r\n", "a"},
        {"first section wins", "[Data]\r\nFolder=a\r\n[data]\r\nFolder=b\r\n", "a"},
        {"key absent", "[Data]\r\nPrefix=p\r\n", std::nullopt},
        {"section absent", "[Config]\r\nFolder=x\r\n", std::nullopt},
        {"key of another section", "[Config]\r\nFolder=x\r\n[Data]\r\n", std::nullopt},
        {"key before any section", "Folder=x\r\n[Data]\r\n", std::nullopt},
        {"empty file", "", std::nullopt},
    };
    TempDir dir;
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        dir.WriteFile(kIni, c.file);
        CString got = ProfileGetString((dir / kIni).c_str(), "Data", "Folder", "<default>");
        EXPECT_EQ(got.View(), c.folder.value_or("<default>"));
    }
}

TEST(ProfileReadTest, IntegersAsThePlatformParsesThem) {
    const struct {
        std::string_view value;
        int expected;
    } cases[] = {
        {"20", 20},
        {"-5", -5},
        {"+7", 7},
        {"12abc", 12},
        {"", 0},
        {"abc", 0},
        {"4294967297", 1},
        {"4294967295", -1},
        {"2147483648", -2147483647 - 1},
        {"\" -3\"", -3},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.value));
        dir.WriteFile(kIni, "[Application]\r\nVersion=" + std::string(c.value) + "\r\n");
        EXPECT_EQ(ProfileGetInt((dir / kIni).c_str(), "Application", "Version", 99), c.expected);
    }
    EXPECT_EQ(ProfileGetInt((dir / kIni).c_str(), "Application", "Missing", 99), 99);
}

TEST(ProfileReadTest, MissingFileOrFolderInItsPlaceGivesTheDefaults) {
    TempDir dir;
    EXPECT_EQ(ProfileGetString((dir / kIni).c_str(), "Data", "Kaku", "*.*"), "*.*");
    EXPECT_EQ(ProfileGetInt((dir / kIni).c_str(), "Config", "SmallCheck", 1), 1);
    std::filesystem::create_directory(dir / kIni);
    EXPECT_EQ(ProfileGetString((dir / kIni).c_str(), "Data", "Kaku", "*.*"), "*.*");
    EXPECT_EQ(ProfileGetInt((dir / kIni).c_str(), "Config", "SmallCheck", 1), 1);
}

TEST(ProfileReadTest, Utf16FileIsReadAndRewrittenAsPlainBytes) {
    SetProcessCodePageForTesting(CP_UTF8);
    const std::u16string text = u"[Data]\r\nFolder=写真\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    TempDir dir;
    dir.WriteFile(kIni, bytes);
    const std::string path = dir / kIni;
    EXPECT_EQ(ProfileGetString(path.c_str(), "Data", "Folder", ""), "写真");
    ASSERT_TRUE(ProfileWriteString(path.c_str(), "Data", "Prefix", "p"));
    EXPECT_EQ(dir.ReadFile(kIni), "[Data]\r\nFolder=写真\r\nPrefix=p\r\n");
    SetProcessCodePageForTesting(0);
}

TEST(ProfileWriteTest, ValuesReadBackAsWritten) {
    const std::string values[] = {
        "写真フォルダ",
        "\x95\x5C\x8E\x86",  // Shift_JIS bytes with a "\" trail byte
        " lead",
        "trail\t",
        " ",
        "\"quoted\"",
        "'single'",
        "\"",
        "a\"b\"",
        "\"a' ",
        "100%d%s",
        "a=b",
        ";not a comment",
        "[not a section]",
        "",
    };
    TempDir dir;
    const std::string path = dir / kIni;
    for (const std::string& value : values) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(ProfileWriteString(path.c_str(), "Data", "Prefix", value));
        EXPECT_EQ(ProfileGetString(path.c_str(), "Data", "Prefix", "<default>").View(), value);
    }
    ASSERT_TRUE(ProfileWriteInt(path.c_str(), "Config", "SmallCheck", -5));
    EXPECT_EQ(ProfileGetInt(path.c_str(), "Config", "SmallCheck", 1), -5);
}

TEST(ProfileWriteTest, LongValueIsStoredWholeAndReadCutTo4095Bytes) {
    TempDir dir;
    const std::string path = dir / kIni;
    const std::string value = std::string(4094, 'a') + "bc" + std::string(2904, 'z');
    ASSERT_TRUE(ProfileWriteString(path.c_str(), "Data", "Folder", value));
    EXPECT_EQ(dir.ReadFile(kIni), "[Data]\r\nFolder=" + value + "\r\n");
    EXPECT_EQ(ProfileGetString(path.c_str(), "Data", "Folder", "").View(), value.substr(0, 4095));
}

TEST(ProfileWriteTest, LineBreakOrNulEndsTheValue) {
    const std::string_view values[] = {"a\r\n[Evil]\r\nb", "a\nb", "a\rb", {"a\0b", 3}};
    TempDir dir;
    const std::string path = dir / kIni;
    for (std::string_view value : values) {
        ASSERT_TRUE(ProfileWriteString(path.c_str(), "Data", "Prefix", value));
        EXPECT_EQ(dir.ReadFile(kIni), "[Data]\r\nPrefix=a\r\n");
    }
}

TEST(ProfileWriteTest, NewFileHoldsTheKeysInWriteOrder) {
    TempDir dir;
    const std::string path = dir / kIni;
    EXPECT_TRUE(ProfileWriteInt(path.c_str(), "Application", "Version", 20));
    EXPECT_TRUE(ProfileWriteString(path.c_str(), "Data", "Folder", "D:\\Photos"));
    EXPECT_TRUE(ProfileWriteString(path.c_str(), "Data", "Prefix", ""));
    EXPECT_TRUE(ProfileWriteString(path.c_str(), "Data", "StartNumber", "001"));
    EXPECT_TRUE(ProfileWriteString(path.c_str(), "Data", "Kaku", "*.*"));
    EXPECT_TRUE(ProfileWriteInt(path.c_str(), "Config", "SmallCheck", 1));
    EXPECT_EQ(dir.ReadFile(kIni),
              "[Application]\r\nVersion=20\r\n[Data]\r\nFolder=D:\\Photos\r\nPrefix=\r\n"
              "StartNumber=001\r\nKaku=*.*\r\n[Config]\r\nSmallCheck=1\r\n");
    EXPECT_EQ(Names(dir), std::vector<std::string>{kIni});
}

TEST(ProfileWriteTest, PathInWindowsSyntaxNamesTheSameFile) {
    TempDir dir;
    ASSERT_TRUE(ProfileWriteInt((dir.Path() + "\\FVanta.ini").c_str(), "Config", "SmallCheck", 0));
    EXPECT_EQ(dir.ReadFile(kIni), "[Config]\r\nSmallCheck=0\r\n");
    EXPECT_EQ(ProfileGetInt((dir.Path() + "\\FVanta.ini").c_str(), "Config", "SmallCheck", 1), 0);
}

TEST(ProfileWriteTest, OtherLinesSurviveByteForByte) {
    TempDir dir;
    const std::string path = dir / kIni;
    dir.WriteFile(kIni,
                  "; settings\n[Unknown]\r\n  foo = \"bar\" \r\n\r\n[data]\r\n Folder = old\r\n"
                  ";note\r\nOther=1\r\n\t\r\n\r\n");
    ASSERT_TRUE(ProfileWriteString(path.c_str(), "Data", "Folder", "new"));
    ASSERT_TRUE(ProfileWriteString(path.c_str(), "Data", "Prefix", "p"));
    ASSERT_TRUE(ProfileWriteInt(path.c_str(), "Config", "SmallCheck", 1));
    EXPECT_EQ(dir.ReadFile(kIni),
              "; settings\r\n[Unknown]\r\n  foo = \"bar\" \r\n\r\n[data]\r\nFolder=new\r\n"
              ";note\r\nOther=1\r\nPrefix=p\r\n\t\r\n\r\n[Config]\r\nSmallCheck=1\r\n");
}

TEST(IniDocumentTest, NewKeyOfAnEmptySectionFollowsItsHeader) {
    IniDocument doc = IniDocument::Parse("\xEF\xBB\xBF[A]\r\n\r\n[B]");
    doc.Set("a", "k", "v");
    EXPECT_EQ(doc.Serialize(), "\xEF\xBB\xBF[A]\r\nk=v\r\n\r\n[B]\r\n");
    EXPECT_EQ(doc.Get("A", "K"), "v");
    EXPECT_EQ(doc.Get("B", "k"), std::nullopt);
}

TEST(ProfileWriteTest, ReadOnlyFolderLeavesTheOldFile) {
    TempDir dir;
    const std::string path = dir / kIni;
    const std::string old = "[Data]\r\nFolder=old\r\n";
    dir.WriteFile(kIni, old);
    chmod(dir.Path().c_str(), 0555);
    if (access(dir.Path().c_str(), W_OK) == 0) {
        chmod(dir.Path().c_str(), 0755);
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    }
    EXPECT_FALSE(ProfileWriteString(path.c_str(), "Data", "Folder", "new"));
    chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(dir.ReadFile(kIni), old);
    EXPECT_EQ(Names(dir), std::vector<std::string>{kIni});
}

TEST(ProfileWriteTest, FolderInPlaceOfTheFileFailsAndStays) {
    TempDir dir;
    std::filesystem::create_directory(dir / kIni);
    EXPECT_FALSE(ProfileWriteString((dir / kIni).c_str(), "Data", "Folder", "x"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / kIni));
    EXPECT_EQ(Names(dir), std::vector<std::string>{kIni});
}

TEST(ProfileWriteTest, ReadOnlyFileIsLeftAlone) {
    TempDir dir;
    dir.WriteFile("FVanta.ini", "[Data]\r\nPrefix=old\r\n");
    ASSERT_EQ(chmod((dir / "FVanta.ini").c_str(), 0444), 0);
    EXPECT_FALSE(ProfileWriteString((dir / "FVanta.ini").c_str(), "Data", "Prefix", "new"));
    EXPECT_EQ(dir.ReadFile("FVanta.ini"), "[Data]\r\nPrefix=old\r\n");
}

TEST(ProfileWriteTest, KeepsPermissionsAndLinks) {
    TempDir dir;
    const std::string path = dir / kIni;
    dir.WriteFile(kIni, "[Data]\r\n");
    chmod(path.c_str(), 0640);
    ASSERT_TRUE(ProfileWriteString(path.c_str(), "Data", "Folder", "x"));
    EXPECT_EQ(ModeOf(path), 0640u);

    const mode_t mask = umask(022);
    umask(mask);
    ASSERT_TRUE(ProfileWriteString((dir / "new.ini").c_str(), "Data", "Folder", "x"));
    EXPECT_EQ(ModeOf(dir / "new.ini"), 0666u & ~mask);

    std::filesystem::create_symlink(kIni, dir / "link.ini");
    ASSERT_TRUE(ProfileWriteString((dir / "link.ini").c_str(), "Data", "Prefix", "p"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
    EXPECT_EQ(dir.ReadFile(kIni), "[Data]\r\nFolder=x\r\nPrefix=p\r\n");
}

}  // namespace
