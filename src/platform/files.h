#pragma once
// Directory search, moves, the current directory, the last-error code and the system's error
// texts, with the platform's names. Paths are in the platform's syntax: "\" and "/" both
// separate.

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

#include "ctime.h"
#include "win_types.h"

using HANDLE = void*;
inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(std::intptr_t{-1});

// MAX_PATH sizes only the name field of a search record, which holds one name, never a path.
// A buffer that stands for the platform's path limit takes the host's limit, kMaxPath.
inline constexpr int MAX_PATH = 260;
inline constexpr int kMaxPath = PATH_MAX;
static_assert(NAME_MAX < MAX_PATH, "every host file name fits cFileName");

inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
inline constexpr DWORD FILE_ATTRIBUTE_REPARSE_POINT = 0x00000400;

inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_SUPPORTED = 50;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_MR_MID_NOT_FOUND = 317;

inline constexpr DWORD FORMAT_MESSAGE_ALLOCATE_BUFFER = 0x00000100;
inline constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
inline constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    char cFileName[MAX_PATH];
    char cAlternateFileName[14];
};

void SetLastError(DWORD code);
DWORD GetLastError();
DWORD ErrnoToWin32(int error);

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data);
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data);
BOOL FindClose(HANDLE search);

BOOL MoveFileA(LPCSTR existingPath, LPCSTR newPath);
DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer);

DWORD FormatMessageA(DWORD flags, const void* source, DWORD messageId, DWORD languageId,
                     LPSTR buffer, DWORD size, void* arguments);

// The directory search's name rule, on whole characters of the process code page.
bool MatchesWildcard(std::string_view pattern, std::string_view name);
// A path in the platform's syntax as the host reads it: every "\" character becomes "/".
std::string ToHostPath(std::string_view path);
