// The settings store on any bytes: parsing and writing back keep the file's meaning, a value
// written reads back the same (cut at a line break or NUL, and at 4095 bytes by the profile
// read), and a write leaves every other key as it was, in memory and through the file.

#include <fuzzer/FuzzedDataProvider.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/profile.h"

namespace {

struct Name {
    const char* section;
    const char* key;
};

// The program's keys, a few in other letter cases, and one it never writes.
constexpr Name kNames[] = {
    {"Application", "Version"}, {"Data", "Folder"},       {"Data", "Prefix"},
    {"Data", "StartNumber"},    {"Data", "Kaku"},         {"Config", "SmallCheck"},
    {"data", "FOLDER"},         {"CONFIG", "smallcheck"}, {"Other", "Key"},
};
constexpr std::size_t kNameCount = sizeof kNames / sizeof kNames[0];

bool SameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

bool SameName(const Name& a, const Name& b) {
    return SameAscii(a.section, b.section) && SameAscii(a.key, b.key);
}

std::string WhatReadsBack(std::string_view value) {
    return std::string(value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3))));
}

std::vector<std::optional<std::string>> AllValues(const IniDocument& doc) {
    std::vector<std::optional<std::string>> values;
    for (const Name& name : kNames) {
        values.push_back(doc.Get(name.section, name.key));
    }
    return values;
}

std::string Shown(const std::optional<std::string>& value) {
    return value ? "=" + *value : "<absent>";
}

void RequireSameOthers(const std::vector<std::optional<std::string>>& before,
                       const std::vector<std::optional<std::string>>& after, std::size_t written,
                       const char* what) {
    for (std::size_t i = 0; i < kNameCount; ++i) {
        if (!SameName(kNames[i], kNames[written])) {
            Require(before[i] == after[i], what, Shown(after[i]), Shown(before[i]));
        }
    }
}

// A folder of its own on a memory file system where there is one: every write syncs.
const std::string& SettingsFile() {
    static const std::string path = [] {
        std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/fvfuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return pattern + "/FVanta.ini";
    }();
    return path;
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    Require(fd >= 0, "creating the settings file");
    Require(write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()),
            "writing the settings file");
    close(fd);
}

// The text as a file saved in UTF-16LE with its byte order mark, as editors on the platform
// write it.
std::string AsUtf16File(std::string_view text) {
    std::string file = "\xFF\xFE";
    auto put = [&file](std::uint32_t unit) {
        file += static_cast<char>(unit & 0xFF);
        file += static_cast<char>(unit >> 8);
    };
    for (std::size_t i = 0; i < text.size();) {
        std::uint32_t scalar = 0;
        i += fuzz_detail::Utf8Sequence(text, i, scalar);
        if (scalar >= 0x10000) {
            put(0xD800 + ((scalar - 0x10000) >> 10));
            put(0xDC00 + ((scalar - 0x10000) & 0x3FF));
        } else {
            put(scalar);
        }
    }
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const CodePageScope scope(data.ConsumeBool() ? CP_SHIFT_JIS : CP_UTF8);
    const bool throughFile = data.ConsumeBool();
    const bool utf16 = data.ConsumeBool();
    struct Write {
        std::size_t name;
        std::string value;
    };
    std::vector<Write> writes(data.ConsumeIntegralInRange<std::size_t>(1, 4));
    for (Write& write : writes) {
        write.name = data.ConsumeIntegralInRange<std::size_t>(0, kNameCount - 1);
        write.value = data.ConsumeRandomLengthString(data.ConsumeBool() ? 64 : 6000);
    }
    std::string file = data.ConsumeRemainingBytesAsString();
    if (utf16) {
        file = AsUtf16File(file);
    }
    InputDescription() = "  file     \"" + Escaped(file) + "\"\n";
    for (const Write& write : writes) {
        InputDescription() += std::string("  write    [") + kNames[write.name].section + "] " +
                              kNames[write.name].key + "=\"" + Escaped(write.value) + "\"\n";
    }

    IniDocument doc = IniDocument::Parse(file);
    const std::string text = doc.Serialize();
    Require(IniDocument::Parse(text).Serialize() == text, "Serialize after Parse is stable",
            IniDocument::Parse(text).Serialize(), text);
    Require(AllValues(IniDocument::Parse(text)) == AllValues(doc),
            "a written file reads as the parsed one");

    for (const Write& write : writes) {
        const Name& name = kNames[write.name];
        const auto before = AllValues(doc);
        doc.Set(name.section, name.key, write.value);
        const std::string expected = WhatReadsBack(write.value);
        Require(doc.Get(name.section, name.key) == expected, "Get after Set",
                Shown(doc.Get(name.section, name.key)), "=" + expected);
        RequireSameOthers(before, AllValues(doc), write.name, "Set leaves other keys");
        const IniDocument reread = IniDocument::Parse(doc.Serialize());
        Require(reread.Get(name.section, name.key) == expected, "Get after Set and a reread",
                Shown(reread.Get(name.section, name.key)), "=" + expected);
        RequireSameOthers(before, AllValues(reread), write.name, "a reread keeps other keys");
    }

    if (!throughFile) {
        return 0;
    }
    const std::string& path = SettingsFile();
    WriteBytes(path, file);
    for (const Write& write : writes) {
        const Name& name = kNames[write.name];
        std::vector<std::string> before;
        for (const Name& other : kNames) {
            before.emplace_back(
                ProfileGetString(path.c_str(), other.section, other.key, "<absent>").View());
        }
        Require(ProfileWriteString(path.c_str(), name.section, name.key, write.value),
                "ProfileWriteString succeeds");
        const std::string expected = WhatReadsBack(write.value).substr(0, 4095);
        const CString got = ProfileGetString(path.c_str(), name.section, name.key, "<absent>");
        Require(got.View() == expected, "ProfileGetString after ProfileWriteString", got.View(),
                expected);
        for (std::size_t i = 0; i < kNameCount; ++i) {
            if (!SameName(kNames[i], name)) {
                const CString other =
                    ProfileGetString(path.c_str(), kNames[i].section, kNames[i].key, "<absent>");
                Require(other.View() == before[i], "ProfileWriteString leaves other keys",
                        other.View(), before[i]);
            }
        }
    }
    return 0;
}
