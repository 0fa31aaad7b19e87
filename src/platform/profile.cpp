#include "platform/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
// The platform's profile string is read through a 4096-byte buffer.
constexpr std::size_t kValueLimit = 4095;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

bool IsWrappedInQuotes(std::string_view text) {
    return text.size() >= 2 && IsQuote(text.front()) && text.front() == text.back();
}

struct LineParts {
    enum Kind { kOther, kSection, kKey };
    Kind kind = kOther;
    std::string_view name;
    std::string_view value;  // trimmed, quotes still on
};

LineParts SplitLine(std::string_view line) {
    std::string_view text = Trim(line);
    if (text.empty() || text.front() == ';') {
        return {};
    }
    if (text.front() == '[') {
        text.remove_prefix(1);
        return {LineParts::kSection, Trim(text.substr(0, text.find(']'))), {}};
    }
    std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    return {LineParts::kKey, Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

struct SectionRange {
    std::size_t header;  // lines.size() when the section is absent
    std::size_t end;     // the next section's header, or lines.size()
};

// Only the first section of a name counts, as only its first key does.
SectionRange FindSection(const std::vector<std::string>& lines, std::string_view section) {
    SectionRange range{lines.size(), lines.size()};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        LineParts parts = SplitLine(lines[i]);
        if (parts.kind != LineParts::kSection) {
            continue;
        }
        if (range.header != lines.size()) {
            range.end = i;
            break;
        }
        if (SameName(parts.name, section)) {
            range.header = i;
        }
    }
    return range;
}

std::string DecodeUtf16Le(std::string_view bytes) {
    std::u16string wide;
    wide.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return std::string(WideToMultiByte(wide).View());
}

// A value must read back as written: blanks at its ends and a pair of quotes around it would be
// stripped on reading, so such a value goes in quotes; a line break or NUL would end the line.
std::string ValueForFile(std::string_view value) {
    value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
    if (!value.empty() &&
        (IsBlank(value.front()) || IsBlank(value.back()) || IsWrappedInQuotes(value))) {
        return "\"" + std::string(value) + "\"";
    }
    return std::string(value);
}

int ParseProfileInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        number = number * 10 + static_cast<std::uint32_t>(text[i] - '0');
    }
    if (negative) {
        number = 0u - number;
    }
    return static_cast<int>(number);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return m_fd; }
    bool Close() { return close(std::exchange(m_fd, -1)) == 0; }

private:
    int m_fd;
};

// The temporary file of a write; removed unless it has taken the target's place.
class TemporaryFile {
public:
    TemporaryFile(std::string path, int fd) : m_path(std::move(path)), m_fd(fd) {}
    ~TemporaryFile() {
        if (!m_kept) {
            unlink(m_path.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    FileDescriptor& File() { return m_fd; }
    const std::string& Path() const { return m_path; }
    void Keep() { m_kept = true; }

private:
    std::string m_path;
    FileDescriptor m_fd;
    bool m_kept = false;
};

// The program names files in Windows syntax.
std::string HostPath(const char* path) {
    std::string host(path);
    for (char& c : host) {
        if (c == '\\') {
            c = '/';
        }
    }
    return host;
}

// Replacing a link would cut it off from the file it names; write to that file instead.
std::string FollowLink(std::string path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

enum class ReadResult { kRead, kMissing, kFailed };

ReadResult ReadWholeFile(const std::string& path, std::string& bytes, mode_t& mode) {
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        return errno == ENOENT ? ReadResult::kMissing : ReadResult::kFailed;
    }
    struct stat info {};
    if (fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return ReadResult::kFailed;
    }
    mode = info.st_mode & 07777;
    char buffer[65536];
    for (;;) {
        ssize_t count = read(file.Get(), buffer, sizeof buffer);
        if (count == 0) {
            return ReadResult::kRead;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return ReadResult::kFailed;
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

std::optional<IniDocument> ReadDocument(const char* path) {
    std::string bytes;
    mode_t mode = 0;
    if (ReadWholeFile(HostPath(path), bytes, mode) != ReadResult::kRead) {
        return std::nullopt;
    }
    return IniDocument::Parse(bytes);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t count = write(fd, bytes.data(), bytes.size());
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

mode_t NewFileMode() {
    // The mask can only be read by setting it; put it straight back.
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

void SyncFolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    FileDescriptor dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) {
        fsync(dir.Get());
    }
}

// The new text goes to a temporary file beside the target and replaces it in one rename, so a
// failure at any step leaves the old file whole.
bool ReplaceFile(const std::string& target, std::string_view bytes, mode_t mode) {
    std::string pattern = target + ".XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd < 0) {
        return false;
    }
    TemporaryFile temp(std::move(pattern), fd);
    if (!WriteAll(fd, bytes) || fchmod(fd, mode) != 0 || fsync(fd) != 0 || !temp.File().Close()) {
        return false;
    }
    if (rename(temp.Path().c_str(), target.c_str()) != 0) {
        return false;
    }
    temp.Keep();
    SyncFolderOf(target);
    return true;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    std::string decoded;
    if (bytes.starts_with(kUtf16LeBom)) {
        decoded = DecodeUtf16Le(bytes.substr(kUtf16LeBom.size()));
        bytes = decoded;
    }
    // A UTF-16 file that repeats its mark decodes to text that starts with the UTF-8 mark: take
    // it off too, or the first line would read differently once the file is written back.
    if (bytes.starts_with(kUtf8Bom)) {
        doc.m_bom = kUtf8Bom;
        bytes.remove_prefix(kUtf8Bom.size());
    }
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            doc.m_lines.emplace_back(bytes.substr(start));
            break;
        }
        doc.m_lines.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') {
            ++start;
        }
    }
    return doc;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    SectionRange range = FindSection(m_lines, section);
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        LineParts parts = SplitLine(m_lines[i]);
        if (parts.kind == LineParts::kKey && SameName(parts.name, key)) {
            std::string_view value = parts.value;
            if (IsWrappedInQuotes(value)) {
                value = value.substr(1, value.size() - 2);
            }
            return std::string(value);
        }
    }
    return std::nullopt;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    std::string line = std::string(key) + "=" + ValueForFile(value);
    SectionRange range = FindSection(m_lines, section);
    if (range.header == m_lines.size()) {
        m_lines.push_back("[" + std::string(section) + "]");
        m_lines.push_back(std::move(line));
        return;
    }
    // A new key goes after the section's last line, ahead of the blank lines that part it from
    // the next section.
    std::size_t insertAt = range.header + 1;
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        LineParts parts = SplitLine(m_lines[i]);
        if (parts.kind == LineParts::kKey && SameName(parts.name, key)) {
            m_lines[i] = std::move(line);
            return;
        }
        if (!Trim(m_lines[i]).empty()) {
            insertAt = i + 1;
        }
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
}

std::string IniDocument::Serialize() const {
    std::string text = m_bom;
    for (const std::string& line : m_lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

CString ProfileGetString(const char* path, std::string_view section, std::string_view key,
                         const CString& defaultValue) {
    std::optional<IniDocument> doc = ReadDocument(path);
    std::optional<std::string> value = doc ? doc->Get(section, key) : std::nullopt;
    if (!value) {
        return defaultValue;
    }
    // The platform hands the value over as a C string in that buffer: it ends at a NUL too.
    std::string_view text(*value);
    return CString(text.substr(0, std::min(text.find('\0'), kValueLimit)));
}

int ProfileGetInt(const char* path, std::string_view section, std::string_view key,
                  int defaultValue) {
    std::optional<IniDocument> doc = ReadDocument(path);
    std::optional<std::string> value = doc ? doc->Get(section, key) : std::nullopt;
    return value ? ParseProfileInt(*value) : defaultValue;
}

bool ProfileWriteString(const char* path, std::string_view section, std::string_view key,
                        std::string_view value) {
    std::string target = FollowLink(HostPath(path));
    std::string bytes;
    mode_t mode = 0;
    switch (ReadWholeFile(target, bytes, mode)) {
        case ReadResult::kFailed:
            return false;
        case ReadResult::kMissing:
            mode = NewFileMode();
            break;
        case ReadResult::kRead:
            // A file nobody may write is read-only to the user, as the platform's read-only
            // attribute is: the rename below would replace it all the same, so refuse here.
            if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
                return false;
            }
            break;
    }
    IniDocument doc = IniDocument::Parse(bytes);
    doc.Set(section, key, value);
    return ReplaceFile(target, doc.Serialize(), mode);
}

bool ProfileWriteInt(const char* path, std::string_view section, std::string_view key, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return ProfileWriteString(path, section, key, text);
}
