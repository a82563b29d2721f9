// Where a camera's description lives, as the producer's URL says:
// "local:<file name>;<address>;<length>" in the camera's memory, or
// "file:<name>" in the GenICam folder. Parsed after lower-casing, so every
// field and the ".zip" test are case-blind.
#pragma once

#include <cstdint>
#include <string>

namespace Kavrix {

struct DescriptionUrl {
    std::string prefix;    // "local", "file", or whatever else the URL had
    std::string fileName;  // local: only serves the ".zip" test; file: the file to open
    std::uint32_t address = 0;
    std::uint32_t length = 0;
    bool zipped = false;   // the URL contains ".zip" anywhere

    static DescriptionUrl Parse(const std::string& url);
};

// A hexadecimal number as the URL writes it: an optional 0x, then digits up to
// the first character that is none; values beyond 32 bits stay at the maximum.
std::uint32_t ParseUrlHex(const std::string& text);

}
