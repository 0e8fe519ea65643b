#include "common/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace gasmixer {
namespace {

// Days between 1970-01-01 and 1899-12-30.
constexpr long long EpochOffsetDays = 25569;

// Proleptic Gregorian day number relative to 1970-01-01.
long long DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2));
}

}  // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond)
{
    const long long days = DaysFromCivil(year, static_cast<unsigned>(month),
                                         static_cast<unsigned>(day)) + EpochOffsetDays;
    const double time = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond)
                        / (SecondsPerDay * 1000.0);
    // Before 1899-12-30 the time of day still counts forward from the day.
    return days >= 0 ? days + time : days - time;
}

DateTimeParts DecodeDateTime(TDateTime value)
{
    DateTimeParts parts;
    long long days = static_cast<long long>(std::trunc(value));
    long long ms = std::llround(std::fabs(value - static_cast<double>(days)) * SecondsPerDay * 1000.0);
    if (ms >= 86400000LL) {  // rounding reached the next day
        ms -= 86400000LL;
        days += value >= 0 ? 1 : -1;
    }
    CivilFromDays(days - EpochOffsetDays, parts.year, parts.month, parts.day);
    parts.hour = static_cast<int>(ms / 3600000);
    parts.minute = static_cast<int>(ms / 60000 % 60);
    parts.second = static_cast<int>(ms / 1000 % 60);
    parts.millisecond = static_cast<int>(ms % 1000);
    // 1899-12-30 was a Saturday.
    parts.dayOfWeek = static_cast<int>(((days % 7) + 7 + 6) % 7) + 1;
    return parts;
}

TDateTime LocalNow()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min, local.tm_sec, ms < 0 ? ms + 1000 : ms);
}

}  // namespace gasmixer
