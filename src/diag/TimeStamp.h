// The local time as the log writes it: day/month/year hour:minute:second,
// the year shown by its last digit only.
#pragma once

#include "os/System.h"

#include <cstddef>

// Enough for the stamp, a short suffix and the end of the text.
constexpr std::size_t TimeStampSize = 32;

// Writes the stamp followed by suffix into buffer; the text is cut to fit.
void FormatTimeStamp(char (&buffer)[TimeStampSize], const Os::LocalTime& time, const char* suffix);
