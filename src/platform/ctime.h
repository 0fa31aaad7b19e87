#pragma once
// File times and their local calendar time, with the platform's names.

#include <cstdint>

#include "text.h"
#include "win_types.h"

// 100-nanosecond ticks since 1601-01-01 00:00:00 UTC.
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

// A host time (seconds and nanoseconds since 1970-01-01 UTC) as a file time; times before 1601
// become 0, times past the FILETIME range its largest value.
FILETIME UnixTimeToFileTime(std::int64_t seconds, long nanoseconds = 0);

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, FILETIME* localFileTime);
BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime);

// A moment as local calendar fields. Invalid when the moment has no local year 1601 to 9999.
class CTime {
public:
    explicit CTime(const FILETIME& fileTime, int nDST = -1);

    bool IsValid() const { return m_valid; }
    int GetYear() const { return m_year; }
    int GetMonth() const { return m_month; }
    int GetDay() const { return m_day; }
    int GetHour() const { return m_hour; }
    int GetMinute() const { return m_minute; }
    int GetSecond() const { return m_second; }
    int GetDayOfWeek() const { return m_dayOfWeek + 1; }  // 1 = Sunday

    // strftime's conversions; an empty text for an invalid time.
    CString Format(const char* pattern) const;

private:
    bool m_valid = false;
    int m_year = 0, m_month = 0, m_day = 0, m_hour = 0, m_minute = 0, m_second = 0;
    int m_dayOfWeek = 0, m_dayOfYear = 0, m_isDst = 0;
};

// The file list's time text: the local minute as "%Y/%m/%d  %H:%M" (17 bytes), or an empty
// text when the time cannot be shown. Cheap enough to run for every entry of a large folder.
CString FormatFileTimeText(const FILETIME& fileTime);
