#include "database/LocalTime.h"

#include <time.h>  // tzset, timezone, localtime_r
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kHour = 3600;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The calendar fields of one day.
struct CalendarDay {
    int year = 0;  // since 1900
    int month = 0;
    int mday = 0;
    int wday = 0;
    int yday = 0;
};

CalendarDay MakeCalendarDay(std::int64_t days) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    CalendarDay day;
    day.year = static_cast<int>(y - 1900);
    day.month = static_cast<int>(m - 1);
    day.mday = static_cast<int>(d);
    day.wday = static_cast<int>(((days + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
    day.yday = static_cast<int>(days - DaysFromCivil(y, 1, 1));
    return day;
}

// Breaks a count of seconds since 1970-01-01 00:00:00 (already in local terms) down into
// calendar fields, as gmtime does.
void Breakdown(std::int64_t seconds, std::tm& out) {
    const std::int64_t days = FloorDiv(seconds, kDay);
    const std::int64_t rest = seconds - days * kDay;
    const CalendarDay day = MakeCalendarDay(days);
    out.tm_year = day.year;
    out.tm_mon = day.month;
    out.tm_mday = day.mday;
    out.tm_hour = static_cast<int>(rest / kHour);
    out.tm_min = static_cast<int>((rest % kHour) / 60);
    out.tm_sec = static_cast<int>(rest % 60);
    out.tm_wday = day.wday;
    out.tm_yday = day.yday;
}

// What the zone does on one UTC day, and whether its offset, daylight-saving flag and
// abbreviation stay the same from two days before to three days after it. On such a day
// localtime is plain arithmetic, and so is the mktime that normalises the shifted hour:
// every local time that the shift can produce has exactly one meaning nearby.
struct DaySpan {
    std::int64_t day = INT64_MIN;
    bool stable = false;
    long gmtoff = 0;
    int isdst = 0;
    const char* zone = nullptr;
};

struct ZoneState {
    bool initialised = false;
    long shiftHours = 0;
    std::uint64_t generation = 0;  // counts InitTimeZone calls
    std::array<DaySpan, 4096> days{};
};

ZoneState& State() {
    static ZoneState state;
    return state;
}

// Seconds since 1970-01-01 00:00:00 of the calendar reading of `tm`, fields out of range
// carried as mktime carries them (the month is taken as in range).
std::int64_t CalendarSeconds(const std::tm& tm) {
    const std::int64_t days =
        DaysFromCivil(std::int64_t{tm.tm_year} + 1900, std::int64_t{tm.tm_mon} + 1, 1) +
        tm.tm_mday - 1;
    return days * kDay + std::int64_t{tm.tm_hour} * kHour + std::int64_t{tm.tm_min} * 60 +
           tm.tm_sec;
}

bool SameFields(const std::tm& a, const std::tm& b) {
    return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday &&
           a.tm_hour == b.tm_hour && a.tm_min == b.tm_min && a.tm_sec == b.tm_sec;
}

// mktime, and where it fails (a local time that the zone skipped, such as the day a zone
// crossed the date line) the same normalisation done on the calendar: the reading carries
// into a real date and the time value counts with `gmtoff`, the offset in force before.
std::int64_t Normalise(std::tm& tm, long gmtoff) {
    const std::tm asked = tm;
    const time_t value = mktime(&tm);
    if (value != static_cast<time_t>(-1)) {
        return static_cast<std::int64_t>(value);
    }
    std::tm check{};
    if (localtime_r(&value, &check) != nullptr && SameFields(check, asked)) {
        tm = check;  // 1969-12-31 23:59:59 UTC, a real time
        return -1;
    }
    const std::int64_t seconds = CalendarSeconds(asked);
    Breakdown(seconds, tm);
    tm.tm_isdst = asked.tm_isdst > 0 ? 1 : 0;
    tm.tm_gmtoff = gmtoff;
    tm.tm_zone = asked.tm_zone;
    return seconds - gmtoff;
}

// The offset in force just before local midnight of `tm`'s day: that of the day before,
// which a zone never skips together with the day after it.
long OffsetBefore(const std::tm& midnight) {
    std::tm before = midnight;
    before.tm_mday -= 1;
    before.tm_isdst = -1;
    if (mktime(&before) == static_cast<time_t>(-1)) {
        return 0;
    }
    return before.tm_gmtoff;
}

bool SameZone(const std::tm& a, const std::tm& b) {
    if (a.tm_gmtoff != b.tm_gmtoff || a.tm_isdst != b.tm_isdst) {
        return false;
    }
    if (a.tm_zone == b.tm_zone) {
        return true;
    }
    return a.tm_zone != nullptr && b.tm_zone != nullptr && std::strcmp(a.tm_zone, b.tm_zone) == 0;
}

void FillSpan(DaySpan& span, std::int64_t day, const DaySpan& before, const DaySpan& after) {
    span.day = day;
    span.stable = false;
    std::tm first{};
    std::int64_t from = (day - 2) * kDay + kHour;
    std::int64_t to = (day + 3) * kDay;
    if (before.day == day - 1 && before.stable) {
        // The day before held one zone from day - 3 to day + 2: only the last day is new.
        first.tm_gmtoff = before.gmtoff;
        first.tm_isdst = before.isdst;
        first.tm_zone = before.zone;
        from = (day + 2) * kDay + kHour;
    } else {
        const time_t start = static_cast<time_t>((day - 2) * kDay);
        if (localtime_r(&start, &first) == nullptr) {
            return;
        }
        if (after.day == day + 1 && after.stable) {
            // Walking back in time: the day after held one zone from day - 1 to day + 4,
            // so only the first day is new.
            std::tm later{};
            later.tm_gmtoff = after.gmtoff;
            later.tm_isdst = after.isdst;
            later.tm_zone = after.zone;
            if (!SameZone(first, later)) {
                return;
            }
            to = (day - 1) * kDay;
        }
    }
    // Hourly probes: no zone changes its offset and changes it back within an hour.
    for (std::int64_t t = from; t <= to; t += kHour) {
        std::tm probe{};
        const time_t tt = static_cast<time_t>(t);
        if (localtime_r(&tt, &probe) == nullptr || !SameZone(first, probe)) {
            return;
        }
    }
    span.stable = true;
    span.gmtoff = first.tm_gmtoff;
    span.isdst = first.tm_isdst;
    span.zone = first.tm_zone;
}

}  // namespace

void InitTimeZone() {
    tzset();
    ZoneState& state = State();
    // The standard offset in whole hours, east positive, truncated toward zero.
    state.shiftHours = -timezone / 3600;
    for (DaySpan& span : state.days) {
        span = DaySpan{};
    }
    ++state.generation;
    state.initialised = true;
}

bool IsTimeZoneName(std::string_view name) {
    // A relative path of letters, digits and - + _ only: nothing climbs out of the folder.
    if (name.empty() || name.size() > 255 || name.front() == '/' ||
        name.find("..") != std::string_view::npos) {
        return false;
    }
    for (const char c : name) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '/' || c == '_' || c == '-' || c == '+';
        if (!plain) {
            return false;
        }
    }
    const char* folder = std::getenv("TZDIR");
    const std::string path = std::string(folder != nullptr && *folder != '\0' ? folder
                                                                              : "/usr/share/zoneinfo") +
                             '/' + std::string(name);
    std::FILE* file = std::fopen(path.c_str(), "rbe");
    if (file == nullptr) {
        return false;
    }
    char magic[4] = {};
    const bool rules = std::fread(magic, 1, sizeof magic, file) == sizeof magic &&
                       std::memcmp(magic, "TZif", sizeof magic) == 0;
    std::fclose(file);
    return rules;
}

bool UseTimeZone(std::string_view name) {
    // The zone the process started with, to go back to.
    static const std::optional<std::string> original = [] {
        const char* tz = std::getenv("TZ");
        return tz != nullptr ? std::optional<std::string>(tz) : std::nullopt;
    }();
    if (name.empty()) {
        if (original) {
            setenv("TZ", original->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
    } else if (IsTimeZoneName(name)) {
        setenv("TZ", (':' + std::string(name)).c_str(), 1);
    } else {
        return false;
    }
    InitTimeZone();
    return true;
}

void ConvertEventTimeSlow(std::int32_t stamp, std::tm& out, std::int64_t& value) {
    ZoneState& state = State();
    if (!state.initialised) {
        InitTimeZone();
    }
    const time_t t = stamp;
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        Breakdown(stamp, out);
        value = stamp;
        return;
    }
    const long gmtoff = local.tm_gmtoff;
    local.tm_hour += static_cast<int>(state.shiftHours);
    value = Normalise(local, gmtoff);
    out = local;
}

namespace {

// The span of the stamp's day when the fast path applies to it, else nullptr.
const DaySpan* StableSpan(std::int32_t stamp) {
    ZoneState& state = State();
    if (!state.initialised) {
        InitTimeZone();
    }
    if (state.shiftHours < -14 || state.shiftHours > 14) {
        return nullptr;
    }
    const std::int64_t day = FloorDiv(stamp, kDay);
    DaySpan& span = state.days[static_cast<std::size_t>(day & 4095)];
    if (span.day != day) {
        FillSpan(span, day, state.days[static_cast<std::size_t>((day - 1) & 4095)],
                 state.days[static_cast<std::size_t>((day + 1) & 4095)]);
    }
    return span.stable ? &span : nullptr;
}

}  // namespace

namespace {

// The memo: the current day and the zone settings it was made under.
struct DayMemo {
    LocalDay day;
    std::uint64_t generation = 0;
};

// Makes `memo` the local day of `stamp`; nullptr where the fast path does not apply.
const LocalDay* FillDay(DayMemo& memo, std::int32_t stamp) {
    static std::atomic<std::uint64_t> serials{0};
    ZoneState& state = State();
    const DaySpan* span = StableSpan(stamp);
    if (span == nullptr) {
        return nullptr;
    }
    LocalDay& day = memo.day;
    // Within the stamp's own UTC day every stamp has this span, so one offset.
    const std::int64_t offset = state.shiftHours * kHour + span->gmtoff;
    const std::int64_t days = FloorDiv(stamp + offset, kDay);
    const std::int64_t utcDay = FloorDiv(stamp, kDay) * kDay;
    day.dayStart = days * kDay - offset;
    day.first = std::max(day.dayStart, utcDay);
    day.end = std::min(day.dayStart + kDay, utcDay + kDay);
    day.shift = state.shiftHours * kHour;
    Breakdown(days * kDay, day.fields);
    day.fields.tm_isdst = span->isdst;
    day.fields.tm_gmtoff = span->gmtoff;
    day.fields.tm_zone = span->zone;
    day.serial = ++serials;
    memo.generation = state.generation;
    return &day;
}

}  // namespace

const LocalDay* LocalDayOf(std::int32_t stamp) {
    thread_local DayMemo memo;
    if (memo.day.Holds(stamp) && memo.generation == State().generation) {
        return &memo.day;
    }
    return FillDay(memo, stamp);
}

void ConvertEventTime(std::int32_t stamp, std::tm& out, std::int64_t& value) {
    if (const LocalDay* day = LocalDayOf(stamp)) {
        const std::int64_t rest = stamp - day->dayStart;
        out = day->fields;
        out.tm_hour = static_cast<int>(rest / kHour);
        out.tm_min = static_cast<int>((rest % kHour) / 60);
        out.tm_sec = static_cast<int>(rest % 60);
        value = stamp + day->shift;
        return;
    }
    ConvertEventTimeSlow(stamp, out, value);
}

std::int64_t EventTimeValue(std::int32_t stamp) {
    if (StableSpan(stamp) != nullptr) {
        return stamp + State().shiftHours * kHour;
    }
    std::tm out{};
    std::int64_t value = 0;
    ConvertEventTimeSlow(stamp, out, value);
    return value;
}

void EventHourAndWeekday(std::int32_t stamp, int& hour, int& weekday) {
    if (const LocalDay* day = LocalDayOf(stamp)) {
        hour = day->HourOf(stamp);
        weekday = day->fields.tm_wday;
        return;
    }
    std::tm out{};
    std::int64_t value = 0;
    ConvertEventTimeSlow(stamp, out, value);
    hour = out.tm_hour;
    weekday = out.tm_wday;
}

void CurrentLocalTime(std::tm& out, std::int64_t& value) {
    const time_t now = time(nullptr);
    if (localtime_r(&now, &out) == nullptr) {
        Breakdown(static_cast<std::int64_t>(now), out);
    }
    value = static_cast<std::int64_t>(now);
}

std::int64_t ShownOffset(const std::tm& shown, std::int64_t value) {
    return CalendarSeconds(shown) - value;
}

std::int64_t LocalMidnight(int year, int month, int day) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_isdst = -1;
    return Normalise(tm, OffsetBefore(tm));
}
