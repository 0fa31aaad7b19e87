#include "ctime.h"

#include <time.h>

#include <cstdint>
#include <ctime>
#include <limits>

#include "files.h"

static_assert(sizeof(time_t) >= 8, "file times need a 64-bit time_t");

namespace {

constexpr std::uint64_t kTicksPerSecond = 10'000'000;
constexpr std::uint64_t kTicksPerDay = kTicksPerSecond * 86'400;
constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;

std::uint64_t Ticks(const FILETIME& fileTime) {
    return (std::uint64_t{fileTime.dwHighDateTime} << 32) | fileTime.dwLowDateTime;
}

FILETIME FromTicks(std::uint64_t ticks) {
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// Seconds are cut off, never rounded: a time shows the minute it falls in.
time_t ToTimeT(const FILETIME& fileTime) {
    return static_cast<time_t>(Ticks(fileTime) / kTicksPerSecond) - kSecondsFrom1601To1970;
}

// The host's time zone decides the offset for the moment itself, daylight saving included.
bool LocalFields(const FILETIME& fileTime, std::tm& local) {
    time_t seconds = ToTimeT(fileTime);
    if (localtime_r(&seconds, &local) == nullptr) {
        return false;
    }
    // tm_year + 1900 cannot overflow: a FILETIME reaches no further than year 60056.
    int year = local.tm_year + 1900;
    return year >= 1601 && year <= 9999;
}

char* PutDigits(char* out, int value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return out + width;
}

}  // namespace

FILETIME UnixTimeToFileTime(std::int64_t seconds, long nanoseconds) {
    if (seconds < -kSecondsFrom1601To1970) {
        return FromTicks(0);
    }
    constexpr std::uint64_t kMaxTicks = std::numeric_limits<std::uint64_t>::max();
    constexpr std::int64_t kEnd =
        static_cast<std::int64_t>(kMaxTicks / kTicksPerSecond) - kSecondsFrom1601To1970;
    if (seconds >= kEnd) {
        return FromTicks(kMaxTicks);
    }
    auto since1601 = static_cast<std::uint64_t>(seconds + kSecondsFrom1601To1970);
    auto fraction = static_cast<std::uint64_t>(nanoseconds > 0 ? nanoseconds / 100 : 0);
    return FromTicks(since1601 * kTicksPerSecond + fraction);
}

BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, FILETIME* localFileTime) {
    if (fileTime == nullptr || localFileTime == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    time_t seconds = ToTimeT(*fileTime);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::uint64_t ticks = Ticks(*fileTime);
    std::int64_t offset =
        static_cast<std::int64_t>(local.tm_gmtoff) * static_cast<std::int64_t>(kTicksPerSecond);
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if ((offset < 0 && ticks < static_cast<std::uint64_t>(-offset)) ||
        (offset > 0 && ticks > kMax - static_cast<std::uint64_t>(offset))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *localFileTime = FromTicks(ticks + static_cast<std::uint64_t>(offset));
    return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime) {
    if (fileTime == nullptr || systemTime == nullptr ||
        Ticks(*fileTime) > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::uint64_t ticks = Ticks(*fileTime);
    auto days = static_cast<std::int64_t>(ticks / kTicksPerDay);
    std::uint64_t inDay = ticks % kTicksPerDay;

    // Civil date from a day count (proleptic Gregorian), counted from 0000-03-01.
    std::int64_t z = days + 584'694;  // days from 0000-03-01 to 1601-01-01
    std::int64_t era = z / 146'097;
    std::int64_t dayOfEra = z - era * 146'097;
    std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1'460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    std::int64_t mp = (5 * dayOfYear + 2) / 153;
    std::int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

    systemTime->wYear = static_cast<WORD>(year);
    systemTime->wMonth = static_cast<WORD>(month);
    systemTime->wDay = static_cast<WORD>(day);
    systemTime->wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1601-01-01 was a Monday
    systemTime->wHour = static_cast<WORD>(inDay / (kTicksPerSecond * 3'600));
    systemTime->wMinute = static_cast<WORD>(inDay / (kTicksPerSecond * 60) % 60);
    systemTime->wSecond = static_cast<WORD>(inDay / kTicksPerSecond % 60);
    systemTime->wMilliseconds = static_cast<WORD>(inDay / 10'000 % 1'000);
    return TRUE;
}

// The daylight-saving argument is not needed: the zone rules decide it for the moment itself.
CTime::CTime(const FILETIME& fileTime, int /*nDST*/) {
    std::tm local{};
    if (!LocalFields(fileTime, local)) {
        return;
    }
    m_valid = true;
    m_year = local.tm_year + 1900;
    m_month = local.tm_mon + 1;
    m_day = local.tm_mday;
    m_hour = local.tm_hour;
    m_minute = local.tm_min;
    m_second = local.tm_sec;
    m_dayOfWeek = local.tm_wday;
    m_dayOfYear = local.tm_yday;
    m_isDst = local.tm_isdst;
}

CString CTime::Format(const char* pattern) const {
    CString text;
    if (!m_valid || pattern == nullptr) {
        return text;
    }
    char digits[4];
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (*p != '%' || p[1] == '\0') {
            text += *p;
            continue;
        }
        ++p;
        switch (*p) {
            case 'Y':
                PutDigits(digits, m_year, 4);
                text.Append({digits, 4});
                break;
            case 'y':
                PutDigits(digits, m_year % 100, 2);
                text.Append({digits, 2});
                break;
            case 'm':
            case 'd':
            case 'H':
            case 'M':
            case 'S': {
                int value = *p == 'm'   ? m_month
                            : *p == 'd' ? m_day
                            : *p == 'H' ? m_hour
                            : *p == 'M' ? m_minute
                                        : m_second;
                PutDigits(digits, value, 2);
                text.Append({digits, 2});
                break;
            }
            case '%':
                text += '%';
                break;
            default: {
                // Names of days and months and the rest: the C library's, for this locale.
                std::tm fields{};
                fields.tm_year = m_year - 1900;
                fields.tm_mon = m_month - 1;
                fields.tm_mday = m_day;
                fields.tm_hour = m_hour;
                fields.tm_min = m_minute;
                fields.tm_sec = m_second;
                fields.tm_wday = m_dayOfWeek;
                fields.tm_yday = m_dayOfYear;
                fields.tm_isdst = m_isDst;
                const char conversion[3] = {'%', *p, '\0'};
                char out[128];
                std::size_t length = strftime(out, sizeof out, conversion, &fields);
                text.Append({out, length});
                break;
            }
        }
    }
    return text;
}

CString FormatFileTimeText(const FILETIME& fileTime) {
    std::tm local{};
    if (!LocalFields(fileTime, local)) {
        return CString();
    }
    char text[17];
    char* out = PutDigits(text, local.tm_year + 1900, 4);
    *out++ = '/';
    out = PutDigits(out, local.tm_mon + 1, 2);
    *out++ = '/';
    out = PutDigits(out, local.tm_mday, 2);
    *out++ = ' ';
    *out++ = ' ';
    out = PutDigits(out, local.tm_hour, 2);
    *out++ = ':';
    PutDigits(out, local.tm_min, 2);
    return CString(text, static_cast<int>(sizeof text));
}
