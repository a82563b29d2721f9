// Dates as the property grid shows them when a row has its own format.
#pragma once

#include "ui/GridValue.h"

#include <string>

namespace GridDateText {

// Writes the date with a strftime-style format. Conversions the C library
// does not define (and the time-zone ones, which a stored date has not) are
// written as they stand instead of being handed to it.
std::string Format(const std::string& format, const GridDateTime& date);

// The grid's text when no one supplied the user's locale: "2024-03-05", with
// the time "2024-03-05 14:07:09".
std::string FormatIso(const GridDateTime& date, bool withTime);

}
