#include "ui/GridDateText.h"

#include <cstdio>
#include <cstring>
#include <ctime>

namespace GridDateText {

namespace {

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
long DaysFromCivil(int year, int month, int day)
{
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<long>(era) * 146097 + dayOfEra - 719468;
}

std::tm ToTm(const GridDateTime& date)
{
    std::tm tm{};
    tm.tm_year = date.year - 1900;
    tm.tm_mon = date.month - 1;
    tm.tm_mday = date.day;
    tm.tm_hour = date.hour;
    tm.tm_min = date.minute;
    tm.tm_sec = date.second;
    const long days = DaysFromCivil(date.year, date.month, date.day);
    // 1970-01-01 was a Thursday.
    tm.tm_wday = static_cast<int>(((days % 7) + 11) % 7);
    tm.tm_yday = static_cast<int>(days - DaysFromCivil(date.year, 1, 1));
    tm.tm_isdst = -1;
    return tm;
}

}

std::string Format(const std::string& format, const GridDateTime& date)
{
    // Some C libraries end the process on a conversion they do not know, so
    // only the ones every library has reach strftime.
    std::string safe;
    for (std::size_t at = 0; at < format.size(); ++at) {
        const char c = format[at];
        if (c != '%') {
            safe.push_back(c);
            continue;
        }
        std::size_t next = at + 1;
        // The platform's "no leading zeros" flag is not portable; it is dropped.
        if (next < format.size() && format[next] == '#') {
            ++next;
        }
        if (next < format.size() && std::strchr("aAbBcdHIjmMpSUwWxXyY%", format[next]) != nullptr) {
            safe.push_back('%');
            safe.push_back(format[next]);
        } else {
            safe += "%%";
            if (next < format.size()) {
                safe.push_back(format[next]);
            }
        }
        at = next;
    }
    if (!IsValidDate(date)) {
        return {};
    }
    const std::tm tm = ToTm(date);
    char text[256];
    const std::size_t length = std::strftime(text, sizeof text, safe.c_str(), &tm);
    return std::string(text, length);
}

std::string FormatIso(const GridDateTime& date, bool withTime)
{
    char text[64];
    if (withTime) {
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date.year, date.month, date.day, date.hour,
                      date.minute, date.second);
    } else {
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    }
    return text;
}

}
