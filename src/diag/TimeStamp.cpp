#include "diag/TimeStamp.h"

#include <cstdio>

void FormatTimeStamp(char (&buffer)[TimeStampSize], const Os::LocalTime& time, const char* suffix)
{
    std::snprintf(buffer, sizeof buffer, "%.2d/%.2d/%.2d %.2d:%.2d:%.2d%s", time.day, time.month, time.year % 10,
                  time.hour, time.minute, time.second, suffix);
}
