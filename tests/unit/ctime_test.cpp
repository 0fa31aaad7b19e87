#include "platform/ctime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace {

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            m_old = old;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (m_old) {
            setenv("TZ", m_old->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> m_old;
};

// Days from 1970-01-01 to a proleptic Gregorian date, worked out apart from the code under test.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t yoe = y - era * 400;
    std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::uint64_t TicksOfUtc(std::int64_t y, int mo, int d, int h, int mi, int s) {
    std::int64_t seconds = DaysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + s;
    return static_cast<std::uint64_t>(seconds + 11644473600) * 10000000;
}

FILETIME FromTicks(std::uint64_t ticks) {
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

FILETIME Utc(std::int64_t y, int mo, int d, int h, int mi, int s, std::uint64_t extraTicks = 0) {
    return FromTicks(TicksOfUtc(y, mo, d, h, mi, s) + extraTicks);
}

std::uint64_t TicksOf(const FILETIME& time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

TEST(FileTimeTextTest, ShowsTheLocalMinuteWithSecondsCutOff) {
    ScopedTimeZone zone("Asia/Tokyo");
    // 2000-12-26 14:05:59.9999999 in Tokyo.
    FILETIME time = Utc(2000, 12, 26, 5, 5, 59, 9999999);
    EXPECT_EQ(FormatFileTimeText(time), "2000/12/26  14:05");
    EXPECT_EQ(FormatFileTimeText(time).GetLength(), 17);
    CTime local(time, -1);
    EXPECT_EQ(local.Format("%Y/%m/%d  %H:%M"), "2000/12/26  14:05");
    EXPECT_EQ(local.Format("%H:%M:%S %y %% %a"), "14:05:59 00 % Tue");
}

TEST(FileTimeTextTest, EveryYearFrom1601To9999ShowsItsMinute) {
    ScopedTimeZone zone("JST-9");  // a fixed offset, whatever the zone data says of old years
    struct Case {
        std::int64_t year;
        int month, day, hour, minute, second;
        const char* text;
    };
    const Case cases[] = {
        {1601, 1, 1, 9, 0, 0, "1601/01/01  09:00"},
        {1700, 2, 28, 23, 59, 59, "1700/02/28  23:59"},
        {1950, 6, 15, 8, 30, 59, "1950/06/15  08:30"},
        {1969, 12, 31, 23, 59, 59, "1969/12/31  23:59"},
        {2038, 1, 19, 12, 14, 8, "2038/01/19  12:14"},
        {2040, 3, 1, 0, 0, 0, "2040/03/01  00:00"},
        {9999, 12, 31, 23, 59, 59, "9999/12/31  23:59"},
        {10000, 1, 1, 0, 0, 0, ""},
        {30000, 6, 1, 0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        std::uint64_t ticks = TicksOfUtc(c.year, c.month, c.day, c.hour, c.minute, c.second) -
                              std::uint64_t{9} * 3600 * 10000000;
        FILETIME time = FromTicks(ticks);
        EXPECT_EQ(FormatFileTimeText(time), c.text) << c.year;
        EXPECT_EQ(CTime(time).Format("%Y/%m/%d  %H:%M"), c.text) << c.year;
        EXPECT_EQ(CTime(time).IsValid(), c.text[0] != '\0') << c.year;
    }
    EXPECT_EQ(FormatFileTimeText(FromTicks(~std::uint64_t{0})), "");
}

TEST(FileTimeTextTest, LocalYearBefore1601GivesEmptyText) {
    ScopedTimeZone zone("EST5");
    EXPECT_EQ(FormatFileTimeText(FromTicks(0)), "");  // 1600-12-31 19:00 local
    EXPECT_EQ(FormatFileTimeText(Utc(1601, 1, 1, 5, 0, 0)), "1601/01/01  00:00");
}

TEST(FileTimeTextTest, DaylightSavingFollowsTheMomentNotToday) {
    ScopedTimeZone zone("EST5EDT,M3.2.0,M11.1.0");
    EXPECT_EQ(FormatFileTimeText(Utc(2021, 7, 1, 12, 0, 0)), "2021/07/01  08:00");
    EXPECT_EQ(FormatFileTimeText(Utc(2021, 1, 1, 12, 0, 0)), "2021/01/01  07:00");
    // The hour that repeats in November: both halves show their own wall time.
    EXPECT_EQ(FormatFileTimeText(Utc(2021, 11, 7, 5, 30, 0)), "2021/11/07  01:30");
    EXPECT_EQ(FormatFileTimeText(Utc(2021, 11, 7, 6, 30, 0)), "2021/11/07  01:30");
}

TEST(FileTimeTextTest, ZoneRulesOfTheYearApply) {
    ScopedTimeZone zone("Asia/Tokyo");
    EXPECT_EQ(FormatFileTimeText(Utc(1950, 1, 15, 0, 0, 0)), "1950/01/15  09:00");
    EXPECT_EQ(FormatFileTimeText(Utc(1950, 6, 15, 0, 0, 0)), "1950/06/15  10:00");  // summer time
}

TEST(FileTimeConversionTest, SystemTimeFieldsFromTicks) {
    SYSTEMTIME st{};
    FILETIME zero = FromTicks(0);
    ASSERT_TRUE(FileTimeToSystemTime(&zero, &st));
    EXPECT_EQ(st.wYear, 1601);
    EXPECT_EQ(st.wMonth, 1);
    EXPECT_EQ(st.wDay, 1);
    EXPECT_EQ(st.wDayOfWeek, 1);  // Monday

    FILETIME leap = Utc(2000, 2, 29, 12, 34, 56, 7891234);
    ASSERT_TRUE(FileTimeToSystemTime(&leap, &st));
    EXPECT_EQ(st.wYear, 2000);
    EXPECT_EQ(st.wMonth, 2);
    EXPECT_EQ(st.wDay, 29);
    EXPECT_EQ(st.wDayOfWeek, 2);  // Tuesday
    EXPECT_EQ(st.wHour, 12);
    EXPECT_EQ(st.wMinute, 34);
    EXPECT_EQ(st.wSecond, 56);
    EXPECT_EQ(st.wMilliseconds, 789);

    FILETIME last = Utc(9999, 12, 31, 23, 59, 59);
    ASSERT_TRUE(FileTimeToSystemTime(&last, &st));
    EXPECT_EQ(st.wYear, 9999);
    EXPECT_EQ(st.wDay, 31);

    FILETIME tooLarge = FromTicks(std::uint64_t{1} << 63);
    EXPECT_FALSE(FileTimeToSystemTime(&tooLarge, &st));
}

TEST(FileTimeConversionTest, LocalFileTimeAddsTheOffsetOfTheMoment) {
    ScopedTimeZone zone("EST5EDT,M3.2.0,M11.1.0");
    FILETIME summer = Utc(2021, 7, 1, 12, 0, 0);
    FILETIME local{};
    ASSERT_TRUE(FileTimeToLocalFileTime(&summer, &local));
    EXPECT_EQ(TicksOf(local), TicksOfUtc(2021, 7, 1, 8, 0, 0));
    FILETIME zero = FromTicks(0);
    EXPECT_FALSE(FileTimeToLocalFileTime(&zero, &local));
}

TEST(FileTimeConversionTest, UnixTimesMapOntoTicksSince1601) {
    EXPECT_EQ(TicksOf(UnixTimeToFileTime(0)), 116444736000000000u);
    EXPECT_EQ(TicksOf(UnixTimeToFileTime(1, 999999999)), 116444736019999999u);
    EXPECT_EQ(TicksOf(UnixTimeToFileTime(-11644473601)), 0u);
    EXPECT_EQ(TicksOf(UnixTimeToFileTime(INT64_MAX)), ~std::uint64_t{0});
}

}  // namespace
