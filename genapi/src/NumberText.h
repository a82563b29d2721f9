// Numbers to and from text without regard to the process locale: a host that
// runs with a decimal comma must still read "0.5" from a description.
#ifndef GENAPI_DETAIL_NUMBERTEXT_H
#define GENAPI_DETAIL_NUMBERTEXT_H

#include <cstdint>
#include <string>
#include <string_view>

namespace GenApi {
namespace Detail {

std::string_view Trim(std::string_view text);
// Decimal with optional sign, or hexadecimal with 0x.
bool ParseInt(std::string_view text, int64_t& value);
bool ParseFloat(std::string_view text, double& value);
std::string FormatInt(int64_t value);
// The shortest text that reads back as the same double.
std::string FormatFloat(double value);

} // namespace Detail
} // namespace GenApi

#endif
