// Reads the first entry of a zip archive held in memory with minizip, the
// reader hosts use, so the tests prove the producer's archives are valid.
#pragma once

#include <optional>
#include <string>

namespace TliTest {

struct ZipEntry {
    std::string mName;
    std::string mContent;
};

// None when the archive cannot be opened or its first entry cannot be read
// completely (a data or CRC error counts).
std::optional<ZipEntry> ReadFirstEntry(const std::string& archive);

}
