// Settings files the program did not write: whatever is in FVanta.ini, or in its place, the six
// settings read as defaults or as what can be read, and a save either leaves a file that reads
// back as saved or fails and leaves the old one whole.

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/profile.h"
#include "settings/settings_table.h"
#include "test_support.h"

namespace {

using namespace std::string_literals;

constexpr const char* kIni = "FVanta.ini";
constexpr const char* kWorkingDirectory = "/work/dir";

// The application object's four profile operations on one file; writes count their failures.
struct FileStore {
    std::string path;
    int failedWrites = 0;

    UINT GetProfileInt(const char* section, const char* key, int defaultValue) {
        return static_cast<UINT>(ProfileGetInt(path.c_str(), section, key, defaultValue));
    }
    CString GetProfileString(const char* section, const char* key, const char* defaultValue) {
        return ProfileGetString(path.c_str(), section, key, defaultValue);
    }
    void WriteProfileInt(const char* section, const char* key, int value) {
        failedWrites += ProfileWriteInt(path.c_str(), section, key, value) ? 0 : 1;
    }
    void WriteProfileString(const char* section, const char* key, const char* value) {
        failedWrites += ProfileWriteString(path.c_str(), section, key, value) ? 0 : 1;
    }
};

SettingsValues Defaults() {
    return {20, kWorkingDirectory, "", "001", "*.*", 1};
}

SettingsValues Saved() {
    return {20, "/photos/2024", "trip_", "0100", "*.jpg", 0};
}

void ExpectSame(const SettingsValues& got, const SettingsValues& expected) {
    EXPECT_EQ(got.version, expected.version);
    EXPECT_EQ(got.folder.View(), expected.folder.View());
    EXPECT_EQ(got.prefix.View(), expected.prefix.View());
    EXPECT_EQ(got.startNumber.View(), expected.startNumber.View());
    EXPECT_EQ(got.filter.View(), expected.filter.View());
    EXPECT_EQ(got.smallCheck, expected.smallCheck);
}

std::vector<std::string> Names(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

std::string RandomBytes(std::size_t count) {
    std::mt19937 random(20240611);
    std::string bytes(count, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

std::string ManySections(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "[S" + std::to_string(i) + "]\r\nPrefix=" + std::to_string(i) + "\r\n";
    }
    return text + "[Data]\r\nStartNumber=0100\r\n";
}

struct HostileCase {
    const char* what;
    std::string file;
    SettingsValues read;
    // A line the save must not touch: section, key and its value.
    const char* keptSection;
    const char* keptKey;
    std::string keptValue;
};

std::vector<HostileCase> HostileCases() {
    const std::string megabyte(1 << 20, 'p');
    SettingsValues nul = Defaults();
    nul.prefix = "a";
    nul.filter = "*.jpg";
    SettingsValues longLines = Defaults();
    longLines.prefix = std::string_view(megabyte).substr(0, 4095);
    longLines.filter = "*.png";
    SettingsValues sections = Defaults();
    sections.startNumber = "0100";
    SettingsValues unterminated = Defaults();
    unterminated.smallCheck = 0;
    SettingsValues utf16 = Defaults();
    utf16.folder = "写真";
    utf16.prefix = "旅行_";
    return {
        {"binary bytes", RandomBytes(1 << 16), Defaults(), nullptr, nullptr, ""},
        {"NUL in a value", "[Data]\r\nPrefix=a\0b\r\nKaku=*.jpg\r\n[Keep]\r\nk=x\0y\r\n"s, nul,
         "Keep", "k", "x\0y"s},
        {"lines of a megabyte",
         "[Keep]\r\nk=;" + megabyte + "\r\n[Data]\r\nPrefix=" + megabyte + "\r\nKaku=*.png\r\n",
         longLines, "Keep", "k", ";" + megabyte},
        {"thousands of sections", ManySections(5000), sections, "S4999", "Prefix", "4999"},
        {"no final line break", "[Keep]\r\nk=v\r\n[Config]\r\nSmallCheck=0", unterminated, "Keep",
         "k", "v"},
        {"UTF-16LE with its mark",
         Utf16File(u"[Data]\r\nFolder=写真\r\nPrefix=旅行_\r\n[Keep]\r\nk=v\r\n"), utf16, "Keep",
         "k", "v"},
    };
}

TEST(HostileSettingsTest, ReadsWhatItCanAndSavesAFileThatReadsBack) {
    SetProcessCodePageForTesting(CP_UTF8);
    for (const HostileCase& c : HostileCases()) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        dir.WriteFile(kIni, c.file);
        FileStore store{dir / kIni};
        ExpectSame(ReadSettings(store, kWorkingDirectory), c.read);

        WriteSettings(store, Saved());
        EXPECT_EQ(store.failedWrites, 0);
        ExpectSame(ReadSettings(store, kWorkingDirectory), Saved());
        if (c.keptSection != nullptr) {
            EXPECT_EQ(IniDocument::Parse(dir.ReadFile(kIni)).Get(c.keptSection, c.keptKey),
                      c.keptValue);
        }
        EXPECT_EQ(Names(dir), std::vector<std::string>{kIni});
    }
    SetProcessCodePageForTesting(0);
}

TEST(HostileSettingsTest, FolderInPlaceOfTheFileGivesDefaultsAndStays) {
    TempDir dir;
    std::filesystem::create_directory(dir / kIni);
    FileStore store{dir / kIni};
    ExpectSame(ReadSettings(store, kWorkingDirectory), Defaults());
    WriteSettings(store, Saved());
    EXPECT_EQ(store.failedWrites, 6);
    EXPECT_TRUE(std::filesystem::is_directory(dir / kIni));
    EXPECT_TRUE(std::filesystem::is_empty(dir / kIni));
    EXPECT_EQ(Names(dir), std::vector<std::string>{kIni});
}

// A full disk, as the file size limit shows it to this process: writes past it fail with EFBIG
// once the signal that would end the process is ignored.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool Set() const { return m_set; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_set = false;
};

TEST(HostileSettingsTest, FullDiskLeavesTheOldFileWhole) {
    TempDir dir;
    const std::string old = "[Data]\r\nPrefix=old\r\n; " + std::string(8000, 'c') + "\r\n";
    dir.WriteFile(kIni, old);
    FileStore store{dir / kIni};
    {
        const FileSizeLimit limit(1024);
        ASSERT_TRUE(limit.Set());
        WriteSettings(store, Saved());
    }
    EXPECT_EQ(store.failedWrites, 6);
    EXPECT_EQ(dir.ReadFile(kIni), old);
    EXPECT_EQ(Names(dir), std::vector<std::string>{kIni});

    store.failedWrites = 0;
    WriteSettings(store, Saved());
    EXPECT_EQ(store.failedWrites, 0);
    ExpectSame(ReadSettings(store, kWorkingDirectory), Saved());
}

// Needs a user whom folder permissions bind; CTest also runs it as nobody when the suite runs as
// root (tests/run_as_nobody.sh).
TEST(HostileSettingsTest, ReadOnlyWorkingFolderKeepsWhatIsThere) {
    TempDir dir;
    const std::string old = "[Data]\r\nPrefix=old\r\n";
    dir.WriteFile(kIni, old);
    std::filesystem::create_directory(dir / "empty");
    chmod(dir.Path().c_str(), 0555);
    chmod((dir / "empty").c_str(), 0555);
    if (access(dir.Path().c_str(), W_OK) == 0) {
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    }
    FileStore store{dir / kIni};
    SettingsValues read = Defaults();
    read.prefix = "old";
    ExpectSame(ReadSettings(store, kWorkingDirectory), read);
    WriteSettings(store, Saved());
    EXPECT_EQ(store.failedWrites, 6);
    EXPECT_EQ(dir.ReadFile(kIni), old);
    EXPECT_EQ(Names(dir).size(), 2u);

    FileStore none{dir / "empty/FVanta.ini"};
    ExpectSame(ReadSettings(none, kWorkingDirectory), Defaults());
    WriteSettings(none, Saved());
    EXPECT_EQ(none.failedWrites, 6);
    EXPECT_TRUE(std::filesystem::is_empty(dir / "empty"));
}

}  // namespace
