#include "files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "text.h"

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

bool DoubleByteCodePage() {
    return GetACP() == CP_SHIFT_JIS;
}

// Length of a valid UTF-8 sequence at i, or 1 for a byte that starts none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || i + length > text.size()) {
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    auto second = static_cast<unsigned char>(text[i + 1]);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
        return 1;  // overlong, surrogate or past U+10FFFF
    }
    return length;
}

std::size_t CharLength(std::string_view text, std::size_t i, bool doubleByte) {
    auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
        return 1;
    }
    if (doubleByte) {
        return IsDBCSLeadByte(byte) && i + 1 < text.size() ? 2 : 1;
    }
    return Utf8SequenceLength(text, i);
}

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

class WildcardMatcher {
public:
    explicit WildcardMatcher(std::string_view pattern)
        : m_pattern(pattern),
          m_doubleByte(DoubleByteCodePage()),
          m_matchesAll(pattern == "*" || pattern == "*.*"),
          m_endsInDotStar(pattern.ends_with(".*") &&
                          EndsWithSingleByte(pattern.substr(0, pattern.size() - 1), '.')) {}

    bool operator()(std::string_view name) const {
        if (m_matchesAll || Match(m_pattern, name)) {
            return true;
        }
        // "x.*" also stands for "x" with no extension, so "*.*" takes names without a dot.
        return m_endsInDotStar && !HasDot(name) &&
               Match(std::string_view(m_pattern).substr(0, m_pattern.size() - 2), name);
    }

private:
    // A lead byte takes any byte after it, "." included, as the second half of its character.
    bool HasDot(std::string_view name) const {
        for (std::size_t i = 0; i < name.size(); i += CharLength(name, i, m_doubleByte)) {
            if (name[i] == '.') {
                return true;
            }
        }
        return false;
    }

    // Greedy, going back only to the latest "*": enough for "*" and "?" alone, and linear for
    // the usual patterns.
    bool Match(std::string_view pattern, std::string_view name) const {
        std::size_t p = 0;
        std::size_t n = 0;
        std::size_t starP = std::string_view::npos;
        std::size_t starN = 0;
        while (n < name.size()) {
            if (p < pattern.size()) {
                if (pattern[p] == '*') {
                    starP = ++p;
                    starN = n;
                    continue;
                }
                std::size_t nameLength = CharLength(name, n, m_doubleByte);
                if (pattern[p] == '?') {
                    ++p;
                    n += nameLength;
                    continue;
                }
                std::size_t patternLength = CharLength(pattern, p, m_doubleByte);
                if (SameChar(pattern.substr(p, patternLength), name.substr(n, nameLength))) {
                    p += patternLength;
                    n += nameLength;
                    continue;
                }
            }
            if (starP == std::string_view::npos) {
                return false;
            }
            starN += CharLength(name, starN, m_doubleByte);
            n = starN;
            p = starP;
        }
        while (p < pattern.size() && pattern[p] == '*') {
            ++p;
        }
        return p == pattern.size();
    }

    // Only single-byte ASCII letters fold: the second byte of a double-byte character never.
    static bool SameChar(std::string_view a, std::string_view b) {
        if (a.size() != b.size()) {
            return false;
        }
        return a.size() == 1 ? FoldAscii(a[0]) == FoldAscii(b[0]) : a == b;
    }

    std::string m_pattern;
    bool m_doubleByte;
    bool m_matchesAll;
    bool m_endsInDotStar;
};

bool ContainsBackslashChar(std::string_view name, bool doubleByte) {
    if (name.find('\\') == std::string_view::npos) {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); i += CharLength(name, i, doubleByte)) {
        if (name[i] == '\\') {
            return true;
        }
    }
    return false;
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

struct DirectorySearch {
    std::unique_ptr<DIR, DirCloser> dir;
    WildcardMatcher matcher;
    bool doubleByte;
};

FILETIME ToFileTime(const timespec& time) {
    return UnixTimeToFileTime(time.tv_sec, time.tv_nsec);
}

void FillFindData(const DirectorySearch& search, const char* entryName, const struct stat& status,
                  WIN32_FIND_DATAA* data) {
    std::string_view name(entryName);
    DWORD attributes = 0;
    bool isFolder = S_ISDIR(status.st_mode);
    if (S_ISLNK(status.st_mode)) {
        attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        struct stat target {};
        isFolder =
            fstatat(dirfd(search.dir.get()), entryName, &target, 0) == 0 && S_ISDIR(target.st_mode);
    }
    if (isFolder) {
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    }
    // "." and ".." are the folder and its parent, not hidden entries of their own.
    if (name[0] == '.' && name != "." && name != "..") {
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    }
    if ((status.st_mode & S_IWUSR) == 0) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    data->dwFileAttributes = attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
    data->ftLastWriteTime = ToFileTime(status.st_mtim);
    data->ftLastAccessTime = ToFileTime(status.st_atim);
    // stat carries no birth time; the last write is the closest honest answer.
    data->ftCreationTime = data->ftLastWriteTime;
    auto size = S_ISREG(status.st_mode) ? static_cast<std::uint64_t>(status.st_size) : 0;
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size);
    std::memcpy(data->cFileName, name.data(), name.size());
    data->cFileName[name.size()] = '\0';
    data->cAlternateFileName[0] = '\0';
}

// The next matching entry, or the error that ends the search (ERROR_NO_MORE_FILES at the end).
DWORD ReadNextMatch(DirectorySearch& search, WIN32_FIND_DATAA* data) {
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(search.dir.get());
        if (entry == nullptr) {
            return errno != 0 ? ErrnoToWin32(errno) : ERROR_NO_MORE_FILES;
        }
        std::string_view name(entry->d_name);
        // A name with a "\" cannot be written in the platform's syntax: no later operation
        // could reach this entry, only some other one.
        if (name.size() >= MAX_PATH || ContainsBackslashChar(name, search.doubleByte) ||
            !search.matcher(name)) {
            continue;
        }
        struct stat status {};
        if (fstatat(dirfd(search.dir.get()), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT) {
                continue;  // removed since the folder was read
            }
            return ErrnoToWin32(errno);
        }
        FillFindData(search, entry->d_name, status, data);
        return ERROR_SUCCESS;
    }
}

// A folder that cannot be opened: missing on the way is "path not found", as on the platform.
DWORD FolderError(int error) {
    return error == ENOENT || error == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrnoToWin32(error);
}

std::string ParentFolder(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// ENOENT from a move: the old file itself is missing (2) or a folder on one of the ways (3).
DWORD MissingOnMove(const std::string& from) {
    struct stat status {};
    if (lstat(from.c_str(), &status) == 0) {
        return ERROR_PATH_NOT_FOUND;
    }
    if (errno != ENOENT) {
        return ERROR_PATH_NOT_FOUND;
    }
    return stat(ParentFolder(from).c_str(), &status) == 0 && S_ISDIR(status.st_mode)
               ? ERROR_FILE_NOT_FOUND
               : ERROR_PATH_NOT_FOUND;
}

DWORD MoveError(int error, const std::string& from) {
    switch (error) {
        case EEXIST:
        case ENOTEMPTY:
        case EISDIR:
            return ERROR_ALREADY_EXISTS;
        case ENOENT:
            return MissingOnMove(from);
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EINVAL:
        case EILSEQ:
            return ERROR_INVALID_NAME;
        default:
            return ErrnoToWin32(error);
    }
}

int RenameNoReplace(const char* from, const char* to) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 28))
    return renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
#else
    constexpr unsigned kRenameNoReplace = 1;
    return static_cast<int>(syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, kRenameNoReplace));
#endif
}

bool HardLinksRefused(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOTSUP || error == EMLINK ||
           error == ENOSYS;
}

// 0 or the errno of the failed move; a failed move has changed nothing.
int MoveWithoutReplacing(const std::string& from, const std::string& to) {
    if (RenameNoReplace(from.c_str(), to.c_str()) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // The file system refuses the flag. A hard link cannot replace anything either.
    struct stat status {};
    if (lstat(from.c_str(), &status) != 0) {
        return errno;
    }
    if (!S_ISDIR(status.st_mode)) {
        if (linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0) == 0) {
            if (unlink(from.c_str()) == 0) {
                return 0;
            }
            int error = errno;
            unlink(to.c_str());
            return error;
        }
        if (!HardLinksRefused(errno)) {
            return errno;
        }
    }
    // Last resort, for folders and file systems without hard links: another process could
    // still create the new path between the check and the rename.
    if (lstat(to.c_str(), &status) == 0) {
        return EEXIST;
    }
    if (errno != ENOENT) {
        return errno;
    }
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

struct SystemMessage {
    DWORD code;
    const char* text;
};

// The texts a Japanese system gives for the codes this platform produces.
constexpr SystemMessage kSystemMessages[] = {
    {ERROR_SUCCESS, "この操作を正しく終了しました。\r\n"},
    {ERROR_FILE_NOT_FOUND, "指定されたファイルが見つかりません。\r\n"},
    {ERROR_PATH_NOT_FOUND, "指定されたパスが見つかりません。\r\n"},
    {ERROR_TOO_MANY_OPEN_FILES, "システムはファイルを開くことができません。\r\n"},
    {ERROR_ACCESS_DENIED, "アクセスが拒否されました。\r\n"},
    {ERROR_INVALID_HANDLE, "ハンドルが無効です。\r\n"},
    {ERROR_NOT_ENOUGH_MEMORY, "このコマンドを実行するのに十分な記憶域がありません。\r\n"},
    {ERROR_NOT_SAME_DEVICE, "システムは異なるディスク ドライブにファイルを移動できません。\r\n"},
    {ERROR_NO_MORE_FILES, "これ以上ファイルがありません。\r\n"},
    {ERROR_WRITE_PROTECT, "メディアは書き込み禁止になっています。\r\n"},
    {ERROR_GEN_FAILURE, "システムに接続されたデバイスが機能していません。\r\n"},
    {ERROR_SHARING_VIOLATION,
     "プロセスはファイルにアクセスできません。別のプロセスが使用中です。\r\n"},
    {ERROR_HANDLE_DISK_FULL, "ディスクがいっぱいです。\r\n"},
    {ERROR_NOT_SUPPORTED, "要求はサポートされていません。\r\n"},
    {ERROR_FILE_EXISTS, "ファイルがあります。\r\n"},
    {ERROR_INVALID_PARAMETER, "パラメーターが間違っています。\r\n"},
    {ERROR_DISK_FULL, "ディスクに十分な空き領域がありません。\r\n"},
    {ERROR_INSUFFICIENT_BUFFER, "システム コールに渡されるデータ領域が小さすぎます。\r\n"},
    {ERROR_INVALID_NAME,
     "ファイル名、ディレクトリ名、またはボリューム ラベルの構文が間違っています。\r\n"},
    {ERROR_DIR_NOT_EMPTY, "ディレクトリが空ではありません。\r\n"},
    {ERROR_BUSY, "要求したリソースは使用中です。\r\n"},
    {ERROR_ALREADY_EXISTS, "既に存在するファイルを作成することはできません。\r\n"},
    {ERROR_FILENAME_EXCED_RANGE, "ファイル名または拡張子が長すぎます。\r\n"},
    {ERROR_DIRECTORY, "ディレクトリ名が無効です。\r\n"},
    {ERROR_IO_DEVICE, "I/O デバイス エラーが発生したため、要求を実行できませんでした。\r\n"},
    {ERROR_CANT_RESOLVE_FILENAME, "システムはファイル名を解決できません。\r\n"},
};

// The table's texts are valid UTF-8, so this needs no error handling.
std::u16string Utf8ToWide(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            wide.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            wide.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            wide.push_back(static_cast<char16_t>(cp));
        }
        i += length;
    }
    return wide;
}

}  // namespace

void SetLastError(DWORD code) {
    t_lastError = code;
}

DWORD GetLastError() {
    return t_lastError;
}

DWORD ErrnoToWin32(int error) {
    switch (error) {
        case 0:
            return ERROR_SUCCESS;
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case EACCES:
        case EPERM:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case EBADF:
            return ERROR_INVALID_HANDLE;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case EXDEV:
            return ERROR_NOT_SAME_DEVICE;
        case EROFS:
            return ERROR_WRITE_PROTECT;
        case EBUSY:
        case ETXTBSY:
            return ERROR_SHARING_VIOLATION;
        case EFBIG:
            return ERROR_HANDLE_DISK_FULL;
        case ENOSYS:
        case EOPNOTSUPP:
            return ERROR_NOT_SUPPORTED;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        case ENOSPC:
        case EDQUOT:
            return ERROR_DISK_FULL;
        case EILSEQ:
            return ERROR_INVALID_NAME;
        case ENOTEMPTY:
            return ERROR_DIR_NOT_EMPTY;
        case EEXIST:
            return ERROR_ALREADY_EXISTS;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EIO:
            return ERROR_IO_DEVICE;
        case ELOOP:
            return ERROR_CANT_RESOLVE_FILENAME;
        default:
            return ERROR_GEN_FAILURE;
    }
}

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
    return WildcardMatcher(pattern)(name);
}

std::string ToHostPath(std::string_view path) {
    std::string host(path);
    bool doubleByte = DoubleByteCodePage();
    for (std::size_t i = 0; i < host.size(); i += CharLength(host, i, doubleByte)) {
        if (host[i] == '\\') {
            host[i] = '/';
        }
    }
    return host;
}

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data) {
    if (pattern == nullptr || data == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    // "/" is never the second byte of a double-byte character, so the last one separates.
    std::string host = ToHostPath(pattern);
    std::size_t slash = host.rfind('/');
    std::string_view wildcard(host);
    std::string folder = ".";
    if (slash != std::string::npos) {
        wildcard = wildcard.substr(slash + 1);
        folder = slash == 0 ? "/" : host.substr(0, slash);
    }
    if (host.size() >= static_cast<std::size_t>(kMaxPath) || wildcard.size() > NAME_MAX) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return INVALID_HANDLE_VALUE;
    }

    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        SetLastError(FolderError(errno));
        return INVALID_HANDLE_VALUE;
    }
    std::unique_ptr<DIR, DirCloser> dir(fdopendir(fd));
    if (dir == nullptr) {
        int error = errno;
        close(fd);
        SetLastError(ErrnoToWin32(error));
        return INVALID_HANDLE_VALUE;
    }
    std::unique_ptr<DirectorySearch> search(new (std::nothrow) DirectorySearch{
        std::move(dir), WildcardMatcher(wildcard), DoubleByteCodePage()});
    if (search == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return INVALID_HANDLE_VALUE;
    }
    DWORD error = ReadNextMatch(*search, data);
    if (error != ERROR_SUCCESS) {
        SetLastError(error == ERROR_NO_MORE_FILES ? ERROR_FILE_NOT_FOUND : error);
        return INVALID_HANDLE_VALUE;
    }
    return search.release();
}

BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data) {
    if (search == nullptr || search == INVALID_HANDLE_VALUE || data == nullptr) {
        SetLastError(data == nullptr ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    DWORD error = ReadNextMatch(*static_cast<DirectorySearch*>(search), data);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

BOOL FindClose(HANDLE search) {
    if (search == nullptr || search == INVALID_HANDLE_VALUE) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    delete static_cast<DirectorySearch*>(search);
    return TRUE;
}

BOOL MoveFileA(LPCSTR existingPath, LPCSTR newPath) {
    if (existingPath == nullptr || newPath == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string from = ToHostPath(existingPath);
    std::string to = ToHostPath(newPath);
    int error = MoveWithoutReplacing(from, to);
    if (error != 0) {
        SetLastError(MoveError(error, from));
        return FALSE;
    }
    return TRUE;
}

DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer) {
    std::unique_ptr<char, decltype(&std::free)> path(getcwd(nullptr, 0), &std::free);
    if (path == nullptr) {
        SetLastError(ErrnoToWin32(errno));
        return 0;
    }
    auto length = static_cast<DWORD>(std::strlen(path.get()));
    if (buffer == nullptr || bufferLength < length + 1) {
        return length + 1;
    }
    std::memcpy(buffer, path.get(), length + 1);
    return length;
}

// One language only: the language argument chooses nothing. No text has inserts.
DWORD FormatMessageA(DWORD flags, const void* /*source*/, DWORD messageId, DWORD /*languageId*/,
                     LPSTR buffer, DWORD size, void* /*arguments*/) {
    if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 ||
        (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) != 0 || buffer == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const char* utf8 = nullptr;
    for (const SystemMessage& message : kSystemMessages) {
        if (message.code == messageId) {
            utf8 = message.text;
            break;
        }
    }
    if (utf8 == nullptr) {
        SetLastError(ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    CString text = GetACP() == CP_UTF8 ? CString(utf8) : WideToMultiByte(Utf8ToWide(utf8));
    auto length = static_cast<DWORD>(text.GetLength());
    if (size < length + 1) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, text.GetString(), length + 1);
    return length;
}
