#pragma once

// Date-times are day counts: whole days since 1899-12-30, the time of day as
// the fraction, read from the local wall clock. Intervals are compared in days.

namespace gasmixer {

using TDateTime = double;

inline constexpr double OneHour = 1.0 / 24.0;
inline constexpr double OneMinute = 1.0 / 1440.0;
inline constexpr double OneSecond = 1.0 / 86400.0;
inline constexpr double SecondsPerDay = 86400.0;

struct DateTimeParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int dayOfWeek = 7;  // 1 = Sunday .. 7 = Saturday
};

TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                         int second = 0, int millisecond = 0);
DateTimeParts DecodeDateTime(TDateTime value);

// The local wall clock, with millisecond resolution.
TDateTime LocalNow();

// What reads the time of day. Tests substitute a clock they step by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual TDateTime Now() const = 0;
};

class SystemClock final : public Clock {
public:
    TDateTime Now() const override { return LocalNow(); }
};

}  // namespace gasmixer
